#include "play/ventanas/Juego.h"

#include <QApplication>
#include <QBackingStore>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPainter>
#include <QScreen>
#include <QStatusBar>
#include <QThread>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <utility>
#include <vector>

#include "backs/ventanas/Reversos.h"
#include "play/ventanas/Atajos.h"
#include "play/ventanas/Ayudas.h"
#include "play/ventanas/Ayuda.h"
#include "games/Registro.h"
#include "play/ventanas/Cargando.h"
#include "play/ventanas/Cursores.h"
#include "play/ventanas/Estadisticas.h"
#include "play/ventanas/FinJuego.h"
#include "play/ventanas/IngresarNumero.h"
#include "play/ventanas/PartidaEnJuego.h"
#include "play/ventanas/Preferencias.h"
#include "play/ventanas/Programa.h"
#include "play/ventanas/Tapete.h"
#include "resources/Dibujos.h"
#include "scores/AdminPuntuaciones.h"
#include "scores/ventanas/Puntuaciones.h"

namespace {

const QString kTerminar = QStringLiteral("¿Estás seguro que querés terminar el juego actual?");
const QString kReiniciar = QStringLiteral("¿Estás seguro de reiniciar el juego?");
constexpr int kAnchoBoton = 40;
constexpr int kAltoFila = 24;

QSize TamannoPantalla() {
  QScreen* pantalla = QGuiApplication::primaryScreen();
  return pantalla ? pantalla->geometry().size() : QSize(1024, 768);
}

// The screen the engine lays the table out for.
QSize PantallaMesa(bool tamannoOriginal) {
  return tamannoOriginal ? TamannoPantalla() : kPantallaMesa;
}

// The system's colours for the bars, set explicitly so that the table's green is not
// inherited by them.
QPalette PaletaSistema() {
  QPalette pal = QApplication::palette();
  pal.setColor(QPalette::Window, pal.color(QPalette::Window));
  pal.setColor(QPalette::WindowText, pal.color(QPalette::WindowText));
  return pal;
}

const QImage& ImagenFondo() {
  static const QImage fondo = ImagenVentana(QStringLiteral("Fondo"));
  return fondo;
}

QToolBar* NuevaFila(QWidget* padre) {
  auto* fila = new QToolBar(padre);
  fila->setIconSize(QSize(16, 16));
  fila->setMovable(false);
  fila->setFloatable(false);
  fila->setFixedHeight(kAltoFila);
  fila->setContentsMargins(0, 0, 0, 0);
  fila->setStyleSheet(QStringLiteral("QToolBar { border: 0; padding: 0; spacing: 0; }"));
  return fila;
}

// A panel of the status bar: the widths of the form; longer texts widen a panel rather
// than being cut.
QLabel* NuevoPanel(const QString& texto, int ancho, QWidget* barra) {
  auto* panel = new QLabel(texto, barra);
  panel->setMinimumWidth(ancho);
  panel->setFrameShape(QFrame::StyledPanel);
  panel->setFrameShadow(QFrame::Sunken);
  return panel;
}

// The status bar answers every layout request by painting itself and all its panels again,
// also when its layout left every panel where it was (a new deal changes the text of one
// panel, within its width). Then only the panels whose text changed are painted, by
// themselves; the bar's layout has placed them before the bar sees the request. The bar's
// own answer stays for every other request: a panel that moved, came or went, or a panel
// that asks for another height (the bar's strut follows it).
class TBarraEstado : public QStatusBar {
 public:
  using QStatusBar::QStatusBar;

 protected:
  bool event(QEvent* e) override {
    if (e->type() == QEvent::LayoutRequest && isVisible()) {
      std::vector<std::pair<QRect, int>> lugares;
      for (QObject* hijo : children())
        if (auto* w = qobject_cast<QWidget*>(hijo); w && w->isVisible())
          lugares.emplace_back(w->geometry(), w->sizeHint().height());
      if (lugares == lugares_) return QWidget::event(e);
      lugares_ = std::move(lugares);
    }
    return QStatusBar::event(e);
  }

