// Cards laid on a card of their own rank by a table's own stacking function alone, read
// for a position's value: what is read, where nothing is, and the deals it finds sooner.
#include "solver/Parejas.h"

#include <gtest/gtest.h>

#include <cstdint>

#include "games/Registro.h"
#include "solver/Reglas.h"
#include "solver/Solucionador.h"
#include "tests/MesasConstruidas.h"

namespace {

std::uint64_t Reyes() {
  std::uint64_t r = 0;
  for (std::size_t palo = 0; palo < 4; ++palo) r |= std::uint64_t{1} << (palo * 10 + 9);
  return r;
}

// Every group's pairs: only cards of one rank, none the rules lay already, none on a
// foundation.
void SoloLoQueLasReglasNoLaban(TMesa& m, const char* nombre) {
  const TReglasComoDatos reglas = LeerReglas(m);
  const auto parejas = LeerParejas(m, reglas);
  for (std::size_t g = 0; g < parejas.size(); ++g)
    for (std::size_t id = 0; id < 40; ++id) {
      const std::uint64_t p = parejas[g][id];
      EXPECT_EQ(p & reglas.Apila[g][id], 0u) << nombre << " " << g << " " << id;
      for (std::uint64_t b = p; b; b &= b - 1) {
        const auto otra = static_cast<std::size_t>(__builtin_ctzll(b));
        EXPECT_EQ(otra % 10, id % 10) << nombre << " " << id;
      }
      if (m.Grupos[g]->EsFundacion) {
        EXPECT_EQ(p, 0u) << nombre << " " << g;
      }
    }
}

}  // namespace

// Where a lone Rey also goes on a pile topped by its one Rey, each Rey pairs with the
// other three on the piles' group, no card pairs with itself and no other card pairs with
// anything, on the game and on a built table with the same rule.
TEST(Parejas, UnReySobreOtroRey) {
  for (const char* clave : {"SolitarioDeLosCasi14Montones", ""}) {
    TMesa m;
    if (*clave)
      BuscarRegistro(clave)->Preparar(m, 1);
    else
      PrepararAltasConReyes(m, 1);
    const auto parejas = LeerParejas(m, LeerReglas(m));
    ASSERT_EQ(parejas.size(), m.Grupos.size()) << clave;
    int grupos = 0;
    for (std::size_t g = 0; g < parejas.size(); ++g) {
      if (m.Grupos[g]->EsFundacion) continue;
      ++grupos;
      for (std::size_t id = 0; id < 40; ++id) {
        const std::uint64_t esperada = id % 10 == 9 ? Reyes() & ~(std::uint64_t{1} << id) : 0;
        EXPECT_EQ(parejas[g][id], esperada) << clave << " " << id;
      }
    }
    EXPECT_EQ(grupos, 1) << clave;
  }
}

// Nothing is read where the engine's default stacking decides, and a table's own function
// that lays no card on one of its rank gives nothing; on every game, what is read is of one
// rank and beyond the rules.
TEST(Parejas, NadaMasQueLoQueLaFuncionAnade) {
  {
    TMesa m;
    BuscarRegistro("SolitarioDeLosSieteMontones")->Preparar(m, 1);
    EXPECT_TRUE(LeerParejas(m, LeerReglas(m)).empty());
  }
  {
    TMesa m;
    kPilasAltas.Preparar(m, 1);
    m.PuedeApilar = [](TCarta& c, TPila& p) { return ApilarPorReglas(c, p); };
    const auto parejas = LeerParejas(m, LeerReglas(m));
    for (const auto& grupo : parejas)
      for (const std::uint64_t p : grupo) EXPECT_EQ(p, 0u);
  }
  for (const auto& juego : Juegos()) {
    TMesa m;
    juego.Preparar(m, 1);
    SoloLoQueLasReglasNoLaban(m, juego.Clave);
  }
}

// Casi 14's deals whose lines lay a Rey on a Rey early: with the pair counted as a card in
// order 43 and 291 are won within 10,000 positions and 973 within 110,000, where the value
// that gave the pair nothing took 424,299, 483,787 and 1,621,979. Counted in positions, so
// the same on every machine.
TEST(Parejas, CasiCatorceGanaAntesConLosReyesJuntos) {
  const TJuegoRegistrado& juego = *BuscarRegistro("SolitarioDeLosCasi14Montones");
  for (const auto& [numero, hasta] : {std::pair{43, 10000u}, std::pair{291, 10000u},
                                      std::pair{973, 110000u}}) {
    const TResultado r = Resolver(juego.Preparar, numero, {}, {.Milisegundos = 600000});
    ASSERT_EQ(r.Veredicto, TVeredicto::Ganable) << numero;
    EXPECT_LE(r.Posiciones, hasta) << numero;
    EXPECT_TRUE(LineaGana(juego.Preparar, numero, {}, r.Pasos)) << numero;
  }
}

// Where the stacking function pairs cards, equal values go to the position with more piles
// in order from the bottom up. Casi 14 492's line lifts a card off the only card under it
// at its tenth move, a child as good as brothers made after it: equals taken newest first,
// it waited 1,172,033 positions, with the ties broken so it is won within 500,000. Counted
// in positions, so the same on every machine.
TEST(Parejas, CasiCatorceDesempataPorPilasEnOrden) {
  const TJuegoRegistrado& juego = *BuscarRegistro("SolitarioDeLosCasi14Montones");
  const TResultado r = Resolver(juego.Preparar, 492, {}, {.Milisegundos = 600000});
  ASSERT_EQ(r.Veredicto, TVeredicto::Ganable);
  EXPECT_LE(r.Posiciones, 500000u);
  EXPECT_TRUE(LineaGana(juego.Preparar, 492, {}, r.Pasos));
}
