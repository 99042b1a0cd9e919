// Pingüino Patagónico: the base card, the columns built down by suit with free cells, and
// the foundations that go round from Rey to As.
#include <gtest/gtest.h>

#include <utility>

#include "games/Juegos.h"
#include "tests/Ayuda.h"
#include "tests/Busqueda.h"

namespace {

TPila& P(TMesa& m, int n) { return *m.Pilas[static_cast<std::size_t>(n - 1)]; }

bool EsColumna(const TPila& p) { return p.Grupo->NombreGrupo == "Tab1"; }
bool EsCelda(const TPila& p) { return p.Grupo->NombreGrupo == "Libre"; }

// The base rank, read back from a fresh deal: the bottom card of the first column.
int Base(TMesa& m) {
  const TCarta* c = P(m, 5).Tope;
  while (c->Debajo) c = c->Debajo;
  return c->Numero;
}

int BaseDelJuego(std::int32_t numero) {
  TMesa m;
  PrepararPinguinoPatagonico(m, numero);
  return Base(m);
}

// What a drop of the top card of one pile onto another must do, as the rules say.
bool Esperado(int B, const TCarta& c, const TPila& hacia) {
  const TPila& desde = *c.Pila;
  if (desde.Grupo->EsFundacion || c.Encima) return false;
  if (hacia.Grupo->EsFundacion) {
    if (!hacia.Tope) return c.Palo == hacia.Grupo->PaloFundacion && c.Numero == B;
    return c.Palo == hacia.Tope->Palo && c.Numero == hacia.Tope->Numero % 10 + 1;
  }
  if (EsCelda(hacia)) return !hacia.Tope && EsColumna(desde);
  if (!hacia.Tope) return c.Numero == (B == 1 ? 10 : B - 1);
  return c.Palo == hacia.Tope->Palo &&
         (c.Numero + 1 == hacia.Tope->Numero || (hacia.Tope->Numero == 1 && c.Numero == 10));
}

// Every face-up card against every other pile.
void ExpectReglas(TMesa& m, int B) {
  for (auto& desde : m.Pilas)
    for (TCarta* c = desde->Tope; c; c = c->Debajo)
      for (auto& hacia : m.Pilas) {
        if (hacia.get() == desde.get()) continue;
        EXPECT_EQ(busqueda::Acepta(m, *c, *hacia), Esperado(B, *c, *hacia))
            << TextoCarta(*c) << " de " << desde->Numero << " a " << hacia->Numero;
      }
}

}  // namespace

TEST(PinguinoPatagonico, RepartoDelJuego1) {
  TMesa m;
  PrepararPinguinoPatagonico(m, 1);
  EXPECT_EQ(m.NombreJuego, "Pingüino Patagónico");
  EXPECT_EQ(m.VentanaPropia.Titulo, "ZARP - Pingüino Patagónico");
  EXPECT_EQ(m.ContextoAyuda, 240);
  EXPECT_EQ(m.ProcPreparar, &PrepararPinguinoPatagonico);
  ASSERT_EQ(m.Pilas.size(), 16u);
  // The base is the 6 de Bastos: its three brothers start their foundations.
  EXPECT_EQ(CartasDe(P(m, 1)), "6O");
  EXPECT_EQ(CartasDe(P(m, 2)), "6C");
  EXPECT_EQ(CartasDe(P(m, 3)), "6E");
  EXPECT_EQ(CartasDe(P(m, 4)), "");
  EXPECT_EQ(CartasDe(P(m, 5)), "6B 3E 4E 7B 5O 9E");
  const int largos[] = {6, 6, 5, 5, 5, 5, 5};
  for (int i = 0; i < 7; ++i) EXPECT_EQ(P(m, 5 + i).Cantidad, largos[i]);
  for (int n = 12; n <= 16; ++n) EXPECT_EQ(P(m, n).Cantidad, 0);
  EXPECT_EQ(m.Mazo->CartasMazo, 0);
  EXPECT_FALSE(m.Mazo->EnMesa);
  EXPECT_EQ(P(m, 4).Left, m.Escalar(576));
  EXPECT_EQ(P(m, 16).Top, m.Escalar(310));
  EXPECT_EQ(m.Movimientos, 0);
  ExpectInvariantes(m);
  ExpectReglas(m, 6);
}

