// The program's shortcuts pressed as a player would, on the focused widget of the active
// window; and Qt's standard texts in Spanish.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <filesystem>

#include "backs/ventanas/Reversos.h"
#include "games/Juegos.h"
#include "games/Registro.h"
#include "play/ventanas/Ayuda.h"
#include "play/ventanas/Juego.h"
#include "play/ventanas/Principal.h"
#include "play/ventanas/Programa.h"
#include "play/ventanas/Tapete.h"
#include "play/ventanas/Traducciones.h"
#include "tests/ventanas/Modales.h"
#include "tests/ventanas/Movidas.h"

namespace {

// The program's folder with the help file in it, so that F1 has pages to open.
class ConAyuda : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(carpeta.isValid());
    ASSERT_TRUE(QFile::copy(QStringLiteral(CARTOVAL_RECURSOS "/ZARP(Esp).hlp"),
                            carpeta.filePath(QStringLiteral("ZARP(Esp).hlp"))));
    Programa().Carpeta = std::filesystem::path(carpeta.path().toStdString());
  }
  void TearDown() override {
    if (TfrmAyuda* visor = TfrmAyuda::Instancia()) visor->hide();
    Programa().Carpeta.clear();
  }

  // The page the viewer shows after the key, then the viewer is put away and `ventana`
  // is the active one again.
  static QString TemaTrasTecla(QWidget* ventana, QWidget* foco, QKeyCombination tecla) {
    QTest::keyClick(foco, tecla.key(), tecla.keyboardModifiers());
    TfrmAyuda* visor = TfrmAyuda::Instancia();
    const QString tema = visor && visor->isVisible() ? visor->TemaActual() : QString();
    if (visor) visor->hide();
    ventana->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(ventana));
    return tema;
  }

  QTemporaryDir carpeta;
};

using AtajosJuego = ConAyuda;

TEST_F(AtajosJuego, LasTeclasHacenLoQueSusBotonesYLosHintsLasNombran) {
  TfrmJuego juego;
  std::vector<QString> preguntas;
  juego.Preguntar = [&](const QString& p) {
    preguntas.push_back(p);
    return false;
  };
  int numerosPedidos = 0;
  juego.PedirNumero = [&] {
    ++numerosPedidos;
    return false;
  };
  juego.show();
  juego.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&juego));
  std::optional<TMovida> mv;
  for (std::int32_t n = 1; n < 500 && !mv; ++n) {
    juego.mesa.LiberarMesa();
    juego.Jugar(PrepararSolitarioDeLosSieteMontones, n);
    mv = BuscarMovida(juego.mesa, true);
  }
  ASSERT_TRUE(mv);
  QWidget* foco = juego.Tapete;
  foco->setFocus();
  TPila* desde = mv->carta->Pila;

  // Snapshot, a move, undo with Ctrl+Z; the move again and back to the snapshot.
  EXPECT_FALSE(juego.tbVolverInstantanea->isEnabled());
  QTest::keyClick(foco, Qt::Key_T, Qt::ControlModifier);
  EXPECT_TRUE(juego.tbVolverInstantanea->isEnabled());
  const QPoint a = Centro(*juego.Tapete, *mv->carta),
               b = Centro(*juego.Tapete, Blanco(*mv->destino));
  const auto arrastrar = [&] {
    QTest::mousePress(juego.Tapete, Qt::LeftButton, {}, a);
    QTest::mouseMove(juego.Tapete, b);
    QTest::mouseRelease(juego.Tapete, Qt::LeftButton, {}, b);
  };
  arrastrar();
  ASSERT_EQ(mv->carta->Pila, mv->destino);
  const std::uint16_t movimientos = juego.mesa.Movimientos;
  QTest::keyClick(foco, Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(mv->carta->Pila, desde);
  EXPECT_GT(juego.mesa.Movimientos, movimientos);
  arrastrar();
  ASSERT_EQ(mv->carta->Pila, mv->destino);
  QTest::keyClick(foco, Qt::Key_T, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(mv->carta->Pila, desde);
  EXPECT_FALSE(juego.tbVolverInstantanea->isEnabled());

  // The three that ask first: answered No, nothing is dealt again.
  const std::int32_t numero = juego.mesa.NumeroJuego;
  QTest::keyClick(foco, Qt::Key_N, Qt::ControlModifier);
  QTest::keyClick(foco, Qt::Key_R, Qt::ControlModifier);
  QTest::keyClick(foco, Qt::Key_J, Qt::ControlModifier);
  ASSERT_EQ(preguntas.size(), 2u);
  EXPECT_EQ(preguntas[0], QStringLiteral("¿Estás seguro que querés terminar el juego actual?"));
  EXPECT_EQ(preguntas[1], QStringLiteral("¿Estás seguro de reiniciar el juego?"));
  EXPECT_EQ(numerosPedidos, 1);
  EXPECT_EQ(juego.mesa.NumeroJuego, numero);

  // F1 opens this game's page, Shift+F1 the contents.
  EXPECT_EQ(TemaTrasTecla(&juego, foco, Qt::Key_F1),
            QStringLiteral("tema-%1").arg(juego.mesa.ContextoAyuda));
  EXPECT_EQ(TemaTrasTecla(&juego, foco, Qt::SHIFT | Qt::Key_F1), QStringLiteral("contenido"));

  // Ctrl+P opens the score table.
  TModales modales;
  bool tabla = false;
  modales.Luego<QDialog>([&](QDialog& d) {
    tabla = d.windowTitle().startsWith(QStringLiteral("ZARP - Puntuaciones de "));
    d.reject();
  });
  QTest::keyClick(foco, Qt::Key_P, Qt::ControlModifier);
  EXPECT_TRUE(tabla);
  // Ctrl+E the card-back chooser; the offscreen platform gives the focus back to no one.
  juego.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&juego));
  bool selector = false;
  modales.Luego<TfrmReversos>([&](TfrmReversos& r) {
    selector = true;
    r.reject();
  });
  QTest::keyClick(foco, Qt::Key_E, Qt::ControlModifier);
  EXPECT_TRUE(selector);
  EXPECT_TRUE(modales.Terminados());
  EXPECT_TRUE(modales.Inesperados.empty());

  // Every button's hint is its text followed by its keys.
  for (QAction* accion :
       {juego.tbNuevo, juego.tbJugarNro, juego.tbReiniciar, juego.tbReversos, juego.tbDeshacer,
        juego.tbInstantanea, juego.tbVolverInstantanea, juego.tbPuntuacion, juego.rbAyudaJuego,
        juego.rbAyudaGeneral}) {
    ASSERT_FALSE(accion->shortcut().isEmpty()) << accion->text().toStdString();
    EXPECT_EQ(accion->toolTip(),
              accion->text() + " (" + accion->shortcut().toString(QKeySequence::NativeText) + ")");
  }
  juego.mesa.JuegoTerminado = true;
}

