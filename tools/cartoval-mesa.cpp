// cartoval-mesa: the games' tables on the shell, for players, testers and us.
#include <malloc.h>

#include <iostream>
#include <string>

#include "tools/Comandos.h"

int main(int argc, char** argv) {
  const std::string orden = argc > 1 ? argv[1] : "";
  // A deal's search makes several tries, each taking its blocks of positions anew: memory
  // freed by one stays with the process for the next, instead of going back to the system
  // and coming again, a page at a time, each page cleared first.
  if (orden == "resolver" || orden == "sondear") {
    mallopt(M_MMAP_THRESHOLD, 32 << 20);
    mallopt(M_TRIM_THRESHOLD, 1 << 30);
  }
  if (orden == "juegos" && argc == 2) return ComandoJuegos();
  if (orden == "repartir") return ComandoRepartir(argc - 2, argv + 2);
  if (orden == "jugar") return ComandoJugar(argc - 2, argv + 2);
  if (orden == "records") return ComandoRecords(argc - 2, argv + 2);
  if (orden == "resolver") return ComandoResolver(argc - 2, argv + 2);
  if (orden == "sondear") return ComandoSondear(argc - 2, argv + 2);
  std::cerr << "cartoval-mesa: uso: cartoval-mesa juegos | repartir JUEGO NUMERO | "
               "jugar JUEGO NUMERO PASO... | records JUEGO | "
               "resolver [--limite-ms N] [--limite-memoria MiB] JUEGO NUMERO [PASO...] | "
               "sondear [--limite-ms N] [--limite-memoria MiB] [--detalle] JUEGO DESDE HASTA\n";
  return 2;
}
