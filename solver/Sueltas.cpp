#include "solver/Sueltas.h"

#include <array>

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

}  // namespace

bool SueltasSinSalida(const TAltas& a, const std::vector<std::vector<std::uint8_t>>& pilas,
                      std::uint64_t enCasa, std::size_t hasta, std::size_t limite,
                      std::size_t& vistas) {
  if (!a.Posible || pilas.size() > kPilas || hasta >= 9) return false;
  // What takes a high card must be high too.
  for (std::size_t id = 0; id < 40; ++id)
    for (std::uint64_t t = a.Toman[id]; id % 10 > hasta && t; t &= t - 1)
      if (static_cast<std::size_t>(__builtin_ctzll(t)) % 10 <= hasta) return false;
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
  TClavesVistas vistos;
  vistos.Insertar(Clave(raiz));
  std::vector<TPos> porVer{raiz};
  std::size_t miradas = 0;
  const auto ver = [&](TPos& h) {
    juego.Asentar(h);
    if (juego.Caben(h) && vistos.Insertar(Clave(h))) porVer.push_back(h);
  };
  bool sinSalida = false;
  while (true) {
    if (porVer.empty()) {
      sinSalida = true;
      break;
    }
    if (vistos.Cuenta() > limite) break;
    const TPos p = porVer.back();
    porVer.pop_back();
    ++miradas;
    if (p.K == std::array<std::uint8_t, 4>{10, 10, 10, 10}) break;
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
  vistas += miradas;
  return sinSalida;
}
