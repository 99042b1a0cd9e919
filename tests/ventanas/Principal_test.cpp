// The main window and the number dialog with real widgets.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QToolButton>
#include <QTemporaryDir>
#include <QPointer>
#include <QTest>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <functional>

#include "games/Juegos.h"
#include "games/Registro.h"
#include "play/ventanas/Ayudas.h"
#include "play/ventanas/IngresarNumero.h"
#include "play/ventanas/Juego.h"
#include "play/ventanas/Principal.h"
#include "play/ventanas/Programa.h"
#include "tests/ventanas/Esperar.h"
#include "resources/Dibujos.h"

namespace {

class PrincipalTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(carpeta.isValid());
    Programa().Carpeta = std::filesystem::path(carpeta.path().toStdString());
    principal = std::make_unique<TfrmPrincipal>();
    principal->MostrarJuego = [this](TfrmJuego& juego) {
      iniciados.push_back(juego.mesa.NombreJuego);
      cartas.push_back(juego.mesa.Cartas.size());
    };
    principal->show();
    principal->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(principal.get()));
  }
  void TearDown() override {
    principal.reset();
    Programa().Carpeta.clear();
  }

  QTemporaryDir carpeta;
  std::unique_ptr<TfrmPrincipal> principal;
  std::vector<std::string> iniciados;
  std::vector<std::size_t> cartas;
};

TEST_F(PrincipalTest, ListaEnOrdenYPrimerJuegoElegidoAlActivar) {
  QListWidget* lb = principal->lbJuegos;
  ASSERT_EQ(lb->count(), 16);
  for (int i = 0; i < 16; ++i)
    EXPECT_EQ(lb->item(i)->text().toStdString(), Juegos()[static_cast<std::size_t>(i)].Nombre);
  EXPECT_EQ(lb->item(0)->text(), "Cuatro Reyes");
  EXPECT_EQ(lb->item(15)->text(), "Yukon Español");
  EXPECT_EQ(principal->JuegoSeleccionado(), "Cuatro Reyes");
  EXPECT_TRUE(lb->hasFocus());

  lb->setCurrentRow(6);
  QWidget otra;
  otra.show();
  otra.activateWindow();
  ESPERAR(QApplication::activeWindow() == &otra);
  EXPECT_EQ(lb->currentRow(), 6);
  principal->activateWindow();
  ESPERAR(QApplication::activeWindow() == principal.get());
  EXPECT_EQ(lb->currentRow(), 0);
}

TEST_F(PrincipalTest, FlechasDanLaVuelta) {
  QListWidget* lb = principal->lbJuegos;
  lb->setCurrentRow(0);
  QTest::keyClick(lb, Qt::Key_Up);
  EXPECT_EQ(lb->currentItem()->text(), "Yukon Español");
  QTest::keyClick(lb, Qt::Key_Down);
  EXPECT_EQ(lb->currentItem()->text(), "Cuatro Reyes");
  QTest::keyClick(lb, Qt::Key_Down);
  EXPECT_EQ(lb->currentRow(), 1);
  QTest::keyClick(lb, Qt::Key_Up);
  EXPECT_EQ(lb->currentRow(), 0);
}

TEST_F(PrincipalTest, EnterArrancaComoElDobleClick) {
  QListWidget* lb = principal->lbJuegos;
  lb->setCurrentRow(0);
  QTest::keyClick(lb, Qt::Key_Return);
  const QRect r = lb->visualItemRect(lb->item(0));
  for (QEvent::Type tipo : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease,
                            QEvent::MouseButtonDblClick, QEvent::MouseButtonRelease}) {
    const QPoint p = r.center();
    QMouseEvent e(tipo, p, lb->viewport()->mapToGlobal(p), Qt::LeftButton,
                  tipo == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton,
                  Qt::NoModifier);
    QApplication::sendEvent(lb->viewport(), &e);
  }
  ASSERT_EQ(iniciados.size(), 2u);
  EXPECT_EQ(iniciados[0], "Cuatro Reyes");
  EXPECT_EQ(iniciados[1], iniciados[0]);
  EXPECT_EQ(cartas[0], 40u);
  EXPECT_EQ(cartas[1], 40u);

  // The number dialog: cancelled starts nothing, confirmed starts the chosen deal.
  principal->PedirNumero = [] { return false; };
  principal->tbJugarNroClick();
  EXPECT_EQ(iniciados.size(), 2u);
}

