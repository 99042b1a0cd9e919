// Engine play: the input chooses the game, the deal number and every step; the soak's
// oracle checks the table after each one and the undo of everything at the end. Every
// drag the engine is asked about, and every automatic move, is also checked against the
// rules as stated apart from the engine: what it accepts they must allow, what it refuses
// they must forbid.
// Input: 1 byte game and screen width, 4 bytes number (little-endian), then the steps, one to three bytes
// each.
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "fuzz/Comun.h"
#include "games/Registro.h"
#include "tests/soak/Oraculo.h"
#include "tests/soak/ReglasIndependientes.h"

namespace {

using T = TPaso::TTipo;

struct TLector {
  const std::uint8_t* Datos;
  std::size_t Largo;
  std::size_t Pos = 0;
  bool Quedan() const { return Pos < Largo; }
  std::uint8_t Byte() { return Pos < Largo ? Datos[Pos++] : 0; }
  std::size_t Elegir(std::size_t n) { return n == 0 ? 0 : Byte() % n; }
};

struct TElegible {
  int Pila;
  int Posicion;
  TCarta* Carta;
};

// The first disagreement between the engine and the rules in this input, if any.
std::string desacuerdo;

std::string DescribirPila(const TPila& p) {
  return "pila " + std::to_string(p.Numero) + " (" + (p.Grupo ? p.Grupo->NombreGrupo : "?") +
         ", tope " + (p.Tope ? NotacionCarta(*p.Tope) : std::string("vacía")) + ")";
}

// The engine's drag-over answer, as the window asks it, compared with the rules.
bool Acepta(TMesa& m, TCarta& carta, TPila& hacia) {
  const bool acepta = hacia.Tope ? m.ArrastrarSobreCarta(*hacia.Tope, carta, 1, 1)
                                 : m.ArrastrarSobrePila(hacia, carta, 1, 1);
  if (acepta != MovimientoPermitido(m, carta, hacia) && desacuerdo.empty())
    desacuerdo = std::string("el motor ") + (acepta ? "acepta " : "rechaza ") + NotacionCarta(carta) +
                 " de la " + (carta.Pila ? DescribirPila(*carta.Pila) : "?") + " sobre la " +
                 DescribirPila(hacia) + "; las reglas dicen lo contrario";
  return acepta;
}

std::vector<TElegible> CartasBocaArriba(TMesa& m) {
  std::vector<TElegible> r;
  for (const auto& p : m.Pilas) {
    int pos = p->Cantidad - 1;
    for (TCarta* c = p->Tope; c; c = c->Debajo, --pos)
      if (c->BocaArriba) r.push_back({p->Numero, pos, c});
  }
  return r;
}

// A drag the table accepts, asked the way the window asks while dragging: from the
// chosen face-up card on, the first card with a pile that takes it, piles tried from
// the chosen one on. None when no face-up card can go anywhere.
std::optional<TPaso> ArrastreLegal(TMesa& m, std::size_t carta, std::size_t pila) {
  const auto cartas = CartasBocaArriba(m);
  const std::size_t n = m.Pilas.size();
  for (std::size_t i = 0; i < cartas.size(); ++i) {
    const TElegible& e = cartas[(carta + i) % cartas.size()];
    for (std::size_t k = 0; k < n; ++k) {
      TPila& hacia = *m.Pilas[(pila + k) % n];
      if (hacia.Numero == e.Pila) continue;
      if (Acepta(m, *e.Carta, hacia)) return TPaso{T::Arrastre, e.Pila, e.Posicion, hacia.Numero};
    }
  }
  return std::nullopt;
}

TPaso LeerPasoDe(TLector& l, TMesa& m) {
  const std::uint8_t b = l.Byte();
  const int pilas = static_cast<int>(m.Pilas.size());
  switch (b % 16) {
    case 0: case 1: case 2: case 3: {
      // Mostly legal drags, so that play goes deep; the rest any face-up card anywhere.
      const std::size_t carta = l.Byte();
      if (const auto legal = ArrastreLegal(m, carta, l.Byte())) return *legal;
      [[fallthrough]];
    }
    case 4: case 5: {
      const auto cartas = CartasBocaArriba(m);
      if (cartas.empty() || pilas == 0) return TPaso{T::Mazo};
      const TElegible& e = cartas[l.Elegir(cartas.size())];
      const int destino = 1 + static_cast<int>(l.Elegir(static_cast<std::size_t>(pilas)));
      Acepta(m, *e.Carta, *m.Pilas[static_cast<std::size_t>(destino - 1)]);
      return TPaso{T::Arrastre, e.Pila, e.Posicion, destino};
    }
    case 6: case 7: {
      if (pilas == 0) return TPaso{T::Mazo};
      const TPila& p = *m.Pilas[l.Elegir(static_cast<std::size_t>(pilas))];
      const int pos = static_cast<int>(l.Elegir(p.Cantidad + 1u)) - 1;
      return TPaso{T::Automatico, p.Numero, pos};
    }
    case 8: case 9: case 10: return TPaso{T::Mazo};
    case 11: case 12: return TPaso{T::Deshacer};
    case 13: return TPaso{T::Instantanea};
    case 14: return TPaso{T::Volver};
    default: return b & 0x10 ? TPaso{T::Reiniciar} : TPaso{T::Deshacer};
  }
}

// The card an automatic step names: the top card for position -1.
TCarta* CartaDelPaso(TMesa& m, const TPaso& p) {
  if (p.Pila < 1 || p.Pila > static_cast<int>(m.Pilas.size())) return nullptr;
  TPila& pila = *m.Pilas[static_cast<std::size_t>(p.Pila - 1)];
  if (p.Posicion >= pila.Cantidad) return nullptr;
  TCarta* c = pila.Tope;
  for (int i = pila.Cantidad - 1; c && p.Posicion >= 0 && i > p.Posicion; --i) c = c->Debajo;
  return c;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* datos, std::size_t largo) {
  if (largo < 5) return 0;
  const TJuegoRegistrado& juego = Juegos()[datos[0] % Juegos().size()];
  std::int32_t pedido;
  std::memcpy(&pedido, datos + 1, 4);
  TLector l{datos + 5, largo - 5};

  // Screens from far too small to very wide: the scale changes every place on the table.
  static constexpr int anchos[] = {1024, 640, 800, 1152, 1280, 1366, 1440, 1600,
                                   1680, 1920, 2560, 3840, 7680, 320, 1023, 1000};
  TMesa m(anchos[datos[0] / 16], anchos[datos[0] / 16] * 3 / 4);
  // Number 0 asks the clock; a fixed clock keeps the run replayable.
  m.Generador.Reloj = [] { return std::uint32_t{86399999}; };
  juego.Preparar(m, pedido);
  m.ProcPreparar = juego.Preparar;
  TOraculo oraculo;
  auto fallar = [&](const std::string& que) {
    fuzz::Fallar(std::string(juego.Nombre) + ", número " + std::to_string(m.NumeroJuego) + ": " + que +
                 "\n  cartoval-mesa jugar " + juego.Modulo + " " + std::to_string(m.NumeroJuego) + " " +
                 oraculo.Pasos());
  };
  if (std::string e = oraculo.Comenzar(m); !e.empty()) fallar("al repartir: " + e);
  desacuerdo.clear();
  for (int k = 0; k < 400 && l.Quedan() && !m.VentanaPropia.Ganado; ++k) {
    const TPaso paso = LeerPasoDe(l, m);
    if (!desacuerdo.empty()) fallar("antes del paso " + EscribirPaso(paso) + ": " + desacuerdo);
    TCarta* carta = paso.Tipo == T::Automatico ? CartaDelPaso(m, paso) : nullptr;
    const TPila* antes = carta ? carta->Pila : nullptr;
    const TPila* esperado = carta ? DestinoAutomatico(m, *carta) : nullptr;
    if (std::string e = oraculo.Aplicar(m, paso); !e.empty()) fallar(e);
    if (carta && carta->Pila != (esperado ? esperado : antes))
      fallar("el movimiento automático de " + NotacionCarta(*carta) + " fue a la pila " +
             std::to_string(carta->Pila ? carta->Pila->Numero : 0) + "; las reglas lo llevan a la " +
             std::to_string(esperado ? esperado->Numero : antes ? antes->Numero : 0));
  }
  if (std::string e = oraculo.DeshacerTodo(m); !e.empty()) fallar("al deshacer todo: " + e);

  // The game window deals again on the same table after releasing it.
  const std::int32_t numero = m.NumeroJuego;
  m.LiberarMesa();
  m.VentanaPropia.Ganado = false;
  juego.Preparar(m, numero);
  TOraculo otro;
  if (std::string e = otro.Comenzar(m); !e.empty()) fallar("al repartir otra vez: " + e);
  return 0;
}
