// Yukon Español: the top card of the deck sets the foundations' base rank; any face-up
// card moves with everything on it, and the tableau wraps so a Rey goes on an As.
#include "engine/Mesa.h"
#include "games/Fundaciones.h"
#include "games/Juegos.h"

namespace {

struct TEstado : TEstadoJuego {
  TGrupo* Tab1;
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

}  // namespace

void PrepararYukonEspannol(TMesa& m, std::int32_t Numero) {
  m.IniciarJuego(Numero, "Yukon Español");
  m.PonerTitulo("ZARP - Yukon Español");
  m.PuedeApilar = ApilarPorReglas;
  m.PuedeOcuparVacia = OcuparPorReglas;
  m.PuedeFundar = FundarPorReglas;
  m.VerificarFin = VerificarFin;
  m.ContextoAyuda = 60;
  m.ProcPreparar = PrepararYukonEspannol;
  m.CrearMazo(m.AnchoPantalla + 1, m.AltoPantalla + 1, false, 0);

  auto& e = m.NuevoEstado<TEstado>();
  e.Tab1 = m.CrearGrupo("Tab1", 0, 15, 255, false, true, true, true);
  e.FundO = m.CrearGrupo("FundO", 0, 0, 10, true, false, false, false);
  e.FundC = m.CrearGrupo("FundC", 0, 0, 10, true, false, false, false);
  e.FundE = m.CrearGrupo("FundE", 0, 0, 10, true, false, false, false);
  e.FundB = m.CrearGrupo("FundB", 0, 0, 10, true, false, false, false);

  m.AgregarReglaApilado(e.Tab1, rpOtroPalo, -1);
  m.AgregarReglaApilado(e.FundO, rpMismoPalo, 1);
  m.AgregarReglaApilado(e.FundC, rpMismoPalo, 1);
  m.AgregarReglaApilado(e.FundE, rpMismoPalo, 1);
  m.AgregarReglaApilado(e.FundB, rpMismoPalo, 1);

  m.AgregarOrigen(e.Tab1, e.Tab1);
  for (TGrupo* f : {e.FundO, e.FundC, e.FundE, e.FundB}) m.AgregarOrigen(f, e.Tab1);

  // The top card of the shuffled deck sets the base rank of every foundation.
  const TCarta& tope = *m.Mazo->TopeMazo;
  const std::uint8_t R = tope.Numero;
  TPila* fundaciones[4];
  m.DefinirFundacion(e.FundO, Oros, R, fundaciones[Oros] = m.PonerPila(e.FundO, 128, 35));
  m.DefinirFundacion(e.FundC, Copas, R, fundaciones[Copas] = m.PonerPila(e.FundC, 240, 35));
  m.DefinirFundacion(e.FundE, Espadas, R,
                     fundaciones[Espadas] = m.PonerPila(e.FundE, 352, 35));
  m.DefinirFundacion(e.FundB, Bastos, R, fundaciones[Bastos] = m.PonerPila(e.FundB, 448, 35));

  m.AgregarReglaVacia(e.Tab1, rpCualquiera, R == 1 ? 10 : static_cast<std::int8_t>(R - 1));

  m.RepartirCartas(fundaciones[tope.Palo & 3], 1, false);

  m.RepartirCartas(m.PonerPila(e.Tab1, 41, 152), 4, false);
  TPila* p = m.PonerPila(e.Tab1, 140, 152);
  m.RepartirCartas(p, 1, true);
  m.RepartirCartas(p, 4, false);
  p = m.PonerPila(e.Tab1, 239, 152);
  m.RepartirCartas(p, 2, true);
  m.RepartirCartas(p, 4, false);
  p = m.PonerPila(e.Tab1, 338, 152);
  m.RepartirCartas(p, 3, true);
  m.RepartirCartas(p, 4, false);
  p = m.PonerPila(e.Tab1, 437, 152);
  m.RepartirCartas(p, 4, true);
  m.RepartirCartas(p, 4, false);
  p = m.PonerPila(e.Tab1, 537, 152);
  m.RepartirCartas(p, 5, true);
  m.RepartirCartas(p, 4, false);

  m.OcultarCargando();
}
