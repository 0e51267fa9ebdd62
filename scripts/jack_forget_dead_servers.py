#!/usr/bin/env python3
"""Frees the places of dead JACK servers in JACK's shared-memory registry.

JACK keeps at most eight servers in /dev/shm/jack-shm-registry and frees a
place only when a server of the same name starts again. A server that was
killed leaves its place taken, and after eight of those no server starts
("Too many servers already active"). This clears every place whose process
is gone and leaves running servers alone.
"""
import os
import struct
import sys

REGISTRY = "/dev/shm/jack-shm-registry"
MAGIC = 0x4A41434B  # "JACK"
MAX_SERVERS = 8
HEADER = struct.Struct("<IHxxiiii")  # magic, protocol, type, size, header length, entry length


def alive(pid):
    try:
        os.kill(pid, 0)
    except ProcessLookupError:
        return False
    except PermissionError:
        return True
    return True


def main():
    try:
        registry = open(REGISTRY, "r+b")
    except OSError:
        return 0
    with registry:
        data = bytearray(registry.read())
        if len(data) < HEADER.size:
            return 0
        magic, _, _, _, header_length, _ = HEADER.unpack_from(data, 0)
        slot = (header_length - HEADER.size) // MAX_SERVERS
        if magic != MAGIC or slot < 8 or header_length > len(data):
            print("jack registry: unknown layout, left as it is", file=sys.stderr)
            return 0
        for i in range(MAX_SERVERS):
            offset = HEADER.size + i * slot
            (pid,) = struct.unpack_from("<i", data, offset)
            if pid > 0 and not alive(pid):
                registry.seek(offset)
                registry.write(bytes(slot))
    return 0


if __name__ == "__main__":
    sys.exit(main())
