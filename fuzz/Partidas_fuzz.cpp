// The reader of kept games in progress and of the statistics on any bytes: what it keeps
// is valid, written back it reads the same, and every kept game of a known key replays on
// a table as the game window continues it.
#include <cstdint>
#include <string_view>

#include "fuzz/Comun.h"
#include "games/Registro.h"
#include "play/registros/Estadisticas.h"
#include "play/registros/PartidaGuardada.h"
#include "tools/Pasos.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* datos, std::size_t largo) {
  const std::string_view texto(reinterpret_cast<const char*>(datos), largo);

  const TPartidasGuardadas partidas = LeerPartidasJson(texto);
  fuzz::Exigir(LeerPartidasJson(PartidasEnJson(partidas)) == partidas,
               "las partidas escritas no se leen igual");
  for (const auto& [clave, p] : partidas) {
    fuzz::Exigir(!clave.empty(), "clave vacía");
    const TJuegoRegistrado* juego = BuscarRegistro(clave);
    if (!juego) continue;
    for (const std::string& paso : p.Pasos)
      fuzz::Exigir(LeerPaso(paso).has_value(), "paso ilegible aceptado");
    std::vector<std::string> pasos = p.Pasos;
    if (pasos.size() > 3000) pasos.resize(3000);
    std::vector<std::size_t> unidos;
    for (std::size_t i : p.Unidos)
      if (i < pasos.size()) unidos.push_back(i);
    TMesa m;
    juego->Preparar(m, p.Numero);
    if (!RepetirPasos(m, pasos, unidos)) continue;
    // Redo and undo with whatever the file says redo still had.
    if (p.PorRehacer) m.PorRehacer = *p.PorRehacer;
    for (int k = 0; k < 8 && Rehacer(m); ++k) {
    }
    m.Deshacer();
  }

  const TEstadisticas estadisticas = LeerEstadisticasJson(texto);
  fuzz::Exigir(LeerEstadisticasJson(EstadisticasEnJson(estadisticas)) == estadisticas,
               "las estadísticas escritas no se leen igual");
  for (const auto& [clave, e] : estadisticas) {
    fuzz::Exigir(e.Ganados <= e.Jugados && e.RachaActual <= e.RachaMaxima &&
                     e.Ganables <= e.Jugados && e.GanadosGanables <= e.Ganables &&
                     e.GanadosGanables <= e.Ganados,
                 "cifras contradictorias aceptadas");
    fuzz::Exigir(e.UltimosPuntos.size() <= kUltimosGanados, "demasiados puntos");
    if (const auto pc = PorcentajeGanados(e)) fuzz::Exigir(*pc >= 0 && *pc <= 100, "porcentaje");
    if (const auto pc = PorcentajeGanadosGanables(e))
      fuzz::Exigir(*pc >= 0 && *pc <= 100, "porcentaje de ganables");
  }
  return 0;
}
