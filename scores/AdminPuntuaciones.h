#pragma once
// The score files: the ten best results of each game in Records/<key>.dat beside the
// program, 28-byte little-endian records, best (lowest points) first, scrambled.
#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

// One record as it lies in the file.
struct TPuntuacion {
  std::uint8_t NombreLargo = 0;           // 0..20
  std::array<std::uint8_t, 20> Nombre{};  // Latin-1; bytes past the length mean nothing
  std::uint8_t Relleno = 0;
  std::uint16_t Puntos = 0;
  std::int32_t NroJuego = 0;
};
inline constexpr std::size_t TamannoPuntuacion = 28;
inline constexpr std::size_t MaxPuntuaciones = 10;
inline constexpr std::size_t TamannoBloque = TamannoPuntuacion * MaxPuntuaciones;  // 280
inline constexpr std::size_t MaxNombre = 20;

// The unscrambled table: room for ten records, of which the first Cantidad were read.
struct TablaPuntuaciones {
  std::array<TPuntuacion, MaxPuntuaciones> Registros{};
  std::uint8_t Cantidad = 0;
};

// A row as the score dialog shows it.
struct TFilaPuntuacion {
  std::uint16_t Puntos = 0;
  std::string Nombre;  // UTF-8
  std::int32_t NroJuego = 0;
};

// Names are single Latin-1 bytes on disk, so a typed character is always one byte.
// Characters outside Latin-1 become "?", and so does each byte of broken UTF-8.
std::string Latin1DesdeUtf8(std::string_view utf8);
std::string Utf8DesdeLatin1(std::string_view latin1);
std::string NombreUtf8(const TPuntuacion& p);

std::filesystem::path CarpetaRecords(const std::filesystem::path& carpetaPrograma);
// Records/<key>.dat; the key is the display name without spaces, accents kept.
std::filesystem::path ArchivoPuntuaciones(const std::filesystem::path& carpetaPrograma,
                                          const std::string& clave);

// One level, silently.
void CrearCarpetaRecords(const std::filesystem::path& carpetaPrograma);
// Scrambles and unscrambles alike: XOR with a key stream that depends only on the place.
void CodificarTabla(std::array<std::uint8_t, TamannoBloque>& bloque);

// The rows in file order; empty when there is no file or it cannot be read.
std::vector<TFilaPuntuacion> CargarPuntuaciones(const std::filesystem::path& carpetaPrograma,
                                                const std::string& clave);
// 1..10, or 0 when the result does not enter. A tie ranks after the stored result.
std::uint8_t PosicionEnTabla(const std::filesystem::path& carpetaPrograma,
                             const std::string& clave, std::uint16_t puntos);
// Inserts at `posicion` (from PosicionEnTabla) and rewrites the file. False when nothing
// was written: position 0, a file that exists but cannot be read, or a failed write.
bool GuardarPuntuacion(const std::filesystem::path& carpetaPrograma, const std::string& clave,
                       const std::string& nombre, std::int32_t nroJuego, std::uint16_t puntos,
                       std::uint8_t posicion);
// Shifts records posicion..9 one place down over the whole block (the tenth is lost) and
// fills record `posicion` (1..10); the count is the caller's.
void InsertarPuntuacion(TablaPuntuaciones& tabla, std::uint8_t posicion, const std::string& nombre,
                        std::uint16_t puntos, std::int32_t nroJuego);
