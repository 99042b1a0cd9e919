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
}

void TfrmCargando::Mostrar() {
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
