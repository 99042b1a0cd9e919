// The pictures drawn by code: sizes at both pixel ratios, that each one shows
// something, and that pictures meant to be told apart are different.
#include <gtest/gtest.h>

#include <QImage>
#include <QPaintEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <functional>
#include <vector>

#include "resources/Dibujos.h"

namespace {

QImage Imagen(const QPixmap& p) { return p.toImage().convertToFormat(QImage::Format_ARGB32); }

int PixelesVisibles(const QImage& imagen) {
  int n = 0;
  for (int y = 0; y < imagen.height(); ++y)
    for (int x = 0; x < imagen.width(); ++x) n += qAlpha(imagen.pixel(x, y)) > 0;
  return n;
}

// Every card-sized picture, with a name for the failure message.
std::vector<std::pair<QString, std::function<QPixmap(qreal)>>> Cartas() {
  std::vector<std::pair<QString, std::function<QPixmap(qreal)>>> todas;
  for (int i = 0; i < 40; ++i)
    todas.push_back({QStringLiteral("cara %1").arg(i), [i](qreal d) { return DibujoCara(i, d); }});
  for (int i = 0; i < 3; ++i)
    todas.push_back({QStringLiteral("otros %1").arg(i), [i](qreal d) { return DibujoOtros(i, d); }});
  for (int i = 0; i < 4; ++i)
    todas.push_back(
        {QStringLiteral("fundacion %1").arg(i), [i](qreal d) { return DibujoFundacion(i, d); }});
  for (int i = 0; i < 5; ++i)
    todas.push_back(
        {QStringLiteral("reverso %1").arg(i), [i](qreal d) { return DibujoReverso(i, d); }});
  return todas;
}

}  // namespace

TEST(Dibujos, CadaCartaMide62x98YaDobleDensidadTiene124x196Pixeles) {
  for (const auto& [nombre, dibujo] : Cartas()) {
    SCOPED_TRACE(nombre.toStdString());
    const QPixmap simple = dibujo(1.0);
    ASSERT_FALSE(simple.isNull());
    EXPECT_EQ(simple.size(), QSize(62, 98));
    EXPECT_GT(PixelesVisibles(Imagen(simple)), 62 * 98 / 10);

    const QPixmap doble = dibujo(2.0);
    EXPECT_EQ(doble.size(), QSize(124, 196));
    EXPECT_EQ(doble.deviceIndependentSize(), QSizeF(62, 98));
    // Drawn again at the dense size, not the small one blown up.
    const QImage agrandada = Imagen(simple).scaled(124, 196);
    EXPECT_NE(Imagen(doble), agrandada);
  }
}

TEST(Dibujos, LasCarasSonTodasDistintasYDejanVerLaMesaEnLasEsquinas) {
  std::vector<QImage> caras;
  for (int i = 0; i < 40; ++i) caras.push_back(Imagen(DibujoCara(i, 1.0)));
  for (int a = 0; a < 40; ++a) {
    EXPECT_EQ(qAlpha(caras[a].pixel(0, 0)), 0) << a;
    EXPECT_EQ(qAlpha(caras[a].pixel(61, 97)), 0) << a;
    EXPECT_EQ(qAlpha(caras[a].pixel(31, 49)), 255) << a;
    for (int b = a + 1; b < 40; ++b) EXPECT_NE(caras[a], caras[b]) << a << " y " << b;
  }
}

TEST(Dibujos, LugaresEmblemasYReversosSeDistinguen) {
  std::vector<QImage> otras;
  for (int i = 0; i < 3; ++i) otras.push_back(Imagen(DibujoOtros(i, 1.0)));
  for (int i = 0; i < 4; ++i) otras.push_back(Imagen(DibujoFundacion(i, 1.0)));
  for (int i = 0; i < 5; ++i) otras.push_back(Imagen(DibujoReverso(i, 1.0)));
  for (std::size_t a = 0; a < otras.size(); ++a)
    for (std::size_t b = a + 1; b < otras.size(); ++b) EXPECT_NE(otras[a], otras[b]) << a << b;
  // Out of range asks for nothing that exists: the empty place, or the placeholder.
  EXPECT_EQ(Imagen(DibujoCara(40, 1.0)), otras[0]);
  EXPECT_EQ(Imagen(DibujoCara(-1, 1.0)), otras[0]);
  EXPECT_EQ(Imagen(DibujoFundacion(4, 1.0)), otras[0]);
  EXPECT_EQ(Imagen(DibujoReverso(7, 1.0)), otras[11]);
}

