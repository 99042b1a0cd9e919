#include "solver/Reglas.h"

#include <algorithm>
#include <array>
#include <utility>
#include <vector>

#include "solver/Sonda.h"

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

namespace {

std::array<TCarta*, 40> PorId(const TMesa& m) {
  std::array<TCarta*, 40> porId{};
  for (const auto& c : m.Cartas) porId[IdCarta(*c) % 40] = c.get();
  return porId;
}

std::uint64_t VaciaDe(TMesa& m, TGrupo& grupo, const std::array<TCarta*, 40>& porId) {
  TPila prueba(m, &grupo);
  std::uint64_t toma = 0;
  for (std::size_t y = 0; y < 40; ++y) {
    const TCarta& c = *porId[y];
    const bool si = grupo.EsFundacion
                        ? c.Palo == grupo.PaloFundacion && c.Numero == grupo.NumeroFundacion
                        : ReglaAdmite(grupo.ReglasVacia, c, prueba);
    if (si) toma |= std::uint64_t{1} << y;
  }
  return toma;
}

// What a group's stacking rules lay on a card hangs only on those rules and on whether
// its ranks wrap round.
bool MismoApilado(const TGrupo& a, const TGrupo& b) {
  return a.CicloArriba == b.CicloArriba && a.CicloAbajo == b.CicloAbajo &&
         std::equal(a.ReglasApilado.begin(), a.ReglasApilado.end(), b.ReglasApilado.begin(),
                    b.ReglasApilado.end(), [](const TRegla& x, const TRegla& y) {
                      return x.Relacion == y.Relacion && x.Paso == y.Paso;
                    });
}

// The stacking rules read last on this thread, with what they lay on each card: every
// search reads its table's rules at its start, up to three searches a deal, and a game's
// groups stack alike from deal to deal. What they lay on a card hangs only on the rules,
// the wrapping and the forty cards (MismoApilado), so a reading kept is the one the
// engine would give again.
struct TApiladoLeido {
  TGrupo Reglas;  // only its stacking rules and wrapping are read
  std::array<std::uint64_t, 40> Apila{};
};
constexpr std::size_t kApiladosLeidos = 8;
thread_local std::vector<TApiladoLeido> apiladosLeidos;
thread_local std::size_t siguienteLeido = 0;  // the one replaced next, once all are taken

const std::array<std::uint64_t, 40>* ApiladoLeido(const TGrupo& grupo) {
  for (const TApiladoLeido& l : apiladosLeidos)
    if (MismoApilado(l.Reglas, grupo)) return &l.Apila;
  return nullptr;
}

void GuardarApilado(const TGrupo& grupo, const std::array<std::uint64_t, 40>& apila) {
  TApiladoLeido l;
  l.Reglas.CicloArriba = grupo.CicloArriba;
  l.Reglas.CicloAbajo = grupo.CicloAbajo;
  l.Reglas.ReglasApilado = grupo.ReglasApilado;
  l.Apila = apila;
  if (apiladosLeidos.size() < kApiladosLeidos) {
    apiladosLeidos.push_back(std::move(l));
    return;
  }
  apiladosLeidos[siguienteLeido] = std::move(l);
  siguienteLeido = (siguienteLeido + 1) % kApiladosLeidos;
}

}  // namespace

