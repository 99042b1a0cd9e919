#pragma once
// Folders of player's files for the benchmarks: made in the temporary folder with a
// random name, removed when the object goes.
#include <QByteArray>
#include <QSize>

#include <cstddef>
#include <filesystem>

// A photograph-like JPEG: gradients and shapes, so that decoding it is not trivial.
QByteArray FotoJpeg(QSize tamanno, int variante);

struct TCarpetaBench {
  std::filesystem::path Ruta;
  // An empty folder named `nombre` plus a random number.
  explicit TCarpetaBench(const char* nombre);
  // The same with `fotos` backs of `tamanno` in Reversos/ (eight different pictures,
  // written again and again).
  TCarpetaBench(const char* nombre, int fotos, QSize tamanno);
  // Empty files r0.jpg, r1.jpg... in Reversos/ until it holds `n` files.
  void LlenarReversosVacios(std::size_t n) const;
  ~TCarpetaBench();
  TCarpetaBench(const TCarpetaBench&) = delete;
  TCarpetaBench& operator=(const TCarpetaBench&) = delete;
};
