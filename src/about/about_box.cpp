// SPDX-License-Identifier: MIT

#include "about/about_box.h"

#include "about/about_dialog.h"

namespace zr {

void AboutBox::about() const {
  AboutDialog form(programVersionInfo());
  form.setHomePage(homePage_);
  form.exec();
}

void AboutBox::splash(int seconds) const {
  AboutDialog form(programVersionInfo());
  form.setHomePage(homePage_);
  form.showAsSplash(seconds);
}

} // namespace zr
