#include <gtest/gtest.h>

#include "games/Juegos.h"
#include "tests/Ayuda.h"
#include "tests/Busqueda.h"

using busqueda::Acepta;
using busqueda::Jugar;

namespace {
TPila& P(TMesa& m, int n) { return *m.Pilas[static_cast<std::size_t>(n - 1)]; }

// Two ranks up or down, wrapping past the Rey and below the As.
bool DosDeDistancia(int abajo, int arriba) {
  const int arribaDe = abajo + 2 > 10 ? abajo + 2 - 10 : abajo + 2;
  const int abajoDe = abajo - 2 < 1 ? abajo - 2 + 10 : abajo - 2;
  return arriba == arribaDe || arriba == abajoDe;
}
}  // namespace

TEST(OrdenamientoDesordenado, RepartoDelJuego1) {
  TMesa m;
  PrepararOrdenamientoDesordenado(m, 1);
  EXPECT_EQ(m.VentanaPropia.Titulo, "ZARP - Ordenamiento Desordenado");
  EXPECT_EQ(m.ContextoAyuda, 110);
  EXPECT_EQ(m.ProcPreparar, &PrepararOrdenamientoDesordenado);
  ASSERT_EQ(m.Pilas.size(), 10u);
  EXPECT_EQ(CartasDe(P(m, 6)), "6B 3E 4E 7B 5O");
  for (int n = 6; n <= 10; ++n) EXPECT_EQ(P(m, n).Cantidad, 5) << n;
  EXPECT_EQ(P(m, 5).Cantidad, 0);
  // The stock stays on the table with the other fifteen cards.
  EXPECT_TRUE(m.Mazo->Visible);
  EXPECT_EQ(m.Mazo->CartasMazo, 15);
  EXPECT_EQ(m.Mazo->Left, 46);
  EXPECT_EQ(m.Mazo->Top, 268);
  EXPECT_EQ(m.Mazo->Reutilizaciones, 0);
  EXPECT_EQ(m.Paneles[PanelMazo], "Mazo: 15");
  EXPECT_EQ(m.Paneles[PanelDescarte], TMesa().Paneles[PanelDescarte]);
  EXPECT_EQ(m.Movimientos, 0);
  ExpectInvariantes(m);

  Jugar(m, "m");
  EXPECT_EQ(CartasDe(P(m, 5)), "8O");
  EXPECT_EQ(m.Paneles[PanelDescarte], "Descarte: 1");
  EXPECT_EQ(m.Paneles[PanelMazo], "Mazo: 14");
}

TEST(OrdenamientoDesordenado, ElMazoDaUnaCartaYNoSeReutiliza) {
  TMesa m;
  PrepararOrdenamientoDesordenado(m, 1);
  Jugar(m, "m m m");
  EXPECT_EQ(CartasDe(P(m, 5)), "8O 7E 6E");
  EXPECT_EQ(m.Paneles[PanelDescarte], "Descarte: 3");
  // The waste's top card may go to a column (6E on 4O) and lowers the count.
  Jugar(m, "5>8");
  EXPECT_EQ(CartasDe(P(m, 8)), "8E 7O 5B 10O 4O 6E");
  EXPECT_EQ(m.Paneles[PanelDescarte], "Descarte: 2");
  // Nothing is dropped on the waste, not even what came from it.
  for (int n = 6; n <= 10; ++n) EXPECT_FALSE(Acepta(m, *P(m, n).Tope, P(m, 5))) << n;
  for (int i = 0; i < 12; ++i) Jugar(m, "m");
  EXPECT_EQ(m.Mazo->CartasMazo, 0);
  EXPECT_EQ(P(m, 5).Cantidad, 14);
  EXPECT_EQ(m.Mazo->Imagen, (TImagen{TTipoImagen::Otros, ImgMazoAgotado}));
  // An empty stock without redeals: the click happens and changes nothing.
  const std::uint16_t antes = m.Movimientos;
  TJugada* historial = m.Historial;
  Jugar(m, "m");
  EXPECT_EQ(P(m, 5).Cantidad, 14);
  EXPECT_EQ(m.Movimientos, antes);
  EXPECT_EQ(m.Historial, historial);
  // Undoing a click puts its card back on the stock.
  Jugar(m, "d");
  EXPECT_EQ(m.Mazo->CartasMazo, 1);
  EXPECT_EQ(m.Paneles[PanelDescarte], "Descarte: 13");
  ExpectInvariantes(m);
}

TEST(OrdenamientoDesordenado, TramosDeDosEnDosConVuelta) {
  TMesa m;
  PrepararOrdenamientoDesordenado(m, 1);
  // 9O 1C 3C 5C climbs by two, past the Rey, and goes whole onto the 7 de Copas.
  TCarta& caballoOros = *P(m, 9).Tope->Debajo->Debajo->Debajo;
  ASSERT_EQ(TextoCarta(caballoOros), "9O");
  EXPECT_TRUE(Acepta(m, caballoOros, P(m, 7)));
  Jugar(m, "9.1>7");
  EXPECT_EQ(CartasDe(P(m, 7)), "9E 2E 10C 4C 7C 9O 1C 3C 5C");
  EXPECT_EQ(CartasDe(P(m, 9)), "4B");
  EXPECT_EQ(m.Movimientos, 1);
  // 4E 7B 5O is out of order: it moves nowhere.
  TCarta& cuatroEspadas = *P(m, 6).Tope->Debajo->Debajo;
  for (int n = 1; n <= 10; ++n) EXPECT_FALSE(Acepta(m, cuatroEspadas, P(m, n))) << n;
  EXPECT_FALSE(m.MoverAutomatico(cuatroEspadas));
  ExpectInvariantes(m);
}

// Along a won line, every single card from a column or the waste meets the two-apart rule
// with wrapping on every non-empty column, and the wrapped cases do come up.
TEST(OrdenamientoDesordenado, ReglaDeLasColumnasALoLargoDeUnaPartida) {
  TMesa m;
  PrepararOrdenamientoDesordenado(m, 1);
  const auto camino = busqueda::BuscarVictoriaGuiada(m);
  ASSERT_FALSE(camino.empty());
  int conVuelta = 0;
  for (const TPaso& paso : camino) {
    for (int desde = 5; desde <= 10; ++desde) {
      TCarta* c = P(m, desde).Tope;
      if (!c) continue;
      for (int hacia = 6; hacia <= 10; ++hacia) {
        const TCarta* t = P(m, hacia).Tope;
        if (hacia == desde || !t) continue;
        const bool esperado = DosDeDistancia(t->Numero, c->Numero);
        EXPECT_EQ(Acepta(m, *c, P(m, hacia)), esperado)
            << TextoCarta(*c) << " sobre " << TextoCarta(*t);
        if (esperado && (t->Numero <= 2 || t->Numero >= 9) &&
            (c->Numero <= 2 || c->Numero >= 9))
          ++conVuelta;
      }
    }
    ASSERT_TRUE(AplicarPaso(m, paso));
  }
  EXPECT_GT(conVuelta, 0);
  EXPECT_TRUE(m.VentanaPropia.Ganado);
}

TEST(OrdenamientoDesordenado, GanaAlColocarLaCartaCuarenta) {
  busqueda::ExpectGanaEnAlgunReparto(PrepararOrdenamientoDesordenado, {1, 2, 3});
}
