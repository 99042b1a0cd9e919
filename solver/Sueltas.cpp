#include "solver/Sueltas.h"

#include <array>
#include <memory>

#include "solver/ClavesVistas.h"

namespace {

constexpr std::size_t kPilas = 16;  // piles off the foundations read at most

std::uint64_t Bit(std::size_t id) { return std::uint64_t{1} << id; }

// Each pile's cards bottom first (IdCarta + 1, 0 past its count), the cards home per suit
// and the loose low cards.
struct TPos {
  std::array<std::array<std::uint8_t, 3>, kPilas> P{};
  std::array<std::uint8_t, 4> K{};
  std::uint64_t Sueltas = 0;
};

std::size_t Cuenta(const std::array<std::uint8_t, 3>& q) {
  return q[0] == 0 ? 0 : q[1] == 0 ? 1 : q[2] == 0 ? 2 : 3;
}

std::uint64_t EnCasa(const std::array<std::uint8_t, 4>& k) {
  std::uint64_t r = 0;
  for (std::size_t palo = 0; palo < 4; ++palo) r |= (Bit(k[palo]) - 1) << (palo * 10);
  return r;
}

// Piles in any order give one key (as in Altas.cpp).
TClave128 Clave(const TPos& p) {
  TClave128 c;
  for (const auto& q : p.P) {
    const std::uint64_t v = std::uint64_t{q[0]} | std::uint64_t{q[1]} << 8 |
                            std::uint64_t{q[2]} << 16 | std::uint64_t{1} << 32;
    c.A += MezclarClave(v);
    c.B += MezclarClave(v ^ 0xD6E8FEB86659FD93ULL);
  }
  const std::uint64_t casa = std::uint64_t{p.K[0]} | std::uint64_t{p.K[1]} << 8 |
                             std::uint64_t{p.K[2]} << 16 | std::uint64_t{p.K[3]} << 24;
  c.A += MezclarClave(casa ^ p.Sueltas << 24);
  c.B += MezclarClave(casa ^ 0x5851F42D4C957F2DULL) + MezclarClave(p.Sueltas);
  c.A |= 1;  // never the empty slot
  return c;
}

class TJuego {
 public:
  TJuego(const TAltas& a, std::size_t hasta) : a_(a), hasta_(hasta) {
    for (std::size_t id = 0; id < 40; ++id)
      for (std::uint64_t t = a.Toman[id]; t; t &= t - 1)
        toma_[static_cast<std::size_t>(__builtin_ctzll(t))] |= Bit(id);
  }

  bool Baja(std::size_t id) const { return id % 10 <= hasta_; }

  // Every card whose turn home has come and that could take no card not home goes home.
  void Asentar(TPos& p) const {
    for (bool otra = true; otra;) {
      otra = false;
      const std::uint64_t casa = EnCasa(p.K);
      for (auto& q : p.P) {
        const std::size_t n = Cuenta(q);
        if (n == 0) continue;
        const std::size_t x = q[n - 1] - 1u;
        if (p.K[x / 10] != x % 10 || (toma_[x] & ~casa)) continue;
        q[n - 1] = 0;
        ++p.K[x / 10];
        otra = true;
        break;
      }
      if (otra) continue;
      for (std::uint64_t s = p.Sueltas; s; s &= s - 1) {
        const std::size_t x = static_cast<std::size_t>(__builtin_ctzll(s));
        if (p.K[x / 10] != x % 10 || (toma_[x] & ~casa)) continue;
        p.Sueltas &= ~Bit(x);
        ++p.K[x / 10];
        otra = true;
        break;
      }
    }
  }

  // Whether the loose cards can lie on the piles: each on its own card that takes it, the
  // top of a pile of one or two cards or another loose card, no more of them than the
  // piles' room, and no more lying on loose cards than piles of one card.
  bool Caben(const TPos& p) {
    if (!p.Sueltas) return true;
    std::uint64_t cimas = 0;
    std::size_t sitio = 0, deUna = 0;
    for (const auto& q : p.P) {
      const std::size_t n = Cuenta(q);
      if (n == 0) continue;
      sitio += 3 - n;
      if (n < 3) cimas |= Bit(q[n - 1] - 1u);
      deUna += n == 1;
    }
    const std::size_t sueltas = static_cast<std::size_t>(__builtin_popcountll(p.Sueltas));
    if (sueltas > sitio) return false;
    duenno_.fill(-1);
    std::size_t enCimas = 0;
    for (std::uint64_t s = p.Sueltas; s; s &= s - 1) {
      visto_ = 0;
      enCimas += Aumentar(static_cast<std::size_t>(__builtin_ctzll(s)), cimas);
    }
    if (sueltas - enCimas > deUna) return false;
    if (enCimas == sueltas) return true;
    // The tops matched first keep their cards matched (each augmenting path only adds a
    // matched top), so the cards left on loose ones are as few as they can be.
    std::uint64_t puestas = 0;
    for (std::size_t c = 0; c < 40; ++c)
      if (duenno_[c] >= 0) puestas |= Bit(static_cast<std::size_t>(duenno_[c]));
    for (std::uint64_t s = p.Sueltas & ~puestas; s; s &= s - 1) {
      visto_ = 0;
      if (!Aumentar(static_cast<std::size_t>(__builtin_ctzll(s)), cimas | p.Sueltas))
        return false;
    }
    return true;
  }

