// Move legality: the default rule hooks and the tests they combine.
#include <cstdlib>

#include "engine/Mesa.h"

namespace {

bool PaloAdmite(std::uint8_t relacion, std::uint8_t debajo, std::uint8_t encima) {
  switch (relacion) {
    case rpCualquiera: return true;
    case rpMismoPalo: return debajo == encima;
    case rpOtroPalo: return debajo != encima;
    case rpOtroPar: return (debajo <= 1) != (encima <= 1) && debajo <= 3 && encima <= 3;
    default: return false;
  }
}

bool ReglaSobreCarta(const TRegla& regla, int rangoDebajo, std::uint8_t paloDebajo,
                     const TCarta& encima, const TGrupo& grupo) {
  return PaloAdmite(regla.Relacion, paloDebajo, encima.Palo) &&
         (regla.Paso == PasoLibre || rangoDebajo + regla.Paso == encima.Numero ||
          RangoCiclico(rangoDebajo, encima.Numero, regla.Paso, grupo));
}

}  // namespace

bool RangoCiclico(int a, int b, int Paso, const TGrupo& grupo) {
  const int s = a + Paso;
  if (s > 10) return grupo.CicloArriba && b == std::abs(10 - s);
  if (s < 1) return grupo.CicloAbajo && b == std::abs(10 - std::abs(s));
  return false;
}

bool ReglaAdmite(const std::vector<TRegla>& reglas, const TCarta& carta, const TPila& pila) {
  for (const TRegla& regla : reglas) {
    if (pila.Tope) {
      if (ReglaSobreCarta(regla, pila.Tope->Numero, pila.Tope->Palo, carta, *pila.Grupo))
        return true;
    } else if (regla.Relacion == rpCualquiera &&
               (regla.Paso == PasoLibre || regla.Paso == carta.Numero)) {
      // An empty pile has no card to compare a suit with: only rpCualquiera admits.
      return true;
    }
  }
  return false;
}

int LargoTramo(const TCarta& carta) {
  int n = 0;
  for (const TCarta* c = &carta; c; c = c->Encima) ++n;
  return n;
}

bool TramoValido(const TCarta& carta, const TPila& destino) {
  if (!carta.Encima) return true;
  if (!destino.Grupo->VariasCartas) return false;
  const TGrupo* origen = carta.Pila ? carta.Pila->Grupo : nullptr;
  if (!origen) return false;
  if (origen->TramoLibre) return true;
  for (const TCarta* x = &carta; x->Encima; x = x->Encima) {
    bool admitido = false;
    for (const TRegla& regla : origen->ReglasApilado) {
      if (ReglaSobreCarta(regla, x->Numero, x->Palo, *x->Encima, *origen)) {
        admitido = true;
        break;
      }
    }
    if (!admitido) return false;
  }
  return true;
}

bool CabeEnPila(const TCarta& carta, const TPila& destino) {
  return static_cast<unsigned>(LargoTramo(carta)) + destino.Cantidad <=
         destino.Grupo->Capacidad;
}

bool AceptaOrigen(const TGrupo* origen, const TGrupo& destino) {
  if (!origen) return false;
  for (const TGrupo* g : destino.Origenes)
    if (g == origen) return true;
  return false;
}

namespace {
const TGrupo* GrupoDe(const TCarta& carta) { return carta.Pila ? carta.Pila->Grupo : nullptr; }
}  // namespace

// A full pile refuses first: the tests have no side effects, so their order only decides
// how soon a refusal is known.
bool ApilarPorReglas(TCarta& carta, TPila& pila) {
  return pila.Cantidad < pila.Grupo->Capacidad &&
         ReglaAdmite(pila.Grupo->ReglasApilado, carta, pila) && TramoValido(carta, pila) &&
         CabeEnPila(carta, pila) && AceptaOrigen(GrupoDe(carta), *pila.Grupo);
}

bool OcuparPorReglas(TCarta& carta, TPila& pila) {
  return ReglaAdmite(pila.Grupo->ReglasVacia, carta, pila) && TramoValido(carta, pila) &&
         CabeEnPila(carta, pila) && AceptaOrigen(GrupoDe(carta), *pila.Grupo);
}

bool FundarPorReglas(TCarta& carta, TPila& pila) {
  const TGrupo& g = *pila.Grupo;
  return carta.Palo == g.PaloFundacion && carta.Numero == g.NumeroFundacion &&
         TramoValido(carta, pila) && AceptaOrigen(GrupoDe(carta), g);
}

bool TPila::ArrastrarSobre(TCarta& carta, int X, int Y, TEstadoArrastre) {
  bool Accept;
  if (Tope)
    Accept = Mesa->PuedeApilar(carta, *this) && carta.BocaArriba;
  else if (Grupo->EsFundacion)
    Accept = Mesa->PuedeFundar(carta, *this) && carta.BocaArriba;
  else
    Accept = Mesa->PuedeOcuparVacia(carta, *this) && carta.BocaArriba;
  if (AlArrastrarSobre) AlArrastrarSobre(*this, carta, X, Y, Accept);
  return Accept;
}

bool TMesa::ArrastrarSobrePila(TPila& pila, TCarta& carta, int X, int Y,
                               TEstadoArrastre estado) {
  return pila.ArrastrarSobre(carta, X, Y, estado);
}

bool TMesa::ArrastrarSobreCarta(TCarta& destino, TCarta& carta, int X, int Y,
                                TEstadoArrastre estado) {
  bool Accept = false;
  if (destino.Pila)
    Accept = carta.Pila != destino.Pila && destino.Pila->ArrastrarSobre(carta, X, Y, estado);
  if (destino.AlArrastrarSobre) destino.AlArrastrarSobre(carta, destino, X, Y, Accept);
  return Accept;
}
