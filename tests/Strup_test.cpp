// Strup: the deal of game 1, the tableau by another suit, ordered runs, the Rey on an
// empty pile, cards back from the foundations, and the win at the fortieth card.
#include <gtest/gtest.h>

#include <sstream>

#include "games/Juegos.h"
#include "tests/Ayuda.h"

namespace {

TPila& Pila(TMesa& m, int n) { return *m.Pilas[static_cast<std::size_t>(n - 1)]; }

TCarta& CartaEn(TMesa& m, int pila, int posicion) {
  TCarta* c = Pila(m, pila).Tope;
  for (int i = Pila(m, pila).Cantidad - 1; i > posicion; --i) c = c->Debajo;
  return *c;
}

bool Acepta(TMesa& m, int hacia, TCarta& carta) {
  TPila& p = Pila(m, hacia);
  return p.Tope ? m.ArrastrarSobreCarta(*p.Tope, carta, 1, 1)
                : m.ArrastrarSobrePila(p, carta, 1, 1);
}

std::vector<TPaso> Pasos(const std::string& texto) {
  std::vector<TPaso> pasos;
  std::istringstream in(texto);
  for (std::string s; in >> s;) pasos.push_back(*LeerPaso(s));
  return pasos;
}

void Jugar(TMesa& m, const std::string& texto) {
  for (const TPaso& p : Pasos(texto)) ASSERT_TRUE(AplicarPaso(m, p)) << EscribirPaso(p);
}

// A won line of game 1, found offline by a best-first search; it takes a card back
// from a foundation on the way ("1.4>9").
const char* const kLineaGanadora =
    "10.4>4 10.3>4 8.4>10 8.3>7 8.2>2 11.4>8 12.4>11 12.3>2 7.5>2 10.2>6 10.0>12 7.4>6 "
    "12.2>7 12.1>1 8.1>12 8.0>5 7.3>8 9.4>5 9.3>4 6.4>9 6.3>2 11.3>8 7.2>11 11.2>7 7.0>11 "
    "8.1>6 11.1>8 11.0>1 5.6>1 5.5>4 8.5>4 9.6>1 5.4>1 9.5>2 8.4>2 5.3>12 9.4>8 9.3>2 "
    "8.3>9 12.3>8 12.2>2 9.2>12 9.1>3 12.4>8 12.1>9 6.3>12 9.1>6 6.2>7 6.1>3 6.0>9 7.2>9 "
    "8.2>7 8.1>2 9.1>8 7.1>9 7.0>2 1.4>9 5.2>9 5.1>3 5.0>4 9.6>3 9.5>1 12.5>3 9.4>3 "
    "9.3>4 12.4>1 8.3>1 8.2>4 12.3>3 9.2>3 8.1>3 12.2>1 9.1>1 8.0>1 12.1>4 9.0>4 12.0>3";

}  // namespace

TEST(Strup, ElJuegoUnoRepartePorElOrdenDeLasPilas) {
  TMesa m(1280, 1024);
  PrepararStrup(m, 1);
  EXPECT_EQ(m.VentanaPropia.Titulo, "ZARP - Strup");
  EXPECT_EQ(m.ContextoAyuda, 100);
  EXPECT_EQ(m.ProcPreparar, &PrepararStrup);

  struct TFila {
    const char* Grupo;
    int X, Y;
    const char* Cartas;
  };
  const TFila filas[] = {
      {"FundO", 128, 35, ""},
      {"FundC", 240, 35, ""},
      {"FundE", 352, 35, ""},
      {"FundB", 448, 35, ""},
      {"Tab1", 16, 146, "6B 3E 4E 7B 5O"},
      {"Tab1", 93, 146, "9E 2E 10C 4C 7C"},
      {"Tab1", 171, 146, "8E 7O 5B 10O 4O"},
      {"Tab1", 249, 146, "4B 9O 1C 3C 5C"},
      {"Tab1", 327, 146, "10B 1E 8B 3B 3O"},
      {"Tab1", 405, 146, "8O 7E 6E 2B 1B"},
      {"Tab1", 483, 146, "2O 9C 6C 6O 8C"},
      {"Tab1", 561, 146, "10E 1O 9B 2C 5E"},
  };
  ASSERT_EQ(m.Pilas.size(), std::size(filas));
  for (std::size_t i = 0; i < std::size(filas); ++i) {
    const TPila& p = *m.Pilas[i];
    EXPECT_EQ(p.Grupo->NombreGrupo, filas[i].Grupo) << "pila " << i + 1;
    EXPECT_EQ(p.Left, filas[i].X * 2) << "pila " << i + 1;
    EXPECT_EQ(p.Top, filas[i].Y * 2) << "pila " << i + 1;
    EXPECT_EQ(CartasDe(p), filas[i].Cartas) << "pila " << i + 1;
  }
  // No stock on the table: hidden beyond the screen's edges, and empty.
  EXPECT_FALSE(m.Mazo->Visible);
  EXPECT_EQ(m.Mazo->Left, 1281);
  EXPECT_EQ(m.Mazo->CartasMazo, 0);
  const TJugada* antes = m.Historial;
  m.ClickMazo();
  EXPECT_EQ(m.Historial, antes);
  EXPECT_EQ(m.Movimientos, 0);
  ExpectInvariantes(m);
}

