#pragma once
// The help viewer: a window of its own with the list of topics and the page. The
// help file is HTML; each topic is a <section id="tema-N" title="..."> where N is
// the context number the program asks for, and id="contenido" is the contents.
#include <QString>
#include <QVector>
#include <QWidget>

class QListWidget;
class QTextBrowser;
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

// The topics of a help file in file order; empty for a missing or foreign file.
QVector<TTemaAyuda> LeerTemasAyuda(const QString& archivo);

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
  QTextBrowser* txtPagina;
  QString archivoCargado;
  QString estilo;
  QVector<TTemaAyuda> temas;
  QString temaActual;
  bool cargado = false;
};
