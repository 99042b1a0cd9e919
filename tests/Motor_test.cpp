// The card engine on small tables built in the tests: rule decisions, the full effect of
// a move, the stock, the history and the snapshot.
#include <gtest/gtest.h>

#include "engine/Mesa.h"
#include "tests/Ayuda.h"

namespace {

// Takes a named card out of the stock onto a pile, face up or down, as a setup would.
void Poner(TMesa& m, TPila* p, std::uint8_t numero, std::uint8_t palo, bool bocaArriba = true) {
  m.SacarCarta(numero, palo, p);
  if (!bocaArriba) m.PonerBocaAbajo(*p->Tope);
}

struct MesaDePrueba : ::testing::Test {
  TMesa m{1024, 768};
  TGrupo* tab = nullptr;
  TGrupo* fund = nullptr;
  void SetUp() override {
    m.IniciarJuego(1, "Prueba");
    m.CrearMazo(m.AnchoPantalla + 1, m.AltoPantalla + 1, false, 0);
    tab = m.CrearGrupo("Tablero", 0, 15, 255, false, false, true, false);
    fund = m.CrearGrupo("FundC", 0, 0, 10, true, false, false, false);
    m.AgregarReglaApilado(tab, rpOtroPar, -1);
    m.AgregarReglaVacia(tab, rpCualquiera, 10);
    m.AgregarReglaApilado(fund, rpMismoPalo, 1);
    m.AgregarOrigen(tab, tab);
    m.AgregarOrigen(fund, tab);
  }
};

}  // namespace

TEST(Escala, RedondeaHaciaAbajoConLaEscalaDeSimplePrecision) {
  TMesa a(1024, 768);
  a.IniciarJuego(1, "x");
  EXPECT_EQ(a.Escalar(16), 25);
  EXPECT_EQ(a.Escalar(5), 8);
  TMesa b(1152, 864);
  b.IniciarJuego(1, "x");
  EXPECT_EQ(b.Escalar(25), 44);
  EXPECT_EQ(b.Escalar(-25), -45);
  TGrupo* g = b.CrearGrupo("Columnas", 0, 15, 255, false, false, false, false);
  EXPECT_EQ(g->NombreGrupo, "Colum");
  TPila* p = b.PonerPila(g, 25, 10);
  EXPECT_EQ(p->Left, 44);
  EXPECT_EQ(p->XDiseno, 25);
}

TEST(Hint, NombraElRangoYElPalo) {
  TCarta c(Espadas, 9);
  EXPECT_EQ(c.ImagenCara(), 28);
  EXPECT_EQ(TextoHint(c), "9 de Espadas");
  EXPECT_EQ(TextoHint(TCarta(Bastos, 10)), "10 de Bastos");
}

TEST_F(MesaDePrueba, ReglasDePaloRangoYCiclo) {
  TPila* a = m.PonerPila(tab, 10, 10);
  TPila* b = m.PonerPila(tab, 100, 10);
  TPila* vacia = m.PonerPila(tab, 200, 10);
  Poner(m, a, 7, Espadas);
  Poner(m, b, 6, Oros);
  EXPECT_TRUE(m.ArrastrarSobrePila(*a, *b->Tope, 1, 1));  // 6 de Oros on 7 de Espadas
  TPila* d = m.PonerPila(tab, 300, 10);
  Poner(m, d, 7, Copas);
  EXPECT_FALSE(m.ArrastrarSobrePila(*d, *b->Tope, 1, 1));  // same pair of suits
  // An empty column takes a Rey only; with PasoLibre any card.
  Poner(m, b, 10, Oros);
  Poner(m, a, 9, Bastos);
  EXPECT_TRUE(m.ArrastrarSobrePila(*vacia, *b->Tope, 1, 1));
  EXPECT_FALSE(m.ArrastrarSobrePila(*vacia, *a->Tope, 1, 1));
  m.AgregarReglaVacia(tab, rpCualquiera, PasoLibre);
  EXPECT_TRUE(m.ArrastrarSobrePila(*vacia, *a->Tope, 1, 1));
  // A face-down card is accepted nowhere.
  m.PonerBocaAbajo(*a->Tope);
  EXPECT_FALSE(m.ArrastrarSobrePila(*vacia, *a->Tope, 1, 1));
}

