// Cartoval: the main window, the splash and the event loop. No command line is read.
#include <QApplication>
#include <QFontDatabase>

#include <future>
#include <thread>

#include "play/ventanas/Cargando.h"
#include "play/ventanas/Principal.h"
#include "play/ventanas/Programa.h"
#include "play/ventanas/Traducciones.h"
#include "resources/Dibujos.h"

int main(int argc, char* argv[]) {
  // The application object comes first: the first thread that makes a Qt object is the
  // one Qt takes for the main thread, so nothing may run on a worker before it.
  QApplication app(argc, argv);
  // The main window's picture is decoded while the rest of the start goes on.
  auto imagen =
      std::async(std::launch::async, [] { return ImagenVentana(QStringLiteral("Principal")); });
  // The font database is filled on a worker while the windows are built: fontconfig reading
  // its configuration and every font registered is the largest single cost of the start,
  // and QFontDatabase is thread-safe. Joined before the application object goes.
  std::jthread fuentes([] { QFontDatabase::families(); });
  QApplication::setApplicationName(QStringLiteral("ZARP"));
  // Before the first window: its standard buttons and key names take the catalogue.
  CargarTraduccionesQt();

  TfrmPrincipal principal(nullptr, [&imagen] { return imagen.get(); });
  TfrmCargando cargando(&principal);
  Programa().frmCargando = &cargando;
  // The card-back chooser is made when first opened (FormReversos), and then kept.
  principal.show();
  const int resultado = QApplication::exec();
  Programa().frmCargando = nullptr;
  return resultado;
}
