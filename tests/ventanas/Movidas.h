#pragma once
// Where a window test points the mouse: a card or pile on the table widget, and a move
// the table allows (or refuses) right now.
#include <QPoint>

#include <optional>

#include "engine/Mesa.h"
#include "play/ventanas/Tapete.h"

// The centre of the control as the table paints it, at whatever scale.
inline QPoint Centro(const TTapete& t, const TControl& c) { return t.Rectangulo(c).center(); }

// What a drop on the pile lands on: its top card, or the empty place.
inline const TControl& Blanco(const TPila& p) {
  return p.Tope ? static_cast<const TControl&>(*p.Tope) : p;
}

struct TMovida {
  TCarta* carta;
  TPila* destino;
};

// A top card of a tableau pile and a pile that takes it (or refuses it), as the table
// shows them now.
inline std::optional<TMovida> BuscarMovida(TMesa& m, bool aceptada) {
  for (const auto& origen : m.Pilas) {
    TCarta* c = origen->Tope;
    if (!c || !c->BocaArriba || origen.get() == m.Mazo->Descarte) continue;
    for (const auto& destino : m.Pilas) {
      if (destino == origen || destino.get() == m.Mazo->Descarte) continue;
      const bool acepta = destino->Tope ? m.ArrastrarSobreCarta(*destino->Tope, *c, 1, 1)
                                        : m.ArrastrarSobrePila(*destino, *c, 1, 1);
      if (acepta == aceptada) return TMovida{c, destino.get()};
    }
  }
  return std::nullopt;
}
