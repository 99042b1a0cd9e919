#include "solver/Bloqueos.h"

TBloqueos CalcularBloqueos(const TMesa& m, const TReglasComoDatos& reglas) {
  return CalcularBloqueos(m, reglas, CalcularSeguras(m, reglas));
}

TBloqueos CalcularBloqueos(const TMesa& m, const TReglasComoDatos& reglas,
                           const TSeguras& seguras) {
  TBloqueos b;
  // No hooks, one foundation per suit building by suit and keeping its cards: a card
  // goes home only on the card its foundation's rules lay it on, and once home stays.
  if (!seguras.Posible) return b;
  for (std::size_t g = 0; g < m.Grupos.size(); ++g) {
    if (m.Grupos[g]->EsFundacion) continue;
    b.Vacias |= reglas.Vacia[g];
    for (std::size_t t = 0; t < 40; ++t) {
      b.Lleva[t] |= reglas.Apila[g][t];
      for (std::uint64_t x = reglas.Apila[g][t]; x; x &= x - 1)
        b.Sobre[static_cast<std::size_t>(__builtin_ctzll(x))] |= std::uint64_t{1} << t;
    }
  }
  // A card needs the cards before it home first; a card an empty foundation takes, or that
  // several could carry, none the reading relies on.
  const TOrdenEnCasa orden = LeerOrdenEnCasa(m, reglas);
  b.Antes = orden.Antes;
  for (std::size_t x = 0; x < 40; ++x)
    b.ConAntes |= static_cast<std::uint64_t>(b.Antes[x] != 0) << x;
  // The reading also rests on a game being won only with every card home: taken to hold
  // where the foundations, keeping their cards by suit, can take all forty.
  b.Posible = orden.TodasCaben;
  return b;
}

namespace {

// The cards of `dentro`, of a stock, that never come out of it while `sombra` stays
// covered: each with every place it could be laid on home, in `sombra` or another of them.
// The first of them to come out in any line would be laid on a card on top of a pile,
// neither home nor covered nor still in the stock. `dentro` holds all of them: the stock's
// cards no empty pile takes (all of them where no pile can empty), or such a set read for
// a larger shadow, which holds every card shut in behind a smaller one.
std::uint64_t Encerradas(const TBloqueos& b, std::uint64_t dentro, std::uint64_t libres) {
  for (;;) {
    std::uint64_t quedan = 0;
    for (std::uint64_t s = dentro; s; s &= s - 1) {
      const auto t = static_cast<std::size_t>(__builtin_ctzll(s));
      quedan |= static_cast<std::uint64_t>((b.Sobre[t] & libres & ~dentro) == 0) << t;
    }
    if (quedan == dentro) return dentro;
    dentro = quedan;
  }
}

}  // namespace