 private:
  std::vector<std::pair<QRect, int>> lugares_;
};

QAction* Boton(QToolBar* fila, int imagen, const QString& hint, QObject* receptor,
               void (TfrmJuego::*accion)()) {
  QAction* a = fila->addAction(IconoMenu(imagen), hint);
  a->setToolTip(hint);
  if (auto* b = fila->widgetForAction(a)) b->setFixedSize(kAnchoBoton, kAltoFila);
  if (accion) QObject::connect(a, &QAction::triggered, receptor, [receptor, accion] {
    (static_cast<TfrmJuego*>(receptor)->*accion)();
  });
  return a;
}

}  // namespace

TfrmJuego::TfrmJuego(QWidget* parent)
    : QDialog(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint),
      mesa(kPantallaMesa.width(), kPantallaMesa.height()),
      Preferencias(LeerPreferencias()) {
  mesa.Ventana = this;
  ponerPantallaMesa();
  setWindowTitle(QStringLiteral("ZARP -"));
  // The program's icon is the application's: the window shows it without its own copy.
  QPalette pal = palette();
  pal.setColor(QPalette::Window, QColor(0, 91, 0));
  setPalette(pal);
  setAutoFillBackground(true);
  setSizeGripEnabled(false);

  Tapete = new TTapete(mesa, this);
  Tapete->PonerFondo(ImagenFondo());
  connect(Tapete, &TTapete::Cambio, this, &TfrmJuego::Actualizar);
  // The keys of the table reach it from the start.
  Tapete->setFocus();
  CapaVictoria = new TCapaVictoria(Tapete);

  // The toolbar: the separator after tbDeshacer starts the second row.
  Barra = new QWidget(this);
  Barra->setAutoFillBackground(true);
  Barra->setPalette(PaletaSistema());
  auto* filas = new QVBoxLayout(Barra);
  filas->setContentsMargins(0, 0, 0, 0);
  filas->setSpacing(0);
  QToolBar* fila1 = NuevaFila(Barra);
  QToolBar* fila2 = NuevaFila(Barra);
  filas->addWidget(fila1);
  filas->addWidget(fila2);
  tbNuevo = Boton(fila1, 0, QStringLiteral("Nuevo Juego"), this, &TfrmJuego::tbNuevoClick);
  tbJugarNro = Boton(fila1, 10, QStringLiteral("Jugar juego número..."), this,
                     &TfrmJuego::tbJugarNroClick);
  fila1->addSeparator();
  tbReiniciar = Boton(fila1, 8, QStringLiteral("Reiniciar Juego"), this,
                      &TfrmJuego::tbReiniciarClick);
  fila1->addSeparator();
  tbReversos = Boton(fila1, 1, QStringLiteral("Seleccionar Reverso"), this,
                     &TfrmJuego::tbReversosClick);
  fila1->addSeparator();
  tbDeshacer = Boton(fila1, 4, QStringLiteral("Deshacer"), this, &TfrmJuego::tbDeshacerClick);
  tbDeshacer->setEnabled(false);
  tbInstantanea = Boton(fila2, 5, QStringLiteral("Tomar instantánea"), this,
                        &TfrmJuego::tbInstantaneaClick);
  tbVolverInstantanea = Boton(fila2, 6, QStringLiteral("Volver a toma instantánea"), this,
                              &TfrmJuego::tbVolverInstantaneaClick);
  tbVolverInstantanea->setEnabled(false);
  fila2->addSeparator();
  tbPuntuacion = Boton(fila2, 9, QStringLiteral("Ver Puntuaciones"), this,
                       &TfrmJuego::tbPuntuacionClick);
  fila2->addSeparator();
  rbAyudaJuego = Boton(fila2, 2, QStringLiteral("Ayuda sobre este juego"), this,
                       &TfrmJuego::rbAyudaJuegoClick);
  rbAyudaGeneral = Boton(fila2, 3, QStringLiteral("Ayuda General"), this,
                         &TfrmJuego::rbAyudaGeneralClick);
  fila2->addSeparator();
  tbOpciones = Boton(fila2, 0, QStringLiteral("Opciones"), this, nullptr);
  tbOpciones->setIcon(IconoOpciones());
  auto* opciones = new QMenu(this);
  tbTamannoOriginal = opciones->addAction(QStringLiteral("Tamaño original"));
  tbTamannoOriginal->setCheckable(true);
  tbTamannoOriginal->setChecked(Preferencias.TamannoOriginal);
  tbTamannoOriginal->setStatusTip(
      QStringLiteral("Cartas de 62 × 98 en el ancho de la pantalla, desde el próximo reparto"));
  tbAnimacion = opciones->addAction(QStringLiteral("Mover las cartas con animación"));
  tbAnimacion->setCheckable(true);
  tbAnimacion->setChecked(Preferencias.Animacion);
  tbOpciones->setMenu(opciones);
  if (auto* b = qobject_cast<QToolButton*>(fila2->widgetForAction(tbOpciones)))
    b->setPopupMode(QToolButton::InstantPopup);
  connect(tbTamannoOriginal, &QAction::toggled, this, &TfrmJuego::tbTamannoOriginalClick);
  Tapete->PonerAnimacion(Preferencias.Animacion);
  connect(tbAnimacion, &QAction::toggled, this, [this](bool si) {
    Preferencias.Animacion = si;
    Tapete->PonerAnimacion(si);
    GuardarPreferencias(Preferencias);
  });
  Barra->setFixedHeight(2 * kAltoFila);
  InstalarAtajos(*this);

  sbStatus = new TBarraEstado(this);
  sbStatus->setSizeGripEnabled(false);
  sbStatus->setAutoFillBackground(true);
  sbStatus->setPalette(PaletaSistema());
  constexpr int anchos[5] = {55, 80, 140, 120, 200};
  for (int i = 0; i < 5; ++i) {
    Paneles[i] = NuevoPanel(QString::fromStdString(mesa.Paneles[i]), anchos[i], sbStatus);
    sbStatus->addWidget(Paneles[i]);
  }

  tmrTiempo.setInterval(60000);
  tmrFinJuego.setInterval(1);
  tmrFinJuego.setSingleShot(true);
  tmrNroJuego.setInterval(1);
  tmrNroJuego.setSingleShot(true);
  connect(&tmrTiempo, &QTimer::timeout, this, &TfrmJuego::tmrTiempoTimer);
  connect(&tmrFinJuego, &QTimer::timeout, this, &TfrmJuego::tmrFinJuegoTimer);
  connect(&tmrNroJuego, &QTimer::timeout, this, &TfrmJuego::tmrNroJuegoTimer);

  Preguntar = [this](const QString& pregunta) {
    QMessageBox caja(QMessageBox::Question, QStringLiteral("ZARP - Confirmación"), pregunta,
                     QMessageBox::Yes | QMessageBox::No, this);
    caja.setDefaultButton(QMessageBox::Yes);
    return caja.exec() == QMessageBox::Yes;
  };
  PedirNumero = [this] {
    TfrmIngresarNumero dialogo(this);
    return dialogo.exec() == QDialog::Accepted;
  };

  // The table is laid out for the whole screen: also the restored window covers it.
  if (QScreen* pantalla = QGuiApplication::primaryScreen())
    setGeometry(pantalla->availableGeometry());
  acomodar();
  Partida = std::make_unique<TPartidaEnJuego>(*this);
  InstalarEstadisticas(*this);
  Ayudas = InstalarAyudas(*this);
  Partida->SeguirVeredictos(*Ayudas);
}

