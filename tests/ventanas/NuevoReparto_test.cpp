// A new deal in the game window: the splash shows while the deal is built and is hidden
// after it, and the table is painted once, with the new deal, after the click has been
// handled; what every game window shares (toolbar icons) is drawn once.
#include <QAction>
#include <QLabel>
#include <QTest>

#include "games/Juegos.h"
#include "play/ventanas/Cargando.h"
#include "tests/ventanas/ContarPintados.h"
#include "tests/ventanas/VentanaJuego.h"

namespace {

// Whether the splash was on the screen while the setup ran.
bool splashDuranteReparto = false;

void PrepararConSplash(TMesa& m, std::int32_t n) {
  splashDuranteReparto = Programa().frmCargando && Programa().frmCargando->isVisible();
  PrepararSolitarioDeLosSieteMontones(m, n);
}

class NuevoRepartoTest : public TConVentanaJuego<> {
 protected:
  void SetUp() override {
    TConVentanaJuego<>::SetUp();
    Programa().frmCargando = &splash;
  }
  void TearDown() override {
    Programa().frmCargando = nullptr;
    TConVentanaJuego<>::TearDown();
  }
  TfrmCargando splash;
};

TEST_F(NuevoRepartoTest, LaMesaSePintaUnaVezConElRepartoNuevoYElSplashSeMostroYSeOculto) {
  juego->Jugar(PrepararSolitarioDeLosSieteMontones, 5);
  QTest::qWait(20);
  TContarPintados pintados;
  t->installEventFilter(&pintados);
  splashDuranteReparto = false;
  juego->mesa.ProcPreparar = PrepararConSplash;
  juego->NuevoReparto(6);
  // Nothing was painted inside the click: no frame of an empty table.
  EXPECT_EQ(pintados.Pintados, 0);
  EXPECT_TRUE(splashDuranteReparto);
  EXPECT_FALSE(splash.isVisible());
  EXPECT_EQ(juego->mesa.NumeroJuego, 6);
  QTRY_COMPARE(pintados.Pintados, 1);
  EXPECT_EQ(juego->Paneles[3]->text(), QStringLiteral("Puntos (0/0): ---"));
  EXPECT_EQ(juego->Paneles[4]->text(), QStringLiteral("Juego #6 "));
}

TEST_F(NuevoRepartoTest, DosVentanasDeJuegoCompartenLosIconosDeSuBarra) {
  TfrmJuego otra;
  const QList<QAction*> acciones = {juego->tbNuevo, juego->tbJugarNro, juego->tbReiniciar,
                                    juego->tbReversos, juego->tbPuntuacion, juego->tbOpciones};
  const QList<QAction*> otras = {otra.tbNuevo, otra.tbJugarNro, otra.tbReiniciar,
                                 otra.tbReversos, otra.tbPuntuacion, otra.tbOpciones};
  for (int i = 0; i < acciones.size(); ++i) {
    const QPixmap a = acciones[i]->icon().pixmap(QSize(16, 16), 1.0);
    const QPixmap b = otras[i]->icon().pixmap(QSize(16, 16), 1.0);
    ASSERT_FALSE(a.isNull()) << i;
    EXPECT_EQ(a.cacheKey(), b.cacheKey()) << i;
  }
  // The disabled undo button of both shows one greyed picture.
  EXPECT_EQ(juego->tbDeshacer->icon().pixmap(QSize(16, 16), 1.0, QIcon::Disabled).cacheKey(),
            otra.tbDeshacer->icon().pixmap(QSize(16, 16), 1.0, QIcon::Disabled).cacheKey());
}

}  // namespace
