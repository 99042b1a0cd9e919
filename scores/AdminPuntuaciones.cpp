#include "scores/AdminPuntuaciones.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <system_error>

#include "play/Archivos.h"

namespace fs = std::filesystem;

namespace {

// Part of the file format: changing any of them makes every stored table unreadable.
constexpr std::uint8_t SemillaClave = 0xA7;
constexpr std::uint8_t ConstanteClave1 = 0x5C;
constexpr std::uint8_t ConstanteClave2 = 0x3B;

using TBloque = std::array<std::uint8_t, TamannoBloque>;

TPuntuacion DecodificarRegistro(const std::uint8_t* b) {
  TPuntuacion p;
  // A damaged length never reaches past the name field, and is written back clamped.
  p.NombreLargo = std::min<std::uint8_t>(b[0], MaxNombre);
  std::memcpy(p.Nombre.data(), b + 1, MaxNombre);
  p.Relleno = b[21];
  p.Puntos = static_cast<std::uint16_t>(b[22] | b[23] << 8);
  p.NroJuego = static_cast<std::int32_t>(static_cast<std::uint32_t>(b[24]) |
                                         static_cast<std::uint32_t>(b[25]) << 8 |
                                         static_cast<std::uint32_t>(b[26]) << 16 |
                                         static_cast<std::uint32_t>(b[27]) << 24);
  return p;
}

void CodificarRegistro(const TPuntuacion& p, std::uint8_t* b) {
  b[0] = p.NombreLargo;
  std::memcpy(b + 1, p.Nombre.data(), MaxNombre);
  b[21] = p.Relleno;
  b[22] = static_cast<std::uint8_t>(p.Puntos);
  b[23] = static_cast<std::uint8_t>(p.Puntos >> 8);
  const auto n = static_cast<std::uint32_t>(p.NroJuego);
  for (int i = 0; i < 4; ++i) b[24 + i] = static_cast<std::uint8_t>(n >> (8 * i));
}

// None when the file cannot be read, or lies outside the program's folder once links are
// followed; a short file gives fewer (or no) records.
std::optional<TablaPuntuaciones> LeerTabla(const fs::path& carpetaPrograma, const fs::path& archivo) {
  auto datos = LeerArchivo(archivo, TamannoBloque, carpetaPrograma);
  if (!datos) return std::nullopt;
  TBloque bloque{};
  std::memcpy(bloque.data(), datos->data(), datos->size());
  CodificarTabla(bloque);
  TablaPuntuaciones t;
  t.Cantidad = static_cast<std::uint8_t>(datos->size() / TamannoPuntuacion);
  for (std::size_t k = 0; k < MaxPuntuaciones; ++k)
    t.Registros[k] = DecodificarRegistro(bloque.data() + k * TamannoPuntuacion);
  return t;
}

bool EscribirTabla(const fs::path& carpetaPrograma, const fs::path& archivo,
                   const TablaPuntuaciones& t) {
  TBloque bloque{};
  for (std::size_t k = 0; k < MaxPuntuaciones; ++k)
    CodificarRegistro(t.Registros[k], bloque.data() + k * TamannoPuntuacion);
  CodificarTabla(bloque);
  // The count only grows, so the records written cover the old ones. Bytes past the tenth
  // record belong to no table: a new file leaves them out, and a rewrite in place (where
  // the folder refuses a new file, or the file is another owner's or has hard links)
  // leaves them as they lie. Either way no more than one table is ever written.
  return EscribirArchivoAtomico(
      archivo,
      std::string_view(reinterpret_cast<const char*>(bloque.data()), t.Cantidad * TamannoPuntuacion),
      {.Raiz = carpetaPrograma, .EnSitio = true, .DejarResto = true});
}

bool Existe(const fs::path& archivo, bool& dudoso) {
  std::error_code ec;
  bool existe = fs::exists(archivo, ec);
  dudoso = static_cast<bool>(ec);
  return existe;
}

}  // namespace

std::string Latin1DesdeUtf8(std::string_view s) {
  std::string r;
  r.reserve(s.size());
  std::size_t i = 0;
  while (i < s.size()) {
    const auto c = static_cast<unsigned char>(s[i]);
    std::size_t largo = c < 0x80 ? 1 : (c & 0xE0) == 0xC0 ? 2 : (c & 0xF0) == 0xE0 ? 3
                                     : (c & 0xF8) == 0xF0 ? 4 : 0;
    char32_t cp = largo == 1 ? c : largo == 2 ? (c & 0x1Fu) : largo == 3 ? (c & 0x0Fu) : (c & 0x07u);
    bool valido = largo != 0 && i + largo <= s.size();
    for (std::size_t k = 1; valido && k < largo; ++k) {
      const auto d = static_cast<unsigned char>(s[i + k]);
      valido = (d & 0xC0) == 0x80;
      cp = (cp << 6) | (d & 0x3Fu);
    }
    // Overlong forms are broken input, not a way to spell a Latin-1 character.
    static constexpr char32_t minimo[] = {0, 0, 0x80, 0x800, 0x10000};
    valido = valido && cp >= minimo[largo] && cp <= 0x10FFFF && (cp < 0xD800 || cp > 0xDFFF);
    if (!valido) {
      r += '?';
      ++i;
      continue;
    }
    r += cp <= 0xFF ? static_cast<char>(cp) : '?';
    i += largo;
  }
  return r;
}

