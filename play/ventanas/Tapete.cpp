#include "play/ventanas/Tapete.h"

#include <QAccessible>
#include <QApplication>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QThreadPool>
#include <QToolTip>

#include <algorithm>
#include <cmath>
#include <future>
#include <memory>
#include <iterator>
#include <tuple>

#include "backs/ventanas/ImagenesReversos.h"
#include "play/ventanas/Cursores.h"
#include "play/ventanas/Programa.h"
#include "play/ventanas/TapeteAccesible.h"
#include "resources/Dibujos.h"

namespace {

const QColor kColorMesa(0, 91, 0);

bool EnTramo(const TCarta* cabeza, const TControl* control) {
  for (const TCarta* c = cabeza; c; c = c->Encima)
    if (c == control) return true;
  return false;
}

}  // namespace

QPoint TTapete::Local(const TControl& control, QPoint punto) const {
  // The engine's X and Y are pixels of the 62 x 98 control; the painted rectangle maps
  // onto it whole, so its first pixel is 0 and its last one 61 (or 97) at every scale.
  const QRect r = Rectangulo(control);
  const QPointF p = QPointF(punto - r.topLeft()) + QPointF(0.5, 0.5);
  const int x = static_cast<int>(std::floor(p.x() * kAnchoCarta / r.width()));
  const int y = static_cast<int>(std::floor(p.y() * kAltoCarta / r.height()));
  return {std::clamp(x, 0, kAnchoCarta - 1), std::clamp(y, 0, kAltoCarta - 1)};
}

