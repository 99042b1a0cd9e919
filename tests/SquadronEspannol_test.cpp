// Squadron Español: the deal of game 1, the cells, the tableau by suit, the stock that
// turns two cards once, and the win at the fortieth foundation card.
#include <gtest/gtest.h>

#include "games/Juegos.h"
#include "tests/Ayuda.h"
#include "tests/Busqueda.h"

namespace {

TPila& Pila(TMesa& m, int n) { return *m.Pilas[static_cast<std::size_t>(n - 1)]; }

// Drag the top card of pile `desde` onto pile `hacia` as the window would: the drop
// happens only when the drag-over accepted. Returns the decision.
bool Arrastrar(TMesa& m, int desde, int hacia) {
  TCarta& c = *Pila(m, desde).Tope;
  TPila& destino = Pila(m, hacia);
  if (destino.Tope) {
    TCarta& sobre = *destino.Tope;
    if (!m.ArrastrarSobreCarta(sobre, c, 1, 1)) return false;
    m.SoltarEnCarta(sobre, c, 1, 1);
  } else {
    if (!m.ArrastrarSobrePila(destino, c, 1, 1)) return false;
    m.SoltarEnPila(destino, c, 1, 1);
  }
  return true;
}

}  // namespace

TEST(SquadronEspannol, ElJuegoUnoRepartePorElOrdenDeLasPilas) {
  TMesa m(1280, 1024);
  PrepararSquadronEspannol(m, 1);
  EXPECT_EQ(m.VentanaPropia.Titulo, "ZARP - Squadron Español");
  EXPECT_EQ(m.NombreJuego, "Squadron Español");
  EXPECT_EQ(m.ContextoAyuda, 70);
  EXPECT_EQ(m.ProcPreparar, &PrepararSquadronEspannol);

  struct TFila {
    const char* Grupo;
    int X, Y;
    const char* Cartas;
  };
  const TFila filas[] = {
      {"FundO", 464, 104, ""},        {"FundC", 464, 232, ""},
      {"FundE", 544, 104, ""},        {"FundB", 544, 232, ""},
      {"PosRM", 16, 216, ""},         {"Tab", 200, 72, "6B 3E 4E"},
      {"Tab", 280, 72, "7B 5O 9E"},   {"Tab", 360, 72, "2E 10C 4C"},
      {"Tab", 200, 264, "7C 8E 7O"},  {"Tab", 280, 264, "5B 10O 4O"},
      {"Tab", 360, 264, "4B 9O 1C"},  {"Libre", 120, 112, "3C"},
      {"Libre", 120, 216, "5C"},
  };
  ASSERT_EQ(m.Pilas.size(), std::size(filas));
  for (std::size_t i = 0; i < std::size(filas); ++i) {
    const TPila& p = *m.Pilas[i];
    EXPECT_EQ(p.Grupo->NombreGrupo, filas[i].Grupo) << "pila " << i + 1;
    EXPECT_EQ(p.Left, filas[i].X * 2) << "pila " << i + 1;
    EXPECT_EQ(p.Top, filas[i].Y * 2) << "pila " << i + 1;
    EXPECT_EQ(CartasDe(p), filas[i].Cartas) << "pila " << i + 1;
  }
  // The stock is on the table with the other twenty cards and no redeal.
  ASSERT_TRUE(m.Mazo->Visible);
  EXPECT_EQ(m.Mazo->Left, 32);
  EXPECT_EQ(m.Mazo->Top, 224);
  EXPECT_EQ(m.Mazo->CartasMazo, 20);
  EXPECT_EQ(TextoCarta(*m.Mazo->TopeMazo), "10b");
  EXPECT_EQ(m.Mazo->Descarte, nullptr);
  EXPECT_EQ(m.Paneles[PanelMazo], "Mazo: 20");
  EXPECT_EQ(m.Paneles[PanelReutilizaciones], "Reutilizaciones: 0");
  EXPECT_EQ(m.Movimientos, 0);
  ExpectInvariantes(m);
}

TEST(SquadronEspannol, ElMazoDaDosCartasAlDescarteYNoSeReutiliza) {
  TMesa m;
  PrepararSquadronEspannol(m, 1);
  TPila& descarte = Pila(m, 5);
  m.ClickMazo();
  EXPECT_EQ(CartasDe(descarte), "10B 1E");
  EXPECT_EQ(m.Paneles[PanelDescarte], "Descarte: 2");
  EXPECT_EQ(m.Paneles[PanelMazo], "Mazo: 18");
  EXPECT_EQ(m.Movimientos, 2);

  // Both cards of one click are one action.
  m.Deshacer();
  EXPECT_EQ(CartasDe(descarte), "");
  EXPECT_EQ(m.Mazo->CartasMazo, 20);
  EXPECT_EQ(TextoCarta(*m.Mazo->TopeMazo), "10b");
  EXPECT_EQ(m.Historial, nullptr);

  for (int i = 0; i < 10; ++i) m.ClickMazo();
  EXPECT_EQ(m.Mazo->CartasMazo, 0);
  EXPECT_EQ(descarte.Cantidad, 20);
  EXPECT_EQ(m.Mazo->Imagen, (TImagen{TTipoImagen::Otros, ImgMazoAgotado}));
  // The stock is gone through once: a click on it empty changes nothing.
  const TJugada* antes = m.Historial;
  m.ClickMazo();
  EXPECT_EQ(descarte.Cantidad, 20);
  EXPECT_EQ(m.Historial, antes);
  ExpectInvariantes(m);
}