TfrmJuego::~TfrmJuego() {
  // The table goes first: its children would otherwise outlive the cards it points to,
  // and a drag still in progress must end while they exist.
  delete Tapete;
  Tapete = nullptr;
  mesa.Ventana = nullptr;
}

void TfrmJuego::PrepararMaximizada() {
  setWindowState(Qt::WindowMaximized);
  winId();
  QBackingStore* almacen = backingStore();
  if (!almacen) return;
  // The first frame of a new window went mostly into the system handing out the pages of
  // its shared image (8 MB at 1920 x 1080), not into painting. The frame shown later
  // paints every pixel again; where the desktop maximises the window to another size, the
  // image is made again then, as it would have been.
  const QRect todo(QPoint(), size());
  almacen->resize(todo.size());
  almacen->beginPaint(todo);
  if (QPaintDevice* imagen = almacen->paintDevice())
    QPainter(imagen).fillRect(todo, palette().window());
  almacen->endPaint();
}

QMargins TfrmJuego::Marco(const QWidget& ventana) {
  const QRect dentro = ventana.geometry();
  const QRect fuera = ventana.frameGeometry();
  return {dentro.left() - fuera.left(), dentro.top() - fuera.top(),
          fuera.right() - dentro.right(), fuera.bottom() - dentro.bottom()};
}

