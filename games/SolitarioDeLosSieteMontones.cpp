// Solitario De Los Siete Montones: seven piles of one to seven cards built down in the
// other suit pair, a stock turned one card at a time without limit, four foundations.
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
  TGrupo* PosRM;
};

void VerificarFin(TMesa& m) {
  auto& e = m.Estado<TEstado>();
  if (CuarentaEnFundaciones(e.FundO, e.FundC, e.FundE, e.FundB))
    m.JuegoGanado();
}

// A tableau pile: its face-down cards in one deal, then its face-up card.
void PonerMonton(TMesa& m, TGrupo* grupo, std::int16_t X, std::int16_t Y,
                 std::uint8_t bocaAbajo) {
  TPila* p = m.PonerPila(grupo, X, Y);
  m.RepartirCartas(p, bocaAbajo, true);
  m.RepartirCartas(p, 1, false);
}

}  // namespace

void PrepararSolitarioDeLosSieteMontones(TMesa& m, std::int32_t Numero) {
  m.IniciarJuego(Numero, "Solitario De Los Siete Montones");
  m.PonerTitulo("ZARP - Solitario De Los Siete Montones");
  m.CrearMazo(16, 146, true, -1);
  m.PuedeApilar = ApilarPorReglas;
  m.PuedeOcuparVacia = OcuparPorReglas;
  m.PuedeFundar = FundarPorReglas;
  m.VerificarFin = VerificarFin;
  m.ContextoAyuda = 50;
  m.ProcPreparar = PrepararSolitarioDeLosSieteMontones;

  auto& e = m.NuevoEstado<TEstado>();
  e.Tab1 = m.CrearGrupo("Tab1", 0, 15, 255, false, false, true, false);
  e.FundO = m.CrearGrupo("FundO", 0, 0, 10, false, false, false, false);
  e.FundC = m.CrearGrupo("FundC", 0, 0, 10, false, false, false, false);
  e.FundE = m.CrearGrupo("FundE", 0, 0, 10, false, false, false, false);
  e.FundB = m.CrearGrupo("FundB", 0, 0, 10, false, false, false, false);
  e.PosRM = m.CrearGrupo("PosRM", 0, 0, 255, false, false, false, false);

  m.AgregarReglaVacia(e.Tab1, rpCualquiera, 10);
  m.AgregarReglaApilado(e.Tab1, rpOtroPar, -1);
  m.AgregarReglaApilado(e.FundO, rpMismoPalo, 1);
  m.AgregarReglaApilado(e.FundC, rpMismoPalo, 1);
  m.AgregarReglaApilado(e.FundE, rpMismoPalo, 1);
  m.AgregarReglaApilado(e.FundB, rpMismoPalo, 1);

  TPila* descarte = m.PonerPila(e.PosRM, 16, 256);
  m.AgregarDestinoMazo(descarte, 1);
  m.Mazo->Descarte = descarte;
  descarte->AlCambiar = MostrarDescarte;

  m.DefinirFundacion(e.FundO, Oros, 1, m.PonerPila(e.FundO, 128, 35));
  m.DefinirFundacion(e.FundC, Copas, 1, m.PonerPila(e.FundC, 240, 35));
  m.DefinirFundacion(e.FundE, Espadas, 1, m.PonerPila(e.FundE, 352, 35));
  m.DefinirFundacion(e.FundB, Bastos, 1, m.PonerPila(e.FundB, 448, 35));
  PonerMonton(m, e.Tab1, 112, 146, 0);
  PonerMonton(m, e.Tab1, 184, 146, 1);
  PonerMonton(m, e.Tab1, 256, 146, 2);
  PonerMonton(m, e.Tab1, 328, 146, 3);
  PonerMonton(m, e.Tab1, 400, 146, 4);
  PonerMonton(m, e.Tab1, 472, 146, 5);
  PonerMonton(m, e.Tab1, 544, 146, 6);

  m.Mazo->Visible = true;

  for (TGrupo* f : {e.FundO, e.FundC, e.FundE, e.FundB}) {
    m.AgregarOrigen(f, e.Tab1);
    m.AgregarOrigen(f, e.PosRM);
  }
  m.AgregarOrigen(e.Tab1, e.Tab1);
  m.AgregarOrigen(e.Tab1, e.PosRM);

  m.OcultarCargando();
}
