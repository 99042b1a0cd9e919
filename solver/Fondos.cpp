#include "solver/Fondos.h"

#include <algorithm>
#include <memory>

#include "solver/SinSalida.h"
#include "solver/Sonda.h"

namespace {

constexpr std::uint64_t kCuarenta = (std::uint64_t{1} << 40) - 1;

// Whether the group's own stacking function, on piles of up to three cards whose full
// piles it never takes onto, accepts on a top card alone every card, dragged alone, that
// it accepts there with a card under the top one or with a card under the card dragged,
// and on a pile of two every card dragged alone that it accepts there with a card under
// it, from a pile of every group it takes cards from.
bool SoloMiraElTope(TMesa& m, TSonda& p, std::size_t g) {
  TGrupo* grupo = m.Grupos[g];
  p.Destino.Grupo = grupo;
  for (std::size_t t = 0; t < 40; ++t) {
    TCarta* tope = p.Cartas[t].get();
    for (std::size_t y = 0; y < 40; ++y) {
      if (y == t) continue;
      TCarta* carta = p.Cartas[y].get();
      for (TGrupo* o : grupo->Origenes) {
        p.Origen.Grupo = o;
        TSonda::Poner(p.Origen, {carta});
        TSonda::Poner(p.Destino, {tope});
        const bool soloAlTope = m.PuedeApilar(*carta, p.Destino);
        for (std::size_t u = 0; u < 40; ++u) {
          if (u == t || u == y) continue;
          TCarta* bajo = p.Cartas[u].get();
          TSonda::Poner(p.Origen, {carta});
          TSonda::Poner(p.Destino, {bajo, tope});
          const bool enDos = m.PuedeApilar(*carta, p.Destino);
          // Refused on the top card alone: refused too with a card under either.
          if (!soloAlTope && enDos) return false;
          if (!soloAlTope) {
            TSonda::Poner(p.Origen, {bajo, carta});
            TSonda::Poner(p.Destino, {tope});
            if (m.PuedeApilar(*carta, p.Destino)) return false;
          }
          // Refused on a pile of two: refused too with a card under the card dragged.
          if (!enDos) {
            std::size_t v = 0;
            while (v == t || v == u || v == y) ++v;
            TSonda::Poner(p.Origen, {p.Cartas[v].get(), carta});
            TSonda::Poner(p.Destino, {bajo, tope});
            if (m.PuedeApilar(*carta, p.Destino)) return false;
          }
        }
      }
    }
  }
  return true;
}

}  // namespace

std::vector<std::uint8_t> FondosQuietos(TMesa& m, const TReglasComoDatos& reglas,
                                        const TGanchosComoDatos* ganchos) {
  const std::size_t grupos = m.Grupos.size();
  std::vector<std::uint8_t> r(grupos, 0);
  // No callbacks, no stock to deal, single cards only, empty piles off the foundations
  // taking nothing, and each suit home in order from its As, the game won with the forty
  // cards home (SinSalida.h): then a position is as good as the cards where they lie.
  if (m.PuedeFundar != FundarPorReglas || !PrepararSinSalida(m, reglas, ganchos).Posible) return r;
  const bool apilaPorDatos = m.PuedeApilar == ApilarPorReglas;
  const bool vaciaPorDatos = m.PuedeOcuparVacia == OcuparPorReglas;
  if ((!apilaPorDatos && !(ganchos && ganchos->Apila)) || (!vaciaPorDatos && !(ganchos && ganchos->Vacia)))
    return r;
  std::unique_ptr<TSonda> prueba;
  for (std::size_t g = 0; g < grupos; ++g) {
    const TGrupo& grupo = *m.Grupos[g];
    if (grupo.EsFundacion) continue;
    // Its piles, once empty, take nothing: the lone card's pile is gone for good.
    if ((vaciaPorDatos ? reglas.Vacia[g] : ganchos->VaciaGanchos[g]) & kCuarenta) continue;
    if (vaciaPorDatos ? grupo.VariasCartas : ganchos->VaciaTramos[g]) continue;
    if (apilaPorDatos) {
      // The group's rules read the top card, the count against the capacity, and the
      // group the card comes from; they move single cards alone.
      r[g] = !grupo.VariasCartas;
      continue;
    }
    // A function read as data: single cards only, piles of at most three cards and full
    // ones taking nothing, so a pile with X at its bottom is the top card alone, or one
    // card more against a full pile; and what it takes does not grow with the cards under.
    if (ganchos->ApilaTramos[g] || grupo.Capacidad > 3 || grupo.Capacidad < 1 ||
        ganchos->LlenaToma[g])
      continue;
    if (!prueba) prueba = std::make_unique<TSonda>(m);
    r[g] = SoloMiraElTope(m, *prueba, g);
  }
  return r;
}

bool FondosSoloACasa(const TMesa& m, const std::vector<std::uint8_t>& quietos) {
  std::size_t grupo = m.Grupos.size();
  for (const auto& p : m.Pilas) {
    if (p->Grupo->EsFundacion) continue;
    const auto g = static_cast<std::size_t>(
        std::find(m.Grupos.begin(), m.Grupos.end(), p->Grupo) - m.Grupos.begin());
    if (grupo != m.Grupos.size() && g != grupo) return false;
    grupo = g;
  }
  return grupo < quietos.size() && quietos[grupo];
}
