// SPDX-License-Identifier: MIT

#pragma once

#include <QDialog>

class QCheckBox;

namespace zr {

// The program-wide options the dialog shows and changes, besides the logon entry.
struct SystemOptions {
  bool autoCheckForUpdates = true;
  bool keepSnoozed = false;
  bool showMissed = false;
};

// "System Options": whether the program starts at logon, whether it checks for updates
// at start, whether snoozed reminders survive a restart and whether reminders missed
// while it was not running are shown at start. OK and Cancel both apply the boxes and
// close; the window's close box closes without applying. Neither button answers Enter
// or Escape. The caller writes the settings file afterwards either way.
class SystemOptionsDialog : public QDialog {
  Q_OBJECT

public:
  // options are changed on apply; programPath is the program file that starts at logon.
  SystemOptionsDialog(SystemOptions& options, QString programPath, QWidget* parent = nullptr);

protected:
  void keyPressEvent(QKeyEvent* event) override;

private:
  // False, with the error shown and nothing changed, when the logon entry cannot be set.
  bool apply();

  SystemOptions& options_;
  QString programPath_;
  QCheckBox* startAutomaticallyBox_ = nullptr;
  QCheckBox* autoCheckForUpdateBox_ = nullptr;
  QCheckBox* keepSnoozedBox_ = nullptr;
  QCheckBox* showMissedBox_ = nullptr;
};

} // namespace zr