TEST(Dibujos, LosReversosAzulesYRojosTienenSuColor) {
  // A point of the coloured field, away from flowers and medallion lines.
  auto color = [](int indice) {
    const QImage r = Imagen(DibujoReverso(indice, 1.0));
    long rojo = 0, azul = 0;
    for (int y = 10; y < 88; ++y)
      for (int x = 8; x < 54; ++x) {
        rojo += qRed(r.pixel(x, y));
        azul += qBlue(r.pixel(x, y));
      }
    return azul > rojo ? 'a' : 'r';
  };
  EXPECT_EQ(color(0), 'a');
  EXPECT_EQ(color(1), 'r');
  EXPECT_EQ(color(2), 'a');
  EXPECT_EQ(color(3), 'r');
}

TEST(Dibujos, ElMarcadorEsRojoOscuroConBordeDeTresPixeles) {
  const QImage m = ImagenMarcadorReverso();
  ASSERT_EQ(m.size(), QSize(62, 98));
  EXPECT_EQ(m.devicePixelRatio(), 1.0);
  EXPECT_EQ(m, Imagen(DibujoReverso(4, 1.0)));
  // Inside the border, away from the words: dark red.
  const QRgb dentro = m.pixel(6, 8);
  EXPECT_GT(qRed(dentro), 90);
  EXPECT_LT(qGreen(dentro), 30);
  EXPECT_LT(qBlue(dentro), 30);
  // The border is another colour on every side.
  for (const QPoint borde : {QPoint(1, 50), QPoint(60, 50), QPoint(30, 1), QPoint(30, 96)})
    EXPECT_NE(m.pixel(borde), dentro) << borde.x() << "," << borde.y();
  // Some pixels carry the yellow words.
  int amarillos = 0;
  for (int y = 3; y < 95; ++y)
    for (int x = 3; x < 59; ++x) {
      const QRgb c = m.pixel(x, y);
      amarillos += qRed(c) > 200 && qGreen(c) > 180 && qBlue(c) < 80;
    }
  EXPECT_GT(amarillos, 40);
}

TEST(Dibujos, IconosDeMenuYPosicionesDistintosYFueraDeRangoNulos) {
  std::vector<QImage> iconos;
  for (int i = 0; i <= 10; ++i) {
    const QIcon icono = IconoMenu(i);
    ASSERT_FALSE(icono.isNull()) << i;
    const QPixmap p = icono.pixmap(QSize(16, 16), 1.0);
    EXPECT_EQ(p.size(), QSize(16, 16));
    EXPECT_EQ(icono.pixmap(QSize(16, 16), 2.0).size(), QSize(32, 32));
    EXPECT_GT(PixelesVisibles(Imagen(p)), 20) << i;
    iconos.push_back(Imagen(p));
  }
  for (int i = 1; i <= 10; ++i) {
    const QIcon icono = IconoPosicion(i);
    ASSERT_FALSE(icono.isNull()) << i;
    iconos.push_back(Imagen(icono.pixmap(QSize(16, 16), 1.0)));
  }
  for (std::size_t a = 0; a < iconos.size(); ++a)
    for (std::size_t b = a + 1; b < iconos.size(); ++b) EXPECT_NE(iconos[a], iconos[b]) << a << b;
  EXPECT_TRUE(IconoMenu(11).isNull());
  EXPECT_TRUE(IconoMenu(-1).isNull());
  EXPECT_TRUE(IconoPosicion(0).isNull());
  EXPECT_TRUE(IconoPosicion(11).isNull());
}

