#pragma once
// What the fuzz targets share: a failure that stops the run with a reason, and a private
// folder for the targets that must go through real files.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>

namespace fuzz {

// libFuzzer keeps the input that got here as a crash artifact.
[[noreturn]] inline void Fallar(std::string_view motivo) {
  std::fprintf(stderr, "FALLA: %.*s\n", static_cast<int>(motivo.size()), motivo.data());
  std::abort();
}

inline void Exigir(bool condicion, std::string_view motivo) {
  if (!condicion) Fallar(motivo);
}

// One folder per process, in memory when the system has one, removed at exit.
inline const std::filesystem::path& CarpetaPropia() {
  struct TCarpeta {
    std::filesystem::path Ruta;
    TCarpeta() {
      std::error_code ec;
      std::filesystem::path base = "/dev/shm";
      if (!std::filesystem::is_directory(base, ec)) base = std::filesystem::temp_directory_path();
      Ruta = base / ("cartoval-fuzz-" + std::to_string(::getpid()));
      std::filesystem::remove_all(Ruta, ec);
      std::filesystem::create_directories(Ruta, ec);
    }
    ~TCarpeta() {
      std::error_code ec;
      std::filesystem::remove_all(Ruta, ec);
    }
  };
  static TCarpeta carpeta;
  return carpeta.Ruta;
}

}  // namespace fuzz
