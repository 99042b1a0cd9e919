// The engine's drag decisions against the rules stated apart from it, over random play of
// every game: each face-up card asked over each pile at every step, and every automatic
// move sent where the rules send it.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "games/Registro.h"
#include "tests/soak/ReglasIndependientes.h"
#include "tools/Pasos.h"

namespace {

using T = TPaso::TTipo;

bool MotorAcepta(TMesa& m, TCarta& carta, TPila& pila) {
  return pila.Tope ? m.ArrastrarSobreCarta(*pila.Tope, carta, 1, 1) : m.ArrastrarSobrePila(pila, carta, 1, 1);
}

struct TCuenta {
  long Aceptadas = 0;
  long Rechazadas = 0;
  std::string Desacuerdo;
};

// Every face-up card over every pile: what the engine says, and whether the rules agree.
void CompararTodo(TMesa& m, TCuenta& cuenta) {
  for (const auto& desde : m.Pilas)
    for (TCarta* c = desde->Tope; c; c = c->Debajo) {
      if (!c->BocaArriba) continue;
      for (const auto& hacia : m.Pilas) {
        const bool acepta = MotorAcepta(m, *c, *hacia);
        (acepta ? cuenta.Aceptadas : cuenta.Rechazadas)++;
        if (acepta != MovimientoPermitido(m, *c, *hacia) && cuenta.Desacuerdo.empty())
          cuenta.Desacuerdo = m.NombreJuego + " " + std::to_string(m.NumeroJuego) + ": " + NotacionCarta(*c) +
                              " de la pila " + std::to_string(desde->Numero) + " a la " +
                              std::to_string(hacia->Numero) + (acepta ? " aceptada" : " rechazada");
      }
    }
}

// Seeded random play that goes deep: mostly moves the engine accepts.
TCuenta JugarYComparar(const TJuegoRegistrado& juego, int repartos, int pasos) {
  TCuenta cuenta;
  std::mt19937 azar(20261208u + static_cast<unsigned>(juego.ContextoAyuda));
  for (int r = 0; r < repartos && cuenta.Desacuerdo.empty(); ++r) {
    TMesa m;
    juego.Preparar(m, 1000 + r * 7919);
    for (int k = 0; k < pasos && cuenta.Desacuerdo.empty() && !m.VentanaPropia.Ganado; ++k) {
      CompararTodo(m, cuenta);
      std::vector<TPaso> legales, automaticos;
      for (const auto& desde : m.Pilas) {
        int pos = desde->Cantidad - 1;
        for (TCarta* c = desde->Tope; c; c = c->Debajo, --pos) {
          if (!c->BocaArriba) continue;
          automaticos.push_back(TPaso{T::Automatico, desde->Numero, pos});
          for (const auto& hacia : m.Pilas)
            if (hacia != desde && MotorAcepta(m, *c, *hacia))
              legales.push_back(TPaso{T::Arrastre, desde->Numero, pos, hacia->Numero});
        }
      }
      const auto dado = static_cast<unsigned>(azar() % 10);
      if (dado < 6 && !legales.empty()) {
        AplicarPaso(m, legales[azar() % legales.size()]);
      } else if (dado < 8 && !automaticos.empty()) {
        const TPaso paso = automaticos[azar() % automaticos.size()];
        TCarta* carta = m.Pilas[static_cast<std::size_t>(paso.Pila - 1)]->Tope;
        for (int i = m.Pilas[static_cast<std::size_t>(paso.Pila - 1)]->Cantidad - 1; i > paso.Posicion; --i)
          carta = carta->Debajo;
        const TPila* antes = carta->Pila;
        const TPila* esperado = DestinoAutomatico(m, *carta);
        AplicarPaso(m, paso);
        if (carta->Pila != (esperado ? esperado : antes) && cuenta.Desacuerdo.empty())
          cuenta.Desacuerdo = m.NombreJuego + ": movimiento automático de " + NotacionCarta(*carta) +
                              " a otra pila";
      } else {
        AplicarPaso(m, TPaso{azar() % 5 == 0 ? T::Deshacer : T::Mazo});
      }
    }
  }
  return cuenta;
}

class ReglasIndependientes : public ::testing::TestWithParam<std::size_t> {};

TEST_P(ReglasIndependientes, ElMotorDecideComoLasReglas) {
  const TCuenta cuenta = JugarYComparar(Juegos()[GetParam()], 10, 120);
  EXPECT_EQ(cuenta.Desacuerdo, "");
  // Both answers are asked many times, or the comparison proves little.
  EXPECT_GT(cuenta.Aceptadas, 50);
  EXPECT_GT(cuenta.Rechazadas, 500);
}

INSTANTIATE_TEST_SUITE_P(Juegos, ReglasIndependientes, ::testing::Range<std::size_t>(0, 16),
                         [](const ::testing::TestParamInfo<std::size_t>& i) {
                           return std::string(Juegos()[i.param].Modulo);
                         });

// The comparison sees an engine that decides wrongly: one that lets any card of another
// suit also take the same suit, and one that takes everything.
bool ApilarConMismoPalo(TCarta& carta, TPila& pila) {
  if (ApilarPorReglas(carta, pila)) return true;
  if (!pila.Tope || pila.Tope->Palo != carta.Palo) return false;
  for (TRegla& r : pila.Grupo->ReglasApilado)
    if (r.Relacion == rpOtroPalo) {
      const TRegla original = r;
      r.Relacion = rpCualquiera;
      const bool admite = ApilarPorReglas(carta, pila);
      r = original;
      if (admite) return true;
    }
  return false;
}

TEST(ReglasIndependientes, VeUnMotorQueDecideMal) {
  const TJuegoRegistrado* juego = BuscarRegistro("YukonEspannol");
  ASSERT_NE(juego, nullptr);
  bool visto = false;
  for (int numero = 1; numero <= 20 && !visto; ++numero) {
    TMesa m;
    juego->Preparar(m, numero);
    m.PuedeApilar = ApilarConMismoPalo;
    TCuenta cuenta;
    CompararTodo(m, cuenta);
    visto = !cuenta.Desacuerdo.empty();
  }
  EXPECT_TRUE(visto);

  TMesa m;
  juego->Preparar(m, 1);
  m.PuedeApilar = [](TCarta&, TPila&) { return true; };
  TCuenta cuenta;
  CompararTodo(m, cuenta);
  EXPECT_NE(cuenta.Desacuerdo, "");
}

}  // namespace
