#include "games/Registro.h"

#include "games/Juegos.h"

const std::array<TJuegoRegistrado, 16>& Juegos() {
  static const std::array<TJuegoRegistrado, 16> juegos{{
      {"Cuatro Reyes", "CuatroReyes", "CuatroReyes", 260, PrepararCuatroReyes},
      {"Las Columnas Del Palacio", "LasColumnasDelPalacio", "LasColumnasDelPalacio", 80,
       PrepararLasColumnasDelPalacio},
      {"Los Cuatro Patriarcas", "LosCuatroPatriarcas", "LosCuatroPatriarcas", 130,
       PrepararLosCuatroPatriarcas},
      {"Orden Real", "OrdenReal", "OrdenReal", 90, PrepararOrdenReal},
      {"Ordenamiento Desordenado", "OrdenamientoDesordenado", "OrdenamientoDesordenado", 110,
       PrepararOrdenamientoDesordenado},
      {"Pingüino Patagónico", "PingüinoPatagónico", "PinguinoPatagonico", 240,
       PrepararPinguinoPatagonico},
      {"Rompecabezas", "Rompecabezas", "Rompecabezas", 170, PrepararRompecabezas},
      {"Solitario Anárquico", "SolitarioAnárquico", "SolitarioAnarquico", 120,
       PrepararSolitarioAnarquico},
      {"Solitario Anárquico II", "SolitarioAnárquicoII", "SolitarioAnarquicoII", 200,
       PrepararSolitarioAnarquicoII},
      {"Solitario De 10 A 4", "SolitarioDe10A4", "SolitarioDe10A4", 160,
       PrepararSolitarioDe10A4},
      {"Solitario De Las Cinco Casillas", "SolitarioDeLasCincoCasillas",
       "SolitarioDeLas5Casillas", 270, PrepararSolitarioDeLas5Casillas},
      {"Solitario De Los Casi 14 Montones", "SolitarioDeLosCasi14Montones",
       "SolitarioDeLosCasi14Montones", 40, PrepararSolitarioDeLosCasi14Montones},
      {"Solitario De Los Siete Montones", "SolitarioDeLosSieteMontones",
       "SolitarioDeLosSieteMontones", 50, PrepararSolitarioDeLosSieteMontones},
      {"Squadron Español", "SquadronEspañol", "SquadronEspannol", 70, PrepararSquadronEspannol},
      {"Strup", "Strup", "Strup", 100, PrepararStrup},
      {"Yukon Español", "YukonEspañol", "YukonEspannol", 60, PrepararYukonEspannol},
  }};
  return juegos;
}

std::string QuitarEspacios(const std::string& texto) {
  std::string clave;
  for (char c : texto)
    if (c != ' ') clave += c;
  return clave;
}

TPrepararJuego BuscarJuego(const std::string& clave) {
  for (const auto& j : Juegos())
    if (clave == j.Clave) return j.Preparar;
  return nullptr;
}

std::int16_t ContextoDeAyuda(const std::string& clave) {
  for (const auto& j : Juegos())
    if (clave == j.Clave) return j.ContextoAyuda;
  return 0;
}

const TJuegoRegistrado* BuscarRegistro(const std::string& nombre) {
  for (const auto& j : Juegos())
    if (nombre == j.Clave || nombre == j.Modulo || nombre == j.Nombre) return &j;
  return nullptr;
}
