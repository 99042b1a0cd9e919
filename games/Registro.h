#pragma once
// The sixteen games by name: display name, key, module, help context, setup procedure.
#include <array>
#include <cstdint>
#include <string>

#include "engine/Mesa.h"

struct TJuegoRegistrado {
  const char* Nombre;  // display name, UTF-8
  const char* Clave;   // the display name without its spaces
  const char* Modulo;
  std::int16_t ContextoAyuda;
  TPrepararJuego Preparar;
};

// In the main window's order.
const std::array<TJuegoRegistrado, 16>& Juegos();

std::string QuitarEspacios(const std::string& texto);
// None for a key that is not registered.
TPrepararJuego BuscarJuego(const std::string& clave);
// 0 for a key that is not registered.
std::int16_t ContextoDeAyuda(const std::string& clave);
// By key, module or display name; none when nothing matches.
const TJuegoRegistrado* BuscarRegistro(const std::string& nombre);
