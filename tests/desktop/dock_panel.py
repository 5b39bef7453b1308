#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""A bare panel for desktop tests: a dock window at a given place that reserves space
with _NET_WM_STRUT_PARTIAL, as a desktop panel does. It stays until it is ended.

Usage: dock_panel.py <x> <y> <width> <height> <twelve strut values, comma-separated>
"""
import ctypes
import ctypes.util
import signal
import sys

x, y, width, height = (int(v) for v in sys.argv[1:5])
strut = [int(v) for v in sys.argv[5].split(",")]
assert len(strut) == 12

xlib = ctypes.cdll.LoadLibrary(ctypes.util.find_library("X11"))
xlib.XOpenDisplay.restype = ctypes.c_void_p
xlib.XOpenDisplay.argtypes = [ctypes.c_char_p]
xlib.XDefaultRootWindow.restype = ctypes.c_ulong
xlib.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
xlib.XCreateSimpleWindow.restype = ctypes.c_ulong
xlib.XCreateSimpleWindow.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int,
                                     ctypes.c_uint, ctypes.c_uint, ctypes.c_uint, ctypes.c_ulong,
                                     ctypes.c_ulong]
xlib.XInternAtom.restype = ctypes.c_ulong
xlib.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
xlib.XChangeProperty.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_ulong, ctypes.c_ulong,
                                 ctypes.c_int, ctypes.c_int, ctypes.c_void_p, ctypes.c_int]
xlib.XStoreName.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_char_p]
xlib.XMapWindow.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
xlib.XFlush.argtypes = [ctypes.c_void_p]

display = xlib.XOpenDisplay(None)
if not display:
    sys.exit("cannot open the display")
root = xlib.XDefaultRootWindow(display)
window = xlib.XCreateSimpleWindow(display, root, x, y, width, height, 0, 0, 0x4a4a4a)
atom = lambda name: xlib.XInternAtom(display, name.encode(), 0)
XA_ATOM, XA_CARDINAL, PROP_MODE_REPLACE = 4, 6, 0
# Format 32 items are C longs on the client side.
dock = (ctypes.c_long * 1)(atom("_NET_WM_WINDOW_TYPE_DOCK"))
xlib.XChangeProperty(display, window, atom("_NET_WM_WINDOW_TYPE"), XA_ATOM, 32, PROP_MODE_REPLACE,
                     dock, 1)
values = (ctypes.c_long * 12)(*strut)
xlib.XChangeProperty(display, window, atom("_NET_WM_STRUT_PARTIAL"), XA_CARDINAL, 32,
                     PROP_MODE_REPLACE, values, 12)
xlib.XStoreName(display, window, b"dock panel")
xlib.XMapWindow(display, window)
xlib.XFlush(display)
signal.pause()
