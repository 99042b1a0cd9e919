// Help while playing, in the real window: redo by button and keys, the verdict beside the
// status bar changing after a losing move and going back, the hint followed, finishing.
#include <gtest/gtest.h>

#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>

#include <filesystem>

#include "games/Juegos.h"
#include "games/Registro.h"
#include "play/ventanas/Ayudas.h"
#include "play/ventanas/FinJuego.h"
#include "play/ventanas/Juego.h"
#include "play/ventanas/Programa.h"
#include "play/ventanas/Tapete.h"
#include "solver/Solucionador.h"
#include "tests/ventanas/Modales.h"
#include "tests/ventanas/Movidas.h"
#include "tests/ventanas/VentanaJuego.h"
#include "tools/Pasos.h"

namespace {

using T = TPaso::TTipo;

class AyudasTest : public TConVentanaJuego<> {
 protected:
  void SetUp() override {
    AbrirVentana();
    juego->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(juego.get()));
    ayudas = juego->Ayudas;
    ASSERT_NE(ayudas, nullptr);
  }
  QString Veredicto() const { return ayudas->lbVeredicto->text(); }
  void Tecla(QKeyCombination k) {
    QTest::keyClick(juego->Tapete, k.key(), k.keyboardModifiers());
  }

  TAyudas* ayudas = nullptr;
};

TEST_F(AyudasTest, RehacerConBotonYTeclasHastaUnaAccionNueva) {
  std::optional<TMovida> mv;
  for (std::int32_t n = 1; n < 500 && !mv; ++n) {
    juego->mesa.LiberarMesa();
    juego->Jugar(PrepararSolitarioDeLosSieteMontones, n);
    mv = BuscarMovida(juego->mesa, true);
  }
  ASSERT_TRUE(mv);
  juego->Tapete->setFocus();
  TPila* desde = mv->carta->Pila;
  const auto arrastrar = [&] {
    const QPoint a = Centro(*juego->Tapete, *mv->carta),
                 b = Centro(*juego->Tapete, Blanco(*mv->destino));
    QTest::mousePress(juego->Tapete, Qt::LeftButton, {}, a);
    QTest::mouseMove(juego->Tapete, b);
    QTest::mouseRelease(juego->Tapete, Qt::LeftButton, {}, b);
  };
  EXPECT_FALSE(ayudas->tbRehacer->isEnabled());
  arrastrar();
  ASSERT_EQ(mv->carta->Pila, mv->destino);
  const std::vector<std::string> pasos = juego->mesa.Pasos;
  Tecla(Qt::CTRL | Qt::Key_Z);
  ASSERT_EQ(mv->carta->Pila, desde);
  EXPECT_TRUE(ayudas->tbRehacer->isEnabled());
  // The toolbar button, then the two keys, each after an undo.
  const std::uint16_t antes = juego->mesa.Movimientos;
  auto* fila = qobject_cast<QToolBar*>(juego->Barra->findChildren<QToolBar*>().value(0));
  ASSERT_NE(fila, nullptr);
  QTest::mouseClick(fila->widgetForAction(ayudas->tbRehacer), Qt::LeftButton);
  EXPECT_EQ(mv->carta->Pila, mv->destino);
  EXPECT_EQ(juego->mesa.Movimientos, antes + 1);
  EXPECT_FALSE(ayudas->tbRehacer->isEnabled());
  EXPECT_EQ(juego->mesa.Pasos.back(), pasos.back());
  for (QKeyCombination k : {Qt::CTRL | Qt::Key_Y, Qt::CTRL | Qt::SHIFT | Qt::Key_Z}) {
    Tecla(Qt::CTRL | Qt::Key_Z);
    ASSERT_EQ(mv->carta->Pila, desde);
    Tecla(k);
    EXPECT_EQ(mv->carta->Pila, mv->destino) << k.toCombined();
  }
  // Undone, then a new move: nothing left to redo, the key does nothing.
  Tecla(Qt::CTRL | Qt::Key_Z);
  ASSERT_TRUE(juego->mesa.Mazo && juego->mesa.Mazo->EnMesa);
  QTest::mouseClick(juego->Tapete, Qt::LeftButton, {}, Centro(*juego->Tapete, *juego->mesa.Mazo));
  EXPECT_FALSE(ayudas->tbRehacer->isEnabled());
  const std::uint16_t tras = juego->mesa.Movimientos;
  Tecla(Qt::CTRL | Qt::Key_Y);
  EXPECT_EQ(juego->mesa.Movimientos, tras);
  EXPECT_EQ(mv->carta->Pila, desde);
}

