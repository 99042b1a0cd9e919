#include "solver/Rachas.h"

#include <algorithm>
#include <array>

#include "solver/Palos.h"

namespace {

constexpr std::size_t Rango(std::size_t id) { return id % 10; }  // 0 for the As

std::uint64_t DeRango(std::size_t rango) {
  std::uint64_t bits = 0;
  for (std::size_t palo = 0; palo < 4; ++palo) bits |= std::uint64_t{1} << (palo * 10 + rango);
  return bits;
}

}  // namespace

TRachas PrepararRachas(const TMesa& m, const TReglasComoDatos& reglas) {
  TRachas r;
  if (m.Cartas.size() != 40 || TieneGanchos(m) || !PalosIndiferentes(m)) return r;
  std::vector<TRachas::TClase> porGrupo(m.Grupos.size(), TRachas::Cerrada);
  std::size_t casas = 0;
  for (std::size_t g = 0; g < m.Grupos.size(); ++g) {
    const TGrupo* grupo = m.Grupos[g];
    if (grupo->Origenes.empty()) {
      if (grupo->VariasCartas) return r;  // a bundle off it need not be a run
      continue;
    }
    bool casa = reglas.Vacia[g] == DeRango(0) && grupo->Capacidad >= 40 &&
                grupo->Pilas.size() == 1;
    bool monton = true;
    for (std::size_t t = 0; t < 40; ++t) {
      casa = casa && reglas.Apila[g][t] == DeRango((Rango(t) + 1) % 10);
      const std::uint64_t abajo = Rango(t) == 0 ? 0 : DeRango(Rango(t) - 1);
      monton = monton && (reglas.Apila[g][t] & ~abajo) == 0;
    }
    if (casa) {
      porGrupo[g] = TRachas::Casa;
      ++casas;
    } else if (monton) {
      porGrupo[g] = TRachas::Monton;
      if (grupo->VariasCartas) r.UnaALaVez = false;
    } else {
      return r;
    }
  }
  if (casas != 1) return r;
  for (const TGrupo* g : m.Grupos)
    for (const TGrupo* o : g->Origenes)
      if (porGrupo[static_cast<std::size_t>(
              std::find(m.Grupos.begin(), m.Grupos.end(), o) - m.Grupos.begin())] ==
          TRachas::Casa)
        return r;  // a card could leave home
  for (const auto& p : m.Pilas) {
    const auto g = static_cast<std::size_t>(
        std::find(m.Grupos.begin(), m.Grupos.end(), p->Grupo) - m.Grupos.begin());
    if (g >= porGrupo.size()) return r;
    r.Clase.push_back(porGrupo[g]);
    if (porGrupo[g] != TRachas::Monton) continue;
    ++r.Montones;
    // Its cards must be a run already, face up, from the bottom.
    for (const TCarta* c = p->Tope; c; c = c->Debajo)
      if (!c->BocaArriba || (c->Debajo && c->Debajo->Numero != c->Numero + 1)) return r;
  }
  if (m.Mazo)
    for (const TDestino& d : m.Mazo->Destinos) {
      const auto i = static_cast<std::size_t>(
          std::find_if(m.Pilas.begin(), m.Pilas.end(),
                       [&](const auto& p) { return p.get() == d.Pila; }) -
          m.Pilas.begin());
      if (i >= r.Clase.size() || r.Clase[i] != TRachas::Cerrada) return r;
    }
  for (std::size_t i = 0; m.Mazo && i < m.Pilas.size(); ++i)
    if (m.Pilas[i].get() == m.Mazo->Descarte) r.Descarte = i;
  r.Posible = true;
  return r;
}

bool RachasIgualesTras(const TRachas& r, std::size_t desde, std::size_t hacia) {
  return desde < r.Clase.size() && hacia < r.Clase.size() &&
         r.Clase[desde] == TRachas::Monton && r.Clase[hacia] == TRachas::Monton;
}

std::size_t MenosRachas(const std::uint8_t* minimo, const std::uint8_t* maximo) {
  // A run's highest card is a rank's card more than the rank above holds, so the runs are
  // the sum, from the Rey down, of each rank's count over the one above. Going down, each
  // rank keeps the count above where its bounds allow it, and else the nearest bound: a
  // count more than that costs a run now and spares at most one below, and a count less
  // spares nothing now.
  constexpr std::size_t kInf = 1000;
  std::size_t arriba = 0;  // above the Rey: none
  std::size_t rachas = 0;
  for (std::size_t rango = 10; rango-- > 0;) {
    const std::size_t hasta = std::min<std::size_t>(maximo[rango], 4);
    if (minimo[rango] > hasta) return kInf;
    const std::size_t c = std::clamp<std::size_t>(arriba, minimo[rango], hasta);
    if (c > arriba) rachas += c - arriba;
    arriba = c;
  }
  return rachas;
}

