// The end of a won game with real widgets: a deal won by mouse drags, the victory
// animation, the name entry and score table when the result enters, the end dialog when
// it does not. The program's folder is a fresh temporary one.
#include <gtest/gtest.h>

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "tests/ventanas/Esperar.h"
#include "games/Juegos.h"
#include "play/ventanas/FinJuego.h"
#include "play/ventanas/Juego.h"
#include "play/ventanas/Programa.h"
#include "scores/AdminPuntuaciones.h"
#include "scores/ventanas/Puntuaciones.h"
#include "scores/ventanas/Records.h"
#include "tests/ventanas/Modales.h"

namespace {

// A won line of Strup game 1 (the same one its rules' tests replay).
const char* const kStrupUno =
    "10.4>4 10.3>4 8.4>10 8.3>7 8.2>2 11.4>8 12.4>11 12.3>2 7.5>2 10.2>6 10.0>12 7.4>6 "
    "12.2>7 12.1>1 8.1>12 8.0>5 7.3>8 9.4>5 9.3>4 6.4>9 6.3>2 11.3>8 7.2>11 11.2>7 7.0>11 "
    "8.1>6 11.1>8 11.0>1 5.6>1 5.5>4 8.5>4 9.6>1 5.4>1 9.5>2 8.4>2 5.3>12 9.4>8 9.3>2 "
    "8.3>9 12.3>8 12.2>2 9.2>12 9.1>3 12.4>8 12.1>9 6.3>12 9.1>6 6.2>7 6.1>3 6.0>9 7.2>9 "
    "8.2>7 8.1>2 9.1>8 7.1>9 7.0>2 1.4>9 5.2>9 5.1>3 5.0>4 9.6>3 9.5>1 12.5>3 9.4>3 "
    "9.3>4 12.4>1 8.3>1 8.2>4 12.3>3 9.2>3 8.1>3 12.2>1 9.1>1 8.0>1 12.1>4 9.0>4 12.0>3";

std::string Leer(const std::filesystem::path& archivo) {
  std::ifstream f(archivo, std::ios::binary);
  return {std::istreambuf_iterator<char>(f), {}};
}

QPoint Centrada(const QWidget& d) {
  const QRect pantalla = QGuiApplication::primaryScreen()->geometry();
  const QSize exterior = d.frameGeometry().size();
  return {pantalla.width() / 2 - exterior.width() / 2,
          pantalla.height() / 2 - exterior.height() / 2};
}

// The dialog is where it is held, and a move does not take it away.
void ExpectFija(TDialogoFijo& d) {
  EXPECT_EQ(d.PosicionFija(), Centrada(d));
  EXPECT_EQ(d.pos(), d.PosicionFija());
  d.move(d.PosicionFija() + QPoint(37, -21));
  QTest::qWait(5);
  EXPECT_EQ(d.pos(), d.PosicionFija());
}

class FinJuegoTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(carpeta.isValid());
    Programa().Carpeta = std::filesystem::path(carpeta.path().toStdString());
    juego = std::make_unique<TfrmJuego>();
    juego->Preguntar = [this](const QString& pregunta) {
      preguntas.push_back(pregunta);
      return true;
    };
    juego->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(juego.get()));
  }
  void TearDown() override {
    juego.reset();
    Programa().Carpeta.clear();
  }

  // Ten results of 0 points: nothing enters after them.
  void LlenarTabla() {
    for (int i = 0; i < 10; ++i)
      ASSERT_TRUE(GuardarPuntuacion(Programa().Carpeta, "Strup", "Nadie", 100 + i, 0,
                                    PosicionEnTabla(Programa().Carpeta, "Strup", 0)));
  }

  // Strup 1 dealt and won with the mouse; the win check runs after the last drop.
  void GanarStrupUno() {
    juego->Jugar(PrepararStrup, 1);
    ASSERT_EQ(JugarConRaton(*juego, kStrupUno), -1);
    ASSERT_TRUE(juego->tmrFinJuego.isActive());
    minutos = juego->mesa.Minutos;
    movimientos = juego->mesa.Movimientos;
  }

  QTemporaryDir carpeta;
  std::unique_ptr<TfrmJuego> juego;
  std::vector<QString> preguntas;
  TModales modales;
  std::uint16_t minutos = 0, movimientos = 0;
};

