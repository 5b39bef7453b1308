#include "app/data_folder.h"
#include "app/main_window.h"
#include "app/regional_notation.h"
#include "platform/session_end.h"

#include <QApplication>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName("ZRDorvel");
  QApplication::setApplicationDisplayName("ZR Dorvel");
  // The program lives on while its window is hidden in the notification area and
  // an alert or dialog closes; it ends when the main window's close sequence has run.
  QApplication::setQuitOnLastWindowClosed(false);

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

  // Logging out, shutting down or a termination signal end the program the way
  // "Shut Down" does, so the close sequence runs and the settings are written. The
  // watcher outlives the window, so its deadline covers the whole close.
  zr::SessionEndWatcher sessionEnd;
  options.sessionEnd = &sessionEnd;

  zr::MainWindow window(std::move(options));
  // Closed already: another copy runs on the data folder, or the program was shut
  // down during the start-up (closed() had no listener yet).
  if (window.isClosed())
    return 0;
  QObject::connect(&window, &zr::MainWindow::closed, &app, &QApplication::quit,
                   Qt::QueuedConnection);
  if (!window.startsHidden())
    window.show();
  return app.exec();
}
