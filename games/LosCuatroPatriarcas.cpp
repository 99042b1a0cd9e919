// Los Cuatro Patriarcas: the four Reyes start the foundations, built down by suit; four
// columns built up in any suit that take runs, and four fans built down in any suit.
#include "engine/Mesa.h"
#include "games/Fundaciones.h"
#include "games/Juegos.h"

namespace {

struct TEstado : TEstadoJuego {
  TGrupo* Pila;
  TGrupo* Abani;
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

void PrepararLosCuatroPatriarcas(TMesa& m, std::int32_t Numero) {
  m.IniciarJuego(Numero, "Los Cuatro Patriarcas");
  m.PonerTitulo("ZARP - Los Cuatro Patriarcas");
  m.PuedeApilar = ApilarPorReglas;
  m.PuedeOcuparVacia = OcuparPorReglas;
  m.PuedeFundar = FundarPorReglas;
  m.VerificarFin = VerificarFin;
  m.ContextoAyuda = 130;
  m.ProcPreparar = PrepararLosCuatroPatriarcas;
  m.CrearMazo(m.AnchoPantalla + 1, m.AltoPantalla + 1, false, 0);

  auto& e = m.NuevoEstado<TEstado>();
  e.Pila = m.CrearGrupo("Pila", 0, 15, 255, false, false, true, false);
  e.Abani = m.CrearGrupo("Abani", 16, 0, 255, false, false, false, false);
  e.FundO = m.CrearGrupo("FundO", 0, 0, 10, false, false, false, false);
  e.FundC = m.CrearGrupo("FundC", 0, 0, 10, false, false, false, false);
  e.FundE = m.CrearGrupo("FundE", 0, 0, 10, false, false, false, false);
  e.FundB = m.CrearGrupo("FundB", 0, 0, 10, false, false, false, false);

  m.AgregarReglaVacia(e.Pila, rpCualquiera, 1);
  m.AgregarReglaVacia(e.Abani, rpCualquiera, PasoLibre);
  m.AgregarReglaApilado(e.Pila, rpCualquiera, 1);
  m.AgregarReglaApilado(e.Abani, rpCualquiera, -1);
  m.AgregarReglaApilado(e.FundO, rpMismoPalo, -1);
  m.AgregarReglaApilado(e.FundC, rpMismoPalo, -1);
  m.AgregarReglaApilado(e.FundE, rpMismoPalo, -1);
  m.AgregarReglaApilado(e.FundB, rpMismoPalo, -1);

  // The Reyes leave the stock before anything is dealt.
  TPila* fundO = m.PonerPila(e.FundO, 149, 40);
  m.DefinirFundacion(e.FundO, Oros, 10, fundO);
  m.SacarCarta(10, Oros, fundO);
  TPila* fundC = m.PonerPila(e.FundC, 242, 40);
  m.DefinirFundacion(e.FundC, Copas, 10, fundC);
  m.SacarCarta(10, Copas, fundC);
  TPila* fundE = m.PonerPila(e.FundE, 335, 40);
  m.DefinirFundacion(e.FundE, Espadas, 10, fundE);
  m.SacarCarta(10, Espadas, fundE);
  TPila* fundB = m.PonerPila(e.FundB, 429, 40);
  m.DefinirFundacion(e.FundB, Bastos, 10, fundB);
  m.SacarCarta(10, Bastos, fundB);
  m.RepartirCartas(m.PonerPila(e.Pila, 8, 176), 5, false);
  m.RepartirCartas(m.PonerPila(e.Pila, 80, 176), 5, false);
  m.RepartirCartas(m.PonerPila(e.Pila, 152, 176), 5, false);
  m.RepartirCartas(m.PonerPila(e.Pila, 224, 176), 5, false);
  m.RepartirCartas(m.PonerPila(e.Abani, 304, 176), 4, false);
  m.RepartirCartas(m.PonerPila(e.Abani, 464, 176), 4, false);
  m.RepartirCartas(m.PonerPila(e.Abani, 304, 288), 4, false);
  m.RepartirCartas(m.PonerPila(e.Abani, 464, 288), 4, false);

  m.AgregarOrigen(e.Pila, e.Pila);
  m.AgregarOrigen(e.Pila, e.Abani);
  m.AgregarOrigen(e.Abani, e.Pila);
  m.AgregarOrigen(e.Abani, e.Abani);
  for (TGrupo* f : {e.FundO, e.FundC, e.FundE, e.FundB}) {
    m.AgregarOrigen(f, e.Abani);
    m.AgregarOrigen(f, e.Pila);
  }

  m.OcultarCargando();
}
