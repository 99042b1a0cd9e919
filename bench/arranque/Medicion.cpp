// Bench only: linked beside a program's own main, it notes when the application object
// exists and when the first window has been painted and is on the display, prints that
// with the process's memory, and ends the run. The program itself is left untouched.
#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <ctime>
#include <fstream>
#include <string>

#ifdef CARTOVAL_XCB
#include <QGuiApplication>
#include <xcb/xcb.h>

#include <cstdlib>
#endif

namespace {

long long AhoraNs() {
  timespec t{};
  clock_gettime(CLOCK_MONOTONIC, &t);
  return static_cast<long long>(t.tv_sec) * 1000000000LL + t.tv_nsec;
}

// "VmHWM:     12345 kB" -> 12345; -1 when the line is missing.
long long CampoStatus(const std::string& campo) {
  std::ifstream status("/proc/self/status");
  std::string linea;
  while (std::getline(status, linea))
    if (linea.rfind(campo + ":", 0) == 0) return std::stoll(linea.substr(campo.size() + 1));
  return -1;
}

void EsperarAlServidor() {
#ifdef CARTOVAL_XCB
  // The picture was sent to the X server; a round trip makes sure it has been drawn.
  auto* x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
  if (!x11 || !x11->connection()) return;
  xcb_connection_t* c = x11->connection();
  std::free(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr));
#endif
}

long long aplicacionNs = 0;

class TMedicion : public QObject {
 protected:
  bool eventFilter(QObject* objeto, QEvent* e) override {
    if (!visto_ && e->type() == QEvent::Paint) {
      auto* w = qobject_cast<QWidget*>(objeto);
      if (w && w->isWindow()) {
        visto_ = true;
        // After the whole frame: the window's children and the flush come after this event.
        QTimer::singleShot(0, this, &TMedicion::Terminar);
      }
    }
    return false;
  }

 private:
  void Terminar() {
    EsperarAlServidor();
    const long long pintado = AhoraNs();
    std::printf("aplicacion_ns=%lld pintado_ns=%lld vmhwm_kb=%lld vmrss_kb=%lld\n", aplicacionNs,
                pintado, CampoStatus("VmHWM"), CampoStatus("VmRSS"));
    std::fflush(stdout);
    QCoreApplication::exit(0);
  }

  bool visto_ = false;
};

void Instalar() {
  aplicacionNs = AhoraNs();
  auto* medicion = new TMedicion;
  medicion->setParent(qApp);
  qApp->installEventFilter(medicion);
}

}  // namespace

Q_COREAPP_STARTUP_FUNCTION(Instalar)
