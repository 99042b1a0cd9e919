// The score table and the name entry with real widgets: sorting and position icons, the
// "Jugar #" button, choosing a deal from the main window and from a running game.
#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

#include <filesystem>
#include <fstream>

#include "tests/ventanas/Esperar.h"
#include "games/Juegos.h"
#include "play/ventanas/Juego.h"
#include "play/ventanas/Principal.h"
#include "play/ventanas/Programa.h"
#include "resources/Dibujos.h"
#include "scores/AdminPuntuaciones.h"
#include "scores/ventanas/Puntuaciones.h"
#include "scores/ventanas/Records.h"
#include "tests/ventanas/CarpetaPrograma.h"
#include "tests/ventanas/Modales.h"

namespace {

struct TRegistro {
  const char* Nombre;
  std::uint16_t Puntos;
  std::int32_t Numero;
};

// A score file written as it lies on disk, in the given order (not necessarily sorted).
void EscribirTabla(const std::string& clave, const std::vector<TRegistro>& registros) {
  std::array<std::uint8_t, TamannoBloque> bloque{};
  for (std::size_t k = 0; k < registros.size(); ++k) {
    std::uint8_t* r = bloque.data() + k * TamannoPuntuacion;
    const std::string nombre = registros[k].Nombre;
    r[0] = static_cast<std::uint8_t>(nombre.size());
    std::copy(nombre.begin(), nombre.end(), r + 1);
    r[22] = static_cast<std::uint8_t>(registros[k].Puntos & 0xFF);
    r[23] = static_cast<std::uint8_t>(registros[k].Puntos >> 8);
    const auto n = static_cast<std::uint32_t>(registros[k].Numero);
    for (int b = 0; b < 4; ++b) r[24 + b] = static_cast<std::uint8_t>(n >> (8 * b));
  }
  CodificarTabla(bloque);
  CrearCarpetaRecords(Programa().Carpeta);
  std::ofstream f(ArchivoPuntuaciones(Programa().Carpeta, clave), std::ios::binary);
  f.write(reinterpret_cast<const char*>(bloque.data()),
          static_cast<std::streamsize>(registros.size() * TamannoPuntuacion));
}

void ClickFila(QTableWidget* lv, int fila) {
  const QRect r = lv->visualItemRect(lv->item(fila, 2));
  QTest::mouseClick(lv->viewport(), Qt::LeftButton, {}, r.center());
}

bool MismoIcono(const QIcon& a, const QIcon& b) {
  return a.pixmap(16, 16).toImage() == b.pixmap(16, 16).toImage();
}

class PuntuacionesTest : public TConCarpetaPrograma {
 protected:
  TModales modales;
};

TEST_F(PuntuacionesTest, DesdeLaPrincipalOrdenaMarcaYJuegaElNumeroEnEseJuego) {
  // Equal points keep the file's order; the older one stays first.
  EscribirTabla("Strup", {{"Beto", 80, 11}, {"Ana", 50, 22}, {"Ciro", 80, 33}, {"Dora", 7, 44}});
  TfrmPrincipal principal;
  std::vector<std::pair<std::string, std::int32_t>> iniciados;
  principal.MostrarJuego = [&](TfrmJuego& j) {
    iniciados.emplace_back(j.mesa.NombreJuego, j.mesa.NumeroJuego);
  };
  principal.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&principal));
  const auto filas = principal.lbJuegos->findItems("Strup", Qt::MatchExactly);
  ASSERT_EQ(filas.size(), 1);
  principal.lbJuegos->setCurrentItem(filas[0]);

  modales.Luego<TfrmPuntuaciones>([](TfrmPuntuaciones& t) {
    EXPECT_EQ(t.windowTitle(), "ZARP - Puntuaciones de Strup");
    QTableWidget* lv = t.lvPuntuaciones;
    ASSERT_EQ(lv->columnCount(), 4);
    const QStringList columnas = {" ", "Puntos", "Nombre", "Nro. de Juego"};
    for (int c = 0; c < 4; ++c) EXPECT_EQ(lv->horizontalHeaderItem(c)->text(), columnas[c]);
    EXPECT_TRUE(lv->showGrid());
    EXPECT_EQ(lv->selectionBehavior(), QAbstractItemView::SelectRows);
    ASSERT_EQ(lv->rowCount(), 4);
    const char* nombres[] = {"Dora", "Ana", "Beto", "Ciro"};
    for (int i = 0; i < 4; ++i) {
      EXPECT_EQ(lv->item(i, 2)->text(), nombres[i]) << i;
      EXPECT_TRUE(MismoIcono(lv->item(i, 0)->icon(), IconoPosicion(i + 1))) << i;
      EXPECT_FALSE(MismoIcono(lv->item(i, 0)->icon(), IconoPosicion(i + 2))) << i;
    }
    EXPECT_EQ(lv->item(0, 1)->text(), "7");
    EXPECT_EQ(lv->item(0, 3)->text(), "44");
    EXPECT_EQ(lv->toolTip().count('\n'), 2);
    EXPECT_TRUE(lv->toolTip().startsWith("Los puntos se calculan en base al tiempo"));
    // Nothing is selected and the button waits for a row.
    EXPECT_TRUE(lv->selectedItems().isEmpty());
    EXPECT_FALSE(t.bbtnJugarNro->isVisible());
    EXPECT_FALSE(JugarNroPedido);
    ClickFila(lv, 2);
    EXPECT_TRUE(t.bbtnJugarNro->isVisible());
    EXPECT_EQ(t.bbtnJugarNro->text(), "Jugar #11");
    QTest::mouseClick(t.bbtnJugarNro, Qt::LeftButton);
    EXPECT_FALSE(t.isVisible());
  });
  principal.tbPuntuaciones->trigger();
  EXPECT_TRUE(modales.Terminados());
  EXPECT_TRUE(JugarNroPedido);
  EXPECT_EQ(principal.NroPedido, 11);
  EXPECT_EQ(TiempoHint, 2500);
  // Coming back selects the first game; the deal is still played in Strup.
  principal.lbJuegos->setCurrentRow(0);
  ESPERAR_IGUAL(iniciados.size(), 1u);
  EXPECT_EQ(iniciados[0].first, "Strup");
  EXPECT_EQ(iniciados[0].second, 11);
  EXPECT_TRUE(modales.Inesperados.empty());
}

