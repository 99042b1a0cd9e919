// The number dialog's conversion against a second reading through std::from_chars.
#include <charconv>
#include <cstdint>
#include <optional>
#include <string_view>

#include "fuzz/Comun.h"
#include "play/ConvertirNumero.h"

namespace {

std::optional<std::int32_t> Referencia(std::string_view t) {
  while (!t.empty() && t.front() == ' ') t.remove_prefix(1);
  int base = 10;
  if (t.starts_with("0x") || t.starts_with("0X")) {
    t.remove_prefix(2);
    base = 16;
  } else if (t.starts_with('$') || t.starts_with('x') || t.starts_with('X')) {
    t.remove_prefix(1);
    base = 16;
  }
  bool negativo = false;
  if (base == 10 && (t.starts_with('+') || t.starts_with('-'))) {
    negativo = t.front() == '-';
    t.remove_prefix(1);
  }
  // from_chars takes neither a sign nor a prefix here, so these were stray characters.
  if (t.empty() || t.front() == '-' || t.front() == '+') return std::nullopt;
  std::uint64_t v = 0;
  const auto [fin, ec] = std::from_chars(t.data(), t.data() + t.size(), v, base);
  if (ec != std::errc{} || fin != t.data() + t.size()) return std::nullopt;
  const std::uint64_t limite = negativo ? 0x80000000u : 0x7FFFFFFFu;
  if (v > limite) return std::nullopt;
  return static_cast<std::int32_t>(negativo ? -static_cast<std::int64_t>(v) : static_cast<std::int64_t>(v));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* datos, std::size_t largo) {
  const std::string_view texto(reinterpret_cast<const char*>(datos), largo);
  const auto n = ConvertirNumero(texto);
  fuzz::Exigir(n == Referencia(texto), "la conversión difiere de la referencia");
  fuzz::Exigir(NumeroAceptable(texto) == (n && *n != 0), "aceptable no sigue a la conversión");
  return 0;
}
