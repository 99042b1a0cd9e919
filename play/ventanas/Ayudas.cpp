#include "play/ventanas/Ayudas.h"

#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QHBoxLayout>
#include <QImage>
#include <QLabel>
#include <QLayout>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QStatusBar>
#include <QToolBar>

#include <algorithm>

#include "play/ventanas/Atajos.h"
#include "play/ventanas/Juego.h"
#include "play/ventanas/Programa.h"
#include "play/ventanas/Tapete.h"
#include "resources/Dibujos.h"
#include "solver/Seguras.h"
#include "tools/Pasos.h"

namespace {

constexpr int kMsPista = 1000;
constexpr int kMsPasoTerminar = 40;
const QString kBuscandoReparto = QStringLiteral("Buscando un reparto ganable…");
// Posted at the lowest priority by buscar(): after the frame that shows the position.
const auto kEncargarBusqueda = static_cast<QEvent::Type>(QEvent::User + 2);

// Whether a highlighted card or pile still belongs to the table: a new deal replaces
// them all, and the table may be painted before the hint hears of it.
bool EnMesa(const TMesa& mesa, const TControl* c) {
  if (c == mesa.Mazo.get()) return true;
  for (const auto& carta : mesa.Cartas)
    if (carta.get() == c) return true;
  for (const auto& pila : mesa.Pilas)
    if (pila.get() == c) return true;
  return false;
}

// The undo arrow turned the other way.
QIcon IconoRehacer() {
  const QImage deshacer = IconoMenu(4).pixmap(16, 16).toImage();
  return QIcon(QPixmap::fromImage(deshacer.mirrored(true, false)));
}

// A light for the hint, two arrows ahead for finishing, one for the demonstration; drawn
// like the other pictures.
enum class TIcono { Pista, Terminar, Demostracion };
QIcon Icono(TIcono cual) {
  QPixmap px(32, 32);
  px.fill(Qt::transparent);
  QPainter p(&px);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(Qt::black, 2));
  if (cual == TIcono::Pista) {
    p.setBrush(QColor(255, 215, 0));
    p.drawEllipse(QRectF(7, 3, 18, 18));
    p.setBrush(Qt::gray);
    p.drawRect(QRectF(11, 22, 10, 7));
  } else {
    p.setBrush(QColor(0, 128, 0));
    for (int x : cual == TIcono::Terminar ? std::vector{4, 16} : std::vector{10})
      p.drawPolygon(QPolygonF({QPointF(x, 6), QPointF(x + 12, 16), QPointF(x, 26)}));
  }
  return QIcon(px);
}

QAction* Boton(QToolBar* fila, const QIcon& icono, const QString& texto) {
  QAction* a = fila->addAction(icono, texto);
  a->setToolTip(texto);
  // The size of the window's own buttons.
  if (QWidget* b = fila->widgetForAction(a)) b->setFixedSize(40, 24);
  return a;
}

TCarta* CartaEn(TPila& pila, int posicion) {
  if (posicion < 0) return pila.Tope;
  TCarta* c = pila.Tope;
  for (int i = pila.Cantidad - 1; c && i > posicion; --i) c = c->Debajo;
  return c;
}

TPila* PilaNumero(TMesa& m, int n) {
  if (n < 1 || n > static_cast<int>(m.Pilas.size())) return nullptr;
  return m.Pilas[static_cast<std::size_t>(n - 1)].get();
}

}  // namespace

