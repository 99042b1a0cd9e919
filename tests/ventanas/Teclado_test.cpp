// Playing the table with the keyboard alone: the focus over piles and face-up cards,
// picking a run up and putting it down (or being refused), Escape, A and M, and a whole
// game won without the mouse.
#include <gtest/gtest.h>

#include <QLabel>
#include <QTemporaryDir>
#include <QTest>

#include <set>
#include <string>

#include "games/Juegos.h"
#include "play/ventanas/Juego.h"
#include "play/ventanas/Programa.h"
#include "play/ventanas/Tapete.h"
#include "tests/Busqueda.h"
#include "tests/ventanas/Movidas.h"
#include "tests/ventanas/VentanaJuego.h"

namespace {

class TecladoTest : public TConVentanaJuego<> {
 protected:
  void Tecla(Qt::Key tecla) { QTest::keyClick(t, tecla); }

  // Only with keys: to the pile, then along it to the card (none: the pile's top card).
  void Enfocar(const TPila* pila, const TCarta* carta) {
    if (!t->FocoVisible()) Tecla(Qt::Key_Right);
    for (int i = 0; i < 40 && t->PilaEnFoco() != pila; ++i) Tecla(Qt::Key_Right);
    ASSERT_EQ(t->PilaEnFoco(), pila);
    if (!carta) return;
    for (int i = 0; i < 40 && t->CartaEnFoco() != carta; ++i) Tecla(Qt::Key_Up);
    ASSERT_EQ(t->CartaEnFoco(), carta) << TextoHint(*carta);
  }

};

}  // namespace

TEST_F(TecladoTest, LasFlechasRecorrenCadaPilaYLasCartasBocaArriba) {
  juego->Jugar(PrepararSolitarioDeLosSieteMontones, 1);
  EXPECT_FALSE(t->FocoVisible());
  Tecla(Qt::Key_Right);
  ASSERT_TRUE(t->FocoVisible());
  const TPila* primera = t->PilaEnFoco();
  ASSERT_NE(primera, nullptr);
  // Right goes round every visible pile and the stock once.
  std::set<const TPila*> vistas;
  int pasos = 0;
  do {
    vistas.insert(t->PilaEnFoco());
    Tecla(Qt::Key_Right);
    ++pasos;
  } while (t->PilaEnFoco() != primera && pasos < 100);
  std::size_t visibles = juego->mesa.Mazo->Visible ? 1 : 0;
  for (const auto& p : juego->mesa.Pilas) visibles += p->Visible;
  EXPECT_EQ(vistas.size(), visibles);
  EXPECT_EQ(static_cast<std::size_t>(pasos), visibles);
  Tecla(Qt::Key_Left);
  Tecla(Qt::Key_Right);
  EXPECT_EQ(t->PilaEnFoco(), primera);

  // A column with several face-up cards: Up goes down the run, Down back to the top.
  juego->mesa.LiberarMesa();
  juego->Jugar(PrepararYukonEspannol, 1);
  TPila* columna = nullptr;
  for (const auto& p : juego->mesa.Pilas)
    if (p->Tope && p->Tope->BocaArriba && p->Tope->Debajo && p->Tope->Debajo->BocaArriba)
      columna = p.get();
  ASSERT_NE(columna, nullptr);
  Enfocar(columna, nullptr);
  EXPECT_EQ(t->CartaEnFoco(), columna->Tope);
  Tecla(Qt::Key_Up);
  EXPECT_EQ(t->CartaEnFoco(), columna->Tope->Debajo);
  Tecla(Qt::Key_Down);
  EXPECT_EQ(t->CartaEnFoco(), columna->Tope);
  // Past the top card Down goes on to a pile lower on the table, if there is one.
  Tecla(Qt::Key_Down);
  EXPECT_TRUE(t->PilaEnFoco() == columna || t->PilaEnFoco()->Top > columna->Top);
  // Face-down cards take no focus: Up from the lowest face-up card leaves for a pile above.
  Enfocar(columna, nullptr);
  while (t->PilaEnFoco() == columna) Tecla(Qt::Key_Up);
  EXPECT_LT(t->PilaEnFoco()->Top, columna->Top);
  // The mouse hides the focus again.
  QTest::mouseClick(t, Qt::LeftButton, {}, QPoint(2, t->height() - 2));
  EXPECT_FALSE(t->FocoVisible());
}

