#pragma once
// Bench only: the measurement linked beside a program's own main. It prints one line of
// key=value figures on standard output and ends the run; bench/arranque/Arranque.cpp reads it.
#include <string>

long long AhoraNs();
// A round trip to the X server: what was sent before it has been drawn.
void EsperarAlServidor();
// Adds "clave=valor" to the line printed at the end.
void Anotar(const std::string& clave, const std::string& valor);
// Prints the line and leaves every event loop.
void TerminarMedicion();

// Set by the program's own part of the measurement (MedicionJuego.cpp): what to measure
// once the first window is on the display. Without it the run ends there.
extern void (*SeguirMidiendo)();
