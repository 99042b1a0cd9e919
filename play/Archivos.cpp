#include "play/Archivos.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>
#include <utility>
#include <vector>

namespace fs = std::filesystem;

fs::path CarpetaPrograma() {
  std::error_code ec;
  fs::path exe = fs::read_symlink("/proc/self/exe", ec);
  if (ec || exe.empty()) return fs::current_path(ec);
  return exe.parent_path();
}

std::optional<std::string> LeerArchivo(const fs::path& archivo, std::size_t maximo) {
  // Opened without blocking and checked once open, so that a pipe put in the file's place
  // between a check and the open cannot hang the program.
  int fd = ::open(archivo.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return std::nullopt;
  struct stat st {};
  std::optional<std::string> datos;
  if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode)) {
    datos.emplace(maximo, '\0');
    std::size_t leidos = 0;
    while (leidos < maximo) {
      ssize_t n = ::read(fd, datos->data() + leidos, maximo - leidos);
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) {
        datos.reset();
        break;
      }
      if (n == 0) break;
      leidos += static_cast<std::size_t>(n);
    }
    if (datos) datos->resize(leidos);
  }
  ::close(fd);
  return datos;
}

namespace {

TFallaEscritura& FallaEscritura() {
  static TFallaEscritura falla;
  return falla;
}

// Whether a test asked this step to fail; errno then reads as the system's own refusal.
bool Falla(TPasoEscritura paso, const fs::path& destino) {
  const TFallaEscritura& falla = FallaEscritura();
  if (!falla || !falla(paso, destino)) return false;
  errno = paso == TPasoEscritura::Escribir ? ENOSPC : EROFS;
  return true;
}

bool EscribirTodo(int fd, const char* p, std::size_t n, const fs::path& destino) {
  while (n > 0) {
    if (Falla(TPasoEscritura::Escribir, destino)) return false;
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
      if (!EscribirTodo(fd, trozo.data(), static_cast<std::size_t>(leido), viejo)) {
        ok = false;
        break;
      }
    }
  }
  ::close(origen);
  return ok;
}

// The umask, for the mode of a file that did not exist.
mode_t ModoPorOmision() {
  mode_t mascara = ::umask(0);
  ::umask(mascara);
  return 0666 & ~mascara;
}

// Makes the rename itself survive a crash; a folder that cannot be synced changes nothing.
void SincronizarCarpeta(const fs::path& carpeta) {
  int fd = ::open(carpeta.empty() ? "." : carpeta.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

}  // namespace

void PonerFallaEscritura(TFallaEscritura falla) { FallaEscritura() = std::move(falla); }

bool EscribirArchivoAtomico(const fs::path& destino, std::string_view datos, bool conservarResto) {
  struct stat viejo {};
  const bool hayViejo = ::stat(destino.c_str(), &viejo) == 0;
  // A folder or a pipe in the file's place, or a file the player marked read-only, stays.
  if (hayViejo && (!S_ISREG(viejo.st_mode) || (viejo.st_mode & 0222) == 0)) return false;
  fs::path carpeta = destino.parent_path();
  std::string temporal = destino.filename().string();
  temporal.insert(0, 1, '.');
  temporal.append(".XXXXXX");
  std::string plantilla = (carpeta / temporal).string();
  if (Falla(TPasoEscritura::CrearTemporal, destino)) return false;
  int fd = ::mkstemp(plantilla.data());
  if (fd < 0) return false;
  bool ok = EscribirTodo(fd, datos.data(), datos.size(), destino);
  if (ok && conservarResto) ok = CopiarResto(fd, destino, datos.size());
  ok = ok && ::fchmod(fd, hayViejo ? (viejo.st_mode & 07777) : ModoPorOmision()) == 0;
  ok = ok && !Falla(TPasoEscritura::Sincronizar, destino) && ::fsync(fd) == 0;
  ok = (::close(fd) == 0) && ok;
  ok = ok && !Falla(TPasoEscritura::Renombrar, destino) &&
       ::rename(plantilla.c_str(), destino.c_str()) == 0;
  if (!ok) ::unlink(plantilla.c_str());
  if (ok) SincronizarCarpeta(carpeta);
  return ok;
}
