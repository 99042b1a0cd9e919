#pragma once
// A depth-first search over legal moves that tries the most promising move first: the
// plain search of Busqueda.h wanders too long in the open games, where nearly every card
// can go somewhere. Moves still go through the table tool's steps.
#include <algorithm>
#include <initializer_list>
#include <string>
#include <unordered_set>
#include <vector>

#include "games/Juegos.h"
#include "tests/Ayuda.h"
#include "tests/Busqueda.h"

namespace guiada {

inline bool MismoPalo(int relacion, int abajo, int arriba) {
  switch (relacion) {
    case rpMismoPalo: return abajo == arriba;
    case rpOtroPalo: return abajo != arriba;
    case rpOtroPar: return (abajo < 2) != (arriba < 2);
    default: return true;
  }
}

// Whether the group's own stacking rules put `arriba` on `abajo`.
inline bool Enlazadas(const TGrupo& g, const TCarta& abajo, const TCarta& arriba) {
  for (const TRegla& r : g.ReglasApilado) {
    if (!MismoPalo(r.Relacion, abajo.Palo, arriba.Palo)) continue;
    if (r.Paso == PasoLibre || abajo.Numero + r.Paso == arriba.Numero ||
        RangoCiclico(abajo.Numero, arriba.Numero, r.Paso, g))
      return true;
  }
  return false;
}

// How many cards lie on the card a foundation needs next, or 0 when it is full.
inline long Enterrada(const TMesa& m, const TPila& fundacion) {
  const TGrupo& g = *fundacion.Grupo;
  int numero = g.NumeroFundacion;
  if (fundacion.Tope) {
    if (g.ReglasApilado.empty()) return 0;
    numero = fundacion.Tope->Numero + g.ReglasApilado.front().Paso;
    if (numero < 1 || numero > 10) return 0;
  }
  for (const auto& c : m.Cartas) {
    if (c->Palo != g.PaloFundacion || c->Numero != numero) continue;
    long encima = 0;
    for (const TCarta* e = c->Encima; e; e = e->Encima) ++encima;
    return c->Pila ? encima : encima + (m.Mazo->Descarte ? 0 : 2);
  }
  return 0;
}

// Cards home first, then the next cards each foundation needs within reach, empty
// places, built pairs and cards already showing.
inline long Valor(const TMesa& m) {
  long v = 0;
  for (const auto& p : m.Pilas) {
    if (p->Grupo->EsFundacion) {
      v += 1000L * p->Cantidad - 25 * Enterrada(m, *p);
      continue;
    }
    if (!p->Tope) v += 30;
    for (const TCarta* c = p->Tope; c; c = c->Debajo) {
      if (!c->BocaArriba) v -= 40;
      else if (c->Debajo && c->Debajo->BocaArriba && Enlazadas(*p->Grupo, *c->Debajo, *c))
        v += 10;
    }
  }
  return v;
}

struct TBuscador {
  TMesa& Mesa;
  std::size_t LimiteNodos;
  std::size_t Nodos = 0;
  std::unordered_set<std::string> Vistos{};
  std::vector<TPaso> Camino{};

  void DeshacerHasta(TJugada* antes) {
    while (Mesa.Historial && Mesa.Historial != antes) Mesa.Deshacer();
    if (Mesa.FinJuegoArmado) Mesa.VerificarFinAhora();
  }

  // A lone card carried to an empty pile of its own kind changes nothing.
  bool Inutil(const TPaso& p) {
    if (p.Tipo != TPaso::TTipo::Arrastre || p.Posicion != 0) return false;
    const TPila& desde = *Mesa.Pilas[static_cast<std::size_t>(p.Pila - 1)];
    const TPila& hacia = *Mesa.Pilas[static_cast<std::size_t>(p.Destino - 1)];
    return !hacia.Tope && hacia.Grupo == desde.Grupo;
  }

