// The stock: its two pile operations, the click that deals, and the redeal.
#include "engine/AnotarPaso.h"

namespace {
TImagen ImagenMazoVacio(const TMazo& m) {
  return {TTipoImagen::Otros, m.PuedeReutilizar() ? ImgMazoReutilizable : ImgMazoAgotado};
}
}  // namespace

void TMazo::QuitarCartas(TCarta& carta) {
  if (CartasMazo > 1 && TopeMazo && TopeMazo->Debajo) TopeMazo->Debajo->Visible = true;
  carta.Visible = false;
  if (carta.Debajo) carta.Debajo->Encima = carta.Encima;
  if (carta.Encima) carta.Encima->Debajo = carta.Debajo;
  if (TopeMazo == &carta) TopeMazo = carta.Debajo;
  carta.Debajo = nullptr;
  carta.Encima = nullptr;
  --CartasMazo;
  if (CartasMazo > 1) {
    TopeMazo->Left = Left + 2;
    TopeMazo->Top = Top + 2;
  } else if (CartasMazo == 0) {
    Imagen = ImagenMazoVacio(*this);
  }
  Mesa->Paneles.PonerMazo(CartasMazo);
}

void TMazo::AgregarCartas(TCarta& carta) {
  ++Mesa->Movimientos;
  Mesa->ActualizarPuntos();
  carta.Pila = nullptr;
  Mesa->PonerBocaAbajo(carta);
  carta.Debajo = TopeMazo;
  if (TopeMazo) TopeMazo->Encima = &carta;
  carta.Encima = nullptr;
  TopeMazo = &carta;
  ++CartasMazo;
  if (CartasMazo > 1) {
    carta.Debajo->Left = Left;
    carta.Debajo->Top = Top;
    carta.Left = Left + 2;
    carta.Top = Top + 2;
  } else {
    carta.Left = Left;
    carta.Top = Top;
  }
  carta.Visible = true;
  if (CartasMazo > 2) carta.Debajo->Visible = false;
  Mesa->TraerAlFrente(carta);
  Mesa->Paneles.PonerMazo(CartasMazo);
}

void TMesa::ClickMazo() {
  if (!Mazo) return;
  TAnotarPaso paso(*this, "m");
  TMazo& m = *Mazo;
  if (m.CartasMazo == 0) {
    if (m.PuedeReutilizar()) ReutilizarDescarte();
    return;
  }
  for (const TDestino& d : m.Destinos) {
    for (unsigned i = 0; i < d.Cantidad; ++i) {
      TCarta* k = m.TopeMazo;
      if (!k) return;
      k->Visible = false;
      PonerBocaArriba(*k);
      m.QuitarCartas(*k);
      d.Pila->AgregarCartas(*k);
      if (i == 0)
        RegistrarJugada(k, &m, d.Pila);
      else
        AgregarTraslado(k, &m, d.Pila);
    }
  }
}

void TMesa::ReutilizarDescarte() {
  TMazo& m = *Mazo;
  if (m.Reutilizaciones != -1) {
    --m.Reutilizaciones;
    Paneles.PonerReutilizaciones(m.Reutilizaciones);
  }
  TPila* descarte = m.Descarte;
  if (!descarte || !descarte->Tope) {
    // An empty redeal is an action of its own holding only the marker, so that undoing
    // it gives the redeal back and turns up no card.
    if (SinRegistro) return;
    jugadas_.push_back(std::make_unique<TJugada>());
    TJugada* j = jugadas_.back().get();
    j->Anterior = Historial;
    if (Historial) Historial->Posterior = j;
    Historial = j;
    if (!JugadaMasAntigua) JugadaMasAntigua = j;
    AgregarTraslado(nullptr, nullptr, nullptr);
    // Nothing covers the empty stock: its picture must tell whether a redeal is left.
    m.Imagen = ImagenMazoVacio(m);
    Paneles.PonerMazo(m.CartasMazo);
    Paneles.PonerDescarte(0);
    return;
  }
  bool primera = true;
  for (TCarta* c = descarte->Tope; c;) {
    TCarta* siguiente = c->Debajo;
    if (primera)
      RegistrarJugada(c, descarte, &m);
    else
      AgregarTraslado(c, descarte, &m);
    ++m.CartasMazo;
    c->Visible = false;
    PonerBocaAbajo(*c);
    c->Left = primera ? m.Left : m.Left + 2;
    c->Top = primera ? m.Top : m.Top + 2;
    c->Pila = nullptr;
    c->Debajo = m.TopeMazo;
    if (m.TopeMazo) m.TopeMazo->Encima = c;
    c->Encima = nullptr;
    m.TopeMazo = c;
    c->Visible = true;
    TraerAlFrente(*c);
    if (m.CartasMazo > 2) c->Debajo->Visible = false;
    primera = false;
    c = siguiente;
  }
  descarte->Tope = nullptr;
  descarte->Cantidad = 0;
  AgregarTraslado(nullptr, nullptr, nullptr);
  Paneles.PonerMazo(m.CartasMazo);
  Paneles.PonerDescarte(0);
}

void MostrarDescarte(TPila& pila) {
  pila.Mesa->Paneles.PonerDescarte(pila.Cantidad);
}
