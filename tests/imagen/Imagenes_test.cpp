// Decoding of generated pictures: valid, scaled, damaged, hostile and the composed back.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QColor>
#include <QPainter>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>

#include "backs/imagen/Imagenes.h"
#include "tests/imagen/Jpeg.h"

namespace fs = std::filesystem;

namespace {

QImage Liso(QSize tamanno, QColor color) {
  QImage i(tamanno, QImage::Format_RGB32);
  i.fill(color);
  return i;
}

QByteArray Codificar(const QImage& imagen, const char* formato, int calidad = 95) {
  QByteArray datos;
  QBuffer b(&datos);
  b.open(QIODevice::WriteOnly);
  EXPECT_TRUE(imagen.save(&b, formato, calidad)) << formato;
  return datos;
}

// Adobe-style CMYK (ink stored inverted, 255 = none), which Qt cannot write.
QByteArray JpegCmyk(int ancho, int alto, const unsigned char cmykInvertido[4]) {
  return QByteArray::fromStdString(CodificarJpeg(
      ancho, alto, JCS_CMYK, 4, [&](int, int, int k) { return cmykInvertido[k]; }, false, 95));
}

// Rewrites the size in the first start-of-frame marker.
void CambiarTamannoJpeg(QByteArray& jpeg, int ancho, int alto) {
  for (qsizetype i = 2; i + 9 < jpeg.size(); ++i) {
    const auto m = static_cast<unsigned char>(jpeg[i + 1]);
    if (static_cast<unsigned char>(jpeg[i]) == 0xFF && (m == 0xC0 || m == 0xC2)) {
      jpeg[i + 5] = static_cast<char>(alto >> 8);
      jpeg[i + 6] = static_cast<char>(alto);
      jpeg[i + 7] = static_cast<char>(ancho >> 8);
      jpeg[i + 8] = static_cast<char>(ancho);
      return;
    }
  }
  ADD_FAILURE() << "no start-of-frame marker";
}

bool Parecido(QColor a, QColor b, int tolerancia = 12) {
  return std::abs(a.red() - b.red()) <= tolerancia && std::abs(a.green() - b.green()) <= tolerancia &&
         std::abs(a.blue() - b.blue()) <= tolerancia;
}

class Carpeta : public ::testing::Test {
 protected:
  void SetUp() override {
    std::random_device r;
    dir_ = fs::temp_directory_path() / ("cartoval-imagen-" + std::to_string(r()));
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }
  fs::path Escribir(const std::string& nombre, const QByteArray& datos) {
    std::ofstream(dir_ / nombre, std::ios::binary).write(datos.constData(), datos.size());
    return dir_ / nombre;
  }
  fs::path dir_;
};

}  // namespace

TEST(DecodificarJpeg, ValidoATamannoCompletoConSusColores) {
  QImage original = Liso({120, 80}, Qt::blue);
  QPainter(&original).fillRect(0, 0, 60, 80, QColor(200, 30, 40));
  const QImage i = DecodificarJpeg(Codificar(original, "JPG"));
  ASSERT_FALSE(i.isNull());
  EXPECT_EQ(i.size(), QSize(120, 80));
  EXPECT_TRUE(Parecido(i.pixelColor(10, 40), QColor(200, 30, 40)));
  EXPECT_TRUE(Parecido(i.pixelColor(110, 40), Qt::blue));
}

TEST(DecodificarJpeg, EscalaAlMenorTamannoQueCubreElPedido) {
  const QByteArray grande = Codificar(Liso({1600, 1200}, Qt::green), "JPG");
  // 1/8 already covers 56 x 92.
  EXPECT_EQ(DecodificarJpeg(grande, {56, 92}).size(), QSize(200, 150));
  // 400 x 300: 2/8 gives 100 x 75, short of 92; 3/8 gives 150 x 113 (rounded up).
  const QByteArray medio = Codificar(Liso({400, 300}, Qt::green), "JPG");
  EXPECT_EQ(DecodificarJpeg(medio, {56, 92}).size(), QSize(150, 113));
  // Never enlarged: a picture smaller than asked comes at its own size.
  const QByteArray chico = Codificar(Liso({30, 40}, Qt::green), "JPG");
  EXPECT_EQ(DecodificarJpeg(chico, {56, 92}).size(), QSize(30, 40));
}

