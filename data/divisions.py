"""The mainland's provinces, the rules their postal and area codes follow, and the readers of the
tables beside this file; prepare_zipdex.py writes by them and check_zipdex_csv.py checks by them."""

import csv
import glob
import io
import os
import re

HERE = os.path.dirname(os.path.abspath(__file__))

# In the conventional order of the table's province blocks: name, capital (none for the four
# municipalities), first two digits of its postal codes, its area codes. 四川 also has 63 (南充,
# 达州, 巴中, 广安), 西藏 86 (林芝).
PROVINCES = [
    ("北京市", None, "10", r"010"),
    ("天津市", None, "30", r"022"),
    ("河北省", "石家庄市", "05 06 07", r"031\d|0335"),
    ("山西省", "太原市", "03 04", r"0349|035\d"),
    ("内蒙古自治区", "呼和浩特市", "01 02", r"047\d|048\d"),
    ("辽宁省", "沈阳市", "11 12", r"024|041\d|042\d"),
    ("吉林省", "长春市", "13", r"043\d"),
    ("黑龙江省", "哈尔滨市", "15 16", r"045\d|046\d"),
    ("上海市", None, "20", r"021"),
    ("江苏省", "南京市", "21 22", r"025|051\d|052\d"),
    ("浙江省", "杭州市", "31 32", r"057\d|0580"),
    ("安徽省", "合肥市", "23 24", r"055\d|056\d"),
    ("福建省", "福州市", "35 36", r"059\d"),
    ("江西省", "南昌市", "33 34", r"070\d|079\d"),
    ("山东省", "济南市", "25 26 27", r"053\d|054\d|063\d"),
    ("河南省", "郑州市", "45 46 47", r"037\d|039\d"),
    ("湖北省", "武汉市", "43 44", r"027|071\d|072\d"),
    ("湖南省", "长沙市", "41 42", r"073\d|074\d"),
    ("广东省", "广州市", "51 52", r"020|066\d|075\d|076\d"),
    ("广西壮族自治区", "南宁市", "53 54", r"077\d"),
    ("海南省", "海口市", "57", r"0898"),
    ("重庆市", None, "40", r"023"),
    ("四川省", "成都市", "61 62 63 64", r"028|081\d|082\d|083\d"),
    ("贵州省", "贵阳市", "55 56", r"085\d"),
    ("云南省", "昆明市", "65 66 67", r"069\d|087\d|088\d"),
    ("西藏自治区", "拉萨市", "85 86", r"089[1-7]"),
    ("陕西省", "西安市", "71 72", r"029|091\d"),
    ("甘肃省", "兰州市", "73 74", r"093\d|094\d"),
    ("青海省", "西宁市", "81", r"097\d"),
    ("宁夏回族自治区", "银川市", "75", r"095\d"),
    ("新疆维吾尔自治区", "乌鲁木齐市", "83 84", r"090\d|099\d"),
]
ORDER = [name for name, _, _, _ in PROVINCES]
CAPITALS = {name: capital for name, capital, _, _ in PROVINCES if capital}
POSTAL_PREFIXES = {name: prefixes.split() for name, _, prefixes, _ in PROVINCES}
AREA_CODES = {name: re.compile(codes, re.ASCII) for name, _, _, codes in PROVINCES}


def read_csv(path):
    with open(path, encoding="utf-8-sig", newline="") as f:
        return [{k.strip(): (v or "").strip() for k, v in row.items()} for row in csv.DictReader(f)]


def write_csv(path, header, rows):
    out = io.StringIO()
    writer = csv.writer(out, quoting=csv.QUOTE_MINIMAL, lineterminator="\n")
    writer.writerow(header)
    writer.writerows(rows)
    with open(path, "w", encoding="utf-8", newline="") as f:
        f.write(out.getvalue())


def read_divisions(folder=HERE):
    return read_csv(os.path.join(folder, "divisions.csv"))


def read_exceptions(folder=HERE):
    """(KIND, PROVINCE, DC) -> VALUE: postal zones and area codes of their own, left-out codes."""
    return {(r["KIND"], r["PROVINCE"], r["DC"]): r["VALUE"]
            for r in read_csv(os.path.join(folder, "exceptions.csv"))}


def read_sources(folder=HERE):
    """Source name -> division code -> its row, from sources/*.csv; (source, field) -> where the
    source's codes of that field come from (ORIGIN) and what they copy (COPY_OF), from sources.csv."""
    extracts = {os.path.splitext(os.path.basename(path))[0]: {r["CODE"]: r for r in read_csv(path)}
                for path in sorted(glob.glob(os.path.join(folder, "sources", "*.csv")))}
    origins = {(r["SOURCE"], r["FIELD"]): r for r in read_csv(os.path.join(folder, "sources.csv"))}
    return extracts, origins


def code_faults(rows, prefecture_of, exceptions):
    """Faults of the codes of rows [PROVINCE, DC, YZBM, DHQH], prefecture_of giving each row's
    prefecture ("" for none); an exception that no row needs is one too."""
    values = {(province, dc): (postal, area) for province, dc, postal, area in rows}
    used = {key for key in exceptions if key[0] == "omit"}
    faults = []
    for province, dc, postal, area in rows:
        where = "%s %s" % (province, dc)
        if province not in AREA_CODES:
            faults.append("%s: unknown province" % where)
            continue
        if not AREA_CODES[province].fullmatch(area):
            faults.append("%s: DHQH %r is no area code of %s" % (where, area, province))
        if not re.fullmatch(r"[0-9]{6}", postal, re.ASCII):
            faults.append("%s: YZBM %r is not 6 digits" % (where, postal))
            continue
        # A county keeps its prefecture's postal zone and area code, a prefecture its province's
        # zones, unless exceptions.csv names its own.
        parent = values.get((province, prefecture_of.get((province, dc))))
        zones = [parent[0][:2]] if parent else POSTAL_PREFIXES[province]
        own_zone = ("postal", province, dc)
        if postal[:2] not in zones:
            if not postal.startswith(exceptions.get(own_zone) or "-"):
                faults.append("%s: YZBM %s is outside %s; list its zone in exceptions.csv if real"
                              % (where, postal, "/".join(zones)))
            used.add(own_zone)
        own_area = ("area", province, dc)
        if parent and area != parent[1]:
            if exceptions.get(own_area) != area:
                faults.append("%s: DHQH %s differs from its prefecture's %s; list it in exceptions.csv if real"
                              % (where, area, parent[1]))
            used.add(own_area)
    for kind, province, dc in sorted(key for key in set(exceptions) - used if key[0] in ("postal", "area")):
        faults.append("exception %s for %s %s is not needed or names no row" % (kind, province, dc))
    return faults
