#pragma once
// The main window: the picture, the list of the sixteen games and the small toolbar.
// It starts each game in its own modal game window.
#include <QImage>
#include <QTimer>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <memory>

class QAction;
class QListWidget;
class QLabel;
class TfrmJuego;

class TfrmPrincipal : public QWidget {
  Q_OBJECT

 public:
  // `imagen`: gives the picture (e.g. decoded on a worker meanwhile); asked for once the
  // rest of the window is built. Without it the window decodes the picture itself.
  explicit TfrmPrincipal(QWidget* parent = nullptr, std::function<QImage()> imagen = {});
  ~TfrmPrincipal() override;

  // Starts the selected game with a game number (0 asks for a fresh one).
  void IniciarSeleccionado(std::int32_t numero);
  // Starts a game by its display name.
  void IniciarJuego(const QString& nombre, std::int32_t numero);
  QString JuegoSeleccionado() const;

  // Shows the dealt game window and returns when it closes; tests look at it instead.
  std::function<void(TfrmJuego&)> MostrarJuego;
  // Shows the number dialog; true when it was confirmed (the number is in NroIngresado).
  std::function<bool()> PedirNumero;

  void tbNuevoClick();
  void tbJugarNroClick();
  void tbPuntuacionesClick();
  void tbAyudaJuegoClick();
  void tbReversosClick();
  void tbAyudaGeneralClick();
  void tmrNroJuegoTimer();

  QListWidget* lbJuegos;
  QAction* tbNuevo;
  QAction* tbJugarNro;
  QAction* tbPuntuaciones;
  QAction* tbReversos;
  QAction* tbAyudaJuego;
  QAction* tbAyudaGeneral;
  QTimer tmrNroJuego;
  // Written by the score table opened from here: the deal to play and its game.
  std::int32_t NroPedido = 0;
  QString JuegoPedido;
  // The window of the next game, built while this window waits for the player.
  TfrmJuego* VentanaSiguiente() const { return siguiente_.get(); }

 private:
  // Builds the next game's window, ready to show maximised, once this window is idle (and
  // makes the splash's own native window).
  void prepararSiguiente();
  bool dibujosPedidos_ = false;
  std::unique_ptr<TfrmJuego> siguiente_;

 protected:
  bool event(QEvent* e) override;
  bool eventFilter(QObject* objeto, QEvent* e) override;
  void closeEvent(QCloseEvent* e) override;
};
