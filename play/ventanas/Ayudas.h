#pragma once
// Help while playing: redo, the verdict on the position beside the status bar, the hint
// and finishing a won position. The verdict is searched on a worker thread that builds its
// own table from game, number and step log; the window never waits for it.
#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <condition_variable>
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

  // The number "Nuevo Juego" deals: with "Solo repartos ganables" on, the first fresh
  // number whose deal the solver proves ganable within a second; otherwise 0 (one from
  // the clock, as always).
  std::int32_t NumeroNuevo();

  // After every event of the window.
  void Actualizar();

  QAction* tbRehacer;
  QAction* tbPista;
  QAction* tbTerminar;
  QAction* tbDemostracion;
  QAction* tbSoloGanables;
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

 protected:
  bool eventFilter(QObject* objeto, QEvent* e) override;

 signals:
  // A verdict reached the label.
  void VeredictoMostrado();

 private:
  struct TSabido {
    TVeredicto Veredicto;
    std::vector<TPaso> Linea;
  };
  struct TTarea {
    TPrepararJuego Preparar;
    std::int32_t Numero;
    std::vector<TPaso> Pasos;
    std::string Clave;
    std::stop_source Parar;
  };

  void trabajar(std::stop_token fin);
  void recibir(const std::string& clave, TResultado resultado);
  void mostrar(const TSabido& sabido);
  void buscar();
  void siguientePasoTerminar();
  void jugarLinea(int msPorPaso);
  void terminarLinea();
  std::string clave() const;
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

  std::mutex mutex_;
  std::condition_variable_any hayTarea_;
  std::optional<TTarea> pendiente_;
  std::stop_source enCurso_;
  std::jthread trabajador_;
};

// Adds the buttons, keys and the verdict's label to the game window.
TAyudas* InstalarAyudas(TfrmJuego& juego);
// One line in the end-of-game dialog: an aided game does not enter the score table.
void AvisarAyudaUsada(QWidget& dialogo);
