"""Checks the resource ids of each program: one naming scheme, and no two resources of a kind
(dialog templates, icons, bitmaps, the controls of one template) sharing a number.

Usage: check_resource_ids.py PROGRAM=HEADER[@PART],HEADER[@PART] ...
A header's ids are read from its #define lines; with @PART only the names containing PART
(one template among several in a shared header). Exits 1 and names each clash.
"""
import re
import sys

NAME = re.compile(r"^(IDD|IDI|IDB|IDC)_[A-Z][A-Z0-9]*(_[A-Z0-9]+)*$")
DEFINE = re.compile(r"^\s*#define\s+(ID[A-Z]*_\w+)\s+(\d+)\s*$")


def read_ids(header, part):
    with open(header, encoding="utf-8") as source:
        for line in source:
            match = DEFINE.match(line)
            if match and (part is None or part in match.group(1)):
                yield match.group(1), int(match.group(2))


def check(program, headers):
    faults = []
    resources = {}
    for entry in headers.split(","):
        header, _, part = entry.partition("@")
        controls = {}
        for name, value in read_ids(header, part or None):
            if not NAME.match(name):
                faults.append(f"{program}: {name} does not follow IDD_/IDI_/IDB_/IDC_KIND_NAME")
            kind = name[:3]
            # Controls share numbers only across templates; resources across kinds.
            seen = controls if kind == "IDC" else resources.setdefault(kind, {})
            if value in seen:
                faults.append(f"{program}: {name} and {seen[value]} are both {value}")
            seen[value] = name
    return faults


def main(arguments):
    faults = []
    for argument in arguments:
        program, _, headers = argument.partition("=")
        faults += check(program, headers)
    for fault in faults:
        print(fault)
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
