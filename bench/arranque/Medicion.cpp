// Bench only: linked beside a program's own main, it notes when the application object
// exists and when the first window has been painted and is on the display, with the
// process's memory then. The program itself is left untouched.
#include "bench/arranque/Medicion.h"

#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <ctime>
#include <fstream>

#ifdef CARTOVAL_XCB
#include <QGuiApplication>
#include <xcb/xcb.h>

#include <cstdlib>
#endif

void (*SeguirMidiendo)() = nullptr;

long long AhoraNs() {
  timespec t{};
  clock_gettime(CLOCK_MONOTONIC, &t);
  return static_cast<long long>(t.tv_sec) * 1000000000LL + t.tv_nsec;
}

void EsperarAlServidor() {
#ifdef CARTOVAL_XCB
  auto* x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
  if (!x11 || !x11->connection()) return;
  xcb_connection_t* c = x11->connection();
  std::free(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr));
#endif
}

namespace {

std::string linea;

// "VmHWM:     12345 kB" -> "12345"; "-1" when the line is missing.
std::string CampoStatus(const std::string& campo) {
  std::ifstream status("/proc/self/status");
  std::string l;
  while (std::getline(status, l))
    if (l.rfind(campo + ":", 0) == 0) return std::to_string(std::stoll(l.substr(campo.size() + 1)));
  return "-1";
}

class TMedicion : public QObject {
 protected:
  bool eventFilter(QObject* objeto, QEvent* e) override {
    if (!visto_ && e->type() == QEvent::Paint) {
      auto* w = qobject_cast<QWidget*>(objeto);
      if (w && w->isWindow()) {
        visto_ = true;
        // After the whole frame: the window's children and the flush come after this event.
        QTimer::singleShot(0, this, &TMedicion::Pintado);
      }
    }
    return false;
  }

 private:
  void Pintado() {
    EsperarAlServidor();
    Anotar("pintado_ns", std::to_string(AhoraNs()));
    Anotar("vmhwm_kb", CampoStatus("VmHWM"));
    Anotar("vmrss_kb", CampoStatus("VmRSS"));
    if (SeguirMidiendo)
      SeguirMidiendo();
    else
      TerminarMedicion();
  }

  bool visto_ = false;
};

void Instalar() {
  Anotar("aplicacion_ns", std::to_string(AhoraNs()));
  auto* medicion = new TMedicion;
  medicion->setParent(qApp);
  qApp->installEventFilter(medicion);
}

}  // namespace

void Anotar(const std::string& clave, const std::string& valor) {
  if (!linea.empty()) linea += ' ';
  linea += clave;
  linea += '=';
  linea += valor;
}

void TerminarMedicion() {
  std::printf("%s\n", linea.c_str());
  std::fflush(stdout);
  QCoreApplication::exit(0);
}

Q_COREAPP_STARTUP_FUNCTION(Instalar)
