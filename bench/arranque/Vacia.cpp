// The yardstick of the start-up measurement: a bare Qt window of the main window's size
// with one label.
#include <QApplication>
#include <QLabel>
#include <QWidget>

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QWidget ventana;
  ventana.setFixedSize(560, 357);
  QLabel etiqueta(QStringLiteral("Hecho en Argentina"), &ventana);
  etiqueta.move(23, 341);
  ventana.show();
  return QApplication::exec();
}
