"""Writes the upper halves (bytes 0x80-0xFF) of the Windows single-byte code pages as C++
source to the file named.

Python's codecs give the characters. Bytes a codec leaves unassigned read as Windows reads
them: those in 0x80-0x9F as the C1 control of the same number, the rest as the characters
Windows gives them (mostly private-use code points); 0 stands for none.
"""
import sys

from codetable import write_source

CODE_PAGES = [874, 1250, 1251, 1252, 1253, 1254, 1255, 1256, 1257, 1258]

# Bytes outside 0x80-0x9F that Python's codecs leave unassigned, as Windows reads them.
WINDOWS_ONLY = {
    874: {0xDB: 0xF8C1, 0xDC: 0xF8C2, 0xDD: 0xF8C3, 0xDE: 0xF8C4,
          0xFC: 0xF8C5, 0xFD: 0xF8C6, 0xFE: 0xF8C7, 0xFF: 0xF8C8},
    1253: {0xAA: 0xF8F9, 0xD2: 0xF8FA, 0xFF: 0xF8FB},
    1255: {0xCA: 0x05BA, 0xD9: 0xF88D, 0xDA: 0xF88E, 0xDB: 0xF88F, 0xDC: 0xF890, 0xDD: 0xF891,
           0xDE: 0xF892, 0xDF: 0xF893, 0xFB: 0xF894, 0xFC: 0xF895, 0xFF: 0xF896},
    1257: {0xA1: 0xF8FC, 0xA5: 0xF8FD},
}


def character(code_page, byte):
    try:
        text = bytes((byte,)).decode("cp%d" % code_page)
    except UnicodeDecodeError:
        if byte < 0xA0:
            return byte
        return WINDOWS_ONLY.get(code_page, {}).get(byte, 0)
    return ord(text)


def main(output):
    blocks = [("{%d, {" % code_page, "}},",
               [character(code_page, byte) for byte in range(0x80, 0x100)])
              for code_page in CODE_PAGES]
    write_source(output, "SingleByteCodePages.h",
                 "const SingleByteCodePage singleByteCodePages[%d]" % len(CODE_PAGES), blocks)


if __name__ == "__main__":
    main(sys.argv[1])
