// Solitario De Los Casi 14 Montones: fourteen open piles of at most three cards built
// down in any suit, a lone Rey allowed on a lone Rey, and four foundations by suit.
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
};

bool UnSoloRey(const TPila& pila) {
  int reyes = 0;
  for (const TCarta* c = pila.Tope; c; c = c->Debajo)
    if (c->Numero == 10) ++reyes;
  return reyes == 1;
}

// Besides the rules, a single Rey may go on a pile topped by its only Rey.
bool PuedeApilarCasi14(TCarta& carta, TPila& pila) {
  const bool porReglas = ApilarPorReglas(carta, pila);
  if (carta.Numero == 10 && !carta.Encima && pila.Tope && pila.Tope->Numero == 10 &&
      UnSoloRey(pila) && pila.Cantidad < 3)
    return true;
  return porReglas;
}

void VerificarFin(TMesa& m) {
  auto& e = m.Estado<TEstado>();
  if (CuarentaEnFundaciones(e.FundO, e.FundC, e.FundE, e.FundB))
    m.JuegoGanado();
}

}  // namespace

void PrepararSolitarioDeLosCasi14Montones(TMesa& m, std::int32_t Numero) {
  m.IniciarJuego(Numero, "Solitario De Los Casi 14 Montones");
  m.PonerTitulo("ZARP - Solitario De Los Casi 14 Montones");
  m.PuedeApilar = PuedeApilarCasi14;
  m.PuedeOcuparVacia = OcuparPorReglas;
  m.PuedeFundar = FundarPorReglas;
  m.VerificarFin = VerificarFin;
  m.ContextoAyuda = 40;
  m.ProcPreparar = PrepararSolitarioDeLosCasi14Montones;
  m.CrearMazo(m.AnchoPantalla + 1, m.AltoPantalla + 1, false, 0);

  auto& e = m.NuevoEstado<TEstado>();
  e.Tab = m.CrearGrupo("Tab", 0, 15, 3, false, false, false, false);
  e.FundO = m.CrearGrupo("FundO", 0, 0, 10, false, false, false, false);
  e.FundC = m.CrearGrupo("FundC", 0, 0, 10, false, false, false, false);
  e.FundE = m.CrearGrupo("FundE", 0, 0, 10, false, false, false, false);
  e.FundB = m.CrearGrupo("FundB", 0, 0, 10, false, false, false, false);

  m.AgregarReglaApilado(e.Tab, rpCualquiera, -1);
  m.AgregarReglaApilado(e.FundO, rpMismoPalo, 1);
  m.AgregarReglaApilado(e.FundC, rpMismoPalo, 1);
  m.AgregarReglaApilado(e.FundE, rpMismoPalo, 1);
  m.AgregarReglaApilado(e.FundB, rpMismoPalo, 1);

  m.AgregarOrigen(e.Tab, e.Tab);
  m.AgregarOrigen(e.FundO, e.Tab);
  m.AgregarOrigen(e.FundC, e.Tab);
  m.AgregarOrigen(e.FundE, e.Tab);
  m.AgregarOrigen(e.FundB, e.Tab);

  m.DefinirFundacion(e.FundO, Oros, 1, m.PonerPila(e.FundO, 169, 38));
  m.DefinirFundacion(e.FundC, Copas, 1, m.PonerPila(e.FundC, 249, 38));
  m.DefinirFundacion(e.FundE, Espadas, 1, m.PonerPila(e.FundE, 329, 38));
  m.DefinirFundacion(e.FundB, Bastos, 1, m.PonerPila(e.FundB, 409, 38));
  m.RepartirCartas(m.PonerPila(e.Tab, 73, 146), 3, false);
  m.RepartirCartas(m.PonerPila(e.Tab, 145, 146), 3, false);
  m.RepartirCartas(m.PonerPila(e.Tab, 217, 146), 3, false);
  m.RepartirCartas(m.PonerPila(e.Tab, 289, 146), 3, false);
  m.RepartirCartas(m.PonerPila(e.Tab, 361, 146), 3, false);
  m.RepartirCartas(m.PonerPila(e.Tab, 433, 146), 3, false);
  m.RepartirCartas(m.PonerPila(e.Tab, 505, 146), 3, false);
  m.RepartirCartas(m.PonerPila(e.Tab, 73, 282), 3, false);
  m.RepartirCartas(m.PonerPila(e.Tab, 145, 282), 3, false);
  m.RepartirCartas(m.PonerPila(e.Tab, 217, 282), 3, false);
  m.RepartirCartas(m.PonerPila(e.Tab, 289, 282), 3, false);
  m.RepartirCartas(m.PonerPila(e.Tab, 361, 282), 3, false);
  m.RepartirCartas(m.PonerPila(e.Tab, 433, 282), 3, false);
  m.RepartirCartas(m.PonerPila(e.Tab, 505, 282), 1, false);

  m.OcultarCargando();
}
