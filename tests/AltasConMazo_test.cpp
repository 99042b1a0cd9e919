// The high cards' game where runs move and the stock turns round: a position it calls lost
// is lost for a plain exhaustive search of every reachable position, and no position on a
// winning line is called lost.
#include "solver/AltasConMazo.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <random>
#include <vector>

#include "engine/Mesa.h"
#include "games/Registro.h"
#include "solver/Solucionador.h"
#include "tests/Busqueda.h"
#include "tests/MesasConstruidas.h"
#include "tests/Saneado.h"

namespace {

// The table as the reading takes it: the piles off the foundations and the stock's, the
// empty ones that take a card, the stock's and its waste's cards, the cards home.
struct TLectura {
  std::vector<std::vector<std::uint8_t>> Cartas;
  std::vector<TMontonBloqueable> Montones;
  std::size_t Vacias = 0;
  bool HayVacia = false;
  std::uint64_t EnMazo = 0;
  std::uint64_t EnCasa = 0;
};

TLectura Leer(const TMesa& m) {
  TLectura l;
  std::vector<std::uint8_t> cubiertas;
  for (const auto& p : m.Pilas) {
    const std::vector<std::uint8_t> ids = IdsDesdeAbajo(*p);
    std::uint64_t bits = 0;
    for (const std::uint8_t id : ids) bits |= std::uint64_t{1} << id;
    if (p->Grupo->EsFundacion) {
      l.EnCasa |= bits;
    } else if (m.Mazo && p.get() == m.Mazo->Descarte) {
      l.EnMazo |= bits;
    } else if (ids.empty()) {
      l.Vacias += !p->Grupo->ReglasVacia.empty();
      l.HayVacia = l.HayVacia || !p->Grupo->ReglasVacia.empty();
    } else {
      // The face-down cards lie at the bottom, under the first face-up one.
      std::uint8_t abajo = 0;
      for (const TCarta* c = p->Tope; c; c = c->Debajo)
        if (!c->BocaArriba) ++abajo;
      l.Cartas.push_back(ids);
      cubiertas.push_back(abajo);
    }
  }
  if (m.Mazo)
    for (const TCarta* c = m.Mazo->TopeMazo; c; c = c->Debajo) l.EnMazo |= std::uint64_t{1} << IdCarta(*c);
  for (std::size_t i = 0; i < l.Cartas.size(); ++i)
    l.Montones.push_back(TMontonBloqueable{l.Cartas[i].data(),
                                           static_cast<std::uint8_t>(l.Cartas[i].size()),
                                           cubiertas[i]});
  return l;
}

TJuegoDeAltasConMazo::TFin Jugar(const TBloqueos& b, const TLectura& l, std::size_t hasta,
                                 std::size_t limite = 2000000) {
  TJuegoDeAltasConMazo juego(b, l.Montones.data(), l.Montones.size(), l.Vacias, l.EnMazo,
                             l.EnCasa, hasta);
  return juego.Seguir(limite);
}

// A stock that deals one card to its waste and turns round without end, piles building
// down by the other suit pair whose empty ones take a Rey, four foundations by suit taking
// from the piles and the waste, holding `enCasa` cards of each suit.
TGrupo* MesaConMazo(TMesa& m, std::int32_t numero, const std::array<std::uint8_t, 4>& enCasa) {
  m.IniciarJuego(numero, "Altas Con Mazo");
  m.CrearMazo(10, 10, true, -1);
  TGrupo* tab = m.CrearGrupo("Tab", 0, 15, 255, true, false, false, false);
  TGrupo* rm = m.CrearGrupo("RM", 0, 0, 255, false, false, false, false);
  m.AgregarReglaApilado(tab, rpOtroPar, -1);
  m.AgregarReglaVacia(tab, rpCualquiera, 10);
  m.AgregarOrigen(tab, tab);
  m.AgregarOrigen(tab, rm);
  TPila* descarte = m.PonerPila(rm, 10, 100);
  m.AgregarDestinoMazo(descarte, 1);
  m.Mazo->Descarte = descarte;
  for (std::uint8_t palo = 0; palo < 4; ++palo) {
    TGrupo* f = m.CrearGrupo("Fund", 0, 0, 10, false, false, false, false);
    m.AgregarReglaApilado(f, rpMismoPalo, 1);
    m.AgregarOrigen(f, tab);
    m.AgregarOrigen(f, rm);
    TPila* casa = m.PonerPila(f, static_cast<std::int16_t>(100 + 100 * palo), 10);
    m.DefinirFundacion(f, palo, 1, casa);
    for (std::uint8_t n = 1; n <= enCasa[palo]; ++n) m.SacarCarta(n, palo, casa);
  }
  return tab;
}

// A pile of `tab` at `x`, the cards (rank, suit) bottom first, all but the top face down.
void Monton(TMesa& m, TGrupo* tab, std::int16_t x,
            const std::vector<std::pair<std::uint8_t, std::uint8_t>>& cartas) {
  TPila* p = m.PonerPila(tab, x, 150);
  for (const auto& [numero, palo] : cartas) {
    if (p->Tope) m.PonerBocaAbajo(*p->Tope);
    m.SacarCarta(numero, palo, p);
  }
}

// Small random tables of that frame: each suit home to its Seis, Siete or Sota, the cards
// left dealt at random to three piles, all but the top face down, but for two or three
// kept in the stock; sometimes a fourth pile, empty.
void PrepararAlAzar(TMesa& m, std::int32_t n) {
  std::mt19937 azar(static_cast<std::uint32_t>(n) * 2654435761u);
  std::array<std::uint8_t, 4> enCasa{};
  std::vector<std::pair<std::uint8_t, std::uint8_t>> fuera;
  for (std::uint8_t palo = 0; palo < 4; ++palo) {
    enCasa[palo] = static_cast<std::uint8_t>(6 + azar() % 3);
    for (std::uint8_t numero = static_cast<std::uint8_t>(enCasa[palo] + 1); numero <= 10; ++numero)
      fuera.emplace_back(numero, palo);
  }
  TGrupo* tab = MesaConMazo(m, n, enCasa);
  std::shuffle(fuera.begin(), fuera.end(), azar);
  const std::size_t enElMazo = 2 + azar() % 2;
  std::array<std::vector<std::pair<std::uint8_t, std::uint8_t>>, 3> pilas;
  for (std::size_t i = enElMazo; i < fuera.size(); ++i) pilas[azar() % 3].push_back(fuera[i]);
  for (std::size_t i = 0; i < pilas.size(); ++i)
    if (!pilas[i].empty()) Monton(m, tab, static_cast<std::int16_t>(100 + 80 * i), pilas[i]);
  if (azar() % 2) m.PonerPila(tab, 400, 150);
  GanarConLasFundacionesLlenas(m);
}

// Whether a plain exhaustive search wins the dealt table (Ganable), finds no line after
// every reachable position (SinSolucion), or ran past its limit.
TVeredicto Llano(TMesa& m, std::size_t limite) {
  busqueda::TBuscador b{.Mesa = m, .LimiteNodos = limite};
  const bool hallada = b.Buscar(400);
  b.Deshacer();
  if (hallada) return TVeredicto::Ganable;
  return b.Nodos < limite ? TVeredicto::SinSolucion : TVeredicto::NoSeSabe;
}

// Each suit home to its Sota but Copas to its Siete and Bastos to its Seis. One pile holds
// the Rey de Copas and the Sota de Copas face down under the Rey de Oros; the other the
// Rey de Bastos, the Siete de Bastos, the Caballo de Oros and the Caballo de Copas face down
// under the Rey de Espadas; the stock the Sota and the Caballo de Bastos and the Caballo de
// Espadas. The Rey de Oros waits for its Caballo, under the Rey de Espadas; that Rey can
// only go home (no pile can empty), and then the Caballo de Copas, which it covers, has no
// black Rey to lie on and its Sota lies under the Rey de Oros: lost. No card is stuck at
// once: each has a place still open. `vacia`: one more pile, empty, takes the Rey de
// Espadas, the Caballo de Copas goes on it, and the game is won.
void PrepararReyQueTapa(TMesa& m, bool vacia) {
  TGrupo* tab = MesaConMazo(m, 1, {8, 7, 8, 6});
  Monton(m, tab, 100, {{10, Copas}, {8, Copas}, {10, Oros}});
  Monton(m, tab, 180, {{10, Bastos}, {7, Bastos}, {9, Oros}, {9, Copas}, {10, Espadas}});
  if (vacia) m.PonerPila(tab, 260, 150);
  GanarConLasFundacionesLlenas(m);
}
void PrepararReyQueTapaPerdida(TMesa& m, std::int32_t) { PrepararReyQueTapa(m, false); }
void PrepararReyQueTapaGanable(TMesa& m, std::int32_t) { PrepararReyQueTapa(m, true); }

}  // namespace

