// SPDX-License-Identifier: MIT

#pragma once

#include <QString>

class QWidget;

namespace zr {

struct Reminder;

// What the commands ask of the user. The program uses DialogPrompts; tests
// answer in its place.
class CommandPrompts {
public:
  virtual ~CommandPrompts() = default;
  // Lets the user edit the reminder; true when the edits were written into it.
  virtual bool editReminder(QWidget* parent, Reminder& reminder) = 0;
  // A Yes/No question; true only for an explicit Yes.
  virtual bool confirm(QWidget* parent, const QString& question) = 0;
  virtual void showError(QWidget* parent, const QString& text) = 0;
};

// The real dialogs and message boxes.
class DialogPrompts final : public CommandPrompts {
public:
  bool editReminder(QWidget* parent, Reminder& reminder) override;
  bool confirm(QWidget* parent, const QString& question) override;
  void showError(QWidget* parent, const QString& text) override;
};

} // namespace zr
