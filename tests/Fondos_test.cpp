// A pile's lone card never needs laying on another pile where empty piles take nothing:
// checked against a plain exhaustive search on small tables of piles of three.
#include "solver/Fondos.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "games/Registro.h"
#include "solver/Solucionador.h"
#include "tests/MesasConstruidas.h"
#include "tools/Pasos.h"

namespace {

// Nine to twelve cards off the foundations, on as many piles as they need or one more, so
// that room is short; in the twin, an empty pile takes any card.
constexpr TPilasDeTres kApretadasDeNueve{"Pilas Apretadas", 7919u, 9, false, 2, false};
constexpr TPilasDeTres kQueSeLlenan{"Pilas Apretadas", 7919u, 9, false, 2, true};

void PilasApretadas(TMesa& m, std::int32_t numero) { kApretadasDeNueve.Preparar(m, numero); }
void PilasQueSeLlenan(TMesa& m, std::int32_t numero) { kQueSeLlenan.Preparar(m, numero); }

// Where empty piles take nothing, laying a pile's lone card on another pile off the
// foundations: what the rule leaves out.
bool SolaSobreOtra(const TPila& de, const TPila& a) {
  return de.Cantidad == 1 && a.Tope && !a.Grupo->EsFundacion;
}

std::uint8_t QuietosDelTablero(TMesa& m, const TGanchosComoDatos* ganchos) {
  const std::vector<std::uint8_t> q = FondosQuietos(m, LeerReglas(m), ganchos);
  for (std::size_t g = 0; g < m.Grupos.size(); ++g)
    if (m.Grupos[g]->NombreGrupo == "Tab") return q[g];
  ADD_FAILURE() << "no piles off the foundations";
  return 0;
}

}  // namespace

// Where empty piles take nothing, leaving lone cards where they lie loses no win, and the
// solver, which does so, agrees with the plain search; where an empty pile takes any
// card, laying a lone card elsewhere to empty its pile wins deals that are lost without
// it, and the rule is off.
TEST(SolucionadorFondos, UnaCartaSolaNoSeMueveDondeNadaOcupaLaPila) {
  constexpr std::int32_t kMesas = 250;
  int ganables = 0;
  int perdidas = 0;
  int soloFundiendo = 0;
  for (std::int32_t numero = 1; numero <= kMesas; ++numero) {
    {
      TMesa m;
      PilasApretadas(m, numero);
      EXPECT_TRUE(QuietosDelTablero(m, nullptr));
      const bool gana = GanableCartaACarta(PilasApretadas, numero);
      EXPECT_EQ(GanableCartaACarta(PilasApretadas, numero, {}, SolaSobreOtra), gana) << "número " << numero;
      const TResultado r = Resolver(PilasApretadas, numero, {});
      EXPECT_EQ(r.Veredicto, gana ? TVeredicto::Ganable : TVeredicto::SinSolucion)
          << "número " << numero;
      if (gana) {
        EXPECT_TRUE(LineaGana(PilasApretadas, numero, {}, r.Pasos));
      }
      ++(gana ? ganables : perdidas);
    }
    TMesa m;
    PilasQueSeLlenan(m, numero);
    EXPECT_FALSE(QuietosDelTablero(m, nullptr));
    const bool gana = GanableCartaACarta(PilasQueSeLlenan, numero);
    if (gana && !GanableCartaACarta(PilasQueSeLlenan, numero, {}, SolaSobreOtra)) ++soloFundiendo;
    EXPECT_EQ(Resolver(PilasQueSeLlenan, numero, {}).Veredicto,
              gana ? TVeredicto::Ganable : TVeredicto::SinSolucion)
        << "número " << numero;
  }
  EXPECT_GE(ganables, kMesas / 10);
  EXPECT_GE(perdidas, kMesas / 10);
  EXPECT_GE(soloFundiendo, 1);
}

