#include <gtest/gtest.h>

#include "games/Juegos.h"
#include "tests/Ayuda.h"
#include "tests/Busqueda.h"

using busqueda::Acepta;
using busqueda::Jugar;

namespace {
TPila& P(TMesa& m, int n) { return *m.Pilas[static_cast<std::size_t>(n - 1)]; }
}  // namespace

TEST(LosCuatroPatriarcas, RepartoDelJuego1) {
  TMesa m;
  PrepararLosCuatroPatriarcas(m, 1);
  EXPECT_EQ(m.VentanaPropia.Titulo, "ZARP - Los Cuatro Patriarcas");
  EXPECT_EQ(m.ContextoAyuda, 130);
  EXPECT_EQ(m.ProcPreparar, &PrepararLosCuatroPatriarcas);
  ASSERT_EQ(m.Pilas.size(), 12u);
  // The Reyes are out before the deal: the Rey de Copas no longer sits between them.
  EXPECT_EQ(CartasDe(P(m, 1)), "10O");
  EXPECT_EQ(CartasDe(P(m, 2)), "10C");
  EXPECT_EQ(CartasDe(P(m, 3)), "10E");
  EXPECT_EQ(CartasDe(P(m, 4)), "10B");
  EXPECT_EQ(CartasDe(P(m, 5)), "6B 3E 4E 7B 5O");
  EXPECT_EQ(CartasDe(P(m, 6)), "9E 2E 4C 7C 8E");
  for (int n = 5; n <= 8; ++n) EXPECT_EQ(P(m, n).Cantidad, 5) << n;
  for (int n = 9; n <= 12; ++n) EXPECT_EQ(P(m, n).Cantidad, 4) << n;
  EXPECT_EQ(m.Mazo->CartasMazo, 0);
  // Fans spread to the right, columns downwards.
  const TCarta& segundaAbanico = *P(m, 9).Tope->Debajo->Debajo;
  EXPECT_EQ(segundaAbanico.Left, P(m, 9).Left + 16);
  EXPECT_EQ(segundaAbanico.Top, P(m, 9).Top);
  EXPECT_EQ(P(m, 1).Left, 238);
  EXPECT_EQ(P(m, 12).Top, 460);
  EXPECT_EQ(m.Movimientos, 0);
  EXPECT_FALSE(m.VentanaPropia.Ganado);
  ExpectInvariantes(m);
}

TEST(LosCuatroPatriarcas, FundacionesBajanDesdeElRey) {
  TMesa m;
  PrepararLosCuatroPatriarcas(m, 1);
  TCarta& caballoOros = *P(m, 7).Tope;
  EXPECT_FALSE(Acepta(m, caballoOros, P(m, 2)));
  EXPECT_FALSE(Acepta(m, *P(m, 6).Tope, P(m, 3)));  // Sota de Espadas before the Caballo
  EXPECT_TRUE(Acepta(m, caballoOros, P(m, 1)));
  // Foundations come after the tableau, so a right click sends the Caballo home.
  Jugar(m, "a7");
  EXPECT_EQ(CartasDe(P(m, 1)), "10O 9O");
  for (int n = 5; n <= 12; ++n) EXPECT_FALSE(Acepta(m, caballoOros, P(m, n))) << n;
  EXPECT_FALSE(m.MoverAutomatico(caballoOros));
}

