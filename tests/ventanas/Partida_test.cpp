// The game in progress kept across a restart of the program, and the statistics of real
// played games, through the main window and the game window offscreen.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <filesystem>
#include <fstream>

#include "tests/ventanas/Esperar.h"
#include "games/Juegos.h"
#include "play/registros/Estadisticas.h"
#include "play/registros/PartidaGuardada.h"
#include "play/ventanas/Ayudas.h"
#include "play/ventanas/Estadisticas.h"
#include "play/ventanas/FinJuego.h"
#include "play/ventanas/Juego.h"
#include "play/ventanas/PartidaEnJuego.h"
#include "play/ventanas/Principal.h"
#include "play/ventanas/Programa.h"
#include "solver/Solucionador.h"
#include "tests/Busqueda.h"
#include "tests/ventanas/EnvioSeguras.h"
#include "tests/ventanas/Modales.h"
#include "tests/ventanas/Movidas.h"
#include "tests/ventanas/RepartosDecididos.h"

namespace {

namespace fs = std::filesystem;

// What the player sees of a game window: title, panels, table, counters.
struct TVista {
  QString Titulo;
  QStringList Paneles;
  std::string Mesa;
  std::vector<std::string> Pasos;
  int Minutos;
  bool Deshacer;
  bool operator==(const TVista&) const = default;
};

TVista Ver(TfrmJuego& j) {
  TVista v{j.windowTitle(), {}, MesaEnJson(j.mesa, false, ""), j.mesa.Pasos, j.mesa.Minutos,
           j.tbDeshacer->isEnabled()};
  for (QLabel* p : j.Paneles) v.Paneles << p->text();
  return v;
}

class PartidaTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(carpeta.isValid());
    Programa().Carpeta = fs::path(carpeta.path().toStdString());
  }
  void TearDown() override {
    principal.reset();
    Programa().Carpeta.clear();
  }
  // A fresh main window, as at the start of the program; `jugar` runs in the game window
  // the game starts, which then closes.
  void Abrir(const QString& juego, std::int32_t numero, const std::function<void(TfrmJuego&)>& jugar) {
    principal = std::make_unique<TfrmPrincipal>();
    principal->MostrarJuego = [&](TfrmJuego& j) {
      j.Preguntar = [](const QString&) { return true; };
      j.show();
      jugar(j);
      if (j.isVisible()) j.close();
    };
    principal->show();
    principal->IniciarJuego(juego, numero);
  }
  TEstadisticaJuego Estadistica(const std::string& clave) {
    return LeerEstadisticas(Programa().Carpeta)[clave];
  }

  QTemporaryDir carpeta;
  std::unique_ptr<TfrmPrincipal> principal;
};

