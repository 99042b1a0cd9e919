// Carrying a card on the table: the program-wide drag cursors and what each frame of the
// drag repaints.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QPaintEvent>
#include <QTest>

#include <memory>
#include <optional>

#include "games/Juegos.h"
#include "play/ventanas/Cursores.h"
#include "play/ventanas/Juego.h"
#include "play/ventanas/Tapete.h"
#include "tests/ventanas/Movidas.h"

namespace {

// The regions the table was asked to paint, in order.
class TRegiones : public QObject {
 public:
  std::vector<QRegion> Pintadas;

 protected:
  bool eventFilter(QObject* objeto, QEvent* e) override {
    if (e->type() == QEvent::Paint) Pintadas.push_back(static_cast<QPaintEvent*>(e)->region());
    return QObject::eventFilter(objeto, e);
  }
};

class ArrastreTest : public ::testing::Test {
 protected:
  void SetUp() override {
    juego = std::make_unique<TfrmJuego>();
    juego->Preguntar = [](const QString&) { return true; };
    juego->Jugar(PrepararSolitarioDeLosSieteMontones, 1);
    juego->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(juego.get()));
    tapete = juego->Tapete;
  }
  void TearDown() override {
    juego.reset();
    // No test leaves the pointer changed for the next one.
    EXPECT_FALSE(CursorArrastreMostrado());
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
  }

  std::optional<TMovida> Movida(bool aceptada) { return BuscarMovida(juego->mesa, aceptada); }

  void Pintar() { QCoreApplication::sendPostedEvents(nullptr, QEvent::UpdateRequest); }

  std::unique_ptr<TfrmJuego> juego;
  TTapete* tapete = nullptr;
};

// Every pixel of the rectangle (QRegion::contains with a rectangle only asks for overlap).
bool Cubre(const QRegion& region, const QRect& r) { return (QRegion(r) - region).isEmpty(); }

bool EsCursor(const QCursor* cursor, const QCursor& esperado) {
  return cursor && cursor->shape() == Qt::BitmapCursor &&
         cursor->pixmap().toImage() == esperado.pixmap().toImage() &&
         cursor->hotSpot() == esperado.hotSpot();
}

}  // namespace

TEST_F(ArrastreTest, ElCursorDeArrastreEsDeTodoElProgramaMientrasDuraElArrastre) {
  // Over the main window, the toolbar or a dialog the pointer says the same as over the
  // table: the cursor is the application's, not the table widget's.
  const auto si = Movida(true);
  const auto no = Movida(false);
  ASSERT_TRUE(si && no);
  const QPoint origen = Centro(*tapete, *si->carta);
  EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);

  QTest::mousePress(tapete, Qt::LeftButton, {}, origen);
  ASSERT_EQ(tapete->Arrastrada(), si->carta);
  // Over its own pile the card is refused.
  EXPECT_TRUE(EsCursor(QGuiApplication::overrideCursor(), CursorNoSoltarInstalado()));
  QTest::mouseMove(tapete, Centro(*tapete, Blanco(*si->destino)));
  EXPECT_TRUE(tapete->AceptaSoltar());
  EXPECT_TRUE(EsCursor(QGuiApplication::overrideCursor(), CursorArrastreInstalado()));
  // Off every pile, on the bare table.
  QTest::mouseMove(tapete, QPoint(tapete->width() - 3, tapete->height() - 3));
  EXPECT_TRUE(EsCursor(QGuiApplication::overrideCursor(), CursorNoSoltarInstalado()));
  QTest::mouseMove(tapete, Centro(*tapete, Blanco(*si->destino)));
  EXPECT_TRUE(EsCursor(QGuiApplication::overrideCursor(), CursorArrastreInstalado()));
  // One cursor of ours at a time, however often the answer changed.
  QTest::mouseRelease(tapete, Qt::LeftButton, {}, Centro(*tapete, Blanco(*si->destino)));
  EXPECT_EQ(si->carta->Pila, si->destino);
  EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);

  // A refused drop also gives the pointer back.
  QTest::mousePress(tapete, Qt::LeftButton, {}, Centro(*tapete, *no->carta));
  ASSERT_EQ(tapete->Arrastrada(), no->carta);
  QTest::mouseRelease(tapete, Qt::LeftButton, {}, Centro(*tapete, *no->carta) + QPoint(2, 2));
  EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST_F(ArrastreTest, UnArrastreCortadoDevuelveElCursorYNoPisaElDeOtro) {
  const auto si = Movida(true);
  ASSERT_TRUE(si);
  QTest::mousePress(tapete, Qt::LeftButton, {}, Centro(*tapete, *si->carta));
  ASSERT_TRUE(CursorArrastreMostrado());
  juego->hide();  // the table hidden in mid-drag: no drop
  EXPECT_EQ(tapete->Arrastrada(), nullptr);
  EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);

  juego->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(juego.get()));
  QTest::mousePress(tapete, Qt::LeftButton, {}, Centro(*tapete, *si->carta));
  ASSERT_TRUE(CursorArrastreMostrado());
  juego.reset();  // the window closed under the drag
  EXPECT_FALSE(CursorArrastreMostrado());
  EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);

  // Someone else's cursor set before the drag stays when the drag ends.
  QGuiApplication::setOverrideCursor(Qt::WaitCursor);
  MostrarCursorArrastre(true);
  MostrarCursorArrastre(false);
  QuitarCursorArrastre();
  QuitarCursorArrastre();
  ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
  EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
  QGuiApplication::restoreOverrideCursor();
}

