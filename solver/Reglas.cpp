#include "solver/Reglas.h"

bool TieneGanchos(const TMesa& m) {
  return m.PuedeApilar != ApilarPorReglas || m.PuedeOcuparVacia != OcuparPorReglas ||
         m.PuedeFundar != FundarPorReglas || TieneLlamadas(m);
}

bool TieneLlamadas(const TMesa& m) {
  for (const auto& c : m.Cartas)
    if (c->AlSoltar || c->AlArrastrarSobre) return true;
  for (const auto& p : m.Pilas)
    if (p->AlArrastrarSobre || p->AlSoltar || p->AlRecibir || p->AlQuitar ||
        (p->AlCambiar && p->AlCambiar != MostrarDescarte))
      return true;
  return false;
}

TReglasComoDatos LeerReglas(TMesa& m) {
  std::array<TCarta*, 40> porId{};
  for (const auto& c : m.Cartas) porId[IdCarta(*c) % 40] = c.get();
  TReglasComoDatos r;
  r.Apila.assign(m.Grupos.size(), {});
  r.Vacia.assign(m.Grupos.size(), 0);
  for (std::size_t g = 0; g < m.Grupos.size(); ++g) {
    TGrupo& grupo = *m.Grupos[g];
    // The engine's own rule test, asked with a pile of the group holding the card.
    TPila prueba(m, &grupo);
    for (std::size_t x = 0; x < 40; ++x) {
      prueba.Tope = porId[x];
      for (std::size_t y = 0; y < 40; ++y)
        if (y != x && ReglaAdmite(grupo.ReglasApilado, *porId[y], prueba))
          r.Apila[g][x] |= std::uint64_t{1} << y;
    }
    prueba.Tope = nullptr;
    for (std::size_t y = 0; y < 40; ++y) {
      const TCarta& c = *porId[y];
      const bool toma = grupo.EsFundacion
                            ? c.Palo == grupo.PaloFundacion && c.Numero == grupo.NumeroFundacion
                            : ReglaAdmite(grupo.ReglasVacia, c, prueba);
      if (toma) r.Vacia[g] |= std::uint64_t{1} << y;
    }
  }
  return r;
}
