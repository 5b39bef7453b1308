// SPDX-License-Identifier: MIT

#include "about/about_dialog.h"

#include "controls/fonts.h"
#include "controls/link_label.h"

#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <algorithm>

namespace zr {
namespace {

constexpr int kClientWidth = 264;
constexpr int kClientHeight = 170;
constexpr int kButtonTop = 136;
constexpr int kLabelLeft = 29;

QLabel* addLabel(QWidget* parent, const QString& text, int left, int top, int boldPixelSize = 0) {
  auto* label = new QLabel(text, parent);
  label->setTextFormat(Qt::PlainText);
  if (boldPixelSize > 0) {
    QFont font = label->font();
    font.setBold(true);
    font.setPixelSize(boldPixelSize);
    label->setFont(font);
  }
  label->move(left, top);
  label->adjustSize();
  return label;
}

} // namespace

AboutDialog::AboutDialog(const VersionInfo& version, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint) {
  setObjectName("frmAbout");
  setWindowTitle("About");
  // The keyboard focus is drawn from the first key, not only after a Tab.
  setAttribute(Qt::WA_KeyboardFocusChange);
  QFont font = QGuiApplication::font();
  font.setPixelSize(scaled(11));
  setFont(font);
  auto* bevel = new QFrame(this);
  bevel->setObjectName("bevel");
  bevel->setFrameStyle(QFrame::Box | QFrame::Sunken);

  addLabel(this, QGuiApplication::applicationDisplayName(), scaled(kLabelLeft), scaled(8),
           scaled(19));
  addLabel(this, "Version: " + version.fileVersion, scaled(kLabelLeft), scaled(32));
  addLabel(this, version.companyName, scaled(kLabelLeft), scaled(56), scaled(16));
  lblWeb_ = new LinkLabel(this);
  lblWeb_->move(scaled(kLabelLeft), scaled(75));
  addLabel(this, version.legalCopyright, scaled(kLabelLeft), scaled(104));

  btnOK_ = new QPushButton("OK", this);
  btnOK_->setGeometry(scaled(94), scaled(kButtonTop), scaled(75), scaled(25));
  btnOK_->setDefault(true);
  connect(btnOK_, &QPushButton::clicked, this, &QDialog::accept);

  tmrClose_ = new QTimer(this);
  tmrClose_->setSingleShot(true);
  connect(tmrClose_, &QTimer::timeout, this, &QDialog::reject);

  fitWidthToLabels(scaled(kClientHeight));
}

void AboutDialog::setHomePage(const QString& address) {
  lblWeb_->setText(address);
  lblWeb_->adjustSize();
  fitWidthToLabels(height());
}

// Widens the form when a text is wider than the design leaves room for, so
// that no label is cut off at the right edge.
void AboutDialog::fitWidthToLabels(int formHeight) {
  int width = scaled(kClientWidth);
  for (const QLabel* label : findChildren<QLabel*>())
    width = std::max(width, label->geometry().right() + 1 + scaled(kLabelLeft));
  setFixedSize(width, formHeight);
  findChild<QFrame*>("bevel")->setGeometry(rect());
  btnOK_->move((width - btnOK_->width()) / 2, scaled(kButtonTop));
  if (const QScreen* screen = QGuiApplication::primaryScreen())
    move(screen->availableGeometry().center() - rect().center());
}

void AboutDialog::showAsSplash(int seconds) {
  btnOK_->hide();
  setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
  fitWidthToLabels(scaled(kButtonTop));
  if (seconds > 0) {
    tmrClose_->setInterval(seconds * 1000);
    tmrClose_->start();
  }
  exec();
}

} // namespace zr
