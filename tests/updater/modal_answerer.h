// SPDX-License-Identifier: MIT

#pragma once

#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QStringList>
#include <QTimer>
#include <functional>

namespace zr::test {

// Answers the modal windows that appear while a test waits, without blocking
// it: every few milliseconds it looks for the active modal window, notes what
// it says and lets answer() close it. Message boxes are noted by their text
// (and their informative text among the details), other windows by their
// title.
class ModalAnswerer {
public:
  using Answer = std::function<void(QWidget*)>;

  explicit ModalAnswerer(Answer answer = clickDefault) : answer_(std::move(answer)) {
    timer_.setInterval(20);
    QObject::connect(&timer_, &QTimer::timeout, [this] { look(); });
    timer_.start();
  }

  const QStringList& seen() const { return seen_; }
  const QStringList& details() const { return details_; }

  static void clickDefault(QWidget* window) {
    if (auto* box = qobject_cast<QMessageBox*>(window))
      box->accept();
  }

  // An answer that clicks the push button with the given object name.
  static Answer clickButton(const QString& buttonName) {
    return [buttonName](QWidget* window) {
      if (auto* button = window->findChild<QPushButton*>(buttonName))
        button->click();
      else
        clickDefault(window);
    };
  }

private:
  void look() {
    QWidget* window = QApplication::activeModalWidget();
    if (window == nullptr || window == answered_)
      return;
    answered_ = window;
    const auto* box = qobject_cast<QMessageBox*>(window);
    seen_.append(box ? box->text() : window->windowTitle());
    if (box && !box->informativeText().isEmpty())
      details_.append(box->informativeText());
    answer_(window);
  }

  Answer answer_;
  QTimer timer_;
  QStringList seen_;
  QStringList details_;
  QPointer<QWidget> answered_;
};

} // namespace zr::test
