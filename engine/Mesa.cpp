// The table: builder operations, faces, counters and teardown.
#include "engine/Mesa.h"

#include <cmath>

namespace {
constexpr const char* kPalos[] = {"Oros", "Copas", "Espadas", "Bastos"};
}

const char* NombrePalo(std::uint8_t palo) { return palo < 4 ? kPalos[palo] : "?"; }

std::string TextoHint(const TCarta& carta) {
  return std::to_string(carta.Numero) + " de " + NombrePalo(carta.Palo);
}

TMesa::TMesa(int anchoPantalla, int altoPantalla)
    : AnchoPantalla(anchoPantalla),
      AltoPantalla(altoPantalla),
      EscalaPantalla(static_cast<float>(anchoPantalla) / 640.0f) {}

TMesa::~TMesa() = default;

int TMesa::Escalar(std::int16_t v) const {
  // Rounded down at extended precision from the single-precision factor:
  // on a 1152-pixel screen 25 gives 44, not 45.
  return static_cast<int>(std::floor(static_cast<long double>(EscalaPantalla) * v));
}

void TMesa::IniciarJuego(std::int32_t NroJuego, const std::string& Nombre) {
  JuegoTerminado = false;
  liberarGruposYPilas();
  liberarHistorial();
  Pasos.clear();
  PasosUnidos.clear();
  AyudaUsada = false;
  EscalaPantalla = static_cast<float>(AnchoPantalla) / 640.0f;
  NombreJuego = Nombre;
  NumeroJuego = NroJuego;
}

TGrupo* TMesa::CrearGrupo(const std::string& Nombre, std::int8_t DespX, std::int8_t DespY,
                          std::uint8_t Capacidad, bool CicloArriba, bool CicloAbajo,
                          bool VariasCartas, bool TramoLibre) {
  auto g = std::make_unique<TGrupo>();
  g->NombreGrupo = Nombre.substr(0, 5);
  g->DespX = DespX;
  g->DespY = DespY;
  g->Capacidad = Capacidad;
  g->CicloArriba = CicloArriba;
  g->CicloAbajo = CicloAbajo;
  g->VariasCartas = VariasCartas;
  g->TramoLibre = TramoLibre;
  TGrupo* grupo = g.get();
  gruposPropios_.push_back(std::move(g));
  Grupos.insert(Grupos.begin(), grupo);
  return grupo;
}

void TMesa::AgregarReglaApilado(TGrupo* grupo, std::uint8_t Relacion, std::int8_t Paso) {
  grupo->ReglasApilado.insert(grupo->ReglasApilado.begin(), TRegla{Relacion, Paso});
}

void TMesa::AgregarReglaVacia(TGrupo* grupo, std::uint8_t Relacion, std::int8_t Paso) {
  grupo->ReglasVacia.insert(grupo->ReglasVacia.begin(), TRegla{Relacion, Paso});
}

void TMesa::DefinirFundacion(TGrupo* grupo, std::uint8_t Palo, std::uint8_t Numero,
                             TPila* pila) {
  grupo->EsFundacion = true;
  grupo->PaloFundacion = Palo;
  grupo->NumeroFundacion = Numero;
  if (pila) pila->Imagen = {TTipoImagen::Fundacion, static_cast<std::uint8_t>(Palo & 3)};
}

void TMesa::AgregarOrigen(TGrupo* destino, TGrupo* origen) {
  destino->Origenes.insert(destino->Origenes.begin(), origen);
}

void TMesa::QuitarOrigen(TGrupo* destino, TGrupo* origen) {
  // An origin that is not listed leaves the list as it is.
  auto& o = destino->Origenes;
  for (auto it = o.begin(); it != o.end(); ++it) {
    if (*it == origen) {
      o.erase(it);
      return;
    }
  }
}

TPila* TMesa::CrearPila(TGrupo* grupo, std::int16_t X, std::int16_t Y) {
  auto p = std::make_unique<TPila>(*this, grupo);
  p->XDiseno = X;
  p->YDiseno = Y;
  p->Left = Escalar(X);
  p->Top = Escalar(Y);
  p->Imagen = {TTipoImagen::Otros, ImgLugarVacio};
  p->Visible = true;
  TraerAlFrente(*p);
  p->Numero = static_cast<int>(Pilas.size()) + 1;
  TPila* pila = p.get();
  Pilas.push_back(std::move(p));
  return pila;
}

TPila* TMesa::AgregarPila(TGrupo* grupo, TPila* pila) {
  grupo->Pilas.insert(grupo->Pilas.begin(), pila);
  return pila;
}

// Every move keeps each pile's count (capacities read it): the win checks after every
// move ask this, and need not walk the cards.
std::uint8_t TMesa::CartasEnGrupo(const TGrupo* grupo) {
  unsigned n = 0;
  for (const TPila* p : grupo->Pilas) n += p->Cantidad;
  return static_cast<std::uint8_t>(n);
}

void TMesa::AgregarDestinoMazo(TPila* pila, std::uint8_t Cantidad) {
  if (!Mazo) return;
  Mazo->Destinos.insert(Mazo->Destinos.begin(), TDestino{pila, Cantidad});
}

void TMesa::PonerTitulo(const std::string& titulo) { VentanaActual().PonerTitulo(titulo); }

void TMesa::OcultarCargando() {
  Minutos = 0;
  Movimientos = 0;
  Paneles.PuntosSinContar();
  VentanaActual().CargandoOculto();
}

void TMesa::PonerBocaArriba(TCarta& carta) {
  carta.BocaArriba = true;
  carta.MostrarHint = true;
  carta.Imagen = {TTipoImagen::Cara, carta.ImagenCara()};
}

void TMesa::PonerBocaAbajo(TCarta& carta) {
  carta.BocaArriba = false;
  carta.MostrarHint = false;
  carta.Imagen = {TTipoImagen::Reverso, 0};
}

std::string TMesa::TextoPuntos() const { return ::TextoPuntos(Minutos, Movimientos); }

void TMesa::ActualizarPuntos() {
  if (!SinRegistro) Paneles.PonerPuntos(Minutos, Movimientos);
}

void TMesa::ContarMinuto() {
  ++Minutos;
  ActualizarPuntos();
}

void TMesa::VerificarFinAhora() {
  FinJuegoArmado = false;
  if (VerificarFin) VerificarFin(*this);
}

void TMesa::JuegoGanado() { VentanaActual().JuegoGanado(); }

void TMesa::EscribirReutilizaciones() {
  if (Mazo && Mazo->Reutilizaciones < 0)
    Paneles.PonerReutilizacionesIlimitadas();
  else
    Paneles.PonerReutilizaciones(Mazo ? Mazo->Reutilizaciones : 0);
}

void TMesa::liberarGruposYPilas() {
  Grupos.clear();
  Pilas.clear();
  gruposPropios_.clear();
  // Cards that lay on piles stay with the deck until the next CrearMazo or LiberarMesa.
  for (auto& c : Cartas) {
    c->Pila = nullptr;
  }
}

void TMesa::liberarHistorial() {
  Historial = nullptr;
  JugadaMasAntigua = nullptr;
  Instantanea = nullptr;
  jugadas_.clear();
  PorRehacer.clear();
}

void TMesa::LiberarMesa() {
  liberarGruposYPilas();
  liberarHistorial();
  Cartas.clear();
  Mazo.reset();
  EstadoJuego.reset();
}
