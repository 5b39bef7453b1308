// SPDX-License-Identifier: MIT

#pragma once

#include <QDialog>

class QCheckBox;
class QLabel;

namespace zr {

// The small modal notice shown right after the program has been hidden to the
// notification area: where the program went and how to get it back, with a box to
// switch the notice off. The caller sets the caption and whether the box is offered.
class SysTrayMessage : public QDialog {
  Q_OBJECT

public:
  explicit SysTrayMessage(QWidget* parent = nullptr);

  void setDoNotShowAgainVisible(bool visible);
  // Whether a single click on the icon restores the program, as on a StatusNotifier
  // host; the notice then names that click instead of a double-click.
  void setClickRestores(bool clickRestores);
  // Whether the user ticked the box; false while the box is hidden. Valid however the
  // notice was closed.
  bool doNotShowAgain() const;

protected:
  void showEvent(QShowEvent* event) override;

private:
  QLabel* programLabel_;
  QLabel* messageLabel_;
  QCheckBox* doNotShowAgainBox_;
};

} // namespace zr
