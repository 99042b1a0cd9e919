#pragma once
// The table of the game window: paints every card, pile and the stock of the engine in
// stacking order and turns the mouse into engine calls (drag, drop, clicks, right click).
// The engine lays the table out for one screen width; the widget paints it through a
// transform that fits it to its size and maps the pointer back through the inverse.
#include <QElapsedTimer>
#include <QHash>
#include <QTimer>
#include <QImage>
#include <QPixmap>
#include <QPoint>
#include <QTransform>
#include <QWidget>

#include <functional>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "engine/Mesa.h"

class QPainter;
class QRegion;

class TTapete : public QWidget {
  Q_OBJECT

 public:
  // A picture of the table: its opaque middle, relative to its corner, copied without alpha
  // (empty where the picture has none).
  struct TDibujo {
    QPixmap Px;
    QRect Interior;
    QPixmap Opaco;
  };

  explicit TTapete(TMesa& mesa, QWidget* parent = nullptr);
  ~TTapete() override;

  // The topmost visible card, pile or stock whose painted rectangle holds the point.
  TControl* ControlEn(QPoint punto) const;
  // The control's place in table coordinates, as the engine holds it.
  static QRect RectanguloMesa(const TControl& control);
  // Where the control is painted and answers the pointer, in widget coordinates.
  QRect Rectangulo(const TControl& control) const;
  // The table point under a widget point (the inverse of the transform).
  QPoint PuntoMesa(QPoint punto) const;

  // Fits `zona` (table coordinates) into the widget below its first `arriba` pixels,
  // centred, as large as the widget allows with the zone's proportions. An empty zone
  // paints the table at its own size from the widget's corner.
  void Encuadrar(const QRect& zona, int arriba);
  const QTransform& Vista() const { return vista_; }
  double Escala() const { return escala_; }
  // Logical size of a card as painted.
  QSize TamannoCarta() const { return tamCarta_; }
  // The size a table of `tamanno` logical pixels paints its cards at, fitting `zona` below
  // its first `arriba` pixels (Encuadrar).
  static QSize TamannoCartaPara(QSize tamanno, const QRect& zona, int arriba);
  // Draws on a worker the faces, places and emblems of a table whose cards are `carta`
  // logical pixels at the pixel ratio `dpr`: the first table of that size takes them
  // instead of drawing them while its window waits to be shown.
  static void PrepararDibujos(QSize carta, qreal dpr);

  // imgFondo: drawn under the table at `posicion` (window coordinates).
  void PonerFondo(const QImage& fondo);
  void PonerPosicionFondo(QPoint posicion);
  QPoint PosicionFondo() const { return posicionFondo_; }

  // Every face-down card shows the chosen back again.
  void RepintarReversos();
  // Repaints only what the engine changed since the last call: the cards, piles and stock
  // that came, went, moved, turned or changed places in the stacking, and the focus. A new
  // deal or a move then paints the cards it touched, not the whole table.
  void MostrarCambios();

  TCarta* Arrastrada() const { return arrastrada_; }

  // Painted over the table after everything else (the hint's marks).
  std::function<void(QPainter&)> DibujarEncima;
  // How far outside a card what DibujarEncima paints reaches now: what a step changed is
  // repainted that much around it (five pixels when not told).
  std::function<int()> MargenEncima;
  bool AceptaSoltar() const { return acepta_; }

  // Keyboard play: the focus is on a pile, or on a face-up card of it with the cards
  // lying on it; the arrow keys move it, Space or Enter picks the run up and puts it
  // down on the pile in focus, Escape puts it back, A moves it by itself, M deals.
  TPila* PilaEnFoco() const;
  TCarta* CartaEnFoco() const;
  // The run picked up with the keyboard, and whether the pile in focus would take it.
  TCarta* Llevada() const { return llevada_; }
  bool AceptaFoco() const { return aceptaFoco_; }
  // Whether the focus is shown (from the first key on, until the mouse is used).
  bool FocoVisible() const { return focoVisible_; }
  // For assistive technology: "5 de Copas, boca arriba, en la pila 3", "Pila 2, vacía",
  // "Mazo, 12 cartas"; what is carried ("Llevás 5 de Copas"); where the focus is shown.
  QString DescripcionFoco() const;
  QString DescripcionLlevada() const;
  QRect RectanguloFoco() const { return rectanguloFoco(); }

  // Cards that move: `accion` changes the table at once; the cards it moved then glide
  // from where they were shown to their new places. Any input first finishes a glide.
  void Animar(const std::function<void()>& accion);
  void TerminarAnimacion();
  bool Animando() const { return !moviles_.empty(); }
  void PonerAnimacion(bool si);
  // The glide's length for this many cards.
  int DuracionAnimacion() const { return duracion_; }
  // Where the card is painted now: its place, or on its way there.
  QRect RectanguloPintado(const TCarta& carta) const;

