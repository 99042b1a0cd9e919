// The pictures of the game, drawn with paths at the device pixel ratio they are
// shown at. Every card-sized picture is 62 x 98 logical pixels; what lies outside
// the rounded card is transparent, so the table shows through the corners.
#include "resources/Dibujos.h"

#include <QApplication>
#include <QFile>
#include <QFont>
#include <QGuiApplication>
#include <QHash>
#include <QIconEngine>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QStyle>
#include <QStyleOption>
#include <QtMath>

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <vector>

#include "backs/imagen/Imagenes.h"

namespace {

constexpr QRectF kCarta(0.5, 0.5, kAnchoCarta - 1.0, kAltoCarta - 1.0);
constexpr qreal kRadio = 4.0;
constexpr QSize kTamannoCarta(kAnchoCarta, kAltoCarta);

// Colours of each suit: the printed numbers, and the main and dark tones of its sign.
struct TTonos {
  QColor Numero, Claro, Oscuro;
};
const std::array<TTonos, 4>& Tonos() {
  static const std::array<TTonos, 4> tonos{{
      {QColor(176, 118, 0), QColor(244, 190, 40), QColor(138, 88, 0)},    // Oros
      {QColor(190, 24, 34), QColor(214, 40, 48), QColor(120, 10, 18)},    // Copas
      {QColor(30, 74, 160), QColor(190, 206, 222), QColor(40, 64, 120)},  // Espadas
      {QColor(34, 112, 44), QColor(176, 112, 56), QColor(98, 56, 22)},    // Bastos
  }};
  return tonos;
}

QImage Lienzo(int ancho, int alto, qreal dpr) {
  if (!(dpr > 0)) dpr = 1;
  QImage imagen(qRound(ancho * dpr), qRound(alto * dpr), QImage::Format_ARGB32_Premultiplied);
  imagen.setDevicePixelRatio(dpr);
  imagen.fill(Qt::transparent);
  return imagen;
}

void Suavizar(QPainter& p) {
  p.setRenderHint(QPainter::Antialiasing);
  p.setRenderHint(QPainter::TextAntialiasing);
  p.setRenderHint(QPainter::SmoothPixmapTransform);
}

// Card pictures keep their 62 x 98 drawing coordinates at whatever size they are shown.
void Escalar(QPainter& p, QSize tam) {
  p.scale(tam.width() / qreal(kAnchoCarta), tam.height() / qreal(kAltoCarta));
}

QFont Fuente(const char* familia, qreal tamanno, bool negrita) {
  QFont f(QString::fromLatin1(familia));
  f.setPixelSize(qMax(1, qRound(tamanno)));
  f.setBold(negrita);
  f.setStyleStrategy(QFont::PreferAntialias);
  return f;
}

// ---------------------------------------------------------------- suit signs

void DibujarOro(QPainter& p, QPointF c, qreal r) {
  const auto& t = Tonos()[0];
  QRadialGradient g(c - QPointF(r * 0.35, r * 0.35), r * 1.4);
  g.setColorAt(0, QColor(255, 236, 150));
  g.setColorAt(0.5, t.Claro);
  g.setColorAt(1, QColor(196, 128, 10));
  p.setPen(QPen(t.Oscuro, qMax(0.6, r * 0.07)));
  p.setBrush(g);
  p.drawEllipse(c, r, r);
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(t.Oscuro, qMax(0.5, r * 0.05)));
  p.drawEllipse(c, r * 0.74, r * 0.74);
  // The rosette stamped in the middle of the coin.
  QPainterPath flor;
  const int puntas = 8;
  for (int i = 0; i < puntas * 2; ++i) {
    const qreal a = M_PI * i / puntas - M_PI / 2;
    const qreal rr = (i % 2 == 0) ? r * 0.52 : r * 0.24;
    const QPointF q = c + QPointF(std::cos(a) * rr, std::sin(a) * rr);
    if (i == 0) flor.moveTo(q); else flor.lineTo(q);
  }
  flor.closeSubpath();
  p.setPen(QPen(t.Oscuro, qMax(0.4, r * 0.04)));
  p.setBrush(QColor(226, 150, 20));
  p.drawPath(flor);
  p.setBrush(QColor(190, 30, 30));
  p.setPen(Qt::NoPen);
  p.drawEllipse(c, r * 0.14, r * 0.14);
}

// A goblet inside the box: rim, bowl, knot on the stem and a round foot.
void DibujarCopa(QPainter& p, const QRectF& b) {
  const auto& t = Tonos()[1];
  const qreal x = b.center().x(), w = b.width(), h = b.height(), y = b.top();
  const QColor oro(236, 182, 40), oroOsc(140, 90, 0);
  const qreal linea = qMax(0.5, w * 0.04);

  QPainterPath copa;
  copa.moveTo(x - w * 0.46, y + h * 0.08);
  copa.cubicTo(x - w * 0.46, y + h * 0.42, x - w * 0.22, y + h * 0.56, x - w * 0.07, y + h * 0.58);
  copa.lineTo(x + w * 0.07, y + h * 0.58);
  copa.cubicTo(x + w * 0.22, y + h * 0.56, x + w * 0.46, y + h * 0.42, x + w * 0.46, y + h * 0.08);
  copa.closeSubpath();
  QLinearGradient g(b.left(), 0, b.right(), 0);
  g.setColorAt(0, t.Oscuro);
  g.setColorAt(0.35, t.Claro);
  g.setColorAt(1, t.Oscuro);
  p.setPen(QPen(oroOsc, linea));
  p.setBrush(g);
  p.drawPath(copa);
  // A golden band around the bowl.
  p.setBrush(oro);
  p.drawRect(QRectF(x - w * 0.44, y + h * 0.19, w * 0.88, h * 0.07));

  QPainterPath pie;
  pie.moveTo(x - w * 0.07, y + h * 0.58);
  pie.lineTo(x - w * 0.06, y + h * 0.80);
  pie.cubicTo(x - w * 0.18, y + h * 0.84, x - w * 0.34, y + h * 0.88, x - w * 0.36, y + h * 0.96);
  pie.lineTo(x + w * 0.36, y + h * 0.96);
  pie.cubicTo(x + w * 0.34, y + h * 0.88, x + w * 0.18, y + h * 0.84, x + w * 0.06, y + h * 0.80);
  pie.lineTo(x + w * 0.07, y + h * 0.58);
  pie.closeSubpath();
  p.drawPath(pie);
  p.drawEllipse(QPointF(x, y + h * 0.68), w * 0.11, h * 0.05);
  // The rim, seen a little from above.
  p.setBrush(QColor(250, 214, 110));
  p.drawEllipse(QPointF(x, y + h * 0.08), w * 0.46, h * 0.06);
}

