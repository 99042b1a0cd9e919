// The small dialogs fit their text: with the usual font and one half larger, and at the
// device pixel ratio the run has (ctest runs these tests a second time at ratio 2), every
// label and button is as large as its text asks for and lies inside its dialog.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

#include <filesystem>

#include "games/Juegos.h"
#include "games/Registro.h"
#include "play/registros/Estadisticas.h"
#include "play/ventanas/Estadisticas.h"
#include "play/ventanas/FinJuego.h"
#include "play/ventanas/IngresarNumero.h"
#include "play/ventanas/Juego.h"
#include "play/ventanas/Principal.h"
#include "play/ventanas/Programa.h"
#include "scores/AdminPuntuaciones.h"
#include "scores/ventanas/Puntuaciones.h"
#include "scores/ventanas/Records.h"
#include "tests/ventanas/Modales.h"

namespace {

// Each visible label and button whose text or picture does not fit its rectangle, or
// that reaches out of the dialog; empty when all fit.
std::string Cortados(const QWidget& dialogo) {
  std::string cortados;
  const QRect dentro = dialogo.rect();
  for (const QWidget* w : dialogo.findChildren<QWidget*>()) {
    const bool conTexto = qobject_cast<const QLabel*>(w) || qobject_cast<const QAbstractButton*>(w);
    if (!conTexto || !w->isVisibleTo(&dialogo)) continue;
    const QSize pide = w->sizeHint();
    const QRect r(w->mapTo(&dialogo, QPoint(0, 0)), w->size());
    if (pide.width() > r.width() || pide.height() > r.height() || !dentro.contains(r)) {
      const auto* l = qobject_cast<const QLabel*>(w);
      const auto* b = qobject_cast<const QAbstractButton*>(w);
      const QString texto = l ? l->text() : b->text();
      cortados += "\"" + texto.toStdString() + "\" pide " + std::to_string(pide.width()) + "x" +
                  std::to_string(pide.height()) + " en " + std::to_string(r.x()) + "," +
                  std::to_string(r.y()) + " " + std::to_string(r.width()) + "x" +
                  std::to_string(r.height()) + "; ";
    }
  }
  return cortados;
}

void EscribirDiez(const std::string& clave) {
  // Ten results with long names and the widest numbers the file can hold.
  for (std::uint8_t k = 1; k <= 10; ++k) {
    GuardarPuntuacion(Programa().Carpeta, clave, std::string(20, static_cast<char>('L' + k)),
                      k % 2 ? -2147483647 - 1 : 99999999, static_cast<std::uint16_t>(60000 + k),
                      k);
  }
}

// Every cell of every row lies whole inside the list, and nothing scrolls.
void ExpectTablaEntera(const TfrmPuntuaciones& d, int filasEsperadas) {
  const QTableWidget* lv = d.lvPuntuaciones;
  ASSERT_EQ(lv->rowCount(), filasEsperadas);
  EXPECT_FALSE(lv->horizontalScrollBar()->isVisible());
  EXPECT_FALSE(lv->verticalScrollBar()->isVisible());
  const QRect vista = lv->viewport()->rect();
  for (int f = 0; f < lv->rowCount(); ++f)
    for (int c = 0; c < 4; ++c)
      EXPECT_TRUE(vista.contains(lv->visualRect(lv->model()->index(f, c)))) << f << "," << c;
  const QHeaderView* cabecera = lv->horizontalHeader();
  for (int c = 0; c < 4; ++c)
    EXPECT_GE(cabecera->sectionSize(c), cabecera->sectionSizeHint(c)) << "columna " << c;
  EXPECT_EQ(cabecera->sectionViewportPosition(3) + cabecera->sectionSize(3), vista.width());
}

class DialogosTest : public ::testing::TestWithParam<double> {
 protected:
  void SetUp() override {
    ASSERT_TRUE(carpeta.isValid());
    Programa().Carpeta = std::filesystem::path(carpeta.path().toStdString());
    QFont f = fuenteOriginal;
    f.setPointSizeF(fuenteOriginal.pointSizeF() * GetParam());
    QApplication::setFont(f);
  }
  void TearDown() override {
    QApplication::setFont(fuenteOriginal);
    Programa().Carpeta.clear();
  }

  // At the ratio the run was started for, so both runs test what they claim.
  static void ExpectRelacion(const QWidget& w) {
    const QByteArray pedida = qgetenv("CARTOVAL_RELACION_ESPERADA");
    EXPECT_DOUBLE_EQ(w.devicePixelRatioF(), pedida.isEmpty() ? 1.0 : pedida.toDouble());
  }

