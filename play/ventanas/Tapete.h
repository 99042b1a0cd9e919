#pragma once
// The table of the game window: paints every card, pile and the stock of the engine in
// stacking order and turns the mouse into engine calls (drag, drop, clicks, right click).
#include <QHash>
#include <QImage>
#include <QPixmap>
#include <QPoint>
#include <QWidget>

#include <functional>
#include <vector>

#include "engine/Mesa.h"

class QPainter;

class TTapete : public QWidget {
  Q_OBJECT

 public:
  explicit TTapete(TMesa& mesa, QWidget* parent = nullptr);
  ~TTapete() override;

  // The topmost visible card, pile or stock whose rectangle holds the point.
  TControl* ControlEn(QPoint punto) const;
  static QRect Rectangulo(const TControl& control);

  // imgFondo: drawn under the table at `posicion` (window coordinates).
  void PonerFondo(const QImage& fondo);
  void PonerPosicionFondo(QPoint posicion);
  QPoint PosicionFondo() const { return posicionFondo_; }

  // Every face-down card shows the chosen back again.
  void RepintarReversos();

  TCarta* Arrastrada() const { return arrastrada_; }

  // Painted over the table after everything else (the hint's marks).
  std::function<void(QPainter&)> DibujarEncima;
  bool AceptaSoltar() const { return acepta_; }

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

 private:
  void presionar(QMouseEvent* e, bool doble);
  void arrastrarSobre(QPoint punto);
  void terminarArrastre(QPoint punto);
  void cancelarArrastre();
  // The run where the pointer carries it, and where it lies on its pile.
  QRect rectanguloArrastre() const;
  QRect rectanguloTramo() const;
  const QPixmap& dibujo(const TImagen& imagen);
  std::vector<const TControl*> enOrden() const;

  TMesa& mesa_;
  QImage fondo_;
  QPixmap fondoPx_;
  QPoint posicionFondo_;

  // Pictures at the current pixel ratio; faces never change, backs follow the choice.
  QHash<int, QPixmap> cache_;
  qreal dprCache_ = 0;
  std::uint64_t versionReverso_ = ~std::uint64_t{0};
  QPixmap reverso_;

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
};
