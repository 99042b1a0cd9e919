#pragma once
// What every window of the run shares: the program's folder, the settings record with
// the chosen card back, the player's own backs, the long-lived splash and chooser.
#include <QPixmap>
#include <QPointer>
#include <QString>

#include <cstdint>
#include <filesystem>
#include <string>

#include "backs/Reversos.h"
#include "play/Configuracion.h"

class QWidget;
class TfrmCargando;
class TfrmReversos;

struct TPrograma {
  std::filesystem::path Carpeta;  // the folder of the player's files (CarpetaDelPrograma)
  TRegistroConfiguracion Configuracion;
  TReversosUsuario ReversosUsuario;
  TfrmCargando* frmCargando = nullptr;
  // The card-back chooser, kept for the whole run; cleared if its owner goes first.
  QPointer<TfrmReversos> frmReversos;
  // Raised whenever the chosen back changes, so that painted backs are redrawn.
  std::uint64_t VersionReverso = 0;
};

TPrograma& Programa();

// The folder of the player's files, decided once per run: the program's folder while it
// is writable and not the installed one, else $XDG_DATA_HOME/cartoval (ElegirCarpetaDatos);
// or the one a test put in Programa().Carpeta.
std::filesystem::path CarpetaDelPrograma();
// "ZARP(Esp).hlp": beside the player's files or the executable (a portable copy, the build
// folder), else where the program was installed.
QString ArchivoAyuda();

// The chooser of the run; created here, owned by `principal`, when the start did not.
TfrmReversos& FormReversos(QWidget* principal);

std::string ReversoActual();
void PonerReversoActual(const std::string& identificador);

// The picture of a face-down card for the chosen back: a built-in back, the player's
// picture over the placeholder, or the placeholder for an identifier that names nothing.
// A player's picture is decoded on a worker at the size shown: until it is ready, and
// for a broken file, the placeholder; ImagenesReversos() announces it (EsReversoActual
// tells whether the announcement concerns the chosen back).
QPixmap DibujoReversoActual(qreal dpr);
// The same at the size it is shown (logical pixels), e.g. a table scaled to its window.
QPixmap DibujoReversoActual(QSize tamanno, qreal dpr);
bool EsReversoActual(const QString& archivo);

// Called first on a worker thread: its background work (the verdict's search) gives way to
// the window thread and the display server whenever they want the processor, also where
// the program was started at real-time priority, which the worker would inherit.
void CederProcesadorAVentanas();
