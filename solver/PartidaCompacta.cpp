#include "solver/PartidaCompacta.h"

#include <sys/mman.h>

#include <algorithm>
#include <bit>
#include <new>

#include "solver/Rachas.h"
#include "solver/Reglas.h"

namespace {

std::uint8_t BitsPara(std::size_t hasta) {  // bits that hold 0 to `hasta`
  return static_cast<std::uint8_t>(std::bit_width(hasta));
}

std::uint64_t Campo(std::uint64_t e, std::uint8_t desde, std::uint8_t bits) {
  return bits == 0 ? 0 : (e >> desde) & ((std::uint64_t{1} << bits) - 1);
}

// The states seen: open addressing on the 64-bit state, kept as its complement so that
// a free slot is 0 (a state is never all ones: a pile's bottom rank is at most 10). The
// slots are asked of the system zeroed, in large pages where it grants them: the table is
// read at random, and with small pages nearly every look-up misses the address cache too.
class TVistos {
 public:
  explicit TVistos(std::size_t maxBytes) : max_(maxBytes / sizeof(std::uint64_t)) {
    Reservar(std::min<std::size_t>(std::size_t{1} << 16,
                                   std::bit_floor(std::max<std::size_t>(max_, 1))));
  }
  ~TVistos() { Soltar(ranuras_, tam_); }
  TVistos(const TVistos&) = delete;
  TVistos& operator=(const TVistos&) = delete;
  // False when seen already.
  bool Insertar(std::uint64_t e) {
    if (cuantos_ * 2 >= tam_) Crecer();
    const std::uint64_t k = ~e;
    const std::size_t mascara = tam_ - 1;
    std::size_t i = Hash(e) & mascara;
    while (ranuras_[i] != 0) {
      if (ranuras_[i] == k) return false;
      i = (i + 1) & mascara;
    }
    ranuras_[i] = k;
    ++cuantos_;
    return true;
  }
  // Asks the memory for the state's slot ahead of Insertar: a child's slot is a cache miss,
  // and a state's children are looked up together.
  void Anticipar(std::uint64_t e) const { __builtin_prefetch(&ranuras_[Hash(e) & (tam_ - 1)]); }
  // Whether it would outgrow its bytes: at its largest it fills to three quarters.
  bool Lleno() const { return lleno_; }
  std::size_t Bytes() const { return tam_ * sizeof(std::uint64_t); }

 private:
  static std::uint64_t Hash(std::uint64_t e) {
    e ^= e >> 31;
    e *= 0x9E3779B97F4A7C15ull;
    return e ^ (e >> 29);
  }
  void Reservar(std::size_t tam) {
    const std::size_t bytes = tam * sizeof(std::uint64_t);
    void* p = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (p == MAP_FAILED) throw std::bad_alloc();
    madvise(p, bytes, MADV_HUGEPAGE);
    ranuras_ = static_cast<std::uint64_t*>(p);
    tam_ = tam;
  }
  static void Soltar(std::uint64_t* r, std::size_t tam) {
    if (r) munmap(r, tam * sizeof(std::uint64_t));
  }
  void Crecer() {
    if (tam_ * 2 > max_) {
      if (cuantos_ * 4 >= tam_ * 3) lleno_ = true;
      return;
    }
    std::uint64_t* viejas = ranuras_;
    const std::size_t viejo = tam_;
    Reservar(tam_ * 2);
    const std::size_t mascara = tam_ - 1;
    for (std::size_t j = 0; j < viejo; ++j) {
      if (viejas[j] == 0) continue;
      std::size_t i = Hash(~viejas[j]) & mascara;
      while (ranuras_[i] != 0) i = (i + 1) & mascara;
      ranuras_[i] = viejas[j];
    }
    Soltar(viejas, viejo);
  }
  std::uint64_t* ranuras_ = nullptr;
  std::size_t tam_ = 0;
  std::size_t max_;
  std::size_t cuantos_ = 0;
  bool lleno_ = false;
};

}  // namespace

