// Orden Real: the four Reyes start the foundations, built down by suit; seven columns of
// five dealt alternately face up and face down, built up in another suit, and one free
// cell.
#include "engine/Mesa.h"
#include "games/Fundaciones.h"
#include "games/Juegos.h"

namespace {

struct TEstado : TEstadoJuego {
  TGrupo* Tab;
  TGrupo* Libre;
  TGrupo* FundO;
  TGrupo* FundC;
  TGrupo* FundE;
  TGrupo* FundB;
};

void VerificarFin(TMesa& m) {
  auto& e = m.Estado<TEstado>();
  if (CuarentaEnFundaciones(e.FundO, e.FundC, e.FundE, e.FundB))
    m.JuegoGanado();
}

// A column: five single cards from the bottom up, the first, third and fifth face up.
void RepartirColumna(TMesa& m, TPila* pila) {
  m.RepartirCartas(pila, 1, false);
  m.RepartirCartas(pila, 1, true);
  m.RepartirCartas(pila, 1, false);
  m.RepartirCartas(pila, 1, true);
  m.RepartirCartas(pila, 1, false);
}

}  // namespace

void PrepararOrdenReal(TMesa& m, std::int32_t Numero) {
  m.IniciarJuego(Numero, "Orden Real");
  m.PonerTitulo("ZARP - Orden Real");
  m.PuedeApilar = ApilarPorReglas;
  m.PuedeOcuparVacia = OcuparPorReglas;
  m.PuedeFundar = FundarPorReglas;
  m.VerificarFin = VerificarFin;
  m.ContextoAyuda = 90;
  m.ProcPreparar = PrepararOrdenReal;
  m.CrearMazo(m.AnchoPantalla + 1, m.AltoPantalla + 1, false, 0);

  auto& e = m.NuevoEstado<TEstado>();
  e.Tab = m.CrearGrupo("Tab", 0, 15, 255, false, false, true, false);
  e.Libre = m.CrearGrupo("Libre", 0, 0, 1, false, false, false, false);
  e.FundO = m.CrearGrupo("FundO", 0, 0, 10, false, false, false, false);
  e.FundC = m.CrearGrupo("FundC", 0, 0, 10, false, false, false, false);
  e.FundE = m.CrearGrupo("FundE", 0, 0, 10, false, false, false, false);
  e.FundB = m.CrearGrupo("FundB", 0, 0, 10, false, false, false, false);

  m.AgregarReglaVacia(e.Tab, rpCualquiera, 1);
  m.AgregarReglaVacia(e.Libre, rpCualquiera, PasoLibre);
  m.AgregarReglaApilado(e.Tab, rpOtroPalo, 1);
  m.AgregarReglaApilado(e.FundO, rpMismoPalo, -1);
  m.AgregarReglaApilado(e.FundC, rpMismoPalo, -1);
  m.AgregarReglaApilado(e.FundE, rpMismoPalo, -1);
  m.AgregarReglaApilado(e.FundB, rpMismoPalo, -1);

  m.AgregarOrigen(e.Libre, e.Tab);
  m.AgregarOrigen(e.Tab, e.Tab);
  m.AgregarOrigen(e.Tab, e.Libre);
  for (TGrupo* f : {e.FundO, e.FundC, e.FundE, e.FundB}) {
    m.AgregarOrigen(f, e.Tab);
    m.AgregarOrigen(f, e.Libre);
  }

  // The Reyes leave the stock before anything is dealt.
  TPila* fundO = m.PonerPila(e.FundO, 169, 40);
  m.DefinirFundacion(e.FundO, Oros, 10, fundO);
  m.SacarCarta(10, Oros, fundO);
  TPila* fundC = m.PonerPila(e.FundC, 249, 40);
  m.DefinirFundacion(e.FundC, Copas, 10, fundC);
  m.SacarCarta(10, Copas, fundC);
  TPila* fundE = m.PonerPila(e.FundE, 329, 40);
  m.DefinirFundacion(e.FundE, Espadas, 10, fundE);
  m.SacarCarta(10, Espadas, fundE);
  TPila* fundB = m.PonerPila(e.FundB, 409, 40);
  m.DefinirFundacion(e.FundB, Bastos, 10, fundB);
  m.SacarCarta(10, Bastos, fundB);
  RepartirColumna(m, m.PonerPila(e.Tab, 37, 168));
  RepartirColumna(m, m.PonerPila(e.Tab, 107, 168));
  RepartirColumna(m, m.PonerPila(e.Tab, 178, 168));
  RepartirColumna(m, m.PonerPila(e.Tab, 249, 168));
  RepartirColumna(m, m.PonerPila(e.Tab, 319, 168));
  RepartirColumna(m, m.PonerPila(e.Tab, 390, 168));
  RepartirColumna(m, m.PonerPila(e.Tab, 461, 168));
  m.RepartirCartas(m.PonerPila(e.Libre, 549, 216), 1, false);

  m.OcultarCargando();
}