// Drags the table accepts now, and the stock click.
std::vector<TPaso> PasosLegales(TMesa& m) {
  std::vector<TPaso> r;
  if (m.Mazo && m.Mazo->EnMesa) r.push_back(TPaso{T::Mazo});
  for (const auto& p : m.Pilas) {
    int pos = p->Cantidad - 1;
    for (TCarta* c = p->Tope; c && c->BocaArriba; c = c->Debajo, --pos)
      for (const auto& hacia : m.Pilas) {
        if (hacia.get() == p.get()) continue;
        const bool acepta = hacia->Tope ? m.ArrastrarSobreCarta(*hacia->Tope, *c, 1, 1)
                                        : m.ArrastrarSobrePila(*hacia, *c, 1, 1);
        if (acepta) r.push_back(TPaso{T::Arrastre, p->Numero, pos, hacia->Numero});
      }
  }
  return r;
}

struct TPerdedora {
  TPrepararJuego Preparar;
  std::int32_t Numero;
  TPaso Paso;
};

// A ganable deal and a first move after which the solver proves it lost.
std::optional<TPerdedora> BuscarPerdedora() {
  const TLimites limites{.Milisegundos = 1500, .MemoriaMiB = 64};
  for (TPrepararJuego preparar : {PrepararSolitarioDeLosSieteMontones, PrepararCuatroReyes,
                                  PrepararYukonEspannol}) {
    for (std::int32_t n = 1; n <= 12; ++n) {
      if (Resolver(preparar, n, {}, limites).Veredicto != TVeredicto::Ganable) continue;
      TMesa m;
      preparar(m, n);
      for (const TPaso& p : PasosLegales(m))
        if (p.Tipo == T::Arrastre &&
            Resolver(preparar, n, {p}, limites).Veredicto == TVeredicto::SinSolucion)
          return TPerdedora{preparar, n, p};
    }
  }
  return std::nullopt;
}

TEST_F(AyudasTest, VeredictoCambiaTrasUnaMovidaPerdedoraYVuelve) {
  const auto perdedora = BuscarPerdedora();
  ASSERT_TRUE(perdedora) << "ningún reparto con una primera movida perdedora";
  juego->Jugar(perdedora->Preparar, perdedora->Numero);
  EXPECT_EQ(Veredicto(), QStringLiteral("Calculando…"));
  QTRY_COMPARE_WITH_TIMEOUT(Veredicto(), QStringLiteral("Ganable"), 30000);
  EXPECT_FALSE(ayudas->bbtnVolverGanable->isVisible());
  const TPaso& p = perdedora->Paso;
  ASSERT_TRUE(ArrastrarConRaton(*juego, p.Pila, p.Posicion, p.Destino));
  EXPECT_EQ(Veredicto(), QStringLiteral("Calculando…"));
  QTRY_COMPARE_WITH_TIMEOUT(Veredicto(), QStringLiteral("Ya no tiene solución"), 30000);
  ASSERT_TRUE(ayudas->bbtnVolverGanable->isVisible());
  // The way back undoes the move; the deal's verdict is remembered and shows at once.
  QTest::mouseClick(ayudas->bbtnVolverGanable, Qt::LeftButton);
  EXPECT_EQ(juego->mesa.ProfundidadHistorial(), 0);
  EXPECT_EQ(Veredicto(), QStringLiteral("Ganable"));
  EXPECT_FALSE(ayudas->bbtnVolverGanable->isVisible());
  // Redo brings the lost position back, and its verdict with it.
  QTest::keyClick(juego->Tapete, Qt::Key_Y, Qt::ControlModifier);
  EXPECT_EQ(Veredicto(), QStringLiteral("Ya no tiene solución"));
  // No hint where there is no solution: the panel says so and nothing is marked.
  QTest::keyClick(juego->Tapete, Qt::Key_P);
  EXPECT_TRUE(ayudas->Resaltados().empty());
  EXPECT_EQ(Veredicto(), QStringLiteral("Sin pista: no tiene solución"));
  EXPECT_FALSE(juego->mesa.AyudaUsada);
}

