#include "play/ventanas/Estadisticas.h"

#include <QAction>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTableWidget>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <limits>

#include "games/Registro.h"
#include "play/registros/Estadisticas.h"
#include "play/ventanas/Atajos.h"
#include "play/ventanas/Juego.h"
#include "play/ventanas/Principal.h"
#include "play/ventanas/Programa.h"

namespace {

enum TColumna { ColJuego, ColJugados, ColGanados, ColPorcentaje, ColPorcentajeGanables,
                ColRacha, ColRachaMaxima, ColPuntos, ColMovimientos, ColTiempo, ColCantidad };

constexpr int kRolOrden = Qt::UserRole;
constexpr int kRolClave = Qt::UserRole + 1;

// Sorts by the number it holds, not by its text; a figure not yet known sorts last.
class TCelda : public QTableWidgetItem {
 public:
  TCelda(const QString& texto, double orden) : QTableWidgetItem(texto) {
    setData(kRolOrden, orden);
    setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
  }
  bool operator<(const QTableWidgetItem& otra) const override {
    return data(kRolOrden).toDouble() < otra.data(kRolOrden).toDouble();
  }
};

TCelda* Numero(std::uint64_t n) { return new TCelda(QString::number(n), static_cast<double>(n)); }

// A whole percent; "—" while nothing is counted, which sorts first.
TCelda* Porcentaje(const std::optional<int>& pc) {
  return pc ? new TCelda(QString::number(*pc) + QStringLiteral(" %"), *pc)
            : new TCelda(QStringLiteral("—"), -1);
}

TCelda* Opcional(const std::optional<std::uint16_t>& v, const QString& sufijo = {}) {
  if (!v) return new TCelda(QStringLiteral("—"), std::numeric_limits<double>::max());
  return new TCelda(QString::number(*v) + sufijo, *v);
}

QIcon IconoEstadisticas() {
  QPixmap px(16, 16);
  px.fill(Qt::transparent);
  QPainter p(&px);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0, 92, 0));
  p.drawRect(2, 9, 3, 6);
  p.setBrush(QColor(0, 0, 128));
  p.drawRect(7, 3, 3, 12);
  p.setBrush(QColor(160, 0, 0));
  p.drawRect(12, 6, 3, 9);
  p.setPen(Qt::black);
  p.drawLine(0, 15, 15, 15);
  return QIcon(px);
}

}  // namespace

TGraficoPuntos::TGraficoPuntos(QWidget* parent) : QWidget(parent) {
  // The figure above the bars and room for the bars themselves, at any font size.
  setMinimumHeight(std::max(90, fontMetrics().height() * 5));
}

void TGraficoPuntos::PonerPuntos(std::vector<std::uint16_t> puntos) {
  puntos_ = std::move(puntos);
  update();
}

void TGraficoPuntos::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), palette().base());
  p.setPen(palette().color(QPalette::Mid));
  p.drawRect(rect().adjusted(0, 0, -1, -1));
  if (puntos_.empty()) {
    p.setPen(palette().color(QPalette::Text));
    p.drawText(rect(), Qt::AlignCenter, QStringLiteral("Sin juegos ganados"));
    return;
  }
  const int maximo = std::max<int>(1, *std::max_element(puntos_.begin(), puntos_.end()));
  // The tallest bar starts below the figure written over it.
  const QRect area = rect().adjusted(6, fontMetrics().height() + 4, -6, -4);
  const int n = static_cast<int>(puntos_.size());
  const int ancho = std::max(2, area.width() / n);
  for (int i = 0; i < n; ++i) {
    const int alto = std::max(1, area.height() * puntos_[static_cast<std::size_t>(i)] / maximo);
    const QRect barra(area.left() + i * ancho + 1, area.bottom() - alto + 1, ancho - 2, alto);
    p.fillRect(barra, QColor(0, 92, 0));
  }
  p.setPen(palette().color(QPalette::Text));
  p.drawText(rect().adjusted(6, 1, -6, 0), Qt::AlignLeft | Qt::AlignTop,
             QString::number(maximo));
}