// A sword pointing up: blade, curled crossguard, grip and pommel.
void DibujarEspada(QPainter& p, const QRectF& b) {
  const auto& t = Tonos()[2];
  const qreal x = b.center().x(), w = b.width(), h = b.height(), y = b.top();
  const qreal linea = qMax(0.45, w * 0.06);
  const qreal anchoHoja = w * 0.30;
  const qreal cruz = y + h * 0.70;

  QPainterPath hoja;
  hoja.moveTo(x, y);
  hoja.lineTo(x + anchoHoja / 2, y + h * 0.10);
  hoja.lineTo(x + anchoHoja / 2, cruz);
  hoja.lineTo(x - anchoHoja / 2, cruz);
  hoja.lineTo(x - anchoHoja / 2, y + h * 0.10);
  hoja.closeSubpath();
  QLinearGradient g(x - anchoHoja / 2, 0, x + anchoHoja / 2, 0);
  g.setColorAt(0, QColor(236, 242, 248));
  g.setColorAt(0.5, t.Claro);
  g.setColorAt(1, QColor(120, 138, 160));
  p.setPen(QPen(t.Oscuro, linea));
  p.setBrush(g);
  p.drawPath(hoja);
  p.setPen(QPen(QColor(110, 128, 150), linea * 0.6));
  p.drawLine(QPointF(x, y + h * 0.08), QPointF(x, cruz - h * 0.02));

  const QColor azul(40, 80, 170), oro(232, 176, 40);
  QPainterPath guarda;
  guarda.moveTo(x - w * 0.5, cruz - h * 0.035);
  guarda.quadTo(x, cruz - h * 0.005, x + w * 0.5, cruz - h * 0.035);
  guarda.lineTo(x + w * 0.5, cruz + h * 0.02);
  guarda.quadTo(x, cruz + h * 0.05, x - w * 0.5, cruz + h * 0.02);
  guarda.closeSubpath();
  p.setPen(QPen(t.Oscuro, linea));
  p.setBrush(oro);
  p.drawPath(guarda);
  p.drawEllipse(QPointF(x - w * 0.5, cruz - h * 0.008), w * 0.09, w * 0.09);
  p.drawEllipse(QPointF(x + w * 0.5, cruz - h * 0.008), w * 0.09, w * 0.09);

  p.setBrush(azul);
  p.drawRoundedRect(QRectF(x - w * 0.12, cruz + h * 0.04, w * 0.24, h * 0.19), w * 0.06, w * 0.06);
  p.setBrush(oro);
  p.drawEllipse(QPointF(x, y + h * 0.955), w * 0.16, h * 0.04);
}

// A knotty wooden club, thick at the top, with its cut branches.
void DibujarBasto(QPainter& p, const QRectF& b) {
  const auto& t = Tonos()[3];
  const qreal x = b.center().x(), w = b.width(), h = b.height(), y = b.top();
  const qreal linea = qMax(0.45, w * 0.05);
  const qreal arriba = w * 0.48, abajo = w * 0.24;

  QPainterPath palo;
  palo.moveTo(x - arriba / 2, y + h * 0.06);
  palo.quadTo(x, y - h * 0.02, x + arriba / 2, y + h * 0.06);
  // Right side going down, with two knots.
  palo.lineTo(x + arriba * 0.46, y + h * 0.30);
  palo.quadTo(x + arriba * 0.75, y + h * 0.34, x + arriba * 0.42, y + h * 0.38);
  palo.lineTo(x + abajo / 2 + w * 0.04, y + h * 0.64);
  palo.quadTo(x + abajo / 2 + w * 0.22, y + h * 0.68, x + abajo / 2 + w * 0.02, y + h * 0.72);
  palo.lineTo(x + abajo / 2, y + h * 0.96);
  palo.quadTo(x, y + h * 1.0, x - abajo / 2, y + h * 0.96);
  // Left side going up.
  palo.lineTo(x - abajo / 2 - w * 0.03, y + h * 0.54);
  palo.quadTo(x - abajo / 2 - w * 0.22, y + h * 0.50, x - abajo / 2 - w * 0.05, y + h * 0.46);
  palo.lineTo(x - arriba * 0.46, y + h * 0.22);
  palo.quadTo(x - arriba * 0.72, y + h * 0.17, x - arriba * 0.48, y + h * 0.13);
  palo.closeSubpath();

  QLinearGradient g(x - arriba / 2, 0, x + arriba / 2, 0);
  g.setColorAt(0, t.Oscuro);
  g.setColorAt(0.4, t.Claro);
  g.setColorAt(1, t.Oscuro);
  p.setPen(QPen(QColor(70, 38, 12), linea));
  p.setBrush(g);
  p.drawPath(palo);
  // The cut face at the top and a leaf sprouting from a knot.
  p.setBrush(QColor(232, 196, 140));
  p.drawEllipse(QPointF(x, y + h * 0.05), arriba * 0.42, h * 0.025);
  QPainterPath hoja;
  const QPointF base(x + arriba * 0.55, y + h * 0.34);
  hoja.moveTo(base);
  hoja.quadTo(base + QPointF(w * 0.30, -h * 0.10), base + QPointF(w * 0.40, -h * 0.02));
  hoja.quadTo(base + QPointF(w * 0.22, h * 0.04), base);
  p.setPen(QPen(QColor(20, 80, 24), linea * 0.7));
  p.setBrush(QColor(60, 150, 60));
  p.drawPath(hoja);
}

// The sign of a suit inside a box; the box sets its size.
void DibujarPalo(QPainter& p, int palo, const QRectF& b) {
  switch (palo) {
    case 0: DibujarOro(p, b.center(), qMin(b.width(), b.height()) / 2); break;
    case 1: DibujarCopa(p, b); break;
    case 2: DibujarEspada(p, b); break;
    default: DibujarBasto(p, b); break;
  }
}

// Size of one sign for cards 2 to 7: coins and cups are round, swords and clubs tall.
QSizeF TamannoPinta(int palo, int numero) {
  const bool muchos = numero >= 4;
  if (numero == 7 && palo < 2) return palo == 0 ? QSizeF(15, 15) : QSizeF(14, 18);
  switch (palo) {
    case 0: return muchos ? QSizeF(17, 17) : QSizeF(19, 19);
    case 1: return muchos ? QSizeF(15, 20) : QSizeF(17, 21);
    case 2: return muchos ? QSizeF(10, 24) : QSizeF(11, 22);
    default: return muchos ? QSizeF(11, 24) : QSizeF(12, 22);
  }
}

// Where the signs of the cards 2 to 7 lie, as fractions of the field.
const std::array<std::vector<QPointF>, 8>& Disposiciones() {
  static const std::array<std::vector<QPointF>, 8> d{{
      {},
      {{0.5, 0.5}},
      {{0.5, 0.17}, {0.5, 0.83}},
      {{0.5, 0.15}, {0.5, 0.5}, {0.5, 0.85}},
      {{0.26, 0.18}, {0.74, 0.18}, {0.26, 0.82}, {0.74, 0.82}},
      {{0.26, 0.16}, {0.74, 0.16}, {0.5, 0.5}, {0.26, 0.84}, {0.74, 0.84}},
      {{0.26, 0.15}, {0.74, 0.15}, {0.26, 0.5}, {0.74, 0.5}, {0.26, 0.85}, {0.74, 0.85}},
      {{0.26, 0.1}, {0.74, 0.1}, {0.5, 0.34}, {0.26, 0.6}, {0.74, 0.6}, {0.26, 0.9},
       {0.74, 0.9}},
  }};
  return d;
}

// ---------------------------------------------------------------- the card

QPainterPath Contorno() {
  QPainterPath c;
  c.addRoundedRect(kCarta, kRadio, kRadio);
  return c;
}

void DibujarFondoCarta(QPainter& p) {
  p.setPen(QPen(QColor(70, 70, 70), 1.0));
  p.setBrush(QColor(252, 250, 244));
  p.drawPath(Contorno());
}

