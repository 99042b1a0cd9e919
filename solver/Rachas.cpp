#include "solver/Rachas.h"

#include <algorithm>
#include <array>

#include "solver/Palos.h"

namespace {

std::size_t Rango(std::size_t id) { return id % 10; }  // 0 for the As

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

std::size_t MenosRachas(const std::uint8_t* minimo, const std::uint8_t* maximo) {
  // A run's highest card is a rank's card more than the rank above holds; from the Rey
  // down, the fewest runs for each count of the rank above.
  constexpr std::size_t kInf = 1000;
  std::array<std::size_t, 5> mejor{0, kInf, kInf, kInf, kInf};  // above the Rey: none
  for (std::size_t rango = 10; rango-- > 0;) {
    std::array<std::size_t, 5> nuevo{kInf, kInf, kInf, kInf, kInf};
    for (std::size_t c = minimo[rango]; c <= maximo[rango] && c <= 4; ++c)
      for (std::size_t arriba = 0; arriba <= 4; ++arriba)
        if (mejor[arriba] < kInf)
          nuevo[c] = std::min(nuevo[c], mejor[arriba] + (c > arriba ? c - arriba : 0));
    mejor = nuevo;
  }
  return *std::min_element(mejor.begin(), mejor.end());
}

bool SinSitio(const TRachas& r, const std::uint8_t* cuentas, const std::uint8_t* cartas,
              std::size_t enMazo, bool vueltas) {
  const std::size_t n = r.Clase.size();
  std::size_t quiere = 0;  // the rank the home pile takes
  std::array<std::uint8_t, 10> enMontones{};
  std::array<std::uint8_t, 10> fuera{};  // not home
  std::size_t k = 0;
  for (std::size_t i = 0; i < n; k += cuentas[i], ++i) {
    if (r.Clase[i] == TRachas::Casa) {
      if (cuentas[i] == 40) return false;
      if (cuentas[i] > 0) quiere = (Rango(cartas[k + cuentas[i] - 1] & 0x3F) + 1) % 10;
      continue;
    }
    for (std::size_t j = 0; j < cuentas[i]; ++j) {
      const std::size_t rango = Rango(cartas[k + j] & 0x3F);
      ++fuera[rango];
      if (r.Clase[i] == TRachas::Monton) ++enMontones[rango];
    }
    if (cuentas[i] > 0 && Rango(cartas[k + cuentas[i] - 1] & 0x3F) == quiere) return false;
  }
  for (std::size_t j = 0; j < enMazo; ++j) {
    const std::size_t rango = Rango(cartas[k + j] & 0x3F);
    if (rango == quiere) return false;
    ++fuera[rango];
  }
  if (enMontones[quiere] > 0) return false;
  // Till then no card of that rank lies on the piles that build, nor any card under one in
  // a pile that takes nothing.
  std::array<std::uint8_t, 10> maximo = fuera;
  maximo[quiere] = 0;
  // On a pile that takes nothing, how many cards lie up to its highest card of that rank
  // (none where it holds none).
  const auto hasta = [&](std::size_t i, std::size_t inicio) {
    std::size_t j = r.Clase[i] == TRachas::Cerrada ? cuentas[i] : 0;
    while (j > 0 && Rango(cartas[inicio + j - 1] & 0x3F) != quiere) --j;
    return j;
  };
  k = 0;
  for (std::size_t i = 0; i < n; k += cuentas[i], ++i) {
    const std::size_t j = hasta(i, k);
    if (j == 0) continue;
    // Where the stock may still take this pile back, its cards come round again.
    if (vueltas && i == r.Descarte) return false;
    for (std::size_t a = 0; a + 1 < j; ++a) {
      const std::size_t rango = Rango(cartas[k + a] & 0x3F);
      if (rango != quiere) --maximo[rango];
    }
  }
  // Each pile's highest card of that rank: every card above it on the piles that build.
  k = 0;
  for (std::size_t i = 0; i < n; k += cuentas[i], ++i) {
    const std::size_t j = hasta(i, k);
    if (j == 0) continue;
    std::array<std::uint8_t, 10> minimo = enMontones;
    for (std::size_t a = j; a < cuentas[i]; ++a) ++minimo[Rango(cartas[k + a] & 0x3F)];
    if (MenosRachas(minimo.data(), maximo.data()) <= r.Montones) return false;
  }
  return true;
}
