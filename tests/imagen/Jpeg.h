#pragma once
// JPEG pictures made by the tests and the fuzz seeds with libjpeg itself, in any colour
// space a player's file may use (Qt cannot write CMYK or progressive files).
#include <cstdio>  // jpeglib.h needs FILE
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include <jpeglib.h>

// Sample k of pixel (x, y) comes from `muestra`; a CMYK picture gets the Adobe marker.
inline std::string CodificarJpeg(int ancho, int alto, J_COLOR_SPACE espacio, int componentes,
                                 const std::function<unsigned char(int, int, int)>& muestra,
                                 bool progresivo = false, int calidad = 75) {
  jpeg_compress_struct c{};
  jpeg_error_mgr e{};
  c.err = jpeg_std_error(&e);
  jpeg_create_compress(&c);
  unsigned char* salida = nullptr;
  unsigned long tamanno = 0;
  jpeg_mem_dest(&c, &salida, &tamanno);
  c.image_width = static_cast<JDIMENSION>(ancho);
  c.image_height = static_cast<JDIMENSION>(alto);
  c.input_components = componentes;
  c.in_color_space = espacio;
  jpeg_set_defaults(&c);
  jpeg_set_quality(&c, calidad, TRUE);
  if (progresivo) jpeg_simple_progression(&c);
  jpeg_start_compress(&c, TRUE);
  std::vector<unsigned char> fila(static_cast<std::size_t>(ancho * componentes));
  while (c.next_scanline < c.image_height) {
    const int y = static_cast<int>(c.next_scanline);
    for (int x = 0; x < ancho; ++x)
      for (int k = 0; k < componentes; ++k)
        fila[static_cast<std::size_t>(x * componentes + k)] = muestra(x, y, k);
    JSAMPROW p = fila.data();
    jpeg_write_scanlines(&c, &p, 1);
  }
  jpeg_finish_compress(&c);
  jpeg_destroy_compress(&c);
  std::string datos(reinterpret_cast<const char*>(salida), tamanno);
  std::free(salida);
  return datos;
}
