// Solitario De 10 A 4: piles that turn into foundations in place, and back.
#include <gtest/gtest.h>

#include <queue>
#include <unordered_set>

#include "games/Juegos.h"
#include "tests/Busqueda.h"
#include "tests/Ayuda.h"

namespace {

bool EsBase(const TPila& p) { return p.Grupo->NombreGrupo == "Bas"; }

using busqueda::Acepta;
using busqueda::Soltar;

// From the bottom: an As and then the following ranks of its suit.
bool EscaleraDesdeAs(const TPila& p) {
  const TCarta* c = p.Tope;
  if (!c) return false;
  for (; c->Debajo; c = c->Debajo)
    if (c->Debajo->Palo != c->Palo || c->Debajo->Numero + 1 != c->Numero) return false;
  return c->Numero == 1;
}

TPila* PilaVacia(TMesa& m) {
  for (auto& p : m.Pilas)
    if (!p->Tope) return p.get();
  return nullptr;
}

TCarta* CartaEn(TPila& p, int pos) {
  TCarta* c = p.Tope;
  for (int i = p.Cantidad - 1; c && i > pos; --i) c = c->Debajo;
  return c;
}

// Building the foundations first, and never a whole pile onto an empty one.
int Prioridad(TMesa& m, const TPaso& paso) {
  if (paso.Tipo != TPaso::TTipo::Arrastre) return 50;
  TPila& desde = *m.Pilas[static_cast<std::size_t>(paso.Pila - 1)];
  TPila& hacia = *m.Pilas[static_cast<std::size_t>(paso.Destino - 1)];
  const TCarta& c = *CartaEn(desde, paso.Posicion);
  if (EsBase(hacia)) return 0;
  if (!hacia.Tope) {
    if (paso.Posicion == 0) return 100;
    return c.Numero == 1 && !c.Encima ? 1 : 5;
  }
  if (EsBase(desde)) return 8;
  return paso.Posicion == 0 ? 2 : 3;
}

// Closer to won: cards on foundations, empty piles, ordered cards, and the next card of each
// suit near the top of its pile.
int Valor(TMesa& m) {
  int v = 0;
  int siguiente[4] = {1, 1, 1, 1};
  for (auto& p : m.Pilas)
    if (EsBase(*p) && p->Tope) {
      v += 100 * p->Cantidad;
      siguiente[p->Tope->Palo] = p->Tope->Numero + 1;
    }
  for (auto& p : m.Pilas) {
    if (!p->Tope) v += 15;
    if (!p->Tope || EsBase(*p)) continue;
    int encima = 0;
    for (const TCarta* c = p->Tope; c; c = c->Debajo, ++encima) {
      if (c->Numero == siguiente[c->Palo]) v -= 8 * encima;
      if (c->Debajo && c->Debajo->Numero % 10 + 1 == c->Numero && c->Debajo->Palo != c->Palo)
        v += 2;
    }
  }
  return v;
}

// A best-first search for a winning line: the depth-first walk gets lost in this game.
// Every table is rebuilt from the deal by replaying its line, so only real play counts.
std::vector<TPaso> LineaGanadora(std::int32_t numero, std::size_t limite) {
  struct TNodo {
    int Padre;
    TPaso Paso;
  };
  std::vector<TNodo> nodos{{-1, {}}};
  std::priority_queue<std::pair<int, int>> cola;
  std::unordered_set<std::string> vistos;
  auto camino = [&](int n) {
    std::vector<TPaso> c;
    for (; n > 0; n = nodos[static_cast<std::size_t>(n)].Padre)
      c.insert(c.begin(), nodos[static_cast<std::size_t>(n)].Paso);
    return c;
  };
  TMesa m;
  cola.push({0, 0});
  for (std::size_t expandidos = 0; !cola.empty() && expandidos < limite; ++expandidos) {
    const int n = cola.top().second;
    cola.pop();
    m.LiberarMesa();
    PrepararSolitarioDe10A4(m, numero);
    for (const TPaso& p : camino(n)) AplicarPaso(m, p);
    std::vector<TGrupo*> grupos;
    for (auto& p : m.Pilas) grupos.push_back(p->Grupo);
    for (const TPaso& p : busqueda::MovimientosLegales(m)) {
      TJugada* antes = m.Historial;
      if (!AplicarPaso(m, p)) continue;
      std::string clave = busqueda::Clave(m);
      for (auto& q : m.Pilas) clave += q->Grupo->NombreGrupo[0];
      if (vistos.insert(clave).second) {
        nodos.push_back({n, p});
        const int hijo = static_cast<int>(nodos.size()) - 1;
        if (m.VentanaPropia.Ganado) return camino(hijo);
        cola.push({Valor(m), hijo});
      }
      // Undo gives the cards back but not the groups they changed.
      while (m.Historial && m.Historial != antes) m.Deshacer();
      for (std::size_t i = 0; i < grupos.size(); ++i) m.Pilas[i]->Grupo = grupos[i];
    }
  }
  return {};
}

}  // namespace

