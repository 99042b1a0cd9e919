// The registry: keys from display names, lookups by exact key, the table of the sixteen
// games, and every setup replaying its deal from the game number.
#include <gtest/gtest.h>

#include "games/Juegos.h"
#include "games/Registro.h"
#include "tests/Ayuda.h"

namespace {

struct TFila {
  const char* Nombre;
  const char* Clave;
  const char* Modulo;
  std::int16_t Contexto;
  TPrepararJuego Preparar;
};

// The games in the main window's order.
const TFila kJuegos[] = {
    {"Cuatro Reyes", "CuatroReyes", "CuatroReyes", 260, PrepararCuatroReyes},
    {"Las Columnas Del Palacio", "LasColumnasDelPalacio", "LasColumnasDelPalacio", 80,
     PrepararLasColumnasDelPalacio},
    {"Los Cuatro Patriarcas", "LosCuatroPatriarcas", "LosCuatroPatriarcas", 130,
     PrepararLosCuatroPatriarcas},
    {"Orden Real", "OrdenReal", "OrdenReal", 90, PrepararOrdenReal},
    {"Ordenamiento Desordenado", "OrdenamientoDesordenado", "OrdenamientoDesordenado", 110,
     PrepararOrdenamientoDesordenado},
    {"Pingüino Patagónico", "PingüinoPatagónico", "PinguinoPatagonico", 240,
     PrepararPinguinoPatagonico},
    {"Rompecabezas", "Rompecabezas", "Rompecabezas", 170, PrepararRompecabezas},
    {"Solitario Anárquico", "SolitarioAnárquico", "SolitarioAnarquico", 120,
     PrepararSolitarioAnarquico},
    {"Solitario Anárquico II", "SolitarioAnárquicoII", "SolitarioAnarquicoII", 200,
     PrepararSolitarioAnarquicoII},
    {"Solitario De 10 A 4", "SolitarioDe10A4", "SolitarioDe10A4", 160, PrepararSolitarioDe10A4},
    {"Solitario De Las Cinco Casillas", "SolitarioDeLasCincoCasillas", "SolitarioDeLas5Casillas",
     270, PrepararSolitarioDeLas5Casillas},
    {"Solitario De Los Casi 14 Montones", "SolitarioDeLosCasi14Montones",
     "SolitarioDeLosCasi14Montones", 40, PrepararSolitarioDeLosCasi14Montones},
    {"Solitario De Los Siete Montones", "SolitarioDeLosSieteMontones",
     "SolitarioDeLosSieteMontones", 50, PrepararSolitarioDeLosSieteMontones},
    {"Squadron Español", "SquadronEspañol", "SquadronEspannol", 70, PrepararSquadronEspannol},
    {"Strup", "Strup", "Strup", 100, PrepararStrup},
    {"Yukon Español", "YukonEspañol", "YukonEspannol", 60, PrepararYukonEspannol},
};

// Everything a player sees of a dealt table: piles with their places and cards, the
// stock's cards and place, the panels and the counters.
std::string Mesa(const TMesa& m) {
  std::string s = m.NombreJuego + " #" + std::to_string(m.NumeroJuego) + "\n";
  for (const auto& p : m.Pilas)
    s += p->Grupo->NombreGrupo + " " + std::to_string(p->Left) + "," + std::to_string(p->Top) +
         ": " + CartasDe(*p) + "\n";
  if (m.Mazo) {
    s += "mazo " + std::to_string(m.Mazo->Left) + "," + std::to_string(m.Mazo->Top) + ":";
    for (const TCarta* c = m.Mazo->TopeMazo; c; c = c->Debajo) s += " " + TextoCarta(*c);
    s += "\n";
  }
  for (const auto& panel : m.Paneles) s += panel + "|";
  return s + " " + std::to_string(m.Movimientos);
}

}  // namespace

TEST(Registro, QuitarEspaciosSoloQuitaElEspacio) {
  EXPECT_EQ(QuitarEspacios("Solitario De Los Casi 14 Montones"), "SolitarioDeLosCasi14Montones");
  EXPECT_EQ(QuitarEspacios("Solitario De 10 A 4"), "SolitarioDe10A4");
  EXPECT_EQ(QuitarEspacios("Pingüino Patagónico"), "PingüinoPatagónico");
  EXPECT_EQ(QuitarEspacios("Rompecabezas"), "Rompecabezas");
  EXPECT_EQ(QuitarEspacios(""), "");
  EXPECT_EQ(QuitarEspacios("  Orden   Real "), "OrdenReal");
  EXPECT_EQ(QuitarEspacios("a\tb"), "a\tb");
  // Removing the spaces twice changes nothing.
  EXPECT_EQ(QuitarEspacios(QuitarEspacios("Yukon Español")), "YukonEspañol");
}

