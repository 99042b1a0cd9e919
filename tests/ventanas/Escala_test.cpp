// The table fitted to the game window: every game's layout inside the window at any size,
// the pointer mapped back exactly (hit-testing, the engine's X and Y, drops, the drag
// cursor), pictures drawn at the size and pixel ratio they show, and "Tamaño original".
// ctest runs this suite once more with a device pixel ratio of 2.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>

#include <fstream>
#include <future>
#include <vector>
#include <string>

#include "games/Juegos.h"
#include "games/Registro.h"
#include "play/ventanas/Cursores.h"
#include "play/ventanas/Juego.h"
#include "play/ventanas/Preferencias.h"
#include "play/ventanas/Programa.h"
#include "play/ventanas/Tapete.h"
#include "resources/Dibujos.h"
#include "tests/ventanas/CarpetaPrograma.h"
#include "tests/ventanas/Movidas.h"
#include "tests/ventanas/VentanaJuego.h"

namespace {

// What the engine was told by the last drag-over of a card with the recording hook.
struct TUltimaPregunta {
  int X = -1000;
  int Y = -1000;
};
TUltimaPregunta ultima;
void Anotar(TCarta&, TCarta&, int X, int Y, bool&) { ultima = {X, Y}; }

class EscalaTest : public TConVentanaJuego<::testing::TestWithParam<QSize>> {
 protected:
  void SetUp() override {
    AbrirVentana();
    juego->resize(GetParam());
    QCoreApplication::processEvents();
  }
  void TearDown() override {
    TConVentanaJuego::TearDown();
    EXPECT_FALSE(CursorArrastreMostrado());
  }

  // The part of the table widget the toolbar and the status bar leave free.
  QRect Libre() const {
    return QRect(0, juego->Barra->height(), t->width(), t->height() - juego->Barra->height());
  }
};

const QSize kTamannos[] = {{800, 600}, {1000, 700}, {1280, 1024}, {1920, 1080}, {3840, 2160}};

}  // namespace

TEST_P(EscalaTest, CadaJuegoEntraEnteroYLasCartasSonTanGrandesComoCaben) {
  ASSERT_EQ(juego->size(), GetParam());
  const QRect libre = Libre();
  for (const auto& j : Juegos()) {
    SCOPED_TRACE(j.Nombre);
    juego->mesa.LiberarMesa();
    juego->Jugar(j.Preparar, 3);
    // The engine lays every game out for the same screen, whatever the window.
    EXPECT_EQ(juego->mesa.AnchoPantalla, 1024);
    for (const auto& p : juego->mesa.Pilas) {
      if (!p->Visible) continue;
      EXPECT_TRUE(libre.contains(t->Rectangulo(*p))) << "pila " << p->Numero;
    }
    for (const auto& c : juego->mesa.Cartas) {
      if (!c->Visible || !c->Pila) continue;
      EXPECT_TRUE(libre.contains(t->Rectangulo(*c))) << TextoHint(*c);
    }
    if (juego->mesa.Mazo->Visible) {
      EXPECT_TRUE(libre.contains(t->Rectangulo(*juego->mesa.Mazo)));
    }
  }
  // The layout's proportions are kept, and one side of the free part is filled.
  const double s = t->Escala();
  EXPECT_EQ(t->TamannoCarta(), QSize(qRound(62 * s), qRound(98 * s)));
  const QRectF zona = t->Vista().mapRect(QRectF(0, 48, 1024, 672));
  EXPECT_TRUE(std::abs(zona.width() - libre.width()) < 1 ||
              std::abs(zona.height() - libre.height()) < 1)
      << zona.width() << "x" << zona.height();
  EXPECT_NEAR(zona.center().x(), libre.center().x(), 1);
}

TEST_P(EscalaTest, ElPunteroVuelveExactoALaMesaYLaCaidaVaDondeSeAcepto) {
  juego->Jugar(PrepararSolitarioDeLosSieteMontones, 1);
  const auto mv = BuscarMovida(juego->mesa, true);
  ASSERT_TRUE(mv);
  TCarta* objetivo = mv->destino->Tope;
  ASSERT_NE(objetivo, nullptr);
  objetivo->AlArrastrarSobre = Anotar;
  const QRect r = t->Rectangulo(*objetivo);
  ASSERT_EQ(t->ControlEn(r.topLeft()), objetivo);
  ASSERT_EQ(t->ControlEn(r.bottomRight()), objetivo);

  QTest::mousePress(t, Qt::LeftButton, {}, Centro(*t, *mv->carta));
  ASSERT_EQ(t->Arrastrada(), mv->carta);
  // The corners of the painted card are the corners of the card the engine lays out.
  QTest::mouseMove(t, r.topLeft());
  EXPECT_EQ(ultima.X, 0);
  EXPECT_EQ(ultima.Y, 0);
  EXPECT_TRUE(t->AceptaSoltar());
  EXPECT_EQ(QGuiApplication::overrideCursor()->pixmap().toImage(),
            CursorArrastreInstalado().pixmap().toImage());
  QTest::mouseMove(t, r.bottomRight());
  EXPECT_EQ(ultima.X, 61);
  EXPECT_EQ(ultima.Y, 97);
  QTest::mouseMove(t, r.center());
  EXPECT_NEAR(ultima.X, 31, 1);
  EXPECT_NEAR(ultima.Y, 49, 1);
  // One pixel beside it, on the felt, nothing takes the card.
  const QPoint fuera = r.topLeft() - QPoint(1, 0);
  if (!t->ControlEn(fuera)) {
    QTest::mouseMove(t, fuera);
    EXPECT_FALSE(t->AceptaSoltar());
    EXPECT_EQ(QGuiApplication::overrideCursor()->pixmap().toImage(),
              CursorNoSoltarInstalado().pixmap().toImage());
  }
  const TPila* desde = mv->carta->Pila;
  QTest::mouseMove(t, r.center());
  QTest::mouseRelease(t, Qt::LeftButton, {}, r.center());
  EXPECT_EQ(mv->carta->Pila, mv->destino);
  EXPECT_NE(mv->carta->Pila, desde);
  EXPECT_EQ(t->ControlEn(Centro(*t, *mv->carta)), mv->carta);
}