TAyudas::TAyudas(TfrmJuego& juego) : QObject(&juego), juego_(juego) {
  const auto filas = juego.Barra->findChildren<QToolBar*>(Qt::FindDirectChildrenOnly);
  QToolBar* fila1 = filas.value(0);
  QToolBar* fila2 = filas.value(1, fila1);
  tbRehacer = Boton(fila1, IconoRehacer(), QStringLiteral("Rehacer"));
  tbRehacer->setEnabled(false);
  fila2->addSeparator();
  tbPista = Boton(fila2, Icono(TIcono::Pista), QStringLiteral("Pista"));
  tbTerminar = Boton(fila2, Icono(TIcono::Terminar), QStringLiteral("Terminar"));
  tbTerminar->setEnabled(false);
  tbDemostracion = Boton(fila2, Icono(TIcono::Demostracion), QStringLiteral("Demostración"));
  tbDemostracion->setEnabled(false);
  PonerAtajo(tbDemostracion, QKeySequence(Qt::Key_D));
  tbSoloGanables = Boton(fila2, Icono(TIcono::Pista), QStringLiteral("Solo repartos ganables"));
  tbSoloGanables->setCheckable(true);
  tbSoloGanables->setChecked(juego.Preferencias.SoloGanables);
  connect(tbSoloGanables, &QAction::toggled, this, [this](bool si) {
    juego_.Preferencias.SoloGanables = si;
    GuardarPreferencias(juego_.Preferencias);
    if (si || !BuscandoReparto()) return;
    cancelarReparto();
    // The verdict of the table in view is asked again.
    claveActual_.clear();
    Actualizar();
  });
  QMenu* opciones = juego.tbOpciones->menu();
  if (!opciones) opciones = new QMenu(&juego);
  tbEnviarSeguras =
      opciones->addAction(QStringLiteral("Enviar solas a las fundaciones las cartas seguras"));
  tbEnviarSeguras->setCheckable(true);
  tbEnviarSeguras->setChecked(juego.Preferencias.EnviarSeguras);
  tbEnviarSeguras->setStatusTip(
      QStringLiteral("Tras cada jugada, las cartas que ya ninguna pila puede necesitar"));
  connect(tbEnviarSeguras, &QAction::toggled, this, [this](bool si) {
    juego_.Preferencias.EnviarSeguras = si;
    GuardarPreferencias(juego_.Preferencias);
  });
  connect(tbDemostracion, &QAction::triggered, this, &TAyudas::tbDemostracionClick);
  PonerAtajo(tbRehacer, QKeySequence(Qt::CTRL | Qt::Key_Y));
  tbRehacer->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Y),
                           QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
  PonerAtajo(tbPista, QKeySequence(Qt::Key_P));
  PonerAtajo(tbTerminar, QKeySequence(Qt::Key_T));
  connect(tbRehacer, &QAction::triggered, this, &TAyudas::tbRehacerClick);
  connect(tbPista, &QAction::triggered, this, &TAyudas::tbPistaClick);
  connect(tbTerminar, &QAction::triggered, this, &TAyudas::tbTerminarClick);

  // Just above the status bar at its right end: the status bar's panels keep their room.
  pnlVeredicto_ = new QWidget(&juego);
  pnlVeredicto_->setAutoFillBackground(true);
  pnlVeredicto_->setPalette(juego.sbStatus->palette());
  auto* fila = new QHBoxLayout(pnlVeredicto_);
  fila->setContentsMargins(4, 2, 4, 2);
  lbVeredicto = new QLabel(pnlVeredicto_);
  lbVeredicto->setFrameShape(QFrame::StyledPanel);
  lbVeredicto->setFrameShadow(QFrame::Sunken);
  fila->addWidget(lbVeredicto);
  bbtnVolverGanable =
      new QPushButton(QStringLiteral("Volver a la última posición ganable"), pnlVeredicto_);
  bbtnVolverGanable->setFocusPolicy(Qt::NoFocus);
  bbtnVolverGanable->hide();
  fila->addWidget(bbtnVolverGanable);
  juego.installEventFilter(this);
  connect(bbtnVolverGanable, &QPushButton::clicked, this, &TAyudas::VolverAGanable);

  tmrPista_.setSingleShot(true);
  tmrPista_.setInterval(kMsPista);
  connect(&tmrPista_, &QTimer::timeout, this, [this] {
    resaltados_.clear();
    juego_.Tapete->update();
  });
  tmrTerminar_.setInterval(kMsPasoTerminar);
  connect(&tmrTerminar_, &QTimer::timeout, this, &TAyudas::siguientePasoTerminar);
  juego.Tapete->DibujarEncima = [this, tapete = juego.Tapete](QPainter& p) {
    p.setPen(QPen(QColor(255, 215, 0), 3));
    p.setBrush(Qt::NoBrush);
    for (const TControl* c : resaltados_)
      if (EnMesa(juego_.mesa, c))
        p.drawRoundedRect(tapete->Rectangulo(*c).adjusted(-2, -2, 2, 2), 4, 4);
  };
  // The marks' pen reaches three and a half pixels outside the card; without marks the
  // cards a step changes are repainted without a margin.
  juego.Tapete->MargenEncima = [this] { return resaltados_.empty() ? 0 : 5; };
  connect(&juego, &TfrmJuego::Actualizado, this, &TAyudas::Actualizar);
  trabajador_ = std::jthread([this](std::stop_token fin) { trabajar(fin); });
}

