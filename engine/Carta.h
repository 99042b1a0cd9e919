#pragma once
// A card of the 40-card Spanish deck, and what every control on the table shares:
// the screen place, visibility, stacking order and picture the window paints.
#include <cstdint>
#include <string>

struct TPila;
struct TCarta;

enum TPalo : std::uint8_t { Oros = 0, Copas = 1, Espadas = 2, Bastos = 3 };

// What a control shows. Faces index ilCartas, Otros ilOtros, Fundacion ilFundaciones;
// Reverso is the back currently chosen by the player.
enum class TTipoImagen : std::uint8_t { Ninguna, Cara, Reverso, Otros, Fundacion };

struct TImagen {
  TTipoImagen Tipo = TTipoImagen::Ninguna;
  std::uint8_t Indice = 0;
  bool operator==(const TImagen&) const = default;
};

// Pictures of ilOtros.
constexpr std::uint8_t ImgLugarVacio = 0;
constexpr std::uint8_t ImgMazoAgotado = 1;
constexpr std::uint8_t ImgMazoReutilizable = 2;

struct TControl {
  int Left = 0;
  int Top = 0;
  bool Visible = false;
  std::uint64_t Orden = 0;  // stacking: higher is in front
  TImagen Imagen;

  virtual ~TControl() = default;
};

using TAlSoltarCarta = void (*)(TCarta& arrastrada, TCarta& destino, int X, int Y);
using TAlArrastrarSobreCarta = void (*)(TCarta& arrastrada, TCarta& destino, int X, int Y,
                                        bool& Accept);

struct TCarta : TControl {
  TAlSoltarCarta AlSoltar = nullptr;
  TAlArrastrarSobreCarta AlArrastrarSobre = nullptr;
  std::uint8_t Numero;
  std::uint8_t Palo;
  TPila* Pila = nullptr;  // none while the card is in the stock
  bool BocaArriba = false;
  TCarta* Debajo = nullptr;
  TCarta* Encima = nullptr;
  bool MostrarHint = false;

  TCarta(std::uint8_t palo, std::uint8_t numero) : Numero(numero), Palo(palo) {}

  std::uint8_t ImagenCara() const { return static_cast<std::uint8_t>(Palo * 10 + Numero - 1); }
};

// "7 de Copas": the rank in decimal and the suit; figures are not named.
std::string TextoHint(const TCarta& carta);
// "Oros", "Copas", "Espadas", "Bastos".
const char* NombrePalo(std::uint8_t palo);
