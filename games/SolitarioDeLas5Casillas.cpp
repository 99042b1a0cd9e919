// Solitario De Las Cinco Casillas: four single cards and a reserve in a row, a stock
// with one redeal, and one foundation that takes the whole deck As to Rey four times.
#include "engine/Mesa.h"
#include "games/Juegos.h"

namespace {

struct TEstado : TEstadoJuego {
  TGrupo* Tab;
  TGrupo* Cen;
  TGrupo* Bas;
  TGrupo* RM;
};

void VerificarFin(TMesa& m) {
  auto& e = m.Estado<TEstado>();
  if (TMesa::CartasEnGrupo(e.Bas) == 40) m.JuegoGanado();
}

}  // namespace

void PrepararSolitarioDeLas5Casillas(TMesa& m, std::int32_t Numero) {
  m.IniciarJuego(Numero, "Solitario De Las Cinco Casillas");
  m.PonerTitulo("ZARP - Solitario De Las Cinco Casillas");
  m.CrearMazo(17, 305, true, 1);
  m.PuedeApilar = ApilarPorReglas;
  m.PuedeOcuparVacia = OcuparPorReglas;
  m.PuedeFundar = FundarPorReglas;
  m.VerificarFin = VerificarFin;
  m.ContextoAyuda = 270;
  m.ProcPreparar = PrepararSolitarioDeLas5Casillas;

  auto& e = m.NuevoEstado<TEstado>();
  e.Tab = m.CrearGrupo("Tab", 0, 15, 255, false, false, false, false);
  e.Cen = m.CrearGrupo("Cen", 0, 0, 255, false, false, false, false);
  e.Bas = m.CrearGrupo("Bas", 0, 0, 255, true, false, false, false);
  e.RM = m.CrearGrupo("RM", 0, 0, 255, false, false, false, false);

  m.AgregarReglaVacia(e.Tab, rpCualquiera, PasoLibre);
  m.AgregarReglaVacia(e.Bas, rpCualquiera, 1);
  m.AgregarReglaApilado(e.Tab, rpCualquiera, -1);
  m.AgregarReglaApilado(e.Bas, rpCualquiera, 1);

  m.AgregarOrigen(e.Tab, e.RM);
  m.AgregarOrigen(e.Tab, e.Cen);
  m.AgregarOrigen(e.Tab, e.Tab);
  m.AgregarOrigen(e.Bas, e.Tab);
  m.AgregarOrigen(e.Bas, e.RM);
  m.AgregarOrigen(e.Bas, e.Cen);

  m.PonerPila(e.Bas, 25, 128);
  TPila* reserva = m.PonerPila(e.Cen, 365, 48);
  m.RepartirCartas(reserva, 14, true);
  m.RepartirCartas(reserva, 1, false);
  m.RepartirCartas(m.PonerPila(e.Tab, 169, 56), 1, false);
  m.RepartirCartas(m.PonerPila(e.Tab, 267, 56), 1, false);
  m.RepartirCartas(m.PonerPila(e.Tab, 463, 56), 1, false);
  m.RepartirCartas(m.PonerPila(e.Tab, 561, 56), 1, false);
  TPila* descarte = m.PonerPila(e.RM, 89, 305);

  m.AgregarDestinoMazo(descarte, 1);
  m.Mazo->Descarte = descarte;
  descarte->AlCambiar = MostrarDescarte;

  m.OcultarCargando();
}
