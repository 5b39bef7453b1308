// SPDX-License-Identifier: MIT

#include "app/main_window_actions.h"

#include "app/app_icons.h"
#include "controls/fonts.h"
#include "controls/menu_style.h"
#include "tray/popup_menu.h"

#include <QAction>
#include <QMainWindow>
#include <QMenuBar>
#include <QToolBar>

namespace zr {

namespace {

constexpr int kMenuBarHeight = 24;
constexpr int kToolBarHeight = 26;

} // namespace

MainWindowActions createMainWindowActions(QWidget& window) {
  const auto make = [&window](const char* name, const QString& caption, const QString& hint,
                              const QKeySequence& shortcut) {
    auto* action = new QAction(caption, &window);
    action->setObjectName(name);
    if (!hint.isEmpty())
      action->setToolTip(hint);
    action->setShortcut(shortcut);
    // The shortcuts work wherever the focus is in the window, the list included.
    action->setShortcutContext(Qt::WindowShortcut);
    window.addAction(action);
    return action;
  };
  MainWindowActions actions{};
  actions.fileSave = make("actFileSave", "&Save", "Save", QKeySequence("Ctrl+S"));
  actions.fileClose = make("actFileClose", "&Close Window", {}, {});
  actions.fileShutDown = make("actFileShutDown", "S&hut Down", "Shut Down Application", {});
  actions.reminderAdd = make("actReminderAdd", "&Add", "Add", QKeySequence("Ctrl+A"));
  actions.reminderEdit = make("actReminderEdit", "&Edit", {}, QKeySequence("Ctrl+E"));
  actions.reminderDelete = make("actReminderDelete", "&Delete", "Delete", QKeySequence("Ctrl+D"));
  actions.reminderDuplicate =
      make("actReminderDuplicate", "D&uplicate", "Duplicate", QKeySequence("Ctrl+U"));
  actions.reminderTest = make("actReminderTest", "&Test", {}, QKeySequence("Ctrl+T"));
  actions.alertsGoTo = make("actAlertsGoTo", "&Go to Alerts", {}, QKeySequence("Ctrl+G"));
  actions.alertsCloseAll = make("actAlertsCloseAll", "C&lose All Alerts", {}, {});
  actions.systemEnable = make("actSystemEnable", "&Enable Reminders", {}, {});
  actions.systemEnable->setCheckable(true);
  actions.systemEnable->setChecked(true);
  actions.systemOptions = make("actSystemOptions", "&Options", {}, {});
  actions.systemUpdates = make("actSystemUpdates", "&Check For Updates", {}, {});
  actions.helpHelp = make("actHelpHelp", "&Help", "Help", QKeySequence("F1"));
  actions.helpAbout = make("actHelpAbout", "&About", {}, {});
  actions.popupShow = new QAction("Show Program", &window);
  actions.popupShow->setObjectName("actPopupShow");

  actions.fileSave->setIcon(actionIcon(ActionImage::Save));
  actions.fileShutDown->setIcon(actionIcon(ActionImage::ShutDown));
  actions.reminderAdd->setIcon(actionIcon(ActionImage::Add));
  actions.reminderDuplicate->setIcon(actionIcon(ActionImage::Duplicate));
  actions.reminderDelete->setIcon(actionIcon(ActionImage::Delete));
  actions.systemOptions->setIcon(actionIcon(ActionImage::Options));
  actions.helpHelp->setIcon(actionIcon(ActionImage::Help));
  return actions;
}

void createMainMenu(QMainWindow& window, const MainWindowActions& actions) {
  QMenuBar* bar = window.menuBar();
  bar->setObjectName("mnuMainMenu");
  bar->setFont(menuFont());
  bar->setFixedHeight(scaled(kMenuBarHeight));
  bar->setStyleSheet(kMenuStyleSheet);

  QMenu* file = bar->addMenu("&File");
  file->addAction(actions.fileSave);
  file->addAction(actions.fileClose);
  file->addSeparator();
  file->addAction(actions.fileShutDown);

  QMenu* reminder = bar->addMenu("&Reminder");
  reminder->addAction(actions.reminderAdd);
  reminder->addAction(actions.reminderEdit);
  reminder->addAction(actions.reminderDelete);
  reminder->addAction(actions.reminderDuplicate);
  reminder->addSeparator();
  reminder->addAction(actions.reminderTest);
  reminder->addAction(actions.alertsGoTo);
  reminder->addAction(actions.alertsCloseAll);

  QMenu* system = bar->addMenu("&System");
  system->addAction(actions.systemEnable);
  system->addAction(actions.systemOptions);
  system->addSeparator();
  system->addAction(actions.systemUpdates);

  QMenu* help = bar->addMenu("&Help");
  help->addAction(actions.helpHelp);
  help->addSeparator();
  help->addAction(actions.helpAbout);
}

void createToolBar(QMainWindow& window, const MainWindowActions& actions) {
  QToolBar* bar = window.addToolBar("Toolbar");
  bar->setObjectName("mnuToolBar");
  bar->setMovable(false);
  bar->setFloatable(false);
  bar->setFixedHeight(kToolBarHeight);
  bar->setIconSize(QSize(16, 16));
  bar->setToolButtonStyle(Qt::ToolButtonIconOnly);
  bar->toggleViewAction()->setVisible(false);
  bar->setContextMenuPolicy(Qt::PreventContextMenu);
  for (QAction* action : {actions.fileSave, actions.reminderAdd, actions.reminderDelete,
                          actions.reminderDuplicate, actions.helpHelp, actions.fileShutDown}) {
    bar->addAction(action);
    // The buttons take their turn in the Tab order, so the keyboard reaches them too.
    bar->widgetForAction(action)->setFocusPolicy(Qt::TabFocus);
  }
}

void fillTrayPopupMenu(PopupMenu& menu, const MainWindowActions& actions) {
  menu.addActionItem(actions.popupShow);
  menu.addActionItem(actions.systemEnable);
  menu.addActionItem(actions.alertsGoTo);
  menu.addActionItem()->setText("-");
  menu.addActionItem(actions.fileShutDown);
}

} // namespace zr
