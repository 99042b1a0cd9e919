#include "solver/Clics.h"

#include <cstdint>

#include "solver/Reglas.h"

std::size_t DescarteDeClicsJuntos(const TMesa& m) {
  constexpr std::size_t kNo = SIZE_MAX;
  if (!m.Mazo || !m.Mazo->EnMesa || TieneGanchos(m)) return kNo;
  const TMazo& mazo = *m.Mazo;
  if (mazo.Reutilizaciones < 0 || mazo.Reutilizaciones > 4) return kNo;
  if (mazo.Destinos.size() != 1 || mazo.Destinos[0].Cantidad != 1) return kNo;
  const TPila* descarte = mazo.Destinos[0].Pila;
  if (!descarte || !descarte->Grupo || !descarte->Grupo->Origenes.empty()) return kNo;
  // A redeal takes back the stock's waste: it must be the pile dealt to.
  if (mazo.Reutilizaciones > 0 && mazo.Descarte != descarte) return kNo;
  for (std::size_t i = 0; i < m.Pilas.size(); ++i)
    if (m.Pilas[i].get() == descarte) return i;
  return kNo;
}
