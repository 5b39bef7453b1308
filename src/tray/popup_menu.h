// SPDX-License-Identifier: MIT

#pragma once

#include <QMenu>

namespace zr {

// A popup menu whose items are the program's own actions: an item shows its action's
// caption, image, check mark and enabled state and runs it when chosen, so the menu bar,
// toolbar and this menu always agree. An item whose caption is "-" is a separator line.
class PopupMenu : public QMenu {
  Q_OBJECT

public:
  explicit PopupMenu(QWidget* parent = nullptr);

  // Appends an item for the action and returns it. With no action, appends a new blank
  // item, owned by the menu, for the caller to give a caption.
  QAction* addActionItem(QAction* action = nullptr);

protected:
  void actionEvent(QActionEvent* event) override;
};

} // namespace zr
