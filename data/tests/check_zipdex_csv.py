#!/usr/bin/env python3
"""Checks zipdex.csv against divisions.csv and exceptions.csv beside it: the code rules of
divisions.py, and that the table holds each current division once, in province blocks.

Usage: check_zipdex_csv.py [path/to/zipdex.csv]; prints each fault and exits 1 if there is any."""

import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), os.pardir))
import divisions  # noqa: E402

# The mainland has about 2 850 county-level divisions; far fewer means a cut list.
MIN_COUNTY_ROWS = 2800


def faults(path):
    folder = os.path.dirname(os.path.abspath(path))
    rows = [[r["PROVINCE"], r["DC"], r["YZBM"], r["DHQH"]] for r in divisions.read_csv(path)]
    listed = divisions.read_divisions(folder)
    exceptions = divisions.read_exceptions(folder)
    prefecture_of = {(d["PROVINCE"], d["DC"]): d["PREFECTURE"] for d in listed}
    found = divisions.code_faults(rows, prefecture_of, exceptions)

    line_of = {}
    for line, (province, dc, _, _) in enumerate(rows, 2):
        if (province, dc) in line_of:
            found.append("line %d: %s %s again, first on line %d" % (line, province, dc, line_of[province, dc]))
        elif (province, dc) not in prefecture_of:
            found.append("line %d: %s %s is not a current division of divisions.csv" % (line, province, dc))
        line_of.setdefault((province, dc), line)

    omitted = {value for (kind, _, _), value in exceptions.items() if kind == "omit"}
    for code in sorted(omitted - {d["CODE"] for d in listed}):
        found.append("left-out code %s is no current division" % code)
    for d in listed:
        name = "division %s %s %s" % (d["CODE"], d["PROVINCE"], d["DC"])
        has_row = (d["PROVINCE"], d["DC"]) in line_of
        if has_row == (d["CODE"] in omitted):
            found.append(name + (" is listed as left out but has a row" if has_row
                                 else " has no row (list it in exceptions.csv if left out on purpose)"))
        if d["PREFECTURE"] and (d["PROVINCE"], d["PREFECTURE"]) not in line_of:
            found.append("%s: no row for its prefecture %s" % (name, d["PREFECTURE"]))
    counties = sum(1 for d in listed if not d["CODE"].endswith("00") and (d["PROVINCE"], d["DC"]) in line_of)
    if counties < MIN_COUNTY_ROWS:
        found.append("only %d county rows" % counties)

    firsts = [row[:2] for i, row in enumerate(rows) if i == 0 or rows[i - 1][0] != row[0]]
    blocks = [province for province, _ in firsts]
    if blocks != divisions.ORDER:
        found.append("province blocks are not one per province in the usual order: " + " ".join(blocks))
    for province, dc in firsts:
        if divisions.CAPITALS.get(province, dc) != dc:
            found.append("%s starts with %s, not its capital" % (province, dc))
    return found


def main(argv):
    path = argv[1] if len(argv) > 1 else os.path.join(divisions.HERE, "zipdex.csv")
    found = faults(path)
    sys.stderr.reconfigure(errors="backslashreplace")
    for fault in found:
        print("FAIL %s: %s" % (path, fault), file=sys.stderr)
    print("%s: %d fault(s)" % (path, len(found)), file=sys.stderr if found else sys.stdout)
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
