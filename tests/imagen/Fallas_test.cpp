// A Reversos folder holding what should not be there: folders with picture names, empty
// files, pictures whose headers lie, files that go away after the folder was listed.
// Every back must still be built, the bad ones as the placeholder.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QColor>
#include <QPainter>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "backs/Reversos.h"
#include "backs/imagen/Imagenes.h"
#include "tests/imagen/Jpeg.h"

namespace fs = std::filesystem;

namespace {

QImage Liso(QSize tamanno, QColor color) {
  QImage i(tamanno, QImage::Format_RGB32);
  i.fill(color);
  return i;
}

QImage Marcador() {
  QImage m = Liso({62, 98}, QColor(120, 0, 0));
  QPainter(&m).fillRect(20, 40, 10, 10, Qt::yellow);
  return m;
}

QByteArray Bmp(QSize tamanno, QColor color) {
  QByteArray datos;
  QBuffer b(&datos);
  b.open(QIODevice::WriteOnly);
  EXPECT_TRUE(Liso(tamanno, color).save(&b, "BMP"));
  return datos;
}

void Poner32(QByteArray& d, qsizetype en, std::int32_t v) {
  for (int k = 0; k < 4; ++k) d[en + k] = static_cast<char>(static_cast<std::uint32_t>(v) >> (8 * k));
}

// An 8-bit run-length bitmap over a palette where index i is (i, 255 - i, i / 2).
QByteArray BmpRle8(int ancho, int alto, const QByteArray& datos) {
  QByteArray d(14 + 40 + 256 * 4, '\0');
  d[0] = 'B';
  d[1] = 'M';
  Poner32(d, 10, 14 + 40 + 256 * 4);
  Poner32(d, 14, 40);
  Poner32(d, 18, ancho);
  Poner32(d, 22, alto);
  d[26] = 1;   // planes
  d[28] = 8;   // bits per pixel
  d[30] = 1;   // RLE8
  Poner32(d, 34, static_cast<std::int32_t>(datos.size()));
  for (int i = 0; i < 256; ++i) {
    d[54 + 4 * i] = static_cast<char>(i / 2);  // blue, green, red
    d[55 + 4 * i] = static_cast<char>(255 - i);
    d[56 + 4 * i] = static_cast<char>(i);
  }
  d += datos;
  Poner32(d, 2, static_cast<std::int32_t>(d.size()));
  return d;
}

QByteArray Jpeg(int ancho, int alto, QColor color, bool progresivo) {
  const int rgb[] = {color.red(), color.green(), color.blue()};
  return QByteArray::fromStdString(CodificarJpeg(
      ancho, alto, JCS_RGB, 3, [&](int, int, int k) { return static_cast<unsigned char>(rgb[k]); },
      progresivo));
}

// The same data under a start-of-frame that claims another size.
QByteArray JpegQueMiente(int ancho, int alto, bool progresivo) {
  QByteArray jpeg = Jpeg(64, 64, Qt::red, progresivo);
  for (qsizetype i = 2; i + 9 < jpeg.size(); ++i) {
    const auto m = static_cast<unsigned char>(jpeg[i + 1]);
    if (static_cast<unsigned char>(jpeg[i]) == 0xFF && (m == 0xC0 || m == 0xC2)) {
      jpeg[i + 5] = static_cast<char>(alto >> 8);
      jpeg[i + 6] = static_cast<char>(alto);
      jpeg[i + 7] = static_cast<char>(ancho >> 8);
      jpeg[i + 8] = static_cast<char>(ancho);
      return jpeg;
    }
  }
  ADD_FAILURE() << "no start-of-frame marker";
  return jpeg;
}

bool Parecido(QColor a, QColor b, int tolerancia = 40) {
  return std::abs(a.red() - b.red()) <= tolerancia && std::abs(a.green() - b.green()) <= tolerancia &&
         std::abs(a.blue() - b.blue()) <= tolerancia;
}

bool EsMarcador(const QImage& reverso) {
  return reverso.convertToFormat(QImage::Format_RGB32) == Marcador();
}

class FallasReversos : public ::testing::Test {
 protected:
  void SetUp() override {
    std::random_device r;
    Programa = fs::temp_directory_path() / ("cartoval-fallas-" + std::to_string(r()));
    fs::create_directories(Dir());
  }
  void TearDown() override { fs::remove_all(Programa); }
  fs::path Dir() const { return Programa / CarpetaReversos; }
  void Escribir(const std::string& nombre, const QByteArray& datos) {
    std::ofstream(Dir() / nombre, std::ios::binary).write(datos.constData(), datos.size());
  }
  // Every back of the folder as the program builds it at start, by file name.
  std::map<std::string, QImage> Componer(const TReversosUsuario& lista) {
    std::map<std::string, QImage> r;
    for (const auto& u : lista) r[fs::path(u.Archivo).filename().string()] = ComponerReversoUsuario(Marcador(), u.Archivo);
    return r;
  }
  fs::path Programa;
};

}  // namespace

