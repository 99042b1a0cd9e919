#pragma once
// The name entry of a result that entered a game's score table.
#include "play/ventanas/DialogoFijo.h"

class QLabel;
class QLineEdit;
class QPushButton;

class TfrmRecords : public TDialogoFijo {
  Q_OBJECT

 public:
  explicit TfrmRecords(QWidget* parent = nullptr);

  QLabel* Image1;
  QLabel* Label1;
  QLineEdit* edtNombre;
  QPushButton* bbtnAceptar;
  QPushButton* bbtnCancelar;

 protected:
  void showEvent(QShowEvent* e) override;
  // Enter and Escape act when the key is released, not when it goes down.
  void keyPressEvent(QKeyEvent* e) override;
  void keyReleaseEvent(QKeyEvent* e) override;
  bool eventFilter(QObject* objeto, QEvent* e) override;
};
