// Solitario De Los Casi 14 Montones: piles of at most three, a lone Rey on a lone Rey.
#include <gtest/gtest.h>

#include "games/Juegos.h"
#include "tests/Busqueda.h"
#include "tests/Ayuda.h"

namespace {

using busqueda::Acepta;
using busqueda::Soltar;

TPila& Pila(TMesa& m, int n) { return *m.Pilas[static_cast<std::size_t>(n - 1)]; }

int Reyes(const TPila& p) {
  int n = 0;
  for (const TCarta* c = p.Tope; c; c = c->Debajo) n += c->Numero == 10;
  return n;
}

bool EsMonton(const TPila& p) { return p.Grupo->NombreGrupo == "Tab"; }

}  // namespace

TEST(SolitarioDeLosCasi14Montones, RepartoDelJuego1) {
  TMesa m;
  PrepararSolitarioDeLosCasi14Montones(m, 1);
  const char* esperado[] = {"6B 3E 4E", "7B 5O 9E",  "2E 10C 4C", "7C 8E 7O", "5B 10O 4O",
                            "4B 9O 1C", "3C 5C 10B", "1E 8B 3B",  "3O 8O 7E", "6E 2B 1B",
                            "2O 9C 6C", "6O 8C 10E", "1O 9B 2C",  "5E"};
  ASSERT_EQ(m.Pilas.size(), 18u);
  for (int i = 1; i <= 4; ++i) EXPECT_EQ(Pila(m, i).Cantidad, 0);
  for (int i = 0; i < 14; ++i) EXPECT_EQ(CartasDe(Pila(m, i + 5)), esperado[i]) << i + 5;
  EXPECT_EQ(Pila(m, 12).YDiseno, 282);
  EXPECT_EQ(m.Mazo->CartasMazo, 0);
  EXPECT_EQ(m.VentanaPropia.Titulo, "ZARP - Solitario De Los Casi 14 Montones");
  EXPECT_EQ(m.ContextoAyuda, 40);
  EXPECT_EQ(m.ProcPreparar, &PrepararSolitarioDeLosCasi14Montones);
  ExpectInvariantes(m);
}

TEST(SolitarioDeLosCasi14Montones, ApilarYFundar) {
  TMesa m;
  PrepararSolitarioDeLosCasi14Montones(m, 1);
  // Full piles refuse everything, also a Rey on their Rey.
  EXPECT_FALSE(Acepta(m, Pila(m, 7), *Pila(m, 12).Tope));   // 3B on 4C
  EXPECT_FALSE(Acepta(m, Pila(m, 11), *Pila(m, 16).Tope));  // 10E on 10B
  // Down by one in any suit on a shorter pile; never up.
  EXPECT_TRUE(Acepta(m, Pila(m, 18), *Pila(m, 5).Tope));    // 4E on 5E
  EXPECT_TRUE(Acepta(m, Pila(m, 18), *Pila(m, 7).Tope));    // 4C on 5E
  EXPECT_FALSE(Acepta(m, Pila(m, 18), *Pila(m, 15).Tope));  // 6C on 5E
  // A card with cards on it moves nowhere.
  for (auto& p : m.Pilas) EXPECT_FALSE(Acepta(m, *p, *Pila(m, 13).Tope->Debajo));
  // Each foundation takes the As of its suit only, then builds up in it.
  EXPECT_FALSE(Acepta(m, Pila(m, 1), *Pila(m, 10).Tope));  // 1C on Oros
  EXPECT_FALSE(Acepta(m, Pila(m, 2), *Pila(m, 14).Tope));  // 1B on Copas
  Soltar(m, Pila(m, 2), *Pila(m, 10).Tope);                // 1C
  EXPECT_FALSE(Acepta(m, Pila(m, 2), *Pila(m, 9).Tope));   // 4O
  Soltar(m, Pila(m, 2), *Pila(m, 17).Tope);                // 2C
  EXPECT_EQ(CartasDe(Pila(m, 2)), "1C 2C");
  // Nothing comes back from a foundation.
  for (int i = 5; i <= 18; ++i) EXPECT_FALSE(Acepta(m, Pila(m, i), *Pila(m, 2).Tope));
  ExpectInvariantes(m);
}

// A lone Rey joins a pile topped by its only Rey while it holds fewer than three cards;
// a second Rey beneath closes it. Empty piles stay empty.
TEST(SolitarioDeLosCasi14Montones, ReySobreReyYPilaVacia) {
  TMesa m;
  PrepararSolitarioDeLosCasi14Montones(m, 1);
  auto reySobreRey = [](TMesa& t, TPila*& hacia, TCarta*& rey) {
    for (auto& p : t.Pilas)
      for (auto& q : t.Pilas)
        if (p != q && EsMonton(*p) && EsMonton(*q) && p->Tope && q->Tope &&
            p->Tope->Numero == 10 && q->Tope->Numero == 10 && p->Cantidad < 3 &&
            Reyes(*p) == 1) {
          hacia = p.get();
          rey = q->Tope;
          return true;
        }
    return false;
  };
  TPila* hacia = nullptr;
  TCarta* rey = nullptr;
  ASSERT_TRUE(busqueda::Alcanzar(m, [&](TMesa& t) { return reySobreRey(t, hacia, rey); }));
  Soltar(m, *hacia, *rey);
  EXPECT_EQ(Reyes(*hacia), 2);
  for (auto& p : m.Pilas) {
    if (p.get() != hacia && p->Tope && p->Tope->Numero == 10) {
      EXPECT_FALSE(Acepta(m, *hacia, *p->Tope));
    }
  }

  ASSERT_TRUE(busqueda::Alcanzar(m, [](TMesa& t) {
    for (int i = 5; i <= 18; ++i)
      if (!Pila(t, i).Tope) return true;
    return false;
  }));
  for (int i = 5; i <= 18; ++i) {
    TPila& vacia = Pila(m, i);
    if (vacia.Tope) continue;
    for (auto& p : m.Pilas) {
      if (p->Tope && EsMonton(*p)) {
        EXPECT_FALSE(Acepta(m, vacia, *p->Tope));
      }
    }
  }
  ExpectInvariantes(m);
}

TEST(SolitarioDeLosCasi14Montones, GanaConLaCartaCuarenta) {
  for (std::int32_t numero = 1; numero <= 20; ++numero) {
    const auto camino =
        busqueda::LineaGanadora(PrepararSolitarioDeLosCasi14Montones, numero, 30000);
    if (camino.empty()) continue;
    TMesa m;
    PrepararSolitarioDeLosCasi14Montones(m, numero);
    busqueda::ExpectGanaAlUltimoPaso(m, camino);
    return;
  }
  FAIL() << "ningún reparto de prueba se resolvió";
}