  const TAltas& a_;
  std::size_t hasta_;
  std::array<std::uint64_t, 40> toma_{};  // per card, the cards it could take

 private:
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

// What the games read so far found, by key: lost, won, or not known (given up at its
// limit). The state takes the key's two low bits.
class TSabidasSueltas {
 public:
  enum : std::uint64_t { kNada = 0, kPerdida = 1, kGanada = 2, kDudosa = 3 };
  TSabidasSueltas() : slots_(1u << 12) {}
  std::uint64_t Buscar(const TClave128& c) const {
    const std::size_t mascara = slots_.size() - 1;
    for (std::size_t i = static_cast<std::size_t>(c.B) & mascara;; i = (i + 1) & mascara) {
      const TClave128& s = slots_[i];
      if (s.A == 0) return kNada;
      if ((s.A & ~std::uint64_t{3}) == (c.A & ~std::uint64_t{3}) && s.B == c.B) return s.A & 3;
    }
  }
  void Poner(const TClave128& c, std::uint64_t estado) {
    if (2 * (cuenta_ + 1) > slots_.size()) Crecer();
    cuenta_ += Escribir(slots_, {(c.A & ~std::uint64_t{3}) | estado, c.B});
  }
  std::size_t Bytes() const { return slots_.size() * sizeof(TClave128); }

