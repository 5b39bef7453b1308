// SPDX-License-Identifier: MIT

#include "about/about_box.h"
#include "about/about_dialog.h"
#include "about/version_info.h"
#include "support/qt_test_support.h"

#include <QApplication>
#include <QDesktopServices>
#include <QElapsedTimer>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <functional>
#include <gtest/gtest.h>

namespace zr {
namespace {

constexpr char kHomePage[] = "https://www.example.com/products/applications/zrdorvel/";

// Receives the web addresses that would go to the browser.
class BrowserStandIn : public QObject {
  Q_OBJECT

public:
  BrowserStandIn() { QDesktopServices::setUrlHandler("https", this, "open"); }
  ~BrowserStandIn() override { QDesktopServices::unsetUrlHandler("https"); }
  QList<QUrl> opened;

public slots:
  void open(const QUrl& url) { opened.append(url); }
};

// What the modal about form showed while it was open.
struct Seen {
  QStringList labels;
  bool okVisible = false;
  bool frameless = false;
  QSize size;
  bool labelsFit = true;
};

Seen inspect(QWidget* form) {
  Seen seen;
  for (const QLabel* label : form->findChildren<QLabel*>()) {
    seen.labels.append(label->text());
    seen.labelsFit = seen.labelsFit && form->rect().contains(label->geometry());
  }
  seen.okVisible = form->findChild<QPushButton*>()->isVisible();
  seen.frameless = form->windowFlags().testFlag(Qt::FramelessWindowHint);
  seen.size = form->size();
  return seen;
}

// Runs act on the modal form once it is open.
void whenModalOpen(std::function<void(QWidget*)> act) {
  auto* poll = new QTimer;
  poll->setInterval(20);
  QObject::connect(poll, &QTimer::timeout, [poll, act] {
    if (QWidget* form = QApplication::activeModalWidget()) {
      poll->deleteLater();
      poll->stop();
      act(form);
    }
  });
  poll->start();
}

TEST(AboutBox, AboutShowsTheVersionDataAndOkClosesIt) {
  QApplication::setApplicationDisplayName("ZR Dorvel");
  AboutBox box;
  box.setHomePage(kHomePage);
  Seen seen;
  whenModalOpen([&](QWidget* form) {
    seen = inspect(form);
    EXPECT_EQ(form->windowTitle(), "About");
    form->findChild<QPushButton*>()->click();
  });
  box.about();

  EXPECT_EQ(seen.labels, QStringList({"ZR Dorvel", "Version: 2.1.2.29", "ZR Software", kHomePage,
                                      "Copyright (C) 2003-2026 ZR Software"}));
  EXPECT_TRUE(seen.okVisible);
  EXPECT_FALSE(seen.frameless);
  EXPECT_EQ(seen.size.height(), 170);
  EXPECT_GE(seen.size.width(), 264);
  EXPECT_TRUE(seen.labelsFit);
  EXPECT_EQ(fileVersion(), "2.1.2.29");
}

TEST(AboutBox, LinkOpensTheHomePageAndAnEmptyLinkOpensNothing) {
  BrowserStandIn browser;
  for (const QString& homePage : {QString(kHomePage), QString()}) {
    AboutDialog form(programVersionInfo());
    form.setHomePage(homePage);
    form.show();
    QLabel* link = nullptr;
    for (QLabel* label : form.findChildren<QLabel*>())
      if (label->cursor().shape() == Qt::PointingHandCursor)
        link = label;
    ASSERT_NE(link, nullptr);
    EXPECT_EQ(link->text(), homePage);
    QTest::mouseClick(link, Qt::LeftButton, {}, QPoint(1, 1));
  }
  EXPECT_EQ(browser.opened, QList<QUrl>({QUrl(kHomePage)}));
}

TEST(AboutBox, SplashIsBorderlessWithoutOkAndClosesAfterItsSeconds) {
  AboutBox box;
  Seen seen;
  whenModalOpen([&](QWidget* form) { seen = inspect(form); });
  QElapsedTimer shown;
  shown.start();
  box.splash(1);
  const qint64 elapsed = shown.elapsed();

  EXPECT_GE(elapsed, 950);
  EXPECT_LT(elapsed, 10000);
  EXPECT_FALSE(seen.okVisible);
  EXPECT_TRUE(seen.frameless);
  EXPECT_EQ(seen.size.height(), 136);
  EXPECT_TRUE(seen.labelsFit);
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

// A one-second splash opened over it comes and goes; the one of 0 seconds is
// still there afterwards and closes with Escape.
TEST(AboutBox, SplashOfZeroSecondsStaysUntilClosedByHand) {
  AboutBox box;
  bool stillOpen = false;
  whenModalOpen([&](QWidget* form) {
    box.splash(1);
    stillOpen = form->isVisible();
    QTest::keyClick(form, Qt::Key_Escape);
  });
  box.splash(0);
  EXPECT_TRUE(stillOpen);
}

} // namespace
} // namespace zr

#include "about_box_test.moc"
