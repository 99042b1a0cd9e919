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
std::optional<std::string> LeerArchivo(const std::filesystem::path& archivo, std::size_t maximo);

// Replaces `destino` by `datos` through a temporary file in the same folder and a rename,
// so that a failure at any step leaves the old file whole. With `conservarResto`, the old
// file's bytes past datos.size() follow the new ones, as an in-place rewrite from the start
// would have left them. Only a regular file is replaced, and never one marked read-only
// (no write permission for anyone), which root could otherwise overwrite. False when
// nothing was replaced.
bool EscribirArchivoAtomico(const std::filesystem::path& destino, std::string_view datos,
                            bool conservarResto = false);

// The steps of EscribirArchivoAtomico that the system can refuse.
enum class TPasoEscritura { CrearTemporal, Escribir, Sincronizar, Renombrar };
// When set, asked before each step (before every write call for Escribir): true makes the
// step fail as the system would. Tests use it because file permissions do not stop root;
// the program never sets it. An empty function removes it.
using TFallaEscritura = std::function<bool(TPasoEscritura paso, const std::filesystem::path& destino)>;
void PonerFallaEscritura(TFallaEscritura falla);
