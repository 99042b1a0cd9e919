#include <gtest/gtest.h>

#include "games/Juegos.h"
#include "tests/Ayuda.h"
#include "tests/Busqueda.h"

using busqueda::Acepta;
using busqueda::Jugar;

namespace {
TPila& P(TMesa& m, int n) { return *m.Pilas[static_cast<std::size_t>(n - 1)]; }
}  // namespace

TEST(CuatroReyes, RepartoDelJuego1) {
  TMesa m;
  PrepararCuatroReyes(m, 1);
  EXPECT_EQ(m.VentanaPropia.Titulo, "ZARP - Cuatro Reyes");
  EXPECT_EQ(m.ContextoAyuda, 260);
  EXPECT_EQ(m.ProcPreparar, &PrepararCuatroReyes);
  ASSERT_EQ(m.Pilas.size(), 12u);
  EXPECT_EQ(CartasDe(P(m, 5)), "6B 3E 4E 7B 5O");
  EXPECT_EQ(CartasDe(P(m, 6)), "9E 2E 10C 4C 7C");
  EXPECT_EQ(P(m, 7).Tope->Debajo->Debajo->Debajo->Debajo->Numero, 8);  // the Sota de Espadas
  for (int n = 5; n <= 12; ++n) EXPECT_EQ(P(m, n).Cantidad, 5) << n;
  EXPECT_EQ(m.Mazo->CartasMazo, 0);
  // The left column fans to the left, the right column to the right.
  const TCarta& segundaIzquierda = *P(m, 7).Tope->Debajo->Debajo->Debajo;
  EXPECT_EQ(segundaIzquierda.Left, P(m, 7).Left - 16);
  const TCarta& segundaDerecha = *P(m, 10).Tope->Debajo->Debajo->Debajo;
  EXPECT_EQ(segundaDerecha.Left, P(m, 10).Left + 16);
  EXPECT_EQ(P(m, 2).Left, 884);
  EXPECT_EQ(P(m, 4).Top, 486);
  EXPECT_EQ(m.Movimientos, 0);
  ExpectInvariantes(m);
}

TEST(CuatroReyes, AbanicosBajanEnOtroPaloYLasPilasGuardanCinco) {
  TMesa m;
  PrepararCuatroReyes(m, 1);
  // A full side pile takes nothing, whatever the card.
  for (int n = 7; n <= 12; ++n) EXPECT_FALSE(Acepta(m, *P(m, n).Tope, P(m, 5))) << n;
  EXPECT_TRUE(Acepta(m, *P(m, 7).Tope, P(m, 8)));    // 4O on 5C
  EXPECT_FALSE(Acepta(m, *P(m, 8).Tope, P(m, 12)));  // 5C on 5E
  Jugar(m, "a10 a10");
  EXPECT_EQ(CartasDe(P(m, 4)), "1B 2B");
  EXPECT_TRUE(Acepta(m, *P(m, 5).Tope, P(m, 10)));    // 5O on 6E
  EXPECT_TRUE(Acepta(m, *P(m, 8).Tope, P(m, 10)));    // 5C on 6E
  EXPECT_FALSE(Acepta(m, *P(m, 12).Tope, P(m, 10)));  // 5E on 6E: same suit
  Jugar(m, "5>10");
  ASSERT_EQ(P(m, 5).Cantidad, 4);
  // With four cards a side pile takes any single card, but never a run.
  EXPECT_TRUE(Acepta(m, *P(m, 11).Tope, P(m, 5)));
  EXPECT_TRUE(Acepta(m, *P(m, 12).Tope, P(m, 5)));
  TCarta& seisEspadas = *P(m, 10).Tope->Debajo;
  for (int n = 1; n <= 12; ++n) {
    if (n != 10) {
      EXPECT_FALSE(Acepta(m, seisEspadas, P(m, n))) << n;
    }
  }
  Jugar(m, "11>5");
  EXPECT_EQ(CartasDe(P(m, 5)), "6B 3E 4E 7B 8C");
  EXPECT_FALSE(Acepta(m, *P(m, 12).Tope, P(m, 5)));
  // Nothing leaves a foundation.
  EXPECT_FALSE(m.MoverAutomatico(*P(m, 4).Tope));
  ExpectInvariantes(m);
}

TEST(CuatroReyes, MovimientoAutomaticoSigueElOrdenDeCreacion) {
  TMesa m;
  PrepararCuatroReyes(m, 1);
  // 4O fits on 5C (left column) and 5E (right column): the left column's group is newer.
  Jugar(m, "a7");
  EXPECT_EQ(CartasDe(P(m, 8)), "4B 9O 1C 3C 5C 4O");
  EXPECT_EQ(CartasDe(P(m, 12)), "10E 1O 9B 2C 5E");
  Jugar(m, "d");
  EXPECT_EQ(CartasDe(P(m, 7)), "8E 7O 5B 10O 4O");
  EXPECT_EQ(m.Movimientos, 2);
}

TEST(CuatroReyes, GanaAlColocarLaCartaCuarenta) {
  busqueda::ExpectGanaEnAlgunReparto(PrepararCuatroReyes, {1, 2, 3, 5});
}