TAyudas::~TAyudas() {
  // A running search stops at once; no result is posted once the worker is joined.
  {
    std::lock_guard lock(mutex_);
    enCurso_.request_stop();
    pendiente_.reset();
  }
  trabajador_.request_stop();
  trabajador_.join();
}

void TAyudas::trabajar(std::stop_token fin) {
  CederProcesadorAVentanas();
  while (true) {
    TTarea tarea;
    {
      std::unique_lock lock(mutex_);
      if (!hayTarea_.wait(lock, fin, [this] { return pendiente_.has_value(); })) return;
      tarea = std::move(*pendiente_);
      pendiente_.reset();
    }
    const std::stop_token parar = tarea.Parar.get_token();
    avisar([this, c = tarea.Clave] {
      Empezada = c;
      emit BusquedaEmpezada();
    });
    // Whatever a newer action stopped is no answer: only how far it got is told.
    const auto avisarParada = [this, &tarea](std::uint64_t posiciones) {
      avisar([this, c = std::move(tarea.Clave), posiciones] { parada(c, posiciones); });
    };
    if (!tarea.Numeros.empty()) {
      std::int32_t hallado = tarea.Numeros.back();
      std::uint64_t posiciones = 0;
      for (const std::int32_t n : tarea.Numeros) {
        if (parar.stop_requested()) break;
        const TResultado r = Resolver(tarea.Preparar, n, {},
                                      {.Milisegundos = 1000, .MemoriaMiB = 128}, parar);
        posiciones += r.Posiciones;
        if (parar.stop_requested()) break;
        if (r.Veredicto == TVeredicto::Ganable) {
          hallado = n;
          break;
        }
      }
      if (parar.stop_requested()) {
        avisarParada(posiciones);
      } else {
        avisar([this, serie = tarea.Serie, hallado] { repartoHallado(serie, hallado); });
      }
      continue;
    }
    TResultado r = Resolver(tarea.Preparar, tarea.Numero, tarea.Pasos, tarea.Limites, parar);
    if (parar.stop_requested()) {
      avisarParada(r.Posiciones);
      continue;
    }
    avisar([this, c = std::move(tarea.Clave), r = std::move(r)]() mutable {
      recibir(c, std::move(r));
    });
  }
}

void TAyudas::avisar(std::function<void()> aviso) {
  {
    std::lock_guard lock(mutex_);
    avisos_.push_back(std::move(aviso));
  }
  // Only the call crosses through Qt's queue; what it brings crosses under the mutex.
  QMetaObject::invokeMethod(this, "atenderAvisos", Qt::QueuedConnection);
}

void TAyudas::atenderAvisos() {
  std::vector<std::function<void()>> avisos;
  {
    std::lock_guard lock(mutex_);
    avisos.swap(avisos_);
  }
  for (auto& aviso : avisos) aviso();
}

void TAyudas::encargar(TTarea tarea) {
  // A search still waiting for its frame gives way to this one.
  if (porEncargar_) parada(porEncargar_->Clave, 0);
  porEncargar_.reset();
  std::optional<TTarea> sinEmpezar;
  {
    std::lock_guard lock(mutex_);
    enCurso_.request_stop();
    enCurso_ = tarea.Parar;
    if (pendiente_) sinEmpezar = std::move(pendiente_);
    pendiente_ = std::move(tarea);
    hayTarea_.notify_one();
  }
  // Replaced before the worker took it: stopped with nothing searched.
  if (sinEmpezar) parada(sinEmpezar->Clave, 0);
}

void TAyudas::parada(const std::string& clave, std::uint64_t posiciones) {
  // The newest are enough to tell how fast the stop came.
  if (Paradas.size() >= 64) Paradas.erase(Paradas.begin());
  Paradas.push_back({clave, posiciones});
  emit BusquedaParada();
}

