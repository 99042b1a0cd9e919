// Ordenamiento Desordenado: five columns of five built two ranks up or down in any suit,
// ranks wrapping both ways; the rest stays in a stock dealt one card at a time onto a
// waste, never redealt.
#include "engine/Mesa.h"
#include "games/Fundaciones.h"
#include "games/Juegos.h"

namespace {

struct TEstado : TEstadoJuego {
  TGrupo* Tab;
  TGrupo* FundO;
  TGrupo* FundC;
  TGrupo* FundE;
  TGrupo* FundB;
  TGrupo* Entre;
};

void VerificarFin(TMesa& m) {
  auto& e = m.Estado<TEstado>();
  if (CuarentaEnFundaciones(e.FundO, e.FundC, e.FundE, e.FundB))
    m.JuegoGanado();
}

}  // namespace

void PrepararOrdenamientoDesordenado(TMesa& m, std::int32_t Numero) {
  m.IniciarJuego(Numero, "Ordenamiento Desordenado");
  m.PonerTitulo("ZARP - Ordenamiento Desordenado");
  m.PuedeApilar = ApilarPorReglas;
  m.PuedeOcuparVacia = OcuparPorReglas;
  m.PuedeFundar = FundarPorReglas;
  m.VerificarFin = VerificarFin;
  m.ContextoAyuda = 110;
  m.ProcPreparar = PrepararOrdenamientoDesordenado;
  m.CrearMazo(29, 168, true, 0);

  auto& e = m.NuevoEstado<TEstado>();
  e.Tab = m.CrearGrupo("Tab", 0, 15, 255, true, true, true, false);
  e.FundO = m.CrearGrupo("FundO", 0, 0, 10, false, false, false, false);
  e.FundC = m.CrearGrupo("FundC", 0, 0, 10, false, false, false, false);
  e.FundE = m.CrearGrupo("FundE", 0, 0, 10, false, false, false, false);
  e.FundB = m.CrearGrupo("FundB", 0, 0, 10, false, false, false, false);
  e.Entre = m.CrearGrupo("Entre", 0, 0, 255, false, false, false, false);

  m.AgregarReglaVacia(e.Tab, rpCualquiera, PasoLibre);
  m.AgregarReglaApilado(e.Tab, rpCualquiera, 2);
  m.AgregarReglaApilado(e.Tab, rpCualquiera, -2);
  m.AgregarReglaApilado(e.FundO, rpMismoPalo, 1);
  m.AgregarReglaApilado(e.FundC, rpMismoPalo, 1);
  m.AgregarReglaApilado(e.FundE, rpMismoPalo, 1);
  m.AgregarReglaApilado(e.FundB, rpMismoPalo, 1);

  // The waste takes cards from the stock only: it lists no origin.
  m.AgregarOrigen(e.Tab, e.Tab);
  m.AgregarOrigen(e.Tab, e.Entre);
  for (TGrupo* f : {e.FundO, e.FundC, e.FundE, e.FundB}) {
    m.AgregarOrigen(f, e.Tab);
    m.AgregarOrigen(f, e.Entre);
  }

  m.DefinirFundacion(e.FundO, Oros, 1, m.PonerPila(e.FundO, 169, 40));
  m.DefinirFundacion(e.FundC, Copas, 1, m.PonerPila(e.FundC, 249, 40));
  m.DefinirFundacion(e.FundE, Espadas, 1, m.PonerPila(e.FundE, 329, 40));
  m.DefinirFundacion(e.FundB, Bastos, 1, m.PonerPila(e.FundB, 409, 40));
  TPila* entre = m.PonerPila(e.Entre, 101, 168);
  m.AgregarDestinoMazo(entre, 1);
  entre->AlCambiar = MostrarDescarte;
  m.RepartirCartas(m.PonerPila(e.Tab, 221, 168), 5, false);
  m.RepartirCartas(m.PonerPila(e.Tab, 301, 168), 5, false);
  m.RepartirCartas(m.PonerPila(e.Tab, 381, 168), 5, false);
  m.RepartirCartas(m.PonerPila(e.Tab, 461, 168), 5, false);
  m.RepartirCartas(m.PonerPila(e.Tab, 541, 168), 5, false);

  m.Mazo->Visible = true;

  m.OcultarCargando();
}