TEST_P(EscalaTest, CambiarElTamannoReencuadraSinTocarElJuego) {
  juego->Jugar(PrepararYukonEspannol, 5);
  const std::string antes = DescribirMesa(juego->mesa);
  const QSize carta = t->TamannoCarta();
  const auto mv = BuscarMovida(juego->mesa, true);
  ASSERT_TRUE(mv);
  QTest::mousePress(t, Qt::LeftButton, {}, Centro(*t, *mv->carta));
  ASSERT_TRUE(t->Arrastrada());
  // A resize in the middle of a drag ends the drag without a drop.
  juego->resize(GetParam() == QSize(1000, 700) ? QSize(1280, 1024) : QSize(1000, 700));
  QCoreApplication::processEvents();
  EXPECT_EQ(t->Arrastrada(), nullptr);
  EXPECT_FALSE(CursorArrastreMostrado());
  QTest::mouseRelease(t, Qt::LeftButton, {}, Centro(*t, *mv->destino));
  EXPECT_EQ(DescribirMesa(juego->mesa), antes);
  EXPECT_EQ(juego->mesa.Movimientos, 0);
  if (GetParam().width() > 1600) {
    EXPECT_LT(t->TamannoCarta().height(), carta.height());
  }
  juego->resize(GetParam());
  QCoreApplication::processEvents();
  EXPECT_EQ(t->TamannoCarta(), carta);
  EXPECT_EQ(DescribirMesa(juego->mesa), antes);
}

TEST_P(EscalaTest, LasCartasSeDibujanAlTamannoYDensidadEnQueSeVen) {
  juego->Jugar(PrepararSolitarioDeLosSieteMontones, 1);
  const qreal dpr = t->devicePixelRatioF();
  const QImage captura = t->grab().toImage().convertToFormat(QImage::Format_ARGB32);
  ASSERT_EQ(captura.size(), (QSizeF(t->size()) * dpr).toSize());
  int comparadas = 0;
  for (const auto& c : juego->mesa.Cartas) {
    if (!c->Visible || !c->BocaArriba || c->Encima) continue;
    const QRect r = t->Rectangulo(*c);
    const QImage cara = DibujoCara(c->ImagenCara(), r.size(), dpr)
                            .toImage()
                            .convertToFormat(QImage::Format_ARGB32);
    ASSERT_EQ(cara.size(), (QSizeF(r.size()) * dpr).toSize());
    // Every opaque device pixel of a card nothing covers, as drawn for that size.
    int distintos = 0;
    for (int y = 0; y < cara.height(); y += 2)
      for (int x = 0; x < cara.width(); x += 2) {
        if (qAlpha(cara.pixel(x, y)) != 255) continue;
        const QPoint p = (QPointF(r.topLeft()) * dpr).toPoint() + QPoint(x, y);
        distintos += captura.pixel(p) != cara.pixel(x, y);
        ++comparadas;
      }
    EXPECT_EQ(distintos, 0) << TextoHint(*c);
  }
  EXPECT_GT(comparadas, 1000);
}

INSTANTIATE_TEST_SUITE_P(Ventanas, EscalaTest, ::testing::ValuesIn(kTamannos),
                         [](const ::testing::TestParamInfo<QSize>& i) {
                           return std::to_string(i.param.width()) + "x" +
                                  std::to_string(i.param.height());
                         });

// "Tamaño original": the fixed cards at the real screen width, kept in the preferences.
class TamannoOriginalTest : public TConCarpetaPrograma {};

