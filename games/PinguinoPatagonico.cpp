// Pingüino Patagónico: the first card of the shuffle fixes the base rank; its three
// brothers start the foundations, the columns build down by suit and five free cells help.
#include "engine/Mesa.h"
#include "games/Fundaciones.h"
#include "games/Juegos.h"

namespace {

struct TEstado : TEstadoJuego {
  TGrupo* Tab1;
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

// The foundation of a suit starts with its card of the base rank, unless that card is
// the base card itself: that one is dealt to the first column and must be freed.
void PonerFundacion(TMesa& m, TGrupo* grupo, std::uint8_t palo, std::int16_t X, std::int16_t Y,
                    std::uint8_t B, std::uint8_t S) {
  TPila* pila = m.PonerPila(grupo, X, Y);
  m.DefinirFundacion(grupo, palo, B, pila);
  if (palo != S) m.SacarCarta(B, palo, pila);
}

}  // namespace

void PrepararPinguinoPatagonico(TMesa& m, std::int32_t Numero) {
  m.IniciarJuego(Numero, "Pingüino Patagónico");
  m.PonerTitulo("ZARP - Pingüino Patagónico");
  m.CrearMazo(m.AnchoPantalla + 1, m.AltoPantalla + 1, false, 0);
  m.PuedeApilar = ApilarPorReglas;
  m.PuedeOcuparVacia = OcuparPorReglas;
  m.PuedeFundar = FundarPorReglas;
  m.VerificarFin = VerificarFin;
  m.ContextoAyuda = 240;
  m.ProcPreparar = PrepararPinguinoPatagonico;

  auto& e = m.NuevoEstado<TEstado>();
  e.Tab1 = m.CrearGrupo("Tab1", 0, 15, 255, false, true, false, false);
  e.Libre = m.CrearGrupo("Libre", 0, 0, 1, false, false, false, false);
  e.FundO = m.CrearGrupo("FundO", 0, 0, 10, true, false, false, false);
  e.FundC = m.CrearGrupo("FundC", 0, 0, 10, true, false, false, false);
  e.FundE = m.CrearGrupo("FundE", 0, 0, 10, true, false, false, false);
  e.FundB = m.CrearGrupo("FundB", 0, 0, 10, true, false, false, false);

  m.AgregarReglaApilado(e.Tab1, rpMismoPalo, -1);
  m.AgregarReglaApilado(e.Libre, rpCualquiera, PasoLibre);
  m.AgregarReglaApilado(e.FundO, rpMismoPalo, 1);
  m.AgregarReglaApilado(e.FundC, rpMismoPalo, 1);
  m.AgregarReglaApilado(e.FundE, rpMismoPalo, 1);
  m.AgregarReglaApilado(e.FundB, rpMismoPalo, 1);
  m.AgregarReglaVacia(e.Libre, rpCualquiera, PasoLibre);

  m.AgregarOrigen(e.Tab1, e.Tab1);
  for (TGrupo* f : {e.FundO, e.FundC, e.FundE, e.FundB}) m.AgregarOrigen(f, e.Tab1);
  for (TGrupo* f : {e.FundO, e.FundC, e.FundE, e.FundB}) m.AgregarOrigen(f, e.Libre);
  m.AgregarOrigen(e.Tab1, e.Libre);
  m.AgregarOrigen(e.Libre, e.Tab1);

  // The base card is the one the first deal will take; it is only looked at here.
  const std::uint8_t B = m.Mazo->TopeMazo->Numero;
  const std::uint8_t S = m.Mazo->TopeMazo->Palo;
  m.AgregarReglaVacia(e.Tab1, rpCualquiera, static_cast<std::int8_t>(B == 1 ? 10 : B - 1));

  PonerFundacion(m, e.FundO, Oros, 512, 104, B, S);
  PonerFundacion(m, e.FundC, Copas, 576, 104, B, S);
  PonerFundacion(m, e.FundE, Espadas, 512, 208, B, S);
  PonerFundacion(m, e.FundB, Bastos, 576, 208, B, S);
  m.RepartirCartas(m.PonerPila(e.Tab1, 8, 32), 6, false);
  m.RepartirCartas(m.PonerPila(e.Tab1, 80, 32), 6, false);
  m.RepartirCartas(m.PonerPila(e.Tab1, 152, 32), 5, false);
  m.RepartirCartas(m.PonerPila(e.Tab1, 224, 32), 5, false);
  m.RepartirCartas(m.PonerPila(e.Tab1, 296, 32), 5, false);
  m.RepartirCartas(m.PonerPila(e.Tab1, 368, 32), 5, false);
  m.RepartirCartas(m.PonerPila(e.Tab1, 440, 32), 5, false);
  m.PonerPila(e.Libre, 80, 310);
  m.PonerPila(e.Libre, 152, 310);
  m.PonerPila(e.Libre, 224, 310);
  m.PonerPila(e.Libre, 296, 310);
  m.PonerPila(e.Libre, 368, 310);

  m.OcultarCargando();
}