// Moves with the mouse on the table, an undo and a snapshot, three minutes; the program
// ends and starts again: the game continues exactly where it was.
TEST_F(PartidaTest, UnJuegoCerradoContinuaTrasReiniciarElPrograma) {
  TVista antes;
  Abrir(QStringLiteral("Cuatro Reyes"), 5, [&](TfrmJuego& j) {
    for (int k = 0; k < 3; ++k) {
      const auto movida = BuscarMovida(j.mesa, true);
      ASSERT_TRUE(movida);
      QTest::mousePress(j.Tapete, Qt::LeftButton, {}, Centro(*j.Tapete, *movida->carta));
      QTest::mouseRelease(j.Tapete, Qt::LeftButton, {}, Centro(*j.Tapete, Blanco(*movida->destino)));
    }
    j.tbDeshacer->trigger();
    j.tbInstantanea->trigger();
    if (j.mesa.Mazo->EnMesa && j.mesa.Mazo->CartasMazo > 0)
      QTest::mouseClick(j.Tapete, Qt::LeftButton, {}, Centro(*j.Tapete, *j.mesa.Mazo->TopeMazo));
    for (int k = 0; k < 3; ++k) j.mesa.ContarMinuto();
    j.Actualizar();
    ASSERT_GE(j.mesa.Pasos.size(), 5u);
    antes = Ver(j);
  });
  ASSERT_TRUE(LeerPartida(Programa().Carpeta, "CuatroReyes"));
  principal.reset();

  TVista despues;
  bool aviso = false;
  Abrir(QStringLiteral("Cuatro Reyes"), 0, [&](TfrmJuego& j) {
    despues = Ver(j);
    aviso = j.Partida->Aviso->isVisible() &&
            j.Partida->Aviso->text() == QStringLiteral("Juego continuado");
    // The continued game plays on: an undo takes back the last move as before.
    j.tbDeshacer->trigger();
    EXPECT_EQ(j.mesa.Pasos.back(), "d");
  });
  EXPECT_EQ(despues, antes);
  EXPECT_EQ(despues.Minutos, 3);
  EXPECT_TRUE(despues.Paneles[3].startsWith(QStringLiteral("Puntos (3/")));
  EXPECT_TRUE(aviso);
  // Kept again on closing, one step longer; counted once as played.
  const auto otra = LeerPartida(Programa().Carpeta, "CuatroReyes");
  ASSERT_TRUE(otra);
  EXPECT_EQ(otra->Pasos.size(), antes.Pasos.size() + 1);
  EXPECT_EQ(Estadistica("CuatroReyes").Jugados, 1u);

  // A new deal discards it, and a game opened afresh does not continue anything.
  Abrir(QStringLiteral("Cuatro Reyes"), 0, [&](TfrmJuego& j) {
    EXPECT_TRUE(j.Partida->Aviso->isVisible());
    j.tbNuevo->trigger();
    EXPECT_FALSE(j.Partida->Aviso->isVisible());
    EXPECT_TRUE(j.mesa.Pasos.empty());
  });
  EXPECT_FALSE(LeerPartida(Programa().Carpeta, "CuatroReyes"));
  Abrir(QStringLiteral("Cuatro Reyes"), 0, [&](TfrmJuego& j) {
    EXPECT_FALSE(j.Partida->Aviso->isVisible());
    EXPECT_TRUE(j.mesa.Pasos.empty());
  });
}

