// The picture loader on any bytes: JPEG through libjpeg, bitmaps through Qt's reader,
// and now and then the same bytes as a user's back file, which must give the same picture.
// Input: 1 byte of choices, 2 bytes of the size asked for, then the file.
#include <QByteArray>
#include <QImage>

#include <cstdint>
#include <fstream>

#include "backs/imagen/Imagenes.h"
#include "fuzz/Comun.h"

namespace {

void ComprobarImagen(const QImage& imagen) {
  if (imagen.isNull()) return;
  fuzz::Exigir(imagen.width() > 0 && imagen.height() > 0, "imagen vacía que no es nula");
  fuzz::Exigir(imagen.width() <= LadoMaximoImagen && imagen.height() <= LadoMaximoImagen,
               "imagen mayor que el límite");
  // Every row is there to be drawn.
  const uchar* ultima = imagen.constScanLine(imagen.height() - 1);
  volatile uchar b = ultima[imagen.bytesPerLine() - 1];
  (void)b;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* datos, std::size_t largo) {
  if (largo < 3) return 0;
  const std::uint8_t opciones = datos[0];
  const QSize minimo = (opciones & 4) ? QSize(1 + datos[1] % 128, 1 + datos[2] % 128) : QSize();
  const QByteArray archivo(reinterpret_cast<const char*>(datos + 3), static_cast<qsizetype>(largo - 3));
  const bool bmp = opciones & 1;

  const QImage imagen = bmp ? DecodificarBmp(archivo) : DecodificarJpeg(archivo, minimo);
  ComprobarImagen(imagen);
  // Every kept picture has one 32-bit format: no colour table whose indices could be
  // out of range.
  if (!imagen.isNull()) fuzz::Exigir(imagen.format() == QImage::Format_RGB32, "formato de la imagen");
  if (!bmp && !imagen.isNull()) {
    // Scaled down never below the size asked for, unless the picture itself is smaller.
    // At full size a picture may pass the pixel limit that its scaled decode keeps within.
    const QImage entera = DecodificarJpeg(archivo);
    if (!minimo.isEmpty() && !entera.isNull()) {
      fuzz::Exigir(imagen.width() >= std::min(minimo.width(), entera.width()) &&
                       imagen.height() >= std::min(minimo.height(), entera.height()),
                   "escalado por debajo del tamaño pedido");
      fuzz::Exigir(imagen.width() <= entera.width() && imagen.height() <= entera.height(),
                   "escalado mayor que entero");
    }
  }

  if (opciones & 2) {
    const auto ruta = fuzz::CarpetaPropia() / (bmp ? "x.bmp" : "x.jpeg");
    {
      std::ofstream f(ruta, std::ios::binary | std::ios::trunc);
      f.write(archivo.constData(), archivo.size());
    }
    const QImage leida = CargarImagenArchivo(ruta, minimo);
    fuzz::Exigir(leida == imagen || (archivo.isEmpty() && leida.isNull()),
                 "el archivo no da la misma imagen que sus bytes");
    // As a user's back, at the card's size or at the size asked for: the placeholder,
    // with the picture over it when there is one.
    QImage marcador(minimo.isEmpty() ? QSize(62, 98) : minimo, QImage::Format_RGB32);
    marcador.fill(Qt::darkGreen);
    bool roto = false;
    const QImage reverso = ComponerReversoUsuario(marcador, ruta, &roto);
    fuzz::Exigir(reverso.size() == marcador.size(), "reverso de otro tamaño");
    if (roto)
      fuzz::Exigir(reverso == marcador.convertToFormat(reverso.format()), "reverso sin imagen cambiado");
  }
  return 0;
}