TReglasComoDatos LeerReglas(TMesa& m) {
  const std::array<TCarta*, 40> porId = PorId(m);
  TReglasComoDatos r;
  r.Apila.assign(m.Grupos.size(), {});
  r.Vacia.assign(m.Grupos.size(), 0);
  for (std::size_t g = 0; g < m.Grupos.size(); ++g) {
    TGrupo& grupo = *m.Grupos[g];
    r.Vacia[g] = VaciaDe(m, grupo, porId);
    // A group that stacks as one read before (a foundation of each suit) is not asked
    // again: 1,560 questions a group weigh on a deal searched in a few hundred positions.
    std::size_t igual = 0;
    while (igual < g && !MismoApilado(*m.Grupos[igual], grupo)) ++igual;
    if (igual < g) {
      r.Apila[g] = r.Apila[igual];
      continue;
    }
    if (const auto* leido = ApiladoLeido(grupo)) {
      r.Apila[g] = *leido;
      continue;
    }
    // The engine's own rule test, asked with a pile of the group holding the card.
    TPila prueba(m, &grupo);
    for (std::size_t x = 0; x < 40; ++x) {
      prueba.Tope = porId[x];
      for (std::size_t y = 0; y < 40; ++y)
        if (y != x && ReglaAdmite(grupo.ReglasApilado, *porId[y], prueba))
          r.Apila[g][x] |= std::uint64_t{1} << y;
    }
    GuardarApilado(grupo, r.Apila[g]);
  }
  return r;
}

std::vector<std::uint64_t> LeerVacias(TMesa& m) {
  const std::array<TCarta*, 40> porId = PorId(m);
  std::vector<std::uint64_t> vacia(m.Grupos.size(), 0);
  for (std::size_t g = 0; g < m.Grupos.size(); ++g) vacia[g] = VaciaDe(m, *m.Grupos[g], porId);
  return vacia;
}

namespace {

std::uint64_t Bit(std::size_t id) { return std::uint64_t{1} << id; }

}  // namespace

// Asks a table's functions about cards laid out at will (LeerGanchos), one destination
// group and top card at a time.
struct TProbador {
  TMesa& m;
  const TReglasComoDatos& reglas;
  TSonda s;
  // Per group and card, the cards its rules put that card on.
  std::vector<std::array<std::uint64_t, 40>> debajo;

  TProbador(TMesa& mesa, const TReglasComoDatos& r)
      : m(mesa), reglas(r), s(mesa), debajo(mesa.Grupos.size()) {
    for (std::size_t o = 0; o < debajo.size(); ++o)
      for (std::size_t w = 0; w < 40; ++w)
        for (std::uint64_t b = reglas.Apila[o][w]; b; b &= b - 1)
          debajo[o][static_cast<std::size_t>(__builtin_ctzll(b))] |= Bit(w);
  }

  // Every card `y` from a pile of every group, in four shapes: alone, on a card, with a
  // card on it, between two; `t` the destination's top card, or none.
  void Probar(TGanchosComoDatos& r, std::size_t g, TCarta* t, TCarta* bajoT) {
    const std::size_t grupos = m.Grupos.size();
    TGrupo* grupo = m.Grupos[g];
    s.Destino.Grupo = grupo;
    for (std::size_t y = 0; y < 40; ++y) {
      TCarta* carta = s.Cartas[y].get();
      if (carta == t || carta == bajoT) continue;
      const std::uint64_t usadas = Bit(y) | (t ? Bit(IdCarta(*t)) : 0) |
                                   (bajoT ? Bit(IdCarta(*bajoT)) : 0);
      bool acepta = false;
      bool tramo = false;  // with a card on it
      for (std::size_t o = 0; o < grupos && !(acepta && tramo); ++o) {
        s.Origen.Grupo = m.Grupos[o];
        TCarta* w = s.Otra(debajo[o][y], usadas);
        TCarta* z = s.Otra(reglas.Apila[o][y], usadas | Bit(IdCarta(*w)));
        for (int forma = 0; forma < 4; ++forma) {
          if (forma & 2 ? tramo : acepta) continue;
          TSonda::Poner(s.Origen, {forma & 1 ? w : nullptr, carta, forma & 2 ? z : nullptr});
          TSonda::Poner(s.Destino, {bajoT, t});
          const bool si = t ? m.PuedeApilar(*carta, s.Destino)
                            : grupo->EsFundacion ? m.PuedeFundar(*carta, s.Destino)
                                                 : m.PuedeOcuparVacia(*carta, s.Destino);
          acepta = acepta || si;
          if (forma & 2) tramo = si;
        }
      }
      if (!acepta) continue;
      if (t) {
        r.ApilaGanchos[g][IdCarta(*t)] |= Bit(y);
        if (tramo) r.ApilaTramos[g] = true;
      } else {
        r.VaciaGanchos[g] |= Bit(y);
        if (tramo) r.VaciaTramos[g] = true;
      }
    }
  }