TEST_F(ArrastreTest, CadaCuadroPintaSoloDondeEstabaYDondeEstaElTramo) {
  // The leftmost and rightmost columns: the card crosses the whole table.
  TMesa& m = juego->mesa;
  TCarta* carta = nullptr;
  TPila* lejos = nullptr;
  for (const auto& p : m.Pilas) {
    if (!p->Tope || !p->Tope->BocaArriba || p.get() == m.Mazo->Descarte) continue;
    if (!carta || p->Tope->Left < carta->Left) carta = p->Tope;
    if (!lejos || p->Left > lejos->Left) lejos = p.get();
  }
  ASSERT_TRUE(carta && lejos);
  const QRect tramo = tapete->Rectangulo(*carta);
  const QPoint origen = tramo.center();
  const QPoint destino = Centro(*tapete, Blanco(*lejos));
  ASSERT_GT(destino.x() - origen.x(), 4 * tramo.width());
  const QPoint medio = (origen + destino) / 2;
  ASSERT_FALSE(tapete->Rectangulo(*carta).contains(medio));

  TRegiones regiones;
  tapete->installEventFilter(&regiones);
  Pintar();
  regiones.Pintadas.clear();

  QTest::mousePress(tapete, Qt::LeftButton, {}, origen);
  Pintar();
  ASSERT_EQ(regiones.Pintadas.size(), 1u);
  // The start shows what the card uncovers.
  EXPECT_TRUE(Cubre(regiones.Pintadas[0], tramo));

  QTest::mouseMove(tapete, destino);
  Pintar();
  QTest::mouseMove(tapete, destino + QPoint(5, 7));
  Pintar();
  ASSERT_EQ(regiones.Pintadas.size(), 3u);
  const QRect enDestino = tramo.translated(destino - origen);
  const QRect alFinal = tramo.translated(destino + QPoint(5, 7) - origen);
  const QRegion& salto = regiones.Pintadas[1];
  EXPECT_TRUE(Cubre(salto, tramo));
  EXPECT_TRUE(Cubre(salto, enDestino));
  EXPECT_FALSE(salto.contains(medio));
  const QRegion& paso = regiones.Pintadas[2];
  EXPECT_TRUE(Cubre(paso, enDestino));
  EXPECT_TRUE(Cubre(paso, alFinal));
  // The place the card was taken from was repainted once already.
  EXPECT_FALSE(paso.contains(origen));
  EXPECT_FALSE(paso.contains(medio));

  QTest::mouseRelease(tapete, Qt::LeftButton, {}, destino + QPoint(5, 7));
  tapete->removeEventFilter(&regiones);
}
