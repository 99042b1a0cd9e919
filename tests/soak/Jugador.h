#pragma once
// A seeded random player for the soak: drags of any face-up card to any pile, automatic
// moves, stock clicks, undos, snapshots, returns and restarts, each checked by the oracle.
#include <cstdint>
#include <functional>
#include <string>

#include "games/Registro.h"

struct TResultadoSoak {
  int Repartos = 0;
  long Pasos = 0;
  long Movidas = 0;  // steps that moved cards
  int Ganados = 0;
  long Reutilizaciones = 0;       // stock clicks that redealt the waste
  long ReutilizacionesVacias = 0;  // of them, with an empty waste
  // Empty when every check held; else the game, the number, what was wrong and the
  // steps, as a `cartoval-mesa jugar` line that replays them.
  std::string Falla;
};

// The deal numbers the soak plays: the i-th of a run, from 0.
std::int32_t NumeroDeReparto(int i);

// `cantidad` deals of the game on one table, each set up again after LiberarMesa as the
// game window does, with up to `pasos` steps per deal. Stops at the first failure.
// `observar`, when given, looks at the table after each deal's setup (nuevo true) and
// after every step, the last undo included; what it returns that is not empty is a failure.
using TObservador = std::function<std::string(TMesa& mesa, bool nuevo)>;
TResultadoSoak JugarAlAzar(const TJuegoRegistrado& juego, int cantidad, int pasos,
                           const TObservador& observar = {});
