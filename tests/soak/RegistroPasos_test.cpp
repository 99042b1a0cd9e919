// The step log: random play in every game, and after every step the log replayed on a
// table of its own through the table tool's steps gives the live table.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "tests/soak/Jugador.h"
#include "tools/Pasos.h"

namespace {

int IndiceGrupo(const TMesa& m, const TGrupo* g) {
  for (std::size_t i = 0; i < m.Grupos.size(); ++i)
    if (m.Grupos[i] == g) return static_cast<int>(i);
  return -1;
}

int Profundidad(const TJugada* hasta) {
  int n = 0;
  for (const TJugada* j = hasta; j; j = j->Anterior) ++n;
  return n;
}

// One line per card, pile and counter: everything the player sees and the history's
// shape, free of pointers so that two tables can be compared.
std::vector<std::string> Describir(const TMesa& m) {
  std::vector<std::string> r;
  auto imagen = [](const TImagen& i) {
    return std::to_string(static_cast<int>(i.Tipo)) + "/" + std::to_string(i.Indice);
  };
  for (const auto& c : m.Cartas) {
    int pos = 0;
    for (const TCarta* d = c->Debajo; d; d = d->Debajo) ++pos;
    std::ostringstream s;
    s << "carta " << NotacionCarta(*c) << " pila " << (c->Pila ? c->Pila->Numero : 0) << "."
      << pos << " en " << c->Left << "," << c->Top << (c->Visible ? " visible" : " oculta")
      << " " << imagen(c->Imagen);
    r.push_back(s.str());
  }
  for (const auto& p : m.Pilas) {
    std::ostringstream s;
    s << "pila " << p->Numero << " grupo " << IndiceGrupo(m, p->Grupo) << " cantidad "
      << int(p->Cantidad) << " en " << p->Left << "," << p->Top << (p->Visible ? " visible " : " oculta ")
      << imagen(p->Imagen) << " orígenes";
    for (const TGrupo* o : p->Grupo->Origenes) s << " " << IndiceGrupo(m, o);
    r.push_back(s.str());
  }
  if (m.Mazo)
    r.push_back("mazo " + std::to_string(m.Mazo->CartasMazo) + " reutilizaciones " +
                std::to_string(m.Mazo->Reutilizaciones) + " " + imagen(m.Mazo->Imagen));
  for (const auto& panel : m.Paneles) r.push_back("panel " + panel);
  std::ostringstream s;
  s << "movimientos " << m.Movimientos << " minutos " << m.Minutos << " deshacer "
    << m.DeshacerHabilitado << " volver " << m.VolverHabilitado << " historial "
    << Profundidad(m.Historial) << " instantánea " << Profundidad(m.Instantanea)
    << " terminado " << m.JuegoTerminado;
  r.push_back(s.str());
  // Stacking: the counter runs on over deals, so only the order of the controls counts.
  std::vector<std::pair<std::uint64_t, std::string>> pila;
  for (const auto& c : m.Cartas) pila.emplace_back(c->Orden, NotacionCarta(*c));
  for (const auto& p : m.Pilas) pila.emplace_back(p->Orden, "p" + std::to_string(p->Numero));
  std::stable_sort(pila.begin(), pila.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  std::string orden = "orden";
  for (const auto& [_, nombre] : pila) orden += " " + nombre;
  r.push_back(orden);
  return r;
}

std::string Comparar(const TMesa& viva, const TMesa& repetida) {
  const auto a = Describir(viva);
  const auto b = Describir(repetida);
  if (a.size() != b.size()) return "las mesas tienen otra forma";
  for (std::size_t i = 0; i < a.size(); ++i)
    if (a[i] != b[i]) return "en vivo «" + a[i] + "», repetida «" + b[i] + "»";
  if (viva.Pasos != repetida.Pasos) return "la mesa repetida anotó otros pasos";
  return {};
}

class RegistroPasos : public ::testing::TestWithParam<std::size_t> {};

TEST_P(RegistroPasos, RepetirElRegistroDaLaMismaMesaTrasCadaPaso) {
  const TJuegoRegistrado& juego = Juegos()[GetParam()];
  TMesa repetida;
  std::size_t aplicados = 0;
  long anotados = 0;
  auto observar = [&](TMesa& m, bool nuevo) -> std::string {
    if (nuevo) {
      if (!m.Pasos.empty()) return "el reparto empieza con pasos anotados";
      repetida.LiberarMesa();
      repetida.VentanaPropia.Ganado = false;
      juego.Preparar(repetida, m.NumeroJuego);
      aplicados = 0;
    }
    if (m.Pasos.size() < aplicados) return "el registro perdió pasos";
    for (; aplicados < m.Pasos.size(); ++aplicados, ++anotados) {
      const auto paso = LeerPaso(m.Pasos[aplicados]);
      if (!paso) return "paso ilegible «" + m.Pasos[aplicados] + "»";
      if (!AplicarPaso(repetida, *paso))
        return "el paso «" + m.Pasos[aplicados] + "» no hizo nada al repetirlo";
    }
    if (m.VentanaPropia.Ganado != repetida.VentanaPropia.Ganado) return "una sola mesa ganó";
    return Comparar(m, repetida);
  };
  const TResultadoSoak r = JugarAlAzar(juego, 12, 250, observar);
  ASSERT_EQ(r.Falla, "");
  // Most steps of the player change the table and so enter the log.
  EXPECT_GT(anotados, r.Pasos / 3) << juego.Nombre;
}

INSTANTIATE_TEST_SUITE_P(Juegos, RegistroPasos, ::testing::Range<std::size_t>(0, 16),
                         [](const ::testing::TestParamInfo<std::size_t>& i) {
                           return std::string(Juegos()[i.param].Modulo);
                         });

// What is not an action leaves no step: an undo with an empty history, a refused drop, a
// click on a stock that can deal nothing more; and a restart's undos are not steps.
TEST(RegistroPasos, SoloLasAccionesQueOcurrieron) {
  const TJuegoRegistrado& juego = Juegos()[0];
  TMesa m;
  juego.Preparar(m, 11);
  m.Deshacer();
  m.VolverAInstantanea();
  EXPECT_TRUE(m.Pasos.empty());
  TCarta* arriba = nullptr;
  for (const auto& p : m.Pilas)
    if (p->Tope && p->Tope->BocaArriba) arriba = p->Tope;
  ASSERT_NE(arriba, nullptr);
  m.ClickMazo();
  m.ClickMazo();
  m.TomarInstantanea();
  m.TomarInstantanea();
  const auto antes = m.Pasos;
  ASSERT_FALSE(antes.empty());
  EXPECT_EQ(antes.back(), "i");
  EXPECT_EQ(std::count(antes.begin(), antes.end(), "i"), 1);
  m.Reiniciar();
  EXPECT_EQ(m.Pasos.size(), antes.size() + 1);
  EXPECT_EQ(m.Pasos.back(), "r");
  juego.Preparar(m, 12);
  EXPECT_TRUE(m.Pasos.empty());
}

}  // namespace
