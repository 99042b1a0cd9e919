#include "scores/ventanas/Puntuaciones.h"

#include <QApplication>
#include <QBoxLayout>
#include <QHeaderView>
#include <QHelpEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QStyle>
#include <QTableWidget>
#include <QToolTip>

#include <algorithm>

#include "games/Registro.h"
#include "play/ventanas/Juego.h"
#include "play/ventanas/Principal.h"
#include "play/ventanas/Programa.h"
#include "resources/Dibujos.h"
#include "scores/ventanas/Records.h"

bool JugarNroPedido = false;
std::uint8_t PosicionNueva = 0;
int TiempoHint = 2500;

namespace {

const QString kExplicacion = QStringLiteral(
    "Los puntos se calculan en base al tiempo transcurrido desde el inicio del juego, más la "
    "cantidad de\n"
    "movimientos (cuentan también los hechos al deshacer o volver a toma instántanea) "
    "multiplicados por 1,5.\n"
    "Esto es: Puntos= Tiempo + CantMovimientos * 1,5; y son negativos, es decir cuantos más se "
    "tenga, peor.");

enum TColumna { ColPosicion, ColPuntos, ColNombre, ColNumero };

}  // namespace

TfrmPuntuaciones::TfrmPuntuaciones(QWidget* parent)
    : TDialogoFijo(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                               Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                               Qt::CustomizeWindowHint),
      frmJuego_(qobject_cast<TfrmJuego*>(parent)),
      frmPrincipal_(qobject_cast<TfrmPrincipal*>(parent)) {
  setWindowTitle(QStringLiteral("ZARP - "));

  lvPuntuaciones = new QTableWidget(0, 4, this);
  lvPuntuaciones->setHorizontalHeaderLabels(
      {QStringLiteral(" "), QStringLiteral("Puntos"), QStringLiteral("Nombre"),
       QStringLiteral("Nro. de Juego")});
  lvPuntuaciones->verticalHeader()->hide();
  QHeaderView* cabecera = lvPuntuaciones->horizontalHeader();
  cabecera->setSectionsClickable(false);
  cabecera->setHighlightSections(false);
  cabecera->setStretchLastSection(true);
  cabecera->setMinimumSectionSize(16);
  lvPuntuaciones->setShowGrid(true);
  lvPuntuaciones->setSelectionBehavior(QAbstractItemView::SelectRows);
  lvPuntuaciones->setSelectionMode(QAbstractItemView::SingleSelection);
  lvPuntuaciones->setEditTriggers(QAbstractItemView::NoEditTriggers);
  lvPuntuaciones->setIconSize(QSize(16, 16));
  lvPuntuaciones->setWordWrap(false);
  // The selection stays visible when the list loses the focus.
  QPalette pal = lvPuntuaciones->palette();
  for (QPalette::ColorRole rol : {QPalette::Highlight, QPalette::HighlightedText})
    pal.setColor(QPalette::Inactive, rol, pal.color(QPalette::Active, rol));
  lvPuntuaciones->setPalette(pal);
  lvPuntuaciones->viewport()->installEventFilter(this);
  connect(lvPuntuaciones, &QTableWidget::itemSelectionChanged, this,
          &TfrmPuntuaciones::lvPuntuacionesSelectItem);

  bbtnJugarNro = new QPushButton(this);
  bbtnJugarNro->setDefault(true);
  bbtnJugarNro->setIcon(IconoMenu(10));
  // As wide as the longest game number needs; its place stays while it is hidden.
  bbtnJugarNro->setText(QStringLiteral("Jugar #-2147483648"));
  bbtnJugarNro->setMinimumSize(bbtnJugarNro->sizeHint().expandedTo(QSize(129, 25)));
  QSizePolicy politica = bbtnJugarNro->sizePolicy();
  politica.setRetainSizeWhenHidden(true);
  bbtnJugarNro->setSizePolicy(politica);
  bbtnJugarNro->hide();
  connect(bbtnJugarNro, &QPushButton::clicked, this, &TfrmPuntuaciones::bbtnJugarNroClick);

  auto* raiz = new QVBoxLayout(this);
  raiz->setContentsMargins(8, 8, 7, 6);
  raiz->setSpacing(7);
  raiz->addWidget(lvPuntuaciones);
  raiz->addWidget(bbtnJugarNro, 0, Qt::AlignRight);
  DimensionarTabla();
  AjustarAlContenido(*this, QSize(392, 239));
}

