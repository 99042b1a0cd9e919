// Cards that never leave where they lie, on small tables of piles of three: a position the
// reading calls lost has no win for a plain exhaustive search of every reachable position.
#include "solver/Encalladas.h"

#include <gtest/gtest.h>

#include <array>
#include <random>
#include <vector>

#include "engine/Mesa.h"
#include "solver/Fondos.h"
#include "tests/MesasConstruidas.h"
#include "tools/Pasos.h"

namespace {



// The reading's rules, and that the table is one where a pile's bottom card leaves only
// for home, which the reading rests on.
TAltas Leer(TMesa& m) {
  const TReglasComoDatos reglas = LeerReglas(m);
  const TGanchosComoDatos ganchos = LeerGanchos(m, reglas);
  const TGanchosComoDatos* g = ganchos.Apila ? &ganchos : nullptr;
  EXPECT_TRUE(FondosSoloACasa(m, FondosQuietos(m, reglas, g)));
  return LeerAltas(m, reglas, PrepararSinSalida(m, reglas, g));
}

// The set read the plain way, from what it is: every card looked at again, from the piles
// themselves, until a whole pass drops none.
std::uint64_t EncalladasALaLetra(const TAltas& a, const std::vector<std::vector<std::uint8_t>>& pilas,
                                 std::uint64_t enCasa) {
  constexpr std::size_t kNinguna = 99;
  std::array<std::size_t, 40> pila{}, altura{};
  pila.fill(kNinguna);
  for (std::size_t i = 0; i < pilas.size(); ++i)
    for (std::size_t j = 0; j < pilas[i].size(); ++j) {
      pila[pilas[i][j] & 0x3F] = i;
      altura[pilas[i][j] & 0x3F] = j;
    }
  const auto en = [](std::uint64_t s, std::size_t id) { return (s >> id & 1) != 0; };
  const auto encima = [&](std::size_t id) -> std::size_t {  // the card on it, if any
    const auto& p = pilas[pila[id]];
    return altura[id] + 1 < p.size() ? p[altura[id] + 1] & 0x3F : kNinguna;
  };
  std::uint64_t e = ((std::uint64_t{1} << 40) - 1) & ~enCasa;
  const auto cubierta = [&](std::size_t id) {
    const std::size_t c = encima(id);
    return c != kNinguna && en(e, c);
  };
  const auto abierto = [&](std::size_t t) {
    if (pila[t] == kNinguna) return false;
    if (en(e, t)) return !cubierta(t) && altura[t] < 2;
    if (altura[t] < 2) return true;
    for (std::size_t f = 0; f < 40; ++f)
      if (en(a.Toman[t], f) && pila[f] != kNinguna && altura[f] == 0 && !cubierta(f)) return true;
    return false;
  };
  for (bool cambio = true; cambio;) {
    cambio = false;
    for (std::size_t c = 0; c < 40; ++c) {
      if (!en(e, c) || cubierta(c)) continue;
      bool suelta = true;
      for (std::size_t b = c - c % 10; b < c; ++b) suelta = suelta && !en(e, b);
      if (!suelta && altura[c] > 0) {
        for (std::size_t t = 0; t < 40 && !suelta; ++t) {
          if (!en(a.Toman[c], t) || en(enCasa, t)) continue;
          // A Rey is laid only on a Rey alone or over a card of another rank.
          if (en(a.Pareja, c) && (altura[t] > 1 || (altura[t] == 1 && en(a.Pareja, pilas[pila[t]][0] & 0x3F))))
            continue;
          suelta = abierto(t);
        }
      }
      if (suelta) {
        e &= ~(std::uint64_t{1} << c);
        cambio = true;
      }
    }
  }
  return e;
}

std::uint64_t EncalladasEn(const TAltas& a, const TMesa& m) {
  std::uint64_t enCasa = 0;
  const auto pilas = PilasYCasa(m, enCasa);
  std::vector<TPilaVista> v;
  for (const auto& p : pilas) v.push_back({p.data(), static_cast<std::uint8_t>(p.size()), 3});
  const std::uint64_t e = Encalladas(LeerEncalladas(a), v.data(), v.size(), enCasa);
  EXPECT_EQ(e, EncalladasALaLetra(a, pilas, enCasa));
  return e;
}

std::uint8_t Id(std::uint8_t numero, std::uint8_t palo) {
  return static_cast<std::uint8_t>(palo * 10 + numero - 1);
}

// Every suit home but Copas from its Cuatro, the Rey de Bastos and the Rey de Oros and de
// Espadas; the Rey de Copas on the Rey de Bastos over the Cuatro de Copas. In the first
// table the Reyes de Oros and de Espadas each top a pile of three, so neither ever takes
// the Rey de Copas, and the Cuatro never comes free; in the second the Rey de Espadas lies
// alone.
void ReySinAsiento(TMesa& m, bool asiento) {
  m.IniciarJuego(1, "Rey Sin Asiento");
  m.CrearMazo(m.AnchoPantalla + 1, m.AltoPantalla + 1, false, 0);
  TGrupo* tab = m.CrearGrupo("Tab", 0, 15, 3, false, false, false, false);
  m.AgregarReglaApilado(tab, rpCualquiera, -1);
  m.AgregarOrigen(tab, tab);
  const std::array<TPila*, 4> casa = CasasPorPalo(m, tab);
  for (std::uint8_t n = 1; n <= 9; ++n) {
    m.SacarCarta(n, Oros, casa[Oros]);
    m.SacarCarta(n, Espadas, casa[Espadas]);
    m.SacarCarta(n, Bastos, casa[Bastos]);
  }
  for (std::uint8_t n = 1; n <= 3; ++n) m.SacarCarta(n, Copas, casa[Copas]);
  const auto pila = [&](std::initializer_list<std::pair<std::uint8_t, std::uint8_t>> cartas) {
    TPila* p = m.PonerPila(tab, static_cast<std::int16_t>(70 * m.Pilas.size()), 150);
    for (const auto& [n, palo] : cartas) m.SacarCarta(n, palo, p);
  };
  pila({{4, Copas}, {10, Bastos}, {10, Copas}});
  pila({{9, Copas}, {8, Copas}, {10, Oros}});
  if (asiento) {
    pila({{7, Copas}, {6, Copas}});
    pila({{10, Espadas}});
  } else {
    pila({{7, Copas}, {6, Copas}, {10, Espadas}});
  }
  pila({{5, Copas}});
  m.PuedeApilar = ReyEnReySolo;
  GanarConLasFundacionesLlenas(m);
}
void SinAsiento(TMesa& m, std::int32_t) { ReySinAsiento(m, false); }
void ConAsiento(TMesa& m, std::int32_t) { ReySinAsiento(m, true); }

// Positions along random lines of every table: where the reading holds, no line wins.
struct TCuenta {
  int Leidas = 0;
  int Halladas = 0;
  int Nuevas = 0;  // found where the position before was not
};

TCuenta Recorrer(TPrepararJuego preparar, std::int32_t cuantas, std::uint32_t semilla) {
  TCuenta c;
  std::mt19937 azar(semilla);
  for (std::int32_t numero = 1; numero <= cuantas; ++numero) {
    TMesa m;
    preparar(m, numero);
    const TAltas a = Leer(m);
    EXPECT_TRUE(a.Posible);
    std::vector<TPaso> linea;
    bool antes = false;
    for (int paso = 0; paso < 12 && !m.VentanaPropia.Ganado; ++paso) {
      const bool ahora = EncalladasEn(a, m) != 0;
      ++c.Leidas;
      if (ahora) {
        ++c.Halladas;
        c.Nuevas += !antes;
        EXPECT_FALSE(GanableCartaACarta(preparar, numero, linea))
            << "número " << numero << " tras " << linea.size() << " pasos";
      }
      antes = ahora;
      const std::vector<TPaso> pasos = ArrastresDeUnaCarta(m);
      if (pasos.empty()) break;
      linea.push_back(pasos[azar() % pasos.size()]);
      EXPECT_TRUE(AplicarPaso(m, linea.back()));
    }
  }
  return c;
}

// Along random lines of a table, at every position the reading finds free, every pile's
// top card sent home (whether or not the rules take it there): where the skip says the
// reading still finds nothing, it must. Counts the children skipped and those read stuck.
struct TCuentaSubidas {
  int Saltadas = 0;
  int Halladas = 0;  // read, not skipped, and stuck
};

void SubirCadaTope(TPrepararJuego preparar, std::int32_t cuantas, std::uint32_t semilla,
                   TCuentaSubidas& c) {
  std::mt19937 azar(semilla);
  for (std::int32_t numero = 1; numero <= cuantas; ++numero) {
    TMesa m;
    preparar(m, numero);
    const TReglasEncalladas r = LeerEncalladas(Leer(m));
    ASSERT_TRUE(r.Posible);
    for (int paso = 0; paso < 12 && !m.VentanaPropia.Ganado; ++paso) {
      std::uint64_t enCasa = 0;
      const auto pilas = PilasYCasa(m, enCasa);
      std::vector<TPilaVista> v;
      for (const auto& p : pilas) v.push_back({p.data(), static_cast<std::uint8_t>(p.size()), 3});
      if (Encalladas(r, v.data(), v.size(), enCasa) == 0) {
        for (std::size_t i = 0; i < pilas.size(); ++i) {
          std::vector<std::vector<std::uint8_t>> hijas = pilas;
          const std::size_t x = hijas[i].back() & 0x3F;
          hijas[i].pop_back();
          const std::uint64_t enCasaHija = enCasa | std::uint64_t{1} << x;
          std::vector<TPilaVista> w;
          for (const auto& p : hijas)
            if (!p.empty()) w.push_back({p.data(), static_cast<std::uint8_t>(p.size()), 3});
          const std::uint64_t e = Encalladas(r, w.data(), w.size(), enCasaHija);
          if (SinEncalladasTrasSubir(r, x, hijas[i].size(), w.data(), w.size(), enCasaHija)) {
            ++c.Saltadas;
            EXPECT_EQ(e, 0u) << "número " << numero << ", carta " << x << " a casa";
          } else {
            c.Halladas += e != 0;
          }
        }
      }
      const std::vector<TPaso> pasos = ArrastresDeUnaCarta(m);
      if (pasos.empty()) break;
      ASSERT_TRUE(AplicarPaso(m, pasos[azar() % pasos.size()]));
    }
  }
}

}  // namespace