namespace {

// Whether no card of rank `objetivo` can ever come free while the home pile wants
// `quiere`: before the first such card lies on a top, the home pile takes at most one card
// of each rank from `quiere` up to the one below `objetivo` (none where the two are one),
// so every card but those leaves the piles that take nothing only for the piles that build.
bool NuncaLibre(const TRachas& r, const std::uint8_t* cuentas, const std::uint8_t* cartas,
                bool vueltas, std::size_t quiere, std::size_t objetivo, bool desdeArriba,
                bool cadaSalida, const std::array<std::uint8_t, 10>& enMontones,
                const std::array<std::uint8_t, 10>& fuera) {
  const std::size_t n = r.Clase.size();
  // Till then no card of that rank lies on the piles that build, nor any card under one in
  // a pile that takes nothing.
  std::array<std::uint8_t, 10> maximo = fuera;
  maximo[objetivo] = 0;
  // On a pile that takes nothing, how many cards lie up to its highest card of that rank
  // (none where it holds none).
  const auto hasta = [&](std::size_t i, std::size_t inicio) {
    std::size_t j = r.Clase[i] == TRachas::Cerrada ? cuentas[i] : 0;
    while (j > 0 && Rango(cartas[inicio + j - 1] & 0x3F) != objetivo) --j;
    return j;
  };
  std::size_t k = 0;
  for (std::size_t i = 0; i < n; k += cuentas[i], ++i) {
    const std::size_t j = hasta(i, k);
    if (j == 0) continue;
    for (std::size_t a = 0; a + 1 < j; ++a) {
      const std::size_t rango = Rango(cartas[k + a] & 0x3F);
      if (rango != objetivo) --maximo[rango];
    }
  }
  // The piles that take nothing and that the stock never takes back: where each starts in
  // `cartas`.
  std::array<std::size_t, 64> inicio{};
  k = 0;
  for (std::size_t i = 0; i < n && i < inicio.size(); k += cuentas[i], ++i) inicio[i] = k;
  const auto cerrada = [&](std::size_t p) {
    return p < inicio.size() && r.Clase[p] == TRachas::Cerrada && !(vueltas && p == r.Descarte);
  };
  // Each pile's highest card of that rank: every card above it on the piles that build,
  // but for one of each rank the home pile may take first.
  k = 0;
  for (std::size_t i = 0; i < n; k += cuentas[i], ++i) {
    const std::size_t j = hasta(i, k);
    if (j == 0) continue;
    const auto cabe = [&](std::array<std::uint8_t, 10> minimo,
                          const std::array<std::uint8_t, 10>& tope,
                          std::size_t montones) {
      for (std::size_t rango = quiere; rango != objetivo; rango = (rango + 1) % 10)
        if (minimo[rango] > 0) --minimo[rango];
      return MenosRachas(minimo.data(), tope.data()) <= montones;
    };
    // Another such pile gives its cards from the top only: one of them lies on the piles
    // that build (or goes home) only after every card above it has left, for the same
    // places. So the cards it gives are some from its top, all of them taken; a depth
    // from which none fits proves the card lost as well.
    const auto cabeConOrden = [&](const std::array<std::uint8_t, 10>& minimoBase,
                                  const std::array<std::uint8_t, 10>& topeBase) {
      if (!cabe(minimoBase, topeBase, r.Montones)) return false;
      for (std::size_t p = 0; p < n && desdeArriba; ++p) {
        if (p == i || !cerrada(p)) continue;
        const std::size_t kp = inicio[p];
        const std::size_t desde = hasta(p, kp);
        if (desde >= cuentas[p]) continue;
        std::array<std::uint8_t, 10> minimo = minimoBase;
        std::array<std::uint8_t, 10> tope = topeBase;
        for (std::size_t a = desde; a < cuentas[p]; ++a) --tope[Rango(cartas[kp + a] & 0x3F)];
        bool alguna = cabe(minimo, tope, r.Montones);
        for (std::size_t a = cuentas[p]; !alguna && a-- > desde;) {
          const std::size_t rango = Rango(cartas[kp + a] & 0x3F);
          ++minimo[rango];
          ++tope[rango];
          alguna = cabe(minimo, tope, r.Montones);
        }
        if (!alguna) return false;
      }
      return true;
    };
    // Its own cards above leave one at a time from the top, and till then nothing leaves
    // the piles that build but the cards home may take: once each has left, the piles
    // that build hold it and the ones above it with their cards of now, while those under
    // it are still here. Fewer cards may make more runs (the card that joins two lies
    // deeper), so every such moment is read, the last being all of them. The other piles'
    // order is read at the last only: read at every moment it cost more than it cut.
    std::array<std::uint8_t, 10> parte = enMontones;
    std::array<std::uint8_t, 10> alcance = maximo;
    for (std::size_t a = j; a < cuentas[i]; ++a) --alcance[Rango(cartas[k + a] & 0x3F)];
    bool libre = true;
    // A card that nothing on the piles can hold then (a Rey, or a card whose rank above
    // can lie on none of them yet) and that home may not take leaves for an empty pile:
    // the cards there before it lie in one pile fewer.
    const auto aCasa = [&](std::size_t rango) {
      return (rango + 10 - quiere) % 10 < (objetivo + 10 - quiere) % 10;
    };
    for (std::size_t a = cuentas[i]; libre && a-- > j;) {
      const std::size_t rango = Rango(cartas[k + a] & 0x3F);
      if (cadaSalida && (rango == 9 || alcance[rango + 1] == 0) && !aCasa(rango))
        libre = cabe(parte, alcance, r.Montones - 1);
      ++parte[rango];
      ++alcance[rango];
      if (!libre) break;
      if (a == j)
        libre = cabeConOrden(parte, alcance);
      else if (cadaSalida)
        libre = cabe(parte, alcance, r.Montones);
    }
    if (libre) return false;
  }
  return true;
}

}  // namespace

