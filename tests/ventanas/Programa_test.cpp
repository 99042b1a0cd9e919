// The folder of the player's files as the program decides it, and the help file's place.
#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <filesystem>

#include "play/Archivos.h"
#include "play/ventanas/Programa.h"

namespace fs = std::filesystem;

// The tests run from the build folder, which is writable and not installed: a portable
// program keeps its files beside itself and reads the help file from there too.
TEST(CarpetaDelPrograma, EnLaCarpetaDeCompilacionEsLaDelEjecutable) {
  Programa().Carpeta.clear();
  EXPECT_EQ(CarpetaDelPrograma(), CarpetaPrograma());
  EXPECT_EQ(Programa().Carpeta, CarpetaPrograma());
  Programa().Carpeta.clear();
}

// The help file is read beside the player's files or the executable when a copy lies
// there (the test binary has none beside it), else where the program was installed.
TEST(CarpetaDelPrograma, LaAyudaSeLeeDondeEsta) {
  QTemporaryDir carpeta;
  Programa().Carpeta = fs::path(carpeta.path().toStdString());
  ASSERT_FALSE(fs::exists(CarpetaPrograma() / "ZARP(Esp).hlp"));
  EXPECT_TRUE(ArchivoAyuda().endsWith(QStringLiteral("/share/cartoval/ZARP(Esp).hlp")))
      << ArchivoAyuda().toStdString();
  fs::copy_file(CARTOVAL_RECURSOS "/ZARP(Esp).hlp", Programa().Carpeta / "ZARP(Esp).hlp");
  EXPECT_EQ(ArchivoAyuda().toStdString(), (Programa().Carpeta / "ZARP(Esp).hlp").string());
  Programa().Carpeta.clear();
}