TEST(RangoCiclico, ArribaYAbajo) {
  TGrupo g;
  EXPECT_FALSE(RangoCiclico(10, 1, 1, g));
  g.CicloArriba = true;
  EXPECT_TRUE(RangoCiclico(10, 1, 1, g));
  EXPECT_TRUE(RangoCiclico(9, 1, 2, g));
  EXPECT_TRUE(RangoCiclico(10, 2, 2, g));
  EXPECT_FALSE(RangoCiclico(1, 10, -1, g));
  g.CicloAbajo = true;
  EXPECT_TRUE(RangoCiclico(1, 10, -1, g));
  EXPECT_TRUE(RangoCiclico(1, 9, -2, g));
  EXPECT_FALSE(RangoCiclico(5, 4, -1, g));  // within range: the direct test decides
}

TEST_F(MesaDePrueba, FundacionEmpiezaPorSuCartaYSigueTrasElRey) {
  TPila* f = m.PonerPila(fund, 10, 300);
  m.DefinirFundacion(fund, Copas, 1, f);
  EXPECT_EQ(f->Imagen, (TImagen{TTipoImagen::Fundacion, Copas}));
  TPila* a = m.PonerPila(tab, 10, 10);
  Poner(m, a, 1, Oros);
  EXPECT_FALSE(m.ArrastrarSobrePila(*f, *a->Tope, 1, 1));
  Poner(m, a, 1, Copas);
  EXPECT_TRUE(m.ArrastrarSobrePila(*f, *a->Tope, 1, 1));
  Poner(m, a, 2, Bastos);  // the 1 de Copas now heads a run
  EXPECT_FALSE(m.ArrastrarSobrePila(*f, *a->Tope->Debajo, 1, 1));
  // CicloArriba: the 1 follows the Rey of the same suit.
  TPila* g = m.PonerPila(fund, 100, 300);
  Poner(m, g, 10, Espadas);
  TPila* b = m.PonerPila(tab, 100, 10);
  Poner(m, b, 1, Espadas);
  EXPECT_TRUE(m.ArrastrarSobrePila(*g, *b->Tope, 1, 1));
  fund->CicloArriba = false;
  EXPECT_FALSE(m.ArrastrarSobrePila(*g, *b->Tope, 1, 1));
}

TEST_F(MesaDePrueba, TramosOrdenadosLibresYCapacidad) {
  TPila* a = m.PonerPila(tab, 10, 10);
  TPila* b = m.PonerPila(tab, 100, 10);
  Poner(m, a, 9, Oros);
  Poner(m, a, 8, Espadas);
  Poner(m, a, 7, Copas);  // 9O 8E 7C: in order
  Poner(m, b, 10, Bastos);
  TCarta* cabeza = a->Tope->Debajo->Debajo;
  EXPECT_TRUE(m.ArrastrarSobrePila(*b, *cabeza, 1, 1));
  tab->VariasCartas = false;
  EXPECT_FALSE(m.ArrastrarSobrePila(*b, *cabeza, 1, 1));
  EXPECT_TRUE(m.ArrastrarSobrePila(*b, *a->Tope->Debajo->Debajo->Encima->Encima, 1, 1) ==
              false);  // 7C on 10B: rank does not follow
  tab->VariasCartas = true;
  Poner(m, a, 5, Oros);  // 9O 8E 7C 5O: out of order
  EXPECT_FALSE(m.ArrastrarSobrePila(*b, *cabeza, 1, 1));
  tab->TramoLibre = true;
  EXPECT_TRUE(m.ArrastrarSobrePila(*b, *cabeza, 1, 1));
  // Capacity 5 with 3 cards: a run of 2 fits, a run of 3 does not.
  tab->Capacidad = 5;
  m.AgregarReglaApilado(tab, rpCualquiera, PasoLibre);
  TPila* c = m.PonerPila(tab, 200, 10);
  Poner(m, c, 10, Copas);
  Poner(m, c, 4, Oros);
  Poner(m, c, 4, Bastos);
  EXPECT_TRUE(m.ArrastrarSobrePila(*c, *a->Tope->Debajo, 1, 1));
  EXPECT_FALSE(m.ArrastrarSobrePila(*c, *a->Tope->Debajo->Debajo, 1, 1));
}

