// A new deal in the game window: the splash shows while the deal is built and is hidden
// after it, and the table is painted once, with the new deal, after the click has been
// handled; what every game window shares (toolbar icons) is drawn once; what the screen
// shows after deals and moves is the whole table, though only what changed is repainted.
#include <QAction>
#include <QLabel>
#include <QPainter>
#include <QScreen>
#include <QTest>

#include <array>

#include "tests/ventanas/Esperar.h"
#include "games/Juegos.h"
#include "play/ventanas/Cargando.h"
#include "tests/ventanas/ContarPintados.h"
#include "tests/ventanas/VentanaJuego.h"

namespace {

// Whether the splash was on the screen while the setup ran.
bool splashDuranteReparto = false;

void PrepararConSplash(TMesa& m, std::int32_t n) {
  splashDuranteReparto = Programa().frmCargando && Programa().frmCargando->Mostrando();
  PrepararSolitarioDeLosSieteMontones(m, n);
}

// A setup that lets the event loop run before it deals: the splash is then on the screen.
bool splashEnPantalla = false;
void PrepararConEspera(TMesa& m, std::int32_t n) {
  QTest::qWait(30);
  splashEnPantalla = Programa().frmCargando && Programa().frmCargando->isVisible();
  PrepararSolitarioDeLosSieteMontones(m, n);
}

// Counts the times the splash's window was shown.
class TContarMostrados : public QObject {
 public:
  int Mostrados = 0;

 protected:
  bool eventFilter(QObject* objeto, QEvent* e) override {
    if (e->type() == QEvent::Show) ++Mostrados;
    return QObject::eventFilter(objeto, e);
  }
};

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
  TContarMostrados mostrados;
  splash.installEventFilter(&mostrados);
  splashDuranteReparto = false;
  juego->mesa.ProcPreparar = PrepararConSplash;
  juego->NuevoReparto(6);
  // Nothing was painted inside the click: no frame of an empty table.
  EXPECT_EQ(pintados.Pintados, 0);
  EXPECT_TRUE(splashDuranteReparto);
  EXPECT_FALSE(splash.isVisible());
  EXPECT_EQ(juego->mesa.NumeroJuego, 6);
  ESPERAR_IGUAL(pintados.Pintados, 1);
  EXPECT_EQ(juego->Paneles[3]->text(), QStringLiteral("Puntos (0/0): ---"));
  EXPECT_EQ(juego->Paneles[4]->text(), QStringLiteral("Juego #6 "));
  // A deal done before the event loop ran again never put the splash's window up, not
  // even afterwards.
  QTest::qWait(20);
  EXPECT_EQ(mostrados.Mostrados, 0);
  EXPECT_FALSE(splash.isVisible());
}

TEST_F(NuevoRepartoTest, UnRepartoQueDejaCorrerElBucleMuestraElSplashYLoOculta) {
  juego->Jugar(PrepararSolitarioDeLosSieteMontones, 5);
  juego->mesa.ProcPreparar = PrepararConEspera;
  splashEnPantalla = false;
  juego->NuevoReparto(6);
  EXPECT_TRUE(splashEnPantalla);
  EXPECT_FALSE(splash.isVisible());
  EXPECT_FALSE(splash.Mostrando());
  EXPECT_EQ(juego->mesa.NumeroJuego, 6);
  EXPECT_EQ(juego->Paneles[3]->text(), QStringLiteral("Puntos (0/0): ---"));
}

