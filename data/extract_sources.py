#!/usr/bin/env python3
"""Write the extracts of the independent sources in data/sources/, one row per division of
divisions.csv that a source has: CODE (ours), NAME (the source's own), YZBM and DHQH (empty where
the source has none). Only the sources given on the command line are rewritten.

Usage: extract_sources.py [--region REGION_CSV] [--cnarea CNAREA_ZIP] [--libphonenumber 86_TXT]
                          [--phonedata PHONE_DAT] [--spacesless POSTALCODE_JS] [--reference DIR]

  * REGION_CSV: resource/region.csv of github.com/sfyc23/China-zip-code-latitude-and-longitude;
  * CNAREA_ZIP: 中国3级行政区域mysql库/cnarea_2023_三级数据.zip of
    github.com/kakuilan/china_area_mysql, matched by division code;
  * 86_TXT: resources/geocoding/zh/86.txt of github.com/google/libphonenumber, its fixed-line
    prefixes (area code -> the places dialled with it);
  * PHONE_DAT: phone.dat of github.com/xluohome/phonedata, its records of province, city, postal
    code and area code (the mobile number index is not read);
  * POSTALCODE_JS: mongodb/postalcode.js of github.com/Spacesless/api;
  * DIR: the reference compilation, read for the former names only, never for a code.

The sources without division codes are matched by name. A county list (REGION_CSV,
POSTALCODE_JS): the current name, then the name the reference compilation gave the division
(renamed ones), then the name without its suffix (文登市 for 文登区). A list of places by short
name (86_TXT, PHONE_DAT): the one prefecture of the province whose name starts with it, else the
one county-level division whose name without suffix it is.
"""

import argparse
import os
import re
import struct
import zipfile

from divisions import HERE, ORDER, read_csv, read_divisions, write_csv
from prepare_zipdex import COUNTY_SUFFIXES, PREFECTURE_SUFFIXES, stem

SOURCES = os.path.join(HERE, "sources")
HEADER = ["CODE", "NAME", "YZBM", "DHQH"]
SUFFIXES = {False: COUNTY_SUFFIXES, True: PREFECTURE_SUFFIXES}
# The member with six-digit division codes; the archive stores its name in GBK.
CNAREA_MEMBER = "只取 6 位"
CNAREA_ROW = re.compile(r"VALUES \((\d), (\d+), (\d+), (\d+), '(\d*)', '([^']*)'")
SPACESLESS_ROW = re.compile(r'area: "([^"]*)",\s*areaCode: "([^"]*)",\s*city: "([^"]*)",\s*'
                            r'postCode: "([^"]*)",\s*province: "([^"]*)"')
# Names of a short-name list that mean something other than the division they would match:
# 江汉 in phone.dat is the 江汉 oil field around 潜江 (0728), not 武汉's 江汉区 (027).
NOT_DIVISIONS = {("湖北省", "江汉")}
# 86.txt still has 襄阳 under its name before 2010, and misspells 株洲.
FORMER_PREFECTURES = {"襄樊": "襄阳", "株州": "株洲"}


def own_name(division):
    return division["DC"][len(division["PREFECTURE"]):]


def codes(postal, area):
    """The source's codes as the extracts hold them: zeros, which stand for "unknown", left out;
    postal codes that lost their leading zeros (phone.dat: 71000) given them back."""
    return [postal.zfill(6) if postal.strip("0") else "", area if area.strip("0") else ""]


def province_of(text):
    """Our province and the rest of a text that starts with a province's name, whole or short
    (山东, 内蒙古, 广西); (None, text) if none."""
    for province in ORDER:
        short = province[:3] if province.startswith(("内蒙古", "黑龙江")) else province[:2]
        for name in (province, short):
            if text.startswith(name):
                return province, text[len(name):]
    return None, text


def former_names(reference_dir):
    """Division code -> name in the reference compilation, for the rows renamed since."""
    names = {r["division_code"]: r["county"]
             for r in read_csv(os.path.join(reference_dir, "counties-reference.csv"))}
    for r in read_csv(os.path.join(HERE, "corrections.csv")):
        if r["REFERENCE"]:
            names[r["CODE"]] = names[r["REFERENCE"]]
    return names


def match_county_list(divisions, rows, reference_dir):
    """rows: dicts of province, city, county, postal, area; a prefecture's row names it twice."""
    by_name, by_stem = {}, {}
    for r in rows:
        prefecture = r["county"] == r["city"]
        by_name.setdefault((r["province"], prefecture, r["county"]), []).append(r)
        by_stem.setdefault((r["province"], prefecture, stem(r["county"], SUFFIXES[prefecture])), []).append(r)
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
        keys = ((by_name, name), (by_name, former.get(d["CODE"])), (by_stem, stem(name, SUFFIXES[is_prefecture])))
        for index, key in keys:
            found = pick(index.get((d["PROVINCE"], is_prefecture, key), []), d)
            if found:
                yield [d["CODE"], found["city"] + found["county"]] + codes(found["postal"], found["area"])
                break