TEST_F(MesaDePrueba, OrigenesPropiaPilaYMazo) {
  TPila* a = m.PonerPila(tab, 10, 10);
  TPila* b = m.PonerPila(tab, 100, 10);
  Poner(m, a, 7, Espadas);
  Poner(m, a, 2, Copas);
  Poner(m, b, 6, Oros);
  // A card over a card of its own pile is refused, a buried card of another pile means it.
  EXPECT_FALSE(m.ArrastrarSobreCarta(*a->Tope, *a->Tope, 1, 1));
  EXPECT_FALSE(m.ArrastrarSobreCarta(*a->Tope->Debajo, *b->Tope, 1, 1));  // top is 2C
  m.QuitarOrigen(tab, tab);
  m.QuitarOrigen(tab, fund);  // not listed: nothing changes
  EXPECT_TRUE(tab->Origenes.empty());
  Poner(m, a, 7, Bastos);
  EXPECT_FALSE(m.ArrastrarSobrePila(*a, *b->Tope, 1, 1));
  m.AgregarOrigen(tab, tab);
  EXPECT_TRUE(m.ArrastrarSobreCarta(*a->Tope->Debajo, *b->Tope, 1, 1));
  EXPECT_FALSE(m.Mazo->ArrastrarSobre(*b->Tope, 1, 1, TEstadoArrastre::Moviendo));
}

TEST_F(MesaDePrueba, UnaJugadaCompleta) {
  TPila* a = m.PonerPila(tab, 10, 10);
  TPila* b = m.PonerPila(tab, 100, 10);
  Poner(m, a, 3, Oros, false);
  Poner(m, a, 9, Copas);
  Poner(m, a, 8, Espadas);
  Poner(m, a, 7, Oros);
  Poner(m, b, 10, Bastos);
  m.OcultarCargando();
  EXPECT_EQ(m.Paneles[PanelPuntos], "Puntos (0/0): ---");
  TCarta* nueve = a->Tope->Debajo->Debajo;
  const int top = b->Tope->Top;
  ASSERT_TRUE(m.ArrastrarSobreCarta(*b->Tope, *nueve, 1, 1));
  m.SoltarEnCarta(*b->Tope, *nueve, 1, 1);
  EXPECT_EQ(CartasDe(*b), "10B 9C 8E 7O");
  EXPECT_EQ(CartasDe(*a), "3O");  // uncovered and turned up
  EXPECT_EQ(b->Cantidad, 4);
  EXPECT_EQ(nueve->Top, top + 15);
  EXPECT_EQ(b->Tope->Top, top + 45);
  EXPECT_GT(b->Tope->Orden, nueve->Orden);
  EXPECT_TRUE(nueve->Visible && a->Tope->Visible);
  EXPECT_EQ(m.Movimientos, 1);
  EXPECT_EQ(m.Paneles[PanelPuntos], "Puntos (0/1): 1");
  EXPECT_TRUE(m.DeshacerHabilitado);
  EXPECT_TRUE(m.FinJuegoArmado);
  ExpectInvariantes(m);

  m.Deshacer();
  EXPECT_EQ(CartasDe(*a), "3o 9C 8E 7O");
  EXPECT_EQ(CartasDe(*b), "10B");
  EXPECT_EQ(m.Movimientos, 2);
  EXPECT_EQ(nueve->Top, a->Top + 15);
  m.Deshacer();  // empty history: nothing, no count
  EXPECT_EQ(m.Movimientos, 2);
  ExpectInvariantes(m);
}

