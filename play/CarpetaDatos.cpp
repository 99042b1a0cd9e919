#include "play/CarpetaDatos.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <system_error>

namespace fs = std::filesystem;

bool CarpetaEscribible(const fs::path& carpeta) {
  std::error_code ec;
  if (!fs::is_directory(carpeta, ec)) return false;
  std::string plantilla = (carpeta / ".cartoval-escritura-XXXXXX").string();
  const int fd = ::mkstemp(plantilla.data());
  if (fd < 0) return false;
  ::close(fd);
  ::unlink(plantilla.c_str());
  return true;
}

fs::path ElegirCarpetaDatos(const fs::path& programa, const fs::path& instalada,
                            const fs::path& datosUsuario) {
  std::error_code ec;
  const bool esInstalada =
      !instalada.empty() && fs::equivalent(programa, instalada, ec) && !ec;
  if (!esInstalada && CarpetaEscribible(programa)) return programa;
  fs::create_directories(datosUsuario, ec);
  return datosUsuario;
}

fs::path CarpetaDatosUsuario() {
  const char* xdg = std::getenv("XDG_DATA_HOME");
  if (xdg && fs::path(xdg).is_absolute()) return fs::path(xdg) / "cartoval";
  const char* casa = std::getenv("HOME");
  if (casa && *casa) return fs::path(casa) / ".local" / "share" / "cartoval";
  return {};
}