TEST(SolitarioDe10A4, RepartoDelJuego1) {
  TMesa m;
  PrepararSolitarioDe10A4(m, 1);
  const char* esperado[] = {"6B 3E 4E 7B", "5O 9E 2E 10C", "4C 7C 8E 7O", "5B 10O 4O 4B",
                            "9O 1C 3C 5C", "10B 1E 8B 3B", "3O 8O 7E 6E", "2B 1B 2O 9C",
                            "6C 6O 8C 10E", "1O 9B 2C 5E"};
  ASSERT_EQ(m.Pilas.size(), 10u);
  for (std::size_t i = 0; i < 10; ++i) {
    EXPECT_EQ(CartasDe(*m.Pilas[i]), esperado[i]) << "pila " << i + 1;
    EXPECT_EQ(m.Pilas[i]->Grupo->NombreGrupo, "Tab");
  }
  EXPECT_EQ(m.Pilas[9]->XDiseno, 573);
  EXPECT_EQ(m.Mazo->CartasMazo, 0);
  EXPECT_FALSE(m.Mazo->Visible);
  EXPECT_EQ(m.VentanaPropia.Titulo, "ZARP - Solitario De 10 A 4");
  EXPECT_EQ(m.ContextoAyuda, 160);
  EXPECT_EQ(m.ProcPreparar, &PrepararSolitarioDe10A4);
  EXPECT_EQ(m.Movimientos, 0);
  ExpectInvariantes(m);
}

// On an ordinary pile a card of another suit one rank higher goes on, an As on a Rey.
TEST(SolitarioDe10A4, ApilarEnPilaComun) {
  bool vistoAsSobreRey = false, vistoMismoPalo = false;
  for (std::int32_t numero = 1; numero <= 40; ++numero) {
    TMesa m;
    PrepararSolitarioDe10A4(m, numero);
    for (auto& p : m.Pilas)
      for (auto& q : m.Pilas) {
        if (p == q) continue;
        const TCarta& abajo = *p->Tope;
        TCarta& carta = *q->Tope;
        const bool sigue = carta.Numero == abajo.Numero + 1 ||
                           (abajo.Numero == 10 && carta.Numero == 1);
        const bool legal = sigue && carta.Palo != abajo.Palo;
        EXPECT_EQ(Acepta(m, *p, carta), legal)
            << TextoCarta(carta) << " sobre " << TextoCarta(abajo) << ", juego " << numero;
        vistoAsSobreRey |= legal && carta.Numero == 1;
        vistoMismoPalo |= sigue && carta.Palo == abajo.Palo;
      }
  }
  EXPECT_TRUE(vistoAsSobreRey);
  EXPECT_TRUE(vistoMismoPalo);
}

// A lone As on an empty pile makes a foundation that takes only the next card of its suit,
// one at a time; undoing the move leaves an empty ordinary pile.
TEST(SolitarioDe10A4, UnAsSoloFundaUnaPilaVacia) {
  TMesa m;
  PrepararSolitarioDe10A4(m, 1);
  ASSERT_TRUE(busqueda::Alcanzar(m, [](TMesa& t) {
    if (!PilaVacia(t)) return false;
    for (auto& p : t.Pilas)
      if (p->Tope && p->Tope->Numero == 1 && p->Tope->Debajo && !EsBase(*p)) return true;
    return false;
  }, true));
  TPila& vacia = *PilaVacia(m);
  TCarta* as = nullptr;
  for (auto& p : m.Pilas)
    if (p->Tope && p->Tope->Numero == 1 && p->Tope->Debajo && !EsBase(*p)) as = p->Tope;
  TPila& origen = *as->Pila;
  Soltar(m, vacia, *as);
  EXPECT_TRUE(EsBase(vacia));
  EXPECT_EQ(EsBase(origen), EscaleraDesdeAs(origen));

  for (auto& p : m.Pilas)
    for (TCarta* c = p->Tope; c && c->BocaArriba; c = c->Debajo) {
      if (p.get() == &vacia) continue;
      const bool legal = !c->Encima && c->Palo == as->Palo && c->Numero == 2 && !EsBase(*p);
      EXPECT_EQ(Acepta(m, vacia, *c), legal) << TextoCarta(*c);
    }
  m.Deshacer();
  EXPECT_EQ(vacia.Cantidad, 0);
  EXPECT_FALSE(EsBase(vacia));
  EXPECT_EQ(origen.Tope, as);
  ExpectInvariantes(m);
}

