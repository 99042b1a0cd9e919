#include "solver/Reserva.h"

#include <algorithm>
#include <cstdlib>

struct TPosReserva {
  std::uint64_t Fuera = 0;  // the stock's sequence: the cards gone
  std::array<std::uint8_t, 10> Montones{};  // per rank, cards on the piles that build
  std::array<std::uint8_t, 10> Bases{};     // per rank, those piles' bottom cards
  std::array<std::uint8_t, 4> Salidas{};    // cards gone from each reserve's top
  std::uint8_t Casa = 0;        // cards home
  std::uint8_t Repartidas = 0;  // the sequence's cards dealt, gone or on the waste
  std::uint8_t Vueltas = 0;     // redeals left
};

namespace {

std::uint64_t Mezcla(std::uint64_t x) {
  x ^= x >> 33;
  x *= 0xff51afd7ed558ccdULL;
  x ^= x >> 33;
  return x;
}

// Whether the piles' cards split into runs down from those bottom cards, one run each:
// going down, a rank's cards are the runs that go on from the rank above plus those that
// start there.
// Tried: the counts alone, at most as many runs as piles, the bottom cards not read.
const bool kSoloCuentas = std::getenv("RESERVA_CUENTAS") != nullptr;
std::size_t gMontones = 4;
// Tried: won as soon as a card goes home.
const bool kHastaLaSiguiente = std::getenv("RESERVA_UNA") != nullptr;

bool Cabe(const std::array<std::uint8_t, 10>& montones, const std::array<std::uint8_t, 10>& bases) {
  if (kSoloCuentas) return MenosRachas(montones.data(), montones.data()) <= gMontones;
  std::uint8_t arriba = 0;
  for (std::size_t rango = 10; rango-- > 0;) {
    if (bases[rango] > montones[rango] || montones[rango] - bases[rango] > arriba) return false;
    arriba = montones[rango];
  }
  return true;
}

// A set of bottom cards as a word: their ranks (As 1) four bits each, lowest first.
std::uint32_t Codigo(const std::array<std::uint8_t, 10>& bases) {
  std::uint32_t c = 0;
  std::size_t bit = 0;
  for (std::size_t rango = 0; rango < 10; ++rango)
    for (std::size_t j = 0; j < bases[rango]; ++j, bit += 4)
      c |= static_cast<std::uint32_t>(rango + 1) << bit;
  return c;
}

std::array<std::uint8_t, 10> Bases(std::uint32_t c) {
  std::array<std::uint8_t, 10> b{};
  for (; c != 0; c >>= 4) ++b[(c & 0xF) - 1];
  return b;
}

// Open addressing on 62-bit keys, each slot the key and two bits of state (never 0).
class TTabla {
 public:
  int Estado(std::uint64_t clave) const {
    if (tabla_.empty()) return 0;
    const std::size_t mascara = tabla_.size() - 1;
    for (std::size_t i = Mezcla(clave) & mascara;; i = (i + 1) & mascara) {
      if (tabla_[i] == 0) return 0;
      if ((tabla_[i] >> 2) == clave) return static_cast<int>(tabla_[i] & 3);
    }
  }
  void Anotar(std::uint64_t clave, int estado) {
    if ((cuantas_ + 1) * 2 > tabla_.size()) {
      std::vector<std::uint64_t> vieja(std::max<std::size_t>(tabla_.size() * 2, 4096), 0);
      vieja.swap(tabla_);
      for (std::uint64_t e : vieja)
        if (e != 0) tabla_[Hueco(e >> 2)] = e;
    }
    tabla_[Hueco(clave)] = (clave << 2) | static_cast<std::uint64_t>(estado);
    ++cuantas_;
  }
  std::size_t Cuantas() const { return cuantas_; }
  std::size_t Bytes() const { return tabla_.capacity() * sizeof(std::uint64_t); }

 private:
  std::size_t Hueco(std::uint64_t clave) const {
    const std::size_t mascara = tabla_.size() - 1;
    std::size_t i = Mezcla(clave) & mascara;
    while (tabla_[i] != 0) i = (i + 1) & mascara;
    return i;
  }
  std::vector<std::uint64_t> tabla_;
  std::size_t cuantas_ = 0;
};

}  // namespace

struct TMarcoReserva {
  TPosReserva Pos;
  std::uint64_t Clave;
  TClaseBases Clase;
  std::uint8_t Miembro;  // the set of bottom cards whose moves are tried
  std::uint8_t Mov;
};

struct TTablasReserva {
  TTabla Asentadas;  // settled: 1 won, 2 lost
  std::vector<TMarcoReserva> Camino;
};

