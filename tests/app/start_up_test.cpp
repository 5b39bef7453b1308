#include "app/data_folder.h"
#include "app/regional_notation.h"
#include "app_fixture.h"
#include "platform/help_viewer.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QHeaderView>
#include <QTest>
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
  EXPECT_EQ(window->dataFolder(), folder.path() + '/');
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
  } cases[] = {{"en_US", Order::MonthDayYear, "/", ":"},
               {"de_DE", Order::DayMonthYear, ".", ":"},
               {"en_GB", Order::DayMonthYear, "/", ":"},
               {"ja_JP", Order::YearMonthDay, "/", ":"},
               {"fi_FI", Order::DayMonthYear, ".", "."}};
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
