#pragma once
// The table oracle of the soak, without gtest: every check returns a text of what is
// wrong, empty when all holds. The fuzz target for engine play reuses it (TOraculo in
// the cartoval_oraculo library), so keep it free of test frameworks.
#include <cstdint>
#include <string>
#include <vector>

#include "engine/Mesa.h"
#include "tools/Pasos.h"

// What holds of any table at rest: 40 distinct cards, each on exactly one pile or in the
// stock; pile links, counts, places and stacking; the stock's look; panels 0, 2 and 4.
std::string ComprobarMesa(const TMesa& m);

// Everything a player can see of the cards and piles, to compare a table with itself
// later: pile, order, face, place and visibility of each card, and each pile's look.
struct TFotoMesa {
  struct TFotoCarta {
    int Pila;  // pile number; 0 in the stock
    int Posicion;  // from the bottom of its pile or of the stock
    bool BocaArriba;
    int Left, Top;
    bool Visible;
    TImagen Imagen;
    bool operator==(const TFotoCarta&) const = default;
  };
  struct TFotoPila {
    int Left, Top;
    bool Visible;
    TImagen Imagen;
    bool operator==(const TFotoPila&) const = default;
  };
  std::vector<TFotoCarta> Cartas;  // in the order of TMesa::Cartas
  std::vector<TFotoPila> Pilas;
  // The groups each group accepts cards from, as a sorted multiset: hooks that open and
  // close sources must give them back when undone (order in the list decides nothing).
  // A pile's own group is not compared: a game may keep a converted pile on undo.
  std::vector<std::vector<const TGrupo*>> Origenes;
  int CartasMazo = 0;
  int Reutilizaciones = 0;
  std::string PanelMazo, PanelReutilizaciones;
};
TFotoMesa Fotografiar(const TMesa& m);
// The differences, card by card; empty when the two are the same table.
std::string CompararFotos(const TFotoMesa& antes, const TFotoMesa& ahora);

// Follows one deal step by step with a model of its own: the move count the rules give
// (one per drag or automatic move, one per card dealt, none for a redeal, an undo counts
// the moves of the action it takes back), the actions in the history, the snapshot and
// its button, and the points and waste panels.
class TOraculo {
 public:
  // Right after a setup: the table as dealt, and what is already wrong with it.
  std::string Comenzar(const TMesa& m);
  // Applies the step through the table tool's entry points and checks the table.
  std::string Aplicar(TMesa& m, const TPaso& paso);
  // Undoes every action and compares with the table as dealt.
  std::string DeshacerTodo(TMesa& m);
  // The steps applied so far, in the syntax of `cartoval-mesa jugar`.
  const std::string& Pasos() const { return pasos_; }

 private:
  struct TAccion {
    std::uint64_t Id;
    unsigned Movimientos;  // what undoing it counts
  };
  std::string comprobarModelo(const TMesa& m) const;
  unsigned deshacerModelo();

  TFotoMesa repartida_;
  std::vector<TAccion> acciones_;
  std::uint64_t proximoId_ = 1;
  std::uint64_t instantanea_ = 0;  // 0: the start of the deal
  bool volverHabilitado_ = false;
  std::uint16_t movimientos_ = 0;
  bool puntosEscritos_ = false;
  bool descarteEscrito_ = false;
  std::string pasos_;
};
