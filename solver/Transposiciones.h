#pragma once
// The positions already searched, as 96 bits of their 128-bit keys (12 bytes a slot) in
// one open-addressed table that doubles while the memory limit allows and reports when it
// is full.
//
// Two positions whose 96 bits collide would be taken as one. With 2^-96 per pair and at
// most some 10^8 positions per search, the chance of any collision in a search is below
// 10^-13: far below that of a hardware fault, so the keys are not checked against the
// positions themselves, which would take several times the memory.
//
// From 2 MiB on the table doubles where it lies (below): old and new never coexist, so
// the last doubling needs only the new table's bytes, not those of both.
//
// Once it can double no more and is nine tenths full, the keys that come after go to
// further tables of 8 bytes a slot, each made once of what the limit still holds (up to
// four). Those never grow, so a slot need not tell where its key belongs: it keeps 64 bits
// of the key, the slot itself a few more. A key is taken for another only when it meets
// one of equal 64 bits among the few slots it looks at; with some 50 looked at a key at
// nine tenths full and at most some 10^8 keys, the chance of that in a search is below
// 10^-9. The 12-byte table alone filled 512 MiB at some 30 million positions; with them a
// search goes on into the eighth of the limit it left.
#include <sys/mman.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>
#include <utility>
#include <vector>

struct TClave {
  std::uint64_t A = 0;
  std::uint64_t B = 0;
  bool operator==(const TClave&) const = default;
};

class TTransposiciones {
 public:
  enum class TInsercion : std::uint8_t { Nueva, Vista, Llena };
  static constexpr std::size_t kBytesPorClave = 12;
  static constexpr std::size_t kBytesPorClaveDesborde = 8;

  // `limiteBytes`: the most the table could ever take.
  explicit TTransposiciones(std::size_t limiteBytes) {
    std::size_t n = 1u << 12;
    while (n * 8 * kBytesPorClave <= limiteBytes && n < (std::size_t{1} << 16)) n *= 2;
    maximo_ = n;
    while ((maximo_ * 2) * kBytesPorClave <= limiteBytes) maximo_ *= 2;
    tabla_ = EnMonton(n);
    tam_ = n;
  }
  ~TTransposiciones() {
    for (const TDesborde& d : desbordes_) munmap(d.Tabla, d.Tam * kBytesPorClaveDesborde);
    if (reserva_)
      munmap(reserva_, reservados_);
    else
      std::free(tabla_);
  }
  TTransposiciones(const TTransposiciones&) = delete;
  TTransposiciones& operator=(const TTransposiciones&) = delete;

  // `presupuesto`: the bytes the table may hold at most, its growth included.
  TInsercion Insertar(TClave clave, std::size_t presupuesto) {
    if (!desbordes_.empty()) return InsertarDesbordada(clave, presupuesto);
    const TEntrada k = Entrada(clave);
    if ((usadas_ + 1) * 2 > tam_ && !crecer(presupuesto) && (usadas_ + 1) * 10 > tam_ * 9) {
      if (EstaEn(k)) return TInsercion::Vista;
      return Desbordar(presupuesto) ? InsertarDesbordada(clave, presupuesto)
                                    : TInsercion::Llena;
    }
    const std::size_t mascara = tam_ - 1;
    for (std::size_t i = static_cast<std::size_t>(k.B) & mascara;; i = (i + 1) & mascara) {
      if (tabla_[i].A == 0) {
        tabla_[i] = k;
        ++usadas_;
        return TInsercion::Nueva;
      }
      if (tabla_[i] == k) return TInsercion::Vista;
    }
  }

  bool Contiene(TClave clave) const {
    if (EstaEn(Entrada(clave))) return true;
    for (const TDesborde& d : desbordes_)
      if (d.Busca(clave).second) return true;
    return false;
  }

  // Asks the processor for the key's slot ahead of Insertar, so other work hides the wait.
  void Anticipar(const TClave& k) const {
    __builtin_prefetch(&tabla_[static_cast<std::size_t>(k.B) & (tam_ - 1)]);
    if (!desbordes_.empty())
      __builtin_prefetch(&desbordes_.back().Tabla[k.B & (desbordes_.back().Tam - 1)]);
  }

