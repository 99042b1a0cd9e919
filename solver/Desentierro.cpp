#include "solver/Desentierro.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr std::size_t Rango(std::size_t id) { return id % 10; }  // 0 for the As

// The piles that build, each as one byte, in order: two states whose piles differ only in
// their order play alike.
std::array<std::uint8_t, TDesentierro::kMontones> EnOrden(const TDesentierro::TEstado& e,
                                                          std::size_t montones) {
  std::array<std::uint8_t, TDesentierro::kMontones> p{};
  for (std::size_t i = 0; i < montones; ++i) {
    const auto x = static_cast<std::uint8_t>(e.Fondo[i] * 11 + e.Tope[i] + 1);
    std::size_t j = i;
    for (; j > 0 && p[j - 1] > x; --j) p[j] = p[j - 1];
    p[j] = x;
  }
  return p;
}

// The cards a reading starts from, and what it is keyed by. False where the table holds
// more piles than the game keeps, or a card of the wanted rank is at hand already.
struct TLectura {
  TDesentierro::TEstado Inicio;
  std::size_t Montones = 0;
  std::size_t Cerradas = 0;
  std::size_t Quiere = 0;
  std::array<std::array<std::uint8_t, 40>, TDesentierro::kCerradas> Orden{};
};

bool Leer(const TRachas& r, const std::uint8_t* cuentas, const std::uint8_t* cartas,
          std::size_t enMazo, bool vueltas, TLectura& l) {
  if (!r.Posible || !r.UnaALaVez) return false;
  const std::size_t n = r.Clase.size();
  std::size_t k = 0;
  for (std::size_t i = 0; i < n; k += cuentas[i], ++i) {
    const std::size_t c = cuentas[i];
    if (r.Clase[i] == TRachas::Casa) {
      if (c == 40) return false;
      if (c > 0) l.Quiere = (Rango(cartas[k + c - 1] & 0x3F) + 1) % 10;
    } else if (r.Clase[i] == TRachas::Monton) {
      if (l.Montones == TDesentierro::kMontones) return false;
      if (c > 0) {
        l.Inicio.Fondo[l.Montones] = static_cast<std::uint8_t>(Rango(cartas[k] & 0x3F) + 1);
        l.Inicio.Tope[l.Montones] = static_cast<std::uint8_t>(Rango(cartas[k + c - 1] & 0x3F) + 1);
      }
      ++l.Montones;
    } else if (vueltas && i == r.Descarte) {
      for (std::size_t j = 0; j < c; ++j) ++l.Inicio.Sueltas[Rango(cartas[k + j] & 0x3F)];
    } else if (c > 0) {
      if (l.Cerradas == TDesentierro::kCerradas) return false;
      for (std::size_t j = 0; j < c; ++j)
        l.Orden[l.Cerradas][j] = static_cast<std::uint8_t>(Rango(cartas[k + j] & 0x3F));
      l.Inicio.Quedan[l.Cerradas++] = static_cast<std::uint8_t>(c);
    }
  }
  for (std::size_t j = 0; j < enMazo; ++j) ++l.Inicio.Sueltas[Rango(cartas[k + j] & 0x3F)];
  return true;
}

// Whether a card of rank `x` is at hand in `l`'s start: in the stock, or on a top; or none
// is left off the home pile.
bool AMano(const TLectura& l, std::size_t x) {
  if (l.Inicio.Sueltas[x] > 0) return true;
  bool queda = false;
  for (std::size_t p = 0; p < l.Montones; ++p) {
    if (l.Inicio.Tope[p] == x + 1) return true;
    if (l.Inicio.Tope[p] != 0 && l.Inicio.Tope[p] <= x + 1 && x + 1 <= l.Inicio.Fondo[p])
      queda = true;
  }
  for (std::size_t c = 0; c < l.Cerradas; ++c) {
    if (l.Orden[c][l.Inicio.Quedan[c] - 1] == x) return true;
    for (std::size_t j = 0; j < l.Inicio.Quedan[c]; ++j) queda = queda || l.Orden[c][j] == x;
  }
  return !queda;
}

// The slots a game of up to `estados` states keys them in: four a state, so that a look
// passes a few slots at most.
constexpr std::size_t Slots(std::size_t estados) { return 4 * estados; }

// Whether the game (see the header) brings a card of the rank to a top within `limite`
// states, or runs out of them: either spares the position.
class TPartida {
 public:
  TPartida(const TLectura& l, std::size_t objetivo, std::vector<TDesentierro::TEstado>& pila,
           std::vector<TDesentierro::TVisto>& vistos, std::uint16_t sello, std::size_t limite)
      : l_(l), objetivo_(objetivo), pila_(pila), vistos_(vistos), sello_(sello), limite_(limite) {}

