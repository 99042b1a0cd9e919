// The worker that decodes the player's backs: pictures by value at the size asked for,
// broken files remembered, the newest requests first, and a clean stop with work queued.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QImage>
#include <QSignalSpy>

#include <filesystem>
#include <string>
#include <vector>

#include "backs/ventanas/ImagenesReversos.h"
#include "tests/CarpetaTemporal.h"

namespace fs = std::filesystem;

namespace {

class ImagenesReversosTest : public CarpetaTemporal {
 protected:
  std::string Bmp(const std::string& nombre, QColor color, QSize tamanno = {40, 30}) {
    QImage i(tamanno, QImage::Format_RGB32);
    i.fill(color);
    const fs::path archivo = Carpeta / nombre;
    EXPECT_TRUE(i.save(QString::fromStdString(archivo.string()), "BMP"));
    return archivo.string();
  }
};

}  // namespace

TEST_F(ImagenesReversosTest, ListaAlTamannoPedidoYRotoRecordado) {
  TImagenesReversos imagenes;
  QSignalSpy listas(&imagenes, &TImagenesReversos::Lista);
  const std::string rojo = Bmp("rojo.bmp", Qt::red);
  const std::string roto = (Carpeta / "roto.jpg").string();
  Escribir(roto, "no es un JPEG");
  QImage imagen;
  EXPECT_EQ(imagenes.Reverso(rojo, {62, 98}, imagen), TEstadoReverso::Pendiente);
  EXPECT_TRUE(imagen.isNull());
  // Asking again before it is ready queues nothing more.
  EXPECT_EQ(imagenes.Reverso(rojo, {62, 98}, imagen), TEstadoReverso::Pendiente);
  EXPECT_EQ(imagenes.Reverso(rojo, {124, 196}, imagen), TEstadoReverso::Pendiente);
  EXPECT_EQ(imagenes.Reverso(roto, {62, 98}, imagen), TEstadoReverso::Pendiente);
  ASSERT_TRUE(imagenes.Esperar(20000));
  EXPECT_EQ(imagenes.Decodificadas(), 3);
  EXPECT_EQ(listas.count(), 3);

  ASSERT_EQ(imagenes.Reverso(rojo, {62, 98}, imagen), TEstadoReverso::Listo);
  EXPECT_EQ(imagen.size(), QSize(62, 98));
  EXPECT_EQ(imagen.pixelColor(30, 50), QColor(Qt::red));
  ASSERT_EQ(imagenes.Reverso(rojo, {124, 196}, imagen), TEstadoReverso::Listo);
  EXPECT_EQ(imagen.size(), QSize(124, 196));
  EXPECT_EQ(imagenes.Reverso(roto, {62, 98}, imagen), TEstadoReverso::Roto);
  EXPECT_EQ(imagenes.Reverso(roto, {10, 10}, imagen), TEstadoReverso::Roto);
  EXPECT_TRUE(imagenes.Roto(roto));
  EXPECT_FALSE(imagenes.Roto(rojo));
  // Nothing was decoded again.
  EXPECT_EQ(imagenes.Decodificadas(), 3);
}

TEST_F(ImagenesReversosTest, LosPedidosMasNuevosPrimeroYLosViejosSeOlvidan) {
  std::vector<std::string> archivos;
  for (int k = 0; k < 3 * static_cast<int>(TImagenesReversos::PendientesMaximos); ++k)
    archivos.push_back(Bmp("r" + std::to_string(k) + ".bmp", QColor(k % 256, 0, 0), {400, 300}));
  TImagenesReversos imagenes;
  QImage imagen;
  for (const std::string& a : archivos) imagenes.Reverso(a, {62, 98}, imagen);
  ASSERT_TRUE(imagenes.Esperar(60000));
  // The rows asked for last are the ones on screen: they are there; most of the first
  // ones were dropped unread and come back as pending when asked for again.
  EXPECT_EQ(imagenes.Reverso(archivos.back(), {62, 98}, imagen), TEstadoReverso::Listo);
  EXPECT_LT(imagenes.Decodificadas(), static_cast<int>(archivos.size()));
  int pendientes = 0;
  for (std::size_t k = 0; k < TImagenesReversos::PendientesMaximos; ++k)
    pendientes += imagenes.Reverso(archivos[k], {62, 98}, imagen) == TEstadoReverso::Pendiente;
  EXPECT_GT(pendientes, 0);
  ASSERT_TRUE(imagenes.Esperar(60000));
  EXPECT_EQ(imagenes.Reverso(archivos.front(), {62, 98}, imagen), TEstadoReverso::Listo);
}

TEST_F(ImagenesReversosTest, SeDetieneConTrabajoEnCola) {
  std::vector<std::string> archivos;
  for (int k = 0; k < 40; ++k) archivos.push_back(Bmp("g" + std::to_string(k) + ".bmp", Qt::green, {800, 600}));
  int llegadas = 0;
  QObject receptor;
  {
    TImagenesReversos imagenes;
    QObject::connect(&imagenes, &TImagenesReversos::Lista, &receptor, [&] { ++llegadas; });
    QImage imagen;
    for (const std::string& a : archivos) imagenes.Reverso(a, {62, 98}, imagen);
  }
  // Whatever the worker had finished or had in hand goes with the object; nothing
  // arrives later.
  for (int k = 0; k < 3; ++k) QCoreApplication::processEvents();
  EXPECT_EQ(llegadas, 0);
}
