#include "solver/Sueltas.h"

#include <array>
#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

#include "solver/ClavesVistas.h"

namespace {

constexpr std::size_t kPilas = kPilasDeAltas;

constexpr std::uint64_t Bit(std::size_t id) { return std::uint64_t{1} << id; }

// A suit's ten bits spread one to four bits, so that summed, four suits count each rank.
constexpr std::array<std::uint64_t, 1024> kEsparcidas = [] {
  std::array<std::uint64_t, 1024> r{};
  for (std::size_t x = 0; x < 1024; ++x)
    for (std::size_t rango = 0; rango < 10; ++rango)
      if (x >> rango & 1) r[x] |= std::uint64_t{1} << (4 * rango);
  return r;
}();

// kRamas[t][n]: for n loose cards of a rank and t takers, the nodes that trying them card
// by card makes from one node, and the nodes past the last of them (t, t - 1, ... choices
// at each card in turn).
struct TRamas {
  std::uint64_t Nodos = 0, Hondo = 1;
};
constexpr std::array<std::array<TRamas, 5>, 13> kRamas = [] {
  std::array<std::array<TRamas, 5>, 13> r{};
  for (std::uint64_t t = 0; t < 13; ++t)
    for (std::uint64_t k = 0; k < 4; ++k) {
      r[t][k + 1].Nodos = r[t][k].Nodos + r[t][k].Hondo;
      r[t][k + 1].Hondo = t > k ? r[t][k].Hondo * (t - k) : 0;
    }
  return r;
}();

// Each pile's cards bottom first (IdCarta + 1, 0 past its count), the cards home per suit
// and the loose low cards.
struct TPos {
  std::array<std::array<std::uint8_t, 3>, kPilas> P{};
  std::array<std::uint8_t, 4> K{};
  std::uint64_t Sueltas = 0;
};

std::uint64_t EnCasa(const std::array<std::uint8_t, 4>& k) {
  std::uint64_t r = 0;
  for (std::size_t palo = 0; palo < 4; ++palo) r |= (Bit(k[palo]) - 1) << (palo * 10);
  return r;
}

// Piles in any order give one key: each pile's share summed (Altas.h), and the cards
// home's and the loose ones' beside.
TClave128 Clave(TClave128 c, const TPos& p) {
  const std::uint64_t casa = std::uint64_t{p.K[0]} | std::uint64_t{p.K[1]} << 8 |
                             std::uint64_t{p.K[2]} << 16 | std::uint64_t{p.K[3]} << 24;
  c.A += MezclarClave(casa ^ p.Sueltas << 24);
  c.B += MezclarClave(casa ^ 0x5851F42D4C957F2DULL) + MezclarClave(p.Sueltas);
  c.A |= 1;  // never the empty slot
  return c;
}

TClave128 Clave(const TPos& p) {
  TClave128 c;
  for (const auto& q : p.P) {
    const TClave128 t = ParteDePila(q);
    c.A += t.A;
    c.B += t.B;
  }
  return Clave(c, p);
}

// What the laying reads of the piles: the tops of piles of one and of two, and the room.
struct TTapas {
  std::uint64_t DeUna = 0, DeDos = 0;
  std::size_t Sitio = 0;
  void Sumar(const std::array<std::uint8_t, 3>& q) {
    const std::size_t n = CuentaDePila(q);
    if (n == 0) return;
    Sitio += 3 - n;
    if (n == 1) DeUna |= Bit(q[0] - 1u);
    if (n == 2) DeDos |= Bit(q[1] - 1u);
  }
  // A pile's top is no other pile's, so its bit goes as it came.
  void Restar(const std::array<std::uint8_t, 3>& q) {
    const std::size_t n = CuentaDePila(q);
    if (n == 0) return;
    Sitio -= 3 - n;
    if (n == 1) DeUna &= ~Bit(q[0] - 1u);
    if (n == 2) DeDos &= ~Bit(q[1] - 1u);
  }
};

TTapas Tapas(const TPos& p) {
  TTapas t;
  for (const auto& q : p.P) t.Sumar(q);
  return t;
}

class TJuego {
 public:
  TJuego(const TAltas& a, std::size_t hasta, std::size_t colocadas)
      : a_(a), hasta_(hasta), colocadas_(colocadas) {
    for (std::size_t id = 0; id < 40; ++id)
      for (std::uint64_t t = a.Toman[id]; t; t &= t - 1)
        toma_[static_cast<std::size_t>(__builtin_ctzll(t))] |= Bit(id);
    porRango_ = true;
    for (std::size_t id = 0; id < 40; ++id)
      for (std::uint64_t t = a.Toman[id]; Baja(id) && t; t &= t - 1)
        porRango_ = porRango_ && static_cast<std::size_t>(__builtin_ctzll(t)) % 10 > id % 10;
    // Counted only where the tries are kept to (with answers kept), as the tests compare.
    porCuentas_ = porRango_ && !colocadas_.empty();
    for (std::size_t id = 0; id < 40; ++id)
      porCuentas_ = porCuentas_ && (!Baja(id) || a.Toman[id] == kRango << (id % 10 + 1));
  }

