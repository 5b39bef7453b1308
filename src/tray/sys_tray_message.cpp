// SPDX-License-Identifier: MIT

#include "tray/sys_tray_message.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>

namespace zr {

SysTrayMessage::SysTrayMessage(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowStaysOnTopHint),
      programLabel_(new QLabel(this)),
      doNotShowAgainBox_(new QCheckBox(QStringLiteral("&Do Not Show This Message Again"), this)) {
  setWindowTitle(QStringLiteral("Close To System Tray"));
  // The keyboard focus is drawn from the first key, not only after a Tab.
  setAttribute(Qt::WA_KeyboardFocusChange);
  // A notice shown while the program is hidden is the only window; closing it must not
  // end the program.
  setAttribute(Qt::WA_QuitOnClose, false);
  setFixedSize(267, 147);
  QFont dialogFont = font();
  dialogFont.setPixelSize(11);
  setFont(dialogFont);

  QFont bold = dialogFont;
  bold.setBold(true);
  programLabel_->setFont(bold);
  programLabel_->move(8, 8);

  auto* message = new QLabel(
      QStringLiteral("This program has been reduced to the system tray (usually in the lower "
                     "right corner of the desktop).  To restore the application, double-click "
                     "the icon in the system tray, or right-click the icon for a pop-up menu."),
      this);
  message->setWordWrap(true);
  message->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  message->setGeometry(9, 24, 249, 65);
  message->setObjectName("lblMessage");

  // At least as wide as its caption in the desktop's font.
  doNotShowAgainBox_->setGeometry(33, 88, qMax(201, doNotShowAgainBox_->sizeHint().width()), 17);

  auto* okButton = new QPushButton(QStringLiteral("OK"), this);
  okButton->setGeometry(96, 112, 75, 25);
  connect(okButton, &QPushButton::clicked, this, &QDialog::accept);

  setTabOrder(doNotShowAgainBox_, okButton);
}

void SysTrayMessage::setDoNotShowAgainVisible(bool visible) {
  doNotShowAgainBox_->setVisible(visible);
}

bool SysTrayMessage::doNotShowAgain() const {
  return !doNotShowAgainBox_->isHidden() && doNotShowAgainBox_->isChecked();
}

void SysTrayMessage::showEvent(QShowEvent* event) {
  programLabel_->setText(QGuiApplication::applicationDisplayName());
  programLabel_->adjustSize();
  QDialog::showEvent(event);
  raise();
  activateWindow();
}

} // namespace zr
