#pragma once
// For the solver's tests that build their own small tables.
#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "engine/Mesa.h"
#include "games/Juegos.h"
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

// Every position reached from the steps by dragging top cards one at a time, each rebuilt
// from the deal and told apart by the cards on every pile; true at a win. `omitir` leaves
// out the drags it names, for checking a rule that leaves them out.
inline bool GanableCartaACarta(TPrepararJuego preparar, std::int32_t numero,
                               const std::vector<TPaso>& desde = {},
                               bool (*omitir)(const TPila& de, const TPila& a) = nullptr) {
  auto clave = [](const TMesa& m) {
    std::string k;
    for (const auto& p : m.Pilas) {
      for (const TCarta* c = p->Tope; c; c = c->Debajo) k += static_cast<char>(IdCarta(*c) + 1);
      k += '|';
    }
    return k;
  };
  std::set<std::string> vistas;
  std::vector<std::vector<TPaso>> pendientes{desde};
  while (!pendientes.empty()) {
    const std::vector<TPaso> linea = pendientes.back();
    pendientes.pop_back();
    TMesa m;
    preparar(m, numero);
    for (const TPaso& p : linea) EXPECT_TRUE(AplicarPaso(m, p)) << EscribirPaso(p);
    if (m.VentanaPropia.Ganado) return true;
    if (!vistas.insert(clave(m)).second) continue;
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
