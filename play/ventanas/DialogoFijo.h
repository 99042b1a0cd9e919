#pragma once
// The small dialogs that must stay put (end of game, score table, name entry): centred on
// the screen when shown and moved back to that place whenever anything moves them.
#include <QDialog>
#include <QGuiApplication>
#include <QLayout>
#include <QMoveEvent>
#include <QScreen>
#include <QShowEvent>

#include <algorithm>
#include <cstdint>

// A dialog of fixed size laid out from its content: as large as its layout asks for with
// the fonts in use, so no text is cut, and never smaller than the size of its form.
inline void AjustarAlContenido(QWidget& dialogo, QSize minimo) {
  dialogo.ensurePolished();
  if (QLayout* l = dialogo.layout()) l->activate();
  dialogo.setFixedSize(dialogo.sizeHint().expandedTo(minimo));
}

class TDialogoFijo : public QDialog {
 public:
  using QDialog::QDialog;

  // Screen width halved minus the outer width halved, likewise for the height. A dialog
  // larger than the screen is held at its top-left corner rather than off screen.
  void CalcularPosicionFija() {
    const QScreen* pantalla = QGuiApplication::primaryScreen();
    const QRect r = pantalla ? pantalla->geometry() : QRect(0, 0, 1024, 768);
    const QSize exterior = isVisible() ? frameGeometry().size() : size();
    PosFijaX = static_cast<std::uint16_t>(std::max(0, r.width() / 2 - exterior.width() / 2));
    PosFijaY = static_cast<std::uint16_t>(std::max(0, r.height() / 2 - exterior.height() / 2));
    fijada_ = true;
    move(PosicionFija());
  }

  QPoint PosicionFija() const { return {PosFijaX, PosFijaY}; }

  std::uint16_t PosFijaX = 0;
  std::uint16_t PosFijaY = 0;

 protected:
  void showEvent(QShowEvent* e) override {
    // The frame is known only now; its size may shift the centre.
    QDialog::showEvent(e);
    if (!e->spontaneous()) CalcularPosicionFija();
  }
  void moveEvent(QMoveEvent* e) override {
    QDialog::moveEvent(e);
    if (fijada_ && pos() != PosicionFija()) move(PosicionFija());
  }

 private:
  bool fijada_ = false;
};
