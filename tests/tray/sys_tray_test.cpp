// SPDX-License-Identifier: MIT

#include "support/qt_test_support.h"
#include "support/warning_catcher.h"
#include "tray/popup_menu.h"
#include "tray/sys_tray.h"
#include "tray/sys_tray_message.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QSystemTrayIcon>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace zr {
namespace {

class OwnerWindow : public QWidget {
public:
  int closeEvents = 0;

protected:
  void closeEvent(QCloseEvent* event) override {
    ++closeEvents;
    QWidget::closeEvent(event);
  }
};

// Answers every tray notice that comes up while it lives, the way a user would, and
// records what it saw.
class NoticeAnswerer {
public:
  struct Seen {
    QString caption;
    bool boxVisible;
  };
  bool tick = false;
  bool useCloseBox = false;
  std::vector<Seen> seen;

  NoticeAnswerer() {
    QObject::connect(&timer_, &QTimer::timeout, [this] {
      auto* notice = qobject_cast<SysTrayMessage*>(QApplication::activeModalWidget());
      if (!notice)
        return;
      auto* box = notice->findChild<QCheckBox*>();
      seen.push_back({notice->windowTitle(), box->isVisible()});
      box->setChecked(tick);
      if (useCloseBox)
        notice->close();
      else
        QTest::mouseClick(notice->findChild<QPushButton*>(), Qt::LeftButton);
    });
    timer_.start(5);
  }

private:
  QTimer timer_;
};

class SysTrayTest : public ::testing::Test {
protected:
  SysTrayTest()
      : tray(
            &owner, [this] { return trayAvailable; }, [this] { return statusNotifier; }) {
    tray.setHint(QStringLiteral("Dorvel"));
    tray.setSysTrayOnClose(true);
    tray.messageOptions().msgOnCloseDNSA = true;
    tray.messageOptions().msgOnMinimizeDNSA = true;
    owner.show();
  }

  QSystemTrayIcon* icon() { return tray.findChild<QSystemTrayIcon*>(); }
  void settle() {
    for (int i = 0; i < 5; ++i)
      QCoreApplication::processEvents();
  }

