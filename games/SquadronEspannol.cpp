// Squadron Español: six tableau piles built down by suit, two cells, and a stock that
// turns two cards at a time onto its waste, gone through only once.
#include "engine/Mesa.h"
#include "games/Fundaciones.h"
#include "games/Juegos.h"

namespace {

struct TEstado : TEstadoJuego {
  TGrupo* PosRM;
  TGrupo* Libre;
  TGrupo* Tab;
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

void PrepararSquadronEspannol(TMesa& m, std::int32_t Numero) {
  m.IniciarJuego(Numero, "Squadron Español");
  m.ContextoAyuda = 70;
  m.PonerTitulo("ZARP - Squadron Español");
  m.CrearMazo(16, 112, true, 0);
  m.PuedeApilar = ApilarPorReglas;
  m.PuedeOcuparVacia = OcuparPorReglas;
  m.PuedeFundar = FundarPorReglas;
  m.VerificarFin = VerificarFin;
  m.ProcPreparar = PrepararSquadronEspannol;

  auto& e = m.NuevoEstado<TEstado>();
  e.PosRM = m.CrearGrupo("PosRM", 0, 0, 255, false, false, false, false);
  e.Libre = m.CrearGrupo("Libre", 0, 0, 1, false, false, false, false);
  e.Tab = m.CrearGrupo("Tab", 0, 10, 255, false, false, false, false);
  e.FundO = m.CrearGrupo("FundO", 0, 0, 10, false, false, false, false);
  e.FundC = m.CrearGrupo("FundC", 0, 0, 10, false, false, false, false);
  e.FundE = m.CrearGrupo("FundE", 0, 0, 10, false, false, false, false);
  e.FundB = m.CrearGrupo("FundB", 0, 0, 10, false, false, false, false);

  m.AgregarReglaVacia(e.Tab, rpCualquiera, PasoLibre);
  m.AgregarReglaVacia(e.Libre, rpCualquiera, PasoLibre);
  m.AgregarReglaApilado(e.Tab, rpMismoPalo, -1);
  m.AgregarReglaApilado(e.FundO, rpMismoPalo, 1);
  m.AgregarReglaApilado(e.FundC, rpMismoPalo, 1);
  m.AgregarReglaApilado(e.FundE, rpMismoPalo, 1);
  m.AgregarReglaApilado(e.FundB, rpMismoPalo, 1);

  m.DefinirFundacion(e.FundO, Oros, 1, m.PonerPila(e.FundO, 464, 104));
  m.DefinirFundacion(e.FundC, Copas, 1, m.PonerPila(e.FundC, 464, 232));
  m.DefinirFundacion(e.FundE, Espadas, 1, m.PonerPila(e.FundE, 544, 104));
  m.DefinirFundacion(e.FundB, Bastos, 1, m.PonerPila(e.FundB, 544, 232));

  TPila* descarte = m.PonerPila(e.PosRM, 16, 216);
  m.AgregarDestinoMazo(descarte, 2);
  descarte->AlCambiar = MostrarDescarte;

  m.RepartirCartas(m.PonerPila(e.Tab, 200, 72), 3, false);
  m.RepartirCartas(m.PonerPila(e.Tab, 280, 72), 3, false);
  m.RepartirCartas(m.PonerPila(e.Tab, 360, 72), 3, false);
  m.RepartirCartas(m.PonerPila(e.Tab, 200, 264), 3, false);
  m.RepartirCartas(m.PonerPila(e.Tab, 280, 264), 3, false);
  m.RepartirCartas(m.PonerPila(e.Tab, 360, 264), 3, false);
  m.RepartirCartas(m.PonerPila(e.Libre, 120, 112), 1, false);
  m.RepartirCartas(m.PonerPila(e.Libre, 120, 216), 1, false);

  for (TGrupo* f : {e.FundO, e.FundC, e.FundE, e.FundB}) {
    m.AgregarOrigen(f, e.Tab);
    m.AgregarOrigen(f, e.PosRM);
    m.AgregarOrigen(f, e.Libre);
  }
  m.AgregarOrigen(e.Tab, e.Tab);
  m.AgregarOrigen(e.Tab, e.PosRM);
  m.AgregarOrigen(e.Tab, e.Libre);
  m.AgregarOrigen(e.Libre, e.PosRM);
  m.AgregarOrigen(e.Libre, e.Tab);

  m.Mazo->Visible = true;

  m.OcultarCargando();
}
