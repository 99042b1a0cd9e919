#pragma once
// Help while playing: redo, the verdict on the position beside the status bar, the hint
// and finishing a won position. The verdict is searched on a worker thread that builds its
// own table from game, number and step log; the window never waits for it.
#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <set>
#include <stop_token>
#include <string>
#include <thread>
#include <unordered_map>
#include <vector>

#include "solver/Solucionador.h"

class QAction;
class QLabel;
class QPushButton;
class TfrmJuego;
struct TControl;

class TAyudas : public QObject {
  Q_OBJECT

 public:
  explicit TAyudas(TfrmJuego& juego);
  ~TAyudas() override;

  void tbRehacerClick();
  void tbPistaClick();
  void tbTerminarClick();
  // Plays the winning line at a pace a person can follow; any click or key stops it.
  void tbDemostracionClick();
  bool EnDemostracion() const { return demostrando_ && tmrTerminar_.isActive(); }
  // Undoes back to the newest position of this line known to be ganable.
  void VolverAGanable();

  // "Nuevo Juego" with "Solo repartos ganables" on: the worker looks for the first fresh
  // number whose deal the solver proves ganable within a second, and the window deals it
  // when found; meanwhile the table stays in play, and a move or closing cancels the
  // search. False, and nothing started, with the option off.
  bool BuscarRepartoGanable();
  bool BuscandoReparto() const { return serieReparto_ != 0; }
  // Fresh numbers tried at most; the last is dealt when none was proven ganable.
  static constexpr int kIntentosReparto = 10;

  // After every event of the window.
  void Actualizar();
  // A kept game was replayed on the table: its steps are no new move of the player, and
  // nothing is sent home after them.
  void Continuada();

  QAction* tbRehacer;
  QAction* tbPista;
  QAction* tbTerminar;
  QAction* tbDemostracion;
  QAction* tbSoloGanables;
  // In the options menu: the automatic drop of the cards no pile can need any more.
  QAction* tbEnviarSeguras;
  // Milliseconds between the steps of the demonstration.
  int MsPasoDemostracion = 700;
  QLabel* lbVeredicto;
  QPushButton* bbtnVolverGanable;

  // The live search's limits: short, so that "No se sabe" comes rather than a long wait.
  TLimites Limites{.Milisegundos = 2000, .MemoriaMiB = 128};
  // What the hint marks, while it shows.
  std::vector<const TControl*> Resaltados() const { return resaltados_; }
  // Milliseconds from an action to its verdict shown, per searched position.
  std::vector<double> Esperas;
  // Searches a newer action stopped: the position they were for and how far they got.
  struct TParada {
    std::string Clave;
    std::uint64_t Posiciones;
  };
  std::vector<TParada> Paradas;
  // The position of the search the worker took up last ("" for a deal's search).
  std::string Empezada;
  // A search asked for that waits for the frame showing its position to go first.
  bool BusquedaEnEspera() const { return porEncargar_.has_value(); }
  // The position the window shows, as the verdicts are remembered by.
  std::string Clave() const;

 protected:
  bool eventFilter(QObject* objeto, QEvent* e) override;
  void customEvent(QEvent* e) override;

 signals:
  // A verdict reached the label.
  void VeredictoMostrado();
  // The worker began the newest search; one a newer action stopped was added to Paradas.
  void BusquedaEmpezada();
  void BusquedaParada();

 private:
  struct TSabido {
    TVeredicto Veredicto;
    std::vector<TPaso> Linea;
  };
  struct TTarea {
    TPrepararJuego Preparar;
    std::int32_t Numero;
    std::vector<TPaso> Pasos;
    TLimites Limites;
    std::string Clave;
    std::stop_source Parar;
    // A search for a ganable deal: these numbers in turn, for the window's search `Serie`.
    std::vector<std::int32_t> Numeros;
    std::uint64_t Serie = 0;
  };

  void trabajar(std::stop_token fin);
  // From the worker: runs the call on this thread. What the worker hands over goes
  // through `avisos_` under the mutex, so that the hand-over is one the program's own
  // lock orders, not Qt's event queue alone.
  void avisar(std::function<void()> aviso);
  Q_INVOKABLE void atenderAvisos();
  void recibir(const std::string& clave, TResultado resultado);
  void mostrar(const TSabido& sabido);
  void buscar();
  void encargar(TTarea tarea);
  void parada(const std::string& clave, std::uint64_t posiciones);
  void repartoHallado(std::uint64_t serie, std::int32_t numero);
  void cancelarReparto();
  // The automatic drop after a move of the player; true when it sent cards (and the
  // window was brought up to date again).
  bool enviarSeguras();
  void siguientePasoTerminar();
  void jugarLinea(int msPorPaso);
  void terminarLinea();
  void ponerTexto(const QString& texto);
  // The verdict's panel at the window's lower right, above the status bar.
  void acomodar();

  TfrmJuego& juego_;
  QWidget* pnlVeredicto_;
  std::unordered_map<std::string, TSabido> sabidos_;
  std::string claveActual_;
  // History depths of this line whose position is ganable.
  std::set<int> ganables_;
  QElapsedTimer espera_;
  std::vector<const TControl*> resaltados_;
  QTimer tmrPista_;
  QTimer tmrTerminar_;
  std::vector<TPaso> porTerminar_;
  bool demostrando_ = false;
  // Steps of the log already seen: one more is a new action of the player.
  std::size_t pasosVistos_ = 0;
  // The running search for a ganable deal; 0 when none.
  std::uint64_t serieReparto_ = 0;
  std::uint64_t series_ = 0;
  std::stop_source paradaReparto_;

  std::mutex mutex_;
  std::condition_variable_any hayTarea_;
  std::optional<TTarea> pendiente_;
  // The search buscar() asked for, until the frame has gone (customEvent).
  std::optional<TTarea> porEncargar_;
  bool encargoPedido_ = false;
  std::vector<std::function<void()>> avisos_;
  std::stop_source enCurso_;
  std::jthread trabajador_;
};

// Adds the buttons, keys and the verdict's label to the game window.
TAyudas* InstalarAyudas(TfrmJuego& juego);
// One line in the end-of-game dialog: an aided game does not enter the score table.
void AvisarAyudaUsada(QWidget& dialogo);
