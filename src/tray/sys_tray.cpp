// SPDX-License-Identifier: MIT

#include "tray/sys_tray.h"

#include "tray/logging.h"
#include "tray/popup_menu.h"
#include "tray/status_notifier_host.h"
#include "tray/sys_tray_message.h"

#include <QApplication>
#include <QEvent>
#include <QStyle>
#include <QSystemTrayIcon>
#include <QWidget>
#include <QWindowStateChangeEvent>

namespace zr {
namespace {

constexpr int kMaxHintLength = 63;

} // namespace

SysTray::SysTray(QWidget* owner, AvailabilityCheck trayAvailable,
                 AvailabilityCheck statusNotifierHost)
    : QObject(owner), owner_(owner), trayAvailable_(std::move(trayAvailable)),
      statusNotifierHost_(std::move(statusNotifierHost)), trayIcon_(new QSystemTrayIcon(this)),
      defaultMenu_(std::make_unique<PopupMenu>()) {
  defaultMenu_->addAction(QStringLiteral("&Restore"), this, &SysTray::restoreProgram);
  defaultMenu_->addAction(QStringLiteral("&Close"), this, &SysTray::closeFromDefaultMenu);
  updateContextMenu();
  // An XEmbed tray reports a double-click as Trigger, then DoubleClick; a StatusNotifier
  // host reports a click (its Activate) as Trigger and never DoubleClick.
  connect(trayIcon_, &QSystemTrayIcon::activated, this,
          [this](QSystemTrayIcon::ActivationReason reason) {
            if (reason == QSystemTrayIcon::DoubleClick ||
                (reason == QSystemTrayIcon::Trigger && clickRestores_))
              restoreProgram();
          });
  owner_->installEventFilter(this);
}

SysTray::~SysTray() = default;

SysTray::AvailabilityCheck SysTray::defaultAvailabilityCheck() {
  return [] { return QSystemTrayIcon::isSystemTrayAvailable(); };
}

SysTray::AvailabilityCheck SysTray::defaultStatusNotifierCheck() {
  return statusNotifierHostRegistered;
}

void SysTray::setHint(const QString& hint) {
  hint_ = hint;
  if (iconShown_)
    sendIconData();
}

void SysTray::setIcon(const QIcon& icon) {
  icon_ = icon;
  if (iconShown_)
    sendIconData();
}

void SysTray::setPopupMenu(PopupMenu* menu) {
  if (popupMenu_)
    disconnect(popupMenu_, &QObject::destroyed, this, nullptr);
  popupMenu_ = menu;
  if (menu)
    connect(menu, &QObject::destroyed, this, [this] {
      popupMenu_ = nullptr;
      updateContextMenu();
    });
  updateContextMenu();
}

void SysTray::setUsePopupMenu(bool use) {
  usePopupMenu_ = use;
  updateContextMenu();
}

void SysTray::setIconAlwaysShow(bool alwaysShow) {
  if (alwaysShow && !iconShown_)
    addIcon();
  else if (!alwaysShow && iconShown_ && programShowing_)
    removeIcon();
  iconAlwaysShow_ = alwaysShow;
}

void SysTray::hideProgram() {
  if (!programShowing_)
    return;
  if (!trayAvailable_()) {
    minimiseOwner();
    return;
  }
  owner_->hide();
  programShowing_ = false;
  if (!iconShown_)
    addIcon();
}

void SysTray::restoreProgram() {
  if (programShowing_)
    return;
  owner_->setWindowState(owner_->windowState() & ~Qt::WindowMinimized);
  owner_->show();
  programShowing_ = true;
  owner_->raise();
  owner_->activateWindow();
  if (iconShown_ && !iconAlwaysShow_)
    removeIcon();
}

void SysTray::closeProgram() {
  QCoreApplication::processEvents();
  QCoreApplication::quit();
}

void SysTray::checkNotificationArea() {
  if (programShowing_ || trayAvailable_())
    return;
  programShowing_ = true;
  // Shown again at the next hiding, so it registers with whatever host runs by then.
  if (iconShown_ && !iconAlwaysShow_)
    removeIcon();
  minimiseOwner();
}

bool SysTray::eventFilter(QObject* watched, QEvent* event) {
  if (watched == owner_) {
    if (event->type() == QEvent::Close && !passingCloseThrough_ && ownerClose()) {
      event->ignore();
      return true;
    }
    if (event->type() == QEvent::WindowStateChange && owner_->isMinimized() && !minimisingOwner_ &&
        !(static_cast<QWindowStateChangeEvent*>(event)->oldState() & Qt::WindowMinimized)) {
      // Hide once the window system has finished minimising, not in the middle of it.
      QMetaObject::invokeMethod(this, &SysTray::appMinimize, Qt::QueuedConnection);
    }
  }
  return QObject::eventFilter(watched, event);
}

// Turns a close of the owner into hiding; false lets the close through to the owner.
bool SysTray::ownerClose() {
  if (!sysTrayOnClose_ || !programShowing_)
    return false;
  if (!trayAvailable_()) {
    minimiseOwner();
    return true;
  }
  emit sysTrayOnCloseTriggered();
  hideProgram();
  if (messageOptions_.msgOnClose)
    showNotice(QStringLiteral("Close To System Tray"), messageOptions_.msgOnCloseDNSA,
               messageOptions_.msgOnClose);
  return true;
}

void SysTray::appMinimize() {
  if (!sysTrayOnMinimize_ || !programShowing_ || !owner_->isMinimized() || !trayAvailable_())
    return;
  emit sysTrayOnMinimizeTriggered();
  hideProgram();
  if (messageOptions_.msgOnMinimize)
    showNotice(QStringLiteral("Minimize To System Tray"), messageOptions_.msgOnMinimizeDNSA,
               messageOptions_.msgOnMinimize);
}

void SysTray::showNotice(const QString& caption, bool offerBox, bool& showAgain) {
  SysTrayMessage notice;
  notice.setWindowTitle(caption);
  notice.setDoNotShowAgainVisible(offerBox);
  notice.setClickRestores(clickRestores_);
  notice.exec();
  showAgain = !notice.doNotShowAgain();
}

QIcon SysTray::effectiveIcon() const {
  if (!icon_.isNull())
    return icon_;
  if (!QGuiApplication::windowIcon().isNull())
    return QGuiApplication::windowIcon();
  // Without any icon the notification area would show nothing to click on.
  return owner_->style()->standardIcon(QStyle::SP_ComputerIcon);
}

void SysTray::sendIconData() {
  QString tip = hint_.left(kMaxHintLength);
  if (tip.size() == kMaxHintLength && tip.back().isHighSurrogate())
    tip.chop(1);
  trayIcon_->setIcon(effectiveIcon());
  trayIcon_->setToolTip(tip);
}

void SysTray::addIcon() {
  clickRestores_ = statusNotifierHost_();
  sendIconData();
  trayIcon_->show();
  iconShown_ = true;
}

void SysTray::removeIcon() {
  trayIcon_->hide();
  iconShown_ = false;
}

// An XEmbed tray opens this menu itself on a right-click at the cursor; a StatusNotifier
// host gets it over D-Bus.
void SysTray::updateContextMenu() {
  QMenu* menu = nullptr;
  if (usePopupMenu_)
    menu = popupMenu_ ? popupMenu_.data() : defaultMenu_.get();
  trayIcon_->setContextMenu(menu);
}

// A minimise the component makes itself is not one to hide to the tray.
void SysTray::minimiseOwner() {
  qCWarning(lcTray, "There is no notification area to hide in; minimising the window instead");
  minimisingOwner_ = true;
  owner_->showMinimized();
  minimisingOwner_ = false;
}

// "&Close" of the built-in menu: the owner's own close sequence, then the end.
void SysTray::closeFromDefaultMenu() {
  passingCloseThrough_ = true;
  owner_->close();
  passingCloseThrough_ = false;
  closeProgram();
}

} // namespace zr
