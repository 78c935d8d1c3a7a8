#!/usr/bin/env python3
"""A plain peer of `brivane-cli convert`, for the benchmark: the same conversion with the same
durability (backup first; each file written to a temporary name, flushed, renamed).
Usage: peer_convert.py TICS FILE..."""
import os
import struct
import sys


def replace(path, data):
    temporary = os.path.join(os.path.dirname(path) or ".", "." + os.path.basename(path) + ".peer-tmp")
    with open(temporary, "wb") as out:
        out.write(data)
        out.flush()
        os.fsync(out.fileno())
    os.rename(temporary, path)
    folder = os.open(os.path.dirname(path) or ".", os.O_RDONLY)
    os.fsync(folder)
    os.close(folder)


def convert(path, scale):
    with open(path, "rb") as song:
        data = song.read()
    if len(data) < 2 or data[0] != 0 or data[1] != 0 or len(data) > 65535:
        return
    replace(path + ".bak", data)
    # the length word counts whole records only
    out = bytearray(struct.pack("<H", len(data) - len(data) % 4) + data)
    for i in range(4, len(out) - 1, 4):  # delay fields sit at 2 + 4k + 2
        delay = out[i] | (out[i + 1] << 8)
        stored = min(round(delay * scale), 65535)  # round() takes halves to even
        out[i] = stored & 0xFF
        out[i + 1] = stored >> 8
    replace(path, bytes(out))


def main():
    tics = int(sys.argv[1])
    scale = struct.unpack("f", struct.pack("f", 700.0 / tics))[0]  # single precision, as the tool
    for path in sys.argv[2:]:
        convert(path, scale)


if __name__ == "__main__":
    main()
