// SPDX-License-Identifier: MIT

#include "alerts/alert_accessibility.h"

#include "alerts/alert_window.h"
#include "platform/stored_text.h"

#include <QAccessibleWidget>

namespace zr {

namespace {

// A screen reader speaks the description when the alert comes up; a very long
// message is cut there and read in full from the message's text.
constexpr int kDescriptionLength = 1000;

class AlertAccessible : public QAccessibleWidget {
public:
  explicit AlertAccessible(AlertWindow* alert)
      : QAccessibleWidget(alert, QAccessible::AlertMessage) {}

  QString text(QAccessible::Text type) const override {
    switch (type) {
    case QAccessible::Name:
      return widget()->windowTitle();
    case QAccessible::Description:
      return description();
    default:
      return QAccessibleWidget::text(type);
    }
  }

private:
  QString description() const {
    const Reminder* reminder = static_cast<const AlertWindow*>(widget())->reminder();
    if (reminder == nullptr)
      return QString();
    QString text;
    for (const std::string& line : reminder->text) {
      if (!text.isEmpty())
        text += '\n';
      text += toShownText(line);
      if (text.size() > kDescriptionLength)
        return text.left(kDescriptionLength) + QChar(0x2026);
    }
    return text;
  }
};

QAccessibleInterface* alertAccessible(const QString&, QObject* object) {
  if (auto* alert = qobject_cast<AlertWindow*>(object))
    return new AlertAccessible(alert);
  return nullptr;
}

} // namespace

void installAlertAccessibility() {
  QAccessible::installFactory(alertAccessible);
}

} // namespace zr
