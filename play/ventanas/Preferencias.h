#pragma once
// The player's preferences that the settings record has no room for: how the table is
// shown and which aids are on. Kept in an INI file of their own beside the other files
// of the program.
#include <QString>

struct TPreferencias {
  // Cards of the fixed 62 x 98 size, the table laid out for the real screen width.
  bool TamannoOriginal = false;
  // Cards glide to their places after automatic moves, deals, undo and redeals.
  bool Animacion = true;
  // After each move, the cards no pile can need any more go home by themselves.
  bool EnviarSeguras = false;
  // "Nuevo Juego" deals only numbers the solver proves ganable.
  bool SoloGanables = false;
};

QString ArchivoPreferencias();
// Defaults for a missing or unreadable file and for each missing or damaged value.
TPreferencias LeerPreferencias();
// Nothing is reported when the file cannot be written.
void GuardarPreferencias(const TPreferencias& preferencias);
