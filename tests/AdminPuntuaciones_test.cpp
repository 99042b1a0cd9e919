// Score files: positions, insertion, the on-disk record, scrambling and damaged files.
#include "scores/AdminPuntuaciones.h"

#include <cstring>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "games/Registro.h"
#include "tests/CarpetaTemporal.h"

namespace fs = std::filesystem;

namespace {

const std::string Clave = "CuatroReyes";

// The file's bytes unscrambled, padded to the whole block.
std::array<std::uint8_t, TamannoBloque> Desordenar(const std::string& archivo) {
  std::array<std::uint8_t, TamannoBloque> b{};
  std::memcpy(b.data(), archivo.data(), std::min(archivo.size(), b.size()));
  CodificarTabla(b);
  return b;
}

std::string Ordenar(std::array<std::uint8_t, TamannoBloque> b, std::size_t bytes) {
  CodificarTabla(b);
  return std::string(reinterpret_cast<const char*>(b.data()), bytes);
}

std::vector<std::uint16_t> Puntos(const std::vector<TFilaPuntuacion>& filas) {
  std::vector<std::uint16_t> p;
  for (const auto& f : filas) p.push_back(f.Puntos);
  return p;
}

class Puntuaciones : public CarpetaTemporal {
 protected:
  fs::path Archivo() const { return ArchivoPuntuaciones(Carpeta, Clave); }
  // Saves each result where the table puts it, as the end of a game does.
  void Jugar(int puntos, const std::string& nombre = "Ana", std::int32_t nro = 1) {
    const auto pts = static_cast<std::uint16_t>(puntos);
    const std::uint8_t p = PosicionEnTabla(Carpeta, Clave, pts);
    if (p) {
      ASSERT_TRUE(GuardarPuntuacion(Carpeta, Clave, nombre, nro, pts, p));
    }
  }
};

}  // namespace

TEST_F(Puntuaciones, PrimerResultadoCreaCarpetaYArchivoDeUnRegistro) {
  EXPECT_EQ(PosicionEnTabla(Carpeta, Clave, 500), 1);
  EXPECT_TRUE(fs::is_directory(Carpeta / "Records"));
  ASSERT_TRUE(GuardarPuntuacion(Carpeta, Clave, "Ana", -5, 777, 1));
  const std::string archivo = Leer(Archivo());
  ASSERT_EQ(archivo.size(), 28u);
  // The record as it lies unscrambled: length, name, padding, points and number little-endian.
  const auto b = Desordenar(archivo);
  EXPECT_EQ(b[0], 3);
  EXPECT_EQ(std::string(b.begin() + 1, b.begin() + 4), "Ana");
  EXPECT_EQ(b[22] | b[23] << 8, 777);
  EXPECT_EQ(std::vector<std::uint8_t>(b.begin() + 24, b.begin() + 28),
            (std::vector<std::uint8_t>{0xFB, 0xFF, 0xFF, 0xFF}));
  EXPECT_NE(archivo.substr(1, 3), "Ana") << "stored scrambled";
  const auto filas = CargarPuntuaciones(Carpeta, Clave);
  ASSERT_EQ(filas.size(), 1u);
  EXPECT_EQ(filas[0].Nombre, "Ana");
  EXPECT_EQ(filas[0].Puntos, 777);
  EXPECT_EQ(filas[0].NroJuego, -5);
  EXPECT_EQ(std::distance(fs::directory_iterator(Carpeta / "Records"), fs::directory_iterator()), 1);
}

TEST_F(Puntuaciones, TablaLlenaConOctavoNovenoYDecimoDe90_100_120) {
  for (int p : {10, 20, 30, 40, 50, 60, 70, 90, 100, 120}) Jugar(p, "Viejo" + std::to_string(p), p);
  ASSERT_EQ(Leer(Archivo()).size(), 280u);
  EXPECT_EQ(PosicionEnTabla(Carpeta, Clave, 120), 0);
  EXPECT_EQ(PosicionEnTabla(Carpeta, Clave, 100), 10);
  EXPECT_EQ(PosicionEnTabla(Carpeta, Clave, 99), 9);
  const std::string antes = Leer(Archivo());

  Jugar(119, "Nuevo");
  auto filas = CargarPuntuaciones(Carpeta, Clave);
  EXPECT_EQ(Puntos(filas), (std::vector<std::uint16_t>{10, 20, 30, 40, 50, 60, 70, 90, 100, 119}));
  EXPECT_EQ(filas[9].Nombre, "Nuevo");

  Escribir(Archivo(), antes);
  Jugar(100, "Nuevo");
  filas = CargarPuntuaciones(Carpeta, Clave);
  EXPECT_EQ(filas[8].Nombre, "Viejo100");
  EXPECT_EQ(filas[9].Nombre, "Nuevo");

  Escribir(Archivo(), antes);
  Jugar(99, "Nuevo");
  filas = CargarPuntuaciones(Carpeta, Clave);
  EXPECT_EQ(Puntos(filas), (std::vector<std::uint16_t>{10, 20, 30, 40, 50, 60, 70, 90, 99, 100}));
  EXPECT_EQ(filas[9].Nombre, "Viejo100");
  EXPECT_EQ(filas[9].NroJuego, 100);
  EXPECT_EQ(Leer(Archivo()).size(), 280u);
}

