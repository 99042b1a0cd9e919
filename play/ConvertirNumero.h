#pragma once
// The text of the number dialog as a game number, with the rules of the number box:
// optional leading spaces, then a signed decimal or a hexadecimal number after "$",
// "x", "X", "0x" or "0X"; nothing else may follow.
#include <cstdint>
#include <optional>
#include <string_view>

// None when the text is not a number or leaves the signed 32-bit range.
std::optional<std::int32_t> ConvertirNumero(std::string_view texto);

// Whether the dialog may be confirmed with this text: a number, and not 0.
bool NumeroAceptable(std::string_view texto);
