#include <gtest/gtest.h>

#include "games/Juegos.h"
#include "tests/Ayuda.h"
#include "tests/Busqueda.h"

using busqueda::Acepta;
using busqueda::Jugar;

namespace {
TPila& P(TMesa& m, int n) { return *m.Pilas[static_cast<std::size_t>(n - 1)]; }
}  // namespace

TEST(OrdenReal, RepartoDelJuego1) {
  TMesa m;
  PrepararOrdenReal(m, 1);
  EXPECT_EQ(m.VentanaPropia.Titulo, "ZARP - Orden Real");
  EXPECT_EQ(m.ContextoAyuda, 90);
  EXPECT_EQ(m.ProcPreparar, &PrepararOrdenReal);
  ASSERT_EQ(m.Pilas.size(), 12u);
  EXPECT_EQ(CartasDe(P(m, 1)), "10O");
  EXPECT_EQ(CartasDe(P(m, 4)), "10B");
  EXPECT_EQ(CartasDe(P(m, 5)), "6B 3e 4E 7b 5O");
  // The free cell gets the last card of the stock.
  EXPECT_EQ(CartasDe(P(m, 12)), "5E");
  // Every column shows its first, third and fifth cards.
  for (int n = 5; n <= 11; ++n) {
    ASSERT_EQ(P(m, n).Cantidad, 5) << n;
    int pos = 4;
    for (const TCarta* c = P(m, n).Tope; c; c = c->Debajo, --pos)
      EXPECT_EQ(c->BocaArriba, pos % 2 == 0) << n << "." << pos;
  }
  EXPECT_EQ(m.Mazo->CartasMazo, 0);
  EXPECT_EQ(P(m, 12).Left, 878);
  EXPECT_EQ(P(m, 12).Top, 345);
  EXPECT_EQ(m.Movimientos, 0);
  ExpectInvariantes(m);
}

TEST(OrdenReal, ColumnasSubenEnOtroPalo) {
  TMesa m;
  PrepararOrdenReal(m, 1);
  for (int desde = 5; desde <= 12; ++desde) {
    TCarta& c = *P(m, desde).Tope;
    for (int hacia = 5; hacia <= 11; ++hacia) {
      if (hacia == desde) continue;
      const TCarta& t = *P(m, hacia).Tope;
      EXPECT_EQ(Acepta(m, c, P(m, hacia)), c.Palo != t.Palo && c.Numero == t.Numero + 1)
          << TextoCarta(c) << " sobre " << TextoCarta(t);
    }
  }
  EXPECT_TRUE(Acepta(m, *P(m, 9).Tope, P(m, 5)));   // 6E on 5O
  EXPECT_FALSE(Acepta(m, *P(m, 5).Tope, P(m, 9)));  // 5O on 6E
  // The Caballo goes home; the face-down 4 de Bastos beneath it turns up.
  EXPECT_FALSE(Acepta(m, *P(m, 7).Tope, P(m, 2)));
  Jugar(m, "7>1");
  EXPECT_EQ(CartasDe(P(m, 7)), "7O 5b 4O 4B");
  EXPECT_EQ(CartasDe(P(m, 1)), "10O 9O");
  m.Deshacer();
  EXPECT_EQ(CartasDe(P(m, 7)), "7O 5b 4O 4b 9O");
  EXPECT_EQ(CartasDe(P(m, 1)), "10O");
  EXPECT_EQ(m.Movimientos, 2);
  // A face-down card goes nowhere.
  EXPECT_FALSE(m.MoverAutomatico(*P(m, 7).Tope->Debajo));
  ExpectInvariantes(m);
}

TEST(OrdenReal, LaCasillaLibreGuardaUnaCarta) {
  TMesa m;
  PrepararOrdenReal(m, 1);
  // A full cell refuses everything.
  for (int n = 5; n <= 11; ++n) EXPECT_FALSE(Acepta(m, *P(m, n).Tope, P(m, 12))) << n;
  Jugar(m, "7>1 12>7");
  EXPECT_EQ(CartasDe(P(m, 7)), "7O 5b 4O 4B 5E");
  ASSERT_EQ(P(m, 12).Cantidad, 0);
  for (int n = 5; n <= 11; ++n) EXPECT_TRUE(Acepta(m, *P(m, n).Tope, P(m, 12))) << n;
  // Only single cards: the 4B 5E pair is in order, yet the cell takes one card.
  EXPECT_FALSE(Acepta(m, *P(m, 7).Tope->Debajo, P(m, 12)));
  Jugar(m, "9>12");
  EXPECT_EQ(CartasDe(P(m, 12)), "6E");
  EXPECT_EQ(CartasDe(P(m, 9)), "3B 3o 8O 7E");
  for (int n = 5; n <= 11; ++n) EXPECT_FALSE(Acepta(m, *P(m, n).Tope, P(m, 12))) << n;
  // From the cell back onto a column.
  Jugar(m, "12>5");
  EXPECT_EQ(CartasDe(P(m, 5)), "6B 3e 4E 7b 5O 6E");
  // Nothing leaves a foundation, not even for the empty cell.
  ASSERT_EQ(P(m, 12).Cantidad, 0);
  EXPECT_FALSE(Acepta(m, *P(m, 1).Tope, P(m, 12)));
  ExpectInvariantes(m);
}

TEST(OrdenReal, GanaAlColocarLaCartaCuarenta) {
  busqueda::ExpectGanaEnAlgunReparto(PrepararOrdenReal, {1, 3, 4, 5});
}
