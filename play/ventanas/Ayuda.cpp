#include "play/ventanas/Ayuda.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <optional>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPointer>
#include <QRegularExpression>
#include <QSplitter>
#include <QUrl>

#include "resources/Dibujos.h"

namespace {

// Help files are small; anything larger is not a help file of ours.
constexpr qint64 kTamannoMaximo = 4 * 1024 * 1024;
// Deeper pages are not ours either, and Qt's layout of nested tables grows much faster than
// the page: a few thousand nested tables hold the window for minutes.
// Laying out a table costs about twice what its cells cost: a table at depth d costs 2^d.
// The sum over a page stays under a budget (say sixteen tables eight deep), so that many
// moderately nested tables cannot add up to a freeze either.
constexpr int kAnidamientoMaximo = 64;
constexpr int kTablasAnidadasMaximo = 8;
constexpr qint64 kCosteTablasMaximo = qint64{1} << 12;

// The bytes of a regular file of at most `maximo` bytes; none for anything else. The file
// is opened without waiting (a FIFO would block a plain open) and judged by what was
// opened, so a file swapped after a check is judged too.
std::optional<QByteArray> LeerArchivoRegular(const QString& ruta, qint64 maximo) {
  const QByteArray nativa = QFile::encodeName(ruta);
  const int fd = ::open(nativa.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return std::nullopt;
  struct stat datos {};
  if (::fstat(fd, &datos) != 0 || !S_ISREG(datos.st_mode) || datos.st_size > maximo) {
    ::close(fd);
    return std::nullopt;
  }
  QFile f;
  if (!f.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
    ::close(fd);
    return std::nullopt;
  }
  // A file that grows while it is read is cut short at the limit and refused.
  QByteArray bytes = f.read(maximo + 1);
  if (bytes.size() > maximo) return std::nullopt;
  return bytes;
}

QString LeerTexto(const QString& archivo) {
  const auto bytes = LeerArchivoRegular(archivo, kTamannoMaximo);
  return bytes ? QString::fromUtf8(*bytes) : QString();
}

bool ElementoVacio(QStringView nombre) {
  static const QStringList vacios = {
      QStringLiteral("area"),  QStringLiteral("base"),   QStringLiteral("br"),
      QStringLiteral("col"),   QStringLiteral("embed"),  QStringLiteral("hr"),
      QStringLiteral("img"),   QStringLiteral("input"),  QStringLiteral("link"),
      QStringLiteral("meta"),  QStringLiteral("param"),  QStringLiteral("source"),
      QStringLiteral("track"), QStringLiteral("wbr")};
  return vacios.contains(nombre, Qt::CaseInsensitive);
}

// Elements whose end tag may be left out: the next one of the same name closes them.
bool CierreOpcional(QStringView nombre) {
  static const QStringList opcionales = {
      QStringLiteral("p"),  QStringLiteral("li"), QStringLiteral("dt"), QStringLiteral("dd"),
      QStringLiteral("tr"), QStringLiteral("td"), QStringLiteral("th"), QStringLiteral("option")};
  return opcionales.contains(nombre, Qt::CaseInsensitive);
}

// Whether the elements of a page nest no deeper than the viewer can lay out. One pass;
// the open elements are at most kAnidamientoMaximo, so closing one costs little.
bool AnidamientoAceptable(QStringView html) {
  QVector<QString> abiertos;
  int tablas = 0;
  qint64 coste = 0;
  const qsizetype n = html.size();
  for (qsizetype i = html.indexOf(u'<'); i >= 0 && i < n; i = html.indexOf(u'<', i + 1)) {
    if (html.mid(i, 4) == u"<!--") {
      const qsizetype fin = html.indexOf(u"-->", i + 4);
      if (fin < 0) break;
      i = fin + 2;
      continue;
    }
    const bool cierre = i + 1 < n && html[i + 1] == u'/';
    qsizetype j = i + (cierre ? 2 : 1);
    const qsizetype inicio = j;
    while (j < n && (html[j].isLetterOrNumber())) ++j;
    if (j == inicio) continue;
    const QString nombre = html.mid(inicio, j - inicio).toString().toLower();
    const qsizetype fin = html.indexOf(u'>', j);
    if (fin < 0) break;
    const bool autocerrado = html[fin - 1] == u'/';
    i = fin;
    if (cierre) {
      const qsizetype k = abiertos.lastIndexOf(nombre);
      if (k < 0) continue;
      for (qsizetype q = k; q < abiertos.size(); ++q)
        if (abiertos[q] == u"table") --tablas;
      abiertos.resize(k);
      continue;
    }
    if (ElementoVacio(nombre) || autocerrado) continue;
    if (CierreOpcional(nombre) && !abiertos.isEmpty() && abiertos.last() == nombre)
      abiertos.removeLast();
    abiertos.push_back(nombre);
    if (nombre == u"table") {
      if (++tablas > kTablasAnidadasMaximo) return false;
      coste += qint64{1} << tablas;
      if (coste > kCosteTablasMaximo) return false;
    }
    if (abiertos.size() > kAnidamientoMaximo) return false;
  }
  return true;
}

QPointer<TfrmAyuda>& Unica() {
  static QPointer<TfrmAyuda> ventana;
  return ventana;
}

void Abrir(const QString& archivo, const QString& id) {
  TfrmAyuda* v = TfrmAyuda::ObtenerInstancia();
  // Help asked for from a modal dialog (the back chooser) must take input while that
  // dialog runs: a window the dialog owns is not blocked by it. The viewer stays open
  // when the dialog closes; if the dialog goes, a new viewer is made next time.
  QWidget* modal = QApplication::activeModalWidget();
  if (modal && modal != v && v->parentWidget() != modal)
    v->setParent(modal, Qt::Window);
  v->Mostrar(archivo, id);
  v->show();
  v->raise();
  v->activateWindow();
}

}  // namespace

QVector<TTemaAyuda> TemasDeAyuda(const QString& texto) {
  // Ids and titles are short; bounding them keeps a failed header from reading far.
  static const QRegularExpression cabecera(
      QStringLiteral("<section\\s+id=\"([^\"]{1,200})\"\\s+title=\"([^\"]{0,1000})\"\\s*>"));
  static const QString cierre = QStringLiteral("</section>");
  QVector<TTemaAyuda> temas;
  for (qsizetype desde = 0;;) {
    const auto m = cabecera.match(texto, desde);
    if (!m.hasMatch()) break;
    const qsizetype fin = texto.indexOf(cierre, m.capturedEnd());
    // No closing tag after this header: none after any later header either.
    if (fin < 0) break;
    const QStringView pagina = QStringView(texto).mid(m.capturedEnd(), fin - m.capturedEnd());
    temas.push_back({m.captured(1), m.captured(2),
                     AnidamientoAceptable(pagina) ? pagina.toString() : QString()});
    desde = fin + cierre.size();
  }
  return temas;
}

QString EstiloDeAyuda(const QString& texto) {
  const qsizetype inicio = texto.indexOf(QStringLiteral("<style"), 0, Qt::CaseInsensitive);
  if (inicio < 0) return {};
  const qsizetype abre = texto.indexOf(u'>', inicio);
  if (abre < 0) return {};
  const qsizetype fin = texto.indexOf(QStringLiteral("</style>"), abre, Qt::CaseInsensitive);
  return fin < 0 ? QString() : texto.mid(abre + 1, fin - abre - 1);
}

QVector<TTemaAyuda> LeerTemasAyuda(const QString& archivo) { return TemasDeAyuda(LeerTexto(archivo)); }

QByteArray CargarRecursoAyuda(const QString& carpeta, const QUrl& nombre) {
  // Only a path relative to the help file: no scheme, no host, no absolute path.
  if (carpeta.isEmpty() || !nombre.isRelative() || !nombre.host().isEmpty()) return {};
  const QString relativa = nombre.path(QUrl::FullyDecoded);
  if (relativa.isEmpty() || relativa.startsWith(u'/')) return {};
  const QString base = QFileInfo(carpeta).canonicalFilePath();
  const QString ruta = QFileInfo(QDir(base).filePath(relativa)).canonicalFilePath();
  // Links resolved: whatever is named must still lie inside the folder.
  if (base.isEmpty() || ruta.isEmpty() || !ruta.startsWith(base + u'/')) return {};
  return LeerArchivoRegular(ruta, kTamannoRecursoAyuda).value_or(QByteArray());
}

QVariant TPaginaAyuda::loadResource(int, const QUrl& nombre) {
  // Never a null variant: for that the document would open the name itself.
  return QVariant(CargarRecursoAyuda(carpeta_, nombre));
}

TfrmAyuda::TfrmAyuda(QWidget* parent) : QWidget(parent, Qt::Window) {
  setWindowTitle(QStringLiteral("ZARP - Ayuda"));
  setWindowIcon(IconoVentana());
  resize(760, 520);
  lbTemas = new QListWidget;
  txtPagina = new TPaginaAyuda;
  txtPagina->setOpenLinks(false);
  auto* division = new QSplitter;
  division->addWidget(lbTemas);
  division->addWidget(txtPagina);
  division->setStretchFactor(1, 1);
  division->setSizes({210, 550});
  auto* caja = new QHBoxLayout(this);
  caja->setContentsMargins(4, 4, 4, 4);
  caja->addWidget(division);
  connect(lbTemas, &QListWidget::currentRowChanged, this, &TfrmAyuda::Elegir);
  connect(txtPagina, &QTextBrowser::anchorClicked, this, &TfrmAyuda::EnlaceElegido);
}

TfrmAyuda* TfrmAyuda::Instancia() { return Unica().data(); }

TfrmAyuda* TfrmAyuda::ObtenerInstancia() {
  if (!Unica()) {
    Unica() = new TfrmAyuda;
    Unica()->setAttribute(Qt::WA_DeleteOnClose);
  }
  return Unica().data();
}

void TfrmAyuda::Cargar(const QString& archivo) {
  if (cargado && archivo == archivoCargado) return;
  // The file is read once per name: the help does not change while the game runs.
  archivoCargado = archivo;
  cargado = true;
  // One read: the topics and the style come from the same bytes.
  const QString texto = LeerTexto(archivo);
  temas = TemasDeAyuda(texto);
  estilo = temas.isEmpty() ? QString() : EstiloDeAyuda(texto);
  txtPagina->PonerCarpeta(QFileInfo(archivo).absolutePath());
  const QSignalBlocker bloqueo(lbTemas);
  lbTemas->clear();
  for (const auto& t : temas) lbTemas->addItem(t.Titulo);
}

void TfrmAyuda::Mostrar(const QString& archivo, const QString& id) {
  Cargar(archivo);
  int fila = -1;
  for (int i = 0; i < temas.size(); ++i) {
    if (temas[i].Id == id) fila = i;
  }
  {
    const QSignalBlocker bloqueo(lbTemas);
    lbTemas->setCurrentRow(fila);
  }
  Elegir(fila);
}

void TfrmAyuda::Elegir(int fila) {
  if (fila < 0 || fila >= temas.size()) {
    temaActual.clear();
    txtPagina->clear();
    return;
  }
  temaActual = temas[fila].Id;
  txtPagina->document()->setDefaultStyleSheet(estilo);
  txtPagina->setHtml(temas[fila].Html);
}

void TfrmAyuda::EnlaceElegido(const QUrl& url) {
  // Only links between topics: the viewer never leaves its own file.
  const QString id = url.fragment();
  if (url.isRelative() && url.path().isEmpty() && !id.isEmpty()) Mostrar(archivoCargado, id);
}

QString TfrmAyuda::TextoPagina() const { return txtPagina->toPlainText(); }

void AbrirAyuda(const QString& archivo, int contexto) {
  Abrir(archivo, QStringLiteral("tema-%1").arg(contexto));
}

void AbrirContenidoAyuda(const QString& archivo) { Abrir(archivo, QStringLiteral("contenido")); }
