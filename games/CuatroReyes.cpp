// Cuatro Reyes: an open game; two side piles of five, six fanned piles in the middle
// built down in another suit, and the four foundations in the corners.
#include "engine/Mesa.h"
#include "games/Fundaciones.h"
#include "games/Juegos.h"

namespace {

struct TEstado : TEstadoJuego {
  TGrupo* Pila;
  TGrupo* AbaDerecha;
  TGrupo* AbaIzquierda;
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

void PrepararCuatroReyes(TMesa& m, std::int32_t Numero) {
  m.IniciarJuego(Numero, "Cuatro Reyes");
  m.PonerTitulo("ZARP - Cuatro Reyes");
  m.CrearMazo(m.AnchoPantalla + 1, m.AltoPantalla + 1, false, 0);
  m.PuedeApilar = ApilarPorReglas;
  m.PuedeOcuparVacia = OcuparPorReglas;
  m.PuedeFundar = FundarPorReglas;
  m.VerificarFin = VerificarFin;
  m.ContextoAyuda = 260;
  m.ProcPreparar = PrepararCuatroReyes;

  auto& e = m.NuevoEstado<TEstado>();
  e.Pila = m.CrearGrupo("Pila", 0, 15, 5, false, false, false, false);
  e.AbaDerecha = m.CrearGrupo("Aba", 16, 0, 255, false, false, false, false);
  e.AbaIzquierda = m.CrearGrupo("Aba", -16, 0, 255, false, false, false, false);
  e.FundO = m.CrearGrupo("FundO", 0, 0, 10, false, false, false, false);
  e.FundC = m.CrearGrupo("FundC", 0, 0, 10, false, false, false, false);
  e.FundE = m.CrearGrupo("FundE", 0, 0, 10, false, false, false, false);
  e.FundB = m.CrearGrupo("FundB", 0, 0, 10, false, false, false, false);

  m.AgregarReglaVacia(e.Pila, rpCualquiera, PasoLibre);
  m.AgregarReglaVacia(e.AbaDerecha, rpCualquiera, PasoLibre);
  m.AgregarReglaVacia(e.AbaIzquierda, rpCualquiera, PasoLibre);
  m.AgregarReglaApilado(e.Pila, rpCualquiera, PasoLibre);
  m.AgregarReglaApilado(e.AbaDerecha, rpOtroPalo, -1);
  m.AgregarReglaApilado(e.AbaIzquierda, rpOtroPalo, -1);
  m.AgregarReglaApilado(e.FundO, rpMismoPalo, 1);
  m.AgregarReglaApilado(e.FundC, rpMismoPalo, 1);
  m.AgregarReglaApilado(e.FundE, rpMismoPalo, 1);
  m.AgregarReglaApilado(e.FundB, rpMismoPalo, 1);

  m.AgregarOrigen(e.Pila, e.AbaDerecha);
  m.AgregarOrigen(e.Pila, e.AbaIzquierda);
  m.AgregarOrigen(e.Pila, e.Pila);
  m.AgregarOrigen(e.AbaDerecha, e.Pila);
  m.AgregarOrigen(e.AbaDerecha, e.AbaIzquierda);
  m.AgregarOrigen(e.AbaDerecha, e.AbaDerecha);
  m.AgregarOrigen(e.AbaIzquierda, e.Pila);
  m.AgregarOrigen(e.AbaIzquierda, e.AbaDerecha);
  m.AgregarOrigen(e.AbaIzquierda, e.AbaIzquierda);
  for (TGrupo* f : {e.FundO, e.FundC, e.FundE, e.FundB}) {
    m.AgregarOrigen(f, e.AbaDerecha);
    m.AgregarOrigen(f, e.AbaIzquierda);
    m.AgregarOrigen(f, e.Pila);
  }

  m.DefinirFundacion(e.FundO, Oros, 1, m.PonerPila(e.FundO, 25, 32));
  m.DefinirFundacion(e.FundC, Copas, 1, m.PonerPila(e.FundC, 553, 32));
  m.DefinirFundacion(e.FundE, Espadas, 1, m.PonerPila(e.FundE, 25, 304));
  m.DefinirFundacion(e.FundB, Bastos, 1, m.PonerPila(e.FundB, 553, 304));
  m.RepartirCartas(m.PonerPila(e.Pila, 9, 136), 5, false);
  m.RepartirCartas(m.PonerPila(e.Pila, 569, 136), 5, false);
  m.RepartirCartas(m.PonerPila(e.AbaIzquierda, 253, 64), 5, false);
  m.RepartirCartas(m.PonerPila(e.AbaIzquierda, 253, 168), 5, false);
  m.RepartirCartas(m.PonerPila(e.AbaIzquierda, 253, 272), 5, false);
  m.RepartirCartas(m.PonerPila(e.AbaDerecha, 325, 64), 5, false);
  m.RepartirCartas(m.PonerPila(e.AbaDerecha, 325, 168), 5, false);
  m.RepartirCartas(m.PonerPila(e.AbaDerecha, 325, 272), 5, false);

  m.OcultarCargando();
}
