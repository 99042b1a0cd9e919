#pragma once
// Reaching a table by real play, for tests: a depth-first walk over the moves a player can
// make, stopping where a condition holds (by default, a won table). Moves go through the
// table tool's steps, so a line found here replays with `cartoval-mesa jugar`. The open
// games need the walk to try the promising moves first; a valuation or a priority says
// which.
#include <algorithm>
#include <functional>
#include <initializer_list>
#include <string>
#include <unordered_set>
#include <utility>
#include <vector>

#include "engine/Mesa.h"
#include "games/Juegos.h"
#include "tests/Ayuda.h"
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

// The drag-over decision a player's drop of the card on the pile would meet.
inline bool Acepta(TMesa& m, TCarta& carta, TPila& pila) {
  return pila.Tope ? m.ArrastrarSobreCarta(*pila.Tope, carta, 1, 1)
                   : m.ArrastrarSobrePila(pila, carta, 1, 1);
}

// The same question, pile first, as a drop names it.
inline bool Acepta(TMesa& m, TPila& destino, TCarta& carta) { return Acepta(m, carta, destino); }

// A player's drop of the card on the pile, which must accept it, and the win check after it.
inline void Soltar(TMesa& m, TPila& destino, TCarta& carta) {
  ASSERT_TRUE(Acepta(m, carta, destino)) << TextoCarta(carta);
  if (destino.Tope)
    m.SoltarEnCarta(*destino.Tope, carta, 1, 1);
  else
    m.SoltarEnPila(destino, carta, 1, 1);
  m.VerificarFinAhora();
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
        if (hacia.get() == desde.get() || !Acepta(m, *c, *hacia)) continue;
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

inline std::string TextoPasos(const std::vector<TPaso>& pasos) {
  std::string s;
  for (const TPaso& p : pasos) s += (s.empty() ? "" : " ") + EscribirPaso(p);
  return s;
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

inline bool Ganado(TMesa& m) { return m.VentanaPropia.Ganado; }

inline const TPila& Origen(const TMesa& m, const TPaso& p) {
  return *m.Pilas[static_cast<std::size_t>(p.Pila - 1)];
}
inline const TPila& Destino(const TMesa& m, const TPaso& p) {
  return *m.Pilas[static_cast<std::size_t>(p.Destino - 1)];
}

// Whole piles carried to an empty pile of their own kind change nothing.
inline bool CambiaAlgo(const TMesa& m, const TPaso& p) {
  return p.Tipo != TPaso::TTipo::Arrastre || p.Posicion != 0 || Destino(m, p).Tope ||
         Destino(m, p).Grupo != Origen(m, p).Grupo;
}

// Taking cards back from a foundation, or a whole pile onto an empty one, never helps.
inline bool Avanza(const TMesa& m, const TPaso& p) {
  return p.Tipo != TPaso::TTipo::Arrastre ||
         (!Origen(m, p).Grupo->EsFundacion && (Destino(m, p).Tope || p.Posicion != 0));
}

inline bool MismoPalo(int relacion, int abajo, int arriba) {
  switch (relacion) {
    case rpMismoPalo: return abajo == arriba;
    case rpOtroPalo: return abajo != arriba;
    case rpOtroPar: return (abajo < 2) != (arriba < 2);
    default: return true;
  }
}

// Whether the card lies on the one under it as its group's stacking rules would lay it.
inline bool EnOrden(const TCarta& c) {
  const TCarta* d = c.Debajo;
  if (!d || !c.Pila) return false;
  const TGrupo& g = *c.Pila->Grupo;
  for (const TRegla& r : g.ReglasApilado) {
    if (r.Paso == PasoLibre || !MismoPalo(r.Relacion, d->Palo, c.Palo)) continue;
    if (d->Numero + r.Paso == c.Numero || RangoCiclico(d->Numero, c.Numero, r.Paso, g))
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
inline long ValorGuiado(const TMesa& m) {
  long v = 0;
  for (const auto& p : m.Pilas) {
    if (p->Grupo->EsFundacion) {
      v += 1000L * p->Cantidad - 25 * Enterrada(m, *p);
      continue;
    }
    if (!p->Tope) v += 30;
    for (const TCarta* c = p->Tope; c; c = c->Debajo) {
      if (!c->BocaArriba) v -= 40;
      else if (c->Debajo && c->Debajo->BocaArriba && EnOrden(*c)) v += 10;
    }
  }
  return v;
}

// More cards on foundations, more empty piles, more cards lying in order.
inline long ValorOrdenado(const TMesa& m) {
  long v = 0;
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

using TCondicion = std::function<bool(TMesa&)>;
// Lower first; 100 and above are not tried.
using TPrioridad = std::function<int(TMesa&, const TPaso&)>;

struct TBuscador {
  TMesa& Mesa;
  TCondicion Condicion = Ganado;
  std::size_t LimiteNodos = 20000;
  // Moves failing the filter are not tried; a valuation tries the best table first, a
  // priority the lowest move first. Without either the moves keep their legal order.
  std::function<bool(const TMesa&, const TPaso&)> Filtro{};
  std::function<long(const TMesa&)> Valor{};
  TPrioridad Prioridad{};
  // For games whose undo does not give back a pile's group: the walk puts the groups back
  // when it backtracks.
  bool Reponer = false;
  std::size_t Nodos = 0;
  std::unordered_set<std::string> Vistos{};
  std::vector<TPaso> Camino{};

  std::string ClaveConGrupos() const {
    std::string k = Clave(Mesa);
    for (const auto& p : Mesa.Pilas) k += p->Grupo->NombreGrupo.substr(0, 1);
    return k;
  }

  // Back to the table before `antes`, a stock click may have recorded several actions.
  void Volver(TJugada* antes, const std::vector<TGrupo*>& grupos) {
    while (Mesa.Historial && Mesa.Historial != antes) Mesa.Deshacer();
    if (Mesa.FinJuegoArmado) Mesa.VerificarFinAhora();
    Mesa.VentanaPropia.Ganado = false;
    if (Reponer)
      for (std::size_t i = 0; i < grupos.size(); ++i) Mesa.Pilas[i]->Grupo = grupos[i];
  }

  std::vector<TPaso> Candidatos(const std::vector<TGrupo*>& grupos) {
    std::vector<std::pair<long, TPaso>> orden;
    for (const TPaso& p : MovimientosLegales(Mesa)) {
      if (Filtro && !Filtro(Mesa, p)) continue;
      long rango = 0;
      if (Prioridad) {
        rango = Prioridad(Mesa, p);
        if (rango >= 100) continue;
      } else if (Valor) {
        TJugada* antes = Mesa.Historial;
        if (!AplicarPaso(Mesa, p)) continue;
        rango = -Valor(Mesa);
        Volver(antes, grupos);
      }
      orden.emplace_back(rango, p);
    }
    std::stable_sort(orden.begin(), orden.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<TPaso> pasos;
    for (const auto& o : orden) pasos.push_back(o.second);
    return pasos;
  }

  bool Buscar(int profundidad) {
    if (Condicion(Mesa)) return true;
    if (profundidad == 0 || Nodos++ >= LimiteNodos) return false;
    if (!Vistos.insert(ClaveConGrupos()).second) return false;
    std::vector<TGrupo*> grupos;
    for (const auto& p : Mesa.Pilas) grupos.push_back(p->Grupo);
    for (const TPaso& p : Candidatos(grupos)) {
      TJugada* antes = Mesa.Historial;
      if (!AplicarPaso(Mesa, p)) continue;
      Camino.push_back(p);
      if (Buscar(profundidad - 1)) return true;
      Camino.pop_back();
      Volver(antes, grupos);
    }
    return false;
  }

  // The table as dealt again, every step undone, game state aside.
  void Deshacer() {
    while (Mesa.Historial) Mesa.Deshacer();
    if (Mesa.FinJuegoArmado) Mesa.VerificarFinAhora();
    Mesa.VentanaPropia.Ganado = false;
  }
};

// A winning line for the dealt table in the legal order of moves, empty when none was
// found within the limits. The table is left as dealt again.
inline std::vector<TPaso> BuscarVictoria(TMesa& m, std::size_t limiteNodos = 200000) {
  TBuscador b{.Mesa = m, .LimiteNodos = limiteNodos};
  const bool hallada = b.Buscar(400);
  b.Deshacer();
  return hallada ? b.Camino : std::vector<TPaso>{};
}

// The same, trying the table with most cards home and least buried first.
inline std::vector<TPaso> BuscarVictoriaGuiada(TMesa& m, std::size_t limiteNodos = 20000) {
  TBuscador b{.Mesa = m, .LimiteNodos = limiteNodos, .Filtro = CambiaAlgo,
              .Valor = ValorGuiado};
  const bool hallada = b.Buscar(400);
  b.Deshacer();
  return hallada ? b.Camino : std::vector<TPaso>{};
}

// A line from the dealt table to one where the condition holds, trying the most ordered
// table first; empty when none was found. The table is left where the line ends.
inline std::vector<TPaso> AlcanzarOrdenado(TMesa& m, const TCondicion& condicion,
                                           std::size_t limiteNodos = 20000) {
  TBuscador b{.Mesa = m, .Condicion = condicion, .LimiteNodos = limiteNodos,
              .Filtro = Avanza, .Valor = ValorOrdenado};
  return b.Buscar(300) ? b.Camino : std::vector<TPaso>{};
}

// Plays from the dealt table until the condition holds, moves in the order of the
// priority; false when no line was found. With `reponer` the line found is played again
// on a fresh deal, so that the table is what play made it.
inline bool Alcanzar(TMesa& m, const TCondicion& condicion, bool reponer = false,
                     TPrioridad prioridad = {}, int profundidad = 60) {
  const std::int32_t numero = m.NumeroJuego;
  const TPrepararJuego preparar = m.ProcPreparar;
  TBuscador b{.Mesa = m, .Condicion = condicion, .Prioridad = std::move(prioridad),
              .Reponer = reponer};
  if (!b.Buscar(profundidad)) return false;
  if (!reponer) return true;
  m.LiberarMesa();
  preparar(m, numero);
  for (const TPaso& p : b.Camino)
    if (!AplicarPaso(m, p)) return false;
  return condicion(m);
}

// A winning line for a deal, moves in the order of the priority; empty when none was
// found within the limits.
inline std::vector<TPaso> LineaGanadora(TPrepararJuego preparar, std::int32_t numero,
                                        std::size_t limiteNodos, bool reponer = false,
                                        TPrioridad prioridad = {}) {
  TMesa m;
  preparar(m, numero);
  TBuscador b{.Mesa = m, .LimiteNodos = limiteNodos, .Prioridad = std::move(prioridad),
              .Reponer = reponer};
  return b.Buscar(400) ? b.Camino : std::vector<TPaso>{};
}

// Replays a winning line on the table: the win check stays quiet until the last step and
// fires there, with the forty cards home. `antesDelUltimo` may look at the table first.
inline void ExpectGanaAlUltimoPaso(TMesa& m, const std::vector<TPaso>& camino,
                                   const std::function<void(TMesa&)>& antesDelUltimo = {}) {
  ASSERT_FALSE(camino.empty());
  for (std::size_t i = 0; i < camino.size(); ++i) {
    ASSERT_FALSE(m.VentanaPropia.Ganado) << "ganado antes del paso " << i;
    if (i + 1 == camino.size() && antesDelUltimo) antesDelUltimo(m);
    ASSERT_TRUE(AplicarPaso(m, camino[i])) << TextoPasos(camino);
  }
  EXPECT_TRUE(m.VentanaPropia.Ganado) << TextoPasos(camino);
  ExpectInvariantes(m);
}

// The same on a fresh deal of the game.
inline void ExpectGanaAlUltimoPaso(TPrepararJuego preparar, std::int32_t numero,
                                   const std::vector<TPaso>& camino,
                                   const std::function<void(TMesa&)>& antesDelUltimo = {}) {
  TMesa m;
  preparar(m, numero);
  ExpectGanaAlUltimoPaso(m, camino, antesDelUltimo);
}

// Finds a guided winning line in one of the deals and replays it on a fresh table.
inline void ExpectGanaEnAlgunReparto(TPrepararJuego preparar,
                                     std::initializer_list<std::int32_t> numeros) {
  for (std::int32_t numero : numeros) {
    TMesa m;
    preparar(m, numero);
    const auto camino = BuscarVictoriaGuiada(m);
    if (camino.empty()) continue;
    TMesa r;
    preparar(r, numero);
    ExpectGanaAlUltimoPaso(r, camino);
    int enFundaciones = 0;
    for (const auto& p : r.Pilas)
      if (p->Grupo->EsFundacion) enFundaciones += p->Cantidad;
    EXPECT_EQ(enFundaciones, 40);
    return;
  }
  ADD_FAILURE() << "ninguno de los repartos se resolvió";
}

}  // namespace busqueda
