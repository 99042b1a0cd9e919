#include "play/ventanas/Programa.h"

#include <QStandardPaths>

#include "play/Archivos.h"
#include "play/CarpetaDatos.h"

#include "backs/imagen/Imagenes.h"
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
