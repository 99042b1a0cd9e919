#pragma once
// The games in progress the player left: one per game, kept in one small versioned JSON
// file in the folder of the player's files. The game number and the step log rebuild the
// table; the minutes, the aid flag, what the solver proved of the deal, the joined actions
// and what redo may repeat are what the steps do not hold.
#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/Mesa.h"

inline constexpr const char* ArchivoPartidas = "Partidas.json";
inline constexpr int VersionPartidas = 1;

struct TPartidaGuardada {
  std::int32_t Numero = 0;
  std::vector<std::string> Pasos;  // in the table tool's step language
  std::uint16_t Minutos = 0;
  bool AyudaUsada = false;
  // The solver proved the deal itself ganable; the statistics counted it so.
  bool RepartoGanable = false;
  // The table's PasosUnidos: the steps whose action undo takes back with the one before.
  std::vector<std::size_t> Unidos{};
  // What redo could repeat when the game was left; none in files of older programs, whose
  // replayed steps give what they can.
  std::optional<std::vector<TMesa::TPorRehacer>> PorRehacer{};
  bool operator==(const TPartidaGuardada&) const = default;
};

// By game key.
using TPartidasGuardadas = std::map<std::string, TPartidaGuardada>;

std::string PartidasEnJson(const TPartidasGuardadas& partidas);
// A file that is not ours, of another version, or damaged in any field reads as no saved
// game at all; a game whose fields or steps are not valid is left out.
TPartidasGuardadas LeerPartidasJson(std::string_view datos);

TPartidasGuardadas LeerPartidas(const std::filesystem::path& carpeta);
std::optional<TPartidaGuardada> LeerPartida(const std::filesystem::path& carpeta,
                                            const std::string& clave);
// Replaces the game's saved game, or removes it (none); written atomically. False when
// the file could not be written.
bool GuardarPartida(const std::filesystem::path& carpeta, const std::string& clave,
                    const std::optional<TPartidaGuardada>& partida);