void TfrmPuntuaciones::DimensionarTabla() {
  // Columns as wide as the form's or as their header and longest content need, in the
  // fonts in use; rows for the whole table of ten. Nothing scrolls.
  QHeaderView* cabecera = lvPuntuaciones->horizontalHeader();
  const QFontMetrics fm = lvPuntuaciones->fontMetrics();
  const int relleno = 2 * lvPuntuaciones->style()->pixelMetric(QStyle::PM_FocusFrameHMargin,
                                                                nullptr, lvPuntuaciones) + 10;
  const auto ancho = [&](TColumna c, int forma, int contenido) {
    return std::max({forma, cabecera->sectionSizeHint(c), contenido + relleno});
  };
  const int anchos[4] = {
      ancho(ColPosicion, 25, lvPuntuaciones->iconSize().width()),
      ancho(ColPuntos, 70, fm.horizontalAdvance(QStringLiteral("65535"))),
      ancho(ColNombre, 190, fm.averageCharWidth() * static_cast<int>(MaxNombre)),
      ancho(ColNumero, 377 - 25 - 70 - 190, fm.horizontalAdvance(QStringLiteral("-2147483648")))};
  int total = 2 * lvPuntuaciones->frameWidth();
  for (int c = 0; c < 4; ++c) {
    lvPuntuaciones->setColumnWidth(c, anchos[c]);
    total += anchos[c];
  }
  QHeaderView* filas = lvPuntuaciones->verticalHeader();
  // Rows as tall as a line of text or an icon needs, not the style's roomier default.
  const int alto = std::max({filas->minimumSectionSize(), fm.height() + 6,
                             lvPuntuaciones->iconSize().height() + 4});
  filas->setSectionResizeMode(QHeaderView::Fixed);
  filas->setDefaultSectionSize(alto);
  const int altoTotal = 2 * lvPuntuaciones->frameWidth() + cabecera->sizeHint().height() +
                        static_cast<int>(MaxPuntuaciones) * alto;
  lvPuntuaciones->setMinimumSize(QSize(total, altoTotal).expandedTo(QSize(377, 193)));
}

TfrmPuntuaciones::~TfrmPuntuaciones() = default;

void TfrmPuntuaciones::CargarPuntuaciones(const std::string& clave) {
  filas_ = ::CargarPuntuaciones(CarpetaDelPrograma(), QuitarEspacios(clave));
}

void TfrmPuntuaciones::MostrarDesdeJuego(const std::string& clave, std::uint16_t puntos,
                                         std::uint8_t posicion) {
  CalcularPosicionFija();
  DesdeJuego = true;
  TrasVictoria = true;
  TfrmRecords records(parentWidget());
  if (records.exec() != QDialog::Accepted) return;
  const std::string nombre = records.edtNombre->text().toStdString();
  const std::int32_t numero = frmJuego_ ? frmJuego_->mesa.NumeroJuego : 0;
  GuardarPuntuacion(CarpetaDelPrograma(), QuitarEspacios(clave), nombre, numero, puntos,
                    posicion);
  CargarPuntuaciones(clave);
  PosicionNueva = posicion;
  exec();
}

void TfrmPuntuaciones::MostrarDesdeJuegoSinRecord(const std::string& clave) {
  PosicionNueva = 0;
  CalcularPosicionFija();
  DesdeJuego = true;
  TrasVictoria = false;
  CargarPuntuaciones(clave);
  exec();
}

void TfrmPuntuaciones::MostrarDesdePrincipal(const std::string& clave) {
  PosicionNueva = 0;
  CalcularPosicionFija();
  DesdeJuego = false;
  CargarPuntuaciones(clave);
  exec();
}

void TfrmPuntuaciones::showEvent(QShowEvent* e) {
  TDialogoFijo::showEvent(e);
  if (e->spontaneous()) return;
  // Once per showing: a later activation (after the confirmation box) must not undo a
  // choice already made.
  prepararMostrar();
}

