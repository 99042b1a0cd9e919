#include "play/ventanas/Principal.h"

#include <QBoxLayout>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QScreen>
#include <QAction>
#include <QApplication>
#include <QStyle>
#include <QStyleOption>
#include <QToolButton>

#include <algorithm>
#include <utility>

#include "games/Registro.h"
#include "backs/ventanas/Reversos.h"
#include "play/ventanas/Atajos.h"
#include "play/ventanas/Ayuda.h"
#include "play/ventanas/Cargando.h"
#include "play/ventanas/DialogoFijo.h"
#include "play/ventanas/Estadisticas.h"
#include "play/ventanas/IngresarNumero.h"
#include "play/ventanas/Juego.h"
#include "play/ventanas/PartidaEnJuego.h"
#include "play/ventanas/Programa.h"
#include "play/ventanas/Tapete.h"
#include "resources/Dibujos.h"
#include "scores/ventanas/Puntuaciones.h"

namespace {

// The small flag before "Hecho en Argentina".
QPixmap Bandera(qreal dpr) {
  QPixmap px(QSize(16, 12) * dpr);
  px.setDevicePixelRatio(dpr);
  px.fill(Qt::transparent);
  QPainter p(&px);
  p.setRenderHint(QPainter::Antialiasing);
  const QColor celeste(116, 172, 223);
  p.fillRect(QRectF(0, 0, 16, 4), celeste);
  p.fillRect(QRectF(0, 4, 16, 4), Qt::white);
  p.fillRect(QRectF(0, 8, 16, 4), celeste);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(246, 180, 14));
  p.drawEllipse(QPointF(8, 6), 1.6, 1.6);
  p.setPen(QColor(60, 60, 60, 120));
  p.setBrush(Qt::NoBrush);
  p.drawRect(QRectF(0.5, 0.5, 15, 11));
  return px;
}

// A toolbar's separator, drawn by the style as a horizontal toolbar draws its own.
class TSeparadorBarra : public QWidget {
 public:
  explicit TSeparadorBarra(QWidget* padre) : QWidget(padre) {
    setFixedWidth(style()->pixelMetric(QStyle::PM_ToolBarSeparatorExtent, nullptr, this));
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    QStyleOption opcion;
    opcion.initFrom(this);
    opcion.state |= QStyle::State_Horizontal;
    style()->drawPrimitive(QStyle::PE_IndicatorToolBarSeparator, &opcion, &p, this);
  }
};

QLabel* Etiqueta(QWidget* padre, const QString& texto) {
  auto* l = new QLabel(texto, padre);
  QPalette pal = l->palette();
  pal.setColor(QPalette::WindowText, Qt::white);
  l->setPalette(pal);
  return l;
}

}  // namespace

