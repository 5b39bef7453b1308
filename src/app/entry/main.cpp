#include <QApplication>
#include <QMainWindow>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationDisplayName("ZR Dorvel");
  QMainWindow window;
  window.setWindowTitle("ZR Dorvel");
  window.show();
  return app.exec();
}
