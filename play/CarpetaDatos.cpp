#include "play/CarpetaDatos.h"

#include <fcntl.h>
#include <unistd.h>

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
