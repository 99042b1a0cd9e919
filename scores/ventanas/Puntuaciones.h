#pragma once
// The score table of one game: position, points, name and game number of its ten best
// results. A row can be picked to play that deal again, from the game window or from the
// main window.
#include <cstdint>
#include <string>
#include <vector>

#include "play/ventanas/DialogoFijo.h"
#include "scores/AdminPuntuaciones.h"

class QPushButton;
class QTableWidget;
class TfrmJuego;
class TfrmPrincipal;

// The player chose a game number in the score table; read by the end of a won game.
extern bool JugarNroPedido;
// Position (1..10) of the result just entered, whose row opens selected; 0 for none.
extern std::uint8_t PosicionNueva;
// How long a hint stays: long while the score table shows its explanation.
extern int TiempoHint;

class TfrmPuntuaciones : public TDialogoFijo {
  Q_OBJECT

 public:
  // The parent is the window it is opened from, a game window or the main window: the
  // chosen game number goes to that window's timer.
  explicit TfrmPuntuaciones(QWidget* parent = nullptr);
  ~TfrmPuntuaciones() override;

  void MostrarDesdeJuego(const std::string& clave, std::uint16_t puntos, std::uint8_t posicion);
  void MostrarDesdeJuegoSinRecord(const std::string& clave);
  void MostrarDesdePrincipal(const std::string& clave);

  void lvPuntuacionesSelectItem();
  void bbtnJugarNroClick();
  // The game number of the selected row; false with no row selected.
  bool NumeroSeleccionado(std::int32_t& numero) const;

  QTableWidget* lvPuntuaciones;
  QPushButton* bbtnJugarNro;

  bool DesdeJuego = false;
  bool TrasVictoria = false;

 protected:
  void showEvent(QShowEvent* e) override;
  void done(int resultado) override;
  bool eventFilter(QObject* objeto, QEvent* e) override;

 private:
  void CargarPuntuaciones(const std::string& clave);
  void DimensionarTabla();
  void prepararMostrar();

  std::vector<TFilaPuntuacion> filas_;
  TfrmJuego* frmJuego_ = nullptr;
  TfrmPrincipal* frmPrincipal_ = nullptr;
};