TfrmPrincipal::TfrmPrincipal(QWidget* parent, std::function<QImage()> imagenPrincipal)
    : QWidget(parent, Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint) {
  // The settings record comes first: the player's backs are looked up by it.
  TPrograma& programa = Programa();
  programa.Configuracion = LeerConfiguracion(CarpetaDelPrograma());
  programa.ReversosUsuario = CargarReversosUsuario(CarpetaDelPrograma());
  ++programa.VersionReverso;

  // The window icon is the application's, given once this window is painted (event).
  setWindowTitle(QStringLiteral("Cartoval v1.1.0"));
  QPalette pal = palette();
  pal.setColor(QPalette::Window, QColor(0, 92, 0));
  setPalette(pal);
  setAutoFillBackground(true);
  // The native window is made now, while a worker still fills the font database: the
  // list's size below waits for it, and the window's creation does not need it.
  winId();

  auto* imagen = new QLabel(this);
  imagen->setFixedSize(303, 333);

  // Palettes, not style sheets: a style sheet puts a whole style of its own in the start.
  lbJuegos = new QListWidget(this);
  lbJuegos->setFrameShape(QFrame::NoFrame);
  QPalette colores = lbJuegos->palette();
  for (const auto grupo : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
    colores.setColor(grupo, QPalette::Base, QColor(0, 0, 128));
    colores.setColor(grupo, QPalette::Text, QColor(0, 255, 0));
    colores.setColor(grupo, QPalette::Highlight, QColor(0x0a, 0x24, 0x6a));
    colores.setColor(grupo, QPalette::HighlightedText, Qt::white);
  }
  lbJuegos->setPalette(colores);
  QFont negrita = lbJuegos->font();
  negrita.setBold(true);
  lbJuegos->setFont(negrita);
  for (const TJuegoRegistrado& j : Juegos()) lbJuegos->addItem(QString::fromUtf8(j.Nombre));
  lbJuegos->installEventFilter(this);
  connect(lbJuegos, &QListWidget::itemDoubleClicked, this, [this] { IniciarSeleccionado(0); });

  // The toolbar as a row of tool buttons with a toolbar's separators: the same pixels,
  // without what a QToolBar brings to the start (its layout, extension, style options).
  auto* barra = new QWidget(this);
  barra->setFixedHeight(26);
  QPalette fondoBarra = barra->palette();
  fondoBarra.setColor(QPalette::Window, fondoBarra.color(QPalette::Button));
  barra->setPalette(fondoBarra);
  barra->setAutoFillBackground(true);
  auto* fila = new QHBoxLayout(barra);
  fila->setContentsMargins(0, 0, 0, 0);
  fila->setSpacing(0);
  auto boton = [this, barra, fila](int imagenMenu, const QString& hint) {
    fila->addWidget(new TSeparadorBarra(barra));
    auto* a = new QAction(IconoMenu(imagenMenu), hint, this);
    a->setToolTip(hint);
    auto* b = new QToolButton(barra);
    b->setAutoRaise(true);
    b->setFocusPolicy(Qt::NoFocus);
    b->setIconSize(QSize(16, 16));
    b->setFixedSize(32, 26);
    b->setDefaultAction(a);
    fila->addWidget(b);
    return a;
  };
  tbNuevo = boton(0, QStringLiteral("Juego Nuevo"));
  tbJugarNro = boton(10, QStringLiteral("Jugar juego número..."));
  tbPuntuaciones = boton(9, QStringLiteral("Ver puntuaciones"));
  tbReversos = boton(1, QStringLiteral("Seleccionar Reverso"));
  tbAyudaJuego = boton(2, QStringLiteral("Ayuda sobre este juego"));
  tbAyudaGeneral = boton(3, QStringLiteral("Ayuda general"));
  fila->addStretch(1);
  connect(tbNuevo, &QAction::triggered, this, &TfrmPrincipal::tbNuevoClick);
  connect(tbJugarNro, &QAction::triggered, this, &TfrmPrincipal::tbJugarNroClick);
  connect(tbPuntuaciones, &QAction::triggered, this, &TfrmPrincipal::tbPuntuacionesClick);
  connect(tbReversos, &QAction::triggered, this, &TfrmPrincipal::tbReversosClick);
  connect(tbAyudaJuego, &QAction::triggered, this, &TfrmPrincipal::tbAyudaJuegoClick);
  connect(tbAyudaGeneral, &QAction::triggered, this, &TfrmPrincipal::tbAyudaGeneralClick);
  InstalarAtajos(*this);

  auto* bandera = new QLabel(this);
  bandera->setFixedSize(16, 12);
  bandera->setPixmap(Bandera(devicePixelRatioF()));
  auto* icono = new QLabel(this);
  icono->setFixedSize(16, 16);
  icono->setPixmap(IconoVentana16(qApp->devicePixelRatio()));
  // The picture last: a worker may still be decoding it.
  imagen->setPixmap(QPixmap::fromImage(imagenPrincipal ? imagenPrincipal()
                                                       : ImagenVentana(QStringLiteral("Principal"))));

  // The picture with the two labels under it, and the list over its toolbar; the list
  // is as wide and as tall as its sixteen names need in the font in use.
  lbJuegos->ensurePolished();
  lbJuegos->setMinimumSize(
      std::max(249, lbJuegos->sizeHintForColumn(0) + 2 * lbJuegos->frameWidth() + 4),
      std::max(329, lbJuegos->count() * lbJuegos->sizeHintForRow(0) +
                        2 * lbJuegos->frameWidth()));
  auto* izquierda = new QVBoxLayout;
  izquierda->setContentsMargins(5, 5, 4, 2);
  izquierda->setSpacing(3);
  izquierda->addWidget(imagen);
  izquierda->addStretch(1);
  auto* pie = new QHBoxLayout;
  pie->setSpacing(2);
  pie->addWidget(bandera);
  pie->addWidget(Etiqueta(this, QStringLiteral("Hecho en Argentina")));
  pie->addStretch(1);
  pie->addWidget(InstalarEstadisticas(*this));
  pie->addWidget(icono);
  pie->addWidget(Etiqueta(this, QStringLiteral("Freeware")));
  izquierda->addLayout(pie);
  auto* derecha = new QVBoxLayout;
  derecha->setContentsMargins(0, 0, 0, 0);
  derecha->setSpacing(0);
  derecha->addWidget(lbJuegos, 1);
  derecha->addWidget(barra);
  auto* raiz = new QHBoxLayout(this);
  raiz->setContentsMargins(0, 0, 0, 0);
  raiz->setSpacing(0);
  raiz->addLayout(izquierda);
  raiz->addLayout(derecha, 1);
  AjustarAlContenido(*this, QSize(560, 357));

  tmrNroJuego.setInterval(1);
  tmrNroJuego.setSingleShot(true);
  connect(&tmrNroJuego, &QTimer::timeout, this, &TfrmPrincipal::tmrNroJuegoTimer);

  MostrarJuego = [](TfrmJuego& juego) {
    juego.setWindowState(Qt::WindowMaximized);
    juego.exec();
  };
  PedirNumero = [this] {
    TfrmIngresarNumero dialogo(this);
    return dialogo.exec() == QDialog::Accepted;
  };

  if (QScreen* pantalla = QGuiApplication::primaryScreen()) {
    const QRect r = pantalla->availableGeometry();
    move(r.center() - QPoint(width() / 2, height() / 2));
  }
  lbJuegos->setFocus();
}