 signals:
  // After every mouse event that reached the engine.
  void Cambio();

 protected:
  void paintEvent(QPaintEvent* e) override;
  void mousePressEvent(QMouseEvent* e) override;
  void mouseDoubleClickEvent(QMouseEvent* e) override;
  void mouseMoveEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;
  bool event(QEvent* e) override;
  void resizeEvent(QResizeEvent* e) override;
  bool eventFilter(QObject* objeto, QEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;

 private:
  void ajustarVista();
  // The engine's X, Y of a widget point over the control.
  QPoint Local(const TControl& control, QPoint punto) const;
  void presionar(QMouseEvent* e, bool doble);
  void arrastrarSobre(QPoint punto);
  void terminarArrastre(QPoint punto);
  void cancelarArrastre();
  // The run where the pointer carries it, and where it lies on its pile.
  QRect rectanguloArrastre() const;
  QRect rectanguloTramo() const;
  const TDibujo& dibujo(const TImagen& imagen);
  // A picture to paint at its place, with its opaque middle there.
  struct TPintado {
    QRect Lugar;
    TDibujo D;
    QRect Interior;
  };
  void pintarVisible(QPainter& p, const QRegion& zona, const std::vector<TPintado>& pinturas);
  void pintarEntero(QPainter& p, const QRegion& zona, const std::vector<TPintado>& pinturas);
  std::vector<const TControl*> enOrden() const;

  // What the table showed at the last MostrarCambios: each picture where it was painted,
  // bottom to top, the focus last.
  struct TPintura {
    QRect Rect;
    int Clave;
    bool operator==(const TPintura&) const = default;
  };
  std::vector<TPintura> escena() const;
  std::vector<TPintura> escena_;

  // Keyboard play.
  struct TFoco {
    TPila* Pila = nullptr;
    TCarta* Carta = nullptr;
  };
  // Visible piles and the stock on the table, in reading order: rows from the top, each
  // from the left.
  std::vector<TPila*> pilasNavegables() const;
  // The face-up cards of the pile that show, from the bottom up.
  static std::vector<TCarta*> cartasEnfocables(const TPila& pila);
  static TFoco focoEn(TPila* pila);
  // The focus as the table is now: a card that left its pile or turned down gives way to
  // its pile's top card; a pile that is gone to the first one.
  TFoco focoActual() const;
  void moverFoco(int tecla);
  void ponerFoco(TFoco foco);
  // The drag-over decision of the pile in focus for the run carried with the keyboard.
  bool preguntarFoco(TEstadoArrastre estado);
  void tomarOSoltar();
  void cancelarLlevada();
  QRect rectanguloFoco() const;
  void pintarFoco(QPainter& p);
  // Tells assistive technology that the focus or what it shows changed.
  void anunciarFoco();

  TMesa& mesa_;
  QImage fondo_;
  QPixmap fondoPx_;
  QPoint posicionFondo_;

  // The fit: the zone of the table shown, the pixels left free at the top, and the
  // transform from table to widget with what it makes of a card.
  QRect zona_;
  int arriba_ = 0;
  QTransform vista_;
  double escala_ = 1;
  QPointF desplazamiento_;
  QSize tamCarta_{62, 98};

  // The back at the current card size and pixel ratio; it follows the player's choice.
  std::uint64_t versionReverso_ = ~std::uint64_t{0};
  TDibujo reverso_;

  // The press being followed: the control that got it, its button, whether it was the
  // second press of a double click.
  TControl* presionado_ = nullptr;
  Qt::MouseButton boton_ = Qt::NoButton;
  bool doble_ = false;

  // The drag: the card heading the run, where the pointer took it, where it is now,
  // the control under the pointer and its answer.
  TCarta* arrastrada_ = nullptr;
  QPoint agarre_;
  QPoint puntero_;
  TControl* destino_ = nullptr;
  bool acepta_ = false;

  TFoco foco_;
  bool focoVisible_ = false;
  TCarta* llevada_ = nullptr;
  bool aceptaFoco_ = false;
  // The last put-down was refused: the focus shows it until the next key.
  bool rechazo_ = false;

  // The glide: where each moving card started (table coordinates), cards the moves
  // covered that still show until it ends, and its clock.
  bool animacion_ = true;
  std::unordered_map<const TControl*, QPoint> moviles_;
  std::unordered_set<const TControl*> persistentes_;
  QElapsedTimer reloj_;
  int duracion_ = 0;
  QTimer tmrAnimacion_;
  QRect zonaAnimacion_;
  void cuadroAnimacion();
  double avance() const;
};