// Toolbar icons are painted once per size and pixel ratio for the whole run: a second
// icon of the same picture (another game window's toolbar) hands out the same pixmap.
TEST(Dibujos, IconosDibujadosUnaVezPorTamannoYRelacionDePixeles) {
  for (int i = 0; i <= 10; ++i) {
    const QPixmap a = IconoMenu(i).pixmap(QSize(16, 16), 1.0);
    const QPixmap b = IconoMenu(i).pixmap(QSize(16, 16), 1.0);
    EXPECT_EQ(a.cacheKey(), b.cacheKey()) << i;
    // A dense screen gets its own picture, drawn at twice the pixels, not blown up.
    const QPixmap denso = IconoMenu(i).pixmap(QSize(16, 16), 2.0);
    EXPECT_EQ(denso.size(), QSize(32, 32)) << i;
    EXPECT_EQ(denso.devicePixelRatio(), 2.0) << i;
    EXPECT_EQ(Imagen(denso), Imagen(IconoMenu(i).pixmap(QSize(16, 16), 2.0))) << i;
    // A disabled button shows another picture of the same drawing, kept as well.
    const QPixmap apagado = IconoMenu(i).pixmap(QSize(16, 16), 1.0, QIcon::Disabled);
    EXPECT_NE(Imagen(apagado), Imagen(a)) << i;
    EXPECT_EQ(apagado.cacheKey(),
              IconoMenu(i).pixmap(QSize(16, 16), 1.0, QIcon::Disabled).cacheKey()) << i;
  }
  // Different pictures never share an entry.
  EXPECT_NE(Imagen(IconoOpciones().pixmap(QSize(16, 16), 1.0)),
            Imagen(IconoMenu(0).pixmap(QSize(16, 16), 1.0)));
  EXPECT_NE(Imagen(IconoPosicion(1).pixmap(QSize(16, 16), 1.0)),
            Imagen(IconoMenu(1).pixmap(QSize(16, 16), 1.0)));
}

TEST(Dibujos, CursoresEIconoDeVentana) {
  const QPixmap arrastre = CursorArrastre().pixmap();
  const QPixmap noSoltar = CursorNoSoltar().pixmap();
  ASSERT_FALSE(arrastre.isNull());
  ASSERT_FALSE(noSoltar.isNull());
  EXPECT_NE(Imagen(arrastre), Imagen(noSoltar));
  EXPECT_EQ(CursorArrastre().hotSpot(), QPoint(1, 1));
  EXPECT_FALSE(IconoVentana().isNull());
  EXPECT_FALSE(IconoVentana().pixmap(QSize(32, 32)).isNull());
}

TEST(Dibujos, ImagenesDeVentanaDecodificadasAlTamannoDeSuFormulario) {
  const std::pair<const char*, QSize> tamannos[] = {{"Principal", {303, 333}},
                                                    {"Cargando", {297, 102}},
                                                    {"Fondo", {572, 346}},
                                                    {"FinJuego", {355, 199}},
                                                    {"Records", {314, 79}}};
  for (const auto& [nombre, tamanno] : tamannos) {
    const QImage imagen = ImagenVentana(QString::fromLatin1(nombre));
    ASSERT_FALSE(imagen.isNull()) << nombre;
    EXPECT_EQ(imagen.size(), tamanno) << nombre;
  }
  EXPECT_TRUE(ImagenVentana(QStringLiteral("Otra")).isNull());
  EXPECT_TRUE(ImagenVentana(QString()).isNull());

  // The table's watermark keeps to the table's green, so its edge melts into it.
  const QRgb esquina = ImagenVentana(QStringLiteral("Fondo")).pixel(2, 2);
  EXPECT_NEAR(qRed(esquina), 0, 6);
  EXPECT_NEAR(qGreen(esquina), 91, 6);
  EXPECT_NEAR(qBlue(esquina), 0, 6);
  // The banner lies on the name dialog's dark teal.
  const QRgb banda = ImagenVentana(QStringLiteral("Records")).pixel(2, 2);
  EXPECT_NEAR(qRed(banda), 0, 6);
  EXPECT_NEAR(qGreen(banda), 68, 6);
  EXPECT_NEAR(qBlue(banda), 68, 6);
}

