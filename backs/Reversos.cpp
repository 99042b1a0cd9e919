#include "backs/Reversos.h"

#include <algorithm>
#include <array>
#include <system_error>

namespace fs = std::filesystem;

namespace {

constexpr std::array<std::string_view, 4> Extensiones = {".BMP", ".JPG", ".JPE", ".JPEG"};

}  // namespace

std::string MayusculasArchivo(std::string_view s) {
  std::string r(s);
  for (std::size_t i = 0; i < r.size(); ++i) {
    auto c = static_cast<unsigned char>(r[i]);
    if (c >= 'a' && c <= 'z') {
      r[i] = static_cast<char>(c - 32);
    } else if (c == 0xC3 && i + 1 < r.size()) {
      // U+00E0..U+00FE except U+00F7 (division sign): the second byte 0xA0..0xBE.
      auto d = static_cast<unsigned char>(r[i + 1]);
      if (d >= 0xA0 && d <= 0xBE && d != 0xB7) r[i + 1] = static_cast<char>(d - 0x20);
      ++i;
    }
  }
  return r;
}

int PatronReverso(std::string_view nombre) {
  // "*.jpg" must not take "x.jpeg": the whole extension is compared, as a pattern match would.
  const std::string mayus = MayusculasArchivo(nombre);
  for (std::size_t k = 0; k < Extensiones.size(); ++k) {
    const auto& ext = Extensiones[k];
    if (mayus.size() >= ext.size() && mayus.compare(mayus.size() - ext.size(), ext.size(), ext) == 0)
      return static_cast<int>(k);
  }
  return -1;
}

TReversosUsuario CargarReversosUsuario(const fs::path& carpetaPrograma, std::size_t maximo) {
  TReversosUsuario lista;
  const fs::path carpeta = carpetaPrograma / CarpetaReversos;
  // One listing serves the four patterns; each keeps the file system's order.
  std::vector<std::pair<int, std::string>> vistos;
  std::error_code ec;
  for (fs::directory_iterator it(carpeta, ec), fin;
       !ec && it != fin && vistos.size() < maximo; it.increment(ec)) {
    std::string nombre = it->path().filename().string();
    int patron = PatronReverso(nombre);
    if (patron >= 0) vistos.emplace_back(patron, std::move(nombre));
  }
  // In the order of discovery, then turned round once: the same newest-first list as
  // putting each entry at the head, without moving the whole list for every entry.
  lista.reserve(vistos.size());
  for (int patron = 0; patron < static_cast<int>(Extensiones.size()); ++patron)
    for (const auto& [p, nombre] : vistos)
      if (p == patron) lista.push_back(TReversoUsuario{(carpeta / nombre).string()});
  std::reverse(lista.begin(), lista.end());
  return lista;
}

const TReversoUsuario* BuscarReversoUsuario(const TReversosUsuario& lista,
                                            std::string_view reversoActual) {
  const std::string buscado = MayusculasArchivo(reversoActual);
  for (const auto& r : lista)
    if (MayusculasArchivo(r.Archivo) == buscado) return &r;
  return nullptr;
}

TEleccionReverso ImagenReverso(const TReversosUsuario& lista, std::string_view reversoActual) {
  for (std::size_t k = 0; k < 4; ++k)
    if (reversoActual == ReversosPredisennados[k]) return {TClaseReverso::Predisennado, k};
  if (const TReversoUsuario* r = BuscarReversoUsuario(lista, reversoActual))
    return {TClaseReverso::Usuario, static_cast<std::size_t>(r - lista.data())};
  return {TClaseReverso::Marcador, 0};
}