// A game played with the automatic drop, left and continued, undoes and redoes as it did
// before it was left: one Ctrl+Z takes the whole drop back and one Ctrl+Y brings it again,
// also after drops undone and redone in the steps kept, and what redo could still repeat
// when the game was left is repeated after it is continued.
TEST_F(PartidaTest, UnJuegoContinuadoDeshaceYRehaceElEnvioEntero) {
  const auto envio = BuscarEnvio();
  ASSERT_TRUE(envio) << "ningún reparto con una primera movida que deje cartas seguras";
  const QString nombre = QStringLiteral("Solitario De Los Siete Montones");
  const std::size_t enviadas = envio->Pasos.size() - 1;
  const TPaso& p = envio->Paso;
  // The key's glide is ended at once, so that the next drag finds the cards in place.
  const auto tecla = [](TfrmJuego& j, QKeyCombination k) {
    QTest::keyClick(j.Tapete, k.key(), k.keyboardModifiers());
    j.Tapete->TerminarAnimacion();
  };
  const auto activa = [](TfrmJuego& j) {
    j.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&j));
  };
  // The cards alone: undo and redo count moves.
  const auto mesa = [](const TfrmJuego& j) {
    const std::string json = MesaEnJson(j.mesa, false, "");
    return json.substr(json.find("\"mazo\""));
  };
  std::string arrastrada, enviada;  // the table after the drag, and after the drop
  // The drag with the option off; the option turned on before leaving: continuing sends
  // nothing, the table is the one left.
  Abrir(nombre, envio->Numero, [&](TfrmJuego& j) {
    ASSERT_FALSE(j.Ayudas->tbEnviarSeguras->isChecked());
    ASSERT_TRUE(ArrastrarConRaton(j, p.Pila, p.Posicion, p.Destino));
    ASSERT_EQ(j.mesa.Pasos.size(), 1u);
    arrastrada = mesa(j);
    j.Ayudas->tbEnviarSeguras->trigger();
  });
  Abrir(nombre, 0, [&](TfrmJuego& j) {
    ASSERT_TRUE(j.Partida->Aviso->isVisible());
    EXPECT_EQ(j.mesa.Pasos.size(), 1u);
    EXPECT_EQ(mesa(j), arrastrada);
    activa(j);
    // Undone and dragged again, now with the drop; its undo and redo are in the log.
    tecla(j, Qt::CTRL | Qt::Key_Z);
    ASSERT_EQ(j.mesa.ProfundidadHistorial(), 0);
    // The dragged card itself may go on home: the depth tells what happened.
    ArrastrarConRaton(j, p.Pila, p.Posicion, p.Destino);
    ASSERT_EQ(j.mesa.ProfundidadHistorial(), static_cast<int>(1 + enviadas));
    enviada = mesa(j);
    tecla(j, Qt::CTRL | Qt::Key_Z);
    ASSERT_EQ(j.mesa.ProfundidadHistorial(), 1);
    tecla(j, Qt::CTRL | Qt::Key_Y);
    ASSERT_EQ(mesa(j), enviada);
  });
  Abrir(nombre, 0, [&](TfrmJuego& j) {
    ASSERT_TRUE(j.Partida->Aviso->isVisible());
    ASSERT_EQ(mesa(j), enviada);
    activa(j);
    tecla(j, Qt::CTRL | Qt::Key_Z);
    EXPECT_EQ(j.mesa.ProfundidadHistorial(), 1);
    EXPECT_EQ(mesa(j), arrastrada);
    EXPECT_TRUE(j.Ayudas->tbRehacer->isEnabled());
    tecla(j, Qt::CTRL | Qt::Key_Y);
    EXPECT_EQ(j.mesa.ProfundidadHistorial(), static_cast<int>(1 + enviadas));
    EXPECT_EQ(mesa(j), enviada);
    // Left with the drop and the drag undone and the drag redone: the drop is still to
    // redo.
    tecla(j, Qt::CTRL | Qt::Key_Z);
    tecla(j, Qt::CTRL | Qt::Key_Z);
    ASSERT_EQ(j.mesa.ProfundidadHistorial(), 0);
    tecla(j, Qt::CTRL | Qt::Key_Y);
    ASSERT_EQ(mesa(j), arrastrada);
    ASSERT_TRUE(j.Ayudas->tbRehacer->isEnabled());
  });
  Abrir(nombre, 0, [&](TfrmJuego& j) {
    ASSERT_TRUE(j.Partida->Aviso->isVisible());
    ASSERT_EQ(mesa(j), arrastrada);
    EXPECT_TRUE(j.Ayudas->tbRehacer->isEnabled());
    activa(j);
    tecla(j, Qt::CTRL | Qt::Key_Y);
    EXPECT_EQ(j.mesa.ProfundidadHistorial(), static_cast<int>(1 + enviadas));
    EXPECT_EQ(mesa(j), enviada);
  });
}

// A closed deal without a move is not kept; a restart discards the kept one.
TEST_F(PartidaTest, SinMovidasNoSeGuardaYReiniciarDescarta) {
  Abrir(QStringLiteral("Strup"), 8, [](TfrmJuego&) {});
  EXPECT_FALSE(fs::exists(Programa().Carpeta / ArchivoPartidas));
  Abrir(QStringLiteral("Strup"), 8, [](TfrmJuego& j) {
    const auto movida = BuscarMovida(j.mesa, true);
    ASSERT_TRUE(movida);
    ASSERT_TRUE(AplicarPaso(j.mesa, TPaso{TPaso::TTipo::Arrastre, movida->carta->Pila->Numero,
                                          -1, movida->destino->Numero}));
    j.Actualizar();
  });
  ASSERT_TRUE(LeerPartida(Programa().Carpeta, "Strup"));
  Abrir(QStringLiteral("Strup"), 0, [](TfrmJuego& j) {
    EXPECT_EQ(j.mesa.NumeroJuego, 8);
    EXPECT_TRUE(j.Partida->Aviso->isVisible());
    j.tbReiniciar->trigger();
    EXPECT_FALSE(j.Partida->Aviso->isVisible());
    EXPECT_FALSE(LeerPartida(Programa().Carpeta, "Strup"));
  });
}