 private:
  static bool Escribir(std::vector<TClave128>& slots, const TClave128& c) {
    const std::size_t mascara = slots.size() - 1;
    for (std::size_t i = static_cast<std::size_t>(c.B) & mascara;; i = (i + 1) & mascara) {
      TClave128& s = slots[i];
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
    std::vector<TClave128> nuevos(slots_.size() * 2);
    for (const TClave128& c : slots_)
      if (c.A) Escribir(nuevos, c);
    slots_.swap(nuevos);
  }
  std::vector<TClave128> slots_;
  std::size_t cuenta_ = 0;
};

enum class TFin { SinSalida, Ganable, Dudosa };

// Walks the game from a settled, fitting position until it wins, runs dry or has seen more
// than `limite` positions. With `sabidas`, a position known lost is not walked again and
// one known won wins; a game with no win files every position it saw as lost (what each
// reaches, the game reached).
TFin Recorrer(TJuego& juego, const TPos& raiz, std::size_t limite, TSabidasSueltas* sabidas,
              std::size_t& miradas) {
  const TAltas& a = juego.a_;
  TClavesVistas vistos(sabidas ? 256 : 1u << 12);
  vistos.Insertar(Clave(raiz));
  std::vector<TPos> porVer{raiz};
  TFin fin = TFin::Dudosa;
  const auto ver = [&](TPos& h) {
    juego.Asentar(h);
    if (!juego.Caben(h)) return;
    const TClave128 c = Clave(h);
    if (sabidas) {
      const std::uint64_t sabida = sabidas->Buscar(c);
      if (sabida == TSabidasSueltas::kPerdida) return;
      if (sabida == TSabidasSueltas::kGanada) {
        fin = TFin::Ganable;
        return;
      }
    }
    if (vistos.Insertar(c)) porVer.push_back(h);
  };
  while (fin == TFin::Dudosa) {
    if (porVer.empty()) {
      fin = TFin::SinSalida;
      break;
    }
    if (vistos.Cuenta() > limite) break;
    const TPos p = porVer.back();
    porVer.pop_back();
    ++miradas;
    if (p.K == std::array<std::uint8_t, 4>{10, 10, 10, 10}) {
      fin = TFin::Ganable;
      break;
    }
    for (std::size_t i = 0; i < kPilas; ++i) {
      const std::size_t n = Cuenta(p.P[i]);
      if (n == 0) continue;
      const std::size_t x = p.P[i][n - 1] - 1u;
      if (juego.Baja(x)) {
        TPos h = p;
        h.P[i][n - 1] = 0;
        h.Sueltas |= Bit(x);
        ver(h);
        continue;
      }
      for (std::size_t d = 0; d < kPilas; ++d) {
        const std::size_t m = Cuenta(p.P[d]);
        if (d == i || m == 0 || m == 3 || !(a.Toman[x] >> (p.P[d][m - 1] - 1u) & 1)) continue;
        if ((a.Pareja >> x & 1) && m == 2 && (a.Pareja >> (p.P[d][0] - 1u) & 1) &&
            (a.Pareja >> (p.P[d][1] - 1u) & 1))
          continue;
        TPos h = p;
        h.P[i][n - 1] = 0;
        h.P[d][m] = static_cast<std::uint8_t>(x + 1);
        ver(h);
      }
    }
    // The cards home last, so looked at first.
    for (std::uint64_t s = p.Sueltas; s; s &= s - 1) {
      const std::size_t x = static_cast<std::size_t>(__builtin_ctzll(s));
      if (p.K[x / 10] != x % 10) continue;
      TPos h = p;
      h.Sueltas &= ~Bit(x);
      ++h.K[x / 10];
      ver(h);
    }
    for (std::size_t i = 0; i < kPilas; ++i) {
      const std::size_t n = Cuenta(p.P[i]);
      if (n == 0) continue;
      const std::size_t x = p.P[i][n - 1] - 1u;
      if (p.K[x / 10] != x % 10) continue;
      TPos h = p;
      h.P[i][n - 1] = 0;
      ++h.K[x / 10];
      ver(h);
    }
  }
  if (sabidas && fin == TFin::SinSalida)
    vistos.CadaClave([sabidas](const TClave128& c) { sabidas->Poner(c, TSabidasSueltas::kPerdida); });
  return fin;
}

bool SePuede(const TAltas& a, std::size_t hasta) {
  if (!a.Posible || hasta >= 9) return false;
  // What takes a high card must be high too.
  for (std::size_t id = 0; id < 40; ++id)
    for (std::uint64_t t = a.Toman[id]; id % 10 > hasta && t; t &= t - 1)
      if (static_cast<std::size_t>(__builtin_ctzll(t)) % 10 <= hasta) return false;
  return true;
}

}  // namespace

bool SueltasSinSalida(const TAltas& a, const std::vector<std::vector<std::uint8_t>>& pilas,
                      std::uint64_t enCasa, std::size_t hasta, std::size_t limite,
                      std::size_t& vistas) {
  if (!SePuede(a, hasta) || pilas.size() > kPilas) return false;
  TJuego juego(a, hasta);
  TPos raiz;
  for (std::size_t i = 0; i < pilas.size(); ++i) {
    if (pilas[i].size() > 3) return false;
    for (std::size_t j = 0; j < pilas[i].size(); ++j)
      raiz.P[i][j] = static_cast<std::uint8_t>((pilas[i][j] & 0x3F) + 1);
  }
  for (std::size_t palo = 0; palo < 4; ++palo)
    while (raiz.K[palo] < 10 && (enCasa >> (palo * 10 + raiz.K[palo]) & 1)) ++raiz.K[palo];
  juego.Asentar(raiz);
  return Recorrer(juego, raiz, limite, nullptr, vistas) == TFin::SinSalida;
}

struct TSueltasPorPosicion::TDatos {
  TDatos(const TAltas& a, std::size_t hasta) : Altas(a), Juego(Altas, hasta) {}
  TAltas Altas;
  TJuego Juego;
  TSabidasSueltas Sabidas;
};

TSueltasPorPosicion::TSueltasPorPosicion(const TAltas& a, std::size_t hasta, std::size_t limite)
    : limite_(limite) {
  if (SePuede(a, hasta)) datos_ = std::make_unique<TDatos>(a, hasta);
}

TSueltasPorPosicion::~TSueltasPorPosicion() = default;

std::size_t TSueltasPorPosicion::Bytes() const { return datos_ ? datos_->Sabidas.Bytes() : 0; }

bool TSueltasPorPosicion::SinSalida(const TPilaVista* pilas, std::size_t n, std::uint64_t enCasa,
                                    bool jugar) {
  if (!datos_ || n > kPilas) return false;
  TPos p;
  for (std::size_t i = 0; i < n; ++i) {
    if (pilas[i].Cuenta > 3) return false;
    for (std::size_t j = 0; j < pilas[i].Cuenta; ++j)
      p.P[i][j] = static_cast<std::uint8_t>((pilas[i].Cartas[j] & 0x3F) + 1);
  }
  for (std::size_t palo = 0; palo < 4; ++palo)
    while (p.K[palo] < 10 && (enCasa >> (palo * 10 + p.K[palo]) & 1)) ++p.K[palo];
  datos_->Juego.Asentar(p);
  const TClave128 clave = Clave(p);
  const std::uint64_t sabida = datos_->Sabidas.Buscar(clave);
  if (sabida != TSabidasSueltas::kNada) return sabida == TSabidasSueltas::kPerdida;
  if (!jugar) return false;
  ++juegos_;
  const TFin fin = Recorrer(datos_->Juego, p, limite_, &datos_->Sabidas, vistas_);
  if (fin == TFin::SinSalida) return true;  // its positions kept as lost
  datos_->Sabidas.Poner(clave, fin == TFin::Ganable ? TSabidasSueltas::kGanada
                                                    : TSabidasSueltas::kDudosa);
  return false;
}
