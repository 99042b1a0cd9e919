// The rules read as data against the engine's own decisions: on random positions reached
// by play in every game without hooks, no decision accepts a card the data leave out; in
// the games whose own rule functions decide, none accepts a card their reading left out.
#include "solver/Reglas.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <random>
#include <string>
#include <vector>

#include "games/Registro.h"
#include "tools/Pasos.h"

namespace {

bool Acepta(TMesa& m, TCarta& carta, TPila& destino) {
  return destino.Tope ? m.ArrastrarSobreCarta(*destino.Tope, carta, 1, 1)
                      : m.ArrastrarSobrePila(destino, carta, 1, 1);
}

std::size_t IndiceGrupo(const TMesa& m, const TGrupo* g) {
  for (std::size_t i = 0; i < m.Grupos.size(); ++i)
    if (m.Grupos[i] == g) return i;
  return m.Grupos.size();
}

// Random play from the table's position, up to `pasos` steps: before each one, `ver` is
// shown every drag the engine accepts, the card and the pile it would go to. It stops at
// the first fatal failure.
template <class FVer>
void JugarAlAzar(TMesa& m, std::mt19937& azar, int pasos, FVer ver) {
  for (int paso = 0; paso < pasos; ++paso) {
    std::vector<TPaso> jugadas;
    for (const auto& desde : m.Pilas) {
      int pos = desde->Cantidad - 1;
      for (TCarta* c = desde->Tope; c && c->BocaArriba; c = c->Debajo, --pos) {
        for (const auto& hacia : m.Pilas) {
          if (hacia.get() == desde.get() || !Acepta(m, *c, *hacia)) continue;
          ver(*c, *hacia);
          if (::testing::Test::HasFatalFailure()) return;
          jugadas.push_back(TPaso{TPaso::TTipo::Arrastre, desde->Numero, pos, hacia->Numero});
        }
      }
    }
    if (m.Mazo && m.Mazo->EnMesa) jugadas.push_back(TPaso{TPaso::TTipo::Mazo});
    if (jugadas.empty()) return;
    AplicarPaso(m, jugadas[azar() % jugadas.size()]);
  }
}

// A drag the engine accepted of `c` onto `hacia` (of group `g`): the reading must take the
// card there, on a full pile too, and with cards on it where it has some.
void EsperarLeida(const TGanchosComoDatos& ganchos, const char* clave, std::int32_t numero,
                  const TCarta& c, const TPila& hacia, std::size_t g) {
  const std::uint64_t admite = hacia.Tope ? ganchos.ApilaGanchos[g][IdCarta(*hacia.Tope)]
                                          : ganchos.VaciaGanchos[g];
  ASSERT_TRUE(admite >> IdCarta(c) & 1)
      << clave << " " << numero << ": " << NotacionCarta(c) << " a la pila " << hacia.Numero;
  if (hacia.Tope && hacia.Cantidad == hacia.Grupo->Capacidad) {
    ASSERT_TRUE(ganchos.LlenaToma[g]) << clave << " " << numero << ": " << NotacionCarta(c)
                                      << " a la pila llena " << hacia.Numero;
  }
  if (c.Encima) {
    ASSERT_TRUE(hacia.Tope ? ganchos.ApilaTramos[g] : ganchos.VaciaTramos[g])
        << clave << " " << numero << ": " << NotacionCarta(c) << " con cartas encima";
  }
}

}  // namespace

