#pragma once
// Positions of a game of seven piles and a stock reached by random moves from random deals
// (runs laid on other piles, cards sent home, stock cards laid on piles or swapped for a
// pile's top card), for checking a reading against a plain one: the same piles come back
// with other cards home, other piles beside them and other cards in the stock. Face-up
// cards carry the snapshot's face-up bit, as the search hands them over.
#include <algorithm>
#include <cstdint>
#include <random>
#include <vector>

#include "solver/Bloqueos.h"

struct TPosicionAlAzar {
  std::vector<TMontonBloqueable> Montones;  // the piles with cards, from the bottom
  std::uint64_t EnCasa = 0;
  std::uint64_t EnMazo = 0;
  bool HayVacia = false;          // some pile is empty, or might be
  std::uint64_t TomanVacias = 0;  // by their index in Montones
  std::uint64_t TramoLibre = 0;   // the same
};

// Calls `leer(posicion)` on `pasos` positions of each of `repartos` deals.
template <typename F>
void RecorrerAlAzar(std::uint32_t semilla, int repartos, int pasos, F&& leer) {
  std::mt19937 azar(semilla);
  for (int reparto = 0; reparto < repartos; ++reparto) {
    std::vector<std::uint8_t> mazo(40);
    for (std::uint8_t id = 0; id < 40; ++id) mazo[id] = id;
    std::shuffle(mazo.begin(), mazo.end(), azar);
    std::vector<std::vector<std::uint8_t>> pilas(7);
    std::vector<std::uint8_t> cubiertas(7);
    std::uint64_t enMazo = 0;
    std::size_t k = 0;
    for (std::size_t i = 0; i < 7; ++i) {
      for (std::size_t j = 0; j <= i; ++j) pilas[i].push_back(mazo[k++]);
      cubiertas[i] = static_cast<std::uint8_t>(i);
      pilas[i].back() |= 0x40;
    }
    for (; k < 40; ++k) enMazo |= std::uint64_t{1} << mazo[k];
    std::uint64_t enCasa = 0;
    for (int paso = 0; paso < pasos; ++paso) {
      const std::size_t a = azar() % 7;
      const std::size_t d = azar() % 7;
      const auto que = static_cast<unsigned>(azar() % 10);
      if (que < 6 && !pilas[a].empty() && a != d) {
        // A run of the face-up cards onto another pile, or home.
        const std::size_t arriba = pilas[a].size() - cubiertas[a];
        const std::size_t lleva = 1 + azar() % (arriba ? arriba : 1);
        const std::size_t desde = pilas[a].size() - std::min(lleva, pilas[a].size());
        if (que < 5)
          pilas[d].insert(pilas[d].end(), pilas[a].begin() + static_cast<std::ptrdiff_t>(desde),
                          pilas[a].end());
        else
          for (std::size_t j = desde; j < pilas[a].size(); ++j)
            enCasa |= std::uint64_t{1} << (pilas[a][j] & 0x3F);
        pilas[a].resize(desde);
      } else if (que < 7 && !pilas[a].empty()) {
        enCasa |= std::uint64_t{1} << (pilas[a].back() & 0x3F);
        pilas[a].pop_back();
      } else if (que == 9 && !pilas[a].empty() && enMazo) {
        const auto id = static_cast<std::uint8_t>(__builtin_ctzll(enMazo));
        enMazo &= ~(std::uint64_t{1} << id);
        enMazo |= std::uint64_t{1} << (pilas[a].back() & 0x3F);
        pilas[a].back() = static_cast<std::uint8_t>(id | 0x40);
      } else if (enMazo) {
        std::uint64_t s = enMazo;
        for (unsigned salta = azar() % 4; salta && (s & (s - 1)); --salta) s &= s - 1;
        const auto id = static_cast<std::uint8_t>(__builtin_ctzll(s));
        enMazo &= ~(std::uint64_t{1} << id);
        pilas[d].push_back(static_cast<std::uint8_t>(id | 0x40));
      }
      if (cubiertas[a] > pilas[a].size()) cubiertas[a] = static_cast<std::uint8_t>(pilas[a].size());
      if (cubiertas[a] == pilas[a].size() && cubiertas[a] > 0) {
        --cubiertas[a];
        pilas[a].back() |= 0x40;
      }
      TPosicionAlAzar p;
      p.EnCasa = enCasa;
      p.EnMazo = azar() % 8 ? enMazo : 0;
      p.HayVacia = azar() % 4 == 0;
      for (std::size_t i = 0; i < 7; ++i) {
        if (pilas[i].empty()) {
          p.HayVacia = true;
          continue;
        }
        p.TomanVacias |= static_cast<std::uint64_t>(azar() % 8 != 0) << p.Montones.size();
        p.TramoLibre |= static_cast<std::uint64_t>(azar() % 4 == 0) << p.Montones.size();
        p.Montones.push_back(
            {pilas[i].data(), static_cast<std::uint8_t>(pilas[i].size()), cubiertas[i]});
      }
      leer(static_cast<const TPosicionAlAzar&>(p));
    }
  }
}