TEST_F(PrincipalTest, LaConfiguracionSeGuardaAlCerrar) {
  principal->close();
  const auto archivo = Programa().Carpeta / "ZARP.bin";
  ASSERT_TRUE(std::filesystem::exists(archivo));
  EXPECT_EQ(std::filesystem::file_size(archivo), 256u);
  EXPECT_EQ(LeerConfiguracion(Programa().Carpeta).ReversoActual(), "k58203361Defecto1");
}

TEST(IngresarNumero, PropuestaYBotonAceptar) {
  TfrmIngresarNumero d;
  d.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&d));
  bool ok = false;
  const int propuesta = d.edtNumero->text().toInt(&ok);
  ASSERT_TRUE(ok);
  EXPECT_GE(propuesta, 0);
  EXPECT_LT(propuesta, 86400000);
  EXPECT_EQ(d.bbtnAceptar->isEnabled(), propuesta != 0);
  EXPECT_EQ(d.edtNumero->maxLength(), 8);

  for (const char* t : {"0", "-0", "12a", "-", "5 ", ""}) {
    d.edtNumero->setText(t);
    EXPECT_FALSE(d.bbtnAceptar->isEnabled()) << t;
  }
  d.edtNumero->setText("$1F");
  EXPECT_TRUE(d.bbtnAceptar->isEnabled());
  EXPECT_EQ(NroIngresado, 31);
  d.edtNumero->setText("-5");
  EXPECT_TRUE(d.bbtnAceptar->isEnabled());
  EXPECT_EQ(NroIngresado, -5);
  QTest::mouseClick(d.bbtnAceptar, Qt::LeftButton);
  EXPECT_EQ(d.result(), QDialog::Accepted);
}

}  // namespace

namespace {

int Contar(const QImage& imagen, QRect zona, const std::function<bool(QColor)>& cumple) {
  int n = 0;
  for (int y = zona.top(); y <= zona.bottom(); ++y)
    for (int x = zona.left(); x <= zona.right(); ++x) n += cumple(imagen.pixelColor(x, y));
  return n;
}

}  // namespace

// The list's colours as the player sees them: navy under lime bold names, the chosen game
// white on dark blue, whether or not the list has the focus.
TEST_F(PrincipalTest, ListaPintadaConSusColores) {
  QListWidget* lb = principal->lbJuegos;
  for (const bool conFoco : {true, false}) {
    if (!conFoco) lb->clearFocus();
    const QImage imagen = lb->viewport()->grab().toImage();
    const qreal dpr = imagen.devicePixelRatio();
    const auto fisico = [dpr](QRect r) {
      return QRect((QRectF(r).topLeft() * dpr).toPoint(), (QSizeF(r.size()) * dpr).toSize());
    };
    const QRect elegida = fisico(lb->visualItemRect(lb->item(0)));
    const QRect otra = fisico(lb->visualItemRect(lb->item(1)));
    // The style draws the current row's focus frame in shades of the same blue.
    const auto fondoElegida = [](QColor c) {
      return std::abs(c.red() - 0x0a) <= 4 && std::abs(c.green() - 0x24) <= 4 &&
             std::abs(c.blue() - 0x6a) <= 4;
    };
    const auto blanco = [](QColor c) { return c.red() > 200 && c.green() > 200 && c.blue() > 200; };
    const auto marino = [](QColor c) { return c == QColor(0, 0, 128); };
    const auto lima = [](QColor c) { return c.green() > 200 && c.red() < 60 && c.blue() < 60; };
    EXPECT_GT(Contar(imagen, elegida, fondoElegida), elegida.width() * elegida.height() / 2) << conFoco;
    EXPECT_GT(Contar(imagen, elegida, blanco), 20) << conFoco;
    EXPECT_EQ(Contar(imagen, elegida, lima), 0) << conFoco;
    EXPECT_GT(Contar(imagen, otra, marino), otra.width() * otra.height() / 2) << conFoco;
    EXPECT_GT(Contar(imagen, otra, lima), 20) << conFoco;
  }
  EXPECT_TRUE(lb->font().bold());
}

