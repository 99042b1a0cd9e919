// A pile's lone card never needs laying on another pile where empty piles take nothing:
// checked against a plain exhaustive search on small tables of piles of three.
#include "solver/Fondos.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "games/Registro.h"
#include "solver/Solucionador.h"
#include "tests/MesasConstruidas.h"
#include "tools/Pasos.h"

namespace {

// Piles of at most three cards, each taking any card one rank lower; four foundations
// by suit. From the number: nine to twelve of the suits' highest cards off the
// foundations, on as many piles as they need or one more, so that room is short. With
// `vaciasTomanTodo`, an empty pile takes any card.
void PrepararPilas(TMesa& m, std::int32_t numero, bool vaciasTomanTodo) {
  std::mt19937 azar(static_cast<std::uint32_t>(numero) * 7919u);
  m.IniciarJuego(numero, "Pilas Apretadas");
  m.CrearMazo(m.AnchoPantalla + 1, m.AltoPantalla + 1, false, 0);
  TGrupo* tab = m.CrearGrupo("Tab", 0, 15, 3, false, false, false, false);
  m.AgregarReglaApilado(tab, rpCualquiera, -1);
  if (vaciasTomanTodo) m.AgregarReglaVacia(tab, rpCualquiera, PasoLibre);
  m.AgregarOrigen(tab, tab);
  std::array<TPila*, 4> casa{};
  for (std::uint8_t palo = 0; palo < 4; ++palo) {
    TGrupo* f = m.CrearGrupo("Fund", 0, 0, 10, false, false, false, false);
    m.AgregarReglaApilado(f, rpMismoPalo, 1);
    m.AgregarOrigen(f, tab);
    casa[palo] = m.PonerPila(f, static_cast<std::int16_t>(100 * palo), 10);
    m.DefinirFundacion(f, palo, 1, casa[palo]);
  }
  std::array<int, 4> fuera{};
  const int total = 9 + static_cast<int>(azar() % 4);
  for (int k = 0; k < total;) {
    const auto palo = azar() % 4;
    if (fuera[palo] < 10) {
      ++fuera[palo];
      ++k;
    }
  }
  std::vector<std::pair<std::uint8_t, std::uint8_t>> cartas;  // rank, suit
  for (std::uint8_t palo = 0; palo < 4; ++palo) {
    for (int n = 1; n <= 10 - fuera[palo]; ++n) m.SacarCarta(static_cast<std::uint8_t>(n), palo, casa[palo]);
    for (int n = 11 - fuera[palo]; n <= 10; ++n) cartas.emplace_back(static_cast<std::uint8_t>(n), palo);
  }
  std::shuffle(cartas.begin(), cartas.end(), azar);
  const std::size_t pilas = (cartas.size() + 2) / 3 + azar() % 2;
  std::vector<std::vector<std::pair<std::uint8_t, std::uint8_t>>> reparto(pilas);
  for (std::size_t i = 0; i < cartas.size(); ++i) {
    std::size_t p = i < pilas ? i : azar() % pilas;
    while (reparto[p].size() == 3) p = (p + 1) % pilas;
    reparto[p].push_back(cartas[i]);
  }
  for (std::size_t p = 0; p < pilas; ++p) {
    TPila* pila = m.PonerPila(tab, static_cast<std::int16_t>(70 * p), 150);
    for (const auto& [n, palo] : reparto[p]) m.SacarCarta(n, palo, pila);
  }
  GanarConLasFundacionesLlenas(m);
}

void PilasApretadas(TMesa& m, std::int32_t numero) { PrepararPilas(m, numero, false); }
void PilasQueSeLlenan(TMesa& m, std::int32_t numero) { PrepararPilas(m, numero, true); }

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
