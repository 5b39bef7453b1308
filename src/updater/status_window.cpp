// SPDX-License-Identifier: MIT

#include "updater/status_window.h"

#include "controls/fonts.h"

#include <QGuiApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <algorithm>

namespace zr {
namespace {

QLabel* addLabel(QWidget* parent, int left, int top, bool bold = false) {
  auto* label = new QLabel(parent);
  label->setTextFormat(Qt::PlainText);
  label->move(left, top);
  if (bold) {
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
  }
  return label;
}

void setLabelText(QLabel* label, const QString& text) {
  label->setText(text);
  label->adjustSize();
}

} // namespace

StatusWindow::StatusWindow(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint) {
  setObjectName("frmZRUpdaterStatus");
  setWindowTitle("Status");
  // The keyboard focus is drawn from the first key, not only after a Tab.
  setAttribute(Qt::WA_KeyboardFocusChange);
  QFont font(kFormFontFamily);
  font.setPixelSize(scaled(11));
  setFont(font);
  setFixedSize(scaled(251), scaled(119));

  lblStatus_ = addLabel(this, scaled(8), scaled(8), true);
  lblFile_ = addLabel(this, scaled(8), scaled(24));
  lblProgress_ = addLabel(this, scaled(8), scaled(40));
  barProgress_ = new QProgressBar(this);
  barProgress_->setGeometry(scaled(8), scaled(64), scaled(233), scaled(17));
  barProgress_->setTextVisible(false);
  barProgress_->setAccessibleName("Progress");
  btnCancel_ = new QPushButton("Cancel", this);
  btnCancel_->setGeometry(scaled(88), scaled(88), scaled(75), scaled(25));
  connect(btnCancel_, &QPushButton::clicked, this, &StatusWindow::cancel);

  if (const QScreen* screen = QGuiApplication::primaryScreen())
    move(screen->availableGeometry().center() - rect().center());
}

void StatusWindow::showStatus(const TransferStatus& status) {
  setLabelText(lblStatus_, status.caption);
  setLabelText(lblFile_, status.fileText);
  setLabelText(lblProgress_, status.progressText);
  barProgress_->setRange(status.minimum, status.maximum);
  barProgress_->setValue(std::clamp(status.position, status.minimum, status.maximum));
}

void StatusWindow::reject() {
  cancel();
}

void StatusWindow::cancel() {
  if (!btnCancel_->isEnabled())
    return;
  setLabelText(lblProgress_, "Terminating...");
  btnCancel_->setEnabled(false);
  emit cancelRequested();
}

} // namespace zr
