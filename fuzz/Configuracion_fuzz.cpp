// The settings-record reader on any file, and the record written back byte for byte.
#include <cstdint>
#include <cstring>
#include <fstream>
#include <string>

#include "fuzz/Comun.h"
#include "play/Configuracion.h"

namespace fs = std::filesystem;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* datos, std::size_t largo) {
  const fs::path& carpeta = fuzz::CarpetaPropia();
  const fs::path ruta = carpeta / ArchivoConfiguracion;
  {
    std::ofstream f(ruta, std::ios::binary | std::ios::trunc);
    f.write(reinterpret_cast<const char*>(datos), static_cast<std::streamsize>(largo));
    fuzz::Exigir(static_cast<bool>(f), "no se pudo escribir el archivo de prueba");
  }

  const TRegistroConfiguracion r = LeerConfiguracion(carpeta);
  const std::size_t leidos = std::min<std::size_t>(largo, r.Bytes.size());
  fuzz::Exigir(std::memcmp(r.Bytes.data(), datos, leidos) == 0, "el registro no es el archivo");
  for (std::size_t i = leidos; i < r.Bytes.size(); ++i)
    fuzz::Exigir(r.Bytes[i] == 0, "bytes tras un archivo corto");
  const std::string reverso = r.ReversoActual();
  fuzz::Exigir(reverso.size() == r.Bytes[0], "largo del reverso");

  fuzz::Exigir(GuardarConfiguracion(carpeta, r), "no se pudo guardar");
  const TRegistroConfiguracion otra = LeerConfiguracion(carpeta);
  fuzz::Exigir(otra.Bytes == r.Bytes, "el registro guardado no se lee igual");

  // The same bytes as a new identifier: cut to 255, the rest of the record kept.
  TRegistroConfiguracion nuevo = r;
  const std::string_view id(reinterpret_cast<const char*>(datos), largo);
  nuevo.PonerReversoActual(id);
  const std::size_t corto = std::min<std::size_t>(largo, 255);
  fuzz::Exigir(nuevo.ReversoActual() == id.substr(0, corto), "identificador puesto");
  fuzz::Exigir(std::memcmp(nuevo.Bytes.data() + 1 + corto, r.Bytes.data() + 1 + corto, 255 - corto) == 0,
               "bytes tras el identificador");
  return 0;
}