std::int32_t NumeroGanable() {
  for (std::int32_t n = 1; n <= 20; ++n)
    if (Resolver(PrepararSolitarioDeLosSieteMontones, n, {}, {.Milisegundos = 1500})
            .Veredicto == TVeredicto::Ganable)
      return n;
  return 0;
}

// The demonstration plays the line step by step; a click stops it where it is, and played
// again to its end it wins the game.
TEST_F(AyudasTest, DemostracionSeDetieneConUnClickYGana) {
  const std::int32_t numero = NumeroGanable();
  ASSERT_NE(numero, 0);
  juego->Jugar(PrepararSolitarioDeLosSieteMontones, numero);
  QTRY_COMPARE_WITH_TIMEOUT(Veredicto(), QStringLiteral("Ganable"), 30000);
  TMesa& m = juego->mesa;
  ayudas->MsPasoDemostracion = 100;
  QTest::keyClick(juego->Tapete, Qt::Key_D);
  ASSERT_TRUE(ayudas->EnDemostracion());
  QTRY_VERIFY_WITH_TIMEOUT(m.ProfundidadHistorial() >= 2, 10000);
  // A click on a card would move it: here it only stops the demonstration.
  const std::uint16_t movimientos = m.Movimientos;
  QTest::mouseClick(juego->Tapete, Qt::RightButton, {}, QPoint(juego->Tapete->width() - 3, 60));
  EXPECT_FALSE(ayudas->EnDemostracion());
  const int profundidad = m.ProfundidadHistorial();
  QTest::qWait(400);
  EXPECT_EQ(m.ProfundidadHistorial(), profundidad);
  EXPECT_EQ(m.Movimientos, movimientos);
  EXPECT_TRUE(m.AyudaUsada);
  QTRY_COMPARE_WITH_TIMEOUT(Veredicto(), QStringLiteral("Ganable"), 30000);
  // A key stops it too, and does not also do what it names: T would finish the game.
  // (A key with a modifier stops it on the modifier's press; the key that follows acts.)
  QTest::keyClick(juego->Tapete, Qt::Key_D);
  QTRY_VERIFY_WITH_TIMEOUT(m.ProfundidadHistorial() > profundidad, 10000);
  const int antesDeTecla = m.ProfundidadHistorial();
  ASSERT_TRUE(ayudas->EnDemostracion()) << "la demostración ya había parado";
  QTest::keyClick(juego->Tapete, Qt::Key_T);
  EXPECT_FALSE(ayudas->EnDemostracion());
  QTest::qWait(300);
  EXPECT_EQ(m.ProfundidadHistorial(), antesDeTecla);
  QTRY_COMPARE_WITH_TIMEOUT(Veredicto(), QStringLiteral("Ganable"), 30000);
  ayudas->MsPasoDemostracion = 1;
  TModales modales;
  modales.Luego<TfrmFinJuego>([](TfrmFinJuego& fin) { fin.reject(); });
  QTest::keyClick(juego->Tapete, Qt::Key_D);
  QTRY_VERIFY_WITH_TIMEOUT(modales.Terminados(), 30000);
  EXPECT_TRUE(m.JuegoTerminado);
}

