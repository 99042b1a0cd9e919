// Yukon Español: the base rank from the deck's top card, free runs, the wrap of the
// tableau and the foundations, the empty pile by the base rank, and the win.
#include <gtest/gtest.h>

#include "games/Juegos.h"
#include "tests/Ayuda.h"
#include "tests/Busqueda.h"

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

void Jugar(TMesa& m, const char* paso) { ASSERT_TRUE(AplicarPaso(m, *LeerPaso(paso))) << paso; }

}  // namespace

TEST(YukonEspannol, ElJuegoUnoTomaLaBaseDeLaPrimeraCarta) {
  TMesa m(1280, 1024);
  PrepararYukonEspannol(m, 1);
  EXPECT_EQ(m.VentanaPropia.Titulo, "ZARP - Yukon Español");
  EXPECT_EQ(m.ContextoAyuda, 60);
  EXPECT_EQ(m.ProcPreparar, &PrepararYukonEspannol);

  struct TFila {
    const char* Grupo;
    int X, Y;
    const char* Cartas;
  };
  // The top card, 6B, sets the base 6 and lies on its foundation.
  const TFila filas[] = {
      {"FundO", 128, 35, ""},
      {"FundC", 240, 35, ""},
      {"FundE", 352, 35, ""},
      {"FundB", 448, 35, "6B"},
      {"Tab1", 41, 152, "3E 4E 7B 5O"},
      {"Tab1", 140, 152, "9e 2E 10C 4C 7C"},
      {"Tab1", 239, 152, "8e 7o 5B 10O 4O 4B"},
      {"Tab1", 338, 152, "9o 1c 3c 5C 10B 1E 8B"},
      {"Tab1", 437, 152, "3b 3o 8o 7e 6E 2B 1B 2O"},
      {"Tab1", 537, 152, "9c 6c 6o 8c 10e 1O 9B 2C 5E"},
  };
  ASSERT_EQ(m.Pilas.size(), std::size(filas));
  for (std::size_t i = 0; i < std::size(filas); ++i) {
    const TPila& p = *m.Pilas[i];
    EXPECT_EQ(p.Grupo->NombreGrupo, filas[i].Grupo) << "pila " << i + 1;
    EXPECT_EQ(p.Left, filas[i].X * 2) << "pila " << i + 1;
    EXPECT_EQ(p.Top, filas[i].Y * 2) << "pila " << i + 1;
    EXPECT_EQ(CartasDe(p), filas[i].Cartas) << "pila " << i + 1;
  }
  for (int n = 1; n <= 4; ++n) EXPECT_EQ(Pila(m, n).Grupo->NumeroFundacion, 6);
  EXPECT_FALSE(m.Mazo->Visible);
  EXPECT_EQ(m.Mazo->CartasMazo, 0);
  EXPECT_EQ(m.Movimientos, 0);
  ExpectInvariantes(m);
}

TEST(YukonEspannol, CualquierCartaLlevaSuTramoYLaPilaVaciaTomaLaBaseMenosUno) {
  TMesa m;
  PrepararYukonEspannol(m, 1);
  // 3E fits on 4B; the unordered 4E 7B 5O on it go along.
  Jugar(m, "5.0>7");
  EXPECT_EQ(CartasDe(Pila(m, 7)), "8e 7o 5B 10O 4O 4B 3E 4E 7B 5O");
  ASSERT_EQ(Pila(m, 5).Cantidad, 0);

  // Base 6: an empty pile takes a 5 and nothing else.
  EXPECT_TRUE(Acepta(m, 5, *Pila(m, 7).Tope));   // 5O
  EXPECT_TRUE(Acepta(m, 5, *Pila(m, 10).Tope));  // 5E
  for (int desde : {6, 8, 9}) EXPECT_FALSE(Acepta(m, 5, *Pila(m, desde).Tope));
  EXPECT_FALSE(Acepta(m, 5, CartaEn(m, 7, 5)));  // 10O

  // A foundation takes single cards only.
  TCarta& siete = CartaEn(m, 7, 8);
  ASSERT_EQ(TextoCarta(siete), "7B");
  EXPECT_FALSE(Acepta(m, 4, siete));
  Jugar(m, "7.9>5");
  ASSERT_TRUE(Acepta(m, 4, siete));
  Jugar(m, "7>4");
  EXPECT_EQ(CartasDe(Pila(m, 4)), "6B 7B");

  // Nothing comes back from a foundation, not even the 6B onto the 7C.
  for (int hacia = 5; hacia <= 10; ++hacia) EXPECT_FALSE(Acepta(m, hacia, siete));
  m.Deshacer();
  EXPECT_EQ(CartasDe(Pila(m, 4)), "6B");
  EXPECT_EQ(TextoCarta(*Pila(m, 6).Tope), "7C");
  EXPECT_FALSE(Acepta(m, 6, *Pila(m, 4).Tope));
  ExpectInvariantes(m);
}

