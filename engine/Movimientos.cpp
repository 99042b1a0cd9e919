// Moving cards: the two pile operations, drops, the automatic move and card clicks.
#include "engine/AnotarPaso.h"

void TPila::QuitarCartas(TCarta& carta) {
  carta.Visible = false;
  if (AlQuitar) AlQuitar(*this, carta);
  if (carta.Debajo) carta.Debajo->Encima = nullptr;
  Tope = carta.Debajo;
  Cantidad = static_cast<std::uint8_t>(Cantidad - LargoTramo(carta));
  if (Tope) {
    if (!Tope->BocaArriba) {
      Mesa->PonerBocaArriba(*Tope);
      Tope->Visible = true;
      Mesa->AgregarTraslado(Tope, nullptr, nullptr);
    } else {
      Tope->Visible = true;
    }
  }
  if (AlCambiar) AlCambiar(*this);
}

void TPila::AgregarCartas(TCarta& carta) {
  ++Mesa->Movimientos;
  Mesa->ActualizarPuntos();
  if (AlRecibir) AlRecibir(*this, carta);
  Mesa->DeshacerHabilitado = true;
  for (TCarta* c = &carta; c; c = c->Encima) {
    Mesa->TraerAlFrente(*c);
    if (!Tope) {
      c->Left = Left;
      c->Top = Top;
    } else {
      c->Left = Tope->Left + Grupo->DespX;
      c->Top = Tope->Top + Grupo->DespY;
      if (Grupo->DespX == 0 && Grupo->DespY == 0) Tope->Visible = false;
    }
    if (Tope) Tope->Encima = c;
    c->Debajo = Tope;
    Tope = c;
    ++Cantidad;
    c->Pila = this;
  }
  Mesa->FinJuegoArmado = true;
  carta.Visible = true;
  if (AlCambiar) AlCambiar(*this);
}

void TMesa::SoltarEnPila(TPila& pila, TCarta& carta, int X, int Y) {
  TAnotarPaso paso(*this, SinRegistro ? std::string()
                                      : TAnotarPaso::Carta(carta) + ">" + std::to_string(pila.Numero));
  if (pila.AlSoltar) {
    pila.AlSoltar(pila, carta, X, Y);
    return;
  }
  if (!carta.Pila) return;
  TPila& desde = *carta.Pila;
  RegistrarJugada(&carta, &desde, &pila);
  desde.QuitarCartas(carta);
  pila.AgregarCartas(carta);
}

void TMesa::SoltarEnCarta(TCarta& destino, TCarta& carta, int X, int Y) {
  TAnotarPaso paso(*this, SinRegistro ? std::string()
                                      : TAnotarPaso::Carta(carta) + ">" +
                                            std::to_string(destino.Pila ? destino.Pila->Numero : 0));
  if (destino.AlSoltar) {
    destino.AlSoltar(carta, destino, X, Y);
    return;
  }
  if (!carta.Pila || !destino.Pila) return;
  TPila& desde = *carta.Pila;
  TPila& hacia = *destino.Pila;
  RegistrarJugada(&carta, &desde, &hacia);
  desde.QuitarCartas(carta);
  hacia.AgregarCartas(carta);
}

bool TMesa::MoverAutomatico(TCarta& carta) {
  if (!carta.Pila) return false;
  TAnotarPaso paso(*this,
                   SinRegistro ? std::string() : std::string(1, 'a').append(TAnotarPaso::Carta(carta)));
  for (TGrupo* g : Grupos) {
    for (TPila* p : g->Pilas) {
      if (p == carta.Pila) continue;
      if (!p->ArrastrarSobre(carta, 1, 1, TEstadoArrastre::Moviendo)) continue;
      TPila& desde = *carta.Pila;
      RegistrarJugada(&carta, &desde, p);
      desde.QuitarCartas(carta);
      p->AgregarCartas(carta);
      return true;
    }
  }
  return false;
}

bool TMesa::PresionarCarta(const TCarta& carta, TBoton boton) const {
  return boton == TBoton::Izquierdo && carta.BocaArriba;
}

void TMesa::SoltarBotonCarta(TCarta& carta, TBoton boton, bool arrastrando) {
  if (boton == TBoton::Derecho && carta.Pila)
    MoverAutomatico(carta);
  else if (boton == TBoton::Izquierdo && !arrastrando && !carta.Pila && carta.Debajo)
    ClickMazo();
}

void TMesa::ClickCarta(TCarta& carta) {
  if (carta.BocaArriba) return;
  if (!carta.Pila) ClickMazo();
  // A face-down card on a pile: the pile's own click, which no game gives an action.
}
