#include "play/Archivos.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <system_error>
#include <utility>

namespace fs = std::filesystem;

fs::path CarpetaPrograma() {
  std::error_code ec;
  fs::path exe = fs::read_symlink("/proc/self/exe", ec);
  if (ec || exe.empty()) return fs::current_path(ec);
  return exe.parent_path();
}

namespace {

// Whether `ruta` lies in `raiz` or below it; both canonical.
bool Contiene(const fs::path& raiz, const fs::path& ruta) {
  auto p = ruta.begin();
  for (const fs::path& parte : raiz) {
    if (p == ruta.end() || *p != parte) return false;
    ++p;
  }
  return true;
}

fs::path CarpetaDe(const fs::path& archivo) {
  fs::path carpeta = archivo.parent_path();
  return carpeta.empty() ? fs::path(".") : carpeta;
}

std::optional<fs::path> RaizCanonica(const fs::path& archivo, const fs::path& raiz) {
  std::error_code ec;
  fs::path r = fs::canonical(raiz.empty() ? CarpetaDe(archivo) : raiz, ec);
  if (ec) return std::nullopt;
  return r;
}

// The file that `archivo` names with every link on the way followed, when that lies in
// `raiz`; for a missing file, its name in the real folder. None for a link to nothing.
std::optional<fs::path> Resolver(const fs::path& archivo, const fs::path& raiz) {
  std::error_code ec;
  fs::path real;
  struct stat st {};
  if (::lstat(archivo.c_str(), &st) == 0) {
    real = fs::canonical(archivo, ec);
  } else if (errno == ENOENT) {
    real = fs::canonical(CarpetaDe(archivo), ec) / archivo.filename();
  } else {
    return std::nullopt;
  }
  if (ec || !Contiene(raiz, real)) return std::nullopt;
  return real;
}

// The check after the open: links swapped in after Resolver looked cannot lead outside
// either. Without /proc the check before the open stands alone.
bool AbiertoDentro(int fd, const fs::path& raiz) {
  std::error_code ec;
  const fs::path real = fs::read_symlink("/proc/self/fd/" + std::to_string(fd), ec);
  return ec || Contiene(raiz, real);
}

}  // namespace

