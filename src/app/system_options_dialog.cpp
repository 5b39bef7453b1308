// SPDX-License-Identifier: MIT

#include "app/system_options_dialog.h"

#include "app/message_boxes.h"
#include "controls/fonts.h"
#include "core/error.h"
#include "platform/autostart.h"
#include "platform/stored_text.h"

#include <QCheckBox>
#include <QFrame>
#include <QKeyEvent>
#include <QPushButton>
#include <QStatusBar>
#include <algorithm>

namespace zr {
namespace {

// The check boxes stand one under the other in a frame; the buttons sit in a bar below
// it and an empty status bar closes the window.
constexpr int kMinimumWidth = 275;
constexpr int kBoxLeft = 24;
constexpr int kFirstBoxTop = 16;
constexpr int kBoxStep = 16;
constexpr int kBoxHeight = 17;
constexpr int kBoxesBottomMargin = 14;
constexpr int kButtonBarHeight = 32;
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 25;
constexpr int kButtonGap = 10;
constexpr int kStatusBarHeight = 19;

} // namespace

SystemOptionsDialog::SystemOptionsDialog(SystemOptions& options, QString programPath,
                                         QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint), options_(options),
      programPath_(std::move(programPath)) {
  setWindowTitle(QStringLiteral("System Options"));
  // The keyboard focus is drawn from the first key, not only after a Tab.
  setAttribute(Qt::WA_KeyboardFocusChange);
  setFont(formFont());

  auto* boxes = new QFrame(this);
  boxes->setFrameShape(QFrame::StyledPanel);
  int boxTop = scaled(kFirstBoxTop);
  int widest = 0;
  const auto addBox = [&](const char* caption, int width, bool checked) {
    auto* box = new QCheckBox(QString::fromLatin1(caption), boxes);
    box->setGeometry(scaled(kBoxLeft), boxTop, std::max(scaled(width), box->sizeHint().width()),
                     scaled(kBoxHeight));
    box->setChecked(checked);
    boxTop += scaled(kBoxStep);
    widest = std::max(widest, box->width());
    return box;
  };
  startAutomaticallyBox_ = addBox("&Start Automatically With Windows", 201, isStartingAtLogon());
  autoCheckForUpdateBox_ =
      addBox("&Check For Updates When Program Starts", 233, options_.autoCheckForUpdates);
  keepSnoozedBox_ = addBox("&Keep Snoozed Reminders When Program Closes", 0, options_.keepSnoozed);
  showMissedBox_ = addBox("Show Reminders &Missed While Program Was Off", 0, options_.showMissed);
  const int width = std::max(scaled(kMinimumWidth), scaled(kBoxLeft) + widest + scaled(kBoxLeft));
  const int boxesHeight =
      boxTop - scaled(kBoxStep) + scaled(kBoxHeight) + scaled(kBoxesBottomMargin);
  boxes->setGeometry(0, 0, width, boxesHeight);

  auto* buttonBar = new QFrame(this);
  buttonBar->setFrameShape(QFrame::StyledPanel);
  buttonBar->setGeometry(0, boxesHeight, width, scaled(kButtonBarHeight));
  // The two buttons side by side in the middle of the bar.
  const int okLeft = (width - 2 * scaled(kButtonWidth) - scaled(kButtonGap) + 1) / 2;
  const int buttonTop = boxesHeight + (scaled(kButtonBarHeight) - scaled(kButtonHeight) + 1) / 2;
  auto* okButton = new QPushButton(QStringLiteral("OK"), this);
  okButton->setGeometry(okLeft, buttonTop, scaled(kButtonWidth), scaled(kButtonHeight));
  auto* cancelButton = new QPushButton(QStringLiteral("Cancel"), this);
  cancelButton->setGeometry(okLeft + scaled(kButtonWidth) + scaled(kButtonGap), buttonTop,
                            scaled(kButtonWidth), scaled(kButtonHeight));
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
  statusBar->setGeometry(0, boxesHeight + scaled(kButtonBarHeight), width,
                         scaled(kStatusBarHeight));
  setFixedSize(width, boxesHeight + scaled(kButtonBarHeight) + scaled(kStatusBarHeight));
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
  options_.autoCheckForUpdates = autoCheckForUpdateBox_->isChecked();
  options_.keepSnoozed = keepSnoozedBox_->isChecked();
  options_.showMissed = showMissedBox_->isChecked();
  return true;
}

} // namespace zr