TEST(ReglasComoDatos, NingunaDecisionAceptaMasQueLasReglas) {
  std::mt19937 azar(20261208);
  int juegosSinGanchos = 0;
  for (const auto& juego : Juegos()) {
    long aceptadas = 0;
    bool sinGanchos = false;
    for (std::int32_t numero = 1; numero <= 6; ++numero) {
      TMesa m;
      juego.Preparar(m, numero);
      sinGanchos = !TieneGanchos(m);
      if (!sinGanchos) break;
      const TReglasComoDatos reglas = LeerReglas(m);
      JugarAlAzar(m, azar, 80, [&](TCarta& c, TPila& hacia) {
        ++aceptadas;
        const std::size_t g = IndiceGrupo(m, hacia.Grupo);
        const std::uint64_t admite =
            hacia.Tope ? reglas.Apila[g][IdCarta(*hacia.Tope)] : reglas.Vacia[g];
        ASSERT_TRUE(admite >> IdCarta(c) & 1) << juego.Clave << " " << numero << ": "
                                              << NotacionCarta(c) << " a la pila " << hacia.Numero;
      });
      if (HasFatalFailure()) return;
    }
    if (!sinGanchos) continue;
    ++juegosSinGanchos;
    EXPECT_GT(aceptadas, 50) << juego.Clave;
  }
  EXPECT_GE(juegosSinGanchos, 10);
}

// The games with hooks are told apart: their decisions are the engine's alone.
TEST(ReglasComoDatos, LosJuegosConGanchos) {
  std::vector<std::string> conGanchos;
  for (const auto& juego : Juegos()) {
    TMesa m;
    juego.Preparar(m, 1);
    if (TieneGanchos(m)) conGanchos.push_back(juego.Clave);
  }
  EXPECT_EQ(conGanchos, (std::vector<std::string>{"SolitarioAnárquico", "SolitarioAnárquicoII",
                                                  "SolitarioDe10A4",
                                                  "SolitarioDeLosCasi14Montones"}));
}

// The rule functions of the games that have them, read by asking them, against their own
// decisions on random positions reached by play: every drag accepted was read, and where
// the card had cards on it, that such cards were taken there. The
// reading must also have found more than the groups' rules (the lone Rey on its Rey) and
// less than every card.
TEST(ReglasComoDatos, LosGanchosLeidosCubrenSusDecisiones) {
  std::mt19937 azar(20261209);
  std::vector<std::string> leidos;
  long conCartasEncima = 0;
  for (const auto& juego : Juegos()) {
    long aceptadas = 0;
    for (std::int32_t numero = 1; numero <= 8; ++numero) {
      TMesa m;
      juego.Preparar(m, numero);
      const TReglasComoDatos reglas = LeerReglas(m);
      const TGanchosComoDatos ganchos = LeerGanchos(m, reglas);
      if (!ganchos.Apila && !ganchos.Vacia) break;
      if (numero == 1) leidos.push_back(juego.Clave);
      JugarAlAzar(m, azar, 120, [&](TCarta& c, TPila& hacia) {
        if (!(hacia.Tope ? ganchos.Apila : ganchos.Vacia)) return;
        ++aceptadas;
        const std::size_t g = IndiceGrupo(m, hacia.Grupo);
        if (c.Encima) ++conCartasEncima;
        EsperarLeida(ganchos, juego.Clave, numero, c, hacia, g);
      });
      if (HasFatalFailure()) return;
    }
    if (!leidos.empty() && leidos.back() == juego.Clave) {
      EXPECT_GT(aceptadas, 50) << juego.Clave;
    }
  }
  EXPECT_EQ(leidos, (std::vector<std::string>{"SolitarioAnárquico",
                                              "SolitarioDeLosCasi14Montones"}));

  TMesa casi14;
  BuscarRegistro("SolitarioDeLosCasi14Montones")->Preparar(casi14, 1);
  const TReglasComoDatos reglas = LeerReglas(casi14);
  const TGanchosComoDatos ganchos = LeerGanchos(casi14, reglas);
  ASSERT_TRUE(ganchos.Apila);
  EXPECT_FALSE(ganchos.Vacia);
  std::size_t tab = casi14.Grupos.size();
  for (std::size_t g = 0; g < casi14.Grupos.size(); ++g)
    if (casi14.Grupos[g]->NombreGrupo == "Tab") tab = g;
  ASSERT_LT(tab, casi14.Grupos.size());
  const auto rey = [](std::uint8_t palo) { return std::uint64_t{1} << (palo * 10 + 9); };
  const auto caballo = [](std::uint8_t palo) { return std::uint64_t{1} << (palo * 10 + 8); };
  // On the Rey de Oros: the other three Reyes besides the four Caballos of the rules.
  EXPECT_EQ(ganchos.ApilaGanchos[tab][9],
            rey(1) | rey(2) | rey(3) | caballo(0) | caballo(1) | caballo(2) | caballo(3));
  EXPECT_EQ(ganchos.ApilaGanchos[tab][9] & ~reglas.Apila[tab][9], rey(1) | rey(2) | rey(3));
  // Its piles move single cards: no card with a card on it was taken there. Solitario
  // Anárquico's do move them.
  EXPECT_FALSE(ganchos.ApilaTramos[tab]);
  EXPECT_GT(conCartasEncima, 0);
  // A full pile takes nothing: a pile of three not even a Rey on its only Rey, nor a
  // foundation of ten.
  for (std::size_t g = 0; g < casi14.Grupos.size(); ++g)
    EXPECT_FALSE(ganchos.LlenaToma[g]) << casi14.Grupos[g]->NombreGrupo;
}

