// SPDX-License-Identifier: MIT

#include "core/date_time.h"
#include "core/reminder.h"
#include "editor/color_swatch.h"
#include "editor/properties_dialog.h"
#include "support/qt_test_support.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QColorDialog>
#include <QComboBox>
#include <QDateEdit>
#include <QFile>
#include <QFileDialog>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimeEdit>
#include <QTimer>
#include <algorithm>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

namespace zr {
namespace {

const DateTime kToday = encodeDate({2024, 5, 17});
const QDate kInitialOnceDate(2003, 9, 20);

DaySet days(std::initializer_list<int> members) {
  DaySet set;
  for (int member : members)
    set.set(static_cast<std::size_t>(member));
  return set;
}

DaySet ticks(const QListWidget& list) {
  DaySet set;
  for (int i = 0; i < list.count(); ++i)
    set.set(static_cast<std::size_t>(i) + 1, list.item(i)->checkState() == Qt::Checked);
  return set;
}

void tick(QListWidget& list, int item, bool ticked = true) {
  list.item(item)->setCheckState(ticked ? Qt::Checked : Qt::Unchecked);
}

// A reminder whose fields all differ from the defaults, with data for every kind.
Reminder filledReminder(ReminderType type) {
  Reminder reminder(encodeDate({2024, 2, 29}));
  reminder.name = "Team meeting";
  reminder.text = {"first", "", "third", ""};
  reminder.enabled = false;
  reminder.reminderType = type;
  reminder.nextScheduled = 45000.5;
  reminder.lastRun = 44999.25;
  reminder.color = 0x00336699;
  reminder.audioFile = "/usr/share/sounds/bell.wav";
  reminder.time = encodeTime({9, 15});
  reminder.daysOfWeek = days({2, 4});
  reminder.daysOfMonth = days({15, 32});
  reminder.yearlyMonth = 12;
  reminder.yearlyDay = 25;
  return reminder;
}

// Runs `answer` on the next modal dialog of type D once it is open; anything
// else that opens modally is rejected so that no test can hang.
template <class D> void answerNextModal(std::function<void(D&)> answer) {
  QTimer::singleShot(0, [answer] {
    QWidget* modal = QApplication::activeModalWidget();
    auto* dialog = qobject_cast<D*>(modal);
    if (dialog == nullptr) {
      ADD_FAILURE() << "expected modal dialog did not open";
      if (auto* other = qobject_cast<QDialog*>(modal))
        other->reject();
      return;
    }
    answer(*dialog);
  });
}

class PropertiesDialogTest : public ::testing::Test {
public:
  void open(Reminder& reminder) {
    dialog_ = std::make_unique<PropertiesDialog>(reminder);
    dialog_->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog_.get()));
    name_ = find<QLineEdit>("nameEdit");
    memo_ = find<QPlainTextEdit>("textMemo");
    enabled_ = find<QCheckBox>("enabledCheck");
    swatch_ = find<ColorSwatch>("colorSwatch");
    audioFile_ = find<QLineEdit>("audioFileEdit");
    browse_ = find<QPushButton>("browseButton");
    type_ = find<QComboBox>("typeCombo");
    time_ = find<QTimeEdit>("timeEdit");
    pages_ = find<QStackedWidget>("kindPages");
    onceDate_ = find<QDateEdit>("onceDateEdit");
    weekly_ = find<QListWidget>("weeklyDaysList");
    monthly_ = find<QListWidget>("monthlyDaysList");
    yearlyMonth_ = find<QComboBox>("yearlyMonthCombo");
    yearlyDay_ = find<QComboBox>("yearlyDayCombo");
    ok_ = find<QPushButton>("okButton");
    cancel_ = find<QPushButton>("cancelButton");
    ASSERT_FALSE(::testing::Test::HasFailure());
  }

  void pressOk() { QTest::mouseClick(ok_, Qt::LeftButton); }

