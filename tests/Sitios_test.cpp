// Piles whose cards need more places than there are, on the rules of a game whose tableau
// builds down by the other suit pair, moves ordered runs and takes only a Rey on an empty
// pile. The cards not on the piles below are in the stock, at hand.
#include "solver/Sitios.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <vector>

#include "games/Juegos.h"
#include "tests/PosicionesAlAzar.h"

namespace {

std::uint8_t Id(std::uint8_t numero, std::uint8_t palo) {
  return static_cast<std::uint8_t>(palo * 10 + numero - 1);
}

struct TCaso {
  std::vector<std::vector<std::uint8_t>> Pilas;
  std::uint64_t EnCasa = 0;
  std::uint64_t TramoLibre = 0;

  void Casa(std::uint8_t palo, std::uint8_t hasta) {
    for (std::uint8_t n = 1; n <= hasta; ++n) EnCasa |= std::uint64_t{1} << Id(n, palo);
  }
  void Pila(std::initializer_list<std::uint8_t> cartas) { Pilas.emplace_back(cartas); }
  bool Faltan(const TBloqueos& b) const {
    std::vector<TMontonBloqueable> m;
    for (const auto& p : Pilas) m.push_back({p.data(), static_cast<std::uint8_t>(p.size()), 0});
    return FaltanSitios(b, m.data(), m.size(), EnCasa, TramoLibre);
  }
};

TBloqueos Reglas() {
  TMesa m;
  PrepararSolitarioDeLosSieteMontones(m, 1);
  return CalcularBloqueos(m, LeerReglas(m));
}

}  // namespace

// The Cuatro de Espadas over its Tres and the Tres de Bastos, the Cuatro de Bastos on it:
// with the Cinco de Oros home, the Cinco de Copas is the one card either could lie on, and
// neither can go home first. With both Cincos off the foundations there is room for both;
// with the Tres de Bastos elsewhere the Cuatro de Bastos may go home and needs no place.
TEST(Sitios, DosCartasParaUnSitio) {
  const TBloqueos b = Reglas();
  const auto pila = {Id(3, Espadas), Id(3, Bastos), Id(4, Espadas), Id(4, Bastos)};
  {
    TCaso c;
    c.Casa(Oros, 5);
    c.Pila(pila);
    EXPECT_TRUE(c.Faltan(b));
    c.Casa(Copas, 5);  // no place at all: stuck, and seen here too
    EXPECT_TRUE(c.Faltan(b));
  }
  {
    TCaso c;
    c.Casa(Oros, 4);
    c.Pila(pila);
    EXPECT_FALSE(c.Faltan(b));
  }
  {
    TCaso c;
    c.Casa(Oros, 5);
    c.Pila({Id(3, Espadas), Id(4, Espadas), Id(4, Bastos)});
    EXPECT_FALSE(c.Faltan(b));
  }
  {
    TCaso c;  // the Cinco de Copas under them: no place left
    c.Casa(Oros, 5);
    c.Pila({Id(5, Copas), Id(3, Espadas), Id(3, Bastos), Id(4, Espadas), Id(4, Bastos)});
    EXPECT_TRUE(c.Faltan(b));
  }
  {
    TCaso c;  // the Cinco de Copas above them, on a pile of its own: it is a place
    c.Casa(Oros, 5);
    c.Pila(pila);
    c.Pila({Id(5, Copas)});
    EXPECT_TRUE(c.Faltan(b));
    // Where the Cuatro de Bastos took it already, the Cuatro de Espadas alone counts here
    // the Cinco as a place: a card on another pile is not read as holding it.
    c.Pilas.back() = {Id(5, Copas), Id(4, Bastos)};
    c.Pilas.front() = {Id(3, Espadas), Id(3, Bastos), Id(4, Espadas)};
    EXPECT_FALSE(c.Faltan(b));
  }
}