// On a table whose callbacks change which groups take from which, the functions read
// with every group taking from every group, a top card as it comes up, against their own
// decisions on random positions reached by play: every drag accepted was read, also where
// the destination's group did not take from the card's when the deal began (a reading under
// the lists of that moment would leave those out); and the table's lists are as they were
// after it.
TEST(ReglasComoDatos, LosGanchosConLlamadasCubrenSusDecisiones) {
  std::mt19937 azar(20261211);
  std::vector<std::string> leidos;
  long fueraDeLosPrimeros = 0;
  for (const auto& juego : Juegos()) {
    long aceptadas = 0;
    for (std::int32_t numero = 1; numero <= 8; ++numero) {
      TMesa m;
      juego.Preparar(m, numero);
      const TReglasComoDatos reglas = LeerReglas(m);
      std::vector<std::vector<TGrupo*>> primeros;
      for (const TGrupo* g : m.Grupos) primeros.push_back(g->Origenes);
      TGanchosComoDatos ganchos;
      TGanchosPorTope porTope(m, reglas, ganchos);
      if (!TieneLlamadas(m) || (!ganchos.Apila && !ganchos.Vacia)) break;
      for (const auto& p : m.Pilas)
        if (p->Tope && ganchos.Apila)
          porTope.LeerTope(ganchos, IndiceGrupo(m, p->Grupo), IdCarta(*p->Tope));
      for (std::size_t g = 0; g < m.Grupos.size(); ++g)
        ASSERT_EQ(m.Grupos[g]->Origenes, primeros[g])
            << juego.Clave << " " << m.Grupos[g]->NombreGrupo;
      if (numero == 1) leidos.push_back(juego.Clave);
      JugarAlAzar(m, azar, 150, [&](TCarta& c, TPila& hacia) {
        if (!(hacia.Tope ? ganchos.Apila : ganchos.Vacia)) return;
        ++aceptadas;
        const std::size_t g = IndiceGrupo(m, hacia.Grupo);
        if (hacia.Tope) porTope.LeerTope(ganchos, g, IdCarta(*hacia.Tope));
        const auto& antes = primeros[g];
        if (std::find(antes.begin(), antes.end(), c.Pila->Grupo) == antes.end())
          ++fueraDeLosPrimeros;
        EsperarLeida(ganchos, juego.Clave, numero, c, hacia, g);
      });
      if (HasFatalFailure()) return;
    }
    if (!leidos.empty() && leidos.back() == juego.Clave) {
      EXPECT_GT(aceptadas, 50) << juego.Clave;
    }
  }
  EXPECT_EQ(leidos, (std::vector<std::string>{"SolitarioAnárquicoII"}));
  EXPECT_GT(fueraDeLosPrimeros, 0);
}

