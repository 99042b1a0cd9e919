#pragma once
// The card-back chooser: the four built-in backs, the player's own pictures five to a
// row, a frame around the chosen one and Aceptar / Cancelar / Ayuda. It lives for the
// whole run; Aceptar stores the clicked back as the current one.
#include <QDialog>
#include <QLabel>
#include <QWidget>

#include <array>
#include <string>
#include <vector>

class QGroupBox;
class QPushButton;
class QScrollArea;

// A picture the player clicks: a press and a release of the left button over it.
class TImagenReverso : public QLabel {
  Q_OBJECT

 public:
  explicit TImagenReverso(QWidget* parent = nullptr);
  int Tag = 0;

 signals:
  void Click();

 protected:
  void mousePressEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;

 private:
  bool presionada_ = false;
};

// The frame behind a picture: a rounded rectangle, navy pen 2 pixels wide, 4 pixels
// larger than the picture on every side.
class TMarco : public QWidget {
  Q_OBJECT

 public:
  TMarco(QColor relleno, QWidget* parent);

 protected:
  void paintEvent(QPaintEvent* e) override;

 private:
  QColor relleno_;
};

class TfrmReversos : public QDialog {
  Q_OBJECT

 public:
  explicit TfrmReversos(QWidget* parent = nullptr);

  // The back the last click chose; empty until the first click of the run. Kept across
  // openings: a cancelled click is what a later Aceptar stores.
  std::string ReversoPendiente;
  // What Aceptar stored, for the caller that stores it once more.
  std::string ReversoElegido() const;

  // Each activation: the built-in pictures, the player's pictures on the first one,
  // the frame around the current back.
  void FormActivate();
  void MarcarSeleccion(QWidget* imagen, TMarco* mostrar, TMarco* ocultar);
  void ImagenDefClick(TImagenReverso* imagen);
  void ImagenUsrClick(TImagenReverso* imagen);
  void bbtnAceptarClick();
  void bbtnAyudaClick();

  QGroupBox* GroupBox1;
  QGroupBox* GroupBox2;
  std::array<TImagenReverso*, 4> Imagenes{};  // Image1 to Image4
  QScrollArea* sbImagenes;
  QWidget* sbContenido;  // what scrolls inside sbImagenes
  TMarco* Shape1;
  TMarco* Shape2;
  QLabel* Label1;
  QPushButton* bbtnAceptar;
  QPushButton* BitBtn2;
  QPushButton* bbtnAyuda;

  // The player's pictures as placed, in the order of the list (newest first).
  struct TUbicado {
    std::string Archivo;
    TImagenReverso* Imagen;
  };
  const std::vector<TUbicado>& ReversosUbicados() const { return ubicados_; }

 protected:
  bool event(QEvent* e) override;
  void showEvent(QShowEvent* e) override;

 private:
  void MostrarReversosUsuario();
  void UbicarReversosUsuario();

  // True until the player's pictures are placed; set again when the list they came
  // from is no longer the program's list.
  bool UbicarReversos = true;
  std::vector<TUbicado> ubicados_;
};
