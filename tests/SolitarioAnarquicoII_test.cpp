// Solitario Anárquico II: two foundations per suit from the first two cards of the suit in
// the shuffle, the second opening when the first reaches it, and undo closing it again.
#include <gtest/gtest.h>

#include "games/Juegos.h"
#include "tests/Ayuda.h"
#include "tests/Busqueda.h"

namespace {

TPila& P(TMesa& m, int n) { return *m.Pilas[static_cast<std::size_t>(n - 1)]; }
// Piles 1 to 8: first and second foundation of Oros, Copas, Espadas, Bastos.
TPila& Primera(TMesa& m, int palo) { return P(m, 2 * palo + 1); }
TPila& Segunda(TMesa& m, int palo) { return P(m, 2 * palo + 2); }

const TCarta& Base(const TPila& p) {
  const TCarta* c = p.Tope;
  while (c->Debajo) c = c->Debajo;
  return *c;
}

int Direccion(TMesa& m, int palo) {
  return Base(Primera(m, palo)).Numero < Base(Segunda(m, palo)).Numero ? 1 : -1;
}

// The first foundation has reached the card next to the second one's base.
bool Abierto(TMesa& m, int palo) {
  return Primera(m, palo).Tope->Numero + Direccion(m, palo) == Base(Segunda(m, palo)).Numero;
}

int Siguiente(int numero, int dir) {
  const int s = numero + dir;
  return s > 10 ? 1 : s < 1 ? 10 : s;
}

bool Baja(const TCarta& debajo, const TCarta& encima) {
  return debajo.Palo != encima.Palo && encima.Numero == Siguiente(debajo.Numero, -1);
}

bool EsPrimera(const TPila& p) { return p.Numero <= 8 && p.Numero % 2 == 1; }
bool EsSegunda(const TPila& p) { return p.Numero <= 8 && p.Numero % 2 == 0; }

// What a drag of the card (with the cards on it) onto the pile must do, as the rules say.
bool Esperado(TMesa& m, const TCarta& c, const TPila& hacia) {
  const TPila& desde = *c.Pila;
  if (desde.Grupo->EsFundacion) {
    // Cards come back from a first foundation until its suit opens, then from the second;
    // a foundation's cards lie in its own order, so the cards on one come along.
    if (!c.Debajo || hacia.Grupo->EsFundacion) return false;
    if (EsPrimera(desde) == Abierto(m, c.Palo)) return false;
    return !hacia.Tope || Baja(*hacia.Tope, c);
  }
  for (const TCarta* x = &c; x->Encima; x = x->Encima)
    if (!Baja(*x, *x->Encima)) return false;
  const int dir = Direccion(m, hacia.Tope ? hacia.Tope->Palo : 0);
  if (EsPrimera(hacia))
    return !c.Encima && c.Palo == hacia.Tope->Palo && c.Numero == hacia.Tope->Numero + dir;
  if (EsSegunda(hacia))
    return !c.Encima && Abierto(m, hacia.Tope->Palo) && c.Palo == hacia.Tope->Palo &&
           c.Numero == Siguiente(hacia.Tope->Numero, dir);
  return !hacia.Tope || Baja(*hacia.Tope, c);
}

void ExpectReglas(TMesa& m) {
  for (auto& desde : m.Pilas)
    for (TCarta* c = desde->Tope; c; c = c->Debajo)
      for (auto& hacia : m.Pilas) {
        if (hacia.get() == desde.get()) continue;
        EXPECT_EQ(busqueda::Acepta(m, *c, *hacia), Esperado(m, *c, *hacia))
            << TextoCarta(*c) << " de " << desde->Numero << " a " << hacia->Numero;
      }
}

unsigned Fundadas(TMesa& m) {
  unsigned n = 0;
  for (int p = 1; p <= 8; ++p) n += P(m, p).Cantidad;
  return n;
}

}  // namespace

TEST(SolitarioAnarquicoII, RepartoDelJuego1) {
  TMesa m;
  PrepararSolitarioAnarquicoII(m, 1);
  EXPECT_EQ(m.NombreJuego, "Solitario Anárquico II");
  EXPECT_EQ(m.VentanaPropia.Titulo, "ZARP - Solitario Anárquico II");
  EXPECT_EQ(m.ContextoAyuda, 200);
  ASSERT_EQ(m.Pilas.size(), 16u);
  const char* fundaciones[] = {"5O", "7O", "10C", "4C", "3E", "4E", "6B", "7B"};
  for (int n = 1; n <= 8; ++n) EXPECT_EQ(CartasDe(P(m, n)), fundaciones[n - 1]);
  EXPECT_EQ(CartasDe(P(m, 9)), "9E");
  EXPECT_EQ(CartasDe(P(m, 16)), "1O 9B 2C 5E");
  EXPECT_EQ(P(m, 8).Left, m.Escalar(565));
  EXPECT_EQ(m.Mazo->CartasMazo, 0);
  // Espadas (3, 4) and Bastos (6, 7) are neighbours: open from the start.
  EXPECT_TRUE(m.ArrastrarSobreCarta(*P(m, 6).Tope, *P(m, 16).Tope, 1, 1));
  EXPECT_TRUE(m.ArrastrarSobreCarta(*P(m, 8).Tope, *P(m, 13).Tope, 1, 1));
  ExpectInvariantes(m);
  ExpectReglas(m);
}