  template <class W> W* find(const char* name) {
    auto* widget = dialog_->findChild<W*>(name);
    EXPECT_NE(widget, nullptr) << name;
    return widget;
  }

  std::unique_ptr<PropertiesDialog> dialog_;
  QLineEdit* name_ = nullptr;
  QPlainTextEdit* memo_ = nullptr;
  QCheckBox* enabled_ = nullptr;
  ColorSwatch* swatch_ = nullptr;
  QLineEdit* audioFile_ = nullptr;
  QPushButton* browse_ = nullptr;
  QComboBox* type_ = nullptr;
  QTimeEdit* time_ = nullptr;
  QStackedWidget* pages_ = nullptr;
  QDateEdit* onceDate_ = nullptr;
  QListWidget* weekly_ = nullptr;
  QListWidget* monthly_ = nullptr;
  QComboBox* yearlyMonth_ = nullptr;
  QComboBox* yearlyDay_ = nullptr;
  QPushButton* ok_ = nullptr;
  QPushButton* cancel_ = nullptr;
};

TEST_F(PropertiesDialogTest, NewReminderShowsItsDefaultsAndOkKeepsThem) {
  Reminder reminder(kToday);
  const Reminder before = reminder;
  ASSERT_NO_FATAL_FAILURE(open(reminder));

  EXPECT_EQ(dialog_->windowTitle(), "Properties");
  EXPECT_EQ(name_->text(), "New Reminder");
  EXPECT_TRUE(memo_->toPlainText().isEmpty());
  EXPECT_TRUE(enabled_->isChecked());
  EXPECT_EQ(type_->currentText(), "Once");
  EXPECT_EQ(pages_->currentIndex(), 0);
  EXPECT_EQ(onceDate_->date(), QDate(2024, 5, 17));
  EXPECT_EQ(time_->time(), QTime(0, 0));
  EXPECT_EQ(swatch_->color(), kWhite);
  EXPECT_TRUE(audioFile_->text().isEmpty());

  pressOk();
  EXPECT_EQ(dialog_->result(), QDialog::Accepted);
  EXPECT_EQ(reminder, before);
}

class ShownKindTest : public PropertiesDialogTest,
                      public ::testing::WithParamInterface<ReminderType> {};

TEST_P(ShownKindTest, FillsOnlyItsOwnPageAndOkStoresTheReminderUnchanged) {
  const ReminderType type = GetParam();
  Reminder reminder = filledReminder(type);
  const Reminder before = reminder;
  ASSERT_NO_FATAL_FAILURE(open(reminder));

  EXPECT_EQ(name_->text(), "Team meeting");
  EXPECT_FALSE(enabled_->isChecked());
  EXPECT_EQ(time_->time(), QTime(9, 15));
  EXPECT_EQ(swatch_->color(), 0x00336699u);
  EXPECT_EQ(audioFile_->text(), "/usr/share/sounds/bell.wav");
  EXPECT_EQ(type_->currentIndex(), static_cast<int>(type));
  EXPECT_EQ(pages_->currentIndex(), static_cast<int>(type));

  EXPECT_EQ(onceDate_->date(), type == ReminderType::Once ? QDate(2024, 2, 29) : kInitialOnceDate);
  EXPECT_EQ(ticks(*weekly_), type == ReminderType::Weekly ? days({2, 4}) : DaySet());
  EXPECT_EQ(ticks(*monthly_), type == ReminderType::Monthly ? days({15, 32}) : DaySet());
  const bool yearly = type == ReminderType::Yearly;
  EXPECT_EQ(yearlyMonth_->currentText(), yearly ? "December" : "");
  EXPECT_EQ(yearlyDay_->currentText(), yearly ? "25" : "");

  pressOk();
  EXPECT_EQ(reminder, before);
}

INSTANTIATE_TEST_SUITE_P(EveryKind, ShownKindTest,
                         ::testing::Values(ReminderType::Once, ReminderType::Daily,
                                           ReminderType::Weekly, ReminderType::Monthly,
                                           ReminderType::Yearly),
                         [](const auto& info) {
                           return std::string(reminderTypeName(info.param));
                         });

