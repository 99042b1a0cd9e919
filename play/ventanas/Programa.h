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
  std::filesystem::path Carpeta;  // the folder of the executable
  TRegistroConfiguracion Configuracion;
  TReversosUsuario ReversosUsuario;
  TfrmCargando* frmCargando = nullptr;
  // The card-back chooser, kept for the whole run; cleared if its owner goes first.
  QPointer<TfrmReversos> frmReversos;
  // Raised whenever the chosen back changes, so that painted backs are redrawn.
  std::uint64_t VersionReverso = 0;
};

TPrograma& Programa();

// The program's folder, or the one a test put in Programa().Carpeta.
std::filesystem::path CarpetaDelPrograma();
// "ZARP(Esp).hlp" beside the executable.
QString ArchivoAyuda();

// The chooser of the run; created here, owned by `principal`, when the start did not.
TfrmReversos& FormReversos(QWidget* principal);

std::string ReversoActual();
void PonerReversoActual(const std::string& identificador);

// The picture of a face-down card for the chosen back: a built-in back, the player's
// picture over the placeholder, or the placeholder for an identifier that names nothing.
QPixmap DibujoReversoActual(qreal dpr);
// The same at the size it is shown (logical pixels).
QPixmap DibujoReversoActual(QSize tam, qreal dpr);
