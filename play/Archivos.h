#pragma once
// Files in the program's folder: where that folder is, whole-file reads and writes that
// never leave a half-written file behind.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

// The folder of the running executable (the target of /proc/self/exe); the current
// directory when that cannot be read.
std::filesystem::path CarpetaPrograma();

// Up to `maximo` bytes from the start of a regular file; none when it cannot be opened
// or read. Anything that is not a regular file (a folder, a pipe) counts as unreadable,
// so that a stray name can never block the program, even one swapped in after a check.
// So does a file that lies outside `raiz` once symbolic links are followed (an empty
// `raiz` stands for the file's own folder): a link never brings in another file's bytes.
std::optional<std::string> LeerArchivo(const std::filesystem::path& archivo, std::size_t maximo,
                                       const std::filesystem::path& raiz = {});

struct TOpcionesEscritura {
  // A symbolic link in the file's place is followed only to a file inside this folder,
  // and then that file is written and the link stays; a link that leads out of it, or to
  // nothing, is left alone. Empty: the file's own folder.
  std::filesystem::path Raiz;
  // For a fixed-size record that may also be rewritten in place, where a rename would
  // not do: a folder that refuses the temporary file, a file of another owner that a
  // rename would hand over to the player, a file with hard links that a rename would
  // break. Without it, only the rename is tried.
  bool EnSitio = false;
  // In place, the bytes past the new ones stay as they lie; otherwise the file is cut to
  // the new bytes. (A rename always leaves exactly the new bytes.)
  bool DejarResto = false;
};

// Replaces `destino` by `datos` through a temporary file in the same folder and a rename,
// so that a failure at any step leaves the old file whole; the file keeps its mode, owner
// and group. Only a regular file is replaced, and never one marked read-only (no write
// permission for anyone), which root could otherwise overwrite. False when nothing was
// written.
bool EscribirArchivoAtomico(const std::filesystem::path& destino, std::string_view datos,
                            const TOpcionesEscritura& opciones = {});

// The steps of EscribirArchivoAtomico that the system can refuse. Escribir and
// Sincronizar are asked in an in-place write too.
enum class TPasoEscritura { CrearTemporal, Escribir, Sincronizar, Renombrar };
// When set, asked before each step (before every write call for Escribir): true makes the
// step fail as the system would. Tests use it because file permissions do not stop root;
// the program never sets it. An empty function removes it.
using TFallaEscritura = std::function<bool(TPasoEscritura paso, const std::filesystem::path& destino)>;
void PonerFallaEscritura(TFallaEscritura falla);
