// The automatic drop home: it never turns a ganable position into a lost one, one undo
// takes the whole drop back and one redo brings it again, and the step log still replays.
#include <gtest/gtest.h>

#include <iostream>
#include <random>
#include <sstream>

#include "games/Registro.h"
#include "solver/Libres.h"
#include "solver/Reglas.h"
#include "solver/Seguras.h"
#include "solver/Solucionador.h"
#include "tools/Pasos.h"

namespace {

// Where every card lies and how, and the stock: what the player sees of the cards.
std::string Cartas(const TMesa& m) {
  std::ostringstream s;
  for (const auto& c : m.Cartas) {
    int pos = 0;
    for (const TCarta* d = c->Debajo; d; d = d->Debajo) ++pos;
    s << NotacionCarta(*c) << "@" << (c->Pila ? c->Pila->Numero : 0) << "." << pos << " ";
  }
  if (m.Mazo) s << "| mazo " << m.Mazo->CartasMazo << " " << int(m.Mazo->Reutilizaciones);
  return s.str();
}

std::vector<TPaso> Leer(const std::vector<std::string>& textos) {
  std::vector<TPaso> r;
  for (const std::string& t : textos)
    if (auto p = LeerPaso(t)) r.push_back(*p);
  return r;
}

int EnCasa(const TMesa& m) {
  int n = 0;
  for (const auto& p : m.Pilas)
    if (p->Grupo->EsFundacion) n += p->Cantidad;
  return n;
}

bool PuedeEnviar(const TJuegoRegistrado& juego) {
  TMesa m;
  juego.Preparar(m, 1);
  return CalcularSeguras(m, LeerReglas(m)).Posible;
}

// Positions along a winning line, some left by a random move or two: wherever the drop
// sends cards from a position the solver proves ganable, the solver never proves the
// position after the drop lost. Small cases: late in the line, so that both searches end.
TEST(EnviarSeguras, NuncaPierdeUnaPosicionGanable) {
  const TLimites limites{.Milisegundos = 60000, .MemoriaMiB = 128, .Posiciones = 150000};
  std::mt19937 azar(11);
  int juegos = 0, comprobadas = 0, ganablesTras = 0;
  for (const TJuegoRegistrado& juego : Juegos()) {
    if (!PuedeEnviar(juego)) {
      // Where nothing can be proven, the drop does nothing.
      TMesa m;
      juego.Preparar(m, 2);
      for (int k = 0; k < 20; ++k) {
        const auto legales = PasosLegales(m);
        if (legales.empty()) break;
        HacerPaso(m, legales[azar() % legales.size()]);
        ASSERT_EQ(EnviarSeguras(m), 0) << juego.Nombre;
      }
      continue;
    }
    ++juegos;
    int porJuego = 0;
    for (std::int32_t numero = 1; numero <= 20 && porJuego < 2; ++numero) {
      // Deals the search wins quickly give the lines.
      const TResultado deal = Resolver(juego.Preparar, numero, {}, {.Posiciones = 20000});
      if (deal.Veredicto != TVeredicto::Ganable || deal.Pasos.size() < 6) continue;
      // A cut in the line's second half, then up to two random moves.
      const std::size_t corte =
          deal.Pasos.size() / 2 + azar() % (deal.Pasos.size() / 2);
      TMesa m;
      juego.Preparar(m, numero);
      for (std::size_t i = 0; i < corte; ++i) ASSERT_TRUE(HacerPaso(m, deal.Pasos[i]));
      for (int k = static_cast<int>(azar() % 3); k > 0; --k) {
        const auto legales = PasosLegales(m);
        if (!legales.empty()) HacerPaso(m, legales[azar() % legales.size()]);
      }
      if (m.FinJuegoArmado) m.VerificarFinAhora();
      if (m.VentanaPropia.Ganado) continue;
      const std::vector<TPaso> antes = Leer(m.Pasos);
      const int casa = EnCasa(m);
      const int enviadas = EnviarSeguras(m);
      if (enviadas == 0) continue;
      EXPECT_EQ(EnCasa(m), casa + enviadas) << juego.Nombre;
      if (Resolver(juego.Preparar, numero, antes, limites).Veredicto != TVeredicto::Ganable)
        continue;
      const TVeredicto tras = Resolver(juego.Preparar, numero, Leer(m.Pasos), limites).Veredicto;
      ++comprobadas;
      ++porJuego;
      EXPECT_NE(tras, TVeredicto::SinSolucion)
          << juego.Nombre << " #" << numero << " tras " << enviadas << " cartas enviadas";
      if (tras == TVeredicto::Ganable) ++ganablesTras;
    }
  }
  std::cout << juegos << " juegos, " << comprobadas << " posiciones comprobadas, "
            << ganablesTras << " ganables tras el envío\n";
  EXPECT_GE(juegos, 2);
  EXPECT_GE(comprobadas, 4);
  // Most checks decided: the test compares verdicts, not two "no se sabe".
  EXPECT_GE(ganablesTras * 2, comprobadas);
}

// Random play with the drop after every step, asked of the table's own drag-over
// decisions: a card that some card still out could be laid on by a real drag never goes
// home while that card is out; and the drop leaves no safe card behind.
TEST(EnviarSeguras, NoEnviaLoQueTodaviaPuedeHacerFalta) {
  std::mt19937 azar(3);
  int retenidas = 0, enviadas = 0;
  for (const TJuegoRegistrado& juego : Juegos()) {
    if (!PuedeEnviar(juego)) continue;
    for (std::int32_t numero = 1; numero <= 6; ++numero) {
      TMesa m;
      juego.Preparar(m, numero);
      for (int paso = 0; paso < 80 && !m.VentanaPropia.Ganado; ++paso) {
        // Pairs (X, Y): Y, the face-up top of another pile, may be dragged onto X now.
        std::vector<std::pair<const TCarta*, const TCarta*>> pares;
        for (const auto& p : m.Pilas) {
          TCarta* x = p->Tope;
          if (!x || p->Grupo->EsFundacion) continue;
          for (const auto& q : m.Pilas)
            if (q != p && q->Tope && q->Tope->BocaArriba && !q->Grupo->EsFundacion &&
                m.ArrastrarSobreCarta(*x, *q->Tope, 1, 1))
              pares.emplace_back(x, q->Tope);
        }
        enviadas += EnviarSeguras(m);
        for (const auto& [x, y] : pares) {
          const bool xEnCasa = x->Pila && x->Pila->Grupo->EsFundacion;
          const bool yEnCasa = y->Pila && y->Pila->Grupo->EsFundacion;
          if (!yEnCasa) ++retenidas;
          EXPECT_TRUE(!xEnCasa || yEnCasa)
              << juego.Nombre << " #" << numero << ": " << NotacionCarta(*x)
              << " fue a casa y " << NotacionCarta(*y) << " aún podía ir encima";
        }
        EXPECT_EQ(EnviarSeguras(m), 0) << juego.Nombre << " #" << numero;
        const auto legales = PasosLegales(m, true);
        if (legales.empty()) break;
        HacerPaso(m, legales[azar() % legales.size()]);
        if (m.FinJuegoArmado) m.VerificarFinAhora();
      }
    }
  }
  EXPECT_GT(enviadas, 20);
  EXPECT_GT(retenidas, 20);
}

// Tables whose own stacking function decides, read as data: on Solitario De Los Casi 14
// Montones an As is always safe, a Rey only with the four Caballos and the other Reyes
// home. Along random play in every game where only the read function proves cards safe,
// each card the table lets a player lay on another top card counts as one that could lie
// on it; tables with callbacks, or that move runs, prove nothing.
TEST(CalcularSeguras, ConLasFuncionesDeLaMesaLeidas) {
  auto bits = [](std::initializer_list<int> ids) {
    std::uint64_t b = 0;
    for (int id : ids) b |= std::uint64_t{1} << id;
    return b;
  };
  {
    TMesa m;
    BuscarRegistro("SolitarioDeLosCasi14Montones")->Preparar(m, 1);
    const TReglasComoDatos reglas = LeerReglas(m);
    EXPECT_FALSE(CalcularSeguras(m, reglas).Posible);
    const TSeguras s = CalcularSeguras(m, reglas, LeerGanchos(m, reglas));
    ASSERT_TRUE(s.Posible);
    EXPECT_EQ(s.Necesita[9], bits({8, 18, 28, 38, 19, 29, 39}));  // Rey de Oros
    EXPECT_EQ(s.Necesita[14], bits({3, 13, 23, 33}));             // 5 de Copas
    EXPECT_EQ(s.Necesita[20], 0u);                                // As de Espadas
    EXPECT_FALSE(s.EsSegura(9, bits({9, 39})));
    EXPECT_TRUE(s.EsSegura(9, bits({9, 7})));
    // Free cards by the function read: the 5 de Copas, next of its suit, is free while the
    // only cards not home that could lie on it are ones never laid on a card.
    EXPECT_FALSE(LibresPosibles(m, reglas));
    EXPECT_TRUE(LibresPosiblesLeidas(m, reglas));
    const std::uint64_t fuera = bits({14, 3, 23, 9});
    EXPECT_EQ(CartasLibres(bits({14}), fuera, s.Necesita), 0u);
    EXPECT_EQ(CartasLibres(bits({14}), fuera, s.Necesita, bits({3})), 0u);
    EXPECT_EQ(CartasLibres(bits({14}), fuera, s.Necesita, bits({3, 23})), bits({14}));
    m.PuedeFundar = [](TCarta& c, TPila& p) { return FundarPorReglas(c, p); };
    EXPECT_FALSE(LibresPosiblesLeidas(m, reglas));
  }
  std::mt19937 azar(5);
  int juegos = 0, pares = 0;
  for (const TJuegoRegistrado& juego : Juegos()) {
    TMesa m;
    juego.Preparar(m, 1);
    const TReglasComoDatos reglas = LeerReglas(m);
    const TSeguras s = CalcularSeguras(m, reglas, LeerGanchos(m, reglas));
    if (TieneLlamadas(m)) {
      EXPECT_FALSE(s.Posible) << juego.Nombre;
    }
    if (!s.Posible || CalcularSeguras(m, reglas).Posible) continue;
    ++juegos;
    for (std::int32_t numero = 1; numero <= 6; ++numero) {
      juego.Preparar(m, numero);
      for (int paso = 0; paso < 60 && !m.VentanaPropia.Ganado; ++paso) {
        for (const auto& p : m.Pilas) {
          const TCarta* x = p->Tope;
          if (!x || p->Grupo->EsFundacion) continue;
          for (const auto& q : m.Pilas) {
            if (q == p || !q->Tope || !q->Tope->BocaArriba || q->Grupo->EsFundacion ||
                !m.ArrastrarSobreCarta(*p->Tope, *q->Tope, 1, 1))
              continue;
            ++pares;
            EXPECT_TRUE(s.Necesita[IdCarta(*x)] >> IdCarta(*q->Tope) & 1)
                << juego.Nombre << " #" << numero << ": " << NotacionCarta(*q->Tope)
                << " sobre " << NotacionCarta(*x);
          }
        }
        const auto legales = PasosLegales(m, true);
        if (legales.empty()) break;
        HacerPaso(m, legales[azar() % legales.size()]);
        if (m.FinJuegoArmado) m.VerificarFinAhora();
      }
    }
  }
  EXPECT_GE(juegos, 1);
  EXPECT_GT(pares, 50);
}

// A drop of several cards: one undo takes all of them back (one "d" per card in the log,
// so that the log replays), one redo brings them again as one, and every step counts.
TEST(EnviarSeguras, UnaAccionParaDeshacerYRehacer) {
  int vistas = 0;
  for (const TJuegoRegistrado& juego : Juegos()) {
    if (!PuedeEnviar(juego)) continue;
    for (std::int32_t numero = 1; numero <= 40 && vistas < 4; ++numero) {
      const TResultado deal = Resolver(juego.Preparar, numero, {}, {.Posiciones = 20000});
      if (deal.Veredicto != TVeredicto::Ganable) continue;
      TMesa m;
      juego.Preparar(m, numero);
      // Along the line until the drop sends two cards or more.
      int enviadas = 0;
      std::string antes;
      for (const TPaso& p : deal.Pasos) {
        if (!HacerPaso(m, p)) break;
        antes = Cartas(m);
        const std::size_t pasos = m.Pasos.size();
        const int profundidad = m.ProfundidadHistorial();
        enviadas = EnviarSeguras(m);
        ASSERT_EQ(m.Pasos.size(), pasos + static_cast<std::size_t>(enviadas));
        ASSERT_EQ(m.ProfundidadHistorial(), profundidad + enviadas);
        if (enviadas >= 2) break;
      }
      if (enviadas < 2) continue;
      ++vistas;
      EXPECT_TRUE(m.AyudaUsada);
      const std::string tras = Cartas(m);
      const std::uint16_t movidas = m.Movimientos;
      const std::size_t pasos = m.Pasos.size();
      m.Deshacer();
      EXPECT_EQ(Cartas(m), antes) << juego.Nombre << " #" << numero;
      EXPECT_EQ(m.Movimientos, movidas + enviadas);
      EXPECT_EQ(m.Pasos.size(), pasos + static_cast<std::size_t>(enviadas));
      EXPECT_EQ(m.Pasos.back(), "d");
      ASSERT_TRUE(Rehacer(m));
      EXPECT_EQ(Cartas(m), tras) << juego.Nombre << " #" << numero;
      EXPECT_FALSE(m.PuedeRehacer());
      EXPECT_EQ(m.Movimientos, movidas + 2 * enviadas);
      // Joined again: the next undo still takes the whole drop.
      m.Deshacer();
      EXPECT_EQ(Cartas(m), antes) << juego.Nombre << " #" << numero;
      // Replayed as written, with no drop of its own, the log gives the same table.
      TMesa repetida;
      juego.Preparar(repetida, numero);
      for (const TPaso& p : Leer(m.Pasos)) ASSERT_TRUE(AplicarPaso(repetida, p));
      EXPECT_EQ(Cartas(repetida), Cartas(m)) << juego.Nombre << " #" << numero;
      EXPECT_EQ(repetida.Movimientos, m.Movimientos);
    }
  }
  EXPECT_GE(vistas, 2);
}

}  // namespace

