#pragma once
// The player's back pictures, decoded on a worker thread and kept composed at the pixel
// size they are shown. Asking never waits: a picture not yet ready is queued and the
// caller shows the placeholder meanwhile; `Lista` announces it on the UI thread once it
// is there. A file that cannot be read or decoded is remembered as broken, and the
// placeholder stays for it. Nothing but QImage crosses between the threads, by value.
#include <QCache>
#include <QHash>
#include <QImage>
#include <QObject>
#include <QSet>
#include <QSize>
#include <QString>

#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

enum class TEstadoReverso { Pendiente, Listo, Roto };

class TImagenesReversos : public QObject {
  Q_OBJECT

 public:
  // The composed pictures kept, in kilobytes: about 1,300 backs of 62 x 98, or a few
  // screens of the chooser at any pixel ratio. Older ones are dropped and made again.
  static constexpr int MemoriaMaximaKb = 32 * 1024;
  // Requests waiting for the worker; the oldest are dropped first, since the newest are
  // the rows in view now.
  static constexpr std::size_t PendientesMaximos = 100;

  explicit TImagenesReversos(QObject* parent = nullptr);
  // Stops the worker once the picture it is decoding is done.
  ~TImagenesReversos() override;

  // The back of `archivo` at `pixeles`: the placeholder's border around the file's
  // picture stretched into the inner area. `imagen` is set only when it is Listo;
  // Pendiente queues the decode.
  TEstadoReverso Reverso(const std::string& archivo, QSize pixeles, QImage& imagen);
  // Whether the file is already known not to give a picture.
  bool Roto(const std::string& archivo) const;

  // Waits until everything asked for has been decoded and announced, at most `ms`;
  // false when time ran out. For tests and benchmarks: the program never waits.
  bool Esperar(int ms);
  // How many pictures the worker has decoded so far.
  int Decodificadas() const { return decodificadas_; }

 signals:
  // A picture of this file is ready (or the file turned out to be broken).
  void Lista(const QString& archivo);

 private:
  struct TPedido {
    std::string Archivo;
    QSize Pixeles;
    QString Clave;
  };
  struct THecho {
    TPedido Pedido;
    QImage Imagen;
    bool Roto;
  };
  void Trabajar();
  Q_INVOKABLE void RecibirHechos();
  void Recibir(const TPedido& pedido, const QImage& imagen, bool roto);

  QCache<QString, QImage> listas_;
  QSet<QString> rotos_;
  QSet<QString> pedidas_;  // queued or being decoded
  QImage marcador_;
  int decodificadas_ = 0;

  // Shared with the worker, under `mutex_`.
  std::mutex mutex_;
  std::condition_variable hayTrabajo_;
  std::condition_variable sinTrabajo_;
  std::deque<TPedido> cola_;
  std::deque<THecho> hechos_;  // decoded, for the UI thread to take
  int enCurso_ = 0;
  bool terminar_ = false;
  std::thread hilo_;
};

// The program's pictures; made on first use, on the UI thread.
TImagenesReversos& ImagenesReversos();
