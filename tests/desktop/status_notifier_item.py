#!/usr/bin/python3
# SPDX-License-Identifier: MIT
"""Reads and drives a StatusNotifier item on the session bus, as a panel does. ITEM is
the item as the watcher lists it: "bus-name/path".

  status_notifier_item.py show ITEM             Id, Title, Status, IconName, ToolTip, Menu
                                                and the sizes in IconPixmap
  status_notifier_item.py icon ITEM SIZE FILE   the SIZE x SIZE image of IconPixmap as a
                                                PAM file (RGB with alpha)
  status_notifier_item.py menu ITEM             the top-level items of the exported menu:
                                                label, type, toggle type and state, a line each
  status_notifier_item.py click ITEM LABEL      chooses the menu item of that label

Labels are shown without their mnemonic underscores. Exits 1 with a message on failure.
"""
import sys

import dbus

ITEM_INTERFACE = "org.kde.StatusNotifierItem"


def bus():
    return dbus.SessionBus()


def item_object(item):
    name, _, path = item.partition("/")
    return bus().get_object(name, "/" + path)


def properties(item):
    return item_object(item).GetAll(ITEM_INTERFACE, dbus_interface=dbus.PROPERTIES_IFACE)


def plain_label(label):
    return str(label).replace("__", "\0").replace("_", "").replace("\0", "_")


def menu_items(item):
    menu_path = properties(item)["Menu"]
    if menu_path == "/NO_DBUSMENU":
        raise SystemExit("the item exports no menu")
    name = item.partition("/")[0]
    menu = bus().get_object(name, menu_path)
    _, layout = menu.GetLayout(0, 1, [], dbus_interface="com.canonical.dbusmenu")
    return [(int(child[0]), child[1], menu) for child in layout[2]]


def show(item):
    values = properties(item)
    sizes = ["%dx%d" % (int(p[0]), int(p[1])) for p in values.get("IconPixmap", [])]
    tooltip = values.get("ToolTip", ("", [], "", ""))
    print("Id=%s" % values.get("Id", ""))
    print("Title=%s" % values.get("Title", ""))
    print("Status=%s" % values.get("Status", ""))
    print("IconName=%s" % values.get("IconName", ""))
    print("ToolTip=%s" % tooltip[2])
    print("Menu=%s" % values.get("Menu", ""))
    print("IconPixmap=%s" % " ".join(sizes))


def write_icon(item, size, file_name):
    for width, height, data in properties(item).get("IconPixmap", []):
        if int(width) == size and int(height) == size:
            argb = bytes(data)
            rgba = bytearray()
            for i in range(0, len(argb), 4):  # ARGB32 in network byte order
                rgba += argb[i + 1:i + 4] + argb[i:i + 1]
            with open(file_name, "wb") as out:
                out.write(b"P7\nWIDTH %d\nHEIGHT %d\nDEPTH 4\nMAXVAL 255\n"
                          b"TUPLTYPE RGB_ALPHA\nENDHDR\n" % (size, size))
                out.write(rgba)
            return
    raise SystemExit("no %dx%d image in IconPixmap" % (size, size))


def print_menu(item):
    for _, values, _ in menu_items(item):
        print("%s\t%s\t%s\t%s" % (plain_label(values.get("label", "")),
                                  values.get("type", "standard"),
                                  values.get("toggle-type", ""),
                                  int(values.get("toggle-state", -1))))


def click(item, label):
    for item_id, values, menu in menu_items(item):
        if plain_label(values.get("label", "")) == label:
            menu.Event(item_id, "clicked", dbus.Int32(0, variant_level=1), dbus.UInt32(0),
                       dbus_interface="com.canonical.dbusmenu")
            return
    raise SystemExit("no menu item '%s'" % label)


def main(args):
    try:
        if len(args) == 2 and args[0] == "show":
            show(args[1])
        elif len(args) == 4 and args[0] == "icon":
            write_icon(args[1], int(args[2]), args[3])
        elif len(args) == 2 and args[0] == "menu":
            print_menu(args[1])
        elif len(args) == 3 and args[0] == "click":
            click(args[1], args[2])
        else:
            raise SystemExit(__doc__)
    except dbus.DBusException as error:
        raise SystemExit(str(error))


if __name__ == "__main__":
    main(sys.argv[1:])
