#include "solver/Altas.h"

#include <utility>

#include "solver/ClavesVistas.h"
#include "solver/Sonda.h"

namespace {

std::uint64_t Bit(std::size_t id) { return std::uint64_t{1} << id; }

std::uint64_t DelNumero(std::size_t id) {
  std::uint64_t r = 0;
  for (std::size_t palo = 0; palo < 4; ++palo) r |= Bit(palo * 10 + id % 10);
  return r;
}

constexpr std::size_t kPilas = kPilasDeAltas;

}  // namespace

// A position of the high cards' game: each pile's cards bottom first (IdCarta + 1, 0 past
// its count) and the cards home per suit. The piles are interchangeable: the key reads them
// in any order.
struct TPosAltas {
  std::array<std::array<std::uint8_t, 3>, kPilas> P{};
  std::array<std::uint8_t, 4> K{};
};

namespace {

using TClaveAltas = TClave128;

// A position's key: the piles' shares summed (Altas.h), and the cards home's beside.
TClaveAltas ParteDeCasa(const std::array<std::uint8_t, 4>& k) {
  const std::uint64_t casa = std::uint64_t{k[0]} | std::uint64_t{k[1]} << 8 |
                             std::uint64_t{k[2]} << 16 | std::uint64_t{k[3]} << 24;
  return {MezclarClave(casa), MezclarClave(casa ^ 0x5851F42D4C957F2DULL)};
}

// The piles' shares summed, without the cards home's.
TClaveAltas SumaDePilas(const TPosAltas& p) {
  TClaveAltas c;
  for (const auto& q : p.P) {
    const TClaveAltas t = ParteDePila(q);
    c.A += t.A;
    c.B += t.B;
  }
  return c;
}

TClaveAltas Clave(const TClaveAltas& pilas, const std::array<std::uint8_t, 4>& k) {
  const TClaveAltas casa = ParteDeCasa(k);
  return {(pilas.A + casa.A) | 1, pilas.B + casa.B};  // never the empty slot
}

TClaveAltas Clave(const TPosAltas& p) { return Clave(SumaDePilas(p), p.K); }

// The low cards on top leave; every card off the table whose turn it is goes home.
void Asentar(TPosAltas& p, std::size_t hasta) {
  std::uint64_t enPilas = 0;
  for (auto& q : p.P) {
    std::size_t n = CuentaDePila(q);
    while (n > 0 && static_cast<std::size_t>(q[n - 1] - 1) % 10 <= hasta) q[--n] = 0;
    for (std::size_t j = 0; j < n; ++j) enPilas |= Bit(q[j] - 1u);
  }
  for (std::size_t palo = 0; palo < 4; ++palo)
    while (p.K[palo] < 10 && !(enPilas >> (palo * 10 + p.K[palo]) & 1)) ++p.K[palo];
}

// Asentar for a child of a settled position whose only pile that lost a card is `i`:
// only that pile's new top can be low, and only the cards it sheds can let a suit go on
// home. `enPilas`: the parent's cards on the piles, less any that went home.
void AsentarTras(TPosAltas& p, std::size_t i, std::uint64_t enPilas, std::size_t hasta) {
  auto& q = p.P[i];
  std::size_t n = CuentaDePila(q);
  while (n > 0 && static_cast<std::size_t>(q[n - 1] - 1) % 10 <= hasta) {
    enPilas &= ~Bit(q[n - 1] - 1u);
    q[--n] = 0;
  }
  for (std::size_t palo = 0; palo < 4; ++palo)
    while (p.K[palo] < 10 && !(enPilas >> (palo * 10 + p.K[palo]) & 1)) ++p.K[palo];
}

}  // namespace

class TVistasAltas : public TClavesVistas {
 public:
  using TClavesVistas::TClavesVistas;
};