// The frame of the Spanish deck, broken as many times as the suit's place in the
// deck: none for Oros, one for Copas, two for Espadas, three for Bastos.
void DibujarMarco(QPainter& p, int palo) {
  const QRectF m(4, 4, kAnchoCarta - 8, kAltoCarta - 8);
  p.setPen(QPen(Tonos()[palo].Numero, 0.9));
  p.setBrush(Qt::NoBrush);
  const int cortes = palo;
  const qreal hueco = 3.5;
  auto lineaCortada = [&](qreal yy) {
    qreal desde = m.left();
    for (int i = 1; i <= cortes; ++i) {
      const qreal cx = m.left() + m.width() * i / (cortes + 1);
      p.drawLine(QPointF(desde, yy), QPointF(cx - hueco / 2, yy));
      desde = cx + hueco / 2;
    }
    p.drawLine(QPointF(desde, yy), QPointF(m.right(), yy));
  };
  lineaCortada(m.top());
  lineaCortada(m.bottom());
  p.drawLine(m.topLeft(), m.bottomLeft());
  p.drawLine(m.topRight(), m.bottomRight());
}

// The rank in the top left corner and, turned round, in the bottom right one.
void DibujarIndices(QPainter& p, int palo, int valor) {
  const QString texto = QString::number(valor);
  p.setFont(Fuente("DejaVu Sans Condensed", 10.5, true));
  p.setPen(Tonos()[palo].Numero);
  const QRectF caja(5.5, 5.2, 16, 12);
  // A paper patch so the number cuts the frame as printed decks do.
  const qreal ancho = p.fontMetrics().horizontalAdvance(texto) + 2.0;
  for (int vuelta = 0; vuelta < 2; ++vuelta) {
    p.save();
    if (vuelta == 1) {
      p.translate(kAnchoCarta, kAltoCarta);
      p.rotate(180);
    }
    p.fillRect(QRectF(caja.left() - 1, caja.top(), ancho, caja.height()), QColor(252, 250, 244));
    p.drawText(caja, Qt::AlignLeft | Qt::AlignVCenter, texto);
    p.restore();
  }
}

// ---------------------------------------------------------------- the figures

struct TRopa {
  QColor Tunica, Manto, Calza;
};
TRopa RopaDe(int palo) {
  switch (palo) {
    case 0: return {QColor(200, 40, 40), QColor(40, 80, 170), QColor(230, 180, 40)};
    case 1: return {QColor(40, 90, 180), QColor(200, 40, 40), QColor(60, 140, 70)};
    case 2: return {QColor(60, 140, 70), QColor(230, 180, 40), QColor(200, 40, 40)};
    default: return {QColor(230, 170, 30), QColor(60, 140, 70), QColor(40, 90, 180)};
  }
}

const QColor kPiel(246, 206, 166);
const QColor kTrazo(50, 30, 20);

void Cabeza(QPainter& p, QPointF c, qreal r) {
  p.setPen(QPen(kTrazo, 0.7));
  p.setBrush(kPiel);
  p.drawEllipse(c, r, r * 1.12);
  p.setPen(Qt::NoPen);
  p.setBrush(kTrazo);
  p.drawEllipse(c + QPointF(-r * 0.35, -r * 0.1), r * 0.11, r * 0.11);
  p.drawEllipse(c + QPointF(r * 0.35, -r * 0.1), r * 0.11, r * 0.11);
  p.setPen(QPen(QColor(170, 60, 50), 0.6));
  p.drawLine(c + QPointF(-r * 0.25, r * 0.45), c + QPointF(r * 0.25, r * 0.45));
}

void Corona(QPainter& p, QPointF c, qreal r) {
  QPainterPath k;
  const qreal base = c.y() - r * 0.8, alto = r * 0.9;
  k.moveTo(c.x() - r * 0.95, base);
  k.lineTo(c.x() - r * 1.05, base - alto);
  k.lineTo(c.x() - r * 0.5, base - alto * 0.55);
  k.lineTo(c.x(), base - alto * 1.1);
  k.lineTo(c.x() + r * 0.5, base - alto * 0.55);
  k.lineTo(c.x() + r * 1.05, base - alto);
  k.lineTo(c.x() + r * 0.95, base);
  k.closeSubpath();
  p.setPen(QPen(QColor(140, 90, 0), 0.7));
  p.setBrush(QColor(244, 196, 48));
  p.drawPath(k);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(200, 30, 40));
  p.drawEllipse(QPointF(c.x(), base - alto * 0.35), r * 0.16, r * 0.16);
}

void Gorra(QPainter& p, QPointF c, qreal r, const QColor& color) {
  QPainterPath g;
  g.moveTo(c.x() - r * 1.25, c.y() - r * 0.45);
  g.quadTo(c.x() - r * 0.9, c.y() - r * 1.9, c.x() + r * 0.6, c.y() - r * 1.35);
  g.quadTo(c.x() + r * 1.4, c.y() - r * 1.0, c.x() + r * 1.1, c.y() - r * 0.5);
  g.closeSubpath();
  p.setPen(QPen(kTrazo, 0.7));
  p.setBrush(color);
  p.drawPath(g);
  // A feather over the cap.
  QPainterPath pluma;
  const QPointF a(c.x() + r * 0.3, c.y() - r * 1.4);
  pluma.moveTo(a);
  pluma.quadTo(a + QPointF(r * 1.6, -r * 1.2), a + QPointF(r * 2.0, -r * 0.2));
  pluma.quadTo(a + QPointF(r * 1.0, -r * 0.5), a);
  p.setBrush(QColor(250, 250, 250));
  p.drawPath(pluma);
}

