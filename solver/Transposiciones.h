#pragma once
// The positions already searched, as 128-bit keys in one open-addressed table that
// doubles while the memory limit allows and reports when it is full.
//
// Two positions whose keys collide would be taken as one. With 2^-128 per pair and at
// most some 10^8 positions per search, the chance of any collision in a search is below
// 10^-22: far below that of a hardware fault, so the keys are not checked against the
// positions themselves, which would take four times the memory.
#include <sys/mman.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>

struct TClave {
  std::uint64_t A = 0;
  std::uint64_t B = 0;
  bool operator==(const TClave&) const = default;
};

class TTransposiciones {
 public:
  enum class TInsercion : std::uint8_t { Nueva, Vista, Llena };

  explicit TTransposiciones(std::size_t limiteBytes) {
    std::size_t n = 1u << 12;
    while (n * 8 * sizeof(TClave) <= limiteBytes && n < (std::size_t{1} << 16)) n *= 2;
    tabla_ = Reservar(n);
    tam_ = n;
  }

  // `presupuesto`: the bytes the table may hold at most, its growth included.
  TInsercion Insertar(TClave k, std::size_t presupuesto) {
    k.A |= 1;  // zero marks an empty slot
    if ((usadas_ + 1) * 2 > tam_ && !crecer(presupuesto) && (usadas_ + 1) * 10 > tam_ * 9)
      return TInsercion::Llena;
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

  bool Contiene(TClave k) const {
    k.A |= 1;
    const std::size_t mascara = tam_ - 1;
    for (std::size_t i = static_cast<std::size_t>(k.B) & mascara;; i = (i + 1) & mascara) {
      if (tabla_[i].A == 0) return false;
      if (tabla_[i] == k) return true;
    }
  }

  // Asks the processor for the key's slot ahead of Insertar, so other work hides the wait.
  void Anticipar(const TClave& k) const {
    __builtin_prefetch(&tabla_[static_cast<std::size_t>(k.B) & (tam_ - 1)]);
  }

  std::size_t Bytes() const { return tam_ * sizeof(TClave); }
  std::size_t Usadas() const { return usadas_; }

 private:
  struct TLiberar {
    void operator()(TClave* p) const { std::free(p); }
  };
  std::unique_ptr<TClave[], TLiberar> tabla_;
  std::size_t tam_ = 0;
  std::size_t usadas_ = 0;

  // Zeroed slots. From 2 MiB on, in pages of that size where the system gives them: a
  // probe lands anywhere in the table, and with small pages most probes also miss the
  // processor's cache of address translations.
  static std::unique_ptr<TClave[], TLiberar> Reservar(std::size_t n) {
    constexpr std::size_t kPaginaGrande = std::size_t{2} << 20;
    const std::size_t bytes = n * sizeof(TClave);
    const bool grande = bytes >= kPaginaGrande && bytes % kPaginaGrande == 0;
    void* p = grande ? std::aligned_alloc(kPaginaGrande, bytes) : std::malloc(bytes);
    if (!p) throw std::bad_alloc();
    if (grande) madvise(p, bytes, MADV_HUGEPAGE);
    std::memset(p, 0, bytes);
    return std::unique_ptr<TClave[], TLiberar>(static_cast<TClave*>(p));
  }

  bool crecer(std::size_t presupuesto) {
    const std::size_t nueva = tam_ * 2;
    if ((nueva + tam_) * sizeof(TClave) > presupuesto) return false;
    auto t = Reservar(nueva);
    const std::size_t mascara = nueva - 1;
    for (std::size_t j = 0; j < tam_; ++j) {
      const TClave& k = tabla_[j];
      if (k.A == 0) continue;
      std::size_t i = static_cast<std::size_t>(k.B) & mascara;
      while (t[i].A != 0) i = (i + 1) & mascara;
      t[i] = k;
    }
    tabla_ = std::move(t);
    tam_ = nueva;
    return true;
  }
};