TTapete::TTapete(TMesa& mesa, QWidget* parent) : QWidget(parent), mesa_(mesa) {
  setFocusPolicy(Qt::StrongFocus);
  InstalarTapeteAccesible();
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

QRect TTapete::RectanguloMesa(const TControl& control) {
  return {control.Left, control.Top, kAnchoCarta, kAltoCarta};
}

QRect TTapete::Rectangulo(const TControl& control) const {
  // Every card has the same painted size; only its corner follows the transform, so
  // that a pile's cards keep their spacing to the pixel.
  const QPointF esquina = vista_.map(QPointF(control.Left, control.Top));
  return {static_cast<int>(std::lround(esquina.x())), static_cast<int>(std::lround(esquina.y())),
          tamCarta_.width(), tamCarta_.height()};
}

QPoint TTapete::PuntoMesa(QPoint punto) const {
  const QPointF p = vista_.inverted().map(QPointF(punto) + QPointF(0.5, 0.5));
  return {static_cast<int>(std::floor(p.x())), static_cast<int>(std::floor(p.y()))};
}

void TTapete::Encuadrar(const QRect& zona, int arriba) {
  zona_ = zona;
  arriba_ = arriba;
  ajustarVista();
}

namespace {

double EscalaPara(QSize tamanno, const QRect& zona, int arriba) {
  if (zona.isEmpty()) return 1;
  const QSizeF libre(tamanno.width(), std::max(1, tamanno.height() - arriba));
  const double escala = std::min(libre.width() / zona.width(), libre.height() / zona.height());
  return escala > 0 ? escala : 1;
}

QSize CartaEnEscala(double escala) {
  return {std::max(1, static_cast<int>(std::lround(kAnchoCarta * escala))),
          std::max(1, static_cast<int>(std::lround(kAltoCarta * escala)))};
}

// One key per picture of the table, for the drawings kept and for the scene compared.
int ClaveDibujo(TTipoImagen tipo, int indice) { return static_cast<int>(tipo) << 8 | indice; }

}  // namespace

QSize TTapete::TamannoCartaPara(QSize tamanno, const QRect& zona, int arriba) {
  return CartaEnEscala(EscalaPara(tamanno, zona, arriba));
}

void TTapete::ajustarVista() {
  const double escala = EscalaPara(size(), zona_, arriba_);
  QPointF desplazamiento;
  if (!zona_.isEmpty()) {
    const QSizeF libre(width(), std::max(1, height() - arriba_));
    desplazamiento = QPointF((libre.width() - zona_.width() * escala) / 2,
                             arriba_ + (libre.height() - zona_.height() * escala) / 2) -
                     QPointF(zona_.topLeft()) * escala;
  }
  const QSize tam = CartaEnEscala(escala);
  if (escala == escala_ && desplazamiento == desplazamiento_ && tam == tamCarta_) return;
  cancelarArrastre();
  escala_ = escala;
  desplazamiento_ = desplazamiento;
  tamCarta_ = tam;
  vista_ = QTransform::fromTranslate(desplazamiento.x(), desplazamiento.y()).scale(escala, escala);
  update();
}

void TTapete::resizeEvent(QResizeEvent* e) {
  QWidget::resizeEvent(e);
  ajustarVista();
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

std::vector<TTapete::TPintura> TTapete::escena() const {
  std::vector<TPintura> v;
  for (const TControl* c : enOrden())
    if (c->Imagen.Tipo != TTipoImagen::Ninguna)
      v.push_back({Rectangulo(*c), ClaveDibujo(c->Imagen.Tipo, c->Imagen.Indice)});
  // The focus and the run in hand are framed around their rectangles, in the colour of
  // what the pile would say.
  if (focoVisible_)
    v.push_back({rectanguloFoco(), -(1 + (llevada_ ? 2 : 0) + (aceptaFoco_ ? 4 : 0) + (rechazo_ ? 8 : 0))});
  if (llevada_) {
    QRect r;
    for (const TCarta* c = llevada_; c; c = c->Encima) r |= Rectangulo(*c);
    v.push_back({r, -16});
  }
  return v;
}

void TTapete::MostrarCambios() {
  std::vector<TPintura> ahora = escena();
  // Pictures found in both scenes, as a multiset (a pile of backs repeats one picture).
  const auto menor = [](const TPintura& a, const TPintura& b) {
    return std::tuple(a.Rect.x(), a.Rect.y(), a.Rect.width(), a.Rect.height(), a.Clave) <
           std::tuple(b.Rect.x(), b.Rect.y(), b.Rect.width(), b.Rect.height(), b.Clave);
  };
  std::vector<TPintura> antes = escena_, despues = ahora;
  std::sort(antes.begin(), antes.end(), menor);
  std::sort(despues.begin(), despues.end(), menor);
  std::vector<TPintura> comunes, cambiadas;
  std::set_intersection(antes.begin(), antes.end(), despues.begin(), despues.end(),
                        std::back_inserter(comunes), menor);
  std::set_symmetric_difference(antes.begin(), antes.end(), despues.begin(), despues.end(),
                                std::back_inserter(cambiadas), menor);
  // What stayed may have changed places in the stacking: compare the pictures both scenes
  // share in their painting order; where the orders part, both are painted again.
  const auto enComun = [&](const std::vector<TPintura>& escena) {
    std::vector<TPintura> v;
    std::vector<bool> tomada(comunes.size());
    for (const TPintura& p : escena) {
      auto i = static_cast<std::size_t>(
          std::lower_bound(comunes.begin(), comunes.end(), p, menor) - comunes.begin());
      while (i < comunes.size() && comunes[i] == p && tomada[i]) ++i;
      if (i < comunes.size() && comunes[i] == p) {
        v.push_back(p);
        tomada[i] = true;
      }
    }
    return v;
  };
  if (!comunes.empty()) {
    const std::vector<TPintura> a = enComun(escena_), b = enComun(ahora);
    for (std::size_t i = 0; i < a.size() && i < b.size(); ++i)
      if (!(a[i] == b[i])) {
        cambiadas.push_back(a[i]);
        cambiadas.push_back(b[i]);
      }
  }
  escena_ = std::move(ahora);
  // The focus frame lies up to three of its widths outside what it frames; what is painted
  // over the table (the hint's marks) a few pixels around a card, while there is any.
  const int margenFoco = static_cast<int>(std::ceil(4 * std::max(2.0, 3 * escala_))) + 2;
  const int margenCarta = MargenEncima ? MargenEncima() : 5;
  // United in pairs, then pairs of pairs: one rectangle at a time, every union would go
  // over the whole region so far.
  std::vector<QRegion> partes;
  partes.reserve(cambiadas.size());
  for (const TPintura& p : cambiadas) {
    const int m = p.Clave < 0 ? margenFoco : margenCarta;
    partes.emplace_back(p.Rect.adjusted(-m, -m, m, m));
  }
  while (partes.size() > 1) {
    for (std::size_t i = 0; i < partes.size() / 2; ++i)
      partes[i] = partes[2 * i] + partes[2 * i + 1];
    if (partes.size() % 2) partes[partes.size() / 2] = std::move(partes.back());
    partes.resize((partes.size() + 1) / 2);
  }
  if (!partes.empty() && !partes.front().isEmpty()) update(partes.front());
}

std::vector<const TControl*> TTapete::enOrden() const {
  std::vector<const TControl*> v;
  v.reserve(mesa_.Pilas.size() + mesa_.Cartas.size() + 1);
  for (const auto& p : mesa_.Pilas)
    if (p->Visible) v.push_back(p.get());
  if (mesa_.Mazo && mesa_.Mazo->Visible) v.push_back(mesa_.Mazo.get());
  for (const auto& c : mesa_.Cartas)
    if (c->Visible || persistentes_.count(c.get())) v.push_back(c.get());
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

namespace {

// A picture as drawn, with the largest rectangle around its middle whose pixels are all
// opaque (found from the middle row outwards) and those pixels in a copy without alpha.
// The rectangle is empty when the middle lets the table through (an empty place), and for
// pictures of a pixel ratio other than 1, which are painted whole.
struct TImagenInterior {
  QImage Imagen;
  QRect Interior;
  QImage Opaca;
};

TImagenInterior ConInterior(QImage imagen) {
  TImagenInterior r{std::move(imagen), {}, {}};
  const QImage& i = r.Imagen;
  if (i.isNull() || i.devicePixelRatio() != 1) return r;
  if (!i.hasAlphaChannel()) {
    r.Interior = i.rect();
    r.Opaca = i;
    return r;
  }
  const QImage argb = i.convertToFormat(QImage::Format_ARGB32_Premultiplied);
  const auto opaco = [&argb](int x, int y) {
    return qAlpha(reinterpret_cast<const QRgb*>(argb.constScanLine(y))[x]) == 255;
  };
  const int medio = argb.height() / 2;
  int izquierda = argb.width() / 2;
  int derecha = izquierda + 1;
  if (!opaco(izquierda, medio)) return r;
  while (izquierda > 0 && opaco(izquierda - 1, medio)) --izquierda;
  while (derecha < argb.width() && opaco(derecha, medio)) ++derecha;
  const auto filaOpaca = [&](int y) {
    for (int x = izquierda; x < derecha; ++x)
      if (!opaco(x, y)) return false;
    return true;
  };
  int arriba = medio;
  int abajo = medio + 1;
  while (arriba > 0 && filaOpaca(arriba - 1)) --arriba;
  while (abajo < argb.height() && filaOpaca(abajo)) ++abajo;
  r.Interior = QRect(izquierda, arriba, derecha - izquierda, abajo - arriba);
  r.Opaca = argb.copy(r.Interior).convertToFormat(QImage::Format_RGB32);
  return r;
}

TTapete::TDibujo Dibujo(const TImagenInterior& i) {
  return {QPixmap::fromImage(i.Imagen), i.Interior,
          i.Opaca.isNull() ? QPixmap() : QPixmap::fromImage(i.Opaca)};
}

// The pictures of one card size and pixel ratio, shared by every table of the run: a new
// game window of the same size draws nothing again. Another size replaces them.
struct TDibujosMesa {
  QSize Tamanno;
  qreal Dpr = 0;
  QHash<int, TTapete::TDibujo> Cache;
  // Drawn ahead on a worker (PrepararDibujos), by the same keys, for one size.
  QSize TamannoPreparado;
  qreal DprPreparado = 0;
  std::shared_future<QHash<int, TImagenInterior>> Preparados;
};

TDibujosMesa& DibujosMesa() {
  static TDibujosMesa dibujos;
  return dibujos;
}

// The background picture made ready for the screen once per run, not per game window.
const QPixmap& PixmapFondo(const QImage& fondo) {
  static qint64 clave = 0;
  static QPixmap pixmap;
  if (fondo.cacheKey() != clave || pixmap.isNull()) {
    pixmap = QPixmap::fromImage(fondo);
    clave = fondo.cacheKey();
  }
  return pixmap;
}

}  // namespace

const TTapete::TDibujo& TTapete::dibujo(const TImagen& imagen) {
  const qreal dpr = devicePixelRatioF();
  const QSize tam = tamCarta_;
  TDibujosMesa& d = DibujosMesa();
  if (dpr != d.Dpr || tam != d.Tamanno) {
    d.Cache.clear();
    d.Dpr = dpr;
    d.Tamanno = tam;
  }
  if (imagen.Tipo == TTipoImagen::Reverso) {
    if (versionReverso_ != Programa().VersionReverso || reverso_.Px.devicePixelRatio() != dpr ||
        reverso_.Px.deviceIndependentSize().toSize() != tam) {
      reverso_ = Dibujo(ConInterior(DibujoReversoActual(tam, dpr).toImage()));
      versionReverso_ = Programa().VersionReverso;
    }
    return reverso_;
  }
  const int clave = ClaveDibujo(imagen.Tipo, imagen.Indice);
  auto it = d.Cache.find(clave);
  if (it != d.Cache.end()) return *it;
  if (d.Preparados.valid() && d.TamannoPreparado == tam && d.DprPreparado == dpr) {
    // Waits only if the table is shown before the worker is done.
    const QHash<int, TImagenInterior> preparados = d.Preparados.get();
    d.Preparados = {};
    for (auto i = preparados.begin(); i != preparados.end(); ++i)
      d.Cache.insert(i.key(), Dibujo(i.value()));
    it = d.Cache.find(clave);
    if (it != d.Cache.end()) return *it;
  }
  QImage px;
  switch (imagen.Tipo) {
    case TTipoImagen::Cara: px = ImagenCara(imagen.Indice, tam, dpr); break;
    case TTipoImagen::Otros: px = ImagenOtros(imagen.Indice, tam, dpr); break;
    case TTipoImagen::Fundacion: px = ImagenFundacion(imagen.Indice, tam, dpr); break;
    case TTipoImagen::Ninguna:
    case TTipoImagen::Reverso: break;
  }
  return *d.Cache.insert(clave, Dibujo(ConInterior(std::move(px))));
}

void TTapete::PrepararDibujos(QSize carta, qreal dpr) {
  TDibujosMesa& d = DibujosMesa();
  if ((d.Tamanno == carta && d.Dpr == dpr) ||
      (d.Preparados.valid() && d.TamannoPreparado == carta && d.DprPreparado == dpr))
    return;
  auto promesa = std::make_shared<std::promise<QHash<int, TImagenInterior>>>();
  d.Preparados = promesa->get_future().share();
  d.TamannoPreparado = carta;
  d.DprPreparado = dpr;
  // Qt's own pool: the application object waits for it before it goes.
  QThreadPool::globalInstance()->start([promesa, carta, dpr] {
    QHash<int, TImagenInterior> v;
    for (int i = 0; i < 40; ++i)
      v.insert(ClaveDibujo(TTipoImagen::Cara, i), ConInterior(ImagenCara(i, carta, dpr)));
    for (int i = 0; i < 3; ++i)
      v.insert(ClaveDibujo(TTipoImagen::Otros, i), ConInterior(ImagenOtros(i, carta, dpr)));
    for (int i = 0; i < 4; ++i)
      v.insert(ClaveDibujo(TTipoImagen::Fundacion, i), ConInterior(ImagenFundacion(i, carta, dpr)));
    promesa->set_value(std::move(v));
  });
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
  const QRegion zona = e->region();
  // What is painted, bottom to top, where it intersects the region.
  std::vector<TPintado> pinturas;
  const auto pintar = [&](const QRect& r, const TImagen& imagen) {
    if (!zona.intersects(r)) return;
    const TDibujo& d = dibujo(imagen);
    pinturas.push_back({r, d, d.Interior.translated(r.topLeft())});
  };
  if (!fondo_.isNull() && fondoPx_.isNull()) fondoPx_ = PixmapFondo(fondo_);
  const TCarta* debajoOculta =
      arrastrada_ && arrastrada_->Debajo && !arrastrada_->Debajo->Visible ? arrastrada_->Debajo
                                                                          : nullptr;
  std::vector<const TCarta*> enCamino;
  for (const TControl* c : enOrden()) {
    if (arrastrada_ && EnTramo(arrastrada_, c)) {
      // A pile of stacked cards shows the card the run uncovers while it is carried.
      if (debajoOculta && c == arrastrada_)
        pintar(Rectangulo(*debajoOculta), debajoOculta->Imagen);
      continue;
    }
    if (!moviles_.empty() && moviles_.count(c)) {
      // Only cards glide.
      enCamino.push_back(static_cast<const TCarta*>(c));
      continue;
    }
    if (c->Imagen.Tipo != TTipoImagen::Ninguna) pintar(Rectangulo(*c), c->Imagen);
  }
  // Gliding cards over everything else, in their stacking order.
  for (const TCarta* c : enCamino) pintar(RectanguloPintado(*c), c->Imagen);
  if (arrastrada_) {
    const QPoint d = puntero_ - agarre_;
    for (const TCarta* c = arrastrada_; c; c = c->Encima)
      pintar(Rectangulo(*c).translated(d), c->Imagen);
  }
  if (devicePixelRatioF() == 1 && (fondoPx_.isNull() || fondoPx_.devicePixelRatio() == 1))
    pintarVisible(p, zona, pinturas);
  else
    pintarEntero(p, zona, pinturas);
  p.setClipping(false);
  if (focoVisible_) pintarFoco(p);
  if (DibujarEncima) DibujarEncima(p);
}

void TTapete::pintarEntero(QPainter& p, const QRegion& zona,
                           const std::vector<TPintado>& pinturas) {
  // One rectangle of the region at a time: clipped to a rectangle the pictures are
  // copied line by line, while a clip of several rectangles (the cards a deal or a drag
  // moved) sends every pixel down the painter's slow general path.
  const QRect rFondo(posicionFondo_, fondo_.size());
  for (const QRect& r : zona) {
    if (zona.rectCount() > 1) p.setClipRect(r);
    p.fillRect(r, kColorMesa);
    if (!fondoPx_.isNull() && r.intersects(rFondo)) p.drawPixmap(rFondo.topLeft(), fondoPx_);
    for (const TPintado& d : pinturas)
      if (r.intersects(d.Lugar)) p.drawPixmap(d.Lugar.topLeft(), d.D.Px);
  }
}

void TTapete::pintarVisible(QPainter& p, const QRegion& zona,
                            const std::vector<TPintado>& pinturas) {
  // The opaque middle of a picture hides whatever lies under it: the table, the background
  // picture and the cards below show only around it (a fanned pile shows the strip of each
  // covered card and the edges its cover lets through). What shows is painted as before,
  // so the frame is the same to the pixel, and the opaque middles are copied from their
  // copy without alpha instead of blended.
  std::vector<QRegion> visibles(pinturas.size());
  QRegion fondo = zona;
  for (std::size_t i = 0; i < pinturas.size(); ++i) {
    const QRect& lugar = pinturas[i].Lugar;
    QRegion visible = zona & lugar;
    for (std::size_t j = i + 1; j < pinturas.size() && !visible.isEmpty(); ++j)
      if (pinturas[j].Interior.intersects(lugar)) visible -= pinturas[j].Interior;
    visibles[i] = std::move(visible);
    if (!pinturas[i].Interior.isEmpty()) fondo -= pinturas[i].Interior;
  }
  const QRect rFondo(posicionFondo_, fondo_.size());
  const auto copiar = [&p](const QRect& destino, const QPixmap& px, QPoint esquina) {
    if (!destino.isEmpty()) p.drawPixmap(destino.topLeft(), px, destino.translated(-esquina));
  };
  for (const QRect& r : zona) {
    if (zona.rectCount() > 1) p.setClipRect(r);
    for (const QRect& b : fondo) {
      const QRect parte = b & r;
      if (parte.isEmpty()) continue;
      p.fillRect(parte, kColorMesa);
      if (!fondoPx_.isNull()) copiar(parte & rFondo, fondoPx_, rFondo.topLeft());
    }
    for (std::size_t i = 0; i < pinturas.size(); ++i) {
      const TPintado& d = pinturas[i];
      for (const QRect& v : visibles[i]) {
        const QRect parte = v & r;
        if (parte.isEmpty()) continue;
        const QRect a = parte & d.Interior;
        if (a.isEmpty()) {
          copiar(parte, d.D.Px, d.Lugar.topLeft());
          continue;
        }
        copiar(a, d.D.Opaco, d.Interior.topLeft());
        // Around the opaque part: the bands above and below, the sides between them.
        copiar(QRect(QPoint(parte.left(), parte.top()), QPoint(parte.right(), a.top() - 1)), d.D.Px,
               d.Lugar.topLeft());
        copiar(QRect(QPoint(parte.left(), a.bottom() + 1), QPoint(parte.right(), parte.bottom())),
               d.D.Px, d.Lugar.topLeft());
        copiar(QRect(QPoint(parte.left(), a.top()), QPoint(a.left() - 1, a.bottom())), d.D.Px,
               d.Lugar.topLeft());
        copiar(QRect(QPoint(a.right() + 1, a.top()), QPoint(parte.right(), a.bottom())), d.D.Px,
               d.Lugar.topLeft());
      }
    }
  }
}

void TTapete::pintarFoco(QPainter& p) {
  p.setRenderHint(QPainter::Antialiasing);
  p.setBrush(Qt::NoBrush);
  const qreal grosor = std::max(2.0, 3 * escala_);
  const qreal radio = 5 * escala_;
  if (llevada_) {
    // The run in hand, framed in blue where it lies.
    QRect r;
    for (const TCarta* c = llevada_; c; c = c->Encima) r |= Rectangulo(*c);
    p.setPen(QPen(QColor(60, 140, 255), grosor));
    p.drawRoundedRect(QRectF(r).adjusted(-grosor, -grosor, grosor, grosor), radio, radio);
  }
  // The focus: yellow, or green and red for what the pile would say to the run in hand.
  QColor color(255, 220, 40);
  if (llevada_) color = aceptaFoco_ ? QColor(60, 220, 80) : QColor(230, 40, 40);
  p.setPen(QPen(color, grosor, rechazo_ ? Qt::DashLine : Qt::SolidLine));
  const qreal margen = grosor * (llevada_ ? 2.5 : 1.0);
  p.drawRoundedRect(QRectF(rectanguloFoco()).adjusted(-margen, -margen, margen, margen), radio,
                    radio);
}

void TTapete::presionar(QMouseEvent* e, bool doble) {
  TerminarAnimacion();
  if (arrastrada_ || presionado_) return;
  // The mouse takes over: the keyboard's focus hides and what it carried goes back.
  if (focoVisible_ || llevada_) {
    focoVisible_ = false;
    cancelarLlevada();
    update();
  }
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
    const QPoint local = Local(*control, punto);
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
    const QPoint local = Local(*destino, punto);
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
  // Automatic moves and the stock's deals glide.
  Animar([&] {
    if (auto* carta = dynamic_cast<TCarta*>(control)) {
      if (click) mesa_.ClickCarta(*carta);
      mesa_.SoltarBotonCarta(*carta, b, false);
    } else if (static_cast<TPila*>(control)->EsMazo()) {
      if (click) mesa_.ClickMazo();
    }
  });
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
    cancelarLlevada();
    TerminarAnimacion();
    presionado_ = nullptr;
    boton_ = Qt::NoButton;
  }
  return QWidget::event(e);
}

// ---------------------------------------------------------------- keyboard play

std::vector<TPila*> TTapete::pilasNavegables() const {
  std::vector<TPila*> v;
  for (const auto& p : mesa_.Pilas)
    if (p->Visible) v.push_back(p.get());
  if (mesa_.Mazo && mesa_.Mazo->Visible) v.push_back(mesa_.Mazo.get());
  // Rows: a pile whose top lies within half a card of the row's first one joins it.
  std::stable_sort(v.begin(), v.end(), [](const TPila* a, const TPila* b) { return a->Top < b->Top; });
  std::vector<std::pair<int, TPila*>> filas;
  int fila = -1;
  int arriba = 0;
  for (TPila* p : v) {
    if (fila < 0 || p->Top - arriba > kAltoCarta / 2) {
      ++fila;
      arriba = p->Top;
    }
    filas.emplace_back(fila, p);
  }
  std::stable_sort(filas.begin(), filas.end(), [](const auto& a, const auto& b) {
    return a.first != b.first ? a.first < b.first : a.second->Left < b.second->Left;
  });
  for (std::size_t i = 0; i < v.size(); ++i) v[i] = filas[i].second;
  return v;
}

std::vector<TCarta*> TTapete::cartasEnfocables(const TPila& pila) {
  std::vector<TCarta*> v;
  if (pila.EsMazo()) return v;
  for (TCarta* c = pila.Tope; c; c = c->Debajo)
    if (c->BocaArriba && c->Visible) v.push_back(c);
  std::reverse(v.begin(), v.end());
  return v;
}

TTapete::TFoco TTapete::focoEn(TPila* pila) {
  const auto cartas = cartasEnfocables(*pila);
  return {pila, cartas.empty() ? nullptr : cartas.back()};
}

TTapete::TFoco TTapete::focoActual() const {
  const auto pilas = pilasNavegables();
  if (pilas.empty()) return {};
  if (std::find(pilas.begin(), pilas.end(), foco_.Pila) == pilas.end()) return focoEn(pilas.front());
  if (!foco_.Carta) return focoEn(foco_.Pila);
  const auto cartas = cartasEnfocables(*foco_.Pila);
  if (std::find(cartas.begin(), cartas.end(), foco_.Carta) == cartas.end())
    return focoEn(foco_.Pila);
  return foco_;
}

TPila* TTapete::PilaEnFoco() const { return focoActual().Pila; }

TCarta* TTapete::CartaEnFoco() const { return focoActual().Carta; }

void TTapete::ponerFoco(TFoco foco) {
  const TFoco antes = foco_;
  foco_ = foco;
  rechazo_ = false;
  if (llevada_ && antes.Pila != foco.Pila) aceptaFoco_ = preguntarFoco(TEstadoArrastre::Entrando);
  update();
  anunciarFoco();
}

void TTapete::moverFoco(int tecla) {
  const TFoco actual = focoActual();
  if (!actual.Pila) return;
  const auto pilas = pilasNavegables();
  const auto n = static_cast<int>(pilas.size());
  const int i = static_cast<int>(std::find(pilas.begin(), pilas.end(), actual.Pila) - pilas.begin());
  if (tecla == Qt::Key_Left || tecla == Qt::Key_Right) {
    // Every pile in turn, round the table.
    const int j = (i + (tecla == Qt::Key_Right ? 1 : n - 1)) % n;
    ponerFoco(focoEn(pilas[static_cast<std::size_t>(j)]));
    return;
  }
  // Up and down: along the pile's face-up cards, then to the nearest pile above or below.
  const bool subir = tecla == Qt::Key_Up;
  const auto cartas = cartasEnfocables(*actual.Pila);
  const auto k = std::find(cartas.begin(), cartas.end(), actual.Carta) - cartas.begin();
  if (actual.Carta && subir && k > 0) return ponerFoco({actual.Pila, cartas[static_cast<std::size_t>(k - 1)]});
  if (actual.Carta && !subir && k + 1 < static_cast<long>(cartas.size()))
    return ponerFoco({actual.Pila, cartas[static_cast<std::size_t>(k + 1)]});
  // Above means above the pile's place; below, below the card in focus.
  const QRect desde = actual.Carta && !subir ? RectanguloMesa(*actual.Carta)
                                             : RectanguloMesa(*actual.Pila);
  TPila* mejor = nullptr;
  long costeMejor = 0;
  for (TPila* p : pilas) {
    if (p == actual.Pila) continue;
    const QRect r = RectanguloMesa(*p);
    const long dy = subir ? desde.top() - r.top() : r.top() - desde.top();
    if (dy <= 0) continue;
    const long coste = dy + 2L * std::abs(r.center().x() - desde.center().x());
    if (!mejor || coste < costeMejor) {
      mejor = p;
      costeMejor = coste;
    }
  }
  if (mejor) ponerFoco(focoEn(mejor));
}

bool TTapete::preguntarFoco(TEstadoArrastre estado) {
  TPila* pila = foco_.Pila;
  if (!llevada_ || !pila) return false;
  // As a drop of the mouse in the middle of the card or place the pile shows on top.
  if (pila->Tope) return mesa_.ArrastrarSobreCarta(*pila->Tope, *llevada_, kAnchoCarta / 2,
                                                   kAltoCarta / 2, estado);
  return mesa_.ArrastrarSobrePila(*pila, *llevada_, kAnchoCarta / 2, kAltoCarta / 2, estado);
}

void TTapete::cancelarLlevada() {
  if (!llevada_) return;
  llevada_ = nullptr;
  aceptaFoco_ = false;
  rechazo_ = false;
  update();
}

void TTapete::tomarOSoltar() {
  foco_ = focoActual();
  if (!foco_.Pila) return;
  if (!llevada_) {
    if (foco_.Carta) {
      if (!mesa_.PresionarCarta(*foco_.Carta, TBoton::Izquierdo)) return;
      llevada_ = foco_.Carta;
      aceptaFoco_ = preguntarFoco(TEstadoArrastre::Entrando);
      update();
    } else if (foco_.Pila->EsMazo()) {
      Animar([this] { mesa_.ClickMazo(); });
      update();
      emit Cambio();
    }
    return;
  }
  TCarta& carta = *llevada_;
  if (foco_.Pila == carta.Pila) {
    // Put back where it was taken from.
    cancelarLlevada();
    return;
  }
  if (!preguntarFoco(TEstadoArrastre::Moviendo)) {
    aceptaFoco_ = false;
    rechazo_ = true;
    update();
    return;
  }
  llevada_ = nullptr;
  aceptaFoco_ = false;
  TPila& pila = *foco_.Pila;
  constexpr int x = kAnchoCarta / 2;
  constexpr int y = kAltoCarta / 2;
  if (pila.Tope)
    mesa_.SoltarEnCarta(*pila.Tope, carta, x, y);
  else
    mesa_.SoltarEnPila(pila, carta, x, y);
  mesa_.SoltarBotonCarta(carta, TBoton::Izquierdo, true);
  // The focus follows the run to where it went.
  foco_ = {carta.Pila, &carta};
  update();
  emit Cambio();
}

void TTapete::keyPressEvent(QKeyEvent* e) {
  TerminarAnimacion();
  if (arrastrada_ || e->modifiers() & ~(Qt::KeypadModifier | Qt::ShiftModifier)) {
    QWidget::keyPressEvent(e);
    return;
  }
  const int tecla = e->key();
  switch (tecla) {
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
      if (focoVisible_) {
        moverFoco(tecla);
      } else {
        // The first key only shows where the focus is.
        focoVisible_ = true;
        ponerFoco(focoActual());
      }
      break;
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
      focoVisible_ = true;
      tomarOSoltar();
      break;
    case Qt::Key_Escape:
      if (!llevada_) {
        QWidget::keyPressEvent(e);
        return;
      }
      cancelarLlevada();
      break;
    case Qt::Key_A: {
      focoVisible_ = true;
      cancelarLlevada();
      foco_ = focoActual();
      if (TCarta* carta = foco_.Carta) {
        Animar([&] { mesa_.SoltarBotonCarta(*carta, TBoton::Derecho, false); });
        update();
        emit Cambio();
      }
      break;
    }
    case Qt::Key_M:
      cancelarLlevada();
      if (mesa_.Mazo && mesa_.Mazo->Visible) {
        Animar([this] { mesa_.ClickMazo(); });
        update();
        emit Cambio();
      }
      break;
    default:
      QWidget::keyPressEvent(e);
      return;
  }
  e->accept();
  anunciarFoco();
}

QRect TTapete::rectanguloFoco() const {
  const TFoco f = focoActual();
  if (!f.Pila) return {};
  if (!f.Carta) return Rectangulo(*f.Pila);
  QRect r;
  for (const TCarta* c = f.Carta; c; c = c->Encima) r |= Rectangulo(*c);
  return r;
}

// ---------------------------------------------------------------- cards that move

namespace {

struct TLugar {
  QPoint Punto;
  bool Visible;
};

}  // namespace

void TTapete::PonerAnimacion(bool si) {
  animacion_ = si;
  if (!si) TerminarAnimacion();
}

void TTapete::Animar(const std::function<void()>& accion) {
  TerminarAnimacion();
  if (!animacion_ || !isVisible()) {
    accion();
    return;
  }
  std::unordered_map<const TControl*, TLugar> antes;
  antes.reserve(mesa_.Cartas.size());
  for (const auto& c : mesa_.Cartas) antes[c.get()] = {QPoint(c->Left, c->Top), c->Visible};
  const TPila* mazo = mesa_.Mazo && mesa_.Mazo->Visible ? mesa_.Mazo.get() : nullptr;
  const QPoint lugarMazo = mazo ? QPoint(mazo->Left, mazo->Top) : QPoint();
  accion();
  // The engine changes whatever the deal owns; only cards still on the table glide.
  QRect zona;
  for (const auto& c : mesa_.Cartas) {
    const auto it = antes.find(c.get());
    if (it == antes.end()) continue;
    const QPoint ahora(c->Left, c->Top);
    const TLugar& a = it->second;
    if (!c->Visible) {
      // Covered exactly by a card that arrives: it shows until that one lands.
      if (a.Visible && a.Punto == ahora) persistentes_.insert(c.get());
      continue;
    }
    if (a.Visible && a.Punto == ahora) continue;
    // A card that was not shown comes from the stock, when the stock is on the table.
    if (!a.Visible && !mazo) continue;
    const QPoint desde = a.Visible ? a.Punto : lugarMazo;
    if (desde == ahora) continue;
    moviles_[c.get()] = desde;
    zona |= RectanguloMesa(*c) | QRect(desde, QSize(kAnchoCarta, kAltoCarta));
  }
  if (moviles_.empty()) {
    persistentes_.clear();
    return;
  }
  // About a fifth of a second, shorter when many cards move at once.
  const int n = static_cast<int>(moviles_.size());
  duracion_ = std::max(150, 220 - 10 * (n - 1));
  zonaAnimacion_ = vista_.mapRect(QRectF(zona)).toAlignedRect().adjusted(-2, -2, 2, 2);
  reloj_.start();
  // A click or a key anywhere in the program, the toolbar too, first lands the cards.
  qApp->installEventFilter(this);
  if (!tmrAnimacion_.isActive()) {
    tmrAnimacion_.setTimerType(Qt::PreciseTimer);
    tmrAnimacion_.setInterval(16);
    connect(&tmrAnimacion_, &QTimer::timeout, this, &TTapete::cuadroAnimacion,
            Qt::UniqueConnection);
    tmrAnimacion_.start();
  }
  update(zonaAnimacion_);
}

void TTapete::TerminarAnimacion() {
  if (moviles_.empty() && persistentes_.empty()) return;
  moviles_.clear();
  persistentes_.clear();
  tmrAnimacion_.stop();
  qApp->removeEventFilter(this);
  update(zonaAnimacion_);
}

void TTapete::cuadroAnimacion() {
  if (avance() >= 1) {
    TerminarAnimacion();
    return;
  }
  update(zonaAnimacion_);
}

double TTapete::avance() const {
  if (moviles_.empty() || duracion_ <= 0) return 1;
  return std::min(1.0, static_cast<double>(reloj_.elapsed()) / duracion_);
}

QRect TTapete::RectanguloPintado(const TCarta& carta) const {
  const auto it = moviles_.find(&carta);
  if (it == moviles_.end()) return Rectangulo(carta);
  // Quick at first, gentle at the end.
  const double t = 1 - std::pow(1 - avance(), 3);
  const QPointF desde(it->second);
  const QPointF hasta(carta.Left, carta.Top);
  const QPointF esquina = vista_.map(desde + (hasta - desde) * t);
  return {static_cast<int>(std::lround(esquina.x())), static_cast<int>(std::lround(esquina.y())),
          tamCarta_.width(), tamCarta_.height()};
}

bool TTapete::eventFilter(QObject* objeto, QEvent* e) {
  switch (e->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::KeyPress:
    case QEvent::ShortcutOverride:
      TerminarAnimacion();
      break;
    default: break;
  }
  return QWidget::eventFilter(objeto, e);
}

// ---------------------------------------------------------------- assistive technology

QString TTapete::DescripcionFoco() const {
  const TFoco f = focoActual();
  if (!f.Pila) return {};
  if (f.Pila->EsMazo()) {
    const int n = mesa_.Mazo->CartasMazo;
    return n == 1 ? QStringLiteral("Mazo, 1 carta") : QStringLiteral("Mazo, %1 cartas").arg(n);
  }
  if (f.Carta) {
    return QStringLiteral("%1, boca arriba, en la pila %2")
        .arg(QString::fromStdString(TextoHint(*f.Carta)))
        .arg(f.Pila->Numero);
  }
  if (!f.Pila->Tope) return QStringLiteral("Pila %1, vacía").arg(f.Pila->Numero);
  const int n = f.Pila->Cantidad;
  return n == 1 ? QStringLiteral("Pila %1, 1 carta boca abajo").arg(f.Pila->Numero)
                : QStringLiteral("Pila %1, %2 cartas boca abajo").arg(f.Pila->Numero).arg(n);
}

QString TTapete::DescripcionLlevada() const {
  if (!llevada_) return {};
  QString texto = QStringLiteral("Llevás %1").arg(QString::fromStdString(TextoHint(*llevada_)));
  if (llevada_->Encima) texto += QStringLiteral(" con las cartas que tiene encima");
  const TFoco f = focoActual();
  if (f.Pila && f.Pila != llevada_->Pila)
    texto += aceptaFoco_ ? QStringLiteral("; esta pila la acepta")
                         : QStringLiteral("; esta pila no la acepta");
  return texto;
}

void TTapete::anunciarFoco() {
  if (!focoVisible_) return;
  QAccessibleEvent foco(this, QAccessible::Focus);
  foco.setChild(0);
  QAccessible::updateAccessibility(&foco);
  QAccessibleEvent nombre(this, QAccessible::NameChanged);
  nombre.setChild(0);
  QAccessible::updateAccessibility(&nombre);
}