TEST_F(PuntuacionesTest, SinArchivoLaTablaEstaVaciaYNoHayBoton) {
  TfrmPrincipal principal;
  principal.lbJuegos->setCurrentRow(3);
  modales.Luego<TfrmPuntuaciones>([](TfrmPuntuaciones& t) {
    EXPECT_EQ(t.lvPuntuaciones->rowCount(), 0);
    EXPECT_FALSE(t.bbtnJugarNro->isVisible());
    // Enter does nothing while the button is hidden.
    QTest::keyClick(&t, Qt::Key_Return);
    EXPECT_FALSE(JugarNroPedido);
    t.reject();
  });
  principal.tbPuntuacionesClick();
  EXPECT_TRUE(modales.Terminados());
  EXPECT_FALSE(principal.tmrNroJuego.isActive());
  EXPECT_TRUE(modales.Inesperados.empty());
}

TEST_F(PuntuacionesTest, DuranteUnJuegoPreguntaAntesDeJugarOtroNumero) {
  EscribirTabla("CuatroReyes", {{"Eva", 3, 4242}});
  TfrmJuego juego;
  std::vector<QString> preguntas;
  bool respuesta = false;
  juego.Preguntar = [&](const QString& p) {
    preguntas.push_back(p);
    return respuesta;
  };
  juego.show();
  juego.Jugar(PrepararCuatroReyes, 9);
  auto elegir = [](TfrmPuntuaciones& t) {
    EXPECT_EQ(t.windowTitle(), "ZARP - Puntuaciones de Cuatro Reyes");
    EXPECT_TRUE(t.lvPuntuaciones->selectedItems().isEmpty());
    ClickFila(t.lvPuntuaciones, 0);
    QTest::keyClick(&t, Qt::Key_Return);  // the default button
    EXPECT_FALSE(t.isVisible());
  };

  // No: the table closes and the game goes on.
  modales.Luego<TfrmPuntuaciones>(elegir);
  juego.tbPuntuacion->trigger();
  EXPECT_TRUE(modales.Terminados());
  ASSERT_EQ(preguntas.size(), 1u);
  EXPECT_EQ(preguntas[0], "¿Estás seguro que querés terminar el juego actual?");
  EXPECT_FALSE(JugarNroPedido);
  EXPECT_FALSE(juego.tmrNroJuego.isActive());
  QTest::qWait(10);
  EXPECT_EQ(juego.mesa.NumeroJuego, 9);

  // Yes: the window's own timer deals the chosen number.
  respuesta = true;
  modales.Luego<TfrmPuntuaciones>(elegir);
  juego.tbPuntuacion->trigger();
  EXPECT_EQ(preguntas.size(), 2u);
  EXPECT_TRUE(JugarNroPedido);
  ESPERAR_IGUAL(juego.Paneles[4]->text(), QString("Juego #4242 "));
  EXPECT_EQ(juego.mesa.NumeroJuego, 4242);
  EXPECT_EQ(juego.mesa.Cartas.size(), 40u);
  EXPECT_TRUE(modales.Inesperados.empty());
}

TEST_F(PuntuacionesTest, ElNombreTieneVeinteCaracteresYEscapeCancelaAlSoltarse) {
  TfrmRecords r;
  r.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&r));
  EXPECT_TRUE(r.width() >= 376 && r.height() >= 142) << r.width() << "x" << r.height();
  QTest::keyClicks(r.edtNombre, "abcdefghijklmnopqrstu");
  EXPECT_EQ(r.edtNombre->text(), "abcdefghijklmnopqrst");
  QTest::keyPress(r.edtNombre, Qt::Key_Escape);
  EXPECT_TRUE(r.isVisible());
  QTest::keyRelease(r.edtNombre, Qt::Key_Escape);
  EXPECT_FALSE(r.isVisible());
  EXPECT_EQ(r.result(), QDialog::Rejected);
}

TEST_F(PuntuacionesTest, UnNombreCanceladoNoGuardaNiMuestraLaTabla) {
  TfrmJuego juego;
  juego.Jugar(PrepararStrup, 3);
  modales.Luego<TfrmRecords>([](TfrmRecords& r) {
    QTest::keyClicks(r.edtNombre, "Zoe");
    QTest::mouseClick(r.bbtnCancelar, Qt::LeftButton);
  });
  TfrmPuntuaciones t(&juego);
  t.MostrarDesdeJuego("Strup", 12, 1);
  EXPECT_TRUE(modales.Terminados());
  EXPECT_TRUE(modales.Inesperados.empty());
  EXPECT_FALSE(std::filesystem::exists(ArchivoPuntuaciones(Programa().Carpeta, "Strup")));
  EXPECT_FALSE(JugarNroPedido);
}

}  // namespace
