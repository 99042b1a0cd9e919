#include "solver/Parejas.h"

#include "solver/Sonda.h"

std::vector<std::array<std::uint64_t, 40>> LeerParejas(TMesa& m, const TReglasComoDatos& reglas) {
  std::vector<std::array<std::uint64_t, 40>> parejas;
  if (m.PuedeApilar == ApilarPorReglas || TieneLlamadas(m)) return parejas;
  parejas.assign(m.Grupos.size(), {});
  TSonda sonda(m);
  for (std::size_t g = 0; g < m.Grupos.size() && g < reglas.Apila.size(); ++g) {
    if (m.Grupos[g]->EsFundacion) continue;
    sonda.Destino.Grupo = m.Grupos[g];
    for (std::size_t id = 0; id < 40; ++id) {
      TCarta* carta = sonda.Cartas[id].get();
      for (std::size_t otra = id % 10; otra < 40; otra += 10) {
        if (otra == id || (reglas.Apila[g][otra] >> id & 1)) continue;
        for (TGrupo* o : m.Grupos) {
          TSonda::Poner(sonda.Destino, {sonda.Cartas[otra].get()});
          sonda.Origen.Grupo = o;
          TSonda::Poner(sonda.Origen, {carta});
          if (m.PuedeApilar(*carta, sonda.Destino)) {
            parejas[g][otra] |= std::uint64_t{1} << id;
            break;
          }
        }
      }
    }
  }
  return parejas;
}
