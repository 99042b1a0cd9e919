#include "solver/AltasConMazo.h"

#include <array>
#include <utility>

#include "solver/ClavesVistas.h"

namespace {

std::uint64_t Bit(std::size_t id) { return std::uint64_t{1} << id; }

constexpr std::size_t kPilas = 12;  // piles off the foundations read at most
constexpr std::size_t kAlto = 24;   // cards on one pile at most

using TClave = TClave128;

}  // namespace

// A position of the game: each pile's cards bottom first (IdCarta), its count and how many
// lie face down; the stock's cards above T; the cards home per suit.
struct TPosConMazo {
  std::array<std::array<std::uint8_t, kAlto>, kPilas> C{};
  std::array<std::uint8_t, kPilas> N{};
  std::array<std::uint8_t, kPilas> Abajo{};
  std::uint64_t Mazo = 0;
  std::array<std::uint8_t, 4> K{};
};

namespace {

// The piles are interchangeable: each one's share is mixed alone and the shares summed.
TClave ParteDePila(const TPosConMazo& p, std::size_t i) {
  if (p.N[i] == 0) return {};
  std::uint64_t a = 0x243F6A8885A308D3ULL ^ (std::uint64_t{p.N[i]} | std::uint64_t{p.Abajo[i]} << 8);
  std::uint64_t b = 0x13198A2E03707344ULL ^ a;
  for (std::size_t j = 0; j < p.N[i]; ++j) {
    a = (a ^ p.C[i][j]) * 0x100000001B3ULL;
    b = (b + p.C[i][j]) * 0x9E3779B97F4A7C15ULL;
  }
  return {MezclarClave(a), MezclarClave(b ^ 0xD6E8FEB86659FD93ULL)};
}

// The piles' shares summed, the cards home and the stock mixed in.
TClave Clave(TClave pilas, const TPosConMazo& p) {
  const std::uint64_t casa = std::uint64_t{p.K[0]} | std::uint64_t{p.K[1]} << 8 |
                             std::uint64_t{p.K[2]} << 16 | std::uint64_t{p.K[3]} << 24;
  pilas.A += MezclarClave(casa ^ MezclarClave(p.Mazo));
  pilas.B += MezclarClave(casa ^ 0x5851F42D4C957F2DULL) + MezclarClave(p.Mazo ^ 0x2545F4914F6CDD1DULL);
  pilas.A |= 1;  // never the empty slot
  return pilas;
}

TClave Clave(const TPosConMazo& p) {
  TClave c;
  for (std::size_t i = 0; i < kPilas; ++i) {
    const TClave t = ParteDePila(p, i);
    c.A += t.A;
    c.B += t.B;
  }
  return Clave(c, p);
}

// Pile i's low cards on top leave, the card left on top turns up; then every suit goes
// home while its next card is neither on a pile nor in the stock. `quedan`: the cards on
// the piles and in the stock before the low ones left.
void Asentar(TPosConMazo& p, std::size_t i, std::uint64_t bajas, std::uint64_t quedan) {
  std::uint8_t& n = p.N[i];
  while (n > 0 && (bajas >> p.C[i][n - 1] & 1)) quedan &= ~Bit(p.C[i][--n]);
  if (n > 0 && p.Abajo[i] >= n) p.Abajo[i] = static_cast<std::uint8_t>(n - 1);
  if (n == 0) p.Abajo[i] = 0;
  for (std::size_t palo = 0; palo < 4; ++palo)
    while (p.K[palo] < 10 && !(quedan >> (palo * 10 + p.K[palo]) & 1)) ++p.K[palo];
}

}  // namespace

class TVistasConMazo : public TClavesVistas {
 public:
  using TClavesVistas::TClavesVistas;
};

