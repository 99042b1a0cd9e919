// The table read back through Qt's accessibility interfaces, as a screen reader would:
// the card or pile in keyboard focus named in Spanish, where it is, and what is carried.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QTemporaryDir>
#include <QTest>


#include "games/Juegos.h"
#include "play/ventanas/Juego.h"
#include "play/ventanas/Programa.h"
#include "play/ventanas/Tapete.h"
#include "tests/ventanas/Movidas.h"
#include "tests/ventanas/VentanaJuego.h"

namespace {

class AccesibleTest : public TConVentanaJuego<> {
 protected:
  QString Nombre() {
    QAccessibleInterface* mesa = QAccessible::queryAccessibleInterface(t);
    if (!mesa) return QStringLiteral("<sin interfaz>");
    QAccessibleInterface* foco = mesa->focusChild();
    return foco ? foco->text(QAccessible::Name) : QStringLiteral("<sin foco>");
  }

};

}  // namespace

TEST_F(AccesibleTest, LaMesaNombraLaCartaYLaPilaEnFoco) {
  juego->Jugar(PrepararSolitarioDeLosSieteMontones, 1);
  QAccessibleInterface* mesa = QAccessible::queryAccessibleInterface(t);
  ASSERT_NE(mesa, nullptr);
  EXPECT_EQ(mesa->text(QAccessible::Name), "Mesa de juego");

  QTest::keyClick(t, Qt::Key_Right);
  ASSERT_TRUE(t->FocoVisible());
  ASSERT_EQ(mesa->childCount(), 1);
  QAccessibleInterface* foco = mesa->child(0);
  ASSERT_NE(foco, nullptr);
  EXPECT_EQ(mesa->indexOfChild(foco), 0);
  EXPECT_EQ(foco->parent(), mesa);
  EXPECT_EQ(foco->role(), QAccessible::ListItem);

  // Every pile in turn: its top face-up card by suit and rank, or what the pile holds.
  for (std::size_t i = 0; i < juego->mesa.Pilas.size() + 1; ++i) {
    QTest::keyClick(t, Qt::Key_Right);
    const TPila* pila = t->PilaEnFoco();
    ASSERT_NE(pila, nullptr);
    QString esperado;
    if (pila->EsMazo())
      esperado = QStringLiteral("Mazo, %1 cartas").arg(juego->mesa.Mazo->CartasMazo);
    else if (!pila->Tope)
      esperado = QStringLiteral("Pila %1, vacía").arg(pila->Numero);
    else if (pila->Tope->BocaArriba)
      esperado = QString::fromStdString(TextoHint(*pila->Tope)) +
                 QStringLiteral(", boca arriba, en la pila %1").arg(pila->Numero);
    else
      esperado = QStringLiteral("Pila %1, %2 cartas boca abajo").arg(pila->Numero).arg(pila->Cantidad);
    EXPECT_EQ(Nombre(), esperado);
    // Where the reader points is where the focus is painted.
    EXPECT_EQ(mesa->child(0)->rect().center(), t->mapToGlobal(t->RectanguloFoco().center()));
  }
}

TEST_F(AccesibleTest, LoQueSeLlevaYSiLaPilaLoAcepta) {
  juego->Jugar(PrepararSolitarioDeLosSieteMontones, 1);
  const auto si = BuscarMovida(juego->mesa, true);
  ASSERT_TRUE(si);
  QTest::keyClick(t, Qt::Key_Right);
  for (int i = 0; i < 40 && t->PilaEnFoco() != si->carta->Pila; ++i) QTest::keyClick(t, Qt::Key_Right);
  ASSERT_EQ(t->CartaEnFoco(), si->carta);
  const QString nombre = QString::fromStdString(TextoHint(*si->carta));
  EXPECT_EQ(Nombre(), nombre + QStringLiteral(", boca arriba, en la pila %1").arg(si->carta->Pila->Numero));
  QTest::keyClick(t, Qt::Key_Space);
  QAccessibleInterface* foco = QAccessible::queryAccessibleInterface(t)->focusChild();
  ASSERT_NE(foco, nullptr);
  EXPECT_TRUE(foco->state().selected);
  EXPECT_EQ(foco->text(QAccessible::Description), QStringLiteral("Llevás ") + nombre);
  for (int i = 0; i < 40 && t->PilaEnFoco() != si->destino; ++i) QTest::keyClick(t, Qt::Key_Right);
  EXPECT_EQ(foco->text(QAccessible::Description),
            QStringLiteral("Llevás ") + nombre + QStringLiteral("; esta pila la acepta"));
  QTest::keyClick(t, Qt::Key_Space);
  // Put down: the focus names the card on its new pile.
  EXPECT_EQ(Nombre(), nombre + QStringLiteral(", boca arriba, en la pila %1").arg(si->destino->Numero));
  EXPECT_TRUE(foco->text(QAccessible::Description).isEmpty());
}
