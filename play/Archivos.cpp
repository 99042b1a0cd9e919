#include "play/Archivos.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <fstream>
#include <system_error>
#include <vector>

namespace fs = std::filesystem;

fs::path CarpetaPrograma() {
  std::error_code ec;
  fs::path exe = fs::read_symlink("/proc/self/exe", ec);
  if (ec || exe.empty()) return fs::current_path(ec);
  return exe.parent_path();
}

std::optional<std::string> LeerArchivo(const fs::path& archivo, std::size_t maximo) {
  std::error_code ec;
  if (!fs::is_regular_file(archivo, ec)) return std::nullopt;
  std::ifstream f(archivo, std::ios::binary);
  if (!f) return std::nullopt;
  std::string datos(maximo, '\0');
  f.read(datos.data(), static_cast<std::streamsize>(maximo));
  if (f.bad()) return std::nullopt;
  datos.resize(static_cast<std::size_t>(f.gcount()));
  return datos;
}

namespace {

bool EscribirTodo(int fd, const char* p, std::size_t n) {
  while (n > 0) {
    ssize_t hecho = ::write(fd, p, n);
    if (hecho < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    p += hecho;
    n -= static_cast<std::size_t>(hecho);
  }
  return true;
}

// Copies the old file from `desde` on; a missing or shorter old file adds nothing.
bool CopiarResto(int fd, const fs::path& viejo, std::size_t desde) {
  int origen = ::open(viejo.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (origen < 0) return errno == ENOENT;
  struct stat st {};
  bool ok = ::fstat(origen, &st) == 0 && S_ISREG(st.st_mode);
  if (ok && static_cast<std::uint64_t>(st.st_size) > desde &&
      ::lseek(origen, static_cast<off_t>(desde), SEEK_SET) >= 0) {
    std::vector<char> trozo(64 * 1024);
    for (;;) {
      ssize_t leido = ::read(origen, trozo.data(), trozo.size());
      if (leido < 0 && errno == EINTR) continue;
      if (leido < 0) ok = false;
      if (leido <= 0) break;
      if (!EscribirTodo(fd, trozo.data(), static_cast<std::size_t>(leido))) {
        ok = false;
        break;
      }
    }
  }
  ::close(origen);
  return ok;
}

// The mode a newly created file would get: the old file's, else 0666 less the umask.
mode_t ModoNuevo(const fs::path& destino) {
  struct stat st {};
  if (::stat(destino.c_str(), &st) == 0 && S_ISREG(st.st_mode)) return st.st_mode & 07777;
  mode_t mascara = ::umask(0);
  ::umask(mascara);
  return 0666 & ~mascara;
}

}  // namespace

bool EscribirArchivoAtomico(const fs::path& destino, std::string_view datos, bool conservarResto) {
  fs::path carpeta = destino.parent_path();
  std::string temporal = destino.filename().string();
  temporal.insert(0, 1, '.');
  temporal.append(".XXXXXX");
  std::string plantilla = (carpeta / temporal).string();
  int fd = ::mkstemp(plantilla.data());
  if (fd < 0) return false;
  bool ok = EscribirTodo(fd, datos.data(), datos.size());
  if (ok && conservarResto) ok = CopiarResto(fd, destino, datos.size());
  ok = ok && ::fchmod(fd, ModoNuevo(destino)) == 0;
  ok = ok && ::fsync(fd) == 0;
  ok = (::close(fd) == 0) && ok;
  ok = ok && ::rename(plantilla.c_str(), destino.c_str()) == 0;
  if (!ok) ::unlink(plantilla.c_str());
  return ok;
}