TEST(SolitarioAnarquicoII, BasesDeLasDosPrimerasCartasDeCadaPalo) {
  for (std::int32_t numero : {1, 2, 3, 99, -8}) {
    TMesa t;
    t.NumeroJuego = numero;
    const TBaraja baraja = t.Barajar();
    int vistas[4] = {};
    std::string bases[8], resto;
    for (int k = 39; k >= 0; --k) {
      const TEntradaBaraja c = baraja[static_cast<std::size_t>(k)];
      const std::string texto = TextoCarta(c.Palo, c.Numero, true);
      if (vistas[c.Palo] < 2)
        bases[2 * c.Palo + vistas[c.Palo]++] = texto;
      else
        resto += (resto.empty() ? "" : " ") + texto;
    }
    TMesa m;
    PrepararSolitarioAnarquicoII(m, numero);
    for (int n = 1; n <= 8; ++n) EXPECT_EQ(CartasDe(P(m, n)), bases[n - 1]) << numero;
    std::string tablero;
    const int largos[] = {1, 2, 3, 4, 5, 6, 7, 4};
    for (int n = 9; n <= 16; ++n) {
      EXPECT_EQ(P(m, n).Cantidad, largos[n - 9]);
      tablero += (tablero.empty() ? "" : " ") + CartasDe(P(m, n));
    }
    EXPECT_EQ(tablero, resto) << numero;
    ExpectReglas(m);
  }
}

TEST(SolitarioAnarquicoII, AbrirYDeshacerLaApertura) {
  // A suit opened by a move, not by the deal.
  auto abiertoPorJugada = [](TMesa& t) {
    for (int palo = 0; palo < 4; ++palo)
      if (Primera(t, palo).Cantidad > 1 && Abierto(t, palo)) return true;
    return false;
  };
  for (std::int32_t numero : {1, 2, 3, 4, 5}) {
    TMesa m;
    PrepararSolitarioAnarquicoII(m, numero);
    if (busqueda::AlcanzarOrdenado(m, abiertoPorJugada).empty()) continue;
    ExpectReglas(m);
    int palo = 0;
    while (!(Primera(m, palo).Cantidad > 1 && Abierto(m, palo))) ++palo;
    const TGrupo* tab = P(m, 9).Grupo;
    EXPECT_TRUE(AceptaOrigen(tab, *Segunda(m, palo).Grupo));
    m.Deshacer();
    EXPECT_FALSE(abiertoPorJugada(m));
    // Closed again: the second foundation takes nothing, the first gives cards back.
    EXPECT_FALSE(AceptaOrigen(tab, *Segunda(m, palo).Grupo));
    EXPECT_FALSE(AceptaOrigen(Segunda(m, palo).Grupo, *tab));
    EXPECT_TRUE(AceptaOrigen(Primera(m, palo).Grupo, *tab));
    ExpectReglas(m);
    ExpectInvariantes(m);
    return;
  }
  FAIL() << "ningún reparto abrió un palo";
}

TEST(SolitarioAnarquicoII, GanaConLaCartaCuarentaYSeDeshaceEntero) {
  // Game 4 needs both ways round on the second foundations: Oros from 8 up past Rey to 6,
  // Copas from 4 down past As to Rey.
  const std::int32_t numero = 4;
  TMesa inicial;
  PrepararSolitarioAnarquicoII(inicial, numero);
  const auto camino = busqueda::AlcanzarOrdenado(inicial, busqueda::Ganado);
  ASSERT_FALSE(camino.empty());
  busqueda::ExpectGanaAlUltimoPaso(PrepararSolitarioAnarquicoII, numero, camino,
                              [](TMesa& m) { EXPECT_EQ(Fundadas(m), 39u); });
  TMesa m;
  PrepararSolitarioAnarquicoII(m, numero);
  std::vector<std::string> antes;
  for (const TPaso& p : camino) {
    antes.push_back(busqueda::Clave(m));
    AplicarPaso(m, p);
    ExpectReglas(m);
  }
  // Taking every move back closes each suit the line opened.
  for (std::size_t i = camino.size(); i-- > 0;) {
    m.Deshacer();
    ASSERT_EQ(busqueda::Clave(m), antes[i]);
    ExpectReglas(m);
  }
  ExpectInvariantes(m);
}