bool SinSitio(const TRachas& r, const std::uint8_t* cuentas, const std::uint8_t* cartas,
              std::size_t enMazo, bool vueltas, std::size_t rangos, bool desdeArriba,
              bool cadaSalida) {
  const std::size_t n = r.Clase.size();
  std::size_t quiere = 0;  // the rank the home pile takes
  // Per rank, its cards not home and those on the piles that build; the ranks with a card
  // on a top, in the stock or in a waste the stock takes back, which spare the position.
  std::array<std::uint8_t, 10> enMontones{};
  std::array<std::uint8_t, 10> fuera{};
  unsigned libres = 0;
  std::size_t k = 0;
  for (std::size_t i = 0; i < n; k += cuentas[i], ++i) {
    if (r.Clase[i] == TRachas::Casa) {
      if (cuentas[i] == 40) return false;
      if (cuentas[i] > 0) quiere = (Rango(cartas[k + cuentas[i] - 1] & 0x3F) + 1) % 10;
      continue;
    }
    const bool vuelve = vueltas && i == r.Descarte;
    for (std::size_t j = 0; j < cuentas[i]; ++j) {
      const std::size_t rango = Rango(cartas[k + j] & 0x3F);
      ++fuera[rango];
      if (r.Clase[i] == TRachas::Monton) ++enMontones[rango];
      if (vuelve) libres |= 1u << rango;
    }
    if (cuentas[i] > 0) libres |= 1u << Rango(cartas[k + cuentas[i] - 1] & 0x3F);
  }
  for (std::size_t j = 0; j < enMazo; ++j) {
    const std::size_t rango = Rango(cartas[k + j] & 0x3F);
    ++fuera[rango];
    libres |= 1u << rango;
  }
  for (std::size_t d = 0; d < rangos && d < 10; ++d) {
    const std::size_t objetivo = (quiere + d) % 10;
    // Every card of that rank home already: nothing to wait for (the home pile takes the
    // ranks in turn, so this is only a full one).
    if ((libres >> objetivo) & 1u || enMontones[objetivo] > 0 || fuera[objetivo] == 0) continue;
    if (NuncaLibre(r, cuentas, cartas, vueltas, quiere, objetivo, desdeArriba, cadaSalida,
                   enMontones, fuera))
      return true;
  }
  return false;
}

void TRachasRecordadas::Limitar(std::size_t bytes) { respuestas_.Limitar(bytes, kEntradas); }

bool TRachasRecordadas::SinSitio(const TRachas& r, const std::uint8_t* cuentas,
                                 const std::uint8_t* cartas, std::size_t enMazo, bool vueltas) {
  static constexpr std::array<std::uint8_t, 64> kRango = [] {
    std::array<std::uint8_t, 64> a{};
    for (std::size_t id = 0; id < a.size(); ++id) a[id] = static_cast<std::uint8_t>(Rango(id));
    return a;
  }();
  if (!respuestas_.Guarda()) return ::SinSitio(r, cuentas, cartas, enMazo, vueltas);
  // The key: per pile that does not build, its count and, for a pile that takes nothing,
  // each card's rank; then the stock's count and ranks, and the turn.
  TRespuestas::TClave clave{};
  constexpr std::size_t kClave = TRespuestas::kClave;
  std::size_t b = 0;
  const std::size_t n = r.Clase.size();
  std::size_t k = 0;
  for (std::size_t i = 0; i < n; k += cuentas[i], ++i) {
    if (r.Clase[i] == TRachas::Monton) continue;
    const std::size_t leer = r.Clase[i] == TRachas::Cerrada ? cuentas[i] : 0;
    if (b + 1 + leer + 2 + enMazo > kClave) return ::SinSitio(r, cuentas, cartas, enMazo, vueltas);
    clave[b++] = cuentas[i];
    for (std::size_t j = 0; j < leer; ++j) clave[b++] = kRango[cartas[k + j] & 0x3F];
  }
  if (b + 2 + enMazo > kClave) return ::SinSitio(r, cuentas, cartas, enMazo, vueltas);
  clave[b++] = static_cast<std::uint8_t>(enMazo | (vueltas ? 0x80 : 0));
  for (std::size_t j = 0; j < enMazo; ++j) clave[b++] = kRango[cartas[k + j] & 0x3F];
  return respuestas_.Leer(clave, [&] { return ::SinSitio(r, cuentas, cartas, enMazo, vueltas); });
}
