"""Writes the code page 936 (GBK) double-byte table as C++ source to the file named.

Lead bytes 0x81-0xFE, trail bytes 0x40-0xFE; 0 where the pair is unassigned. Python's GBK
codec gives the characters; the Windows code page also gives the pairs that GBK leaves to
users and the unassigned pairs among the symbols, private-use code points in blocks of byte
order, and so does this table.
"""
import sys

from codetable import write_source

TRAILS = [trail for trail in range(0x40, 0xFF) if trail != 0x7F]


def gbk(lead, trail):
    try:
        text = bytes((lead, trail)).decode("gbk")
    except UnicodeDecodeError:
        return 0
    return ord(text) if len(text) == 1 else 0


def private_use_blocks():
    """Pairs in byte order with the private-use code point the first free one gets."""
    return [
        ([(lead, t) for lead in range(0xAA, 0xB0) for t in range(0xA1, 0xFF)], 0xE000),
        ([(lead, t) for lead in range(0xF8, 0xFF) for t in range(0xA1, 0xFF)], 0xE234),
        ([(lead, t) for lead in range(0xA1, 0xA8) for t in TRAILS if t <= 0xA0], 0xE4C6),
        ([(lead, t) for lead in range(0xA1, 0xAA) for t in TRAILS]
         + [(0xD7, t) for t in range(0xFA, 0xFF)]
         + [(0xFE, t) for t in TRAILS if 0x50 <= t <= 0xA0], 0xE766),
    ]


def table():
    codes = {(lead, t): gbk(lead, t) for lead in range(0x81, 0xFF) for t in range(0x40, 0xFF)}
    for pairs, first in private_use_blocks():
        for pair in pairs:
            if codes[pair] == 0:
                codes[pair] = first
                first += 1
    return codes


def main(output):
    codes = table()
    blocks = [("{", "},", [codes[(lead, t)] for t in range(0x40, 0xFF)])
              for lead in range(0x81, 0xFF)]
    write_source(output, "CodePage936.h", "const std::uint16_t codePage936[126][191]", blocks)


if __name__ == "__main__":
    main(sys.argv[1])
