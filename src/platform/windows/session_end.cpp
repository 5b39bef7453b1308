// SPDX-License-Identifier: MIT

#include "platform/session_end.h"

#include <QAbstractNativeEventFilter>
#include <QGuiApplication>
#include <functional>
#include <windows.h>

namespace zr {
namespace {

// Sees the messages of the end of a Windows session in every window of the program.
class SessionMessageFilter final : public QAbstractNativeEventFilter {
public:
  explicit SessionMessageFilter(std::function<void()> onEnd) : onEnd_(std::move(onEnd)) {}

  bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override {
    if (eventType != "windows_generic_MSG")
      return false;
    const MSG* msg = static_cast<const MSG*>(message);
    // The system asks whether the session may end; the program agrees and closes at
    // once, like a signal on Linux. WM_ENDSESSION with TRUE is the end itself (a
    // program that was not asked first, or a forced end).
    if (msg->message == WM_QUERYENDSESSION ||
        (msg->message == WM_ENDSESSION && msg->wParam == TRUE)) {
      onEnd_();
      // Messages taken from the queue come without a result to set.
      if (msg->message == WM_QUERYENDSESSION && result) {
        *result = TRUE;
        return true;
      }
    }
    return false;
  }

private:
  std::function<void()> onEnd_;
};

} // namespace

SessionEndWatcher::SessionEndWatcher(QObject* parent)
    : QObject(parent), filter_(std::make_unique<SessionMessageFilter>([this] { announce(); })) {
  QCoreApplication::instance()->installNativeEventFilter(filter_.get());
  if (auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
    connect(
        app, &QGuiApplication::commitDataRequest, this, [this] { announce(); },
        Qt::DirectConnection);
    connect(
        app, &QCoreApplication::aboutToQuit, this, [this] { announce(); }, Qt::DirectConnection);
  }
}

SessionEndWatcher::~SessionEndWatcher() {
  if (QCoreApplication::instance())
    QCoreApplication::instance()->removeNativeEventFilter(filter_.get());
}

void SessionEndWatcher::announce() {
  if (announced_)
    return;
  announced_ = true;
  emit sessionEnding();
}

} // namespace zr
