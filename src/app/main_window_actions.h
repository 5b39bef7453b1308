// SPDX-License-Identifier: MIT

#pragma once

class QAction;
class QMainWindow;
class QWidget;

namespace zr {

class PopupMenu;

// The main window's commands as actions, with their captions, hints, shortcuts and
// images; the window connects what each one runs.
struct MainWindowActions {
  QAction* fileSave;
  QAction* fileClose;
  QAction* fileShutDown;
  QAction* reminderAdd;
  QAction* reminderEdit;
  QAction* reminderDelete;
  QAction* reminderDuplicate;
  QAction* reminderTest;
  QAction* alertsGoTo;
  QAction* alertsCloseAll;
  QAction* systemEnable;
  QAction* systemOptions;
  QAction* systemUpdates;
  QAction* helpHelp;
  QAction* helpAbout;
  QAction* popupShow; // for the tray popup only
};

// Makes the actions as children of `window`, which takes all but "Show Program" so
// their shortcuts work wherever the focus is in it.
MainWindowActions createMainWindowActions(QWidget& window);
// The main menu and the toolbar of `window`, showing the actions.
void createMainMenu(QMainWindow& window, const MainWindowActions& actions);
void createToolBar(QMainWindow& window, const MainWindowActions& actions);
void fillTrayPopupMenu(PopupMenu& menu, const MainWindowActions& actions);

} // namespace zr