TPartidaCompacta::TPartidaCompacta(TMesa& m) {
  const TRachas r = PrepararRachas(m, LeerReglas(m));
  if (!r.Posible || !r.UnaALaVez || r.Montones > kMontones) return;
  // The stock deals one card at a time onto the waste it takes back, or holds nothing.
  const TMazo* mazo = m.Mazo.get();
  if (mazo && (mazo->CartasMazo > 0 || mazo->PuedeReutilizar())) {
    if (mazo->Destinos.size() != 1 || mazo->Destinos[0].Cantidad != 1 ||
        mazo->Destinos[0].Pila != mazo->Descarte || r.Descarte == SIZE_MAX)
      return;
  }
  const std::size_t n = m.Pilas.size();
  monton_.assign(n, -1);
  cerrada_.assign(n, -1);
  for (std::size_t i = 0; i < n; ++i) {
    const TPila& p = *m.Pilas[i];
    if (r.Clase[i] == TRachas::Monton) {
      monton_[i] = static_cast<std::int8_t>(montones_++);
    } else if (r.Clase[i] == TRachas::Cerrada && i != r.Descarte && p.Cantidad > 0) {
      if (cerradas_ == kCerradas) return;
      std::vector<std::uint8_t>& rangos = rangosCerrada_[cerradas_];
      for (const TCarta* c = p.Tope; c; c = c->Debajo) rangos.push_back(c->Numero);
      std::reverse(rangos.begin(), rangos.end());
      cerrada_[i] = static_cast<std::int8_t>(cerradas_++);
    }
  }
  if (r.Descarte != SIZE_MAX) {
    descarte_ = r.Descarte;
    std::vector<const TCarta*> enOrden;
    for (const TCarta* c = m.Pilas[descarte_]->Tope; c; c = c->Debajo) enOrden.push_back(c);
    std::reverse(enOrden.begin(), enOrden.end());
    for (const TCarta* c = mazo ? mazo->TopeMazo : nullptr; c; c = c->Debajo) enOrden.push_back(c);
    for (const TCarta* c : enOrden) {
      rangosMazo_.push_back(c->Numero);
      cartasMazo_.push_back(IdCarta(*c));
    }
  }
  const std::size_t L = rangosMazo_.size();
  const std::size_t vueltas =
      mazo && mazo->Reutilizaciones > 0 ? static_cast<std::size_t>(mazo->Reutilizaciones) : 0;
  vueltasSinFin_ = mazo && mazo->Reutilizaciones < 0;
  // From the bottom: the redeals, the next card, the cards gone, the piles that take
  // nothing, the piles that build.
  std::size_t bit = 0;
  bitsVueltas_ = BitsPara(vueltas);
  desdeVueltas_ = static_cast<std::uint8_t>(bit);
  bit += bitsVueltas_;
  bitsSiguiente_ = BitsPara(L);
  desdeSiguiente_ = static_cast<std::uint8_t>(bit);
  bit += bitsSiguiente_;
  desdeIdos_ = static_cast<std::uint8_t>(bit);
  bit += L;
  for (std::size_t c = 0; c < cerradas_; ++c) {
    bitsCerrada_[c] = BitsPara(rangosCerrada_[c].size());
    bit += bitsCerrada_[c];
  }
  bit += 8 * montones_;
  if (bit > 64 || montones_ == 0) return;  // with a pile that builds, never all ones
  posible_ = true;
  raiz_ = Estado(m);
}

std::uint64_t TPartidaCompacta::Empaquetar(TPosicion p) const {
  std::array<std::uint8_t, kMontones> codigos{};
  for (std::size_t k = 0; k < montones_; ++k)
    codigos[k] = static_cast<std::uint8_t>(p.Fondo[k] << 4 | p.Tope[k]);
  std::sort(codigos.begin(), codigos.begin() + static_cast<std::ptrdiff_t>(montones_),
            std::greater<>());
  std::uint64_t e = 0;
  for (std::size_t k = 0; k < montones_; ++k) e = e << 8 | codigos[k];
  for (std::size_t c = 0; c < cerradas_; ++c) e = e << bitsCerrada_[c] | p.Quedan[c];
  e = e << rangosMazo_.size() | p.Idos;
  e = e << bitsSiguiente_ | p.Siguiente;
  return e << bitsVueltas_ | p.Vueltas;
}

TPartidaCompacta::TPosicion TPartidaCompacta::Desempaquetar(std::uint64_t e) const {
  TPosicion p;
  p.Vueltas = static_cast<std::uint8_t>(Campo(e, desdeVueltas_, bitsVueltas_));
  p.Siguiente = static_cast<std::uint8_t>(Campo(e, desdeSiguiente_, bitsSiguiente_));
  const auto L = static_cast<std::uint8_t>(rangosMazo_.size());
  p.Idos = Campo(e, desdeIdos_, L);
  std::uint8_t bit = static_cast<std::uint8_t>(desdeIdos_ + L);
  for (std::size_t c = cerradas_; c-- > 0;) {
    p.Quedan[c] = static_cast<std::uint8_t>(Campo(e, bit, bitsCerrada_[c]));
    bit = static_cast<std::uint8_t>(bit + bitsCerrada_[c]);
  }
  for (std::size_t k = montones_; k-- > 0;) {
    const auto codigo = static_cast<std::uint8_t>(Campo(e, bit, 8));
    p.Fondo[k] = codigo >> 4;
    p.Tope[k] = codigo & 15;
    bit = static_cast<std::uint8_t>(bit + 8);
  }
  return p;
}

