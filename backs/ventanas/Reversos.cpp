#include "backs/ventanas/Reversos.h"

#include <QApplication>
#include <QGroupBox>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QShortcut>
#include <QStyle>

#include <algorithm>

#include "backs/Reversos.h"
#include "backs/imagen/Imagenes.h"
#include "play/ventanas/Ayuda.h"
#include "play/ventanas/Programa.h"
#include "resources/Dibujos.h"

namespace {

constexpr int kContextoAyuda = 280;
constexpr int kBorde = 4;  // the frame shows this much around the picture it marks
constexpr int kPorFila = 5;

QPushButton* Boton(QWidget* padre, const QString& texto, QStyle::StandardPixmap icono, int x) {
  auto* b = new QPushButton(padre->style()->standardIcon(icono), texto, padre);
  b->setGeometry(x, 312, 81, 25);
  return b;
}

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
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(QColor(0, 0, 128), 2));
  p.setBrush(relleno_);
  p.drawRoundedRect(QRectF(rect()).adjusted(1, 1, -1, -1), 8, 8);
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
  sbImagenes = new QScrollArea(GroupBox2);
  sbImagenes->setGeometry(8, 16, 399, 225);
  sbImagenes->setWidgetResizable(false);
  QPalette verde = sbImagenes->palette();
  verde.setColor(QPalette::Window, QColor(0, 92, 0));
  sbImagenes->viewport()->setPalette(verde);
  sbImagenes->viewport()->setAutoFillBackground(true);
  sbContenido = new QWidget;
  sbContenido->setPalette(verde);
  sbContenido->setAutoFillBackground(true);
  sbContenido->resize(0, 0);
  sbImagenes->setWidget(sbContenido);
  Shape2 = new TMarco(Qt::yellow, sbContenido);
  Shape2->hide();

  Label1 = new QLabel(QStringLiteral("Hacé click en el reverso que quieras usar."), this);
  QFont negrita = Label1->font();
  negrita.setBold(true);
  Label1->setFont(negrita);
  Label1->move(175, 280);
  Label1->adjustSize();

  bbtnAceptar = Boton(this, QStringLiteral("&Aceptar"), QStyle::SP_DialogOkButton, 151);
  bbtnAceptar->setDefault(true);
  BitBtn2 = Boton(this, QStringLiteral("&Cancelar"), QStyle::SP_DialogCancelButton, 255);
  bbtnAyuda = Boton(this, QStringLiteral("A&yuda"), QStyle::SP_DialogHelpButton, 360);
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
  // activate new windows; doing it twice only marks the same back again.
  const bool mostrada = e->type() == QEvent::Show && !e->spontaneous();
  if (e->type() == QEvent::WindowActivate || mostrada) FormActivate();
  return QDialog::event(e);
}

void TfrmReversos::FormActivate() {
  const qreal dpr = devicePixelRatioF();
  for (std::size_t k = 0; k < Imagenes.size(); ++k)
    Imagenes[k]->setPixmap(DibujoReverso(static_cast<int>(k), dpr));
  Shape1->hide();
  Shape2->hide();
  MostrarReversosUsuario();
  UbicarReversos = false;
}

void TfrmReversos::UbicarReversosUsuario() {
  for (const TUbicado& u : ubicados_) delete u.Imagen;
  ubicados_.clear();
  const QImage marcador = ImagenMarcadorReverso();
  int i = 1;
  int j = 1;
  QSize extension;
  for (const TReversoUsuario& r : Programa().ReversosUsuario) {
    auto* img = new TImagenReverso(sbContenido);
    // The player's file is decoded here, once, at the size it is drawn.
    img->setPixmap(QPixmap::fromImage(ComponerReversoUsuario(marcador, r.Archivo)));
    img->move(74 * i - 64, 107 * j - 97);
    img->show();
    connect(img, &TImagenReverso::Click, this, [this, img] { ImagenUsrClick(img); });
    ubicados_.push_back({r.Archivo, img});
    extension = extension.expandedTo(QSize(img->geometry().right() + 1, img->geometry().bottom() + 1));
    if (i == kPorFila) {
      i = 1;
      ++j;
    } else {
      ++i;
    }
  }
  // The box scrolls as far as its pictures and the frame around them reach; the
  // viewport's own green shows beyond.
  if (!ubicados_.empty()) extension += QSize(kBorde, kBorde);
  sbContenido->resize(extension);
}

void TfrmReversos::MostrarReversosUsuario() {
  const TReversosUsuario& lista = Programa().ReversosUsuario;
  // A list loaded again (a new main window) brings its own pictures.
  const bool mismaLista =
      lista.size() == ubicados_.size() &&
      std::equal(lista.begin(), lista.end(), ubicados_.begin(),
                 [](const TReversoUsuario& r, const TUbicado& u) { return r.Archivo == u.Archivo; });
  if (UbicarReversos || !mismaLista) UbicarReversosUsuario();

  const std::string actual = MayusculasArchivo(ReversoActual());
  TImagenReverso* marcada = nullptr;
  for (const TUbicado& u : ubicados_)
    if (MayusculasArchivo(u.Archivo) == actual) marcada = u.Imagen;  // the last match wins
  if (marcada) {
    MarcarSeleccion(marcada, Shape2, Shape1);
    return;
  }
  const std::string exacto = ReversoActual();
  for (std::size_t k = 0; k < Imagenes.size(); ++k)
    if (exacto == ReversosPredisennados[k]) {
      MarcarSeleccion(Imagenes[k], Shape1, Shape2);
      return;
    }
}

void TfrmReversos::MarcarSeleccion(QWidget* imagen, TMarco* mostrar, TMarco* ocultar) {
  ocultar->hide();
  mostrar->move(imagen->x() - kBorde, imagen->y() - kBorde);
  mostrar->lower();
  mostrar->show();
}

void TfrmReversos::ImagenDefClick(TImagenReverso* imagen) {
  ReversoPendiente = "k58203361Defecto" + std::to_string(imagen->Tag);
  MarcarSeleccion(imagen, Shape1, Shape2);
}

void TfrmReversos::ImagenUsrClick(TImagenReverso* imagen) {
  for (const TUbicado& u : ubicados_)
    if (u.Imagen == imagen) {
      ReversoPendiente = u.Archivo;
      MarcarSeleccion(imagen, Shape2, Shape1);
      return;
    }
}

void TfrmReversos::bbtnAceptarClick() {
  // Before any click of the run there is nothing pending: the current back stays,
  // as the frame the dialog opened with promised.
  if (!ReversoPendiente.empty()) PonerReversoActual(ReversoPendiente);
  accept();
}

void TfrmReversos::bbtnAyudaClick() { AbrirAyuda(ArchivoAyuda(), kContextoAyuda); }
