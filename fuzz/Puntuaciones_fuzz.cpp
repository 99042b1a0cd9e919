// The score-file reader on any bytes, then a result entered where the reader placed it.
// Input: 2 bytes of points, 4 of game number, a name length byte, the name (UTF-8 as
// typed, possibly broken), and the rest is the score file as it lies on disk.
#include <cstdint>
#include <cstring>
#include <fstream>
#include <string>

#include "fuzz/Comun.h"
#include "scores/AdminPuntuaciones.h"

namespace fs = std::filesystem;

namespace {

bool Utf8Valido(const std::string& s) {
  return Latin1DesdeUtf8(s).size() <= s.size() && Utf8DesdeLatin1(Latin1DesdeUtf8(s)) == s;
}

std::uintmax_t Tamanno(const fs::path& p) {
  std::error_code ec;
  const auto t = fs::file_size(p, ec);
  return ec ? 0 : t;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* datos, std::size_t largo) {
  if (largo < 7) return 0;
  const auto puntos = static_cast<std::uint16_t>(datos[0] | datos[1] << 8);
  std::int32_t nro;
  std::memcpy(&nro, datos + 2, 4);
  const std::size_t largoNombre = std::min<std::size_t>(datos[6], largo - 7);
  const std::string nombre(reinterpret_cast<const char*>(datos + 7), largoNombre);
  const std::string_view archivo(reinterpret_cast<const char*>(datos + 7 + largoNombre),
                                 largo - 7 - largoNombre);

  const fs::path& carpeta = fuzz::CarpetaPropia();
  const std::string clave = "CuatroReyes";
  CrearCarpetaRecords(carpeta);
  const fs::path ruta = ArchivoPuntuaciones(carpeta, clave);
  {
    std::ofstream f(ruta, std::ios::binary | std::ios::trunc);
    f.write(archivo.data(), static_cast<std::streamsize>(archivo.size()));
    fuzz::Exigir(static_cast<bool>(f), "no se pudo escribir el archivo de prueba");
  }

  const auto filas = CargarPuntuaciones(carpeta, clave);
  const std::size_t esperadas = std::min(archivo.size(), TamannoBloque) / TamannoPuntuacion;
  fuzz::Exigir(filas.size() == esperadas, "cantidad de filas leídas");
  for (const auto& f : filas) {
    fuzz::Exigir(Utf8Valido(f.Nombre), "nombre leído no es UTF-8");
    fuzz::Exigir(Latin1DesdeUtf8(f.Nombre).size() <= MaxNombre, "nombre leído demasiado largo");
  }

  const std::uint8_t pos = PosicionEnTabla(carpeta, clave, puntos);
  fuzz::Exigir(pos <= filas.size() + 1 && pos <= MaxPuntuaciones, "posición fuera de la tabla");
  if (pos == 0) {
    fuzz::Exigir(filas.size() == MaxPuntuaciones && puntos >= filas.back().Puntos,
                 "resultado rechazado que entraba");
  } else {
    if (pos > 1) fuzz::Exigir(puntos >= filas[pos - 2u].Puntos, "posición antes de un resultado mejor");
    if (pos <= filas.size()) fuzz::Exigir(puntos < filas[pos - 1u].Puntos, "posición tras un resultado peor");
  }

  const bool guardado = GuardarPuntuacion(carpeta, clave, nombre, nro, puntos, pos);
  fuzz::Exigir(guardado == (pos != 0), "guardar no hizo lo que la posición pedía");
  const auto despues = CargarPuntuaciones(carpeta, clave);
  if (!guardado) {
    fuzz::Exigir(despues.size() == filas.size(), "la tabla cambió sin guardar");
    return 0;
  }
  const std::size_t n = std::min(filas.size() + 1, MaxPuntuaciones);
  fuzz::Exigir(despues.size() == n, "cantidad tras guardar");
  // The new file holds the table and nothing else: bytes past it are never copied.
  fuzz::Exigir(Tamanno(ruta) == n * TamannoPuntuacion, "tamaño del archivo tras guardar");
  const TFilaPuntuacion& nueva = despues[pos - 1u];
  fuzz::Exigir(nueva.Puntos == puntos && nueva.NroJuego == nro, "resultado guardado");
  fuzz::Exigir(nueva.Nombre == Utf8DesdeLatin1(Latin1DesdeUtf8(nombre).substr(0, MaxNombre)),
               "nombre guardado");
  for (std::size_t k = 0; k < n; ++k) {
    if (k + 1 == pos) continue;
    const TFilaPuntuacion& viejo = filas[k < pos - 1u ? k : k - 1];
    fuzz::Exigir(despues[k].Puntos == viejo.Puntos && despues[k].NroJuego == viejo.NroJuego &&
                     despues[k].Nombre == viejo.Nombre,
                 "otro resultado cambió al guardar");
  }
  return 0;
}
