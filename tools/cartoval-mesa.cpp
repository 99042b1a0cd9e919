// cartoval-mesa: the games' tables on the shell, for players, testers and us.
#include <iostream>
#include <string>

#include "tools/Comandos.h"

int main(int argc, char** argv) {
  const std::string orden = argc > 1 ? argv[1] : "";
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
