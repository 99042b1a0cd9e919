#pragma once
// A depth-first search over legal moves that tries the most promising move first (more
// cards on foundations, more empty piles, more cards lying in order), for games where the
// plain search wanders. It stops where a condition holds, or at a won table.
#include <algorithm>
#include <functional>
#include <string>
#include <unordered_set>
#include <utility>
#include <vector>

#include "tests/Ayuda.h"
#include "tests/Busqueda.h"

namespace ordenada {

// Whether the card lies on the one under it as its group's stacking rules would lay it.
inline bool EnOrden(const TCarta& c) {
  const TCarta* d = c.Debajo;
  if (!d || !c.Pila) return false;
  for (const TRegla& r : c.Pila->Grupo->ReglasApilado) {
    if (r.Paso == PasoLibre) continue;
    const bool palo = r.Relacion == rpCualquiera || (r.Relacion == rpMismoPalo) == (d->Palo == c.Palo);
    if (palo && (d->Numero + r.Paso == c.Numero || RangoCiclico(d->Numero, c.Numero, r.Paso, *c.Pila->Grupo)))
      return true;
  }
  return false;
}

inline int Valor(const TMesa& m) {
  int v = 0;
  for (const auto& p : m.Pilas) {
    if (p->Grupo->EsFundacion) {
      v += 100 * p->Cantidad;
    } else if (!p->Tope) {
      v += 20;
    } else {
      for (const TCarta* c = p->Tope; c->Debajo; c = c->Debajo)
        if (EnOrden(*c)) v += 3;
    }
  }
  return v;
}

struct TBuscador {
  TMesa& Mesa;
  std::function<bool(TMesa&)> Condicion;
  std::size_t LimiteNodos = 20000;
  std::size_t Nodos = 0;
  std::unordered_set<std::string> Vistos;
  std::vector<TPaso> Camino;

  // Taking cards back from a foundation, or a whole pile onto an empty one, never helps.
  bool Util(const TPaso& p) const {
    if (p.Tipo != TPaso::TTipo::Arrastre) return true;
    const TPila& desde = *Mesa.Pilas[static_cast<std::size_t>(p.Pila - 1)];
    const TPila& hacia = *Mesa.Pilas[static_cast<std::size_t>(p.Destino - 1)];
    return !desde.Grupo->EsFundacion && (hacia.Tope || p.Posicion != 0);
  }

  void Volver(TJugada* antes) {
    while (Mesa.Historial && Mesa.Historial != antes) Mesa.Deshacer();
    if (Mesa.FinJuegoArmado) Mesa.VerificarFinAhora();
  }

  bool Buscar(int profundidad) {
    if (Condicion(Mesa)) return true;
    if (profundidad == 0 || Nodos++ >= LimiteNodos) return false;
    if (!Vistos.insert(busqueda::Clave(Mesa)).second) return false;
    std::vector<std::pair<int, TPaso>> hijos;
    for (const TPaso& p : busqueda::MovimientosLegales(Mesa)) {
      if (!Util(p)) continue;
      TJugada* antes = Mesa.Historial;
      if (!AplicarPaso(Mesa, p)) continue;
      hijos.emplace_back(Valor(Mesa), p);
      Volver(antes);
    }
    std::stable_sort(hijos.begin(), hijos.end(),
                     [](const auto& a, const auto& b) { return a.first > b.first; });
    for (const auto& h : hijos) {
      TJugada* antes = Mesa.Historial;
      AplicarPaso(Mesa, h.second);
      Camino.push_back(h.second);
      if (Buscar(profundidad - 1)) return true;
      Camino.pop_back();
      Volver(antes);
    }
    return false;
  }
};

// A line of steps from the dealt table to one where the condition holds (by default: the
// game is won), or none within the limit. The table is left where the line ends.
inline std::vector<TPaso> Alcanzar(TMesa& m, const std::function<bool(TMesa&)>& condicion,
                                   std::size_t limiteNodos = 20000) {
  TBuscador b{m, condicion, limiteNodos, 0, {}, {}};
  if (!b.Buscar(300)) return {};
  return b.Camino;
}

inline bool Ganado(TMesa& m) { return m.VentanaPropia.Ganado; }

// Drag-over decision for a card onto a pile, as the player's drop would ask it.
inline bool Acepta(TMesa& m, TCarta& carta, TPila& hacia) {
  return hacia.Tope ? m.ArrastrarSobreCarta(*hacia.Tope, carta, 1, 1)
                    : m.ArrastrarSobrePila(hacia, carta, 1, 1);
}

// Replays a winning line on a fresh deal: the win must come with the last step and not
// before it.
inline void ExpectGanaAlFinal(TPrepararJuego preparar, std::int32_t numero,
                              const std::vector<TPaso>& camino,
                              const std::function<void(TMesa&)>& antesDelUltimo = {}) {
  ASSERT_FALSE(camino.empty());
  TMesa m;
  preparar(m, numero);
  for (std::size_t i = 0; i < camino.size(); ++i) {
    ASSERT_FALSE(m.VentanaPropia.Ganado) << "ganado antes del paso " << i;
    if (i + 1 == camino.size() && antesDelUltimo) antesDelUltimo(m);
    ASSERT_TRUE(AplicarPaso(m, camino[i])) << busqueda::TextoPasos(camino);
  }
  EXPECT_TRUE(m.VentanaPropia.Ganado);
  ExpectInvariantes(m);
}

}  // namespace ordenada
