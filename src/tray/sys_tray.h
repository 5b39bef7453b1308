// SPDX-License-Identifier: MIT

#pragma once

#include <QIcon>
#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>
#include <memory>

class QSystemTrayIcon;
class QWidget;

namespace zr {

class PopupMenu;

// Lets the program live in the notification area. It hides its owner window there
// instead of closing or minimising it, shows an icon with a tooltip while the program is
// hidden, and restores the window on a double-click of the icon. A StatusNotifier tray
// (KDE Plasma, GNOME with AppIndicator, XFCE) reports no double-clicks, so there a click
// restores it; on an XEmbed tray a single click does nothing. Which kind of tray it is
// is asked each time the icon is shown. The popup menu is handed to the notification
// area: an XEmbed tray opens it on a right-click at the cursor, a StatusNotifier host
// gets it over D-Bus and shows it as its own. Each time it hides the window it can show
// a notice explaining where the program went, with a box to switch that notice off.
//
// It takes over the owner's close and minimise through an event filter: a close it turns
// into hiding never reaches the owner's closeEvent(); a close it lets through (the
// program is hidden already, or closing to the tray is off) reaches it unchanged.
//
// Where the desktop has no notification area, hiding would leave no way back, so closing
// and minimising minimise the window instead and no notice is shown. Availability is
// checked at the moment of hiding, since a notification area may appear later. A
// notification area that goes away while the program is hidden (its panel crashed or
// restarts) would strand it, so checkNotificationArea(), which the owner calls
// periodically, then shows the window minimised; it hides to the tray again at the next
// close or minimise.
class SysTray : public QObject {
  Q_OBJECT

public:
  // Which notices to show, and whether each offers "Do Not Show This Message Again".
  struct MessageOptions {
    bool msgOnClose = true;
    bool msgOnCloseDNSA = false;
    bool msgOnMinimize = true;
    bool msgOnMinimizeDNSA = false;
  };

  using AvailabilityCheck = std::function<bool()>;

  // The owner is the program's main window; it must outlive the component. The first
  // check tells whether the desktop has a notification area right now, the second
  // whether that area is a StatusNotifier host.
  explicit SysTray(QWidget* owner, AvailabilityCheck trayAvailable = defaultAvailabilityCheck(),
                   AvailabilityCheck statusNotifierHost = defaultStatusNotifierCheck());
  ~SysTray() override;

  static AvailabilityCheck defaultAvailabilityCheck();
  static AvailabilityCheck defaultStatusNotifierCheck();

  // Tooltip of the icon; only its first 63 characters are shown.
  QString hint() const { return hint_; }
  void setHint(const QString& hint);
  // Icon shown; when empty, the application's icon.
  QIcon icon() const { return icon_; }
  void setIcon(const QIcon& icon);
  // Keep the icon also while the window is visible.
  bool iconAlwaysShow() const { return iconAlwaysShow_; }
  void setIconAlwaysShow(bool alwaysShow);
  MessageOptions& messageOptions() { return messageOptions_; }
  const MessageOptions& messageOptions() const { return messageOptions_; }
  // Menu for a right-click; when none (or once it is destroyed), the built-in
  // "&Restore" / "&Close" menu.
  PopupMenu* popupMenu() const { return popupMenu_; }
  void setPopupMenu(PopupMenu* menu);
  bool sysTrayOnClose() const { return sysTrayOnClose_; }
  void setSysTrayOnClose(bool on) { sysTrayOnClose_ = on; }
  bool sysTrayOnMinimize() const { return sysTrayOnMinimize_; }
  void setSysTrayOnMinimize(bool on) { sysTrayOnMinimize_ = on; }
  bool usePopupMenu() const { return usePopupMenu_; }
  void setUsePopupMenu(bool use);

  // The owner window is visible (not hidden to the notification area).
  bool programShowing() const { return programShowing_; }
  bool iconShown() const { return iconShown_; }

public slots:
  // Hides the owner to the notification area and shows the icon; where there is no
  // notification area, minimises the owner instead. Nothing while hidden. Also the way
  // to start hidden: call it in place of show().
  void hideProgram();
  // Shows the owner again, out of its minimised state, in front; removes the icon unless
  // it is always shown. Nothing while visible.
  void restoreProgram();
  // Lets pending events run once, then ends the application's event loop.
  void closeProgram();
  // While the program is hidden and the notification area has gone: shows the owner
  // minimised and drops the icon; nothing otherwise. The owner calls it on its own
  // periodic timer, so that a program hidden in the tray wakes for one timer only.
  void checkNotificationArea();

signals:
  // A close of the owner is being turned into hiding.
  void sysTrayOnCloseTriggered();
  // A minimise of the owner is being turned into hiding.
  void sysTrayOnMinimizeTriggered();

protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  bool ownerClose();
  void appMinimize();
  void showNotice(const QString& caption, bool offerBox, bool& showAgain);
  void sendIconData();
  void addIcon();
  void removeIcon();
  QIcon effectiveIcon() const;
  void updateContextMenu();
  void minimiseOwner();
  void closeFromDefaultMenu();

  QWidget* owner_;
  AvailabilityCheck trayAvailable_;
  AvailabilityCheck statusNotifierHost_;
  QSystemTrayIcon* trayIcon_;
  std::unique_ptr<PopupMenu> defaultMenu_;
  QPointer<PopupMenu> popupMenu_;
  QString hint_;
  QIcon icon_;
  MessageOptions messageOptions_;
  bool iconAlwaysShow_ = false;
  bool sysTrayOnClose_ = false;
  bool sysTrayOnMinimize_ = true;
  bool usePopupMenu_ = true;
  bool programShowing_ = true;
  bool iconShown_ = false;
  bool passingCloseThrough_ = false;
  bool clickRestores_ = false;
  bool minimisingOwner_ = false;
};

} // namespace zr