  // The top card `t` of a pile of group `g`, alone and with a card under it.
  void ProbarTope(TGanchosComoDatos& r, std::size_t g, std::size_t t) {
    TCarta* tope = s.Cartas[t].get();
    Probar(r, g, tope, nullptr);
    if (m.Grupos[g]->Capacidad < 2) return;
    Probar(r, g, tope, s.Otra(debajo[g][t], Bit(t)));
  }
};

namespace {

TGanchosComoDatos Vacios(const TMesa& m) {
  TGanchosComoDatos r;
  r.Apila = m.PuedeApilar != ApilarPorReglas;
  r.Vacia = m.PuedeOcuparVacia != OcuparPorReglas || m.PuedeFundar != FundarPorReglas;
  if (!r.Apila && !r.Vacia) return r;
  const std::size_t grupos = m.Grupos.size();
  r.ApilaGanchos.assign(grupos, {});
  r.VaciaGanchos.assign(grupos, 0);
  r.ApilaTramos.assign(grupos, false);
  r.VaciaTramos.assign(grupos, false);
  r.LlenaToma.assign(grupos, true);
  return r;
}

}  // namespace

TGanchosComoDatos LeerGanchos(TMesa& m, const TReglasComoDatos& reglas) {
  if (TieneLlamadas(m)) return {};
  TGanchosComoDatos r = Vacios(m);
  if (!r.Apila && !r.Vacia) return r;
  const std::size_t grupos = m.Grupos.size();
  TProbador probador(m, reglas);
  TSonda& s = probador.s;
  const auto& debajo = probador.debajo;
  for (std::size_t g = 0; g < grupos; ++g) {
    if (r.Vacia) probador.Probar(r, g, nullptr, nullptr);
    if (!r.Apila) continue;
    for (std::size_t t = 0; t < 40; ++t) probador.ProbarTope(r, g, t);
  }
  // Full piles: under each top card, from the top down, cards the group's rules lay in
  // order where there are some left; the card asked about alone or with a card on it.
  for (std::size_t g = 0; g < grupos && r.Apila; ++g) {
    TGrupo* grupo = m.Grupos[g];
    const std::size_t capacidad = grupo->Capacidad;
    if (capacidad == 0 || capacidad + 2 > 40) continue;
    s.Destino.Grupo = grupo;
    bool toma = false;
    for (std::size_t t = 0; t < 40 && !toma; ++t) {
      std::vector<TCarta*> pila{s.Cartas[t].get()};
      std::uint64_t usadas = Bit(t);
      while (pila.size() < capacidad) {
        TCarta* bajo = s.Otra(debajo[g][IdCarta(*pila.back())], usadas);
        usadas |= Bit(IdCarta(*bajo));
        pila.push_back(bajo);
      }
      std::reverse(pila.begin(), pila.end());
      for (std::size_t y = 0; y < 40 && !toma; ++y) {
        if (usadas & Bit(y)) continue;
        TCarta* carta = s.Cartas[y].get();
        for (std::size_t o = 0; o < grupos && !toma; ++o) {
          s.Origen.Grupo = m.Grupos[o];
          TCarta* z = s.Otra(reglas.Apila[o][y], usadas | Bit(y));
          for (int forma = 0; forma < 2 && !toma; ++forma) {
            TSonda::Poner(s.Origen, {carta, forma ? z : nullptr});
            TSonda::Poner(s.Destino, pila);
            toma = m.PuedeApilar(*carta, s.Destino);
          }
        }
      }
    }
    r.LlenaToma[g] = toma;
  }
  return r;
}

