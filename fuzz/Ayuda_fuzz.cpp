// The help file on any bytes: reading its topics and style, then each page as the viewer
// gets it, laid out with pictures loaded only through the viewer's own loader, from a
// folder that also holds a FIFO and a link to /dev/zero. A read that blocks, a layout that
// takes seconds or memory without bound is a failure (libFuzzer's timeout and RSS limit).
// Small files are also read with the plain pattern, which must find the same topics.
#include <sys/stat.h>

#include <QApplication>
#include <QFile>
#include <QImage>
#include <QRegularExpression>
#include <QTextDocument>

#include <cstdint>
#include <string>

#include "fuzz/Comun.h"
#include "play/ventanas/Ayuda.h"

namespace {

QString Carpeta() {
  static const QString carpeta = [] {
    const QString c = QString::fromStdString(fuzz::CarpetaPropia().string());
    QImage imagen(3, 2, QImage::Format_RGB32);
    imagen.fill(Qt::blue);
    imagen.save(c + QStringLiteral("/bien.png"));
    ::mkfifo(QFile::encodeName(c + QStringLiteral("/tuberia")).constData(), 0600);
    QFile::link(QStringLiteral("/dev/zero"), c + QStringLiteral("/cero"));
    return c;
  }();
  return carpeta;
}

// The topics as the plain pattern reads them: quadratic on hostile files, so only small ones.
void CompararConPatron(const QString& texto, const QVector<TTemaAyuda>& temas) {
  static const QRegularExpression patron(
      QStringLiteral("<section\\s+id=\"([^\"]{1,200})\"\\s+title=\"([^\"]{0,1000})\"\\s*>(.*?)</section>"),
      QRegularExpression::DotMatchesEverythingOption);
  int i = 0;
  for (auto it = patron.globalMatch(texto); it.hasNext(); ++i) {
    const auto m = it.next();
    fuzz::Exigir(i < temas.size(), "faltan temas");
    fuzz::Exigir(temas[i].Id == m.captured(1) && temas[i].Titulo == m.captured(2), "otro tema");
    // A page too deeply nested is left empty, never changed otherwise.
    fuzz::Exigir(temas[i].Html.isEmpty() || temas[i].Html == m.captured(3), "otra página");
  }
  fuzz::Exigir(i == temas.size(), "temas de más");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* datos, std::size_t largo) {
  static int argc = 1;
  static char nombre[] = "fuzz_ayuda";
  static char* argv[] = {nombre, nullptr};
  // Never destroyed: what Qt's fonts hold from the system's font library stays reachable.
  static QApplication* aplicacion = new QApplication(argc, argv);
  (void)aplicacion;

  const QString texto = QString::fromUtf8(reinterpret_cast<const char*>(datos), static_cast<qsizetype>(largo));
  const QVector<TTemaAyuda> temas = TemasDeAyuda(texto);
  const QString estilo = EstiloDeAyuda(texto);
  if (largo <= 8192) CompararConPatron(texto, temas);

  TPaginaAyuda pagina;
  pagina.PonerCarpeta(Carpeta());
  pagina.resize(550, 480);
  // The first pages are enough: each is laid out on its own, as the viewer shows one.
  for (int i = 0; i < temas.size() && i < 4; ++i) {
    pagina.document()->setDefaultStyleSheet(estilo);
    pagina.setHtml(temas[i].Html);
    pagina.document()->setTextWidth(530);
    volatile qreal alto = pagina.document()->size().height();
    (void)alto;
    volatile qsizetype n = pagina.toPlainText().size();
    (void)n;
  }
  return 0;
}
