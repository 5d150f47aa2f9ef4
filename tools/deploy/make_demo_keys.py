#!/usr/bin/env python3
"""Writes the demo deployment's three cipher keys as GBK files.

The keys are fixed texts of the lengths the programs expect: key 1 has 638 bytes
(487 characters), key 2 637 bytes (584 characters), both ASCII mixed with double-byte
GB2312 hanzi; key 3 has 637 ASCII bytes. A fixed seed makes every run write the same
bytes, so the committed files can be checked against this script:

    tools/deploy/make_demo_keys.py deploy/demo/keys
"""
import pathlib
import sys

SEED = 0x4B6F7276  # "Korv"
ASCII = [chr(c) for c in range(0x21, 0x7F)]  # printable, no blank, never a zero byte


class Lcg:
    def __init__(self, seed):
        self.state = seed

    def next(self, bound):
        self.state = (self.state * 1103515245 + 12345) % 2**31
        return self.state % bound


def hanzi(rng):
    # GB2312 level-1 hanzi: rows 0xB0..0xD7, cells 0xA1..0xFE (row 0xD7 ends at 0xF9).
    row = 0xB0 + rng.next(0xD7 - 0xB0)
    cell = 0xA1 + rng.next(0xFE - 0xA1 + 1)
    return bytes([row, cell]).decode("gbk")


def make_key(rng, byte_count, char_count):
    double = byte_count - char_count
    chars = [hanzi(rng) for _ in range(double)] + [ASCII[rng.next(len(ASCII))] for _ in range(char_count - double)]
    for i in range(len(chars) - 1, 0, -1):  # Fisher-Yates with the same generator
        j = rng.next(i + 1)
        chars[i], chars[j] = chars[j], chars[i]
    data = "".join(chars).encode("gbk")
    assert len(data) == byte_count and len(chars) == char_count and b"\0" not in data
    return data


def main():
    out = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else "deploy/demo/keys")
    out.mkdir(parents=True, exist_ok=True)
    rng = Lcg(SEED)
    for name, byte_count, char_count in (("key1", 638, 487), ("key2", 637, 584), ("key3", 637, 637)):
        (out / f"{name}.gbk").write_bytes(make_key(rng, byte_count, char_count))


if __name__ == "__main__":
    main()
