// The help file and its viewer: every context the program asks for has its page,
// and the viewer opens on a context, on the contents, and empty when it must.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QFile>
#include <QListWidget>
#include <QTest>
#include <QTimer>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QUrl>

#include <sys/stat.h>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <thread>

#include <QTextDocument>

#include "games/Registro.h"
#include "play/ventanas/Ayuda.h"

namespace {

const QString kArchivo = QStringLiteral(CARTOVAL_RECURSOS "/ZARP(Esp).hlp");

const TTemaAyuda* Tema(const QVector<TTemaAyuda>& temas, const QString& id) {
  for (const auto& t : temas)
    if (t.Id == id) return &t;
  return nullptr;
}

// Ends the whole test program when a block of code does not return in time: a read that
// waits for ever fails here instead of holding the run until ctest gives up.
class TVigia {
 public:
  TVigia(int segundos, const char* que) : hilo_([this, segundos, que] {
      std::unique_lock<std::mutex> l(m_);
      if (!cv_.wait_for(l, std::chrono::seconds(segundos), [this] { return listo_; })) {
        std::fprintf(stderr, "FALLA: %s no volvió en %d s\n", que, segundos);
        std::_Exit(3);
      }
    }) {}
  ~TVigia() {
    {
      std::lock_guard<std::mutex> l(m_);
      listo_ = true;
    }
    cv_.notify_one();
    hilo_.join();
  }

 private:
  std::mutex m_;
  std::condition_variable cv_;
  bool listo_ = false;
  std::thread hilo_;
};

void Escribir(const QString& ruta, const QByteArray& bytes) {
  QFile f(ruta);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(bytes);
}

QByteArray Anidadas(const char* etiqueta, int veces) {
  QByteArray abre = QByteArray("<") + etiqueta + ">", cierra = QByteArray("</") + etiqueta + ">";
  return abre.repeated(veces) + "x" + cierra.repeated(veces);
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

// The help file itself replaced by a FIFO, a device or a link to one: no topics, at once.
TEST(ArchivoAyuda, LoQueNoEsUnArchivoRegularNoSeLee) {
  QTemporaryDir carpeta;
  const QString tuberia = carpeta.filePath(QStringLiteral("ZARP(Esp).hlp"));
  ASSERT_EQ(mkfifo(QFile::encodeName(tuberia).constData(), 0600), 0);
  const QString enlace = carpeta.filePath(QStringLiteral("cero.hlp"));
  ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), enlace));
  TVigia vigia(20, "leer una FIFO o /dev/zero como archivo de ayuda");
  EXPECT_TRUE(LeerTemasAyuda(tuberia).isEmpty());
  EXPECT_TRUE(LeerTemasAyuda(QStringLiteral("/dev/zero")).isEmpty());
  EXPECT_TRUE(LeerTemasAyuda(enlace).isEmpty());
  EXPECT_TRUE(LeerTemasAyuda(carpeta.path()).isEmpty());
}

// A page loads a picture only from a regular, small file inside the help file's folder;
// whatever else it names loads nothing and never holds the viewer.
TEST(VisorAyuda, SoloCargaArchivosRegularesDeSuCarpeta) {
  QTemporaryDir afuera;
  QTemporaryDir carpeta;
  const QString dentro = carpeta.path();
  QImage imagen(4, 4, QImage::Format_RGB32);
  imagen.fill(Qt::red);
  ASSERT_TRUE(imagen.save(dentro + QStringLiteral("/bien.png")));
  ASSERT_TRUE(QDir(dentro).mkdir(QStringLiteral("sub")));
  ASSERT_TRUE(imagen.save(dentro + QStringLiteral("/sub/bien.png")));
  ASSERT_TRUE(imagen.save(afuera.filePath(QStringLiteral("ajena.png"))));
  ASSERT_EQ(mkfifo(QFile::encodeName(dentro + QStringLiteral("/tuberia")).constData(), 0600), 0);
  ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), dentro + QStringLiteral("/cero")));
  ASSERT_TRUE(QFile::link(afuera.filePath(QStringLiteral("ajena.png")), dentro + QStringLiteral("/afuera.png")));
  ASSERT_TRUE(QFile::link(dentro + QStringLiteral("/bien.png"), dentro + QStringLiteral("/enlace.png")));
  Escribir(dentro + QStringLiteral("/grande.png"), QByteArray(kTamannoRecursoAyuda + 1, 'x'));

  const QStringList nada = {
      QStringLiteral("tuberia"), QStringLiteral("cero"), QStringLiteral("/dev/zero"),
      QStringLiteral("file:///dev/zero"), QStringLiteral("afuera.png"), QStringLiteral("grande.png"),
      QStringLiteral("../") + QFileInfo(afuera.path()).fileName() + QStringLiteral("/ajena.png"),
      afuera.filePath(QStringLiteral("ajena.png")), dentro + QStringLiteral("/bien.png"),
      QStringLiteral("sub"), QStringLiteral("#tema-1"), QStringLiteral("http://ejemplo.invalid/x.png"),
      QStringLiteral("no-existe.png")};
  QByteArray html = "<section id=\"contenido\" title=\"Contenido\"><p>Texto</p>";
  for (const auto& n : nada) html += "<img src=\"" + n.toUtf8() + "\">";
  html += "<img src=\"bien.png\"></section>";
  const QString archivo = dentro + QStringLiteral("/ZARP(Esp).hlp");
  Escribir(archivo, html);

  TVigia vigia(20, "abrir una página con imágenes hostiles");
  for (const auto& n : nada) EXPECT_TRUE(CargarRecursoAyuda(dentro, QUrl(n)).isEmpty()) << n.toStdString();
  for (const char* bien : {"bien.png", "sub/bien.png", "enlace.png", "./sub/../bien.png"})
    EXPECT_EQ(QImage::fromData(CargarRecursoAyuda(dentro, QUrl(QString::fromUtf8(bien)))).size(), QSize(4, 4))
        << bien;

  AbrirContenidoAyuda(archivo);
  TfrmAyuda* visor = TfrmAyuda::Instancia();
  ASSERT_NE(visor, nullptr);
  QApplication::processEvents();
  EXPECT_EQ(visor->TemaActual(), QStringLiteral("contenido"));
  auto* pagina = visor->findChild<QTextBrowser*>();
  ASSERT_NE(pagina, nullptr);
  // What the page loaded: the good picture, and nothing for the FIFO.
  EXPECT_FALSE(pagina->document()->resource(QTextDocument::ImageResource, QUrl(QStringLiteral("bien.png"))).isNull());
  EXPECT_TRUE(pagina->loadResource(QTextDocument::ImageResource, QUrl(QStringLiteral("tuberia"))).toByteArray().isEmpty());
  EXPECT_TRUE(pagina->document()->resource(QTextDocument::ImageResource, QUrl(QStringLiteral("cero"))).toByteArray().isEmpty());
  visor->close();
  QApplication::processEvents();
}

