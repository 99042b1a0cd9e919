#pragma once
// The program's random-number generator: a linear congruential generator with one
// 32-bit word of state, so that a game number always gives the same deal.
#include <cstdint>
#include <functional>

// Milliseconds since midnight UTC.
std::uint32_t MilisegundosDelDiaUTC();

class TGenerador {
 public:
  std::uint32_t Semilla = 0;
  // Where the time of day comes from; tests put a fixed one here.
  std::function<std::uint32_t()> Reloj = MilisegundosDelDiaUTC;

  std::uint32_t Aleatorio(std::uint32_t n) {
    Semilla = Semilla * 134775813u + 1u;
    return static_cast<std::uint32_t>((static_cast<std::uint64_t>(Semilla) * n) >> 32);
  }
  void SembrarConReloj() { Semilla = Reloj(); }
};