// The cards that may stay for good: at first every face-down card and each pile's lowest
// face-up one, which leave their pile only alone or under the cards on them, never on top
// of a card below, and every face-up card above those, which leaves the card it lies on
// only alone or under the cards on it (carried on that card, it stays on it). Then, over
// and over, a card leaves the set where some card it needs home first lies outside the
// set's shadow (the cards below one of the set that the first kind keeps covered, the card
// just below one of the second kind) and no card of the set of the second kind lies on it,
// or where it could be laid on a card that is not home and outside that shadow, nor a card
// of the stock shut in behind it (Encerradas), until none leaves. A card still in the set
// never leaves its place: take the first of them to leave in any line from here. Until
// then each of the others keeps its shadow covered, so the cards it needs home first are
// not home, or a card stays on it and it cannot go home; the cards it could lie on (with
// the cards on it) are home, covered or still in the stock; and no empty pile takes it.
//
// Each round tests every card against the shadow of the set it began with; the first
// shadow is gathered while the set is read, each later one from the cards the round before
// kept, so no round walks the set twice.
//
// A card an empty pile takes may still stay in the set where no pile is empty now and each
// pile that could take a card once empty holds a card of the set of the first kind (one of
// the second kind may be carried off with the card it lies on, and its pile empty): until
// the first of the set leaves, no such pile empties, so such a card can leave only for home
// or laid on a card, as any other, and such a card of the stock stays shut in. Once some of
// those piles holds none, those cards leave the set.
bool HayBloqueo(const TBloqueos& b, const TMontonBloqueable* montones, std::size_t cuantos,
                std::uint64_t enCasa, std::uint64_t enMazo, bool hayVacia,
                std::uint64_t tomanVacias) {
  // The set is numbered by the cards themselves (each card lies in one place). Per card of
  // the set: the shadow it casts, and the card of the set of the second kind lying on it;
  // what it needs home first and what it could be laid on are read from `b`.
  std::array<std::uint64_t, 40> debajo;
  std::array<std::uint64_t, 40> tapada;
  // Per pile, its cards of the set of the first kind.
  std::array<std::uint64_t, 64> dePila;
  // Where an empty pile takes any card, every card would enter the set at every position
  // without one, for a case seldom met (Las Columnas Del Palacio searched 8% fewer
  // positions a second): the reading keeps to tables whose empty piles take some cards.
  constexpr std::uint64_t kCuarenta = (std::uint64_t{1} << 40) - 1;
  const bool vaciasCuentan =
      !hayVacia && cuantos <= dePila.size() && (b.Vacias & kCuarenta) != kCuarenta;
  // A card that needs none home first may always leave; one an empty pile takes, unless
  // no pile can be empty (above).
  const std::uint64_t admitidas = vaciasCuentan ? b.ConAntes : b.ConAntes & ~b.Vacias;
  std::uint64_t en = 0;
  std::uint64_t lugares = 0;  // what the cards of the set could be laid on
  std::uint64_t sombra = 0;
  std::uint64_t sombraFija = 0;  // the shadow of the cards empty piles do not take
  for (std::size_t i = 0; i < cuantos; ++i) {
    const TMontonBloqueable& p = montones[i];
    const std::size_t hasta = p.Cubiertas < p.Cuenta ? p.Cubiertas + 1u : p.Cuenta;
    std::uint64_t bajo = 0;
    std::uint64_t fijas = 0;  // its cards of the set of the first kind
    std::size_t previa = 64;  // the card below, where it was taken into the set
    for (std::size_t j = 0; j < p.Cuenta; ++j) {
      const std::size_t x = p.Cartas[j] & 0x3F;
      const std::uint64_t bit = std::uint64_t{1} << x;
      if (admitidas & bit) {
        en |= bit;
        lugares |= b.Sobre[x];
        const std::uint64_t d = j < hasta ? bajo : std::uint64_t{1} << (p.Cartas[j - 1] & 0x3F);
        fijas |= j < hasta ? bit : 0;
        debajo[x] = d;
        sombra |= d;
        sombraFija |= b.Vacias & bit ? 0 : d;
        tapada[x] = 0;
        if (previa < 64 && j >= hasta) tapada[previa] = bit;
        previa = x;
      } else {
        previa = 64;
      }
      bajo |= bit;
    }
    if (vaciasCuentan) dePila[i] = fijas;
  }
  const std::uint64_t vaciables = en & b.Vacias;
  // The stock's cards matter only as places for cards of the set.
  if (!(lugares & ~enCasa & enMazo)) enMazo = 0;
  // Whether each pile that could take a card once empty keeps a card of `en` of the first
  // kind. It fails for every part of a set it fails for, so it is asked of each round's
  // set as soon as that is known, and the cards empty piles take leave with it at once.
  const auto retenidas = [&](std::uint64_t cartas) {
    for (std::size_t i = 0; i < cuantos; ++i)
      if (tomanVacias >> i & 1 && !(dePila[i] & cartas)) return false;
    return true;
  };
  bool sinVacias = vaciasCuentan && (vaciables || (enMazo & b.Vacias)) && retenidas(en);
  if (!sinVacias && vaciables) {
    en &= ~vaciables;
    sombra = sombraFija;
  }
  // The stock's shut-in cards, read again each round from those of the round before: the
  // shadow only shrinks from round to round, and the cards empty piles take only leave.
  std::uint64_t encerradas = enMazo;
  while (en) {
    std::uint64_t quedan = 0;
    std::uint64_t siguiente = 0;
    std::uint64_t siguienteVaciables = 0;
    // While the shadow stays covered, the stock's shut-in cards are no place either, nor
    // are the cards home.
    if (enMazo)
      encerradas = Encerradas(b, sinVacias ? encerradas : encerradas & ~b.Vacias,
                              ~enCasa & ~sombra);
    const std::uint64_t cerrado = sombra | encerradas | enCasa;
    for (std::uint64_t s = en; s; s &= s - 1) {
      const auto x = static_cast<std::size_t>(__builtin_ctzll(s));
      // Without branches: which cards leave follows no pattern a branch could learn.
      const std::uint64_t queda =
          static_cast<std::uint64_t>(((b.Antes[x] & sombra) | (tapada[x] & en)) != 0) &
          ((b.Sobre[x] & ~cerrado) == 0);
      quedan |= queda << x;
      const std::uint64_t sombraDe = debajo[x] & (0 - queda);
      const std::uint64_t esVaciable = 0 - (b.Vacias >> x & 1);
      siguiente |= sombraDe & ~esVaciable;
      siguienteVaciables |= sombraDe & esVaciable;
    }
    if (sinVacias && !retenidas(quedan)) {
      sinVacias = false;
      quedan &= ~vaciables;
      siguienteVaciables = 0;
    }
    if (quedan == en) break;
    en = quedan;
    sombra = siguiente | siguienteVaciables;
  }
  return en != 0;
}