std::string TAyudas::Clave() const {
  // Everything the search starts from that the player sees: where every card lies and
  // how, every pile's group, the stock and its redeals.
  const TMesa& m = juego_.mesa;
  std::string k = std::to_string(m.NumeroJuego) + m.NombreJuego + "|";
  for (const auto& c : m.Cartas) {
    int pos = 0;
    for (const TCarta* d = c->Debajo; d; d = d->Debajo) ++pos;
    k += std::to_string(c->Pila ? c->Pila->Numero : 0) + "." + std::to_string(pos) +
         (c->BocaArriba ? "+" : "-");
  }
  k += "|";
  for (const auto& p : m.Pilas)
    k += std::to_string(std::find(m.Grupos.begin(), m.Grupos.end(), p->Grupo) -
                        m.Grupos.begin()) + ",";
  if (m.Mazo) {
    // Appended piece by piece: the concatenation's temporary trips gcc's -Wrestrict.
    k += '|';
    k += std::to_string(m.Mazo->CartasMazo);
    k += '/';
    k += std::to_string(m.Mazo->Reutilizaciones);
  }
  return k;
}

void TAyudas::ponerTexto(const QString& texto) {
  lbVeredicto->setText(texto);
  acomodar();
}

bool TAyudas::eventFilter(QObject* objeto, QEvent* e) {
  // Any click or key ends the demonstration and does nothing else.
  const QEvent::Type t = e->type();
  if (demostrando_ && (t == QEvent::MouseButtonPress || t == QEvent::KeyPress ||
                       t == QEvent::ShortcutOverride || t == QEvent::Shortcut)) {
    // Every event of that key or click is taken, shortcuts included, so that it does
    // nothing else: the demonstration ends once they have all gone by.
    if (t == QEvent::ShortcutOverride) e->accept();
    if (tmrTerminar_.isActive()) {
      tmrTerminar_.stop();
      QTimer::singleShot(0, this, &TAyudas::terminarLinea);
    }
    return true;
  }
  if (objeto == &juego_ && (e->type() == QEvent::Resize || e->type() == QEvent::Show))
    acomodar();
  // A closed window deals nothing more.
  if (objeto == &juego_ && e->type() == QEvent::Hide) cancelarReparto();
  return QObject::eventFilter(objeto, e);
}

void TAyudas::acomodar() {
  pnlVeredicto_->adjustSize();
  const QSize t = pnlVeredicto_->size();
  pnlVeredicto_->move(juego_.width() - t.width(), juego_.sbStatus->y() - t.height());
  pnlVeredicto_->setVisible(!lbVeredicto->text().isEmpty());
  pnlVeredicto_->raise();
}

void TAyudas::Actualizar() {
  TMesa& m = juego_.mesa;
  if (enviarSeguras()) return;
  tbRehacer->setEnabled(m.PuedeRehacer());
  if (m.Cartas.empty()) cancelarReparto();
  if (tmrTerminar_.isActive() || !m.ProcPreparar || m.Cartas.empty()) return;
  const std::string k = Clave();
  if (k == claveActual_) return;
  // The player moved on: the deal being looked for is not wanted any more, nor the hint.
  cancelarReparto();
  claveActual_ = k;
  resaltados_.clear();
  const int profundidad = m.ProfundidadHistorial();
  // Positions of this line lie below the present depth; the rest were undone or replaced.
  ganables_.erase(ganables_.lower_bound(profundidad), ganables_.end());
  espera_.start();
  if (const auto it = sabidos_.find(k); it != sabidos_.end()) {
    mostrar(it->second);
    return;
  }
  bbtnVolverGanable->hide();
  ponerTexto(QStringLiteral("Calculando…"));
  tbTerminar->setEnabled(false);
  buscar();
}

void TAyudas::Continuada() { pasosVistos_ = juego_.mesa.Pasos.size(); }

void TAyudas::buscar() {
  const TMesa& m = juego_.mesa;
  TTarea t{m.ProcPreparar, m.NumeroJuego, {}, Limites, claveActual_, {}, {}, 0};
  for (const std::string& s : m.Pasos)
    if (auto p = LeerPaso(s)) t.Pasos.push_back(*p);
  // The search that is running is of no use any more: it stops now. The new one starts
  // once the frame showing the position has gone to the display, which the window's
  // update requests, posted before this, send first: its worker would otherwise take
  // the memory and the processor the frame is painted with.
  {
    std::lock_guard lock(mutex_);
    enCurso_.request_stop();
  }
  if (porEncargar_) parada(porEncargar_->Clave, 0);
  porEncargar_ = std::move(t);
  if (!encargoPedido_) {
    encargoPedido_ = true;
    QCoreApplication::postEvent(this, new QEvent(kEncargarBusqueda), Qt::LowEventPriority);
  }
}