TEST_F(Puntuaciones, EmpatesEntranDespuesYElCeroValeMenos) {
  for (int p : {50, 80, 80}) Jugar(p, "v" + std::to_string(p));
  EXPECT_EQ(PosicionEnTabla(Carpeta, Clave, 80), 4);
  EXPECT_EQ(PosicionEnTabla(Carpeta, Clave, 79), 2);
  EXPECT_EQ(PosicionEnTabla(Carpeta, Clave, 10), 1);
  Jugar(80, "empate");
  const auto filas = CargarPuntuaciones(Carpeta, Clave);
  EXPECT_EQ(Puntos(filas), (std::vector<std::uint16_t>{50, 80, 80, 80}));
  EXPECT_EQ(filas[3].Nombre, "empate");

  EXPECT_EQ(PosicionEnTabla(Carpeta, Clave, 0), 1);
  Jugar(0, "cero");
  EXPECT_EQ(PosicionEnTabla(Carpeta, Clave, 0), 2);
  EXPECT_EQ(CargarPuntuaciones(Carpeta, Clave)[0].Nombre, "cero");
}

TEST_F(Puntuaciones, NombresEnLatin1CortadosA20) {
  Jugar(5, "Abcdefghijklmnopqrstu");  // 21
  Jugar(6, "Ñandú Pérez Güemes de la Peña");
  Jugar(7, "Zoë ☃ 名前");
  const auto filas = CargarPuntuaciones(Carpeta, Clave);
  EXPECT_EQ(filas[0].Nombre, "Abcdefghijklmnopqrst");
  EXPECT_EQ(filas[1].Nombre, "Ñandú Pérez Güemes d");  // 20 characters, 20 bytes on disk
  EXPECT_EQ(filas[2].Nombre, "Zoë ? ??");
  EXPECT_EQ(Desordenar(Leer(Archivo()))[28], 20);
  EXPECT_EQ(Latin1DesdeUtf8("a\xC3(b\xE2\x82"), "a?(b??");  // one "?" per stray byte
  EXPECT_EQ(Latin1DesdeUtf8("\xC1\x81"), "??") << "overlong form of 'A'";
}

TEST_F(Puntuaciones, DesordenarDosVecesDevuelveElBloque) {
  std::mt19937 azar(11);
  std::array<std::uint8_t, TamannoBloque> b{};
  for (auto& x : b) x = static_cast<std::uint8_t>(azar());
  auto c = b;
  CodificarTabla(c);
  for (std::size_t i = 0; i < b.size(); ++i) EXPECT_NE(c[i], b[i]) << i;
  CodificarTabla(c);
  EXPECT_EQ(c, b);
}

TEST_F(Puntuaciones, ArchivoNombradoPorLaClaveConAcentos) {
  const std::string clave = QuitarEspacios("Solitario Anárquico II");
  ASSERT_TRUE(GuardarPuntuacion(Carpeta, clave, "Ana", 1, 1, 1));
  EXPECT_TRUE(fs::is_regular_file(Carpeta / "Records" / "SolitarioAnárquicoII.dat"));
}

TEST_F(Puntuaciones, ArchivosCortosYParciales) {
  fs::create_directory(Carpeta / "Records");
  Escribir(Archivo(), "corto");
  EXPECT_TRUE(CargarPuntuaciones(Carpeta, Clave).empty());
  EXPECT_EQ(PosicionEnTabla(Carpeta, Clave, 300), 1);
  Jugar(300);
  EXPECT_EQ(Leer(Archivo()).size(), 28u);

  // Three records and a partial fourth: the partial one is ignored and then overwritten.
  for (int p : {100, 200}) Jugar(p);
  Escribir(Archivo(), Leer(Archivo()) + std::string(10, 'z'));
  EXPECT_EQ(CargarPuntuaciones(Carpeta, Clave).size(), 3u);
  Jugar(150, "Medio");
  EXPECT_EQ(Leer(Archivo()).size(), 112u);
  EXPECT_EQ(Puntos(CargarPuntuaciones(Carpeta, Clave)), (std::vector<std::uint16_t>{100, 150, 200, 300}));
}

