// SPDX-License-Identifier: MIT

#include "app/app_icons.h"
#include "app/data_folder.h"
#include "app/main_window.h"
#include "app/regional_notation.h"
#include "platform/session_end.h"
#include "platform/window_system.h"

#include <QApplication>
#include <vector>

int main(int argc, char** argv) {
  // In a Wayland session with XWayland at hand the program runs on X11, where its alerts
  // stack at the lower right. It asks through the command line rather than the
  // environment, which programs it starts would inherit; Qt takes the option off the
  // arguments again.
  std::vector<char*> qtArguments(argv, argv + argc);
  char platformOption[] = "-platform";
  char x11Platform[] = "xcb";
  if (zr::prefersXWayland(zr::windowSystemEnvironment(argc, argv)))
    qtArguments.insert(qtArguments.begin() + 1, {platformOption, x11Platform});
  int qtArgumentCount = static_cast<int>(qtArguments.size());
  qtArguments.push_back(nullptr);
  // With several monitors Qt 6.4 on X11 gives each monitor's whole area as its work
  // area, so alerts would cover the panels; with this it leaves out what the desktop's
  // _NET_WORKAREA leaves out, as it does with one monitor.
  if (qEnvironmentVariableIsEmpty("QT_RELY_ON_NET_WORKAREA_ATOM"))
    qputenv("QT_RELY_ON_NET_WORKAREA_ATOM", "1");

  QApplication app(qtArgumentCount, qtArguments.data());
  QApplication::setApplicationName("ZRDorvel");
  QApplication::setApplicationDisplayName("ZR Dorvel");
  QApplication::setWindowIcon(zr::applicationIcon(QApplication::applicationDirPath()));
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