void TAyudas::customEvent(QEvent* e) {
  if (e->type() != kEncargarBusqueda) return;
  encargoPedido_ = false;
  if (!porEncargar_) return;
  TTarea t = std::move(*porEncargar_);
  porEncargar_.reset();
  encargar(std::move(t));
}

bool TAyudas::enviarSeguras() {
  TMesa& m = juego_.mesa;
  // One step more than last time is one action of the player's; a new deal, a restored
  // game or a redo's several steps are not.
  const bool accion = m.Pasos.size() == pasosVistos_ + 1;
  pasosVistos_ = m.Pasos.size();
  if (!accion || !tbEnviarSeguras->isChecked() || tmrTerminar_.isActive() || m.JuegoTerminado)
    return false;
  // Only a move asks for it: undo, the snapshot, the return and the restart leave the
  // table as the player wants it.
  const std::string& ultimo = m.Pasos.back();
  if (ultimo == "d" || ultimo == "i" || ultimo == "v" || ultimo == "r") return false;
  int enviadas = 0;
  juego_.Tapete->Animar([&] { enviadas = EnviarSeguras(m); });
  pasosVistos_ = m.Pasos.size();
  if (enviadas == 0) return false;
  juego_.Actualizar();
  return true;
}

bool TAyudas::BuscarRepartoGanable() {
  TMesa& m = juego_.mesa;
  if (!tbSoloGanables->isChecked() || !m.ProcPreparar) return false;
  cancelarReparto();
  // Fresh numbers as the deal takes them from the clock, then the next ones in turn.
  TTarea t{m.ProcPreparar, 0, {}, {}, {}, {}, {}, ++series_};
  const auto desde =
      std::max<std::int32_t>(1, static_cast<std::int32_t>(m.Generador.Reloj() & 0x3FFFFFFF));
  for (std::int32_t i = 0; i < kIntentosReparto; ++i) t.Numeros.push_back(desde + i);
  serieReparto_ = t.Serie;
  paradaReparto_ = t.Parar;
  encargar(std::move(t));
  bbtnVolverGanable->hide();
  tbTerminar->setEnabled(false);
  tbDemostracion->setEnabled(false);
  ponerTexto(kBuscandoReparto);
  return true;
}

void TAyudas::cancelarReparto() {
  if (!serieReparto_) return;
  serieReparto_ = 0;
  paradaReparto_.request_stop();
  if (lbVeredicto->text() == kBuscandoReparto) ponerTexto({});
}

void TAyudas::repartoHallado(std::uint64_t serie, std::int32_t numero) {
  if (serie != serieReparto_ || !juego_.isVisible()) return;
  serieReparto_ = 0;
  juego_.NuevoReparto(numero);
}

void TAyudas::recibir(const std::string& k, TResultado r) {
  TSabido& s = sabidos_[k];
  s = {r.Veredicto, std::move(r.Pasos)};
  if (k == claveActual_) {
    Esperas.push_back(static_cast<double>(espera_.nsecsElapsed()) / 1e6);
    mostrar(s);
  }
}

void TAyudas::mostrar(const TSabido& s) {
  const int profundidad = juego_.mesa.ProfundidadHistorial();
  bbtnVolverGanable->hide();
  switch (s.Veredicto) {
    case TVeredicto::Ganable:
      ganables_.insert(profundidad);
      ponerTexto(QStringLiteral("Ganable"));
      break;
    case TVeredicto::SinSolucion:
      if (ganables_.empty()) {
        ponerTexto(QStringLiteral("Sin solución"));
      } else {
        ponerTexto(QStringLiteral("Ya no tiene solución"));
        bbtnVolverGanable->show();
      }
      break;
    case TVeredicto::NoSeSabe:
      ponerTexto(QStringLiteral("No se sabe"));
      break;
  }
  tbTerminar->setEnabled(s.Veredicto == TVeredicto::Ganable && !s.Linea.empty());
  tbDemostracion->setEnabled(tbTerminar->isEnabled());
  acomodar();
  emit VeredictoMostrado();
}

