#include "engine/Paneles.h"

std::string TextoPuntos(std::uint16_t Minutos, std::uint16_t Movimientos) {
  // 1.5 x moves rounded down is m + m/2.
  const std::uint64_t puntos = std::uint64_t{Minutos} + Movimientos + Movimientos / 2;
  return "Puntos (" + std::to_string(Minutos) + "/" + std::to_string(Movimientos) +
         "): " + std::to_string(puntos);
}

std::string TPaneles::operator[](std::size_t i) const {
  // The texts at creation, before anything wrote the panel.
  static constexpr const char* kIniciales[] = {"Mazo: ", "Descarte:  0", "Reutilizaciones",
                                               "Puntos (0/0): ---", "Juego #"};
  if (i >= size()) return {};
  const TDato& d = datos_[i];
  if (d.Forma == TForma::Inicial) return kIniciales[i];
  switch (static_cast<TPanel>(i)) {
    case PanelMazo: return "Mazo: " + std::to_string(d.A);
    case PanelDescarte: return "Descarte: " + std::to_string(d.A);
    case PanelReutilizaciones:
      return d.Forma == TForma::Otra ? std::string("Reutilizaciones: ilimitadas")
                                     : "Reutilizaciones: " + std::to_string(d.A);
    case PanelPuntos:
      return TextoPuntos(static_cast<std::uint16_t>(d.A), static_cast<std::uint16_t>(d.B));
    case PanelJuego: return "Juego #" + std::to_string(d.A) + " ";
  }
  return {};
}
