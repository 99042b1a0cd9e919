#include "play/ventanas/Cargando.h"

#include <QGuiApplication>
#include <QPainter>
#include <QScreen>

#include "resources/Dibujos.h"

TfrmCargando::TfrmCargando(QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::WindowTitleHint | Qt::CustomizeWindowHint) {
  setWindowTitle(QStringLiteral("Por favor, espere..."));
  setFixedSize(296, 103);
  setModal(false);
  tmrMostrar_.setSingleShot(true);
  tmrMostrar_.setInterval(0);
  connect(&tmrMostrar_, &QTimer::timeout, this, &TfrmCargando::mostrarEnPantalla);
}

// Every setup runs on this thread from start to end without giving the event loop a turn,
// and deals in microseconds: mapping the window, painting it and unmapping it again would
// cost the display more than the deal, and nobody could see it. So the window is mapped
// only when the loop runs while a setup is still up.
void TfrmCargando::Mostrar() {
  mostrando_ = true;
  tmrMostrar_.start();
}

void TfrmCargando::Ocultar() {
  mostrando_ = false;
  tmrMostrar_.stop();
  if (isVisible()) hide();
}

void TfrmCargando::mostrarEnPantalla() {
  if (!mostrando_) return;
  if (imagen_.isNull()) imagen_ = ImagenVentana(QStringLiteral("Cargando"));
  if (QScreen* pantalla = QGuiApplication::primaryScreen()) {
    const QRect r = pantalla->geometry();
    move(r.center() - QPoint(width() / 2, height() / 2));
  }
  show();
  raise();
  repaint();
}

void TfrmCargando::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), QColor(0, 92, 0));
  if (!imagen_.isNull()) p.drawImage(rect(), imagen_);
}
