// The best-first queue in buckets pops what a heap of (value, node) pairs pops, in the
// same order, so the search takes its positions in the same order either way.
#include <gtest/gtest.h>

#include <cstdint>
#include <queue>
#include <random>
#include <utility>
#include <vector>

#include "solver/Cola.h"

namespace {

using TPar = std::pair<std::int32_t, std::uint32_t>;

// Nodes numbered in order with values drawn from a few, pushes and pops interleaved (a
// position expanded queues its children), then every node valued again half-way: each
// pop is the heap's, ties going to the newest node, and both run dry together.
TEST(SolucionadorCola, SacaComoElMonticulo) {
  std::mt19937 azar(7);
  for (const int valores : {1, 3, 40, 5000}) {
    TCola cola;
    std::priority_queue<TPar> monticulo;
    std::uniform_int_distribution<std::int32_t> valor(-valores / 2, valores / 2);
    std::uint32_t siguiente = 0;
    for (int paso = 0; paso < 20000; ++paso) {
      if (paso == 10000) {
        const auto nuevo = [](std::uint32_t nodo) {
          return static_cast<std::int32_t>((nodo * 2654435761u) % 7);
        };
        cola.Revalorar(nuevo);
        std::vector<TPar> todos;
        for (; !monticulo.empty(); monticulo.pop()) todos.push_back(monticulo.top());
        for (const TPar& p : todos) monticulo.emplace(nuevo(p.second), p.second);
      }
      if (monticulo.empty() || azar() % 3 != 0) {
        const std::int32_t v = valor(azar);
        cola.Poner(v, siguiente);
        monticulo.emplace(v, siguiente);
        ++siguiente;
      } else {
        ASSERT_EQ(cola.Sacar(), monticulo.top()) << valores << " " << paso;
        monticulo.pop();
      }
      ASSERT_EQ(cola.Tam(), monticulo.size());
    }
    for (; !monticulo.empty(); monticulo.pop()) ASSERT_EQ(cola.Sacar(), monticulo.top());
    EXPECT_TRUE(cola.Vacia());
  }
}

}  // namespace
