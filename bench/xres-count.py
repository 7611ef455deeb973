#!/usr/bin/python3
"""Counts the X resources a client holds on the X server, the way xrestop does.

    bench/xres-count.py WINDOW-ID

WINDOW-ID (decimal or 0x hex) is any window of the client, for example the one
xdotool finds by its title. Prints one line of key=value pairs: the client's
resources by type (window, pixmap, gc, font, picture, ...), their total, the
bytes its pixmaps hold, and the number of clients the server has.

It speaks the X protocol itself over the local socket of $DISPLAY, so it needs
nothing beyond Python; the server must offer the X-Resource extension (Xvfb and
Xorg do) and accept the connection without authorisation (Xvfb -ac).
"""
import os
import socket
import struct
import sys


class XConnection:
    def __init__(self, display):
        number = display.split(":", 1)[1].split(".", 1)[0]
        self.sock = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
        self.sock.connect("/tmp/.X11-unix/X" + number)
        # Little-endian, protocol 11.0, no authorisation.
        self.sock.sendall(struct.pack("<BxHHHHxx", ord("l"), 11, 0, 0, 0))
        head = self._read(8)
        extra = self._read(struct.unpack_from("<H", head, 6)[0] * 4)
        if head[0] != 1:
            reason = extra[: head[1]].decode("latin-1", "replace")
            raise SystemExit("the X server refused the connection: " + reason)

    def _read(self, size):
        data = b""
        while len(data) < size:
            chunk = self.sock.recv(size - len(data))
            if not chunk:
                raise SystemExit("the X server closed the connection")
            data += chunk
        return data

    def request(self, payload):
        """Sends one request (its length field filled in) and returns its reply."""
        assert len(payload) % 4 == 0
        payload = payload[:2] + struct.pack("<H", len(payload) // 4) + payload[4:]
        self.sock.sendall(payload)
        while True:
            head = self._read(32)
            if head[0] == 0:
                raise SystemExit("X error %d on a request" % head[1])
            if head[0] == 1:
                return head + self._read(struct.unpack_from("<I", head, 4)[0] * 4)
            # An event: nothing here asked for any, skip it.

    def extension_opcode(self, name):
        raw = name.encode()
        pad = (4 - len(raw) % 4) % 4
        reply = self.request(struct.pack("<BxxxHxx", 98, len(raw)) + raw + b"\0" * pad)
        if not reply[8]:
            raise SystemExit("the X server has no %s extension" % name)
        return reply[9]

    def atom_name(self, atom):
        reply = self.request(struct.pack("<BxxxI", 17, atom))
        length = struct.unpack_from("<H", reply, 8)[0]
        return reply[32 : 32 + length].decode("latin-1")


def main():
    if len(sys.argv) != 2:
        raise SystemExit(__doc__)
    window = int(sys.argv[1], 0)
    x = XConnection(os.environ["DISPLAY"])
    res = x.extension_opcode("X-Resource")

    reply = x.request(struct.pack("<BBxx", res, 1))  # XResQueryClients
    count = struct.unpack_from("<I", reply, 8)[0]
    clients = [struct.unpack_from("<II", reply, 32 + 8 * i) for i in range(count)]
    owner = [base for base, mask in clients if window & ~mask == base]
    if not owner:
        raise SystemExit("no client owns window 0x%x" % window)

    reply = x.request(struct.pack("<BBxxI", res, 2, owner[0]))  # XResQueryClientResources
    types = struct.unpack_from("<I", reply, 8)[0]
    counts = {}
    for i in range(types):
        atom, n = struct.unpack_from("<II", reply, 32 + 8 * i)
        name = x.atom_name(atom).lower().replace(" ", "_")
        counts[name] = counts.get(name, 0) + n

    reply = x.request(struct.pack("<BBxxI", res, 3, owner[0]))  # XResQueryClientPixmapBytes
    low, high = struct.unpack_from("<II", reply, 8)
    fields = ["clients=%d" % count, "total=%d" % sum(counts.values())]
    fields += ["%s=%d" % item for item in sorted(counts.items())]
    fields.append("pixmap_bytes=%d" % (low + (high << 32)))
    print(" ".join(fields))


if __name__ == "__main__":
    main()
