// SPDX-License-Identifier: MIT

#include "tray/status_notifier_host.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVariant>

namespace zr {

namespace {

constexpr int kReplyTimeoutMs = 1000;

} // namespace

bool statusNotifierHostRegistered() {
  QDBusConnection bus = QDBusConnection::sessionBus();
  if (!bus.isConnected())
    return false;
  const QString watcher = QStringLiteral("org.kde.StatusNotifierWatcher");
  QDBusMessage question = QDBusMessage::createMethodCall(
      watcher, QStringLiteral("/StatusNotifierWatcher"),
      QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
  question << watcher << QStringLiteral("IsStatusNotifierHostRegistered");
  const QDBusMessage answer = bus.call(question, QDBus::Block, kReplyTimeoutMs);
  if (answer.type() != QDBusMessage::ReplyMessage || answer.arguments().isEmpty())
    return false;
  return answer.arguments().constFirst().value<QDBusVariant>().variant().toBool();
}

} // namespace zr