TEST(FinJuego, PuntosYCantidadDeLaAnimacion) {
  EXPECT_EQ(PuntosGanados(7, 85), 134);
  EXPECT_EQ(PuntosGanados(0, 1), 1);
  EXPECT_EQ(PuntosGanados(0, 3), 4);
  EXPECT_EQ(PuntosGanados(0, 0), 0);
  // Kept to 16 bits, as the record stores it.
  EXPECT_EQ(PuntosGanados(65535, 2), 2);
  EXPECT_EQ(PuntosGanados(0, 65535), static_cast<std::uint16_t>(65535 + 32767));

  EXPECT_EQ(CantidadAnimacion(800 / 640.0f), 562);
  EXPECT_EQ(CantidadAnimacion(640 / 640.0f), 450);
  // The single-precision 1.8 lies just under 1.8: 809.99998 rounds down to 809.
  EXPECT_EQ(CantidadAnimacion(1152 / 640.0f), 809);
  EXPECT_EQ(CantidadAnimacion(0.0f), 0);
}

TEST_F(FinJuegoTest, UnResultadoQueEntraPideNombreGuardaMuestraLaTablaYCierra) {
  modales.Luego<TfrmRecords>([](TfrmRecords& r) {
    EXPECT_EQ(r.windowTitle(), "ZARP - Records");
    EXPECT_EQ(r.edtNombre->maxLength(), 20);
    EXPECT_EQ(r.focusWidget(), r.edtNombre);
    ExpectFija(r);
    QTest::keyClicks(r.edtNombre, "Ana G");
    QKeyEvent o(QEvent::KeyPress, Qt::Key_Oacute, Qt::NoModifier, QStringLiteral("ó"));
    QApplication::sendEvent(r.edtNombre, &o);
    QTest::keyClicks(r.edtNombre, "mez");
    EXPECT_EQ(r.edtNombre->text(), "Ana Gómez");
    // Enter acts on its release.
    QTest::keyPress(r.edtNombre, Qt::Key_Return);
    EXPECT_TRUE(r.isVisible());
    QTest::keyRelease(r.edtNombre, Qt::Key_Return);
    EXPECT_EQ(r.result(), QDialog::Accepted);
  });
  bool tablaVista = false;
  modales.Luego<TfrmPuntuaciones>([&](TfrmPuntuaciones& t) {
    tablaVista = true;
    EXPECT_EQ(t.windowTitle(), "ZARP - Puntuaciones de Strup");
    ASSERT_EQ(t.lvPuntuaciones->rowCount(), 1);
    EXPECT_EQ(t.lvPuntuaciones->item(0, 2)->text(), "Ana Gómez");
    EXPECT_EQ(t.lvPuntuaciones->item(0, 3)->text(), "1");
    EXPECT_TRUE(t.lvPuntuaciones->item(0, 0)->isSelected());
    EXPECT_TRUE(t.bbtnJugarNro->isVisible());
    EXPECT_EQ(t.bbtnJugarNro->text(), "Jugar #1");
    EXPECT_EQ(TiempoHint, 10000);
    ExpectFija(t);
    t.reject();
  });
  GanarStrupUno();
  ESPERAR(modales.Terminados());
  ESPERAR(!juego->isVisible());
  EXPECT_TRUE(tablaVista);
  EXPECT_TRUE(modales.Inesperados.empty()) << modales.Inesperados.front();
  EXPECT_TRUE(preguntas.empty());
  EXPECT_TRUE(juego->mesa.JuegoTerminado);
  EXPECT_FALSE(juego->tmrTiempo.isActive());
  EXPECT_EQ(TiempoHint, 2500);
  EXPECT_EQ(juego->CapaVictoria->Dibujadas(), CantidadAnimacion(juego->mesa.EscalaPantalla));

  const auto filas = CargarPuntuaciones(Programa().Carpeta, "Strup");
  ASSERT_EQ(filas.size(), 1u);
  EXPECT_EQ(filas[0].Nombre, "Ana Gómez");
  EXPECT_EQ(filas[0].NroJuego, 1);
  EXPECT_EQ(filas[0].Puntos, PuntosGanados(minutos, movimientos));
  EXPECT_EQ(std::filesystem::file_size(Programa().Carpeta / "Records" / "Strup.dat"), 28u);
}