std::uint64_t TPartidaCompacta::Estado(const TMesa& m) const {
  TPosicion p;
  std::array<std::uint8_t, 40> orden;
  orden.fill(0xFF);
  for (std::size_t j = 0; j < cartasMazo_.size(); ++j)
    orden[cartasMazo_[j]] = static_cast<std::uint8_t>(j);
  std::uint64_t estan = 0;
  for (std::size_t i = 0; i < m.Pilas.size(); ++i) {
    const TPila& pila = *m.Pilas[i];
    if (monton_[i] >= 0 && pila.Tope) {
      const TCarta* c = pila.Tope;
      p.Tope[static_cast<std::size_t>(monton_[i])] = c->Numero;
      while (c->Debajo) c = c->Debajo;
      p.Fondo[static_cast<std::size_t>(monton_[i])] = c->Numero;
    } else if (cerrada_[i] >= 0) {
      p.Quedan[static_cast<std::size_t>(cerrada_[i])] = pila.Cantidad;
    } else if (i == descarte_) {
      for (const TCarta* c = pila.Tope; c; c = c->Debajo)
        estan |= std::uint64_t{1} << orden[IdCarta(*c)];
    }
  }
  p.Siguiente = static_cast<std::uint8_t>(cartasMazo_.size());
  if (m.Mazo && descarte_ != SIZE_MAX) {
    for (const TCarta* c = m.Mazo->TopeMazo; c; c = c->Debajo)
      estan |= std::uint64_t{1} << orden[IdCarta(*c)];
    if (m.Mazo->TopeMazo) p.Siguiente = orden[IdCarta(*m.Mazo->TopeMazo)];
    if (m.Mazo->Reutilizaciones > 0) p.Vueltas = static_cast<std::uint8_t>(m.Mazo->Reutilizaciones);
  }
  const std::uint64_t todas =
      cartasMazo_.empty() ? 0 : ~std::uint64_t{0} >> (64 - cartasMazo_.size());
  p.Idos = todas & ~estan;
  return Empaquetar(p);
}

std::size_t TPartidaCompacta::EnCasa(std::uint64_t e) const {
  const TPosicion p = Desempaquetar(e);
  std::size_t fuera = rangosMazo_.size() - static_cast<std::size_t>(std::popcount(p.Idos));
  for (std::size_t k = 0; k < montones_; ++k)
    if (p.Fondo[k]) fuera += static_cast<std::size_t>(p.Fondo[k] - p.Tope[k] + 1);
  for (std::size_t c = 0; c < cerradas_; ++c) fuera += p.Quedan[c];
  return 40 - fuera;
}