TEST_F(Puntuaciones, MasDeDiezRegistrosSeIgnoranYSusBytesNoSeCopian) {
  for (std::uint16_t p = 1; p <= 10; ++p) Jugar(p);
  const std::string tabla = Leer(Archivo());
  Escribir(Archivo(), tabla + "bytes que no son registros: " + std::string(200, '#'));
  EXPECT_EQ(CargarPuntuaciones(Carpeta, Clave).size(), 10u);
  Jugar(0, "Primero");
  // The new file holds the table and nothing else.
  const std::string despues = Leer(Archivo());
  ASSERT_EQ(despues.size(), 280u);
  EXPECT_EQ(despues.substr(28), tabla.substr(0, 252)) << "the others one place down";
  EXPECT_EQ(CargarPuntuaciones(Carpeta, Clave)[0].Nombre, "Primero");
}

TEST_F(Puntuaciones, LargoDeNombreDannadoSeLeeComo20YNoSePropaga) {
  Jugar(40, "Ana");
  auto b = Desordenar(Leer(Archivo()));
  b[0] = 255;
  std::memcpy(b.data() + 1, "ABCDEFGHIJKLMNOPQRST", 20);
  Escribir(Archivo(), Ordenar(b, 28));
  auto filas = CargarPuntuaciones(Carpeta, Clave);
  ASSERT_EQ(filas.size(), 1u);
  EXPECT_EQ(filas[0].Nombre, "ABCDEFGHIJKLMNOPQRST");
  Jugar(10, "Otro");
  EXPECT_EQ(Desordenar(Leer(Archivo()))[28], 20) << "rewritten clamped";
}

TEST_F(Puntuaciones, BasuraNoRompeNada) {
  fs::create_directory(Carpeta / "Records");
  std::mt19937 azar(3);
  for (int vuelta = 0; vuelta < 20; ++vuelta) {
    std::string basura(azar() % 400, '\0');
    for (auto& c : basura) c = static_cast<char>(azar());
    Escribir(Archivo(), basura);
    const auto filas = CargarPuntuaciones(Carpeta, Clave);
    EXPECT_EQ(filas.size(), std::min<std::size_t>(basura.size() / 28, 10));
    for (const auto& f : filas) EXPECT_LE(Latin1DesdeUtf8(f.Nombre).size(), 20u);
    const std::uint8_t p = PosicionEnTabla(Carpeta, Clave, 1000);
    EXPECT_LE(p, 10);
    if (p) {
      EXPECT_TRUE(GuardarPuntuacion(Carpeta, Clave, "X", 0, 1000, p));
      EXPECT_EQ(CargarPuntuaciones(Carpeta, Clave).size(), std::min<std::size_t>(filas.size() + 1, 10));
    }
  }
}

TEST_F(Puntuaciones, IlegibleNoSeReemplazaYPosicionFueraDeTablaNoDejaHuecos) {
  fs::create_directories(Archivo());  // a folder where the file should be
  EXPECT_TRUE(CargarPuntuaciones(Carpeta, Clave).empty());
  EXPECT_EQ(PosicionEnTabla(Carpeta, Clave, 5), 1);
  EXPECT_FALSE(GuardarPuntuacion(Carpeta, Clave, "Ana", 1, 5, 1));
  EXPECT_TRUE(fs::is_directory(Archivo()));
  fs::remove(Archivo());

  // The file shrank after the position was asked: the result goes right after the rest.
  for (int p : {10, 20}) Jugar(p);
  ASSERT_TRUE(GuardarPuntuacion(Carpeta, Clave, "Tarde", 9, 90, 7));
  const auto filas = CargarPuntuaciones(Carpeta, Clave);
  EXPECT_EQ(Puntos(filas), (std::vector<std::uint16_t>{10, 20, 90}));
  EXPECT_FALSE(GuardarPuntuacion(Carpeta, Clave, "Nadie", 9, 90, 0));
  EXPECT_EQ(Leer(Archivo()).size(), 84u);
}
