// The generator, the shuffle and the deal, against the worked example of game 1.
#include <gtest/gtest.h>

#include "engine/Mesa.h"
#include "tests/Ayuda.h"

TEST(Generador, PrimerasSeisTiradasDeLaSemillaUno) {
  TGenerador g;
  g.Semilla = 1;
  std::vector<std::uint32_t> tiradas;
  for (int i = 0; i < 6; ++i) tiradas.push_back(g.Aleatorio(40));
  EXPECT_EQ(tiradas, (std::vector<std::uint32_t>{1, 34, 8, 10, 26, 12}));
  EXPECT_EQ(g.Aleatorio(0), 0u);
}

TEST(Barajar, JuegoUnoDaLaBarajaDelEjemplo) {
  TMesa m;
  m.IniciarJuego(1, "Prueba");
  const TBaraja b = m.Barajar();
  std::string s;
  for (const auto& e : b) s += TextoCarta(e.Palo, e.Numero, true) + " ";
  EXPECT_EQ(s,
            "5E 2C 9B 1O 10E 8C 6O 6C 9C 2O 1B 2B 6E 7E 8O 3O 3B 8B 1E 10B 5C 3C 1C 9O 4B "
            "4O 10O 5B 7O 8E 7C 4C 10C 2E 9E 5O 7B 4E 3E 6B ");
  EXPECT_EQ(m.Paneles[PanelJuego], "Juego #1 ");
}

TEST(Barajar, NumeroCeroTomaElRelojYNegativosSonValidos) {
  TMesa m;
  m.Generador.Reloj = [] { return 12345678u; };
  m.IniciarJuego(0, "Prueba");
  m.Barajar();
  EXPECT_EQ(m.NumeroJuego, 12345678);
  EXPECT_EQ(m.Paneles[PanelJuego], "Juego #12345678 ");

  m.Generador.Reloj = [] { return 0u; };
  m.IniciarJuego(0, "Prueba");
  m.Barajar();
  EXPECT_EQ(m.NumeroJuego, 0);
  EXPECT_EQ(m.Paneles[PanelJuego], "Juego #0 ");

  m.IniciarJuego(-5, "Prueba");
  m.Barajar();
  EXPECT_EQ(m.Paneles[PanelJuego], "Juego #-5 ");
}

TEST(CrearMazo, DejaDosCartasVisiblesYLosTextos) {
  TMesa m(1024, 768);
  m.IniciarJuego(1, "Prueba");
  m.CrearMazo(100, 50, true, -1);
  ASSERT_EQ(m.Mazo->CartasMazo, 40);
  EXPECT_EQ(m.Paneles[PanelMazo], "Mazo: 40");
  EXPECT_EQ(m.Paneles[PanelReutilizaciones], "Reutilizaciones: ilimitadas");
  int visibles = 0;
  for (auto& c : m.Cartas) visibles += c->Visible;
  EXPECT_EQ(visibles, 2);
  const TCarta* tope = m.Mazo->TopeMazo;
  EXPECT_EQ(TextoCarta(*tope), "6b");
  EXPECT_EQ(tope->Left, m.Mazo->Left + 2);
  EXPECT_EQ(tope->Top, m.Mazo->Top + 2);
  const TCarta* fondo = tope;
  while (fondo->Debajo) fondo = fondo->Debajo;
  EXPECT_EQ(TextoCarta(*fondo), "5e");
  EXPECT_EQ(fondo->Left, m.Mazo->Left);
  EXPECT_GT(tope->Orden, fondo->Orden);

  m.CrearMazo(0, 0, false, 0);
  EXPECT_EQ(m.Paneles[PanelReutilizaciones], "Reutilizaciones: 0");
  EXPECT_FALSE(m.Mazo->Visible);
}

TEST(RepartirCartas, SaleDelTopeEnOrdenYSacarCartaBuscaEnElMazo) {
  TMesa m;
  m.IniciarJuego(1, "Prueba");
  m.CrearMazo(1025, 769, false, 0);
  TGrupo* g = m.CrearGrupo("Tab", 0, 15, 255, false, false, true, false);
  TPila* p = m.AgregarPila(g, m.CrearPila(g, 10, 10));
  m.RepartirCartas(p, 0, false);
  EXPECT_EQ(p->Cantidad, 0);
  m.RepartirCartas(p, 5, false);
  EXPECT_EQ(CartasDe(*p), "6B 3E 4E 7B 5O");
  EXPECT_EQ(m.Paneles[PanelMazo], "Mazo: 35");
  m.RepartirCartas(p, 1, true);
  EXPECT_EQ(CartasDe(*p), "6B 3E 4E 7B 5O 9e");

  m.SacarCarta(5, Espadas, p);  // the bottom card of the stock
  EXPECT_EQ(CartasDe(*p), "6B 3E 4E 7B 5O 9e 5E");
  EXPECT_EQ(m.Mazo->CartasMazo, 33);
  EXPECT_EQ(m.Paneles[PanelMazo], "Mazo: 34");  // SacarCarta leaves the text alone
  m.SacarCarta(5, Espadas, p);
  EXPECT_EQ(p->Cantidad, 7);
  ExpectInvariantes(m);
}
