#!/usr/bin/env python3
"""Validate data/zipdex.csv, the source table of postal codes and telephone area codes.

Usage: check_zipdex_csv.py [path/to/zipdex.csv]

Beside the table lie divisions.csv (the current county- and prefecture-level
divisions with the DC that stands for each) and exceptions.csv (real
departures from a county's prefecture, and divisions deliberately left out).

Prints every fault found and exits 1 if there is any, 0 otherwise.
Python 3 standard library only.

File format:
  * UTF-8 without BOM, LF line ends (no CR anywhere), final line ended by LF,
    no blank lines;
  * RFC 4180 CSV with quoting only where needed (the file must be byte-identical
    to what csv.writer with QUOTE_MINIMAL writes back);
  * header exactly PROVINCE,DC,YZBM,DHQH, then 4 non-empty fields per row.

Content:
  * PROVINCE is the full name of a province-level division (see PROVINCES);
    Hong Kong, Macao and Taiwan are known names but have no mainland postal
    code or 0-prefixed domestic area code, so rows for them are rejected;
  * YZBM is exactly 6 ASCII digits; a row without a prefecture has a code
    whose first two digits belong to the province (POSTAL_PREFIXES), a county
    row one in its prefecture's two-digit zone, unless exceptions.csv names
    the zone it uses instead;
  * DHQH matches ^0\\d{2,3}$ and fits the province's area-code ranges
    (AREA_CODES); one area code never spans two provinces; a county row has
    its prefecture's area code unless exceptions.csv names its own;
  * no duplicate (PROVINCE, DC);
  * each province forms one contiguous block, blocks follow the conventional
    administrative order, and all 31 mainland divisions are present;
  * in each province (not the four municipalities) the capital comes first;
  * every division of divisions.csv has its row or is listed as left out,
    every row is such a division, and every exception is still needed.
"""

import csv
import io
import os
import re
import sys

HEADER = ["PROVINCE", "DC", "YZBM", "DHQH"]

# Conventional administrative order.
PROVINCES = [
    "北京市", "天津市", "河北省", "山西省", "内蒙古自治区",
    "辽宁省", "吉林省", "黑龙江省",
    "上海市", "江苏省", "浙江省", "安徽省", "福建省", "江西省", "山东省",
    "河南省", "湖北省", "湖南省", "广东省", "广西壮族自治区", "海南省",
    "重庆市", "四川省", "贵州省", "云南省", "西藏自治区",
    "陕西省", "甘肃省", "青海省", "宁夏回族自治区", "新疆维吾尔自治区",
    "台湾省", "香港特别行政区", "澳门特别行政区",
]
MAINLAND = PROVINCES[:31]
NO_MAINLAND_CODES = set(PROVINCES[31:])
MUNICIPALITIES = {"北京市", "天津市", "上海市", "重庆市"}

CAPITALS = {
    "河北省": "石家庄市", "山西省": "太原市", "内蒙古自治区": "呼和浩特市",
    "辽宁省": "沈阳市", "吉林省": "长春市", "黑龙江省": "哈尔滨市",
    "江苏省": "南京市", "浙江省": "杭州市", "安徽省": "合肥市",
    "福建省": "福州市", "江西省": "南昌市", "山东省": "济南市",
    "河南省": "郑州市", "湖北省": "武汉市", "湖南省": "长沙市",
    "广东省": "广州市", "广西壮族自治区": "南宁市", "海南省": "海口市",
    "四川省": "成都市", "贵州省": "贵阳市", "云南省": "昆明市",
    "西藏自治区": "拉萨市", "陕西省": "西安市", "甘肃省": "兰州市",
    "青海省": "西宁市", "宁夏回族自治区": "银川市",
    "新疆维吾尔自治区": "乌鲁木齐市",
}

# First two digits of the postal codes of each province.
# Note 四川 also uses 63 (南充 637, 达州 635, 巴中 636, 广安 638) and
# 西藏 also uses 86 (林芝 860).
POSTAL_PREFIXES = {
    "北京市": {"10"},
    "天津市": {"30"},
    "河北省": {"05", "06", "07"},
    "山西省": {"03", "04"},
    "内蒙古自治区": {"01", "02"},
    "辽宁省": {"11", "12"},
    "吉林省": {"13"},
    "黑龙江省": {"15", "16"},
    "上海市": {"20"},
    "江苏省": {"21", "22"},
    "浙江省": {"31", "32"},
    "安徽省": {"23", "24"},
    "福建省": {"35", "36"},
    "江西省": {"33", "34"},
    "山东省": {"25", "26", "27"},
    "河南省": {"45", "46", "47"},
    "湖北省": {"43", "44"},
    "湖南省": {"41", "42"},
    "广东省": {"51", "52"},
    "广西壮族自治区": {"53", "54"},
    "海南省": {"57"},
    "重庆市": {"40"},
    "四川省": {"61", "62", "63", "64"},
    "贵州省": {"55", "56"},
    "云南省": {"65", "66", "67"},
    "西藏自治区": {"85", "86"},
    "陕西省": {"71", "72"},
    "甘肃省": {"73", "74"},
    "青海省": {"81"},
    "宁夏回族自治区": {"75"},
    "新疆维吾尔自治区": {"83", "84"},
}