QSize TfrmJuego::TamannoCartaPrevisto(const QMargins& marco) {
  QScreen* pantalla = QGuiApplication::primaryScreen();
  if (!pantalla) return {};
  // The status bar's height as acomodar() finds it: every panel is one line of text.
  QStatusBar estado;
  estado.setSizeGripEnabled(false);
  estado.addWidget(NuevoPanel(QStringLiteral("Juego #"), 200, &estado));
  const QSize ventana = pantalla->availableGeometry().marginsRemoved(marco).size();
  return TTapete::TamannoCartaPara(
      QSize(ventana.width(), ventana.height() - estado.sizeHint().height()),
      LeerPreferencias().TamannoOriginal ? QRect() : kZonaMesa, 2 * kAltoFila);
}

void TfrmJuego::acomodar() {
  const int altoEstado = sbStatus->sizeHint().height();
  Barra->setGeometry(0, 0, width(), Barra->height());
  sbStatus->setGeometry(0, height() - altoEstado, width(), altoEstado);
  // The table keeps the window's own coordinates: the games place their piles below
  // the toolbar rows.
  Tapete->setGeometry(0, 0, width(), height() - altoEstado);
  Tapete->Encuadrar(mesaOriginal_ ? QRect() : kZonaMesa, Barra->height());
  Tapete->lower();
}

void TfrmJuego::centrarFondo() {
  const QSize exterior = frameGeometry().size();
  const QSize fondo = ImagenFondo().size();
  Tapete->PonerPosicionFondo(
      QPoint(exterior.width() / 2 - fondo.width() / 2, exterior.height() / 2 - fondo.height() / 2));
}

void TfrmJuego::ponerPantallaMesa() {
  mesaOriginal_ = Preferencias.TamannoOriginal;
  const QSize pantalla = PantallaMesa(mesaOriginal_);
  mesa.AnchoPantalla = pantalla.width();
  mesa.AltoPantalla = pantalla.height();
}

void TfrmJuego::tbTamannoOriginalClick(bool si) {
  Preferencias.TamannoOriginal = si;
  GuardarPreferencias(Preferencias);
  // The engine's layout is part of the game: a deal in play keeps it. One nobody has
  // touched yet is dealt again, the same number, at the new width.
  if (mesa.ProcPreparar && !mesa.Historial && !mesa.JuegoTerminado) {
    NuevoReparto(mesa.NumeroJuego);
  }
}

void TfrmJuego::Jugar(TPrepararJuego preparar, std::int32_t numero) {
  if (!preparar) return;
  ponerPantallaMesa();
  acomodar();
  if (numero == 0 && Partida->Continuar(preparar)) return;
  Partida->Abandonar(ClaveDeJuego(preparar));
  preparar(mesa, numero);
  CargandoOculto();
}

void TfrmJuego::NuevoReparto(std::int32_t numero) {
  const TPrepararJuego preparar = mesa.ProcPreparar;
  if (!preparar) return;
  // With "Solo repartos ganables" on, the worker looks for the number; it deals it here.
  if (numero == 0 && Ayudas && Ayudas->BuscarRepartoGanable()) return;
  Partida->Abandonar(QuitarEspacios(mesa.NombreJuego));
  if (TfrmCargando* splash = Programa().frmCargando) splash->Mostrar();
  tmrFinJuego.stop();
  Tapete->TerminarAnimacion();
  mesa.LiberarMesa();
  // The next paint also wipes the pictures of a victory animation. The empty table is not
  // painted on its own: the deal takes microseconds, and the frame after it shows the
  // new table whole.
  CapaVictoria->Borrar();
  ponerPantallaMesa();
  acomodar();
  preparar(mesa, numero);
  CargandoOculto();
}

