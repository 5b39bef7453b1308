// SPDX-License-Identifier: MIT

#pragma once

#include <QString>

namespace zr {

// Shows the about form: modally with an OK button (the "About" command), or as
// the splash at start-up. A new form is made for every showing.
class AboutBox {
public:
  void setHomePage(const QString& address) { homePage_ = address; }

  void about() const;
  // Returns when the splash has closed: after the seconds, or, for 0, when it
  // is closed by other means.
  void splash(int seconds) const;

private:
  QString homePage_;
};

} // namespace zr
