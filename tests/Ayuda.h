#pragma once
// Helpers shared by the tests: cards as text, pile contents and the table invariants.
#include <gtest/gtest.h>

#include <string>

#include "engine/Mesa.h"
#include "tools/Pasos.h"

// "10O": rank and suit initial, upper case face up, lower case face down.
inline std::string TextoCarta(std::uint8_t palo, std::uint8_t numero, bool bocaArriba) {
  return NotacionCarta(palo, numero, bocaArriba);
}
inline std::string TextoCarta(const TCarta& c) { return NotacionCarta(c); }

// A pile bottom to top, separated by spaces.
inline std::string CartasDe(const TPila& p) {
  std::string s;
  const TCarta* c = p.Tope;
  while (c && c->Debajo) c = c->Debajo;
  for (; c; c = c->Encima) s += (s.empty() ? "" : " ") + TextoCarta(*c);
  return s;
}

// Every pile's links and counts, and each of the 40 cards on exactly one pile or in the
// stock.
inline void ExpectInvariantes(const TMesa& m) {
  std::size_t vistas = 0;
  for (const auto& p : m.Pilas) {
    unsigned n = 0;
    if (p->Tope) {
      EXPECT_EQ(p->Tope->Encima, nullptr);
    }
    for (const TCarta* c = p->Tope; c; c = c->Debajo) {
      ++n;
      EXPECT_EQ(c->Pila, p.get());
      if (c->Debajo) {
        EXPECT_EQ(c->Debajo->Encima, c);
      }
      if (n > 40) break;
    }
    EXPECT_EQ(n, p->Cantidad) << "pila " << p->Numero;
    vistas += n;
  }
  if (m.Mazo) {
    unsigned n = 0;
    for (const TCarta* c = m.Mazo->TopeMazo; c; c = c->Debajo) {
      ++n;
      EXPECT_EQ(c->Pila, nullptr);
      EXPECT_FALSE(c->BocaArriba);
      if (c->Debajo) {
        EXPECT_EQ(c->Debajo->Encima, c);
      }
      if (n > 40) break;
    }
    EXPECT_EQ(n, m.Mazo->CartasMazo);
    vistas += n;
  }
  EXPECT_EQ(vistas, m.Cartas.size());
}
