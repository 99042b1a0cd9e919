#pragma once
// JPEG pictures made by the tests and the fuzz seeds with libjpeg itself, in any colour
// space a player's file may use (Qt cannot write CMYK or progressive files).
#include <cstdio>  // jpeglib.h needs FILE
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include <jpeglib.h>

// A valid progressive script of exactly `escaneos` scans: the DC of every component in
// one scan, then every AC coefficient of every component in its own band, refined bit by
// bit as often as the count asks. Between 1 + 63 and 1 + 63 x 11 scans per component.
inline std::vector<jpeg_scan_info> GuionEscaneos(int componentes, int escaneos) {
  std::vector<jpeg_scan_info> guion;
  jpeg_scan_info dc{};
  dc.comps_in_scan = componentes;
  for (int c = 0; c < componentes; ++c) dc.component_index[c] = c;
  guion.push_back(dc);
  const int bandas = componentes * 63;
  const int extra = escaneos - 1 - bandas;  // refinements beyond one scan per band
  for (int b = 0; b < bandas; ++b) {
    const int pasadas = 1 + extra / bandas + (b < extra % bandas ? 1 : 0);
    jpeg_scan_info ac{};
    ac.comps_in_scan = 1;
    ac.component_index[0] = b / 63;
    ac.Ss = ac.Se = 1 + b % 63;
    ac.Al = pasadas - 1;
    guion.push_back(ac);
    for (int a = pasadas - 1; a > 0; --a) {
      ac.Ah = a;
      ac.Al = a - 1;
      guion.push_back(ac);
    }
  }
  return guion;
}

// Sample k of pixel (x, y) comes from `muestra`; a CMYK picture gets the Adobe marker.
// `escaneos` above zero asks for a progressive file of that many scans.
inline std::string CodificarJpeg(int ancho, int alto, J_COLOR_SPACE espacio, int componentes,
                                 const std::function<unsigned char(int, int, int)>& muestra,
                                 bool progresivo = false, int calidad = 75, int escaneos = 0) {
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
  const std::vector<jpeg_scan_info> guion =
      escaneos > 0 ? GuionEscaneos(componentes, escaneos) : std::vector<jpeg_scan_info>{};
  if (!guion.empty()) {
    c.scan_info = guion.data();
    c.num_scans = static_cast<int>(guion.size());
  }
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