namespace {

// Every group takes from every group while it lives, the table's own lists put back after.
class TOrigenesAbiertos {
 public:
  explicit TOrigenesAbiertos(TMesa& m) : m_(m) {
    antes_.reserve(m.Grupos.size());
    for (TGrupo* g : m.Grupos) {
      antes_.push_back(g->Origenes);
      g->Origenes.assign(m.Grupos.begin(), m.Grupos.end());
    }
  }
  ~TOrigenesAbiertos() {
    for (std::size_t g = 0; g < m_.Grupos.size(); ++g)
      m_.Grupos[g]->Origenes = std::move(antes_[g]);
  }
  TOrigenesAbiertos(const TOrigenesAbiertos&) = delete;
  TOrigenesAbiertos& operator=(const TOrigenesAbiertos&) = delete;

 private:
  TMesa& m_;
  std::vector<std::vector<TGrupo*>> antes_;
};

}  // namespace

TGanchosPorTope::TGanchosPorTope(TMesa& m, const TReglasComoDatos& reglas,
                                 TGanchosComoDatos& r)
    : m_(m), leidos_(m.Grupos.size(), 0) {
  for (const auto& c : m.Cartas)
    if (c->AlArrastrarSobre) return;
  for (const auto& p : m.Pilas)
    if (p->AlArrastrarSobre) return;
  r = Vacios(m);
  if (!r.Apila && !r.Vacia) return;
  probador_ = std::make_unique<TProbador>(m, reglas);
  if (!r.Vacia) return;
  TOrigenesAbiertos abiertos(m);
  for (std::size_t g = 0; g < m.Grupos.size(); ++g) probador_->Probar(r, g, nullptr, nullptr);
}

TGanchosPorTope::~TGanchosPorTope() = default;

void TGanchosPorTope::LeerTopeDeVeras(TGanchosComoDatos& r, std::size_t g, std::uint8_t t) {
  leidos_[g] |= Bit(t);
  TOrigenesAbiertos abiertos(m_);
  probador_->ProbarTope(r, g, t);
}

TOrdenEnCasa LeerOrdenEnCasa(const TMesa& m, const TReglasComoDatos& reglas) {
  TOrdenEnCasa orden;
  std::array<std::uint64_t, 40> previa{};  // the cards a foundation lays each card on
  std::uint64_t base = 0;                  // the cards an empty foundation takes
  for (std::size_t g = 0; g < m.Grupos.size(); ++g) {
    if (!m.Grupos[g]->EsFundacion) continue;
    base |= reglas.Vacia[g];
    for (std::size_t x = 0; x < 40; ++x)
      for (std::uint64_t y = reglas.Apila[g][x]; y; y &= y - 1)
        previa[static_cast<std::size_t>(__builtin_ctzll(y))] |= std::uint64_t{1} << x;
  }
  // Forty rounds reach the end of any chain; a round that changes nothing leaves every
  // round after it unchanged too, so the rounds stop there (read at every search's start,
  // a chain is ten cards long).
  for (int vuelta = 0; vuelta < 40; ++vuelta) {
    bool cambia = false;
    for (std::size_t x = 0; x < 40; ++x) {
      // Exactly one card before it (no popcount: without it in the target, a call).
      const std::uint64_t v = previa[x];
      if (base >> x & 1 || v == 0 || (v & (v - 1)) != 0) continue;
      const auto p = static_cast<std::size_t>(__builtin_ctzll(v));
      const std::uint64_t antes = v | orden.Antes[p];
      cambia = cambia || antes != orden.Antes[x];
      orden.Antes[x] = antes;
    }
    if (!cambia) break;
  }
  std::uint64_t alcanza = base;
  for (int vuelta = 0; vuelta < 40; ++vuelta) {
    const std::uint64_t antes = alcanza;
    for (std::size_t x = 0; x < 40; ++x)
      if (previa[x] & alcanza) alcanza |= std::uint64_t{1} << x;
    if (alcanza == antes) break;
  }
  orden.TodasCaben = alcanza == (std::uint64_t{1} << 40) - 1;
  return orden;
}
