#include "play/ventanas/Tapete.h"

#include <QHelpEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QToolTip>

#include <algorithm>

#include "backs/ventanas/ImagenesReversos.h"
#include "play/ventanas/Cursores.h"
#include "play/ventanas/Programa.h"
#include "resources/Dibujos.h"

namespace {

const QColor kColorMesa(0, 91, 0);

bool EnTramo(const TCarta* cabeza, const TControl* control) {
  for (const TCarta* c = cabeza; c; c = c->Encima)
    if (c == control) return true;
  return false;
}

}  // namespace

TTapete::TTapete(TMesa& mesa, QWidget* parent) : QWidget(parent), mesa_(mesa) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setAutoFillBackground(false);
  // The player's back arrives from its worker after the first paint.
  connect(&ImagenesReversos(), &TImagenesReversos::Lista, this, [this](const QString& archivo) {
    if (EsReversoActual(archivo)) RepintarReversos();
  });
}

TTapete::~TTapete() {
  if (arrastrada_) QuitarCursorArrastre();
}

QRect TTapete::Rectangulo(const TControl& control) {
  return {control.Left, control.Top, kAnchoCarta, kAltoCarta};
}

void TTapete::PonerFondo(const QImage& fondo) {
  fondo_ = fondo;
  fondoPx_ = QPixmap();
  update();
}

void TTapete::PonerPosicionFondo(QPoint posicion) {
  if (posicion == posicionFondo_) return;
  posicionFondo_ = posicion;
  update();
}

void TTapete::RepintarReversos() {
  versionReverso_ = ~std::uint64_t{0};
  update();
}

std::vector<const TControl*> TTapete::enOrden() const {
  std::vector<const TControl*> v;
  v.reserve(mesa_.Pilas.size() + mesa_.Cartas.size() + 1);
  for (const auto& p : mesa_.Pilas)
    if (p->Visible) v.push_back(p.get());
  if (mesa_.Mazo && mesa_.Mazo->Visible) v.push_back(mesa_.Mazo.get());
  for (const auto& c : mesa_.Cartas)
    if (c->Visible) v.push_back(c.get());
  std::sort(v.begin(), v.end(),
            [](const TControl* a, const TControl* b) { return a->Orden < b->Orden; });
  return v;
}

TControl* TTapete::ControlEn(QPoint punto) const {
  TControl* mejor = nullptr;
  auto mirar = [&](TControl* c) {
    if (c->Visible && Rectangulo(*c).contains(punto) && (!mejor || c->Orden > mejor->Orden))
      mejor = c;
  };
  for (const auto& p : mesa_.Pilas) mirar(p.get());
  if (mesa_.Mazo) mirar(mesa_.Mazo.get());
  for (const auto& c : mesa_.Cartas) mirar(c.get());
  return mejor;
}

const QPixmap& TTapete::dibujo(const TImagen& imagen) {
  const qreal dpr = devicePixelRatioF();
  if (dpr != dprCache_) {
    cache_.clear();
    dprCache_ = dpr;
    versionReverso_ = ~std::uint64_t{0};
  }
  if (imagen.Tipo == TTipoImagen::Reverso) {
    if (versionReverso_ != Programa().VersionReverso) {
      reverso_ = DibujoReversoActual(dpr);
      versionReverso_ = Programa().VersionReverso;
    }
    return reverso_;
  }
  const int clave = static_cast<int>(imagen.Tipo) << 8 | imagen.Indice;
  auto it = cache_.find(clave);
  if (it != cache_.end()) return *it;
  QPixmap px;
  switch (imagen.Tipo) {
    case TTipoImagen::Cara: px = DibujoCara(imagen.Indice, dpr); break;
    case TTipoImagen::Otros: px = DibujoOtros(imagen.Indice, dpr); break;
    case TTipoImagen::Fundacion: px = DibujoFundacion(imagen.Indice, dpr); break;
    case TTipoImagen::Ninguna:
    case TTipoImagen::Reverso: break;
  }
  return *cache_.insert(clave, px);
}

