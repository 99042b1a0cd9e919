#include "play/ventanas/Programa.h"

#include <QPainter>
#include <QTransform>

#include "play/Archivos.h"

#include "backs/imagen/Imagenes.h"
#include "backs/ventanas/Reversos.h"
#include "resources/Dibujos.h"

TPrograma& Programa() {
  static TPrograma programa;
  return programa;
}

std::filesystem::path CarpetaDelPrograma() {
  TPrograma& p = Programa();
  if (p.Carpeta.empty()) p.Carpeta = CarpetaPrograma();
  return p.Carpeta;
}

QString ArchivoAyuda() {
  return QString::fromStdString((CarpetaDelPrograma() / "ZARP(Esp).hlp").string());
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

QPixmap DibujoReversoActual(QSize tam, qreal dpr) {
  const TPrograma& p = Programa();
  const TEleccionReverso e = ImagenReverso(p.ReversosUsuario, ReversoActual());
  switch (e.Clase) {
    case TClaseReverso::Predisennado:
      return DibujoReverso(static_cast<int>(e.Indice), tam, dpr);
    case TClaseReverso::Usuario: {
      // The player's picture decoded for the size it is shown at, over the placeholder
      // drawn at that size; the placeholder alone when it does not decode.
      QImage reverso = DibujoReverso(4, tam, dpr).toImage();
      const QTransform escala = QTransform::fromScale(tam.width() * dpr / kAnchoCarta,
                                                      tam.height() * dpr / kAltoCarta);
      const QRect area = escala.mapRect(QRectF(AreaReversoUsuario)).toAlignedRect();
      const QImage dibujo = CargarImagenArchivo(p.ReversosUsuario[e.Indice].Archivo, area.size());
      if (!dibujo.isNull()) {
        reverso.setDevicePixelRatio(1);
        QPainter pintor(&reverso);
        pintor.setRenderHint(QPainter::SmoothPixmapTransform);
        pintor.drawImage(area, dibujo);
        pintor.end();
        reverso.setDevicePixelRatio(dpr);
      }
      return QPixmap::fromImage(reverso);
    }
    case TClaseReverso::Marcador: break;
  }
  return DibujoReverso(4, tam, dpr);
}
