#pragma once
// Deals for the window tests whose verdict the window's own short search must reach. They
// are chosen by the positions the solver needs, not by time: a deal decided in a few
// thousand positions is decided by the window at once on any machine, under the sanitizers
// or a loaded one alike, while one picked by a time limit may sit at its edge.
#include <cstdint>
#include <optional>

#include "games/Juegos.h"
#include "solver/Solucionador.h"

inline constexpr TLimites kPocasPosiciones{.Posiciones = 20000};

// The first deal of Siete Montones from `desde` to `hasta` the solver decides as `veredicto`
// within those positions, with its result.
inline std::optional<TResultado> RepartoDecidido(TVeredicto veredicto, std::int32_t desde = 1,
                                                 std::int32_t hasta = 40) {
  for (std::int32_t n = desde; n <= hasta; ++n) {
    TResultado r = Resolver(PrepararSolitarioDeLosSieteMontones, n, {}, kPocasPosiciones);
    if (r.Veredicto == veredicto) return r;
  }
  return std::nullopt;
}