  bool Baja(std::size_t id) const { return id % 10 <= hasta_; }
  bool Guarda() const { return !colocadas_.empty(); }

  // Each suit's next card where it could take no card not home: those Asentar sends home
  // once they lie on a top or loose.
  std::uint64_t Libres(const std::array<std::uint8_t, 4>& k) const {
    const std::uint64_t casa = EnCasa(k);
    std::uint64_t r = 0;
    for (std::size_t palo = 0; palo < 4; ++palo)
      if (k[palo] < 10 && !(toma_[palo * 10 + k[palo]] & ~casa)) r |= Bit(palo * 10 + k[palo]);
    return r;
  }

  // Every card whose turn home has come and that could take no card not home goes home.
  // Only each suit's next card can, from a pile's top or from the loose ones.
  void Asentar(TPos& p) const {
    std::uint64_t cimas = 0;
    std::array<std::uint8_t, 40> pilaDe;
    for (std::size_t i = 0; i < kPilas; ++i) {
      const std::size_t n = CuentaDePila(p.P[i]);
      if (n == 0) continue;
      const std::size_t x = p.P[i][n - 1] - 1u;
      cimas |= Bit(x);
      pilaDe[x] = static_cast<std::uint8_t>(i);
    }
    std::uint64_t casa = EnCasa(p.K);
    for (bool otra = true; otra;) {
      otra = false;
      for (std::size_t palo = 0; palo < 4; ++palo) {
        if (p.K[palo] == 10) continue;
        const std::size_t x = palo * 10 + p.K[palo];
        if (toma_[x] & ~casa) continue;
        if (p.Sueltas >> x & 1) {
          p.Sueltas &= ~Bit(x);
        } else if (cimas >> x & 1) {
          auto& q = p.P[pilaDe[x]];
          const std::size_t n = CuentaDePila(q);
          if (n == 0) continue;  // never: x is its top
          q[n - 1] = 0;
          cimas &= ~Bit(x);
          if (n > 1) {
            const std::size_t y = q[n - 2] - 1u;
            cimas |= Bit(y);
            pilaDe[y] = pilaDe[x];
          }
        } else {
          continue;
        }
        ++p.K[palo];
        casa |= Bit(x);
        otra = true;
      }
    }
  }

  // Whether the loose cards can lie on the piles (Sueltas.h): no more of them than the
  // piles' room, and laid as Colocadas asks.
  // `t`: the position's tops and room.
  bool Caben(const TPos& p, const TTapas& t) {
    if (!p.Sueltas) return true;
    if (static_cast<std::size_t>(__builtin_popcountll(p.Sueltas)) > t.Sitio) return false;
    return Colocadas(p.Sueltas, t.DeUna, t.DeDos);
  }