TEST_F(MesaDePrueba, DesplazamientosCeroOcultanLaCartaCubierta) {
  TPila* f = m.PonerPila(fund, 10, 300);
  m.DefinirFundacion(fund, Copas, 1, f);
  TPila* a = m.PonerPila(tab, 10, 10);
  Poner(m, a, 2, Copas);
  Poner(m, a, 1, Copas);
  m.MoverAutomatico(*a->Tope);
  m.MoverAutomatico(*a->Tope);
  EXPECT_EQ(CartasDe(*f), "1C 2C");
  EXPECT_FALSE(f->Tope->Debajo->Visible);
  EXPECT_EQ(f->Tope->Left, f->Left);
  m.Deshacer();
  EXPECT_TRUE(f->Tope->Visible);
}

TEST_F(MesaDePrueba, MoverAutomaticoBuscaEnOrdenInversoDeCreacion) {
  TPila* a = m.PonerPila(tab, 10, 10);
  TPila* b = m.PonerPila(tab, 100, 10);
  TPila* c = m.PonerPila(tab, 200, 10);
  Poner(m, a, 7, Espadas);
  Poner(m, b, 7, Bastos);
  Poner(m, c, 6, Oros);
  EXPECT_TRUE(m.MoverAutomatico(*c->Tope));
  EXPECT_EQ(CartasDe(*b), "7B 6O");  // b was added after a
  const std::uint16_t antes = m.Movimientos;
  EXPECT_FALSE(m.MoverAutomatico(*a->Tope));  // 7E has nowhere to go
  m.PonerBocaAbajo(*b->Tope);
  m.SoltarBotonCarta(*b->Tope, TBoton::Derecho, false);  // face down: nothing
  EXPECT_EQ(m.Movimientos, antes);
  EXPECT_EQ(CartasDe(*b), "7B 6o");
}

namespace {
struct MesaConMazo : ::testing::Test {
  TMesa m{1024, 768};
  TGrupo* tab = nullptr;
  TGrupo* desc = nullptr;
  TPila* descarte = nullptr;
  void Preparar(std::int8_t reutilizaciones) {
    m.IniciarJuego(1, "Prueba");
    m.CrearMazo(10, 10, true, reutilizaciones);
    tab = m.CrearGrupo("Tab", 0, 15, 255, false, false, true, false);
    desc = m.CrearGrupo("PosRM", 0, 0, 255, false, false, false, false);
    descarte = m.PonerPila(desc, 90, 10);
    m.AgregarDestinoMazo(descarte, 1);
    descarte->AlCambiar = MostrarDescarte;
    m.Mazo->Descarte = descarte;
  }
};
}  // namespace

TEST_F(MesaConMazo, TresClicsYTresDeshacerRestauranElMazo) {
  Preparar(0);
  std::string antes;
  for (TCarta* c = m.Mazo->TopeMazo; c; c = c->Debajo) antes += TextoCarta(*c);
  m.OcultarCargando();
  for (int i = 0; i < 3; ++i) m.ClickMazo();
  EXPECT_EQ(CartasDe(*descarte), "6B 3E 4E");
  EXPECT_EQ(m.Paneles[PanelMazo], "Mazo: 37");
  EXPECT_EQ(m.Paneles[PanelDescarte], "Descarte: 3");
  for (int i = 0; i < 3; ++i) m.Deshacer();
  std::string despues;
  for (TCarta* c = m.Mazo->TopeMazo; c; c = c->Debajo) despues += TextoCarta(*c);
  EXPECT_EQ(despues, antes);
  EXPECT_EQ(m.Paneles[PanelMazo], "Mazo: 40");
  EXPECT_EQ(m.Movimientos, 6);
  EXPECT_EQ(m.Mazo->TopeMazo->Left, m.Mazo->Left + 2);
  ExpectInvariantes(m);
}

