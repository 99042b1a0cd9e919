// Positions without a way out and cards nothing is ever moved onto, on small tables of
// piles of three: checked against a plain exhaustive search of every reachable position.
#include "solver/SinSalida.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "games/Registro.h"
#include "solver/Solucionador.h"
#include "tests/MesasConstruidas.h"
#include "tools/Pasos.h"

namespace {

// What the rule reads of the table: its piles off the foundations and the cards home.
struct TLectura {
  std::vector<std::vector<std::uint8_t>> Cartas;
  std::vector<TPilaVista> Vistas;
  std::uint64_t EnCasa = 0;
  bool SinSalida = false;
  std::uint64_t NuncaToman = 0;
};

TLectura Leer(TMesa& m) {
  TLectura l;
  const TSinSalida s = PrepararSinSalida(m, LeerReglas(m), nullptr);
  EXPECT_TRUE(s.Posible);
  for (const auto& p : m.Pilas) {
    std::vector<std::uint8_t> cartas;
    for (const TCarta* c = p->Tope; c; c = c->Debajo) cartas.insert(cartas.begin(), IdCarta(*c));
    if (p->Grupo->EsFundacion) {
      for (const std::uint8_t id : cartas) l.EnCasa |= std::uint64_t{1} << id;
    } else {
      l.Cartas.push_back(std::move(cartas));
    }
  }
  for (const auto& c : l.Cartas)
    l.Vistas.push_back(TPilaVista{c.data(), static_cast<std::uint8_t>(c.size()), 3});
  l.SinSalida = SinSalida(s, l.Vistas.data(), l.Vistas.size(), l.EnCasa, &l.NuncaToman);
  return l;
}

}  // namespace

// On positions built at random, many of them lost and some only just, the rule calls
// none lost that a line wins; a card it finds nothing is moved onto, sent home, loses
// nothing; and the solver, which uses both, agrees with the plain search.
TEST(SinSalida, NuncaLlamaPerdidaUnaPosicionGanable) {
  // Fewer would hold no lost position the rule misses, nor one the search would lose by
  // sending home a card a bottom card could still take (half a minute with the
  // sanitizers).
  constexpr std::int32_t kPosiciones = 700;
  int perdidas = 0;
  int vistasPerdidas = 0;
  int ganables = 0;
  int seguras = 0;
  for (std::int32_t numero = 1; numero <= kPosiciones; ++numero) {
    TMesa m;
    PrepararPilasDeTres(m, numero);
    const TLectura l = Leer(m);
    const bool gana = GanableCartaACarta(PrepararPilasDeTres, numero);
    if (l.SinSalida) {
      EXPECT_FALSE(gana) << "número " << numero;
    }
    if (!gana) ++perdidas;
    if (l.SinSalida) ++vistasPerdidas;
    if (gana) ++ganables;
    // Each top card nothing is moved onto that can go home: the position after it is won
    // exactly when this one is.
    for (const auto& p : m.Pilas) {
      if (p->Grupo->EsFundacion || !p->Tope || !(l.NuncaToman >> IdCarta(*p->Tope) & 1)) continue;
      for (const auto& f : m.Pilas) {
        if (!f->Grupo->EsFundacion || !m.ArrastrarSobrePila(*f, *p->Tope, 1, 1)) continue;
        if (f->Tope && !m.ArrastrarSobreCarta(*f->Tope, *p->Tope, 1, 1)) continue;
        const TPaso casa{TPaso::TTipo::Arrastre, p->Numero, -1, f->Numero};
        EXPECT_EQ(GanableCartaACarta(PrepararPilasDeTres, numero, {casa}), gana) << "número " << numero;
        ++seguras;
      }
    }
    const TResultado r = Resolver(PrepararPilasDeTres, numero, {});
    EXPECT_EQ(r.Veredicto, gana ? TVeredicto::Ganable : TVeredicto::SinSolucion)
        << "número " << numero;
    if (gana) {
      EXPECT_TRUE(LineaGana(PrepararPilasDeTres, numero, {}, r.Pasos));
    }
  }
  // The sample holds both kinds, and the rule finds some of the lost ones, not all.
  EXPECT_GE(ganables, kPosiciones / 10);
  EXPECT_GE(vistasPerdidas, kPosiciones / 20);
  EXPECT_LT(vistasPerdidas, perdidas);
  EXPECT_GE(seguras, kPosiciones / 20);
}

// What each card takes is what takes each card read the other way, on the game of piles of
// three read from its groups' rules and on Casi 14 read from its own function.
TEST(SinSalida, LoQueTomaCadaCartaAlReves) {
  TMesa casi14;
  BuscarRegistro("SolitarioDeLosCasi14Montones")->Preparar(casi14, 1);
  const TReglasComoDatos reglas = LeerReglas(casi14);
  const TGanchosComoDatos ganchos = LeerGanchos(casi14, reglas);
  TMesa tres;
  PrepararPilasDeTres(tres, 1);
  for (const TSinSalida& s : {PrepararSinSalida(casi14, reglas, &ganchos),
                              PrepararSinSalida(tres, LeerReglas(tres), nullptr)}) {
    ASSERT_TRUE(s.Posible);
    int pares = 0;
    for (std::size_t x = 0; x < 40; ++x)
      for (std::size_t y = 0; y < 40; ++y) {
        EXPECT_EQ(s.Toma[x] >> y & 1, s.Toman[y] >> x & 1) << x << " " << y;
        pares += static_cast<int>(s.Toma[x] >> y & 1);
      }
    EXPECT_GT(pares, 0);
  }
}

// The rule reads what a table allows: the game of piles of three with its own stacking
// function, once read, qualifies; a table whose empty piles take cards, or whose stock
// still deals, does not.
TEST(SinSalida, SoloDondeLasReglasLoPermiten) {
  int posibles = 0;
  for (const auto& juego : Juegos()) {
    TMesa m;
    juego.Preparar(m, 1);
    const TReglasComoDatos reglas = LeerReglas(m);
    const TGanchosComoDatos ganchos = LeerGanchos(m, reglas);
    const bool posible = PrepararSinSalida(m, reglas, &ganchos).Posible;
    if (std::string(juego.Clave) == "SolitarioDeLosCasi14Montones") {
      EXPECT_TRUE(posible);
      // Its own function, not read, tells nothing.
      EXPECT_FALSE(PrepararSinSalida(m, reglas, nullptr).Posible);
    }
    posibles += posible;
  }
  EXPECT_EQ(posibles, 1);

  TMesa m;
  PrepararPilasDeTres(m, 1);
  EXPECT_TRUE(PrepararSinSalida(m, LeerReglas(m), nullptr).Posible);
  for (TGrupo* g : m.Grupos)
    if (!g->EsFundacion) m.AgregarReglaVacia(g, rpCualquiera, PasoLibre);
  EXPECT_FALSE(PrepararSinSalida(m, LeerReglas(m), nullptr).Posible);
}