bool ReservaPosible(const TMesa& m, const TRachas& r) {
  if (!r.Posible) return false;
  if (!m.Mazo) return true;
  return m.Mazo->Destinos.size() == 1 && m.Mazo->Destinos[0].Cantidad == 1 &&
         r.Descarte != SIZE_MAX && m.Mazo->Descarte == m.Pilas[r.Descarte].get();
}

TJuegoDeReserva::~TJuegoDeReserva() = default;

TJuegoDeReserva::TJuegoDeReserva(const TRachas& r, const std::uint8_t* cuentas,
                                 const std::uint8_t* cartas, std::size_t enMazo,
                                 std::size_t vueltas, std::size_t tope)
    : r_(r), tope_(tope), tablas_(std::make_unique<TTablasReserva>()) {
  indice_.fill(255);
  gMontones = r.Montones;
  if (!r.Posible || vueltas > 3) return;  // no end to the redeals, or more than the key holds
  const std::size_t n = r.Clase.size();
  std::size_t k = 0;
  for (std::size_t i = 0; i < n; k += cuentas[i], ++i) {
    const std::uint8_t* c = cartas + k;
    switch (r.Clase[i]) {
      case TRachas::Casa:
        casa_ = i;
        casaRaiz_ = cuentas[i];
        break;
      case TRachas::Monton:
        for (std::size_t j = 0; j < cuentas[i]; ++j) ++montones_[(c[j] & 0x3F) % 10];
        break;
      case TRachas::Cerrada:
        if (i == r.Descarte) {
          for (std::size_t j = 0; j < cuentas[i]; ++j) {
            indice_[c[j] & 0x3F] = static_cast<std::uint8_t>(largo_);
            secuencia_[largo_++] = (c[j] & 0x3F) % 10;
          }
        } else {
          if (nReservas_ == reservas_.size()) return;
          reservas_[nReservas_] = i;
          enReserva_[nReservas_] = cuentas[i];
          for (std::size_t j = 0; j < cuentas[i]; ++j)
            reserva_[nReservas_][j] = (c[cuentas[i] - 1 - j] & 0x3F) % 10;
          ++nReservas_;
        }
        break;
    }
  }
  for (std::size_t j = 0; j < enMazo; ++j) {
    indice_[cartas[k + j] & 0x3F] = static_cast<std::uint8_t>(largo_);
    secuencia_[largo_++] = (cartas[k + j] & 0x3F) % 10;
  }
  // Home's count, each reserve's, the sequence's cards, how far dealt, the redeals, the
  // piles' bottom cards (four bits each), with two bits for the state.
  leible_ = casa_ != SIZE_MAX &&
            1 + 6 + 6 * nReservas_ + largo_ + 6 + 2 + 4 * r.Montones + 2 <= 64;
}

std::size_t TJuegoDeReserva::Tope(const TPosReserva& p) const {
  std::size_t j = p.Repartidas;
  while (j > 0 && ((p.Fuera >> (j - 1)) & 1u)) --j;
  return j;  // the waste's top is card j - 1; 0: an empty waste
}

std::size_t TJuegoDeReserva::Clase(const TPosReserva& p, TClaseBases& clase) const {
  // Every set of bottom cards the piles' moves among themselves reach: a lone card laid
  // on another pile, or a card laid from a pile on an empty one. Each such move can be
  // undone, so the set is the same from any of them.
  clase.Cuantos = 0;
  clase.Miembros[clase.Cuantos++] = Codigo(p.Bases);
  for (std::size_t k = 0; k < clase.Cuantos; ++k) {
    const std::array<std::uint8_t, 10> base = Bases(clase.Miembros[k]);
    std::size_t total = 0;
    for (std::uint8_t b : base) total += b;
    for (std::size_t mov = 0; mov < 20 && !kSoloCuentas; ++mov) {
      std::array<std::uint8_t, 10> otra = base;
      const std::size_t rango = mov % 10;
      if (mov < 10) {
        if (base[rango] == 0) continue;
        --otra[rango];
      } else {
        if (total >= r_.Montones || base[rango] >= p.Montones[rango]) continue;
        ++otra[rango];
      }
      if (!Cabe(p.Montones, otra)) continue;
      const std::uint32_t c = Codigo(otra);
      if (std::find(clase.Miembros.begin(), clase.Miembros.begin() + clase.Cuantos, c) !=
          clase.Miembros.begin() + clase.Cuantos)
        continue;
      if (clase.Cuantos == clase.Miembros.size()) return 0;
      clase.Miembros[clase.Cuantos++] = c;
    }
  }
  std::sort(clase.Miembros.begin(), clase.Miembros.begin() + clase.Cuantos);
  return clase.Cuantos;
}

