// records: a game's score table as the score dialog shows it.
#include <algorithm>
#include <iostream>
#include <string>

#include "games/Registro.h"
#include "play/Archivos.h"
#include "play/CarpetaDatos.h"
#include "scores/AdminPuntuaciones.h"
#include "tools/Comandos.h"
#include "tools/Pasos.h"

int ComandoRecords(int argc, char** argv) {
  if (argc != 1) {
    std::cerr << "cartoval-mesa: uso: cartoval-mesa records JUEGO\n";
    return 2;
  }
  const TJuegoRegistrado* juego = BuscarRegistro(argv[0]);
  if (!juego) {
    std::cerr << "cartoval-mesa: no conozco el juego «" << EscaparTerminal(argv[0]) << "»\n";
    return 2;
  }
  // The score files of the player's folder, as the game decides it.
  const auto usuario = CarpetaDatosUsuario();
  const auto carpeta = usuario.empty() ? CarpetaPrograma()
                                       : ElegirCarpetaDatos(CarpetaPrograma(),
                                                            CARTOVAL_BINDIR_INSTALADO, usuario);
  auto filas = CargarPuntuaciones(carpeta, juego->Clave);
  // The dialog sorts by points; equal points keep the file's order, older first.
  std::stable_sort(filas.begin(), filas.end(),
                   [](const auto& a, const auto& b) { return a.Puntos < b.Puntos; });
  for (std::size_t i = 0; i < filas.size(); ++i) {
    // A damaged name must not break the columns.
    std::replace_if(filas[i].Nombre.begin(), filas[i].Nombre.end(),
                    [](char c) { return static_cast<unsigned char>(c) < 0x20; }, '?');
    std::cout << i + 1 << '\t' << filas[i].Puntos << '\t' << filas[i].Nombre << '\t'
              << filas[i].NroJuego << '\n';
  }
  return 0;
}