std::optional<std::string> LeerArchivo(const fs::path& archivo, std::size_t maximo, const fs::path& raiz) {
  const auto raizReal = RaizCanonica(archivo, raiz);
  const auto ruta = raizReal ? Resolver(archivo, *raizReal) : std::nullopt;
  if (!ruta) return std::nullopt;
  // Opened without blocking and checked once open, so that a pipe put in the file's place
  // between a check and the open cannot hang the program.
  int fd = ::open(ruta->c_str(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC);
  if (fd < 0) return std::nullopt;
  struct stat st {};
  std::optional<std::string> datos;
  if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && AbiertoDentro(fd, *raizReal)) {
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

// Whether the rename may not be the first choice. Root passes every permission check, so
// for root the kernel cannot tell whether the player may write those bytes: root always
// replaces the file (keeping its owner), and never writes through a hard link, which might
// have been made to a file that is not the program's. Anyone else writes in place a file
// of another owner (a rename would hand it over) or one with more names (a rename would
// part them), and the kernel's permission check then decides.
bool EnSitioPrimero(const struct stat& viejo) {
  const uid_t yo = ::geteuid();
  return yo != 0 && (viejo.st_uid != yo || viejo.st_nlink > 1);
}

// The new file gets the old one's owner and group; false when the system refuses them.
bool ConservarDueno(int fd, const struct stat& viejo) {
  struct stat nuevo {};
  if (::fstat(fd, &nuevo) != 0) return false;
  if (nuevo.st_uid == viejo.st_uid && nuevo.st_gid == viejo.st_gid) return true;
  return ::fchown(fd, viejo.st_uid, viejo.st_gid) == 0;
}

// Through a temporary file and a rename; `error` tells why it failed.
bool Reemplazar(const fs::path& ruta, std::string_view datos, const struct stat* viejo, int& error) {
  const fs::path carpeta = CarpetaDe(ruta);
  std::string temporal = ruta.filename().string();
  temporal.insert(0, 1, '.');
  temporal.append(".XXXXXX");
  std::string plantilla = (carpeta / temporal).string();
  if (Falla(TPasoEscritura::CrearTemporal, ruta)) {
    error = errno;
    return false;
  }
  int fd = ::mkstemp(plantilla.data());
  if (fd < 0) {
    error = errno;
    return false;
  }
  bool ok = EscribirTodo(fd, datos.data(), datos.size(), ruta) &&
            (!viejo || ConservarDueno(fd, *viejo)) &&
            ::fchmod(fd, viejo ? (viejo->st_mode & 07777) : ModoPorOmision()) == 0 &&
            !Falla(TPasoEscritura::Sincronizar, ruta) && ::fsync(fd) == 0;
  if (!ok) error = errno;
  if (::close(fd) != 0 && ok) {
    error = errno;
    ok = false;
  }
  if (ok && (Falla(TPasoEscritura::Renombrar, ruta) || ::rename(plantilla.c_str(), ruta.c_str()) != 0)) {
    error = errno;
    ok = false;
  }
  if (!ok) {
    ::unlink(plantilla.c_str());
    return false;
  }
  SincronizarCarpeta(carpeta);
  return true;
}

// The file that was looked at, rewritten from its start. Its blocks are reserved before
// the first byte is written, so that a full disk refuses the write instead of stopping it
// halfway; the records written here are a few hundred bytes at offset 0, within the
// first block, which the disk writes whole.
bool EscribirEnSitio(const fs::path& ruta, std::string_view datos, const struct stat& visto,
                     const fs::path& raiz, bool dejarResto) {
  int fd = ::open(ruta.c_str(), O_WRONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat st {};
  bool ok = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_dev == visto.st_dev &&
            st.st_ino == visto.st_ino && AbiertoDentro(fd, raiz);
  const off_t largo = st.st_size;
  const auto nuevo = static_cast<off_t>(datos.size());
  const bool crece = ok && largo < nuevo;
  if (crece) ok = !Falla(TPasoEscritura::Escribir, ruta) && ::posix_fallocate(fd, 0, nuevo) == 0;
  ok = ok && EscribirTodo(fd, datos.data(), datos.size(), ruta);
  if (ok && !dejarResto && largo > nuevo) ok = ::ftruncate(fd, nuevo) == 0;
  ok = ok && !Falla(TPasoEscritura::Sincronizar, ruta) && ::fdatasync(fd) == 0;
  // Whatever was added for the new bytes goes again, so that no record of zeros is left.
  if (!ok && crece) static_cast<void>(::ftruncate(fd, largo));
  ok = (::close(fd) == 0) && ok;
  return ok;
}

}  // namespace

void PonerFallaEscritura(TFallaEscritura falla) { FallaEscritura() = std::move(falla); }

bool EscribirArchivoAtomico(const fs::path& destino, std::string_view datos,
                            const TOpcionesEscritura& opciones) {
  const auto raiz = RaizCanonica(destino, opciones.Raiz);
  const auto ruta = raiz ? Resolver(destino, *raiz) : std::nullopt;
  if (!ruta) return false;
  struct stat viejo {};
  const bool hayViejo = ::lstat(ruta->c_str(), &viejo) == 0;
  if (!hayViejo && errno != ENOENT) return false;
  // A folder or a pipe in the file's place, or a file the player marked read-only, stays.
  if (hayViejo && (!S_ISREG(viejo.st_mode) || (viejo.st_mode & 0222) == 0)) return false;
  if (hayViejo && opciones.EnSitio && EnSitioPrimero(viejo))
    return EscribirEnSitio(*ruta, datos, viejo, *raiz, opciones.DejarResto);
  int error = 0;
  if (Reemplazar(*ruta, datos, hayViejo ? &viejo : nullptr, error)) return true;
  // A folder the player may not write, or an owner that cannot be kept; not a full disk,
  // where writing in place could stop halfway.
  const bool negado = error == EACCES || error == EPERM;
  return hayViejo && opciones.EnSitio && negado && viejo.st_nlink == 1 &&
         EscribirEnSitio(*ruta, datos, viejo, *raiz, opciones.DejarResto);
}
