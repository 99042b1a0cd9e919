// Piles whose cards need more places than there are, on the rules of a game whose tableau
// builds down by the other suit pair, moves ordered runs and takes only a Rey on an empty
// pile. The cards not on the piles below are in the stock, at hand.
#include "solver/Sitios.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
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

// Where a position reads no pile short, after one move every pile the new readings leave
// out reads none short either: every run of every pile laid on every other pile and on an
// empty one, every stock card laid on every pile, every pile's top card and every stock
// card sent home, without asking the rules (the proofs do not use them).
TEST(Sitios, SoloLeenOtraCosaLasPilasQueTocaLaJugada) {
  const TBloqueos b = Reglas();
  // Piles let off; read and none short; read and short. Children sending a card home apart.
  std::array<std::size_t, 3> cuenta{};
  std::array<std::size_t, 3> cuentaCasa{};
  RecorrerAlAzar(57, 200, 60, [&](const TPosicionAlAzar& p) {
    if (FaltanSitios(b, p.Montones.data(), p.Montones.size(), p.EnCasa, p.TramoLibre)) return;
    std::vector<std::vector<std::uint8_t>> pilas;
    std::vector<std::uint8_t> cubiertas;
    for (const TMontonBloqueable& m : p.Montones) {
      pilas.emplace_back(m.Cartas, m.Cartas + m.Cuenta);
      cubiertas.push_back(m.Cubiertas);
    }
    // An empty pile to lay runs on, its runs leaving one way or the other.
    const std::size_t vacia = pilas.size();
    pilas.emplace_back();
    cubiertas.push_back(0);
    const std::uint64_t tramoLibre =
        p.TramoLibre | static_cast<std::uint64_t>(__builtin_popcountll(p.EnCasa) & 1) << vacia;
    // The child: `casa` the card sent home, or 64 where the cards of pile `llegada` from
    // `desde` up were laid; `salida` the pile they left (SIZE_MAX: the stock).
    const auto hija = [&](std::vector<std::vector<std::uint8_t>> h, std::vector<std::uint8_t> cub,
                          std::size_t casa, std::size_t llegada, std::size_t desde,
                          std::size_t salida) {
      std::vector<TMontonBloqueable> m;
      std::uint64_t libres = 0;
      std::size_t llegadaM = SIZE_MAX;
      std::size_t salidaM = SIZE_MAX;
      for (std::size_t i = 0; i < h.size(); ++i) {
        if (h[i].empty()) continue;
        if (cub[i] == h[i].size()) {
          --cub[i];
          h[i].back() |= 0x40;
        }
        if (i == llegada) llegadaM = m.size();
        if (i == salida) salidaM = m.size();
        libres |= (tramoLibre >> i & 1) << m.size();
        m.push_back({h[i].data(), static_cast<std::uint8_t>(h[i].size()), cub[i]});
      }
      const std::uint64_t enCasa = casa < 64 ? p.EnCasa | std::uint64_t{1} << casa : p.EnCasa;
      std::vector<std::uint64_t> cartasDe;
      for (const TMontonBloqueable& x : m) {
        std::uint64_t pila = 0;
        for (std::size_t j = 0; j < x.Cuenta; ++j) pila |= std::uint64_t{1} << (x.Cartas[j] & 0x3F);
        cartasDe.push_back(pila);
      }
      const std::uint64_t leer =
          casa < 64 ? SitiosPorLeerTrasSubir(b, cartasDe.data(), m.size(), casa, salidaM)
                    : SitiosPorLeerTrasLlegar(b, m.data(), cartasDe.data(), llegadaM, desde, salidaM);
      auto& c = casa < 64 ? cuentaCasa : cuenta;
      for (std::size_t i = 0; i < m.size(); ++i) {
        const bool faltan = FaltanSitios(b, &m[i], 1, enCasa, libres >> i & 1);
        if (leer >> i & 1) {
          ++c[1 + faltan];
        } else {
          ASSERT_FALSE(faltan) << "pile " << i << (casa < 64 ? " after a card home" : " laid on");
          ++c[0];
        }
      }
    };
    for (std::size_t a = 0; a < vacia; ++a) {
      auto h = pilas;
      const std::size_t casa = h[a].back() & 0x3F;
      h[a].pop_back();
      hija(h, cubiertas, casa, SIZE_MAX, 0, a);
    }
    for (std::uint64_t s = p.EnMazo; s; s &= s - 1)
      hija(pilas, cubiertas, static_cast<std::size_t>(__builtin_ctzll(s)), SIZE_MAX, 0, SIZE_MAX);
    for (std::size_t d = 0; d < pilas.size(); ++d) {
      const std::size_t desde = pilas[d].size();
      for (std::size_t a = 0; a < vacia; ++a) {
        if (a == d) continue;
        for (std::size_t j = cubiertas[a]; j < pilas[a].size(); ++j) {
          auto h = pilas;
          h[d].insert(h[d].end(), h[a].begin() + static_cast<std::ptrdiff_t>(j), h[a].end());
          h[a].resize(j);
          hija(h, cubiertas, 64, d, desde, a);
        }
      }
      for (std::uint64_t s = p.EnMazo; s; s &= s - 1) {
        auto h = pilas;
        h[d].push_back(static_cast<std::uint8_t>(__builtin_ctzll(s) | 0x40));
        hija(h, cubiertas, 64, d, desde, SIZE_MAX);
      }
    }
  });
  // When written: of the piles after cards were laid, 5,991,224 let off, 804,950 read and
  // 46,498 of those short; after a card home 547,961, 51,574 and 4,093.
  EXPECT_GT(cuenta[0], 10 * cuenta[2]);
  EXPECT_GT(cuenta[2], 1000u);
  EXPECT_GT(cuentaCasa[0], 10 * cuentaCasa[2]);
  EXPECT_GT(cuentaCasa[2], 100u);
}
