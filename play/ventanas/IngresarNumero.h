#pragma once
// "Jugar juego número...": asks for the number of a deal; the caller reads
// NroIngresado after it was confirmed.
#include <QDialog>

#include <cstdint>

class QLineEdit;
class QPushButton;

// The number entered in the last confirmed dialog.
extern std::int32_t NroIngresado;

class TfrmIngresarNumero : public QDialog {
  Q_OBJECT

 public:
  explicit TfrmIngresarNumero(QWidget* parent = nullptr);

  QLineEdit* edtNumero;
  QPushButton* bbtnAceptar;
  QPushButton* bbtnCancelar;

 protected:
  void showEvent(QShowEvent* e) override;

 private:
  void edtNumeroChange(const QString& texto);
  bool propuesto_ = false;
};
