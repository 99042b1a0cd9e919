#pragma once
// For the solver's tests that build their own small tables.
#include "engine/Mesa.h"

// The built table is won once the forty cards are home, and is ready to play.
inline void GanarConLasFundacionesLlenas(TMesa& m) {
  m.VerificarFin = [](TMesa& mesa) {
    unsigned enFundaciones = 0;
    for (const auto& p : mesa.Pilas)
      if (p->Grupo->EsFundacion) enFundaciones += p->Cantidad;
    if (enFundaciones == 40) mesa.JuegoGanado();
  };
  m.ProcPreparar = nullptr;
  m.OcultarCargando();
}
