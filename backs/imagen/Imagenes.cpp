#include "backs/imagen/Imagenes.h"

#include <QBuffer>
#include <QImageReader>
#include <QPainter>
#include <QtEndian>

#include <cmath>
#include <csetjmp>
#include <cstdio>  // jpeglib.h needs FILE
#include <fstream>
#include <system_error>

#include <jerror.h>
#include <jpeglib.h>

namespace fs = std::filesystem;

namespace {

// libjpeg's own memory ceiling; it has no backing store, so a larger need fails cleanly.
constexpr long MemoriaMaximaJpeg = 256L * 1024 * 1024;
// A progressive file may carry any number of scans; real ones have a dozen or so.
constexpr int EscaneosMaximosJpeg = 1000;
// Every scan of a file with several passes over the whole coefficient buffer: the work
// grows as blocks x scans, whatever size the output is. This many block-scans is about
// 0.4 s on a slow machine; it lets a 64-megapixel photograph have its usual ten scans.
constexpr long long BloquesPorEscaneoMaximos = 20'000'000;
// The decoded picture, 4 bytes a pixel.
constexpr qint64 BytesMaximosImagen = 256LL * 1024 * 1024;

struct TErrorJpeg {
  jpeg_error_mgr Gestor;  // first, so that libjpeg's pointer is ours
  std::jmp_buf Salto;
  bool Truncado;
};

[[noreturn]] void SalirJpeg(j_common_ptr cinfo) {
  std::longjmp(reinterpret_cast<TErrorJpeg*>(cinfo->err)->Salto, 1);
}

// Warnings are counted, never printed; the end of the data before the end of the picture
// marks the file as truncated.
void MensajeJpeg(j_common_ptr cinfo, int nivel) {
  if (nivel >= 0) return;
  if (cinfo->err->msg_code == JWRN_JPEG_EOF) reinterpret_cast<TErrorJpeg*>(cinfo->err)->Truncado = true;
  ++cinfo->err->num_warnings;
}

struct TProgresoJpeg {
  jpeg_progress_mgr Gestor;  // first, so that libjpeg's pointer is ours
  long long Bloques;         // of all components, known once the header is read
};

void ProgresoJpeg(j_common_ptr cinfo) {
  auto* d = reinterpret_cast<j_decompress_ptr>(cinfo);
  const long long bloques = reinterpret_cast<TProgresoJpeg*>(cinfo->progress)->Bloques;
  if (d->input_scan_number > EscaneosMaximosJpeg ||
      bloques * d->input_scan_number > BloquesPorEscaneoMaximos) {
    cinfo->err->msg_code = JERR_NOTIMPL;
    cinfo->err->error_exit(cinfo);
  }
}

// CMYK as libjpeg gives it (inverted when the file carries an Adobe marker) to RGB32,
// in place: both are four bytes a pixel.
void CmykARgb(QImage& imagen, bool invertido) {
  for (int y = 0; y < imagen.height(); ++y) {
    uchar* fila = imagen.scanLine(y);
    auto* destino = reinterpret_cast<QRgb*>(fila);
    for (int x = 0; x < imagen.width(); ++x) {
      int c = fila[4 * x], m = fila[4 * x + 1], a = fila[4 * x + 2], k = fila[4 * x + 3];
      if (!invertido) {
        c = 255 - c;
        m = 255 - m;
        a = 255 - a;
        k = 255 - k;
      }
      destino[x] = qRgb(c * k / 255, m * k / 255, a * k / 255);
    }
  }
}

// Everything that can jump back lives here; the only object with a destructor it touches
// is the caller's `imagen`, by reference, so nothing is skipped by the jump.
bool DecodificarJpegEn(jpeg_decompress_struct& cinfo, TErrorJpeg& error, TProgresoJpeg& progreso,
                       const QByteArray& datos, QSize minimo, QImage& imagen) {
  if (setjmp(error.Salto)) return false;
  jpeg_create_decompress(&cinfo);
  cinfo.mem->max_memory_to_use = MemoriaMaximaJpeg;
  progreso.Gestor.progress_monitor = ProgresoJpeg;
  progreso.Bloques = 0;
  cinfo.progress = &progreso.Gestor;
  jpeg_mem_src(&cinfo, reinterpret_cast<const unsigned char*>(datos.constData()),
               static_cast<unsigned long>(datos.size()));
  jpeg_read_header(&cinfo, TRUE);
  if (cinfo.image_width == 0 || cinfo.image_height == 0 || cinfo.image_width > LadoMaximoImagen ||
      cinfo.image_height > LadoMaximoImagen)
    return false;
  for (int c = 0; c < cinfo.num_components; ++c)
    progreso.Bloques += static_cast<long long>(cinfo.comp_info[c].width_in_blocks) *
                        cinfo.comp_info[c].height_in_blocks;

  // The smallest DCT scale (n/8) that still covers the size asked for.
  const bool cmyk = cinfo.jpeg_color_space == JCS_CMYK || cinfo.jpeg_color_space == JCS_YCCK;
  cinfo.out_color_space = cmyk ? JCS_CMYK
                               : (Q_BYTE_ORDER == Q_LITTLE_ENDIAN ? JCS_EXT_BGRX : JCS_EXT_XRGB);
  cinfo.scale_denom = 8;
  cinfo.scale_num = 8;
  if (!minimo.isEmpty()) {
    for (unsigned n = 1; n <= 8; ++n) {
      cinfo.scale_num = n;
      jpeg_calc_output_dimensions(&cinfo);
      if (cinfo.output_width >= static_cast<unsigned>(minimo.width()) &&
          cinfo.output_height >= static_cast<unsigned>(minimo.height()))
        break;
    }
  }
  jpeg_calc_output_dimensions(&cinfo);
  if (static_cast<qint64>(cinfo.output_width) * cinfo.output_height * 4 > BytesMaximosImagen)
    return false;

  jpeg_start_decompress(&cinfo);
  if (cinfo.output_components != 4) return false;
  imagen = QImage(static_cast<int>(cinfo.output_width), static_cast<int>(cinfo.output_height),
                  QImage::Format_RGB32);
  if (imagen.isNull()) return false;
  while (cinfo.output_scanline < cinfo.output_height) {
    JSAMPROW fila = imagen.scanLine(static_cast<int>(cinfo.output_scanline));
    jpeg_read_scanlines(&cinfo, &fila, 1);
  }
  jpeg_finish_decompress(&cinfo);
  if (error.Truncado) return false;
  if (cmyk) CmykARgb(imagen, cinfo.saw_Adobe_marker);
  return true;
}

// Whether the pixel rows an uncompressed bitmap's header promises lie in the data. Qt's
// reader leaves the rows it cannot read as whatever memory held, and honours no offset
// past the end; a lying header gives the placeholder instead, as a cut JPEG does. The
// sides are already known to be within the limit.
bool BmpCompleto(const QByteArray& d) {
  const auto* b = reinterpret_cast<const uchar*>(d.constData());
  if (d.size() < 30) return false;
  const qint64 inicio = qFromLittleEndian<quint32>(b + 10);
  qint64 ancho = 0, alto = 0, bits = 0;
  quint32 compresion = 0;
  if (qFromLittleEndian<quint32>(b + 14) == 12) {  // the old OS/2 header
    ancho = qFromLittleEndian<quint16>(b + 18);
    alto = qFromLittleEndian<quint16>(b + 20);
    bits = qFromLittleEndian<quint16>(b + 24);
  } else {
    if (d.size() < 34) return false;
    ancho = qFromLittleEndian<qint32>(b + 18);
    alto = qFromLittleEndian<qint32>(b + 22);
    bits = qFromLittleEndian<quint16>(b + 28);
    compresion = qFromLittleEndian<quint32>(b + 30);
  }
  alto = alto < 0 ? -alto : alto;
  if (ancho <= 0 || alto <= 0 || ancho > LadoMaximoImagen || alto > LadoMaximoImagen) return false;
  // Run-length data has no length the header could promise.
  if (compresion != 0 && compresion != 3 && compresion != 6) return true;
  return inicio + (ancho * bits + 31) / 32 * 4 * alto <= d.size();
}

bool EsExtension(const fs::path& archivo, std::initializer_list<const char*> extensiones) {
  const QString ext = QString::fromStdString(archivo.extension().string()).toLower();
  for (const char* e : extensiones)
    if (ext == QLatin1String(e)) return true;
  return false;
}

// The whole file, or nothing for a missing, special or oversized one.
QByteArray LeerArchivoImagen(const fs::path& archivo) {
  std::error_code ec;
  if (!fs::is_regular_file(archivo, ec)) return {};
  const auto tamanno = fs::file_size(archivo, ec);
  if (ec || tamanno == 0 || tamanno > static_cast<std::uintmax_t>(TamannoMaximoArchivoImagen)) return {};
  std::ifstream f(archivo, std::ios::binary);
  QByteArray datos(static_cast<qsizetype>(tamanno), Qt::Uninitialized);
  if (!f.read(datos.data(), datos.size())) return {};
  return datos;
}

}  // namespace

