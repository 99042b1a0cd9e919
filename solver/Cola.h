#pragma once
// The queue of best-first's open positions: the best value first and, among equal values,
// the newest node, as a heap of (value, node) pairs would give them, kept in buckets by
// value instead. Positions take few values, so a push or a pop touches the end of one
// bucket rather than some twenty places scattered over a heap of millions. A node takes
// four bytes in its bucket, eight at most with the room a bucket keeps to grow: no more
// than the search counts for each queued position.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <map>
#include <utility>
#include <vector>

class TCola {
 public:
  using TEntrada = std::pair<std::int32_t, std::uint32_t>;
  // `nodo` exceeds every node queued before with the same value, as nodes numbered in
  // the order they are made do.
  void Poner(std::int32_t valor, std::uint32_t nodo) {
    cubos_[valor].push_back(nodo);
    ++tam_;
  }
  // The greatest pair, taken out. The queue must not be empty.
  TEntrada Sacar() {
    const auto it = std::prev(cubos_.end());
    const TEntrada e{it->first, it->second.back()};
    it->second.pop_back();
    if (it->second.empty()) cubos_.erase(it);
    --tam_;
    return e;
  }
  bool Vacia() const { return tam_ == 0; }
  std::size_t Tam() const { return tam_; }
  // Every node queued valued again by `valorar(nodo)`.
  template <class F>
  void Revalorar(F valorar) {
    std::vector<TEntrada> todas;
    todas.reserve(tam_);
    for (const auto& cubo : cubos_)
      for (const std::uint32_t nodo : cubo.second) todas.emplace_back(valorar(nodo), nodo);
    std::sort(todas.begin(), todas.end());
    cubos_.clear();
    tam_ = 0;
    for (const TEntrada& e : todas) Poner(e.first, e.second);
  }

 private:
  std::map<std::int32_t, std::vector<std::uint32_t>> cubos_;
  std::size_t tam_ = 0;
};
