#include "play/ventanas/Ayuda.h"

#include <QApplication>
#include <QFile>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPointer>
#include <QRegularExpression>
#include <QSplitter>
#include <QTextBrowser>
#include <QUrl>

#include "resources/Dibujos.h"

namespace {

// Help files are small; anything larger is not a help file of ours.
constexpr qint64 kTamannoMaximo = 4 * 1024 * 1024;

QString LeerTexto(const QString& archivo) {
  QFile f(archivo);
  if (!f.open(QIODevice::ReadOnly) || f.size() > kTamannoMaximo) return {};
  return QString::fromUtf8(f.readAll());
}

QString Estilo(const QString& texto) {
  static const QRegularExpression re(QStringLiteral("<style[^>]*>(.*?)</style>"),
                                     QRegularExpression::DotMatchesEverythingOption |
                                         QRegularExpression::CaseInsensitiveOption);
  const auto m = re.match(texto);
  return m.hasMatch() ? m.captured(1) : QString();
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

QVector<TTemaAyuda> LeerTemasAyuda(const QString& archivo) {
  static const QRegularExpression re(
      QStringLiteral("<section\\s+id=\"([^\"]+)\"\\s+title=\"([^\"]*)\"\\s*>(.*?)</section>"),
      QRegularExpression::DotMatchesEverythingOption);
  QVector<TTemaAyuda> temas;
  const QString texto = LeerTexto(archivo);
  for (auto it = re.globalMatch(texto); it.hasNext();) {
    const auto m = it.next();
    temas.push_back({m.captured(1), m.captured(2), m.captured(3)});
  }
  return temas;
}

TfrmAyuda::TfrmAyuda(QWidget* parent) : QWidget(parent, Qt::Window) {
  setWindowTitle(QStringLiteral("ZARP - Ayuda"));
  setWindowIcon(IconoVentana());
  resize(760, 520);
  lbTemas = new QListWidget;
  txtPagina = new QTextBrowser;
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
  temas = LeerTemasAyuda(archivo);
  estilo = temas.isEmpty() ? QString() : Estilo(LeerTexto(archivo));
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
