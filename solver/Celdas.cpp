#include "solver/Celdas.h"

#include "solver/Reglas.h"

bool TieneCeldas(TMesa& m) {
  if (m.PuedeOcuparVacia != OcuparPorReglas) return false;
  constexpr std::uint64_t kCuarenta = (std::uint64_t{1} << 40) - 1;
  const std::vector<std::uint64_t> vacia = LeerVacias(m);
  for (const auto& p : m.Pilas) {
    const TGrupo* g = p->Grupo;
    if (g->EsFundacion || g->Capacidad != 1) continue;
    for (std::size_t k = 0; k < m.Grupos.size(); ++k)
      if (m.Grupos[k] == g && (vacia[k] & kCuarenta) == kCuarenta) return true;
  }
  return false;
}