TEST(LosCuatroPatriarcas, ColumnasSubenYAbanicosBajan) {
  TMesa m;
  PrepararLosCuatroPatriarcas(m, 1);
  // A column takes a card one rank higher of any suit, a fan one rank lower.
  EXPECT_TRUE(Acepta(m, *P(m, 7).Tope, P(m, 6)));    // 9O on 8E
  EXPECT_TRUE(Acepta(m, *P(m, 7).Tope, P(m, 8)));    // 9O on 8B
  EXPECT_FALSE(Acepta(m, *P(m, 6).Tope, P(m, 8)));   // 8E on 8B
  EXPECT_FALSE(Acepta(m, *P(m, 6).Tope, P(m, 7)));   // 8E on 9O: columns do not go down
  EXPECT_TRUE(Acepta(m, *P(m, 9).Tope, P(m, 11)));   // 7E on 8C, a fan
  EXPECT_FALSE(Acepta(m, *P(m, 9).Tope, P(m, 6)));   // 7E on 8E, a column
  EXPECT_FALSE(Acepta(m, *P(m, 7).Tope, P(m, 11)));  // 9O on 8C: fans do not go up
  Jugar(m, "7.4>1 5.4>7 5.3>11 5.2>12 5.1>12 5.0>7");
  EXPECT_EQ(CartasDe(P(m, 12)), "1O 9B 2C 5E 4E 3E");
  EXPECT_EQ(CartasDe(P(m, 7)), "7O 5B 4O 4B 5O 6B");
  ASSERT_EQ(P(m, 5).Cantidad, 0);
  ExpectInvariantes(m);

  // An empty column takes only an As.
  for (int n = 6; n <= 12; ++n) EXPECT_FALSE(Acepta(m, *P(m, n).Tope, P(m, 5))) << n;
  Jugar(m, "10>12");
  ASSERT_EQ(P(m, 10).Tope->Numero, 1);
  Jugar(m, "10>5");
  EXPECT_EQ(CartasDe(P(m, 5)), "1B");
}

TEST(LosCuatroPatriarcas, SoloLasColumnasTomanTramosOrdenados) {
  TMesa m;
  PrepararLosCuatroPatriarcas(m, 1);
  Jugar(m, "7.4>1 5.4>7 5.3>11 5.2>12 5.1>12 5.0>7");
  TCarta& sieteCopas = *P(m, 6).Tope->Debajo;  // 7C with the 8E on it
  ASSERT_EQ(TextoCarta(sieteCopas), "7C");
  EXPECT_FALSE(Acepta(m, sieteCopas, P(m, 11)));  // a fan, on the 8 de Copas
  EXPECT_TRUE(Acepta(m, sieteCopas, P(m, 7)));    // a column, on the 6 de Bastos
  // The 1E 8B pair is out of order: not even the empty column takes it.
  EXPECT_FALSE(Acepta(m, *P(m, 8).Tope->Debajo, P(m, 5)));
  Jugar(m, "6.3>7");
  EXPECT_EQ(CartasDe(P(m, 7)), "7O 5B 4O 4B 5O 6B 7C 8E");
  EXPECT_EQ(CartasDe(P(m, 6)), "9E 2E 4C");
  // The whole 4B..8E run goes on as one move, and one undo brings it back.
  const std::uint16_t antes = m.Movimientos;
  Jugar(m, "d");
  EXPECT_EQ(CartasDe(P(m, 6)), "9E 2E 4C 7C 8E");
  EXPECT_EQ(m.Movimientos, antes + 1);
  ExpectInvariantes(m);
}

TEST(LosCuatroPatriarcas, AbanicoVacioTomaCualquierCarta) {
  TMesa m;
  PrepararLosCuatroPatriarcas(m, 1);
  Jugar(m, "7.4>1 5.4>7 11.3>5 11.2>7 11.1>9 11.0>2");
  ASSERT_EQ(P(m, 11).Cantidad, 0);
  for (int n : {5, 6, 7, 8, 9, 10, 12}) EXPECT_TRUE(Acepta(m, *P(m, n).Tope, P(m, 11))) << n;
  // A run stays a column's: a fan refuses it even when empty.
  EXPECT_FALSE(Acepta(m, *P(m, 7).Tope->Debajo, P(m, 11)));
}

TEST(LosCuatroPatriarcas, GanaAlColocarLaCartaCuarenta) {
  busqueda::ExpectGanaEnAlgunReparto(PrepararLosCuatroPatriarcas, {1, 2, 3, 4});
}