// A drag-over callback may accept what the functions refuse: nothing is read there.
TEST(ReglasComoDatos, NadaSeLeeConUnaLlamadaQueDecide) {
  TMesa m;
  BuscarRegistro("SolitarioAnárquicoII")->Preparar(m, 1);
  const TReglasComoDatos reglas = LeerReglas(m);
  TGanchosComoDatos antes;
  TGanchosPorTope leer(m, reglas, antes);
  ASSERT_TRUE(antes.Apila);
  m.Pilas.front()->AlArrastrarSobre = [](TPila&, TCarta&, int, int, bool& acepta) {
    acepta = true;
  };
  TGanchosComoDatos ganchos;
  TGanchosPorTope leerOtraVez(m, reglas, ganchos);
  EXPECT_FALSE(ganchos.Apila);
  EXPECT_FALSE(ganchos.Vacia);
}

// A stacking function that takes a card one rank lower on any pile, full or not: its
// reading says full piles take cards.
TEST(ReglasComoDatos, UnaFuncionQueLlenaDeMasSeLeeComoTal) {
  TMesa m;
  BuscarRegistro("SolitarioDeLosCasi14Montones")->Preparar(m, 1);
  m.PuedeApilar = [](TCarta& carta, TPila& pila) {
    return pila.Tope && pila.Tope->Numero == carta.Numero + 1 && !carta.Encima;
  };
  const TGanchosComoDatos ganchos = LeerGanchos(m, LeerReglas(m));
  ASSERT_TRUE(ganchos.Apila);
  for (std::size_t g = 0; g < m.Grupos.size(); ++g)
    EXPECT_TRUE(ganchos.LlenaToma[g]) << m.Grupos[g]->NombreGrupo;
}

namespace {

// Every group's reading against the engine asked with a pile of that group.
void ComoSusReglas(TMesa& m, const std::string& cual) {
  std::array<TCarta*, 40> porId{};
  for (const auto& c : m.Cartas) porId[IdCarta(*c) % 40] = c.get();
  const TReglasComoDatos reglas = LeerReglas(m);
  ASSERT_EQ(reglas.Apila.size(), m.Grupos.size()) << cual;
  EXPECT_EQ(LeerVacias(m), reglas.Vacia) << cual;
  for (std::size_t g = 0; g < m.Grupos.size(); ++g) {
    TPila prueba(m, m.Grupos[g]);
    for (std::size_t x = 0; x < 40; ++x) {
      prueba.Tope = porId[x];
      std::uint64_t esperadas = 0;
      for (std::size_t y = 0; y < 40; ++y)
        if (y != x && ReglaAdmite(m.Grupos[g]->ReglasApilado, *porId[y], prueba))
          esperadas |= std::uint64_t{1} << y;
      ASSERT_EQ(reglas.Apila[g][x], esperadas) << cual << ", grupo " << g << ", carta " << x;
    }
  }
}

}  // namespace

