#!/usr/bin/env python3
"""Sets a window's _NET_WM_STATE as a window manager does when it maximises or restores it.

Usage: net_wm_state.py WINDOW [ATOM...]; no atom leaves the state empty (a normal window).
xprop -set can store only one atom, and a maximised window carries two.
"""
import ctypes
import ctypes.util
import sys

XA_ATOM = 4
PROP_MODE_REPLACE = 0


def main():
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    window = int(sys.argv[1], 0)
    library = ctypes.util.find_library("X11")
    if not library:
        sys.exit("libX11 not found")
    x11 = ctypes.CDLL(library)
    x11.XOpenDisplay.restype = ctypes.c_void_p
    x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
    x11.XInternAtom.restype = ctypes.c_ulong
    x11.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
    x11.XChangeProperty.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_ulong, ctypes.c_ulong,
                                    ctypes.c_int, ctypes.c_int, ctypes.c_void_p, ctypes.c_int]
    x11.XFlush.argtypes = [ctypes.c_void_p]
    x11.XCloseDisplay.argtypes = [ctypes.c_void_p]
    display = x11.XOpenDisplay(None)
    if not display:
        sys.exit("cannot open the display")
    names = sys.argv[2:]
    atoms = (ctypes.c_ulong * max(len(names), 1))(
        *[x11.XInternAtom(display, name.encode(), 0) for name in names])
    state = x11.XInternAtom(display, b"_NET_WM_STATE", 0)
    x11.XChangeProperty(display, window, state, XA_ATOM, 32, PROP_MODE_REPLACE, atoms, len(names))
    x11.XFlush(display)
    x11.XCloseDisplay(display)


if __name__ == "__main__":
    main()
