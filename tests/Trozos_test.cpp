// The snapshots' blocks cut from large pieces: every block whole and apart from every
// other, whatever the block's size against the piece's, so no snapshot written overwrites
// another's bytes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

#include "solver/Trozos.h"

namespace {

// Sizes that fill a piece exactly, leave a tail, take a whole piece or more than one:
// each block filled with its own number, then every block read back.
TEST(SolucionadorTrozos, BloquesEnterosYApartes) {
  constexpr std::size_t kMiB = std::size_t{1} << 20;
  for (const std::size_t tam : {std::size_t{64}, std::size_t{59} * 1024, std::size_t{1000003},
                                2 * kMiB, 3 * kMiB + 7}) {
    TTrozos trozos(tam);
    EXPECT_EQ(trozos.TamBloque(), tam);
    const std::size_t cuantos = std::max<std::size_t>(3, 5 * 2 * kMiB / tam);
    std::vector<std::uint8_t*> bloques;
    for (std::size_t i = 0; i < cuantos; ++i) {
      bloques.push_back(trozos.Nuevo());
      std::fill_n(bloques.back(), tam, static_cast<std::uint8_t>(i * 37 + 1));
    }
    for (std::size_t i = 0; i < cuantos; ++i) {
      const auto valor = static_cast<std::uint8_t>(i * 37 + 1);
      EXPECT_TRUE(std::all_of(bloques[i], bloques[i] + tam,
                              [valor](std::uint8_t b) { return b == valor; }))
          << "tam " << tam << ", bloque " << i;
    }
    // Sorted by address, each block ends before the next starts.
    std::sort(bloques.begin(), bloques.end());
    for (std::size_t i = 0; i + 1 < cuantos; ++i)
      EXPECT_LE(bloques[i] + tam, bloques[i + 1]) << "tam " << tam << ", bloque " << i;
  }
}

// A carver made again in place (as the search does once it knows a snapshot's size) hands
// out blocks of the new size, and the blocks taken before stay readable while the first
// carver, moved away, lives.
TEST(SolucionadorTrozos, RehechoConOtroTam) {
  TTrozos trozos(0);
  TTrozos primero(100);
  std::uint8_t* viejo = primero.Nuevo();
  std::fill_n(viejo, 100, std::uint8_t{9});
  TTrozos guardado = std::move(primero);
  trozos = TTrozos(4096);
  std::uint8_t* a = trozos.Nuevo();
  std::uint8_t* b = trozos.Nuevo();
  std::uint8_t* c = trozos.Nuevo();
  EXPECT_EQ(trozos.TamBloque(), 4096u);
  EXPECT_EQ(c - b, 4096);  // past the first, one piece's blocks lie one after another
  std::fill_n(a, 4096, std::uint8_t{1});
  std::fill_n(b, 4096, std::uint8_t{2});
  EXPECT_TRUE(std::all_of(viejo, viejo + 100, [](std::uint8_t x) { return x == 9; }));
  EXPECT_TRUE(std::all_of(a, a + 4096, [](std::uint8_t x) { return x == 1; }));
}

}  // namespace
