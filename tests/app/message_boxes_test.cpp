// SPDX-License-Identifier: MIT

#include "app/message_boxes.h"
#include "support/qt_test_support.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>
#include <optional>

namespace zr {
namespace {

// What the next message box showed; it is answered with `answer` from inside its own
// event loop.
struct SeenBox {
  QString title;
  QString text;
  Qt::TextFormat format = Qt::AutoText;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  std::optional<QMessageBox::StandardButton> byDefault;
};

void answerNextBox(SeenBox& seen, QMessageBox::StandardButton answer) {
  QTimer::singleShot(0, [&seen, answer] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    ASSERT_NE(box, nullptr);
    seen = {box->windowTitle(), box->text(), box->textFormat(), box->icon(), std::nullopt};
    if (box->defaultButton())
      seen.byDefault = box->standardButton(box->defaultButton());
    box->button(answer)->click();
  });
}

// Names, paths and error texts can hold "<" and "&": the boxes show them as written.
TEST(MessageBoxesTest, ShowTheirTextAsWrittenNeverAsMarkup) {
  const QString question = "Are you sure you wish to delete <b>Tom & Jerry</b>?";
  SeenBox seen;
  answerNextBox(seen, QMessageBox::Yes);
  EXPECT_TRUE(askYesNo(nullptr, question));
  EXPECT_EQ(seen.title, "ZR Dorvel");
  EXPECT_EQ(seen.text, question);
  EXPECT_EQ(seen.format, Qt::PlainText);
  EXPECT_EQ(seen.icon, QMessageBox::Question);
  EXPECT_EQ(seen.byDefault, QMessageBox::No);

  answerNextBox(seen, QMessageBox::No);
  EXPECT_FALSE(askYesNo(nullptr, question));

  const QString error = "Unable to read /home/<i>me</i>/Reminders.dat: File access denied";
  answerNextBox(seen, QMessageBox::Ok);
  showError(nullptr, error);
  EXPECT_EQ(seen.title, "ZR Dorvel");
  EXPECT_EQ(seen.text, error);
  EXPECT_EQ(seen.format, Qt::PlainText);
  EXPECT_EQ(seen.icon, QMessageBox::Critical);
}

} // namespace
} // namespace zr
