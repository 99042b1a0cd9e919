// Cards in the way of the next cards home: each suit's way home read from the foundations'
// rules, and the cards of a pile counted against it.
#include "solver/Estorbos.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <vector>

#include "games/Juegos.h"
#include "solver/Reglas.h"
#include "solver/Solucionador.h"

namespace {

std::uint8_t Id(std::uint8_t palo, std::uint8_t numero) {
  return static_cast<std::uint8_t>(palo * 10 + numero - 1);
}

// The identity order: every suit home from its As.
std::array<std::int8_t, 40> DesdeElAs() {
  std::array<std::int8_t, 40> o{};
  for (std::size_t id = 0; id < 40; ++id) o[id] = static_cast<std::int8_t>(id % 10);
  return o;
}

}  // namespace

// Foundations from the As, and foundations from a base rank that wrap round past the ten:
// each card's place is how far its rank lies from the base. A walk that stopped at the
// ten, or started from the wrong card, puts the wrapped cards out of place.
TEST(Estorbos, ElOrdenEnCasaSigueLasFundaciones) {
  {
    TMesa m;
    PrepararSquadronEspannol(m, 3);
    const auto orden = OrdenEnCasa(m, LeerReglas(m));
    for (const auto& c : m.Cartas) EXPECT_EQ(orden[IdCarta(*c)], c->Numero - 1);
  }
  bool envuelta = false;
  for (std::int32_t numero = 1; numero <= 12; ++numero) {
    TMesa m;
    PrepararPinguinoPatagonico(m, numero);
    int base = 0;
    for (const TGrupo* g : m.Grupos)
      if (g->EsFundacion) base = g->NumeroFundacion;
    ASSERT_GE(base, 1);
    envuelta = envuelta || base > 1;
    const auto orden = OrdenEnCasa(m, LeerReglas(m));
    for (const auto& c : m.Cartas)
      EXPECT_EQ(orden[IdCarta(*c)], (c->Numero - base + 10) % 10)
          << "numero " << numero << ", carta " << int(c->Numero) << " de " << int(c->Palo);
  }
  EXPECT_TRUE(envuelta) << "no deal with a base above the As was looked at";
}

// Where no group is a foundation (piles turn into foundations as the game goes), no card
// has a place: counting would read an order the table does not have.
TEST(Estorbos, SinFundacionesNoHayOrden) {
  TMesa m;
  PrepararSolitarioDe10A4(m, 1);
  const auto orden = OrdenEnCasa(m, LeerReglas(m));
  for (const std::int8_t o : orden) EXPECT_EQ(o, -1);
  const std::vector<std::uint8_t> pila{Id(0, 5), Id(0, 7), Id(0, 9)};
  EXPECT_EQ(Estorbos(orden, pila.data(), pila.size()), 0);
}

// Only a card above an earlier card of its own suit is in the way; cards of other suits
// and cards above later ones are not, and the face-up bit of the snapshot is no part of
// the card.
TEST(Estorbos, CuentaLasCartasSobreUnaAnteriorDeSuPalo) {
  const auto orden = DesdeElAs();
  auto cuenta = [&orden](std::vector<std::uint8_t> pila) {
    return Estorbos(orden, pila.data(), pila.size());
  };
  EXPECT_EQ(cuenta({}), 0);
  // Down by suit: each card lies on the next of its suit, none in the way.
  EXPECT_EQ(cuenta({Id(1, 9), Id(1, 8), Id(1, 7), Id(1, 6)}), 0);
  // The 2 on the 3 goes home first and is not in the way; the 7 above both is, face up
  // or not. Above the 5 and the 3, the 7 is; the 3 on the 5 is not.
  constexpr std::uint8_t kBocaArriba = 0x40;
  EXPECT_EQ(cuenta({Id(2, 3), static_cast<std::uint8_t>(Id(2, 2) | kBocaArriba),
                    static_cast<std::uint8_t>(Id(2, 7) | kBocaArriba)}),
            1);
  EXPECT_EQ(cuenta({Id(2, 5), Id(2, 3), Id(2, 7)}), 1);
  // Other suits between change nothing; the As of another suit is not in the way.
  EXPECT_EQ(cuenta({Id(0, 2), Id(3, 1), Id(0, 10), Id(3, 4), Id(0, 4)}), 3);
  // The 2 is above the As; the 10 above both counts once.
  EXPECT_EQ(cuenta({Id(1, 1), Id(1, 2), Id(1, 10)}), 2);
}

// On tables with free cells the last stretch counts cards in the way: deals whose wins the
// search without it found only past a million positions are won within 800,000, and the
// lines win. A stretch that never started, a count that read no order (a foundation's
// wrap lost), or a limit handed on wrongly from the stretch before leaves them undecided.
TEST(Estorbos, LaUltimaBusquedaConCeldasLosDeshace) {
  TLimites limites;
  limites.Milisegundos = 600000;
  limites.Posiciones = 800000;
  const struct {
    TPrepararJuego preparar;
    std::int32_t numero;
  } repartos[] = {{PrepararSquadronEspannol, 276}, {PrepararPinguinoPatagonico, 799}};
  for (const auto& [preparar, numero] : repartos) {
    const TResultado r = Resolver(preparar, numero, {}, limites);
    ASSERT_EQ(r.Veredicto, TVeredicto::Ganable) << numero << ": " << r.Posiciones;
    EXPECT_TRUE(LineaGana(preparar, numero, {}, r.Pasos)) << numero;
  }
}