  // Whether the loose cards `sueltas` can lie on the tops of piles of one (`deUna`) and of
  // two (`deDos`): where every card that takes a low one is of a higher rank, laid out
  // whole. Elsewhere only what any laying needs: each on its own card that takes it, a top
  // of a pile of one or two cards or another loose card, and no more on loose cards than
  // piles of one.
  bool Colocadas(std::uint64_t sueltas, std::uint64_t deUna, std::uint64_t deDos) {
    cimasDeUna_ = deUna;
    cimasDeDos_ = deDos;
    if (porCuentas_) {
      const int cuentas = PorCuentas(sueltas);
      if (cuentas >= 0) return cuentas;
    }
    if (porRango_ && !colocadas_.empty()) {
      // The laying hangs only on the loose cards and the tops of piles of one and of two,
      // which many positions share: its answers are kept, one to a slot.
      const std::uint64_t h =
          MezclarClave(sueltas ^ MezclarClave(cimasDeUna_ ^ MezclarClave(cimasDeDos_)));
      TColocada& g = colocadas_[h & (colocadas_.size() - 1)];
      if (g.Sueltas == sueltas && g.DeUna == cimasDeUna_ && g.DeDos == cimasDeDos_)
        return g.Cabe;
      g = {sueltas, cimasDeUna_, cimasDeDos_, Colocar(sueltas)};
      return g.Cabe;
    }
    if (porRango_) return Colocar(sueltas);
    const std::uint64_t cimas = cimasDeUna_ | cimasDeDos_;
    const std::size_t pilasDeUna = static_cast<std::size_t>(__builtin_popcountll(deUna));
    const std::size_t cuantas = static_cast<std::size_t>(__builtin_popcountll(sueltas));
    duenno_.fill(-1);
    std::size_t enCimas = 0;
    for (std::uint64_t s = sueltas; s; s &= s - 1) {
      visto_ = 0;
      enCimas += Aumentar(static_cast<std::size_t>(__builtin_ctzll(s)), cimas);
    }
    if (cuantas - enCimas > pilasDeUna) return false;
    if (enCimas == cuantas) return true;  // each on a top of its own: laid so
    // The tops matched first keep their cards matched (each augmenting path only adds a
    // matched top), so the cards left on loose ones are as few as they can be.
    std::uint64_t puestas = 0;
    for (std::size_t c = 0; c < 40; ++c)
      if (duenno_[c] >= 0) puestas |= Bit(static_cast<std::size_t>(duenno_[c]));
    for (std::uint64_t s = sueltas & ~puestas; s; s &= s - 1) {
      visto_ = 0;
      if (!Aumentar(static_cast<std::size_t>(__builtin_ctzll(s)), cimas | sueltas))
        return false;
    }
    return true;
  }

  const TAltas& a_;
  std::size_t hasta_;
  std::array<std::uint64_t, 40> toma_{};  // per card, the cards it could take