TEST(Registro, LaTablaDeLosDieciseisJuegos) {
  const auto& juegos = Juegos();
  ASSERT_EQ(juegos.size(), std::size(kJuegos));
  for (std::size_t i = 0; i < juegos.size(); ++i) {
    const TFila& f = kJuegos[i];
    EXPECT_STREQ(juegos[i].Nombre, f.Nombre);
    EXPECT_STREQ(juegos[i].Clave, f.Clave);
    EXPECT_STREQ(juegos[i].Modulo, f.Modulo);
    EXPECT_EQ(juegos[i].ContextoAyuda, f.Contexto) << f.Nombre;
    EXPECT_EQ(juegos[i].Preparar, f.Preparar) << f.Nombre;
    // The main window turns the display name into the key, then looks both up.
    const std::string clave = QuitarEspacios(f.Nombre);
    EXPECT_EQ(clave, f.Clave);
    EXPECT_EQ(BuscarJuego(clave), f.Preparar) << f.Nombre;
    EXPECT_EQ(ContextoDeAyuda(clave), f.Contexto) << f.Nombre;
  }
}

TEST(Registro, LaBusquedaEsPorClaveExacta) {
  // The key follows the display name, not the module.
  EXPECT_EQ(BuscarJuego("SolitarioDeLasCincoCasillas"), PrepararSolitarioDeLas5Casillas);
  EXPECT_EQ(ContextoDeAyuda("SolitarioDeLasCincoCasillas"), 270);
  EXPECT_EQ(BuscarJuego("SolitarioDeLas5Casillas"), nullptr);
  EXPECT_EQ(BuscarJuego("PinguinoPatagonico"), nullptr);
  // Case, a display name with its spaces, a prefix: nothing matches.
  EXPECT_EQ(BuscarJuego("cuatroreyes"), nullptr);
  EXPECT_EQ(ContextoDeAyuda("CUATROREYES"), 0);
  EXPECT_EQ(BuscarJuego("Cuatro Reyes"), nullptr);
  EXPECT_EQ(BuscarJuego("Cuatro"), nullptr);
  EXPECT_EQ(BuscarJuego(""), nullptr);
  EXPECT_EQ(ContextoDeAyuda("Strup "), 0);
}

TEST(Registro, CadaJuegoSePreparaConSuNombreYSuAyuda) {
  for (const TFila& f : kJuegos) {
    TMesa m;
    f.Preparar(m, 7);
    EXPECT_EQ(m.NombreJuego, f.Nombre);
    EXPECT_EQ(m.VentanaPropia.Titulo, std::string("ZARP - ") + f.Nombre);
    EXPECT_EQ(m.ContextoAyuda, f.Contexto) << f.Nombre;
    EXPECT_EQ(m.ProcPreparar, f.Preparar) << f.Nombre;
    EXPECT_EQ(m.Movimientos, 0) << f.Nombre;
    ExpectInvariantes(m);
    // A restart through ProcPreparar keeps the game and its help context.
    m.LiberarMesa();
    m.ProcPreparar(m, 0);
    EXPECT_EQ(m.NombreJuego, f.Nombre);
    EXPECT_EQ(m.ContextoAyuda, f.Contexto) << f.Nombre;
  }
}

TEST(Registro, ElMismoNumeroDaLaMismaMesa) {
  for (const TFila& f : kJuegos) {
    for (std::int32_t numero : {1, -5, 2147483647}) {
      TMesa a;
      TMesa b;
      f.Preparar(a, numero);
      f.Preparar(b, numero);
      EXPECT_EQ(Mesa(a), Mesa(b)) << f.Nombre << " " << numero;
      // The game window's restart: release the table, then the same setup again.
      b.LiberarMesa();
      b.ProcPreparar(b, numero);
      EXPECT_EQ(Mesa(a), Mesa(b)) << f.Nombre << " " << numero;
    }
    TMesa uno;
    TMesa dos;
    f.Preparar(uno, 1);
    f.Preparar(dos, 2);
    EXPECT_NE(Mesa(uno), Mesa(dos)) << f.Nombre;
  }
}

TEST(Registro, CeroSacaUnNumeroQueRepiteElReparto) {
  for (const TFila& f : kJuegos) {
    TMesa m;
    m.Generador.Reloj = [] { return 45296789u; };  // 12:34:56.789 UTC
    f.Preparar(m, 0);
    ASSERT_EQ(m.NumeroJuego, 45296789) << f.Nombre;
    EXPECT_EQ(m.Paneles[PanelJuego], "Juego #45296789 ");
    TMesa r;
    f.Preparar(r, m.NumeroJuego);
    EXPECT_EQ(Mesa(m), Mesa(r)) << f.Nombre;
  }
  // From the real clock: a time of day in milliseconds.
  TMesa m;
  PrepararCuatroReyes(m, 0);
  EXPECT_GE(m.NumeroJuego, 0);
  EXPECT_LT(m.NumeroJuego, 86400000);
  TMesa r;
  PrepararCuatroReyes(r, m.NumeroJuego);
  EXPECT_EQ(Mesa(m), Mesa(r));
}
