// Draws the window pictures once and writes them as the JPEG files embedded in the
// game: cmake --build BUILD --target generar_imagenes && BUILD/generar_imagenes resources
// The files are committed; run this again only to change the art.
#include <QDir>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QImageWriter>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QRandomGenerator>

#include <cstdio>

#include "resources/Dibujos.h"

namespace {

QFont Fuente(const char* familia, int tamanno, bool negrita, bool cursiva = false) {
  QFont f(QString::fromLatin1(familia));
  f.setPixelSize(tamanno);
  f.setBold(negrita);
  f.setItalic(cursiva);
  return f;
}

// Green baize: a soft light in the middle and a fine grain, like the table cloth.
void Pano(QPainter& p, const QRect& r, QColor base, quint32 semilla) {
  QRadialGradient g(r.center(), qMax(r.width(), r.height()) * 0.75);
  g.setColorAt(0, base.lighter(135));
  g.setColorAt(0.6, base);
  g.setColorAt(1, base.darker(150));
  p.fillRect(r, g);
  QRandomGenerator azar(semilla);
  for (int i = 0; i < r.width() * r.height() / 6; ++i) {
    const int x = r.left() + azar.bounded(r.width());
    const int y = r.top() + azar.bounded(r.height());
    const int a = azar.bounded(18);
    p.fillRect(QRect(x, y, 1, 1), azar.bounded(2) ? QColor(255, 255, 255, a) : QColor(0, 0, 0, a));
  }
}

// A gold title with a dark shadow and a thin dark edge.
void Titulo(QPainter& p, const QString& texto, const QFont& f, QPointF centro) {
  QPainterPath camino;
  camino.addText(0, 0, f, texto);
  const QRectF caja = camino.boundingRect();
  camino.translate(centro.x() - caja.center().x(), centro.y() - caja.center().y());
  p.save();
  p.translate(2.5, 3);
  p.fillPath(camino, QColor(0, 0, 0, 140));
  p.restore();
  const QRectF b = camino.boundingRect();
  QLinearGradient oro(b.topLeft(), b.bottomLeft());
  oro.setColorAt(0, QColor(255, 240, 160));
  oro.setColorAt(0.45, QColor(240, 190, 50));
  oro.setColorAt(1, QColor(170, 110, 10));
  p.setPen(QPen(QColor(90, 50, 0), 1.4));
  p.setBrush(oro);
  p.drawPath(camino);
}

void TextoSombra(QPainter& p, const QRectF& r, int alineacion, const QString& texto,
                 const QFont& f, QColor color) {
  p.setFont(f);
  p.setPen(QColor(0, 0, 0, 150));
  p.drawText(r.translated(1, 1), alineacion, texto);
  p.setPen(color);
  p.drawText(r, alineacion, texto);
}

void Marco(QPainter& p, const QRect& r) {
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(QColor(120, 80, 10), 3));
  p.drawRect(QRectF(r).adjusted(1.5, 1.5, -1.5, -1.5));
  p.setPen(QPen(QColor(236, 190, 70), 1));
  p.drawRect(QRectF(r).adjusted(5.5, 5.5, -5.5, -5.5));
}

// A card drawn turned round its centre.
void Carta(QPainter& p, const QPixmap& carta, QPointF centro, qreal grados, qreal escala = 1) {
  p.save();
  p.translate(centro);
  p.rotate(grados);
  p.scale(escala, escala);
  const QRectF r(-kAnchoCarta / 2.0, -kAltoCarta / 2.0, kAnchoCarta, kAltoCarta);
  p.fillRect(r.translated(3, 3).adjusted(2, 2, -2, -2), QColor(0, 0, 0, 70));
  p.drawPixmap(r, carta, QRectF(carta.rect()));
  p.restore();
}

QImage Nueva(int ancho, int alto) {
  QImage imagen(ancho, alto, QImage::Format_RGB32);
  imagen.fill(Qt::black);
  return imagen;
}

QImage Principal() {
  QImage imagen = Nueva(303, 333);
  QPainter p(&imagen);
  p.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing |
                   QPainter::SmoothPixmapTransform);
  Pano(p, imagen.rect(), QColor(0, 100, 0), 1);
  Marco(p, imagen.rect());
  Titulo(p, QStringLiteral("Cartoval"), Fuente("DejaVu Serif", 52, true, true),
         QPointF(151.5, 52));
  TextoSombra(p, QRectF(0, 84, 303, 20), Qt::AlignCenter,
              QStringLiteral("Solitarios con la baraja española"),
              Fuente("DejaVu Serif", 13, false, true), QColor(250, 240, 200));
  // A fan of the four aces with the Rey de Oros on top.
  const int cartas[] = {20, 30, 10, 0, 9};
  for (int i = 0; i < 5; ++i) {
    p.save();
    p.translate(151.5, 322);
    p.rotate(-36.0 + 18.0 * i);
    Carta(p, DibujoCara(cartas[i], 2.0), QPointF(0, -112), 0, 1.1);
    p.restore();
  }
  TextoSombra(p, QRectF(0, 300, 303, 22), Qt::AlignCenter,
              QStringLiteral("Dieciséis solitarios de 40 cartas"),
              Fuente("DejaVu Sans", 12, true), QColor(255, 236, 120));
  return imagen;
}

