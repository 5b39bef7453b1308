# SPDX-License-Identifier: MIT
"""Walks one window of a program over AT-SPI, as a screen reader sees it.

Usage: accessible_names.py <application name> <window title> <reading file>

Writes what a screen reader reads for each control that takes the focus (role, name,
the caption it is labelled by, description) to the reading file, one line each, and
the descriptions of the table cells. Fails (exit 1) on any focusable control that has
neither a name nor a caption labelling it; exit 2 when the window is not there."""
import sys
import time

import pyatspi

# Parts of a control rather than controls: their names are their content.
ITEM_ROLES = {
    pyatspi.ROLE_TABLE_CELL, pyatspi.ROLE_LIST_ITEM, pyatspi.ROLE_MENU_ITEM,
    pyatspi.ROLE_CHECK_MENU_ITEM, pyatspi.ROLE_RADIO_MENU_ITEM, pyatspi.ROLE_TABLE_COLUMN_HEADER,
    pyatspi.ROLE_TABLE_ROW_HEADER, pyatspi.ROLE_TREE_ITEM, pyatspi.ROLE_MENU,
}


def find_window(app_name, title, seconds=20):
    deadline = time.time() + seconds
    while time.time() < deadline:
        for app in pyatspi.Registry.getDesktop(0):
            if app is None or app.name != app_name:
                continue
            for window in app:
                if window is not None and window.name == title and \
                        window.getState().contains(pyatspi.STATE_SHOWING):
                    return window
        time.sleep(0.3)
    return None


def labels_of(control):
    names = []
    for relation in control.getRelationSet():
        if relation.getRelationType() == pyatspi.RELATION_LABELLED_BY:
            for i in range(relation.getNTargets()):
                names.append(relation.getTarget(i).name)
    return [name for name in names if name]


def walk(node, reading, unnamed, depth=0):
    role = node.getRole()
    state = node.getState()
    if role == pyatspi.ROLE_TABLE_CELL and node.description:
        reading.append(f"cell {node.name!r}: {node.description}")
    if role not in ITEM_ROLES and state.contains(pyatspi.STATE_FOCUSABLE):
        labels = labels_of(node)
        line = f"{node.getRoleName()}: {node.name!r}"
        if labels:
            line += f" labelled by {labels}"
        if node.description:
            line += f" ({node.description})"
        reading.append(line)
        if not node.name.strip() and not labels:
            unnamed.append(line)
    # A combo box's drop-down list is read as the combo box itself.
    if role == pyatspi.ROLE_COMBO_BOX or depth > 20:
        return
    for child in node:
        if child is not None:
            walk(child, reading, unnamed, depth + 1)


def main():
    app_name, title, reading_file = sys.argv[1:4]
    window = find_window(app_name, title)
    if window is None:
        print(f"no window {title!r} of {app_name!r} on the accessibility bus")
        return 2
    reading, unnamed = [], []
    walk(window, reading, unnamed)
    with open(reading_file, "w", encoding="utf-8") as out:
        out.write("\n".join(reading) + "\n")
    for line in unnamed:
        print(f"{title}: focusable control without a name: {line}")
    return 1 if unnamed else 0


if __name__ == "__main__":
    sys.exit(main())
