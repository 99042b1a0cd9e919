// The game window with real widgets: mouse events on the table reach the engine, the
// panels and buttons follow it, and the confirmations are answered by the test.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <filesystem>
#include <optional>
#include <string>

#include "tests/ventanas/Esperar.h"
#include "games/Juegos.h"
#include "play/ventanas/Juego.h"
#include "play/ventanas/Programa.h"
#include "play/ventanas/Tapete.h"
#include "tests/ventanas/Movidas.h"
#include "tests/ventanas/VentanaJuego.h"

namespace {

class JuegoTest : public ::testing::Test {
 protected:
  void SetUp() override {
    juego.Preguntar = [this](const QString& pregunta) {
      preguntas.push_back(pregunta);
      return respuesta;
    };
    juego.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&juego));
  }

  // A deal of Solitario De Los Siete Montones in which `aceptada` finds a move.
  TMovida Repartir(bool aceptada) {
    for (std::int32_t n = 1; n < 500; ++n) {
      juego.mesa.LiberarMesa();
      juego.Jugar(PrepararSolitarioDeLosSieteMontones, n);
      if (auto mv = BuscarMovida(juego.mesa, aceptada)) return *mv;
    }
    ADD_FAILURE() << "no deal with such a move";
    return {};
  }

  QString Panel(int i) const { return juego.Paneles[i]->text(); }

  TfrmJuego juego;
  std::vector<QString> preguntas;
  bool respuesta = true;
};

TEST_F(JuegoTest, ArrastrarDesdeLaPresionHastaSoltarMueveLaCarta) {
  const TMovida mv = Repartir(true);
  TTapete* t = juego.Tapete;
  const TPila* desde = mv.carta->Pila;
  const std::uint8_t antes = mv.destino->Cantidad;
  const QPoint origen = Centro(*t, *mv.carta);
  const QPoint destino = Centro(*t, Blanco(*mv.destino));
  ASSERT_EQ(t->ControlEn(origen), mv.carta);
  EXPECT_FALSE(juego.tbDeshacer->isEnabled() && juego.mesa.Historial);

  QTest::mousePress(t, Qt::LeftButton, {}, origen);
  EXPECT_EQ(t->Arrastrada(), mv.carta);
  QTest::mouseMove(t, (origen + destino) / 2);
  QTest::mouseMove(t, destino);
  EXPECT_TRUE(t->AceptaSoltar());
  QTest::mouseRelease(t, Qt::LeftButton, {}, destino);

  EXPECT_EQ(t->Arrastrada(), nullptr);
  EXPECT_EQ(mv.carta->Pila, mv.destino);
  EXPECT_EQ(mv.destino->Cantidad, antes + 1);
  EXPECT_NE(mv.carta->Pila, desde);
  EXPECT_EQ(juego.mesa.Movimientos, 1);
  EXPECT_EQ(Panel(3), "Puntos (0/1): 1");
  EXPECT_TRUE(juego.tbDeshacer->isEnabled());
  // The win check is armed for after the event and then runs once.
  EXPECT_TRUE(juego.tmrFinJuego.isActive());
  EXPECT_TRUE(QTest::qWaitFor([&] { return !juego.tmrFinJuego.isActive(); }, 5000));
  EXPECT_FALSE(juego.mesa.JuegoTerminado);

  juego.tbDeshacerClick();
  EXPECT_EQ(mv.carta->Pila, desde);
  EXPECT_EQ(Panel(3), "Puntos (0/2): 3");
}

TEST_F(JuegoTest, UnaCaidaRechazadaNoCambiaNada) {
  const TMovida mv = Repartir(false);
  TTapete* t = juego.Tapete;
  const std::string antes = DescribirMesa(juego.mesa);
  const QPoint origen = Centro(*t, *mv.carta);
  const QPoint destino = Centro(*t, Blanco(*mv.destino));
  QTest::mousePress(t, Qt::LeftButton, {}, origen);
  QTest::mouseMove(t, destino);
  EXPECT_FALSE(t->AceptaSoltar());
  QTest::mouseRelease(t, Qt::LeftButton, {}, destino);
  EXPECT_EQ(DescribirMesa(juego.mesa), antes);
  EXPECT_EQ(juego.mesa.Movimientos, 0);
  EXPECT_EQ(juego.mesa.Historial, nullptr);
  EXPECT_EQ(Panel(3), "Puntos (0/0): ---");

  // Dropped where it was taken: its own pile refuses it.
  QTest::mousePress(t, Qt::LeftButton, {}, origen);
  QTest::mouseMove(t, origen + QPoint(3, 3));
  QTest::mouseRelease(t, Qt::LeftButton, {}, origen + QPoint(3, 3));
  EXPECT_EQ(DescribirMesa(juego.mesa), antes);
}

