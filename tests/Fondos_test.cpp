// A pile's lone card never needs laying on another pile where empty piles take nothing:
// checked against a plain exhaustive search on small tables of piles of three.
#include "solver/Fondos.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "games/Registro.h"
#include "solver/Libres.h"
#include "solver/Seguras.h"
#include "solver/Solucionador.h"
#include "tests/Busqueda.h"
#include "tests/MesasConstruidas.h"
#include "tools/Pasos.h"

namespace {

// Nine to twelve cards off the foundations, on as many piles as they need or one more, so
// that room is short; in the twin, an empty pile takes any card.
constexpr TPilasDeTres kApretadas{"Pilas Apretadas", 7919u, 9, false, 2, false};
constexpr TPilasDeTres kQueSeLlenan{"Pilas Apretadas", 7919u, 9, false, 2, true};

void PilasApretadas(TMesa& m, std::int32_t numero) { kApretadas.Preparar(m, numero); }
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

namespace {

// What the search reads of a built table's position: the cards off the foundations, the
// piles' bottom cards and the free cards (Libres.h).
struct TLeido {
  std::uint64_t Fuera = 0;
  std::uint64_t Fondos = 0;
  std::uint64_t Libres = 0;
};

TLeido LeerPosicion(const TMesa& m, const std::array<std::uint64_t, 40>& necesita) {
  TLeido l;
  l.Fuera = (std::uint64_t{1} << 40) - 1;
  std::uint64_t siguientes = 0;
  for (const auto& p : m.Pilas) {
    if (p->Grupo->EsFundacion) {
      for (const TCarta* c = p->Tope; c; c = c->Debajo)
        l.Fuera &= ~(std::uint64_t{1} << IdCarta(*c));
      if (p->Cantidad < 10)
        siguientes |= std::uint64_t{1}
                      << (p->Tope ? IdCarta(*p->Tope) + 1 : 10 * p->Grupo->PaloFundacion);
    } else if (p->Tope) {
      const TCarta* fondo = p->Tope;
      while (fondo->Debajo) fondo = fondo->Debajo;
      l.Fondos |= std::uint64_t{1} << IdCarta(*fondo);
    }
  }
  l.Libres = CartasLibres(siguientes, l.Fuera, necesita, l.Fondos);
  return l;
}

// Twelve to fifteen cards off the foundations, piles as tight as they allow or one more.
constexpr TPilasDeTres kMasLlenas{"Pilas Mas Llenas", 6007u, 12, false, 2, false};
void PilasMasLlenas(TMesa& m, std::int32_t numero) { kMasLlenas.Preparar(m, numero); }

TPaso Arrastre(const TPila& de, const TPila& a) {
  return TPaso{TPaso::TTipo::Arrastre, de.Numero, -1, a.Numero};
}

}  // namespace

// A pile's top card, with a card under it, laid on the next card of its suit lying alone
// on its pile where no other card a winning line could lay there is off the foundations:
// the position after it is won wherever the one before is (so the search plays it alone),
// and where the card already lies so, moving it to another pile never wins a position the
// one before it loses. Checked against the plain search on positions reached by random
// play on tight built tables (the table after this test shows the last condition needed).
TEST(SolucionadorFondos, LaCartaSobreLaSiguienteDeSuPaloNoPierdeNada) {
  int comprobadas = 0;
  int quietas = 0;
  for (TPrepararJuego preparar : {PilasApretadas, FondosSolos, PilasMasLlenas}) {
    for (std::int32_t numero = 1; numero <= 120; ++numero) {
      std::mt19937 azar(static_cast<std::uint32_t>(numero) * 2654435761u);
      std::vector<TPaso> linea;
      for (int paso = 0; paso < 10; ++paso) {
        TMesa m;
        preparar(m, numero);
        for (const TPaso& p : linea) ASSERT_TRUE(AplicarPaso(m, p));
        if (m.VentanaPropia.Ganado) break;
        const TSeguras seguras = CalcularSeguras(m, LeerReglas(m));
        ASSERT_TRUE(seguras.Posible);
        const TLeido l = LeerPosicion(m, seguras.Necesita);
        for (const auto& de : m.Pilas) {
          if (de->Grupo->EsFundacion || de->Cantidad < 2) continue;
          const std::uint8_t x = IdCarta(*de->Tope);
          // Lying alone on the next card of its suit: moved to another pile.
          if (de->Cantidad == 2 && IdCarta(*de->Tope->Debajo) == x + 1 &&
              SobreSuSiguiente(x, static_cast<std::uint8_t>(x + 1), seguras.Necesita[x + 1],
                               l.Fuera & ~l.Libres, l.Fondos)) {
            for (const auto& a : m.Pilas) {
              if (a.get() == de.get() || a->Grupo->EsFundacion ||
                  !busqueda::Acepta(m, *de->Tope, *a))
                continue;
              std::vector<TPaso> tras = linea;
              tras.push_back(Arrastre(*de, *a));
              if (GanableCartaACarta(preparar, numero, tras)) {
                EXPECT_TRUE(GanableCartaACarta(preparar, numero, linea)) << "número " << numero;
              }
              ++quietas;
            }
          }
          for (const auto& a : m.Pilas) {
            if (a->Grupo->EsFundacion || a->Cantidad != 1 || IdCarta(*a->Tope) != x + 1 ||
                x % 10 == 9)
              continue;
            ASSERT_TRUE(busqueda::Acepta(m, *de->Tope, *a));
            std::vector<TPaso> tras = linea;
            tras.push_back(Arrastre(*de, *a));
            const bool cumple =
                SobreSuSiguiente(x, static_cast<std::uint8_t>(x + 1), seguras.Necesita[x + 1],
                                 l.Fuera & ~l.Libres, l.Fondos);
            const bool antes = GanableCartaACarta(preparar, numero, linea);
            const bool despues = antes && GanableCartaACarta(preparar, numero, tras);
            if (cumple) {
              EXPECT_EQ(despues, antes) << "número " << numero;
              ++comprobadas;
            }
          }
        }
        const std::vector<TPaso> legales = busqueda::MovimientosLegales(m);
        if (legales.empty()) break;
        linea.push_back(legales[azar() % legales.size()]);
      }
    }
  }
  EXPECT_GE(comprobadas, 100);
  EXPECT_GE(quietas, 50);
}

namespace {

// The Sota de Oros on top of the Rey de Espadas, the Caballo de Oros alone; the Sota de
// Copas on the Siete de Oros, on the Siete de Copas. Won by laying the Sota de Copas on
// the Caballo de Oros first; with the Sota de Oros there, neither Sota can ever move.
void SotaQueEstorba(TMesa& m, std::int32_t numero) {
  m.IniciarJuego(numero, "Sota Que Estorba");
  m.CrearMazo(m.AnchoPantalla + 1, m.AltoPantalla + 1, false, 0);
  TGrupo* tab = m.CrearGrupo("Tab", 0, 15, 3, false, false, false, false);
  m.AgregarReglaApilado(tab, rpCualquiera, -1);
  m.AgregarOrigen(tab, tab);
  const std::array<TPila*, 4> casa = CasasPorPalo(m, tab);
  CasasSalvoLasAltas(m, casa, {4, 4, 1, 0});
  const auto pila = [&](std::int16_t x,
                        std::initializer_list<std::pair<std::uint8_t, std::uint8_t>> cartas) {
    TPila* p = m.PonerPila(tab, x, 150);
    for (const auto& [n, palo] : cartas) m.SacarCarta(n, palo, p);
    return p;
  };
  pila(0, {{10, Espadas}, {8, Oros}});
  pila(70, {{9, Oros}});
  pila(140, {{7, Copas}, {7, Oros}, {8, Copas}});
  pila(210, {{10, Copas}, {9, Copas}, {10, Oros}});
  GanarConLasFundacionesLlenas(m);
}

}  // namespace

// Where another card that could lie on the next card of the suit is still out, laying the
// top card there can lose: the rule's last condition is what keeps the move alone sound,
// and the solver, which reads it, wins the table.
TEST(SolucionadorFondos, OtraCartaQuePodriaIrAlli) {
  TMesa m;
  SotaQueEstorba(m, 1);
  ASSERT_EQ(m.Pilas.size(), 8u);
  TPila& sota = *m.Pilas[4];
  TPila& caballo = *m.Pilas[5];
  const std::uint8_t x = IdCarta(*sota.Tope);
  ASSERT_EQ(IdCarta(*caballo.Tope), x + 1);
  const TSeguras seguras = CalcularSeguras(m, LeerReglas(m));
  const TLeido l = LeerPosicion(m, seguras.Necesita);
  EXPECT_FALSE(SobreSuSiguiente(x, static_cast<std::uint8_t>(x + 1), seguras.Necesita[x + 1],
                                l.Fuera & ~l.Libres, l.Fondos));
  EXPECT_TRUE(GanableCartaACarta(SotaQueEstorba, 1));
  EXPECT_FALSE(GanableCartaACarta(SotaQueEstorba, 1, {Arrastre(sota, caballo)}));
  const TResultado r = Resolver(SotaQueEstorba, 1, {});
  EXPECT_EQ(r.Veredicto, TVeredicto::Ganable);
  EXPECT_TRUE(LineaGana(SotaQueEstorba, 1, {}, r.Pasos));
}
