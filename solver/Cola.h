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
  TCola() = default;
  // It keeps an iterator into its own buckets.
  TCola(const TCola&) = delete;
  TCola& operator=(const TCola&) = delete;
  // `nodo` exceeds every node queued before with the same value, as nodes numbered in
  // the order they are made do.
  void Poner(std::int32_t valor, std::uint32_t nodo) {
    // A position's children mostly take the value the one before took.
    if (ultimo_ == cubos_.end() || ultimo_->first != valor) {
      ultimo_ = cubos_.lower_bound(valor);
      if (ultimo_ == cubos_.end() || ultimo_->first != valor) {
        if (libres_.empty()) {
          ultimo_ = cubos_.emplace_hint(ultimo_, valor, std::vector<std::uint32_t>{});
        } else {
          auto hueco = std::move(libres_.back());
          libres_.pop_back();
          hueco.key() = valor;
          ultimo_ = cubos_.insert(ultimo_, std::move(hueco));
        }
      }
    }
    ultimo_->second.push_back(nodo);
    ++tam_;
  }
  // The greatest pair, taken out. The queue must not be empty.
  TEntrada Sacar() {
    const auto it = std::prev(cubos_.end());
    const TEntrada e{it->first, it->second.back()};
    it->second.pop_back();
    if (it->second.empty()) {
      // A bucket run dry is kept aside with its room, small ones only, for the next value
      // that needs one: best-first empties and starts buckets all the time.
      if (it == ultimo_) ultimo_ = cubos_.end();
      if (it->second.capacity() <= kCapacidadGuardada && libres_.size() < kGuardados)
        libres_.push_back(cubos_.extract(it));
      else
        cubos_.erase(it);
    }
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
    ultimo_ = cubos_.end();
    tam_ = 0;
    for (const TEntrada& e : todas) Poner(e.first, e.second);
  }

 private:
  using TCubos = std::map<std::int32_t, std::vector<std::uint32_t>>;
  static constexpr std::size_t kCapacidadGuardada = 256;
  static constexpr std::size_t kGuardados = 64;
  TCubos cubos_;
  TCubos::iterator ultimo_ = cubos_.end();  // the bucket Poner filled last
  std::vector<TCubos::node_type> libres_;   // empty buckets kept with their room
  std::size_t tam_ = 0;
};