  bool Buscar(int profundidad) {
    if (Nodos++ >= LimiteNodos || profundidad == 0) return false;
    if (!Vistos.insert(busqueda::Clave(Mesa)).second) return false;
    std::vector<std::pair<long, TPaso>> hijos;
    for (const TPaso& p : busqueda::MovimientosLegales(Mesa)) {
      if (Inutil(p)) continue;
      TJugada* antes = Mesa.Historial;
      if (!AplicarPaso(Mesa, p)) continue;
      const bool ganado = Mesa.VentanaPropia.Ganado;
      const long v = Valor(Mesa);
      DeshacerHasta(antes);
      if (ganado) {
        AplicarPaso(Mesa, p);
        Camino.push_back(p);
        return true;
      }
      hijos.emplace_back(v, p);
    }
    std::stable_sort(hijos.begin(), hijos.end(),
                     [](const auto& a, const auto& b) { return a.first > b.first; });
    for (const auto& [v, p] : hijos) {
      TJugada* antes = Mesa.Historial;
      AplicarPaso(Mesa, p);
      Camino.push_back(p);
      if (Buscar(profundidad - 1)) return true;
      Camino.pop_back();
      DeshacerHasta(antes);
    }
    return false;
  }
};

// A winning line for the dealt table, empty when none was found within the limits. The
// table is left as dealt again.
inline std::vector<TPaso> BuscarVictoria(TMesa& m, std::size_t limiteNodos = 20000,
                                         int profundidad = 400) {
  TBuscador b{m, limiteNodos};
  const bool hallada = b.Buscar(profundidad);
  while (m.Historial) m.Deshacer();
  if (m.FinJuegoArmado) m.VerificarFinAhora();
  m.VentanaPropia.Ganado = false;
  return hallada ? b.Camino : std::vector<TPaso>{};
}

// The drag-over decision a player's drop of the card on the pile would meet.
inline bool Acepta(TMesa& m, TCarta& carta, TPila& pila) {
  return pila.Tope ? m.ArrastrarSobreCarta(*pila.Tope, carta, 1, 1)
                   : m.ArrastrarSobrePila(pila, carta, 1, 1);
}

// Plays the steps in order ("10.4>4 a7 m d"); each one must do what it names.
inline void Jugar(TMesa& m, const std::string& pasos) {
  std::size_t i = 0;
  while (i < pasos.size()) {
    std::size_t fin = pasos.find(' ', i);
    if (fin == std::string::npos) fin = pasos.size();
    const std::string texto = pasos.substr(i, fin - i);
    i = fin + 1;
    if (texto.empty()) continue;
    const auto paso = LeerPaso(texto);
    ASSERT_TRUE(paso) << texto;
    ASSERT_TRUE(AplicarPaso(m, *paso)) << texto;
  }
}

// Finds a winning line in one of the deals and replays it on a fresh table: the win check
// stays quiet until the step that completes the foundations, and fires there.
inline void ExpectGanaEnElUltimoPaso(TPrepararJuego preparar,
                                     std::initializer_list<std::int32_t> numeros) {
  for (std::int32_t numero : numeros) {
    TMesa m;
    preparar(m, numero);
    const auto camino = BuscarVictoria(m);
    if (camino.empty()) continue;
    TMesa r;
    preparar(r, numero);
    EXPECT_FALSE(r.VentanaPropia.Ganado);
    for (std::size_t i = 0; i < camino.size(); ++i) {
      ASSERT_FALSE(r.VentanaPropia.Ganado) << "ganado antes del paso " << i;
      ASSERT_TRUE(AplicarPaso(r, camino[i])) << busqueda::TextoPasos(camino);
    }
    EXPECT_TRUE(r.VentanaPropia.Ganado) << busqueda::TextoPasos(camino);
    // Fired at the card that completes the foundations, not one card early.
    int enFundaciones = 0;
    for (const auto& p : r.Pilas)
      if (p->Grupo->EsFundacion) enFundaciones += p->Cantidad;
    EXPECT_EQ(enFundaciones, 40);
    ExpectInvariantes(r);
    return;
  }
  ADD_FAILURE() << "ninguno de los repartos se resolvió";
}

}  // namespace guiada
