#pragma once
// The end of a won game: the score of the deal, the victory animation's layer over the
// table and the small dialog that offers a new deal of the same game or the way out.
#include <QPixmap>
#include <QPoint>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <vector>

#include "play/ventanas/DialogoFijo.h"

class QPushButton;

// Minutes plus one and a half times the moves, the product rounded down, kept to 16 bits.
std::uint16_t PuntosGanados(std::uint16_t minutos, std::uint16_t movimientos);
// How many card faces the victory animation draws: 450 x the screen's scale, rounded down.
std::uint16_t CantidadAnimacion(float escalaPantalla);

// The pictures of the victory animation lie over the table, not in it: they are no cards,
// take no input and are gone as soon as the table is drawn again (Borrar).
class TCapaVictoria : public QWidget {
  Q_OBJECT

 public:
  explicit TCapaVictoria(QWidget* tapete);

  // Draws one face at once, without waiting for the event loop.
  void Dibujar(int indiceCara, QPoint esquina);
  void Borrar();
  std::size_t Dibujadas() const { return caras_.size(); }

 protected:
  void paintEvent(QPaintEvent* e) override;

 private:
  struct TCara {
    int Indice;
    QPoint Esquina;
  };
  std::vector<TCara> caras_;
  std::vector<QPixmap> dibujos_;
  qreal dpr_ = 0;
};

class TfrmFinJuego : public TDialogoFijo {
  Q_OBJECT

 public:
  explicit TfrmFinJuego(QWidget* parent = nullptr);

  // Run each time the dialog becomes active: the game window stops its clock again and
  // marks the deal over.
  std::function<void()> AlActivar;

  QPushButton* bbtnNuevo;
  QPushButton* bbtnCancelar;

 protected:
  bool event(QEvent* e) override;
};