// What the games read so far found, by key: lost, won, or not known (a game given up at
// its limit). The state takes the key's two low bits, so a slot is never 0.
class TSabidasAltas {
 public:
  enum : std::uint64_t { kNada = 0, kPerdida = 1, kGanada = 2, kDudosa = 3 };
  TSabidasAltas() : slots_(1u << 12) {}
  std::uint64_t Buscar(const TClaveAltas& c) const {
    const std::size_t mascara = slots_.size() - 1;
    for (std::size_t i = static_cast<std::size_t>(c.B) & mascara;; i = (i + 1) & mascara) {
      const TClaveAltas& s = slots_[i];
      if (s.A == 0) return kNada;
      if ((s.A & ~std::uint64_t{3}) == (c.A & ~std::uint64_t{3}) && s.B == c.B) return s.A & 3;
    }
  }
  void Anticipar(const TClaveAltas& c) const {
    __builtin_prefetch(&slots_[static_cast<std::size_t>(c.B) & (slots_.size() - 1)]);
  }
  // Kept as `estado`, over what was known: a position an earlier game gave up at its
  // limit may be found lost by a later one.
  void Poner(const TClaveAltas& c, std::uint64_t estado) {
    if (2 * (cuenta_ + 1) > slots_.size()) Crecer();
    cuenta_ += Escribir(slots_, {(c.A & ~std::uint64_t{3}) | estado, c.B});
  }
  std::size_t Bytes() const { return slots_.size() * sizeof(TClaveAltas); }

 private:
  // Whether the key was new.
  static bool Escribir(std::vector<TClaveAltas>& slots, const TClaveAltas& c) {
    const std::size_t mascara = slots.size() - 1;
    for (std::size_t i = static_cast<std::size_t>(c.B) & mascara;; i = (i + 1) & mascara) {
      TClaveAltas& s = slots[i];
      if (s.A == 0) {
        s = c;
        return true;
      }
      if ((s.A & ~std::uint64_t{3}) == (c.A & ~std::uint64_t{3}) && s.B == c.B) {
        s = c;
        return false;
      }
    }
  }
  void Crecer() {
    std::vector<TClaveAltas> nuevos(slots_.size() * 2);
    for (const TClaveAltas& c : slots_)
      if (c.A) Escribir(nuevos, c);
    slots_.swap(nuevos);
  }
  std::vector<TClaveAltas> slots_;
  std::size_t cuenta_ = 0;
};

TAltas LeerAltas(TMesa& m, const TReglasComoDatos& reglas, const TSinSalida& s) {
  TAltas a;
  if (!s.Posible) return a;
  const TOrdenEnCasa orden = LeerOrdenEnCasa(m, reglas);
  if (!orden.TodasCaben) return a;
  for (std::size_t id = 0; id < 40; ++id)
    if (orden.Antes[id] != ((Bit(id) - 1) & ~(Bit(id - id % 10) - 1))) return a;
  std::uint64_t pareja = 0;
  for (std::size_t id = 0; id < 40; ++id)
    if (s.Toman[id] && (s.Toman[id] & ~DelNumero(id)) == 0) pareja |= Bit(id);
  TSonda sonda(m);
  for (TGrupo* g : m.Grupos) {
    if (g->EsFundacion) continue;
    if (g->Capacidad > 3) return a;
    // Two cards of one rank that only their rank takes, and a third asked of them.
    sonda.Destino.Grupo = g;
    for (std::uint64_t b = pareja; b; b &= b - 1)
      for (std::uint64_t t = pareja & ~(b & -b); t; t &= t - 1)
        for (std::uint64_t c = pareja & ~(b & -b) & ~(t & -t); c; c &= c - 1) {
          TCarta* carta = sonda.Cartas[static_cast<std::size_t>(__builtin_ctzll(c))].get();
          for (TGrupo* o : m.Grupos) {
            TSonda::Poner(sonda.Destino,
                          {sonda.Cartas[static_cast<std::size_t>(__builtin_ctzll(b))].get(),
                           sonda.Cartas[static_cast<std::size_t>(__builtin_ctzll(t))].get()});
            sonda.Origen.Grupo = o;
            TSonda::Poner(sonda.Origen, {carta});
            if (m.PuedeApilar(*carta, sonda.Destino)) pareja &= ~DelNumero(IdCarta(*carta));
          }
        }
  }
  a.Posible = true;
  a.Toman = s.Toman;
  a.Pareja = pareja;
  return a;
}

