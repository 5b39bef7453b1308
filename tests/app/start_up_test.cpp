// SPDX-License-Identifier: MIT

#include "app/app_icons.h"
#include "app/data_folder.h"
#include "app/regional_notation.h"
#include "app_fixture.h"
#include "core/regional_date_time.h"
#include "platform/help_viewer.h"
#include "tray/popup_menu.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QHeaderView>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QTest>
#include <QToolBar>
#include <QUrl>

namespace zr::test {
namespace {

using StartUpTest = AppFixture;

TEST_F(StartUpTest, MissingFileGivesTheBlankRowAndNoMessage) {
  start();
  EXPECT_EQ(model().rowCount(), 1);
  EXPECT_TRUE(list().isEmpty());
  EXPECT_EQ(window->reminderView()->selectedReminder(), nullptr);
  EXPECT_TRUE(prompts.errors.empty());
  EXPECT_EQ(window->dataFiles().dataFolder(), folder.path() + '/');
  EXPECT_FALSE(window->startsHidden());
}

TEST_F(StartUpTest, LoadComputesNextMomentsFromNowAndSorts) {
  writeReminders({makeReminder("Past once", ReminderType::Once, clockTime(8), at(2024, 7, 3)),
                  makeReminder("Eleven", ReminderType::Daily, clockTime(11)),
                  makeReminder("Ten", ReminderType::Daily, clockTime(10))});
  start();
  EXPECT_EQ(names(), (std::vector<std::string>{"Ten", "Eleven", "Past once"}));
  EXPECT_FALSE(list().reminderAt(2)->enabled); // its moment passed while the program was off
  EXPECT_TRUE(alerts.shown.empty());
  EXPECT_EQ(model().headerData(2, Qt::Horizontal, Qt::DisplayRole), "Next Scheduled");
  EXPECT_EQ(window->reminderView()->horizontalHeader()->sortIndicatorSection(), 2);
}

TEST_F(StartUpTest, ClientAreaHoldsMenuBarToolbarListAndStatusBar) {
  start();
  window->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
  EXPECT_EQ(window->size(), QSize(672, 311));
  EXPECT_EQ(window->menuBar()->geometry(), QRect(0, 0, 672, 24));
  const QToolBar* toolBar = window->findChild<QToolBar*>();
  ASSERT_NE(toolBar, nullptr);
  EXPECT_EQ(toolBar->geometry(), QRect(0, 24, 672, 26));
  EXPECT_EQ(window->centralWidget()->geometry(), QRect(0, 50, 672, 242));
  EXPECT_EQ(window->statusBar()->geometry(), QRect(0, 292, 672, 19));
}

// The tray popup looks like the menus of the menu bar: same font, same pale highlight.
TEST_F(StartUpTest, TrayPopupLooksLikeTheMenuBarMenus) {
  start();
  QMenu* trayMenu = window->findChild<PopupMenu*>();
  ASSERT_NE(trayMenu, nullptr);
  QMenu* fileMenu = window->menuBar()->actions().value(0)->menu();
  ASSERT_NE(fileMenu, nullptr);
  const auto highlight = [](QMenu* menu) {
    menu->popup(QPoint(0, 0));
    QAction* first = menu->actions().value(0);
    menu->setActiveAction(first);
    const QRect item = menu->actionGeometry(first);
    const QColor colour = menu->grab().toImage().pixelColor(item.right() - 4, item.center().y());
    menu->hide();
    return colour;
  };
  EXPECT_EQ(highlight(trayMenu), QColor(0xf7, 0xf6, 0xee));
  EXPECT_EQ(highlight(trayMenu), highlight(fileMenu));
  EXPECT_EQ(trayMenu->font(), fileMenu->font());
  EXPECT_EQ(trayMenu->actionGeometry(trayMenu->actions().value(0)).height(),
            fileMenu->actionGeometry(fileMenu->actions().value(0)).height());
}

// The icon shows in every window and in the notification area. An installed program
// takes it from the icon theme it installed, so it also has the theme's name.
TEST(ApplicationIconTest, AllSizesBuiltInOrFromTheInstalledTheme) {
  const QIcon builtIn = applicationIcon(QStringLiteral("/nonexistent/bin"));
  EXPECT_TRUE(builtIn.name().isEmpty());
  for (const int size : {16, 32, 48, 64, 256})
    EXPECT_EQ(builtIn.pixmap(size).size(), QSize(size, size)) << size;
  const auto pixels = [](const QImage& image) {
    return image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
  };
  EXPECT_EQ(pixels(builtIn.pixmap(32).toImage()), pixels(QImage(":/icons/zrdorvel-32.png")));

  QTemporaryDir prefix;
  const QString theme = prefix.filePath("share/icons/hicolor/");
  ASSERT_TRUE(QDir().mkpath(theme + "48x48/apps"));
  ASSERT_TRUE(QFile::copy(":/icons/zrdorvel-48.png", theme + "48x48/apps/zrdorvel.png"));
  ASSERT_TRUE(QDir().mkpath(theme + "scalable/apps"));
  QFile drawing(theme + "scalable/apps/zrdorvel.svg");
  ASSERT_TRUE(drawing.open(QIODevice::WriteOnly));
  drawing.write(R"(<svg xmlns="http://www.w3.org/2000/svg" width="16" height="16"/>)");
  drawing.close();
  ASSERT_TRUE(QDir().mkpath(prefix.filePath("bin")));
  // What a desktop provides and the offscreen platform does not: the hicolor theme.
  QFile index(theme + "index.theme");
  ASSERT_TRUE(index.open(QIODevice::WriteOnly));
  index.write("[Icon Theme]\nName=Hicolor\nDirectories=48x48/apps\n\n"
              "[48x48/apps]\nSize=48\nType=Threshold\n");
  index.close();
  const QStringList searchPaths = QIcon::themeSearchPaths();
  const QString themeName = QIcon::themeName();
  QIcon::setThemeName("hicolor");
  const QIcon installed = applicationIcon(prefix.filePath("bin"));
  EXPECT_EQ(installed.name(), QStringLiteral("zrdorvel"));
  EXPECT_EQ(pixels(installed.pixmap(48).toImage()), pixels(QImage(":/icons/zrdorvel-48.png")));
  QIcon::setThemeName(themeName);
  QIcon::setThemeSearchPaths(searchPaths);
}

TEST_F(StartUpTest, LeftoverUpdatesFolderIsDeleted) {
  ASSERT_TRUE(QDir().mkpath(path("Updates/sub")));
  QFile file(path("Updates/sub/setup.bin"));
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.close();
  file.setPermissions(QFileDevice::ReadOwner);
  start();
  EXPECT_FALSE(QFileInfo::exists(path("Updates")));
}

TEST_F(StartUpTest, StartupSwitchStartsHidden) {
  const struct {
    std::vector<std::string> arguments;
    bool hidden;
  } cases[] = {{{"-startup"}, true}, {{"/STARTUP"}, true},   {{"-foo", "-startup=1"}, true},
               {{"startup"}, false}, {{"--startup"}, false}, {{"-startups"}, false}};
  for (const auto& c : cases) {
    start(c.arguments);
    EXPECT_EQ(window->startsHidden(), c.hidden) << c.arguments.back();
  }
}

// A file that breaks off in the third record: the two read before stay, the
// error is shown, and the unreadable file is kept before anything can overwrite it.
TEST_F(StartUpTest, UnreadableFileIsReportedKeptAndWhatWasReadStays) {
  writeReminders({makeReminder("One", ReminderType::Daily, clockTime(10)),
                  makeReminder("Two", ReminderType::Daily, clockTime(11)),
                  makeReminder("Three", ReminderType::Daily, clockTime(12))});
  QFile file(path("Reminders.dat"));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  QByteArray content = file.readAll();
  file.close();
  const qsizetype third = content.indexOf("Three");
  ASSERT_GT(third, 0);
  content.truncate(third + 7); // the name and a line of the third record
  ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
  file.write(content);
  file.close();
  clock.set(at(2024, 7, 3, 9, 5, 7));

  start();
  ASSERT_EQ(prompts.errors.size(), 1u);
  const QString copy = path("Reminders.dat.unreadable-20240703-090507");
  const QStringList lines = prompts.errors[0].split('\n');
  ASSERT_EQ(lines.size(), 2);
  EXPECT_FALSE(lines[0].isEmpty());
  EXPECT_EQ(lines[1], "The unreadable file was kept as " + copy + ".");
  QFile kept(copy);
  ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
  EXPECT_EQ(kept.readAll(), content);
  // Read so far, not yet refreshed: the rows are blank until the first pass.
  EXPECT_EQ(names(), (std::vector<std::string>{"One", "Two"}));
  EXPECT_EQ(model().data(model().index(0, 0), Qt::DisplayRole), "");
  window->checkReminders();
  EXPECT_EQ(model().data(model().index(0, 0), Qt::DisplayRole), "One");
}

TEST_F(StartUpTest, CloseClearsTheListAndStopsChecking) {
  writeReminders({makeReminder("One", ReminderType::Daily, clockTime(10))});
  start();
  window->reminderClose(std::make_unique<Reminder>(*list().reminderAt(0)), 5);
  window->fileShutDown();
  EXPECT_TRUE(list().isEmpty());
  EXPECT_TRUE(window->snoozedReminders().empty());
  EXPECT_FALSE(window->checkTimer().isActive());
  EXPECT_EQ(savedList()->reminderCount(), 1); // nothing is saved at close
}

TEST(DataFolderTest, ProgramFolderWhenWritableElseTheUserFolder) {
  QTemporaryDir root;
  const QString program = root.path() + "/program/";
  const QString user = root.path() + "/user/data";
  ASSERT_TRUE(QDir().mkpath(program));
  EXPECT_EQ(chooseDataFolder(program, user), program);
  EXPECT_FALSE(QFileInfo::exists(user));
  // A folder the user cannot write to (even root cannot write to /proc/1), or one that is gone.
  EXPECT_EQ(chooseDataFolder("/proc/1/", user), user + '/');
  EXPECT_TRUE(QFileInfo(user).isDir());
  EXPECT_EQ(chooseDataFolder(root.path() + "/missing/", user), user + '/');
  // An installed program keeps its data per user even where it could write.
  ASSERT_TRUE(QDir().mkpath(root.path() + "/prefix/bin"));
  ASSERT_TRUE(QDir().mkpath(root.path() + "/prefix/share/zrdorvel"));
  EXPECT_EQ(chooseDataFolder(root.path() + "/prefix/bin/", user), user + '/');
}

TEST(RegionalNotationTest, FollowsTheLocale) {
  using Order = RegionalSettings::DateOrder;
  const struct {
    const char* locale;
    Order order;
    const char* dateSeparator;
    const char* timeSeparator;
  } cases[] = {{"en_US", Order::MonthDayYear, "/", ":"}, {"de_DE", Order::DayMonthYear, ".", ":"},
               {"en_GB", Order::DayMonthYear, "/", ":"}, {"ja_JP", Order::YearMonthDay, "/", ":"},
               {"fi_FI", Order::DayMonthYear, ".", "."}, {"hu_HU", Order::YearMonthDay, ".", ":"},
               {"ko_KR", Order::YearMonthDay, ".", ":"}};
  for (const auto& c : cases) {
    const QLocale locale(c.locale);
    const RegionalSettings settings = regionalSettingsOf(locale);
    SCOPED_TRACE(c.locale);
    EXPECT_EQ(settings.dateOrder, c.order);
    EXPECT_EQ(settings.dateSeparator, c.dateSeparator);
    EXPECT_EQ(settings.timeSeparator, c.timeSeparator);
    EXPECT_EQ(dateTimeSeparatorsOf(locale).date, c.dateSeparator);
  }
  const RegionalSettings us = regionalSettingsOf(QLocale("en_US"));
  EXPECT_EQ(us.amText, "AM");
  EXPECT_EQ(us.pmText, "PM");
}

// Files of the older format hold dates and times as the user's locale writes them.
TEST(RegionalNotationTest, ReadsDatesAndTimesAsEachLocaleWritesThem) {
  const QDate date(2024, 3, 15);
  for (const char* name : {"hu_HU", "ko_KR", "de_DE", "en_US", "ja_JP"}) {
    const QLocale locale(name);
    const RegionalSettings regional = regionalSettingsOf(locale);
    const QString dateText = locale.toString(date, QLocale::ShortFormat);
    SCOPED_TRACE(std::string(name) + " " + dateText.toStdString());
    EXPECT_EQ(parseRegionalDate(dateText.toStdString(), regional, 2024), encodeDate({2024, 3, 15}));

    const QString shortFormat = locale.timeFormat(QLocale::ShortFormat);
    const QString withSeconds =
        QString(shortFormat)
            .replace("mm", "mm" + QString::fromStdString(regional.timeSeparator) + "ss");
    for (const QTime time : {QTime(21, 5, 7), QTime(0, 30, 0), QTime(12, 0, 0)}) {
      for (const QString& format : {shortFormat, withSeconds}) {
        const QString timeText = locale.toString(time, format);
        const int seconds = format == withSeconds ? time.second() : 0;
        EXPECT_EQ(parseRegionalTime(timeText.toStdString(), regional),
                  encodeTime({time.hour(), time.minute(), seconds, 0}))
            << timeText.toStdString();
      }
    }
  }
}

// Catches the URL the help command hands to the desktop.
class UrlCatcher : public QObject {
  Q_OBJECT
public:
  QList<QUrl> urls;
public slots:
  void open(const QUrl& url) { urls.append(url); }
};

TEST_F(StartUpTest, HelpOpensThePageAtItsIntroduction) {
  start();
  UrlCatcher catcher;
  QDesktopServices::setUrlHandler("file", &catcher, "open");
  window->helpHelp();
  EXPECT_EQ(prompts.errors.size(), 1u); // no page beside this program yet
  EXPECT_TRUE(catcher.urls.isEmpty());

  QFile page(window->helpFile());
  ASSERT_TRUE(page.open(QIODevice::WriteOnly));
  page.write("<h2 id=\"Introduction\">Introduction</h2>");
  page.close();
  window->helpHelp();
  QDesktopServices::unsetUrlHandler("file");
  ASSERT_EQ(catcher.urls.size(), 1);
  EXPECT_EQ(catcher.urls[0].toLocalFile(), window->helpFile());
  EXPECT_EQ(catcher.urls[0].fragment(), "Introduction");
  EXPECT_EQ(prompts.errors.size(), 1u);
}

} // namespace
} // namespace zr::test

#include "start_up_test.moc"