TEST_F(TamannoOriginalTest, SeGuardaYSeAplicaAlRepartoSinTocarUnJuegoEmpezado) {
  const int pantalla = QGuiApplication::primaryScreen()->geometry().width();
  {
    TfrmJuego juego;
    juego.Preguntar = [](const QString&) { return true; };
    juego.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&juego));
    juego.Jugar(PrepararSolitarioDeLosSieteMontones, 4);
    EXPECT_FALSE(juego.tbTamannoOriginal->isChecked());
    // A deal nobody touched is dealt again, same number, for the real screen.
    juego.tbTamannoOriginal->setChecked(true);
    EXPECT_EQ(juego.mesa.AnchoPantalla, pantalla);
    EXPECT_EQ(juego.mesa.NumeroJuego, 4);
    EXPECT_EQ(juego.Tapete->TamannoCarta(), QSize(62, 98));
    for (const auto& c : juego.mesa.Cartas)
      EXPECT_EQ(juego.Tapete->Rectangulo(*c), TTapete::RectanguloMesa(*c));
    EXPECT_TRUE(LeerPreferencias().TamannoOriginal);

    // A game in play keeps its layout until the next deal.
    const auto mv = BuscarMovida(juego.mesa, true);
    ASSERT_TRUE(mv);
    if (mv->destino->Tope)
      juego.mesa.SoltarEnCarta(*mv->destino->Tope, *mv->carta, 1, 1);
    else
      juego.mesa.SoltarEnPila(*mv->destino, *mv->carta, 1, 1);
    ASSERT_NE(juego.mesa.Historial, nullptr);
    const std::string enJuego = DescribirMesa(juego.mesa);
    juego.tbTamannoOriginal->setChecked(false);
    EXPECT_EQ(juego.mesa.AnchoPantalla, pantalla);
    EXPECT_EQ(DescribirMesa(juego.mesa), enJuego);
    // A resize meanwhile still shows that deal as it was laid out.
    juego.resize(juego.size() - QSize(40, 30));
    QCoreApplication::processEvents();
    EXPECT_EQ(juego.Tapete->TamannoCarta(), QSize(62, 98));
    juego.tbNuevoClick();
    EXPECT_EQ(juego.mesa.AnchoPantalla, 1024);
    EXPECT_FALSE(LeerPreferencias().TamannoOriginal);
  }
  // The next window starts with the stored choice.
  TPreferencias p;
  p.TamannoOriginal = true;
  p.Animacion = false;
  GuardarPreferencias(p);
  TfrmJuego otro;
  EXPECT_TRUE(otro.tbTamannoOriginal->isChecked());
  EXPECT_FALSE(otro.tbAnimacion->isChecked());
  otro.Jugar(PrepararStrup, 2);
  EXPECT_EQ(otro.mesa.AnchoPantalla, pantalla);
}

TEST_F(TamannoOriginalTest, UnArchivoDannadoDaLosValoresPorDefecto) {
  std::ofstream(carpeta.filePath("Preferencias.ini").toStdString())
      << "[Mesa]\nTamannoOriginal=quizas\nAnimacion=\n\x01\x02garbage";
  const TPreferencias p = LeerPreferencias();
  EXPECT_FALSE(p.TamannoOriginal);
  EXPECT_TRUE(p.Animacion);
}

// The cards are drawn on a worker while the main window waits for the player: at the size
// a maximised game window shows them, and alike to the pixel with those drawn here.
class DibujosPreviosTest : public TConVentanaJuego<> {};

TEST_F(DibujosPreviosTest, ElTamannoPrevistoEsElDeLaVentanaMaximizada) {
  // Another window of the program tells the desktop's frame.
  const QSize previsto = TfrmJuego::TamannoCartaPrevisto(TfrmJuego::Marco(*juego));
  juego->showMaximized();
  QCoreApplication::processEvents();
  ASSERT_TRUE(juego->windowState() & Qt::WindowMaximized);
  juego->Jugar(PrepararStrup, 7);
  QCoreApplication::processEvents();
  EXPECT_EQ(t->TamannoCarta(), previsto);
}

TEST_F(DibujosPreviosTest, LoQueDibujaUnHiloEsLoQueDibujaLaVentana) {
  const QSize tam(87, 137);
  const qreal dpr = juego->devicePixelRatioF();
  auto enHilo = std::async(std::launch::async, [&] {
    std::vector<QImage> v;
    for (int i = 0; i < 40; ++i) v.push_back(ImagenCara(i, tam, dpr));
    for (int i = 0; i < 3; ++i) v.push_back(ImagenOtros(i, tam, dpr));
    for (int i = 0; i < 4; ++i) v.push_back(ImagenFundacion(i, tam, dpr));
    return v;
  });
  const std::vector<QImage> hilo = enHilo.get();
  ASSERT_EQ(hilo.size(), 47u);
  for (int i = 0; i < 40; ++i) EXPECT_TRUE(hilo[i] == DibujoCara(i, tam, dpr).toImage()) << i;
  for (int i = 0; i < 3; ++i) EXPECT_TRUE(hilo[40 + i] == DibujoOtros(i, tam, dpr).toImage()) << i;
  for (int i = 0; i < 4; ++i)
    EXPECT_TRUE(hilo[43 + i] == DibujoFundacion(i, tam, dpr).toImage()) << i;
}
