#pragma once
// A dear reading read while it pays: at every one of its first 16,384 readings, and while
// it cuts at least one position in `Cada` of those it reads (the counts halved every
// 32,768 readings, so the yield followed is the recent one); below that at one expansion
// in 64, which keeps the yield measured. Skipping a reading never loses a won line: the
// position is searched. Counts only, never time, so the same search reads the same.
#include <cstdint>

template <std::uint32_t Cada>
class TRinde {
 public:
  // Whether to read it at this expansion.
  bool Toca() {
    ++turno_;
    return leidas_ < 16384 || cortes_ * Cada >= leidas_ || (turno_ & 63u) == 0;
  }
  // A reading made, and whether it cut the position; gives `corta` back.
  bool Anotar(bool corta) {
    cortes_ += corta;
    if (++leidas_ == 32768) {
      leidas_ /= 2;
      cortes_ /= 2;
    }
    return corta;
  }

 private:
  std::uint32_t turno_ = 0;
  std::uint32_t leidas_ = 0;
  std::uint32_t cortes_ = 0;
};