// The Rey de Copas can only ever leave for a Rey alone or over a card of another rank:
// with both others topping full piles it never leaves, and neither does the Cuatro under
// it. With a lone Rey de Espadas it goes there, and the table is won.
TEST(Encalladas, UnReySinAsientoNoSaleNunca) {
  TMesa sin;
  SinAsiento(sin, 1);
  const TAltas a = Leer(sin);
  ASSERT_TRUE(a.Posible);
  const std::uint64_t e = EncalladasEn(a, sin);
  EXPECT_TRUE(e >> Id(10, Copas) & 1);
  EXPECT_TRUE(e >> Id(10, Bastos) & 1);
  EXPECT_TRUE(e >> Id(4, Copas) & 1);
  EXPECT_FALSE(e >> Id(10, Oros) & 1);  // it goes home
  EXPECT_FALSE(GanableCartaACarta(SinAsiento, 1));

  TMesa con;
  ConAsiento(con, 1);
  EXPECT_EQ(EncalladasEn(Leer(con), con), 0u);
  EXPECT_TRUE(GanableCartaACarta(ConAsiento, 1));
}

// On tables built at random, along random lines, the reading never calls a won position
// lost, and it finds lost ones, some only after a move made them so; at every position
// read it finds the same set as the plain reading above.
TEST(Encalladas, NuncaLlamaPerdidaUnaPosicionGanable) {
  int nuevas = 0;
  for (const auto& [preparar, semilla] :
       {std::pair{&PrepararPilasDeTres, 11u}, std::pair{&PrepararApretadas, 12u}, std::pair{&PrepararAltasConReyes, 13u}}) {
    const TCuenta c = Recorrer(preparar, 120, semilla);
    EXPECT_GE(c.Halladas, 1);
    EXPECT_LT(c.Halladas, c.Leidas);
    nuevas += c.Nuevas;
  }
  EXPECT_GE(nuevas, 3);
}

// A card sent home from a position read free leaves it free where every card it could take
// is home, or where it topped a pile of three and no bottom card could take it; elsewhere
// the same move can leave a card stuck, and the reading must be made.
TEST(Encalladas, SubirUnaCartaSinSitioNoEncallaNada) {
  TCuentaSubidas c;
  for (const auto& [preparar, semilla] :
       {std::pair{&PrepararPilasDeTres, 21u}, std::pair{&PrepararApretadas, 22u}, std::pair{&PrepararAltasConReyes, 23u}})
    SubirCadaTope(preparar, 120, semilla, c);
  EXPECT_GE(c.Saltadas, 100);
  EXPECT_GE(c.Halladas, 1);
}
