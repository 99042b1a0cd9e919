#include "play/ventanas/Preferencias.h"

#include <QSettings>

#include "play/ventanas/Programa.h"

namespace {

const QString kTamannoOriginal = QStringLiteral("Mesa/TamannoOriginal");
const QString kAnimacion = QStringLiteral("Mesa/Animacion");
const QString kEnviarSeguras = QStringLiteral("Ayudas/EnviarSeguras");
const QString kSoloGanables = QStringLiteral("Ayudas/SoloGanables");

bool LeerBooleano(const QSettings& s, const QString& clave, bool porDefecto) {
  const QVariant v = s.value(clave);
  if (!v.isValid()) return porDefecto;
  const QString texto = v.toString().trimmed().toLower();
  if (texto == QLatin1String("true") || texto == QLatin1String("1")) return true;
  if (texto == QLatin1String("false") || texto == QLatin1String("0")) return false;
  return porDefecto;
}

}  // namespace

QString ArchivoPreferencias() {
  return QString::fromStdString((CarpetaDelPrograma() / "Preferencias.ini").string());
}

TPreferencias LeerPreferencias() {
  const QSettings s(ArchivoPreferencias(), QSettings::IniFormat);
  TPreferencias p;
  p.TamannoOriginal = LeerBooleano(s, kTamannoOriginal, p.TamannoOriginal);
  p.Animacion = LeerBooleano(s, kAnimacion, p.Animacion);
  p.EnviarSeguras = LeerBooleano(s, kEnviarSeguras, p.EnviarSeguras);
  p.SoloGanables = LeerBooleano(s, kSoloGanables, p.SoloGanables);
  return p;
}

void GuardarPreferencias(const TPreferencias& preferencias) {
  // QSettings writes a temporary file and renames it over the old one.
  QSettings s(ArchivoPreferencias(), QSettings::IniFormat);
  s.setValue(kTamannoOriginal, preferencias.TamannoOriginal);
  s.setValue(kAnimacion, preferencias.Animacion);
  s.setValue(kEnviarSeguras, preferencias.EnviarSeguras);
  s.setValue(kSoloGanables, preferencias.SoloGanables);
  s.sync();
}
