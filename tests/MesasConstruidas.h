#pragma once
// For the solver's tests that build their own small tables.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <random>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "engine/Mesa.h"
#include "games/Juegos.h"
#include "solver/Altas.h"
#include "solver/Reglas.h"
#include "tools/Pasos.h"

// The built table is won once the forty cards are home, and is ready to play.
inline void GanarConLasFundacionesLlenas(TMesa& m) {
  m.VerificarFin = [](TMesa& mesa) {
    unsigned enFundaciones = 0;
    for (const auto& p : mesa.Pilas)
      if (p->Grupo->EsFundacion) enFundaciones += p->Cantidad;
    if (enFundaciones == 40) mesa.JuegoGanado();
  };
  m.ProcPreparar = nullptr;
  m.OcultarCargando();
}

// A pile's cards as the solver lays them, from the bottom up.
inline std::vector<std::uint8_t> IdsDesdeAbajo(const TPila& p) {
  std::vector<std::uint8_t> ids;
  for (const TCarta* c = p.Tope; c; c = c->Debajo) ids.insert(ids.begin(), IdCarta(*c));
  return ids;
}

// The piles off the foundations that hold cards, each from the bottom up, and the cards
// home as bits of their ids in `enCasa`.
inline std::vector<std::vector<std::uint8_t>> PilasYCasa(const TMesa& m, std::uint64_t& enCasa) {
  std::vector<std::vector<std::uint8_t>> pilas;
  enCasa = 0;
  for (const auto& p : m.Pilas) {
    std::vector<std::uint8_t> ids = IdsDesdeAbajo(*p);
    if (p->Grupo->EsFundacion) {
      for (const std::uint8_t id : ids) enCasa |= std::uint64_t{1} << id;
    } else if (!ids.empty()) {
      pilas.push_back(std::move(ids));
    }
  }
  return pilas;
}

// Four foundations, one per suit from its As, taking cards from `tab` (and, with
// `devuelven`, giving them back to it).
inline std::array<TPila*, 4> CasasPorPalo(TMesa& m, TGrupo* tab, bool devuelven = false) {
  std::array<TPila*, 4> casa{};
  for (std::uint8_t palo = 0; palo < 4; ++palo) {
    TGrupo* f = m.CrearGrupo("Fund", 0, 0, 10, false, false, false, false);
    m.AgregarReglaApilado(f, rpMismoPalo, 1);
    m.AgregarOrigen(f, tab);
    if (devuelven) m.AgregarOrigen(tab, f);
    casa[palo] = m.PonerPila(f, static_cast<std::int16_t>(100 * palo), 10);
    m.DefinirFundacion(f, palo, 1, casa[palo]);
  }
  return casa;
}

// Each suit home but for its `fuera` highest cards, which it returns (rank, suit).
inline std::vector<std::pair<std::uint8_t, std::uint8_t>> CasasSalvoLasAltas(TMesa& m, const std::array<TPila*, 4>& casa,
                                                                           const std::array<int, 4>& fuera) {
  std::vector<std::pair<std::uint8_t, std::uint8_t>> cartas;
  for (std::uint8_t palo = 0; palo < 4; ++palo) {
    for (int n = 1; n <= 10 - fuera[palo]; ++n) m.SacarCarta(static_cast<std::uint8_t>(n), palo, casa[palo]);
    for (int n = 11 - fuera[palo]; n <= 10; ++n) cartas.emplace_back(static_cast<std::uint8_t>(n), palo);
  }
  return cartas;
}

