#include "play/Configuracion.h"

#include <algorithm>
#include <cstring>
#include <system_error>

#include "play/Archivos.h"

namespace fs = std::filesystem;

std::string TRegistroConfiguracion::ReversoActual() const {
  return std::string(reinterpret_cast<const char*>(Bytes.data() + 1), Bytes[0]);
}

void TRegistroConfiguracion::PonerReversoActual(std::string_view identificador) {
  std::size_t largo = std::min<std::size_t>(identificador.size(), 255);
  Bytes[0] = static_cast<std::uint8_t>(largo);
  std::memcpy(Bytes.data() + 1, identificador.data(), largo);
}

TRegistroConfiguracion LeerConfiguracion(const fs::path& carpeta) {
  TRegistroConfiguracion r;
  const fs::path archivo = carpeta / ArchivoConfiguracion;
  std::error_code ec;
  // A dangling link counts as missing, as it would for a plain existence test.
  if (!fs::exists(archivo, ec)) {
    if (!ec) r.PonerReversoActual(ReversoPredeterminado);
    return r;
  }
  if (auto datos = LeerArchivo(archivo, r.Bytes.size(), carpeta))
    std::memcpy(r.Bytes.data(), datos->data(), datos->size());
  return r;
}

bool GuardarConfiguracion(const fs::path& carpeta, const TRegistroConfiguracion& r) {
  // One fixed-size record: where a rename is not possible it is rewritten in place, and
  // the file is then cut to the record, as creating it anew would leave it.
  return EscribirArchivoAtomico(
      carpeta / ArchivoConfiguracion,
      std::string_view(reinterpret_cast<const char*>(r.Bytes.data()), r.Bytes.size()),
      {.Raiz = carpeta, .EnSitio = true, .DejarResto = false});
}
