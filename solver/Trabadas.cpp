#include "solver/Trabadas.h"

#include "solver/Seguras.h"

TTrabadas CalcularTrabadas(const TMesa& m, const TReglasComoDatos& reglas) {
  TTrabadas t;
  if (TieneGanchos(m)) return t;
  std::array<int, 4> porPalo{};
  if (!FundacionesPorPalo(m, porPalo)) return t;
  for (int n : porPalo)
    if (n != 1) return t;
  bool devuelven = false;
  bool varias = false;  // some pile off the foundations takes runs
  for (const TGrupo* g : m.Grupos) {
    if (!g->EsFundacion) {
      varias = varias || g->VariasCartas;
      continue;
    }
    if (g->VariasCartas) return t;
    for (const TGrupo* o : g->Origenes)
      if (o->EsFundacion) return t;
    for (const TGrupo* otro : m.Grupos)
      devuelven = devuelven || (!otro->EsFundacion && AceptaOrigen(g, *otro));
  }
  if (!devuelven) return t;

  t.Lleva.assign(m.Grupos.size(), {});
  for (std::size_t g = 0; g < m.Grupos.size(); ++g) {
    const TGrupo& grupo = *m.Grupos[g];
    if (grupo.EsFundacion) continue;
    t.Vacias |= reglas.Vacia[g];
    for (std::size_t x = 0; x < 40; ++x) {
      for (std::uint64_t y = reglas.Apila[g][x]; y; y &= y - 1)
        t.Sobre[static_cast<std::size_t>(__builtin_ctzll(y))] |= std::uint64_t{1} << x;
      if (varias) t.Lleva[g][x] = grupo.TramoLibre ? ~std::uint64_t{0} : reglas.Apila[g][x];
    }
  }
  const TOrdenEnCasa orden = LeerOrdenEnCasa(m, reglas);
  t.Antes = orden.Antes;
  // The reading rests on a game won only with every card home: taken to hold where the
  // foundations can take all forty.
  t.Posible = orden.TodasCaben;
  return t;
}

// The set is kept by the cards' places, one bit each, the piles one after another from
// their bottoms: the card under the one at place k is at k - 1 and the card on it at
// k + 1, where `conEncima` says there is one.
bool HayTrabada(const TTrabadas& t, const TMontonTrabado* montones, std::size_t cuantos) {
  std::array<std::uint8_t, 40> id;
  std::uint64_t conEncima = 0;  // places with a card on them
  std::uint64_t desorden = 0;   // of those, where that card is out of a run's order
  std::uint64_t cubiertas = 0;  // the cards with a card on them: every shadow lies within
  std::size_t k = 0;
  for (std::size_t i = 0; i < cuantos; ++i) {
    const TMontonTrabado& p = montones[i];
    const std::array<std::uint64_t, 40>& lleva = t.Lleva[p.Grupo];
    for (std::size_t j = 0; j < p.Cuenta && k < 40; ++j, ++k) {
      const std::uint8_t x = p.Cartas[j] & 0x3F;
      id[k] = x;
      if (j + 1 < p.Cuenta) {
        conEncima |= std::uint64_t{1} << k;
        cubiertas |= std::uint64_t{1} << x;
        const std::uint8_t y = p.Cartas[j + 1] & 0x3F;
        desorden |= static_cast<std::uint64_t>(!(lleva[x] >> y & 1)) << k;
      }
    }
  }
  // The places whose card could stay without being held down: no place for it but cards
  // that could be covered, and no empty pile. Of those, the ones that could also wait on a
  // covered card to go home: the highest card of the set on each pile, which nothing of
  // the set holds down, must be one, so without any the set ends empty. A card that is
  // neither may still be held down, where it has a card on it.
  std::uint64_t sinSitio0 = 0;
  std::uint64_t erguidas = 0;
  for (std::size_t i = 0; i < k; ++i) {
    const std::uint8_t x = id[i];
    if ((t.Sobre[x] & ~cubiertas) != 0 || (t.Vacias >> x & 1)) continue;
    sinSitio0 |= std::uint64_t{1} << i;
    erguidas |= static_cast<std::uint64_t>((t.Antes[x] & cubiertas) != 0) << i;
  }
  if (!erguidas) return false;
  const std::uint64_t candidatas = conEncima | erguidas;
  std::uint64_t en = candidatas;
  // The places with a card of the set on them, and their cards: the shadow. The set only
  // loses cards, so each round takes out of the shadow the cards of the places it uncovers.
  std::uint64_t tapadaAntes = conEncima & en >> 1;
  std::uint64_t sombra = 0;
  for (std::uint64_t s = tapadaAntes; s; s &= s - 1)
    sombra |= std::uint64_t{1} << id[static_cast<std::size_t>(__builtin_ctzll(s))];
  while (en) {
    const std::uint64_t tapada = conEncima & en >> 1;
    for (std::uint64_t s = tapadaAntes & ~tapada; s; s &= s - 1)
      sombra &= ~(std::uint64_t{1} << id[static_cast<std::size_t>(__builtin_ctzll(s))]);
    tapadaAntes = tapada;
    // Held down: the card on it of the set and out of order, or of the set and held down.
    std::uint64_t fija = tapada & desorden;
    for (;;) {
      const std::uint64_t mas = fija | (tapada & fija >> 1);
      if (mas == fija) break;
      fija = mas;
    }
    std::uint64_t quedan = fija & en;
    for (std::uint64_t s = en & ~fija & sinSitio0; s; s &= s - 1) {
      const auto i = static_cast<std::size_t>(__builtin_ctzll(s));
      const std::uint8_t x = id[i];
      const bool sinCasa = (t.Antes[x] & sombra) != 0 || (tapada >> i & 1);
      const bool sinSitio = (t.Sobre[x] & ~sombra) == 0;
      quedan |= static_cast<std::uint64_t>(sinCasa && sinSitio) << i;
    }
    // Held down only by cards that left: the highest of each pile is then not held.
    if (!(quedan & ~fija)) return false;
    if (quedan == en) break;
    en = quedan;
  }
  return en != 0;
}