// Pages nested deeper than the viewer can lay out keep their title but show nothing; an
// ordinary page, with ends left out where HTML allows it, is shown.
TEST(VisorAyuda, UnaPaginaAnidadaSinFinNoSeMuestra) {
  QTemporaryDir carpeta;
  const QString archivo = carpeta.filePath(QStringLiteral("ZARP(Esp).hlp"));
  const QByteArray tablas = QByteArray("<table><tr><td>").repeated(20000);
  Escribir(archivo,
           "<section id=\"tema-1\" title=\"Tablas\">" + tablas + "</section>" +
               "<section id=\"tema-2\" title=\"Div\">" + Anidadas("div", 100) + "</section>" +
               "<section id=\"tema-3\" title=\"Bien\"><!-- <div><div> -->" + Anidadas("table", 4) +
               QByteArray("<p>párrafo <b>sin</b> fin").repeated(200) + QByteArray("<li>uno").repeated(200) +
               "<br><img src=\"x.png\"/>" + Anidadas("blockquote", 40) + "</section>" +
               "<section id=\"tema-4\" title=\"Diez tablas\">" + Anidadas("table", 10) + "</section>" +
               "<section id=\"tema-5\" title=\"Muchas\">" + Anidadas("table", 8).repeated(100) + "</section>" +
               "<section id=\"tema-6\" title=\"Algunas\">" + Anidadas("table", 8).repeated(4) +
               Anidadas("table", 1).repeated(500) + "</section>");
  TVigia vigia(60, "mostrar una página anidada sin fin");
  const auto temas = LeerTemasAyuda(archivo);
  ASSERT_EQ(temas.size(), 6);
  EXPECT_EQ(temas[0].Titulo, QStringLiteral("Tablas"));
  EXPECT_TRUE(temas[0].Html.isEmpty());
  EXPECT_TRUE(temas[1].Html.isEmpty());
  EXPECT_FALSE(temas[2].Html.isEmpty());
  EXPECT_TRUE(temas[3].Html.isEmpty());
  // Nested tables add up: a hundred eight deep are too many, four are not.
  EXPECT_TRUE(temas[4].Html.isEmpty());
  EXPECT_FALSE(temas[5].Html.isEmpty());

  AbrirAyuda(archivo, 1);
  TfrmAyuda* visor = TfrmAyuda::Instancia();
  ASSERT_NE(visor, nullptr);
  EXPECT_EQ(visor->TemaActual(), QStringLiteral("tema-1"));
  EXPECT_TRUE(visor->TextoPagina().trimmed().isEmpty());
  AbrirAyuda(archivo, 3);
  EXPECT_TRUE(visor->TextoPagina().contains(QStringLiteral("párrafo sin fin")));
  visor->grab();
  visor->close();
  QApplication::processEvents();
}

// Headers that never close give no topics, and those before them stay; ids and titles of
// any reasonable length are read.
TEST(ArchivoAyuda, CabecerasSinCierreNoDejanTemas) {
  const QString id(200, u'a');
  const QString texto = QStringLiteral("<section id=\"%1\" title=\"%2\"><p>uno</p></section>")
                            .arg(id, QString(1000, u't')) +
                        QStringLiteral("<section id=\"x\" title=\"y\">").repeated(1000) +
                        QStringLiteral("<section id=\"%1\" title=\"z\">").arg(QString(100000, u'b'));
  const auto temas = TemasDeAyuda(texto);
  ASSERT_EQ(temas.size(), 1);
  EXPECT_EQ(temas[0].Id, id);
  EXPECT_EQ(temas[0].Html, QStringLiteral("<p>uno</p>"));
  EXPECT_EQ(EstiloDeAyuda(QStringLiteral("<STYLE type=\"text/css\">p{}</Style><style>q{}</style>")),
            QStringLiteral("p{}"));
  EXPECT_TRUE(EstiloDeAyuda(QStringLiteral("<style>p{}").repeated(100)).isEmpty());
}
