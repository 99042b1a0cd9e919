// Solitario Anárquico II: two foundations per suit, based on the first two cards of that
// suit in the shuffle. The first builds towards the second's base; once it gets there the
// second opens and goes round to meet the first.
#include <array>

#include "engine/Mesa.h"
#include "games/Juegos.h"

namespace {

struct TEstado : TEstadoJuego {
  TGrupo* Tab;
  std::array<TGrupo*, 4> Fund;  // FundO, FundC, FundE, FundB
  std::array<TGrupo*, 4> CIA;   // CIAO, CIAC, CIAE, CIAB
};

void VerificarFin(TMesa& m) {
  auto& e = m.Estado<TEstado>();
  unsigned total = 0;
  for (int palo = 0; palo < 4; ++palo)
    total += TMesa::CartasEnGrupo(e.Fund[palo]) + TMesa::CartasEnGrupo(e.CIA[palo]);
  if (total == 40) m.JuegoGanado();
}

struct TDosPrimeros {
  std::array<TCarta*, 4> X1{};
  std::array<TCarta*, 4> X2{};
};

// Per suit, the first and the second card of that suit from the top of the stock down.
TDosPrimeros DosPrimerosPorPalo(const TMazo& mazo) {
  TDosPrimeros d;
  int faltan = 8;
  for (TCarta* c = mazo.TopeMazo; c && faltan > 0; c = c->Debajo) {
    if (!d.X1[c->Palo]) {
      d.X1[c->Palo] = c;
      --faltan;
    } else if (!d.X2[c->Palo]) {
      d.X2[c->Palo] = c;
      --faltan;
    }
  }
  return d;
}

// A foundation never gives up its base card.
bool EsBaseDeFundacion(const TCarta& carta) {
  return carta.Pila && carta.Pila->Grupo->EsFundacion && !carta.Debajo;
}

bool PuedeApilarAnarquicoII(TCarta& carta, TPila& pila) {
  return ApilarPorReglas(carta, pila) && !EsBaseDeFundacion(carta);
}

bool PuedeOcuparVaciaAnarquicoII(TCarta& carta, TPila& pila) {
  return OcuparPorReglas(carta, pila) && !EsBaseDeFundacion(carta);
}

// Whether the card, on the first foundation of its suit, is the neighbour of the second
// foundation's base in the direction both build.
bool TocaSegundaBase(TPila& pila, const TCarta& carta) {
  auto& e = pila.Mesa->Estado<TEstado>();
  const TCarta* T = e.CIA[pila.Grupo->PaloFundacion]->Pilas.front()->Tope;
  const int paso = pila.Grupo->ReglasApilado.front().Paso;
  return T && carta.Numero + paso == T->Numero;
}

void EnlazarFundaciones(TPila& pila, TCarta& carta) {
  if (!TocaSegundaBase(pila, carta)) return;
  TMesa& m = *pila.Mesa;
  auto& e = m.Estado<TEstado>();
  TGrupo* F = e.Fund[pila.Grupo->PaloFundacion];
  TGrupo* G = e.CIA[pila.Grupo->PaloFundacion];
  m.AgregarOrigen(G, e.Tab);
  m.AgregarOrigen(e.Tab, G);
  m.QuitarOrigen(e.Tab, F);
}

void DesenlazarFundaciones(TPila& pila, TCarta& carta) {
  if (!TocaSegundaBase(pila, carta)) return;
  TMesa& m = *pila.Mesa;
  auto& e = m.Estado<TEstado>();
  TGrupo* F = e.Fund[pila.Grupo->PaloFundacion];
  TGrupo* G = e.CIA[pila.Grupo->PaloFundacion];
  m.QuitarOrigen(G, e.Tab);
  m.QuitarOrigen(e.Tab, G);
  m.AgregarOrigen(e.Tab, F);
}

TPila* PonerFundacion(TMesa& m, TGrupo* grupo, std::uint8_t palo, std::int16_t X,
                      std::int16_t Y, TCarta& base) {
  TPila* pila = m.PonerPila(grupo, X, Y);
  m.DefinirFundacion(grupo, palo, base.Numero, pila);
  m.Mazo->QuitarCartas(base);
  pila->AgregarCartas(base);
  m.PonerBocaArriba(base);
  return pila;
}

void EnlazarAlRecibir(TPila* pila) {
  pila->AlRecibir = EnlazarFundaciones;
  pila->AlQuitar = DesenlazarFundaciones;
}

}  // namespace