// Damaged, foreign and unreplayable saved games start a fresh deal and never crash.
TEST_F(PartidaTest, UnArchivoDannadoOAjenoSeIgnora) {
  const fs::path archivo = Programa().Carpeta / ArchivoPartidas;
  const std::string numero = "{\"version\":1,\"partidas\":{\"Strup\":{\"numero\":44,\"minutos\":2,"
                             "\"ayuda\":false,\"pasos\":[";
  for (const std::string& datos :
       {std::string("\x00\xff{{{", 5), std::string("{\"version\":2,\"partidas\":{}}"),
        std::string("[1,2,3]"), numero + "\"9>99\"]}}}", numero + "\"1>2\",\"x\"]}}}",
        numero + "\"d\"]}}}"}) {
    std::ofstream(archivo, std::ios::binary) << datos;
    bool continuado = true;
    std::int32_t dado = 0;
    Abrir(QStringLiteral("Strup"), 0, [&](TfrmJuego& j) {
      continuado = j.Partida->Aviso->isVisible();
      dado = j.mesa.NumeroJuego;
      EXPECT_EQ(j.mesa.Cartas.size(), 40u);
      EXPECT_TRUE(j.mesa.Pasos.empty());
    });
    EXPECT_FALSE(continuado) << datos;
    EXPECT_NE(dado, 0) << datos;
  }
}

// Real games: one abandoned after a move, one won by a real winning line with the score
// table answered, one not played at all.
TEST_F(PartidaTest, LasEstadisticasCuentanJuegosReales) {
  const std::int32_t numero = 1;
  TMesa buscar;
  PrepararCuatroReyes(buscar, numero);
  const auto linea = busqueda::BuscarVictoriaGuiada(buscar);
  ASSERT_FALSE(linea.empty());

  QTimer cerrarDialogos;
  QObject::connect(&cerrarDialogos, &QTimer::timeout, [] {
    if (auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget())) d->reject();
  });
  std::uint16_t movimientos = 0;
  Abrir(QStringLiteral("Cuatro Reyes"), numero, [&](TfrmJuego& j) {
    // A move, then a new deal: played and abandoned.
    ASSERT_TRUE(AplicarPaso(j.mesa, linea[0]));
    j.Actualizar();
    j.NuevoReparto(numero);
    QTest::qWait(10);  // the win check the deal armed runs, as before any move of a player
    for (std::size_t i = 0; i + 1 < linea.size(); ++i) ASSERT_TRUE(AplicarPaso(j.mesa, linea[i]));
    j.Actualizar();
    for (int k = 0; k < 2; ++k) j.mesa.ContarMinuto();
    // The winning move with the mouse; the window's own win check finds the win.
    const TPaso& ultimo = linea.back();
    ASSERT_EQ(ultimo.Tipo, TPaso::TTipo::Arrastre);
    TPila& desde = *j.mesa.Pilas[static_cast<std::size_t>(ultimo.Pila - 1)];
    TCarta* carta = desde.Tope;
    for (int k = desde.Cantidad - 1; ultimo.Posicion >= 0 && k > ultimo.Posicion; --k)
      carta = carta->Debajo;
    const TPila& hacia = *j.mesa.Pilas[static_cast<std::size_t>(ultimo.Destino - 1)];
    cerrarDialogos.start(5);
    QTest::mousePress(j.Tapete, Qt::LeftButton, {}, Centro(*j.Tapete, *carta));
    QTest::mouseRelease(j.Tapete, Qt::LeftButton, {}, Centro(*j.Tapete, Blanco(hacia)));
    ESPERAR_HASTA(j.mesa.JuegoTerminado, 5000);
    cerrarDialogos.stop();
    EXPECT_TRUE(j.mesa.JuegoTerminado);
    movimientos = j.mesa.Movimientos;
  });
  TEstadisticaJuego e = Estadistica("CuatroReyes");
  EXPECT_EQ(e.Jugados, 2u);
  EXPECT_EQ(e.Ganados, 1u);
  EXPECT_EQ(PorcentajeGanados(e), 50);
  EXPECT_EQ(e.RachaActual, 1u);
  EXPECT_EQ(e.RachaMaxima, 1u);
  EXPECT_EQ(e.MenosMovimientos, movimientos);
  EXPECT_EQ(e.MenorTiempo, 2);
  EXPECT_EQ(e.MejoresPuntos, 2 + movimientos * 3 / 2);
  EXPECT_EQ(e.UltimosPuntos, std::vector<std::uint16_t>{*e.MejoresPuntos});
  EXPECT_FALSE(LeerPartida(Programa().Carpeta, "CuatroReyes"));

  // Opened and closed without a move: nothing counts, the streak goes on.
  Abrir(QStringLiteral("Cuatro Reyes"), 3, [](TfrmJuego&) {});
  EXPECT_EQ(Estadistica("CuatroReyes"), e);
  // A move and a new deal end the streak.
  Abrir(QStringLiteral("Cuatro Reyes"), 3, [&](TfrmJuego& j) {
    const auto movida = BuscarMovida(j.mesa, true);
    ASSERT_TRUE(movida);
    AplicarPaso(j.mesa, TPaso{TPaso::TTipo::Arrastre, movida->carta->Pila->Numero, -1,
                              movida->destino->Numero});
    j.Actualizar();
    j.tbNuevo->trigger();
  });
  e = Estadistica("CuatroReyes");
  EXPECT_EQ(e.Jugados, 3u);
  EXPECT_EQ(e.RachaActual, 0u);
  EXPECT_EQ(e.RachaMaxima, 1u);
}

}  // namespace

