// The yardstick of the start-up measurement: a bare Qt window of the main window's size.
#include <QApplication>
#include <QWidget>

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QWidget ventana;
  ventana.setFixedSize(560, 357);
  ventana.show();
  return QApplication::exec();
}