TEST(DecodificarJpeg, GrisesYCmykSalenEnColor) {
  QImage gris(40, 40, QImage::Format_Grayscale8);
  gris.fill(QColor(90, 90, 90));
  const QImage g = DecodificarJpeg(Codificar(gris, "JPG"));
  ASSERT_FALSE(g.isNull());
  EXPECT_TRUE(Parecido(g.pixelColor(20, 20), QColor(90, 90, 90)));

  const unsigned char rojo[4] = {255, 0, 0, 255};  // no cyan, full magenta and yellow, no black
  const QImage c = DecodificarJpeg(JpegCmyk(32, 32, rojo));
  ASSERT_FALSE(c.isNull());
  EXPECT_TRUE(Parecido(c.pixelColor(16, 16), QColor(255, 0, 0))) << c.pixelColor(16, 16).name().toStdString();
}

TEST(DecodificarJpeg, DannadosYAjenosDanImagenNula) {
  const QByteArray bueno = Codificar(Liso({300, 200}, Qt::red), "JPG");
  EXPECT_TRUE(DecodificarJpeg(bueno.left(bueno.size() / 2)).isNull()) << "truncated data";
  EXPECT_TRUE(DecodificarJpeg(bueno.left(100)).isNull()) << "truncated header";
  EXPECT_TRUE(DecodificarJpeg(QByteArray()).isNull());
  EXPECT_TRUE(DecodificarJpeg("esto no es una imagen, es texto").isNull());
  EXPECT_TRUE(DecodificarJpeg(Codificar(Liso({20, 20}, Qt::red), "BMP")).isNull());
  std::mt19937 azar(7);
  QByteArray basura(4096, '\0');
  for (auto& b : basura) b = static_cast<char>(azar());
  EXPECT_TRUE(DecodificarJpeg(basura).isNull());
  // Garbage after a valid header and table set: the error manager must return, not exit.
  QByteArray mezclado = bueno;
  for (qsizetype i = mezclado.size() / 3; i < mezclado.size() - 2; ++i) mezclado[i] = static_cast<char>(azar());
  (void)DecodificarJpeg(mezclado);
}

TEST(DecodificarJpeg, RechazaMasDe16384PixelesPorLado) {
  // Whole, valid pictures: only the size can make them fail.
  EXPECT_EQ(DecodificarJpeg(Codificar(Liso({16384, 8}, Qt::red), "JPG")).size(), QSize(16384, 8));
  EXPECT_TRUE(DecodificarJpeg(Codificar(Liso({16385, 8}, Qt::red), "JPG")).isNull());
  EXPECT_TRUE(DecodificarJpeg(Codificar(Liso({8, 16385}, Qt::red), "JPG"), {56, 92}).isNull());
  // A header that lies about its size is refused before any data is read.
  QByteArray mentiroso = Codificar(Liso({64, 64}, Qt::red), "JPG");
  CambiarTamannoJpeg(mentiroso, 60000, 60000);
  EXPECT_TRUE(DecodificarJpeg(mentiroso, {56, 92}).isNull());
}

TEST(DecodificarBmp, ValidoExactoYCabeceraGiganteRechazada) {
  QImage original = Liso({33, 17}, QColor(10, 200, 30));
  original.setPixelColor(0, 0, QColor(250, 250, 0));
  QByteArray bmp = Codificar(original, "BMP");
  const QImage i = DecodificarBmp(bmp);
  ASSERT_EQ(i.size(), QSize(33, 17));
  EXPECT_EQ(i.pixelColor(0, 0), QColor(250, 250, 0));
  EXPECT_EQ(i.pixelColor(20, 10), QColor(10, 200, 30));

  // Width at offset 18 of the info header, little-endian.
  bmp[18] = 0x00;
  bmp[19] = 0x00;
  bmp[20] = 0x01;  // 65536
  EXPECT_TRUE(DecodificarBmp(bmp).isNull());
  EXPECT_TRUE(DecodificarBmp(bmp.left(20)).isNull());
  EXPECT_TRUE(DecodificarBmp(Codificar(original, "JPG")).isNull());
}

