// The engine's hot paths: a whole deal, a drag-over decision, an automatic move, undo.
#include <benchmark/benchmark.h>

#include "engine/Mesa.h"
#include "games/Juegos.h"

static void BM_RepartoCompleto(benchmark::State& state) {
  TMesa m;
  std::int32_t numero = 1;
  for (auto _ : state) {
    PrepararCuatroReyes(m, numero++);
    benchmark::DoNotOptimize(m.Pilas.back()->Tope);
  }
}
BENCHMARK(BM_RepartoCompleto);

static void BM_DecisionDeArrastre(benchmark::State& state) {
  TMesa m;
  PrepararCuatroReyes(m, 1);
  TCarta& carta = *m.Pilas[6]->Tope;
  TPila& destino = *m.Pilas[7];
  for (auto _ : state) benchmark::DoNotOptimize(m.ArrastrarSobrePila(destino, carta, 1, 1));
}
BENCHMARK(BM_DecisionDeArrastre);

// A card that no pile takes: the whole table is searched.
static void BM_MoverAutomaticoSinDestino(benchmark::State& state) {
  TMesa m;
  PrepararCuatroReyes(m, 1);
  TCarta& carta = *m.Pilas[4]->Tope;
  for (auto _ : state) benchmark::DoNotOptimize(m.MoverAutomatico(carta));
}
BENCHMARK(BM_MoverAutomaticoSinDestino);

// Two hundred moves back and forth between two free piles, then two hundred undos.
static void BM_Deshacer200(benchmark::State& state) {
  TMesa m;
  for (auto _ : state) {
    state.PauseTiming();
    PrepararCuatroReyes(m, 1);
    TPila& a = *m.Pilas[9];
    TPila& b = *m.Pilas[10];
    for (int i = 0; i < 200; ++i) {
      TPila& desde = i % 2 ? b : a;
      TPila& hacia = i % 2 ? a : b;
      TCarta& c = *desde.Tope;
      m.RegistrarJugada(&c, &desde, &hacia);
      desde.QuitarCartas(c);
      hacia.AgregarCartas(c);
    }
    state.ResumeTiming();
    while (m.Historial) m.Deshacer();
  }
}
BENCHMARK(BM_Deshacer200);
