// Rompecabezas: fans of at most four cards, a card only on its own rank, and the win when
// ten fans hold one rank each.
#include <gtest/gtest.h>

#include "games/Juegos.h"
#include "tests/Ayuda.h"
#include "tests/Busqueda.h"

namespace {

TPila& P(TMesa& m, int n) { return *m.Pilas[static_cast<std::size_t>(n - 1)]; }

// Single cards only, onto the same rank, four at most; an empty fan takes anything.
void ExpectReglas(TMesa& m) {
  for (auto& desde : m.Pilas)
    for (TCarta* c = desde->Tope; c; c = c->Debajo)
      for (auto& hacia : m.Pilas) {
        if (hacia.get() == desde.get()) continue;
        const bool esperado =
            !c->Encima && (!hacia->Tope || (hacia->Tope->Numero == c->Numero && hacia->Cantidad < 4));
        EXPECT_EQ(busqueda::Acepta(m, *c, *hacia), esperado)
            << TextoCarta(*c) << " de " << desde->Numero << " a " << hacia->Numero;
      }
}

int Completas(TMesa& m) {
  int n = 0;
  for (auto& p : m.Pilas) {
    if (p->Cantidad != 4) continue;
    bool iguales = true;
    for (const TCarta* c = p->Tope; c; c = c->Debajo) iguales = iguales && c->Numero == p->Tope->Numero;
    n += iguales;
  }
  return n;
}

}  // namespace

TEST(Rompecabezas, RepartoDelJuego1) {
  TMesa m;
  PrepararRompecabezas(m, 1);
  EXPECT_EQ(m.NombreJuego, "Rompecabezas");
  EXPECT_EQ(m.VentanaPropia.Titulo, "ZARP - Rompecabezas");
  EXPECT_EQ(m.ContextoAyuda, 170);
  ASSERT_EQ(m.Pilas.size(), 12u);
  EXPECT_EQ(CartasDe(P(m, 1)), "6B 3E 4E 7B");
  // The stock's last four cards go to the second fan of the bottom row.
  TMesa t;
  t.NumeroJuego = 1;
  const TBaraja baraja = t.Barajar();
  std::string ultimas;
  for (int k = 3; k >= 0; --k)
    ultimas += (ultimas.empty() ? "" : " ") +
               TextoCarta(baraja[static_cast<std::size_t>(k)].Palo,
                          baraja[static_cast<std::size_t>(k)].Numero, true);
  EXPECT_EQ(CartasDe(P(m, 10)), ultimas);
  for (int n = 1; n <= 10; ++n) EXPECT_EQ(P(m, n).Cantidad, 4);
  EXPECT_EQ(P(m, 11).Cantidad, 0);
  EXPECT_EQ(P(m, 12).Cantidad, 0);
  EXPECT_EQ(P(m, 12).Left, m.Escalar(457));
  EXPECT_EQ(P(m, 12).Top, m.Escalar(296));
  EXPECT_EQ(m.Mazo->CartasMazo, 0);
  ExpectInvariantes(m);
  ExpectReglas(m);
}

TEST(Rompecabezas, SoloSobreElMismoNumeroYHastaCuatro) {
  TMesa m;
  PrepararRompecabezas(m, 1);
  // The 7 de Oros may not join the 7 de Bastos: that fan is full.
  TCarta& sieteO = *P(m, 3).Tope;
  EXPECT_FALSE(m.ArrastrarSobreCarta(*P(m, 1).Tope, sieteO, 1, 1));
  m.SoltarEnPila(P(m, 11), sieteO, 1, 1);
  ASSERT_EQ(CartasDe(P(m, 11)), "7O");
  // Now the 7 de Bastos may go onto it, and back again.
  TCarta& sieteB = *P(m, 1).Tope;
  ASSERT_TRUE(m.ArrastrarSobreCarta(sieteO, sieteB, 1, 1));
  m.SoltarEnCarta(sieteO, sieteB, 1, 1);
  EXPECT_EQ(CartasDe(P(m, 11)), "7O 7B");
  ExpectReglas(m);
  m.Deshacer();
  m.Deshacer();
  EXPECT_EQ(CartasDe(P(m, 1)), "6B 3E 4E 7B");
  EXPECT_EQ(CartasDe(P(m, 3)), "4C 7C 8E 7O");
  EXPECT_EQ(P(m, 11).Cantidad, 0);
  ExpectInvariantes(m);
  for (std::int32_t n : {2, 3, 4}) {
    TMesa otra;
    PrepararRompecabezas(otra, n);
    ExpectReglas(otra);
  }
}

TEST(Rompecabezas, GanaAlCompletarLaDecimaPila) {
  std::int32_t numero = 0;
  std::vector<TPaso> camino;
  for (std::int32_t n = 1; n <= 10 && camino.empty(); ++n) {
    TMesa m;
    PrepararRompecabezas(m, n);
    camino = busqueda::BuscarVictoria(m, 50000);
    numero = n;
  }
  ASSERT_FALSE(camino.empty());
  TMesa m;
  PrepararRompecabezas(m, numero);
  for (std::size_t i = 0; i < camino.size(); ++i) {
    ASSERT_FALSE(m.VentanaPropia.Ganado) << "ganado antes del paso " << i;
    // Nine complete fans and a three of a rank are not yet a win.
    if (i + 1 == camino.size()) {
      EXPECT_EQ(Completas(m), 9);
    }
    ASSERT_TRUE(AplicarPaso(m, camino[i]));
  }
  EXPECT_TRUE(m.VentanaPropia.Ganado);
  EXPECT_EQ(Completas(m), 10);
  int vacias = 0;
  for (auto& p : m.Pilas) vacias += p->Cantidad == 0;
  EXPECT_EQ(vacias, 2);
  ExpectInvariantes(m);
}
