// Redo: what undo took back comes again through the entry point that first made it, with
// the same cards, the moves that step counted, and a step log that still replays.
#include <gtest/gtest.h>

#include <random>
#include <sstream>

#include "games/Registro.h"
#include "tools/Pasos.h"

namespace {

using T = TPaso::TTipo;

// Where every card lies and how, the stock and the panels: what the player sees.
std::string Cartas(const TMesa& m) {
  std::ostringstream s;
  for (const auto& c : m.Cartas) {
    int pos = 0;
    for (const TCarta* d = c->Debajo; d; d = d->Debajo) ++pos;
    s << NotacionCarta(*c) << "@" << (c->Pila ? c->Pila->Numero : 0) << "." << pos << ":"
      << c->Left << "," << c->Top << " ";
  }
  if (m.Mazo) s << "| mazo " << m.Mazo->CartasMazo << " " << int(m.Mazo->Reutilizaciones);
  // The waste's panel is left out: its text at creation is not the one its hook writes.
  s << " | " << m.Paneles[PanelMazo] << " | " << m.Paneles[PanelReutilizaciones];
  return s.str();
}

struct THecho {
  int Profundidad;   // of the history before the step
  int Movimientos;   // the step counted
  std::string Mesa;  // after it
};

class Rehacer : public ::testing::TestWithParam<std::size_t> {};

// Random play with runs of undos followed by as many redos: each redo gives back the
// table that step made and counts what it counted; the log replays to the live table.
TEST_P(Rehacer, DevuelveLoDeshechoYElRegistroSeRepite) {
  const TJuegoRegistrado& juego = Juegos()[GetParam()];
  std::mt19937 azar(static_cast<unsigned>(GetParam()) * 7919u + 1u);
  int rehechos = 0;
  for (std::int32_t numero : {3, 77, 1234}) {
    TMesa m;
    juego.Preparar(m, numero);
    std::vector<THecho> hechos;
    for (int paso = 0; paso < 60 && !m.VentanaPropia.Ganado; ++paso) {
      const auto legales = PasosLegales(m, true);
      if (legales.empty()) break;
      const TPaso elegido = legales[azar() % legales.size()];
      const int profundidad = m.ProfundidadHistorial();
      const std::uint16_t antes = m.Movimientos;
      if (!HacerPaso(m, elegido) || m.ProfundidadHistorial() == profundidad) continue;
      ASSERT_FALSE(m.PuedeRehacer()) << "una acción nueva no olvida lo deshecho";
      hechos.push_back({profundidad, m.Movimientos - antes, Cartas(m)});
      if (azar() % 4 != 0) continue;
      // Undo one to three whole steps, then redo them all.
      const std::size_t k = std::min<std::size_t>(1 + azar() % 3, hechos.size());
      for (std::size_t i = 0; i < k; ++i)
        while (m.ProfundidadHistorial() > hechos[hechos.size() - 1 - i].Profundidad)
          m.Deshacer();
      for (std::size_t i = k; i-- > 0;) {
        const THecho& h = hechos[hechos.size() - 1 - i];
        ASSERT_TRUE(m.PuedeRehacer()) << juego.Nombre << " #" << numero;
        const std::uint16_t previos = m.Movimientos;
        ASSERT_TRUE(::Rehacer(m)) << juego.Nombre << " #" << numero;
        ++rehechos;
        EXPECT_EQ(m.Movimientos - previos, h.Movimientos) << juego.Nombre << " #" << numero;
        ASSERT_EQ(Cartas(m), h.Mesa) << juego.Nombre << " #" << numero << " tras "
                                     << m.Pasos.back();
      }
      EXPECT_FALSE(m.PuedeRehacer());
      EXPECT_FALSE(::Rehacer(m));
    }
    if (m.FinJuegoArmado) m.VerificarFinAhora();
    TMesa repetida;
    juego.Preparar(repetida, numero);
    for (const std::string& texto : m.Pasos) {
      const auto paso = LeerPaso(texto);
      ASSERT_TRUE(paso && AplicarPaso(repetida, *paso)) << texto;
    }
    EXPECT_EQ(Cartas(repetida), Cartas(m)) << juego.Nombre << " #" << numero;
    EXPECT_EQ(repetida.Movimientos, m.Movimientos);
  }
  EXPECT_GT(rehechos, 0) << juego.Nombre;
}

INSTANTIATE_TEST_SUITE_P(Juegos, Rehacer, ::testing::Range<std::size_t>(0, 16),
                         [](const ::testing::TestParamInfo<std::size_t>& i) {
                           return std::string(Juegos()[i.param].Modulo);
                         });

// A return to the snapshot is undone step by step by redo; a snapshot does not end redo,
// a restart does; with nothing undone redo does nothing and writes nothing.
TEST(RehacerInstantanea, VolverRestartYNada) {
  // A game whose stock deals to a waste.
  TMesa m;
  for (const TJuegoRegistrado& juego : Juegos()) {
    juego.Preparar(m, 11);
    if (m.Mazo && m.Mazo->EnMesa && m.Mazo->Descarte) break;
  }
  ASSERT_TRUE(m.Mazo && m.Mazo->Descarte);
  EXPECT_FALSE(::Rehacer(m));
  EXPECT_TRUE(m.Pasos.empty());
  m.TomarInstantanea();
  m.ClickMazo();
  m.ClickMazo();
  ASSERT_EQ(m.ProfundidadHistorial(), 2) << m.Pasos.size();
  const std::string tras = Cartas(m);
  const std::uint16_t movidas = m.Movimientos;
  m.VolverAInstantanea();
  EXPECT_FALSE(m.VolverHabilitado);
  m.TomarInstantanea();
  ASSERT_TRUE(m.PuedeRehacer());
  ASSERT_TRUE(::Rehacer(m));
  ASSERT_TRUE(::Rehacer(m));
  EXPECT_EQ(Cartas(m), tras);
  // Two clicks, their two undos and two redone clicks, each counted once.
  EXPECT_EQ(m.Movimientos, 2 * movidas + movidas);
  EXPECT_EQ(m.Pasos.back(), "m");
  m.Deshacer();
  m.Reiniciar();
  EXPECT_FALSE(m.PuedeRehacer());
}

}  // namespace
