// Writes the seed corpus of every fuzz target into the folder given, one subfolder per
// target, all made here by code: real score and settings files, small JPEGs in each
// colour space and coding, bitmaps in several depths, number texts, step lines and
// engine-play inputs for every game, help files.
#include <QBuffer>
#include <QImage>

#include <cstdio>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

#include "play/Archivos.h"
#include "play/Configuracion.h"
#include "play/registros/Estadisticas.h"
#include "play/registros/PartidaGuardada.h"
#include "scores/AdminPuntuaciones.h"
#include "tests/imagen/Jpeg.h"

namespace fs = std::filesystem;

namespace {

fs::path Raiz;
int Cuenta = 0;

void Escribir(const std::string& objetivo, const std::string& datos) {
  const fs::path carpeta = Raiz / objetivo;
  fs::create_directories(carpeta);
  std::ofstream f(carpeta / ("semilla" + std::to_string(++Cuenta)), std::ios::binary);
  f.write(datos.data(), static_cast<std::streamsize>(datos.size()));
}

std::string Bytes(std::initializer_list<int> b) {
  std::string s;
  for (int x : b) s += static_cast<char>(x);
  return s;
}

std::string Le32(std::int32_t v) {
  std::string s(4, '\0');
  std::memcpy(s.data(), &v, 4);
  return s;
}

void SemillasPuntuaciones(const fs::path& tmp) {
  const std::string clave = "CuatroReyes";
  const fs::path archivo = ArchivoPuntuaciones(tmp, clave);
  std::error_code ec;
  fs::remove_all(CarpetaRecords(tmp), ec);
  const char* nombres[] = {"Ana", "José María", "Ñandú", "", "Un nombre demasiado largo para caber",
                           "日本", "Zoë", "x", "Éric", "Último"};
  auto entrada = [](std::uint16_t puntos, std::int32_t nro, const std::string& nombre,
                    const std::string& tabla) {
    return Bytes({puntos & 0xFF, puntos >> 8}) + Le32(nro) +
           static_cast<char>(nombre.size()) + nombre + tabla;
  };
  Escribir("puntuaciones", entrada(10, 1, "Nuevo", ""));
  for (int k = 0; k < 11; ++k) {
    const auto puntos = static_cast<std::uint16_t>(5 + 7 * k);
    GuardarPuntuacion(tmp, clave, nombres[k % 10], -k * 1000003, puntos,
                      PosicionEnTabla(tmp, clave, puntos));
    const auto datos = LeerArchivo(archivo, 1000);
    if (!datos) continue;
    Escribir("puntuaciones", entrada(static_cast<std::uint16_t>(3 * k + 20), k, nombres[(k + 3) % 10], *datos));
    if (k == 10) {
      Escribir("puntuaciones", entrada(1000, 7, "Ana", *datos + std::string(30, 'x')));
      Escribir("puntuaciones", entrada(0, 7, "\xC3", datos->substr(0, 100)));
    }
  }
}

void SemillasConfiguracion(const fs::path& tmp) {
  TRegistroConfiguracion r;
  for (const char* id : {"k58203361Defecto1", "k58203361Defecto4", "Reversos/mi foto.jpg",
                         "Reversos/caf\xE9.bmp", ""}) {
    r.PonerReversoActual(id);
    GuardarConfiguracion(tmp, r);
    if (const auto datos = LeerArchivo(tmp / ArchivoConfiguracion, 512)) {
      Escribir("configuracion", *datos);
      Escribir("configuracion", datos->substr(0, 10));
    }
  }
  Escribir("configuracion", std::string(300, '\xFF'));
}

// A small picture through libjpeg: gradients, so that every coefficient has work.
std::string Jpeg(int ancho, int alto, J_COLOR_SPACE espacio, int componentes, bool progresivo,
                 int calidad) {
  return CodificarJpeg(
      ancho, alto, espacio, componentes,
      [&](int x, int y, int k) { return static_cast<unsigned char>((x * 255 / ancho + y * 3 + k * 80) & 0xFF); },
      progresivo, calidad);
}

std::string Bmp(const QImage& imagen) {
  QByteArray datos;
  QBuffer buffer(&datos);
  buffer.open(QIODevice::WriteOnly);
  imagen.save(&buffer, "BMP");
  return datos.toStdString();
}

void SemillasImagenes() {
  // Choices byte: bit 0 bitmap, bit 1 also through a file, bit 2 scaled to the next 2 bytes.
  const std::string jpegs[] = {
      Jpeg(62, 98, JCS_RGB, 3, false, 85),  Jpeg(17, 9, JCS_GRAYSCALE, 1, false, 50),
      Jpeg(40, 40, JCS_RGB, 3, true, 75),   Jpeg(24, 16, JCS_CMYK, 4, false, 90),
      Jpeg(130, 200, JCS_YCbCr, 3, false, 30), Jpeg(1, 1, JCS_RGB, 3, false, 100)};
  // Headers that lie: a JPEG claiming 60000 x 60000, a bitmap claiming more than it holds.
  std::string gigante = jpegs[0];
  if (const auto sof = gigante.find("\xFF\xC0"); sof != std::string::npos && sof + 9 < gigante.size()) {
    gigante[sof + 5] = gigante[sof + 7] = static_cast<char>(0xEA);
    gigante[sof + 6] = gigante[sof + 8] = static_cast<char>(0x60);
    Escribir("imagenes", Bytes({4, 56, 92}) + gigante);
  }
  for (const std::string& j : jpegs) {
    Escribir("imagenes", Bytes({0, 0, 0}) + j);
    Escribir("imagenes", Bytes({6, 56, 92}) + j);
    Escribir("imagenes", Bytes({4, 10, 200}) + j.substr(0, j.size() * 2 / 3));
  }
  QImage color(31, 13, QImage::Format_RGB32);
  for (int y = 0; y < color.height(); ++y)
    for (int x = 0; x < color.width(); ++x) color.setPixel(x, y, qRgb(x * 8, y * 19, (x * y) & 0xFF));
  const std::string bmps[] = {Bmp(color), Bmp(color.convertToFormat(QImage::Format_Indexed8)),
                              Bmp(color.convertToFormat(QImage::Format_Mono)),
                              Bmp(color.convertToFormat(QImage::Format_ARGB32))};
  std::string mentiroso = bmps[0];
  if (mentiroso.size() > 30) {
    const std::int32_t lado = 60000;
    std::memcpy(mentiroso.data() + 18, &lado, 4);  // width
    std::memcpy(mentiroso.data() + 22, &lado, 4);  // height
    Escribir("imagenes", Bytes({1, 0, 0}) + mentiroso);
    Escribir("imagenes", Bytes({1, 0, 0}) + bmps[1].substr(0, 60));
  }
  for (const std::string& b : bmps) {
    Escribir("imagenes", Bytes({1, 0, 0}) + b);
    Escribir("imagenes", Bytes({3, 0, 0}) + b);
  }
  // Run-length data after a one-colour table, its offset past the end: indices the
  // table lacks.
  std::string rle(58, '\0');
  rle[0] = 'B';
  rle[1] = 'M';
  const std::int32_t campos[][2] = {{10, 100000}, {14, 40}, {18, 6}, {22, 2}, {46, 1}};
  for (const auto& [en, valor] : campos) std::memcpy(rle.data() + en, &valor, 4);
  rle[26] = 1;
  rle[28] = 8;
  rle[30] = 1;
  rle[56] = 30;
  rle += std::string("\x06\xC8\x00\x00\x03\x00\x03\x4D\x00\x01", 10);
  Escribir("imagenes", Bytes({1, 0, 0}) + rle);
  Escribir("imagenes", Bytes({7, 20, 30}) + rle);
  // A progressive file with many scans over few blocks: the work bound sees scans x blocks.
  Escribir("imagenes", Bytes({4, 8, 8}) + CodificarJpeg(
      48, 48, JCS_RGB, 3, [](int x, int y, int k) { return static_cast<unsigned char>(x * 5 + y + k * 60); },
      false, 75, 300));
}

// Pictures of the size players keep: the picture target takes inputs of up to a megabyte,
// and these start it there. Noise keeps the files large.
void SemillasImagenesGrandes() {
  auto ruido = [](int x, int y, int k) {
    return static_cast<unsigned char>(((x * 7919u) ^ (y * 104729u) ^ (k * 31u)) * 2654435761u >> 24);
  };
  Escribir("imagenes", Bytes({0, 0, 0}) + CodificarJpeg(700, 500, JCS_RGB, 3, ruido, true, 92));
  Escribir("imagenes", Bytes({4, 62, 98}) + CodificarJpeg(1200, 900, JCS_YCbCr, 3, ruido, false, 35));
}

void SemillasNumero() {
  for (const char* t : {"0", "1", "-1", "+42", "  123", "2147483647", "2147483648", "-2147483648",
                        "-2147483649", "$7FFFFFFF", "$80000000", "x1f", "X0", "0x10", "0XAbC", "0x",
                        "$", "-", "12a", "   ", "", "00000000000000000000000000001", " -0", "$-1"})
    Escribir("numero", t);
}

void SemillasPasos() {
  const char* lineas[] = {"m m m a1 d i v r", "3>5 3.2>5 a7 a7.1", "1>2 2>3 3>4 4>5 5>6 d d",
                          "a1 a2 a3 a4 a5 a6 a7 a8 a9 a10 m i m m v",
                          "999999999>1 1.999999999>2 0>0 a0 a.1 1.>2 >3 1>", "12>1 13>2 r 1.0>9"};
  for (int juego = 0; juego < 16; ++juego)
    Escribir("pasos", static_cast<char>(juego) + std::string(lineas[juego % 6]));
}

void SemillasJuego() {
  std::uint32_t estado = 12345;
  for (int juego = 0; juego < 16; ++juego)
    for (std::int32_t numero : {1, 2, -7, 0}) {
      std::string s = static_cast<char>(juego) + Le32(numero);
      for (int k = 0; k < 120; ++k) {
        estado = estado * 134775813u + 1u;
        s += static_cast<char>(estado >> 24);
      }
      Escribir("juego", s);
    }
}

// The real help file, and small files with what a hostile one holds: headers that never
// close, deep nesting, pictures that name a FIFO, a device, a link out or a path outside,
// comments, optional end tags and style blocks.
void SemillasAyuda() {
  std::ifstream real(CARTOVAL_RECURSOS "/ZARP(Esp).hlp", std::ios::binary);
  Escribir("ayuda", std::string(std::istreambuf_iterator<char>(real), {}));
  auto tema = [](const std::string& id, const std::string& cuerpo) {
    return "<section id=\"" + id + "\" title=\"Tema " + id + "\">" + cuerpo + "</section>\n";
  };
  auto repetir = [](const std::string& s, int n) {
    std::string r;
    for (int i = 0; i < n; ++i) r += s;
    return r;
  };
  const std::string estilo = "<style>body { font-size: 10pt; } td { padding: 2px 6px; }</style>";
  Escribir("ayuda", estilo + tema("contenido", "<h1>Cartoval</h1><ul><li><a href=\"#tema-1\">Uno</a></ul>") +
                        tema("tema-1", "<p>Texto <b>fuerte</b><p>otro<table><tr><td>a<td>b</table>"));
  Escribir("ayuda", tema("tema-2", "<img src=\"bien.png\"><img src=\"tuberia\"><img src=\"cero\">"
                                   "<img src=\"/dev/zero\"><img src=\"../../etc/hostname\">"
                                   "<img src=\"file:///dev/zero\"><img src=\"sub/../bien.png\" width=\"9999\">"));
  Escribir("ayuda", repetir("<section id=\"x\" title=\"y\">", 60));
  Escribir("ayuda", tema("t", repetir("<table><tr><td>", 12)) + tema("u", repetir("<div>", 70)));
  Escribir("ayuda", tema("v", repetir("<table><tr><td>", 6) + "<!-- <div> -->" + repetir("</table>", 6)) +
                        "<style>p{}" + repetir("<style>", 20));
  Escribir("ayuda", "<link rel=\"stylesheet\" href=\"cero\">" +
                        tema("w", "<link rel=\"stylesheet\" href=\"tuberia\"><p style=\"background-image: url(cero)\">x"));
}

}  // namespace