QImage Cargando() {
  QImage imagen = Nueva(297, 102);
  QPainter p(&imagen);
  p.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing |
                   QPainter::SmoothPixmapTransform);
  Pano(p, imagen.rect(), QColor(0, 96, 0), 2);
  Marco(p, imagen.rect());
  Carta(p, DibujoReverso(0, 2.0), QPointF(38, 52), -14, 0.72);
  Carta(p, DibujoReverso(1, 2.0), QPointF(50, 51), -2, 0.72);
  Carta(p, DibujoCara(7, 2.0), QPointF(62, 52), 12, 0.72);
  Titulo(p, QStringLiteral("Cartoval"), Fuente("DejaVu Serif", 30, true, true),
         QPointF(187, 38));
  TextoSombra(p, QRectF(90, 58, 200, 22), Qt::AlignCenter,
              QStringLiteral("Mezclando y repartiendo..."), Fuente("DejaVu Sans", 13, true),
              QColor(250, 240, 200));
  return imagen;
}

// The table's watermark: drawn over the felt colour of the game window, so it keeps
// to a few greens close to it.
QImage Fondo() {
  QImage imagen = Nueva(572, 346);
  QPainter p(&imagen);
  p.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
  const QColor mesa(0, 91, 0), marca(0, 104, 0), brillo(0, 112, 0);
  p.fillRect(imagen.rect(), mesa);
  p.setPen(QPen(marca, 6));
  p.setBrush(Qt::NoBrush);
  p.drawEllipse(QRectF(30, 22, 512, 302));
  p.setPen(QPen(marca, 2));
  p.drawEllipse(QRectF(44, 36, 484, 274));
  QPainterPath titulo;
  const QFont f = Fuente("DejaVu Serif", 92, true, true);
  titulo.addText(0, 0, f, QStringLiteral("Cartoval"));
  const QRectF caja = titulo.boundingRect();
  titulo.translate(286 - caja.center().x(), 160 - caja.center().y());
  p.fillPath(titulo.translated(2, 2), QColor(0, 80, 0));
  p.fillPath(titulo, brillo);
  p.setFont(Fuente("DejaVu Serif", 20, false, true));
  p.setPen(marca);
  p.drawText(QRectF(0, 222, 572, 30), Qt::AlignCenter,
             QStringLiteral("Oros · Copas · Espadas · Bastos"));
  return imagen;
}

QImage FinJuego() {
  QImage imagen = Nueva(355, 199);
  QPainter p(&imagen);
  p.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing |
                   QPainter::SmoothPixmapTransform);
  Pano(p, imagen.rect(), QColor(0, 100, 0), 3);
  Marco(p, imagen.rect());
  Titulo(p, QStringLiteral("¡Ganaste!"), Fuente("DejaVu Serif", 36, true, true),
         QPointF(177.5, 32));
  // The four kings of a won game, fanned in the middle.
  for (int i = 0; i < 4; ++i) {
    p.save();
    p.translate(177.5, 154);
    p.rotate(-33.0 + 22.0 * i);
    Carta(p, DibujoCara(9 + 10 * i, 2.0), QPointF(0, -68), 0, 0.72);
    p.restore();
  }
  TextoSombra(p, QRectF(0, 134, 355, 18), Qt::AlignCenter,
              QStringLiteral("¡Felicitaciones! Pusiste todas las cartas en su lugar."),
              Fuente("DejaVu Sans", 11, true), QColor(250, 240, 200));
  TextoSombra(p, QRectF(0, 152, 355, 20), Qt::AlignCenter,
              QStringLiteral("¿Querés jugar otra vez?"), Fuente("DejaVu Sans", 13, true),
              QColor(255, 236, 120));
  return imagen;
}

// The record banner: yellow letters edged in red on the dialog's dark teal.
QImage Records() {
  QImage imagen = Nueva(314, 79);
  QPainter p(&imagen);
  p.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
  p.fillRect(imagen.rect(), QColor(0, 68, 68));
  const QFont f = Fuente("DejaVu Sans", 21, true, true);
  const QString lineas[] = {QStringLiteral("¡Estableciste un"), QStringLiteral("nuevo record!")};
  for (int i = 0; i < 2; ++i) {
    QPainterPath camino;
    camino.addText(0, 0, f, lineas[i]);
    const QRectF caja = camino.boundingRect();
    camino.translate(157 - caja.center().x(), 22 + 35 * i - caja.center().y());
    p.setPen(QPen(QColor(200, 0, 0), 3.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(camino);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 230, 0));
    p.drawPath(camino);
  }
  return imagen;
}

bool Guardar(const QImage& imagen, const QDir& carpeta, const char* nombre) {
  QImageWriter escritor(carpeta.filePath(QString::fromLatin1(nombre) + QStringLiteral(".jpg")),
                        "jpeg");
  escritor.setQuality(92);
  escritor.setOptimizedWrite(true);
  if (escritor.write(imagen)) return true;
  std::fprintf(stderr, "%s: %s\n", nombre, qPrintable(escritor.errorString()));
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  const QDir carpeta(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("."));
  bool bien = Guardar(Principal(), carpeta, "Principal");
  bien = Guardar(Cargando(), carpeta, "Cargando") && bien;
  bien = Guardar(Fondo(), carpeta, "Fondo") && bien;
  bien = Guardar(FinJuego(), carpeta, "FinJuego") && bien;
  bien = Guardar(Records(), carpeta, "Records") && bien;
  return bien ? 0 : 1;
}
