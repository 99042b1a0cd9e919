// The status panels keep numbers and make their texts when read: every text must be the
// one the form or the write would have shown, at the moment it is read.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/Mesa.h"
#include "engine/Paneles.h"
#include "games/Juegos.h"

TEST(Paneles, TextosDelFormularioHastaLaPrimeraEscritura) {
  const TPaneles p;
  const std::vector<std::string> textos(p.begin(), p.end());
  EXPECT_EQ(textos, (std::vector<std::string>{"Mazo: ", "Descarte:  0", "Reutilizaciones",
                                              "Puntos (0/0): ---", "Juego #"}));
}

TEST(Paneles, CadaEscrituraDaSuTextoYLaUltimaGana) {
  TPaneles p;
  p.PonerMazo(0);
  p.PonerDescarte(13);
  p.PonerReutilizaciones(2);
  p.PonerPuntos(2, 3);
  p.PonerJuego(-5);
  EXPECT_EQ(p[PanelMazo], "Mazo: 0");
  EXPECT_EQ(p[PanelDescarte], "Descarte: 13");
  EXPECT_EQ(p[PanelReutilizaciones], "Reutilizaciones: 2");
  EXPECT_EQ(p[PanelPuntos], "Puntos (2/3): 6");
  EXPECT_EQ(p[PanelJuego], "Juego #-5 ");
  // A redeal count written as it is, below zero too; "ilimitadas" only when asked.
  p.PonerReutilizaciones(-2);
  EXPECT_EQ(p[PanelReutilizaciones], "Reutilizaciones: -2");
  p.PonerReutilizacionesIlimitadas();
  EXPECT_EQ(p[PanelReutilizaciones], "Reutilizaciones: ilimitadas");
  p.PonerReutilizaciones(0);
  EXPECT_EQ(p[PanelReutilizaciones], "Reutilizaciones: 0");
  p.PuntosSinContar();
  EXPECT_EQ(p[PanelPuntos], "Puntos (0/0): ---");
  // The points are summed past 16 bits: 65535 + 65535 + 32767.
  p.PonerPuntos(65535, 65535);
  EXPECT_EQ(p[PanelPuntos], "Puntos (65535/65535): 163837");
  EXPECT_EQ(p[5], "");
}

// A panel shows what was last written to it, not the counters at the moment it is read:
// a counter changed without a write leaves the text as it was.
TEST(Paneles, LeidosDespuesMuestranLoEscritoNoElEstadoActual) {
  TMesa m;
  PrepararSolitarioDeLosSieteMontones(m, 7);
  const std::string mazo = m.Paneles[PanelMazo];
  const std::string puntos = m.Paneles[PanelPuntos];
  m.Movimientos = 9;
  EXPECT_EQ(m.Paneles[PanelPuntos], puntos);
  m.ActualizarPuntos();
  EXPECT_EQ(m.Paneles[PanelPuntos], "Puntos (0/9): 13");
  m.ClickMazo();
  EXPECT_NE(m.Paneles[PanelMazo], mazo);
  EXPECT_EQ(m.Paneles[PanelMazo], "Mazo: " + std::to_string(m.Mazo->CartasMazo));
}