std::uint64_t TJuegoDeReserva::Clave(TPosReserva& p, std::uint32_t bases) const {
  // Cards gone past the waste's top make no difference to where the stock deals on.
  p.Repartidas = static_cast<std::uint8_t>(Tope(p));
  std::uint64_t c = 1u | (std::uint64_t{p.Casa} << 1);
  std::size_t bit = 7;
  for (std::size_t i = 0; i < nReservas_; ++i, bit += 6) c |= std::uint64_t{p.Salidas[i]} << bit;
  c |= std::uint64_t{p.Repartidas} << bit;
  bit += 6;
  c |= std::uint64_t{p.Vueltas} << bit;
  bit += 2;
  c |= std::uint64_t{bases} << bit;
  bit += 4 * r_.Montones;
  return c | (p.Fuera << bit);
}

// A position's state, settled or not, and where not, its key: that of the least set of
// bottom cards it stands for. Each set stands for the same position, so a settled one is
// also noted under the key with the position's own set, which is read first.
int TJuegoDeReserva::Leer(TPosReserva& p, TClaseBases& clase, std::uint64_t& clave) {
  TTabla& asentadas = tablas_->Asentadas;
  const std::uint64_t propia = Clave(p, Codigo(p.Bases));
  int e = asentadas.Estado(propia);
  if (e != 0) return e;
  if (Clase(p, clase) == 0) return -1;
  clave = Clave(p, clase.Miembros[0]);
  if (clave == propia) return 0;
  e = asentadas.Estado(clave);
  if (e != 0) asentadas.Anotar(propia, e);
  return e;
}

bool TJuegoDeReserva::Mapear(const std::uint8_t* cuentas, const std::uint8_t* cartas,
                             std::size_t enMazo, std::size_t vueltas, TPosReserva& p) const {
  const std::size_t n = r_.Clase.size();
  p = TPosReserva{};
  p.Vueltas = static_cast<std::uint8_t>(vueltas);
  std::uint64_t presentes = 0;
  std::size_t anterior = 0;  // one past the last card of the sequence met
  bool enOrden = true;
  const auto leer = [&](std::uint8_t carta) {
    const std::uint8_t j = indice_[carta & 0x3F];
    if (j == 255 || j < anterior) enOrden = false;
    anterior = static_cast<std::size_t>(j) + 1;
    presentes |= std::uint64_t{1} << (j & 63);
  };
  std::size_t k = 0;
  std::size_t res = 0;
  for (std::size_t i = 0; i < n; k += cuentas[i], ++i) {
    const std::uint8_t* c = cartas + k;
    if (i == casa_) {
      p.Casa = cuentas[i];
    } else if (r_.Clase[i] == TRachas::Monton) {
      if (cuentas[i] > 0 && !kSoloCuentas) ++p.Bases[(c[0] & 0x3F) % 10];
    } else if (i == r_.Descarte) {
      for (std::size_t j = 0; j < cuentas[i]; ++j) leer(c[j]);
      p.Repartidas = static_cast<std::uint8_t>(anterior);
    } else if (res < nReservas_ && reservas_[res] == i) {
      // Only ever cards gone from its top: the same cards under what is left.
      if (cuentas[i] > enReserva_[res]) return false;
      p.Salidas[res] = static_cast<std::uint8_t>(enReserva_[res] - cuentas[i]);
      ++res;
    }
  }
  for (std::size_t j = 0; j < enMazo; ++j) leer(cartas[k + j]);
  if (!enOrden || res != nReservas_ || p.Casa < casaRaiz_) return false;
  const std::uint64_t todas = largo_ == 64 ? ~std::uint64_t{0} : (std::uint64_t{1} << largo_) - 1;
  p.Fuera = todas & ~presentes;
  // The piles that build hold what is left.
  p.Montones = montones_;
  for (std::size_t i = 0; i < nReservas_; ++i)
    for (std::size_t j = 0; j < p.Salidas[i]; ++j) ++p.Montones[reserva_[i][j]];
  for (std::size_t j = 0; j < largo_; ++j)
    if ((p.Fuera >> j) & 1u) ++p.Montones[secuencia_[j]];
  for (std::size_t c = casaRaiz_; c < p.Casa; ++c) {
    if (p.Montones[c % 10] == 0) return false;
    --p.Montones[c % 10];
  }
  return Cabe(p.Montones, p.Bases);
}