// The page: standing, cap and feather, holding the sign of the suit.
void DibujarSota(QPainter& p, int palo) {
  const TRopa ropa = RopaDe(palo);
  const qreal x = 27;
  p.setPen(QPen(kTrazo, 0.7));
  // Legs and shoes.
  p.setBrush(ropa.Calza);
  p.drawRect(QRectF(x - 7, 62, 5, 19));
  p.drawRect(QRectF(x + 2, 62, 5, 19));
  p.setBrush(kTrazo);
  p.drawRoundedRect(QRectF(x - 9, 80, 8, 3.5), 1.5, 1.5);
  p.drawRoundedRect(QRectF(x + 1, 80, 8, 3.5), 1.5, 1.5);
  // Tunic with a belt.
  QPainterPath tunica;
  tunica.moveTo(x - 8, 34);
  tunica.lineTo(x + 8, 34);
  tunica.lineTo(x + 12, 64);
  tunica.lineTo(x - 12, 64);
  tunica.closeSubpath();
  p.setBrush(ropa.Tunica);
  p.drawPath(tunica);
  p.setBrush(QColor(236, 182, 40));
  p.drawRect(QRectF(x - 9.8, 49, 19.6, 2.5));
  // Cape over one shoulder.
  QPainterPath capa;
  capa.moveTo(x - 8, 34);
  capa.quadTo(x - 16, 44, x - 13, 60);
  capa.lineTo(x - 9, 52);
  capa.closeSubpath();
  p.setBrush(ropa.Manto);
  p.drawPath(capa);
  // Arm raised towards the sign.
  p.setPen(QPen(ropa.Tunica.darker(130), 3.2, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(x + 7, 37), QPointF(x + 14, 44));
  p.setPen(QPen(kTrazo, 0.7));
  p.setBrush(kPiel);
  p.drawEllipse(QPointF(x + 14.5, 44.5), 2, 2);
  Cabeza(p, QPointF(x, 28), 5.2);
  Gorra(p, QPointF(x, 28), 5.2, ropa.Manto);
  DibujarPalo(p, palo, palo < 2 ? QRectF(38, 30, 14, 14) : QRectF(40, 22, 9, 28));
}

// The knight: a rider on a horse stepping to the left.
void DibujarCaballo(QPainter& p, int palo) {
  const TRopa ropa = RopaDe(palo);
  const QColor pelo = palo % 2 == 0 ? QColor(250, 246, 236) : QColor(150, 96, 52);
  p.setPen(QPen(kTrazo, 0.7));
  p.setBrush(pelo);
  // Legs.
  for (const qreal lx : {14.0, 19.0, 37.0, 42.0}) {
    const bool alzada = lx == 14.0;
    QPainterPath pata;
    pata.moveTo(lx, 62);
    pata.lineTo(lx + 3, 62);
    pata.lineTo(alzada ? lx - 1 : lx + 3, alzada ? 72 : 81);
    pata.lineTo(alzada ? lx - 4 : lx, alzada ? 72 : 81);
    pata.closeSubpath();
    p.drawPath(pata);
  }
  // Body, neck and head.
  p.drawEllipse(QRectF(11, 48, 36, 17));
  QPainterPath cuello;
  cuello.moveTo(13, 54);
  cuello.lineTo(9, 38);
  cuello.lineTo(4.5, 40);
  cuello.quadTo(3, 43, 5, 45);
  cuello.lineTo(9, 46);
  cuello.lineTo(7, 56);
  cuello.closeSubpath();
  p.drawPath(cuello);
  p.drawEllipse(QRectF(6.5, 35, 6, 6));
  // Mane and tail.
  p.setBrush(pelo.darker(160));
  QPainterPath crin;
  crin.moveTo(10, 36);
  crin.quadTo(16, 42, 15, 52);
  crin.lineTo(12, 50);
  crin.closeSubpath();
  p.drawPath(crin);
  QPainterPath cola;
  cola.moveTo(46, 52);
  cola.quadTo(54, 58, 50, 72);
  cola.quadTo(47, 62, 44, 58);
  cola.closeSubpath();
  p.drawPath(cola);
  // Saddle cloth.
  p.setBrush(ropa.Manto);
  p.drawRect(QRectF(22, 48, 13, 11));
  // The rider.
  p.setBrush(ropa.Calza);
  p.drawRect(QRectF(25, 52, 4, 12));
  QPainterPath torso;
  torso.moveTo(24, 36);
  torso.lineTo(33, 36);
  torso.lineTo(35, 53);
  torso.lineTo(22, 53);
  torso.closeSubpath();
  p.setBrush(ropa.Tunica);
  p.drawPath(torso);
  p.setPen(QPen(ropa.Tunica.darker(130), 3, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(32, 39), QPointF(39, 32));
  Cabeza(p, QPointF(28.5, 30), 4.6);
  p.setPen(QPen(kTrazo, 0.7));
  p.setBrush(ropa.Manto);
  p.drawChord(QRectF(23.5, 22.5, 10, 9), 0, 180 * 16);
  DibujarPalo(p, palo, palo < 2 ? QRectF(38, 17, 14, 14) : QRectF(40, 12, 9, 26));
}

// The king: crowned, bearded, in a long robe with ermine, the sign in his hand.
void DibujarRey(QPainter& p, int palo) {
  const TRopa ropa = RopaDe(palo);
  const qreal x = 27;
  p.setPen(QPen(kTrazo, 0.7));
  QPainterPath manto;
  manto.moveTo(x - 8, 36);
  manto.lineTo(x + 8, 36);
  manto.lineTo(x + 15, 83);
  manto.lineTo(x - 15, 83);
  manto.closeSubpath();
  p.setBrush(ropa.Manto);
  p.drawPath(manto);
  QPainterPath tunica;
  tunica.moveTo(x - 5, 36);
  tunica.lineTo(x + 5, 36);
  tunica.lineTo(x + 8, 83);
  tunica.lineTo(x - 8, 83);
  tunica.closeSubpath();
  p.setBrush(ropa.Tunica);
  p.drawPath(tunica);
  // Ermine along the hem and the collar.
  p.setBrush(QColor(250, 250, 250));
  p.drawRect(QRectF(x - 15, 79, 30, 4));
  p.drawRoundedRect(QRectF(x - 9, 34, 18, 4), 2, 2);
  p.setPen(Qt::NoPen);
  p.setBrush(kTrazo);
  for (qreal ex = x - 12; ex < x + 14; ex += 4) p.drawEllipse(QPointF(ex, 81), 0.55, 0.8);
  p.setPen(QPen(ropa.Manto.darker(130), 3.4, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(x + 7, 40), QPointF(x + 14, 48));
  p.setPen(QPen(kTrazo, 0.7));
  p.setBrush(kPiel);
  p.drawEllipse(QPointF(x + 14.5, 48.5), 2, 2);
  Cabeza(p, QPointF(x, 28), 5.2);
  // Beard.
  QPainterPath barba;
  barba.moveTo(x - 5, 29);
  barba.quadTo(x - 4, 38, x, 39);
  barba.quadTo(x + 4, 38, x + 5, 29);
  barba.quadTo(x, 33, x - 5, 29);
  p.setBrush(QColor(150, 110, 70));
  p.drawPath(barba);
  Corona(p, QPointF(x, 28), 5.2);
  DibujarPalo(p, palo, palo < 2 ? QRectF(38, 34, 14, 14) : QRectF(40, 26, 9, 28));
}

// ---------------------------------------------------------------- the pictures

}  // namespace

QImage ImagenCara(int indice, QSize tam, qreal dpr) {
  QImage imagen = Lienzo(tam.width(), tam.height(), dpr);
  QPainter p(&imagen);
  Suavizar(p);
  Escalar(p, tam);
  const int palo = indice / 10;
  const int numero = indice % 10 + 1;
  DibujarFondoCarta(p);
  DibujarMarco(p, palo);
  // The field inside the frame where the signs and figures go.
  const QRectF campo(8, 16, kAnchoCarta - 16, kAltoCarta - 32);
  if (numero == 1) {
    switch (palo) {
      case 0: DibujarOro(p, campo.center(), 18); break;
      case 1: DibujarCopa(p, QRectF(campo.center().x() - 17, 24, 34, 50)); break;
      case 2: DibujarEspada(p, QRectF(campo.center().x() - 9, 16, 18, 66)); break;
      default: DibujarBasto(p, QRectF(campo.center().x() - 11, 16, 22, 66)); break;
    }
  } else if (numero <= 7) {
    const QSizeF t = TamannoPinta(palo, numero);
    for (const QPointF& f : Disposiciones()[static_cast<std::size_t>(numero)]) {
      const QPointF c(campo.left() + campo.width() * f.x(), campo.top() + campo.height() * f.y());
      DibujarPalo(p, palo, QRectF(c - QPointF(t.width() / 2, t.height() / 2), t));
    }
  } else if (numero == 8) {
    DibujarSota(p, palo);
  } else if (numero == 9) {
    DibujarCaballo(p, palo);
  } else {
    DibujarRey(p, palo);
  }
  DibujarIndices(p, palo, numero <= 7 ? numero : numero + 2);
  return imagen;
}

namespace {

// The faint outline every empty place shows.
void DibujarLugar(QPainter& p) {
  p.setPen(QPen(QColor(220, 240, 220, 200), 1.4));
  p.setBrush(QColor(0, 0, 0, 40));
  p.drawRoundedRect(QRectF(1, 1, kAnchoCarta - 2, kAltoCarta - 2), kRadio, kRadio);
}

}  // namespace

QImage ImagenOtros(int indice, QSize tam, qreal dpr) {
  QImage imagen = Lienzo(tam.width(), tam.height(), dpr);
  QPainter p(&imagen);
  Suavizar(p);
  Escalar(p, tam);
  DibujarLugar(p);
  const QPointF c(kAnchoCarta / 2.0, kAltoCarta / 2.0);
  if (indice == 1) {
    // No entry: nothing more to deal.
    p.setPen(QPen(QColor(110, 0, 0), 1.2));
    p.setBrush(QColor(210, 24, 24));
    p.drawEllipse(c, 21, 21);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawRoundedRect(QRectF(c.x() - 15, c.y() - 4.5, 30, 9), 1.5, 1.5);
  } else if (indice == 2) {
    // Two arrows chasing each other: the waste goes back to the stock.
    const QColor verde(150, 230, 120);
    const qreal r = 17;
    for (int i = 0; i < 2; ++i) {
      p.save();
      p.translate(c);
      p.rotate(180.0 * i);
      p.setPen(QPen(verde, 5, Qt::SolidLine, Qt::FlatCap));
      p.setBrush(Qt::NoBrush);
      p.drawArc(QRectF(-r, -r, 2 * r, 2 * r), 20 * 16, 140 * 16);
      // Arrow head at the end of the arc (160 degrees, counter-clockwise).
      const qreal a = qDegreesToRadians(160.0);
      const QPointF punta(std::cos(a) * r, -std::sin(a) * r);
      const QPointF tangente(-std::sin(a), -std::cos(a));
      const QPointF normal(std::cos(a), -std::sin(a));
      QPainterPath cabeza;
      cabeza.moveTo(punta + tangente * 8);
      cabeza.lineTo(punta + normal * 6.5);
      cabeza.lineTo(punta - normal * 6.5);
      cabeza.closeSubpath();
      p.setPen(Qt::NoPen);
      p.setBrush(verde);
      p.drawPath(cabeza);
      p.restore();
    }
  }
  return imagen;
}

QImage ImagenFundacion(int palo, QSize tam, qreal dpr) {
  QImage imagen = Lienzo(tam.width(), tam.height(), dpr);
  QPainter p(&imagen);
  Suavizar(p);
  Escalar(p, tam);
  DibujarLugar(p);
  // The emblem stays faint: it marks the place, it is not a card.
  p.setOpacity(0.55);
  const QPointF c(kAnchoCarta / 2.0, kAltoCarta / 2.0);
  switch (palo) {
    case 0: DibujarOro(p, c, 20); break;
    case 1: DibujarCopa(p, QRectF(c.x() - 18, c.y() - 26, 36, 52)); break;
    case 2: DibujarEspada(p, QRectF(c.x() - 10, c.y() - 34, 20, 68)); break;
    default: DibujarBasto(p, QRectF(c.x() - 12, c.y() - 34, 24, 68)); break;
  }
  return imagen;
}

namespace {

// A back: white edge, then a coloured field with flowers or a white medallion.
QImage ImagenReversoIncorporado(int indice, QSize tam, qreal dpr) {
  QImage imagen = Lienzo(tam.width(), tam.height(), dpr);
  QPainter p(&imagen);
  Suavizar(p);
  Escalar(p, tam);
  const bool azul = indice % 2 == 0;
  const bool flores = indice < 2;
  const QColor fondo = azul ? QColor(26, 58, 140) : QColor(160, 22, 34);
  const QColor claro = azul ? QColor(120, 160, 230) : QColor(236, 120, 120);
  p.setPen(QPen(QColor(90, 90, 90), 1.0));
  p.setBrush(Qt::white);
  p.drawPath(Contorno());
  const QRectF campo(4, 4, kAnchoCarta - 8, kAltoCarta - 8);
  QPainterPath borde;
  borde.addRoundedRect(campo, 2, 2);
  p.setPen(Qt::NoPen);
  p.setBrush(fondo);
  p.drawPath(borde);
  p.save();
  p.setClipPath(borde);
  if (flores) {
    // A lattice of thin lines with a four-petal flower on every crossing.
    p.setPen(QPen(claro, 0.6));
    for (qreal d = -100; d < 160; d += 9) {
      p.drawLine(QPointF(d, 0), QPointF(d + 100, 100));
      p.drawLine(QPointF(d + 100, 0), QPointF(d, 100));
    }
    for (int fila = 0; fila < 12; ++fila) {
      for (int col = 0; col < 8; ++col) {
        const QPointF c(col * 9.0 + (fila % 2 ? 4.5 : 0) - 0.5, fila * 9.0 + 4.0);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(250, 250, 250));
        for (int k = 0; k < 4; ++k) {
          p.save();
          p.translate(c);
          p.rotate(90.0 * k + 45);
          p.drawEllipse(QRectF(-1.1, -3.4, 2.2, 3.0));
          p.restore();
        }
        p.setBrush(QColor(250, 208, 60));
        p.drawEllipse(c, 0.9, 0.9);
      }
    }
  } else {
    // A fine diamond weave around a white square medallion.
    p.setPen(QPen(claro, 0.5));
    for (qreal d = -100; d < 160; d += 4) {
      p.drawLine(QPointF(d, 0), QPointF(d + 100, 100));
      p.drawLine(QPointF(d + 100, 0), QPointF(d, 100));
    }
    const QPointF c = campo.center();
    const QRectF medallon(c.x() - 16, c.y() - 16, 32, 32);
    p.setPen(QPen(fondo.darker(140), 1.2));
    p.setBrush(Qt::white);
    p.drawRect(medallon);
    p.setPen(QPen(fondo, 0.8));
    p.setBrush(Qt::NoBrush);
    p.drawRect(medallon.adjusted(2.5, 2.5, -2.5, -2.5));
    // An eight-point star inside the medallion.
    QPainterPath estrella;
    for (int i = 0; i < 16; ++i) {
      const qreal a = M_PI * i / 8;
      const qreal rr = i % 2 ? 4.5 : 10.5;
      const QPointF q = c + QPointF(std::cos(a) * rr, std::sin(a) * rr);
      if (i == 0) estrella.moveTo(q); else estrella.lineTo(q);
    }
    estrella.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(fondo);
    p.drawPath(estrella);
    p.setBrush(QColor(250, 208, 60));
    p.drawEllipse(c, 2.4, 2.4);
  }
  p.restore();
  p.setPen(QPen(Qt::white, 1.0));
  p.setBrush(Qt::NoBrush);
  p.drawRoundedRect(campo.adjusted(2, 2, -2, -2), 1.5, 1.5);
  return imagen;
}

// The back shown when the chosen one is missing, and the frame of every user back.
QImage ImagenMarcador(QSize tam, qreal dpr) {
  QImage imagen = Lienzo(tam.width(), tam.height(), dpr);
  QPainter p(&imagen);
  Suavizar(p);
  Escalar(p, tam);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(40, 16, 10));
  p.drawRoundedRect(QRectF(0, 0, kAnchoCarta, kAltoCarta), 3, 3);
  p.setBrush(QColor(120, 0, 0));
  p.drawRect(QRectF(3, 3, kAnchoCarta - 6, kAltoCarta - 6));
  p.setPen(QColor(255, 230, 0));
  p.setFont(Fuente("DejaVu Sans Condensed", 9, true));
  p.drawText(QRectF(3, 3, kAnchoCarta - 6, kAltoCarta - 6), Qt::AlignCenter,
             QStringLiteral("NO SE\nENCONTRO\nLA\nIMAGEN"));
  return imagen;
}

// Pictures are drawn once per index and pixel ratio, then shared.
template <typename F>
QPixmap EnCache(char tipo, int indice, qreal dpr, F dibujar) {
  // Painting a table asks for every card on each frame: keep the look-up cheap.
  static QHash<quint64, QPixmap> cache;
  const quint64 clave = (quint64(quint8(tipo)) << 48) | (quint64(quint16(indice)) << 32) |
                        quint32(qRound(dpr * 1000));
  auto it = cache.constFind(clave);
  if (it != cache.constEnd()) return *it;
  QPixmap pix = QPixmap::fromImage(dibujar());
  cache.insert(clave, pix);
  return pix;
}

// ---------------------------------------------------------------- icons

using TDibujoIcono = void (*)(QPainter&);

void CartaPequenna(QPainter& p, QRectF r, QColor fondo = QColor(252, 250, 244)) {
  p.setPen(QPen(QColor(60, 60, 60), 0.8));
  p.setBrush(fondo);
  p.drawRoundedRect(r, 1.5, 1.5);
}

void FlechaCurva(QPainter& p, QPointF c, qreal r, qreal desde, qreal arco, QColor color,
                 qreal grosor) {
  p.setPen(QPen(color, grosor, Qt::SolidLine, Qt::FlatCap));
  p.setBrush(Qt::NoBrush);
  p.drawArc(QRectF(c.x() - r, c.y() - r, 2 * r, 2 * r), qRound(desde * 16), qRound(arco * 16));
  const qreal a = qDegreesToRadians(desde + arco);
  const QPointF punta = c + QPointF(std::cos(a) * r, -std::sin(a) * r);
  const qreal s = arco > 0 ? 1 : -1;
  const QPointF tangente(-std::sin(a) * s, -std::cos(a) * s);
  const QPointF normal(std::cos(a), -std::sin(a));
  QPainterPath cabeza;
  cabeza.moveTo(punta + tangente * grosor * 1.6);
  cabeza.lineTo(punta + normal * grosor * 1.3);
  cabeza.lineTo(punta - normal * grosor * 1.3);
  cabeza.closeSubpath();
  p.setPen(Qt::NoPen);
  p.setBrush(color);
  p.drawPath(cabeza);
}

// A question mark of strokes, no font: the icons of the main window are drawn before its
// first paint, and a font's first use costs more than the whole window.
void SignoPregunta(QPainter& p, QRectF r, QColor color) {
  const qreal h = r.height();
  const qreal cx = r.center().x();
  const qreal radio = h * 0.19;
  const QRectF arco(cx - radio, r.top() + h * 0.16, 2 * radio, 2 * radio);
  QPainterPath gancho;
  gancho.arcMoveTo(arco, 160);
  gancho.arcTo(arco, 160, -230);
  gancho.quadTo(cx, arco.bottom() - radio * 0.2, cx, r.top() + h * 0.64);
  p.setPen(QPen(color, h * 0.15, Qt::SolidLine, Qt::FlatCap, Qt::RoundJoin));
  p.setBrush(Qt::NoBrush);
  p.drawPath(gancho);
  p.setPen(Qt::NoPen);
  p.setBrush(color);
  p.drawEllipse(QPointF(cx, r.top() + h * 0.79), h * 0.09, h * 0.09);
}

void IconoNuevo(QPainter& p) {
  CartaPequenna(p, QRectF(2.5, 2.5, 8, 12));
  CartaPequenna(p, QRectF(5.5, 1.5, 8, 12));
  DibujarOro(p, QPointF(9.5, 7.5), 2.8);
  // A sparkle: a fresh deal.
  QPainterPath brillo;
  const QPointF c(12.5, 12.5);
  for (int i = 0; i < 8; ++i) {
    const qreal a = M_PI * i / 4;
    const qreal rr = i % 2 ? 1.2 : 3.4;
    const QPointF q = c + QPointF(std::cos(a) * rr, std::sin(a) * rr);
    if (i == 0) brillo.moveTo(q); else brillo.lineTo(q);
  }
  brillo.closeSubpath();
  p.setPen(QPen(QColor(150, 100, 0), 0.5));
  p.setBrush(QColor(255, 220, 40));
  p.drawPath(brillo);
}

void IconoReversos(QPainter& p) {
  CartaPequenna(p, QRectF(1.5, 3.5, 8, 11.5), QColor(160, 22, 34));
  CartaPequenna(p, QRectF(6.5, 1.5, 8, 11.5), QColor(26, 58, 140));
  p.setPen(QPen(Qt::white, 0.6));
  p.setBrush(Qt::NoBrush);
  p.drawRect(QRectF(8, 3, 5, 8.5));
  p.drawLine(QPointF(8, 3), QPointF(13, 11.5));
  p.drawLine(QPointF(13, 3), QPointF(8, 11.5));
}

void IconoAyudaJuego(QPainter& p) {
  CartaPequenna(p, QRectF(2.5, 1.5, 10, 13.5));
  SignoPregunta(p, QRectF(2.5, 1.5, 10, 13.5), QColor(30, 80, 200));
}

void IconoAyudaGeneral(QPainter& p) {
  QRadialGradient g(QPointF(6, 5), 9);
  g.setColorAt(0, QColor(120, 170, 255));
  g.setColorAt(1, QColor(20, 60, 170));
  p.setPen(QPen(QColor(10, 30, 100), 0.8));
  p.setBrush(g);
  p.drawEllipse(QPointF(8, 8), 6.8, 6.8);
  SignoPregunta(p, QRectF(2, 2, 12, 12), Qt::white);
}

void IconoDeshacer(QPainter& p) {
  FlechaCurva(p, QPointF(8.5, 9), 5, -30, 210, QColor(30, 90, 190), 2.2);
}

void Camara(QPainter& p) {
  p.setPen(QPen(QColor(30, 30, 30), 0.8));
  p.setBrush(QColor(90, 90, 100));
  p.drawRoundedRect(QRectF(1.5, 4.5, 13, 9), 1.5, 1.5);
  p.drawRect(QRectF(4.5, 2.5, 4, 2));
  p.setBrush(QColor(170, 210, 255));
  p.drawEllipse(QPointF(8, 9), 3, 3);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(255, 200, 40));
  p.drawRect(QRectF(11.5, 5.8, 2, 1.4));
}

