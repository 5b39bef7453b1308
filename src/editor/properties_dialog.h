// SPDX-License-Identifier: MIT

#pragma once

#include "core/reminder.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QDateEdit;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QStackedWidget;
class QTimeEdit;

namespace zr {

class ColorSwatch;

// The modal dialog that edits one reminder: name, message, enabled flag,
// colour, sound file, schedule kind, time of day and the kind's own data.
// Only OK writes into the reminder, and only the fields of the chosen kind's
// page; Cancel and the close box leave it as it was. Nothing is checked.
class PropertiesDialog final : public QDialog {
  Q_OBJECT

public:
  explicit PropertiesDialog(Reminder& editedReminder, QWidget* parent = nullptr);

  // Writes the controls into the reminder, then closes with the OK result.
  void accept() override;

protected:
  // Enter and Escape are no shortcuts for OK and Cancel here.
  void keyPressEvent(QKeyEvent* event) override;
  // Ctrl+Tab in the message types a tab, as Tab moves on to the next control.
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  QWidget* createCommonPane();
  QWidget* createSchedulePane();
  QWidget* createOncePage();
  QWidget* createWeeklyPage();
  QWidget* createMonthlyPage();
  QWidget* createYearlyPage();
  QWidget* createButtonBar();
  void showReminder();
  void storeReminder();
  void showKindPage(int kind);
  void chooseColor();
  void browseAudioFile();

  Reminder& editedReminder_;
  QLineEdit* nameEdit_ = nullptr;
  QPlainTextEdit* textMemo_ = nullptr;
  QCheckBox* enabledCheck_ = nullptr;
  ColorSwatch* colorSwatch_ = nullptr;
  QLineEdit* audioFileEdit_ = nullptr;
  QComboBox* typeCombo_ = nullptr;
  QTimeEdit* timeEdit_ = nullptr;
  QStackedWidget* kindPages_ = nullptr;
  QDateEdit* onceDateEdit_ = nullptr;
  QListWidget* weeklyDaysList_ = nullptr;
  QListWidget* monthlyDaysList_ = nullptr;
  QComboBox* yearlyMonthCombo_ = nullptr;
  QComboBox* yearlyDayCombo_ = nullptr;
};

} // namespace zr