// A card in order on the card under it is carried off with it, and what lies under that
// card comes free: the Tres de Oros on the Cuatro de Bastos, over the As de Bastos and the
// Dos de Oros, the Cinco de Copas and the Cuatro de Espadas home, has the Cuatro itself to
// lie on, and the Cuatro the Cinco de Oros. With the Cinco de Oros home too, the two have
// the Cuatro alone. The Tres de Bastos out of order on the Cuatro de Bastos, with the
// Cuatros de Oros and de Copas home, has nowhere to go; but where runs leave in any order
// the Cuatro carries it off.
TEST(Sitios, LaCartaQueVaEncimaDeLaSuya) {
  const TBloqueos b = Reglas();
  {
    TCaso c;
    c.Casa(Copas, 5);
    c.Casa(Espadas, 4);
    c.Pila({Id(2, Oros), Id(1, Bastos), Id(4, Bastos), Id(3, Oros)});
    EXPECT_FALSE(c.Faltan(b));
    c.Casa(Oros, 1);
    c.EnCasa |= std::uint64_t{1} << Id(5, Oros);
    EXPECT_TRUE(c.Faltan(b));
  }
  {
    TCaso c;
    c.Casa(Copas, 4);
    c.Casa(Oros, 4);
    c.Pila({Id(1, Bastos), Id(4, Bastos), Id(3, Bastos)});
    EXPECT_TRUE(c.Faltan(b));
    c.TramoLibre = 1;
    EXPECT_FALSE(c.Faltan(b));
  }
}

// A Rey may always leave for an empty pile, so it is not counted: the Rey de Bastos over
// its Nueve needs no place, and the Cuatro de Espadas under it over its Tres has the one
// Cinco it needs.
TEST(Sitios, LosReyesNoCuentan) {
  const TBloqueos b = Reglas();
  TCaso c;
  c.Casa(Oros, 5);
  c.Pila({Id(3, Espadas), Id(9, Bastos), Id(4, Espadas), Id(10, Bastos)});
  EXPECT_FALSE(c.Faltan(b));
  // A card that lies above the Rey and needs the Rey's pile's Tres counts again: the
  // Cuatro de Bastos over the Tres de Bastos.
  c.Pilas[0] = {Id(3, Espadas), Id(3, Bastos), Id(4, Espadas), Id(10, Bastos), Id(4, Bastos)};
  EXPECT_TRUE(c.Faltan(b));
}

namespace {

// The reading as its comment states it, read plainly: for each card X of each pile, the
// cards from X up (C) and under it (S) gathered afresh, and the cards of C that need a card
// of S or of themselves home first read from all of C.
bool SitiosPorDefinicion(const TBloqueos& b, const TPosicionAlAzar& p) {
  for (std::size_t i = 0; i < p.Montones.size(); ++i) {
    const TMontonBloqueable& m = p.Montones[i];
    const bool libre = p.TramoLibre >> i & 1;
    for (std::size_t j = 0; j < m.Cuenta; ++j) {
      const std::uint8_t x = m.Cartas[j] & 0x3F;
      std::uint64_t c = 0;
      std::uint64_t s = 0;
      for (std::size_t t = 0; t < m.Cuenta; ++t)
        (t < j ? s : c) |= std::uint64_t{1} << (m.Cartas[t] & 0x3F);
      if (!(b.Antes[x] & (s | c)) || b.Vacias >> x & 1) continue;
      if (j > 0 && j > m.Cubiertas && (libre || b.Sobre[x] >> (m.Cartas[j - 1] & 0x3F) & 1))
        continue;
      std::uint64_t r = c & ~b.Vacias;
      for (bool cambia = true; cambia;) {
        cambia = false;
        for (std::size_t y = 0; y < 40; ++y)
          if (r >> y & 1 && !(b.Antes[y] & (s | r))) {
            r &= ~(std::uint64_t{1} << y);
            cambia = true;
          }
      }
      if (!(r >> x & 1)) continue;
      std::uint64_t sitios = libre ? c : 0;
      for (std::size_t y = 0; y < 40; ++y)
        if (r >> y & 1) sitios |= b.Sobre[y];
      if (__builtin_popcountll(sitios & ~p.EnCasa & ~s) < __builtin_popcountll(r)) return true;
    }
  }
  return false;
}

}  // namespace

// The reading gives the plain one's answers on positions reached by random moves.
TEST(Sitios, ComoSuDefinicionEnPosicionesAlAzar) {
  const TBloqueos b = Reglas();
  std::array<std::size_t, 2> respuestas{};
  RecorrerAlAzar(56, 300, 60, [&](const TPosicionAlAzar& p) {
    const bool plana = SitiosPorDefinicion(b, p);
    ASSERT_EQ(FaltanSitios(b, p.Montones.data(), p.Montones.size(), p.EnCasa, p.TramoLibre),
              plana);
    ++respuestas[plana];
  });
  EXPECT_GT(respuestas[0], 2000u);
  EXPECT_GT(respuestas[1], 2000u);
}