TEST_F(JuegoTest, ClickDerechoMueveSolo) {
  // A deal with an As on top of a column: the right click sends it to its foundation.
  TCarta* as = nullptr;
  for (std::int32_t n = 1; n < 500 && !as; ++n) {
    juego.mesa.LiberarMesa();
    juego.Jugar(PrepararSolitarioDeLosSieteMontones, n);
    for (const auto& p : juego.mesa.Pilas)
      if (p->Tope && p->Tope->Numero == 1 && p.get() != juego.mesa.Mazo->Descarte) as = p->Tope;
  }
  ASSERT_NE(as, nullptr);
  TTapete* t = juego.Tapete;
  TPila* desde = as->Pila;
  QTest::mouseClick(t, Qt::RightButton, {}, Centro(*t, *as));
  ASSERT_NE(as->Pila, desde);
  EXPECT_TRUE(as->Pila->Grupo->EsFundacion);
  EXPECT_EQ(as->Pila->Grupo->PaloFundacion, as->Palo);
  EXPECT_EQ(juego.mesa.Movimientos, 1);

  // A face-down card does not move with the right button.
  TCarta* abajo = nullptr;
  for (const auto& c : juego.mesa.Cartas)
    if (c->Pila && !c->BocaArriba && c->Visible && t->ControlEn(Centro(*t, *c) - QPoint(0, 40)) == c.get())
      abajo = c.get();
  if (abajo) {
    const std::string antes = DescribirMesa(juego.mesa);
    QTest::mouseClick(t, Qt::RightButton, {}, Centro(*t, *abajo) - QPoint(0, 40));
    EXPECT_EQ(DescribirMesa(juego.mesa), antes);
    EXPECT_EQ(juego.mesa.Movimientos, 1);
  }
}

void Enviar(QWidget* w, QEvent::Type tipo, QPoint p) {
  const Qt::MouseButtons botones =
      tipo == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(Qt::LeftButton);
  QMouseEvent e(tipo, p, w->mapToGlobal(p), Qt::LeftButton, botones, Qt::NoModifier);
  QApplication::sendEvent(w, &e);
}

TEST_F(JuegoTest, ClickYDobleClickEnElMazo) {
  juego.Jugar(PrepararSolitarioDeLosSieteMontones, 1234);
  TMesa& m = juego.mesa;
  TTapete* t = juego.Tapete;
  TPila* descarte = m.Mazo->Descarte;
  const unsigned enMazo = m.Mazo->CartasMazo;
  ASSERT_GT(enMazo, 3u);
  EXPECT_EQ(Panel(0), QString("Mazo: %1").arg(enMazo));

  TCarta* tope = m.Mazo->TopeMazo;
  ASSERT_EQ(t->ControlEn(Centro(*t, *tope)), tope);
  QTest::mouseClick(t, Qt::LeftButton, {}, Centro(*t, *tope));
  EXPECT_EQ(tope->Pila, descarte);
  EXPECT_TRUE(tope->BocaArriba);
  EXPECT_EQ(m.Mazo->CartasMazo, enMazo - 1);
  EXPECT_EQ(Panel(0), QString("Mazo: %1").arg(enMazo - 1));
  EXPECT_EQ(Panel(1), "Descarte: 1");
  EXPECT_EQ(Panel(3), "Puntos (0/1): 1");

  // A double click: the first click deals, the release after the second press deals
  // again through the release rule.
  tope = m.Mazo->TopeMazo;
  const QPoint p = Centro(*t, *tope);
  Enviar(t, QEvent::MouseButtonPress, p);
  Enviar(t, QEvent::MouseButtonRelease, p);
  Enviar(t, QEvent::MouseButtonDblClick, p);
  Enviar(t, QEvent::MouseButtonRelease, p);
  EXPECT_EQ(m.Mazo->CartasMazo, enMazo - 3);
  EXPECT_EQ(descarte->Cantidad, 3);
  EXPECT_EQ(Panel(1), "Descarte: 3");
  EXPECT_EQ(m.Movimientos, 3);

  // Empty the stock; a click on its place redeals the waste (unlimited redeals).
  while (m.Mazo->TopeMazo) QTest::mouseClick(t, Qt::LeftButton, {}, Centro(*t, *m.Mazo->TopeMazo));
  EXPECT_EQ(Panel(0), "Mazo: 0");
  ASSERT_EQ(t->ControlEn(Centro(*t, *m.Mazo)), m.Mazo.get());
  QTest::mouseClick(t, Qt::LeftButton, {}, Centro(*t, *m.Mazo));
  EXPECT_EQ(m.Mazo->CartasMazo, enMazo);
  EXPECT_EQ(Panel(1), "Descarte: 0");
  EXPECT_EQ(Panel(2), "Reutilizaciones: ilimitadas");
}

