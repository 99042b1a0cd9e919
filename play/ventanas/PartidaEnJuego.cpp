#include "play/ventanas/PartidaEnJuego.h"

#include <QLabel>
#include <QStatusBar>

#include "games/Registro.h"
#include "play/registros/Estadisticas.h"
#include "play/registros/PartidaGuardada.h"
#include "play/ventanas/Ayudas.h"
#include "play/ventanas/FinJuego.h"
#include "play/ventanas/Juego.h"
#include "play/ventanas/Programa.h"
#include "tools/Pasos.h"

namespace fs = std::filesystem;

namespace {

// The verdict label's text for a position the solver proved.
const QString kGanable = QStringLiteral("Ganable");

template <class F>
void CambiarEstadisticas(const std::string& clave, F cambio) {
  if (clave.empty()) return;
  const auto carpeta = CarpetaDelPrograma();
  TEstadisticas e = LeerEstadisticas(carpeta);
  cambio(e[clave]);
  GuardarEstadisticas(carpeta, e);
}

}  // namespace

std::string ClaveDeJuego(TPrepararJuego preparar) {
  for (const TJuegoRegistrado& j : Juegos())
    if (j.Preparar == preparar) return j.Clave;
  return {};
}

TPartidaEnJuego::TPartidaEnJuego(TfrmJuego& juego) : juego_(juego) {
  Aviso = new QLabel(QStringLiteral("Juego continuado"), juego.sbStatus);
  juego.sbStatus->addPermanentWidget(Aviso);
  Aviso->hide();
}

bool TPartidaEnJuego::Continuar(TPrepararJuego preparar) {
  const std::string clave = ClaveDeJuego(preparar);
  if (!Activa || clave.empty()) return false;
  const auto guardada = LeerPartida(CarpetaDelPrograma(), clave);
  if (!guardada) return false;
  TMesa& m = juego_.mesa;
  preparar(m, guardada->Numero);
  // The steps replay on the table alone: a table they win is not a game in progress, and
  // no dialog of the window may open meanwhile.
  TVentana* ventana = m.Ventana;
  m.Ventana = nullptr;
  m.VentanaPropia.Ganado = false;
  // The drop's actions are joined again as they were, so that undo and redo act as before
  // the game was left.
  const bool bien = RepetirPasos(m, guardada->Pasos, guardada->Unidos) &&
                    !m.VentanaPropia.Ganado && m.Pasos == guardada->Pasos;
  m.Ventana = ventana;
  if (!bien) {
    GuardarPartida(CarpetaDelPrograma(), clave, std::nullopt);
    m.LiberarMesa();
    return false;
  }
  m.AyudaUsada = guardada->AyudaUsada;
  // A step that was itself a redo replays as a new action, which forgets what was undone
  // before it: the kept list is what redo still had.
  if (guardada->PorRehacer) m.PorRehacer = *guardada->PorRehacer;
  contado_ = true;
  ganable_ = guardada->RepartoGanable;
  if (juego_.Ayudas) juego_.Ayudas->Continuada();
  juego_.CargandoOculto();
  m.Minutos = guardada->Minutos;
  if (m.Minutos > 0) m.ActualizarPuntos();
  Aviso->show();
  juego_.Actualizar();
  return true;
}

void TPartidaEnJuego::Abandonar(const std::string& clave) {
  Aviso->hide();
  if (!Activa || clave.empty()) return;
  // Every new deal comes through here: where there is no file of saved games at all, one
  // look at the folder says so, without the checks and the parse of a read.
  const auto carpeta = CarpetaDelPrograma();
  std::error_code ec;
  const bool habiaGuardada =
      fs::exists(fs::symlink_status(carpeta / ArchivoPartidas, ec)) &&
      LeerPartida(carpeta, clave).has_value();
  if ((contado_ && !juego_.mesa.JuegoTerminado) || habiaGuardada)
    CambiarEstadisticas(clave, ContarAbandono);
  if (habiaGuardada) GuardarPartida(carpeta, clave, std::nullopt);
  contado_ = false;
  ganable_ = false;
}

void TPartidaEnJuego::Actualizar() {
  if (!Activa || contado_ || juego_.mesa.Pasos.empty() || juego_.mesa.JuegoTerminado) return;
  contado_ = true;
  CambiarEstadisticas(QuitarEspacios(juego_.mesa.NombreJuego), [this](TEstadisticaJuego& e) {
    ContarJugado(e);
    if (ganable_) ContarGanable(e);
  });
}

void TPartidaEnJuego::SeguirVeredictos(TAyudas& ayudas) {
  QObject::connect(&ayudas, &TAyudas::VeredictoMostrado, &ayudas,
                   [this, &ayudas] { veredictoMostrado(ayudas); });
}

void TPartidaEnJuego::veredictoMostrado(const TAyudas& ayudas) {
  const TMesa& m = juego_.mesa;
  // Only the verdict on the deal itself counts: a later position proven ganable says
  // more about the player's moves than about the deal.
  if (ganable_ || m.JuegoTerminado || m.Historial || ayudas.lbVeredicto->text() != kGanable)
    return;
  ganable_ = true;
  // Proven after the first move: the deal was counted as played without it.
  if (Activa && contado_) CambiarEstadisticas(QuitarEspacios(m.NombreJuego), ContarGanable);
}

void TPartidaEnJuego::Reiniciado() {
  Aviso->hide();
  if (!Activa) return;
  GuardarPartida(CarpetaDelPrograma(), QuitarEspacios(juego_.mesa.NombreJuego), std::nullopt);
}

void TPartidaEnJuego::Ganado() {
  Aviso->hide();
  if (!Activa) return;
  const TMesa& m = juego_.mesa;
  const std::string clave = QuitarEspacios(m.NombreJuego);
  const bool yaContado = contado_;
  contado_ = true;
  CambiarEstadisticas(clave, [&](TEstadisticaJuego& e) {
    if (ganable_ && !yaContado) ContarGanable(e);
    ContarGanado(e, yaContado, PuntosGanados(m.Minutos, m.Movimientos), m.Movimientos,
                 m.Minutos);
    // Aided wins count as any other: the figures say how deals end, not who played them.
    if (ganable_) ContarGanadoGanable(e);
  });
  GuardarPartida(CarpetaDelPrograma(), clave, std::nullopt);
}

void TPartidaEnJuego::Cerrando() {
  const TMesa& m = juego_.mesa;
  if (!Activa || m.JuegoTerminado || m.Pasos.empty()) return;
  GuardarPartida(CarpetaDelPrograma(), QuitarEspacios(m.NombreJuego),
                 TPartidaGuardada{m.NumeroJuego, m.Pasos, m.Minutos, m.AyudaUsada, ganable_,
                                  m.PasosUnidos, m.PorRehacer});
}
