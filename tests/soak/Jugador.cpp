#include "tests/soak/Jugador.h"

#include <random>
#include <vector>

#include "tests/soak/Oraculo.h"

namespace {

using T = TPaso::TTipo;

struct TCartaElegible {
  int Pila;
  int Posicion;
  TCarta* Carta;
};

std::vector<TCartaElegible> CartasBocaArriba(TMesa& m) {
  std::vector<TCartaElegible> r;
  for (const auto& p : m.Pilas) {
    int pos = p->Cantidad - 1;
    for (TCarta* c = p->Tope; c; c = c->Debajo, --pos)
      if (c->BocaArriba) r.push_back({p->Numero, pos, c});
  }
  return r;
}

// The drags the table would accept, found the way the window asks while dragging.
std::vector<TPaso> ArrastresLegales(TMesa& m, const std::vector<TCartaElegible>& cartas) {
  std::vector<TPaso> r;
  for (const TCartaElegible& e : cartas) {
    for (const auto& hacia : m.Pilas) {
      if (hacia->Numero == e.Pila) continue;
      const bool acepta = hacia->Tope ? m.ArrastrarSobreCarta(*hacia->Tope, *e.Carta, 1, 1)
                                      : m.ArrastrarSobrePila(*hacia, *e.Carta, 1, 1);
      if (acepta) r.push_back(TPaso{T::Arrastre, e.Pila, e.Posicion, hacia->Numero});
    }
  }
  return r;
}

TPaso ElegirPaso(TMesa& m, std::mt19937& azar) {
  auto tirar = [&](std::size_t n) { return static_cast<std::size_t>(azar() % n); };
  const int dado = static_cast<int>(azar() % 100);
  const auto cartas = CartasBocaArriba(m);
  if (dado < 35 || dado >= 98) {
    auto legales = ArrastresLegales(m, cartas);
    // Often from the waste first, so that it runs empty and the stock redeals nothing.
    const TPila* descarte = m.Mazo ? m.Mazo->Descarte : nullptr;
    if (descarte && dado < 20) {
      std::vector<TPaso> delDescarte;
      for (const TPaso& p : legales)
        if (p.Pila == descarte->Numero) delDescarte.push_back(p);
      if (!delDescarte.empty()) legales.swap(delDescarte);
    }
    if (!legales.empty()) return legales[tirar(legales.size())];
  }
  if (dado < 52 && !cartas.empty()) {
    const TCartaElegible& e = cartas[tirar(cartas.size())];
    return TPaso{T::Arrastre, e.Pila, e.Posicion, static_cast<int>(1 + tirar(m.Pilas.size()))};
  }
  if (dado < 64) {
    const TPila& p = *m.Pilas[tirar(m.Pilas.size())];
    const int pos = p.Cantidad > 0 && azar() % 2 ? static_cast<int>(tirar(p.Cantidad)) : -1;
    return TPaso{T::Automatico, p.Numero, pos};
  }
  if (dado < 82) return TPaso{T::Mazo};
  if (dado < 91) return TPaso{T::Deshacer};
  if (dado < 94) return TPaso{T::Instantanea};
  if (dado < 97) return TPaso{T::Volver};
  return TPaso{T::Reiniciar};
}

}  // namespace

std::int32_t NumeroDeReparto(int i) {
  // Mostly small numbers, every fifth one far out and negative: the seed is the number's
  // 32 bits, whatever its sign.
  return i % 5 == 4 ? static_cast<std::int32_t>(-1 - static_cast<std::int64_t>(i) * 104729) : i + 1;
}

TResultadoSoak JugarAlAzar(const TJuegoRegistrado& juego, int cantidad, int pasos,
                           const TObservador& observar) {
  TResultadoSoak r;
  TMesa m;
  TOraculo oraculo;
  for (int i = 0; i < cantidad; ++i) {
    const std::int32_t numero = NumeroDeReparto(i);
    if (i > 0) m.LiberarMesa();
    m.VentanaPropia.Ganado = false;
    juego.Preparar(m, numero);
    m.ProcPreparar = juego.Preparar;
    auto fallar = [&](const std::string& que) {
      r.Falla = std::string(juego.Nombre) + ", número " + std::to_string(numero) + ": " + que +
                "\n  cartoval-mesa jugar " + juego.Modulo + " " + std::to_string(numero) + " " +
                oraculo.Pasos();
      return r;
    };
    if (std::string e = oraculo.Comenzar(m); !e.empty()) return fallar("al repartir: " + e);
    if (observar)
      if (std::string e = observar(m, true); !e.empty()) return fallar("al repartir: " + e);
    std::mt19937 azar(static_cast<std::uint32_t>(numero) * 2654435761u ^
                      static_cast<std::uint32_t>(juego.ContextoAyuda));
    for (int k = 0; k < pasos && !m.VentanaPropia.Ganado; ++k) {
      const std::uint16_t antes = m.Movimientos;
      const TPaso paso = ElegirPaso(m, azar);
      if (paso.Tipo == T::Mazo && m.Mazo && m.Mazo->EnMesa && m.Mazo->CartasMazo == 0 &&
          m.Mazo->PuedeReutilizar()) {
        ++r.Reutilizaciones;
        if (!m.Mazo->Descarte || !m.Mazo->Descarte->Tope) ++r.ReutilizacionesVacias;
      }
      if (std::string e = oraculo.Aplicar(m, paso); !e.empty()) return fallar(e);
      if (observar)
        if (std::string e = observar(m, false); !e.empty()) return fallar(e);
      ++r.Pasos;
      if (m.Movimientos != antes) ++r.Movidas;
    }
    if (m.VentanaPropia.Ganado) ++r.Ganados;
    if (std::string e = oraculo.DeshacerTodo(m); !e.empty())
      return fallar("al deshacer todo: " + e);
    if (observar)
      if (std::string e = observar(m, false); !e.empty()) return fallar("al deshacer todo: " + e);
    ++r.Repartos;
  }
  return r;
}
