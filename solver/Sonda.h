#pragma once
// Cards and piles apart from the table's, for asking a table's own rule functions about
// cards laid out at will: the functions read them as they read the table's, which stays
// as it is.
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <span>
#include <vector>

#include "engine/Mesa.h"

struct TSonda {
  std::vector<std::unique_ptr<TCarta>> Cartas;  // by IdCarta
  TPila Origen;
  TPila Destino;

  explicit TSonda(TMesa& m) : Origen(m, nullptr), Destino(m, nullptr) {
    for (std::uint8_t id = 0; id < 40; ++id)
      Cartas.push_back(std::make_unique<TCarta>(id / 10, id % 10 + 1));
  }

  // Lays the cards, bottom first, face up on the pile; a null leaves its place out.
  static void Poner(TPila& p, std::span<TCarta* const> cartas) {
    p.Tope = nullptr;
    p.Cantidad = 0;
    for (TCarta* c : cartas) {
      if (!c) continue;
      c->Pila = &p;
      c->BocaArriba = true;
      c->Debajo = p.Tope;
      c->Encima = nullptr;
      if (p.Tope) p.Tope->Encima = c;
      p.Tope = c;
      ++p.Cantidad;
    }
  }
  static void Poner(TPila& p, std::initializer_list<TCarta*> cartas) {
    Poner(p, std::span<TCarta* const>(cartas.begin(), cartas.size()));
  }

  // The first of the preferred cards not yet used; the first unused card when there is
  // none.
  TCarta* Otra(std::uint64_t preferidas, std::uint64_t usadas) {
    constexpr std::uint64_t kTodas = (std::uint64_t{1} << 40) - 1;
    std::uint64_t libres = preferidas & ~usadas & kTodas;
    if (!libres) libres = ~usadas & kTodas;
    return Cartas[static_cast<std::size_t>(__builtin_ctzll(libres))].get();
  }
};