// The toolbar under the list: six buttons in the order of the window's actions, each with
// its hint, and a click on the first starts the selected game.
TEST_F(PrincipalTest, BarraConSusBotonesEnOrden) {
  // The buttons beside the one of tbNuevo (the statistics button lives elsewhere).
  const QWidget* barra = nullptr;
  for (QToolButton* b : principal->findChildren<QToolButton*>())
    if (b->defaultAction() == principal->tbNuevo) barra = b->parentWidget();
  ASSERT_NE(barra, nullptr);
  std::vector<QToolButton*> botones;
  for (QToolButton* b : principal->findChildren<QToolButton*>())
    if (b->defaultAction() && b->parentWidget() == barra) botones.push_back(b);
  std::sort(botones.begin(), botones.end(), [](QToolButton* a, QToolButton* b) {
    return a->mapTo(a->window(), QPoint()).x() < b->mapTo(b->window(), QPoint()).x();
  });
  const std::vector<QAction*> esperadas{principal->tbNuevo,    principal->tbJugarNro,
                                        principal->tbPuntuaciones, principal->tbReversos,
                                        principal->tbAyudaJuego,   principal->tbAyudaGeneral};
  ASSERT_EQ(botones.size(), esperadas.size());
  for (std::size_t i = 0; i < botones.size(); ++i) {
    EXPECT_EQ(botones[i]->defaultAction(), esperadas[i]) << i;
    EXPECT_FALSE(botones[i]->toolTip().isEmpty()) << i;
    EXPECT_TRUE(botones[i]->isVisible()) << i;
  }
  EXPECT_EQ(principal->tbNuevo->toolTip().left(11), QStringLiteral("Juego Nuevo"));
  QTest::mouseClick(botones[0], Qt::LeftButton);
  ASSERT_EQ(iniciados.size(), 1u);
  EXPECT_EQ(iniciados[0], "Cuatro Reyes");
}

// The game window is built while the main window waits for the player; each game still
// gets a fresh one, and the one it played in is gone after it.
TEST_F(PrincipalTest, CadaJuegoEnUnaVentanaNuevaHechaDeAntemano) {
  ESPERAR(principal->VentanaSiguiente() != nullptr);
  QPointer<TfrmJuego> hecha = principal->VentanaSiguiente();
  EXPECT_FALSE(hecha->isVisible());
  EXPECT_TRUE(hecha->mesa.Cartas.empty());
  QPointer<TfrmJuego> jugada;
  bool laHecha = false;
  principal->MostrarJuego = [&](TfrmJuego& juego) {
    jugada = &juego;
    laHecha = &juego == hecha.data();
  };
  principal->IniciarSeleccionado(0);
  EXPECT_TRUE(laHecha);
  EXPECT_TRUE(jugada.isNull());
  ESPERAR(principal->VentanaSiguiente() != nullptr);
  TfrmJuego* siguiente = principal->VentanaSiguiente();
  EXPECT_TRUE(siguiente->mesa.Cartas.empty());
  EXPECT_EQ(siguiente->windowTitle(), QStringLiteral("ZARP -"));
  EXPECT_FALSE(siguiente->tbDeshacer->isEnabled());
  EXPECT_FALSE(siguiente->tbVolverInstantanea->isEnabled());
}

