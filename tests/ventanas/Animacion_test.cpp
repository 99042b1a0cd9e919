// Cards that move: automatic moves, the stock's deals and undo glide to their places
// while the engine's table has already changed; a drop lands at once; any input first
// lands the cards; the setting turns it off.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <QTest>

#include "games/Juegos.h"
#include "play/ventanas/Juego.h"
#include "play/ventanas/Preferencias.h"
#include "play/ventanas/Programa.h"
#include "play/ventanas/Tapete.h"
#include "tests/ventanas/Movidas.h"
#include "tests/ventanas/VentanaJuego.h"

namespace {

class AnimacionTest : public TConVentanaJuego<> {
 protected:
  // A face-up top card that a right click sends somewhere, in some deal of the game.
  TCarta* ConMovidaAutomatica(TPrepararJuego preparar) {
    for (std::int32_t n = 1; n < 200; ++n) {
      juego->mesa.LiberarMesa();
      juego->Jugar(preparar, n);
      for (const auto& p : juego->mesa.Pilas) {
        TCarta* c = p->Tope;
        if (!c || !c->BocaArriba || p->Grupo->EsFundacion) continue;
        TMesa gemela(kPantallaMesa.width(), kPantallaMesa.height());
        preparar(gemela, n);
        if (gemela.MoverAutomatico(*gemela.Pilas[static_cast<std::size_t>(p->Numero - 1)]->Tope))
          return c;
      }
    }
    return nullptr;
  }

  static bool Entre(QPoint a, QPoint b, QPoint p) {
    return p.x() >= std::min(a.x(), b.x()) && p.x() <= std::max(a.x(), b.x()) &&
           p.y() >= std::min(a.y(), b.y()) && p.y() <= std::max(a.y(), b.y());
  }

};

}  // namespace

TEST_F(AnimacionTest, LaMovidaAutomaticaCambiaLaMesaYaYLaCartaLlegaDeslizandose) {
  TCarta* carta = ConMovidaAutomatica(PrepararSolitarioDeLosSieteMontones);
  ASSERT_NE(carta, nullptr);
  const TPila* desde = carta->Pila;
  const QRect inicio = t->Rectangulo(*carta);
  QTest::mouseClick(t, Qt::RightButton, {}, inicio.center());
  // The engine moved it at once: only the painting follows.
  ASSERT_NE(carta->Pila, desde);
  EXPECT_EQ(juego->mesa.Movimientos, 1);
  ASSERT_TRUE(t->Animando());
  EXPECT_GE(t->DuracionAnimacion(), 150);
  EXPECT_LE(t->DuracionAnimacion(), 250);
  const QRect fin = t->Rectangulo(*carta);
  EXPECT_TRUE(Entre(inicio.topLeft(), fin.topLeft(), t->RectanguloPintado(*carta).topLeft()));
  QTest::qWait(t->DuracionAnimacion() / 3);
  const QRect medio = t->RectanguloPintado(*carta);
  EXPECT_NE(medio, inicio);
  EXPECT_TRUE(Entre(inicio.topLeft(), fin.topLeft(), medio.topLeft()));
  // And it lands, for good.
  EXPECT_TRUE(QTest::qWaitFor([&] { return !t->Animando(); }, 2000));
  EXPECT_EQ(t->RectanguloPintado(*carta), fin);
}

TEST_F(AnimacionTest, UnaEntradaDuranteElDeslizamientoLoTerminaYDespuesActua) {
  TCarta* carta = ConMovidaAutomatica(PrepararSolitarioDeLosSieteMontones);
  ASSERT_NE(carta, nullptr);
  QTest::mouseClick(t, Qt::RightButton, {}, Centro(*t, *carta));
  ASSERT_TRUE(t->Animando());
  // The card is taken where the engine put it, not where it is shown on its way.
  const QPoint llegada = Centro(*t, *carta);
  ASSERT_NE(t->RectanguloPintado(*carta).center(), llegada);
  QTest::mousePress(t, Qt::LeftButton, {}, llegada);
  EXPECT_FALSE(t->Animando());
  EXPECT_EQ(t->Arrastrada(), carta);
  QTest::mouseRelease(t, Qt::LeftButton, {}, llegada);

  // A key anywhere, the toolbar's too, lands the cards as well.
  juego->tbDeshacerClick();
  ASSERT_TRUE(t->Animando());
  QTest::keyClick(juego->Barra, Qt::Key_Shift);
  EXPECT_FALSE(t->Animando());
}

TEST_F(AnimacionTest, DeshacerYElMazoDeslizanUnaCaidaAterrizaEnSeguida) {
  juego->Jugar(PrepararSolitarioDeLosSieteMontones, 1);
  const auto mv = BuscarMovida(juego->mesa, true);
  ASSERT_TRUE(mv);
  QTest::mousePress(t, Qt::LeftButton, {}, Centro(*t, *mv->carta));
  QTest::mouseMove(t, Centro(*t, Blanco(*mv->destino)));
  QTest::mouseRelease(t, Qt::LeftButton, {}, Centro(*t, Blanco(*mv->destino)));
  ASSERT_EQ(mv->carta->Pila, mv->destino);
  EXPECT_FALSE(t->Animando());

  juego->tbDeshacerClick();
  EXPECT_NE(mv->carta->Pila, mv->destino);
  EXPECT_TRUE(t->Animando());
  t->TerminarAnimacion();

  // A deal from the stock: the dealt card comes from the stock's place.
  ASSERT_TRUE(juego->mesa.Mazo->Visible);
  const TCarta* tope = juego->mesa.Mazo->TopeMazo;
  ASSERT_NE(tope, nullptr);
  QTest::keyClick(t, Qt::Key_M);
  EXPECT_NE(tope->Pila, nullptr);
  ASSERT_TRUE(t->Animando());
  EXPECT_NE(t->RectanguloPintado(*tope), t->Rectangulo(*tope));
}

TEST_F(AnimacionTest, ConLaAnimacionApagadaTodoAterrizaEnSeguida) {
  juego->tbAnimacion->setChecked(false);
  EXPECT_FALSE(LeerPreferencias().Animacion);
  TCarta* carta = ConMovidaAutomatica(PrepararSolitarioDeLosSieteMontones);
  ASSERT_NE(carta, nullptr);
  const TPila* desde = carta->Pila;
  QTest::mouseClick(t, Qt::RightButton, {}, Centro(*t, *carta));
  EXPECT_NE(carta->Pila, desde);
  EXPECT_FALSE(t->Animando());
  QTest::keyClick(t, Qt::Key_M);
  EXPECT_FALSE(t->Animando());
  juego->tbAnimacion->setChecked(true);
  EXPECT_TRUE(LeerPreferencias().Animacion);
}

TEST_F(AnimacionTest, MuchasCartasJuntasTardanMenos) {
  // A restart after several deals from the stock takes many cards back at once: the
  // glide is shorter then.
  TCarta* carta = ConMovidaAutomatica(PrepararSolitarioDeLosSieteMontones);
  ASSERT_NE(carta, nullptr);
  QTest::mouseClick(t, Qt::RightButton, {}, Centro(*t, *carta));
  ASSERT_TRUE(t->Animando());
  const int una = t->DuracionAnimacion();
  t->TerminarAnimacion();
  for (int i = 0; i < 6; ++i) QTest::keyClick(t, Qt::Key_M);
  t->TerminarAnimacion();
  t->Animar([&] { juego->mesa.Reiniciar(); });
  ASSERT_TRUE(t->Animando());
  EXPECT_LT(t->DuracionAnimacion(), una);
  EXPECT_GE(t->DuracionAnimacion(), 150);
}
