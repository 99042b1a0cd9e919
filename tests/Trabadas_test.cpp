// Cards that never leave their places where foundations give cards back: the reading
// checked against a plain exhaustive search of every move the table allows (runs, and
// cards and runs taken back from home), on small tables built where it only just holds.
// Taking cards back makes a lost table's positions many: the tables whose search passes a
// bound are left out, the won ones found within it kept.
#include "solver/Trabadas.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <optional>
#include <random>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "games/Registro.h"
#include "solver/Bloqueos.h"
#include "solver/Solucionador.h"
#include "tests/MesasConstruidas.h"
#include "tests/Saneado.h"
#include "tools/Pasos.h"

namespace {

// Piles built down in another suit whose runs move whole when in order, empty piles taking
// only a 10, four foundations by suit that give their top cards back; the highest seven to
// nine cards of the suits off the foundations, dealt at random to as many piles of up to
// four as they need or one more. `Libre`: the piles move any run.
template <bool Libre>
void PilasConTramos(TMesa& m, std::int32_t numero) {
  std::mt19937 azar(static_cast<std::uint32_t>(numero) * 2246822519u);
  m.IniciarJuego(numero, "Pilas Con Tramos");
  m.CrearMazo(m.AnchoPantalla + 1, m.AltoPantalla + 1, false, 0);
  TGrupo* tab = m.CrearGrupo("Tab", 0, 15, 255, false, false, true, Libre);
  m.AgregarReglaApilado(tab, rpOtroPalo, -1);
  m.AgregarReglaVacia(tab, rpCualquiera, 10);
  m.AgregarOrigen(tab, tab);
  const std::array<TPila*, 4> casa = CasasPorPalo(m, tab, true);
  std::array<int, 4> fuera{};
  for (int& f : fuera) f = 3 + static_cast<int>(azar() % 2);
  auto cartas = CasasSalvoLasAltas(m, casa, fuera);
  std::shuffle(cartas.begin(), cartas.end(), azar);
  const std::size_t pilas = (cartas.size() + 5) / 6 + azar() % 2;
  RepartirEnPilas(m, tab, cartas, pilas, 6, azar);
  GanarConLasFundacionesLlenas(m);
}

// Every drag the table accepts, of any face-up card with the cards on it, from the piles
// and from the foundations.
std::vector<TPaso> Arrastres(TMesa& m) {
  std::vector<TPaso> pasos;
  for (const auto& de : m.Pilas) {
    int pos = static_cast<int>(de->Cantidad) - 1;
    for (TCarta* c = de->Tope; c && c->BocaArriba; c = c->Debajo, --pos)
      for (const auto& a : m.Pilas) {
        if (a.get() == de.get()) continue;
        const bool acepta = a->Tope ? m.ArrastrarSobreCarta(*a->Tope, *c, 1, 1)
                                    : m.ArrastrarSobrePila(*a, *c, 1, 1);
        if (acepta) pasos.push_back(TPaso{TPaso::TTipo::Arrastre, de->Numero, pos, a->Numero});
      }
  }
  return pasos;
}

// Every position reached from the line by those drags, each rebuilt from the deal and told
// apart by the cards on every pile: a winning line from the deal, empty where none wins,
// nothing once `limite` positions were seen without a win.
std::optional<std::vector<TPaso>> Ganadora(TPrepararJuego preparar, std::int32_t numero,
                                           const std::vector<TPaso>& desde, std::size_t limite) {
  std::set<std::string> vistas;
  std::vector<std::vector<TPaso>> pendientes{desde};
  while (!pendientes.empty()) {
    const std::vector<TPaso> linea = std::move(pendientes.back());
    pendientes.pop_back();
    TMesa m;
    preparar(m, numero);
    for (const TPaso& p : linea) EXPECT_TRUE(AplicarPaso(m, p)) << EscribirPaso(p);
    if (m.VentanaPropia.Ganado) return linea;
    if (vistas.size() == limite) return std::nullopt;
    if (!vistas.insert(CartasDeLasPilas(m)).second) continue;
    for (const TPaso& p : Arrastres(m)) {
      pendientes.push_back(linea);
      pendientes.back().push_back(p);
    }
  }
  return std::vector<TPaso>{};
}

// The reading of the table as it stands.
bool Trabada(TMesa& m) {
  const TTrabadas t = CalcularTrabadas(m, LeerReglas(m));
  EXPECT_TRUE(t.Posible);
  std::vector<std::vector<std::uint8_t>> cartas;
  std::vector<TMontonTrabado> montones;
  for (const auto& p : m.Pilas) {
    if (p->Grupo->EsFundacion || !p->Tope) continue;
    cartas.push_back(IdsDesdeAbajo(*p));
    const auto g = std::find(m.Grupos.begin(), m.Grupos.end(), p->Grupo) - m.Grupos.begin();
    montones.push_back(TMontonTrabado{nullptr, static_cast<std::uint8_t>(cartas.back().size()),
                                      static_cast<std::uint8_t>(g)});
  }
  for (std::size_t i = 0; i < montones.size(); ++i) montones[i].Cartas = cartas[i].data();
  return HayTrabada(t, montones.data(), montones.size());
}

}  // namespace