void TfrmJuego::Actualizar() {
  for (std::size_t i = 0; i < Paneles.size(); ++i) {
    const QString texto = QString::fromStdString(mesa.Paneles[i]);
    if (Paneles[i]->text() != texto) Paneles[i]->setText(texto);
  }
  tbDeshacer->setEnabled(mesa.DeshacerHabilitado);
  tbVolverInstantanea->setEnabled(mesa.VolverHabilitado);
  // The win check runs once, after the event that armed it has been handled.
  if (mesa.FinJuegoArmado && !tmrFinJuego.isActive()) tmrFinJuego.start();
  Tapete->MostrarCambios();
  Partida->Actualizar();
  emit Actualizado();
}

void TfrmJuego::PonerTitulo(const std::string& titulo) {
  TVentana::PonerTitulo(titulo);
  setWindowTitle(QString::fromStdString(titulo));
}

void TfrmJuego::CargandoOculto() {
  // Idempotent: the setup hides the splash itself; a setup that did not still leaves
  // no splash behind.
  if (TfrmCargando* splash = Programa().frmCargando) splash->Ocultar();
  tmrTiempo.stop();
  tmrTiempo.start();
  Actualizar();
}

void TfrmJuego::JuegoGanado() {
  TVentana::JuegoGanado();
  tmrTiempo.stop();
  Partida->Ganado();
  // The last cards land before the victory is drawn over the table.
  Tapete->TerminarAnimacion();
  Tapete->repaint();
  AnimacionVictoria();
  if (VerificarRecord()) return;
  // Over from here on, also where the dialog is never activated: closing asks nothing.
  mesa.JuegoTerminado = true;
  bool nuevo = false;
  {
    TfrmFinJuego fin(this);
    if (mesa.AyudaUsada) AvisarAyudaUsada(fin);
    fin.AlActivar = [this] {
      tmrTiempo.stop();
      mesa.JuegoTerminado = true;
    };
    fin.CalcularPosicionFija();
    nuevo = fin.exec() == QDialog::Accepted;
  }
  if (nuevo)
    NuevoReparto(0);
  else
    close();
}

void TfrmJuego::AnimacionVictoria() {
  mesa.Generador.SembrarConReloj();
  const std::uint16_t n = CantidadAnimacion(mesa.EscalaPantalla);
  const QSize exterior = frameGeometry().size();
  const auto ancho = static_cast<std::uint32_t>(std::max(0, exterior.width()));
  const auto alto = static_cast<std::uint32_t>(std::max(0, exterior.height()));
  // The thread handles no events meanwhile, so the table takes no input.
  for (std::uint16_t k = 0; k < n; ++k) {
    const int x = static_cast<int>(mesa.Generador.Aleatorio(ancho)) - 20;
    const int y = static_cast<int>(mesa.Generador.Aleatorio(alto)) - 40;
    const int cara = static_cast<int>(mesa.Generador.Aleatorio(40));
    CapaVictoria->Dibujar(cara, QPoint(x, y));
    QThread::msleep(1);
  }
}

bool TfrmJuego::VerificarRecord() {
  // A game the program helped with is won, but its result is not a record.
  if (mesa.AyudaUsada) return false;
  const std::uint16_t puntos = PuntosGanados(mesa.Minutos, mesa.Movimientos);
  const std::string clave = QuitarEspacios(mesa.NombreJuego);
  const std::uint8_t posicion = PosicionEnTabla(CarpetaDelPrograma(), clave, puntos);
  if (posicion == 0) return false;
  {
    TfrmPuntuaciones puntuaciones(this);
    puntuaciones.setWindowTitle(QStringLiteral("ZARP - Puntuaciones de ") +
                                QString::fromStdString(mesa.NombreJuego));
    puntuaciones.MostrarDesdeJuego(clave, puntos, posicion);
  }
  mesa.JuegoTerminado = true;
  // A number chosen in the table is dealt here by tmrNroJuego; otherwise the game ends.
  if (!JugarNroPedido) close();
  return true;
}

