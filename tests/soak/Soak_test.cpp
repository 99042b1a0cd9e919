// The soak: every game, many deals of seeded random play, the oracle after every step and
// the table as dealt after undoing everything. CARTOVAL_REPARTOS sets the deals per game
// (100 unless told; make soak asks for 2000), CARTOVAL_PASOS the steps per deal.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <iostream>

#include "tests/soak/Jugador.h"
#include "tests/soak/Oraculo.h"

namespace {

int Entorno(const char* nombre, int porDefecto) {
  const char* v = std::getenv(nombre);
  if (!v || !*v) return porDefecto;
  const int n = std::atoi(v);
  return n > 0 ? n : porDefecto;
}

class Soak : public ::testing::TestWithParam<std::size_t> {};

TEST_P(Soak, JuegoAlAzarSinFallas) {
  const TJuegoRegistrado& juego = Juegos()[GetParam()];
  const int repartos = Entorno("CARTOVAL_REPARTOS", 100);
  const int pasos = Entorno("CARTOVAL_PASOS", 300);
  const auto inicio = std::chrono::steady_clock::now();
  const TResultadoSoak r = JugarAlAzar(juego, repartos, pasos);
  const double segundos =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - inicio).count();
  ASSERT_EQ(r.Falla, "");
  EXPECT_EQ(r.Repartos, repartos);
  // A player that never moves a card would test nothing.
  EXPECT_GT(r.Movidas, r.Pasos / 10) << juego.Nombre;
  std::cout << juego.Modulo << ": " << r.Repartos << " repartos, " << r.Pasos << " pasos, "
            << r.Movidas << " con movimiento, " << r.Reutilizaciones << " reutilizaciones ("
            << r.ReutilizacionesVacias << " con el descarte vacío), " << r.Ganados << " ganados, " << segundos
            << " s\n";
}

INSTANTIATE_TEST_SUITE_P(Juegos, Soak, ::testing::Range<std::size_t>(0, 16),
                         [](const ::testing::TestParamInfo<std::size_t>& i) {
                           return std::string(Juegos()[i.param].Modulo);
                         });

// The oracle itself must see a broken table: a card lost from a pile, a card counted
// twice, and a table that does not come back as dealt.
TEST(Oraculo, VeLasMesasRotas) {
  TMesa m;
  Juegos()[0].Preparar(m, 7);
  TOraculo o;
  ASSERT_EQ(o.Comenzar(m), "");
  TPila* p = nullptr;
  for (const auto& q : m.Pilas)
    if (q->Cantidad >= 2) p = q.get();
  ASSERT_NE(p, nullptr);
  ++p->Cantidad;
  EXPECT_NE(ComprobarMesa(m), "");
  --p->Cantidad;
  EXPECT_EQ(ComprobarMesa(m), "");

  TCarta* tope = p->Tope;
  p->Tope = tope->Debajo;
  --p->Cantidad;
  EXPECT_NE(ComprobarMesa(m).find("0 veces"), std::string::npos) << ComprobarMesa(m);
  p->Tope = tope;
  ++p->Cantidad;

  const TFotoMesa repartida = Fotografiar(m);
  tope->Left += 3;
  EXPECT_NE(ComprobarMesa(m), "");
  EXPECT_NE(CompararFotos(repartida, Fotografiar(m)), "");
  tope->Left -= 3;
  tope->Visible = false;
  EXPECT_NE(CompararFotos(repartida, Fotografiar(m)), "");
  tope->Visible = true;
  EXPECT_EQ(o.DeshacerTodo(m), "");

  // A count the rules do not give.
  m.Movimientos = 5;
  EXPECT_NE(o.Aplicar(m, TPaso{TPaso::TTipo::Instantanea}), "");
}

}  // namespace

namespace {

// One card in a visible stock with one redeal, a waste and a cell.
void PrepararMazoCorto(TMesa& m) {
  m.IniciarJuego(3, "Prueba");
  m.CrearMazo(10, 10, true, 1);
  TGrupo* desc = m.CrearGrupo("Desc", 0, 0, 255, false, false, false, false);
  TGrupo* celda = m.CrearGrupo("Celda", 0, 0, 1, false, false, false, false);
  m.AgregarReglaVacia(celda, rpCualquiera, PasoLibre);
  m.AgregarOrigen(celda, desc);
  TPila* tirar = m.PonerPila(celda, 300, 10);
  TPila* descarte = m.PonerPila(desc, 90, 10);
  descarte->AlCambiar = MostrarDescarte;
  m.AgregarDestinoMazo(descarte, 1);
  m.Mazo->Descarte = descarte;
  // 39 cards to a place off the rules, one left in the stock.
  TGrupo* resto = m.CrearGrupo("Resto", 0, 0, 255, false, false, false, false);
  m.RepartirCartas(m.PonerPila(resto, 500, 10), 39, true);
  (void)tirar;
  m.OcultarCargando();
}

}  // namespace

// A redeal of an empty waste spends the last redeal: the empty stock then shows that it
// can no longer be redealt, and undoing it gives the redeal and the picture back.
TEST(Oraculo, ReutilizarUnDescarteVacioGastaLaUltima) {
  TMesa m;
  PrepararMazoCorto(m);
  TOraculo o;
  ASSERT_EQ(o.Comenzar(m), "");
  EXPECT_EQ(o.Aplicar(m, TPaso{TPaso::TTipo::Mazo}), "");  // the last card to the waste
  EXPECT_EQ(o.Aplicar(m, TPaso{TPaso::TTipo::Arrastre, 2, -1, 1}), "");  // waste to the cell
  ASSERT_EQ(m.Pilas[1]->Cantidad, 0);
  EXPECT_EQ(m.Mazo->Imagen, (TImagen{TTipoImagen::Otros, ImgMazoReutilizable}));
  EXPECT_EQ(o.Aplicar(m, TPaso{TPaso::TTipo::Mazo}), "");
  EXPECT_EQ(m.Mazo->Reutilizaciones, 0);
  EXPECT_EQ(m.Mazo->Imagen, (TImagen{TTipoImagen::Otros, ImgMazoAgotado}));
  EXPECT_EQ(o.Aplicar(m, TPaso{TPaso::TTipo::Deshacer}), "");
  EXPECT_EQ(m.Mazo->Reutilizaciones, 1);
  EXPECT_EQ(m.Mazo->Imagen, (TImagen{TTipoImagen::Otros, ImgMazoReutilizable}));
  EXPECT_EQ(o.DeshacerTodo(m), "");
}
