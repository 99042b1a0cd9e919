#include "solver/Estorbos.h"

std::array<std::int8_t, 40> OrdenEnCasa(const TMesa& m, const TReglasComoDatos& reglas) {
  std::array<std::int8_t, 40> orden;
  orden.fill(-1);
  const auto ninguno = orden;
  std::array<bool, 4> palos{};
  for (std::size_t k = 0; k < m.Grupos.size() && k < reglas.Vacia.size(); ++k) {
    if (!m.Grupos[k]->EsFundacion) continue;
    const std::uint64_t base = reglas.Vacia[k];
    if (base == 0 || (base & (base - 1)) != 0) return ninguno;  // one base card
    auto id = static_cast<std::uint8_t>(__builtin_ctzll(base));
    const std::size_t palo = id / 10;
    if (palos[palo]) return ninguno;  // two foundations of one suit
    palos[palo] = true;
    for (int paso = 0; paso < 10; ++paso) {
      if (id / 10 != palo || orden[id] >= 0) return ninguno;
      orden[id] = static_cast<std::int8_t>(paso);
      if (paso == 9) break;
      const std::uint64_t sigue = reglas.Apila[k][id];
      if (sigue == 0 || (sigue & (sigue - 1)) != 0) return ninguno;  // one card follows
      id = static_cast<std::uint8_t>(__builtin_ctzll(sigue));
    }
  }
  for (const bool p : palos)
    if (!p) return ninguno;
  return orden;
}

int Estorbos(const std::array<std::int8_t, 40>& orden, const std::uint8_t* cartas,
             std::size_t cuenta) {
  // The earliest place home seen so far below, per suit.
  std::array<std::int8_t, 4> menor{10, 10, 10, 10};
  int n = 0;
  for (std::size_t j = 0; j < cuenta; ++j) {
    const std::uint8_t id = cartas[j] & 0x3F;
    if (id >= 40) continue;
    const std::int8_t o = orden[id];
    if (o < 0) return 0;
    std::int8_t& m = menor[id / 10];
    if (m < o)
      ++n;
    else
      m = o;
  }
  return n;
}