bool SinBloqueoTrasLlegar(const TBloqueos& b, const TMontonBloqueable& llegada, std::size_t desde,
                          std::uint64_t tapadas, std::uint64_t enCasa, std::uint64_t enMazo) {
  const std::uint64_t cerrables = tapadas | enCasa | enMazo;
  for (std::size_t j = desde; j < llegada.Cuenta; ++j) {
    const std::size_t x = llegada.Cartas[j] & 0x3F;
    if (!(b.ConAntes >> x & 1) || (b.Sobre[x] & ~cerrables)) return true;
    if (b.Antes[x] & tapadas) return false;
  }
  return true;
}

bool SinBloqueoTrasSubir(const TBloqueos& b, const TMontonBloqueable* montones, std::size_t cuantos,
                         std::size_t casa, std::uint64_t tapadas, std::uint64_t enCasa,
                         std::uint64_t enMazo) {
  const std::uint64_t cerrables = tapadas | enCasa | enMazo;
  for (std::uint64_t s = b.Lleva[casa] & ~enCasa; s; s &= s - 1) {
    const auto y = static_cast<std::size_t>(__builtin_ctzll(s));
    if (enMazo >> y & 1) {
      if (!(b.Sobre[y] & ~cerrables)) return false;
      continue;
    }
    // A card of a pile not read is in no set.
    for (std::size_t i = 0; i < cuantos; ++i) {
      const TMontonBloqueable& p = montones[i];
      for (std::size_t j = 0; j < p.Cuenta; ++j)
        if ((p.Cartas[j] & 0x3F) == y && !SinBloqueoTrasLlegar(b, p, j, tapadas, enCasa, enMazo))
          return false;
    }
  }
  return true;
}

namespace {

// Whether the card at `k` of pile `p` stays on the card under it until it leaves itself:
// that one lies face down, or the card lies on it out of order where runs go in order.
bool NoLaLlevan(const TBloqueos& b, const TMontonBloqueable& p, std::size_t k, bool tramoLibre) {
  if (k == 0) return true;
  if (k - 1 < p.Cubiertas) return true;
  const auto carta = static_cast<std::size_t>(p.Cartas[k] & 0x3F);
  return !tramoLibre && !(b.Sobre[carta] >> (p.Cartas[k - 1] & 0x3F) & 1);
}

std::uint64_t Bajo(const TMontonBloqueable& p, std::size_t k) {
  std::uint64_t s = 0;
  for (std::size_t j = 0; j < k; ++j) s |= std::uint64_t{1} << (p.Cartas[j] & 0x3F);
  return s;
}

}  // namespace

bool HayEsperaSinSalida(const TBloqueos& b, const TMontonBloqueable* montones,
                        std::size_t cuantos, std::uint64_t enCasa, std::uint64_t enMazo,
                        std::uint64_t tramoLibre, std::uint64_t tapadas) {
  for (std::size_t i = 0; i < cuantos; ++i) {
    const TMontonBloqueable& p = montones[i];
    if (p.Cuenta == 0 || p.Cubiertas >= p.Cuenta) continue;
    const std::size_t k = p.Cuenta - 1u;
    const auto x = static_cast<std::size_t>(p.Cartas[k] & 0x3F);
    // Every place of X under a card or in the stock, first: most top cards have one free.
    if ((b.Sobre[x] & ~(enCasa | tapadas | enMazo)) || (b.Vacias >> x & 1) ||
        (b.Antes[x] & ~enCasa) == 0 || !NoLaLlevan(b, p, k, tramoLibre >> i & 1))
      continue;
    const std::uint64_t sombra = Bajo(p, k);
    if (b.Sobre[x] & ~(enCasa | sombra | enMazo)) continue;
    const std::uint64_t cerradas =
        enCasa | sombra | (enMazo ? Encerradas(b, enMazo & ~b.Vacias, ~(enCasa | sombra)) : 0);
    if (b.Sobre[x] & ~cerradas) continue;
    for (std::size_t j = 0; j < cuantos; ++j) {
      if (j == i) continue;
      const TMontonBloqueable& q = montones[j];
      for (std::size_t h = q.Cubiertas; h < q.Cuenta; ++h) {
        const auto y = static_cast<std::size_t>(q.Cartas[h] & 0x3F);
        if (h == 0 || (b.Vacias >> y & 1) || (b.Antes[y] & sombra) == 0 ||
            (b.Sobre[y] & ~cerradas & ~(std::uint64_t{1} << x)) != 0 ||
            (b.Antes[x] & Bajo(q, h)) == 0 || !NoLaLlevan(b, q, h, tramoLibre >> j & 1))
          continue;
        return true;
      }
    }
  }
  return false;
}