TJuegoDeAltasConMazo::TJuegoDeAltasConMazo(const TBloqueos& b,
                                           const TMontonBloqueable* montones,
                                           std::size_t cuantos, std::size_t vacias,
                                           std::uint64_t enMazo, std::uint64_t enCasa,
                                           std::size_t hasta) {
  if (!b.Posible || hasta >= 9 || cuantos + vacias > kPilas) return;
  for (std::size_t id = 0; id < 40; ++id) {
    if (b.Antes[id] != ((Bit(id) - 1) & ~(Bit(id - id % 10) - 1))) return;
    if (id % 10 <= hasta) bajas_ |= Bit(id);
  }
  // What takes a high card is high too.
  for (std::size_t id = 0; id < 40; ++id)
    if (!(bajas_ >> id & 1) && (b.Sobre[id] & bajas_)) return;
  TPosConMazo raiz;
  for (std::size_t i = 0; i < cuantos; ++i) {
    const TMontonBloqueable& m = montones[i];
    if (m.Cuenta > kAlto) return;
    for (std::size_t j = 0; j < m.Cuenta; ++j) {
      raiz.C[i][j] = m.Cartas[j] & 0x3F;
      // A high face-up card lies on a high card where that one is face up too.
      if (j > m.Cubiertas && !(bajas_ >> raiz.C[i][j] & 1) && (bajas_ >> raiz.C[i][j - 1] & 1))
        return;
    }
    raiz.N[i] = m.Cuenta;
    raiz.Abajo[i] = m.Cubiertas;
  }
  raiz.Mazo = enMazo & ~bajas_;
  for (std::size_t palo = 0; palo < 4; ++palo)
    while (raiz.K[palo] < 10 && (enCasa >> (palo * 10 + raiz.K[palo]) & 1)) ++raiz.K[palo];
  std::uint64_t quedan = raiz.Mazo;
  for (std::size_t i = 0; i < kPilas; ++i)
    for (std::size_t j = 0; j < raiz.N[i]; ++j) quedan |= Bit(raiz.C[i][j]);
  for (std::size_t i = 0; i < kPilas; ++i) {
    const std::size_t n = raiz.N[i];
    Asentar(raiz, i, bajas_, quedan);
    for (std::size_t j = raiz.N[i]; j < n; ++j) quedan &= ~Bit(raiz.C[i][j]);
  }
  pilas_ = cuantos + vacias;
  sobre_ = b.Sobre;
  lleva_ = b.Lleva;
  vaciasToman_ = b.Vacias;
  vistos_ = std::make_unique<TVistasConMazo>();
  vistos_->Insertar(Clave(raiz));
  porVer_.push_back(raiz);
  fin_ = TFin::Sigue;
}

TJuegoDeAltasConMazo::~TJuegoDeAltasConMazo() = default;

std::size_t TJuegoDeAltasConMazo::Bytes() const {
  return (vistos_ ? vistos_->Bytes() : 0) + porVer_.capacity() * sizeof(TPosConMazo);
}