// The cards dealt at random to `pilas` piles of `tab`, at most `tope` on each, every pile
// given one first.
inline void RepartirEnPilas(TMesa& m, TGrupo* tab, const std::vector<std::pair<std::uint8_t, std::uint8_t>>& cartas,
                            std::size_t pilas, std::size_t tope, std::mt19937& azar) {
  std::vector<std::vector<std::pair<std::uint8_t, std::uint8_t>>> reparto(pilas);
  for (std::size_t i = 0; i < cartas.size(); ++i) {
    std::size_t p = i < pilas ? i : azar() % pilas;
    while (reparto[p].size() == tope) p = (p + 1) % pilas;
    reparto[p].push_back(cartas[i]);
  }
  for (std::size_t p = 0; p < pilas; ++p) {
    TPila* pila = m.PonerPila(tab, static_cast<std::int16_t>(70 * p), 150);
    for (const auto& [n, palo] : reparto[p]) m.SacarCarta(n, palo, pila);
  }
}

// A table of piles of at most three cards, each taking any card one rank lower, and four
// foundations by suit, won once the forty cards are home: some of the suits' highest cards
// off the foundations, dealt at random to as many piles as they need or a few more.
struct TPilasDeTres {
  const char* Nombre;
  std::uint32_t Semilla;  // times the number
  int Fuera;              // cards off the foundations: Fuera to Fuera + 3
  bool UnPaloPesa;        // about half of them of the suit the number names
  std::uint32_t Mas;      // piles beyond those the cards need: 0 to Mas - 1
  bool VaciasTomanTodo;   // an empty pile takes any card; otherwise nothing

  void Preparar(TMesa& m, std::int32_t numero) const {
    std::mt19937 azar(static_cast<std::uint32_t>(numero) * Semilla);
    m.IniciarJuego(numero, Nombre);
    m.CrearMazo(m.AnchoPantalla + 1, m.AltoPantalla + 1, false, 0);
    TGrupo* tab = m.CrearGrupo("Tab", 0, 15, 3, false, false, false, false);
    m.AgregarReglaApilado(tab, rpCualquiera, -1);
    if (VaciasTomanTodo) m.AgregarReglaVacia(tab, rpCualquiera, PasoLibre);
    m.AgregarOrigen(tab, tab);
    const std::array<TPila*, 4> casa = CasasPorPalo(m, tab);
    std::array<int, 4> fuera{};
    const int total = Fuera + static_cast<int>(azar() % 4);
    for (int k = 0; k < total;) {
      // With UnPaloPesa, the other suits' lowest cards off the foundations can still have
      // cards of that suit to hold.
      const auto palo = UnPaloPesa && azar() % 2 ? static_cast<std::uint32_t>(numero) % 4 : azar() % 4;
      if (fuera[palo] < 10) {
        ++fuera[palo];
        ++k;
      }
    }
    auto cartas = CasasSalvoLasAltas(m, casa, fuera);
    std::shuffle(cartas.begin(), cartas.end(), azar);
    const std::size_t pilas = std::min<std::size_t>((cartas.size() + 2) / 3 + azar() % Mas, cartas.size());
    RepartirEnPilas(m, tab, cartas, pilas, 3, azar);
    GanarConLasFundacionesLlenas(m);
  }
};

// More cards out, the Reyes among them most often: the high cards' readings' tables.
inline constexpr TPilasDeTres kPilasAltas{"Pilas Altas", 13u, 12, false, 1, false};

// Eight to eleven cards off the foundations, about half of them of one suit, on as many
// piles as they need or up to two more; empty piles take nothing. Tighter: eleven to
// fourteen cards, no piles beyond those they need.
inline constexpr TPilasDeTres kPilasDeTres{"Pilas De Tres", 1u, 8, true, 3, false};
inline constexpr TPilasDeTres kApretadas{"Pilas Apretadas", 7u, 11, false, 1, false};
inline void PrepararPilasDeTres(TMesa& m, std::int32_t n) { kPilasDeTres.Preparar(m, n); }
inline void PrepararApretadas(TMesa& m, std::int32_t n) { kApretadas.Preparar(m, n); }

