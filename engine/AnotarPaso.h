#pragma once
// Writes one entry point's step into the table's step log. Only the outermost entry point
// running writes (a restart's undos are not steps of their own), and only when the action
// changed the table, so that the deal's number and the log rebuild it.
#include <string>

#include "engine/Mesa.h"

class TAnotarPaso {
 public:
  // `siempre`: written even when nothing the check sees changed (a restart also resets
  // the clock).
  TAnotarPaso(TMesa& mesa, std::string paso, bool siempre = false)
      : mesa_(mesa),
        paso_(std::move(paso)),
        externo_(mesa.entradas_++ == 0),
        jugadas_(mesa.jugadas_.size()),
        siempre_(siempre),
        movimientos_(mesa.Movimientos),
        historial_(mesa.Historial),
        instantanea_(mesa.Instantanea),
        volver_(mesa.VolverHabilitado) {}
  ~TAnotarPaso() {
    --mesa_.entradas_;
    if (!externo_) return;
    // The actions this step made remember it, for redo; a new action ends what redo
    // could repeat.
    if (mesa_.jugadas_.size() > jugadas_) {
      const int antes = historial_ ? historial_->Profundidad : 0;
      for (std::size_t k = jugadas_; k < mesa_.jugadas_.size(); ++k) {
        mesa_.jugadas_[k]->Paso = paso_;
        mesa_.jugadas_[k]->ProfundidadPaso = antes;
      }
      mesa_.PorRehacer.clear();
    }
    // A table without history writes no log either: nothing reads it.
    if (mesa_.SinRegistro) return;
    if (siempre_ || mesa_.Movimientos != movimientos_ || mesa_.Historial != historial_ ||
        mesa_.Instantanea != instantanea_ || mesa_.VolverHabilitado != volver_)
      mesa_.Pasos.push_back(std::move(paso_));
  }
  TAnotarPaso(const TAnotarPaso&) = delete;
  TAnotarPaso& operator=(const TAnotarPaso&) = delete;

  // "P" for a pile's top card, "P.K" for the card K from its bottom.
  static std::string Carta(const TCarta& carta) {
    int posicion = 0;
    for (const TCarta* c = carta.Debajo; c; c = c->Debajo) ++posicion;
    const std::string pila = std::to_string(carta.Pila ? carta.Pila->Numero : 0);
    return carta.Encima ? pila + "." + std::to_string(posicion) : pila;
  }

 private:
  TMesa& mesa_;
  std::string paso_;
  bool externo_;
  std::size_t jugadas_;
  bool siempre_;
  std::uint16_t movimientos_;
  const TJugada* historial_;
  const TJugada* instantanea_;
  bool volver_;
};