// Kept games and statistics as the program writes them, and a few near misses.
void SemillasPartidas() {
  TPartidasGuardadas p;
  p["CuatroReyes"] = {5, {"3>7", "a2", "m", "d", "i", "2.1>4", "v", "r", "m"}, 3, false};
  p["Strup"] = {-1234567, {"1>2"}, 0, true, true};
  // A drop of two joined cards, undone and redone, and what redo still had.
  TPartidaGuardada& envio = p["SolitarioDeLosSieteMontones"];
  envio = {2, {"11>5", "6>2", "d", "d", "11>5", "6>2", "d", "d"}, 1, true};
  envio.Unidos = {1, 5};
  envio.PorRehacer = std::vector<TMesa::TPorRehacer>{{"6>2", 1, true}, {"11>5", 0, false}};
  Escribir("partidas", PartidasEnJson(p));
  Escribir("partidas", PartidasEnJson({}));
  TEstadisticas e;
  TEstadisticaJuego a;
  ContarJugado(a);
  ContarGanable(a);
  ContarGanado(a, true, 120, 80, 2);
  ContarGanadoGanable(a);
  ContarJugado(a);
  ContarAbandono(a);
  e["YukonEspañol"] = a;
  e["Strup"] = {};
  Escribir("partidas", EstadisticasEnJson(e));
  Escribir("partidas", R"({"version":1,"partidas":{"Strup":{"numero":1e300,"minutos":-1,"ayuda":0,"pasos":["x"]}}})");
  Escribir("partidas", R"({"version":1,"juegos":{"Strup":{"jugados":1,"ganados":2,"rachaActual":0,"rachaMaxima":0}}})");
}

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "uso: generar_semillas CARPETA\n";
    return 2;
  }
  Raiz = argv[1];
  std::error_code ec;
  fs::remove_all(Raiz, ec);
  const fs::path tmp = Raiz / "tmp";
  fs::create_directories(tmp);
  SemillasPuntuaciones(tmp);
  SemillasConfiguracion(tmp);
  SemillasImagenes();
  SemillasImagenesGrandes();
  SemillasNumero();
  SemillasPasos();
  SemillasPartidas();
  SemillasJuego();
  SemillasAyuda();
  fs::remove_all(tmp, ec);
  std::cout << Cuenta << " semillas en " << Raiz.string() << "\n";
  return 0;
}