std::string Utf8DesdeLatin1(std::string_view s) {
  std::string r;
  r.reserve(s.size() * 2);
  for (char ch : s) {
    const auto c = static_cast<unsigned char>(ch);
    if (c < 0x80) {
      r += ch;
    } else {
      r += static_cast<char>(0xC0 | (c >> 6));
      r += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return r;
}

std::string NombreUtf8(const TPuntuacion& p) {
  return Utf8DesdeLatin1(std::string_view(reinterpret_cast<const char*>(p.Nombre.data()),
                                          std::min<std::size_t>(p.NombreLargo, MaxNombre)));
}

fs::path CarpetaRecords(const fs::path& carpetaPrograma) { return carpetaPrograma / "Records"; }

fs::path ArchivoPuntuaciones(const fs::path& carpetaPrograma, const std::string& clave) {
  return CarpetaRecords(carpetaPrograma) / (clave + ".dat");
}

void CrearCarpetaRecords(const fs::path& carpetaPrograma) {
  std::error_code ec;
  fs::create_directory(CarpetaRecords(carpetaPrograma), ec);
}

void CodificarTabla(std::array<std::uint8_t, TamannoBloque>& bloque) {
  std::uint8_t clave = SemillaClave;
  for (std::size_t i = 0; i < bloque.size(); ++i) {
    bloque[i] ^= clave;
    clave ^= (i % 2 == 0) ? ConstanteClave1 : ConstanteClave2;
  }
}

std::vector<TFilaPuntuacion> CargarPuntuaciones(const fs::path& carpetaPrograma,
                                                const std::string& clave) {
  CrearCarpetaRecords(carpetaPrograma);
  std::vector<TFilaPuntuacion> filas;
  const auto tabla = LeerTabla(carpetaPrograma, ArchivoPuntuaciones(carpetaPrograma, clave));
  if (!tabla) return filas;
  for (std::size_t k = 0; k < tabla->Cantidad; ++k) {
    const TPuntuacion& p = tabla->Registros[k];
    filas.push_back({p.Puntos, NombreUtf8(p), p.NroJuego});
  }
  return filas;
}

std::uint8_t PosicionEnTabla(const fs::path& carpetaPrograma, const std::string& clave,
                             std::uint16_t puntos) {
  CrearCarpetaRecords(carpetaPrograma);
  const auto tabla = LeerTabla(carpetaPrograma, ArchivoPuntuaciones(carpetaPrograma, clave));
  std::size_t n = tabla ? tabla->Cantidad : 0;
  while (n >= 1 && puntos < tabla->Registros[n - 1].Puntos) --n;
  if (n == 0) return 1;
  return n < MaxPuntuaciones ? static_cast<std::uint8_t>(n + 1) : 0;
}

bool GuardarPuntuacion(const fs::path& carpetaPrograma, const std::string& clave,
                       const std::string& nombre, std::int32_t nroJuego, std::uint16_t puntos,
                       std::uint8_t posicion) {
  CrearCarpetaRecords(carpetaPrograma);
  const fs::path archivo = ArchivoPuntuaciones(carpetaPrograma, clave);
  bool dudoso = false;
  if (!Existe(archivo, dudoso)) {
    if (dudoso) return false;
    TablaPuntuaciones nueva;
    InsertarPuntuacion(nueva, 1, nombre, puntos, nroJuego);
    nueva.Cantidad = 1;
    return EscribirTabla(carpetaPrograma, archivo, nueva);
  }
  if (posicion == 0) return false;
  // A table that exists but cannot be read is left alone rather than replaced.
  auto tabla = LeerTabla(carpetaPrograma, archivo);
  if (!tabla) return false;
  // Never leave a gap of meaningless records before the new one, should the file have
  // shrunk since the position was asked.
  const auto p = static_cast<std::uint8_t>(
      std::min<std::size_t>({posicion, tabla->Cantidad + 1u, MaxPuntuaciones}));
  InsertarPuntuacion(*tabla, p, nombre, puntos, nroJuego);
  if (tabla->Cantidad < MaxPuntuaciones) ++tabla->Cantidad;
  return EscribirTabla(carpetaPrograma, archivo, *tabla);
}

void InsertarPuntuacion(TablaPuntuaciones& tabla, std::uint8_t posicion, const std::string& nombre,
                        std::uint16_t puntos, std::int32_t nroJuego) {
  if (posicion < 1 || posicion > MaxPuntuaciones) return;
  for (std::size_t k = MaxPuntuaciones - 1; k >= posicion; --k) tabla.Registros[k] = tabla.Registros[k - 1];
  TPuntuacion& r = tabla.Registros[posicion - 1u];
  const std::string latin1 = Latin1DesdeUtf8(nombre).substr(0, MaxNombre);
  r.NombreLargo = static_cast<std::uint8_t>(latin1.size());
  r.Nombre.fill(0);
  std::memcpy(r.Nombre.data(), latin1.data(), latin1.size());
  r.Relleno = 0;
  r.Puntos = puntos;
  r.NroJuego = nroJuego;
}