struct KindChange {
  const char* name;
  ReminderType kind;
  std::function<void(PropertiesDialogTest&)> onPage;
  std::function<void(Reminder&)> expectedChange;
};

class KindChangeTest : public PropertiesDialogTest,
                       public ::testing::WithParamInterface<KindChange> {};

// A daily reminder switched to another kind stores that kind's page as it
// stands and keeps every other kind's fields.
TEST_P(KindChangeTest, OkStoresTheChosenKindsPageOnly) {
  const KindChange& change = GetParam();
  Reminder reminder = filledReminder(ReminderType::Daily);
  Reminder expected = reminder;
  expected.reminderType = change.kind;
  change.expectedChange(expected);
  ASSERT_NO_FATAL_FAILURE(open(reminder));

  type_->setCurrentIndex(static_cast<int>(change.kind));
  EXPECT_EQ(pages_->currentIndex(), static_cast<int>(change.kind));
  change.onPage(*this);
  pressOk();
  EXPECT_EQ(reminder, expected);
}

const KindChange kKindChanges[] = {
    {"OnceWithTheDateUntouched", ReminderType::Once, [](auto&) {},
     [](Reminder& r) {
       r.date = encodeDate({2003, 9, 20});
     }},
    {"OnceOnAChosenDate", ReminderType::Once,
     [](auto& t) { t.onceDate_->setDate(QDate(2030, 1, 31)); },
     [](Reminder& r) {
       r.date = encodeDate({2030, 1, 31});
     }},
    {"WeeklyOnMondayAndSaturday", ReminderType::Weekly,
     [](auto& t) {
       tick(*t.weekly_, 1);
       tick(*t.weekly_, 6);
     },
     [](Reminder& r) {
       r.daysOfWeek = days({2, 7});
     }},
    {"WeeklyWithNothingTicked", ReminderType::Weekly, [](auto&) {},
     [](Reminder& r) { r.daysOfWeek = DaySet(); }},
    {"MonthlyOnTheLastDayAlone", ReminderType::Monthly, [](auto& t) { tick(*t.monthly_, 31); },
     [](Reminder& r) { r.daysOfMonth = days({32}); }},
    {"YearlyOnThirtyFirstFebruary", ReminderType::Yearly,
     [](auto& t) {
       t.yearlyMonth_->setCurrentIndex(1);
       t.yearlyDay_->setCurrentIndex(30);
     },
     [](Reminder& r) {
       r.yearlyMonth = 2;
       r.yearlyDay = 31;
     }},
    {"YearlyWithNothingChosen", ReminderType::Yearly, [](auto&) {},
     [](Reminder& r) {
       r.yearlyMonth = 0;
       r.yearlyDay = 0;
     }},
    {"BackToDailyAfterTickingWeekdays", ReminderType::Daily,
     [](auto& t) {
       t.type_->setCurrentIndex(static_cast<int>(ReminderType::Weekly));
       tick(*t.weekly_, 0);
       t.type_->setCurrentIndex(static_cast<int>(ReminderType::Daily));
     },
     [](Reminder&) {}},
};

