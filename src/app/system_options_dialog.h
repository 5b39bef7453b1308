// SPDX-License-Identifier: MIT

#pragma once

#include <QDialog>

class QCheckBox;

namespace zr {

// "System Options": whether the program starts at logon and whether it checks for
// updates at start. OK and Cancel both apply the two boxes and close; the window's close
// box closes without applying. Neither button answers Enter or Escape. The caller writes
// the settings file afterwards either way.
class SystemOptionsDialog : public QDialog {
  Q_OBJECT

public:
  // autoCheckForUpdates is the program-wide flag, changed on apply; programPath is the
  // program file that starts at logon.
  SystemOptionsDialog(bool& autoCheckForUpdates, QString programPath, QWidget* parent = nullptr);

protected:
  void keyPressEvent(QKeyEvent* event) override;

private:
  // False, with the error shown and nothing changed, when the logon entry cannot be set.
  bool apply();

  bool& autoCheckForUpdates_;
  QString programPath_;
  QCheckBox* startAutomaticallyBox_;
  QCheckBox* autoCheckForUpdateBox_;
};

} // namespace zr
