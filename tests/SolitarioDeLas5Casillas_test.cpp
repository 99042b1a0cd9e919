// Solitario De Las Cinco Casillas: one foundation for the whole deck, a reserve, a stock
// with one redeal.
#include <gtest/gtest.h>

#include "games/Juegos.h"
#include "tests/Busqueda.h"
#include "tests/Ayuda.h"

namespace {

using busqueda::Acepta;
using busqueda::Soltar;

TPila& Pila(TMesa& m, int n) { return *m.Pilas[static_cast<std::size_t>(n - 1)]; }

}  // namespace

TEST(SolitarioDeLas5Casillas, RepartoDelJuego1) {
  TMesa m;
  PrepararSolitarioDeLas5Casillas(m, 1);
  ASSERT_EQ(m.Pilas.size(), 7u);
  EXPECT_EQ(CartasDe(Pila(m, 1)), "");
  EXPECT_EQ(CartasDe(Pila(m, 2)), "6b 3e 4e 7b 5o 9e 2e 10c 4c 7c 8e 7o 5b 10o 4O");
  EXPECT_EQ(CartasDe(Pila(m, 3)), "4B");
  EXPECT_EQ(CartasDe(Pila(m, 4)), "9O");
  EXPECT_EQ(CartasDe(Pila(m, 5)), "1C");
  EXPECT_EQ(CartasDe(Pila(m, 6)), "3C");
  EXPECT_EQ(CartasDe(Pila(m, 7)), "");
  EXPECT_EQ(m.Mazo->CartasMazo, 21);
  EXPECT_EQ(TextoCarta(*m.Mazo->TopeMazo), "5c");
  EXPECT_TRUE(m.Mazo->Visible);
  EXPECT_EQ(m.Mazo->Descarte, &Pila(m, 7));
  EXPECT_EQ(m.Paneles[PanelReutilizaciones], "Reutilizaciones: 1");
  EXPECT_EQ(m.VentanaPropia.Titulo, "ZARP - Solitario De Las Cinco Casillas");
  EXPECT_EQ(m.ContextoAyuda, 270);
  EXPECT_EQ(m.ProcPreparar, &PrepararSolitarioDeLas5Casillas);
  ExpectInvariantes(m);
}

// The empty foundation takes only an As; then one rank higher whatever the suit. The
// ordinary piles build one rank lower in any suit, single cards only.
TEST(SolitarioDeLas5Casillas, FundacionYPilas) {
  TMesa m;
  PrepararSolitarioDeLas5Casillas(m, 1);
  TPila& base = Pila(m, 1);
  EXPECT_FALSE(Acepta(m, base, *Pila(m, 3).Tope));  // 4B
  EXPECT_FALSE(Acepta(m, base, *Pila(m, 2).Tope));  // 4O of the reserve
  Soltar(m, base, *Pila(m, 5).Tope);                // 1C
  EXPECT_EQ(CartasDe(base), "1C");
  EXPECT_FALSE(Acepta(m, base, *Pila(m, 6).Tope));  // 3C

  EXPECT_FALSE(Acepta(m, Pila(m, 3), *Pila(m, 4).Tope));  // 9O on 4B
  Soltar(m, Pila(m, 3), *Pila(m, 6).Tope);                // 3C on 4B
  EXPECT_EQ(CartasDe(Pila(m, 3)), "4B 3C");
  // The 4B carries the 3C now: it moves nowhere, not even to the emptied pile.
  for (auto& p : m.Pilas) EXPECT_FALSE(Acepta(m, *p, *Pila(m, 3).Tope->Debajo));
  // An empty ordinary pile takes any single card.
  Soltar(m, Pila(m, 6), *Pila(m, 2).Tope);  // 4O from the reserve
  EXPECT_EQ(CartasDe(Pila(m, 2)), "6b 3e 4e 7b 5o 9e 2e 10c 4c 7c 8e 7o 5b 10O");
  // Nothing goes onto the reserve or the waste.
  m.ClickMazo();
  EXPECT_EQ(CartasDe(Pila(m, 7)), "5C");
  for (auto& p : m.Pilas) {
    if (!p->Tope) continue;
    EXPECT_FALSE(Acepta(m, Pila(m, 2), *p->Tope)) << TextoCarta(*p->Tope);
    EXPECT_FALSE(Acepta(m, Pila(m, 7), *p->Tope)) << TextoCarta(*p->Tope);
  }
  ExpectInvariantes(m);
}

// After an As the foundation takes the next rank of any suit, and an As again on a Rey.
TEST(SolitarioDeLas5Casillas, LaFundacionDaLaVuelta) {
  TMesa m;
  PrepararSolitarioDeLas5Casillas(m, 1);
  ASSERT_TRUE(busqueda::Alcanzar(m, [](TMesa& t) {
    const TPila& base = *t.Pilas[0];
    return base.Cantidad > 10;
  }, false, {}, 400));
  const TPila& base = *m.Pilas[0];
  int esperado = 1;
  std::string palos;
  const TCarta* c = base.Tope;
  while (c->Debajo) c = c->Debajo;
  for (; c; c = c->Encima, esperado = esperado % 10 + 1) {
    EXPECT_EQ(c->Numero, esperado) << CartasDe(base);
    palos += static_cast<char>('0' + c->Palo);
  }
  EXPECT_NE(palos.find_first_not_of(palos[0]), std::string::npos);
}

// One pass, one redeal, then the empty stock does nothing; the panel follows the waste.
TEST(SolitarioDeLas5Casillas, UnaSolaReutilizacion) {
  TMesa m;
  PrepararSolitarioDeLas5Casillas(m, 1);
  TPila& descarte = Pila(m, 7);
  for (int i = 1; i <= 21; ++i) {
    m.ClickMazo();
    EXPECT_EQ(descarte.Cantidad, i);
    EXPECT_EQ(m.Paneles[PanelDescarte], "Descarte: " + std::to_string(i));
  }
  EXPECT_EQ(m.Mazo->CartasMazo, 0);
  EXPECT_EQ(m.Movimientos, 21);
  m.ClickMazo();
  EXPECT_EQ(m.Mazo->CartasMazo, 21);
  EXPECT_EQ(descarte.Cantidad, 0);
  EXPECT_EQ(m.Paneles[PanelReutilizaciones], "Reutilizaciones: 0");
  EXPECT_EQ(TextoCarta(*m.Mazo->TopeMazo), "5c");
  for (int i = 0; i < 21; ++i) m.ClickMazo();
  m.ClickMazo();
  EXPECT_EQ(m.Mazo->CartasMazo, 0);
  EXPECT_EQ(descarte.Cantidad, 21);
  EXPECT_EQ(m.Paneles[PanelDescarte], "Descarte: 21");
  ExpectInvariantes(m);
}

TEST(SolitarioDeLas5Casillas, GanaConLaCartaCuarenta) {
  for (std::int32_t numero = 1; numero <= 20; ++numero) {
    const auto camino =
        busqueda::LineaGanadora(PrepararSolitarioDeLas5Casillas, numero, 30000);
    if (camino.empty()) continue;
    TMesa m;
    PrepararSolitarioDeLas5Casillas(m, numero);
    busqueda::ExpectGanaAlUltimoPaso(m, camino);
    EXPECT_EQ(m.Pilas[0]->Cantidad, 40);
    return;
  }
  FAIL() << "ningún reparto de prueba se resolvió";
}
