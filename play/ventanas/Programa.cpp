#include "play/ventanas/Programa.h"

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
  const TPrograma& p = Programa();
  const TEleccionReverso e = ImagenReverso(p.ReversosUsuario, ReversoActual());
  switch (e.Clase) {
    case TClaseReverso::Predisennado: return DibujoReverso(static_cast<int>(e.Indice), dpr);
    case TClaseReverso::Usuario: {
      // The player's file is decoded once per choice; the caller keeps the pixmap.
      QImage imagen = ComponerReversoUsuario(ImagenMarcadorReverso(),
                                             p.ReversosUsuario[e.Indice].Archivo);
      QPixmap px = QPixmap::fromImage(imagen.scaled(
          QSize(kAnchoCarta, kAltoCarta) * dpr, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
      px.setDevicePixelRatio(dpr);
      return px;
    }
    case TClaseReverso::Marcador: break;
  }
  return DibujoReverso(4, dpr);
}
