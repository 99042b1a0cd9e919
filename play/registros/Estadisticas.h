#pragma once
// How the player does at each game: deals played and won, winning streaks, the best
// points, the fewest moves and the shortest time of the wins, and the points of the last
// wins; of the deals the solver proved ganable from the deal, how many were won. Kept in
// one versioned JSON file in the folder of the player's files.
#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

inline constexpr const char* ArchivoEstadisticas = "Estadisticas.json";
// 2: the counts of the ganable deals.
inline constexpr int VersionEstadisticas = 2;
// Wins whose points the chart shows.
inline constexpr std::size_t kUltimosGanados = 20;

struct TEstadisticaJuego {
  std::uint32_t Jugados = 0;
  std::uint32_t Ganados = 0;
  std::uint32_t RachaActual = 0;
  std::uint32_t RachaMaxima = 0;
  // Played deals whose verdict from the deal was ganable, and those of them won.
  std::uint32_t Ganables = 0;
  std::uint32_t GanadosGanables = 0;
  std::optional<std::uint16_t> MejoresPuntos;  // fewest; none before the first win
  std::optional<std::uint16_t> MenosMovimientos;
  std::optional<std::uint16_t> MenorTiempo;  // minutes
  std::vector<std::uint16_t> UltimosPuntos;  // oldest first, at most kUltimosGanados
  bool operator==(const TEstadisticaJuego&) const = default;
};

// By game key.
using TEstadisticas = std::map<std::string, TEstadisticaJuego>;

// Whole percent of deals won, rounded down; none before the first deal.
std::optional<int> PorcentajeGanados(const TEstadisticaJuego& e);

// Whole percent of the ganable deals won, rounded down; none before the first such deal.
std::optional<int> PorcentajeGanadosGanables(const TEstadisticaJuego& e);

// A deal counts as played once the player has made a move in it.
void ContarJugado(TEstadisticaJuego& e);
// A win counts as it happens; a deal won before anything counted it also counts as played.
void ContarGanado(TEstadisticaJuego& e, bool yaContado, std::uint16_t puntos,
                  std::uint16_t movimientos, std::uint16_t minutos);
// A played deal that the solver proved ganable from the deal: once per deal, whether the
// proof came before or after its first move. Its win counts once more.
void ContarGanable(TEstadisticaJuego& e);
void ContarGanadoGanable(TEstadisticaJuego& e);
// A played deal left without a win ends the streak.
void ContarAbandono(TEstadisticaJuego& e);

std::string EstadisticasEnJson(const TEstadisticas& estadisticas);
// Damaged, foreign or of a version this program does not know: empty figures. Files of
// version 1 read with no ganable deals. Each game's fields are checked;
// a game with a field out of range is left out.
TEstadisticas LeerEstadisticasJson(std::string_view datos);

TEstadisticas LeerEstadisticas(const std::filesystem::path& carpeta);
// Written atomically; false when the file could not be written.
bool GuardarEstadisticas(const std::filesystem::path& carpeta, const TEstadisticas& e);
