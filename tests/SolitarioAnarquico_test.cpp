// Solitario Anárquico: foundations based on the first card of each suit in the shuffle,
// columns built down in another suit taking runs, and cards coming back from the
// foundations except their first one.
#include <gtest/gtest.h>

#include "games/Juegos.h"
#include "tests/Ayuda.h"
#include "tests/Busqueda.h"

namespace {

TPila& P(TMesa& m, int n) { return *m.Pilas[static_cast<std::size_t>(n - 1)]; }

bool Baja(const TCarta& debajo, const TCarta& encima) {
  return debajo.Palo != encima.Palo &&
         (encima.Numero + 1 == debajo.Numero || (debajo.Numero == 1 && encima.Numero == 10));
}

// What a drag of the card (with the cards on it) onto the pile must do, as the rules say.
bool Esperado(const TCarta& c, const TPila& hacia) {
  const TPila& desde = *c.Pila;
  if (desde.Grupo->EsFundacion) {
    // A foundation's cards always lie in its own order, so the cards on one come with it.
    if (!c.Debajo || hacia.Grupo->EsFundacion) return false;
    return !hacia.Tope || Baja(*hacia.Tope, c);
  }
  for (const TCarta* x = &c; x->Encima; x = x->Encima)
    if (!Baja(*x, *x->Encima)) return false;
  if (hacia.Grupo->EsFundacion)
    return !c.Encima && c.Palo == hacia.Tope->Palo && c.Numero == hacia.Tope->Numero % 10 + 1;
  return !hacia.Tope || Baja(*hacia.Tope, c);
}

void ExpectReglas(TMesa& m) {
  for (auto& desde : m.Pilas)
    for (TCarta* c = desde->Tope; c; c = c->Debajo)
      for (auto& hacia : m.Pilas) {
        if (hacia.get() == desde.get()) continue;
        EXPECT_EQ(busqueda::Acepta(m, *c, *hacia), Esperado(*c, *hacia))
            << TextoCarta(*c) << " de " << desde->Numero << " a " << hacia->Numero;
      }
}

unsigned Fundadas(TMesa& m) {
  unsigned n = 0;
  for (int p = 1; p <= 4; ++p) n += P(m, p).Cantidad;
  return n;
}

}  // namespace

TEST(SolitarioAnarquico, RepartoDelJuego1) {
  TMesa m;
  PrepararSolitarioAnarquico(m, 1);
  EXPECT_EQ(m.NombreJuego, "Solitario Anárquico");
  EXPECT_EQ(m.VentanaPropia.Titulo, "ZARP - Solitario Anárquico");
  EXPECT_EQ(m.ContextoAyuda, 120);
  ASSERT_EQ(m.Pilas.size(), 12u);
  EXPECT_EQ(CartasDe(P(m, 1)), "5O");
  EXPECT_EQ(CartasDe(P(m, 2)), "10C");
  EXPECT_EQ(CartasDe(P(m, 3)), "3E");
  EXPECT_EQ(CartasDe(P(m, 4)), "6B");
  EXPECT_EQ(CartasDe(P(m, 5)), "4E");
  EXPECT_EQ(CartasDe(P(m, 6)), "7B 9E");
  EXPECT_EQ(P(m, 12).Left, m.Escalar(561));
  EXPECT_EQ(m.Mazo->CartasMazo, 0);
  ExpectInvariantes(m);
  ExpectReglas(m);
}

TEST(SolitarioAnarquico, LasColumnasSiguenElOrdenDeLaBaraja) {
  // Only the first card of each suit leaves the stock early; every other card, passed over
  // or not, is dealt in its shuffled place, one column after another.
  for (std::int32_t numero : {1, 2, 3, 77, -5}) {
    TMesa t;
    t.NumeroJuego = numero;
    const TBaraja baraja = t.Barajar();
    bool visto[4] = {};
    std::string esperado;
    for (int k = 39; k >= 0; --k) {
      const TEntradaBaraja c = baraja[static_cast<std::size_t>(k)];
      if (!visto[c.Palo]) {
        visto[c.Palo] = true;
        continue;
      }
      esperado += (esperado.empty() ? "" : " ") + TextoCarta(c.Palo, c.Numero, true);
    }
    TMesa m;
    PrepararSolitarioAnarquico(m, numero);
    std::string columnas;
    for (int n = 5; n <= 12; ++n) {
      EXPECT_EQ(P(m, n).Cantidad, n - 4);
      columnas += (columnas.empty() ? "" : " ") + CartasDe(P(m, n));
    }
    EXPECT_EQ(columnas, esperado) << numero;
    for (int n = 1; n <= 4; ++n) {
      ASSERT_EQ(P(m, n).Cantidad, 1);
      EXPECT_EQ(P(m, n).Tope->Palo, n - 1);
      EXPECT_EQ(P(m, n).Grupo->NumeroFundacion, P(m, n).Tope->Numero);
    }
    ExpectReglas(m);
  }
}

TEST(SolitarioAnarquico, LaPrimeraCartaDeUnaFundacionNoSale) {
  // A table where a foundation holds more than its first card and its top card fits a
  // column: it may go back, its first card never.
  auto vuelve = [](TMesa& t) {
    for (int f = 1; f <= 4; ++f) {
      if (P(t, f).Cantidad < 2) continue;
      for (int n = 5; n <= 12; ++n)
        if (P(t, n).Tope && Baja(*P(t, n).Tope, *P(t, f).Tope)) return true;
    }
    return false;
  };
  TMesa m;
  PrepararSolitarioAnarquico(m, 2);
  ASSERT_FALSE(busqueda::AlcanzarOrdenado(m, vuelve).empty());
  ExpectReglas(m);
  bool devuelta = false;
  for (int f = 1; f <= 4 && !devuelta; ++f) {
    if (P(m, f).Cantidad < 2) continue;
    for (int n = 5; n <= 12 && !devuelta; ++n) {
      TCarta& carta = *P(m, f).Tope;
      if (!P(m, n).Tope || !Baja(*P(m, n).Tope, carta)) continue;
      const std::string antes = CartasDe(P(m, f));
      m.SoltarEnCarta(*P(m, n).Tope, carta, 1, 1);
      EXPECT_EQ(P(m, n).Tope, &carta);
      ExpectReglas(m);
      m.Deshacer();
      EXPECT_EQ(CartasDe(P(m, f)), antes);
      ExpectInvariantes(m);
      devuelta = true;
    }
  }
  EXPECT_TRUE(devuelta);
}

TEST(SolitarioAnarquico, GanaConLaCartaCuarentaEnFundaciones) {
  // Game 2: three of the foundations have to go round from Rey to As.
  const std::int32_t numero = 2;
  TMesa inicial;
  PrepararSolitarioAnarquico(inicial, numero);
  const auto camino = busqueda::AlcanzarOrdenado(inicial, busqueda::Ganado);
  ASSERT_FALSE(camino.empty());
  busqueda::ExpectGanaAlUltimoPaso(PrepararSolitarioAnarquico, numero, camino,
                              [](TMesa& m) { EXPECT_EQ(Fundadas(m), 39u); });
  TMesa m;
  PrepararSolitarioAnarquico(m, numero);
  for (const TPaso& p : camino) {
    AplicarPaso(m, p);
    ExpectReglas(m);
  }
}
