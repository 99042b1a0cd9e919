#pragma once
// A reading's last answers, one to a slot of a fixed table, keyed by the bytes it reads:
// positions that read alike are read once while their slot keeps the answer.
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

class TRespuestas {
 public:
  static constexpr std::size_t kClave = 64;  // bytes, a rank or a count each
  using TClave = std::array<std::uint8_t, kClave>;

  explicit TRespuestas(std::size_t entradas = 0) : entradas_(entradas) {}
  // As many slots as fit in `bytes`, up to `maximo`; with none, every answer is read.
  void Limitar(std::size_t bytes, std::size_t maximo) {
    entradas_ = 0;
    for (std::size_t e = 1; e <= maximo && e * sizeof(TEntrada) <= bytes; e *= 2) entradas_ = e;
    tabla_.clear();
    tabla_.shrink_to_fit();
  }
  bool Guarda() const { return entradas_ > 0; }
  std::size_t Bytes() const { return tabla_.capacity() * sizeof(TEntrada); }

  // The answer kept for `clave`, else `leer()`'s, then kept in its slot.
  template <class F>
  bool Leer(const TClave& clave, F&& leer) {
    if (entradas_ == 0) return leer();
    std::uint64_t h = 0;
    for (std::size_t w = 0; w < kClave; w += 8) {
      std::uint64_t x;
      std::memcpy(&x, clave.data() + w, 8);
      h = (h ^ x) * 0x9E3779B97F4A7C15ull;
      h ^= h >> 32;
    }
    if (tabla_.empty()) tabla_.resize(entradas_);
    TEntrada& e = tabla_[h & (entradas_ - 1)];
    if (e.Respuesta != 0 && e.Clave == clave) return e.Respuesta == 2;
    const bool si = leer();
    e.Clave = clave;
    e.Respuesta = si ? 2 : 1;
    return si;
  }

 private:
  struct TEntrada {
    TClave Clave;
    std::uint8_t Respuesta = 0;  // 0 empty, 1 no, 2 yes
  };
  std::vector<TEntrada> tabla_;
  std::size_t entradas_;
};
