#pragma once
// Every picture the windows show. Cards, places, emblems, icons and cursors are
// drawn with QPainter paths at the requested device pixel ratio, so they stay
// crisp on any screen; the window pictures are JPEG files embedded in the
// executable and decoded with our own libjpeg reader.

#include <QByteArray>
#include <QCursor>
#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QSize>
#include <QString>

class QPainter;

// Logical size of every card-sized picture (faces, backs, places, emblems).
inline constexpr int kAnchoCarta = 62;
inline constexpr int kAltoCarta = 98;

// ilCartas: indice = Palo * 10 + Numero - 1 (0..39). Palos 0 Oros, 1 Copas,
// 2 Espadas, 3 Bastos; Numero 8, 9, 10 are Sota, Caballo and Rey and print
// 10, 11 and 12. Out of range: the empty place.
QPixmap DibujoCara(int indice, qreal dpr);

// ilOtros: 0 outline of an empty place, 1 no-entry sign, 2 two circling arrows.
QPixmap DibujoOtros(int indice, qreal dpr);

// ilFundaciones: the suit emblem that marks an empty foundation (palo 0..3).
QPixmap DibujoFundacion(int palo, qreal dpr);

// ilReversos: 0..3 the four built-in backs, 4 the placeholder of a missing back.
QPixmap DibujoReverso(int indice, qreal dpr);

// The same pictures shown at another size (a table scaled to its window): drawn again at
// `tam` logical pixels and the pixel ratio, not blown up. Not cached: the caller keeps
// the pictures of the size it shows.
QPixmap DibujoCara(int indice, QSize tam, qreal dpr);
QPixmap DibujoOtros(int indice, QSize tam, qreal dpr);
QPixmap DibujoFundacion(int palo, QSize tam, qreal dpr);
QPixmap DibujoReverso(int indice, QSize tam, qreal dpr);
// The same as images, which a worker thread may draw.
QImage ImagenCara(int indice, QSize tam, qreal dpr);
QImage ImagenOtros(int indice, QSize tam, qreal dpr);
QImage ImagenFundacion(int palo, QSize tam, qreal dpr);

// The 62 x 98 placeholder as an image; user backs are drawn over it.
QImage ImagenMarcadorReverso();

// ilMenu 0..10 at 16 x 16 (with a 32 x 32 size for high-density screens).
QIcon IconoMenu(int indice);
// The same drawn on `p` in 16 x 16 logical units. Paths only, no text: the main window
// draws them before its first paint.
void DibujarIconoMenu(QPainter& p, int indice);

// The options of the game window's table.
QIcon IconoOpciones();

// Position icons 1..10 of the score table.
QIcon IconoPosicion(int posicion);

// The program's own "DRAG" and "NODROP" cursors.
QCursor CursorArrastre();
QCursor CursorNoSoltar();

QIcon IconoVentana();
// IconoVentana().pixmap(16 x 16 at `dpr`) without drawing the sizes it does not need.
QPixmap IconoVentana16(qreal dpr);
// The program's icon at any size (also the installed one, drawn at build time).
QImage DibujoIcono(int lado);

// Decoded window picture: "Principal" 303x333, "Cargando" 297x102, "Fondo" 572x346,
// "FinJuego" 355x199, "Records" 314x79. Unknown name: a null image.
QImage ImagenVentana(const QString& nombre);