void IconoInstantanea(QPainter& p) { Camara(p); }

void IconoVolverInstantanea(QPainter& p) {
  p.save();
  p.translate(2, 0);
  p.scale(0.85, 0.85);
  Camara(p);
  p.restore();
  FlechaCurva(p, QPointF(5.5, 11), 3.6, 0, 200, QColor(20, 150, 40), 1.8);
}

void IconoSalir(QPainter& p) {
  p.setPen(QPen(QColor(70, 40, 20), 0.8));
  p.setBrush(QColor(170, 110, 60));
  p.drawRect(QRectF(3.5, 1.5, 8, 13));
  p.setBrush(QColor(230, 190, 60));
  p.drawEllipse(QPointF(9.8, 8.5), 0.9, 0.9);
  p.setPen(QPen(QColor(200, 30, 30), 1.8, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(9, 8), QPointF(15, 8));
  p.drawLine(QPointF(15, 8), QPointF(12.5, 5.5));
  p.drawLine(QPointF(15, 8), QPointF(12.5, 10.5));
}

void IconoReiniciar(QPainter& p) {
  FlechaCurva(p, QPointF(8, 8), 5.2, 90, -300, QColor(20, 140, 40), 2.2);
}

void IconoPuntuaciones(QPainter& p) {
  const QColor oro(240, 190, 40), oscuro(140, 90, 0);
  p.setPen(QPen(oscuro, 0.8));
  p.setBrush(Qt::NoBrush);
  p.drawArc(QRectF(1.5, 3, 5, 5), 90 * 16, 180 * 16);
  p.drawArc(QRectF(9.5, 3, 5, 5), -90 * 16, 180 * 16);
  QPainterPath copa;
  copa.moveTo(3.5, 2);
  copa.lineTo(12.5, 2);
  copa.quadTo(12.5, 9, 8, 10);
  copa.quadTo(3.5, 9, 3.5, 2);
  p.setBrush(oro);
  p.drawPath(copa);
  p.drawRect(QRectF(7, 10, 2, 2.5));
  p.drawRect(QRectF(4.5, 12.5, 7, 2));
}

void IconoJugarNumero(QPainter& p) {
  CartaPequenna(p, QRectF(2.5, 1.5, 11, 13.5));
  // "#" of four strokes, no font (see SignoPregunta).
  p.setPen(QPen(QColor(180, 20, 30), 1.5, Qt::SolidLine, Qt::FlatCap));
  p.drawLine(QPointF(7.1, 4.2), QPointF(6.1, 12.8));
  p.drawLine(QPointF(10.4, 4.2), QPointF(9.4, 12.8));
  p.drawLine(QPointF(4.6, 6.9), QPointF(11.8, 6.9));
  p.drawLine(QPointF(4.3, 10.1), QPointF(11.5, 10.1));
}

const std::array<TDibujoIcono, 11> kIconos{
    IconoNuevo,       IconoReversos,          IconoAyudaJuego, IconoAyudaGeneral,
    IconoDeshacer,    IconoInstantanea,       IconoVolverInstantanea, IconoSalir,
    IconoReiniciar,   IconoPuntuaciones,      IconoJugarNumero};

// Drawn icons are painted when first shown, at the pixel size asked for, and kept for
// the whole run: every window that shows one (a new game window's toolbar, say) reuses
// the pixmap instead of painting the paths again.
class TMotorIconoDibujado : public QIconEngine {
 public:
  TMotorIconoDibujado(int id, std::function<void(QPainter&)> dibujar, int lado)
      : id_(id), dibujar_(std::move(dibujar)), lado_(lado) {}

  QPixmap pixmap(const QSize& tam, QIcon::Mode modo, QIcon::State) override {
    const int pixeles = std::min(tam.width(), tam.height());
    if (pixeles <= 0) return {};
    // Icon, mode and size in device pixels: one entry per size and pixel ratio shown.
    static QHash<quint64, QPixmap> cache;
    const quint64 clave = quint64(quint32(id_)) << 32 | quint64(modo & 3) << 16 | quint16(pixeles);
    if (auto it = cache.constFind(clave); it != cache.constEnd()) return *it;
    QPixmap px;
    if (modo == QIcon::Disabled || modo == QIcon::Selected) {
      const QPixmap normal = pixmap(tam, QIcon::Normal, QIcon::Off);
      QStyleOption opcion;
      px = QApplication::style() ? QApplication::style()->generatedIconPixmap(modo, normal, &opcion)
                                 : normal;
    } else {
      QImage imagen = Lienzo(pixeles, pixeles, 1.0);
      QPainter p(&imagen);
      Suavizar(p);
      p.scale(qreal(pixeles) / lado_, qreal(pixeles) / lado_);
      dibujar_(p);
      p.end();
      px = QPixmap::fromImage(std::move(imagen));
    }
    cache.insert(clave, px);
    return px;
  }

  void paint(QPainter* p, const QRect& r, QIcon::Mode modo, QIcon::State estado) override {
    const qreal dpr = p->device() ? p->device()->devicePixelRatioF() : 1.0;
    QPixmap px = pixmap((QSizeF(r.size()) * dpr).toSize(), modo, estado);
    px.setDevicePixelRatio(dpr);
    p->drawPixmap(r.topLeft(), px);
  }

  QSize actualSize(const QSize& tam, QIcon::Mode, QIcon::State) override {
    const int l = std::min(tam.width(), tam.height());
    return {l, l};
  }

  QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override {
    return {QSize(lado_, lado_), QSize(2 * lado_, 2 * lado_)};
  }

  QString key() const override { return QStringLiteral("cartoval-dibujado"); }
  QIconEngine* clone() const override { return new TMotorIconoDibujado(*this); }

 private:
  int id_;
  std::function<void(QPainter&)> dibujar_;
  int lado_;
};

// Ids of the drawn icons: the menu's own index, then the options and the positions.
constexpr int kIdOpciones = 100;
constexpr int kIdPosiciones = 200;

// A square icon of `lado` logical pixels, drawn by `dibujar` on that many units.
QIcon IconoDibujado(int id, std::function<void(QPainter&)> dibujar, int lado = 16) {
  return QIcon(new TMotorIconoDibujado(id, std::move(dibujar), lado));
}

// A cursor drawn at the screen's pixel ratio; the hot spot is the arrow's tip.
QCursor CursorDibujado(bool soltar) {
  const qreal dpr = qGuiApp ? qGuiApp->devicePixelRatio() : 1.0;
  QImage imagen = Lienzo(32, 32, dpr);
  QPainter p(&imagen);
  Suavizar(p);
  QPainterPath flecha;
  flecha.moveTo(1, 1);
  flecha.lineTo(1, 17);
  flecha.lineTo(5, 13.5);
  flecha.lineTo(8, 20);
  flecha.lineTo(10.5, 19);
  flecha.lineTo(7.5, 12.5);
  flecha.lineTo(12.5, 12.5);
  flecha.closeSubpath();
  p.setPen(QPen(Qt::black, 1.0));
  p.setBrush(Qt::white);
  p.drawPath(flecha);
  if (soltar) {
    // A small card under the arrow: something is being carried.
    p.setPen(QPen(QColor(60, 60, 60), 1.0));
    p.setBrush(QColor(252, 250, 244));
    p.drawRoundedRect(QRectF(12.5, 14.5, 12, 16), 2, 2);
    p.setBrush(QColor(214, 40, 48));
    p.setPen(Qt::NoPen);
    p.drawEllipse(QPointF(18.5, 22.5), 3, 3);
  } else {
    p.setPen(QPen(QColor(110, 0, 0), 1.0));
    p.setBrush(QColor(220, 30, 30));
    p.drawEllipse(QPointF(21, 22), 8, 8);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawRect(QRectF(16, 20.5, 10, 3));
  }
  p.end();
  return QCursor(QPixmap::fromImage(imagen), 1, 1);
}

}  // namespace

