#pragma once
// A deal of the seven piles and a first drag after which the automatic drop sends two
// cards home or more, found on a table of the test's own as the window would play it.
#include <optional>
#include <string>
#include <vector>

#include "games/Juegos.h"
#include "solver/Seguras.h"
#include "tools/Pasos.h"

struct TConEnvio {
  std::int32_t Numero;
  TPaso Paso;
  std::vector<std::string> Pasos;  // the log after the drag and the drop
};

inline std::optional<TConEnvio> BuscarEnvio() {
  for (std::int32_t n = 1; n <= 400; ++n) {
    TMesa m;
    PrepararSolitarioDeLosSieteMontones(m, n);
    for (const TPaso& p : PasosLegales(m)) {
      if (p.Tipo != TPaso::TTipo::Arrastre) continue;
      TMesa copia;
      PrepararSolitarioDeLosSieteMontones(copia, n);
      if (HacerPaso(copia, p) && EnviarSeguras(copia) >= 2) return TConEnvio{n, p, copia.Pasos};
    }
  }
  return std::nullopt;
}