TfrmEstadisticas::TfrmEstadisticas(QWidget* parent, const std::string& clave)
    : QDialog(parent), clave_(clave) {
  setWindowTitle(QStringLiteral("Estadísticas"));
  lvEstadisticas = new QTableWidget(0, ColCantidad, this);
  // Headers of two lines: ten columns fit a screen also with a large font.
  lvEstadisticas->setHorizontalHeaderLabels(
      {QStringLiteral("Juego"), QStringLiteral("Jugados"), QStringLiteral("Ganados"),
       QStringLiteral("%\nganados"), QStringLiteral("% de\nganables"),
       QStringLiteral("Racha\nactual"), QStringLiteral("Racha\nmás larga"),
       QStringLiteral("Mejores\npuntos"), QStringLiteral("Menos\nmovimientos"),
       QStringLiteral("Menor\ntiempo")});
  lvEstadisticas->horizontalHeaderItem(ColPorcentajeGanables)
      ->setToolTip(QStringLiteral("De los repartos jugados que el solucionador demostró "
                                  "ganables desde el reparto, los que se ganaron"));
  lvEstadisticas->setSelectionBehavior(QAbstractItemView::SelectRows);
  lvEstadisticas->setSelectionMode(QAbstractItemView::SingleSelection);
  lvEstadisticas->setEditTriggers(QAbstractItemView::NoEditTriggers);
  lvEstadisticas->verticalHeader()->hide();
  lvEstadisticas->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
  lvEstadisticas->verticalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
  lvEstadisticas->setSortingEnabled(true);

  lblGrafico = new QLabel(QStringLiteral("Puntos de los últimos juegos ganados"), this);
  Grafico = new TGraficoPuntos(this);
  bbtnReiniciar = new QPushButton(QStringLiteral("&Reiniciar estadísticas"), this);
  bbtnCerrar = new QPushButton(QStringLiteral("&Cerrar"), this);
  auto* botones = new QHBoxLayout;
  botones->addWidget(bbtnReiniciar);
  botones->addStretch();
  botones->addWidget(bbtnCerrar);
  auto* capas = new QVBoxLayout(this);
  capas->addWidget(lvEstadisticas);
  capas->addWidget(lblGrafico);
  capas->addWidget(Grafico);
  capas->addLayout(botones);

  connect(bbtnCerrar, &QPushButton::clicked, this, &QDialog::accept);
  connect(bbtnReiniciar, &QPushButton::clicked, this, [this] { bbtnReiniciarClick(); });
  connect(lvEstadisticas, &QTableWidget::itemSelectionChanged, this, [this] {
    mostrarGrafico();
    bbtnReiniciar->setEnabled(!ClaveSeleccionada().empty());
  });

  Preguntar = [this](const QString& pregunta) {
    QMessageBox caja(QMessageBox::Question, QStringLiteral("ZARP - Confirmación"), pregunta,
                     QMessageBox::Yes | QMessageBox::No, this);
    caja.setDefaultButton(QMessageBox::No);
    return caja.exec() == QMessageBox::Yes;
  };
  Cargar();
  if (!clave_.empty()) lvEstadisticas->setSortingEnabled(false);
  ajustarTamanno();
}

void TfrmEstadisticas::ajustarTamanno() {
  // Every column and row of the table in view, as far as the screen allows.
  QTableWidget* lv = lvEstadisticas;
  const int marco = 2 * lv->frameWidth();
  QSize tabla(lv->horizontalHeader()->length() + marco,
              lv->horizontalHeader()->sizeHint().height() + lv->verticalHeader()->length() + marco);
  layout()->activate();
  // What the rest of the dialog takes: the rows below the table, the margins beside it.
  const QMargins margenes = layout()->contentsMargins();
  const QSize resto(margenes.left() + margenes.right(),
                    layout()->sizeHint().height() - lv->sizeHint().height());
  QSize maximo(4096, 4096);
  if (const QScreen* pantalla = screen()) {
    // The window frame's share is a guess: nothing knows it before the window shows.
    maximo = pantalla->availableGeometry().size() - resto - QSize(16, 48);
  }
  if (tabla.height() > maximo.height())
    tabla.rwidth() += lv->verticalScrollBar()->sizeHint().width();
  if (tabla.width() > maximo.width())
    tabla.rheight() += lv->horizontalScrollBar()->sizeHint().height();
  lv->setMinimumSize(tabla.boundedTo(maximo));
  // A table shown whole takes no more room than its rows: the chart takes the rest.
  if (tabla.height() <= maximo.height()) lv->setMaximumHeight(tabla.height());
  adjustSize();
}

