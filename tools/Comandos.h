#pragma once
// Subcommands of cartoval-mesa. Each returns the exit status.
int ComandoJuegos();
int ComandoRepartir(int argc, char** argv);
int ComandoJugar(int argc, char** argv);
int ComandoRecords(int argc, char** argv);
int ComandoResolver(int argc, char** argv);
int ComandoSondear(int argc, char** argv);