// Each group's reading is what its own rules lay, card by card, asked of the engine with a
// pile of that group, though groups that stack alike are read once; and the empty piles'
// reading alone gives what the whole one does. Also on tables changed so that groups share
// their rules but not their cycles, or their relation but not their step: a reading shared
// too widely would give one of them the other's cards.
TEST(ReglasComoDatos, CadaGrupoSegunSusReglasAunqueSeLeanJuntos) {
  int cambiadas = 0;
  for (const auto& juego : Juegos()) {
    TMesa m;
    juego.Preparar(m, 3);
    ComoSusReglas(m, juego.Clave);
    if (HasFatalFailure()) return;
    // The first pair of groups with the same stacking rules, one rule with a step: one of
    // them wraps round as the other does not, then steps the other way.
    auto mismas = [](const TGrupo& x, const TGrupo& y) {
      return x.ReglasApilado.size() == 1 && y.ReglasApilado.size() == 1 &&
             x.ReglasApilado[0].Relacion == y.ReglasApilado[0].Relacion &&
             x.ReglasApilado[0].Paso == y.ReglasApilado[0].Paso &&
             x.ReglasApilado[0].Paso != PasoLibre && x.ReglasApilado[0].Paso != 0;
    };
    std::size_t b = 0;
    for (std::size_t j = 1; j < m.Grupos.size() && !b; ++j)
      for (std::size_t i = 0; i < j && !b; ++i)
        if (mismas(*m.Grupos[i], *m.Grupos[j])) b = j;
    if (!b) continue;
    TGrupo& gb = *m.Grupos[b];
    const TReglasComoDatos antes = LeerReglas(m);
    gb.CicloArriba = !gb.CicloArriba;
    gb.CicloAbajo = !gb.CicloAbajo;
    ComoSusReglas(m, std::string(juego.Clave) + " con otro ciclo");
    EXPECT_NE(LeerReglas(m).Apila[b], antes.Apila[b]) << juego.Clave;
    gb.CicloArriba = !gb.CicloArriba;
    gb.CicloAbajo = !gb.CicloAbajo;
    gb.ReglasApilado[0].Paso = static_cast<std::int8_t>(-gb.ReglasApilado[0].Paso);
    ComoSusReglas(m, std::string(juego.Clave) + " con otro paso");
    EXPECT_NE(LeerReglas(m).Apila[b], antes.Apila[b]) << juego.Clave;
    ++cambiadas;
    if (HasFatalFailure()) return;
  }
  // Most games have four foundations that build alike.
  EXPECT_GE(cambiadas, 8);
}

// A reading kept from the tables read before is handed only to a group that stacks as the
// one read did: not to one whose rule relates suits otherwise, nor to one with a rule more,
// nor to one that wraps otherwise; and the same rules read again read as before.
TEST(ReglasComoDatos, LoLeidoAntesSoloParaLasMismasReglas) {
  TMesa m;
  const TPrepararJuego preparar = BuscarJuego("YukonEspañol");
  ASSERT_NE(preparar, nullptr);
  preparar(m, 1);
  std::size_t g = 0;
  while (g < m.Grupos.size() &&
         (m.Grupos[g]->EsFundacion || m.Grupos[g]->ReglasApilado.size() != 1))
    ++g;
  ASSERT_LT(g, m.Grupos.size());
  TGrupo& grupo = *m.Grupos[g];
  const TReglasComoDatos primera = LeerReglas(m);
  ComoSusReglas(m, "como es");
  const std::uint8_t relacion = grupo.ReglasApilado[0].Relacion;
  grupo.ReglasApilado[0].Relacion = relacion == rpOtroPalo ? rpMismoPalo : rpOtroPalo;
  ComoSusReglas(m, "otra relación");
  EXPECT_NE(LeerReglas(m).Apila[g], primera.Apila[g]);
  grupo.ReglasApilado[0].Relacion = relacion;
  grupo.ReglasApilado.push_back(TRegla{rpCualquiera, 0});
  ComoSusReglas(m, "una regla más");
  EXPECT_NE(LeerReglas(m).Apila[g], primera.Apila[g]);
  grupo.ReglasApilado.pop_back();
  grupo.CicloArriba = !grupo.CicloArriba;
  ComoSusReglas(m, "otro ciclo");
  grupo.CicloArriba = !grupo.CicloArriba;
  // More rule sets than are kept, read in between: the first read again, as before.
  const std::int8_t paso = grupo.ReglasApilado[0].Paso;
  for (std::int8_t otro = -5; otro <= 5; ++otro) {
    grupo.ReglasApilado[0].Paso = otro;
    ComoSusReglas(m, "paso " + std::to_string(otro));
    if (HasFatalFailure()) return;
  }
  grupo.ReglasApilado[0].Paso = paso;
  EXPECT_EQ(LeerReglas(m).Apila, primera.Apila);
}