  bool Alcanza() {
    pila_.clear();
    TDesentierro::TEstado inicio = l_.Inicio;
    inicio.Casa = static_cast<std::uint8_t>(l_.Quiere);
    Marcar(inicio);
    pila_.push_back(inicio);
    while (!pila_.empty()) {
      const TDesentierro::TEstado e = pila_.back();
      pila_.pop_back();
      if (Hijas(e)) return true;
    }
    return false;
  }

 private:
  using TEstado = TDesentierro::TEstado;

  // Keeps a new state; true when the rank reached a top or the states ran out.
  bool Poner(const TEstado& e, bool alcanzada) {
    if (alcanzada) return true;
    if (!Marcar(e)) return false;
    if (++estados_ > limite_) return true;
    pila_.push_back(e);
    return false;
  }

  // The state keyed by its piles that build in order and its depths: the stock's cards
  // left follow from the rest. False where it was seen.
  bool Marcar(const TEstado& e) {
    const auto p = EnOrden(e, l_.Montones);
    std::uint64_t a = 0;
    std::memcpy(&a, p.data(), 8);
    std::uint32_t b = 0;
    std::memcpy(&b, e.Quedan.data(), 4);
    std::uint64_t h = (a ^ ((std::uint64_t{b} << 4 | e.Casa) * 0x9E3779B97F4A7C15ull)) *
                      0xff51afd7ed558ccdull;
    const std::size_t mascara = Slots(limite_) - 1;
    for (std::size_t s = (h ^ (h >> 29)) & mascara;; s = (s + 1) & mascara) {
      TDesentierro::TVisto& v = vistos_[s];
      if (v.Sello != sello_) {
        v = TDesentierro::TVisto{a, b, e.Casa, sello_};
        return true;
      }
      if (v.Montones == a && v.Quedan == b && v.Casa == e.Casa) return false;
    }
  }

  // A card of rank `x` laid on every pile that takes it: one whose top is the rank above,
  // or the first empty one; or laid so on the stock's cards of the ranks above it, laid
  // first from the highest. `e` is the state with the card gone from where it was.
  //
  // The stock's cards are laid on a pile only so, just before a card not of the stock
  // lies on them: a line that lays one sooner wins as well laying it at its first use (a
  // card laid on it, or itself moved, or sent home, which may take it from the stock
  // straight), the pile's top meanwhile being the card under it, on which the line lays
  // nothing; and one never used need not be laid at all.
  bool Colocar(const TEstado& e, std::size_t x, std::size_t desde, bool alcanzada) {
    TEstado base = e;
    for (std::size_t abajo = x; abajo < 10; ++abajo) {  // the lowest card laid
      if (abajo > x) {
        if (base.Sueltas[abajo] == 0) return false;
        --base.Sueltas[abajo];
      }
      bool vacia = false;
      for (std::size_t p = 0; p < l_.Montones; ++p) {
        if (p == desde) continue;
        if (base.Tope[p] == 0) {
          // A lone card moved to an empty pile alone leaves the piles as they were.
          if (vacia || (abajo == x && desde < l_.Montones && base.Tope[desde] == 0)) continue;
          vacia = true;
          TEstado h = base;
          h.Fondo[p] = static_cast<std::uint8_t>(abajo + 1);
          h.Tope[p] = static_cast<std::uint8_t>(x + 1);
          if (Poner(h, alcanzada)) return true;
        } else if (base.Tope[p] == abajo + 2) {
          TEstado h = base;
          h.Tope[p] = static_cast<std::uint8_t>(x + 1);
          if (Poner(h, alcanzada)) return true;
        }
      }
    }
    return false;
  }

  // A card of rank `x` sent home where it takes it next, before the rank read: one of each
  // rank from the one it wants now up to the one below that.
  bool ACasa(TEstado h, std::size_t x, bool alcanzada) {
    if (x != h.Casa || x == objetivo_) return false;
    h.Casa = static_cast<std::uint8_t>((x + 1) % 10);
    return Poner(h, alcanzada);
  }

  // Every move from `e`, the stock's card home first so that the piles that take nothing,
  // stacked last, are tried first.
  bool Hijas(const TEstado& e) {
    if (e.Sueltas[e.Casa] > 0) {
      TEstado h = e;
      --h.Sueltas[e.Casa];
      if (ACasa(h, e.Casa, false)) return true;
    }
    for (std::size_t p = 0; p < l_.Montones; ++p) {
      if (e.Tope[p] == 0) continue;
      const std::size_t x = e.Tope[p] - 1u;
      TEstado h = e;
      if (h.Fondo[p] == h.Tope[p]) {
        h.Fondo[p] = h.Tope[p] = 0;
      } else {
        ++h.Tope[p];
      }
      const bool alcanzada = h.Tope[p] == objetivo_ + 1;
      if (ACasa(h, x, alcanzada) || Colocar(h, x, p, alcanzada)) return true;
    }
    for (std::size_t c = 0; c < l_.Cerradas; ++c) {
      if (e.Quedan[c] == 0) continue;
      const std::size_t x = l_.Orden[c][e.Quedan[c] - 1u];
      TEstado h = e;
      --h.Quedan[c];
      const bool alcanzada = h.Quedan[c] > 0 && l_.Orden[c][h.Quedan[c] - 1u] == objetivo_;
      if (ACasa(h, x, alcanzada) || Colocar(h, x, SIZE_MAX, alcanzada)) return true;
    }
    return false;
  }

