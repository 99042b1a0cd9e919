#include "play/ventanas/Traducciones.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

QString CarpetaTraduccionesQt() { return QLibraryInfo::path(QLibraryInfo::TranslationsPath); }

bool CargarTraduccionesQt() {
  // One translator for the whole run, installed on the application that is running.
  static QTranslator* traductor = nullptr;
  if (traductor) return true;
  auto* qt = new QTranslator(QCoreApplication::instance());
  if (!qt->load(QLocale(QLocale::Spanish, QLocale::Argentina), QStringLiteral("qtbase"),
                QStringLiteral("_"), CarpetaTraduccionesQt())) {
    delete qt;
    return false;
  }
  QCoreApplication::installTranslator(qt);
  traductor = qt;
  return true;
}