TEST_F(FallasReversos, CarpetaConTodoLoQuePuedeFallar) {
  fs::create_directory(Dir() / "x.jpg");
  Escribir("a.jpg", {});
  Escribir("gigante.jpg", JpegQueMiente(60000, 60000, false));
  QByteArray alto = Bmp({40, 30}, Qt::green);
  Poner32(alto, 22, 3000);  // claims a hundred times the rows it holds
  Escribir("alto.bmp", alto);
  const QByteArray bueno = Bmp({40, 30}, Qt::green);
  Escribir("cortado.bmp", bueno.left(bueno.size() / 2));
  Escribir("texto.jpeg", "no soy una imagen");
  Escribir("azul.jpg", Jpeg(100, 160, Qt::blue, false));
  Escribir("verde.bmp", bueno);

  const TReversosUsuario lista = CargarReversosUsuario(Programa);
  // Whatever the folder holds under a picture name is listed, as the folder gives it.
  ASSERT_EQ(lista.size(), 8u);
  const auto reversos = Componer(lista);
  for (const auto& [nombre, reverso] : reversos) {
    SCOPED_TRACE(nombre);
    ASSERT_EQ(reverso.size(), QSize(62, 98));
    if (nombre == "azul.jpg" || nombre == "verde.bmp") {
      const QColor esperado = nombre == "azul.jpg" ? QColor(Qt::blue) : QColor(Qt::green);
      EXPECT_TRUE(Parecido(reverso.pixelColor(30, 50), esperado));
      EXPECT_EQ(reverso.pixelColor(1, 1), QColor(120, 0, 0)) << "the border stays";
    } else {
      EXPECT_TRUE(EsMarcador(reverso));
    }
  }
  // The folder named like a picture is still a back to choose; it shows the placeholder.
  const TEleccionReverso e = ImagenReverso(lista, (Dir() / "x.jpg").string());
  EXPECT_EQ(e.Clase, TClaseReverso::Usuario);
}

TEST_F(FallasReversos, ArchivosQueCambianEntreListarYCargar) {
  for (const char* n : {"uno.jpg", "dos.jpg", "tres.bmp", "cuatro.jpeg"})
    Escribir(n, std::string(n).ends_with(".bmp") ? Bmp({20, 20}, Qt::green) : Jpeg(60, 60, Qt::blue, false));
  const TReversosUsuario lista = CargarReversosUsuario(Programa);
  ASSERT_EQ(lista.size(), 4u);
  fs::remove(Dir() / "uno.jpg");                     // gone
  fs::remove(Dir() / "dos.jpg");                     // a folder in its place
  fs::create_directory(Dir() / "dos.jpg");
  Escribir("tres.bmp", Bmp({20, 20}, Qt::green).left(40));  // cut short
  const auto reversos = Componer(lista);
  EXPECT_TRUE(EsMarcador(reversos.at("uno.jpg")));
  EXPECT_TRUE(EsMarcador(reversos.at("dos.jpg")));
  EXPECT_TRUE(EsMarcador(reversos.at("tres.bmp")));
  EXPECT_TRUE(Parecido(reversos.at("cuatro.jpeg").pixelColor(30, 50), Qt::blue));
  // The whole folder gone as well.
  fs::remove_all(Dir());
  EXPECT_TRUE(EsMarcador(ComponerReversoUsuario(Marcador(), lista.front().Archivo)));
}

