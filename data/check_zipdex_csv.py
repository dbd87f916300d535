#!/usr/bin/env python3
"""Checks zipdex.csv against divisions.csv and exceptions.csv beside it: the code rules of
divisions.py, that the table holds each current division once, in province blocks, and that no
code is contradicted by two of the independent sources in sources/ unless corrections.csv or
exceptions.csv answers for it.

Usage: check_zipdex_csv.py [path/to/zipdex.csv]; prints each fault and exits 1 if there is any."""

import collections
import os
import sys

import divisions

# The mainland has about 2 850 county-level divisions; far fewer means a cut list.
MIN_COUNTY_ROWS = 2800
# Compared with the sources: a postal code by its zone, the first four digits (the last two name
# a delivery office, where a prefecture's general code and a specific one differ); an area code
# whole, as it has at most four digits.
COMPARED = (("YZBM", "postal"), ("DHQH", "area"))
# A source is a copy of the table or of another source when it never differs from it on the many
# rows both have, or when it gives every one of its many counties its prefecture's code (a
# prefecture table spread over the counties). A few rows prove nothing either way.
COPY_ROWS = 100
COUNTED = ("checked", "agreeing", "differing in the last two digits", "corrected", "kept with a reason",
           "differing from one source")
PER_SOURCE = ("checked", "agreeing", "of its own")


def values(rows, field):
    return {code: r[field] for code, r in rows.items() if r.get(field)}


def before_corrections(table, corrections):
    """The table with the reference's values back where corrections.csv gives the OLD one."""
    reference = {}
    for code, row in table.items():
        correction = corrections.get(code, {})
        field = "YZBM" if correction.get("YZBM") else "DHQH"
        reference[code] = dict(row, **{field: correction["OLD"]}) if correction.get("OLD") else row
    return reference


def copy_faults(table, reference, sources, origins):
    have = {(name, field) for name, rows in sources.items() for field, _ in COMPARED if values(rows, field)}
    found = ["sources.csv names %s %s, which sources/ does not have" % key for key in sorted(set(origins) - have)]
    named = [("the table", table), ("the reference", reference)] + sorted(sources.items())
    for field, kind in COMPARED:
        for i, (name, rows) in enumerate(named[2:], 2):
            codes = values(rows, field)
            if (name, field) not in have or origins.get((name, field), {}).get("COPY_OF"):
                continue
            if (name, field) not in origins:
                found.append("source %s: sources.csv does not say where its %s codes come from" % (name, kind))
            for other, other_rows in named[:i]:
                theirs = values(other_rows, field)
                shared = [code for code in codes if code in theirs]
                if len(shared) >= COPY_ROWS and all(codes[code] == theirs[code] for code in shared):
                    found.append("source %s repeats %s's %s codes on all %d rows both have: a copy, "
                                 "name it in sources.csv" % (name, other, kind, len(shared)))
            counties = [code for code in codes if not code.endswith("00") and code[:4] + "00" in codes]
            if len(counties) >= COPY_ROWS and all(codes[code] == codes[code[:4] + "00"] for code in counties):
                found.append("source %s gives each of its %d counties its prefecture's %s code: a copy of a "
                             "prefecture table, name it in sources.csv" % (name, len(counties), kind))
    return found


def source_faults(table, where, sources, origins, corrections, exceptions):
    """Faults of the table's rows (division code -> row) against the sources that are no copies,
    and what the comparison counted."""
    found = []
    counts = collections.Counter()
    used = set()
    # Two extracts of one origin are one voice; a copy is none.
    voices = {key: r["ORIGIN"] for key, r in origins.items() if not r["COPY_OF"]}
    for code, row in table.items():
        province, dc = where[code]
        for field, kind in COMPARED:
            ours = row[field][:4]
            full = {name: rows[code][field] for name, rows in sources.items()
                    if rows.get(code, {}).get(field) and (name, field) in voices}
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
            for name, value in theirs.items():
                counts[name, kind, "checked"] += 1
                counts[name, kind, "agreeing"] += value == ours
                counts[name, kind, "of its own"] += list(theirs.values()).count(value) == 1 and value != ours
            if not theirs:
                continue
            counts[kind, "checked"] += 1
            against = collections.defaultdict(set)
            for name, value in theirs.items():
                if value != ours:
                    against[value].add(voices[name, field])
            value = max(against, key=lambda v: len(against[v]), default=None)
            kept = ("kept-" + kind, province, dc)
            if value and len(against[value]) >= 2:
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
    sources, origins = divisions.read_sources(folder)
    corrections = {r["CODE"]: r for r in divisions.read_csv(os.path.join(folder, "corrections.csv"))}
    found += copy_faults(table, before_corrections(table, corrections), sources, origins)
    compared, counts = source_faults(table, where, sources, origins, corrections, exceptions)
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
        for name in sorted({key[0] for key in counts if key[1:] == (kind, "checked")}):
            print("  %s: %s" % (name, ", ".join("%d %s" % (counts[name, kind, what], what) for what in PER_SOURCE)))
    print("%s: %d fault(s)" % (path, len(found)), file=sys.stderr if found else sys.stdout)
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
