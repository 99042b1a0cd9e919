#include "play/ventanas/FinJuego.h"

#include <QApplication>
#include <QBoxLayout>
#include <QLabel>
#include <QPaintEvent>
#include <QPainter>
#include <QPushButton>
#include <QStyle>

#include <cmath>

#include "resources/Dibujos.h"

std::uint16_t PuntosGanados(std::uint16_t minutos, std::uint16_t movimientos) {
  // 1.5 x moves rounded down is moves + moves / 2; the sum wraps at 16 bits like the record.
  const std::uint32_t puntos = std::uint32_t{minutos} + movimientos + movimientos / 2u;
  return static_cast<std::uint16_t>(puntos & 0xFFFFu);
}

std::uint16_t CantidadAnimacion(float escalaPantalla) {
  // Rounded down at extended precision from the single-precision factor.
  const long double n = std::floor(450.0L * static_cast<long double>(escalaPantalla));
  if (!(n > 0)) return 0;
  // A count that does not fit draws as many as fit rather than wrapping to a few.
  return n >= 65535.0L ? std::uint16_t{65535} : static_cast<std::uint16_t>(n);
}

TCapaVictoria::TCapaVictoria(QWidget* tapete) : QWidget(tapete) {
  setAttribute(Qt::WA_TransparentForMouseEvents);
  setAttribute(Qt::WA_NoSystemBackground);
  setFocusPolicy(Qt::NoFocus);
  hide();
}

void TCapaVictoria::Dibujar(int indiceCara, QPoint esquina) {
  if (indiceCara < 0 || indiceCara >= 40) return;
  if (QWidget* tapete = parentWidget()) setGeometry(tapete->rect());
  if (!isVisible()) {
    show();
    raise();
  }
  caras_.push_back({indiceCara, esquina});
  repaint(QRect(esquina, QSize(kAnchoCarta, kAltoCarta)));
}

void TCapaVictoria::Borrar() {
  caras_.clear();
  hide();
}

void TCapaVictoria::paintEvent(QPaintEvent* e) {
  const qreal dpr = devicePixelRatioF();
  if (dpr != dpr_ || dibujos_.empty()) {
    dibujos_.clear();
    for (int i = 0; i < 40; ++i) dibujos_.push_back(DibujoCara(i, dpr));
    dpr_ = dpr;
  }
  QPainter p(this);
  const QRect zona = e->rect();
  // Oldest first, so the newest face lies on top, as if each were painted over the last.
  for (const TCara& c : caras_) {
    const QRect r(c.Esquina, QSize(kAnchoCarta, kAltoCarta));
    if (r.intersects(zona)) p.drawPixmap(c.Esquina, dibujos_[static_cast<std::size_t>(c.Indice)]);
  }
}

TfrmFinJuego::TfrmFinJuego(QWidget* parent)
    : TDialogoFijo(parent, Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                               Qt::CustomizeWindowHint) {
  setWindowTitle(QStringLiteral("ZRAP "));
  QPalette pal = palette();
  pal.setColor(QPalette::Window, QApplication::palette("QMenu").color(QPalette::Window));
  setPalette(pal);
  setAutoFillBackground(true);

  auto* imagen = new QLabel(this);
  imagen->setPixmap(QPixmap::fromImage(ImagenVentana(QStringLiteral("FinJuego"))));
  imagen->setFixedSize(355, 199);

  bbtnNuevo = new QPushButton(style()->standardIcon(QStyle::SP_DialogOkButton),
                              QStringLiteral("&Nuevo"), this);
  bbtnCancelar = new QPushButton(style()->standardIcon(QStyle::SP_DialogCancelButton),
                                 QStringLiteral("&Salir"), this);
  bbtnNuevo->setMinimumSize(76, 25);
  bbtnCancelar->setMinimumSize(75, 25);
  // The buttons go under the picture, so they never cover its question.
  auto* raiz = new QVBoxLayout(this);
  raiz->setContentsMargins(0, 0, 0, 8);
  raiz->setSpacing(8);
  raiz->addWidget(imagen, 0, Qt::AlignHCenter);
  auto* botones = new QHBoxLayout;
  botones->setSpacing(21);
  botones->addStretch(1);
  botones->addWidget(bbtnNuevo);
  botones->addWidget(bbtnCancelar);
  botones->addStretch(1);
  raiz->addLayout(botones);
  AjustarAlContenido(*this, QSize(355, 198));
  connect(bbtnNuevo, &QPushButton::clicked, this, &QDialog::accept);
  // Escape and the close box reject the dialog as well.
  connect(bbtnCancelar, &QPushButton::clicked, this, &QDialog::reject);
  bbtnNuevo->setFocus();
}

bool TfrmFinJuego::event(QEvent* e) {
  if (e->type() == QEvent::WindowActivate && AlActivar) AlActivar();
  return TDialogoFijo::event(e);
}
