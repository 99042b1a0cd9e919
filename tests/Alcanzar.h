#pragma once
// Reaching a table that shows some situation by real play: a depth-first walk over the
// legal moves of the search helper that stops, without undoing, where the condition holds.
#include <algorithm>
#include <functional>
#include <string>
#include <unordered_set>
#include <vector>

#include "tests/Ayuda.h"
#include "tests/Busqueda.h"

namespace alcanzar {

struct TRecorrido {
  TMesa& Mesa;
  // For games whose undo does not give back a pile's group: the walk puts the groups back
  // when it backtracks, and a line it finds is replayed on a fresh deal.
  bool Reponer = false;
  std::size_t LimiteNodos = 20000;
  std::vector<TPaso> Camino{};
  std::unordered_set<std::string> Vistos{};
  std::size_t Nodos = 0;
  std::int32_t Numero = Mesa.NumeroJuego;
  TPrepararJuego Preparar = Mesa.ProcPreparar;
  // Lower first, 100 and above not tried; moves of equal rank keep the search helper's
  // order.
  std::function<int(TMesa&, const TPaso&)> Prioridad{};

  std::string Clave() const {
    std::string k = busqueda::Clave(Mesa);
    for (const auto& p : Mesa.Pilas) k += p->Grupo->NombreGrupo.substr(0, 1);
    return k;
  }

  void Volver(TJugada* antes, const std::vector<TGrupo*>& grupos) {
    while (Mesa.Historial && Mesa.Historial != antes) Mesa.Deshacer();
    if (Mesa.FinJuegoArmado) Mesa.VerificarFinAhora();
    Mesa.VentanaPropia.Ganado = false;
    if (Reponer)
      for (std::size_t i = 0; i < grupos.size(); ++i) Mesa.Pilas[i]->Grupo = grupos[i];
  }

  bool Recorrer(const std::function<bool(TMesa&)>& condicion, int profundidad) {
    if (condicion(Mesa)) return true;
    if (profundidad == 0 || Nodos++ >= LimiteNodos) return false;
    if (!Vistos.insert(Clave()).second) return false;
    auto pasos = busqueda::MovimientosLegales(Mesa);
    if (Prioridad) {
      std::vector<std::pair<int, TPaso>> orden;
      for (const TPaso& p : pasos) orden.push_back({Prioridad(Mesa, p), p});
      std::stable_sort(orden.begin(), orden.end(),
                       [](const auto& a, const auto& b) { return a.first < b.first; });
      pasos.clear();
      for (const auto& o : orden)
        if (o.first < 100) pasos.push_back(o.second);
    }
    std::vector<TGrupo*> grupos;
    for (const auto& p : Mesa.Pilas) grupos.push_back(p->Grupo);
    for (const TPaso& p : pasos) {
      TJugada* antes = Mesa.Historial;
      if (!AplicarPaso(Mesa, p)) continue;
      Camino.push_back(p);
      if (Recorrer(condicion, profundidad - 1)) return true;
      Camino.pop_back();
      Volver(antes, grupos);
    }
    return false;
  }

  // The found line once more from the deal, so that the table is what play made it.
  bool Repetir(const std::function<bool(TMesa&)>& condicion) {
    Mesa.LiberarMesa();
    Preparar(Mesa, Numero);
    for (const TPaso& p : Camino)
      if (!AplicarPaso(Mesa, p)) return false;
    return condicion(Mesa);
  }
};

// Plays from the dealt table until condicion holds; false when no line was found.
inline bool Alcanzar(TMesa& m, const std::function<bool(TMesa&)>& condicion,
                     bool reponer = false,
                     std::function<int(TMesa&, const TPaso&)> prioridad = {},
                     int profundidad = 60) {
  TRecorrido r{m, reponer};
  r.Prioridad = std::move(prioridad);
  if (!r.Recorrer(condicion, profundidad)) return false;
  return !reponer || r.Repetir(condicion);
}

// A winning line from the dealt table, empty when none was found within the limits.
inline std::vector<TPaso> LineaGanadora(
    TPrepararJuego preparar, std::int32_t numero, std::size_t limiteNodos,
    bool reponer = false, std::function<int(TMesa&, const TPaso&)> prioridad = {}) {
  TMesa m;
  preparar(m, numero);
  TRecorrido r{m, reponer, limiteNodos};
  r.Prioridad = std::move(prioridad);
  if (!r.Recorrer([](TMesa& t) { return t.VentanaPropia.Ganado; }, 400)) return {};
  return r.Camino;
}

// Replays a winning line on a fresh deal: the win check fires at its last move only.
inline void ExpectGanaAlUltimoPaso(TMesa& m, const std::vector<TPaso>& camino) {
  ASSERT_FALSE(camino.empty());
  for (std::size_t i = 0; i < camino.size(); ++i) {
    ASSERT_FALSE(m.VentanaPropia.Ganado) << "ganado antes del paso " << i;
    ASSERT_TRUE(AplicarPaso(m, camino[i])) << busqueda::TextoPasos(camino);
  }
  EXPECT_TRUE(m.VentanaPropia.Ganado);
  ExpectInvariantes(m);
}

}  // namespace alcanzar
