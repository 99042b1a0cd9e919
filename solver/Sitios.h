#pragma once
// Positions lost for want of places: a card X with cards on it, on a card that never
// carries it off, where neither X nor any of the cards on it can go home while the cards
// under X stay covered, and no empty pile takes any of them (those that can are left out).
// X leaves its place only laid on a card, and by then every card that lay on it has
// left too, each lying on a card of its own; so they need as many cards to lie on as they
// are, among the cards they could be laid on that are neither home nor under X. Two
// Cuatros of one pair, the lower over its Tres and the upper's Tres under both, with one
// Cinco of the other pair free, are such a pile: the upper takes the Cinco, the lower has
// nowhere to go, and neither ever goes home.
#include <cstddef>
#include <cstdint>

#include "solver/Bloqueos.h"

// Whether some pile of `montones` holds such cards; `enCasa`: the cards home. `tramoLibre`,
// by their index, the piles whose cards leave as runs in any order: a card of the set may
// be carried there on any card under it, so such a pile is never short and is not read
// (where a run must be in order, a card carried on another lies on a card it could be
// laid on). `leer`, by their index, the piles read (the others are taken to hold none).
// `cartasDe`, where given, each pile's cards as a set by its index (else built here).
bool FaltanSitios(const TBloqueos& b, const TMontonBloqueable* montones, std::size_t cuantos,
                  std::uint64_t enCasa, std::uint64_t tramoLibre = 0,
                  std::uint64_t leer = ~std::uint64_t{0},
                  const std::uint64_t* cartasDe = nullptr);

// A pile's reading depends on its own cards, how many lie face down, how its runs leave
// and the cards home, and on no other pile. So where the position before held no pile
// short and one move lies between them, only the piles the move touched, or every pile
// where it sent a card home, may read otherwise; and each of those reads the same wherever
// every X keeps its set R and no place of R is lost (below). These give, by their index in
// the new position's `montones`, the piles that may be short now; the rest are not.
// `cartasDe` holds each pile's cards as a set, by the same index: the caller has them from
// its own walk over the cards.
//
// The move took the cards of `llegada` from `desde` up (M) off pile `salida` of `montones`
// (SIZE_MAX where that is not read now: a waste, a stock, a pile left empty) and laid them
// on the card below them, or on an empty pile (desde 0). Call A what the cards of M that no
// empty pile takes need home first. A card is in some R, or is an X, only where it needs a
// card of its own pile home first (S and R lie on it). On `llegada`, where A holds no card
// of the pile: no card of M is in any R nor an X, so each X below M keeps S and R (the
// largest set, holding no card of M, is the same) and R's places; the cards home are the
// same. On `salida`, where A holds no card of it or of M: no card of M was in any R, so each
// X left keeps S, R and R's places; a card turned face up is an X either way, as the
// face-down top it was.
std::uint64_t SitiosPorLeerTrasLlegar(const TBloqueos& b, const TMontonBloqueable* montones,
                                      const std::uint64_t* cartasDe, std::size_t llegada,
                                      std::size_t desde, std::size_t salida);

// The same where the move sent one card, `casa`, home from the top of pile `salida` (the
// same SIZE_MAX) and `cuantos` piles are read now. R reads no card home, so on every pile
// only R's places may change: `casa` is one no more. It was one only where a card of R
// could be laid on it, so a pile holding no card that could be laid on `casa` and needs a
// card of that pile home first (no empty pile taking it) reads the same. `salida` also lost
// `casa` from its top, as M above.
std::uint64_t SitiosPorLeerTrasSubir(const TBloqueos& b, const std::uint64_t* cartasDe,
                                     std::size_t cuantos, std::size_t casa, std::size_t salida);
