#pragma once
// Picture decoding for the backs and the window pictures. Qt's QImage is only the pixel
// container; JPEG goes straight through libjpeg so that damaged or hostile files fail
// cleanly and large pictures are decoded at the size they are drawn.
#include <QByteArray>
#include <QImage>
#include <QSize>

#include <filesystem>

// Pictures claiming more pixels than this on a side are refused unread.
inline constexpr int LadoMaximoImagen = 16384;
// Files larger than this are not read at all.
inline constexpr qint64 TamannoMaximoArchivoImagen = 64 * 1024 * 1024;
// The rectangle of a user back that its picture fills, inside the placeholder's border.
inline constexpr QRect AreaReversoUsuario{3, 3, 56, 92};

// Decodes a JPEG, scaled down by libjpeg to the smallest size not below `minimo` on
// either side (full size when `minimo` is empty or the picture is smaller), as RGB32. A
// null image for anything damaged, truncated, too large, too costly or not a JPEG.
QImage DecodificarJpeg(const QByteArray& datos, QSize minimo = {});
// A Windows bitmap through Qt's reader, within its allocation limit, as RGB32; null on
// failure.
QImage DecodificarBmp(const QByteArray& datos);
// By extension: .bmp as a bitmap, .jpg/.jpe/.jpeg as a JPEG; null for anything else and
// for a file that is not a readable regular file.
QImage CargarImagenArchivo(const std::filesystem::path& archivo, QSize minimo = {});

// The inner area of a user back of any size: the 62 x 98 one in proportion.
QRect AreaReversoUsuarioEn(QSize tamanno);
// A user back: the placeholder (62 x 98, or any size) with the file's picture stretched
// over its inner area; the placeholder unchanged, and `roto` set, when the file cannot
// be read or decoded. Safe on any thread.
QImage ComponerReversoUsuario(const QImage& marcador, const std::filesystem::path& archivo,
                              bool* roto = nullptr);
