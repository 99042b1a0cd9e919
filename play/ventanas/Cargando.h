#pragma once
// The splash shown while a setup builds a deal. The setup's last step hides it, and the
// game window then starts counting the new deal.
#include <QDialog>
#include <QImage>
#include <QTimer>

class TfrmCargando : public QDialog {
  Q_OBJECT

 public:
  explicit TfrmCargando(QWidget* parent = nullptr);

  // Up from here until Ocultar: a setup is running. The window itself comes on the screen,
  // painted at once, only if the event loop runs before the setup ends.
  void Mostrar();
  // The setup's last step; nothing to undo when the window never came on the screen.
  void Ocultar();
  // Between Mostrar and Ocultar.
  bool Mostrando() const { return mostrando_; }

 protected:
  void paintEvent(QPaintEvent* e) override;

 private:
  void mostrarEnPantalla();
  QImage imagen_;
  bool mostrando_ = false;
  QTimer tmrMostrar_;
};