TEST_F(JuegoTest, ReiniciarVuelveAlRepartoYPreguntaAntes) {
  juego.Jugar(PrepararSolitarioDeLosSieteMontones, 77);
  TMesa& m = juego.mesa;
  const std::string repartido = DescribirMesa(m);
  for (int i = 0; i < 3; ++i) m.ClickMazo();
  juego.Actualizar();
  ASSERT_EQ(Panel(3), "Puntos (0/3): 4");
  const std::string jugado = DescribirMesa(m);

  respuesta = false;
  juego.tbReiniciarClick();
  ASSERT_EQ(preguntas.size(), 1u);
  EXPECT_EQ(preguntas[0], "¿Estás seguro de reiniciar el juego?");
  EXPECT_EQ(DescribirMesa(m), jugado);
  EXPECT_EQ(m.Movimientos, 3);

  respuesta = true;
  juego.tbReiniciarClick();
  EXPECT_EQ(DescribirMesa(m), repartido);
  EXPECT_EQ(m.Movimientos, 0);
  EXPECT_EQ(Panel(3), "Puntos (0/0): ---");
  EXPECT_TRUE(juego.tmrTiempo.isActive());
}

TEST_F(JuegoTest, NuevoJuegoPreguntaYReparteOtro) {
  juego.Jugar(PrepararSolitarioDeLosSieteMontones, 5);
  respuesta = false;
  juego.tbNuevoClick();
  EXPECT_EQ(juego.mesa.NumeroJuego, 5);
  // Also a game that is over asks.
  juego.mesa.JuegoTerminado = true;
  respuesta = true;
  juego.tbNuevoClick();
  ASSERT_EQ(preguntas.size(), 2u);
  EXPECT_EQ(preguntas[1], "¿Estás seguro que querés terminar el juego actual?");
  EXPECT_NE(juego.mesa.NumeroJuego, 5);
  EXPECT_FALSE(juego.mesa.JuegoTerminado);
  EXPECT_EQ(juego.mesa.Cartas.size(), 40u);
  EXPECT_EQ(Panel(4), QString("Juego #%1 ").arg(juego.mesa.NumeroJuego));

  // A chosen number: cancelling the dialog asks nothing.
  juego.PedirNumero = [] { return false; };
  juego.tbJugarNroClick();
  EXPECT_EQ(preguntas.size(), 2u);
}

TEST_F(JuegoTest, ElMinutoSoloCuentaConLaVentanaActiva) {
  juego.Jugar(PrepararSolitarioDeLosSieteMontones, 9);
  juego.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&juego));
  juego.tmrTiempoTimer();
  EXPECT_EQ(juego.mesa.Minutos, 1);
  EXPECT_EQ(Panel(3), "Puntos (1/0): 1");

  QDialog dialogo(&juego);
  dialogo.show();
  dialogo.activateWindow();
  ESPERAR(QApplication::activeWindow() == &dialogo);
  juego.tmrTiempoTimer();
  EXPECT_EQ(juego.mesa.Minutos, 1);
  EXPECT_EQ(Panel(3), "Puntos (1/0): 1");
}

TEST_F(JuegoTest, CerrarPreguntaSalvoConElJuegoTerminado) {
  juego.Jugar(PrepararCuatroReyes, 3);
  respuesta = false;
  juego.close();
  EXPECT_EQ(preguntas.size(), 1u);
  EXPECT_TRUE(juego.isVisible());
  EXPECT_EQ(juego.mesa.Cartas.size(), 40u);

  respuesta = true;
  juego.close();
  EXPECT_EQ(preguntas.size(), 2u);
  EXPECT_FALSE(juego.isVisible());
  EXPECT_TRUE(juego.mesa.Cartas.empty());

  juego.show();
  juego.Jugar(PrepararCuatroReyes, 3);
  // The win enters an empty score table in a scratch folder; its name entry is cancelled.
  QTemporaryDir carpeta;
  Programa().Carpeta = std::filesystem::path(carpeta.path().toStdString());
  QTimer cancelar;
  QObject::connect(&cancelar, &QTimer::timeout, [] {
    if (auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget())) d->reject();
  });
  cancelar.start(5);
  juego.JuegoGanado();
  cancelar.stop();
  Programa().Carpeta.clear();
  EXPECT_TRUE(juego.mesa.JuegoTerminado);
  EXPECT_FALSE(juego.tmrTiempo.isActive());
  juego.close();
  EXPECT_EQ(preguntas.size(), 2u);
  EXPECT_FALSE(juego.isVisible());
}

}  // namespace
