// Safe moves home where foundations give their top cards back: checked against a plain
// exhaustive search, which takes cards back, on small tables built where the reading only
// just holds.
#include "solver/Vueltas.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "games/Registro.h"
#include "solver/Seguras.h"
#include "solver/Solucionador.h"
#include "tests/MesasConstruidas.h"
#include "tools/Pasos.h"

namespace {

// Piles of up to four cards built down in another suit, empty piles taking only a 10, four
// foundations by suit that give their top cards back to the piles; the highest eight to
// ten cards of the suits off the foundations, dealt at random to as many piles as they
// need or one more. `Devuelven` false: the foundations keep their cards.
template <bool Devuelven>
void PilasQueDevuelven(TMesa& m, std::int32_t numero) {
  std::mt19937 azar(static_cast<std::uint32_t>(numero) * 2654435761u);
  m.IniciarJuego(numero, "Pilas Que Devuelven");
  m.CrearMazo(m.AnchoPantalla + 1, m.AltoPantalla + 1, false, 0);
  TGrupo* tab = m.CrearGrupo("Tab", 0, 15, 4, false, false, false, false);
  m.AgregarReglaApilado(tab, rpOtroPalo, -1);
  m.AgregarReglaVacia(tab, rpCualquiera, 10);
  m.AgregarOrigen(tab, tab);
  const std::array<TPila*, 4> casa = CasasPorPalo(m, tab, Devuelven);
  std::array<int, 4> fuera{};
  const int total = 8 + static_cast<int>(azar() % 3);
  for (int k = 0; k < total;) {
    const auto palo = azar() % 4;
    if (fuera[palo] < 5) {
      ++fuera[palo];
      ++k;
    }
  }
  auto cartas = CasasSalvoLasAltas(m, casa, fuera);
  std::shuffle(cartas.begin(), cartas.end(), azar);
  const std::size_t pilas = (cartas.size() + 3) / 4 + azar() % 2;
  RepartirEnPilas(m, tab, cartas, pilas, 4, azar);
  GanarConLasFundacionesLlenas(m);
}

std::size_t GrupoTab(const TMesa& m) {
  for (std::size_t g = 0; g < m.Grupos.size(); ++g)
    if (!m.Grupos[g]->EsFundacion) return g;
  return 0;
}

constexpr std::uint8_t Id(std::uint8_t palo, std::uint8_t numero) {
  return static_cast<std::uint8_t>(palo * 10 + numero - 1);
}

}  // namespace

// The reading holds only where foundations give cards back and the rules are data; a card
// goes only once its every follower is home, and only where it lies as its pile's rules
// would lay it again.
TEST(SegurasConVuelta, SoloDondeLasFundacionesDevuelvenYLaCartaPuedeVolver) {
  TMesa m;
  PilasQueDevuelven<true>(m, 1);
  const TReglasComoDatos reglas = LeerReglas(m);
  const TSegurasConVuelta s = CalcularSegurasConVuelta(m, reglas);
  ASSERT_TRUE(s.Posible);
  EXPECT_FALSE(CalcularSeguras(m, reglas).Posible);
  const std::size_t g = GrupoTab(m);
  const std::uint64_t todas = (std::uint64_t{1} << 40) - 1;
  // The 8 of suit 0 with the 7s of the other three suits home, on a 9 of suit 1.
  std::uint64_t fuera = todas;
  for (std::uint8_t palo = 1; palo < 4; ++palo)
    for (std::uint8_t n = 1; n <= 7; ++n) fuera &= ~(std::uint64_t{1} << Id(palo, n));
  EXPECT_TRUE(SeguraConVuelta(s, reglas, g, Id(0, 8), Id(1, 9), fuera));
  // One 7 of another suit out: it could still need the 8.
  EXPECT_FALSE(SeguraConVuelta(s, reglas, g, Id(0, 8), Id(1, 9), fuera | std::uint64_t{1} << Id(2, 7)));
  // Its own suit's 7 out does not count against it (the foundation asks for that).
  EXPECT_TRUE(SeguraConVuelta(s, reglas, g, Id(0, 8), Id(1, 9), fuera | std::uint64_t{1} << Id(0, 7)));
  // On a card its pile would not lay it on (same suit, or not one rank up), or alone on a
  // pile an empty one of which takes only a 10: it could not be taken back there.
  EXPECT_FALSE(SeguraConVuelta(s, reglas, g, Id(0, 8), Id(0, 9), fuera));
  EXPECT_FALSE(SeguraConVuelta(s, reglas, g, Id(0, 8), Id(1, 10), fuera));
  EXPECT_FALSE(SeguraConVuelta(s, reglas, g, Id(0, 8), -1, fuera));
  // A 10 alone goes back to an empty pile.
  fuera = todas;
  for (std::uint8_t palo = 1; palo < 4; ++palo)
    for (std::uint8_t n = 1; n <= 9; ++n) fuera &= ~(std::uint64_t{1} << Id(palo, n));
  EXPECT_TRUE(SeguraConVuelta(s, reglas, g, Id(0, 10), -1, fuera));

  // Foundations that keep their cards: Seguras.h reads those, not this.
  TMesa f;
  PilasQueDevuelven<false>(f, 1);
  const TReglasComoDatos rf = LeerReglas(f);
  EXPECT_FALSE(CalcularSegurasConVuelta(f, rf).Posible);
  EXPECT_TRUE(CalcularSeguras(f, rf).Posible);

  // The game whose foundations give cards back, read from its own table.
  const TJuegoRegistrado* strup = nullptr;
  for (const TJuegoRegistrado& j : Juegos())
    if (std::string(j.Clave) == "Strup") strup = &j;
  ASSERT_NE(strup, nullptr);
  TMesa t;
  strup->Preparar(t, 1);
  EXPECT_TRUE(CalcularSegurasConVuelta(t, LeerReglas(t)).Posible);
}

// The solver, which sends such cards home alone, agrees with the plain search, which takes
// cards back, on small tables of both kinds; every line it finds wins.
TEST(SegurasConVuelta, ElSolucionadorCoincideConLaBusquedaCompleta) {
  constexpr std::int32_t kMesas = 200;
  int ganables = 0;
  int perdidas = 0;
  for (std::int32_t numero = 1; numero <= kMesas; ++numero) {
    const bool gana = GanableCartaACarta(PilasQueDevuelven<true>, numero);
    const TResultado r = Resolver(PilasQueDevuelven<true>, numero, {});
    EXPECT_EQ(r.Veredicto, gana ? TVeredicto::Ganable : TVeredicto::SinSolucion) << "número " << numero;
    if (gana) {
      EXPECT_TRUE(LineaGana(PilasQueDevuelven<true>, numero, {}, r.Pasos)) << "número " << numero;
    }
    ++(gana ? ganables : perdidas);
  }
  EXPECT_GE(ganables, kMesas / 10);
  EXPECT_GE(perdidas, kMesas / 10);
}