TEST(FallasBmp, CabecerasQueMienten) {
  const QByteArray bueno = Bmp({40, 30}, Qt::green);  // 24 bits, rows of 120 bytes
  ASSERT_EQ(DecodificarBmp(bueno).size(), QSize(40, 30));
  struct Mentira {
    const char* que;
    qsizetype en;
    std::int32_t valor;
  };
  for (const Mentira& m : {Mentira{"more rows than the data", 22, 31},
                           Mentira{"more rows, top-down", 22, -3000},
                           Mentira{"wider than the data", 18, 41},
                           Mentira{"huge, still under the side limit", 18, 8000},
                           Mentira{"pixels past the end of the file", 10, 100000},
                           Mentira{"pixels start inside the last row", 10, 54 + 60},
                           Mentira{"no width", 18, 0},
                           Mentira{"negative width", 18, -40},
                           Mentira{"height of minus two to the 31", 22, INT32_MIN},
                           Mentira{"bits per pixel 13", 28, 13},
                           Mentira{"unknown compression", 30, 9},
                           Mentira{"an info header of 2 GB", 14, INT32_MAX}}) {
    QByteArray d = bueno;
    Poner32(d, m.en, m.valor);
    if (m.en == 28) d[30] = d[31] = 0;  // a 16-bit field: put the compression back
    EXPECT_TRUE(DecodificarBmp(d).isNull()) << m.que;
  }
  for (qsizetype corte : {qsizetype{14}, qsizetype{54}, bueno.size() / 2, bueno.size() - 1})
    EXPECT_TRUE(DecodificarBmp(bueno.left(corte)).isNull()) << corte;
  // Bytes after the pixels do no harm.
  EXPECT_EQ(DecodificarBmp(bueno + QByteArray(500, 'z')).size(), QSize(40, 30));
}

TEST(FallasBmp, PixelesQueLaCompresionSaltaQuedanDelPrimerColor) {
  // Only the bottom row is drawn (index 7), then the end of the picture: the rest is left
  // out, as run-length data may do, and must not show whatever memory held.
  QByteArray datos;
  for (char b : {char(20), char(7), char(0), char(0), char(0), char(1)}) datos += b;
  // A jump far past the picture's corner, then a run of index 9: the reader keeps it inside.
  QByteArray salto;
  for (char b : {char(0), char(2), char(255), char(255), char(5), char(9), char(0), char(1)}) salto += b;
  const QColor primero(0, 255, 0), siete(7, 248, 3), nueve(9, 246, 4);
  for (const QByteArray& bmp : {BmpRle8(20, 20, datos), BmpRle8(20, 20, salto), BmpRle8(20, 20, datos.left(2))}) {
    // Leave freed memory that is not the first palette colour.
    { QImage ruido = Liso({200, 200}, QColor(1, 2, 3)); }
    const QImage i = DecodificarBmp(bmp);
    ASSERT_EQ(i.size(), QSize(20, 20));
    int dibujados = 0, otros = 0;
    for (int y = 0; y < 20; ++y)
      for (int x = 0; x < 20; ++x) {
        const QColor c = i.pixelColor(x, y);
        dibujados += c == siete || c == nueve;
        otros += c != primero && c != siete && c != nueve;
      }
    EXPECT_EQ(otros, 0);
    EXPECT_EQ(dibujados, bmp.endsWith(salto) ? 5 : 20);
  }
  EXPECT_EQ(DecodificarBmp(BmpRle8(20, 20, datos)).pixelColor(5, 19), siete);
}