void TfrmEstadisticas::Cargar() {
  const std::string seleccionada = ClaveSeleccionada().empty() ? clave_ : ClaveSeleccionada();
  const TEstadisticas todas = LeerEstadisticas(CarpetaDelPrograma());
  lvEstadisticas->setSortingEnabled(false);
  lvEstadisticas->setRowCount(0);
  for (const TJuegoRegistrado& j : Juegos()) {
    if (!clave_.empty() && clave_ != j.Clave) continue;
    const auto it = todas.find(j.Clave);
    const TEstadisticaJuego e = it == todas.end() ? TEstadisticaJuego{} : it->second;
    const int fila = lvEstadisticas->rowCount();
    lvEstadisticas->insertRow(fila);
    auto* nombre = new QTableWidgetItem(QString::fromUtf8(j.Nombre));
    nombre->setData(kRolClave, QString::fromUtf8(j.Clave));
    lvEstadisticas->setItem(fila, ColJuego, nombre);
    lvEstadisticas->setItem(fila, ColJugados, Numero(e.Jugados));
    lvEstadisticas->setItem(fila, ColGanados, Numero(e.Ganados));
    lvEstadisticas->setItem(fila, ColPorcentaje, Porcentaje(PorcentajeGanados(e)));
    TCelda* ganables = Porcentaje(PorcentajeGanadosGanables(e));
    ganables->setToolTip(QStringLiteral("Ganados %1 de %2 repartos ganables")
                             .arg(e.GanadosGanables)
                             .arg(e.Ganables));
    lvEstadisticas->setItem(fila, ColPorcentajeGanables, ganables);
    lvEstadisticas->setItem(fila, ColRacha, Numero(e.RachaActual));
    lvEstadisticas->setItem(fila, ColRachaMaxima, Numero(e.RachaMaxima));
    lvEstadisticas->setItem(fila, ColPuntos, Opcional(e.MejoresPuntos));
    lvEstadisticas->setItem(fila, ColMovimientos, Opcional(e.MenosMovimientos));
    lvEstadisticas->setItem(fila, ColTiempo, Opcional(e.MenorTiempo, QStringLiteral(" min")));
  }
  if (clave_.empty()) lvEstadisticas->setSortingEnabled(true);
  int elegida = 0;
  for (int f = 0; f < lvEstadisticas->rowCount(); ++f)
    if (lvEstadisticas->item(f, ColJuego)->data(kRolClave).toString().toStdString() ==
        seleccionada)
      elegida = f;
  if (lvEstadisticas->rowCount() > 0) lvEstadisticas->selectRow(elegida);
  mostrarGrafico();
}

std::string TfrmEstadisticas::ClaveSeleccionada() const {
  const auto filas = lvEstadisticas->selectionModel()
                         ? lvEstadisticas->selectionModel()->selectedRows(ColJuego)
                         : QModelIndexList{};
  if (filas.isEmpty()) return {};
  return filas.first().data(kRolClave).toString().toStdString();
}

void TfrmEstadisticas::mostrarGrafico() {
  const std::string clave = ClaveSeleccionada();
  const TEstadisticas todas = LeerEstadisticas(CarpetaDelPrograma());
  const auto it = todas.find(clave);
  Grafico->PonerPuntos(it == todas.end() ? std::vector<std::uint16_t>{}
                                         : it->second.UltimosPuntos);
}

void TfrmEstadisticas::bbtnReiniciarClick() {
  const std::string clave = ClaveSeleccionada();
  if (clave.empty()) return;
  const TJuegoRegistrado* juego = BuscarRegistro(clave);
  const QString nombre = juego ? QString::fromUtf8(juego->Nombre) : QString::fromStdString(clave);
  if (!Preguntar || !Preguntar(QStringLiteral("¿Estás seguro de borrar las estadísticas de ") +
                               nombre + QStringLiteral("?")))
    return;
  TEstadisticas todas = LeerEstadisticas(CarpetaDelPrograma());
  todas.erase(clave);
  GuardarEstadisticas(CarpetaDelPrograma(), todas);
  Cargar();
}

QToolButton* InstalarEstadisticas(TfrmPrincipal& principal) {
  auto* boton = new QToolButton(&principal);
  boton->setObjectName(QStringLiteral("tbEstadisticas"));
  auto* accion = new QAction(IconoEstadisticas(), QStringLiteral("Estadísticas"), &principal);
  principal.addAction(accion);
  PonerAtajo(accion, QKeySequence(Qt::CTRL | Qt::Key_I));
  boton->setDefaultAction(accion);
  boton->setAutoRaise(true);
  QObject::connect(accion, &QAction::triggered, &principal, [&principal] {
    const QString nombre = principal.JuegoSeleccionado();
    TfrmEstadisticas dialogo(&principal);
    if (!nombre.isEmpty()) {
      // Starts on the selected game.
      for (int f = 0; f < dialogo.lvEstadisticas->rowCount(); ++f)
        if (dialogo.lvEstadisticas->item(f, ColJuego)->text() == nombre)
          dialogo.lvEstadisticas->selectRow(f);
    }
    dialogo.exec();
  });
  return boton;
}

void InstalarEstadisticas(TfrmJuego& juego) {
  const auto filas = juego.Barra->findChildren<QToolBar*>();
  if (filas.isEmpty()) return;
  QToolBar* fila = filas.back();
  QAction* a = fila->addAction(IconoEstadisticas(), QStringLiteral("Estadísticas"));
  a->setObjectName(QStringLiteral("tbEstadisticas"));
  PonerAtajo(a, QKeySequence(Qt::CTRL | Qt::Key_I));
  if (auto* b = fila->widgetForAction(a)) b->setFixedSize(40, 24);
  QObject::connect(a, &QAction::triggered, &juego, [&juego] {
    TfrmEstadisticas dialogo(&juego, QuitarEspacios(juego.mesa.NombreJuego));
    dialogo.exec();
  });
}
