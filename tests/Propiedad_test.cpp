// Random legal play on a rich table: after any sequence of moves, automatic moves, stock
// clicks and redeals the pile invariants hold, and undoing everything gives back the
// table as dealt, card for card.
#include <gtest/gtest.h>

#include <random>

#include "engine/Mesa.h"
#include "tests/Ayuda.h"
#include "tests/Busqueda.h"

namespace {

// Seven fanned columns with face-down cards, four foundations that wrap, a single cell,
// and a stock with a waste and three redeals.
void PrepararMesaRica(TMesa& m, std::int32_t numero) {
  m.IniciarJuego(numero, "Prueba");
  m.CrearMazo(10, 10, true, 3);
  TGrupo* tab = m.CrearGrupo("Tab", 0, 15, 255, false, false, true, false);
  TGrupo* celda = m.CrearGrupo("Celda", 0, 0, 1, false, false, false, false);
  TGrupo* desc = m.CrearGrupo("PosRM", 0, 0, 255, false, false, false, false);
  TGrupo* fund[4];
  for (std::uint8_t p = 0; p < 4; ++p) fund[p] = m.CrearGrupo("Fund", 0, 0, 10, true, false, false, false);
  m.AgregarReglaApilado(tab, rpOtroPar, -1);
  m.AgregarReglaVacia(tab, rpCualquiera, PasoLibre);
  m.AgregarReglaVacia(celda, rpCualquiera, PasoLibre);
  m.AgregarOrigen(tab, tab);
  m.AgregarOrigen(tab, desc);
  m.AgregarOrigen(tab, celda);
  m.AgregarOrigen(celda, tab);
  m.AgregarOrigen(celda, desc);
  for (TGrupo* f : fund) {
    m.AgregarReglaApilado(f, rpMismoPalo, 1);
    m.AgregarOrigen(f, tab);
    m.AgregarOrigen(f, desc);
    m.AgregarOrigen(f, celda);
    m.AgregarOrigen(tab, f);
  }
  for (std::uint8_t p = 0; p < 4; ++p)
    m.DefinirFundacion(fund[p], p, 1, m.PonerPila(fund[p], static_cast<std::int16_t>(300 + 70 * p), 10));
  for (int i = 0; i < 7; ++i) {
    TPila* col = m.PonerPila(tab, static_cast<std::int16_t>(10 + 70 * i), 130);
    m.RepartirCartas(col, static_cast<std::uint8_t>(i), true);
    m.RepartirCartas(col, 1, false);
  }
  m.PonerPila(celda, 220, 10);
  TPila* descarte = m.PonerPila(desc, 90, 10);
  descarte->AlCambiar = MostrarDescarte;
  m.AgregarDestinoMazo(descarte, 1);
  m.Mazo->Descarte = descarte;
  m.OcultarCargando();
}

struct TFoto {
  const TPila* Pila;
  const TCarta* Debajo;
  bool BocaArriba;
  int Left, Top;
  bool Visible;
  bool operator==(const TFoto&) const = default;
};

std::vector<TFoto> Fotografiar(const TMesa& m) {
  std::vector<TFoto> f;
  for (const auto& c : m.Cartas)
    f.push_back({c->Pila, c->Debajo, c->BocaArriba, c->Left, c->Top, c->Visible});
  return f;
}

}  // namespace

TEST(Propiedad, JuegoAlAzarYDeshacerTodoRestauraLaMesa) {
  for (std::int32_t numero = 1; numero <= 40; ++numero) {
    TMesa m;
    PrepararMesaRica(m, numero);
    const auto inicial = Fotografiar(m);
    const auto panelesIniciales = m.Paneles;
    std::mt19937 azar(static_cast<std::uint32_t>(numero));
    std::string pasos;
    int hechos = 0;
    for (int paso = 0; paso < 150; ++paso) {
      auto legales = busqueda::MovimientosLegales(m);
      const int tirada = static_cast<int>(azar() % 10);
      TPaso elegido{TPaso::TTipo::Mazo};
      if (tirada == 0 && m.Historial) {
        elegido = TPaso{TPaso::TTipo::Deshacer};
      } else if (tirada == 1) {
        const auto& p = m.Pilas[azar() % m.Pilas.size()];
        elegido = TPaso{TPaso::TTipo::Automatico, p->Numero};
      } else if (tirada > 3 && !legales.empty()) {
        elegido = legales[azar() % legales.size()];
      }
      pasos += EscribirPaso(elegido) + " ";
      hechos += AplicarPaso(m, elegido);
      ExpectInvariantes(m);
      if (::testing::Test::HasFailure()) FAIL() << "juego " << numero << ": " << pasos;
    }
    EXPECT_GT(hechos, 30) << "juego " << numero;
    while (m.Historial) m.Deshacer();
    EXPECT_EQ(Fotografiar(m), inicial) << "juego " << numero << ": " << pasos;
    EXPECT_EQ(m.Paneles[PanelMazo], panelesIniciales[PanelMazo]);
    EXPECT_EQ(m.Paneles[PanelReutilizaciones], panelesIniciales[PanelReutilizaciones]);
    if (::testing::Test::HasFailure()) return;
  }
}
