#pragma once
// The five status panel texts. The engine rewrites them on every card it places, far
// more often than anybody reads them: each panel keeps only the numbers it was written
// with and makes its text when read, the same text the write would have made.
#include <array>
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <string>

enum TPanel : std::uint8_t { PanelMazo, PanelDescarte, PanelReutilizaciones, PanelPuntos, PanelJuego };

// "Puntos (m/n): p", the points summed without a 16-bit limit.
std::string TextoPuntos(std::uint16_t Minutos, std::uint16_t Movimientos);

class TPaneles {
 public:
  static constexpr std::size_t size() { return 5; }
  // The text of panel `i` as the window shows it; until written, the form's own text.
  std::string operator[](std::size_t i) const;

  // "Mazo: n", "Descarte: n".
  void PonerMazo(int cartas) { poner(PanelMazo, TForma::Numero, cartas); }
  void PonerDescarte(int cartas) { poner(PanelDescarte, TForma::Numero, cartas); }
  // "Reutilizaciones: n" with n as it is, or "Reutilizaciones: ilimitadas".
  void PonerReutilizaciones(int n) { poner(PanelReutilizaciones, TForma::Numero, n); }
  void PonerReutilizacionesIlimitadas() { poner(PanelReutilizaciones, TForma::Otra); }
  void PonerPuntos(std::uint16_t minutos, std::uint16_t movimientos) {
    poner(PanelPuntos, TForma::Numero, minutos, movimientos);
  }
  // "Puntos (0/0): ---": nothing counted yet.
  void PuntosSinContar() { poner(PanelPuntos, TForma::Inicial); }
  // "Juego #n " (one space after the number).
  void PonerJuego(std::int32_t numero) { poner(PanelJuego, TForma::Numero, numero); }

  // Read-only iteration over the texts, panel 0 first.
  class TIterador {
   public:
    using iterator_category = std::input_iterator_tag;
    using value_type = std::string;
    using difference_type = std::ptrdiff_t;
    using pointer = void;
    using reference = std::string;
    TIterador(const TPaneles& p, std::size_t i) : p_(&p), i_(i) {}
    std::string operator*() const { return (*p_)[i_]; }
    TIterador& operator++() {
      ++i_;
      return *this;
    }
    TIterador operator++(int) {
      TIterador antes = *this;
      ++i_;
      return antes;
    }
    bool operator==(const TIterador& o) const { return i_ == o.i_; }

   private:
    const TPaneles* p_;
    std::size_t i_;
  };
  TIterador begin() const { return {*this, 0}; }
  TIterador end() const { return {*this, size()}; }

 private:
  enum class TForma : std::uint8_t { Inicial, Numero, Otra };
  struct TDato {
    TForma Forma = TForma::Inicial;
    std::int32_t A = 0;
    std::int32_t B = 0;
  };
  void poner(TPanel panel, TForma forma, std::int32_t a = 0, std::int32_t b = 0) {
    datos_[panel] = {forma, a, b};
  }
  std::array<TDato, 5> datos_{};
};