void PrepararSolitarioAnarquicoII(TMesa& m, std::int32_t Numero) {
  m.IniciarJuego(Numero, "Solitario Anárquico II");
  m.PonerTitulo("ZARP - Solitario Anárquico II");
  m.PuedeApilar = PuedeApilarAnarquicoII;
  m.PuedeOcuparVacia = PuedeOcuparVaciaAnarquicoII;
  m.PuedeFundar = FundarPorReglas;
  m.VerificarFin = VerificarFin;
  m.ContextoAyuda = 200;
  m.ProcPreparar = PrepararSolitarioAnarquicoII;
  m.CrearMazo(m.AnchoPantalla + 1, m.AltoPantalla + 1, false, 0);

  const TDosPrimeros d = DosPrimerosPorPalo(*m.Mazo);
  auto sube = [&d](std::uint8_t palo) { return d.X1[palo]->Numero < d.X2[palo]->Numero; };

  auto& e = m.NuevoEstado<TEstado>();
  e.Tab = m.CrearGrupo("Tab", 0, 15, 255, false, true, true, false);
  e.Fund[Oros] = m.CrearGrupo("FundO", 0, 0, 10, false, false, false, false);
  e.Fund[Copas] = m.CrearGrupo("FundC", 0, 0, 10, false, false, false, false);
  e.Fund[Espadas] = m.CrearGrupo("FundE", 0, 0, 10, false, false, false, false);
  e.Fund[Bastos] = m.CrearGrupo("FundB", 0, 0, 10, false, false, false, false);
  e.CIA[Oros] = m.CrearGrupo("CIAO", 0, 0, 10, sube(Oros), !sube(Oros), false, false);
  e.CIA[Copas] = m.CrearGrupo("CIAC", 0, 0, 10, sube(Copas), !sube(Copas), false, false);
  e.CIA[Espadas] =
      m.CrearGrupo("CIAE", 0, 0, 10, sube(Espadas), !sube(Espadas), false, false);
  e.CIA[Bastos] = m.CrearGrupo("CIAB", 0, 0, 10, sube(Bastos), !sube(Bastos), false, false);

  m.AgregarReglaVacia(e.Tab, rpCualquiera, PasoLibre);
  m.AgregarReglaApilado(e.Tab, rpOtroPalo, -1);
  for (std::uint8_t palo : {Oros, Copas, Espadas, Bastos}) {
    const std::int8_t paso = sube(palo) ? 1 : -1;
    m.AgregarReglaApilado(e.Fund[palo], rpMismoPalo, paso);
    m.AgregarReglaApilado(e.CIA[palo], rpMismoPalo, paso);
  }

  m.AgregarOrigen(e.Tab, e.Tab);
  m.AgregarOrigen(e.Tab, e.Fund[Oros]);
  m.AgregarOrigen(e.Tab, e.Fund[Copas]);
  m.AgregarOrigen(e.Tab, e.Fund[Espadas]);
  m.AgregarOrigen(e.Tab, e.Fund[Bastos]);
  for (TGrupo* f : e.Fund) m.AgregarOrigen(f, e.Tab);

  TPila* fundO = PonerFundacion(m, e.Fund[Oros], Oros, 13, 35, *d.X1[Oros]);
  EnlazarAlRecibir(fundO);
  PonerFundacion(m, e.CIA[Oros], Oros, 85, 35, *d.X2[Oros]);
  TPila* fundC = PonerFundacion(m, e.Fund[Copas], Copas, 173, 35, *d.X1[Copas]);
  EnlazarAlRecibir(fundC);
  PonerFundacion(m, e.CIA[Copas], Copas, 245, 35, *d.X2[Copas]);
  TPila* fundE = PonerFundacion(m, e.Fund[Espadas], Espadas, 333, 35, *d.X1[Espadas]);
  EnlazarAlRecibir(fundE);
  PonerFundacion(m, e.CIA[Espadas], Espadas, 405, 35, *d.X2[Espadas]);
  TPila* fundB = PonerFundacion(m, e.Fund[Bastos], Bastos, 493, 35, *d.X1[Bastos]);
  EnlazarAlRecibir(fundB);
  PonerFundacion(m, e.CIA[Bastos], Bastos, 565, 35, *d.X2[Bastos]);

  // A suit whose two bases are already neighbours is open from the start.
  for (TPila* f : {fundO, fundC, fundE, fundB}) f->AlRecibir(*f, *f->Tope);

  m.RepartirCartas(m.PonerPila(e.Tab, 16, 146), 1, false);
  m.RepartirCartas(m.PonerPila(e.Tab, 93, 146), 2, false);
  m.RepartirCartas(m.PonerPila(e.Tab, 171, 146), 3, false);
  m.RepartirCartas(m.PonerPila(e.Tab, 249, 146), 4, false);
  m.RepartirCartas(m.PonerPila(e.Tab, 327, 146), 5, false);
  m.RepartirCartas(m.PonerPila(e.Tab, 405, 146), 6, false);
  m.RepartirCartas(m.PonerPila(e.Tab, 483, 146), 7, false);
  m.RepartirCartas(m.PonerPila(e.Tab, 561, 146), 4, false);

  m.OcultarCargando();
}
