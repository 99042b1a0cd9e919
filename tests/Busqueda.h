#pragma once
// A small depth-first search over the moves a player can make, for tests that must reach
// a won table by real play. Moves go through the table tool's steps, so a line found here
// replays with `cartoval-mesa jugar`.
#include <string>
#include <unordered_set>
#include <vector>

#include "engine/Mesa.h"
#include "tools/Pasos.h"

namespace busqueda {

inline std::string Clave(const TMesa& m) {
  std::string k;
  k.reserve(128);
  for (const auto& p : m.Pilas) {
    for (const TCarta* c = p->Tope; c; c = c->Debajo)
      k += static_cast<char>(c->Palo * 10 + c->Numero + (c->BocaArriba ? 64 : 0));
    k += '|';
  }
  if (m.Mazo) {
    for (const TCarta* c = m.Mazo->TopeMazo; c; c = c->Debajo)
      k += static_cast<char>(c->Palo * 10 + c->Numero);
    k += static_cast<char>(m.Mazo->Reutilizaciones + 2);
  }
  return k;
}

// Every drag of a face-up card (with its run) onto a pile that accepts it, foundation
// moves first, then a stock click when the stock is on the table and can do something.
inline std::vector<TPaso> MovimientosLegales(TMesa& m) {
  std::vector<TPaso> fundar, otros;
  for (const auto& desde : m.Pilas) {
    int pos = desde->Cantidad - 1;
    for (TCarta* c = desde->Tope; c; c = c->Debajo, --pos) {
      if (!c->BocaArriba) break;
      for (const auto& hacia : m.Pilas) {
        if (hacia.get() == desde.get()) continue;
        const bool acepta = hacia->Tope ? m.ArrastrarSobreCarta(*hacia->Tope, *c, 1, 1)
                                        : m.ArrastrarSobrePila(*hacia, *c, 1, 1);
        if (!acepta) continue;
        TPaso p{TPaso::TTipo::Arrastre, desde->Numero, pos, hacia->Numero};
        (hacia->Grupo->EsFundacion ? fundar : otros).push_back(p);
      }
    }
  }
  fundar.insert(fundar.end(), otros.begin(), otros.end());
  if (m.Mazo && m.Mazo->EnMesa && (m.Mazo->CartasMazo > 0 || m.Mazo->PuedeReutilizar()))
    fundar.push_back(TPaso{TPaso::TTipo::Mazo});
  return fundar;
}

struct TBuscador {
  TMesa& Mesa;
  std::size_t LimiteNodos;
  std::size_t Nodos = 0;
  std::unordered_set<std::string> Vistos;
  std::vector<TPaso> Camino;

  bool Buscar(int profundidad) {
    if (Nodos++ >= LimiteNodos || profundidad == 0) return false;
    if (!Vistos.insert(Clave(Mesa)).second) return false;
    for (const TPaso& p : MovimientosLegales(Mesa)) {
      TJugada* antes = Mesa.Historial;
      if (!AplicarPaso(Mesa, p)) continue;
      Camino.push_back(p);
      if (Mesa.VentanaPropia.Ganado) return true;
      if (Buscar(profundidad - 1)) return true;
      Camino.pop_back();
      // A stock click may record one action per destination.
      while (Mesa.Historial && Mesa.Historial != antes) Mesa.Deshacer();
      if (Mesa.FinJuegoArmado) Mesa.VerificarFinAhora();
    }
    return false;
  }
};

// A line of steps that wins the dealt table, empty when none was found within the
// limits. The table is left as dealt again (every step undone), game state aside.
inline std::vector<TPaso> BuscarVictoria(TMesa& m, std::size_t limiteNodos = 200000,
                                         int profundidad = 400) {
  TBuscador b{m, limiteNodos, 0, {}, {}};
  if (!b.Buscar(profundidad)) return {};
  std::vector<TPaso> camino = b.Camino;
  while (m.Historial) m.Deshacer();
  m.VentanaPropia.Ganado = false;
  return camino;
}

inline std::string TextoPasos(const std::vector<TPaso>& pasos) {
  std::string s;
  for (const TPaso& p : pasos) s += (s.empty() ? "" : " ") + EscribirPaso(p);
  return s;
}

}  // namespace busqueda
