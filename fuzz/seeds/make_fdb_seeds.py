#!/usr/bin/env python3
"""Writes the seed bases of fuzz_fdb into fuzz/seeds/fdb/.

Each record: the byte 'R', a status byte, the record number (int32 LE), then
the name (length byte + 80 bytes, Windows-1251), 49 int32 LE weights, the
scale and the type (int32 LE), and two comment lines like the name: 453 bytes.
"""
import os
import struct

HERE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "fdb")


def text(s, fill=b"\0", length=None):
    raw = s.encode("cp1251") if isinstance(s, str) else s
    field = (raw + fill * 80)[:80]
    return bytes([len(raw) if length is None else length]) + field


def record(status, number, name, weights, scale, ftype, c1="", c2="", fill=b"\0", name_length=None):
    assert len(weights) == 49
    r = b"R" + bytes([status]) + struct.pack("<i", number)
    r += text(name, fill, name_length)
    r += struct.pack("<49i", *weights)
    r += struct.pack("<ii", scale, ftype)
    r += text(c1, fill) + text(c2, fill)
    assert len(r) == 453
    return r


def kernel(centre, ring=0):
    w = [0] * 49
    w[24] = centre
    for i in (17, 23, 25, 31):
        w[i] = ring
    return w


SEEDS = {
    "empty.fdb": b"",
    "one_working.fdb": record(1, 0, "Резкость", kernel(5, -1), 1, 2, "узкий", "Н3"),
    "deleted_between.fdb": record(1, 0, "Сглаживание", kernel(2, 1), 6, 1)
    + record(0, 1, "удалена", kernel(1), 1, 0, fill=b"\x33")
    + record(1, 2, "Специальный", kernel(-4, 2), 4, 3, "", "вторая строка"),
    # A name over the remnants of a longer one, and a damaged length byte.
    "remnants_and_bad_length.fdb": record(1, 0, "Ab", kernel(1), 1, 0, fill=b"z")
    + record(1, 1, b"x" * 80, kernel(9, -2), 1, 0, name_length=255),
    # Two records and 94 bytes of a third; numbers that do not match positions.
    "partial_tail.fdb": record(1, 7, "семь", kernel(3), 3, 0) + record(2, -1, "?", kernel(1), 0, 9) + b"\x52" * 94,
}

if __name__ == "__main__":
    os.makedirs(HERE, exist_ok=True)
    for name, data in SEEDS.items():
        with open(os.path.join(HERE, name), "wb") as f:
            f.write(data)
