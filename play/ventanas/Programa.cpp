#include "play/ventanas/Programa.h"

#include <QStandardPaths>

#include <pthread.h>
#include <sched.h>
#include <sys/resource.h>
#include <unistd.h>

#include "play/Archivos.h"
#include "play/CarpetaDatos.h"

#include "backs/imagen/Imagenes.h"
#include "backs/ventanas/ImagenesReversos.h"
#include "backs/ventanas/Reversos.h"
#include "resources/Dibujos.h"

TPrograma& Programa() {
  static TPrograma programa;
  return programa;
}

namespace fs = std::filesystem;

std::filesystem::path CarpetaDelPrograma() {
  TPrograma& p = Programa();
  if (!p.Carpeta.empty()) return p.Carpeta;
  const QString datos = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
  // Without a home there is no data folder: the program's folder is all there is.
  if (datos.isEmpty()) return p.Carpeta = CarpetaPrograma();
  p.Carpeta = ElegirCarpetaDatos(CarpetaPrograma(), CARTOVAL_BINDIR_INSTALADO,
                                 fs::path(datos.toStdString()) / "cartoval");
  return p.Carpeta;
}

QString ArchivoAyuda() {
  const fs::path nombre = "ZARP(Esp).hlp";
  const fs::path instalado = fs::path(CARTOVAL_DATOS_INSTALADOS) / nombre;
  std::error_code ec;
  for (const fs::path& carpeta : {CarpetaDelPrograma(), CarpetaPrograma()})
    if (fs::is_regular_file(carpeta / nombre, ec))
      return QString::fromStdString((carpeta / nombre).string());
  return QString::fromStdString(instalado.string());
}

TfrmReversos& FormReversos(QWidget* principal) {
  TPrograma& p = Programa();
  if (!p.frmReversos) p.frmReversos = new TfrmReversos(principal);
  return *p.frmReversos;
}

std::string ReversoActual() { return Programa().Configuracion.ReversoActual(); }

void PonerReversoActual(const std::string& identificador) {
  Programa().Configuracion.PonerReversoActual(identificador);
  ++Programa().VersionReverso;
}

QPixmap DibujoReversoActual(qreal dpr) {
  return DibujoReversoActual(QSize(kAnchoCarta, kAltoCarta), dpr);
}

QPixmap DibujoReversoActual(QSize tamanno, qreal dpr) {
  const TPrograma& p = Programa();
  const TEleccionReverso e = ImagenReverso(p.ReversosUsuario, ReversoActual());
  const QSize pixeles = (QSizeF(tamanno) * dpr).toSize();
  switch (e.Clase) {
    case TClaseReverso::Predisennado:
      return DibujoReverso(static_cast<int>(e.Indice), tamanno, dpr);
    case TClaseReverso::Usuario: {
      // Decoded off this thread at the size shown; the placeholder until it is ready.
      QImage imagen;
      if (ImagenesReversos().Reverso(p.ReversosUsuario[e.Indice].Archivo, pixeles, imagen) ==
          TEstadoReverso::Listo) {
        QPixmap px = QPixmap::fromImage(imagen);
        px.setDevicePixelRatio(dpr);
        return px;
      }
      break;
    }
    case TClaseReverso::Marcador: break;
  }
  return DibujoReverso(4, tamanno, dpr);
}

bool EsReversoActual(const QString& archivo) {
  // Without walking the whole list: a path matches in any letter case, and a second
  // file differing only in case costs at most one repaint too many.
  return MayusculasArchivo(archivo.toStdString()) == MayusculasArchivo(ReversoActual());
}

void CederProcesadorAVentanas() {
  // Leaving a real-time policy and raising the niceness are always allowed; failing, the
  // worker simply keeps its priority.
  const sched_param normal{};
  pthread_setschedparam(pthread_self(), SCHED_OTHER, &normal);
  // On Linux the niceness is per thread.
  setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), 10);
}
