// The settings record ZARP.bin: defaults, short, long and unreadable files, stale bytes.
#include "play/Configuracion.h"

#include <filesystem>
#include <string>

#include "tests/CarpetaTemporal.h"

namespace fs = std::filesystem;

using Configuracion = CarpetaTemporal;

TEST_F(Configuracion, PrimeraEjecucionUsaElPrimerReversoYLoGuardaEntero) {
  TRegistroConfiguracion r = LeerConfiguracion(Carpeta);
  EXPECT_EQ(r.ReversoActual(), "k58203361Defecto1");
  ASSERT_TRUE(GuardarConfiguracion(Carpeta, r));
  const std::string archivo = Leer(Carpeta / "ZARP.bin");
  ASSERT_EQ(archivo.size(), 256u);
  EXPECT_EQ(archivo[0], 17);
  EXPECT_EQ(archivo.substr(1, 17), "k58203361Defecto1");
  EXPECT_EQ(archivo.substr(18), std::string(238, '\0'));
  EXPECT_EQ(std::distance(fs::directory_iterator(Carpeta), fs::directory_iterator()), 1)
      << "no temporary file left behind";
}

TEST_F(Configuracion, UnIdentificadorCortoDejaLosBytesDelLargo) {
  TRegistroConfiguracion r = LeerConfiguracion(Carpeta);
  const std::string largo = "/home/ana/cartoval/Reversos/Paisaje.jpeg";
  r.PonerReversoActual(largo);
  r.PonerReversoActual("abcdefghijkl");
  ASSERT_TRUE(GuardarConfiguracion(Carpeta, r));
  const std::string archivo = Leer(Carpeta / "ZARP.bin");
  ASSERT_EQ(archivo.size(), 256u);
  EXPECT_EQ(archivo[0], 12);
  EXPECT_EQ(archivo.substr(1, 12), "abcdefghijkl");
  EXPECT_EQ(archivo.substr(13, largo.size() - 12), largo.substr(12));
  EXPECT_EQ(LeerConfiguracion(Carpeta).ReversoActual(), "abcdefghijkl");
  // Read and written back byte for byte, stale bytes included.
  EXPECT_TRUE(GuardarConfiguracion(Carpeta, LeerConfiguracion(Carpeta)));
  EXPECT_EQ(Leer(Carpeta / "ZARP.bin"), archivo);
}

TEST_F(Configuracion, ArchivosVaciosCortosYLargos) {
  Escribir(Carpeta / "ZARP.bin", "");
  EXPECT_EQ(LeerConfiguracion(Carpeta).ReversoActual(), "");

  // The missing bytes read as zero.
  Escribir(Carpeta / "ZARP.bin", std::string("\x06" "abc", 4));
  EXPECT_EQ(LeerConfiguracion(Carpeta).ReversoActual(), std::string("abc\0\0\0", 6));

  std::string largo(300, 'x');
  largo[0] = static_cast<char>(255);
  Escribir(Carpeta / "ZARP.bin", largo);
  const TRegistroConfiguracion r = LeerConfiguracion(Carpeta);
  EXPECT_EQ(r.ReversoActual(), std::string(255, 'x'));
  ASSERT_TRUE(GuardarConfiguracion(Carpeta, r));
  EXPECT_EQ(Leer(Carpeta / "ZARP.bin"), largo.substr(0, 256));
}

TEST_F(Configuracion, IlegibleDaIdentificadorVacioYNoSeReemplaza) {
  fs::create_directory(Carpeta / "ZARP.bin");
  TRegistroConfiguracion r = LeerConfiguracion(Carpeta);
  EXPECT_EQ(r.ReversoActual(), "");
  r.PonerReversoActual("k58203361Defecto2");
  EXPECT_FALSE(GuardarConfiguracion(Carpeta, r));
  EXPECT_TRUE(fs::is_directory(Carpeta / "ZARP.bin"));
  EXPECT_FALSE(GuardarConfiguracion(Carpeta / "no-existe", r));
}

TEST_F(Configuracion, LosBytesDelSistemaDeArchivosPasanTalCual) {
  TRegistroConfiguracion r;
  const std::string ruta = "/tmp/Rev\xe9rsos/\xff\xfe.jpg";  // not UTF-8
  r.PonerReversoActual(ruta);
  ASSERT_TRUE(GuardarConfiguracion(Carpeta, r));
  EXPECT_EQ(LeerConfiguracion(Carpeta).ReversoActual(), ruta);
  r.PonerReversoActual(std::string(400, 'r'));
  EXPECT_EQ(r.ReversoActual(), std::string(255, 'r'));
}
