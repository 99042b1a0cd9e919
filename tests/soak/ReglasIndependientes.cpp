#include "tests/soak/ReglasIndependientes.h"

#include <algorithm>
#include <string_view>
#include <vector>

namespace {

// Oros and Copas form one pair, Espadas and Bastos the other.
int ParDe(int palo) { return palo < 2 ? 0 : 1; }

bool PalosCumplen(int relacion, int paloAbajo, int paloArriba) {
  if (relacion == rpCualquiera) return true;
  if (relacion == rpMismoPalo) return paloAbajo == paloArriba;
  if (relacion == rpOtroPalo) return paloAbajo != paloArriba;
  if (relacion == rpOtroPar) return ParDe(paloAbajo) != ParDe(paloArriba);
  return false;
}

// Ranks run 1..10; a group that wraps goes on past 10 to 1 (upwards) or below 1 to 10
// (downwards).
bool RangosCumplen(int paso, int rangoAbajo, int rangoArriba, const TGrupo& grupo) {
  if (paso == PasoLibre) return true;
  const int siguiente = rangoAbajo + paso;
  if (siguiente == rangoArriba) return true;
  if (siguiente > 10) return grupo.CicloArriba && siguiente - 10 == rangoArriba;
  if (siguiente < 1) return grupo.CicloAbajo && siguiente + 10 == rangoArriba;
  return false;
}

bool AlgunaReglaSobre(const TGrupo& grupo, const TCarta& abajo, const TCarta& arriba) {
  return std::any_of(grupo.ReglasApilado.begin(), grupo.ReglasApilado.end(), [&](const TRegla& r) {
    return PalosCumplen(r.Relacion, abajo.Palo, arriba.Palo) &&
           RangosCumplen(r.Paso, abajo.Numero, arriba.Numero, grupo);
  });
}

bool AlgunaReglaVacia(const TGrupo& grupo, const TCarta& carta) {
  return std::any_of(grupo.ReglasVacia.begin(), grupo.ReglasVacia.end(), [&](const TRegla& r) {
    return r.Relacion == rpCualquiera && (r.Paso == PasoLibre || r.Paso == carta.Numero);
  });
}

// The card and every card lying on it, bottom first.
std::vector<const TCarta*> Tramo(const TCarta& carta) {
  std::vector<const TCarta*> t;
  for (const TCarta* c = &carta; c && t.size() < 40; c = c->Encima) t.push_back(c);
  return t;
}

// What the group data of both piles allow.
bool PermitidoPorGrupos(const TCarta& carta, const TPila& destino) {
  if (!carta.Pila || !destino.Grupo || !carta.Pila->Grupo) return false;
  const TGrupo& hacia = *destino.Grupo;
  const TGrupo& desde = *carta.Pila->Grupo;
  if (std::find(hacia.Origenes.begin(), hacia.Origenes.end(), &desde) == hacia.Origenes.end())
    return false;
  const auto tramo = Tramo(carta);
  if (tramo.size() > 1) {
    if (!hacia.VariasCartas) return false;
    if (!desde.TramoLibre)
      for (std::size_t i = 0; i + 1 < tramo.size(); ++i)
        if (!AlgunaReglaSobre(desde, *tramo[i], *tramo[i + 1])) return false;
  }
  if (!destino.Tope && hacia.EsFundacion)
    return carta.Palo == hacia.PaloFundacion && carta.Numero == hacia.NumeroFundacion;
  if (tramo.size() + destino.Cantidad > hacia.Capacidad) return false;
  return destino.Tope ? AlgunaReglaSobre(hacia, *destino.Tope, carta) : AlgunaReglaVacia(hacia, carta);
}

bool EsBaseDeFundacion(const TCarta& carta) {
  return carta.Pila && carta.Pila->Grupo && carta.Pila->Grupo->EsFundacion && !carta.Debajo;
}

int Reyes(const TPila& pila) {
  int n = 0;
  for (const TCarta* c = pila.Tope; c; c = c->Debajo) n += c->Numero == 10;
  return n;
}

}  // namespace

bool MovimientoPermitido(const TMesa& m, const TCarta& carta, const TPila& destino) {
  if (!carta.BocaArriba || !carta.Pila || carta.Pila == &destino || destino.EsMazo()) return false;
  const std::string_view juego = m.NombreJuego;
  const bool aFundacionVacia = !destino.Tope && destino.Grupo->EsFundacion;
  bool permitido = PermitidoPorGrupos(carta, destino);

  if (juego == "Solitario Anárquico" || juego == "Solitario Anárquico II") {
    // A foundation's base card stays where it is (starting a foundation is not narrowed).
    if (!aFundacionVacia && EsBaseDeFundacion(carta)) permitido = false;
  } else if (juego == "Solitario De 10 A 4") {
    // An As with cards on it does not go to an empty pile; a pile built from an As gives up
    // only its top card, the other piles their runs.
    if (!destino.Tope && carta.Numero == 1 && carta.Encima) permitido = false;
    const std::string_view grupoDesde = carta.Pila->Grupo->NombreGrupo;
    if (!(grupoDesde == "Tab" || (grupoDesde == "Bas" && !carta.Encima))) permitido = false;
  } else if (juego == "Solitario De Los Casi 14 Montones") {
    // A lone Rey also goes on a pile of fewer than three whose only Rey is on top.
    if (carta.Numero == 10 && !carta.Encima && destino.Tope && destino.Tope->Numero == 10 &&
        Reyes(destino) == 1 && destino.Cantidad < 3)
      permitido = true;
  }
  return permitido;
}

const TPila* DestinoAutomatico(const TMesa& m, const TCarta& carta) {
  if (!carta.Pila) return nullptr;
  for (const TGrupo* g : m.Grupos)
    for (const TPila* p : g->Pilas)
      if (p != carta.Pila && MovimientoPermitido(m, carta, *p)) return p;
  return nullptr;
}
