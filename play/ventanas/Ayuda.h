#pragma once
// The help viewer: a window of its own with the list of topics and the page. The
// help file is HTML; each topic is a <section id="tema-N" title="..."> where N is
// the context number the program asks for, and id="contenido" is the contents.
#include <QString>
#include <QVector>
#include <QWidget>

#include <QTextBrowser>

class QListWidget;
class QUrl;

// Opens the viewer on one context number; returns at once. A missing file or an
// unknown context opens it empty.
void AbrirAyuda(const QString& archivo, int contexto);
// Opens the viewer on the file's contents page; returns at once.
void AbrirContenidoAyuda(const QString& archivo);

struct TTemaAyuda {
  QString Id;      // "contenido" or "tema-N"
  QString Titulo;
  QString Html;
};

// The topics of a help file in file order; empty for a missing or foreign file, and for
// anything that is not a regular file of at most a few megabytes.
QVector<TTemaAyuda> LeerTemasAyuda(const QString& archivo);
// The same from the file's text, in time proportional to its length. A topic nested deeper
// than the viewer can lay out keeps its title and has no page.
QVector<TTemaAyuda> TemasDeAyuda(const QString& texto);
// The file's first <style> block: the style sheet of every page.
QString EstiloDeAyuda(const QString& texto);
// What a page may load beside its own text: a regular file of at most kTamannoRecursoAyuda
// bytes inside the help file's folder (named relative to it), or nothing. Never blocks.
inline constexpr qint64 kTamannoRecursoAyuda = 2 * 1024 * 1024;
QByteArray CargarRecursoAyuda(const QString& carpeta, const QUrl& nombre);

// The page of the viewer: loads pictures and style sheets only through CargarRecursoAyuda.
class TPaginaAyuda : public QTextBrowser {
  Q_OBJECT
 public:
  using QTextBrowser::QTextBrowser;
  void PonerCarpeta(const QString& carpeta) { carpeta_ = carpeta; }
  QVariant loadResource(int tipo, const QUrl& nombre) override;

 private:
  QString carpeta_;
};

class TfrmAyuda : public QWidget {
  Q_OBJECT
 public:
  explicit TfrmAyuda(QWidget* parent = nullptr);

  // Loads the file (again only when its name changed) and shows the topic; an
  // empty or unknown id leaves the page blank.
  void Mostrar(const QString& archivo, const QString& id);
  // Id of the topic on the page, empty when the page is blank.
  QString TemaActual() const { return temaActual; }
  int CantidadTemas() const { return static_cast<int>(temas.size()); }
  QString TextoPagina() const;

  // The one viewer of the program, created on first use; null before that.
  static TfrmAyuda* Instancia();
  static TfrmAyuda* ObtenerInstancia();

 private:
  void Cargar(const QString& archivo);
  void Elegir(int fila);
  void EnlaceElegido(const QUrl& url);

  QListWidget* lbTemas;
  TPaginaAyuda* txtPagina;
  QString archivoCargado;
  QString estilo;
  QVector<TTemaAyuda> temas;
  QString temaActual;
  bool cargado = false;
};
