#pragma once
// Positions that can no longer be won because some cards can never leave their piles: a
// card covering a lower card of its own suit cannot go home before that card, and once
// every card it could be laid on is home or buried under such cards, and no empty pile
// takes it, it stays where it is for good, and so does the card under it. The same holds
// of a face-up card on another: it stays on that card, which stays covered, and goes home
// in no line while it does; once every card that one could be laid on is home or covered
// for good, it stays too, and so do the cards under it.
#include <array>
#include <cstdint>

#include "engine/Mesa.h"
#include "solver/Reglas.h"
#include "solver/Seguras.h"

struct TBloqueos {
  // False where the reading does not hold: hooks, foundations that give cards back or
  // build freely.
  bool Posible = false;
  // Per card (IdCarta): the cards that must be home before it can go home.
  std::array<std::uint64_t, 40> Antes{};
  // Per card: the cards any pile off the foundations could lay it on.
  std::array<std::uint64_t, 40> Sobre{};
  // Per card: the cards any pile off the foundations could lay on it (Sobre turned round).
  std::array<std::uint64_t, 40> Lleva{};
  // The cards some empty pile off the foundations takes.
  std::uint64_t Vacias = 0;
  // The cards that need some card home first (Antes not empty).
  std::uint64_t ConAntes = 0;
};

TBloqueos CalcularBloqueos(const TMesa& m, const TReglasComoDatos& reglas);
// The same, where the table's safe moves home were read already (their reading rests on
// the same foundations): `seguras` as CalcularSeguras(m, reglas) gave them.
TBloqueos CalcularBloqueos(const TMesa& m, const TReglasComoDatos& reglas,
                           const TSeguras& seguras);

// A pile whose cards leave only from its top, with the cards on them: its cards from the
// bottom (IdCarta in the low six bits) and how many of them lie face down at its bottom.
// Left without defaults, so that an array of them for every pile costs nothing to declare.
struct TMontonBloqueable {
  const std::uint8_t* Cartas;
  std::uint8_t Cuenta;
  std::uint8_t Cubiertas;
};

// Whether some card of those piles can never leave its pile; `enCasa`: the cards home.
// `enMazo`: the cards of a stock and its waste that reach those piles only laid on a card
// there or on an empty one (a stock that deals to its waste alone); 0 where that is not so.
// Such a card whose every place is home, covered for good or another of them never comes
// out, and is no place for a card of the piles either. `hayVacia`: whether some pile that
// could take a card when empty is empty now or left out of `montones`; `tomanVacias`, by
// their index, the piles of `montones` that could. Where none is empty and empty piles take
// only some cards, those cards are read as any other while each of those piles keeps a card
// that stays.
bool HayBloqueo(const TBloqueos& b, const TMontonBloqueable* montones, std::size_t cuantos,
                std::uint64_t enCasa, std::uint64_t enMazo = 0, bool hayVacia = true,
                std::uint64_t tomanVacias = ~std::uint64_t{0});

// Whether some top card X waits for a card Y of another pile whose one way out is onto X,
// after which neither ever leaves: X lies face down or out of order on the card under it
// (so nothing carries it off), needs home first a card that Y covers, and every card it
// could be laid on is home, under X or in the stock shut in behind X (Encerradas); Y
// lies so too, cannot go home before a card under X, and every card it could be laid on
// but X is closed in the same way; no empty pile takes either. Until Y leaves, X stays:
// it cannot go home, nor anywhere else, and nothing carries it; so the cards under X stay
// covered, and the stock's cards shut in behind them stay in. Y cannot go home first, so
// it leaves, if ever, onto X. Then X is covered by Y, and Y has no way off: its places
// but X are closed while X stays, and home wants a card under X. X, covered, goes home
// never, and its own moves, carrying Y, are closed too. So no line wins.
// `tramoLibre`, by their index: the piles whose runs may move in any order; `tapadas`: the
// cards of `montones` with a card on them (all of them where not known).
bool HayEsperaSinSalida(const TBloqueos& b, const TMontonBloqueable* montones,
                        std::size_t cuantos, std::uint64_t enCasa, std::uint64_t enMazo,
                        std::uint64_t tramoLibre, std::uint64_t tapadas = ~std::uint64_t{0});

// Whether a position is sure to have no card stuck for good, where the position before it
// had none (HayBloqueo false) and the one move between them took the cards of `llegada`
// from `desde` up (desde > 0) off another of the piles read, or took the one card `desde`,
// the top, from any pile off the foundations (a stock's waste among them), and laid them
// on the card below them; the rest of the table as `HayBloqueo` is given it.
// `tapadas`: the cards of `montones` with a card on them. False where it cannot tell.
//
// Every difference between the two readings of a set without the lowest card laid, R, is
// on R's part: the cards under R in its old pile and the card it lies on now enter a shadow
// only as R's (a card turned face up on the old pile is of the first kind either way, with
// the same cards under it), the links to R are R's, and a stock card laid out is no longer
// shut in; the pile laid on was not empty, and a pile left empty only takes cards out of
// the set. So a set without R that would stay now would have stayed before: R is in the
// set of the new position if any card is. Then so are the cards above it up to one that
// needs a card home first lying under another (a set's shadow lies under its cards), each
// with every place it could be laid on home, under a card or in the stock.
bool SinBloqueoTrasLlegar(const TBloqueos& b, const TMontonBloqueable& llegada, std::size_t desde,
                          std::uint64_t tapadas, std::uint64_t enCasa, std::uint64_t enMazo);

// The same where the one move between them sent one card, `casa`, home from a pile off the
// foundations (a stock's waste among them), and `montones` are the piles read now.
//
// Every difference between the two readings is that the card is home now: a place closed
// for the cards that could be laid on it (it lay on top, or in the stock, so it was in no
// shadow). A set that would stay now without some of those cards, nor a stock card shut in
// that could be laid on it, would have stayed before, the stock's shut-in cards being read
// the same from the same places. So one of those cards is in the set or shut in: in the
// stock, every place it could be laid on home, under a card or in the stock; on a pile, as
// SinBloqueoTrasLlegar reads the card laid.
bool SinBloqueoTrasSubir(const TBloqueos& b, const TMontonBloqueable* montones, std::size_t cuantos,
                         std::size_t casa, std::uint64_t tapadas, std::uint64_t enCasa,
                         std::uint64_t enMazo);
