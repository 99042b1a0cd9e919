// The solver's speed: positions searched per second on typical deals, and whole deals
// decided with the default limits.
#include <benchmark/benchmark.h>

#include "games/Registro.h"
#include "solver/Solucionador.h"

namespace {

// The first deals of the game, each searched up to the same number of positions; with
// `memoriaMiB` so little that most of the search goes depth-first.
void Posiciones(benchmark::State& state, const char* clave, std::size_t memoriaMiB = 512) {
  const TJuegoRegistrado& juego = *BuscarRegistro(clave);
  TLimites limites;
  limites.Posiciones = 200000;
  limites.MemoriaMiB = memoriaMiB;
  std::uint64_t posiciones = 0;
  std::int32_t numero = 1;
  for (auto _ : state) {
    const TResultado r = Resolver(juego.Preparar, numero, {}, limites);
    posiciones += r.Posiciones;
    numero = numero % 20 + 1;
    benchmark::DoNotOptimize(r.Veredicto);
  }
  state.counters["posiciones/s"] =
      benchmark::Counter(static_cast<double>(posiciones), benchmark::Counter::kIsRate);
}

}  // namespace

BENCHMARK_CAPTURE(Posiciones, SieteMontones, "SolitarioDeLosSieteMontones")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Posiciones, CuatroReyes, "CuatroReyes")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Posiciones, De10A4, "SolitarioDe10A4")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Posiciones, Casi14Montones, "SolitarioDeLosCasi14Montones")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Posiciones, Yukon, "YukonEspañol")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Posiciones, Pinguino, "PingüinoPatagónico")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Posiciones, OrdenamientoDesordenado, "OrdenamientoDesordenado")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Posiciones, EnProfundidadCuatroReyes, "CuatroReyes", 8)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Posiciones, EnProfundidadOrdenamientoDesordenado, "OrdenamientoDesordenado", 8)
    ->Unit(benchmark::kMillisecond);