  QTemporaryDir carpeta;
  const QFont fuenteOriginal = QApplication::font();
};

TEST_P(DialogosTest, ElNumeroMuestraSuPreguntaEntera) {
  TfrmIngresarNumero d;
  d.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&d));
  ExpectRelacion(d);
  EXPECT_EQ(Cortados(d), "");
  const auto etiquetas = d.findChildren<QLabel*>();
  ASSERT_EQ(etiquetas.size(), 1);
  EXPECT_EQ(etiquetas[0]->text(),
            QStringLiteral("Ingresá el número de juego que quieras jugar (sin el \"#\")."));
  EXPECT_GE(d.width(), 277);
  EXPECT_GE(d.height(), 63);
  // The whole proposal fits the field.
  EXPECT_GE(d.edtNumero->width(), d.edtNumero->fontMetrics().horizontalAdvance("-99999999"));
}

TEST_P(DialogosTest, ElFinDeJuegoNoTapaSuPreguntaConLosBotones) {
  TfrmFinJuego d;
  d.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&d));
  ExpectRelacion(d);
  EXPECT_EQ(Cortados(d), "");
  const QLabel* imagen = nullptr;
  for (const QLabel* l : d.findChildren<QLabel*>())
    if (!l->pixmap().isNull()) imagen = l;
  ASSERT_NE(imagen, nullptr);
  // The question is drawn in the picture's lower part; no button reaches into it.
  for (const QPushButton* b : {d.bbtnNuevo, d.bbtnCancelar}) {
    EXPECT_FALSE(b->geometry().intersects(imagen->geometry())) << b->text().toStdString();
    EXPECT_GE(b->width(), 75);
  }
  EXPECT_EQ(imagen->size(), QSize(355, 199));
}

TEST_P(DialogosTest, ElNombreYSusBotonesCaben) {
  TfrmRecords d;
  d.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&d));
  ExpectRelacion(d);
  EXPECT_EQ(Cortados(d), "");
  EXPECT_GE(d.edtNombre->width(), d.edtNombre->fontMetrics().averageCharWidth() * 20);
  // The label stands over the field it names.
  EXPECT_LE(d.Label1->geometry().bottom(), d.edtNombre->geometry().top());
  EXPECT_LE(d.Image1->geometry().bottom(), d.Label1->geometry().top());
}

TEST_P(DialogosTest, LaTablaMuestraDiezFilasYCuatroColumnasSinDesplazarse) {
  EscribirDiez("Strup");
  TfrmPuntuaciones d;
  TModales modales;
  bool visto = false;
  modales.Luego<TfrmPuntuaciones>([&](TfrmPuntuaciones& t) {
    visto = true;
    ExpectRelacion(t);
    ExpectTablaEntera(t, 10);
    EXPECT_EQ(Cortados(t), "");
    // A row clicked shows the button, whole, where it was held.
    const QRect celda = t.lvPuntuaciones->visualItemRect(t.lvPuntuaciones->item(9, 2));
    QTest::mouseClick(t.lvPuntuaciones->viewport(), Qt::LeftButton, {}, celda.center());
    EXPECT_TRUE(t.bbtnJugarNro->isVisible());
    EXPECT_EQ(Cortados(t), "");
    t.reject();
  });
  d.MostrarDesdePrincipal("Strup");
  EXPECT_TRUE(visto);
  EXPECT_TRUE(modales.Terminados());
}

TEST_P(DialogosTest, TrasUnRecordSuFilaQuedaElegidaYALaVista) {
  EscribirDiez("Strup");
  TfrmPuntuaciones d;
  TModales modales;
  modales.Luego<TfrmRecords>([](TfrmRecords& r) {
    EXPECT_EQ(Cortados(r), "");
    QTest::keyClicks(r.edtNombre, "Nueva");
    QTest::mouseClick(r.bbtnAceptar, Qt::LeftButton);
  });
  bool visto = false;
  modales.Luego<TfrmPuntuaciones>([&](TfrmPuntuaciones& t) {
    visto = true;
    ExpectTablaEntera(t, 10);
    const QTableWidget* lv = t.lvPuntuaciones;
    const QModelIndexList elegidas = lv->selectionModel()->selectedRows();
    ASSERT_EQ(elegidas.size(), 1);
    EXPECT_EQ(elegidas.front().row(), 9);
    EXPECT_EQ(lv->item(9, 2)->text(), "Nueva");
    EXPECT_TRUE(lv->viewport()->rect().contains(lv->visualItemRect(lv->item(9, 3))));
    EXPECT_TRUE(t.bbtnJugarNro->isVisible());
    EXPECT_EQ(Cortados(t), "");
    t.reject();
  });
  // Worse than the nine best but better than the tenth: it enters last.
  d.MostrarDesdeJuego("Strup", 60009, 10);
  EXPECT_TRUE(visto);
  EXPECT_TRUE(modales.Terminados());
}

