// SPDX-License-Identifier: MIT

#include "app/system_options_dialog.h"

#include "app/error_box.h"
#include "controls/fonts.h"
#include "core/error.h"
#include "platform/autostart.h"
#include "platform/stored_text.h"

#include <QCheckBox>
#include <QFrame>
#include <QKeyEvent>
#include <QPushButton>
#include <QStatusBar>

namespace zr {

SystemOptionsDialog::SystemOptionsDialog(bool& autoCheckForUpdates, QString programPath,
                                         QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint),
      autoCheckForUpdates_(autoCheckForUpdates), programPath_(std::move(programPath)),
      startAutomaticallyBox_(nullptr), autoCheckForUpdateBox_(nullptr) {
  setWindowTitle(QStringLiteral("System Options"));
  setFixedSize(275, 114);
  setFont(formFont());

  auto* boxes = new QFrame(this);
  boxes->setFrameShape(QFrame::StyledPanel);
  boxes->setGeometry(0, 0, 275, 63);
  startAutomaticallyBox_ = new QCheckBox(QStringLiteral("Start Automatically With Windows"), boxes);
  startAutomaticallyBox_->setGeometry(24, 16, 201, 17);
  startAutomaticallyBox_->setChecked(isStartingAtLogon());
  autoCheckForUpdateBox_ =
      new QCheckBox(QStringLiteral("Check For Updates When Program Starts"), boxes);
  autoCheckForUpdateBox_->setGeometry(24, 32, 233, 17);
  autoCheckForUpdateBox_->setChecked(autoCheckForUpdates_);

  auto* buttonBar = new QFrame(this);
  buttonBar->setFrameShape(QFrame::StyledPanel);
  buttonBar->setGeometry(0, 63, 275, 32);
  auto* okButton = new QPushButton(QStringLiteral("OK"), this);
  okButton->setGeometry(58, 67, 75, 25);
  auto* cancelButton = new QPushButton(QStringLiteral("Cancel"), this);
  cancelButton->setGeometry(143, 67, 75, 25);
  for (QPushButton* button : {okButton, cancelButton})
    button->setAutoDefault(false);
  connect(okButton, &QPushButton::clicked, this, [this] {
    if (apply())
      accept();
  });
  connect(cancelButton, &QPushButton::clicked, this, [this] {
    if (apply())
      reject();
  });

  auto* statusBar = new QStatusBar(this);
  statusBar->setSizeGripEnabled(false);
  statusBar->setGeometry(0, 95, 275, 19);
}

void SystemOptionsDialog::keyPressEvent(QKeyEvent* event) {
  // A dialog closes on Escape by itself; this one has no cancel button.
  if (event->matches(QKeySequence::Cancel)) {
    event->accept();
    return;
  }
  QDialog::keyPressEvent(event);
}

bool SystemOptionsDialog::apply() {
  try {
    setStartingAtLogon(startAutomaticallyBox_->isChecked(), programPath_);
  } catch (const Error& error) {
    showError(this, toShownText(error.what()));
    return false;
  }
  autoCheckForUpdates_ = autoCheckForUpdateBox_->isChecked();
  return true;
}

} // namespace zr