 private:
  // Where every card that takes a low one is of a higher rank, the loose cards laid as the
  // real piles hold them: each on a top of a pile of one or two cards of this game, or on
  // a loose card that lies so on a pile of one (a third card above the game's one would
  // make four), no card holding two; the highest first, so a loose card's taker is laid
  // before it. Past a bound of tries it gives up, taking them as laid.
  bool Colocar(std::uint64_t sueltas) {
    nOrden_ = 0;
    for (std::size_t rango = 10; rango-- > 0;)
      for (std::size_t palo = 0; palo < 4; ++palo)
        if (sueltas >> (palo * 10 + rango) & 1)
          orden_[nOrden_++] = static_cast<std::uint8_t>(palo * 10 + rango);
    intentos_ = 0;
    return Colocar(0, 0, 0);
  }
  bool Colocar(std::size_t k, std::uint64_t usadas, std::uint64_t abiertas) {
    if (k == nOrden_ || ++intentos_ > kIntentos) return true;
    const std::size_t e = orden_[k];
    const std::uint64_t toman = a_.Toman[e] & ~usadas;
    for (std::uint64_t t = toman & (cimasDeUna_ | cimasDeDos_); t; t &= t - 1) {
      const std::uint64_t b = t & -t;
      if (Colocar(k + 1, usadas | b, abiertas | ((cimasDeUna_ & b) ? Bit(e) : 0))) return true;
    }
    for (std::uint64_t t = toman & abiertas; t; t &= t - 1) {
      const std::uint64_t b = t & -t;
      if (Colocar(k + 1, usadas | b, abiertas & ~b)) return true;
    }
    return false;
  }
  // Where every low card's takers are the four cards one rank above it, cards of a rank
  // are alike to the laying, which then hangs only on how many loose cards, tops of piles
  // of one and tops of piles of two each rank has. Rank by rank from the highest, the most
  // loose cards that can take one (those laid on a top of a pile of one) are the fewer of
  // its loose cards and of such tops a rank up, and a laying that keeps that most at each
  // rank lays every card wherever any laying does: the cards are laid iff each rank's fit
  // on the tops a rank up and the loose cards laid there that take one. The tries card by
  // card, where they lay nothing, end within their bound iff the tree they walk has at
  // most 4,096 nodes: counted at most as each card's choices, at most the takers a rank up
  // less those its rank's cards before it took, down to the rank that does not fit. 1: laid
  // (so too by the tries, found or bound), 0: not, -1: the tries might reach their bound.
  int PorCuentas(std::uint64_t sueltas) const {
    const std::uint64_t n = PorRangos(sueltas);
    const std::uint64_t u = PorRangos(cimasDeUna_) >> 4, d = PorRangos(cimasDeDos_) >> 4;
    const int alta = (63 - __builtin_clzll(n)) / 4, baja = __builtin_ctzll(n) / 4;
    // The tries' nodes so far and at the next card's depth, both held at kIntentos + 1 once
    // past it.
    std::uint64_t abiertas = 0, nodos = 0, nivel = 1;
    for (int r = alta; r >= baja; --r) {
      const std::uint64_t nr = n >> 4 * r & 15, ur = u >> 4 * r & 15;
      const std::uint64_t tomas = ur + (d >> 4 * r & 15) + abiertas;
      nodos += nivel * kRamas[tomas][nr].Nodos;
      if (nr > tomas) return nodos > kIntentos ? -1 : 0;
      if (nodos > kIntentos) nodos = kIntentos + 1;
      nivel *= kRamas[tomas][nr].Hondo;
      if (nivel > kIntentos) nivel = kIntentos + 1;
      abiertas = nr < ur ? nr : ur;
    }
    return 1;
  }
  // Per rank, how many cards of `x`: four bits a rank, the As's lowest.
  static std::uint64_t PorRangos(std::uint64_t x) {
    return kEsparcidas[x & 0x3FF] + kEsparcidas[x >> 10 & 0x3FF] +
           kEsparcidas[x >> 20 & 0x3FF] + kEsparcidas[x >> 30 & 0x3FF];
  }
  static constexpr std::uint64_t kRango = 1 | Bit(10) | Bit(20) | Bit(30);  // the Ases
  static constexpr std::size_t kIntentos = 4096;  // the tries' bound
  bool porRango_ = false, porCuentas_ = false;
  std::uint64_t cimasDeUna_ = 0, cimasDeDos_ = 0;
  struct TColocada {
    std::uint64_t Sueltas = 0;  // none: an empty slot, as the laying is never read so
    std::uint64_t DeUna = 0, DeDos = 0;
    bool Cabe = false;
  };
  std::vector<TColocada> colocadas_;
  std::array<std::uint8_t, 40> orden_{};
  std::size_t nOrden_ = 0, intentos_ = 0;

  // Kuhn's augmenting path from loose card e to a card in `sobre` that takes it.
  bool Aumentar(std::size_t e, std::uint64_t sobre) {
    for (std::uint64_t t = a_.Toman[e] & sobre & ~Bit(e) & ~visto_; t; t &= t - 1) {
      const std::size_t c = static_cast<std::size_t>(__builtin_ctzll(t));
      visto_ |= Bit(c);
      if (duenno_[c] < 0 || Aumentar(static_cast<std::size_t>(duenno_[c]), sobre)) {
        duenno_[c] = static_cast<std::int8_t>(e);
        return true;
      }
    }
    return false;
  }
  std::array<std::int8_t, 40> duenno_{};  // per card, the loose card lying on it
  std::uint64_t visto_ = 0;
};

}  // namespace

