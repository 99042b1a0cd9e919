// The shuffle and the deal: every deal follows from its game number.
#include <chrono>

#include "engine/Mesa.h"

std::uint32_t MilisegundosDelDiaUTC() {
  using namespace std::chrono;
  const auto ahora = system_clock::now();
  const auto dia = floor<days>(ahora);
  return static_cast<std::uint32_t>(duration_cast<milliseconds>(ahora - dia).count());
}

TBaraja TMesa::Barajar() {
  TBaraja baraja{};
  for (std::uint8_t palo = 0; palo < 4; ++palo)
    for (std::uint8_t numero = 1; numero <= 10; ++numero)
      baraja[palo * 10 + numero - 1] = {palo, numero};
  Generador.Semilla = static_cast<std::uint32_t>(NumeroJuego);
  if (Generador.Semilla == 0) Generador.SembrarConReloj();
  NumeroJuego = static_cast<std::int32_t>(Generador.Semilla);
  Paneles.PonerJuego(NumeroJuego);
  for (int i = 0; i < 500; ++i) {
    const std::uint32_t a = Generador.Aleatorio(40);
    const std::uint32_t b = Generador.Aleatorio(40);
    std::swap(baraja[a], baraja[b]);
  }
  return baraja;
}

void TMesa::CrearMazo(int X, int Y, bool Visible, std::int8_t Reutilizaciones) {
  // Design coordinates are 16-bit; games without a stock pass the screen size + 1.
  const auto x = static_cast<std::int16_t>(X);
  const auto y = static_cast<std::int16_t>(Y);
  const TBaraja baraja = Barajar();
  Cartas.clear();
  Mazo = std::make_unique<TMazo>(*this);
  TMazo& m = *Mazo;
  m.EnMesa = Visible;
  m.XDiseno = x;
  m.YDiseno = y;
  m.Left = Visible ? Escalar(x) : x;
  m.Top = Visible ? Escalar(y) : y;
  m.Imagen = {TTipoImagen::Otros, ImgMazoAgotado};
  m.Visible = Visible;
  TraerAlFrente(m);
  Cartas.reserve(40);
  for (int k = 0; k < 40; ++k) {
    Cartas.push_back(std::make_unique<TCarta>(baraja[k].Palo, baraja[k].Numero));
    TCarta& c = *Cartas.back();
    c.Debajo = m.TopeMazo;
    if (m.TopeMazo) m.TopeMazo->Encima = &c;
    m.TopeMazo = &c;
    c.Left = Escalar(x);
    c.Top = Escalar(y);
    TraerAlFrente(c);
    PonerBocaAbajo(c);
    c.Visible = k == 0 || k == 39;
  }
  m.Reutilizaciones = Reutilizaciones;
  TraerAlFrente(*m.TopeMazo);
  m.TopeMazo->Left += 2;
  m.TopeMazo->Top += 2;
  m.CartasMazo = 40;
  m.Destinos.clear();
  Paneles.PonerMazo(40);
  EscribirReutilizaciones();
}

void TMesa::RepartirCartas(TPila* pila, std::uint8_t Cantidad, bool BocaAbajo) {
  for (unsigned i = 0; i < Cantidad; ++i) {
    // An empty stock has nothing to deal: the rest of the call is a no-op.
    if (!Mazo || !Mazo->TopeMazo) return;
    TCarta& carta = *Mazo->TopeMazo;
    Mazo->QuitarCartas(carta);
    pila->AgregarCartas(carta);
    if (!BocaAbajo) PonerBocaArriba(*pila->Tope);
  }
}

void TMesa::SacarCarta(std::uint8_t Numero, std::uint8_t Palo, TPila* pila) {
  if (!Mazo) return;
  TMazo& m = *Mazo;
  for (TCarta* c = m.TopeMazo; c; c = c->Debajo) {
    if (c->Numero != Numero || c->Palo != Palo) continue;
    if (c->Debajo) c->Debajo->Encima = c->Encima;
    if (c->Encima) c->Encima->Debajo = c->Debajo;
    if (m.TopeMazo == c) m.TopeMazo = c->Debajo;
    c->Debajo = nullptr;
    c->Encima = nullptr;
    PonerBocaArriba(*c);
    pila->AgregarCartas(*c);
    --m.CartasMazo;
    return;
  }
}
