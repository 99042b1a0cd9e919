#include "solver/Vueltas.h"

#include "solver/Seguras.h"

TSegurasConVuelta CalcularSegurasConVuelta(const TMesa& m, const TReglasComoDatos& reglas) {
  TSegurasConVuelta s;
  if (TieneGanchos(m)) return s;
  std::array<int, 4> porPalo{};
  bool devuelve = false;
  if (!FundacionesPorPalo(m, porPalo)) return s;
  for (int n : porPalo)
    if (n != 1) return s;
  s.TomaDeCasa.assign(m.Grupos.size(), false);
  for (std::size_t g = 0; g < m.Grupos.size(); ++g) {
    const TGrupo* grupo = m.Grupos[g];
    if (grupo->EsFundacion) continue;
    bool todas = true;
    for (const TGrupo* f : m.Grupos)
      if (f->EsFundacion) {
        const bool toma = AceptaOrigen(f, *grupo);
        devuelve = devuelve || toma;
        todas = todas && toma;
      }
    s.TomaDeCasa[g] = todas;
  }
  // A foundation that takes back from another foundation is not read here.
  for (const TGrupo* g : m.Grupos)
    if (g->EsFundacion)
      for (const TGrupo* o : g->Origenes)
        if (o->EsFundacion) return s;
  if (!devuelve) return s;
  for (std::size_t x = 0; x < 40; ++x)
    for (std::size_t g = 0; g < m.Grupos.size(); ++g)
      if (!m.Grupos[g]->EsFundacion) s.Necesita[x] |= reglas.Apila[g][x];
  s.Posible = true;
  return s;
}

bool SeguraConVuelta(const TSegurasConVuelta& s, const TReglasComoDatos& reglas, std::size_t g,
                     std::uint8_t id, int debajo, std::uint64_t fuera) {
  if (!s.Posible || g >= s.TomaDeCasa.size() || !s.TomaDeCasa[g]) return false;
  const std::uint64_t bit = std::uint64_t{1} << id;
  if (s.Necesita[id] & fuera & ~bit) return false;
  return debajo < 0 ? (reglas.Vacia[g] & bit) != 0
                    : (reglas.Apila[g][static_cast<std::size_t>(debajo)] & bit) != 0;
}