using AtajosPrincipal = ConAyuda;

TEST_F(AtajosPrincipal, F1AbreElJuegoElegidoYCtrlNLoEmpieza) {
  TfrmPrincipal principal;
  std::vector<std::string> iniciados;
  principal.MostrarJuego = [&](TfrmJuego& j) { iniciados.push_back(j.mesa.NombreJuego); };
  int numerosPedidos = 0;
  principal.PedirNumero = [&] {
    ++numerosPedidos;
    return false;
  };
  principal.show();
  principal.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&principal));
  QListWidget* lb = principal.lbJuegos;
  lb->setCurrentRow(14);  // Strup
  const int contexto = ContextoDeAyuda(QuitarEspacios("Strup"));
  EXPECT_EQ(TemaTrasTecla(&principal, lb, Qt::Key_F1), QStringLiteral("tema-%1").arg(contexto));
  lb->setCurrentRow(14);
  EXPECT_EQ(TemaTrasTecla(&principal, lb, Qt::SHIFT | Qt::Key_F1), QStringLiteral("contenido"));
  lb->setCurrentRow(14);
  QTest::keyClick(lb, Qt::Key_N, Qt::ControlModifier);
  QTest::keyClick(lb, Qt::Key_J, Qt::ControlModifier);
  ASSERT_EQ(iniciados.size(), 1u);
  EXPECT_EQ(iniciados[0], "Strup");
  EXPECT_EQ(numerosPedidos, 1);
  for (QAction* accion : {principal.tbNuevo, principal.tbJugarNro, principal.tbPuntuaciones,
                          principal.tbReversos, principal.tbAyudaJuego, principal.tbAyudaGeneral}) {
    ASSERT_FALSE(accion->shortcut().isEmpty()) << accion->text().toStdString();
    EXPECT_EQ(accion->toolTip(),
              accion->text() + " (" + accion->shortcut().toString(QKeySequence::NativeText) + ")");
  }
}

using AtajosReversos = ConAyuda;

TEST_F(AtajosReversos, F1EnElSelectorAbreSuPagina) {
  TfrmReversos reversos;
  reversos.show();
  reversos.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&reversos));
  QWidget* foco = reversos.focusWidget() ? reversos.focusWidget() : &reversos;
  EXPECT_EQ(TemaTrasTecla(&reversos, foco, Qt::Key_F1), QStringLiteral("tema-280"));
  reversos.hide();
}

TEST(TraduccionesQt, LasPreguntasRespondenSiONoEnCastellano) {
  ASSERT_TRUE(CargarTraduccionesQt()) << CarpetaTraduccionesQt().toStdString();
  // A second call keeps the one catalogue.
  EXPECT_TRUE(CargarTraduccionesQt());

  // The game window's own question, as the player sees it.
  TfrmJuego juego;
  TModales modales;
  QString si, no, titulo;
  QMessageBox::Icon icono = QMessageBox::NoIcon;
  modales.Luego<QMessageBox>([&](QMessageBox& caja) {
    si = caja.button(QMessageBox::Yes)->text().remove('&');
    no = caja.button(QMessageBox::No)->text().remove('&');
    titulo = caja.windowTitle();
    icono = caja.icon();
    QTest::mouseClick(caja.button(QMessageBox::No), Qt::LeftButton);
  });
  EXPECT_FALSE(juego.Preguntar(QStringLiteral("¿Estás seguro de reiniciar el juego?")));
  EXPECT_TRUE(modales.Terminados());
  EXPECT_EQ(si, QStringLiteral("Sí"));
  EXPECT_EQ(no, QStringLiteral("No"));
  EXPECT_EQ(titulo, QStringLiteral("ZARP - Confirmación"));
  EXPECT_EQ(icono, QMessageBox::Question);
  // Key names in the hints are Spanish too.
  EXPECT_TRUE(juego.tbVolverInstantanea->toolTip().contains(QStringLiteral("Mayúsculas")))
      << juego.tbVolverInstantanea->toolTip().toStdString();
  juego.mesa.JuegoTerminado = true;
}

}  // namespace
