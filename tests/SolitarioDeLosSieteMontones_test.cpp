// Solitario De Los Siete Montones: seven piles built down in the other suit pair, a stock
// turned one card at a time without limit.
#include <gtest/gtest.h>

#include "games/Juegos.h"
#include "tests/Busqueda.h"
#include "tests/Ayuda.h"

namespace {

using busqueda::Acepta;
using busqueda::Soltar;

TPila& Pila(TMesa& m, int n) { return *m.Pilas[static_cast<std::size_t>(n - 1)]; }

bool EsMonton(const TPila& p) { return p.Grupo->NombreGrupo == "Tab1"; }
bool Rojo(const TCarta& c) { return c.Palo == Oros || c.Palo == Copas; }

TCarta* CartaEn(TPila& p, int pos) {
  TCarta* c = p.Tope;
  for (int i = p.Cantidad - 1; c && i > pos; --i) c = c->Debajo;
  return c;
}

// Foundations first, then moves that uncover a card, the waste, the stock; moves between
// piles that uncover nothing are not tried.
int Prioridad(TMesa& m, const TPaso& paso) {
  if (paso.Tipo == TPaso::TTipo::Mazo) return 3;
  TPila& desde = Pila(m, paso.Pila);
  TPila& hacia = Pila(m, paso.Destino);
  if (hacia.Grupo->EsFundacion) return 0;
  if (!EsMonton(desde)) return 2;
  const TCarta& c = *CartaEn(desde, paso.Posicion);
  if (!c.Debajo) return hacia.Tope ? 1 : 100;
  return c.Debajo->BocaArriba ? 100 : 1;
}

}  // namespace

TEST(SolitarioDeLosSieteMontones, RepartoDelJuego1) {
  TMesa m;
  PrepararSolitarioDeLosSieteMontones(m, 1);
  ASSERT_EQ(m.Pilas.size(), 12u);
  for (int i = 1; i <= 5; ++i) EXPECT_EQ(Pila(m, i).Cantidad, 0);
  EXPECT_EQ(CartasDe(Pila(m, 6)), "6B");
  EXPECT_EQ(CartasDe(Pila(m, 7)), "3e 4E");
  EXPECT_EQ(CartasDe(Pila(m, 8)), "7b 5o 9E");
  EXPECT_EQ(CartasDe(Pila(m, 9)), "2e 10c 4c 7C");
  EXPECT_EQ(CartasDe(Pila(m, 10)), "8e 7o 5b 10o 4O");
  EXPECT_EQ(CartasDe(Pila(m, 11)), "4b 9o 1c 3c 5c 10B");
  EXPECT_EQ(CartasDe(Pila(m, 12)), "1e 8b 3b 3o 8o 7e 6E");
  EXPECT_EQ(m.Mazo->CartasMazo, 12);
  EXPECT_TRUE(m.Mazo->Visible);
  EXPECT_EQ(m.Mazo->Descarte, &Pila(m, 1));
  EXPECT_EQ(m.Paneles[PanelReutilizaciones], "Reutilizaciones: ilimitadas");
  EXPECT_EQ(m.VentanaPropia.Titulo, "ZARP - Solitario De Los Siete Montones");
  EXPECT_EQ(m.ContextoAyuda, 50);
  EXPECT_EQ(m.ProcPreparar, &PrepararSolitarioDeLosSieteMontones);
  ExpectInvariantes(m);
}

// One rank lower from the other suit pair, over the tops of many deals.
TEST(SolitarioDeLosSieteMontones, ApilarPorParDePalos) {
  bool visto = false;
  for (std::int32_t numero = 1; numero <= 30; ++numero) {
    TMesa m;
    PrepararSolitarioDeLosSieteMontones(m, numero);
    for (int i = 6; i <= 12; ++i)
      for (int j = 6; j <= 12; ++j) {
        if (i == j) continue;
        const TCarta& abajo = *Pila(m, i).Tope;
        TCarta& carta = *Pila(m, j).Tope;
        const bool legal = carta.Numero + 1 == abajo.Numero && Rojo(carta) != Rojo(abajo);
        EXPECT_EQ(Acepta(m, Pila(m, i), carta), legal)
            << TextoCarta(carta) << " sobre " << TextoCarta(abajo) << ", juego " << numero;
        visto |= legal;
      }
  }
  EXPECT_TRUE(visto);
}