TEST_F(FinJuegoTest, UnResultadoQueNoEntraMuestraElFinYNuevoReparteOtroNumero) {
  LlenarTabla();
  const std::string antes = Leer(Programa().Carpeta / "Records" / "Strup.dat");
  modales.Luego<TfrmFinJuego>([this](TfrmFinJuego& f) {
    EXPECT_EQ(f.windowTitle(), "ZRAP ");
    EXPECT_EQ(f.bbtnNuevo->text(), "&Nuevo");
    EXPECT_EQ(f.bbtnCancelar->text(), "&Salir");
    // The form's size is the smallest it takes.
    EXPECT_TRUE(f.width() >= 355 && f.height() >= 198) << f.width() << "x" << f.height();
    ExpectFija(f);
    // The animation's faces are still over the table while the dialog shows.
    EXPECT_TRUE(juego->CapaVictoria->isVisible());
    EXPECT_TRUE(juego->mesa.JuegoTerminado);
    // Won without help: no line about aids.
    EXPECT_EQ(f.findChild<QLabel*>(QStringLiteral("lbAyudaUsada")), nullptr);
    QTest::mouseClick(f.bbtnNuevo, Qt::LeftButton);
  });
  GanarStrupUno();
  ESPERAR(modales.Terminados());
  EXPECT_TRUE(modales.Inesperados.empty()) << modales.Inesperados.front();
  EXPECT_TRUE(juego->isVisible());
  EXPECT_TRUE(preguntas.empty());
  EXPECT_NE(juego->mesa.NumeroJuego, 1);
  EXPECT_EQ(juego->mesa.NombreJuego, "Strup");
  EXPECT_EQ(juego->mesa.Cartas.size(), 40u);
  EXPECT_FALSE(juego->mesa.JuegoTerminado);
  EXPECT_EQ(juego->mesa.Movimientos, 0);
  EXPECT_TRUE(juego->tmrTiempo.isActive());
  // The new deal's repaint wiped the animation.
  EXPECT_FALSE(juego->CapaVictoria->isVisible());
  EXPECT_EQ(juego->CapaVictoria->Dibujadas(), 0u);
  EXPECT_EQ(juego->Paneles[4]->text(), QString("Juego #%1 ").arg(juego->mesa.NumeroJuego));
  EXPECT_EQ(Leer(Programa().Carpeta / "Records" / "Strup.dat"), antes);
}

TEST_F(FinJuegoTest, SalirEscapeYCierreDejanElJuegoSinPreguntar) {
  LlenarTabla();
  const std::vector<std::function<void(TfrmFinJuego&)>> salidas = {
      [](TfrmFinJuego& f) { QTest::mouseClick(f.bbtnCancelar, Qt::LeftButton); },
      [](TfrmFinJuego& f) { QTest::keyClick(&f, Qt::Key_Escape); },
      [](TfrmFinJuego& f) { f.close(); },
  };
  for (std::size_t i = 0; i < salidas.size(); ++i) {
    juego->show();
    juego->mesa.LiberarMesa();
    juego->Jugar(PrepararStrup, 1);
    modales.Luego<TfrmFinJuego>(salidas[i]);
    // What the win check calls on a won table.
    juego->JuegoGanado();
    EXPECT_TRUE(modales.Terminados()) << i;
    EXPECT_FALSE(juego->isVisible()) << i;
    EXPECT_TRUE(juego->mesa.JuegoTerminado) << i;
    EXPECT_EQ(juego->mesa.NumeroJuego, 1) << i;
  }
  EXPECT_TRUE(preguntas.empty());
  EXPECT_TRUE(modales.Inesperados.empty());
}

TEST_F(FinJuegoTest, UnNumeroElegidoTrasGanarNoPreguntaYSeReparteEnLaVentana) {
  ASSERT_TRUE(GuardarPuntuacion(Programa().Carpeta, "Strup", "Primero", 777, 0, 1));
  modales.Luego<TfrmRecords>([](TfrmRecords& r) {
    // An empty name is saved as it is.
    QTest::keyRelease(r.edtNombre, Qt::Key_Enter);
  });
  modales.Luego<TfrmPuntuaciones>([](TfrmPuntuaciones& t) {
    ASSERT_EQ(t.lvPuntuaciones->rowCount(), 2);
    EXPECT_TRUE(t.lvPuntuaciones->item(1, 0)->isSelected());
    EXPECT_EQ(t.bbtnJugarNro->text(), "Jugar #5");
    t.lvPuntuaciones->selectRow(0);
    EXPECT_EQ(t.bbtnJugarNro->text(), "Jugar #777");
    QTest::mouseClick(t.bbtnJugarNro, Qt::LeftButton);
  });
  juego->Jugar(PrepararStrup, 5);
  juego->JuegoGanado();
  EXPECT_TRUE(modales.Terminados());
  EXPECT_TRUE(juego->isVisible());
  EXPECT_TRUE(JugarNroPedido);
  ESPERAR_IGUAL(juego->mesa.NumeroJuego, 777);
  ESPERAR(!juego->mesa.JuegoTerminado);
  EXPECT_EQ(juego->mesa.Cartas.size(), 40u);
  EXPECT_EQ(juego->Paneles[4]->text(), "Juego #777 ");
  EXPECT_TRUE(preguntas.empty());
  EXPECT_TRUE(modales.Inesperados.empty());

  const auto filas = CargarPuntuaciones(Programa().Carpeta, "Strup");
  ASSERT_EQ(filas.size(), 2u);
  EXPECT_EQ(filas[1].Nombre, "");
  EXPECT_EQ(filas[1].NroJuego, 5);
}

}  // namespace