struct TJuegoConSueltas::TDatos {
  TDatos(const TAltas& a, std::size_t hasta, std::size_t colocadas)
      : Altas(a), Juego(Altas, hasta, colocadas) {}
  TAltas Altas;
  TJuego Juego;
  TClavesVistas Vistos;
  std::vector<TPos> PorVer;
  struct THijo {
    TPos Pos;
    TClave128 Clave;
  };
  std::vector<THijo> Hijos;
};

TJuegoConSueltas::TJuegoConSueltas(const TAltas& a,
                                   const std::vector<std::vector<std::uint8_t>>& pilas,
                                   std::uint64_t enCasa, std::size_t hasta,
                                   std::size_t colocadas) {
  TPos raiz;
  if (!RaizDeAltas(a, pilas, enCasa, hasta, raiz.P, raiz.K)) return;
  datos_ = std::make_unique<TDatos>(a, hasta, colocadas);
  datos_->Juego.Asentar(raiz);
  datos_->Vistos.Insertar(Clave(raiz));
  datos_->PorVer.push_back(raiz);
  fin_ = TFin::Sigue;
}

TJuegoConSueltas::~TJuegoConSueltas() = default;

std::size_t TJuegoConSueltas::Bytes() const {
  return datos_ ? datos_->Vistos.Bytes() + datos_->PorVer.capacity() * sizeof(TPos) +
                      datos_->Hijos.capacity() * sizeof(datos_->Hijos[0])
                : 0;
}