void TfrmPuntuaciones::prepararMostrar() {
  JugarNroPedido = false;
  lvPuntuaciones->setToolTip(kExplicacion);
  TiempoHint = 10000;
  bbtnJugarNro->setIcon(IconoMenu(10));

  // Best first; rows of equal points keep the file's order, the older one first.
  std::stable_sort(filas_.begin(), filas_.end(),
                   [](const TFilaPuntuacion& a, const TFilaPuntuacion& b) {
                     return a.Puntos < b.Puntos;
                   });
  lvPuntuaciones->clearSelection();
  lvPuntuaciones->setRowCount(0);
  lvPuntuaciones->setRowCount(static_cast<int>(filas_.size()));
  for (int i = 0; i < static_cast<int>(filas_.size()); ++i) {
    const TFilaPuntuacion& f = filas_[static_cast<std::size_t>(i)];
    auto* icono = new QTableWidgetItem(IconoPosicion(i + 1), QString());
    lvPuntuaciones->setItem(i, ColPosicion, icono);
    lvPuntuaciones->setItem(i, ColPuntos, new QTableWidgetItem(QString::number(f.Puntos)));
    lvPuntuaciones->setItem(i, ColNombre, new QTableWidgetItem(QString::fromStdString(f.Nombre)));
    lvPuntuaciones->setItem(i, ColNumero, new QTableWidgetItem(QString::number(f.NroJuego)));
  }
  if (PosicionNueva > 0 && PosicionNueva <= filas_.size()) {
    lvPuntuaciones->selectRow(PosicionNueva - 1);
    lvPuntuaciones->scrollToItem(lvPuntuaciones->item(PosicionNueva - 1, ColNombre));
  }
  lvPuntuacionesSelectItem();
}

bool TfrmPuntuaciones::NumeroSeleccionado(std::int32_t& numero) const {
  const QModelIndexList filas = lvPuntuaciones->selectionModel()->selectedRows();
  if (filas.isEmpty()) return false;
  const int fila = filas.front().row();
  if (fila < 0 || fila >= static_cast<int>(filas_.size())) return false;
  numero = filas_[static_cast<std::size_t>(fila)].NroJuego;
  return true;
}

void TfrmPuntuaciones::lvPuntuacionesSelectItem() {
  std::int32_t numero = 0;
  if (!NumeroSeleccionado(numero)) {
    bbtnJugarNro->hide();
    return;
  }
  bbtnJugarNro->setText(QStringLiteral("Jugar #") + QString::number(numero));
  bbtnJugarNro->show();
}

void TfrmPuntuaciones::bbtnJugarNroClick() {
  std::int32_t numero = 0;
  if (!NumeroSeleccionado(numero)) return;
  const QString pregunta = QStringLiteral("¿Estás seguro que querés terminar el juego actual?");
  if (DesdeJuego) {
    bool seguir = true;
    if (!TrasVictoria) {
      if (frmJuego_ && frmJuego_->Preguntar) {
        seguir = frmJuego_->Preguntar(pregunta);
      } else {
        QMessageBox caja(QMessageBox::Question, QStringLiteral("ZARP - Confirmación"), pregunta,
                         QMessageBox::Yes | QMessageBox::No, this);
        seguir = caja.exec() == QMessageBox::Yes;
      }
    }
    if (seguir && frmJuego_) {
      frmJuego_->mesa.NumeroJuego = numero;
      JugarNroPedido = true;
      frmJuego_->tmrNroJuego.start();
    }
  } else if (frmPrincipal_) {
    frmPrincipal_->NroPedido = numero;
    JugarNroPedido = true;
    frmPrincipal_->tmrNroJuego.start();
  }
  accept();
}

void TfrmPuntuaciones::done(int resultado) {
  TiempoHint = 2500;
  TDialogoFijo::done(resultado);
}

bool TfrmPuntuaciones::eventFilter(QObject* objeto, QEvent* e) {
  // The explanation stays as long as the program's hint time says.
  if (objeto == lvPuntuaciones->viewport() && e->type() == QEvent::ToolTip) {
    const auto* ayuda = static_cast<QHelpEvent*>(e);
    QToolTip::showText(ayuda->globalPos(), lvPuntuaciones->toolTip(), lvPuntuaciones, {},
                       TiempoHint);
    return true;
  }
  return TDialogoFijo::eventFilter(objeto, e);
}
