#pragma once
// What a setup and a won game ask of the game window. The game window implements it;
// the tool and the tests use this plain one, which keeps only what they observe.
#include <string>

class TVentana {
 public:
  virtual ~TVentana() = default;
  virtual void PonerTitulo(const std::string& titulo) { Titulo = titulo; }
  // The splash is hidden: the window restarts its minute clock.
  virtual void CargandoOculto() {}
  virtual void JuegoGanado() { Ganado = true; }

  std::string Titulo;
  bool Ganado = false;
};
