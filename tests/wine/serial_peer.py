#!/usr/bin/env python3
"""Runs a command (the Windows serial tests under wine) while playing the far end of a serial
line: a pseudo-terminal that wine shows as a COM port through the link given. What the port
writes is read here; a line "#SEND n" makes this end send n bytes of the tests' pattern,
"#HANGUP" closes this end, as an unplugged adapter, and makes a fresh line behind the same link
for the next test. Exits with the command's status.

    serial_peer.py LINK COMMAND...      (LINK: $WINEPREFIX/dosdevices/comN)
"""
import os
import select
import subprocess
import sys
import termios
import tty


def pattern(length):
    return bytes(((i * 7 + i // 256) & 0xFF) for i in range(length))


def new_line(link):
    master, slave = os.openpty()
    tty.setraw(slave)
    attrs = termios.tcgetattr(slave)
    attrs[2] |= termios.CLOCAL | termios.CREAD
    termios.tcsetattr(slave, termios.TCSANOW, attrs)
    if os.path.lexists(link):
        os.unlink(link)
    os.symlink(os.ttyname(slave), link)
    # The slave stays open here too, so the master sees no hang-up while the port is closed.
    return master, slave


def main():
    link, command = sys.argv[1], sys.argv[2:]
    master, slave = new_line(link)
    process = subprocess.Popen(command)
    pending = b""
    while process.poll() is None:
        ready, _, _ = select.select([master], [], [], 0.2)
        if not ready:
            continue
        try:
            pending += os.read(master, 65536)
        except OSError:
            continue
        while b"\n" in pending:
            line, pending = pending.split(b"\n", 1)
            at = line.find(b"#")
            if at < 0:
                continue
            words = line[at + 1:].split()
            if words[:1] == [b"SEND"] and len(words) == 2:
                os.write(master, pattern(int(words[1])))
            elif words[:1] == [b"HANGUP"]:
                os.close(master)
                os.close(slave)
                master, slave = new_line(link)
                pending = b""
    os.close(master)
    os.close(slave)
    return process.returncode


if __name__ == "__main__":
    sys.exit(main())
