#pragma once
// Piles and the stock. A pile keeps its cards linked through TCarta::Debajo/Encima,
// from Tope down; the stock keeps its own chain from TopeMazo.
#include <cstdint>
#include <vector>

#include "engine/Carta.h"

class TMesa;
struct TGrupo;

using TAlCambiar = void (*)(TPila& pila);
using TAlArrastrarSobrePila = void (*)(TPila& pila, TCarta& arrastrada, int X, int Y,
                                       bool& Accept);
using TAlSoltarPila = void (*)(TPila& pila, TCarta& arrastrada, int X, int Y);
using TAlRecibir = void (*)(TPila& pila, TCarta& primera);
using TAlQuitar = void (*)(TPila& pila, TCarta& carta);

enum class TEstadoArrastre : std::uint8_t { Entrando, Saliendo, Moviendo };

struct TPila : TControl {
  TAlCambiar AlCambiar = nullptr;
  TAlArrastrarSobrePila AlArrastrarSobre = nullptr;
  TAlSoltarPila AlSoltar = nullptr;
  TGrupo* Grupo = nullptr;
  TCarta* Tope = nullptr;
  std::uint8_t Cantidad = 0;
  TAlRecibir AlRecibir = nullptr;
  TAlQuitar AlQuitar = nullptr;

  TMesa* Mesa = nullptr;
  int Numero = 0;  // creation number, from 1; 0 for the stock
  std::int16_t XDiseno = 0;  // design place
  std::int16_t YDiseno = 0;

  TPila(TMesa& mesa, TGrupo* grupo) : Grupo(grupo), Mesa(&mesa) {}

  virtual void AgregarCartas(TCarta& carta);
  virtual void QuitarCartas(TCarta& carta);
  // The drag-over decision of this control.
  virtual bool ArrastrarSobre(TCarta& arrastrada, int X, int Y, TEstadoArrastre estado);
  virtual bool EsMazo() const { return false; }
};

struct TDestino {
  TPila* Pila;
  std::uint8_t Cantidad;
};

struct TMazo : TPila {
  TCarta* TopeMazo = nullptr;
  std::uint8_t CartasMazo = 0;
  std::int8_t Reutilizaciones = 0;  // -1: unlimited
  std::vector<TDestino> Destinos;   // newest first
  TPila* Descarte = nullptr;
  bool EnMesa = false;  // created visible: the stock is on the table

  explicit TMazo(TMesa& mesa) : TPila(mesa, nullptr) {}

  void AgregarCartas(TCarta& carta) override;
  void QuitarCartas(TCarta& carta) override;
  bool ArrastrarSobre(TCarta&, int, int, TEstadoArrastre) override { return false; }
  bool EsMazo() const override { return true; }

  bool PuedeReutilizar() const { return Reutilizaciones > 0 || Reutilizaciones == -1; }
};
