#pragma once
// Blocks of one size, the first on its own and the rest cut from pieces of memory of 2 MiB
// (or a whole number of them where one block is larger) that the system may back with
// large pages. Best-first takes a new
// block of snapshots every thousand positions: asked of the allocator one by one, each
// was cleared byte by byte and then faulted in a small page at a time, some tenth of a
// lost deal's time. A block's bytes are left as the memory held them: whoever takes one
// writes every byte it reads. Every block lives until the carver goes.
#include <sys/mman.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <new>
#include <vector>

class TTrozos {
 public:
  explicit TTrozos(std::size_t tamBloque)
      : tam_(tamBloque),
        porTrozo_(tamBloque == 0 ? 1 : std::max<std::size_t>(1, kTrozo / tamBloque)),
        bytesTrozo_(std::max(kTrozo, (porTrozo_ * tamBloque + kTrozo - 1) / kTrozo * kTrozo)) {}

  std::size_t TamBloque() const { return tam_; }
  // A block no other block overlaps.
  std::uint8_t* Nuevo() {
    if (quedan_ == 0) {
      // The first block alone, from the heap as before: a short search, the most common,
      // then maps and faults in no fresh piece at all.
      const bool primero = trozos_.empty();
      void* p = primero ? std::malloc(std::max<std::size_t>(tam_, 1))
                        : std::aligned_alloc(kTrozo, bytesTrozo_);
      if (!p) throw std::bad_alloc();
      trozos_.emplace_back(static_cast<std::uint8_t*>(p));
      if (!primero) madvise(p, bytesTrozo_, MADV_HUGEPAGE);  // only a hint
      siguiente_ = trozos_.back().get();
      quedan_ = primero ? 1 : porTrozo_;
    }
    std::uint8_t* b = siguiente_;
    siguiente_ += tam_;
    --quedan_;
    return b;
  }

 private:
  static constexpr std::size_t kTrozo = std::size_t{2} << 20;
  struct TLibera {
    void operator()(std::uint8_t* p) const { std::free(p); }
  };
  std::size_t tam_;
  std::size_t porTrozo_;   // blocks in a piece
  std::size_t bytesTrozo_;  // a whole number of large pages
  std::vector<std::unique_ptr<std::uint8_t[], TLibera>> trozos_;
  std::uint8_t* siguiente_ = nullptr;
  std::size_t quedan_ = 0;
};
