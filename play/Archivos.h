#pragma once
// Files in the program's folder: where that folder is, whole-file reads and writes that
// never leave a half-written file behind.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

// The folder of the running executable (the target of /proc/self/exe); the current
// directory when that cannot be read.
std::filesystem::path CarpetaPrograma();

// Up to `maximo` bytes from the start of a regular file; none when it cannot be opened
// or read. Anything that is not a regular file (a folder, a pipe) counts as unreadable,
// so that a stray name can never block the program.
std::optional<std::string> LeerArchivo(const std::filesystem::path& archivo, std::size_t maximo);

// Replaces `destino` by `datos` through a temporary file in the same folder and a rename,
// so that a failure at any step leaves the old file whole. With `conservarResto`, the old
// file's bytes past datos.size() follow the new ones, as an in-place rewrite from the start
// would have left them. False when nothing was replaced.
bool EscribirArchivoAtomico(const std::filesystem::path& destino, std::string_view datos,
                            bool conservarResto = false);