// "Nuevo Juego" with the option on passes over fresh numbers the solver cannot prove
// ganable; a number the player asks for is dealt as asked; with the option off, the clock's.
TEST_F(AyudasTest, SoloRepartosGanables) {
  const TLimites limites{.Milisegundos = 1000, .MemoriaMiB = 128};
  std::int32_t perdido = 0, ganable = 0;
  for (std::int32_t n = 1; n <= 40 && (!perdido || !ganable); ++n) {
    const TVeredicto v = Resolver(PrepararSolitarioDeLosSieteMontones, n, {}, limites).Veredicto;
    if (v == TVeredicto::SinSolucion && !perdido) perdido = n;
    if (v == TVeredicto::Ganable && !ganable) ganable = n;
  }
  ASSERT_TRUE(perdido && ganable);
  juego->Jugar(PrepararSolitarioDeLosSieteMontones, 3);
  std::vector<std::uint32_t> reloj{std::uint32_t(perdido), std::uint32_t(ganable)};
  juego->mesa.Generador.Reloj = [&] {
    const std::uint32_t r = reloj.front();
    if (reloj.size() > 1) reloj.erase(reloj.begin());
    return r;
  };
  ayudas->tbSoloGanables->trigger();
  ASSERT_TRUE(ayudas->tbSoloGanables->isChecked());
  juego->tbNuevoClick();
  EXPECT_EQ(juego->mesa.NumeroJuego, ganable);
  juego->NuevoReparto(perdido);
  EXPECT_EQ(juego->mesa.NumeroJuego, perdido);
  ayudas->tbSoloGanables->trigger();
  reloj = {std::uint32_t(perdido)};
  juego->tbNuevoClick();
  EXPECT_EQ(juego->mesa.NumeroJuego, perdido);
}

TEST_F(AyudasTest, PistaSeguidaYTerminarGananSinEntrarEnLaTabla) {
  const std::int32_t numero = NumeroGanable();
  ASSERT_NE(numero, 0);
  juego->Jugar(PrepararSolitarioDeLosSieteMontones, numero);
  QTRY_COMPARE_WITH_TIMEOUT(Veredicto(), QStringLiteral("Ganable"), 30000);
  ASSERT_TRUE(ayudas->tbTerminar->isEnabled());
  // The hint marks a card and where it goes, or the stock; then the marks go.
  QTest::keyClick(juego->Tapete, Qt::Key_P);
  const auto marcas = ayudas->Resaltados();
  ASSERT_FALSE(marcas.empty());
  EXPECT_TRUE(juego->mesa.AyudaUsada);
  TMesa& m = juego->mesa;
  if (marcas.front() == m.Mazo.get()) {
    QTest::mouseClick(juego->Tapete, Qt::LeftButton, {}, Centro(*juego->Tapete, *m.Mazo));
  } else {
    ASSERT_EQ(marcas.size(), 2u);
    const auto* carta = static_cast<const TCarta*>(marcas[0]);
    const QPoint a = PuntoVisible(*juego->Tapete, *carta);
    const QPoint b = PuntoVisible(*juego->Tapete, *marcas[1]);
    ASSERT_GE(a.x(), 0);
    ASSERT_GE(b.x(), 0);
    QTest::mousePress(juego->Tapete, Qt::LeftButton, {}, a);
    QTest::mouseMove(juego->Tapete, b);
    QTest::mouseRelease(juego->Tapete, Qt::LeftButton, {}, b);
  }
  ASSERT_EQ(m.ProfundidadHistorial(), 1) << "la pista no se pudo seguir";
  QTRY_VERIFY_WITH_TIMEOUT(ayudas->Resaltados().empty(), 5000);
  // Still ganable after the hinted move; then the rest is played and the game is won,
  // with the end dialog saying why it is no record.
  QTRY_COMPARE_WITH_TIMEOUT(Veredicto(), QStringLiteral("Ganable"), 30000);
  TModales modales;
  QString aviso;
  modales.Luego<TfrmFinJuego>([&](TfrmFinJuego& fin) {
    if (auto* l = fin.findChild<QLabel*>(QStringLiteral("lbAyudaUsada"))) aviso = l->text();
    fin.reject();
  });
  QTest::keyClick(juego->Tapete, Qt::Key_T);
  QTRY_VERIFY_WITH_TIMEOUT(modales.Terminados(), 30000);
  EXPECT_TRUE(modales.Inesperados.empty());
  EXPECT_TRUE(m.JuegoTerminado);
  EXPECT_FALSE(aviso.isEmpty());
  EXPECT_FALSE(std::filesystem::exists(Programa().Carpeta / "Records" /
                                       "SolitarioDeLosSieteMontones.dat"));
}

}  // namespace