// ---------------------------------------------------------------- public

QPixmap DibujoCara(int indice, qreal dpr) {
  if (indice < 0 || indice >= 40) return DibujoOtros(0, dpr);
  return EnCache('C', indice, dpr, [&] { return ImagenCara(indice, kTamannoCarta, dpr); });
}

QPixmap DibujoOtros(int indice, qreal dpr) {
  if (indice < 0 || indice > 2) indice = 0;
  return EnCache('O', indice, dpr, [&] { return ImagenOtros(indice, kTamannoCarta, dpr); });
}

QPixmap DibujoFundacion(int palo, qreal dpr) {
  if (palo < 0 || palo > 3) return DibujoOtros(0, dpr);
  return EnCache('F', palo, dpr, [&] { return ImagenFundacion(palo, kTamannoCarta, dpr); });
}

QPixmap DibujoReverso(int indice, qreal dpr) {
  if (indice < 0 || indice > 3) {
    return EnCache('R', 4, dpr, [&] { return ImagenMarcador(kTamannoCarta, dpr); });
  }
  return EnCache('R', indice, dpr,
                 [&] { return ImagenReversoIncorporado(indice, kTamannoCarta, dpr); });
}

QPixmap DibujoCara(int indice, QSize tam, qreal dpr) {
  if (indice < 0 || indice >= 40) return DibujoOtros(0, tam, dpr);
  return QPixmap::fromImage(ImagenCara(indice, tam, dpr));
}

