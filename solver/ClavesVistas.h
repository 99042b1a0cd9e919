#pragma once
// The positions the relaxed games have seen (Altas.h, AltasConMazo.h): 128-bit keys summed
// from the piles' shares, so that piles in any order give one key, kept in a set with open
// addressing grown at half full. Two positions are taken for one where their 128 bits
// agree, as the search's own table of keys takes them.
#include <cstddef>
#include <cstdint>
#include <vector>

struct TClave128 {
  std::uint64_t A = 0;
  std::uint64_t B = 0;
};

// One share of a key: a 64-bit mix that spreads every bit of `x` over the result.
inline std::uint64_t MezclarClave(std::uint64_t x) {
  x += 0x9E3779B97F4A7C15ULL;
  x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ULL;
  x = (x ^ (x >> 27)) * 0x94D049BB133111EBULL;
  return x ^ (x >> 31);
}

// A slot whose A is 0 is empty: every key sets A's lowest bit.
class TClavesVistas {
 public:
  explicit TClavesVistas(std::size_t slots = 1u << 12) : slots_(slots) {}
  // Whether the key was new.
  bool Insertar(const TClave128& c) {
    if (2 * (cuenta_ + 1) > slots_.size()) Crecer();
    if (!Poner(slots_, c)) return false;
    ++cuenta_;
    return true;
  }
  std::size_t Cuenta() const { return cuenta_; }
  bool Contiene(const TClave128& c) const {
    const std::size_t mascara = slots_.size() - 1;
    for (std::size_t i = static_cast<std::size_t>(c.B) & mascara;; i = (i + 1) & mascara) {
      if (slots_[i].A == 0) return false;
      if (slots_[i].A == c.A && slots_[i].B == c.B) return true;
    }
  }
  // Asks the processor for the key's slot ahead of Insertar.
  void Anticipar(const TClave128& c) const {
    __builtin_prefetch(&slots_[static_cast<std::size_t>(c.B) & (slots_.size() - 1)]);
  }
  std::size_t Bytes() const { return slots_.size() * sizeof(TClave128); }
  template <class F>
  void CadaClave(F f) const {
    for (const TClave128& c : slots_)
      if (c.A) f(c);
  }

 private:
  static bool Poner(std::vector<TClave128>& slots, const TClave128& c) {
    const std::size_t mascara = slots.size() - 1;
    for (std::size_t i = static_cast<std::size_t>(c.B) & mascara;; i = (i + 1) & mascara) {
      if (slots[i].A == 0) {
        slots[i] = c;
        return true;
      }
      if (slots[i].A == c.A && slots[i].B == c.B) return false;
    }
  }
  void Crecer() {
    std::vector<TClave128> nuevos(slots_.size() * 2);
    for (const TClave128& c : slots_)
      if (c.A) Poner(nuevos, c);
    slots_.swap(nuevos);
  }
  std::vector<TClave128> slots_;
  std::size_t cuenta_ = 0;
};