TEST_F(TecladoTest, TomarSoltarRechazarYCancelarComoConElRaton) {
  juego->Jugar(PrepararSolitarioDeLosSieteMontones, 1);
  const auto si = BuscarMovida(juego->mesa, true);
  const auto no = BuscarMovida(juego->mesa, false);
  ASSERT_TRUE(si && no);
  const std::string reparto = DescribirMesa(juego->mesa);

  // Escape puts the run back: nothing happened.
  Enfocar(si->carta->Pila, si->carta);
  Tecla(Qt::Key_Space);
  ASSERT_EQ(t->Llevada(), si->carta);
  Enfocar(si->destino, nullptr);
  EXPECT_TRUE(t->AceptaFoco());
  Tecla(Qt::Key_Escape);
  EXPECT_EQ(t->Llevada(), nullptr);
  EXPECT_EQ(DescribirMesa(juego->mesa), reparto);
  EXPECT_EQ(juego->mesa.Historial, nullptr);

  // A pile that does not take the run refuses it and the run stays in hand.
  Enfocar(no->carta->Pila, no->carta);
  Tecla(Qt::Key_Return);
  ASSERT_EQ(t->Llevada(), no->carta);
  Enfocar(no->destino, nullptr);
  EXPECT_FALSE(t->AceptaFoco());
  Tecla(Qt::Key_Return);
  EXPECT_EQ(t->Llevada(), no->carta);
  EXPECT_EQ(DescribirMesa(juego->mesa), reparto);
  Tecla(Qt::Key_Escape);

  // The same move as a drop of the mouse, on a twin table.
  TMesa gemela(kPantallaMesa.width(), kPantallaMesa.height());
  PrepararSolitarioDeLosSieteMontones(gemela, 1);
  busqueda::Soltar(gemela, *gemela.Pilas[static_cast<std::size_t>(si->destino->Numero - 1)],
                   *gemela.Pilas[static_cast<std::size_t>(si->carta->Pila->Numero - 1)]->Tope);
  Enfocar(si->carta->Pila, si->carta);
  Tecla(Qt::Key_Space);
  Enfocar(si->destino, nullptr);
  Tecla(Qt::Key_Space);
  EXPECT_EQ(t->Llevada(), nullptr);
  EXPECT_EQ(si->carta->Pila, si->destino);
  EXPECT_EQ(DescribirMesa(juego->mesa), DescribirMesa(gemela));
  EXPECT_EQ(juego->mesa.Movimientos, 1);
  EXPECT_EQ(juego->Paneles[3]->text(), "Puntos (0/1): 1");
  EXPECT_TRUE(juego->tbDeshacer->isEnabled());
  // The focus went with the card.
  EXPECT_EQ(t->CartaEnFoco(), si->carta);
}

TEST_F(TecladoTest, AMueveSolaLaCartaEnFocoYMDaDelMazo) {
  juego->Jugar(PrepararSolitarioDeLosSieteMontones, 1);
  TMesa gemela(kPantallaMesa.width(), kPantallaMesa.height());
  PrepararSolitarioDeLosSieteMontones(gemela, 1);
  ASSERT_EQ(DescribirMesa(juego->mesa), DescribirMesa(gemela));

  Tecla(Qt::Key_M);
  gemela.ClickMazo();
  EXPECT_EQ(DescribirMesa(juego->mesa), DescribirMesa(gemela));
  EXPECT_EQ(juego->Paneles[0]->text().toStdString(), gemela.Paneles[0]);

  // The first card that a right click would move somewhere: A does the same.
  for (const auto& p : juego->mesa.Pilas) {
    TCarta* c = p->Tope;
    if (!c || !c->BocaArriba) continue;
    TCarta& otra = *gemela.Pilas[static_cast<std::size_t>(p->Numero - 1)]->Tope;
    if (!gemela.MoverAutomatico(otra)) continue;
    Enfocar(p.get(), c);
    Tecla(Qt::Key_A);
    EXPECT_EQ(DescribirMesa(juego->mesa), DescribirMesa(gemela));
    return;
  }
  GTEST_SKIP() << "no automatic move in this deal";
}

TEST_F(TecladoTest, UnJuegoEnteroGanadoSoloConElTeclado) {
  // A winning line found on a table like the window's, then played with keys only.
  std::vector<TPaso> linea;
  std::int32_t numero = 0;
  for (std::int32_t n = 1; n <= 30 && linea.empty(); ++n) {
    TMesa m(kPantallaMesa.width(), kPantallaMesa.height());
    PrepararSolitarioDeLosSieteMontones(m, n);
    linea = busqueda::BuscarVictoriaGuiada(m);
    numero = n;
  }
  ASSERT_FALSE(linea.empty());
  juego->Jugar(PrepararSolitarioDeLosSieteMontones, numero);
  TMesa& m = juego->mesa;
  for (const TPaso& paso : linea) {
    SCOPED_TRACE(EscribirPaso(paso));
    ASSERT_FALSE(juego->tmrFinJuego.isActive() && busqueda::Ganado(m));
    if (paso.Tipo == TPaso::TTipo::Mazo) {
      Tecla(Qt::Key_M);
      continue;
    }
    ASSERT_EQ(paso.Tipo, TPaso::TTipo::Arrastre);
    const TPila& desde = busqueda::Origen(m, paso);
    TCarta* carta = desde.Tope;
    for (int k = desde.Cantidad - 1; k > paso.Posicion; --k) carta = carta->Debajo;
    const TPila* hacia = &busqueda::Destino(m, paso);
    ASSERT_NO_FATAL_FAILURE(Enfocar(&desde, carta));
    Tecla(Qt::Key_Space);
    ASSERT_EQ(t->Llevada(), carta);
    ASSERT_NO_FATAL_FAILURE(Enfocar(hacia, nullptr));
    Tecla(Qt::Key_Space);
    ASSERT_EQ(carta->Pila, hacia);
  }
  // Forty cards home, and the win check armed for after the last key.
  int enFundaciones = 0;
  for (const auto& p : m.Pilas)
    if (p->Grupo->EsFundacion) enFundaciones += p->Cantidad;
  EXPECT_EQ(enFundaciones, 40);
  EXPECT_TRUE(juego->tmrFinJuego.isActive());
  juego->tmrFinJuego.stop();
  m.JuegoTerminado = true;
}