TEST(PinguinoPatagonico, CeldasLibresYMovimientoAutomatico) {
  TMesa m;
  PrepararPinguinoPatagonico(m, 1);
  // No foundation takes the Caballo de Espadas: the automatic move tries the free cells
  // newest first, so it lands in the rightmost one.
  TCarta& caballo = *P(m, 5).Tope;
  ASSERT_TRUE(m.MoverAutomatico(caballo));
  EXPECT_EQ(CartasDe(P(m, 16)), "9E");
  EXPECT_EQ(CartasDe(P(m, 5)), "6B 3E 4E 7B 5O");
  // A full cell refuses a second card; a card in a cell never goes to another cell.
  TCarta& sieteO = *P(m, 6).Tope;
  EXPECT_FALSE(m.ArrastrarSobreCarta(caballo, sieteO, 1, 1));
  EXPECT_FALSE(m.ArrastrarSobrePila(P(m, 15), caballo, 1, 1));
  // A card with cards on it cannot move.
  EXPECT_FALSE(m.ArrastrarSobrePila(P(m, 15), *P(m, 5).Tope->Debajo, 1, 1));
  ExpectReglas(m, 6);
  m.Deshacer();
  EXPECT_EQ(CartasDe(P(m, 5)), "6B 3E 4E 7B 5O 9E");
  EXPECT_EQ(CartasDe(P(m, 16)), "");
  ExpectInvariantes(m);
}

TEST(PinguinoPatagonico, ColumnaVaciaSoloTomaElRangoBajoLaBase) {
  // Game 1 has a 6 as base, so an empty column takes a 5; game 2 an As, so it takes a Rey.
  for (const auto& [numero, B] : {std::pair{1, 6}, std::pair{2, 1}}) {
    ASSERT_EQ(BaseDelJuego(numero), B);
    const int bajo = B == 1 ? 10 : B - 1;
    // An empty column while a card of that rank lies free on top of a pile.
    auto hayVacia = [bajo](TMesa& t) {
      bool vacia = false, libre = false;
      for (int n = 5; n <= 16; ++n) {
        if (n <= 11 && !P(t, n).Tope) vacia = true;
        if (P(t, n).Tope && P(t, n).Tope->Numero == bajo) libre = true;
      }
      return vacia && libre;
    };
    TMesa m;
    PrepararPinguinoPatagonico(m, numero);
    ASSERT_FALSE(busqueda::AlcanzarOrdenado(m, hayVacia).empty()) << numero;
    ExpectReglas(m, B);
    ExpectInvariantes(m);
  }
}

TEST(PinguinoPatagonico, GanaConLaCartaCuarentaEnFundaciones) {
  // Game 5 has the Rey de Bastos as base: every foundation goes on from Rey to As at once,
  // and an empty column takes only a Caballo.
  const std::int32_t numero = 5;
  TMesa inicial;
  PrepararPinguinoPatagonico(inicial, numero);
  const auto camino = busqueda::AlcanzarOrdenado(inicial, busqueda::Ganado);
  ASSERT_FALSE(camino.empty());
  busqueda::ExpectGanaAlUltimoPaso(PrepararPinguinoPatagonico, numero, camino, [](TMesa& m) {
    unsigned fundadas = 0;
    for (int n = 1; n <= 4; ++n) fundadas += P(m, n).Cantidad;
    EXPECT_EQ(fundadas, 39u);
  });
  // The rules hold along the whole line, whatever the base of the deal.
  TMesa m;
  PrepararPinguinoPatagonico(m, numero);
  const int B = BaseDelJuego(numero);
  for (const TPaso& p : camino) {
    AplicarPaso(m, p);
    ExpectReglas(m, B);
  }
}