TEST(Dibujos, AOtroTamannoSeDibujanDeNuevoYNoAgrandadas) {
  // A table scaled to its window asks for card pictures of any size.
  const QSize grande(186, 294);
  const std::vector<std::pair<QString, std::function<QPixmap(QSize, qreal)>>> todas{
      {QStringLiteral("cara"), [](QSize t, qreal d) { return DibujoCara(27, t, d); }},
      {QStringLiteral("otros"), [](QSize t, qreal d) { return DibujoOtros(2, t, d); }},
      {QStringLiteral("fundacion"), [](QSize t, qreal d) { return DibujoFundacion(1, t, d); }},
      {QStringLiteral("reverso"), [](QSize t, qreal d) { return DibujoReverso(1, t, d); }},
      {QStringLiteral("marcador"), [](QSize t, qreal d) { return DibujoReverso(4, t, d); }},
  };
  for (const auto& [nombre, dibujo] : todas) {
    SCOPED_TRACE(nombre.toStdString());
    // At the size of the fixed cards they are the fixed cards.
    const QPixmap fija = dibujo(QSize(62, 98), 1.0);
    EXPECT_EQ(fija.size(), QSize(62, 98));
    const QPixmap g = dibujo(grande, 1.0);
    EXPECT_EQ(g.size(), grande);
    EXPECT_EQ(g.deviceIndependentSize(), QSizeF(grande));
    EXPECT_NE(Imagen(g), Imagen(fija).scaled(grande));
    const QPixmap doble = dibujo(grande, 2.0);
    EXPECT_EQ(doble.size(), grande * 2);
    EXPECT_EQ(doble.deviceIndependentSize(), QSizeF(grande));
    // The corners stay transparent at every size: the table shows through.
    EXPECT_EQ(qAlpha(Imagen(g).pixel(0, 0)), 0);
  }
  EXPECT_EQ(Imagen(DibujoCara(27, QSize(62, 98), 1.0)), Imagen(DibujoCara(27, 1.0)));
}

namespace {

// A paint device that draws nothing and counts what would have needed a font.
class TMotorSinTexto : public QPaintEngine {
 public:
  int Textos = 0;
  bool begin(QPaintDevice*) override { return true; }
  bool end() override { return true; }
  void updateState(const QPaintEngineState&) override {}
  void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}
  void drawPath(const QPainterPath&) override {}
  void drawPolygon(const QPointF*, int, PolygonDrawMode) override {}
  void drawTextItem(const QPointF&, const QTextItem&) override { ++Textos; }
  Type type() const override { return User; }
};

class TLienzoSinTexto : public QPaintDevice {
 public:
  TMotorSinTexto Motor;
  QPaintEngine* paintEngine() const override { return const_cast<TMotorSinTexto*>(&Motor); }

 protected:
  int metric(PaintDeviceMetric m) const override {
    switch (m) {
      case PdmWidth: case PdmHeight: return 16;
      case PdmDpiX: case PdmDpiY: case PdmPhysicalDpiX: case PdmPhysicalDpiY: return 96;
      case PdmDevicePixelRatio: return 1;
      case PdmDevicePixelRatioScaled: return static_cast<int>(devicePixelRatioFScale());
      case PdmDepth: return 32;
      default: return 0;
    }
  }
};

}  // namespace

// The main window draws its toolbar icons before its first paint; a font's first use would
// cost more than the whole window, so they are paths only.
// The device itself is checked on a text drawn directly.
TEST(Dibujos, IconosDeMenuSinTexto) {
  for (int i = 0; i <= 10; ++i) {
    TLienzoSinTexto lienzo;
    QPainter p(&lienzo);
    DibujarIconoMenu(p, i);
    p.end();
    EXPECT_EQ(lienzo.Motor.Textos, 0) << i;
  }
  TLienzoSinTexto lienzo;
  QPainter p(&lienzo);
  p.drawText(QPointF(2, 12), QStringLiteral("#"));
  p.end();
  EXPECT_EQ(lienzo.Motor.Textos, 1);
}