TJuegoConSueltas::TFin TJuegoConSueltas::Seguir(std::size_t limite) {
  if (fin_ != TFin::Sigue) return fin_;
  TJuego& juego = datos_->Juego;
  const TAltas& a = datos_->Altas;
  std::vector<TPos>& porVer = datos_->PorVer;
  // A child's key is its parent's piles' sum with the shares of the piles that changed
  // traded: the two the move touched, or every one where settling moved more.
  std::array<TClave128, kPilas> partes;
  TClave128 suma;
  TPos p;
  // A child of a settled position needs settling only where a card went home or a card
  // free to go home came to a top (`sale`: the card the move uncovered).
  std::uint64_t libres = 0;
  // A position's children that the piles can hold, keyed and each slot asked of memory
  // first, then put in the table in the order they came: the waits on the slots overlap.
  std::vector<TDatos::THijo>& hijos = datos_->Hijos;
  // The parent's tops and room, a child's traded for the piles the move changed.
  TTapas tapas;
  const bool afresco = !juego.Guarda();
  const auto ver = [&](TPos& h, std::uint64_t sale, std::size_t i, std::size_t d) {
    const bool asentada = sale & libres;
    if (asentada) juego.Asentar(h);
    TTapas th = asentada || afresco ? Tapas(h) : tapas;
    if (!asentada && !afresco)
      for (const std::size_t k : {i, d})
        if (k < kPilas) {
          th.Restar(p.P[k]);
          th.Sumar(h.P[k]);
        }
    // The laying before the key: it refuses over half the children, none of them seen
    // before (a child seen before was laid out when it went in), which then need no key
    // nor look-up; the same children go in.
    if (!juego.Caben(h, th)) return;
    TClave128 c = suma;
    const auto cambiar = [&](std::size_t k) {
      const TClave128 t = ParteDePila(h.P[k]);
      c.A += t.A - partes[k].A;
      c.B += t.B - partes[k].B;
    };
    if (asentada) {
      for (std::size_t k = 0; k < kPilas; ++k)
        if (h.P[k] != p.P[k]) cambiar(k);
    } else {
      if (i < kPilas) cambiar(i);
      if (d < kPilas) cambiar(d);
    }
    hijos.push_back({h, Clave(c, h)});
    datos_->Vistos.Anticipar(hijos.back().Clave);
  };
  while (fin_ == TFin::Sigue) {
    if (porVer.empty()) {
      fin_ = TFin::SinSalida;
      break;
    }
    if (datos_->Vistos.Cuenta() > limite) return fin_;
    p = porVer.back();
    porVer.pop_back();
    ++vistas_;
    if (p.K == std::array<std::uint8_t, 4>{10, 10, 10, 10}) {
      fin_ = TFin::Ganable;
      break;
    }
    libres = juego.Libres(p.K);
    suma = TClave128{};
    tapas = Tapas(p);
    std::array<std::uint8_t, kPilas> cuentas;
    TTopesAbiertos abiertos;
    for (std::size_t i = 0; i < kPilas; ++i) {
      const std::size_t n = cuentas[i] = static_cast<std::uint8_t>(CuentaDePila(p.P[i]));
      partes[i] = n ? ParteDePila(p.P[i]) : kParteVacia;
      suma.A += partes[i].A;
      suma.B += partes[i].B;
      if (n == 1 || n == 2) abiertos.Anotar(p.P[i][n - 1] - 1u, i);
    }
    hijos.clear();
    for (std::size_t i = 0; i < kPilas; ++i) {
      const std::size_t n = cuentas[i];
      if (n == 0) continue;
      const std::size_t x = p.P[i][n - 1] - 1u;
      const std::uint64_t sale = n > 1 ? Bit(p.P[i][n - 2] - 1u) : 0;
      if (juego.Baja(x)) {
        TPos h = p;
        h.P[i][n - 1] = 0;
        h.Sueltas |= Bit(x);
        ver(h, sale, i, SIZE_MAX);
        continue;
      }
      abiertos.ParaCadaDestino(a, p.P, cuentas, x, [&](std::size_t d, std::size_t m) {
        TPos h = p;
        h.P[i][n - 1] = 0;
        h.P[d][m] = static_cast<std::uint8_t>(x + 1);
        ver(h, sale, i, d);
      });
    }
    // The cards home last, so looked at first: a game that wins mostly wins so, soon.
    for (std::uint64_t s = p.Sueltas; s; s &= s - 1) {
      const std::size_t x = static_cast<std::size_t>(__builtin_ctzll(s));
      if (p.K[x / 10] != x % 10) continue;
      TPos h = p;
      h.Sueltas &= ~Bit(x);
      ++h.K[x / 10];
      ver(h, ~std::uint64_t{0}, SIZE_MAX, SIZE_MAX);
    }
    for (std::size_t i = 0; i < kPilas; ++i) {
      const std::size_t n = cuentas[i];
      if (n == 0) continue;
      const std::size_t x = p.P[i][n - 1] - 1u;
      if (p.K[x / 10] != x % 10) continue;
      TPos h = p;
      h.P[i][n - 1] = 0;
      ++h.K[x / 10];
      ver(h, ~std::uint64_t{0}, i, SIZE_MAX);
    }
    for (const auto& [h, c] : hijos)
      if (datos_->Vistos.Insertar(c)) porVer.push_back(h);
  }
  // Settled: what it held is not needed again.
  datos_.reset();
  return fin_;
}

bool SueltasSinSalida(const TAltas& a, const std::vector<std::vector<std::uint8_t>>& pilas,
                      std::uint64_t enCasa, std::size_t hasta, std::size_t limite,
                      std::size_t& vistas) {
  TJuegoConSueltas juego(a, pilas, enCasa, hasta);
  const bool sinSalida = juego.Seguir(limite) == TJuegoConSueltas::TFin::SinSalida;
  vistas += juego.Vistas();
  return sinSalida;
}

bool SueltasColocadas(const TAltas& a, std::size_t hasta, std::uint64_t sueltas,
                      std::uint64_t deUna, std::uint64_t deDos, bool porCuentas) {
  TJuego juego(a, hasta, porCuentas ? 1 : 0);
  return !sueltas || juego.Colocadas(sueltas, deUna, deDos);
}