QString TfrmPrincipal::JuegoSeleccionado() const {
  const QListWidgetItem* item = lbJuegos->currentItem();
  return item && item->isSelected() ? item->text() : QString();
}

void TfrmPrincipal::IniciarSeleccionado(std::int32_t numero) {
  const QString nombre = JuegoSeleccionado();
  if (!nombre.isEmpty()) IniciarJuego(nombre, numero);
}

TfrmPrincipal::~TfrmPrincipal() = default;

void TfrmPrincipal::prepararSiguiente() {
  if (siguiente_ || !isVisible()) return;
  if (TfrmCargando* splash = Programa().frmCargando) splash->winId();
  siguiente_ = std::make_unique<TfrmJuego>(this);
  siguiente_->PrepararMaximizada();
}

void TfrmPrincipal::IniciarJuego(const QString& nombre, std::int32_t numero) {
  TfrmCargando* splash = Programa().frmCargando;
  if (splash) splash->Mostrar();
  // Each game has a window of its own, fresh: one built while the player chose, or now.
  std::unique_ptr<TfrmJuego> juego = std::move(siguiente_);
  if (!juego) juego = std::make_unique<TfrmJuego>(this);
  // The next one is built after this one is gone, once the player is back here (the
  // timer would fire in the game window's own loop).
  struct TDespues {
    TfrmPrincipal* Principal;
    ~TDespues() { QTimer::singleShot(0, Principal, &TfrmPrincipal::prepararSiguiente); }
  } const despues{this};
  const TPrepararJuego preparar = BuscarJuego(QuitarEspacios(nombre.toStdString()));
  if (!preparar) {
    if (splash) splash->Ocultar();
    return;
  }
  juego->Partida->Activa = true;
  juego->Jugar(preparar, numero);
  if (MostrarJuego) MostrarJuego(*juego);
}

