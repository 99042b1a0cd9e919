// Draws the program's icon into the hicolor theme's sizes at build time:
// CARPETA/NxN/apps/cartoval.png for each size.
#include <QDir>
#include <QGuiApplication>
#include <QImage>

#include <cstdio>

#include "resources/Dibujos.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "uso: generar_iconos CARPETA\n");
    return 2;
  }
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  const QString raiz = QString::fromLocal8Bit(argv[1]);
  for (const int lado : {16, 22, 24, 32, 48, 64, 128, 256}) {
    const QString carpeta = raiz + QStringLiteral("/%1x%1/apps").arg(lado);
    if (!QDir().mkpath(carpeta) ||
        !DibujoIcono(lado).save(carpeta + QStringLiteral("/cartoval.png"), "PNG"))
      return 1;
  }
  return 0;
}
