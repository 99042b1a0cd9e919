#include "bench/CarpetaBench.h"

#include <QBuffer>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>

#include <algorithm>
#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace fs = std::filesystem;

QByteArray FotoJpeg(QSize tamanno, int variante) {
  QImage i(tamanno, QImage::Format_RGB32);
  QPainter p(&i);
  QLinearGradient g(0, 0, tamanno.width(), tamanno.height());
  g.setColorAt(0, QColor::fromHsv((variante * 37) % 360, 200, 230));
  g.setColorAt(1, QColor::fromHsv((variante * 37 + 150) % 360, 180, 60));
  p.fillRect(i.rect(), g);
  std::mt19937 azar(static_cast<unsigned>(variante));
  const auto ancho = static_cast<unsigned>(tamanno.width());
  const auto alto = static_cast<unsigned>(tamanno.height());
  const unsigned mayor = std::max(2u, std::min(ancho, alto) / 6);
  for (int k = 0; k < 300; ++k) {
    p.setBrush(QColor::fromRgb(azar() & 0xFFFFFF));
    p.drawEllipse(static_cast<int>(azar() % ancho), static_cast<int>(azar() % alto),
                  1 + static_cast<int>(azar() % mayor), 1 + static_cast<int>(azar() % mayor));
  }
  p.end();
  QByteArray datos;
  QBuffer b(&datos);
  b.open(QIODevice::WriteOnly);
  i.save(&b, "JPG", 90);
  return datos;
}

TCarpetaBench::TCarpetaBench(const char* nombre) {
  std::random_device r;
  Ruta = fs::temp_directory_path() / (std::string(nombre) + "-" + std::to_string(r()));
  fs::create_directories(Ruta);
}

TCarpetaBench::TCarpetaBench(const char* nombre, int fotos, QSize tamanno) : TCarpetaBench(nombre) {
  fs::create_directory(Ruta / "Reversos");
  std::vector<QByteArray> distintas;
  for (int v = 0; v < std::min(8, fotos); ++v) distintas.push_back(FotoJpeg(tamanno, v));
  for (int k = 0; k < fotos; ++k) {
    const QByteArray& f = distintas[static_cast<std::size_t>(k) % distintas.size()];
    std::ofstream(Ruta / "Reversos" / ("foto" + std::to_string(k) + ".jpg"), std::ios::binary)
        .write(f.constData(), f.size());
  }
}

void TCarpetaBench::LlenarReversosVacios(std::size_t n) const {
  const fs::path dir = Ruta / "Reversos";
  fs::create_directories(dir);
  std::size_t hay = 0;
  for ([[maybe_unused]] const auto& e : fs::directory_iterator(dir)) ++hay;
  for (std::size_t k = hay; k < n; ++k) {
    std::string nombre = "r";
    nombre += std::to_string(k);
    nombre += ".jpg";
    std::ofstream(dir / nombre);
  }
}

TCarpetaBench::~TCarpetaBench() {
  std::error_code ec;
  fs::remove_all(Ruta, ec);
}