  const TLectura& l_;
  std::size_t objetivo_;
  std::vector<TDesentierro::TEstado>& pila_;
  std::vector<TDesentierro::TVisto>& vistos_;
  std::uint16_t sello_;
  std::size_t limite_;
  std::size_t estados_ = 0;
};


// Every rank read in turn, from the one the home pile wants: one no play brings to a top
// proves the position lost.
bool Leida(const TLectura& l, std::vector<TDesentierro::TEstado>& pila,
           std::vector<TDesentierro::TVisto>& vistos, std::uint16_t& sello, std::size_t rangos,
           std::size_t estados) {
  if (vistos.size() < Slots(estados)) vistos.resize(Slots(estados));
  for (std::size_t d = 0; d < rangos && d < 10; ++d) {
    const std::size_t objetivo = (l.Quiere + d) % 10;
    if (AMano(l, objetivo)) continue;
    if (++sello == 0) {  // after 65,535 games, old stamps would match
      std::fill(vistos.begin(), vistos.end(), TDesentierro::TVisto{});
      sello = 1;
    }
    if (!TPartida(l, objetivo, pila, vistos, sello, estados).Alcanza()) return true;
  }
  return false;
}

}  // namespace

bool SinSalidaParaElRango(const TRachas& r, const std::uint8_t* cuentas,
                          const std::uint8_t* cartas, std::size_t enMazo, bool vueltas,
                          std::size_t rangos, std::size_t estados) {
  TLectura l;
  if (!Leer(r, cuentas, cartas, enMazo, vueltas, l)) return false;
  std::vector<TDesentierro::TEstado> pila;
  std::vector<TDesentierro::TVisto> vistos;
  std::uint16_t sello = 0;
  return Leida(l, pila, vistos, sello, rangos, estados);
}

void TDesentierro::Limitar(std::size_t bytes) {
  // Half for the answers, half for the slots of the states of one game.
  respuestas_.Limitar(bytes / 2, std::size_t{1} << 16);
  estadosRaiz_ = 0;
  for (std::size_t e = 1; e <= kEstadosRaiz && Slots(e) * sizeof(TVisto) <= bytes / 2; e *= 2)
    estadosRaiz_ = e;
  estados_ = std::min(kEstados, estadosRaiz_);
}

bool TDesentierro::SinSalida(const TRachas& r, const std::uint8_t* cuentas,
                             const std::uint8_t* cartas, std::size_t enMazo, bool vueltas,
                             bool raiz) {
  TLectura l;
  if (estados_ == 0 || !Leer(r, cuentas, cartas, enMazo, vueltas, l)) return false;
  const std::size_t rangos = raiz ? 10 : kRangos;
  const auto jugar = [&] {
    ++lecturas_;
    return Leida(l, pila_, vistos_, sello_, rangos, raiz ? estadosRaiz_ : estados_);
  };
  if (!respuestas_.Guarda()) return jugar();
  // The key: the rank the home pile wants, the piles that build in order, each pile that
  // takes nothing, and the stock's cards by rank.
  TRespuestas::TClave clave{};
  constexpr std::size_t kClave = TRespuestas::kClave;
  std::size_t b = 0;
  clave[b++] = static_cast<std::uint8_t>(l.Quiere + 1 + (raiz ? 16 : 0));
  const auto p = EnOrden(l.Inicio, l.Montones);
  for (std::size_t i = 0; i < l.Montones; ++i) clave[b++] = p[i];
  for (std::size_t c = 0; c < l.Cerradas; ++c) {
    if (b + 1 + l.Inicio.Quedan[c] + 10 > kClave) return jugar();
    clave[b++] = l.Inicio.Quedan[c];
    for (std::size_t j = 0; j < l.Inicio.Quedan[c]; ++j) clave[b++] = l.Orden[c][j];
  }
  if (b + 10 > kClave) return jugar();
  for (std::size_t x = 0; x < 10; ++x) clave[b++] = l.Inicio.Sueltas[x];
  return respuestas_.Leer(clave, jugar);
}
