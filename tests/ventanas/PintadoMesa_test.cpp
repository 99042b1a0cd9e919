// The table's paint against the table drawn the plain way: the green, the background
// picture, then every picture whole, bottom to top. The table paints only what shows of
// each picture and copies opaque middles without blending; the pixels must be the same,
// for fanned piles, a run carried by the mouse, and a region of several rectangles.
#include <QPainter>
#include <QTest>

#include <algorithm>
#include <vector>

#include "games/Juegos.h"
#include "resources/Dibujos.h"
#include "tests/ventanas/VentanaJuego.h"

namespace {

class PintadoMesaTest : public TConVentanaJuego<> {
 protected:
  // The table as a painter drawing everything whole would show it.
  QImage Referencia() {
    QImage imagen(t->size(), QImage::Format_RGB32);
    QPainter p(&imagen);
    p.fillRect(imagen.rect(), QColor(0, 91, 0));
    p.drawImage(t->PosicionFondo(), ImagenVentana(QStringLiteral("Fondo")));
    std::vector<const TControl*> controles;
    for (const auto& c : juego->mesa.Pilas)
      if (c->Visible) controles.push_back(c.get());
    if (juego->mesa.Mazo && juego->mesa.Mazo->Visible) controles.push_back(juego->mesa.Mazo.get());
    for (const auto& c : juego->mesa.Cartas)
      if (c->Visible) controles.push_back(c.get());
    std::sort(controles.begin(), controles.end(),
              [](const TControl* a, const TControl* b) { return a->Orden < b->Orden; });
    const TCarta* arrastrada = t->Arrastrada();
    std::vector<std::pair<QRect, QPixmap>> encima;
    for (const TControl* c : controles) {
      const QSize tam = t->TamannoCarta();
      QPixmap px;
      switch (c->Imagen.Tipo) {
        case TTipoImagen::Cara: px = DibujoCara(c->Imagen.Indice, tam, 1); break;
        case TTipoImagen::Otros: px = DibujoOtros(c->Imagen.Indice, tam, 1); break;
        case TTipoImagen::Fundacion: px = DibujoFundacion(c->Imagen.Indice, tam, 1); break;
        case TTipoImagen::Reverso: px = DibujoReversoActual(tam, 1); break;
        case TTipoImagen::Ninguna: continue;
      }
      bool llevada = false;
      for (const TCarta* a = arrastrada; a; a = a->Encima) llevada |= a == c;
      // The carried run goes over everything, where the pointer has it.
      if (llevada)
        encima.emplace_back(t->Rectangulo(*c).translated(puntero - agarre), px);
      else
        p.drawPixmap(t->Rectangulo(*c).topLeft(), px);
    }
    for (const auto& [r, px] : encima) p.drawPixmap(r.topLeft(), px);
    return imagen;
  }

  // What the table paints of `zona` over a black image.
  QImage Pintada(const QRegion& zona) {
    QImage imagen(t->size(), QImage::Format_RGB32);
    imagen.fill(Qt::black);
    // The region's corner lands on the offset given.
    t->render(&imagen, zona.boundingRect().topLeft(), zona, QWidget::RenderFlags());
    return imagen;
  }

  // The pixels of `zona` that differ.
  static int Distintos(const QImage& a, const QImage& b, const QRegion& zona) {
    int n = 0;
    for (const QRect& r : zona)
      for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x) n += a.pixel(x, y) != b.pixel(x, y);
    return n;
  }

  void Comparar(const char* paso) {
    const QRegion todo(t->rect());
    EXPECT_EQ(Distintos(Pintada(todo), Referencia(), todo), 0) << paso << ", whole table";
    // A region as a move repaints it: a few cards' rectangles, overlapping and apart.
    QRegion partes;
    int k = 0;
    for (const auto& c : juego->mesa.Cartas)
      if (c->Visible && k++ % 5 == 0) partes += t->Rectangulo(*c).adjusted(-5, -3, 5, 3);
    ASSERT_GT(partes.rectCount(), 1) << paso;
    EXPECT_EQ(Distintos(Pintada(partes), Referencia(), partes), 0) << paso << ", region";
  }

  QPoint puntero, agarre;
};

TEST_F(PintadoMesaTest, CadaPixelComoLaMesaPintadaEnteraEnRepartosYConUnTramoEnLaMano) {
  t->PonerAnimacion(false);
  ASSERT_EQ(t->devicePixelRatioF(), 1);
  // Fanned columns with backs under faces, a game with places and foundations, and one
  // whose columns fan far.
  for (const auto preparar :
       {PrepararSolitarioDeLosSieteMontones, PrepararStrup, PrepararYukonEspannol}) {
    juego->mesa.ProcPreparar = nullptr;
    juego->Jugar(preparar, 11);
    Comparar(juego->mesa.NombreJuego.c_str());
  }
  // A run of several cards carried over the table: what it uncovered and what it covers.
  const TCarta* cabeza = nullptr;
  for (const auto& c : juego->mesa.Cartas)
    if (c->Visible && c->BocaArriba && c->Encima && c->Encima->Encima) {
      cabeza = c.get();
      break;
    }
  ASSERT_NE(cabeza, nullptr);
  agarre = t->Rectangulo(*cabeza).topLeft() + QPoint(10, 5);
  puntero = agarre + QPoint(t->TamannoCarta().width() / 3, t->TamannoCarta().height() / 2);
  QTest::mousePress(t, Qt::LeftButton, {}, agarre);
  QTest::mouseMove(t, puntero);
  ASSERT_EQ(t->Arrastrada(), cabeza);
  Comparar("tramo en la mano");
  QTest::mouseRelease(t, Qt::LeftButton, {}, agarre);
}

}  // namespace