// The stock turns one card face up onto the waste; empty, it always takes the waste back.
TEST(SolitarioDeLosSieteMontones, MazoSinLimite) {
  TMesa m;
  PrepararSolitarioDeLosSieteMontones(m, 1);
  TPila& descarte = Pila(m, 1);
  m.ClickMazo();
  EXPECT_EQ(CartasDe(descarte), "2B");
  EXPECT_EQ(m.Paneles[PanelDescarte], "Descarte: 1");
  for (int vuelta = 0; vuelta < 3; ++vuelta) {
    while (m.Mazo->CartasMazo > 0) m.ClickMazo();
    EXPECT_EQ(descarte.Cantidad, 12);
    m.ClickMazo();
    EXPECT_EQ(m.Mazo->CartasMazo, 12);
    EXPECT_EQ(descarte.Cantidad, 0);
    EXPECT_EQ(m.Paneles[PanelReutilizaciones], "Reutilizaciones: ilimitadas");
  }
  // Nothing is dropped on the waste.
  m.ClickMazo();
  for (int i = 6; i <= 12; ++i) EXPECT_FALSE(Acepta(m, descarte, *Pila(m, i).Tope));
  ExpectInvariantes(m);
}

// An empty pile takes a Rey with its run, nothing else; runs move as one; uncovered cards
// turn face up; foundation cards stay put.
TEST(SolitarioDeLosSieteMontones, PilaVaciaTramosYFundaciones) {
  auto reyConTramo = [](TMesa& t, TPila*& vacia, TCarta*& rey) {
    vacia = nullptr;
    rey = nullptr;
    for (int i = 6; i <= 12; ++i)
      if (!Pila(t, i).Tope) vacia = &Pila(t, i);
    for (int i = 6; i <= 12; ++i)
      for (TCarta* c = Pila(t, i).Tope; c && c->BocaArriba; c = c->Debajo)
        if (c->Numero == 10 && c->Encima && c->Debajo) rey = c;
    return vacia && rey;
  };
  for (std::int32_t numero = 1; numero <= 20; ++numero) {
    TMesa m;
    PrepararSolitarioDeLosSieteMontones(m, numero);
    TPila* vacia = nullptr;
    TCarta* rey = nullptr;
    if (!busqueda::Alcanzar(m, [&](TMesa& t) { return reyConTramo(t, vacia, rey); }, false,
                            Prioridad, 200))
      continue;
    for (int i = 1; i <= 12; ++i)
      for (TCarta* c = Pila(m, i).Tope; c && c->BocaArriba; c = c->Debajo)
        if (c->Numero != 10 && EsMonton(Pila(m, i))) {
          EXPECT_FALSE(Acepta(m, *vacia, *c)) << TextoCarta(*c);
        }
    TPila& desde = *rey->Pila;
    const int largo = LargoTramo(*rey);
    TCarta* debajo = rey->Debajo;
    Soltar(m, *vacia, *rey);
    EXPECT_EQ(vacia->Cantidad, largo);
    EXPECT_EQ(desde.Tope, debajo);
    EXPECT_TRUE(debajo->BocaArriba);
    for (int f = 2; f <= 5; ++f) {
      TCarta* tope = Pila(m, f).Tope;
      if (!tope) continue;
      for (int i = 6; i <= 12; ++i) EXPECT_FALSE(Acepta(m, Pila(m, i), *tope));
    }
    ExpectInvariantes(m);
    return;
  }
  FAIL() << "ningún reparto llegó a un Rey con su tramo y una pila vacía";
}

TEST(SolitarioDeLosSieteMontones, GanaConLaCartaCuarenta) {
  for (std::int32_t numero = 1; numero <= 20; ++numero) {
    const auto camino =
        busqueda::LineaGanadora(PrepararSolitarioDeLosSieteMontones, numero, 30000, false,
                                Prioridad);
    if (camino.empty()) continue;
    TMesa m;
    PrepararSolitarioDeLosSieteMontones(m, numero);
    busqueda::ExpectGanaAlUltimoPaso(m, camino);
    return;
  }
  FAIL() << "ningún reparto de prueba se resolvió";
}
