#include "app/data_folder.h"
#include "app/main_window.h"
#include "app/regional_notation.h"

#include <QApplication>
#include <QDir>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName("ZRDorvel");
  QApplication::setApplicationDisplayName("ZR Dorvel");

  const zr::SystemClock clock;
  zr::MainWindow::Options options;
  options.clock = &clock;
  options.programFolder = QApplication::applicationDirPath() + '/';
  options.userDataFolder = zr::userDataFolder();
  const QStringList arguments = QApplication::arguments();
  for (qsizetype i = 1; i < arguments.size(); ++i)
    options.arguments.push_back(arguments[i].toLocal8Bit().toStdString());
  const QLocale locale = QLocale::system();
  options.regional = zr::regionalSettingsOf(locale);
  options.separators = zr::dateTimeSeparatorsOf(locale);

  zr::MainWindow window(std::move(options));
  if (!window.startsHidden())
    window.show();
  return app.exec();
}
