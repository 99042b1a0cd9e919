#pragma once
// Which folder holds the player's files (settings record, Records/, Reversos/, the game
// in progress, the statistics): decided once, here, for the whole program.
#include <filesystem>

// Whether a file can be created in `carpeta`: tried with a file of its own that is removed
// at once, since permission bits do not stop root and a read-only mount stops everyone.
bool CarpetaEscribible(const std::filesystem::path& carpeta);

// The program's folder while files can be created in it and it is not the folder the
// program was installed to (a portable copy, the build folder); else `datosUsuario`, which
// is created on first use. An empty `instalada` names no installed folder.
std::filesystem::path ElegirCarpetaDatos(const std::filesystem::path& programa,
                                         const std::filesystem::path& instalada,
                                         const std::filesystem::path& datosUsuario);

// $XDG_DATA_HOME/cartoval, or ~/.local/share/cartoval when it is not set (the freedesktop
// rule QStandardPaths follows), for the programs that have no toolkit; empty without a home.
std::filesystem::path CarpetaDatosUsuario();