# Telephone area codes of each province.
AREA_CODES = {
    "北京市": r"010",
    "天津市": r"022",
    "河北省": r"031\d|0335",
    "山西省": r"0349|035\d",
    "内蒙古自治区": r"047\d|048[0-9]",
    "辽宁省": r"024|041\d|042\d",
    "吉林省": r"043\d",
    "黑龙江省": r"045\d|046\d",
    "上海市": r"021",
    "江苏省": r"025|051\d|052\d",
    "浙江省": r"057\d|0580",
    "安徽省": r"055\d|056\d",
    "福建省": r"059\d",
    "江西省": r"070\d|079\d",
    "山东省": r"053\d|054\d|063\d",
    "河南省": r"037\d|039\d",
    "湖北省": r"027|071\d|072\d",
    "湖南省": r"073\d|074\d",
    "广东省": r"020|066\d|075\d|076\d",
    "广西壮族自治区": r"077\d",
    "海南省": r"0898",
    "重庆市": r"023",
    "四川省": r"028|081\d|082\d|083\d",
    "贵州省": r"085\d",
    "云南省": r"069\d|087\d|088\d",
    "西藏自治区": r"089[1-7]",
    "陕西省": r"029|091\d",
    "甘肃省": r"093\d|094\d",
    "青海省": r"097\d",
    "宁夏回族自治区": r"095\d",
    "新疆维吾尔自治区": r"090\d|099\d",
}

DIVISIONS_HEADER = ["CODE", "PROVINCE", "PREFECTURE", "DC"]
EXCEPTIONS_HEADER = ["KIND", "PROVINCE", "DC", "VALUE", "REASON"]
EXCEPTION_KINDS = ("postal", "area", "omit")
# The mainland has about 2 850 county-level divisions; far fewer means a cut list.
MIN_COUNTY_DIVISIONS = 2800

YZBM_RE = re.compile(r"[0-9]{6}\Z", re.ASCII)
DHQH_RE = re.compile(r"0[0-9]{2,3}\Z", re.ASCII)
DC_SUFFIXES = ("市", "区", "县", "州", "盟", "地区", "林区", "旗")


def read_table(path, header):
    """Rows of a UTF-8 CSV file as dicts; raises ValueError when the header differs."""
    with open(path, encoding="utf-8", newline="") as f:
        reader = csv.reader(f, strict=True)
        if next(reader, None) != header:
            raise ValueError("%s: header must be %s" % (path, ",".join(header)))
        return [dict(zip(header, row)) for row in reader if row]


def check_divisions(table, divisions, own):
    """Faults of coverage and of the county rows' agreement with their prefecture.

    table: (PROVINCE, DC) -> (line, YZBM, DHQH); own: (KIND, PROVINCE, DC) -> VALUE."""
    faults = []
    omitted = {value for (kind, _, _), value in own.items() if kind == "omit"}
    listed = {}
    for d in divisions:
        key = (d["PROVINCE"], d["DC"])
        listed[key] = d["PREFECTURE"]
        name = "%s %s %s" % (d["CODE"], d["PROVINCE"], d["DC"])
        if d["CODE"] in omitted:
            if key in table:
                faults.append("division %s is listed as left out but has a row" % name)
            continue
        if key not in table:
            faults.append("division %s has no row (list it in exceptions.csv if left out on purpose)" % name)
            continue
        if not d["PREFECTURE"]:
            continue
        prefecture = table.get((d["PROVINCE"], d["PREFECTURE"]))
        if prefecture is None:
            faults.append("division %s: no row for its prefecture %s" % (name, d["PREFECTURE"]))
            continue
        line, yzbm, dhqh = table[key]
        zone = own.get(("postal",) + key)
        if zone is None and yzbm[:2] != prefecture[1][:2]:
            faults.append("line %d: YZBM %s of %s leaves the zone %s of %s; list the zone in exceptions.csv if real"
                          % (line, yzbm, d["DC"], prefecture[1][:2], d["PREFECTURE"]))
        elif zone is not None and (yzbm[:2] == prefecture[1][:2] or not yzbm.startswith(zone)):
            faults.append("line %d: postal exception %s for %s does not fit YZBM %s" % (line, zone, d["DC"], yzbm))
        area = own.get(("area",) + key)
        if area is None and dhqh != prefecture[2]:
            faults.append("line %d: DHQH %s of %s differs from %s of %s; list it in exceptions.csv if real"
                          % (line, dhqh, d["DC"], prefecture[2], d["PREFECTURE"]))
        elif area is not None and (area != dhqh or dhqh == prefecture[2]):
            faults.append("line %d: area exception %s for %s does not fit DHQH %s" % (line, area, d["DC"], dhqh))

    for key, (line, _, _) in sorted(table.items(), key=lambda item: item[1][0]):
        if key not in listed:
            faults.append("line %d: %s %s is not a current division of divisions.csv" % ((line,) + key))
    for (kind, province, dc), value in own.items():
        if kind not in EXCEPTION_KINDS:
            faults.append("exception of unknown kind %r for %s %s" % (kind, province, dc))
        elif kind != "omit" and (province, dc) not in table:
            faults.append("%s exception for %s %s, which has no row" % (kind, province, dc))
        elif kind == "area" and not listed.get((province, dc)):
            faults.append("area exception for %s %s, which has no prefecture" % (province, dc))
    counties = sum(1 for d in divisions if not d["CODE"].endswith("00"))
    if counties < MIN_COUNTY_DIVISIONS:
        faults.append("divisions.csv lists only %d county-level divisions" % counties)
    return faults