  std::size_t Bytes() const {
    std::size_t b = tam_ * kBytesPorClave;
    for (const TDesborde& d : desbordes_) b += d.Tam * kBytesPorClaveDesborde;
    return b;
  }
  std::size_t Usadas() const {
    std::size_t u = usadas_;
    for (const TDesborde& d : desbordes_) u += d.Usadas;
    return u;
  }
  // The further tables opened so far.
  std::size_t Desbordes() const { return desbordes_.size(); }
  // The largest table the limit given at the start holds.
  std::size_t BytesMaximos() const { return maximo_ * kBytesPorClave; }

 private:
  static constexpr std::size_t kPaginaGrande = std::size_t{2} << 20;
  // The slot is the low bits of B.
  struct __attribute__((packed)) TEntrada {
    std::uint64_t A;
    std::uint32_t B;
    bool operator==(const TEntrada& o) const { return A == o.A && B == o.B; }
  };
  static_assert(sizeof(TEntrada) == kBytesPorClave);
  static TEntrada Entrada(TClave k) {
    return TEntrada{k.A | 1, static_cast<std::uint32_t>(k.B)};  // A zero marks an empty slot
  }

  // A further table: 64 bits of each key (the lowest set, a zero marks an empty slot), in
  // the slot the low bits of its other half choose.
  struct TDesborde {
    std::uint64_t* Tabla;
    std::size_t Tam;
    std::size_t Usadas;
    // The key's slot, or the empty one where it would go, and whether it is there.
    std::pair<std::size_t, bool> Busca(TClave k) const {
      const std::uint64_t a = k.A | 1;
      const std::size_t mascara = Tam - 1;
      for (std::size_t i = static_cast<std::size_t>(k.B) & mascara;; i = (i + 1) & mascara) {
        if (Tabla[i] == 0) return {i, false};
        if (Tabla[i] == a) return {i, true};
      }
    }
  };
  static constexpr std::size_t kMaxDesbordes = 4;
  static constexpr std::size_t kMinDesborde = std::size_t{1} << 16;  // slots
  std::vector<TDesborde> desbordes_;

  bool EstaEn(const TEntrada& k) const {
    const std::size_t mascara = tam_ - 1;
    for (std::size_t i = static_cast<std::size_t>(k.B) & mascara;; i = (i + 1) & mascara) {
      if (tabla_[i].A == 0) return false;
      if (tabla_[i] == k) return true;
    }
  }

  // Only the last further table takes keys; the tables before it are full.
  TInsercion InsertarDesbordada(TClave clave, std::size_t presupuesto) {
    if (EstaEn(Entrada(clave))) return TInsercion::Vista;
    for (std::size_t j = 0; j + 1 < desbordes_.size(); ++j)
      if (desbordes_[j].Busca(clave).second) return TInsercion::Vista;
    const auto [i, esta] = desbordes_.back().Busca(clave);
    if (esta) return TInsercion::Vista;
    TDesborde* d = &desbordes_.back();
    if ((d->Usadas + 1) * 10 > d->Tam * 9) {
      if (!Desbordar(presupuesto)) return TInsercion::Llena;
      d = &desbordes_.back();
      d->Tabla[d->Busca(clave).first] = clave.A | 1;
    } else {
      d->Tabla[i] = clave.A | 1;
    }
    ++d->Usadas;
    return TInsercion::Nueva;
  }