bool RaizDeAltas(const TAltas& a, const std::vector<std::vector<std::uint8_t>>& pilas,
                 std::uint64_t enCasa, std::size_t hasta,
                 std::array<TPilaAltas, kPilasDeAltas>& raiz, std::array<std::uint8_t, 4>& casa) {
  raiz = {};
  casa = {};
  if (!a.Posible || pilas.size() > kPilas || hasta >= 9) return false;
  // What takes a high card must be high too.
  for (std::size_t id = 0; id < 40; ++id)
    for (std::uint64_t t = a.Toman[id]; id % 10 > hasta && t; t &= t - 1)
      if (static_cast<std::size_t>(__builtin_ctzll(t)) % 10 <= hasta) return false;
  for (std::size_t i = 0; i < pilas.size(); ++i) {
    if (pilas[i].size() > 3) return false;
    for (std::size_t j = 0; j < pilas[i].size(); ++j)
      raiz[i][j] = static_cast<std::uint8_t>((pilas[i][j] & 0x3F) + 1);
  }
  for (std::size_t palo = 0; palo < 4; ++palo)
    while (casa[palo] < 10 && (enCasa >> (palo * 10 + casa[palo]) & 1)) ++casa[palo];
  return true;
}

TJuegoDeAltas::TJuegoDeAltas(const TAltas& a,
                             const std::vector<std::vector<std::uint8_t>>& pilas,
                             std::uint64_t enCasa, std::size_t hasta)
    : a_(a), hasta_(hasta) {
  TPosAltas raiz;
  if (!RaizDeAltas(a, pilas, enCasa, hasta, raiz.P, raiz.K)) return;
  Asentar(raiz, hasta);
  vistos_ = std::make_unique<TVistasAltas>();
  vistos_->Insertar(Clave(raiz));
  porVer_.push_back(raiz);
  fin_ = TFin::Sigue;
}

TJuegoDeAltas::TJuegoDeAltas(const TAltas& a, const TPosAltas& raiz, std::size_t hasta,
                             TSabidasAltas* sabidas)
    : a_(a), hasta_(hasta), sabidas_(sabidas) {
  // Most of these games settle within a few hundred positions: a small table first.
  vistos_ = std::make_unique<TVistasAltas>(256);
  const TClaveAltas clave = Clave(raiz);
  vistos_->Insertar(clave);
  porVer_.push_back(raiz);
  porVerClaves_.emplace_back(clave, 0);
  fin_ = TFin::Sigue;
}

TJuegoDeAltas::~TJuegoDeAltas() = default;

std::size_t TJuegoDeAltas::Bytes() const {
  return (vistos_ ? vistos_->Bytes() : 0) + porVer_.capacity() * sizeof(TPosAltas) +
         porVerClaves_.capacity() * sizeof(porVerClaves_[0]) +
         camino_.capacity() * sizeof(TClaveAltas);
}