void TfrmPrincipal::tbNuevoClick() { IniciarSeleccionado(0); }

void TfrmPrincipal::tbJugarNroClick() {
  const QString nombre = JuegoSeleccionado();
  if (nombre.isEmpty() || !PedirNumero || !PedirNumero()) return;
  IniciarJuego(nombre, NroIngresado);
}

void TfrmPrincipal::tbPuntuacionesClick() {
  const QString nombre = JuegoSeleccionado();
  if (nombre.isEmpty()) return;
  // Coming back here selects the first game: the chosen deal is played in this one.
  JuegoPedido = nombre;
  TfrmPuntuaciones puntuaciones(this);
  puntuaciones.setWindowTitle(QStringLiteral("ZARP - Puntuaciones de ") + nombre);
  puntuaciones.MostrarDesdePrincipal(QuitarEspacios(nombre.toStdString()));
}

void TfrmPrincipal::tbAyudaJuegoClick() {
  const QString nombre = JuegoSeleccionado();
  if (nombre.isEmpty()) return;
  AbrirAyuda(ArchivoAyuda(), ContextoDeAyuda(QuitarEspacios(nombre.toStdString())));
}

void TfrmPrincipal::tbAyudaGeneralClick() { AbrirContenidoAyuda(ArchivoAyuda()); }

// The chooser stores the choice itself.
void TfrmPrincipal::tbReversosClick() { FormReversos(this).exec(); }

void TfrmPrincipal::tmrNroJuegoTimer() {
  tmrNroJuego.stop();
  const QString nombre = JuegoPedido.isEmpty() ? JuegoSeleccionado() : JuegoPedido;
  if (!nombre.isEmpty()) IniciarJuego(nombre, NroPedido);
}

bool TfrmPrincipal::event(QEvent* e) {
  if (e->type() == QEvent::Paint && !dibujosPedidos_) {
    // Once the window is on the screen, the cards every game shows are drawn on a worker
    // while the player chooses, not when the first game window opens.
    dibujosPedidos_ = true;
    QTimer::singleShot(0, this, [this] {
      // Nobody sees a window icon before the window is on the screen; the next game's
      // window, built just below, takes it from the application.
      if (QApplication::windowIcon().isNull()) QApplication::setWindowIcon(IconoVentana());
      TTapete::PrepararDibujos(TfrmJuego::TamannoCartaPrevisto(TfrmJuego::Marco(*this)),
                               devicePixelRatioF());
      prepararSiguiente();
    });
  }
  // Every activation selects the first game, also on coming back from a game; so does
  // the first showing, for a desktop that does not activate new windows.
  const bool mostrada = e->type() == QEvent::Show && !e->spontaneous();
  if ((e->type() == QEvent::WindowActivate || mostrada) && lbJuegos->count() > 0) {
    lbJuegos->setCurrentRow(0);
    lbJuegos->item(0)->setSelected(true);
  }
  return QWidget::event(e);
}

bool TfrmPrincipal::eventFilter(QObject* objeto, QEvent* e) {
  if (objeto == lbJuegos && e->type() == QEvent::KeyPress) {
    const int tecla = static_cast<QKeyEvent*>(e)->key();
    const int fila = lbJuegos->currentRow();
    const int ultima = lbJuegos->count() - 1;
    if (tecla == Qt::Key_Down && fila == ultima) {
      lbJuegos->setCurrentRow(0);
      return true;
    }
    if (tecla == Qt::Key_Up && fila == 0) {
      lbJuegos->setCurrentRow(ultima);
      return true;
    }
    if (tecla == Qt::Key_Return || tecla == Qt::Key_Enter) {
      IniciarSeleccionado(0);
      return true;
    }
  }
  return QWidget::eventFilter(objeto, e);
}

void TfrmPrincipal::closeEvent(QCloseEvent* e) {
  GuardarConfiguracion(CarpetaDelPrograma(), Programa().Configuracion);
  QWidget::closeEvent(e);
}