TEST(YukonEspannol, UnReyDeOtroPaloVaSobreUnAs) {
  TMesa m;
  PrepararYukonEspannol(m, 33);
  ASSERT_EQ(TextoCarta(*Pila(m, 10).Tope), "1O");
  EXPECT_TRUE(Acepta(m, 10, CartaEn(m, 5, 2)));   // 10C with 6E
  EXPECT_TRUE(Acepta(m, 10, CartaEn(m, 6, 2)));   // 10E with 8E 1B
  EXPECT_FALSE(Acepta(m, 10, CartaEn(m, 7, 3)));  // 10O, the As's own suit
  ASSERT_TRUE(Acepta(m, 10, CartaEn(m, 7, 2)));   // 10B with 10O 5C 2B
  Jugar(m, "7.2>10");
  EXPECT_EQ(CartasDe(Pila(m, 10)), "2e 4e 9e 4o 7b 9C 5O 3O 1O 10B 10O 5C 2B");
  // The uncovered card turns face up, and back down with the undo.
  EXPECT_EQ(CartasDe(Pila(m, 7)), "4b 5E");
  m.Deshacer();
  EXPECT_EQ(CartasDe(Pila(m, 7)), "4b 5e 10B 10O 5C 2B");
  ExpectInvariantes(m);
}

TEST(YukonEspannol, ConUnAsArribaLasFundacionesEmpiezanEnAsYLaPilaVaciaTomaUnRey) {
  TMesa m;
  PrepararYukonEspannol(m, 26);
  EXPECT_EQ(CartasDe(Pila(m, 2)), "1C");
  for (int n = 1; n <= 4; ++n) EXPECT_EQ(Pila(m, n).Grupo->NumeroFundacion, 1);
  TCarta& as = *Pila(m, 8).Tope;
  ASSERT_EQ(TextoCarta(as), "1E");
  EXPECT_TRUE(Acepta(m, 3, as));
  EXPECT_FALSE(Acepta(m, 1, as));

  Jugar(m, "5.0>10");  // 3C and all on it onto 4B
  ASSERT_EQ(Pila(m, 5).Cantidad, 0);
  for (int desde : {6, 7, 8, 10}) EXPECT_FALSE(Acepta(m, 5, *Pila(m, desde).Tope));
  EXPECT_TRUE(Acepta(m, 5, *Pila(m, 9).Tope));  // 10C
  EXPECT_TRUE(Acepta(m, 5, CartaEn(m, 7, 4)));  // 10O with 6B
  EXPECT_TRUE(Acepta(m, 5, CartaEn(m, 8, 4)));  // 10B with 8B 1E
  ExpectInvariantes(m);
}

TEST(YukonEspannol, SeGanaAlPonerLaCartaCuarentaEnLasFundaciones) {
  // Base Rey: every foundation wraps from Rey to As on the way.
  TMesa m;
  PrepararYukonEspannol(m, 71);
  ASSERT_EQ(Pila(m, 1).Grupo->NumeroFundacion, 10);
  const auto camino = busqueda::BuscarVictoria(m, 100000);
  ASSERT_FALSE(camino.empty());
  TMesa r;
  PrepararYukonEspannol(r, 71);
  for (std::size_t i = 0; i < camino.size(); ++i) {
    ASSERT_FALSE(r.VentanaPropia.Ganado) << "ganado antes del paso " << i;
    ASSERT_TRUE(AplicarPaso(r, camino[i])) << busqueda::TextoPasos(camino);
  }
  EXPECT_TRUE(r.VentanaPropia.Ganado);
  for (int n = 1; n <= 4; ++n) {
    EXPECT_EQ(Pila(r, n).Cantidad, 10);
    EXPECT_EQ(Pila(r, n).Tope->Numero, 9);
  }
  ExpectInvariantes(r);
}