// The table above is lost, as the plain search finds, though no card is stuck for good nor
// waits on one with no way out: the game above the Seis (and any lower rank) proves it, and
// the search ends at its first position; its twin with an empty pile is won by all.
TEST(AltasConMazo, UnReyQueTapaElCaballoQueLoNecesita) {
  for (const bool vacia : {false, true}) {
    const TPrepararJuego preparar = vacia ? PrepararReyQueTapaGanable : PrepararReyQueTapaPerdida;
    TMesa m;
    preparar(m, 1);
    EXPECT_EQ(Llano(m, 200000), vacia ? TVeredicto::Ganable : TVeredicto::SinSolucion) << vacia;
    const TBloqueos b = CalcularBloqueos(m, LeerReglas(m));
    ASSERT_TRUE(b.Posible);
    const TLectura l = Leer(m);
    EXPECT_FALSE(HayBloqueo(b, l.Montones.data(), l.Montones.size(), l.EnCasa, l.EnMazo, l.HayVacia));
    EXPECT_FALSE(HayEsperaSinSalida(b, l.Montones.data(), l.Montones.size(), l.EnCasa, l.EnMazo, 0));
    for (std::size_t hasta = 0; hasta <= 5; ++hasta)
      EXPECT_EQ(Jugar(b, l, hasta), vacia ? TJuegoDeAltasConMazo::TFin::Ganable
                                          : TJuegoDeAltasConMazo::TFin::SinSalida)
          << vacia << " above " << hasta;
    const TResultado r = Resolver(preparar, 1, {});
    EXPECT_EQ(r.Veredicto, vacia ? TVeredicto::Ganable : TVeredicto::SinSolucion) << vacia;
    if (!vacia) {
      EXPECT_LE(r.Posiciones, 1u);
    }
  }
}

