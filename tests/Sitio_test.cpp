// Positions lost for want of room over time, on small tables of piles of three: checked
// against a plain exhaustive search of every reachable position.
#include "solver/Sitio.h"

#include <gtest/gtest.h>

#include <vector>

#include "games/Registro.h"
#include "solver/Solucionador.h"
#include "tests/MesasConstruidas.h"

namespace {

// Eight to eleven cards off the foundations, about half of them of one suit, on as many
// piles as they need or up to two more; empty piles take nothing.
constexpr TPilasDeTres kPilasDeTres{"Pilas De Tres", 1u, 8, true, 3, false};
// Tighter: more cards, no piles beyond those they need.
constexpr TPilasDeTres kApretadas{"Pilas Apretadas", 7u, 11, false, 1, false};

void PrepararPilasDeTres(TMesa& m, std::int32_t numero) { kPilasDeTres.Preparar(m, numero); }
void PrepararApretadas(TMesa& m, std::int32_t numero) { kApretadas.Preparar(m, numero); }

// The rule's reading of the table as the search hands it over.
bool SinSitio(TMesa& m, std::uint64_t* estados = nullptr) {
  const TSinSalida s = PrepararSinSalida(m, LeerReglas(m), nullptr);
  EXPECT_TRUE(s.Posible);
  std::vector<std::vector<std::uint8_t>> cartas;
  std::uint64_t enCasa = 0;
  for (const auto& p : m.Pilas) {
    std::vector<std::uint8_t> ids;
    for (const TCarta* c = p->Tope; c; c = c->Debajo) ids.insert(ids.begin(), IdCarta(*c));
    if (p->Grupo->EsFundacion) {
      for (const std::uint8_t id : ids) enCasa |= std::uint64_t{1} << id;
    } else if (!ids.empty()) {
      cartas.push_back(std::move(ids));
    }
  }
  std::vector<TPilaVista> vistas;
  for (const auto& c : cartas)
    vistas.push_back(TPilaVista{c.data(), static_cast<std::uint8_t>(c.size()), 3});
  return FaltaSitio(s, vistas.data(), vistas.size(), enCasa, ~std::uint64_t{0}, estados);
}

struct TCuenta {
  int Perdidas = 0;
  int Vistas = 0;
  int Ganables = 0;
};

TCuenta Comprobar(TPrepararJuego preparar, std::int32_t cuantas) {
  TCuenta c;
  for (std::int32_t numero = 1; numero <= cuantas; ++numero) {
    TMesa m;
    preparar(m, numero);
    const bool sinSitio = SinSitio(m);
    const bool gana = GanableCartaACarta(preparar, numero);
    if (sinSitio) {
      EXPECT_FALSE(gana) << "número " << numero;
    }
    c.Perdidas += !gana;
    c.Ganables += gana;
    c.Vistas += sinSitio;
  }
  return c;
}

}  // namespace

// On positions built at random, many of them lost and some only just, the rule calls none
// lost that a line wins, and finds some of the lost ones, not all (it reads no order
// within a pile beyond the cards that must leave it).
TEST(Sitio, NuncaLlamaPerdidaUnaPosicionGanable) {
  for (const auto preparar : {PrepararPilasDeTres, PrepararApretadas}) {
    const TCuenta c = Comprobar(preparar, 400);
    EXPECT_GE(c.Ganables, 40);
    EXPECT_GE(c.Vistas, 20);
    EXPECT_LT(c.Vistas, c.Perdidas);
  }
}
