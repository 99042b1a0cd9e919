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
    TMesa m;
    juego->Preparar(m, p.Numero);
    std::size_t n = 0;
    for (const std::string& paso : p.Pasos) {
      const auto leido = LeerPaso(paso);
      fuzz::Exigir(leido.has_value(), "paso ilegible aceptado");
      if (++n > 3000) break;
      AplicarPaso(m, *leido);
    }
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
