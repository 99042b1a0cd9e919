#pragma once
// The steps of the table tool, as a player would make them through the engine's entry
// points: "3>5", "3.2>5", "a7", "a7.1", "m", "d", "i", "v", "r".
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/Mesa.h"

struct TPaso {
  enum class TTipo { Arrastre, Automatico, Mazo, Deshacer, Instantanea, Volver, Reiniciar };
  TTipo Tipo;
  int Pila = 0;       // from 1, creation order
  int Posicion = -1;  // 0 is the bottom card; -1 the top card
  int Destino = 0;
};

// None for a malformed step.
std::optional<TPaso> LeerPaso(std::string_view texto);
std::string EscribirPaso(const TPaso& paso);
// Whether the step did what it names; the deferred win check runs after it.
bool AplicarPaso(TMesa& m, const TPaso& paso);
// The same, leaving the armed win check to the caller (the window's timer).
bool HacerPaso(TMesa& m, const TPaso& paso);
// Repeats the newest step undo took back through the entry point that made it, which
// writes it into the step log and counts its moves as that step did. False when there
// is nothing to redo.
bool Rehacer(TMesa& m);
// Replays a step log on a table just dealt, joining again to the action before it the
// newest action of each step named in `unidos` (indexes into `pasos`, increasing), so that
// undo and redo act as in the game that wrote them. False when a step is malformed or
// refused, or a join names a step that made no action.
bool RepetirPasos(TMesa& m, const std::vector<std::string>& pasos,
                  const std::vector<std::size_t>& unidos = {});

// Every step the table takes now: the stock click, the drag of each face-up card to
// every pile whose drag-over decision accepts it and, with `automaticos`, the automatic
// move of each top card. The random player of the tests and benchmarks picks from these.
std::vector<TPaso> PasosLegales(TMesa& m, bool automaticos = false);

// "10O": rank and suit initial, upper case face up, lower case face down.
std::string NotacionCarta(const TCarta& carta);
std::string NotacionCarta(std::uint8_t palo, std::uint8_t numero, bool bocaArriba);
// The table as one JSON object (without "pasos" when none is given).
std::string MesaEnJson(const TMesa& m, bool ganado, const std::string& pasosJson);
std::string EscaparJson(const std::string& s);
// Text from the command line, safe to show on a terminal: valid printable UTF-8 as it
// is; control bytes, bytes that are not UTF-8 and the backslash as \xNN (\\); the C1
// controls and the marks that reorder or break a line as \u{NNNN}.
std::string EscaparTerminal(std::string_view s);
