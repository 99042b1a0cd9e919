#pragma once
// The settings file "ZARP.bin": one 256-byte record holding the chosen card back,
// `ReversoActual`, as a length byte and 255 character bytes.
#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

inline constexpr const char* ArchivoConfiguracion = "ZARP.bin";
inline constexpr const char* ReversoPredeterminado = "k58203361Defecto1";

struct TRegistroConfiguracion {
  // Byte 0 the length, then the identifier's bytes (the file system's own bytes for a
  // path). The bytes past the length have no meaning but are written back as they lie.
  std::array<std::uint8_t, 256> Bytes{};

  std::string ReversoActual() const;
  // Cut to 255 bytes; the bytes past the new length keep what they held.
  void PonerReversoActual(std::string_view identificador);
};

// Missing file: the first built-in back. A file that exists but cannot be read: an empty
// identifier. A short file fills the start of the record, a long one gives its first
// 256 bytes.
TRegistroConfiguracion LeerConfiguracion(const std::filesystem::path& carpeta);
// The record byte for byte; false when it could not be written (the choice is then lost).
bool GuardarConfiguracion(const std::filesystem::path& carpeta, const TRegistroConfiguracion& r);