QImage DecodificarJpeg(const QByteArray& datos, QSize minimo) {
  if (datos.isEmpty()) return {};
  jpeg_decompress_struct cinfo{};
  TErrorJpeg error{};
  TProgresoJpeg progreso{};
  cinfo.err = jpeg_std_error(&error.Gestor);
  error.Gestor.error_exit = SalirJpeg;
  error.Gestor.emit_message = MensajeJpeg;
  QImage imagen;
  const bool ok = DecodificarJpegEn(cinfo, error, progreso, datos, minimo, imagen);
  jpeg_destroy_decompress(&cinfo);
  return ok ? imagen : QImage();
}

QImage DecodificarBmp(const QByteArray& datos) {
  QBuffer buffer;
  buffer.setData(datos);
  buffer.open(QIODevice::ReadOnly);
  // Qt's reader refuses pictures above its allocation limit on its own.
  QImageReader lector(&buffer, "bmp");
  const QSize tamanno = lector.size();
  if (!tamanno.isValid() || tamanno.width() > LadoMaximoImagen || tamanno.height() > LadoMaximoImagen)
    return {};
  if (!BmpCompleto(datos)) return {};
  // Run-length data may skip pixels; the reader fills a picture of the right size and
  // format in place, so the skipped ones stay zero rather than stale memory.
  QImage imagen;
  const QImage::Format formato = lector.imageFormat();
  const qint64 bytes = static_cast<qint64>(tamanno.width()) * tamanno.height() * 4;
  const qint64 limite = qint64(lector.allocationLimit()) * 1024 * 1024;  // 0: none
  if (formato != QImage::Format_Invalid && (limite == 0 || bytes <= limite)) {
    imagen = QImage(tamanno, formato);
    if (!imagen.isNull()) imagen.fill(0);
  }
  if (!lector.read(&imagen)) return {};
  // An indexed picture may hold indices past its colour table (the reader does not check
  // run-length data against it); the conversion gives those a defined colour, and every
  // kept picture has the one format the JPEG decoder gives.
  return imagen.convertToFormat(QImage::Format_RGB32);
}

