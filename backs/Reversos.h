#pragma once
// Card backs without the pictures: the player's back files found in Reversos/ and which
// picture a face-down card shows for `ReversoActual`.
#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

inline constexpr const char* CarpetaReversos = "Reversos";
// The identifiers of built-in backs 1 to 4.
inline constexpr const char* ReversosPredisennados[4] = {
    "k58203361Defecto1", "k58203361Defecto2", "k58203361Defecto3", "k58203361Defecto4"};

struct TReversoUsuario {
  std::string Archivo;  // full path: the program's folder, "Reversos", the name as found
};

// Newest first: the patterns "*.bmp", "*.jpg", "*.jpe", "*.jpeg" are taken in this order,
// each in the order the file system lists the folder, and every entry goes to the head.
using TReversosUsuario = std::vector<TReversoUsuario>;

// Whether a name matches one of the patterns above, ignoring the case of its letters;
// 0..3 for the pattern, -1 for none.
int PatronReverso(std::string_view nombre);

// A folder holding more pictures than this is listed only up to this many (in the file
// system's order); beyond it no player is served and start-up would only slow down.
inline constexpr std::size_t ReversosUsuarioMaximos = 100000;

// Empty without a Reversos folder.
TReversosUsuario CargarReversosUsuario(const std::filesystem::path& carpetaPrograma,
                                       std::size_t maximo = ReversosUsuarioMaximos);

// Upper-cases ASCII and the Latin-1 letters of a UTF-8 string; other bytes stay as they are.
std::string MayusculasArchivo(std::string_view texto);
// The first entry from the head whose path equals the identifier ignoring case; none
// when nothing matches.
const TReversoUsuario* BuscarReversoUsuario(const TReversosUsuario& lista,
                                            std::string_view reversoActual);

enum class TClaseReverso { Predisennado, Usuario, Marcador };
struct TEleccionReverso {
  TClaseReverso Clase = TClaseReverso::Marcador;
  std::size_t Indice = 0;  // built-in 0..3, or the user back's place in the list
  bool operator==(const TEleccionReverso&) const = default;
};
// The picture for face-down cards: a built-in back by its exact identifier, a user back by
// its path in any letter case, else the placeholder.
TEleccionReverso ImagenReverso(const TReversosUsuario& lista, std::string_view reversoActual);