QRect TTapete::rectanguloArrastre() const {
  if (!arrastrada_) return {};
  return rectanguloTramo().translated(puntero_ - agarre_);
}

QRect TTapete::rectanguloTramo() const {
  QRect r;
  for (const TCarta* c = arrastrada_; c; c = c->Encima) r |= Rectangulo(*c);
  return r;
}

void TTapete::paintEvent(QPaintEvent* e) {
  QPainter p(this);
  // A drag frame repaints two separate rectangles: what lies between them is skipped.
  const QRegion zona = e->region();
  for (const QRect& r : zona) p.fillRect(r, kColorMesa);
  if (!fondo_.isNull()) {
    if (fondoPx_.isNull()) fondoPx_ = QPixmap::fromImage(fondo_);
    const QRect r(posicionFondo_, fondo_.size());
    if (zona.intersects(r)) p.drawPixmap(r.topLeft(), fondoPx_);
  }
  const TCarta* debajoOculta =
      arrastrada_ && arrastrada_->Debajo && !arrastrada_->Debajo->Visible ? arrastrada_->Debajo
                                                                          : nullptr;
  for (const TControl* c : enOrden()) {
    if (arrastrada_ && EnTramo(arrastrada_, c)) {
      // A pile of stacked cards shows the card the run uncovers while it is carried.
      if (debajoOculta && c == arrastrada_) {
        const QRect r = Rectangulo(*debajoOculta);
        if (zona.intersects(r)) p.drawPixmap(r.topLeft(), dibujo(debajoOculta->Imagen));
      }
      continue;
    }
    const QRect r = Rectangulo(*c);
    if (!zona.intersects(r) || c->Imagen.Tipo == TTipoImagen::Ninguna) continue;
    p.drawPixmap(r.topLeft(), dibujo(c->Imagen));
  }
  if (arrastrada_) {
    const QPoint d = puntero_ - agarre_;
    for (const TCarta* c = arrastrada_; c; c = c->Encima) {
      const QRect r = Rectangulo(*c).translated(d);
      if (zona.intersects(r)) p.drawPixmap(r.topLeft(), dibujo(c->Imagen));
    }
  }
  if (DibujarEncima) DibujarEncima(p);
}

void TTapete::presionar(QMouseEvent* e, bool doble) {
  if (arrastrada_ || presionado_) return;
  if (e->button() != Qt::LeftButton && e->button() != Qt::RightButton) return;
  const QPoint punto = e->position().toPoint();
  presionado_ = ControlEn(punto);
  boton_ = e->button();
  doble_ = doble;
  auto* carta = dynamic_cast<TCarta*>(presionado_);
  if (!carta) return;
  const TBoton b = boton_ == Qt::LeftButton ? TBoton::Izquierdo : TBoton::Derecho;
  if (!mesa_.PresionarCarta(*carta, b)) return;
  // The drag starts at once, without a movement threshold.
  arrastrada_ = carta;
  agarre_ = punto;
  puntero_ = punto;
  destino_ = nullptr;
  arrastrarSobre(punto);
  // Where the run lay: the card it uncovers shows from now on.
  update(rectanguloTramo());
}

void TTapete::mousePressEvent(QMouseEvent* e) { presionar(e, false); }

void TTapete::mouseDoubleClickEvent(QMouseEvent* e) { presionar(e, true); }

void TTapete::arrastrarSobre(QPoint punto) {
  TControl* c = ControlEn(punto);
  auto preguntar = [&](TControl* control, TEstadoArrastre estado) {
    const QPoint local = punto - Rectangulo(*control).topLeft();
    if (auto* carta = dynamic_cast<TCarta*>(control))
      return mesa_.ArrastrarSobreCarta(*carta, *arrastrada_, local.x(), local.y(), estado);
    return mesa_.ArrastrarSobrePila(*static_cast<TPila*>(control), *arrastrada_, local.x(),
                                    local.y(), estado);
  };
  if (destino_ && destino_ != c) preguntar(destino_, TEstadoArrastre::Saliendo);
  const TEstadoArrastre estado =
      destino_ == c ? TEstadoArrastre::Moviendo : TEstadoArrastre::Entrando;
  destino_ = c;
  acepta_ = c && preguntar(c, estado);
  MostrarCursorArrastre(acepta_);
}