QPixmap DibujoOtros(int indice, QSize tam, qreal dpr) {
  if (indice < 0 || indice > 2) indice = 0;
  return QPixmap::fromImage(ImagenOtros(indice, tam, dpr));
}

QPixmap DibujoFundacion(int palo, QSize tam, qreal dpr) {
  if (palo < 0 || palo > 3) return DibujoOtros(0, tam, dpr);
  return QPixmap::fromImage(ImagenFundacion(palo, tam, dpr));
}

QPixmap DibujoReverso(int indice, QSize tam, qreal dpr) {
  if (indice < 0 || indice > 3) return QPixmap::fromImage(ImagenMarcador(tam, dpr));
  return QPixmap::fromImage(ImagenReversoIncorporado(indice, tam, dpr));
}

QImage ImagenMarcadorReverso() {
  QImage imagen = ImagenMarcador(kTamannoCarta, 1.0);
  return imagen.convertToFormat(QImage::Format_ARGB32);
}

void DibujarIconoMenu(QPainter& p, int indice) {
  if (indice >= 0 && indice < static_cast<int>(kIconos.size()))
    kIconos[static_cast<std::size_t>(indice)](p);
}

QIcon IconoMenu(int indice) {
  if (indice < 0 || indice >= static_cast<int>(kIconos.size())) return {};
  return IconoDibujado(indice, kIconos[static_cast<std::size_t>(indice)]);
}

