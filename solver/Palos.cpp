#include "solver/Palos.h"

#include "solver/Reglas.h"

bool PalosIndiferentes(const TMesa& m) {
  if (TieneGanchos(m)) return false;
  for (const TGrupo* g : m.Grupos) {
    if (g->EsFundacion) return false;
    for (const auto* reglas : {&g->ReglasApilado, &g->ReglasVacia})
      for (const TRegla& r : *reglas)
        if (r.Relacion != rpCualquiera) return false;
  }
  return true;
}