void TTapete::mouseMoveEvent(QMouseEvent* e) {
  if (!arrastrada_) return;
  const QRect antes = rectanguloArrastre();
  puntero_ = e->position().toPoint();
  arrastrarSobre(puntero_);
  // Only the run's old and new places change; their union would span the table.
  update(QRegion(antes) + rectanguloArrastre());
}

void TTapete::terminarArrastre(QPoint punto) {
  const QRect antes = rectanguloArrastre();
  puntero_ = punto;
  arrastrarSobre(punto);
  TCarta& carta = *arrastrada_;
  TControl* destino = acepta_ ? destino_ : nullptr;
  const QRect tramo = rectanguloTramo();
  arrastrada_ = nullptr;
  destino_ = nullptr;
  acepta_ = false;
  QuitarCursorArrastre();
  // The drop goes only where the decision at the drop point accepted.
  if (destino) {
    const QPoint local = punto - Rectangulo(*destino).topLeft();
    if (auto* objetivo = dynamic_cast<TCarta*>(destino))
      mesa_.SoltarEnCarta(*objetivo, carta, local.x(), local.y());
    else
      mesa_.SoltarEnPila(*static_cast<TPila*>(destino), carta, local.x(), local.y());
    update();
  } else {
    update(QRegion(antes) + tramo);
  }
  mesa_.SoltarBotonCarta(carta, TBoton::Izquierdo, true);
}

void TTapete::cancelarArrastre() {
  if (!arrastrada_) return;
  const QRegion antes = QRegion(rectanguloArrastre()) + rectanguloTramo();
  arrastrada_ = nullptr;
  destino_ = nullptr;
  acepta_ = false;
  QuitarCursorArrastre();
  update(antes);
}

void TTapete::mouseReleaseEvent(QMouseEvent* e) {
  if (e->button() != boton_ || !(presionado_ || arrastrada_)) return;
  const QPoint punto = e->position().toPoint();
  TControl* control = presionado_;
  const bool doble = doble_;
  presionado_ = nullptr;
  boton_ = Qt::NoButton;
  doble_ = false;
  if (arrastrada_) {
    terminarArrastre(punto);
    emit Cambio();
    return;
  }
  if (!control) return;
  const TBoton b = e->button() == Qt::LeftButton ? TBoton::Izquierdo : TBoton::Derecho;
  // A click is the press and release of the left button on the same control; the second
  // press of a double click gives none. It is reported before the release.
  const bool click = b == TBoton::Izquierdo && !doble && Rectangulo(*control).contains(punto);
  if (auto* carta = dynamic_cast<TCarta*>(control)) {
    if (click) mesa_.ClickCarta(*carta);
    mesa_.SoltarBotonCarta(*carta, b, false);
  } else if (static_cast<TPila*>(control)->EsMazo()) {
    if (click) mesa_.ClickMazo();
  }
  update();
  emit Cambio();
}

bool TTapete::event(QEvent* e) {
  if (e->type() == QEvent::ToolTip) {
    auto* ayuda = static_cast<QHelpEvent*>(e);
    auto* carta = dynamic_cast<TCarta*>(ControlEn(ayuda->pos()));
    if (carta && carta->MostrarHint && carta->BocaArriba && !arrastrada_)
      QToolTip::showText(ayuda->globalPos(), QString::fromStdString(TextoHint(*carta)), this,
                         Rectangulo(*carta));
    else
      QToolTip::hideText();
    return true;
  }
  if (e->type() == QEvent::Hide) {
    // A drag whose table is hidden ends without a drop.
    cancelarArrastre();
    presionado_ = nullptr;
    boton_ = Qt::NoButton;
  }
  return QWidget::event(e);
}
