#pragma once
// Qt's own texts (the Yes/No of a question, the names of keys in a hint, the menus of an
// edit box) in Spanish, whatever language the system speaks.
#include <QString>

// Installs Qt's Spanish catalogue once for the run; later calls change nothing. False when
// the catalogue is not installed: Qt then shows its English texts.
bool CargarTraduccionesQt();

// The folder the catalogue is looked for in: where Qt keeps its translations.
QString CarpetaTraduccionesQt();
