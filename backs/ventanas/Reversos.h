#pragma once
// The card-back chooser: the four built-in backs, the player's own pictures five to a
// row, a frame around the chosen one and Aceptar / Cancelar / Ayuda. It is made when first
// opened and lives for the rest of the run; Aceptar stores the clicked back as the current
// one. The player's pictures are a list view over a model: only the rows in view are
// painted, and their pictures are decoded on a worker as they come into view.
#include <QAbstractListModel>
#include <QDialog>
#include <QLabel>
#include <QWidget>

#include <array>
#include <string>
#include <vector>

class QGroupBox;
class QListView;
class QPushButton;

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

// The player's backs as rows of a list: the file names of the program's list, newest
// first. Pictures are not held here; the view's delegate asks for those it paints.
class TModeloReversos : public QAbstractListModel {
  Q_OBJECT

 public:
  using QAbstractListModel::QAbstractListModel;
  // Takes the list as it is now (a copy of the paths).
  void Poner(std::vector<std::string> archivos);
  const std::vector<std::string>& Archivos() const { return archivos_; }
  int rowCount(const QModelIndex& padre = {}) const override;
  // Display: the file name; tool tip: the full path.
  QVariant data(const QModelIndex& indice, int rol) const override;

 private:
  std::vector<std::string> archivos_;
};

class TfrmReversos : public QDialog {
  Q_OBJECT

 public:
  // The player's backs in their box: this many to a row, each in a cell of this size,
  // the picture this far from the cell's corner (columns at 10, 84, 158, 232, 306).
  static constexpr int PorFila = 5;
  static constexpr QSize Celda{74, 107};
  static constexpr QPoint EnCelda{10, 10};

  explicit TfrmReversos(QWidget* parent = nullptr);

  // The back the last click of this opening chose; empty at each opening, so that
  // Aceptar without a click keeps the back the dialog opened with.
  std::string ReversoPendiente;
  // What Aceptar stored, for the caller that stores it once more.
  std::string ReversoElegido() const;

  // Each activation: the built-in pictures, the player's list on the first one, the
  // frame around the current back.
  void FormActivate();
  void MarcarSeleccion(QWidget* imagen, TMarco* mostrar, TMarco* ocultar);
  void ImagenDefClick(TImagenReverso* imagen);
  void ImagenUsrClick(int fila);
  void bbtnAceptarClick();
  void bbtnAyudaClick();

  // The row of the player's back framed in yellow, or -1.
  int MarcadaUsuario() const { return marcadaUsuario_; }
  // Where a row's picture lies in the view's viewport (it may be outside it), and the
  // row whose picture holds a point of the viewport (-1 for none).
  QRect RectanguloUsuario(int fila) const;
  int FilaEn(QPoint punto) const;

  QGroupBox* GroupBox1;
  QGroupBox* GroupBox2;
  std::array<TImagenReverso*, 4> Imagenes{};  // Image1 to Image4
  QListView* sbImagenes;  // the player's backs
  TModeloReversos* Modelo;
  TMarco* Shape1;
  QLabel* Label1;
  QPushButton* bbtnAceptar;
  QPushButton* BitBtn2;
  QPushButton* bbtnAyuda;

 protected:
  bool event(QEvent* e) override;
  bool eventFilter(QObject* objeto, QEvent* e) override;
  void showEvent(QShowEvent* e) override;

 private:
  void MostrarReversosUsuario();
  void MarcarUsuario(int fila);

  int presionada_ = -1;  // the row a left press went down on
  // True until the player's list is in the view; set again when the list it came from
  // is no longer the program's list.
  bool UbicarReversos = true;
  int marcadaUsuario_ = -1;
};