namespace {

// The dialog shows the figures of played games, sorts them, resets one after a question.
TEST_F(PartidaTest, ElDialogoMuestraOrdenaYReiniciaUnJuego) {
  // A played and abandoned deal of Strup, a played deal of Cuatro Reyes kept open.
  for (const QString& juego : {QStringLiteral("Strup"), QStringLiteral("Cuatro Reyes")})
    Abrir(juego, 4, [](TfrmJuego& j) {
      const auto movida = BuscarMovida(j.mesa, true);
      ASSERT_TRUE(movida);
      AplicarPaso(j.mesa, TPaso{TPaso::TTipo::Arrastre, movida->carta->Pila->Numero, -1,
                                movida->destino->Numero});
      j.Actualizar();
    });
  TEstadisticas t = LeerEstadisticas(Programa().Carpeta);
  ContarGanado(t["Strup"], false, 150, 90, 9);
  ContarGanado(t["Strup"], false, 130, 80, 7);
  ASSERT_TRUE(GuardarEstadisticas(Programa().Carpeta, t));

  TfrmEstadisticas todos(nullptr);
  ASSERT_EQ(todos.lvEstadisticas->rowCount(), 16);
  auto fila = [&](const QString& nombre) {
    for (int f = 0; f < todos.lvEstadisticas->rowCount(); ++f)
      if (todos.lvEstadisticas->item(f, 0)->text() == nombre) return f;
    return -1;
  };
  auto celda = [&](const QString& nombre, int col) {
    return todos.lvEstadisticas->item(fila(nombre), col)->text();
  };
  EXPECT_EQ(celda(QStringLiteral("Strup"), 1), QStringLiteral("3"));
  EXPECT_EQ(celda(QStringLiteral("Strup"), 2), QStringLiteral("2"));
  EXPECT_EQ(celda(QStringLiteral("Strup"), 3), QStringLiteral("66 %"));
  EXPECT_EQ(celda(QStringLiteral("Strup"), 7), QStringLiteral("130"));
  EXPECT_EQ(celda(QStringLiteral("Strup"), 9), QStringLiteral("7 min"));
  EXPECT_EQ(celda(QStringLiteral("Cuatro Reyes"), 1), QStringLiteral("1"));
  EXPECT_EQ(celda(QStringLiteral("Cuatro Reyes"), 3), QStringLiteral("0 %"));
  EXPECT_EQ(celda(QStringLiteral("Cuatro Reyes"), 7), QStringLiteral("—"));
  // Sorted by deals played, most first, by a click on the header.
  todos.lvEstadisticas->sortByColumn(1, Qt::DescendingOrder);
  EXPECT_EQ(todos.lvEstadisticas->item(0, 0)->text(), QStringLiteral("Strup"));
  EXPECT_EQ(todos.lvEstadisticas->item(1, 0)->text(), QStringLiteral("Cuatro Reyes"));
  todos.lvEstadisticas->selectRow(0);
  EXPECT_EQ(todos.Grafico->Puntos(), (std::vector<std::uint16_t>{150, 130}));

  // No keeps everything; Yes resets Strup only.
  QStringList preguntas;
  bool respuesta = false;
  todos.Preguntar = [&](const QString& q) {
    preguntas << q;
    return respuesta;
  };
  todos.bbtnReiniciar->click();
  EXPECT_EQ(LeerEstadisticas(Programa().Carpeta).count("Strup"), 1u);
  respuesta = true;
  todos.bbtnReiniciar->click();
  ASSERT_EQ(preguntas.size(), 2);
  EXPECT_EQ(preguntas[1], QStringLiteral("¿Estás seguro de borrar las estadísticas de Strup?"));
  EXPECT_EQ(LeerEstadisticas(Programa().Carpeta).count("Strup"), 0u);
  EXPECT_EQ(LeerEstadisticas(Programa().Carpeta).at("CuatroReyes").Jugados, 1u);
  EXPECT_EQ(celda(QStringLiteral("Strup"), 1), QStringLiteral("0"));
  EXPECT_TRUE(todos.Grafico->Puntos().empty());

  // From the game window: this game only.
  Abrir(QStringLiteral("Cuatro Reyes"), 0, [](TfrmJuego& j) {
    QAction* boton = j.findChild<QAction*>(QStringLiteral("tbEstadisticas"));
    ASSERT_NE(boton, nullptr);
    QTimer::singleShot(0, [] {
      auto* d = dynamic_cast<TfrmEstadisticas*>(QApplication::activeModalWidget());
      ASSERT_NE(d, nullptr);
      EXPECT_EQ(d->lvEstadisticas->rowCount(), 1);
      EXPECT_EQ(d->lvEstadisticas->item(0, 1)->text(), QStringLiteral("1"));
      d->accept();
    });
    boton->trigger();
  });
}

}  // namespace

