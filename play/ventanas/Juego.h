#pragma once
// The window one game is played in: the table, the toolbar, the status bar and the
// three timers. It paints what the engine holds and turns events into engine calls.
#include <QDialog>
#include <QMargins>
#include <QRect>
#include <QSize>
#include <QTimer>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>

#include "engine/Mesa.h"
#include "play/ventanas/Preferencias.h"

// The games were laid out on 640 design units for screens 800 to 1024 pixels wide, with
// cards of 62 x 98 that do not scale. The table is laid out for the widest of them,
// which leaves the fanned columns the most room, and is scaled to the window from there.
inline constexpr QSize kPantallaMesa(1024, 768);
// What the window shows of that screen: below the two toolbar rows the games leave free,
// down to where a maximised window's status bar began.
inline constexpr QRect kZonaMesa(0, 48, 1024, 672);

class QAction;
class QLabel;
class QStatusBar;
class QToolBar;
class QWidget;
class TTapete;
class TCapaVictoria;
class TPartidaEnJuego;
class TAyudas;

class TfrmJuego : public QDialog, public TVentana {
  Q_OBJECT

 public:
  explicit TfrmJuego(QWidget* parent = nullptr);
  ~TfrmJuego() override;

  // The first deal of the game the main window started.
  void Jugar(TPrepararJuego preparar, std::int32_t numero);
  // A further deal of the running game, through ProcPreparar.
  void NuevoReparto(std::int32_t numero);
  // Panels, buttons and the deferred win check from the engine's state.
  void Actualizar();
  // What showing the window maximised would do first, done while nobody waits for it:
  // the state, the native window, and its backing store at the window's size with every
  // page of it written once.
  void PrepararMaximizada();
  // The card size of a game window maximised on the primary screen inside a window frame
  // of `marco` (the desktop's, as another window of the program has it), for drawing the
  // cards ahead.
  static QSize TamannoCartaPrevisto(const QMargins& marco);
  // The frame the desktop puts around the window.
  static QMargins Marco(const QWidget& ventana);

  // TVentana
  void PonerTitulo(const std::string& titulo) override;
  void CargandoOculto() override;
  void JuegoGanado() override;
  // Card faces at random places over the table until it is drawn again; blocks the thread.
  void AnimacionVictoria();
  // True when the result entered the score table (and the table has been shown).
  bool VerificarRecord();

  // The Yes/No question of the confirmations; true for Yes. Tests answer it themselves.
  std::function<bool(const QString& pregunta)> Preguntar;
  // Shows the number dialog; true when it was confirmed (the number is in NroIngresado).
  std::function<bool()> PedirNumero;

  void tbNuevoClick();
  void tbJugarNroClick();
  void tbReiniciarClick();
  void tbReversosClick();
  void tbDeshacerClick();
  void tbInstantaneaClick();
  void tbVolverInstantaneaClick();
  void tbPuntuacionClick();
  void rbAyudaJuegoClick();
  void rbAyudaGeneralClick();
  void tmrTiempoTimer();
  void tmrFinJuegoTimer();
  void tmrNroJuegoTimer();
  void tbTamannoOriginalClick(bool si);

  TMesa mesa;
  TTapete* Tapete;
  TCapaVictoria* CapaVictoria;
  QWidget* Barra;
  QStatusBar* sbStatus;
  std::array<QLabel*, 5> Paneles{};
  QAction* tbNuevo;
  QAction* tbJugarNro;
  QAction* tbReiniciar;
  QAction* tbReversos;
  QAction* tbDeshacer;
  QAction* tbInstantanea;
  QAction* tbVolverInstantanea;
  QAction* tbPuntuacion;
  QAction* rbAyudaJuego;
  QAction* rbAyudaGeneral;
  // Options of the table: a menu with "Tamaño original" and the animation switch.
  QAction* tbOpciones;
  QAction* tbTamannoOriginal;
  QAction* tbAnimacion;
  QTimer tmrTiempo;
  QTimer tmrFinJuego;
  QTimer tmrNroJuego;
  // The saved game and the statistics (PartidaEnJuego.h).
  std::unique_ptr<TPartidaEnJuego> Partida;
  TPreferencias Preferencias;
  // Redo, the verdict, the hint and finishing (Ayudas.h).
  TAyudas* Ayudas = nullptr;

 signals:
  // After every event, once the window shows the engine's state.
  void Actualizado();

 protected:
  void closeEvent(QCloseEvent* e) override;
  void resizeEvent(QResizeEvent* e) override;
  void changeEvent(QEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;
  bool event(QEvent* e) override;

 public slots:
  void reject() override;

 private:
  void centrarFondo();
  void acomodar();
  // The engine's screen for the next deal, as the preferences ask.
  void ponerPantallaMesa();
  // The running deal was laid out for the real screen, shown at its own size.
  bool mesaOriginal_ = false;
  bool confirmarTerminar();
};