TEST_F(NuevoRepartoTest, SoloSePintanLosPanelesQueCambianYUnTextoMasAnchoLosCorre) {
  juego->Jugar(PrepararSolitarioDeLosSieteMontones, 5);
  std::array<TContarPintados, 5> pintados;
  for (std::size_t i = 0; i < pintados.size(); ++i)
    juego->Paneles[i]->installEventFilter(&pintados[i]);
  // The window's first frames are over before counting: on a loaded machine they may
  // still come after a short wait.
  const auto todos = [&pintados] {
    int n = 0;
    for (const TContarPintados& p : pintados) n += p.Pintados;
    return n;
  };
  for (int antes = -1, vueltas = 0; antes != todos() && vueltas < 40; ++vueltas) {
    antes = todos();
    QTest::qWait(50);
  }
  for (TContarPintados& p : pintados) p.Pintados = 0;
  // Another deal of the same game: only the game's number changes.
  juego->NuevoReparto(6);
  ESPERAR(pintados[4].Pintados > 0);
  QTest::qWait(20);
  for (std::size_t i = 0; i < 4; ++i) EXPECT_EQ(pintados[i].Pintados, 0) << i;
  // "Reutilizaciones: ilimitadas" is wider than its panel of the form: a shorter text gives
  // the room back, and the panels after it move along both ways.
  QLabel* reutilizaciones = juego->Paneles[2];
  QLabel* puntos = juego->Paneles[3];
  const int ancho = reutilizaciones->width();
  const int x = puntos->x();
  ASSERT_GT(ancho, 140);
  juego->mesa.Paneles.PonerReutilizaciones(0);
  juego->Actualizar();
  ESPERAR_IGUAL(reutilizaciones->width(), 140);
  EXPECT_EQ(puntos->x(), x - (ancho - 140));
  juego->mesa.Paneles.PonerReutilizacionesIlimitadas();
  juego->Actualizar();
  ESPERAR_IGUAL(reutilizaciones->width(), ancho);
  EXPECT_EQ(puntos->x(), x);
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

// What the window shows, read back from its backing store, against the table painted
// whole: the table repaints only what changed, and nothing it changed may be left out.
class PintadoParcialTest : public TConVentanaJuego<> {
 protected:
  // The events first, then their repaints: a verdict that reaches its panel while the
  // events run (late, on a loaded machine) moves the panel, and the screen must show that
  // before it is read; nothing runs between the read and the whole table painted.
  QImage EnPantalla() {
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::UpdateRequest);
    return juego->screen()->grabWindow(juego->winId()).toImage().convertToFormat(
        QImage::Format_RGB32);
  }
  QImage Entera() { return juego->grab().toImage().convertToFormat(QImage::Format_RGB32); }
  // Only the table: the panels shown over it (the verdict, which changes while the search
  // runs) are widgets of their own, blanked out.
  QImage Mesa(const QImage& ventana) {
    const qreal dpr = juego->devicePixelRatioF();
    const auto pixeles = [dpr](const QRect& r) {
      return QRect((QPointF(r.topLeft()) * dpr).toPoint(), (QSizeF(r.size()) * dpr).toSize());
    };
    QImage imagen = ventana.copy(pixeles(t->geometry()));
    QPainter p(&imagen);
    for (QWidget* w : juego->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
      if (w != t && w->isVisible() && w->geometry().intersects(t->geometry()))
        p.fillRect(pixeles(w->geometry().translated(-t->pos())), Qt::black);
    return imagen;
  }
  void Comparar(const char* paso) {
    const QImage pantalla = EnPantalla();
    ASSERT_FALSE(pantalla.isNull()) << paso;
    EXPECT_TRUE(Mesa(pantalla) == Mesa(Entera())) << paso;
  }
};

TEST_F(PintadoParcialTest, LaPantallaMuestraLaMesaEnteraTrasRepartosJugadasYDeshacer) {
  t->PonerAnimacion(false);
  juego->Jugar(PrepararSolitarioDeLosSieteMontones, 5);
  Comparar("primer reparto");
  juego->NuevoReparto(6);
  Comparar("otro reparto");
  // A deal of another game: other places, other piles.
  juego->mesa.ProcPreparar = PrepararStrup;
  juego->NuevoReparto(7);
  Comparar("otro juego");
  // A card sent home or to a pile by the right button, then taken back.
  bool movio = false;
  for (const auto& c : juego->mesa.Cartas) {
    if (!c->Visible || !c->BocaArriba || !c->Pila || c->Pila->Tope != c.get()) continue;
    const QPoint centro = t->Rectangulo(*c).center();
    const auto pasos = juego->mesa.Pasos.size();
    QTest::mouseClick(t, Qt::RightButton, {}, centro);
    if (juego->mesa.Pasos.size() != pasos) {
      movio = true;
      break;
    }
  }
  ASSERT_TRUE(movio);
  Comparar("jugada");
  juego->tbDeshacerClick();
  Comparar("deshacer");
  juego->tbReiniciarClick();
  Comparar("reiniciar");
}