// A game left and continued is its number and its step log replayed: with the joins the
// table noted, the replayed table redoes and undoes press by press as the live one, after
// random play with the drop after every move and undos and redos in between (so that the
// log holds joined drops undone, redone and undone again).
TEST(EnviarSeguras, LasUnionesSeRepitenConElRegistro) {
  std::size_t unidas = 0;
  for (const TJuegoRegistrado& juego : Juegos()) {
    if (!PuedeEnviar(juego)) continue;
    std::mt19937 azar(static_cast<unsigned>(std::string_view(juego.Clave).size()) * 104729u);
    for (std::int32_t numero : {5, 21, 333}) {
      TMesa m;
      juego.Preparar(m, numero);
      for (int k = 0; k < 120 && !m.VentanaPropia.Ganado; ++k) {
        const auto r = azar() % 6;
        if (r == 0) {
          m.Deshacer();
        } else if (r == 1) {
          Rehacer(m);
        } else {
          const auto legales = PasosLegales(m);
          if (legales.empty()) break;
          if (HacerPaso(m, legales[azar() % legales.size()])) EnviarSeguras(m);
        }
        if (m.FinJuegoArmado) m.VerificarFinAhora();
      }
      const std::string caso = std::string(juego.Nombre) + " #" + std::to_string(numero);
      TMesa repetida;
      juego.Preparar(repetida, numero);
      ASSERT_TRUE(RepetirPasos(repetida, m.Pasos, m.PasosUnidos)) << caso;
      ASSERT_EQ(repetida.Pasos, m.Pasos) << caso;
      EXPECT_EQ(repetida.PasosUnidos, m.PasosUnidos) << caso;
      ASSERT_EQ(Cartas(repetida), Cartas(m)) << caso;
      unidas += m.PasosUnidos.size();
      // A redone step replays as a new action: what redo still had is kept apart.
      repetida.PorRehacer = m.PorRehacer;
      while (m.PuedeRehacer()) {
        ASSERT_TRUE(Rehacer(m));
        ASSERT_TRUE(Rehacer(repetida)) << caso;
        ASSERT_EQ(Cartas(repetida), Cartas(m)) << caso;
      }
      EXPECT_FALSE(repetida.PuedeRehacer()) << caso;
      for (int undo = 1; m.Historial; ++undo) {
        m.Deshacer();
        repetida.Deshacer();
        ASSERT_EQ(repetida.ProfundidadHistorial(), m.ProfundidadHistorial())
            << caso << ", deshacer " << undo;
        ASSERT_EQ(Cartas(repetida), Cartas(m)) << caso << ", deshacer " << undo;
      }
    }
  }
  EXPECT_GT(unidas, 10u);
}

// A join names a step that made an action, in order; anything else does not replay.
TEST(EnviarSeguras, UnionesQueNoSeRepiten) {
  TMesa m;
  const TJuegoRegistrado& juego = Juegos().front();
  juego.Preparar(m, 9);
  const auto legales = PasosLegales(m);
  const auto arrastre = std::find_if(legales.begin(), legales.end(), [](const TPaso& p) {
    return p.Tipo == TPaso::TTipo::Arrastre;
  });
  ASSERT_NE(arrastre, legales.end());
  ASSERT_TRUE(HacerPaso(m, *arrastre));
  m.TomarInstantanea();
  const std::vector<std::string> pasos = m.Pasos;
  ASSERT_EQ(pasos.size(), 2u);
  for (const std::vector<std::size_t>& mal :
       std::vector<std::vector<std::size_t>>{{1}, {2}, {0, 0}}) {
    TMesa r;
    juego.Preparar(r, 9);
    EXPECT_FALSE(RepetirPasos(r, pasos, mal)) << mal.back();
  }
  TMesa r;
  juego.Preparar(r, 9);
  EXPECT_TRUE(RepetirPasos(r, pasos, {0}));
  EXPECT_EQ(r.PasosUnidos, std::vector<std::size_t>{0});
}