TEST_F(MesaConMazo, DosDestinosYUnaSolaCartaAlFinal) {
  Preparar(0);
  TPila* otra = m.PonerPila(tab, 200, 10);
  m.AgregarDestinoMazo(otra, 2);  // registered last: dealt first
  m.RepartirCartas(otra, 37, false);
  ASSERT_EQ(m.Mazo->CartasMazo, 3);
  m.OcultarCargando();
  m.ClickMazo();
  EXPECT_EQ(otra->Cantidad, 39);
  EXPECT_EQ(descarte->Cantidad, 1);
  EXPECT_EQ(m.Movimientos, 3);
  m.Deshacer();  // the waste's card goes back first
  EXPECT_EQ(descarte->Cantidad, 0);
  EXPECT_EQ(otra->Cantidad, 39);
  m.Deshacer();
  EXPECT_EQ(otra->Cantidad, 37);
  m.RepartirCartas(otra, 2, false);
  m.ClickMazo();  // one card left, count 2: it alone moves, as one move
  EXPECT_EQ(otra->Cantidad, 40);
  EXPECT_EQ(m.Mazo->Imagen, (TImagen{TTipoImagen::Otros, ImgMazoAgotado}));
  ExpectInvariantes(m);
}

TEST_F(MesaConMazo, ReutilizarYDeshacerLaReutilizacion) {
  Preparar(1);
  for (int i = 0; i < 20; ++i) m.ClickMazo();
  TPila* otra = m.PonerPila(tab, 200, 10);
  m.RepartirCartas(otra, 20, false);
  EXPECT_EQ(m.Mazo->Imagen, (TImagen{TTipoImagen::Otros, ImgMazoReutilizable}));
  const std::string primera = TextoCarta(*descarte->Tope);
  m.OcultarCargando();
  m.ClickMazo();  // the redeal
  EXPECT_EQ(m.Paneles[PanelMazo], "Mazo: 20");
  EXPECT_EQ(m.Paneles[PanelDescarte], "Descarte: 0");
  EXPECT_EQ(m.Paneles[PanelReutilizaciones], "Reutilizaciones: 0");
  EXPECT_EQ(m.Movimientos, 0);
  ExpectInvariantes(m);
  m.ClickMazo();
  EXPECT_EQ(CartasDe(*descarte), "6B");  // the first card of the previous pass
  m.Deshacer();
  m.Deshacer();  // undo the redeal
  EXPECT_EQ(descarte->Cantidad, 20);
  EXPECT_TRUE(descarte->Tope->BocaArriba);
  EXPECT_FALSE(descarte->Tope->Debajo->BocaArriba);
  EXPECT_EQ(TextoCarta(*descarte->Tope), primera);
  EXPECT_EQ(m.Mazo->CartasMazo, 0);
  EXPECT_EQ(m.Paneles[PanelReutilizaciones], "Reutilizaciones: 1");
  EXPECT_EQ(m.Mazo->Imagen, (TImagen{TTipoImagen::Otros, ImgMazoReutilizable}));
  ExpectInvariantes(m);
  // Redeal, deal everything again: no redeal left, the no-entry sign, clicks do nothing.
  m.ClickMazo();
  for (int i = 0; i < 20; ++i) m.ClickMazo();
  EXPECT_EQ(m.Mazo->Imagen, (TImagen{TTipoImagen::Otros, ImgMazoAgotado}));
  const std::uint16_t movs = m.Movimientos;
  m.ClickMazo();
  EXPECT_EQ(m.Movimientos, movs);
  EXPECT_EQ(descarte->Cantidad, 20);
}