  // A further table, the largest that what the limit still holds takes with a
  // thirty-second of the limit left for the rest of the search; false where none fits.
  bool Desbordar(std::size_t presupuesto) {
    if (desbordes_.size() >= kMaxDesbordes) return false;
    const std::size_t usados = Bytes() + presupuesto / 32;
    if (usados >= presupuesto) return false;
    const std::size_t libres = presupuesto - usados;
    std::size_t n = kMinDesborde;
    if (n * kBytesPorClaveDesborde > libres) return false;
    while (n * 2 * kBytesPorClaveDesborde <= libres) n *= 2;
    void* p = mmap(nullptr, n * kBytesPorClaveDesborde, PROT_READ | PROT_WRITE,
                   MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
    if (p == MAP_FAILED) return false;
    madvise(p, n * kBytesPorClaveDesborde, MADV_HUGEPAGE);
    desbordes_.push_back(TDesborde{static_cast<std::uint64_t*>(p), n, 0});
    return true;
  }

  void* reserva_ = nullptr;
  std::size_t reservados_ = 0;
  TEntrada* tabla_ = nullptr;
  std::size_t tam_ = 0;
  std::size_t maximo_ = 0;  // slots of the largest table the limit holds
  std::size_t usadas_ = 0;
  std::vector<TEntrada> tramo_;  // one run of full slots, while the table doubles

  // The table moved from the heap to the start of addresses reserved for its largest size;
  // false where the system gives no addresses, the table left where it was.
  bool Reservar() {
    reservados_ = maximo_ * kBytesPorClave + kPaginaGrande;
    void* p = mmap(nullptr, reservados_, PROT_READ | PROT_WRITE,
                   MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
    if (p == MAP_FAILED) return false;
    reserva_ = p;
    // Aligned to the large pages, so that each of them can back the table.
    const auto base = reinterpret_cast<std::uintptr_t>(p);
    auto* t = reinterpret_cast<TEntrada*>((base + kPaginaGrande - 1) & ~(kPaginaGrande - 1));
    // In pages of 2 MiB where the system gives them, the whole reservation at once and
    // before the copy: a page is large only if its 2 MiB lie within what was marked when
    // it is first written, and the copy and the first doublings (3 MiB, not a whole number
    // of large pages) wrote the first 4 MiB in small pages. A probe lands anywhere in the
    // table, and with small pages most probes also miss the processor's cache of address
    // translations.
    madvise(t, maximo_ * kBytesPorClave, MADV_HUGEPAGE);
    std::memcpy(static_cast<void*>(t), tabla_, tam_ * kBytesPorClave);
    std::free(tabla_);
    tabla_ = t;
    return true;
  }

  // A key known to be absent, in the first empty slot from its own.
  static void Colocar(TEntrada* t, std::size_t mascara, const TEntrada& k) {
    std::size_t i = static_cast<std::size_t>(k.B) & mascara;
    while (t[i].A != 0) i = (i + 1) & mascara;
    t[i] = k;
  }

  static TEntrada* EnMonton(std::size_t n) {
    void* p = std::calloc(n, kBytesPorClave);
    if (!p) throw std::bad_alloc();
    return static_cast<TEntrada*>(p);
  }

  // Small, beside the old table in memory from the heap, which a search reuses from the
  // searches before it without asking the system for pages again. From 2 MiB on, in place:
  // the addresses for the largest table the limit holds are reserved then, the table moved
  // to their start, and the system gives memory to a page only once it is written, so old
  // and new never coexist. A key's slot is its low bits, so a key whose slot was i goes to
  // i or to i plus the old size. Taken out and put back run by run of full slots: the keys
  // of a run [a, b] that follows an empty slot all have their slot in [a, b], and put back
  // they fill only [a, b] and [a + n, b + n], where no other run's keys go. The run that
  // goes round the end is taken first, starting after the last empty slot, so its keys are
  // taken out whole before any other key is put back.
  bool crecer(std::size_t presupuesto) {
    const std::size_t n = tam_;
    const std::size_t nueva = n * 2;
    const std::size_t mascara = nueva - 1;
    if (nueva > maximo_) return false;
    if (!reserva_ && nueva * kBytesPorClave < kPaginaGrande) {
      if ((nueva + n) * kBytesPorClave > presupuesto) return false;
      auto* t = static_cast<TEntrada*>(std::calloc(nueva, kBytesPorClave));
      if (!t) return false;  // full, as when the limit is reached
      for (std::size_t j = 0; j < n; ++j) {
        if (tabla_[j].A == 0) continue;
        Colocar(t, mascara, tabla_[j]);
      }
      std::free(tabla_);
      tabla_ = t;
      tam_ = nueva;
      return true;
    }
    if (nueva * kBytesPorClave > presupuesto) return false;
    if (!reserva_ && !Reservar()) return false;
    std::size_t vacia = n - 1;
    while (tabla_[vacia].A != 0) --vacia;  // one is left: the table never fills past 90%
    const std::size_t mascaraVieja = n - 1;
    std::size_t j = (vacia + 1) & mascaraVieja;
    for (std::size_t vistos = 0; vistos < n;) {
      if (tabla_[j].A == 0) {
        j = (j + 1) & mascaraVieja;
        ++vistos;
        continue;
      }
      tramo_.clear();
      while (tabla_[j].A != 0) {
        tramo_.push_back(tabla_[j]);
        tabla_[j] = TEntrada{};
        j = (j + 1) & mascaraVieja;
        ++vistos;
      }
      for (const TEntrada& k : tramo_) Colocar(tabla_, mascara, k);
    }
    tam_ = nueva;
    return true;
  }
};