// The high cards' readings' view of the table, as the search reads it.
inline TAltas LeerAltasDe(TMesa& m) {
  const TReglasComoDatos reglas = LeerReglas(m);
  const TGanchosComoDatos ganchos = LeerGanchos(m, reglas);
  const TSinSalida s = PrepararSinSalida(m, reglas, ganchos.Apila ? &ganchos : nullptr);
  EXPECT_TRUE(s.Posible);
  return LeerAltas(m, reglas, s);
}

// A lone Rey also goes on a pile topped by its one Rey, as long as the pile has room.
inline bool ReyEnReySolo(TCarta& carta, TPila& pila) {
  if (carta.Numero == 10 && !carta.Encima && pila.Tope && pila.Tope->Numero == 10 &&
      pila.Cantidad < 3) {
    int reyes = 0;
    for (const TCarta* c = pila.Tope; c; c = c->Debajo) reyes += c->Numero == 10;
    if (reyes == 1) return true;
  }
  return ApilarPorReglas(carta, pila);
}

inline void PrepararAltasConReyes(TMesa& m, std::int32_t n) {
  kPilasAltas.Preparar(m, n);
  m.PuedeApilar = ReyEnReySolo;
}

// A position told apart by the cards on every pile, from the top, each pile closed by '|'.
inline std::string CartasDeLasPilas(const TMesa& m) {
  std::string k;
  for (const auto& p : m.Pilas) {
    for (const TCarta* c = p->Tope; c; c = c->Debajo) k += static_cast<char>(IdCarta(*c) + 1);
    k += '|';
  }
  return k;
}

// The drags of one top card, off the foundations, that the table accepts: a random line's
// next steps.
inline std::vector<TPaso> ArrastresDeUnaCarta(TMesa& m) {
  std::vector<TPaso> pasos;
  for (const auto& de : m.Pilas) {
    if (!de->Tope || de->Grupo->EsFundacion) continue;
    for (const auto& al : m.Pilas) {
      if (al.get() == de.get()) continue;
      const bool acepta = al->Tope ? m.ArrastrarSobreCarta(*al->Tope, *de->Tope, 1, 1)
                                   : m.ArrastrarSobrePila(*al, *de->Tope, 1, 1);
      if (acepta) pasos.push_back(TPaso{TPaso::TTipo::Arrastre, de->Numero, -1, al->Numero});
    }
  }
  return pasos;
}

// Every position reached from the steps by dragging top cards one at a time, each rebuilt
// from the deal and told apart by the cards on every pile; true at a win. `omitir` leaves
// out the drags it names, for checking a rule that leaves them out.
inline bool GanableCartaACarta(TPrepararJuego preparar, std::int32_t numero,
                               const std::vector<TPaso>& desde = {},
                               bool (*omitir)(const TPila& de, const TPila& a) = nullptr) {
  std::set<std::string> vistas;
  std::vector<std::vector<TPaso>> pendientes{desde};
  while (!pendientes.empty()) {
    const std::vector<TPaso> linea = pendientes.back();
    pendientes.pop_back();
    TMesa m;
    preparar(m, numero);
    for (const TPaso& p : linea) EXPECT_TRUE(AplicarPaso(m, p)) << EscribirPaso(p);
    if (m.VentanaPropia.Ganado) return true;
    if (!vistas.insert(CartasDeLasPilas(m)).second) continue;
    for (const auto& de : m.Pilas) {
      if (!de->Tope) continue;
      for (const auto& a : m.Pilas) {
        if (a.get() == de.get() || (omitir && omitir(*de, *a))) continue;
        const bool acepta = a->Tope ? m.ArrastrarSobreCarta(*a->Tope, *de->Tope, 1, 1)
                                    : m.ArrastrarSobrePila(*a, *de->Tope, 1, 1);
        if (!acepta) continue;
        std::vector<TPaso> hija = linea;
        hija.push_back(TPaso{TPaso::TTipo::Arrastre, de->Numero, -1, a->Numero});
        pendientes.push_back(std::move(hija));
      }
    }
  }
  return false;
}