def check(path):
    faults = []

    def fault(lineno, msg):
        faults.append("%s:%s: %s" % (path, lineno, msg) if lineno else "%s: %s" % (path, msg))

    try:
        with open(path, "rb") as f:
            raw = f.read()
    except OSError as e:
        return ["%s: cannot read: %s" % (path, e)]

    if not raw:
        return ["%s: file is empty" % path]
    folder = os.path.dirname(os.path.abspath(path))
    try:
        divisions = read_table(os.path.join(folder, "divisions.csv"), DIVISIONS_HEADER)
        exceptions = read_table(os.path.join(folder, "exceptions.csv"), EXCEPTIONS_HEADER)
    except (OSError, ValueError, csv.Error) as e:
        return ["%s: %s" % (path, e)]
    prefecture_of = {(d["PROVINCE"], d["DC"]): d["PREFECTURE"] for d in divisions}
    own = {(e["KIND"], e["PROVINCE"], e["DC"]): e["VALUE"] for e in exceptions}
    if raw.startswith(b"\xef\xbb\xbf"):
        fault(1, "file starts with a UTF-8 BOM; write it without BOM")
        raw = raw[3:]
    if b"\r" in raw:
        fault(raw[: raw.index(b"\r")].count(b"\n") + 1, "CR character found; line ends must be LF only")
    try:
        text = raw.decode("utf-8")
    except UnicodeDecodeError as e:
        return faults + ["%s: not valid UTF-8 at byte %d: %s" % (path, e.start, e.reason)]
    text = text.replace("\r", "")
    if not text.endswith("\n"):
        fault(text.count("\n") + 1, "last line is not ended by LF")

    lines = text.split("\n")
    if lines and lines[-1] == "":
        lines.pop()
    for i, line in enumerate(lines, 1):
        if line.strip() == "":
            fault(i, "blank line")

    try:
        rows = list(csv.reader(io.StringIO(text, newline=""), strict=True))
    except csv.Error as e:
        return faults + ["%s: CSV syntax error: %s" % (path, e)]

    # Quoting only where needed: what csv.writer writes back must equal the file.
    out = io.StringIO()
    csv.writer(out, quoting=csv.QUOTE_MINIMAL, lineterminator="\n").writerows(rows)
    rewritten = out.getvalue().split("\n")
    for i, (a, b) in enumerate(zip(lines, rewritten), 1):
        if a != b:
            fault(i, "not minimal RFC 4180 quoting: got %r, expected %r" % (a, b))
            break

    if not rows:
        return faults + ["%s: no header line" % path]
    if rows[0] != HEADER:
        fault(1, "header must be exactly %s, got %s" % (",".join(HEADER), ",".join(rows[0])))

    seen_pairs = {}
    table = {}                # (province, DC) -> (line, YZBM, DHQH)
    block_order = []          # provinces in order of their first row
    closed = set()            # provinces whose block has ended
    area_owner = {}           # area code -> (province, line)
    first_dc = {}             # province -> first DC
    counts = {}
    current = None

    for lineno, row in enumerate(rows[1:], 2):
        if len(row) != 4:
            fault(lineno, "expected 4 fields, got %d: %r" % (len(row), row))
            continue
        prov, dc, yzbm, dhqh = row
        for name, value in zip(HEADER, row):
            if value == "":
                fault(lineno, "empty field %s" % name)
            elif value != value.strip():
                fault(lineno, "field %s has leading or trailing whitespace: %r" % (name, value))
            elif any(c in value for c in "\n\t"):
                fault(lineno, "field %s contains a control character: %r" % (name, value))

        # PROVINCE
        if prov not in PROVINCES:
            fault(lineno, "unknown PROVINCE %r (use the full name, e.g. 河北省, 内蒙古自治区)" % prov)
        elif prov in NO_MAINLAND_CODES:
            fault(lineno, "%s has no mainland postal code or 0-prefixed area code; leave it out" % prov)

        # Blocks and order
        if prov != current:
            if prov in closed:
                fault(lineno, "PROVINCE %s appears in more than one block" % prov)
            else:
                if current is not None:
                    closed.add(current)
                block_order.append(prov)
                first_dc.setdefault(prov, dc)
            current = prov
        counts[prov] = counts.get(prov, 0) + 1

        # DC
        if dc and not dc.endswith(DC_SUFFIXES):
            fault(lineno, "DC %r does not end like a division name (%s)" % (dc, "/".join(DC_SUFFIXES)))
        if dc and re.search(r"[A-Za-z0-9 ]", dc):
            fault(lineno, "DC %r contains ASCII letters, digits or spaces" % dc)
        key = (prov, dc)
        if key in seen_pairs:
            fault(lineno, "duplicate (PROVINCE, DC) %s %s, first on line %d" % (prov, dc, seen_pairs[key]))
        else:
            seen_pairs[key] = lineno
            table[key] = (lineno, yzbm, dhqh)

        # YZBM
        if not YZBM_RE.match(yzbm):
            fault(lineno, "YZBM %r is not exactly 6 ASCII digits" % yzbm)
        elif prov in POSTAL_PREFIXES and not prefecture_of.get(key):
            zone = own.get(("postal",) + key)
            if zone is not None:
                if not yzbm.startswith(zone) or yzbm[:2] in POSTAL_PREFIXES[prov]:
                    fault(lineno, "postal exception %s for %s %s does not fit YZBM %s" % (zone, prov, dc, yzbm))
            elif yzbm[:2] not in POSTAL_PREFIXES[prov]:
                fault(lineno, "YZBM %s does not start with a postal prefix of %s (%s)"
                      % (yzbm, prov, "/".join(sorted(POSTAL_PREFIXES[prov]))))

        # DHQH
        if not DHQH_RE.match(dhqh):
            fault(lineno, "DHQH %r does not match ^0\\d{2,3}$" % dhqh)
        else:
            if prov in AREA_CODES and not re.fullmatch(AREA_CODES[prov], dhqh, re.ASCII):
                fault(lineno, "DHQH %s is not an area code of %s (%s)" % (dhqh, prov, AREA_CODES[prov]))
            owner = area_owner.get(dhqh)
            if owner is None:
                area_owner[dhqh] = (prov, lineno)
            elif owner[0] != prov:
                fault(lineno, "DHQH %s used by %s here and by %s on line %d; an area code never spans provinces"
                      % (dhqh, prov, owner[0], owner[1]))

    table_faults = check_divisions(table, divisions, own)
    faults.extend("%s: %s" % (path, f) for f in table_faults)

    # Order of blocks
    known_blocks = [p for p in block_order if p in PROVINCES]
    ranks = [PROVINCES.index(p) for p in known_blocks]
    for a, b, ra, rb in zip(known_blocks, known_blocks[1:], ranks, ranks[1:]):
        if rb < ra:
            fault(None, "province blocks out of conventional order: %s comes after %s" % (b, a))

    # Coverage
    missing = [p for p in MAINLAND if counts.get(p, 0) < 1]
    if missing:
        fault(None, "no rows for: %s" % ", ".join(missing))

    # Capital first
    for prov, cap in CAPITALS.items():
        if prov in first_dc and first_dc[prov] != cap:
            fault(None, "first row of %s is %s; the capital %s must come first" % (prov, first_dc[prov], cap))

    if len(rows) < 2:
        fault(None, "no data rows")
    return faults


def main(argv):
    for stream in (sys.stdout, sys.stderr):
        try:
            stream.reconfigure(errors="backslashreplace")
        except (AttributeError, ValueError):
            pass
    if len(argv) > 2:
        print("usage: check_zipdex_csv.py [zipdex.csv]", file=sys.stderr)
        return 2
    path = argv[1] if len(argv) == 2 else os.path.join(
        os.path.dirname(os.path.abspath(__file__)), os.pardir, "zipdex.csv")
    faults = check(path)
    if faults:
        for f in faults:
            print("FAIL " + f, file=sys.stderr)
        print("%d fault(s) in %s" % (len(faults), path), file=sys.stderr)
        return 1
    with open(path, encoding="utf-8") as f:
        n = sum(1 for _ in f) - 1
    print("OK %s: %d rows" % (path, n))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
