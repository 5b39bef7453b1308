// SPDX-License-Identifier: MIT

#include "app/data_folder.h"
#include "app/main_window.h"
#include "app/regional_notation.h"
#include "platform/session_end.h"

#include <QApplication>
#include <QDir>
#include <QTimer>

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
  // "Shut Down" does, so the close sequence runs and the settings are written.
  // A request that comes during start-up (the splash) is carried out once the
  // window exists.
  zr::SessionEndWatcher sessionEnd;
  zr::MainWindow* mainWindow = nullptr;
  bool endRequested = false;
  QObject::connect(&sessionEnd, &zr::SessionEndWatcher::sessionEnding, &app, [&] {
    if (mainWindow)
      mainWindow->fileShutDown();
    else
      endRequested = true;
  });

  zr::MainWindow window(std::move(options));
  // "Shut Down" chosen while a start-up message was open has run the close already.
  if (window.isClosed())
    return 0;
  mainWindow = &window;
  QObject::connect(&window, &zr::MainWindow::closed, &app, &QApplication::quit,
                   Qt::QueuedConnection);
  if (endRequested)
    QTimer::singleShot(0, &window, &zr::MainWindow::fileShutDown);
  else if (!window.startsHidden())
    window.show();
  return app.exec();
}
