// Recording and undoing actions; the snapshot.
#include "engine/AnotarPaso.h"

void TMesa::RegistrarJugada(TCarta* carta, TPila* desde, TPila* hacia) {
  if (SinRegistro) return;
  jugadas_.push_back(std::make_unique<TJugada>());
  TJugada* j = jugadas_.back().get();
  j->Traslados.push_back({carta, desde, hacia});
  j->Anterior = Historial;
  j->Profundidad = ProfundidadHistorial() + 1;
  if (Historial) Historial->Posterior = j;
  Historial = j;
  if (!JugadaMasAntigua) JugadaMasAntigua = j;
}

void TMesa::AgregarTraslado(TCarta* carta, TPila* desde, TPila* hacia) {
  if (SinRegistro) return;
  if (Historial) Historial->Traslados.push_back({carta, desde, hacia});
}

void TMesa::Deshacer() {
  // Joined actions go back together, each an undo of its own in the step log, so that
  // the log replays on a table that never joined them.
  bool otra = true;
  while (Historial && otra) {
    otra = Historial->ConAnterior;
    DeshacerUna();
  }
}

void TMesa::DeshacerUna() {
  TJugada* j = Historial;
  if (!j) return;
  TAnotarPaso paso(*this, "d");
  if (Instantanea == j) VolverHabilitado = false;
  // Steps recorded while undoing (a card uncovered on the way back) join this action,
  // which is dropped; only the steps it held when the undo began are walked.
  for (std::size_t i = j->Traslados.size(); i-- > 0;) {
    const TTraslado t = j->Traslados[i];
    if (t.Carta && !t.Desde && !t.Hacia) {
      if (t.Carta->BocaArriba)
        PonerBocaAbajo(*t.Carta);
      else
        PonerBocaArriba(*t.Carta);
    } else if (t.Carta) {
      t.Hacia->QuitarCartas(*t.Carta);
      t.Desde->AgregarCartas(*t.Carta);
    } else if (!t.Desde && !t.Hacia) {
      for (std::size_t k = i; k-- > 0;) {
        const TTraslado r = j->Traslados[k];
        if (!r.Carta || !r.Desde || !r.Hacia) continue;
        r.Hacia->QuitarCartas(*r.Carta);
        r.Desde->AgregarCartas(*r.Carta);
      }
      if (Mazo) {
        if (Mazo->Descarte && Mazo->Descarte->Tope) PonerBocaArriba(*Mazo->Descarte->Tope);
        if (Mazo->Reutilizaciones >= 0) ++Mazo->Reutilizaciones;
        EscribirReutilizaciones();
        Mazo->Imagen = {TTipoImagen::Otros,
                        Mazo->PuedeReutilizar() ? ImgMazoReutilizable : ImgMazoAgotado};
      }
      break;
    }
  }
  if (!j->Paso.empty()) PorRehacer.push_back({j->Paso, j->ProfundidadPaso, j->ConAnterior});
  Historial = j->Anterior;
}

void TMesa::UnirConAnterior() {
  if (!Historial || Pasos.empty()) return;
  Historial->ConAnterior = true;
  if (PasosUnidos.empty() || PasosUnidos.back() != Pasos.size() - 1)
    PasosUnidos.push_back(Pasos.size() - 1);
}

void TMesa::TomarInstantanea() {
  TAnotarPaso paso(*this, "i");
  Instantanea = Historial;
  VolverHabilitado = true;
}

void TMesa::VolverAInstantanea() {
  if (!VolverHabilitado) {
    // Not the button's action (it is disabled): its undos are written one by one.
    while (Historial && Historial != Instantanea) Deshacer();
    return;
  }
  TAnotarPaso paso(*this, "v");
  while (Historial && Historial != Instantanea) Deshacer();
  VolverHabilitado = false;
}

void TMesa::Reiniciar() {
  TAnotarPaso paso(*this, "r", true);
  while (Historial) Deshacer();
  Instantanea = nullptr;
  Minutos = 0;
  Movimientos = 0;
  Paneles.PuntosSinContar();
  // Counting starts afresh: nothing before it is redone.
  PorRehacer.clear();
}
