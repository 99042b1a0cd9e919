// Rompecabezas: a sorting puzzle; twelve fans of at most four cards, a card goes only on
// a card of its own rank, and ten fans must end up holding one rank each.
#include "engine/Mesa.h"
#include "games/Juegos.h"

namespace {

struct TEstado : TEstadoJuego {
  TGrupo* Abani;
};

bool PilaCompleta(const TPila& p) {
  if (p.Cantidad != 4) return false;
  const TCarta* c = p.Tope;
  return c->Debajo->Numero == c->Numero && c->Debajo->Debajo->Numero == c->Numero &&
         c->Debajo->Debajo->Debajo->Numero == c->Numero;
}

void VerificarFin(TMesa& m) {
  int completas = 0;
  for (TGrupo* g : m.Grupos)
    for (TPila* p : g->Pilas)
      if (PilaCompleta(*p)) ++completas;
  if (completas == 10) m.JuegoGanado();
}

}  // namespace

void PrepararRompecabezas(TMesa& m, std::int32_t Numero) {
  m.IniciarJuego(Numero, "Rompecabezas");
  m.ContextoAyuda = 170;
  m.PonerTitulo("ZARP - Rompecabezas");
  m.CrearMazo(m.AnchoPantalla + 1, m.AltoPantalla + 1, false, 0);
  m.PuedeApilar = ApilarPorReglas;
  m.PuedeOcuparVacia = OcuparPorReglas;
  m.PuedeFundar = FundarPorReglas;
  m.VerificarFin = VerificarFin;
  m.ProcPreparar = PrepararRompecabezas;

  auto& e = m.NuevoEstado<TEstado>();
  e.Abani = m.CrearGrupo("Abani", 16, 0, 4, false, false, false, false);
  m.AgregarReglaVacia(e.Abani, rpCualquiera, PasoLibre);
  m.AgregarReglaApilado(e.Abani, rpCualquiera, 0);

  m.RepartirCartas(m.PonerPila(e.Abani, 73, 72), 4, false);
  m.RepartirCartas(m.PonerPila(e.Abani, 201, 72), 4, false);
  m.RepartirCartas(m.PonerPila(e.Abani, 329, 72), 4, false);
  m.RepartirCartas(m.PonerPila(e.Abani, 457, 72), 4, false);
  m.RepartirCartas(m.PonerPila(e.Abani, 73, 184), 4, false);
  m.RepartirCartas(m.PonerPila(e.Abani, 201, 184), 4, false);
  m.RepartirCartas(m.PonerPila(e.Abani, 329, 184), 4, false);
  m.RepartirCartas(m.PonerPila(e.Abani, 457, 184), 4, false);
  m.RepartirCartas(m.PonerPila(e.Abani, 73, 296), 4, false);
  m.RepartirCartas(m.PonerPila(e.Abani, 201, 296), 4, false);
  m.PonerPila(e.Abani, 329, 296);
  m.PonerPila(e.Abani, 457, 296);

  m.AgregarOrigen(e.Abani, e.Abani);

  m.OcultarCargando();
}