TJuegoDeAltasConMazo::TFin TJuegoDeAltasConMazo::Seguir(std::size_t limite) {
  // A child differs from its parent in pile i, pile d (SIZE_MAX: none; i too where the
  // card came from the stock), the stock and the cards home: its key is the parent's
  // piles' sum with those shares traded.
  std::array<TClave, kPilas> partes;
  TClave suma;
  std::vector<std::pair<TPosConMazo, TClave>> hijos;
  const auto ver = [&](const TPosConMazo& h, std::size_t i, std::size_t d) {
    TClave c = suma;
    for (const std::size_t k : {i, d}) {
      if (k == SIZE_MAX) continue;
      const TClave t = ParteDePila(h, k);
      c.A += t.A - partes[k].A;
      c.B += t.B - partes[k].B;
    }
    hijos.emplace_back(h, Clave(c, h));
    vistos_->Anticipar(hijos.back().second);
  };
  while (fin_ == TFin::Sigue) {
    if (porVer_.empty()) {
      fin_ = TFin::SinSalida;
      break;
    }
    if (vistos_->Cuenta() > limite) return fin_;
    const TPosConMazo p = porVer_.back();
    porVer_.pop_back();
    ++vistas_;
    if (p.K == std::array<std::uint8_t, 4>{10, 10, 10, 10}) {
      fin_ = TFin::Ganable;
      break;
    }
    hijos.clear();
    suma = TClave{};
    std::uint64_t enPilas = 0;
    std::uint64_t arriba = 0;  // the face-up cards
    for (std::size_t i = 0; i < pilas_; ++i) {
      partes[i] = ParteDePila(p, i);
      suma.A += partes[i].A;
      suma.B += partes[i].B;
      for (std::size_t j = 0; j < p.N[i]; ++j) enPilas |= Bit(p.C[i][j]);
      for (std::size_t j = p.Abajo[i]; j < p.N[i]; ++j) arriba |= Bit(p.C[i][j]);
    }
    const std::uint64_t quedan = enPilas | p.Mazo;
    std::uint64_t enCasa = 0;
    for (std::size_t palo = 0; palo < 4; ++palo)
      enCasa |= (Bit(p.K[palo]) - 1) << (palo * 10);
    // A card whose turn home it is and that no card still to be laid could lie on goes home
    // at once: nothing the line after would do needs it where it is, and every pile is left
    // as it was or with more of its cards gone and turned up.
    const auto segura = [&](std::size_t x) {
      return p.K[x / 10] == x % 10 && (lleva_[x] & ~bajas_ & ~enCasa) == 0;
    };
    const auto aCasa = [&](std::size_t i, std::size_t x) {
      TPosConMazo h = p;
      ++h.K[x / 10];
      if (i == SIZE_MAX) {
        h.Mazo &= ~Bit(x);
        Asentar(h, 0, 0, quedan & ~Bit(x));
      } else {
        --h.N[i];
        Asentar(h, i, bajas_, quedan & ~Bit(x));
      }
      ver(h, i, SIZE_MAX);
    };
    for (std::size_t i = 0; i < pilas_ && hijos.empty(); ++i)
      if (p.N[i] > 0 && segura(p.C[i][p.N[i] - 1])) aCasa(i, p.C[i][p.N[i] - 1]);
    for (std::uint64_t s = p.Mazo; s && hijos.empty(); s &= s - 1)
      if (segura(static_cast<std::size_t>(__builtin_ctzll(s))))
        aCasa(SIZE_MAX, static_cast<std::size_t>(__builtin_ctzll(s)));
    if (hijos.empty()) {
      // A stock card is laid on a pile only where a card could be laid on it next: a face-up
      // card of a pile, or a stock card that could itself be laid so. A line that lays it
      // earlier wins as well laying it just before that card: until then it lies on top,
      // used by no move, and the card under it is left as it was.
      std::uint64_t utiles = 0;
      for (std::uint64_t nuevas = ~std::uint64_t{0}; nuevas;) {
        nuevas = 0;
        for (std::uint64_t s = p.Mazo & ~utiles; s; s &= s - 1) {
          const auto x = static_cast<std::size_t>(__builtin_ctzll(s));
          if (lleva_[x] & (arriba | utiles)) nuevas |= Bit(x);
        }
        utiles |= nuevas;
      }
      std::size_t vacia = SIZE_MAX;  // one empty pile: they are interchangeable
      for (std::size_t d = 0; d < pilas_ && vacia == SIZE_MAX; ++d)
        if (p.N[d] == 0) vacia = d;
      // Where the card x could go from pile i (SIZE_MAX: the stock) from its place j.
      const auto poner = [&](std::size_t i, std::size_t j, std::size_t x) {
        for (std::size_t d = 0; d < pilas_; ++d) {
          if (d == i) continue;
          const std::size_t m = p.N[d];
          if (m == 0) {
            // A whole pile moved to an empty one changes nothing.
            if (d != vacia || !(vaciasToman_ >> x & 1) || j == 0) continue;
          } else if (!(sobre_[x] >> p.C[d][m - 1] & 1)) {
            continue;
          }
          const std::size_t lleva = i == SIZE_MAX ? 1 : p.N[i] - j;
          if (m + lleva > kAlto) continue;
          TPosConMazo h = p;
          if (i == SIZE_MAX) {
            h.C[d][m] = static_cast<std::uint8_t>(x);
            h.Mazo &= ~Bit(x);
          } else {
            for (std::size_t k = 0; k < lleva; ++k) h.C[d][m + k] = p.C[i][j + k];
            h.N[i] = static_cast<std::uint8_t>(j);
          }
          h.N[d] = static_cast<std::uint8_t>(m + lleva);
          if (i != SIZE_MAX) Asentar(h, i, bajas_, quedan);
          ver(h, i, d);
        }
      };
      // Looked at last to first: the cards home, then the runs that turn a card up or empty
      // a pile, then the stock's cards, then the other runs.
      for (std::size_t i = 0; i < pilas_; ++i)
        for (std::size_t j = p.Abajo[i] + 1u; j < p.N[i]; ++j) poner(i, j, p.C[i][j]);
      for (std::uint64_t s = utiles; s; s &= s - 1)
        poner(SIZE_MAX, SIZE_MAX, static_cast<std::size_t>(__builtin_ctzll(s)));
      for (std::size_t i = 0; i < pilas_; ++i)
        if (p.N[i] > 0) poner(i, p.Abajo[i], p.C[i][p.Abajo[i]]);
      // The cards home last, so looked at first: a game that wins mostly wins so, soon.
      for (std::size_t i = 0; i < pilas_; ++i) {
        if (p.N[i] == 0) continue;
        const std::size_t x = p.C[i][p.N[i] - 1];
        if (p.K[x / 10] == x % 10) aCasa(i, x);
      }
      for (std::uint64_t s = p.Mazo; s; s &= s - 1) {
        const auto x = static_cast<std::size_t>(__builtin_ctzll(s));
        if (p.K[x / 10] == x % 10) aCasa(SIZE_MAX, x);
      }
    }
    for (const auto& [h, c] : hijos)
      if (vistos_->Insertar(c)) porVer_.push_back(h);
  }
  vistos_.reset();
  porVer_ = {};
  return fin_;
}
