#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""What a screen reader finds of the program's alerts over AT-SPI.

Usage: alert_screen_reader.py announce <name>
           presses Ctrl+T (xdotool) and waits up to 20 s for an object of role alert named
           <name> to report that it shows; prints "announced".
       alert_screen_reader.py inspect <name> <message line> <minutes to set>
           finds the alert, checks its description, its message text, the spin button
           (name, value 0..120), the scroll bar and the Close button, sets the minutes
           through the value interface and presses Close through its action.
Exits 1 with a message on the first fault.
"""
import subprocess
import sys

import pyatspi
from gi.repository import GLib


def fail(message):
    print("FAIL:", message)
    sys.exit(1)


def program():
    desktop = pyatspi.Registry.getDesktop(0)
    for app in desktop:
        if app is not None and app.name in ("ZRDorvel", "zrdorvel"):
            return app
    fail("the program is not on the accessibility bus: %s" % [a.name for a in desktop if a])


def find_all(root, predicate):
    found = []
    def walk(node, depth):
        if node is None or depth > 12:
            return
        if predicate(node):
            found.append(node)
        for child in node:
            walk(child, depth + 1)
    walk(root, 0)
    return found


def announce(name):
    heard = []
    loop = GLib.MainLoop()

    def listener(event):
        source = event.source
        if event.detail1 == 1 and source.getRole() == pyatspi.ROLE_ALERT and source.name == name:
            heard.append(event.type)
            loop.quit()

    pyatspi.Registry.registerEventListener(listener, "object:state-changed:showing")
    GLib.timeout_add(500, lambda: subprocess.call(["xdotool", "key", "ctrl+t"]) and False)
    GLib.timeout_add_seconds(20, loop.quit)
    loop.run()
    if not heard:
        fail("no alert named %r told that it shows" % name)
    print("announced")


def inspect(name, line, minutes):
    alerts = find_all(program(), lambda n: n.getRole() == pyatspi.ROLE_ALERT and n.name == name)
    if not alerts:
        fail("no object of role alert named %r" % name)
    alert = alerts[-1]
    if line not in alert.description:
        fail("the alert's description %r lacks %r" % (alert.description, line))

    texts = find_all(alert, lambda n: n.name == "Message")
    if not texts:
        fail("no message")
    text = texts[0].queryText()
    whole = text.getText(0, text.characterCount)
    if line not in whole:
        fail("the message text %r lacks %r" % (whole, line))
    bars = find_all(texts[0], lambda n: n.getRole() == pyatspi.ROLE_SCROLL_BAR)
    if not bars:
        fail("the message has no scroll bar")

    spins = find_all(alert, lambda n: n.getRole() == pyatspi.ROLE_SPIN_BUTTON)
    if not spins:
        fail("no spin button")
    spin = spins[0]
    if spin.name != "Remind again in 0 minutes.":
        fail("the spin button is named %r" % spin.name)
    value = spin.queryValue()
    if (value.minimumValue, value.maximumValue, value.currentValue) != (0, 120, 0):
        fail("the spin button's value is %s..%s, %s" % (value.minimumValue, value.maximumValue,
                                                        value.currentValue))
    value.currentValue = minutes
    if spin.queryValue().currentValue != minutes:
        fail("setting the value to %d gave %s" % (minutes, spin.queryValue().currentValue))

    buttons = find_all(alert, lambda n: n.getRole() == pyatspi.ROLE_PUSH_BUTTON and n.name == "Close")
    if not buttons:
        fail("no push button named Close")
    action = buttons[0].queryAction()
    names = [action.getName(i) for i in range(action.nActions)]
    if "Press" not in names and "press" not in names:
        fail("the Close button's actions are %s" % names)
    action.doAction(names.index("Press") if "Press" in names else names.index("press"))
    print("inspected")


if __name__ == "__main__":
    if sys.argv[1] == "announce":
        announce(sys.argv[2])
    else:
        inspect(sys.argv[2], sys.argv[3], int(sys.argv[4]))
