// Solitario Anárquico: each suit's foundation starts with the first card of that suit in
// the shuffle; columns build down in another suit and may take cards back from the
// foundations, all but their first card.
#include <array>

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

void VerificarFin(TMesa& m) {
  auto& e = m.Estado<TEstado>();
  if (CuarentaEnFundaciones(e.FundO, e.FundC, e.FundE, e.FundB))
    m.JuegoGanado();
}

// Per suit, the first card of that suit from the top of the stock down.
std::array<TCarta*, 4> PrimerosPorPalo(const TMazo& mazo) {
  std::array<TCarta*, 4> primeros{};
  int faltan = 4;
  for (TCarta* c = mazo.TopeMazo; c && faltan > 0; c = c->Debajo)
    if (!primeros[c->Palo]) {
      primeros[c->Palo] = c;
      --faltan;
    }
  return primeros;
}

// A foundation's first card never leaves it.
bool EsBaseDeFundacion(const TCarta& carta) {
  return carta.Pila && carta.Pila->Grupo->EsFundacion && !carta.Debajo;
}

bool PuedeApilarAnarquico(TCarta& carta, TPila& pila) {
  return ApilarPorReglas(carta, pila) && !EsBaseDeFundacion(carta);
}

bool PuedeOcuparVaciaAnarquico(TCarta& carta, TPila& pila) {
  return OcuparPorReglas(carta, pila) && !EsBaseDeFundacion(carta);
}

void PonerFundacion(TMesa& m, TGrupo* grupo, std::uint8_t palo, std::int16_t X, std::int16_t Y,
                    TCarta& primera) {
  TPila* pila = m.PonerPila(grupo, X, Y);
  m.DefinirFundacion(grupo, palo, primera.Numero, pila);
  m.Mazo->QuitarCartas(primera);
  pila->AgregarCartas(primera);
  m.PonerBocaArriba(primera);
}

}  // namespace

void PrepararSolitarioAnarquico(TMesa& m, std::int32_t Numero) {
  m.IniciarJuego(Numero, "Solitario Anárquico");
  m.PonerTitulo("ZARP - Solitario Anárquico");
  m.PuedeApilar = PuedeApilarAnarquico;
  m.PuedeOcuparVacia = PuedeOcuparVaciaAnarquico;
  m.PuedeFundar = FundarPorReglas;
  m.VerificarFin = VerificarFin;
  m.ContextoAyuda = 120;
  m.ProcPreparar = PrepararSolitarioAnarquico;
  m.CrearMazo(m.AnchoPantalla + 1, m.AltoPantalla + 1, false, 0);

  auto& e = m.NuevoEstado<TEstado>();
  e.Tab = m.CrearGrupo("Tab", 0, 15, 255, false, true, true, false);
  e.FundO = m.CrearGrupo("FundO", 0, 0, 10, true, false, false, false);
  e.FundC = m.CrearGrupo("FundC", 0, 0, 10, true, false, false, false);
  e.FundE = m.CrearGrupo("FundE", 0, 0, 10, true, false, false, false);
  e.FundB = m.CrearGrupo("FundB", 0, 0, 10, true, false, false, false);

  m.AgregarReglaVacia(e.Tab, rpCualquiera, PasoLibre);
  m.AgregarReglaApilado(e.Tab, rpOtroPalo, -1);
  m.AgregarReglaApilado(e.FundO, rpMismoPalo, 1);
  m.AgregarReglaApilado(e.FundC, rpMismoPalo, 1);
  m.AgregarReglaApilado(e.FundE, rpMismoPalo, 1);
  m.AgregarReglaApilado(e.FundB, rpMismoPalo, 1);

  m.AgregarOrigen(e.Tab, e.Tab);
  m.AgregarOrigen(e.Tab, e.FundO);
  m.AgregarOrigen(e.Tab, e.FundC);
  m.AgregarOrigen(e.Tab, e.FundE);
  m.AgregarOrigen(e.Tab, e.FundB);
  for (TGrupo* f : {e.FundO, e.FundC, e.FundE, e.FundB}) m.AgregarOrigen(f, e.Tab);

  const auto primeros = PrimerosPorPalo(*m.Mazo);
  PonerFundacion(m, e.FundO, Oros, 128, 35, *primeros[Oros]);
  PonerFundacion(m, e.FundC, Copas, 240, 35, *primeros[Copas]);
  PonerFundacion(m, e.FundE, Espadas, 352, 35, *primeros[Espadas]);
  PonerFundacion(m, e.FundB, Bastos, 448, 35, *primeros[Bastos]);
  m.RepartirCartas(m.PonerPila(e.Tab, 16, 146), 1, false);
  m.RepartirCartas(m.PonerPila(e.Tab, 93, 146), 2, false);
  m.RepartirCartas(m.PonerPila(e.Tab, 171, 146), 3, false);
  m.RepartirCartas(m.PonerPila(e.Tab, 249, 146), 4, false);
  m.RepartirCartas(m.PonerPila(e.Tab, 327, 146), 5, false);
  m.RepartirCartas(m.PonerPila(e.Tab, 405, 146), 6, false);
  m.RepartirCartas(m.PonerPila(e.Tab, 483, 146), 7, false);
  m.RepartirCartas(m.PonerPila(e.Tab, 561, 146), 8, false);

  m.OcultarCargando();
}