  bool trayAvailable = true;
  bool statusNotifier = false;
  OwnerWindow owner;
  SysTray tray;
};

TEST_F(SysTrayTest, CloseHidesToTheTrayWithTheCloseNoticeInsteadOfClosing) {
  NoticeAnswerer answerer;
  QSignalSpy turned(&tray, &SysTray::sysTrayOnCloseTriggered);

  EXPECT_FALSE(owner.close());

  EXPECT_EQ(owner.closeEvents, 0);
  EXPECT_FALSE(owner.isVisible());
  EXPECT_FALSE(tray.programShowing());
  EXPECT_TRUE(tray.iconShown());
  EXPECT_TRUE(icon()->isVisible());
  EXPECT_EQ(icon()->toolTip(), QStringLiteral("Dorvel"));
  EXPECT_FALSE(icon()->icon().isNull());
  EXPECT_EQ(turned.count(), 1);
  ASSERT_EQ(answerer.seen.size(), 1u);
  EXPECT_EQ(answerer.seen[0].caption, QStringLiteral("Close To System Tray"));
  EXPECT_TRUE(answerer.seen[0].boxVisible);
  EXPECT_TRUE(tray.messageOptions().msgOnClose);
}

TEST_F(SysTrayTest, TheBoxSwitchesTheNoticeOffHoweverTheNoticeIsClosed) {
  struct Case {
    bool offerBox, tick, useCloseBox, expectedMsgOnClose;
  };
  const Case cases[] = {
      {true, true, false, false},
      {true, true, true, false},
      {true, false, false, true},
      {false, true, false, true}, // a hidden box is never ticked
  };
  for (const auto& c : cases) {
    tray.messageOptions().msgOnClose = true;
    tray.messageOptions().msgOnCloseDNSA = c.offerBox;
    NoticeAnswerer answerer;
    answerer.tick = c.tick;
    answerer.useCloseBox = c.useCloseBox;
    owner.close();
    ASSERT_EQ(answerer.seen.size(), 1u);
    EXPECT_EQ(answerer.seen[0].boxVisible, c.offerBox);
    EXPECT_EQ(tray.messageOptions().msgOnClose, c.expectedMsgOnClose)
        << "box " << c.offerBox << " tick " << c.tick << " close box " << c.useCloseBox;
    tray.restoreProgram();
  }
}

TEST_F(SysTrayTest, SwitchedOffCloseNoticeLeavesTheMinimiseNoticeOn) {
  tray.messageOptions().msgOnClose = false;
  NoticeAnswerer answerer;

  owner.close();
  EXPECT_FALSE(owner.isVisible());
  EXPECT_TRUE(answerer.seen.empty());

  tray.restoreProgram();
  QSignalSpy turned(&tray, &SysTray::sysTrayOnMinimizeTriggered);
  owner.showMinimized();
  settle();

  EXPECT_FALSE(owner.isVisible());
  EXPECT_FALSE(tray.programShowing());
  EXPECT_EQ(turned.count(), 1);
  ASSERT_EQ(answerer.seen.size(), 1u);
  EXPECT_EQ(answerer.seen[0].caption, QStringLiteral("Minimize To System Tray"));

  tray.restoreProgram();
  EXPECT_TRUE(owner.isVisible());
  EXPECT_FALSE(owner.isMinimized());
}

TEST_F(SysTrayTest, HiddenProgramIsNotHiddenTwiceAndRestoresFromTheIcon) {
  NoticeAnswerer answerer;
  owner.close();
  tray.hideProgram();
  EXPECT_TRUE(owner.close()); // while hidden a close is not taken over
  EXPECT_EQ(owner.closeEvents, 1);
  EXPECT_EQ(answerer.seen.size(), 1u);
  EXPECT_EQ(tray.findChildren<QSystemTrayIcon*>().size(), 1);

  emit icon()->activated(QSystemTrayIcon::DoubleClick);
  EXPECT_TRUE(owner.isVisible());
  EXPECT_TRUE(tray.programShowing());
  EXPECT_FALSE(tray.iconShown());
  EXPECT_FALSE(icon()->isVisible());

  tray.restoreProgram();
  EXPECT_TRUE(owner.isVisible());
  EXPECT_FALSE(icon()->isVisible());
}

// An XEmbed tray reports a double-click as Trigger then DoubleClick, so a single click
// (Trigger alone) must do nothing there; a StatusNotifier host reports every click as
// Trigger and never DoubleClick. The kind of host is the one found when the icon shows.
TEST_F(SysTrayTest, WhichClickRestoresDependsOnTheHostFoundWhenTheIconShows) {
  using Reason = QSystemTrayIcon::ActivationReason;
  const struct {
    bool statusNotifier;
    Reason reason;
    bool restores;
  } cases[] = {
      {false, QSystemTrayIcon::Trigger, false}, {false, QSystemTrayIcon::MiddleClick, false},
      {false, QSystemTrayIcon::Context, false}, {false, QSystemTrayIcon::DoubleClick, true},
      {true, QSystemTrayIcon::Trigger, true},   {true, QSystemTrayIcon::MiddleClick, false},
      {true, QSystemTrayIcon::Context, false},  {true, QSystemTrayIcon::DoubleClick, true},
  };
  tray.messageOptions().msgOnClose = false;
  for (const auto& c : cases) {
    statusNotifier = c.statusNotifier;
    owner.close();
    statusNotifier = !c.statusNotifier; // asked when the icon shows, not at the click
    emit icon()->activated(c.reason);
    EXPECT_EQ(owner.isVisible(), c.restores)
        << "StatusNotifier " << c.statusNotifier << ", reason " << c.reason;
    tray.restoreProgram();
  }
}

TEST_F(SysTrayTest, CloseWithCloseToTrayOffReallyCloses) {
  NoticeAnswerer answerer;
  tray.setSysTrayOnClose(false);
  EXPECT_TRUE(owner.close());
  EXPECT_EQ(owner.closeEvents, 1);
  EXPECT_FALSE(owner.isVisible());
  EXPECT_FALSE(tray.iconShown());
  EXPECT_TRUE(answerer.seen.empty());
}

TEST_F(SysTrayTest, WithoutNotificationAreaCloseAndMinimiseMinimise) {
  NoticeAnswerer answerer;
  test::WarningCatcher warnings;
  trayAvailable = false;

  EXPECT_FALSE(owner.close());
  EXPECT_EQ(warnings.take("zrdorvel.tray").size(), 1);
  EXPECT_EQ(owner.closeEvents, 0);
  EXPECT_TRUE(owner.isVisible());
  EXPECT_TRUE(owner.isMinimized());
  EXPECT_TRUE(tray.programShowing());
  EXPECT_FALSE(tray.iconShown());
  settle();
  EXPECT_TRUE(owner.isVisible());
  EXPECT_TRUE(answerer.seen.empty());

  // A notification area that appears later is used from then on.
  owner.showNormal();
  trayAvailable = true;
  owner.close();
  EXPECT_FALSE(owner.isVisible());
  EXPECT_TRUE(tray.iconShown());
  EXPECT_EQ(answerer.seen.size(), 1u);
}

TEST(SysTrayStartTest, StartingHiddenShowsTheIconOrAMinimisedWindow) {
  for (const bool available : {true, false}) {
    QWidget owner;
    SysTray tray(&owner, [available] { return available; });
    tray.hideProgram();
    QCoreApplication::processEvents();
    EXPECT_EQ(owner.isVisible(), !available);
    EXPECT_EQ(owner.isMinimized(), !available);
    EXPECT_EQ(tray.iconShown(), available);
    tray.restoreProgram();
    EXPECT_TRUE(owner.isVisible());
  }
}

TEST_F(SysTrayTest, IconFollowsItsSettingsInPlace) {
  tray.setIconAlwaysShow(true);
  EXPECT_TRUE(icon()->isVisible());
  tray.hideProgram();
  tray.restoreProgram();
  EXPECT_TRUE(icon()->isVisible());

  const QString hint63(63, QChar('h'));
  tray.setHint(hint63);
  EXPECT_EQ(icon()->toolTip(), hint63);
  tray.setHint(hint63 + QStringLiteral("xyz"));
  EXPECT_EQ(icon()->toolTip(), hint63);

  QPixmap red(16, 16);
  red.fill(Qt::red);
  tray.setIcon(QIcon(red));
  EXPECT_EQ(icon()->icon().pixmap(16, 16).toImage().pixelColor(8, 8), QColor(Qt::red));

  tray.setIconAlwaysShow(false);
  EXPECT_FALSE(icon()->isVisible());
  EXPECT_FALSE(tray.iconShown());
}

// The notification area opens the menu itself: an XEmbed tray on a right-click at the
// cursor, a StatusNotifier host from the menu exported over D-Bus.
TEST_F(SysTrayTest, TheNotificationAreaGetsTheAssignedMenuOrTheBuiltInOne) {
  auto captions = [this] {
    QStringList texts;
    if (QMenu* menu = icon()->contextMenu())
      for (QAction* action : menu->actions())
        texts << (action->isSeparator() ? QStringLiteral("-") : action->text());
    return texts;
  };
  EXPECT_EQ(captions(), (QStringList{QStringLiteral("&Restore"), QStringLiteral("&Close")}));

  auto menu = std::make_unique<PopupMenu>();
  QAction show(QStringLiteral("Show Program"));
  QAction shutDown(QStringLiteral("Shut Down"));
  menu->addActionItem(&show);
  menu->addActionItem()->setText(QStringLiteral("-"));
  menu->addActionItem(&shutDown);
  tray.setPopupMenu(menu.get());
  EXPECT_EQ(captions(), (QStringList{QStringLiteral("Show Program"), QStringLiteral("-"),
                                     QStringLiteral("Shut Down")}));

  tray.setUsePopupMenu(false);
  EXPECT_EQ(icon()->contextMenu(), nullptr);

  tray.setUsePopupMenu(true);
  menu.reset();
  EXPECT_EQ(tray.popupMenu(), nullptr);
  EXPECT_EQ(captions().size(), 2);
}

TEST_F(SysTrayTest, BuiltInRestoreAndCloseItems) {
  NoticeAnswerer answerer;
  owner.close();
  QMenu* builtIn = icon()->contextMenu();
  ASSERT_NE(builtIn, nullptr);

  builtIn->actions()[0]->trigger();
  EXPECT_TRUE(owner.isVisible());

  // "&Close" runs the owner's own close even with closing to the tray on; the end of the
  // event loop that follows can only be seen with QApplication::exec() running.
  builtIn->actions()[1]->trigger();
  EXPECT_EQ(owner.closeEvents, 1);
  EXPECT_FALSE(owner.isVisible());
}

// A panel that crashes or restarts takes the notification area with it: the hidden
// program comes back as a minimised window, and does not hide again when the area
// returns, only at the next close.
TEST_F(SysTrayTest, LostNotificationAreaLeavesTheWindowMinimisedUntilTheNextClose) {
  tray.messageOptions().msgOnClose = false;
  owner.close();
  tray.checkNotificationArea();
  EXPECT_FALSE(owner.isVisible()); // the area is still there

  trayAvailable = false;
  tray.checkNotificationArea();
  EXPECT_TRUE(owner.isVisible());
  EXPECT_TRUE(owner.isMinimized());
  EXPECT_TRUE(tray.programShowing());
  EXPECT_FALSE(tray.iconShown());
  EXPECT_FALSE(icon()->isVisible());

  trayAvailable = true;
  settle();
  tray.checkNotificationArea();
  EXPECT_TRUE(owner.isVisible());
  EXPECT_TRUE(owner.isMinimized());

  owner.showNormal();
  owner.close();
  EXPECT_FALSE(owner.isVisible());
  EXPECT_TRUE(tray.iconShown());
  EXPECT_TRUE(icon()->isVisible());
  EXPECT_EQ(owner.closeEvents, 0);
}

TEST(SysTrayMessageTest, ShowsTheProgramTitleAndTheExactMessage) {
  QGuiApplication::setApplicationDisplayName(QStringLiteral("ZR Dorvel"));
  SysTrayMessage notice;
  notice.show();
  QStringList texts;
  for (QLabel* label : notice.findChildren<QLabel*>())
    texts << label->text();
  EXPECT_TRUE(texts.contains(QStringLiteral("ZR Dorvel")));
  EXPECT_TRUE(texts.contains(
      QStringLiteral("This program has been reduced to the system tray (usually in the lower "
                     "right corner of the desktop).  To restore the application, double-click "
                     "the icon in the system tray, or right-click the icon for a pop-up menu.")));
  EXPECT_TRUE(notice.windowFlags() & Qt::WindowStaysOnTopHint);
  EXPECT_EQ(notice.size(), QSize(267, 147));
  EXPECT_FALSE(notice.doNotShowAgain());
}

// A StatusNotifier host restores on a single click and reports no double-click, so
// there the notice names the click and the menu entry instead.
TEST(SysTrayMessageTest, NamesTheSingleClickOnAStatusNotifierHost) {
  SysTrayMessage notice;
  notice.setClickRestores(true);
  QStringList texts;
  for (QLabel* label : notice.findChildren<QLabel*>())
    texts << label->text();
  EXPECT_TRUE(texts.contains(
      QStringLiteral("This program has been reduced to the system tray (usually in the lower "
                     "right corner of the desktop).  To restore the application, click the icon "
                     "in the system tray, or choose Show Program from its pop-up menu.")))
      << texts.join('|').toStdString();
}

TEST(PopupMenuTest, DashItemIsASeparatorAndItemsRunTheirActions) {
  PopupMenu menu;
  QAction enable(QStringLiteral("Enable Reminders"));
  enable.setCheckable(true);
  EXPECT_EQ(menu.addActionItem(&enable), &enable);
  QAction* blank = menu.addActionItem();
  ASSERT_NE(blank, nullptr);
  EXPECT_FALSE(blank->isSeparator());
  blank->setText(QStringLiteral("-"));
  EXPECT_TRUE(blank->isSeparator());
  QAction dash(QStringLiteral("-"));
  menu.addActionItem(&dash);
  EXPECT_TRUE(dash.isSeparator());

  menu.popup(QPoint(100, 100));
  EXPECT_TRUE(menu.isVisible());

  QSignalSpy triggered(&enable, &QAction::triggered);
  QTest::mouseClick(&menu, Qt::LeftButton, {}, menu.actionGeometry(&enable).center());
  EXPECT_EQ(triggered.count(), 1);
  EXPECT_TRUE(enable.isChecked());
}

} // namespace
} // namespace zr