// A table's own stacking function qualifies only where what it takes does not grow with
// the cards under the top card or under the card dragged: the game of piles of three with
// a Rey on a lone Rey does, once read; the same table's function made to take a card only
// on a pile of two, or only a card lying on another, or on a pile of two only such a card,
// does not.
TEST(SolucionadorFondos, SoloConUnaFuncionQueMiraElTope) {
  const TJuegoRegistrado* casi14 = nullptr;
  for (const auto& juego : Juegos())
    if (std::string(juego.Clave) == "SolitarioDeLosCasi14Montones") casi14 = &juego;
  ASSERT_NE(casi14, nullptr);
  auto tab = [](TMesa& m) {
    const auto g = std::find_if(m.Grupos.begin(), m.Grupos.end(),
                                [](const TGrupo* x) { return !x->EsFundacion; });
    return static_cast<std::size_t>(g - m.Grupos.begin());
  };
  {
    TMesa m;
    casi14->Preparar(m, 1);
    const TReglasComoDatos reglas = LeerReglas(m);
    EXPECT_FALSE(FondosQuietos(m, reglas, nullptr).at(tab(m)));  // not read yet
    const TGanchosComoDatos ganchos = LeerGanchos(m, reglas);
    EXPECT_TRUE(FondosQuietos(m, reglas, &ganchos).at(tab(m)));
    EXPECT_TRUE(FondosSoloACasa(m, FondosQuietos(m, reglas, &ganchos)));
  }
  const std::vector<TReglaGlobal> raras = {
      [](TCarta& c, TPila& p) { return p.Cantidad == 2 && ApilarPorReglas(c, p); },
      [](TCarta& c, TPila& p) { return c.Debajo != nullptr && ApilarPorReglas(c, p); },
      [](TCarta& c, TPila& p) {
        return (p.Cantidad == 1 || c.Debajo != nullptr) && ApilarPorReglas(c, p);
      },
  };
  for (const TReglaGlobal rara : raras) {
    TMesa m;
    casi14->Preparar(m, 1);
    m.PuedeApilar = rara;
    const TReglasComoDatos reglas = LeerReglas(m);
    const TGanchosComoDatos ganchos = LeerGanchos(m, reglas);
    EXPECT_FALSE(FondosQuietos(m, reglas, &ganchos).at(tab(m)));
  }
}

namespace {

// Piles as tight as the cards allow, about half the cards of one suit: bottom cards of the
// other suits often are the only cards not home that could lie on a card that may go home.
constexpr TPilasDeTres kFondosSolos{"Fondos Solos", 104729u, 7, true, 1, false};
constexpr TPilasDeTres kFondosQueSeVacian{"Fondos Solos", 104729u, 7, true, 1, true};

void FondosSolos(TMesa& m, std::int32_t numero) { kFondosSolos.Preparar(m, numero); }
void FondosQueSeVacian(TMesa& m, std::int32_t numero) { kFondosQueSeVacian.Preparar(m, numero); }

}  // namespace

// Where a pile's bottom card leaves it only for home, a card that only bottom cards could
// lie on goes home at once: the solver agrees with the plain search on tight tables. On
// their twins whose empty piles take any card, laying a bottom card on such a card to
// empty its pile wins deals, and the rule must stay off there.
TEST(SolucionadorFondos, LoQueSoloLosFondosPodrianTomarVaACasa) {
  {
    TMesa m;
    FondosSolos(m, 1);
    EXPECT_TRUE(FondosSoloACasa(m, FondosQuietos(m, LeerReglas(m), nullptr)));
    TMesa v;
    FondosQueSeVacian(v, 1);
    EXPECT_FALSE(FondosSoloACasa(v, FondosQuietos(v, LeerReglas(v), nullptr)));
  }
  constexpr std::int32_t kMesas = 300;
  std::array<int, 2> ganables{};
  std::array<int, 2> perdidas{};
  for (std::int32_t numero = 1; numero <= kMesas; ++numero) {
    int k = 0;
    for (TPrepararJuego preparar : {FondosSolos, FondosQueSeVacian}) {
      const bool gana = GanableCartaACarta(preparar, numero);
      const TResultado r = Resolver(preparar, numero, {});
      EXPECT_EQ(r.Veredicto, gana ? TVeredicto::Ganable : TVeredicto::SinSolucion)
          << (k ? "vacías que toman, " : "") << "número " << numero;
      if (gana) {
        EXPECT_TRUE(LineaGana(preparar, numero, {}, r.Pasos));
      }
      ++(gana ? ganables : perdidas)[static_cast<std::size_t>(k++)];
    }
  }
  for (std::size_t k = 0; k < 2; ++k) {
    EXPECT_GE(ganables[k], kMesas / 10);
    EXPECT_GE(perdidas[k], kMesas / 10);
  }
}
