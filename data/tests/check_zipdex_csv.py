#!/usr/bin/env python3
"""Checks zipdex.csv against divisions.csv and exceptions.csv beside it: the code rules of
divisions.py, that the table holds each current division once, in province blocks, and that no
code is contradicted by two of the independent sources in sources/ unless corrections.csv or
exceptions.csv answers for it.

Usage: check_zipdex_csv.py [path/to/zipdex.csv]; prints each fault and exits 1 if there is any."""

import collections
import glob
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), os.pardir))
import divisions  # noqa: E402

# The mainland has about 2 850 county-level divisions; far fewer means a cut list.
MIN_COUNTY_ROWS = 2800
# Compared with the sources: a postal code by its zone, the first four digits (the last two name
# a delivery office, where a prefecture's general code and a specific one differ); an area code
# whole, as it has at most four digits.
COMPARED = (("YZBM", "postal"), ("DHQH", "area"))
# A source that repeats the table's (the reference's) or another source's postal codes on nearly
# every row is a copy, not a second opinion.
COPY_SHARE = 0.95
COUNTED = ("checked", "agreeing", "differing in the last two digits", "corrected", "kept with a reason",
           "differing from one source")


def read_sources(folder):
    """Source name -> division code -> its row, from sources/*.csv."""
    return {os.path.splitext(os.path.basename(path))[0]: {r["CODE"]: r for r in divisions.read_csv(path)}
            for path in sorted(glob.glob(os.path.join(folder, "sources", "*.csv")))}


def copy_faults(table, sources):
    found = []
    named = [("the table", table)] + sorted(sources.items())
    for i, (name, codes) in enumerate(named):
        for other, other_codes in named[i + 1:]:
            common = [code for code in codes if code in other_codes]
            same = sum(codes[code]["YZBM"] == other_codes[code]["YZBM"] for code in common)
            if common and same > COPY_SHARE * len(common):
                found.append("source %s repeats %s's postal codes on %d of %d rows: no independent source"
                             % (other, name, same, len(common)))
    return found


def source_faults(table, where, sources, corrections, exceptions):
    """Faults of the table's rows (division code -> row) against the sources, and what the
    comparison counted."""
    found = []
    counts = collections.Counter()
    used = set()
    for code, row in table.items():
        province, dc = where[code]
        for field, kind in COMPARED:
            ours = row[field][:4]
            full = {name: rows[code][field] for name, rows in sources.items() if rows.get(code, {}).get(field)}
            theirs = {name: value[:4] for name, value in full.items()}
            corrected = corrections.get(code, {}).get(field)
            if corrected and corrected != row[field]:
                found.append("%s %s: %s is %s, corrections.csv gives %s" % (province, dc, field, row[field], corrected))
            cited = corrections[code]["SOURCES"].split() if corrected else []
            for name in cited:
                if theirs.get(name) != corrected[:4]:
                    found.append("%s %s: the correction of %s cites %s, which gives %s"
                                 % (province, dc, field, name, full.get(name, "nothing")))
            counts[kind, "corrected"] += bool(cited)
            if not theirs:
                continue
            counts[kind, "checked"] += 1
            value, votes = collections.Counter(theirs.values()).most_common(1)[0]
            kept = ("kept-" + kind, province, dc)
            if votes >= 2 and value != ours:
                if exceptions.get(kept) == value:
                    counts[kind, "kept with a reason"] += 1
                    used.add(kept)
                else:
                    found.append("%s %s: %s %s is contradicted by %s (%s); correct it in corrections.csv "
                                 "or keep it with a reason in exceptions.csv" % (
                                     province, dc, field, row[field],
                                     " and ".join(sorted(n for n, v in theirs.items() if v == value)), value))
            elif set(theirs.values()) == {ours}:
                counts[kind, "agreeing"] += 1
                if set(full.values()) != {row[field]}:
                    counts[kind, "differing in the last two digits"] += 1
            else:
                counts[kind, "differing from one source"] += 1
    for kind, province, dc in sorted(key for key in exceptions if key[0].startswith("kept-") and key not in used):
        found.append("exception %s for %s %s: no two sources contradict it, or no such row" % (kind, province, dc))
    return found, counts


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
    by_place = {(r["PROVINCE"], r["DC"]): r for r in divisions.read_csv(path)}
    table = {d["CODE"]: by_place[d["PROVINCE"], d["DC"]] for d in listed if (d["PROVINCE"], d["DC"]) in by_place}
    where = {d["CODE"]: (d["PROVINCE"], d["DC"]) for d in listed}
    sources = read_sources(folder)
    corrections = {r["CODE"]: r for r in divisions.read_csv(os.path.join(folder, "corrections.csv"))}
    found += copy_faults(table, sources)
    compared, counts = source_faults(table, where, sources, corrections, exceptions)
    found += compared

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
    return found, counts


def main(argv):
    path = argv[1] if len(argv) > 1 else os.path.join(divisions.HERE, "zipdex.csv")
    found, counts = faults(path)
    sys.stderr.reconfigure(errors="backslashreplace")
    for fault in found:
        print("FAIL %s: %s" % (path, fault), file=sys.stderr)
    for kind in ("postal", "area"):
        print("%s codes: %s" % (kind, ", ".join("%d %s" % (counts[kind, what], what)
                                               for what in COUNTED if counts[kind, what])))
    print("%s: %d fault(s)" % (path, len(found)), file=sys.stderr if found else sys.stdout)
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