// On random small tables: the game never calls lost a table a line wins, at any rank from
// the As to the Caballo; where it calls one lost above a rank it does so above every lower
// rank too (fewer cards free), and it finds lost tables that no card stuck for good, nor
// a card waiting on one with no way out, explains. The search agrees with the plain one.
TEST(AltasConMazo, NuncaLlamaPerdidaUnaMesaGanable) {
  const int cuantas = kSaneado ? 40 : 300;
  int ganadas = 0;
  int perdidas = 0;
  int soloEsta = 0;
  for (std::int32_t n = 1; n <= cuantas; ++n) {
    TMesa m;
    PrepararAlAzar(m, n);
    const TVeredicto llano = Llano(m, 200000);
    if (llano == TVeredicto::NoSeSabe) continue;
    const TBloqueos b = CalcularBloqueos(m, LeerReglas(m));
    ASSERT_TRUE(b.Posible);
    const TLectura l = Leer(m);
    bool perdidaMas = false;  // lost above a higher rank
    bool alguna = false;
    for (std::size_t hasta = 9; hasta-- > 0;) {
      const auto fin = Jugar(b, l, hasta);
      ASSERT_NE(fin, TJuegoDeAltasConMazo::TFin::Sigue) << n << " " << hasta;
      const bool perdida = fin == TJuegoDeAltasConMazo::TFin::SinSalida;
      if (llano == TVeredicto::Ganable) {
        EXPECT_FALSE(perdida) << "table " << n << " above " << hasta;
      }
      EXPECT_TRUE(perdida || !perdidaMas) << "table " << n << " above " << hasta;
      perdidaMas = perdidaMas || perdida;
      alguna = alguna || perdida;
    }
    (llano == TVeredicto::Ganable ? ganadas : perdidas) += 1;
    if (alguna && !HayBloqueo(b, l.Montones.data(), l.Montones.size(), l.EnCasa, l.EnMazo,
                              l.HayVacia) &&
        !HayEsperaSinSalida(b, l.Montones.data(), l.Montones.size(), l.EnCasa, l.EnMazo, 0))
      ++soloEsta;
    const TResultado r = Resolver(PrepararAlAzar, n, {}, TLimites{.Milisegundos = 600000, .Posiciones = 2000000});
    EXPECT_EQ(r.Veredicto, llano) << "table " << n;
  }
  EXPECT_GT(ganadas, cuantas / 10);
  EXPECT_GT(perdidas, cuantas / 10);
  EXPECT_GE(soloEsta, kSaneado ? 1 : 5);
}

// Along the search's winning lines of some deals of the game with seven piles, every
// position is winnable: the game calls none of them lost, above any rank.
TEST(AltasConMazo, NadaPerdidoEnUnaLineaGanadora) {
  const TJuegoRegistrado& juego = *BuscarRegistro("SolitarioDeLosSieteMontones");
  const std::int32_t numeros[] = {2, 3, 5, 95, 273};
  int leidas = 0;
  for (std::size_t k = 0; k < (kSaneado ? 1 : std::size(numeros)); ++k) {
    const TResultado r =
        Resolver(juego.Preparar, numeros[k], {}, TLimites{.Milisegundos = 600000});
    ASSERT_EQ(r.Veredicto, TVeredicto::Ganable) << numeros[k];
    TMesa m;
    juego.Preparar(m, numeros[k]);
    const TBloqueos b = CalcularBloqueos(m, LeerReglas(m));
    ASSERT_TRUE(b.Posible);
    for (const TPaso& paso : r.Pasos) {
      if (paso.Tipo != TPaso::TTipo::Mazo) {
        const TLectura l = Leer(m);
        for (std::size_t hasta = 0; hasta <= 6; ++hasta) {
          EXPECT_NE(Jugar(b, l, hasta, 300000), TJuegoDeAltasConMazo::TFin::SinSalida)
              << numeros[k] << " step " << EscribirPaso(paso) << " above " << hasta;
          ++leidas;
        }
      }
      ASSERT_TRUE(AplicarPaso(m, paso)) << EscribirPaso(paso);
    }
    EXPECT_TRUE(busqueda::Ganado(m));
  }
  EXPECT_GT(leidas, 100);
}
