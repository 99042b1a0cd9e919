#include <gtest/gtest.h>

#include "games/Juegos.h"
#include "tests/Ayuda.h"
#include "tests/Busqueda.h"

using busqueda::Acepta;
using busqueda::Jugar;

namespace {
TPila& P(TMesa& m, int n) { return *m.Pilas[static_cast<std::size_t>(n - 1)]; }
}  // namespace

TEST(LasColumnasDelPalacio, RepartoDelJuego1) {
  TMesa m;
  PrepararLasColumnasDelPalacio(m, 1);
  EXPECT_EQ(m.VentanaPropia.Titulo, "ZARP - Las Columnas Del Palacio");
  EXPECT_EQ(m.NombreJuego, "Las Columnas Del Palacio");
  EXPECT_EQ(m.ContextoAyuda, 80);
  EXPECT_EQ(m.ProcPreparar, &PrepararLasColumnasDelPalacio);
  ASSERT_EQ(m.Pilas.size(), 12u);
  EXPECT_EQ(CartasDe(P(m, 5)), "6B 3E 4E 7B 5O");
  EXPECT_EQ(CartasDe(P(m, 6)), "9E 2E 10C 4C 7C");
  for (int n = 5; n <= 12; ++n) EXPECT_EQ(P(m, n).Cantidad, 5) << n;
  const TPalo palos[] = {Oros, Copas, Espadas, Bastos};
  for (int n = 1; n <= 4; ++n) {
    EXPECT_EQ(P(m, n).Cantidad, 0);
    EXPECT_EQ(P(m, n).Imagen, (TImagen{TTipoImagen::Fundacion, palos[n - 1]}));
  }
  // The uneven foundation row and the first and last columns, at 1.6 pixels a unit.
  EXPECT_EQ(P(m, 1).Left, 204);
  EXPECT_EQ(P(m, 3).Left, 563);
  EXPECT_EQ(P(m, 4).Left, 716);
  EXPECT_EQ(P(m, 5).Left, 25);
  EXPECT_EQ(P(m, 12).Left, 897);
  EXPECT_EQ(P(m, 12).Top, 233);
  EXPECT_EQ(m.Mazo->CartasMazo, 0);
  EXPECT_FALSE(m.Mazo->Visible);
  EXPECT_EQ(m.Movimientos, 0);
  ExpectInvariantes(m);
}

TEST(LasColumnasDelPalacio, ColumnasBajanEnOtroPalo) {
  TMesa m;
  PrepararLasColumnasDelPalacio(m, 1);
  TCarta& cuatroOros = *P(m, 7).Tope;
  EXPECT_TRUE(Acepta(m, cuatroOros, P(m, 8)));    // on the 5 de Copas
  EXPECT_TRUE(Acepta(m, cuatroOros, P(m, 12)));   // on the 5 de Espadas
  EXPECT_FALSE(Acepta(m, cuatroOros, P(m, 5)));   // the 5 de Oros: same suit
  EXPECT_FALSE(Acepta(m, *P(m, 9).Tope, P(m, 7)));  // a 3 de Oros on the 4 de Oros
  EXPECT_FALSE(Acepta(m, *P(m, 12).Tope, P(m, 11)));  // a 5 on a Sota
  EXPECT_FALSE(Acepta(m, cuatroOros, P(m, 1)));   // only the As starts a foundation

  Jugar(m, "7>8");
  EXPECT_EQ(CartasDe(P(m, 8)), "4B 9O 1C 3C 5C 4O");
  EXPECT_EQ(CartasDe(P(m, 7)), "8E 7O 5B 10O");
  EXPECT_EQ(m.Movimientos, 1);
  m.Deshacer();
  EXPECT_EQ(CartasDe(P(m, 7)), "8E 7O 5B 10O 4O");
  EXPECT_EQ(CartasDe(P(m, 8)), "4B 9O 1C 3C 5C");
  EXPECT_EQ(m.Movimientos, 2);
  ExpectInvariantes(m);
}

TEST(LasColumnasDelPalacio, MovimientoAutomatico) {
  TMesa m;
  PrepararLasColumnasDelPalacio(m, 1);
  // The foundations were created last, so they are tried first.
  Jugar(m, "a10 a10");
  EXPECT_EQ(CartasDe(P(m, 4)), "1B 2B");
  // Two columns take the 4 de Oros: the one added last wins.
  Jugar(m, "a7");
  EXPECT_EQ(CartasDe(P(m, 12)), "10E 1O 9B 2C 5E 4O");
  // A card no pile takes: nothing recorded, nothing counted.
  const std::uint16_t antes = m.Movimientos;
  TJugada* historial = m.Historial;
  EXPECT_FALSE(m.MoverAutomatico(*P(m, 11).Tope));
  EXPECT_EQ(m.Movimientos, antes);
  EXPECT_EQ(m.Historial, historial);
}

TEST(LasColumnasDelPalacio, SoloCartasSueltasYFundacionesFijas) {
  TMesa m;
  PrepararLasColumnasDelPalacio(m, 1);
  Jugar(m, "10.4>4 10.3>4 5.4>10 5.3>11 5.2>8 5.1>7 5.0>6");
  ASSERT_EQ(P(m, 5).Cantidad, 0);
  ExpectInvariantes(m);
  // An empty column takes any single card.
  for (int n = 6; n <= 12; ++n) EXPECT_TRUE(Acepta(m, *P(m, n).Tope, P(m, 5))) << n;
  // 7C 6B lies in order on the second column, yet a run never moves.
  ASSERT_EQ(CartasDe(P(m, 6)), "9E 2E 10C 4C 7C 6B");
  TCarta& sieteCopas = *P(m, 6).Tope->Debajo;
  for (int n = 1; n <= 12; ++n) {
    if (n != 6) {
      EXPECT_FALSE(Acepta(m, sieteCopas, P(m, n))) << n;
    }
  }
  EXPECT_FALSE(m.MoverAutomatico(sieteCopas));
  // A card on a foundation stays there.
  TCarta& dosBastos = *P(m, 4).Tope;
  for (int n = 5; n <= 12; ++n) EXPECT_FALSE(Acepta(m, dosBastos, P(m, n))) << n;
  EXPECT_FALSE(m.MoverAutomatico(dosBastos));
}

TEST(LasColumnasDelPalacio, GanaAlColocarLaCartaCuarenta) {
  busqueda::ExpectGanaEnAlgunReparto(PrepararLasColumnasDelPalacio, {1, 2, 4, 8});
}