TEST(FallasJpeg, CabecerasQueMientenNoPasanDelTecho) {
  // 60000 a side is refused unread; a progressive 12000 x 12000 needs more coefficient
  // memory than the decoder is allowed and fails at once.
  EXPECT_TRUE(DecodificarJpeg(JpegQueMiente(60000, 60000, true), {56, 92}).isNull());
  EXPECT_TRUE(DecodificarJpeg(JpegQueMiente(12000, 12000, true), {56, 92}).isNull());
  // 16000 a side is allowed, decoded at an eighth; whatever comes of the missing data,
  // the back is the placeholder's size with its border.
  for (bool progresivo : {false, true}) {
    const QImage i = DecodificarJpeg(JpegQueMiente(16000, 2000, progresivo), {56, 92});
    if (!i.isNull()) {
      EXPECT_EQ(i.size(), QSize(2000, 250));
    }
  }
}

TEST(FallasBmp, IndicesFueraDeLaTablaDeColoresDanUnColorDefinido) {
  // One colour in the table, the pixels' offset past the end of the file: the reader
  // takes the run-length data right after the table, with indices the table lacks.
  QByteArray d(14 + 40 + 4, '\0');
  d[0] = 'B';
  d[1] = 'M';
  Poner32(d, 10, 100000);
  Poner32(d, 14, 40);
  Poner32(d, 18, 6);
  Poner32(d, 22, 2);
  d[26] = 1;
  d[28] = 8;
  d[30] = 1;          // RLE8
  Poner32(d, 46, 1);  // colours used
  // The only colour: (30, 20, 10), stored blue first.
  d[54] = 10;
  d[55] = 20;
  d[56] = 30;
  for (char b : {char(6), char(200), char(0), char(0), char(3), char(0), char(3), char(77), char(0), char(1)})
    d += b;
  Poner32(d, 2, static_cast<std::int32_t>(d.size()));
  const QImage i = DecodificarBmp(d);
  ASSERT_FALSE(i.isNull());
  EXPECT_EQ(i.format(), QImage::Format_RGB32);
  EXPECT_TRUE(i.colorTable().isEmpty());
  // The colour the table has, and opaque black for indices it lacks.
  int deTabla = 0;
  for (int y = 0; y < i.height(); ++y)
    for (int x = 0; x < i.width(); ++x) {
      const QRgb c = i.pixel(x, y);
      EXPECT_TRUE(c == qRgb(30, 20, 10) || c == qRgb(0, 0, 0)) << x << "," << y << " " << std::hex << c;
      deTabla += c == qRgb(30, 20, 10);
    }
  EXPECT_EQ(deTabla, 3);
  // Equal pictures compare equal without reading past a table.
  EXPECT_EQ(i, DecodificarBmp(d));
}

TEST(FallasJpeg, ElTrabajoCreceConBloquesPorEscaneoYTieneTecho) {
  auto muestra = [](int x, int y, int k) { return static_cast<unsigned char>((x * 3 + y * 5 + k * 70) & 0xFF); };
  auto jpeg = [&](int lado, bool simple, int escaneos) {
    return QByteArray::fromStdString(CodificarJpeg(lado, lado, JCS_RGB, 3, muestra, simple, 75, escaneos));
  };
  // Many scans over few blocks, and the usual ten over many: both decode.
  EXPECT_EQ(DecodificarJpeg(jpeg(64, false, 1000)).size(), QSize(64, 64));
  EXPECT_EQ(DecodificarJpeg(jpeg(2048, true, 0), {56, 92}).size(), QSize(256, 256));
  // A thousand valid scans over 1024 x 1024 cost a hundred normal decodes: refused, at
  // full size and scaled down alike; two hundred are still within the budget.
  const QByteArray mil = jpeg(1024, false, 1000);
  EXPECT_TRUE(DecodificarJpeg(mil, {56, 92}).isNull());
  EXPECT_TRUE(DecodificarJpeg(mil).isNull());
  EXPECT_EQ(DecodificarJpeg(jpeg(1024, false, 200), {56, 92}).size(), QSize(128, 128));
}