def match_short_names(divisions, places):
    """places: (province as the source writes it, place name, postal, area). A division named
    by several places keeps the one with its own name, or else the values they all give."""
    in_province = {}
    for d in divisions:
        in_province.setdefault(d["PROVINCE"], []).append(d)
    named = {}
    for province, name, postal, area in places:
        province = province_of(province)[0]
        short = stem(name, PREFECTURE_SUFFIXES)
        short = FORMER_PREFECTURES.get(short, short)
        if not province or not short or (province, short) in NOT_DIVISIONS:
            continue
        listed = in_province[province]
        found = [d for d in listed if d["CODE"].endswith("00") and d["DC"].startswith(short)]
        if not found:
            found = [d for d in listed if not d["CODE"].endswith("00") and stem(own_name(d)) == stem(name)]
        if len(found) == 1:
            named.setdefault(found[0]["CODE"], []).append([name] + codes(postal, area))
    for d in divisions:
        rows = named.get(d["CODE"])
        if not rows:
            continue
        rows = [r for r in rows if r[0] == own_name(d)][:1] or rows
        values = [rows[0][i] if all(r[i] == rows[0][i] for r in rows) else "" for i in (1, 2)]
        if any(values):
            yield [d["CODE"], rows[0][0]] + values


def read_region(path):
    return [dict(r, postal=r["zipCode"], area="") for r in read_csv(path)]


def read_spacesless(path):
    with open(path, encoding="utf-8") as f:
        text = f.read()
    return [{"province": province, "city": city, "county": county, "postal": postal, "area": area}
            for county, area, city, postal, province in SPACESLESS_ROW.findall(text)]


def read_libphonenumber(path):
    """86.txt: "86" + area code without its 0 | province and the places, split by 、. Mobile
    prefixes (861...) are left aside, and so are the prefixes shorter than an area code (8633
    for 0335, the one code of 033x), which give no whole code."""
    places = []
    with open(path, encoding="utf-8") as f:
        for line in f:
            m = re.fullmatch(r"86(10|2\d|[3-9]\d\d)\|(.+)", line.strip())
            if not m:
                continue
            province, names = province_of(m.group(2))
            if province:
                places += [(province, name, "", "0" + m.group(1)) for name in names.split("、")]
    # A place dialled with several codes (铁岭: 024 and 0410) has no one code in this source.
    dialled = {}
    for province, name, _, area in places:
        dialled.setdefault((province, name), set()).add(area)
    return [p for p in places if len(dialled[p[0], p[1]]) == 1]


def read_phonedata(path):
    """phone.dat: version (4 bytes), offset of the index (4 bytes, little-endian), then the
    records "province|city|postal|area", each ended by a zero byte."""
    with open(path, "rb") as f:
        data = f.read()
    index = struct.unpack("<i", data[4:8])[0]
    records = [tuple(record.decode("utf-8").split("|")) for record in data[8:index].split(b"\0")]
    return [record for record in records if len(record) == 4]


def read_cnarea(path):
    with zipfile.ZipFile(path) as archive:
        member = next(i for i in archive.infolist()
                      if CNAREA_MEMBER in i.filename.encode("cp437").decode("gbk"))
        text = archive.read(member).decode("utf-8")
    return {m.group(3): m.groups() for m in map(CNAREA_ROW.search, text.splitlines()) if m}


def match_cnarea(divisions, rows):
    for d in divisions:
        row = rows.get(d["CODE"])
        if row and any(codes(row[3], row[4])):
            yield [d["CODE"], row[5]] + codes(row[3], row[4])


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--region")
    parser.add_argument("--cnarea")
    parser.add_argument("--libphonenumber")
    parser.add_argument("--phonedata")
    parser.add_argument("--spacesless")
    parser.add_argument("--reference", default=os.path.join(HERE, os.pardir, os.pardir, "shared", "data"))
    args = parser.parse_args()
    divisions = read_divisions()
    extracts = {
        "region": ("region-sfyc23", lambda path: match_county_list(divisions, read_region(path), args.reference)),
        "cnarea": ("cnarea-2023", lambda path: match_cnarea(divisions, read_cnarea(path))),
        "libphonenumber": ("libphonenumber", lambda path: match_short_names(divisions, read_libphonenumber(path))),
        "phonedata": ("phonedata-xluohome", lambda path: match_short_names(divisions, read_phonedata(path))),
        "spacesless": ("postalcode-spacesless",
                       lambda path: match_county_list(divisions, read_spacesless(path), args.reference)),
    }
    os.makedirs(SOURCES, exist_ok=True)
    for option, (name, extract) in extracts.items():
        path = getattr(args, option)
        if path:
            write_csv(os.path.join(SOURCES, name + ".csv"), HEADER, extract(path))


if __name__ == "__main__":
    main()