void TAyudas::tbRehacerClick() {
  bool hecho = false;
  juego_.Tapete->Animar([&] { hecho = Rehacer(juego_.mesa); });
  // What redo brings back is no new move: nothing is sent home after it.
  pasosVistos_ = juego_.mesa.Pasos.size();
  if (hecho) juego_.Actualizar();
}

void TAyudas::VolverAGanable() {
  if (ganables_.empty()) return;
  TMesa& m = juego_.mesa;
  const int destino = *ganables_.rbegin();
  while (m.Historial && m.ProfundidadHistorial() > destino) m.Deshacer();
  juego_.Actualizar();
}

void TAyudas::tbPistaClick() {
  TMesa& m = juego_.mesa;
  const auto it = sabidos_.find(claveActual_);
  if (it == sabidos_.end() || it->second.Veredicto != TVeredicto::Ganable ||
      it->second.Linea.empty()) {
    const bool sin = it != sabidos_.end() && it->second.Veredicto == TVeredicto::SinSolucion;
    ponerTexto(sin ? QStringLiteral("Sin pista: no tiene solución")
                             : QStringLiteral("Sin pista: no se sabe"));
    return;
  }
  const TPaso& p = it->second.Linea.front();
  resaltados_.clear();
  if (p.Tipo == TPaso::TTipo::Mazo) {
    if (m.Mazo) resaltados_.push_back(m.Mazo.get());
  } else {
    TPila* desde = PilaNumero(m, p.Pila);
    TPila* hacia = PilaNumero(m, p.Destino);
    if (TCarta* c = desde ? CartaEn(*desde, p.Posicion) : nullptr) resaltados_.push_back(c);
    if (hacia)
      resaltados_.push_back(hacia->Tope ? static_cast<const TControl*>(hacia->Tope) : hacia);
  }
  // A game the program helped with is won as any other but enters no score table.
  m.AyudaUsada = true;
  juego_.Tapete->update();
  tmrPista_.start();
}

void TAyudas::tbTerminarClick() { jugarLinea(kMsPasoTerminar); }

void TAyudas::tbDemostracionClick() {
  jugarLinea(MsPasoDemostracion);
  if (!tmrTerminar_.isActive()) return;
  demostrando_ = true;
  qApp->installEventFilter(this);
}

void TAyudas::jugarLinea(int msPorPaso) {
  const auto it = sabidos_.find(claveActual_);
  if (tmrTerminar_.isActive() || it == sabidos_.end() ||
      it->second.Veredicto != TVeredicto::Ganable || it->second.Linea.empty())
    return;
  porTerminar_ = it->second.Linea;
  std::reverse(porTerminar_.begin(), porTerminar_.end());
  // A game the program played for the player is won as any other but is no record.
  juego_.mesa.AyudaUsada = true;
  tmrTerminar_.start(msPorPaso);
}

void TAyudas::terminarLinea() {
  porTerminar_.clear();
  tmrTerminar_.stop();
  if (demostrando_) qApp->removeEventFilter(this);
  demostrando_ = false;
  juego_.Actualizar();
}

void TAyudas::siguientePasoTerminar() {
  TMesa& m = juego_.mesa;
  // Each step goes through the entry points as the player's would; a step the table
  // refuses (the player moved meanwhile) ends it.
  // The table's glide shows the move when animation is on.
  bool hecho = false;
  if (!porTerminar_.empty() && !m.JuegoTerminado)
    juego_.Tapete->Animar([&] { hecho = HacerPaso(m, porTerminar_.back()); });
  // The line's own steps are played as they are: a drop in between would change them.
  pasosVistos_ = m.Pasos.size();
  if (!hecho)
    porTerminar_.clear();
  else
    porTerminar_.pop_back();
  if (porTerminar_.empty())
    terminarLinea();
  else
    juego_.Actualizar();
}

TAyudas* InstalarAyudas(TfrmJuego& juego) { return new TAyudas(juego); }

void AvisarAyudaUsada(QWidget& dialogo) {
  auto* aviso = new QLabel(
      QStringLiteral("Jugada con ayuda: no entra en la tabla de los diez mejores."), &dialogo);
  aviso->setObjectName(QStringLiteral("lbAyudaUsada"));
  aviso->setAlignment(Qt::AlignCenter);
  aviso->setAutoFillBackground(true);
  aviso->setGeometry(0, 0, dialogo.width(), aviso->sizeHint().height());
  aviso->show();
}