INSTANTIATE_TEST_SUITE_P(Changes, KindChangeTest, ::testing::ValuesIn(kKindChanges),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(PropertiesDialogTest, PageKeepsItsTicksWhileAnotherKindIsShown) {
  Reminder reminder = filledReminder(ReminderType::Monthly);
  const DaySet weekdaysBefore = reminder.daysOfWeek;
  ASSERT_NO_FATAL_FAILURE(open(reminder));

  tick(*monthly_, 9);
  type_->setCurrentIndex(static_cast<int>(ReminderType::Weekly));
  tick(*weekly_, 2);
  type_->setCurrentIndex(static_cast<int>(ReminderType::Monthly));
  EXPECT_EQ(ticks(*weekly_), days({3}));
  pressOk();

  EXPECT_EQ(reminder.reminderType, ReminderType::Monthly);
  EXPECT_EQ(reminder.daysOfMonth, days({10, 15, 32}));
  EXPECT_EQ(reminder.daysOfWeek, weekdaysBefore);
}

TEST_F(PropertiesDialogTest, OkWritesTheEditedCommonFields) {
  Reminder reminder(kToday);
  ASSERT_NO_FATAL_FAILURE(open(reminder));

  name_->setText(QString::fromUtf8("Zahnarzt Müller"));
  memo_->setPlainText("Bring the card\nRoom 4");
  enabled_->setChecked(false);
  time_->setTime(QTime(16, 45));
  audioFile_->setText("/home/u/ding.wav");
  type_->setCurrentIndex(static_cast<int>(ReminderType::Daily));
  pressOk();

  EXPECT_EQ(reminder.name, "Zahnarzt M\xC3\xBCller");
  EXPECT_EQ(reminder.text, (std::vector<std::string>{"Bring the card", "Room 4"}));
  EXPECT_FALSE(reminder.enabled);
  EXPECT_EQ(reminder.time, encodeTime({16, 45}));
  EXPECT_EQ(reminder.audioFile, "/home/u/ding.wav");
  EXPECT_EQ(reminder.reminderType, ReminderType::Daily);
  EXPECT_EQ(reminder.date, kToday);
  EXPECT_EQ(reminder.nextScheduled, 0.0);
  EXPECT_EQ(reminder.lastRun, 0.0);
}

// The same long line at the top and in the middle of a memo longer than its
// visible part, as a stored reminder brings it in.
TEST_F(PropertiesDialogTest, LongMemoLineIsStoredAsTheRowsTheMemoShows) {
  const std::string line = "Take the blue folder with the insurance papers to the office on "
                           "the second floor before noon";
  constexpr std::size_t kShortLines = 12;
  Reminder reminder(kToday);
  reminder.text.assign(2 * kShortLines + 2, "short");
  reminder.text[0] = line;
  reminder.text[kShortLines + 1] = line;
  ASSERT_NO_FATAL_FAILURE(open(reminder));
  pressOk();

  const std::vector<std::string>& stored = reminder.text;
  const std::size_t rows = (stored.size() - 2 * kShortLines) / 2;
  ASSERT_EQ(stored.size(), 2 * rows + 2 * kShortLines);
  EXPECT_GE(rows, 2u);
  const auto middle = stored.begin() + static_cast<std::ptrdiff_t>(rows + kShortLines);
  EXPECT_TRUE(
      std::equal(stored.begin(), stored.begin() + static_cast<std::ptrdiff_t>(rows), middle));
  std::string joined;
  const QFontMetrics metrics(memo_->font());
  for (std::size_t i = 0; i < rows; ++i) {
    const QString row = QString::fromStdString(stored[i]);
    joined += stored[i];
    EXPECT_LE(metrics.horizontalAdvance(row.trimmed()), memo_->viewport()->width()) << i;
    if (i + 1 < rows) {
      EXPECT_TRUE(row.endsWith(' ')) << "broken inside a word: " << stored[i];
    }
  }
  EXPECT_EQ(joined, line);
  EXPECT_EQ(stored[rows], "short");
  EXPECT_EQ(stored.back(), "short");
}

TEST_F(PropertiesDialogTest, MemoLinesDropAnEmptyLastLineAndUnstorableCharacters) {
  const struct {
    QString memo;
    std::vector<std::string> expected;
  } cases[] = {
      {"", {}},
      {"\n", {""}},
      {"a\nb\n", {"a", "b"}},
      {"a\n\n", {"a", ""}},
      {"a\r\nb\rc", {"a", "b", "c"}},
      {QString("x") + QChar(u'\0') + "y\x1Az", {"xyz"}},
  };
  for (const auto& c : cases) {
    Reminder reminder(kToday);
    ASSERT_NO_FATAL_FAILURE(open(reminder));
    memo_->setPlainText(c.memo);
    pressOk();
    EXPECT_EQ(reminder.text, c.expected) << c.memo.toStdString();
  }
}

TEST_F(PropertiesDialogTest, PastedLineBreaksInNameAndAudioFileBecomeBlanks) {
  const struct {
    QString pasted;
    QString shown;
  } cases[] = {
      {"Call\r\nthe bank", "Call the bank"},
      {"a\nb\rc\n", "a b c "},
      {QString("x") + QChar(u'\0') + "y\x1Az", "xyz"},
  };
  Reminder reminder(kToday);
  ASSERT_NO_FATAL_FAILURE(open(reminder));
  for (const auto& c : cases) {
    for (QLineEdit* edit : {name_, audioFile_}) {
      edit->clear();
      QApplication::clipboard()->setText(c.pasted);
      edit->paste();
      EXPECT_EQ(edit->text(), c.shown) << edit->objectName().toStdString();
      edit->setText(c.pasted);
      EXPECT_EQ(edit->text(), c.shown) << edit->objectName().toStdString();
    }
  }
  pressOk();
  EXPECT_EQ(reminder.name, "xyz");
  EXPECT_EQ(reminder.audioFile, "xyz");
}

TEST_F(PropertiesDialogTest, UntouchedTextsKeepBytesThatAreNoUtf8) {
  Reminder reminder(kToday);
  reminder.name = "Caf\xE9";
  reminder.text = {"\xFC"
                   "ber"};
  reminder.audioFile = "/snd/\xE9t\xE9.wav";
  const Reminder before = reminder;
  ASSERT_NO_FATAL_FAILURE(open(reminder));
  pressOk();
  EXPECT_EQ(reminder, before);
}

TEST_F(PropertiesDialogTest, ColourDialogOffersAndPreselectsTheSwatchColour) {
  Reminder reminder(kToday);
  reminder.color = 0x00336699;
  ASSERT_NO_FATAL_FAILURE(open(reminder));

  answerNextModal<QColorDialog>([](QColorDialog& colors) {
    EXPECT_EQ(QColorDialog::customColor(0), QColor(0x99, 0x66, 0x33));
    EXPECT_EQ(QColorDialog::customColor(1), QColor(Qt::white));
    EXPECT_EQ(colors.currentColor(), QColor(0x99, 0x66, 0x33));
    colors.reject();
  });
  QTest::mousePress(swatch_, Qt::RightButton);
  EXPECT_EQ(swatch_->color(), 0x00336699u);

  answerNextModal<QColorDialog>([](QColorDialog& colors) {
    colors.setCurrentColor(QColor(10, 20, 30));
    colors.accept();
  });
  QTest::mousePress(swatch_, Qt::LeftButton);
  EXPECT_EQ(swatch_->color(), 0x001E140Au);
  pressOk();
  EXPECT_EQ(reminder.color, 0x001E140Au);
}

TEST_F(PropertiesDialogTest, SystemColourStaysUnlessAnotherColourIsChosen) {
  Reminder reminder(kToday);
  reminder.color = kButtonFaceSystemColor;
  ASSERT_NO_FATAL_FAILURE(open(reminder));

  answerNextModal<QColorDialog>([](QColorDialog& colors) {
    EXPECT_EQ(colors.currentColor(), QApplication::palette().color(QPalette::Button));
    colors.accept();
  });
  QTest::mousePress(swatch_, Qt::LeftButton);
  pressOk();
  EXPECT_EQ(reminder.color, kButtonFaceSystemColor);
}

TEST_F(PropertiesDialogTest, BrowsePutsTheChosenWaveFileInTheAudioFileBox) {
  QTemporaryDir folder;
  ASSERT_TRUE(folder.isValid());
  const QString wave = folder.filePath("bell.wav");
  QFile file(wave);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.close();
  Reminder reminder(kToday);
  ASSERT_NO_FATAL_FAILURE(open(reminder));

  answerNextModal<QFileDialog>([wave](QFileDialog& files) {
    EXPECT_EQ(files.nameFilters(), QStringList{"Wav File (*.wav)"});
    files.selectFile(wave);
    static_cast<QDialog&>(files).accept();
  });
  QTest::mouseClick(browse_, Qt::LeftButton);
  EXPECT_EQ(audioFile_->text(), wave);

  answerNextModal<QFileDialog>([](QFileDialog& files) { files.reject(); });
  QTest::mouseClick(browse_, Qt::LeftButton);
  EXPECT_EQ(audioFile_->text(), wave);
}

TEST_F(PropertiesDialogTest, CancelAndTheCloseBoxLeaveTheReminderUntouched) {
  const std::function<void(PropertiesDialogTest&)> closings[] = {
      [](PropertiesDialogTest& t) { QTest::mouseClick(t.cancel_, Qt::LeftButton); },
      [](PropertiesDialogTest& t) { t.dialog_->close(); },
  };
  for (const auto& close : closings) {
    Reminder reminder = filledReminder(ReminderType::Weekly);
    const Reminder before = reminder;
    ASSERT_NO_FATAL_FAILURE(open(reminder));

    name_->setText("Changed");
    memo_->setPlainText("changed");
    enabled_->setChecked(true);
    time_->setTime(QTime(1, 2));
    tick(*weekly_, 6);
    type_->setCurrentIndex(static_cast<int>(ReminderType::Yearly));
    yearlyMonth_->setCurrentIndex(3);
    answerNextModal<QColorDialog>([](QColorDialog& colors) {
      colors.setCurrentColor(Qt::red);
      colors.accept();
    });
    QTest::mousePress(swatch_, Qt::LeftButton);
    answerNextModal<QFileDialog>([](QFileDialog& files) { files.reject(); });
    QTest::mouseClick(browse_, Qt::LeftButton);

    close(*this);
    EXPECT_FALSE(dialog_->isVisible());
    EXPECT_EQ(dialog_->result(), QDialog::Rejected);
    EXPECT_EQ(reminder, before);
  }
}

TEST_F(PropertiesDialogTest, EnterAndEscapeDoNotCloseTheDialog) {
  Reminder reminder(kToday);
  const Reminder before = reminder;
  ASSERT_NO_FATAL_FAILURE(open(reminder));
  name_->setText("Typed");
  const struct {
    Qt::Key key;
    const char* text;
  } keys[] = {{Qt::Key_Return, "\r"}, {Qt::Key_Enter, "\r"}, {Qt::Key_Escape, "\x1B"}};
  for (const auto& k : keys)
    QTest::sendKeyEvent(QTest::Click, name_, k.key, QString(k.text), Qt::NoModifier);
  EXPECT_TRUE(dialog_->isVisible());
  EXPECT_EQ(reminder, before);
}

// Each caption labels its control: its access key moves the focus there and assistive
// tools read it as the control's name. No access key is used twice in the dialog.
TEST_F(PropertiesDialogTest, CaptionsLabelTheirControlsWithAccessKeysOfTheirOwn) {
  Reminder reminder(kToday);
  ASSERT_NO_FATAL_FAILURE(open(reminder));
  const struct {
    const char* caption;
    QWidget* control;
  } rows[] = {{"&Name:", name_},
              {"&Text:", memo_},
              {"&Audio File:", audioFile_},
              {"Ty&pe:", type_},
              {"T&ime:", time_},
              {"&Date:", onceDate_},
              {"Days Of &Week:", weekly_},
              {"Days Of M&onth:", monthly_},
              {"&Month:", yearlyMonth_},
              {"Da&y:", yearlyDay_},
              {"&Color:", swatch_}};
  for (const auto& row : rows) {
    const auto labels = dialog_->findChildren<QLabel*>();
    const auto label = std::find_if(labels.begin(), labels.end(), [&](const QLabel* l) {
      return l->text() == QLatin1String(row.caption);
    });
    ASSERT_NE(label, labels.end()) << row.caption;
    EXPECT_EQ((*label)->buddy(), row.control) << row.caption;
    EXPECT_FALSE(row.control->accessibleName().isEmpty()) << row.caption;
  }
  EXPECT_EQ(name_->accessibleName(), "Name");
  EXPECT_EQ(audioFile_->accessibleName(), "Audio File");
  EXPECT_EQ(weekly_->accessibleName(), "Days Of Week");

  QStringList captions;
  for (const QLabel* label : dialog_->findChildren<QLabel*>())
    captions.append(label->text());
  for (const QAbstractButton* button : dialog_->findChildren<QAbstractButton*>())
    captions.append(button->text());
  QString keys;
  for (const QString& caption : captions) {
    const qsizetype marker = caption.indexOf(u'&');
    if (marker < 0)
      continue;
    const QChar key = caption.at(marker + 1).toLower();
    EXPECT_FALSE(keys.contains(key)) << caption.toStdString();
    keys.append(key);
  }
}

TEST_F(PropertiesDialogTest, OpensOnTheSelectedNameAndTabLeavesTheMessage) {
  Reminder reminder(kToday);
  ASSERT_NO_FATAL_FAILURE(open(reminder));
  dialog_->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(dialog_.get()));
  EXPECT_EQ(QApplication::focusWidget(), name_);
  EXPECT_EQ(name_->selectedText(), "New Reminder");
  QTest::keyClicks(name_, "Call");
  EXPECT_EQ(name_->text(), "Call");

  memo_->setFocus();
  QTest::keyClicks(memo_, "a");
  QTest::keyClick(memo_, Qt::Key_Tab, Qt::ControlModifier);
  QTest::keyClicks(memo_, "b");
  EXPECT_EQ(memo_->toPlainText(), "a\tb");
  QTest::keyClick(memo_, Qt::Key_Tab);
  EXPECT_EQ(QApplication::focusWidget(), enabled_);
  EXPECT_EQ(memo_->toPlainText(), "a\tb");
  QTest::keyClick(enabled_, Qt::Key_Tab);
  EXPECT_EQ(QApplication::focusWidget(), swatch_);
}