TEST(SquadronEspannol, LasCasillasTomanUnaSolaCartaDelTableroYDelDescarte) {
  TMesa m;
  PrepararSquadronEspannol(m, 1);
  // A cell holding a card refuses everything, even a card that fits nowhere else.
  for (int desde : {6, 7, 8, 9, 10, 11, 13})
    EXPECT_FALSE(m.ArrastrarSobreCarta(*Pila(m, 12).Tope, *Pila(m, desde).Tope, 1, 1));

  ASSERT_TRUE(Arrastrar(m, 12, 8));  // 3C onto 4C frees the cell
  EXPECT_EQ(CartasDe(Pila(m, 8)), "2E 10C 4C 3C");
  TPila& celda = Pila(m, 12);
  EXPECT_FALSE(m.ArrastrarSobrePila(celda, *Pila(m, 13).Tope, 1, 1));  // not from a cell
  // A card with cards on it does not move, though the empty cell takes any card.
  EXPECT_FALSE(m.ArrastrarSobrePila(celda, *Pila(m, 10).Tope->Debajo, 1, 1));
  EXPECT_TRUE(m.ArrastrarSobrePila(celda, *Pila(m, 10).Tope, 1, 1));
  m.ClickMazo();
  ASSERT_TRUE(Arrastrar(m, 5, 12));  // the waste's top card, 1E
  EXPECT_EQ(CartasDe(celda), "1E");
  EXPECT_EQ(CartasDe(Pila(m, 5)), "10B");
  EXPECT_EQ(m.Paneles[PanelDescarte], "Descarte: 1");
  m.Deshacer();
  EXPECT_EQ(CartasDe(celda), "");
  EXPECT_EQ(CartasDe(Pila(m, 5)), "10B 1E");
  ExpectInvariantes(m);
}

TEST(SquadronEspannol, ElTableroBajaPorPaloYNadaVuelveNiSePoneEnElDescarte) {
  TMesa m;
  PrepararSquadronEspannol(m, 1);
  // Every top card against every tableau top: only the same suit one rank lower.
  int aceptadas = 0;
  for (int hacia = 6; hacia <= 11; ++hacia) {
    const TCarta& tope = *Pila(m, hacia).Tope;
    for (int desde = 6; desde <= 13; ++desde) {
      if (desde == hacia) continue;
      TCarta& c = *Pila(m, desde).Tope;
      const bool esperado = c.Palo == tope.Palo && c.Numero + 1 == tope.Numero;
      EXPECT_EQ(m.ArrastrarSobreCarta(*Pila(m, hacia).Tope, c, 1, 1), esperado)
          << TextoCarta(c) << " sobre " << TextoCarta(tope);
      aceptadas += esperado;
    }
  }
  EXPECT_EQ(aceptadas, 1);  // 3C on 4C

  // The automatic move puts the As on its foundation; from there it never comes back.
  TCarta& as = *Pila(m, 11).Tope;
  ASSERT_TRUE(m.MoverAutomatico(as));
  EXPECT_EQ(CartasDe(Pila(m, 2)), "1C");
  ASSERT_TRUE(Arrastrar(m, 12, 8));
  EXPECT_FALSE(m.ArrastrarSobrePila(Pila(m, 12), as, 1, 1));
  EXPECT_FALSE(m.MoverAutomatico(as));

  m.ClickMazo();
  for (int desde : {6, 7, 8, 9, 10, 11, 13})
    EXPECT_FALSE(m.ArrastrarSobreCarta(*Pila(m, 5).Tope, *Pila(m, desde).Tope, 1, 1));
  ExpectInvariantes(m);
}

TEST(SquadronEspannol, SeGanaAlPonerLaCartaCuarentaEnLasFundaciones) {
  TMesa m;
  PrepararSquadronEspannol(m, 1);
  const auto camino = busqueda::BuscarVictoria(m, 100000);
  ASSERT_FALSE(camino.empty());
  TMesa r;
  PrepararSquadronEspannol(r, 1);
  for (std::size_t i = 0; i < camino.size(); ++i) {
    ASSERT_FALSE(r.VentanaPropia.Ganado) << "ganado antes del paso " << i;
    ASSERT_TRUE(AplicarPaso(r, camino[i])) << busqueda::TextoPasos(camino);
  }
  EXPECT_TRUE(r.VentanaPropia.Ganado);
  for (int n = 1; n <= 4; ++n) EXPECT_EQ(Pila(r, n).Cantidad, 10);
  ExpectInvariantes(r);
}
