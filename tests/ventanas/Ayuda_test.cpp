// The help file and its viewer: every context the program asks for has its page,
// and the viewer opens on a context, on the contents, and empty when it must.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QListWidget>
#include <QTest>
#include <QTimer>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QUrl>

#include "games/Registro.h"
#include "play/ventanas/Ayuda.h"

namespace {

const QString kArchivo = QStringLiteral(CARTOVAL_RECURSOS "/ZARP(Esp).hlp");

const TTemaAyuda* Tema(const QVector<TTemaAyuda>& temas, const QString& id) {
  for (const auto& t : temas)
    if (t.Id == id) return &t;
  return nullptr;
}

}  // namespace

TEST(ArchivoAyuda, UnaPaginaPorJuegoConSuContextoMasReversosYContenido) {
  const auto temas = LeerTemasAyuda(kArchivo);
  ASSERT_NE(Tema(temas, QStringLiteral("contenido")), nullptr);
  ASSERT_NE(Tema(temas, QStringLiteral("tema-280")), nullptr);
  const QString contenido = Tema(temas, QStringLiteral("contenido"))->Html;
  EXPECT_TRUE(contenido.contains(QStringLiteral("#tema-280")));
  for (const auto& juego : Juegos()) {
    SCOPED_TRACE(juego.Nombre);
    const QString id = QStringLiteral("tema-%1").arg(juego.ContextoAyuda);
    const TTemaAyuda* tema = Tema(temas, id);
    ASSERT_NE(tema, nullptr);
    EXPECT_EQ(tema->Titulo, QString::fromUtf8(juego.Nombre));
    // The contents links every game.
    EXPECT_TRUE(contenido.contains(QStringLiteral("\"#") + id + QStringLiteral("\"")));
    EXPECT_GT(tema->Html.size(), 400);
  }
  // No page twice.
  for (int a = 0; a < temas.size(); ++a)
    for (int b = a + 1; b < temas.size(); ++b) EXPECT_NE(temas[a].Id, temas[b].Id);
  EXPECT_EQ(temas.size(), 18);
}

TEST(ArchivoAyuda, ArchivoFaltanteOAjenoNoTieneTemas) {
  EXPECT_TRUE(LeerTemasAyuda(QStringLiteral("/no/existe/ZARP(Esp).hlp")).isEmpty());
  QTemporaryDir carpeta;
  QFile ajeno(carpeta.filePath(QStringLiteral("ajeno.hlp")));
  ASSERT_TRUE(ajeno.open(QIODevice::WriteOnly));
  ajeno.write("?_\x03\x00 not a help file of ours <section id=\"x\">");
  ajeno.close();
  EXPECT_TRUE(LeerTemasAyuda(ajeno.fileName()).isEmpty());
}

TEST(VisorAyuda, AbreEnUnContextoSinBloquear) {
  AbrirAyuda(kArchivo, 260);
  TfrmAyuda* visor = TfrmAyuda::Instancia();
  ASSERT_NE(visor, nullptr);
  EXPECT_TRUE(visor->isVisible());
  EXPECT_FALSE(visor->isModal());
  EXPECT_EQ(visor->TemaActual(), QStringLiteral("tema-260"));
  EXPECT_TRUE(visor->TextoPagina().contains(QStringLiteral("Cuatro Reyes")));
  EXPECT_EQ(visor->CantidadTemas(), LeerTemasAyuda(kArchivo).size());

  // The same window is reused for the next request.
  AbrirAyuda(kArchivo, 280);
  EXPECT_EQ(TfrmAyuda::Instancia(), visor);
  EXPECT_EQ(visor->TemaActual(), QStringLiteral("tema-280"));
  visor->close();
  QApplication::processEvents();
}

// Help asked for from a modal dialog takes clicks while the dialog runs, and stays open
// after it closes.
TEST(VisorAyuda, DesdeUnDialogoModalRecibeClicks) {
  QDialog dialogo;
  QString temaElegido;
  QTimer::singleShot(0, &dialogo, [&] {
    AbrirAyuda(kArchivo, 280);
    TfrmAyuda* visor = TfrmAyuda::Instancia();
    if (visor && QTest::qWaitForWindowExposed(visor)) {
      auto* lista = visor->findChild<QListWidget*>();
      const int fila = lista->currentRow() == 0 ? 1 : 0;
      const QPoint punto = lista->viewport()->mapTo(
          visor, lista->visualItemRect(lista->item(fila)).center());
      QTest::mouseClick(visor->windowHandle(), Qt::LeftButton, {}, punto);
      temaElegido = visor->TemaActual();
    }
    dialogo.reject();
  });
  dialogo.exec();
  TfrmAyuda* visor = TfrmAyuda::Instancia();
  ASSERT_NE(visor, nullptr);
  EXPECT_FALSE(temaElegido.isEmpty());
  EXPECT_NE(temaElegido, QStringLiteral("tema-280"));
  EXPECT_TRUE(visor->isVisible());
  visor->close();
  QApplication::processEvents();
}

TEST(VisorAyuda, AbreElContenidoYSigueSusEnlaces) {
  AbrirContenidoAyuda(kArchivo);
  TfrmAyuda* visor = TfrmAyuda::Instancia();
  ASSERT_NE(visor, nullptr);
  EXPECT_EQ(visor->TemaActual(), QStringLiteral("contenido"));
  auto* pagina = visor->findChild<QTextBrowser*>();
  ASSERT_NE(pagina, nullptr);
  emit pagina->anchorClicked(QUrl(QStringLiteral("#tema-170")));
  EXPECT_EQ(visor->TemaActual(), QStringLiteral("tema-170"));
  EXPECT_TRUE(visor->TextoPagina().contains(QStringLiteral("Rompecabezas")));
  // A link leading out of the file is not followed.
  emit pagina->anchorClicked(QUrl(QStringLiteral("http://ejemplo.invalid/#tema-40")));
  EXPECT_EQ(visor->TemaActual(), QStringLiteral("tema-170"));
  visor->close();
  QApplication::processEvents();
}

TEST(VisorAyuda, ArchivoFaltanteOContextoDesconocidoAbrenVacio) {
  AbrirAyuda(QStringLiteral("/no/existe/ZARP(Esp).hlp"), 40);
  TfrmAyuda* visor = TfrmAyuda::Instancia();
  ASSERT_NE(visor, nullptr);
  EXPECT_TRUE(visor->isVisible());
  EXPECT_EQ(visor->CantidadTemas(), 0);
  EXPECT_TRUE(visor->TemaActual().isEmpty());
  EXPECT_TRUE(visor->TextoPagina().isEmpty());

  AbrirContenidoAyuda(QStringLiteral("/no/existe/ZARP(Esp).hlp"));
  EXPECT_TRUE(visor->TextoPagina().isEmpty());

  // The real file, a context it does not hold: the topics are listed, the page is blank.
  AbrirAyuda(kArchivo, 9999);
  EXPECT_GT(visor->CantidadTemas(), 0);
  EXPECT_TRUE(visor->TemaActual().isEmpty());
  EXPECT_TRUE(visor->TextoPagina().isEmpty());
  visor->close();
  QApplication::processEvents();
}
