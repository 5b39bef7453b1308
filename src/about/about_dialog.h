// SPDX-License-Identifier: MIT

#pragma once

#include "about/version_info.h"

#include <QDialog>
#include <QString>

class QLabel;
class QPushButton;
class QTimer;

namespace zr {

// The "About" form: the application title, the version, the maker, the home
// page as a link and the copyright line. Shown modally with an OK button, or
// as a borderless splash that closes itself after a number of seconds.
class AboutDialog : public QDialog {
  Q_OBJECT

public:
  explicit AboutDialog(const VersionInfo& version, QWidget* parent = nullptr);

  void setHomePage(const QString& address);
  // Shows the form without frame and OK button, modally, until the seconds
  // have passed (0: until it is closed by other means, such as Escape).
  void showAsSplash(int seconds);

private:
  void fitWidthToLabels(int formHeight);

  QLabel* lblWeb_;
  QPushButton* btnOK_;
  QTimer* tmrClose_;
};

} // namespace zr
