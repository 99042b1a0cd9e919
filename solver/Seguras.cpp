#include "solver/Seguras.h"

#include "tools/Pasos.h"

namespace {

// Foundations that keep their cards, one per suit, building by suit.
bool FundacionesParaSiempre(const TMesa& m) {
  std::array<int, 4> fundacionesPorPalo{};
  if (!FundacionesPorPalo(m, fundacionesPorPalo)) return false;
  for (int n : fundacionesPorPalo)
    if (n > 1) return false;
  // A foundation that is some group's origin gives cards back: then nothing is for good.
  for (const TGrupo* g : m.Grupos)
    for (const TGrupo* o : g->Origenes)
      if (o->EsFundacion) return false;
  return true;
}

}  // namespace

bool FundacionesPorPalo(const TMesa& m, std::array<int, 4>& porPalo) {
  for (const auto& p : m.Pilas) {
    const TGrupo& g = *p->Grupo;
    if (!g.EsFundacion) continue;
    if (g.PaloFundacion > 3) return false;
    ++porPalo[g.PaloFundacion];
    for (const TRegla& r : g.ReglasApilado)
      if (r.Relacion != rpMismoPalo || r.Paso == PasoLibre) return false;
  }
  return true;
}

TSeguras CalcularSeguras(const TMesa& m, const TReglasComoDatos& reglas) {
  TSeguras s;
  if (TieneGanchos(m) || !FundacionesParaSiempre(m)) return s;
  for (std::size_t x = 0; x < 40; ++x) {
    std::uint64_t mascara = 0;
    for (std::size_t g = 0; g < m.Grupos.size(); ++g)
      if (!m.Grupos[g]->EsFundacion) mascara |= reglas.Apila[g][x];
    s.Necesita[x] = mascara;
  }
  s.Posible = true;
  return s;
}

// A card X off its foundation is only ever a top card once every card that could lie on
// it is home for good: nothing comes onto it again, and with single cards moving it is
// never carried under another. A winning line, X left out of it and sent home first, then
// meets every pile but X's own as it was, and X's own only after X has left it: each of
// its moves is still allowed, as long as the read function is asked about a pile, and the
// card moved, as the table holds them.
TSeguras CalcularSeguras(const TMesa& m, const TReglasComoDatos& reglas,
                         const TGanchosComoDatos& ganchos) {
  if (!TieneGanchos(m)) return CalcularSeguras(m, reglas);
  TSeguras s;
  const bool propia = m.PuedeApilar != ApilarPorReglas;
  if (TieneLlamadas(m) || m.PuedeFundar != FundarPorReglas || (propia && !ganchos.Apila) ||
      !FundacionesParaSiempre(m))
    return s;
  for (const TGrupo* g : m.Grupos)
    if (g->VariasCartas) return s;
  for (std::size_t x = 0; x < 40; ++x) {
    std::uint64_t mascara = 0;
    for (std::size_t g = 0; g < m.Grupos.size(); ++g)
      if (!m.Grupos[g]->EsFundacion)
        mascara |= reglas.Apila[g][x] | (propia ? ganchos.ApilaGanchos[g][x] : 0);
    s.Necesita[x] = mascara;
  }
  s.Posible = true;
  return s;
}

namespace {

std::uint64_t Bit(const TCarta& c) { return std::uint64_t{1} << IdCarta(c); }

// The cards not on a foundation, the stock's included.
std::uint64_t Fuera(const TMesa& m) {
  std::uint64_t fuera = 0;
  for (const auto& p : m.Pilas)
    if (!p->Grupo->EsFundacion)
      for (const TCarta* c = p->Tope; c; c = c->Debajo) fuera |= Bit(*c);
  if (m.Mazo)
    for (const TCarta* c = m.Mazo->TopeMazo; c; c = c->Debajo) fuera |= Bit(*c);
  return fuera;
}

bool Acepta(TMesa& m, TPila& fundacion, TCarta& carta) {
  return fundacion.Tope ? m.ArrastrarSobreCarta(*fundacion.Tope, carta, 1, 1)
                        : m.ArrastrarSobrePila(fundacion, carta, 1, 1);
}

}  // namespace

int EnviarSeguras(TMesa& m) {
  if (m.Cartas.size() != 40 || m.JuegoTerminado || TieneGanchos(m)) return 0;
  const TSeguras seguras = CalcularSeguras(m, LeerReglas(m));
  if (!seguras.Posible) return 0;
  int enviadas = 0;
  for (bool otra = true; otra;) {
    otra = false;
    const std::uint64_t fuera = Fuera(m);
    for (const auto& p : m.Pilas) {
      TCarta* c = p->Tope;
      if (p->Grupo->EsFundacion || !c || !c->BocaArriba || !seguras.EsSegura(IdCarta(*c), fuera))
        continue;
      for (const auto& f : m.Pilas) {
        if (!f->Grupo->EsFundacion || !Acepta(m, *f, *c)) continue;
        const int profundidad = m.ProfundidadHistorial();
        if (!HacerPaso(m, TPaso{TPaso::TTipo::Arrastre, p->Numero, -1, f->Numero})) break;
        if (enviadas > 0 && m.ProfundidadHistorial() > profundidad) m.UnirConAnterior();
        ++enviadas;
        otra = true;
        break;
      }
      if (otra) break;
    }
  }
  if (enviadas > 0) m.AyudaUsada = true;
  return enviadas;
}