// The window built ahead is maximised, its native window and its backing store made while
// the main window waits; shown, it looks as a window made at that moment does.
TEST_F(PrincipalTest, LaVentanaHechaDeAntemanoSeVeComoUnaNueva) {
  ESPERAR(principal->VentanaSiguiente() != nullptr);
  const TfrmJuego* hecha = principal->VentanaSiguiente();
  EXPECT_TRUE(hecha->windowState() & Qt::WindowMaximized);
  EXPECT_TRUE(hecha->testAttribute(Qt::WA_WState_Created));
  EXPECT_FALSE(hecha->isVisible());
  // What the screen shows of the window, with the verdict's panel (its text follows the
  // search) blanked where either window has it.
  QRect veredicto;
  const auto pantalla = [&veredicto](TfrmJuego& juego) {
    juego.setWindowState(Qt::WindowMaximized);
    juego.show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&juego));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::UpdateRequest);
    QCoreApplication::processEvents();
    veredicto |= juego.Ayudas->lbVeredicto->parentWidget()->geometry();
    QImage imagen = juego.screen()->grabWindow(juego.winId()).toImage().convertToFormat(
        QImage::Format_RGB32);
    juego.mesa.JuegoTerminado = true;
    juego.close();
    return imagen;
  };
  QImage deAntemano;
  principal->MostrarJuego = [&](TfrmJuego& juego) {
    EXPECT_EQ(&juego, hecha);
    deAntemano = pantalla(juego);
  };
  principal->IniciarJuego(QStringLiteral("Strup"), 7);
  TfrmJuego nueva(principal.get());
  nueva.Jugar(PrepararStrup, 7);
  QImage ahora = pantalla(nueva);
  ASSERT_FALSE(deAntemano.isNull());
  ASSERT_EQ(deAntemano.size(), ahora.size());
  const qreal dpr = nueva.devicePixelRatioF();
  const QRect tapado((QPointF(veredicto.topLeft()) * dpr).toPoint(),
                     (QSizeF(veredicto.size()) * dpr).toSize());
  for (QImage* imagen : {&deAntemano, &ahora}) QPainter(imagen).fillRect(tapado, Qt::black);
  EXPECT_TRUE(deAntemano == ahora);
}

// The window icon comes with the first frame, not before it: after it the application, the
// main window and the next game's window have the program's icon in its four sizes, and
// the label beside "Freeware" shows the same 16 x 16 picture as the icon. The window's
// picture is the one the caller hands over, asked for once.
TEST(PrincipalArranque, IconoTrasElPrimerCuadroYFotoEntregada) {
  QTemporaryDir carpeta;
  ASSERT_TRUE(carpeta.isValid());
  Programa().Carpeta = std::filesystem::path(carpeta.path().toStdString());
  QApplication::setWindowIcon(QIcon());
  QImage foto(303, 333, QImage::Format_RGB32);
  foto.fill(QColor(200, 30, 40));
  int pedidas = 0;
  {
    TfrmPrincipal principal(nullptr, [&] {
      ++pedidas;
      return foto;
    });
    EXPECT_EQ(pedidas, 1);
    EXPECT_TRUE(QApplication::windowIcon().isNull());
    principal.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&principal));
    ESPERAR(!principal.windowIcon().isNull());
    EXPECT_EQ(QApplication::windowIcon().availableSizes().size(), 4);
    EXPECT_EQ(principal.windowIcon().cacheKey(), IconoVentana().cacheKey());
    ESPERAR(principal.VentanaSiguiente() != nullptr);
    EXPECT_FALSE(principal.VentanaSiguiente()->windowIcon().isNull());

    bool fotoVista = false, iconoVisto = false;
    const qreal dpr = qApp->devicePixelRatio();
    const QImage icono16 = IconoVentana().pixmap(QSize(16, 16), dpr).toImage();
    for (const QLabel* l : principal.findChildren<QLabel*>()) {
      const QImage px = l->pixmap().toImage().convertToFormat(QImage::Format_RGB32);
      if (l->size() == QSize(303, 333)) fotoVista = px == foto;
      if (l->size() == QSize(16, 16))
        iconoVisto = l->pixmap().toImage() == icono16 &&
                     l->pixmap().devicePixelRatio() == icono16.devicePixelRatio();
    }
    EXPECT_TRUE(fotoVista);
    EXPECT_TRUE(iconoVisto);
  }
  EXPECT_EQ(pedidas, 1);
  Programa().Carpeta.clear();
}
