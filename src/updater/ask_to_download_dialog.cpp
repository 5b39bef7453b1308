// SPDX-License-Identifier: MIT

#include "updater/ask_to_download_dialog.h"

#include "controls/fonts.h"
#include "controls/link_label.h"

#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <algorithm>

namespace zr {
namespace {

constexpr int kClientWidth = 369;
constexpr int kClientHeight = 296;
constexpr int kTopBevelHeight = 81;
constexpr int kBottomBevelHeight = 39;
constexpr int kStatusBarHeight = 19;
// Release notes are a few dozen lines; a server that sends hundreds of
// thousands would freeze the window while the memo lays them out.
constexpr qsizetype kMostNoteLines = 10000;

QLabel* addLabel(QWidget* parent, const QString& text, int left, int top, bool bold = false) {
  auto* label = new QLabel(text, parent);
  label->setTextFormat(Qt::PlainText);
  if (bold) {
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
  }
  label->move(left, top);
  label->adjustSize();
  return label;
}

void addBevel(QWidget* parent, int top, int height) {
  auto* bevel = new QFrame(parent);
  bevel->setFrameStyle(QFrame::Box | QFrame::Sunken);
  bevel->setGeometry(0, top, scaled(kClientWidth), height);
}

void setLabelText(QLabel* label, const QString& text) {
  label->setText(text);
  label->adjustSize();
}

} // namespace

AskToDownloadDialog::AskToDownloadDialog(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint) {
  setObjectName("frmZRUpdaterAskToDownload");
  setWindowTitle("Update Available");
  // The keyboard focus is drawn from the first key, not only after a Tab.
  setAttribute(Qt::WA_KeyboardFocusChange);
  QFont font(kFormFontFamily);
  font.setPixelSize(scaled(11));
  setFont(font);
  setFixedSize(scaled(kClientWidth), scaled(kClientHeight));

  const int bottomBevelTop =
      scaled(kClientHeight) - scaled(kStatusBarHeight) - scaled(kBottomBevelHeight);
  addBevel(this, 0, scaled(kTopBevelHeight));
  addBevel(this, bottomBevelTop, scaled(kBottomBevelHeight));

  lblAppName_ = addLabel(this, QString(), scaled(8), scaled(8), true);
  addLabel(this, "An updated version is available for this application.", scaled(8), scaled(24),
           true);
  addLabel(this, "Your Version:", scaled(8), scaled(40));
  lblYourVersion_ = addLabel(this, QString(), scaled(88), scaled(40));
  addLabel(this, "Update Version:", scaled(176), scaled(40));
  lblUpdateVersion_ = addLabel(this, QString(), scaled(264), scaled(40));
  lblHomePage_ = new LinkLabel(this);
  lblHomePage_->move(scaled(8), scaled(56));

  mmoNotes_ = new QPlainTextEdit(this);
  mmoNotes_->setObjectName("mmoNotes");
  mmoNotes_->setReadOnly(true);
  mmoNotes_->setAccessibleName("Release Notes");
  mmoNotes_->setLineWrapMode(QPlainTextEdit::NoWrap);
  mmoNotes_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  mmoNotes_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  mmoNotes_->setGeometry(0, scaled(kTopBevelHeight), scaled(kClientWidth),
                         bottomBevelTop - scaled(kTopBevelHeight));

  auto* btnDownload = new QPushButton("&Download Updates", this);
  btnDownload->setObjectName("btnDownload");
  btnDownload->setGeometry(scaled(68), scaled(246), scaled(113), scaled(25));
  btnDownload->setDefault(true);
  connect(btnDownload, &QPushButton::clicked, this, &QDialog::accept);
  // The dialog opens with the focus on the answer, so Enter chooses it; the home
  // page link before it in the Tab order would otherwise take the focus and Enter
  // would open the browser.
  btnDownload->setFocus();
  auto* btnDoNotDownload = new QPushButton("Do &Not Download", this);
  btnDoNotDownload->setObjectName("btnDoNotDownload");
  btnDoNotDownload->setGeometry(scaled(188), scaled(246), scaled(113), scaled(25));
  connect(btnDoNotDownload, &QPushButton::clicked, this, &QDialog::reject);

  auto* statusBar = new QStatusBar(this);
  statusBar->setSizeGripEnabled(false);
  statusBar->setGeometry(0, scaled(kClientHeight) - scaled(kStatusBarHeight), scaled(kClientWidth),
                         scaled(kStatusBarHeight));

  if (const QScreen* screen = QGuiApplication::primaryScreen())
    move(screen->availableGeometry().center() - rect().center());
}

void AskToDownloadDialog::setYourVersion(const QString& version) {
  setLabelText(lblYourVersion_, version);
}

void AskToDownloadDialog::setUpdateVersion(const QString& version) {
  setLabelText(lblUpdateVersion_, version);
}

void AskToDownloadDialog::setNotes(const QStringList& notes) {
  QStringList shown = notes.first(std::min(notes.size(), kMostNoteLines));
  if (notes.size() > kMostNoteLines)
    shown.append("...");
  mmoNotes_->setPlainText(shown.join(u'\n'));
}

void AskToDownloadDialog::setHomePage(const QString& address) {
  setLabelText(lblHomePage_, address);
}

void AskToDownloadDialog::showEvent(QShowEvent* event) {
  setLabelText(lblAppName_, QGuiApplication::applicationDisplayName());
  QDialog::showEvent(event);
}

} // namespace zr