TEST_F(MesaConMazo, ReutilizacionVaciaSeDevuelveSinDestaparNada) {
  Preparar(-1);
  EXPECT_EQ(m.Paneles[PanelReutilizaciones], "Reutilizaciones: ilimitadas");
  TPila* otra = m.PonerPila(tab, 200, 10);
  m.RepartirCartas(otra, 40, false);
  m.OcultarCargando();
  m.ClickMazo();  // empty waste
  EXPECT_EQ(m.Paneles[PanelReutilizaciones], "Reutilizaciones: ilimitadas");
  ASSERT_NE(m.Historial, nullptr);
  m.Deshacer();
  EXPECT_EQ(m.Historial, nullptr);
  EXPECT_EQ(descarte->Cantidad, 0);
  EXPECT_EQ(CartasDe(*otra).find('b'), std::string::npos);  // nothing turned
  ExpectInvariantes(m);
}

TEST_F(MesaConMazo, ClicsYSoltarSobreCartasDelMazo) {
  Preparar(0);
  m.OcultarCargando();
  TCarta* tope = m.Mazo->TopeMazo;
  EXPECT_FALSE(m.PresionarCarta(*tope, TBoton::Izquierdo));  // face down: no drag
  m.ClickCarta(*tope);  // deals it
  EXPECT_EQ(tope->Pila, descarte);
  m.SoltarBotonCarta(*tope, TBoton::Izquierdo, false);  // now on a pile: nothing
  EXPECT_EQ(descarte->Cantidad, 1);
  m.SoltarBotonCarta(*m.Mazo->TopeMazo, TBoton::Izquierdo, false);  // a double click's release
  EXPECT_EQ(descarte->Cantidad, 2);
  m.ClickCarta(*descarte->Tope);  // face up: nothing
  EXPECT_EQ(descarte->Cantidad, 2);
}

TEST_F(MesaDePrueba, InstantaneaYVolver) {
  TPila* a = m.PonerPila(tab, 10, 10);
  TPila* b = m.PonerPila(tab, 100, 10);
  TPila* c = m.PonerPila(tab, 200, 10);
  Poner(m, a, 10, Oros);
  Poner(m, b, 9, Bastos);
  Poner(m, c, 8, Copas);
  m.OcultarCargando();
  m.TomarInstantanea();  // at the start
  EXPECT_TRUE(m.VolverHabilitado);
  m.MoverAutomatico(*b->Tope);
  m.MoverAutomatico(*c->Tope);
  EXPECT_EQ(CartasDe(*a), "10O 9B 8C");
  m.VolverAInstantanea();
  EXPECT_EQ(CartasDe(*a), "10O");
  EXPECT_FALSE(m.VolverHabilitado);
  EXPECT_EQ(m.Historial, nullptr);
  // A snapshot after an action, then undoing that action, disables the return at once.
  m.MoverAutomatico(*b->Tope);
  m.TomarInstantanea();
  m.Deshacer();
  EXPECT_FALSE(m.VolverHabilitado);
  // Restart undoes everything and zeroes the counters.
  m.MoverAutomatico(*b->Tope);
  m.MoverAutomatico(*c->Tope);
  m.Reiniciar();
  EXPECT_EQ(CartasDe(*a), "10O");
  EXPECT_EQ(m.Movimientos, 0);
  EXPECT_EQ(m.Paneles[PanelPuntos], "Puntos (0/0): ---");
  m.ContarMinuto();
  EXPECT_EQ(m.Paneles[PanelPuntos], "Puntos (1/0): 1");
}

TEST(Puntos, MinutosMasUnoYMedioPorMovimiento) {
  TMesa m;
  m.Minutos = 2;
  m.Movimientos = 3;
  EXPECT_EQ(m.TextoPuntos(), "Puntos (2/3): 6");
  m.Minutos = 65535;
  m.Movimientos = 65535;
  EXPECT_EQ(m.TextoPuntos(), "Puntos (65535/65535): 163837");
}
