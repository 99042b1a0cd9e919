// The player's back files and the picture a face-down card shows.
#include "backs/Reversos.h"

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "tests/CarpetaTemporal.h"

namespace fs = std::filesystem;

namespace {

std::vector<std::string> Nombres(const TReversosUsuario& lista) {
  std::vector<std::string> n;
  for (const auto& r : lista) n.push_back(fs::path(r.Archivo).filename().string());
  return n;
}

class Reversos : public CarpetaTemporal {
 protected:
  fs::path Dir() const { return Carpeta / "Reversos"; }
  void Crear(std::initializer_list<const char*> nombres) {
    fs::create_directories(Dir());
    for (const char* n : nombres) Escribir(Dir() / n, "x");
  }
};

}  // namespace

TEST_F(Reversos, PatronesEnOrdenYElUltimoHalladoPrimero) {
  Crear({"a.jpg", "b.BMP", "c.jpeg", "d.JPE", "e.png", "f.jpgx", "g.jpg.txt", "h.Jpeg", "bmp"});
  // Within a pattern the file system's own order, whatever it is.
  std::vector<std::string> jpeg;
  for (const auto& e : fs::directory_iterator(Dir())) {
    const std::string n = e.path().filename().string();
    if (n == "c.jpeg" || n == "h.Jpeg") jpeg.insert(jpeg.begin(), n);
  }
  const auto lista = CargarReversosUsuario(Carpeta);
  EXPECT_EQ(Nombres(lista), (std::vector<std::string>{jpeg[0], jpeg[1], "d.JPE", "a.jpg", "b.BMP"}));
  EXPECT_EQ(lista.back().Archivo, (Carpeta / "Reversos" / "b.BMP").string());
}

TEST_F(Reversos, OrdenDelSistemaDeArchivosDentroDeUnPatron) {
  Crear({"uno.bmp", "dos.bmp", "tres.bmp", "cuatro.bmp", "cinco.bmp", "seis.bmp"});
  std::vector<std::string> esperado;
  for (const auto& e : fs::directory_iterator(Dir())) esperado.insert(esperado.begin(), e.path().filename().string());
  EXPECT_EQ(Nombres(CargarReversosUsuario(Carpeta)), esperado);
}

TEST_F(Reversos, SinCarpetaLaListaQuedaVacia) {
  EXPECT_TRUE(CargarReversosUsuario(Carpeta).empty());
  Escribir(Carpeta / "Reversos", "un archivo, no una carpeta");
  EXPECT_TRUE(CargarReversosUsuario(Carpeta).empty());
}

TEST_F(Reversos, BuscarIgnoraMayusculasIncluidosLosAcentos) {
  Crear({"Árbol.jpg", "x.jpg", "X.JPG"});
  const auto lista = CargarReversosUsuario(Carpeta);
  const std::string arbol = (Dir() / "Árbol.jpg").string();
  const std::string otraCaja = MayusculasArchivo(Carpeta.string()) + "/reversos/áRBOL.JpG";
  const TReversoUsuario* r = BuscarReversoUsuario(lista, otraCaja);
  ASSERT_NE(r, nullptr);
  EXPECT_EQ(r->Archivo, arbol);
  EXPECT_EQ(BuscarReversoUsuario(lista, arbol.substr(0, arbol.size() - 1)), nullptr);
  // Two entries differing only in case: the first from the head wins.
  const TReversoUsuario* x = BuscarReversoUsuario(lista, (Dir() / "x.jpg").string());
  ASSERT_NE(x, nullptr);
  for (const auto& e : lista)
    if (MayusculasArchivo(e.Archivo) == MayusculasArchivo(x->Archivo)) {
      EXPECT_EQ(&e, x);
      break;
    }
}

TEST_F(Reversos, ImagenReversoEligePredisennadoUsuarioOMarcador) {
  Crear({"mio.jpeg", "otro.bmp"});
  const auto lista = CargarReversosUsuario(Carpeta);
  for (std::size_t k = 0; k < 4; ++k)
    EXPECT_EQ(ImagenReverso(lista, ReversosPredisennados[k]),
              (TEleccionReverso{TClaseReverso::Predisennado, k}));
  const TEleccionReverso marcador{TClaseReverso::Marcador, 0};
  EXPECT_EQ(ImagenReverso(lista, "K58203361DEFECTO3"), marcador) << "built-in names are exact";
  EXPECT_EQ(ImagenReverso(lista, "k58203361Defecto5"), marcador);
  EXPECT_EQ(ImagenReverso(lista, ""), marcador);
  EXPECT_EQ(ImagenReverso(lista, (Dir() / "borrado.jpg").string()), marcador);
  const TEleccionReverso e = ImagenReverso(lista, MayusculasArchivo((Dir() / "otro.bmp").string()));
  ASSERT_EQ(e.Clase, TClaseReverso::Usuario);
  EXPECT_EQ(lista[e.Indice].Archivo, (Dir() / "otro.bmp").string());
}

TEST_F(Reversos, UnaCarpetaDesbordadaSeListaHastaElLimiteYEnOrden) {
  fs::create_directories(Dir());
  const std::size_t maximo = 50, n = maximo + 3;
  for (std::size_t k = 0; k < n; ++k)
    std::ofstream(Dir() / ((k % 2 ? "r" : "s") + std::to_string(k) + (k % 2 ? ".bmp" : ".jpg")));
  // The first names the file system gives, bitmaps before JPEGs, each turned round.
  std::vector<std::string> bmp, jpg;
  for (const auto& e : fs::directory_iterator(Dir())) {
    if (bmp.size() + jpg.size() == maximo) break;
    const std::string nombre = e.path().filename().string();
    (PatronReverso(nombre) == 0 ? bmp : jpg).push_back(nombre);
  }
  std::vector<std::string> esperado(jpg.rbegin(), jpg.rend());
  esperado.insert(esperado.end(), bmp.rbegin(), bmp.rend());
  EXPECT_EQ(Nombres(CargarReversosUsuario(Carpeta, maximo)), esperado);
  EXPECT_EQ(CargarReversosUsuario(Carpeta).size(), n);
}
