// SPDX-License-Identifier: MIT

#include "tray/sys_tray_message.h"

#include "controls/fonts.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>

namespace zr {

SysTrayMessage::SysTrayMessage(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowStaysOnTopHint),
      programLabel_(new QLabel(this)), messageLabel_(new QLabel(this)),
      doNotShowAgainBox_(new QCheckBox(QStringLiteral("&Do Not Show This Message Again"), this)) {
  setWindowTitle(QStringLiteral("Close To System Tray"));
  // The keyboard focus is drawn from the first key, not only after a Tab.
  setAttribute(Qt::WA_KeyboardFocusChange);
  // A notice shown while the program is hidden is the only window; closing it must not
  // end the program.
  setAttribute(Qt::WA_QuitOnClose, false);
  setFixedSize(scaled(267), scaled(147));
  QFont dialogFont = font();
  dialogFont.setPixelSize(scaled(11));
  setFont(dialogFont);

  QFont bold = dialogFont;
  bold.setBold(true);
  programLabel_->setFont(bold);
  programLabel_->move(scaled(8), scaled(8));

  setClickRestores(false);
  messageLabel_->setWordWrap(true);
  messageLabel_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  messageLabel_->setGeometry(scaled(9), scaled(24), scaled(249), scaled(65));
  messageLabel_->setObjectName("lblMessage");

  // At least as wide as its caption in the desktop's font.
  doNotShowAgainBox_->setGeometry(scaled(33), scaled(88),
                                  qMax(scaled(201), doNotShowAgainBox_->sizeHint().width()),
                                  scaled(17));

  auto* okButton = new QPushButton(QStringLiteral("OK"), this);
  okButton->setGeometry(scaled(96), scaled(112), scaled(75), scaled(25));
  connect(okButton, &QPushButton::clicked, this, &QDialog::accept);

  setTabOrder(doNotShowAgainBox_, okButton);
}

void SysTrayMessage::setDoNotShowAgainVisible(bool visible) {
  doNotShowAgainBox_->setVisible(visible);
}

void SysTrayMessage::setClickRestores(bool clickRestores) {
  const QString where = QStringLiteral(
      "This program has been reduced to the system tray (usually in the lower right corner of "
      "the desktop).  ");
  messageLabel_->setText(
      where + (clickRestores ? QStringLiteral("To restore the application, click the icon in the "
                                              "system tray, or choose Show Program from its "
                                              "pop-up menu.")
                             : QStringLiteral("To restore the application, double-click the icon "
                                              "in the system tray, or right-click the icon for a "
                                              "pop-up menu.")));
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