TJuegoDeAltas::TFin TJuegoDeAltas::Seguir(std::size_t limite) {
  // A child differs from its settled parent in pile i, pile d (SIZE_MAX: none) and the
  // cards home: its key is the parent's piles' sum with those two shares traded.
  std::array<TClaveAltas, kPilas> partes;
  TClaveAltas suma;
  std::uint64_t enPilas = 0;
  // A position's children, keyed first and each slot asked of memory, then put in the
  // table in the order they came: the waits on the slots overlap.
  std::vector<std::pair<TPosAltas, TClaveAltas>> hijos;
  const auto ver = [&](TPosAltas& h, std::size_t i, std::size_t d, std::uint64_t quedan) {
    AsentarTras(h, i, quedan, hasta_);
    TClaveAltas c = suma;
    const TClaveAltas ti = ParteDePila(h.P[i]);
    c.A += ti.A - partes[i].A;
    c.B += ti.B - partes[i].B;
    if (d != SIZE_MAX) {
      const TClaveAltas td = ParteDePila(h.P[d]);
      c.A += td.A - partes[d].A;
      c.B += td.B - partes[d].B;
    }
    hijos.emplace_back(h, Clave(c, h.K));
    vistos_->Anticipar(hijos.back().second);
  };
  while (fin_ == TFin::Sigue) {
    if (porVer_.empty()) {
      fin_ = TFin::SinSalida;
      break;
    }
    if (vistos_->Cuenta() > limite) return fin_;
    const TPosAltas p = porVer_.back();
    porVer_.pop_back();
    ++vistas_;
    std::uint32_t profundidad = 0;
    if (sabidas_) {
      profundidad = porVerClaves_.back().second;
      camino_.resize(profundidad);
      camino_.push_back(porVerClaves_.back().first);
      porVerClaves_.pop_back();
    }
    if (p.K == std::array<std::uint8_t, 4>{10, 10, 10, 10}) {
      fin_ = TFin::Ganable;
      break;
    }
    suma = TClaveAltas{};
    enPilas = 0;
    std::array<std::uint8_t, kPilas> cuentas;
    TTopesAbiertos abiertos;
    for (std::size_t i = 0; i < kPilas; ++i) {
      const std::size_t n = cuentas[i] = static_cast<std::uint8_t>(CuentaDePila(p.P[i]));
      partes[i] = n ? ParteDePila(p.P[i]) : kParteVacia;
      suma.A += partes[i].A;
      suma.B += partes[i].B;
      for (std::size_t j = 0; j < n; ++j) enPilas |= Bit(p.P[i][j] - 1u);
      if (n == 1 || n == 2) abiertos.Anotar(p.P[i][n - 1] - 1u, i);
    }
    hijos.clear();
    for (std::size_t i = 0; i < kPilas; ++i) {
      const std::size_t n = cuentas[i];
      if (n == 0) continue;
      const std::size_t x = p.P[i][n - 1] - 1u;
      abiertos.ParaCadaDestino(a_, p.P, cuentas, x, [&](std::size_t d, std::size_t m) {
        TPosAltas h = p;
        h.P[i][n - 1] = 0;
        h.P[d][m] = static_cast<std::uint8_t>(x + 1);
        ver(h, i, d, enPilas);
      });
    }
    // The cards home last, so looked at first: a game that wins mostly wins so, soon.
    for (std::size_t i = 0; i < kPilas; ++i) {
      const std::size_t n = cuentas[i];
      if (n == 0) continue;
      const std::size_t x = p.P[i][n - 1] - 1u;
      if (p.K[x / 10] != x % 10) continue;
      TPosAltas h = p;
      h.P[i][n - 1] = 0;
      ++h.K[x / 10];
      ver(h, i, SIZE_MAX, enPilas & ~Bit(x));
    }
    if (sabidas_) {
      for (const auto& [h, c] : hijos) sabidas_->Anticipar(c);
      for (const auto& [h, c] : hijos) {
        const std::uint64_t sabida = sabidas_->Buscar(c);
        // A position known lost leads to no win: not walked again.
        if (sabida == TSabidasAltas::kPerdida) continue;
        if (sabida == TSabidasAltas::kGanada) {
          fin_ = TFin::Ganable;
          break;
        }
        if (vistos_->Insertar(c)) {
          porVer_.push_back(h);
          porVerClaves_.emplace_back(c, profundidad + 1);
        }
      }
    } else {
      for (const auto& [h, c] : hijos)
        if (vistos_->Insertar(c)) porVer_.push_back(h);
    }
  }
  // With no win, every position it looked at has none: what each reaches, it reached,
  // less those known lost already.
  if (sabidas_ && fin_ == TFin::SinSalida)
    vistos_->CadaClave([this](const TClaveAltas& c) { sabidas_->Poner(c, TSabidasAltas::kPerdida); });
  // With a win, every position on the line that led to it has one: a later game that
  // meets any of them is won there.
  if (sabidas_ && fin_ == TFin::Ganable)
    for (const TClaveAltas& c : camino_) sabidas_->Poner(c, TSabidasAltas::kGanada);
  // Settled: what it held is not needed again.
  vistos_.reset();
  porVer_ = {};
  porVerClaves_ = {};
  camino_ = {};
  return fin_;
}

