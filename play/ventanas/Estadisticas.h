#pragma once
// The statistics dialog: every game in one sortable table (from the main window) or the
// game being played, a chart of the points of the last wins of the selected game, and a
// button that resets one game's figures after a question.
#include <QDialog>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class QLabel;
class QPushButton;
class QTableWidget;
class QToolButton;
class TfrmJuego;
class TfrmPrincipal;

// Bars of the points of the last wins, oldest on the left; fewer points are better.
class TGraficoPuntos : public QWidget {
 public:
  explicit TGraficoPuntos(QWidget* parent = nullptr);
  void PonerPuntos(std::vector<std::uint16_t> puntos);
  const std::vector<std::uint16_t>& Puntos() const { return puntos_; }

 protected:
  void paintEvent(QPaintEvent* e) override;

 private:
  std::vector<std::uint16_t> puntos_;
};

class TfrmEstadisticas : public QDialog {
 public:
  // `clave` empty: every game; else that game only.
  explicit TfrmEstadisticas(QWidget* parent, const std::string& clave = {});

  // Reads the file again and fills the table, keeping the selected game.
  void Cargar();
  void bbtnReiniciarClick();
  // The key of the selected row; empty when none.
  std::string ClaveSeleccionada() const;

  // The Yes/No question before a reset; tests answer it themselves.
  std::function<bool(const QString& pregunta)> Preguntar;

  QTableWidget* lvEstadisticas;
  TGraficoPuntos* Grafico;
  QLabel* lblGrafico;
  QPushButton* bbtnReiniciar;
  QPushButton* bbtnCerrar;

 private:
  void mostrarGrafico();
  void ajustarTamanno();
  std::string clave_;
};

// The way to the dialog (Ctrl+I): a button for the main window's footer, over every
// game, starting on the selected one; a toolbar button of the game window for its game.
QToolButton* InstalarEstadisticas(TfrmPrincipal& principal);
void InstalarEstadisticas(TfrmJuego& juego);
