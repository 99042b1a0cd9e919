#pragma once
// Counts the paint events of the widgets it watches: a frame is known to be on the
// screen once the count has moved.
#include <QEvent>
#include <QObject>

class TContarPintados : public QObject {
 public:
  int Pintados = 0;

 protected:
  bool eventFilter(QObject* objeto, QEvent* e) override {
    if (e->type() == QEvent::Paint) ++Pintados;
    return QObject::eventFilter(objeto, e);
  }
};
