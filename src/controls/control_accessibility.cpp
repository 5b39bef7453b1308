// SPDX-License-Identifier: MIT

#include "controls/control_accessibility.h"

#include "controls/scroll_text.h"
#include "controls/spin_label.h"

#include <QAccessibleWidget>
#include <algorithm>

namespace zr {

namespace {

class SpinLabelAccessible : public QAccessibleWidget, public QAccessibleValueInterface {
public:
  explicit SpinLabelAccessible(SpinLabel* spin) : QAccessibleWidget(spin, QAccessible::SpinBox) {}

  void* interface_cast(QAccessible::InterfaceType type) override {
    if (type == QAccessible::ValueInterface)
      return static_cast<QAccessibleValueInterface*>(this);
    return QAccessibleWidget::interface_cast(type);
  }

  QString text(QAccessible::Text type) const override {
    if (type == QAccessible::Value)
      return QString::number(spin()->value());
    return QAccessibleWidget::text(type);
  }

  QVariant currentValue() const override { return spin()->value(); }
  void setCurrentValue(const QVariant& value) override { spin()->setValue(value.toInt()); }
  QVariant maximumValue() const override { return spin()->max(); }
  QVariant minimumValue() const override { return spin()->min(); }
  QVariant minimumStepSize() const override { return 1; }

  QStringList actionNames() const override {
    return QStringList{increaseAction(), decreaseAction()} + QAccessibleWidget::actionNames();
  }
  void doAction(const QString& name) override {
    if (name == increaseAction())
      spin()->stepValue(1);
    else if (name == decreaseAction())
      spin()->stepValue(-1);
    else
      QAccessibleWidget::doAction(name);
  }

private:
  SpinLabel* spin() const { return static_cast<SpinLabel*>(widget()); }
};

// The scroll bar painted in a scrolling text's strip, a child without a widget of
// its own. Its value is the first row shown; setting it scrolls the text.
class ScrollBarPart : public QAccessibleInterface, public QAccessibleValueInterface {
public:
  ScrollBarPart(ScrollText* text, QAccessibleInterface* parent) : text_(text), parent_(parent) {}

  bool isValid() const override { return text_ != nullptr; }
  QObject* object() const override { return nullptr; }
  QAccessibleInterface* childAt(int, int) const override { return nullptr; }
  QAccessibleInterface* parent() const override { return parent_; }
  QAccessibleInterface* child(int) const override { return nullptr; }
  int childCount() const override { return 0; }
  int indexOfChild(const QAccessibleInterface*) const override { return -1; }
  QString text(QAccessible::Text type) const override {
    if (type == QAccessible::Value)
      return QString::number(text_->position());
    return type == QAccessible::Name ? QStringLiteral("Scroll") : QString();
  }
  void setText(QAccessible::Text, const QString&) override {}
  QRect rect() const override {
    const QRect strip(text_->stripLeft(), 0, text_->stripWidth(), text_->height());
    return QRect(text_->mapToGlobal(strip.topLeft()), strip.size());
  }
  QAccessible::Role role() const override { return QAccessible::ScrollBar; }
  QAccessible::State state() const override {
    QAccessible::State state;
    state.invisible = !text_->scrollBarShowing();
    return state;
  }
  void* interface_cast(QAccessible::InterfaceType type) override {
    return type == QAccessible::ValueInterface ? static_cast<QAccessibleValueInterface*>(this)
                                               : nullptr;
  }

  QVariant currentValue() const override { return text_->position(); }
  void setCurrentValue(const QVariant& value) override {
    text_->scrollRows(value.toInt() - text_->position());
  }
  QVariant maximumValue() const override { return text_->scrollBarShowing() ? text_->max() : 0; }
  QVariant minimumValue() const override { return text_->min(); }
  QVariant minimumStepSize() const override { return 1; }

private:
  ScrollText* text_;
  QAccessibleInterface* parent_;
};

class ScrollTextAccessible : public QAccessibleWidget, public QAccessibleTextInterface {
public:
  explicit ScrollTextAccessible(ScrollText* text)
      : QAccessibleWidget(text, QAccessible::StaticText) {}
  ~ScrollTextAccessible() override {
    if (scrollBarId_ != 0)
      QAccessible::deleteAccessibleInterface(scrollBarId_);
  }

  void* interface_cast(QAccessible::InterfaceType type) override {
    if (type == QAccessible::TextInterface)
      return static_cast<QAccessibleTextInterface*>(this);
    return QAccessibleWidget::interface_cast(type);
  }

  int childCount() const override { return 1; }
  QAccessibleInterface* child(int index) const override {
    if (index != 0)
      return nullptr;
    if (scrollBarId_ == 0) {
      auto* self = const_cast<ScrollTextAccessible*>(this);
      self->scrollBarId_ =
          QAccessible::registerAccessibleInterface(new ScrollBarPart(scrollText(), self));
    }
    return QAccessible::accessibleInterface(scrollBarId_);
  }
  int indexOfChild(const QAccessibleInterface* child) const override {
    return scrollBarId_ != 0 && child == QAccessible::accessibleInterface(scrollBarId_) ? 0 : -1;
  }
  QAccessibleInterface* childAt(int x, int y) const override {
    QAccessibleInterface* bar = child(0);
    return bar->rect().contains(x, y) ? bar : nullptr;
  }

  // Read-only text without a caret or a selection.
  void selection(int, int* start, int* end) const override { *start = *end = 0; }
  int selectionCount() const override { return 0; }
  void addSelection(int, int) override {}
  void removeSelection(int) override {}
  void setSelection(int, int, int) override {}
  int cursorPosition() const override { return 0; }
  void setCursorPosition(int) override {}
  QString text(int start, int end) const override {
    const QString all = wholeText();
    start = std::clamp(start, 0, static_cast<int>(all.size()));
    end = std::clamp(end < 0 ? static_cast<int>(all.size()) : end, start,
                     static_cast<int>(all.size()));
    return all.mid(start, end - start);
  }
  int characterCount() const override { return static_cast<int>(wholeText().size()); }
  QRect characterRect(int) const override { return QRect(); }
  int offsetAtPoint(const QPoint&) const override { return -1; }
  void scrollToSubstring(int, int) override {}
  QString attributes(int offset, int* start, int* end) const override {
    *start = *end = offset;
    return QString();
  }
  using QAccessibleWidget::text;

private:
  ScrollText* scrollText() const { return static_cast<ScrollText*>(widget()); }
  QString wholeText() const { return scrollText()->lines().join('\n'); }

  int scrollBarId_ = 0;
};

QAccessibleInterface* controlAccessible(const QString&, QObject* object) {
  if (auto* spin = qobject_cast<SpinLabel*>(object))
    return new SpinLabelAccessible(spin);
  if (auto* text = qobject_cast<ScrollText*>(object))
    return new ScrollTextAccessible(text);
  return nullptr;
}

} // namespace

void installControlAccessibility() {
  QAccessible::installFactory(controlAccessible);
}

} // namespace zr