TEST_F(Carpeta, CargarPorExtensionSinDistinguirMayusculas) {
  const QByteArray jpeg = Codificar(Liso({50, 50}, Qt::red), "JPG");
  const QByteArray bmp = Codificar(Liso({50, 50}, Qt::red), "BMP");
  EXPECT_FALSE(CargarImagenArchivo(Escribir("a.JPG", jpeg)).isNull());
  EXPECT_FALSE(CargarImagenArchivo(Escribir("b.jpe", jpeg)).isNull());
  EXPECT_FALSE(CargarImagenArchivo(Escribir("c.Jpeg", jpeg)).isNull());
  EXPECT_FALSE(CargarImagenArchivo(Escribir("d.BmP", bmp)).isNull());
  // The extension decides the decoder: a JPEG named .bmp is not a bitmap.
  EXPECT_TRUE(CargarImagenArchivo(Escribir("e.bmp", jpeg)).isNull());
  EXPECT_TRUE(CargarImagenArchivo(Escribir("f.png", jpeg)).isNull());
  EXPECT_TRUE(CargarImagenArchivo(dir_ / "falta.jpg").isNull());
  fs::create_directory(dir_ / "carpeta.jpg");
  EXPECT_TRUE(CargarImagenArchivo(dir_ / "carpeta.jpg").isNull());
  EXPECT_TRUE(CargarImagenArchivo(Escribir("vacio.jpg", {})).isNull());
}

TEST_F(Carpeta, ReversoUsuarioEstiradoDentroDelMarco) {
  QImage marcador = Liso({62, 98}, QColor(120, 0, 0));
  QPainter(&marcador).fillRect(0, 0, 62, 3, Qt::yellow);
  // Tall and narrow: stretched without keeping its proportions.
  const fs::path archivo = Escribir("alto.jpg", Codificar(Liso({10, 400}, Qt::blue), "JPG"));
  const QImage r = ComponerReversoUsuario(marcador, archivo);
  ASSERT_EQ(r.size(), QSize(62, 98));
  for (QPoint p : {QPoint(3, 3), QPoint(58, 3), QPoint(3, 94), QPoint(58, 94), QPoint(30, 50)})
    EXPECT_TRUE(Parecido(r.pixelColor(p), Qt::blue, 40)) << p.x() << "," << p.y();
  for (QPoint p : {QPoint(2, 50), QPoint(59, 50), QPoint(30, 95), QPoint(61, 97)})
    EXPECT_EQ(r.pixelColor(p), QColor(120, 0, 0)) << p.x() << "," << p.y();
  EXPECT_EQ(r.pixelColor(30, 1), QColor(Qt::yellow));
}

TEST_F(Carpeta, ReversoUsuarioAlTamannoEnQueSeMuestra) {
  // At twice the pixels (and at an odd size) the border keeps its proportion.
  EXPECT_EQ(AreaReversoUsuarioEn({62, 98}), QRect(3, 3, 56, 92));
  EXPECT_EQ(AreaReversoUsuarioEn({124, 196}), QRect(6, 6, 112, 184));
  EXPECT_EQ(AreaReversoUsuarioEn({93, 147}), QRect(4, 4, 85, 139));
  const fs::path archivo = Escribir("verde.jpg", Codificar(Liso({900, 700}, Qt::green), "JPG"));
  const QImage marcador = Liso({124, 196}, QColor(120, 0, 0));
  bool roto = true;
  const QImage r = ComponerReversoUsuario(marcador, archivo, &roto);
  EXPECT_FALSE(roto);
  ASSERT_EQ(r.size(), QSize(124, 196));
  for (QPoint p : {QPoint(5, 100), QPoint(118, 100), QPoint(60, 5), QPoint(60, 190)})
    EXPECT_EQ(r.pixelColor(p), QColor(120, 0, 0)) << p.x() << "," << p.y();
  for (QPoint p : {QPoint(6, 6), QPoint(117, 189), QPoint(60, 100)})
    EXPECT_TRUE(Parecido(r.pixelColor(p), Qt::green, 40)) << p.x() << "," << p.y();
  EXPECT_TRUE(ComponerReversoUsuario(marcador, dir_ / "no-existe.bmp", &roto) == marcador.convertToFormat(r.format()));
  EXPECT_TRUE(roto);
}

TEST_F(Carpeta, ArchivoIlegibleConservaElMarcador) {
  QImage marcador = Liso({62, 98}, QColor(120, 0, 0));
  QPainter(&marcador).fillRect(10, 10, 5, 5, Qt::yellow);
  const QByteArray jpeg = Codificar(Liso({100, 100}, Qt::blue), "JPG");
  for (const fs::path& archivo :
       {Escribir("corto.jpg", jpeg.left(jpeg.size() / 2)), Escribir("texto.bmp", "hola"),
        dir_ / "no-existe.jpeg"}) {
    const QImage r = ComponerReversoUsuario(marcador, archivo);
    EXPECT_EQ(r.convertToFormat(QImage::Format_RGB32), marcador) << archivo;
  }
}
