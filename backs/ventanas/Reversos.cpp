#include "backs/ventanas/Reversos.h"

#include <QApplication>
#include <QGroupBox>
#include <QGuiApplication>
#include <QListView>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QShortcut>
#include <QStyledItemDelegate>

#include <algorithm>
#include <filesystem>

#include "backs/Reversos.h"
#include "backs/imagen/Imagenes.h"
#include "backs/ventanas/ImagenesReversos.h"
#include "play/ventanas/Ayuda.h"
#include "play/ventanas/Programa.h"
#include "resources/Dibujos.h"

namespace {

constexpr int kContextoAyuda = 280;
constexpr int kBorde = 4;  // the frame shows this much around the picture it marks
const QColor kAzulMarino(0, 0, 128);

enum class TIconoBoton { Aceptar, Cancelar, Ayuda };

// The buttons' pictures, drawn here at 16 and 32 pixels: looking them up in the desktop's
// icon themes costs more than the whole dialog.
QIcon IconoBoton(TIconoBoton cual) {
  QIcon icono;
  for (int lado : {16, 32}) {
    QPixmap px(lado, lado);
    px.fill(Qt::transparent);
    QPainter p(&px);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(lado / 16.0, lado / 16.0);
    switch (cual) {
      case TIconoBoton::Aceptar: {
        QPainterPath tilde;
        tilde.moveTo(2.5, 8.5);
        tilde.lineTo(6.5, 12.5);
        tilde.lineTo(13.5, 3.5);
        p.setPen(QPen(QColor(0, 128, 0), 2.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPath(tilde);
        break;
      }
      case TIconoBoton::Cancelar:
        p.setPen(QPen(QColor(200, 0, 0), 2.6, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(3.5, 3.5), QPointF(12.5, 12.5));
        p.drawLine(QPointF(12.5, 3.5), QPointF(3.5, 12.5));
        break;
      case TIconoBoton::Ayuda: {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0, 70, 200));
        p.drawEllipse(QRectF(1, 1, 14, 14));
        QPainterPath signo;
        signo.moveTo(5.6, 6.2);
        signo.cubicTo(5.6, 3.2, 10.6, 3.2, 10.6, 6.0);
        signo.cubicTo(10.6, 7.8, 8, 7.8, 8, 10);
        p.setPen(QPen(Qt::white, 1.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
        p.drawPath(signo);
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::white);
        p.drawEllipse(QPointF(8, 12.6), 1.1, 1.1);
        break;
      }
    }
    p.end();
    icono.addPixmap(px);
  }
  return icono;
}

QPushButton* Boton(QWidget* padre, const QString& texto, TIconoBoton icono, int x) {
  auto* b = new QPushButton(IconoBoton(icono), texto, padre);
  b->setGeometry(x, 312, 81, 25);
  return b;
}

void PintarMarco(QPainter& p, const QRectF& r, const QColor& relleno) {
  p.save();
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(kAzulMarino, 2));
  p.setBrush(relleno);
  p.drawRoundedRect(r.adjusted(1, 1, -1, -1), 8, 8);
  p.restore();
}

// The list of the player's backs scrolls a little past its last row, so that the frame
// around a picture there shows whole.
class TVistaReversos : public QListView {
 public:
  using QListView::QListView;

 protected:
  void updateGeometries() override {
    QListView::updateGeometries();
    if (model() && model()->rowCount() > 0) {
      const int alto = static_cast<int>((model()->rowCount() + TfrmReversos::PorFila - 1) /
                                        TfrmReversos::PorFila) * TfrmReversos::Celda.height();
      const int falta = alto + kBorde + 1 - viewport()->height();
      verticalScrollBar()->setRange(0, std::max(0, falta));
      verticalScrollBar()->setPageStep(viewport()->height());
    }
  }
};

// Paints one player's back in its cell: the yellow frame when it is the marked one,
// the picture once the worker has it, the placeholder until then. A file that gives no
// picture shows its name in the placeholder, under the placeholder's own words.
class TDelegadoReversos : public QStyledItemDelegate {
 public:
  TDelegadoReversos(TfrmReversos& dialogo) : QStyledItemDelegate(&dialogo), dialogo_(dialogo) {}

  QSize sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const override {
    return TfrmReversos::Celda;
  }

  void paint(QPainter* p, const QStyleOptionViewItem& opcion, const QModelIndex& indice) const override {
    const QRect imagen(opcion.rect.topLeft() + TfrmReversos::EnCelda, QSize(kAnchoCarta, kAltoCarta));
    if (indice.row() == dialogo_.MarcadaUsuario())
      PintarMarco(*p, imagen.adjusted(-kBorde, -kBorde, kBorde, kBorde), Qt::yellow);
    const qreal dpr = p->device()->devicePixelRatioF();
    const std::string& archivo = dialogo_.Modelo->Archivos()[static_cast<std::size_t>(indice.row())];
    QImage dibujo;
    const TEstadoReverso estado =
        ImagenesReversos().Reverso(archivo, (QSizeF(imagen.size()) * dpr).toSize(), dibujo);
    if (estado == TEstadoReverso::Listo) {
      p->drawImage(imagen, dibujo);
      return;
    }
    if (marcador_.isNull() || marcador_.devicePixelRatio() != dpr) marcador_ = DibujoReverso(4, dpr);
    p->drawPixmap(imagen.topLeft(), marcador_);
    if (estado != TEstadoReverso::Roto) return;
    QFont letra = p->font();
    letra.setPixelSize(9);
    p->save();
    p->setFont(letra);
    p->setPen(Qt::white);
    const QRect debajo(imagen.left() + 5, imagen.bottom() - 24, imagen.width() - 10, 20);
    const QString nombre = indice.data(Qt::DisplayRole).toString();
    p->drawText(debajo, Qt::AlignHCenter | Qt::AlignBottom | Qt::TextWrapAnywhere,
                QFontMetrics(letra).elidedText(nombre, Qt::ElideMiddle, 2 * debajo.width() - 8));
    p->restore();
  }

 private:
  TfrmReversos& dialogo_;
  mutable QPixmap marcador_;
};

}  // namespace

TImagenReverso::TImagenReverso(QWidget* parent) : QLabel(parent) {
  // Transparent: what lies behind the picture's corners (a frame) shows through.
  setAutoFillBackground(false);
  setFixedSize(kAnchoCarta, kAltoCarta);
}

void TImagenReverso::mousePressEvent(QMouseEvent* e) {
  presionada_ = e->button() == Qt::LeftButton;
  e->accept();
}

void TImagenReverso::mouseReleaseEvent(QMouseEvent* e) {
  const bool click = presionada_ && e->button() == Qt::LeftButton && rect().contains(e->pos());
  presionada_ = false;
  e->accept();
  if (click) emit Click();
}

TMarco::TMarco(QColor relleno, QWidget* parent) : QWidget(parent), relleno_(relleno) {
  setFixedSize(kAnchoCarta + 2 * kBorde, kAltoCarta + 2 * kBorde);
}

void TMarco::paintEvent(QPaintEvent*) {
  QPainter p(this);
  PintarMarco(p, QRectF(rect()), relleno_);
}

void TModeloReversos::Poner(std::vector<std::string> archivos) {
  beginResetModel();
  archivos_ = std::move(archivos);
  endResetModel();
}

int TModeloReversos::rowCount(const QModelIndex& padre) const {
  return padre.isValid() ? 0 : static_cast<int>(archivos_.size());
}

QVariant TModeloReversos::data(const QModelIndex& indice, int rol) const {
  if (!indice.isValid() || indice.row() >= rowCount()) return {};
  const std::string& archivo = archivos_[static_cast<std::size_t>(indice.row())];
  if (rol == Qt::DisplayRole)
    return QString::fromStdString(std::filesystem::path(archivo).filename().string());
  if (rol == Qt::ToolTipRole) return QString::fromStdString(archivo);
  return {};
}

TfrmReversos::TfrmReversos(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                          Qt::CustomizeWindowHint) {
  setWindowTitle(QStringLiteral("ZARP - Reversos"));
  setFixedSize(591, 346);

  GroupBox1 = new QGroupBox(QStringLiteral("Reversos prediseñados"), this);
  GroupBox1->setGeometry(8, 8, 153, 249);
  // The frame goes first so that it lies behind the pictures.
  Shape1 = new TMarco(QColor(0, 97, 0), GroupBox1);
  Shape1->hide();
  constexpr QPoint lugares[4] = {{8, 24}, {81, 24}, {8, 136}, {81, 136}};
  for (int k = 0; k < 4; ++k) {
    auto* img = new TImagenReverso(GroupBox1);
    img->move(lugares[k]);
    img->Tag = k + 1;
    connect(img, &TImagenReverso::Click, this, [this, img] { ImagenDefClick(img); });
    Imagenes[static_cast<std::size_t>(k)] = img;
  }

  GroupBox2 = new QGroupBox(QStringLiteral("Reversos del usuario"), this);
  GroupBox2->setGeometry(168, 8, 415, 249);
  sbImagenes = new TVistaReversos(GroupBox2);
  sbImagenes->setGeometry(8, 16, 399, 225);
  // Rows of five fixed cells; all cells alike, so a long list costs nothing to lay out.
  sbImagenes->setViewMode(QListView::ListMode);
  sbImagenes->setFlow(QListView::LeftToRight);
  sbImagenes->setWrapping(true);
  sbImagenes->setResizeMode(QListView::Fixed);
  sbImagenes->setMovement(QListView::Static);
  sbImagenes->setUniformItemSizes(true);
  sbImagenes->setGridSize(Celda);
  sbImagenes->setSpacing(0);
  sbImagenes->setSelectionMode(QAbstractItemView::NoSelection);
  sbImagenes->setEditTriggers(QAbstractItemView::NoEditTriggers);
  sbImagenes->setFocusPolicy(Qt::NoFocus);
  sbImagenes->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  sbImagenes->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
  sbImagenes->verticalScrollBar()->setSingleStep(Celda.height() / 4);
  QPalette verde = sbImagenes->palette();
  verde.setColor(QPalette::Base, QColor(0, 92, 0));
  verde.setColor(QPalette::Window, QColor(0, 92, 0));
  sbImagenes->setPalette(verde);
  sbImagenes->viewport()->setAutoFillBackground(true);
  Modelo = new TModeloReversos(this);
  sbImagenes->setModel(Modelo);
  sbImagenes->setItemDelegate(new TDelegadoReversos(*this));
  sbImagenes->viewport()->installEventFilter(this);
  // A picture back from the worker: the rows in view are painted again.
  connect(&ImagenesReversos(), &TImagenesReversos::Lista, sbImagenes->viewport(),
          [this] { sbImagenes->viewport()->update(); });

  Label1 = new QLabel(QStringLiteral("Hacé click en el reverso que quieras usar."), this);
  QFont negrita = Label1->font();
  negrita.setBold(true);
  Label1->setFont(negrita);
  Label1->move(175, 280);
  Label1->adjustSize();

  bbtnAceptar = Boton(this, QStringLiteral("&Aceptar"), TIconoBoton::Aceptar, 151);
  bbtnAceptar->setDefault(true);
  BitBtn2 = Boton(this, QStringLiteral("&Cancelar"), TIconoBoton::Cancelar, 255);
  bbtnAyuda = Boton(this, QStringLiteral("A&yuda"), TIconoBoton::Ayuda, 360);
  connect(bbtnAceptar, &QPushButton::clicked, this, &TfrmReversos::bbtnAceptarClick);
  connect(BitBtn2, &QPushButton::clicked, this, &QDialog::reject);
  connect(bbtnAyuda, &QPushButton::clicked, this, &TfrmReversos::bbtnAyudaClick);
  // F1 asks for the same page as the help button, as in every window of the program.
  connect(new QShortcut(QKeySequence(Qt::Key_F1), this), &QShortcut::activated, this,
          &TfrmReversos::bbtnAyudaClick);
}

std::string TfrmReversos::ReversoElegido() const { return ReversoActual(); }

void TfrmReversos::showEvent(QShowEvent* e) {
  // Centred on the screen at every opening.
  if (!e->spontaneous()) {
    if (QScreen* pantalla = QGuiApplication::primaryScreen())
      move(pantalla->availableGeometry().center() - QPoint(width() / 2, height() / 2));
  }
  QDialog::showEvent(e);
}

bool TfrmReversos::event(QEvent* e) {
  // The first showing counts as an activation too, for a desktop that does not
  // activate new windows; doing it twice only marks the same back again. Each opening
  // starts with nothing pending: a back clicked and then cancelled is forgotten.
  const bool mostrada = e->type() == QEvent::Show && !e->spontaneous();
  if (mostrada) ReversoPendiente.clear();
  if (e->type() == QEvent::WindowActivate || mostrada) FormActivate();
  return QDialog::event(e);
}

void TfrmReversos::FormActivate() {
  const qreal dpr = devicePixelRatioF();
  for (std::size_t k = 0; k < Imagenes.size(); ++k)
    Imagenes[k]->setPixmap(DibujoReverso(static_cast<int>(k), dpr));
  // Coming back from another window keeps the back clicked in this opening marked.
  if (!ReversoPendiente.empty()) return;
  Shape1->hide();
  MarcarUsuario(-1);
  MostrarReversosUsuario();
  UbicarReversos = false;
}

int TfrmReversos::FilaEn(QPoint punto) const {
  const int fila = sbImagenes->indexAt(punto).row();
  return fila >= 0 && RectanguloUsuario(fila).contains(punto) ? fila : -1;
}

bool TfrmReversos::eventFilter(QObject* objeto, QEvent* e) {
  // A click is a press and a release of the left button on the same picture; the green
  // around the pictures takes none.
  if (objeto == sbImagenes->viewport() &&
      (e->type() == QEvent::MouseButtonPress || e->type() == QEvent::MouseButtonRelease ||
       e->type() == QEvent::MouseButtonDblClick)) {
    const auto* raton = static_cast<QMouseEvent*>(e);
    const int fila = raton->button() == Qt::LeftButton ? FilaEn(raton->position().toPoint()) : -1;
    if (e->type() == QEvent::MouseButtonRelease) {
      if (fila >= 0 && fila == presionada_) ImagenUsrClick(fila);
      presionada_ = -1;
    } else {
      presionada_ = fila;
    }
    return true;
  }
  return QDialog::eventFilter(objeto, e);
}

QRect TfrmReversos::RectanguloUsuario(int fila) const {
  const QRect celda = sbImagenes->visualRect(Modelo->index(fila));
  return {celda.topLeft() + EnCelda, QSize(kAnchoCarta, kAltoCarta)};
}

void TfrmReversos::MarcarUsuario(int fila) {
  if (fila == marcadaUsuario_) return;
  marcadaUsuario_ = fila;
  // The frame reaches a little into the neighbouring cells.
  sbImagenes->viewport()->update();
}

void TfrmReversos::MostrarReversosUsuario() {
  const TReversosUsuario& lista = Programa().ReversosUsuario;
  const auto& archivos = Modelo->Archivos();
  // A list loaded again (a new main window) brings its own pictures.
  const bool mismaLista =
      lista.size() == archivos.size() &&
      std::equal(lista.begin(), lista.end(), archivos.begin(),
                 [](const TReversoUsuario& r, const std::string& a) { return r.Archivo == a; });
  if (UbicarReversos || !mismaLista) {
    std::vector<std::string> nuevos;
    nuevos.reserve(lista.size());
    for (const TReversoUsuario& r : lista) nuevos.push_back(r.Archivo);
    Modelo->Poner(std::move(nuevos));
  }

  const std::string actual = MayusculasArchivo(ReversoActual());
  int marcada = -1;
  for (std::size_t n = 0; n < archivos.size(); ++n)
    if (MayusculasArchivo(archivos[n]) == actual) marcada = static_cast<int>(n);  // the last match wins
  if (marcada >= 0) {
    Shape1->hide();
    MarcarUsuario(marcada);
    sbImagenes->scrollTo(Modelo->index(marcada));
    return;
  }
  const std::string exacto = ReversoActual();
  for (std::size_t k = 0; k < Imagenes.size(); ++k)
    if (exacto == ReversosPredisennados[k]) {
      MarcarSeleccion(Imagenes[k], Shape1, nullptr);
      return;
    }
}

void TfrmReversos::MarcarSeleccion(QWidget* imagen, TMarco* mostrar, TMarco* ocultar) {
  if (ocultar) ocultar->hide();
  MarcarUsuario(-1);
  mostrar->move(imagen->x() - kBorde, imagen->y() - kBorde);
  mostrar->lower();
  mostrar->show();
}

void TfrmReversos::ImagenDefClick(TImagenReverso* imagen) {
  ReversoPendiente = "k58203361Defecto" + std::to_string(imagen->Tag);
  MarcarSeleccion(imagen, Shape1, nullptr);
}

void TfrmReversos::ImagenUsrClick(int fila) {
  const auto& archivos = Modelo->Archivos();
  if (fila < 0 || static_cast<std::size_t>(fila) >= archivos.size()) return;
  ReversoPendiente = archivos[static_cast<std::size_t>(fila)];
  Shape1->hide();
  MarcarUsuario(fila);
}

void TfrmReversos::bbtnAceptarClick() {
  // Without a click in this opening nothing is pending: the current back stays, as the
  // frame the dialog opened with promised.
  if (!ReversoPendiente.empty()) PonerReversoActual(ReversoPendiente);
  accept();
}

void TfrmReversos::bbtnAyudaClick() { AbrirAyuda(ArchivoAyuda(), kContextoAyuda); }