namespace {

// The share of ganable deals won: only the solver's verdict on the deal itself counts. A
// deal proven before its first move, kept and continued, then won by finishing (an aided
// win counts as any other) is won and ganable; one whose verdict never came is neither.
TEST_F(PartidaTest, LosRepartosGanablesCuentanElVeredictoDelReparto) {
  const QString juego = QStringLiteral("Solitario De Los Siete Montones");
  const std::string clave = "SolitarioDeLosSieteMontones";
  const auto decidido = RepartoDecidido(TVeredicto::Ganable);
  ASSERT_TRUE(decidido);
  const std::int32_t numero = decidido->Numero;
  const std::vector<TPaso>& linea = decidido->Pasos;
  ASSERT_FALSE(linea.empty());
  auto veredicto = [](TfrmJuego& j) { return j.Ayudas->lbVeredicto->text(); };

  Abrir(juego, numero, [&](TfrmJuego& j) {
    ESPERAR_IGUAL_HASTA(veredicto(j), QStringLiteral("Ganable"), 30000);
    // Proven, not yet played: nothing counts.
    EXPECT_EQ(Estadistica(clave), TEstadisticaJuego{});
    ASSERT_TRUE(AplicarPaso(j.mesa, linea[0]));
    j.Actualizar();
  });
  TEstadisticaJuego e = Estadistica(clave);
  EXPECT_EQ(e.Jugados, 1u);
  EXPECT_EQ(e.Ganables, 1u);
  EXPECT_EQ(e.GanadosGanables, 0u);
  EXPECT_EQ(PorcentajeGanadosGanables(e), 0);
  const auto guardada = LeerPartida(Programa().Carpeta, clave);
  ASSERT_TRUE(guardada);
  EXPECT_TRUE(guardada->RepartoGanable);

  bool continuado = false;
  Abrir(juego, 0, [&](TfrmJuego& j) {
    continuado = j.Partida->Aviso->isVisible();
    ESPERAR_IGUAL_HASTA(veredicto(j), QStringLiteral("Ganable"), 30000);
    TModales modales;
    modales.Luego<TfrmFinJuego>([](TfrmFinJuego& fin) { fin.reject(); });
    QTest::keyClick(j.Tapete, Qt::Key_T);
    ESPERAR_HASTA(modales.Terminados(), 30000);
    EXPECT_TRUE(modales.Inesperados.empty());
    EXPECT_TRUE(j.mesa.JuegoTerminado);
    EXPECT_TRUE(j.mesa.AyudaUsada);
  });
  EXPECT_TRUE(continuado);
  e = Estadistica(clave);
  EXPECT_EQ(e.Jugados, 1u);
  EXPECT_EQ(e.Ganados, 1u);
  EXPECT_EQ(e.Ganables, 1u);
  EXPECT_EQ(e.GanadosGanables, 1u);
  EXPECT_EQ(PorcentajeGanadosGanables(e), 100);

  // A search too short to decide the deal: played and abandoned, it is no ganable deal.
  Abrir(juego, numero + 1, [&](TfrmJuego& j) {
    j.Ayudas->Limites.Posiciones = 1;
    j.NuevoReparto(numero + 2);
    ESPERAR_IGUAL_HASTA(veredicto(j), QStringLiteral("No se sabe"), 30000);
    const auto movida = BuscarMovida(j.mesa, true);
    ASSERT_TRUE(movida);
    ASSERT_TRUE(AplicarPaso(j.mesa, TPaso{TPaso::TTipo::Arrastre, movida->carta->Pila->Numero,
                                          -1, movida->destino->Numero}));
    j.Actualizar();
    j.NuevoReparto(numero + 2);
  });
  e = Estadistica(clave);
  EXPECT_EQ(e.Jugados, 2u);
  EXPECT_EQ(e.Ganables, 1u);
  EXPECT_EQ(PorcentajeGanadosGanables(e), 100);

  // The dialog: the share, with the counts behind it; "—" for a game with no decided deal.
  TfrmEstadisticas todos(nullptr);
  auto celda = [&](const QString& nombre) -> QTableWidgetItem* {
    for (int f = 0; f < todos.lvEstadisticas->rowCount(); ++f)
      if (todos.lvEstadisticas->item(f, 0)->text() == nombre)
        return todos.lvEstadisticas->item(f, 4);
    return nullptr;
  };
  ASSERT_NE(celda(juego), nullptr);
  EXPECT_EQ(todos.lvEstadisticas->horizontalHeaderItem(4)->text(), QStringLiteral("% de\nganables"));
  EXPECT_EQ(celda(juego)->text(), QStringLiteral("100 %"));
  EXPECT_EQ(celda(juego)->toolTip(), QStringLiteral("Ganados 1 de 1 repartos ganables"));
  EXPECT_EQ(celda(QStringLiteral("Strup"))->text(), QStringLiteral("—"));
}

}  // namespace