TEST(Strup, ElTableroBajaEnOtroPaloYSoloLevantaTramosOrdenados) {
  TMesa m;
  PrepararStrup(m, 1);
  // Every top card against every other top: another suit, one rank lower.
  int aceptadas = 0;
  for (int hacia = 5; hacia <= 12; ++hacia) {
    const TCarta& tope = *Pila(m, hacia).Tope;
    for (int desde = 5; desde <= 12; ++desde) {
      if (desde == hacia) continue;
      TCarta& c = *Pila(m, desde).Tope;
      const bool esperado = c.Palo != tope.Palo && c.Numero + 1 == tope.Numero;
      EXPECT_EQ(Acepta(m, hacia, c), esperado) << TextoCarta(c) << " sobre " << TextoCarta(tope);
      aceptadas += esperado;
    }
  }
  EXPECT_EQ(aceptadas, 2);  // 4O on 5C and on 5E; not on 5O

  // 7B fits on 8C, but the 5O on it does not follow it.
  EXPECT_FALSE(Acepta(m, 11, CartaEn(m, 5, 3)));

  Jugar(m, "7.4>8 a10 a10 10.2>6");  // 4O on 5C, 1B and 2B up, 6E on 7C
  EXPECT_EQ(CartasDe(Pila(m, 4)), "1B 2B");
  EXPECT_EQ(CartasDe(Pila(m, 8)), "4B 9O 1C 3C 5C 4O");
  // The ordered run 5C 4O goes onto 6E as one piece.
  Jugar(m, "8.4>6");
  EXPECT_EQ(CartasDe(Pila(m, 6)), "9E 2E 10C 4C 7C 6E 5C 4O");
  EXPECT_EQ(CartasDe(Pila(m, 8)), "4B 9O 1C 3C");
  m.Deshacer();
  EXPECT_EQ(CartasDe(Pila(m, 8)), "4B 9O 1C 3C 5C 4O");
  ExpectInvariantes(m);
}

TEST(Strup, UnaFundacionDevuelveSuCartaAlTablero) {
  TMesa m;
  PrepararStrup(m, 1);
  Jugar(m, "a10 a10");
  EXPECT_EQ(CartasDe(Pila(m, 4)), "1B 2B");
  TCarta& dos = *Pila(m, 4).Tope;
  // Back onto 3O (another suit, one higher); not onto 8C.
  EXPECT_FALSE(Acepta(m, 11, dos));
  ASSERT_TRUE(Acepta(m, 9, dos));
  m.SoltarEnCarta(*Pila(m, 9).Tope, dos, 1, 1);
  EXPECT_EQ(CartasDe(Pila(m, 9)), "10B 1E 8B 3B 3O 2B");
  EXPECT_EQ(CartasDe(Pila(m, 4)), "1B");
  m.Deshacer();
  EXPECT_EQ(CartasDe(Pila(m, 4)), "1B 2B");
  EXPECT_EQ(CartasDe(Pila(m, 9)), "10B 1E 8B 3B 3O");
  ExpectInvariantes(m);
}

TEST(Strup, UnaPilaVaciaSoloTomaUnRey) {
  TMesa m;
  PrepararStrup(m, 1);
  Jugar(m,
        "10.4>4 10.3>4 8.4>10 8.3>7 8.2>2 11.4>8 12.4>11 12.3>2 7.5>2 10.2>6 10.0>12 7.4>6 "
        "12.2>7 12.1>1 8.1>12 8.0>5");
  ASSERT_EQ(Pila(m, 8).Cantidad, 0);
  ASSERT_EQ(CartasDe(Pila(m, 7)), "8E 7O 5B 10O 9B 8O 7E");
  // No top card but a Rey; a run that starts below a Rey does not go either.
  for (int desde : {5, 6, 7, 9, 11, 12})
    EXPECT_FALSE(Acepta(m, 8, *Pila(m, desde).Tope)) << TextoCarta(*Pila(m, desde).Tope);
  EXPECT_FALSE(Acepta(m, 8, CartaEn(m, 7, 4)));
  // The Rey goes with its ordered run.
  ASSERT_TRUE(Acepta(m, 8, CartaEn(m, 7, 3)));
  Jugar(m, "7.3>8");
  EXPECT_EQ(CartasDe(Pila(m, 8)), "10O 9B 8O 7E");
  ExpectInvariantes(m);
}

TEST(Strup, SeGanaAlPonerLaCartaCuarentaEnLasFundaciones) {
  TMesa m;
  PrepararStrup(m, 1);
  const auto pasos = Pasos(kLineaGanadora);
  for (std::size_t i = 0; i < pasos.size(); ++i) {
    ASSERT_FALSE(m.VentanaPropia.Ganado) << "ganado antes del paso " << i;
    ASSERT_TRUE(AplicarPaso(m, pasos[i])) << i << ": " << EscribirPaso(pasos[i]);
  }
  EXPECT_TRUE(m.VentanaPropia.Ganado);
  for (int n = 1; n <= 4; ++n) EXPECT_EQ(Pila(m, n).Cantidad, 10);
  ExpectInvariantes(m);
}
