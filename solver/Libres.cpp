#include "solver/Libres.h"

namespace {

bool FundacionesDeUnaCarta(const TMesa& m, const TReglasComoDatos& reglas) {
  for (std::size_t g = 0; g < m.Grupos.size(); ++g) {
    const TGrupo* f = m.Grupos[g];
    if (!f->EsFundacion) continue;
    if (__builtin_popcountll(reglas.Vacia[g]) > 1) return false;
    for (const std::uint64_t sobre : reglas.Apila[g])
      if (__builtin_popcountll(sobre) > 1) return false;
    for (const TGrupo* destino : m.Grupos)
      for (const TGrupo* origen : destino->Origenes)
        if (!AceptaOrigen(origen, *f)) return false;
  }
  return true;
}

}  // namespace

bool LibresPosibles(const TMesa& m, const TReglasComoDatos& reglas) {
  return !TieneGanchos(m) && FundacionesDeUnaCarta(m, reglas);
}

bool LibresPosiblesLeidas(const TMesa& m, const TReglasComoDatos& reglas) {
  return !TieneLlamadas(m) && m.PuedeFundar == FundarPorReglas &&
         m.PuedeOcuparVacia == OcuparPorReglas && FundacionesDeUnaCarta(m, reglas);
}

std::uint64_t CartasLibres(std::uint64_t siguientes, std::uint64_t fuera,
                           const std::array<std::uint64_t, 40>& necesita,
                           std::uint64_t nuncaEncima) {
  std::uint64_t libres = 0;
  for (std::uint64_t b = siguientes & fuera; b; b &= b - 1) {
    const auto y = static_cast<std::size_t>(__builtin_ctzll(b));
    if ((necesita[y] & fuera & ~nuncaEncima & ~(std::uint64_t{1} << y)) == 0) libres |= std::uint64_t{1} << y;
  }
  return libres;
}