bool AltasSinSalida(const TAltas& a, const std::vector<std::vector<std::uint8_t>>& pilas,
                    std::uint64_t enCasa, std::size_t hasta, std::size_t limite,
                    std::size_t& vistas) {
  TJuegoDeAltas juego(a, pilas, enCasa, hasta);
  const bool sinSalida = juego.Seguir(limite) == TJuegoDeAltas::TFin::SinSalida;
  vistas += juego.Vistas();
  return sinSalida;
}

TAltasPorPosicion::TAltasPorPosicion(const TAltas& a, std::size_t hasta, std::size_t limite)
    : a_(a), hasta_(hasta), limite_(limite) {
  if (!a.Posible || hasta >= 9) return;
  // What takes a high card must be high too.
  for (std::size_t id = 0; id < 40; ++id)
    for (std::uint64_t t = a.Toman[id]; id % 10 > hasta && t; t &= t - 1)
      if (static_cast<std::size_t>(__builtin_ctzll(t)) % 10 <= hasta) return;
  posible_ = true;
  sabidas_ = std::make_unique<TSabidasAltas>();
  for (std::size_t id = 0; id < 40; ++id)
    if (id % 10 <= hasta) bajas_ |= Bit(id);
}

TAltasPorPosicion::~TAltasPorPosicion() = default;

std::size_t TAltasPorPosicion::Bytes() const { return sabidas_ ? sabidas_->Bytes() : 0; }

bool TAltasPorPosicion::SinSalida(const TPilaVista* pilas, std::size_t n, std::uint64_t enCasa,
                                  bool jugar) {
  if (!posible_ || n > kPilas) return false;
  // Read, settled and keyed in one pass over the piles, as Asentar and Clave would leave
  // and key it: read at nearly every position expanded, this is most of a reading's cost.
  TPosAltas p;
  TClaveAltas suma;
  std::uint64_t enPilas = 0;
  for (std::size_t i = 0; i < n; ++i) {
    const std::size_t cuenta = pilas[i].Cuenta;
    if (cuenta > 3) return false;
    const std::uint8_t* cartas = pilas[i].Cartas;
    std::size_t m = cuenta;
    while (m > 0 && (bajas_ >> (cartas[m - 1] & 0x3F) & 1)) --m;  // low tops leave
    for (std::size_t j = 0; j < m; ++j) {
      p.P[i][j] = static_cast<std::uint8_t>((cartas[j] & 0x3F) + 1);
      enPilas |= Bit(cartas[j] & 0x3F);
    }
    const TClaveAltas t = m ? ParteDePila(p.P[i]) : kParteVacia;
    suma.A += t.A;
    suma.B += t.B;
  }
  for (std::size_t i = n; i < kPilas; ++i) {
    suma.A += kParteVacia.A;
    suma.B += kParteVacia.B;
  }
  for (std::size_t palo = 0; palo < 4; ++palo) {
    while (p.K[palo] < 10 && (enCasa >> (palo * 10 + p.K[palo]) & 1)) ++p.K[palo];
    while (p.K[palo] < 10 && !(enPilas >> (palo * 10 + p.K[palo]) & 1)) ++p.K[palo];
  }
  const TClaveAltas clave = Clave(suma, p.K);
  const std::uint64_t sabida = sabidas_->Buscar(clave);
  if (sabida != TSabidasAltas::kNada) {
    perdidas_ += sabida == TSabidasAltas::kPerdida;
    return sabida == TSabidasAltas::kPerdida;
  }
  if (!jugar) return false;
  ++juegos_;
  TJuegoDeAltas juego(a_, p, hasta_, sabidas_.get());
  const TJuegoDeAltas::TFin fin = juego.Seguir(limite_);
  vistas_ += juego.Vistas();
  if (fin == TJuegoDeAltas::TFin::SinSalida) {  // its positions kept as lost
    ++perdidas_;
    return true;
  }
  enBalde_ += juego.Vistas();
  sabidas_->Poner(clave, fin == TJuegoDeAltas::TFin::Ganable ? TSabidasAltas::kGanada
                                                             : TSabidasAltas::kDudosa);
  return false;
}
