#!/usr/bin/env python3
"""Write the extracts of the independent sources in data/sources/, one row per division of
divisions.csv that the source has: CODE (ours), NAME (the source's own), YZBM and, where the
source has them, DHQH.

Usage: extract_sources.py --region REGION_CSV --cnarea CNAREA_ZIP [--reference DIR]

  * REGION_CSV: resource/region.csv of github.com/sfyc23/China-zip-code-latitude-and-longitude,
    names without division codes, so rows are matched by name: the current name, then the
    name the reference compilation gave the division (renamed ones), then the name without
    its suffix (文登市 for 文登区);
  * CNAREA_ZIP: 中国3级行政区域mysql库/cnarea_2023_三级数据.zip of
    github.com/kakuilan/china_area_mysql, matched by division code;
  * DIR: the reference compilation, read for the former names only, never for a code.
"""

import argparse
import os
import re
import zipfile

from divisions import HERE, read_csv, read_divisions, write_csv
from prepare_zipdex import PREFECTURE_SUFFIXES, stem

SOURCES = os.path.join(HERE, "sources")
# The member with six-digit division codes; the archive stores its name in GBK.
CNAREA_MEMBER = "只取 6 位"
CNAREA_ROW = re.compile(r"VALUES \((\d), (\d+), (\d+), (\d+), '(\d*)', '([^']*)'")


def own_name(division):
    return division["DC"][len(division["PREFECTURE"]):]


def former_names(reference_dir):
    """Division code -> name in the reference compilation, for the rows renamed since."""
    names = {r["division_code"]: r["county"]
             for r in read_csv(os.path.join(reference_dir, "counties-reference.csv"))}
    for r in read_csv(os.path.join(HERE, "corrections.csv")):
        if r["REFERENCE"]:
            names[r["CODE"]] = names[r["REFERENCE"]]
    return names


def match_region(divisions, region_csv, reference_dir):
    rows = read_csv(region_csv)
    by_name, by_stem = {}, {}
    for r in rows:
        prefecture = r["county"] == r["city"]
        by_name.setdefault((r["province"], prefecture, r["county"]), []).append(r)
        by_stem.setdefault((r["province"], prefecture, stem(r["county"])), []).append(r)
    former = former_names(reference_dir)

    def pick(found, division):
        # Two counties of one name in a province: the one whose prefecture has ours' stem.
        prefecture = stem(division["PREFECTURE"], PREFECTURE_SUFFIXES)
        if len(found) > 1:
            found = [r for r in found if stem(r["city"], PREFECTURE_SUFFIXES) == prefecture]
        return found[0] if len(found) == 1 else None

    for d in divisions:
        is_prefecture = d["CODE"].endswith("00")
        name = own_name(d)
        for index, key in ((by_name, name), (by_name, former.get(d["CODE"])), (by_stem, stem(name))):
            found = pick(index.get((d["PROVINCE"], is_prefecture, key), []), d)
            if found:
                yield [d["CODE"], found["city"] + found["county"], found["zipCode"]]
                break


def match_cnarea(divisions, cnarea_zip):
    with zipfile.ZipFile(cnarea_zip) as archive:
        member = next(i for i in archive.infolist()
                      if CNAREA_MEMBER in i.filename.encode("cp437").decode("gbk"))
        text = archive.read(member).decode("utf-8")
    rows = {m.group(3): m.groups() for m in map(CNAREA_ROW.search, text.splitlines()) if m}
    for d in divisions:
        row = rows.get(d["CODE"])
        # Zeros stand for "unknown" in this source.
        if row and int(row[3]):
            yield [d["CODE"], row[5], row[3].zfill(6), row[4] if int(row[4] or 0) else ""]


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--region", required=True)
    parser.add_argument("--cnarea", required=True)
    parser.add_argument("--reference", default=os.path.join(HERE, os.pardir, os.pardir, "shared", "data"))
    args = parser.parse_args()
    divisions = read_divisions()
    os.makedirs(SOURCES, exist_ok=True)
    write_csv(os.path.join(SOURCES, "region-sfyc23.csv"), ["CODE", "NAME", "YZBM"],
              match_region(divisions, args.region, args.reference))
    write_csv(os.path.join(SOURCES, "cnarea-2023.csv"), ["CODE", "NAME", "YZBM", "DHQH"],
              match_cnarea(divisions, args.cnarea))


if __name__ == "__main__":
    main()