QImage CargarImagenArchivo(const fs::path& archivo, QSize minimo) {
  const bool bmp = EsExtension(archivo, {".bmp"});
  if (!bmp && !EsExtension(archivo, {".jpg", ".jpe", ".jpeg"})) return {};
  const QByteArray datos = LeerArchivoImagen(archivo);
  if (datos.isEmpty()) return {};
  return bmp ? DecodificarBmp(datos) : DecodificarJpeg(datos, minimo);
}

QRect AreaReversoUsuarioEn(QSize tamanno) {
  if (tamanno == QSize(62, 98)) return AreaReversoUsuario;
  // The same border in proportion, rounded outwards so that no seam shows.
  const double sx = tamanno.width() / 62.0, sy = tamanno.height() / 98.0;
  const int x0 = static_cast<int>(std::floor(AreaReversoUsuario.x() * sx));
  const int y0 = static_cast<int>(std::floor(AreaReversoUsuario.y() * sy));
  const int x1 = static_cast<int>(std::ceil((AreaReversoUsuario.right() + 1) * sx));
  const int y1 = static_cast<int>(std::ceil((AreaReversoUsuario.bottom() + 1) * sy));
  return QRect(QPoint(x0, y0), QPoint(x1 - 1, y1 - 1));
}

QImage ComponerReversoUsuario(const QImage& marcador, const fs::path& archivo, bool* roto) {
  QImage reverso = marcador.convertToFormat(QImage::Format_ARGB32_Premultiplied);
  const QRect area = AreaReversoUsuarioEn(reverso.size());
  const QImage dibujo = CargarImagenArchivo(archivo, area.size());
  if (roto) *roto = dibujo.isNull();
  if (dibujo.isNull() || reverso.isNull()) return reverso;
  QPainter pintor(&reverso);
  pintor.setRenderHint(QPainter::SmoothPixmapTransform);
  pintor.drawImage(area, dibujo);
  return reverso;
}
