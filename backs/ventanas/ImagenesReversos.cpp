#include "backs/ventanas/ImagenesReversos.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QPointer>

#include <chrono>

#include "backs/imagen/Imagenes.h"
#include "resources/Dibujos.h"

namespace {

QString ClaveDe(const std::string& archivo, QSize pixeles) {
  return QString::fromStdString(archivo) + QLatin1Char('|') + QString::number(pixeles.width()) +
         QLatin1Char('x') + QString::number(pixeles.height());
}

}  // namespace

TImagenesReversos::TImagenesReversos(QObject* parent) : QObject(parent) {
  listas_.setMaxCost(MemoriaMaximaKb);
}

TImagenesReversos::~TImagenesReversos() {
  {
    std::lock_guard candado(mutex_);
    terminar_ = true;
    cola_.clear();
  }
  hayTrabajo_.notify_all();
  if (hilo_.joinable()) hilo_.join();
}

bool TImagenesReversos::Roto(const std::string& archivo) const {
  return rotos_.contains(QString::fromStdString(archivo));
}

TEstadoReverso TImagenesReversos::Reverso(const std::string& archivo, QSize pixeles, QImage& imagen) {
  const QString nombre = QString::fromStdString(archivo);
  if (rotos_.contains(nombre)) return TEstadoReverso::Roto;
  if (pixeles.isEmpty()) return TEstadoReverso::Pendiente;
  const QString clave = ClaveDe(archivo, pixeles);
  if (const QImage* lista = listas_.object(clave)) {
    imagen = *lista;
    return TEstadoReverso::Listo;
  }
  if (!pedidas_.contains(clave)) {
    pedidas_.insert(clave);
    {
      std::lock_guard candado(mutex_);
      cola_.push_back({archivo, pixeles, clave});
      // The oldest requests are rows that have left the view; they are asked for again
      // when they come back.
      while (cola_.size() > PendientesMaximos) {
        pedidas_.remove(cola_.front().Clave);
        cola_.pop_front();
      }
    }
    // The worker starts with the first request, not with the program; the placeholder
    // is drawn here, before it, and only read there.
    if (!hilo_.joinable()) {
      marcador_ = ImagenMarcadorReverso();
      hilo_ = std::thread([this] { Trabajar(); });
    }
    hayTrabajo_.notify_one();
  }
  return TEstadoReverso::Pendiente;
}

void TImagenesReversos::Trabajar() {
  for (;;) {
    TPedido pedido;
    {
      std::unique_lock candado(mutex_);
      hayTrabajo_.wait(candado, [this] { return terminar_ || !cola_.empty(); });
      if (terminar_) return;
      // Newest first: what the player looks at now.
      pedido = std::move(cola_.back());
      cola_.pop_back();
      ++enCurso_;
    }
    bool roto = false;
    const QImage marcador = pedido.Pixeles == marcador_.size()
                                ? marcador_
                                : marcador_.scaled(pedido.Pixeles, Qt::IgnoreAspectRatio,
                                                   Qt::SmoothTransformation);
    QImage imagen = ComponerReversoUsuario(marcador, pedido.Archivo, &roto);
    // Handed over by value under the mutex; Qt's queue carries only the call, which is
    // dropped if the receiver has gone meanwhile.
    {
      std::lock_guard candado(mutex_);
      hechos_.push_back({std::move(pedido), std::move(imagen), roto});
    }
    QMetaObject::invokeMethod(this, "RecibirHechos", Qt::QueuedConnection);
    {
      std::lock_guard candado(mutex_);
      --enCurso_;
    }
    sinTrabajo_.notify_all();
  }
}

void TImagenesReversos::RecibirHechos() {
  std::deque<THecho> hechos;
  {
    std::lock_guard candado(mutex_);
    hechos.swap(hechos_);
  }
  for (const THecho& h : hechos) Recibir(h.Pedido, h.Imagen, h.Roto);
}

void TImagenesReversos::Recibir(const TPedido& pedido, const QImage& imagen, bool roto) {
  pedidas_.remove(pedido.Clave);
  ++decodificadas_;
  const QString nombre = QString::fromStdString(pedido.Archivo);
  if (roto) {
    rotos_.insert(nombre);
  } else {
    const auto kb = static_cast<int>(imagen.sizeInBytes() / 1024 + 1);
    listas_.insert(pedido.Clave, new QImage(imagen), kb);
  }
  emit Lista(nombre);
}

bool TImagenesReversos::Esperar(int ms) {
  QDeadlineTimer plazo(ms);
  for (;;) {
    {
      std::unique_lock candado(mutex_);
      sinTrabajo_.wait_for(candado, std::chrono::milliseconds(10),
                           [this] { return cola_.empty() && enCurso_ == 0; });
    }
    // Announce what came back; that may not ask for more.
    QCoreApplication::sendPostedEvents(this);
    bool libre;
    {
      std::lock_guard candado(mutex_);
      libre = cola_.empty() && enCurso_ == 0;
    }
    if (libre && pedidas_.isEmpty()) return true;
    if (plazo.hasExpired()) return false;
  }
}

TImagenesReversos& ImagenesReversos() {
  // Owned by the application, so that the worker stops before Qt goes away.
  static QPointer<TImagenesReversos> imagenes;
  if (!imagenes) imagenes = new TImagenesReversos(QCoreApplication::instance());
  return *imagenes;
}