void TfrmJuego::tbPuntuacionClick() {
  TfrmPuntuaciones puntuaciones(this);
  puntuaciones.setWindowTitle(QStringLiteral("ZARP - Puntuaciones de ") +
                              QString::fromStdString(mesa.NombreJuego));
  puntuaciones.MostrarDesdeJuegoSinRecord(QuitarEspacios(mesa.NombreJuego));
}

bool TfrmJuego::confirmarTerminar() { return Preguntar && Preguntar(kTerminar); }

void TfrmJuego::tbNuevoClick() {
  if (confirmarTerminar()) NuevoReparto(0);
}

void TfrmJuego::tbJugarNroClick() {
  if (!PedirNumero || !PedirNumero()) return;
  if (confirmarTerminar()) NuevoReparto(NroIngresado);
}

void TfrmJuego::tbReiniciarClick() {
  if (!Preguntar || !Preguntar(kReiniciar)) return;
  mesa.Reiniciar();
  Partida->Reiniciado();
  // The first minute after a restart is a whole one.
  tmrTiempo.stop();
  tmrTiempo.start();
  Actualizar();
}

void TfrmJuego::tbDeshacerClick() {
  Tapete->Animar([this] { mesa.Deshacer(); });
  Actualizar();
}

void TfrmJuego::tbInstantaneaClick() {
  mesa.TomarInstantanea();
  Actualizar();
}

void TfrmJuego::tbVolverInstantaneaClick() {
  mesa.VolverAInstantanea();
  Actualizar();
}

void TfrmJuego::rbAyudaJuegoClick() { AbrirAyuda(ArchivoAyuda(), mesa.ContextoAyuda); }

void TfrmJuego::rbAyudaGeneralClick() { AbrirContenidoAyuda(ArchivoAyuda()); }

void TfrmJuego::tbReversosClick() {
  TfrmReversos& reversos = FormReversos(parentWidget() ? parentWidget() : this);
  if (reversos.exec() != QDialog::Accepted) return;
  PonerReversoActual(reversos.ReversoElegido());
  // Face-down cards on the table and in the stock show the new back; faces stay.
  Tapete->RepintarReversos();
}

void TfrmJuego::tmrTiempoTimer() {
  // A minute counts only while this window is the active one: under a dialog it is lost.
  if (QApplication::activeWindow() != this) return;
  mesa.ContarMinuto();
  Actualizar();
}

void TfrmJuego::tmrFinJuegoTimer() {
  tmrFinJuego.stop();
  mesa.VerificarFinAhora();
  Actualizar();
}

void TfrmJuego::tmrNroJuegoTimer() {
  tmrNroJuego.stop();
  NuevoReparto(mesa.NumeroJuego);
}

void TfrmJuego::closeEvent(QCloseEvent* e) {
  if (!mesa.JuegoTerminado) {
    if (!confirmarTerminar()) {
      e->ignore();
      return;
    }
    tmrFinJuego.stop();
    Partida->Cerrando();
    mesa.LiberarMesa();
  }
  tmrTiempo.stop();
  e->accept();
  if (QWidget* principal = parentWidget()) principal->showNormal();
  QDialog::done(QDialog::Rejected);
}

void TfrmJuego::reject() { close(); }

void TfrmJuego::keyPressEvent(QKeyEvent* e) {
  // Escape does not leave the game; closing goes through the question.
  if (e->key() == Qt::Key_Escape) {
    e->accept();
    return;
  }
  QDialog::keyPressEvent(e);
}

void TfrmJuego::resizeEvent(QResizeEvent* e) {
  QDialog::resizeEvent(e);
  acomodar();
  centrarFondo();
}

void TfrmJuego::changeEvent(QEvent* e) {
  QDialog::changeEvent(e);
  if (e->type() != QEvent::WindowStateChange) return;
  QWidget* principal = parentWidget();
  if (!principal) return;
  if (windowState() & Qt::WindowMinimized)
    principal->showMinimized();
  else
    principal->showNormal();
}

bool TfrmJuego::event(QEvent* e) {
  if (e->type() == QEvent::WindowActivate) {
    InstalarCursoresArrastre();
    centrarFondo();
  }
  return QDialog::event(e);
}