void TPartidaCompacta::Movimientos(std::uint64_t e, std::vector<std::uint64_t>& hijos) const {
  const TPosicion p = Desempaquetar(e);
  const std::size_t L = rangosMazo_.size();
  std::size_t fuera = L - static_cast<std::size_t>(std::popcount(p.Idos));
  for (std::size_t k = 0; k < montones_; ++k)
    if (p.Fondo[k]) fuera += static_cast<std::size_t>(p.Fondo[k] - p.Tope[k] + 1);
  for (std::size_t c = 0; c < cerradas_; ++c) fuera += p.Quedan[c];
  const auto quiere = static_cast<std::uint8_t>((40 - fuera) % 10 + 1);
  // The first empty pile stands for them all: the piles are sorted in the state.
  std::size_t vacia = SIZE_MAX;
  for (std::size_t k = 0; k < montones_ && vacia == SIZE_MAX; ++k)
    if (!p.Fondo[k]) vacia = k;
  // A card of rank `rango` taken off by `quitar` (on a copy), sent home and to every
  // pile that takes it; `desde`, the pile that builds it leaves, if any.
  auto mover = [&](std::uint8_t rango, std::size_t desde, auto&& quitar) {
    TPosicion q = p;
    quitar(q);
    if (rango == quiere) hijos.push_back(Empaquetar(q));
    for (std::size_t k = 0; k < montones_; ++k) {
      if (k == desde) continue;
      const bool vaciaUsada =
          !p.Fondo[k] && k == vacia && !(desde != SIZE_MAX && p.Fondo[desde] == p.Tope[desde]);
      if (!(vaciaUsada || (p.Fondo[k] && p.Tope[k] == rango + 1))) continue;
      TPosicion h = q;
      if (!h.Fondo[k]) h.Fondo[k] = rango;
      h.Tope[k] = rango;
      hijos.push_back(Empaquetar(h));
    }
  };
  // The waste's top: the last card dealt not gone.
  if (p.Siguiente > 0) {
    const std::uint64_t antes = p.Idos | ~((std::uint64_t{1} << p.Siguiente) - 1);
    if (~antes) {
      const auto j = static_cast<std::size_t>(63 - std::countl_zero(~antes));
      mover(rangosMazo_[j], SIZE_MAX, [j](TPosicion& q) { q.Idos |= std::uint64_t{1} << j; });
    }
  }
  for (std::size_t c = 0; c < cerradas_; ++c)
    if (p.Quedan[c])
      mover(rangosCerrada_[c][p.Quedan[c] - 1], SIZE_MAX, [c](TPosicion& q) { --q.Quedan[c]; });
  for (std::size_t k = 0; k < montones_; ++k)
    if (p.Fondo[k])
      mover(p.Tope[k], k, [k](TPosicion& q) {
        if (q.Fondo[k] == q.Tope[k])
          q.Fondo[k] = q.Tope[k] = 0;
        else
          ++q.Tope[k];
      });
  // The click: the next card onto the waste, or the waste taken back when the stock is
  // empty, even with nothing on it (that only spends a redeal, as the table does).
  const std::uint64_t todas = L == 0 ? 0 : ~std::uint64_t{0} >> (64 - L);
  auto siguienteDesde = [&](std::size_t j) {
    const std::uint64_t quedan = todas & ~p.Idos & ~((std::uint64_t{1} << j) - 1);
    return static_cast<std::uint8_t>(quedan ? std::countr_zero(quedan) : L);
  };
  TPosicion q = p;
  if (p.Siguiente < L) {
    q.Siguiente = siguienteDesde(p.Siguiente + 1u);
    hijos.push_back(Empaquetar(q));
  } else if (p.Vueltas > 0 || (vueltasSinFin_ && (todas & ~p.Idos))) {
    if (!vueltasSinFin_) --q.Vueltas;
    q.Siguiente = siguienteDesde(0);
    hijos.push_back(Empaquetar(q));
  }
}

TPartidaCompacta::TFin TPartidaCompacta::Buscar(std::uint64_t e, std::size_t bytes,
                                                const std::function<bool()>& parar) {
  estados_ = 0;
  bytes_ = 0;
  if (!posible_) return TFin::SinAcabar;
  if (EnCasa(e) == 40) return TFin::Ganada;
  // The stack holds a sixteenth of the bytes at most, the table the rest.
  TVistos vistos(bytes - bytes / 16);
  const std::size_t maxPila = bytes / 16 / sizeof(std::uint64_t);
  // The path's states' children not yet played, each marked seen when made: a state made
  // twice is played once, from wherever it was made first.
  std::vector<std::uint64_t> hijos, nuevos;
  auto medir = [&] {
    bytes_ = std::max(
        bytes_, vistos.Bytes() + (hijos.capacity() + nuevos.capacity()) * sizeof(std::uint64_t));
  };
  vistos.Insertar(e);
  ++estados_;
  hijos.push_back(e);
  TFin fin = TFin::Agotada;
  while (!hijos.empty()) {
    const std::uint64_t h = hijos.back();
    hijos.pop_back();
    nuevos.clear();
    Movimientos(h, nuevos);
    for (std::uint64_t x : nuevos) vistos.Anticipar(x);
    // Pushed last to first, so that the first made (home first) is played first.
    for (auto x = nuevos.rbegin(); x != nuevos.rend(); ++x) {
      if (!vistos.Insertar(*x)) continue;
      if (EnCasa(*x) == 40) return medir(), TFin::Ganada;
      hijos.push_back(*x);
      ++estados_;
    }
    if (vistos.Lleno() || hijos.size() > maxPila) {
      fin = TFin::SinAcabar;
      break;
    }
    if ((estados_ & 0xFFF) < nuevos.size()) {
      medir();
      if (parar && parar()) {
        fin = TFin::SinAcabar;
        break;
      }
    }
  }
  medir();
  return fin;
}
