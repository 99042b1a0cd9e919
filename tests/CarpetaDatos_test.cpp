// Which folder holds the player's files: the program's own while it is writable and not
// the installed one, else the player's data folder, created on first use.
#include "play/CarpetaDatos.h"

#include <unistd.h>

#include <cstdlib>

#include "tests/CarpetaTemporal.h"

namespace fs = std::filesystem;

class CarpetaDatos : public CarpetaTemporal {
 protected:
  fs::path Programa() { return Carpeta / "programa"; }
  fs::path Datos() { return Carpeta / "datos" / "cartoval"; }
  void SetUp() override {
    CarpetaTemporal::SetUp();
    fs::create_directories(Programa());
  }
};

TEST_F(CarpetaDatos, UnaCopiaPortatilGuardaTodoEnSuCarpeta) {
  EXPECT_TRUE(CarpetaEscribible(Programa()));
  EXPECT_EQ(ElegirCarpetaDatos(Programa(), "/usr/bin", Datos()), Programa());
  EXPECT_EQ(ElegirCarpetaDatos(Programa(), "", Datos()), Programa());
  // The data folder is not made for nothing, and the probe leaves nothing behind.
  EXPECT_FALSE(fs::exists(Datos()));
  EXPECT_TRUE(fs::is_empty(Programa()));
}

TEST_F(CarpetaDatos, LaCarpetaInstaladaNuncaGuardaAunqueSeaEscribible) {
  // Root can write under /usr: being the installed folder decides, not the permission.
  // The same folder by another spelling is still the installed one.
  EXPECT_EQ(ElegirCarpetaDatos(Programa(), Programa() / ".", Datos()), Datos());
  EXPECT_TRUE(fs::is_directory(Datos()));
}

TEST_F(CarpetaDatos, UnaCarpetaSinEscrituraPasaALosDatosDelJugador) {
  // /proc refuses new files even to root.
  EXPECT_FALSE(CarpetaEscribible("/proc"));
  EXPECT_EQ(ElegirCarpetaDatos("/proc", "/usr/bin", Datos()), Datos());
  EXPECT_TRUE(fs::is_directory(Datos()));
  // Neither a missing folder nor a file is a place for files.
  EXPECT_FALSE(CarpetaEscribible(Carpeta / "no-existe"));
  Escribir(Carpeta / "archivo", "x");
  EXPECT_FALSE(CarpetaEscribible(Carpeta / "archivo"));
  if (::geteuid() != 0) {
    fs::permissions(Programa(), fs::perms::owner_read | fs::perms::owner_exec);
    EXPECT_EQ(ElegirCarpetaDatos(Programa(), "", Datos()), Datos());
    fs::permissions(Programa(), fs::perms::owner_all);
  }
}

TEST_F(CarpetaDatos, LaCarpetaDelJugadorSigueXdg) {
  const char* xdg = std::getenv("XDG_DATA_HOME");
  const std::string antes = xdg ? xdg : "";
  ::setenv("XDG_DATA_HOME", Datos().parent_path().c_str(), 1);
  EXPECT_EQ(CarpetaDatosUsuario(), Datos());
  // A relative value is not valid: the default under the home folder serves.
  ::setenv("XDG_DATA_HOME", "relativa", 1);
  EXPECT_EQ(CarpetaDatosUsuario().filename(), "cartoval");
  EXPECT_EQ(CarpetaDatosUsuario().parent_path().filename(), "share");
  if (xdg)
    ::setenv("XDG_DATA_HOME", antes.c_str(), 1);
  else
    ::unsetenv("XDG_DATA_HOME");
}
