// SPDX-License-Identifier: MIT

// A small window with the tray component, its popup menu and the end-of-session
// watcher, driven from outside by tray_desktop_test.sh under a real X server.
#include "platform/session_end.h"
#include "tray/popup_menu.h"
#include "tray/sys_tray.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QMainWindow>
#include <cstdio>

namespace {

class TestWindow : public QMainWindow {
protected:
  void closeEvent(QCloseEvent* event) override {
    std::printf("closed\n");
    std::fflush(stdout);
    event->accept();
    QCoreApplication::quit();
  }
};

} // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationDisplayName(QStringLiteral("ZR Dorvel"));
  QApplication::setQuitOnLastWindowClosed(false);

  TestWindow window;
  window.setWindowTitle(QStringLiteral("Tray Desktop Test"));
  window.setCentralWidget(new QLabel(QStringLiteral("Reminders"), &window));
  window.resize(400, 200);

  zr::SysTray tray(&window);
  tray.setHint(QStringLiteral("Dorvel"));
  tray.setSysTrayOnClose(true);
  tray.messageOptions().msgOnCloseDNSA = true;
  tray.messageOptions().msgOnMinimizeDNSA = true;

  QAction showProgram(QStringLiteral("Show Program"));
  QAction shutDown(QStringLiteral("Shut Down"));
  QAction closeWindow(QStringLiteral("Close Window"));
  closeWindow.setShortcut(QKeySequence(Qt::CTRL | Qt::Key_W));
  window.addAction(&closeWindow);
  QObject::connect(&showProgram, &QAction::triggered, &tray, &zr::SysTray::restoreProgram);
  QObject::connect(&closeWindow, &QAction::triggered, &window, &QWidget::close);
  QObject::connect(&shutDown, &QAction::triggered, &window, [&] {
    tray.setSysTrayOnClose(false);
    window.close();
  });

  zr::PopupMenu menu;
  menu.addActionItem(&showProgram);
  menu.addActionItem()->setText(QStringLiteral("-"));
  menu.addActionItem(&shutDown);
  tray.setPopupMenu(&menu);

  zr::SessionEndWatcher sessionEnd;
  QObject::connect(&sessionEnd, &zr::SessionEndWatcher::sessionEnding, &shutDown,
                   &QAction::trigger);

  if (QCoreApplication::arguments().contains(QStringLiteral("-startup")))
    tray.hideProgram();
  else
    window.show();
  std::printf("started\n");
  std::fflush(stdout);
  return app.exec();
}
