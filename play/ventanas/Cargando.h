#pragma once
// The splash shown while a setup builds a deal. The setup's last step hides it, and the
// game window then starts counting the new deal.
#include <QDialog>
#include <QImage>

class TfrmCargando : public QDialog {
  Q_OBJECT

 public:
  explicit TfrmCargando(QWidget* parent = nullptr);

  // Shows it and paints it at once: the setup that follows keeps the event loop busy.
  void Mostrar();

 protected:
  void paintEvent(QPaintEvent* e) override;

 private:
  QImage imagen_;
};
