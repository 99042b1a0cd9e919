// The program's files: user backs at start and a score-table round trip.
#include <benchmark/benchmark.h>

#include <QImage>

#include <sys/stat.h>

#include <filesystem>

#include "backs/Reversos.h"
#include "backs/imagen/Imagenes.h"
#include "bench/CarpetaBench.h"
#include "scores/AdminPuntuaciones.h"
#include "tests/imagen/Jpeg.h"

namespace fs = std::filesystem;

namespace {

const fs::path& CarpetaConReversos() {
  static const TCarpetaBench carpeta("cartoval-bench-reversos", 200, {1600, 1200});
  return carpeta.Ruta;
}

QImage Marcador() {
  QImage m(62, 98, QImage::Format_ARGB32_Premultiplied);
  m.fill(QColor(120, 0, 0));
  return m;
}

// List the folder and compose every back on one thread: the work the chooser's first
// opening did before its pictures were made on a worker for the rows in view only.
void BM_CargarReversos200(benchmark::State& estado) {
  const fs::path& carpeta = CarpetaConReversos();
  const QImage marcador = Marcador();
  for (auto _ : estado) {
    const TReversosUsuario lista = CargarReversosUsuario(carpeta);
    std::vector<QImage> imagenes;
    for (const auto& r : lista) imagenes.push_back(ComponerReversoUsuario(marcador, r.Archivo));
    benchmark::DoNotOptimize(imagenes.data());
  }
}
BENCHMARK(BM_CargarReversos200)->Unit(benchmark::kMillisecond)->Iterations(5);

// The listing at start with a crowded folder: empty files, so only the names count.
void BM_ListarReversos(benchmark::State& estado) {
  static const TCarpetaBench carpeta("cartoval-bench-lista");
  const auto n = static_cast<std::size_t>(estado.range(0));
  carpeta.LlenarReversosVacios(n);
  for (auto _ : estado) {
    const TReversosUsuario lista = CargarReversosUsuario(carpeta.Ruta);
    if (lista.size() != n) estado.SkipWithError("the listing lost files");
    benchmark::DoNotOptimize(lista.data());
  }
}
BENCHMARK(BM_ListarReversos)->Arg(50000)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(1);

// One 1600 x 1200 JPEG, at the size a back needs and at full size.
void BM_DecodificarJpeg1600(benchmark::State& estado) {
  const QByteArray foto = FotoJpeg({1600, 1200}, 1);
  const QSize minimo = estado.range(0) ? QSize(56, 92) : QSize();
  for (auto _ : estado) benchmark::DoNotOptimize(DecodificarJpeg(foto, minimo));
}
BENCHMARK(BM_DecodificarJpeg1600)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

// A hostile back: 8192 x 8192, progressive, a thousand valid scans (about 1.5 MB). The
// decode must stop early instead of running blocks x scans to the end.
void BM_JpegMilEscaneos(benchmark::State& estado) {
  static const QByteArray jpeg = QByteArray::fromStdString(CodificarJpeg(
      8192, 8192, JCS_RGB, 3,
      [](int x, int y, int k) { return static_cast<unsigned char>((x ^ y) + k * 85); }, false, 75, 1000));
  estado.counters["bytes"] = static_cast<double>(jpeg.size());
  for (auto _ : estado) benchmark::DoNotOptimize(DecodificarJpeg(jpeg, {56, 92}));
}
BENCHMARK(BM_JpegMilEscaneos)->Unit(benchmark::kMillisecond)->Iterations(1);

// The end of a won game: ask the position in a full table, then read, insert and write.
void BM_TablaIdaYVuelta(benchmark::State& estado) {
  const TCarpetaBench temporal("cartoval-bench-records");
  const fs::path& carpeta = temporal.Ruta;
  for (int k = 1; k <= 10; ++k)
    GuardarPuntuacion(carpeta, "CuatroReyes", "Jugador", k, static_cast<std::uint16_t>(k * 100),
                      PosicionEnTabla(carpeta, "CuatroReyes", static_cast<std::uint16_t>(k * 100)));
  std::uint16_t puntos = 0;
  for (auto _ : estado) {
    puntos = static_cast<std::uint16_t>((puntos + 137) % 1000);
    const std::uint8_t p = PosicionEnTabla(carpeta, "CuatroReyes", puntos);
    if (p) GuardarPuntuacion(carpeta, "CuatroReyes", "Ganador", 42, puntos, p);
  }
}
BENCHMARK(BM_TablaIdaYVuelta)->Unit(benchmark::kMicrosecond);

// A won game saved into a table that someone grew to 2 GB of holes; the counters give the
// file's size and its blocks on disk after the save.
void BM_GuardarEnTablaDispersa2GB(benchmark::State& estado) {
  const TCarpetaBench temporal("cartoval-bench-dispersa");
  const fs::path& carpeta = temporal.Ruta;
  const fs::path tabla = ArchivoPuntuaciones(carpeta, "CuatroReyes");
  for (int k = 1; k <= 3; ++k)
    GuardarPuntuacion(carpeta, "CuatroReyes", "Jugador", k, static_cast<std::uint16_t>(k * 100),
                      PosicionEnTabla(carpeta, "CuatroReyes", static_cast<std::uint16_t>(k * 100)));
  std::uint16_t puntos = 0;
  for (auto _ : estado) {
    estado.PauseTiming();
    fs::resize_file(tabla, 2ull << 30);
    puntos = static_cast<std::uint16_t>((puntos + 1) % 50);
    const std::uint8_t p = PosicionEnTabla(carpeta, "CuatroReyes", puntos);
    estado.ResumeTiming();
    if (p) GuardarPuntuacion(carpeta, "CuatroReyes", "Ganador", 42, puntos, p);
  }
  struct stat st {};
  ::stat(tabla.c_str(), &st);
  estado.counters["bytes"] = static_cast<double>(st.st_size);
  estado.counters["en_disco"] = static_cast<double>(st.st_blocks) * 512;
}
BENCHMARK(BM_GuardarEnTablaDispersa2GB)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