QIcon IconoOpciones() {
  return IconoDibujado(kIdOpciones, [](QPainter& p) {
    // A cog: eight teeth round a ring.
    const QPointF c(8, 8);
    QPainterPath rueda;
    for (int i = 0; i < 16; ++i) {
      const qreal a0 = M_PI * (i - 0.5) / 8;
      const qreal a1 = M_PI * (i + 0.5) / 8;
      const qreal r = i % 2 ? 5.2 : 7.3;
      const QPointF p0 = c + QPointF(std::cos(a0) * r, std::sin(a0) * r);
      const QPointF p1 = c + QPointF(std::cos(a1) * r, std::sin(a1) * r);
      if (i == 0) rueda.moveTo(p0); else rueda.lineTo(p0);
      rueda.lineTo(p1);
    }
    rueda.closeSubpath();
    rueda.addEllipse(c, 2.4, 2.4);
    rueda.setFillRule(Qt::OddEvenFill);
    p.setPen(QPen(QColor(50, 50, 60), 0.8));
    p.setBrush(QColor(150, 156, 170));
    p.drawPath(rueda);
  });
}

QIcon IconoPosicion(int posicion) {
  if (posicion < 1 || posicion > 10) return {};
  return IconoDibujado(kIdPosiciones + posicion, [posicion](QPainter& p) {
    // Yellow digits edged in red.
    QPainterPath texto;
    const QFont f = Fuente("DejaVu Sans Condensed", posicion == 10 ? 12 : 14, true);
    texto.addText(0, 0, f, QString::number(posicion));
    const QRectF caja = texto.boundingRect();
    texto.translate(8 - caja.center().x(), 8 - caja.center().y());
    p.setPen(QPen(QColor(200, 0, 0), 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(QColor(255, 236, 0));
    p.drawPath(texto);
    p.setPen(Qt::NoPen);
    p.drawPath(texto);
  });
}

QCursor CursorArrastre() { return CursorDibujado(true); }
QCursor CursorNoSoltar() { return CursorDibujado(false); }

QImage DibujoIcono(int lado) {
  QImage imagen = Lienzo(lado, lado, 1.0);
  QPainter p(&imagen);
  Suavizar(p);
  p.scale(lado / 64.0, lado / 64.0);
  // Two fanned cards on green felt.
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0, 110, 0));
  p.drawRoundedRect(QRectF(0, 0, 64, 64), 12, 12);
  p.save();
  p.translate(26, 34);
  p.rotate(-14);
  CartaPequenna(p, QRectF(-14, -20, 28, 42), QColor(26, 58, 140));
  p.restore();
  p.save();
  p.translate(38, 32);
  p.rotate(10);
  CartaPequenna(p, QRectF(-14, -20, 28, 42));
  DibujarOro(p, QPointF(0, 1), 9);
  p.restore();
  p.end();
  return imagen;
}

namespace {

constexpr std::array<int, 4> kLadosIcono{16, 32, 48, 64};

// Each size drawn once, when first asked for; the main thread's alone.
const QPixmap& IconoDeLado(std::size_t k) {
  static std::array<QPixmap, kLadosIcono.size()> dibujados;
  if (dibujados[k].isNull()) dibujados[k] = QPixmap::fromImage(DibujoIcono(kLadosIcono[k]));
  return dibujados[k];
}

}  // namespace

QIcon IconoVentana() {
  // Built once: the application, its windows and the main window's label share it.
  static const QIcon icono = [] {
    QIcon i;
    for (std::size_t k = 0; k < kLadosIcono.size(); ++k) i.addPixmap(IconoDeLado(k));
    return i;
  }();
  return icono;
}

QPixmap IconoVentana16(qreal dpr) {
  // Where one size fits the place exactly it is what the icon would give; any other
  // ratio is left to the icon's own choosing and scaling.
  for (std::size_t k = 0; k < kLadosIcono.size(); ++k)
    if (qFuzzyCompare(16 * dpr, qreal(kLadosIcono[k]))) {
      QPixmap px = IconoDeLado(k);
      px.setDevicePixelRatio(dpr);
      return px;
    }
  return IconoVentana().pixmap(QSize(16, 16), dpr);
}

// The embedded pictures live in this static library; the call keeps the linker
// from dropping them.
static void IniciarRecursos() { Q_INIT_RESOURCE(ventanas); }

QImage ImagenVentana(const QString& nombre) {
  static const QHash<QString, QSize> tamannos{
      {QStringLiteral("Principal"), {303, 333}}, {QStringLiteral("Cargando"), {297, 102}},
      {QStringLiteral("Fondo"), {572, 346}},     {QStringLiteral("FinJuego"), {355, 199}},
      {QStringLiteral("Records"), {314, 79}}};
  const auto it = tamannos.constFind(nombre);
  if (it == tamannos.constEnd()) return {};
  static const bool iniciados = (IniciarRecursos(), true);
  Q_UNUSED(iniciados);
  QFile archivo(QStringLiteral(":/cartoval/") + nombre + QStringLiteral(".jpg"));
  if (!archivo.open(QIODevice::ReadOnly)) return {};
  QImage imagen = DecodificarJpeg(archivo.readAll(), *it);
  if (!imagen.isNull() && imagen.size() != *it) {
    imagen = imagen.scaled(*it, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  }
  return imagen;
}
