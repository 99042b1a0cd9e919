// Strup: an open game of eight piles of five, built down in another suit, where a
// foundation card may come back to the tableau.
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

void PrepararStrup(TMesa& m, std::int32_t Numero) {
  m.IniciarJuego(Numero, "Strup");
  m.PonerTitulo("ZARP - Strup");
  m.CrearMazo(m.AnchoPantalla + 1, m.AltoPantalla + 1, false, 0);
  m.PuedeApilar = ApilarPorReglas;
  m.PuedeOcuparVacia = OcuparPorReglas;
  m.PuedeFundar = FundarPorReglas;
  m.VerificarFin = VerificarFin;
  m.ContextoAyuda = 100;
  m.ProcPreparar = PrepararStrup;

  auto& e = m.NuevoEstado<TEstado>();
  e.Tab1 = m.CrearGrupo("Tab1", 0, 15, 255, false, false, true, false);
  e.FundO = m.CrearGrupo("FundO", 0, 0, 10, false, false, false, false);
  e.FundC = m.CrearGrupo("FundC", 0, 0, 10, false, false, false, false);
  e.FundE = m.CrearGrupo("FundE", 0, 0, 10, false, false, false, false);
  e.FundB = m.CrearGrupo("FundB", 0, 0, 10, false, false, false, false);

  m.AgregarReglaVacia(e.Tab1, rpCualquiera, 10);
  m.AgregarReglaApilado(e.Tab1, rpOtroPalo, -1);
  m.AgregarReglaApilado(e.FundO, rpMismoPalo, 1);
  m.AgregarReglaApilado(e.FundC, rpMismoPalo, 1);
  m.AgregarReglaApilado(e.FundE, rpMismoPalo, 1);
  m.AgregarReglaApilado(e.FundB, rpMismoPalo, 1);

  m.DefinirFundacion(e.FundO, Oros, 1, m.PonerPila(e.FundO, 128, 35));
  m.DefinirFundacion(e.FundC, Copas, 1, m.PonerPila(e.FundC, 240, 35));
  m.DefinirFundacion(e.FundE, Espadas, 1, m.PonerPila(e.FundE, 352, 35));
  m.DefinirFundacion(e.FundB, Bastos, 1, m.PonerPila(e.FundB, 448, 35));
  m.RepartirCartas(m.PonerPila(e.Tab1, 16, 146), 5, false);
  m.RepartirCartas(m.PonerPila(e.Tab1, 93, 146), 5, false);
  m.RepartirCartas(m.PonerPila(e.Tab1, 171, 146), 5, false);
  m.RepartirCartas(m.PonerPila(e.Tab1, 249, 146), 5, false);
  m.RepartirCartas(m.PonerPila(e.Tab1, 327, 146), 5, false);
  m.RepartirCartas(m.PonerPila(e.Tab1, 405, 146), 5, false);
  m.RepartirCartas(m.PonerPila(e.Tab1, 483, 146), 5, false);
  m.RepartirCartas(m.PonerPila(e.Tab1, 561, 146), 5, false);

  for (TGrupo* f : {e.FundO, e.FundC, e.FundE, e.FundB}) m.AgregarOrigen(f, e.Tab1);
  m.AgregarOrigen(e.Tab1, e.Tab1);
  m.AgregarOrigen(e.Tab1, e.FundO);
  m.AgregarOrigen(e.Tab1, e.FundC);
  m.AgregarOrigen(e.Tab1, e.FundE);
  m.AgregarOrigen(e.Tab1, e.FundB);

  m.OcultarCargando();
}