// On built tables, the reading calls lost no position on a winning line, nor any position
// of random play from which the plain search finds a win; it finds some lost ones. The
// solver, which reads it at every position, agrees with the plain search on the deals, and
// every line it finds wins. With piles that move any run it finds fewer.
TEST(Trabadas, NuncaLlamaPerdidaUnaPosicionGanable) {
  constexpr std::int32_t kMesas = kSaneado ? 40 : 100;
  constexpr std::size_t kLimite = 3000;
  std::array<int, 2> vistas{};       // positions of random play read as lost
  std::array<int, 2> comprobadas{};  // of those, found lost by the plain search
  int ganables = 0;
  int perdidas = 0;
  for (std::int32_t numero = 1; numero <= kMesas; ++numero) {
    for (const bool libre : {false, true}) {
      const TPrepararJuego preparar = libre ? PilasConTramos<true> : PilasConTramos<false>;
      const auto linea = Ganadora(preparar, numero, {}, kLimite);
      if (linea && !linea->empty()) {
        TMesa m;
        preparar(m, numero);
        for (const TPaso& p : *linea) {
          EXPECT_FALSE(Trabada(m)) << "número " << numero << " antes de " << EscribirPaso(p);
          AplicarPaso(m, p);
        }
      }
      if (!libre && linea) {
        ++(linea->empty() ? perdidas : ganables);
        const TResultado r = Resolver(preparar, numero, {});
        EXPECT_EQ(r.Veredicto, linea->empty() ? TVeredicto::SinSolucion : TVeredicto::Ganable)
            << "número " << numero;
        if (!linea->empty()) {
          EXPECT_TRUE(LineaGana(preparar, numero, {}, r.Pasos)) << "número " << numero;
        }
      }
      // Random play, each position read until the reading calls one lost: the plain
      // search from it must find no win.
      std::mt19937 azar(static_cast<std::uint32_t>(numero) * 40503u + libre);
      std::vector<TPaso> jugadas;
      TMesa m;
      preparar(m, numero);
      for (int paso = 0; paso < 40 && !m.VentanaPropia.Ganado; ++paso) {
        if (Trabada(m)) {
          ++vistas[libre];
          const auto desde = Ganadora(preparar, numero, jugadas, kLimite);
          if (desde) {
            EXPECT_TRUE(desde->empty()) << "número " << numero << " tras " << jugadas.size();
            ++comprobadas[libre];
          }
          break;
        }
        const std::vector<TPaso> pasos = Arrastres(m);
        if (pasos.empty()) break;
        jugadas.push_back(pasos[azar() % pasos.size()]);
        AplicarPaso(m, jugadas.back());
      }
    }
  }
  EXPECT_GE(ganables, kMesas / 10);
  EXPECT_GE(perdidas, 1);
  EXPECT_GE(comprobadas[0], kMesas / 10);
  EXPECT_LT(vistas[1], vistas[0]);
}

// The reading holds where the rules are data and the foundations, one per suit, give
// cards back: of the sixteen games, on Strup alone (the others' foundations keep their
// cards, where Bloqueos.h reads, or their tables decide with their own functions). There
// its deal 481, lost with every Rey held down under cards that wait for one another, is
// proved so at its first position.
TEST(Trabadas, DondeLasFundacionesDevuelven) {
  std::vector<std::string> posibles;
  for (const TJuegoRegistrado& j : Juegos()) {
    TMesa m;
    j.Preparar(m, 1);
    if (CalcularTrabadas(m, LeerReglas(m)).Posible) posibles.emplace_back(j.Clave);
  }
  EXPECT_EQ(posibles, std::vector<std::string>{"Strup"});

  // The same piles with foundations that keep their cards: not read here.
  TMesa m;
  PilasConTramos<false>(m, 1);
  for (TGrupo* g : m.Grupos)
    if (!g->EsFundacion)
      for (TGrupo* f : m.Grupos)
        if (f->EsFundacion) m.QuitarOrigen(g, f);
  EXPECT_FALSE(CalcularTrabadas(m, LeerReglas(m)).Posible);
  EXPECT_TRUE(CalcularBloqueos(m, LeerReglas(m)).Posible);

  const TJuegoRegistrado* strup = nullptr;
  for (const TJuegoRegistrado& j : Juegos())
    if (std::string(j.Clave) == "Strup") strup = &j;
  ASSERT_NE(strup, nullptr);
  TMesa t;
  strup->Preparar(t, 481);
  EXPECT_TRUE(Trabada(t));
  const TResultado r = Resolver(strup->Preparar, 481, {});
  EXPECT_EQ(r.Veredicto, TVeredicto::SinSolucion);
  EXPECT_LE(r.Posiciones, 10u);
}