// The swatch is a button: Space, Enter or its press action open the colour dialog,
// and its name tells the colour.
TEST_F(PropertiesDialogTest, SwatchOpensTheColourDialogFromTheKeyboardAndNamesItsColour) {
  Reminder reminder(kToday);
  ASSERT_NO_FATAL_FAILURE(open(reminder));
  EXPECT_EQ(swatch_->accessibleName(), "Color: white");
  EXPECT_EQ(swatch_->focusPolicy(), Qt::StrongFocus);

  const struct {
    Qt::Key key;
    QColor chosen;
    const char* name;
  } presses[] = {{Qt::Key_Space, QColor(255, 0, 0), "Color: red"},
                 {Qt::Key_Return, QColor(0x33, 0x66, 0x99), "Color: #336699"},
                 {Qt::Key_Enter, QColor(0, 0, 128), "Color: navy"}};
  for (const auto& press : presses) {
    answerNextModal<QColorDialog>([chosen = press.chosen](QColorDialog& colors) {
      colors.setCurrentColor(chosen);
      colors.accept();
    });
    swatch_->setFocus();
    QTest::keyClick(swatch_, press.key);
    EXPECT_EQ(swatch_->accessibleName(), press.name);
  }
  pressOk();
  EXPECT_EQ(reminder.color, 0x00800000u);
}

TEST_F(PropertiesDialogTest, UnknownKindIsKeptUntilAnotherIsChosen) {
  Reminder reminder = filledReminder(static_cast<ReminderType>(7));
  const Reminder before = reminder;
  ASSERT_NO_FATAL_FAILURE(open(reminder));
  EXPECT_EQ(type_->currentIndex(), -1);
  EXPECT_EQ(pages_->currentIndex(), static_cast<int>(ReminderType::Daily));
  pressOk();
  EXPECT_EQ(reminder, before);
}

} // namespace
} // namespace zr