TEST_P(DialogosTest, LaVentanaPrincipalMuestraLosDieciseisJuegosYSusEtiquetas) {
  TfrmPrincipal principal;
  principal.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&principal));
  ExpectRelacion(principal);
  EXPECT_EQ(Cortados(principal), "");
  EXPECT_GE(principal.width(), 560);
  EXPECT_GE(principal.height(), 357);
  const QListWidget* lb = principal.lbJuegos;
  EXPECT_FALSE(lb->horizontalScrollBar()->isVisible());
  EXPECT_FALSE(lb->verticalScrollBar()->isVisible());
  for (int i = 0; i < lb->count(); ++i) {
    const QRect r = lb->visualItemRect(lb->item(i));
    EXPECT_TRUE(lb->viewport()->rect().contains(r)) << lb->item(i)->text().toStdString();
    EXPECT_GE(r.width(), lb->fontMetrics().horizontalAdvance(lb->item(i)->text()));
  }
}

TEST_P(DialogosTest, LaVentanaDeJuegoMuestraSusPanelesEnteros) {
  TfrmJuego juego;
  juego.Jugar(PrepararStrup, 1);
  juego.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&juego));
  ExpectRelacion(juego);
  EXPECT_EQ(Cortados(juego), "");
  juego.mesa.JuegoTerminado = true;
}

// Every game with the widest figures: the statistics show every column and row whole where
// the screen has the room, and the dialog never outgrows the screen.
TEST_P(DialogosTest, LasEstadisticasMuestranSusColumnasYFilasEnteras) {
  TEstadisticas t;
  for (const TJuegoRegistrado& j : Juegos()) {
    TEstadisticaJuego& e = t[j.Clave];
    for (int i = 0; i < 20; ++i) {
      ContarJugado(e);
      ContarGanable(e);
      ContarGanado(e, true, 65535, 65535, 65535);
    }
    e.Jugados = 4000000000u;
  }
  ASSERT_TRUE(GuardarEstadisticas(Programa().Carpeta, t));
  for (const std::string& clave : {std::string(), std::string("SolitarioDeLosCasi14Montones")}) {
    TfrmEstadisticas d(nullptr, clave);
    d.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&d));
    ExpectRelacion(d);
    EXPECT_EQ(Cortados(d), "") << clave;
    const QSize pantalla = d.screen()->availableGeometry().size();
    EXPECT_LE(d.width(), pantalla.width());
    EXPECT_LE(d.height(), pantalla.height());
    const QTableWidget* lv = d.lvEstadisticas;
    const QHeaderView* cabecera = lv->horizontalHeader();
    const QSize entera(cabecera->length() + 2 * lv->frameWidth(),
                       cabecera->height() + lv->verticalHeader()->length() + 2 * lv->frameWidth());
    // A generous share of the screen for the frame, the chart and the buttons.
    if (entera.width() + 100 < pantalla.width()) {
      EXPECT_FALSE(lv->horizontalScrollBar()->isVisible()) << clave;
    }
    if (entera.height() + 400 < pantalla.height()) {
      EXPECT_FALSE(lv->verticalScrollBar()->isVisible()) << clave;
    }
    if (lv->horizontalScrollBar()->isVisible() || lv->verticalScrollBar()->isVisible()) continue;
    for (int c = 0; c < lv->columnCount(); ++c)
      EXPECT_GE(cabecera->sectionSize(c), cabecera->sectionSizeHint(c)) << "columna " << c;
    for (int f = 0; f < lv->rowCount(); ++f)
      for (int c = 0; c < lv->columnCount(); ++c)
        EXPECT_TRUE(lv->viewport()->rect().contains(lv->visualRect(lv->model()->index(f, c))))
            << f << "," << c;
  }
}

INSTANTIATE_TEST_SUITE_P(Fuentes, DialogosTest, ::testing::Values(1.0, 1.5),
                         [](const ::testing::TestParamInfo<double>& i) {
                           return i.param > 1.0 ? std::string("UnaVezYMedia")
                                                : std::string("Normal");
                         });

}  // namespace
