#pragma once
// Answering the program's modal dialogs from a test: each step waits for the dialog it
// expects to be the active modal one and handles it (it must close it). A dialog no step
// expects is recorded and rejected, so that a wrong turn fails instead of hanging.
#include <QApplication>
#include <QDialog>
#include <QTest>
#include <QTimer>

#include <cstdio>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "play/ventanas/Juego.h"
#include "play/ventanas/Tapete.h"

class TModales {
 public:
  TModales() {
    timer_.setInterval(5);
    QObject::connect(&timer_, &QTimer::timeout, [this] { Atender(); });
    timer_.start();
  }

  template <class T>
  void Luego(std::function<void(T&)> accion) {
    pasos_.push_back([accion](QWidget* w) {
      auto* d = qobject_cast<T*>(w);
      if (!d) return false;
      accion(*d);
      return true;
    });
  }

  bool Terminados() const { return pasos_.empty(); }
  // Class names of the dialogs that showed up and no step expected.
  std::vector<std::string> Inesperados;

 private:
  void Atender() {
    QWidget* w = QApplication::activeModalWidget();
    if (!w || !w->isVisible() || atendiendo_) return;
    atendiendo_ = true;
    if (!pasos_.empty() && pasos_.front()(w)) {
      pasos_.pop_front();
    } else if (auto* d = qobject_cast<QDialog*>(w)) {
      Inesperados.push_back(w->metaObject()->className());
      d->reject();
    }
    atendiendo_ = false;
  }

  QTimer timer_;
  std::deque<std::function<bool(QWidget*)>> pasos_;
  bool atendiendo_ = false;
};

// A point where the control is the topmost one on the table, so a press there reaches it.
inline QPoint PuntoVisible(const TTapete& t, const TControl& c) {
  const QRect r = t.Rectangulo(c);
  for (int y = r.top() + 2; y < r.bottom(); y += 3)
    for (int x = r.left() + 2; x < r.right(); x += 3)
      if (t.ControlEn(QPoint(x, y)) == &c) return {x, y};
  return {-1, -1};
}

// A drag with the mouse, as the table tool writes it: pile.position>pile, positions from
// the bottom card (0), piles numbered from 1 in creation order. False where it did not move.
inline bool ArrastrarConRaton(TfrmJuego& juego, int desde, int posicion, int hacia) {
  TMesa& m = juego.mesa;
  if (desde < 1 || hacia < 1 || desde > static_cast<int>(m.Pilas.size()) ||
      hacia > static_cast<int>(m.Pilas.size()))
    return false;
  TPila& origen = *m.Pilas[static_cast<std::size_t>(desde - 1)];
  TPila& destino = *m.Pilas[static_cast<std::size_t>(hacia - 1)];
  TCarta* carta = origen.Tope;
  for (int k = origen.Cantidad - 1; carta && k > posicion; --k) carta = carta->Debajo;
  if (!carta) return false;
  const TControl& blanco =
      destino.Tope ? static_cast<const TControl&>(*destino.Tope) : static_cast<TControl&>(destino);
  TTapete* t = juego.Tapete;
  const QPoint a = PuntoVisible(*t, *carta);
  const QPoint b = PuntoVisible(*t, blanco);
  if (a.x() < 0 || b.x() < 0) return false;
  QTest::mousePress(t, Qt::LeftButton, {}, a);
  QTest::mouseMove(t, (a + b) / 2);
  QTest::mouseMove(t, b);
  QTest::mouseRelease(t, Qt::LeftButton, {}, b);
  return carta->Pila == &destino;
}

// Plays "10.4>4 10.3>4 ..." with the mouse; the index of the first step that failed, or
// -1 when all moved.
inline int JugarConRaton(TfrmJuego& juego, const std::string& linea) {
  std::size_t i = 0;
  int paso = 0;
  while (i < linea.size()) {
    while (i < linea.size() && linea[i] == ' ') ++i;
    if (i >= linea.size()) break;
    int desde = 0, pos = 0, hacia = 0;
    const char* p = linea.c_str() + i;
    int leidos = 0;
    if (std::sscanf(p, "%d.%d>%d%n", &desde, &pos, &hacia, &leidos) != 3) return paso;
    if (!ArrastrarConRaton(juego, desde, pos, hacia)) return paso;
    i += static_cast<std::size_t>(leidos);
    ++paso;
  }
  return -1;
}