// An As carrying cards may not go to an empty pile; a run headed by another card may.
TEST(SolitarioDe10A4, PilaVaciaYTramos) {
  TMesa m;
  PrepararSolitarioDe10A4(m, 1);
  ASSERT_TRUE(busqueda::Alcanzar(m, [](TMesa& t) {
    TPila* vacia = PilaVacia(t);
    if (!vacia) return false;
    bool asConTramo = false, otroTramo = false;
    for (auto& p : t.Pilas)
      for (TCarta* c = p->Tope ? p->Tope->Debajo : nullptr; c; c = c->Debajo)
        if (!EsBase(*p) && TramoValido(*c, *vacia))
          (c->Numero == 1 ? asConTramo : otroTramo) = true;
    return asConTramo && otroTramo;
  }, true));
  TPila& vacia = *PilaVacia(m);
  for (auto& p : m.Pilas)
    for (TCarta* c = p->Tope ? p->Tope->Debajo : nullptr; c; c = c->Debajo)
      if (!EsBase(*p) && TramoValido(*c, vacia)) {
        EXPECT_EQ(Acepta(m, vacia, *c), c->Numero != 1) << TextoCarta(*c);
      }
}

// A dealt pile with an As at the bottom becomes a foundation exactly when the cards left on
// it run up from that As; only its top card may leave it; undoing the removal keeps it one.
TEST(SolitarioDe10A4, UnaEscaleraDesdeAsSeVuelveBase) {
  TMesa m;
  PrepararSolitarioDe10A4(m, 1);
  std::vector<std::string> fondos;
  auto fondo = [](const TPila& p) { return CartasDe(p).substr(0, CartasDe(p).find(' ')); };
  for (auto& p : m.Pilas) fondos.push_back(fondo(*p));
  auto baseDeFondo = [&](TMesa& t) -> TPila* {
    for (std::size_t i = 0; i < t.Pilas.size(); ++i) {
      TPila& p = *t.Pilas[i];
      if (!EsBase(p) || !p.Tope) continue;
      if (fondo(p) == fondos[i] && fondos[i][0] == '1' && fondos[i][1] != '0')
        return &p;
    }
    return nullptr;
  };
  ASSERT_TRUE(
      busqueda::Alcanzar(m, [&](TMesa& t) { return baseDeFondo(t) != nullptr; }, true, Prioridad));
  TPila& base = *baseDeFondo(m);
  EXPECT_TRUE(EscaleraDesdeAs(base)) << CartasDe(base);
  if (base.Tope->Debajo) {
    for (auto& p : m.Pilas) {
      if (p.get() != &base) {
        EXPECT_FALSE(Acepta(m, *p, *base.Tope->Debajo));
      }
    }
  }

  const std::uint8_t antes = base.Cantidad;
  m.Deshacer();
  EXPECT_TRUE(EsBase(base));
  EXPECT_GT(base.Cantidad, antes);
  EXPECT_FALSE(EscaleraDesdeAs(base)) << CartasDe(base);
  ExpectInvariantes(m);
}

// The top card of a foundation pile goes back to an ordinary pile; the pile stays a
// foundation while cards remain, and turns ordinary when its As leaves.
TEST(SolitarioDe10A4, SalidaDeLaBase) {
  TMesa m;
  PrepararSolitarioDe10A4(m, 1);
  auto salida = [](TMesa& t, TPila*& base, TPila*& hacia) {
    for (auto& b : t.Pilas) {
      if (!EsBase(*b) || !b->Tope) continue;
      for (auto& p : t.Pilas)
        if (p != b && !EsBase(*p) && p->Tope && Acepta(t, *p, *b->Tope)) {
          base = b.get();
          hacia = p.get();
          return true;
        }
    }
    return false;
  };
  TPila* base = nullptr;
  TPila* hacia = nullptr;
  ASSERT_TRUE(busqueda::Alcanzar(m, [&](TMesa& t) { return salida(t, base, hacia); }, true));
  const bool ultima = base->Cantidad == 1;
  TCarta& carta = *base->Tope;
  Soltar(m, *hacia, carta);
  EXPECT_EQ(hacia->Tope, &carta);
  EXPECT_EQ(EsBase(*base), !ultima);
  ExpectInvariantes(m);
}

// Won when four foundation piles hold all the cards, at that move and not before.
TEST(SolitarioDe10A4, GanaAlCompletarLasCuatroBases) {
  for (std::int32_t numero = 1; numero <= 10; ++numero) {
    const auto camino = LineaGanadora(numero, 3000);
    if (camino.empty()) continue;
    TMesa r;
    PrepararSolitarioDe10A4(r, numero);
    busqueda::ExpectGanaAlUltimoPaso(r, camino);
    int bases = 0, vacias = 0;
    for (auto& p : r.Pilas) {
      if (EsBase(*p) && p->Cantidad == 10 && EscaleraDesdeAs(*p)) ++bases;
      if (!p->Tope) ++vacias;
    }
    EXPECT_EQ(bases, 4);
    EXPECT_EQ(vacias, 6);
    return;
  }
  FAIL() << "ningún reparto de prueba se resolvió";
}