// The move numbered `mov`, cards home first: off the piles that build (the pile left
// with cards, or emptied), off each reserve's top, off the waste's; then cards laid on
// the piles that build, on a top or on an empty pile; a pile's bottom card laid on
// another pile, or a card laid on an empty pile from another; the stock click. False
// where there is no such move, or the piles' cards would not split so.
bool TJuegoDeReserva::Hija(const TPosReserva& p, std::size_t mov, TPosReserva& h) const {
  h = p;
  const std::size_t fuentes = nReservas_ + 1;
  const std::uint8_t quiere = p.Casa % 10;
  std::size_t bases = 0;
  for (std::uint8_t b : p.Bases) bases += b;
  if (mov < 2) {
    if (p.Montones[quiere] == 0) return false;
    --h.Montones[quiere];
    ++h.Casa;
    if (mov == 1) {
      if (kSoloCuentas || p.Bases[quiere] == 0) return false;
      --h.Bases[quiere];
    }
    return Cabe(h.Montones, h.Bases);
  }
  mov -= 2;
  if (mov < 3 * fuentes) {
    const std::size_t i = mov % fuentes;
    const std::size_t como = mov / fuentes;  // home, on a top, on an empty pile
    std::uint8_t rango;
    if (i < nReservas_) {
      if (p.Salidas[i] >= enReserva_[i]) return false;
      rango = reserva_[i][p.Salidas[i]];
      ++h.Salidas[i];
    } else {
      const std::size_t t = Tope(p);
      if (t == 0) return false;
      rango = secuencia_[t - 1];
      h.Fuera |= std::uint64_t{1} << (t - 1);
    }
    if (como == 0) {
      if (rango != quiere) return false;
      ++h.Casa;
      return true;
    }
    ++h.Montones[rango];
    if (como == 2) {
      if (kSoloCuentas || bases >= r_.Montones) return false;
      ++h.Bases[rango];
    }
    return Cabe(h.Montones, h.Bases);
  }
  if (mov > 3 * fuentes) return false;
  std::size_t j = p.Repartidas;
  while (j < largo_ && ((p.Fuera >> j) & 1u)) ++j;
  if (j < largo_) {
    h.Repartidas = static_cast<std::uint8_t>(j + 1);
    return true;
  }
  if (p.Vueltas == 0) return false;
  h.Repartidas = 0;
  --h.Vueltas;
  return true;
}

std::size_t TJuegoDeReserva::Bytes() const { return tablas_->Asentadas.Bytes(); }

bool TJuegoDeReserva::SinSalida(const std::uint8_t* cuentas, const std::uint8_t* cartas,
                                std::size_t enMazo, std::size_t vueltas) {
  TPosReserva raiz;
  if (!leible_ || !Mapear(cuentas, cartas, enMazo, vueltas, raiz)) return false;
  TTabla& asentadas = tablas_->Asentadas;
  TClaseBases clase;
  std::uint64_t claveRaiz = 0;
  const int conocido = Leer(raiz, clase, claveRaiz);
  if (conocido != 0 || asentadas.Cuantas() >= tope_) return conocido == 2;
  std::vector<TMarcoReserva>& camino_ = tablas_->Camino;
  camino_.assign(1, {raiz, claveRaiz, clase, 0, 0});
  // Depth-first. Up to the piles' moves among themselves (each position stands for every
  // set of bottom cards they reach) no move comes back to a position: each deals on,
  // takes a redeal or takes a card from where it lay for good. So a position whose moves
  // all lead to lost ones is lost, and none met is on the path.
  ++vistas_;
  const std::size_t movs = 2 + 3 * (nReservas_ + 1) + 1;
  while (!camino_.empty()) {
    TMarcoReserva& m = camino_.back();
    if (m.Pos.Casa == 40) break;
    if (m.Mov == movs) {
      m.Mov = 0;
      ++m.Miembro;
    }
    if (m.Miembro == m.Clase.Cuantos) {
      asentadas.Anotar(m.Clave, 2);
      camino_.pop_back();
      continue;
    }
    TPosReserva desde = m.Pos;
    desde.Bases = Bases(m.Clase.Miembros[m.Miembro]);
    const std::size_t mov = m.Mov++;
    // The stock click leaves the bottom cards as they are: asked once.
    if (mov == movs - 1 && m.Miembro > 0) continue;
    TMarcoReserva h{};
    if (!Hija(desde, mov, h.Pos)) continue;
    const int e = Leer(h.Pos, h.Clase, h.Clave);
    if (e < 0) return false;  // too many sets to read
    if (e == 1 || (kHastaLaSiguiente && h.Pos.Casa > m.Pos.Casa)) break;
    if (e == 2) continue;
    if (asentadas.Cuantas() + camino_.size() >= tope_) return false;  // proves nothing
    camino_.push_back(h);
    ++vistas_;
  }
  if (camino_.empty()) return true;
  for (const TMarcoReserva& m : camino_) asentadas.Anotar(m.Clave, 1);  // a win from each
  return false;
}

bool ReservaSinSalida(const TRachas& r, const std::uint8_t* cuentas, const std::uint8_t* cartas,
                      std::size_t enMazo, std::size_t vueltas, std::size_t limite,
                      std::size_t& vistas) {
  TJuegoDeReserva juego(r, cuentas, cartas, enMazo, vueltas, limite);
  const bool sin = juego.SinSalida(cuentas, cartas, enMazo, vueltas);
  vistas += juego.Vistas();
  return sin;
}
