// Text to game number for the number dialog.
#include "play/ConvertirNumero.h"

namespace {

int ValorHex(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

std::optional<std::int32_t> ConvertirNumero(std::string_view texto) {
  std::size_t i = 0;
  while (i < texto.size() && texto[i] == ' ') ++i;
  const std::string_view resto = texto.substr(i);

  std::size_t prefijo = 0;
  if (resto.starts_with('$') || resto.starts_with('x') || resto.starts_with('X'))
    prefijo = 1;
  else if (resto.starts_with("0x") || resto.starts_with("0X"))
    prefijo = 2;

  // Accumulated in 64 bits; any value past the 32-bit range fails at once, so long
  // texts cannot overflow.
  std::int64_t valor = 0;
  if (prefijo > 0) {
    const std::string_view cifras = resto.substr(prefijo);
    if (cifras.empty()) return std::nullopt;
    for (char c : cifras) {
      const int v = ValorHex(c);
      if (v < 0) return std::nullopt;
      valor = valor * 16 + v;
      if (valor > INT32_MAX) return std::nullopt;
    }
    return static_cast<std::int32_t>(valor);
  }

  bool negativo = false;
  std::string_view cifras = resto;
  if (cifras.starts_with('+') || cifras.starts_with('-')) {
    negativo = cifras.front() == '-';
    cifras.remove_prefix(1);
  }
  if (cifras.empty()) return std::nullopt;
  const std::int64_t limite = negativo ? -std::int64_t{INT32_MIN} : std::int64_t{INT32_MAX};
  for (char c : cifras) {
    if (c < '0' || c > '9') return std::nullopt;
    valor = valor * 10 + (c - '0');
    if (valor > limite) return std::nullopt;
  }
  return static_cast<std::int32_t>(negativo ? -valor : valor);
}

bool NumeroAceptable(std::string_view texto) {
  const auto n = ConvertirNumero(texto);
  return n && *n != 0;
}
