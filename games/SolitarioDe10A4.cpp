// Solitario De 10 A 4: ten open piles of four; a pile becomes a foundation in place when
// a lone As lands on an empty one, or when taking cards off leaves a suit run from an As.
#include "engine/Mesa.h"
#include "games/Juegos.h"

namespace {

struct TEstado : TEstadoJuego {
  TGrupo* Tab;
  TGrupo* Bas;
};

// The cards beneath carta, which stay on the pile, run from an As upwards in one suit.
bool EscaleraDesdeAs(TPila&, TCarta& carta) {
  const TCarta* c = carta.Debajo;
  if (!c) return false;
  for (; c->Debajo; c = c->Debajo)
    if (c->Debajo->Numero + 1 != c->Numero || c->Debajo->Palo != c->Palo) return false;
  return c->Numero == 1;
}

void ConvertirAlRecibir(TPila& pila, TCarta& carta) {
  auto& e = pila.Mesa->Estado<TEstado>();
  if (carta.Numero == 1 && !carta.Encima && !pila.Tope) pila.Grupo = e.Bas;
}

void ConvertirAlQuitar(TPila& pila, TCarta& carta) {
  auto& e = pila.Mesa->Estado<TEstado>();
  if (!carta.Debajo)
    pila.Grupo = e.Tab;
  else if (EscaleraDesdeAs(pila, carta))
    pila.Grupo = e.Bas;
}

// An As may found a pile only on its own: one with cards on it would bury the base.
bool PuedeOcuparVaciaDe10A4(TCarta& carta, TPila& pila) {
  if (!OcuparPorReglas(carta, pila)) return false;
  return !(carta.Numero == 1 && carta.Encima);
}

// Only the top card leaves a foundation pile; ordinary piles give up their runs.
void SalidaDeBase(TPila& pila, TCarta& carta, int, int, bool& Accept) {
  if (!Accept) return;
  auto& e = pila.Mesa->Estado<TEstado>();
  const TGrupo* origen = carta.Pila ? carta.Pila->Grupo : nullptr;
  Accept = (origen == e.Bas && !carta.Encima) || origen == e.Tab;
}

void VerificarFin(TMesa& m) {
  auto& e = m.Estado<TEstado>();
  std::uint8_t enBases = 0;
  for (const TPila* p : e.Tab->Pilas)
    if (p->Grupo == e.Bas) enBases = static_cast<std::uint8_t>(enBases + p->Cantidad);
  if (enBases == 40) m.JuegoGanado();
}

// A pile of four; its callbacks go on only after the deal, so no pile changes group then.
void PonerMonton(TMesa& m, TGrupo* grupo, std::int16_t X, std::int16_t Y) {
  TPila* p = m.PonerPila(grupo, X, Y);
  m.RepartirCartas(p, 4, false);
  p->AlRecibir = ConvertirAlRecibir;
  p->AlQuitar = ConvertirAlQuitar;
  p->AlArrastrarSobre = SalidaDeBase;
}

}  // namespace

void PrepararSolitarioDe10A4(TMesa& m, std::int32_t Numero) {
  m.IniciarJuego(Numero, "Solitario De 10 A 4");
  m.PonerTitulo("ZARP - Solitario De 10 A 4");
  m.PuedeApilar = ApilarPorReglas;
  m.PuedeOcuparVacia = PuedeOcuparVaciaDe10A4;
  m.PuedeFundar = FundarPorReglas;
  m.VerificarFin = VerificarFin;
  m.ContextoAyuda = 160;
  m.ProcPreparar = PrepararSolitarioDe10A4;
  m.CrearMazo(m.AnchoPantalla + 1, m.AltoPantalla + 1, false, 0);

  auto& e = m.NuevoEstado<TEstado>();
  e.Tab = m.CrearGrupo("Tab", 0, 16, 255, true, false, true, false);
  e.Bas = m.CrearGrupo("Bas", 0, 16, 10, false, false, false, false);

  m.AgregarReglaVacia(e.Tab, rpCualquiera, PasoLibre);
  m.AgregarReglaApilado(e.Tab, rpOtroPalo, 1);
  m.AgregarReglaApilado(e.Bas, rpMismoPalo, 1);

  m.AgregarOrigen(e.Tab, e.Bas);
  m.AgregarOrigen(e.Tab, e.Tab);
  m.AgregarOrigen(e.Bas, e.Tab);

  PonerMonton(m, e.Tab, 5, 104);
  PonerMonton(m, e.Tab, 68, 104);
  PonerMonton(m, e.Tab, 131, 104);
  PonerMonton(m, e.Tab, 194, 104);
  PonerMonton(m, e.Tab, 257, 104);
  PonerMonton(m, e.Tab, 320, 104);
  PonerMonton(m, e.Tab, 383, 104);
  PonerMonton(m, e.Tab, 446, 104);
  PonerMonton(m, e.Tab, 509, 104);
  PonerMonton(m, e.Tab, 573, 104);

  m.OcultarCargando();
}
