#!/usr/bin/env python3
"""The data check catches rows that the independent sources contradict and sources that are
copies: run on a copy of the data with one of its faults put back."""

import os
import shutil
import sys
import tempfile
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, os.pardir))
import check_zipdex_csv  # noqa: E402

divisions = check_zipdex_csv.divisions
DATA = os.path.join(HERE, os.pardir)
WENDENG = "威海市文登区"
GOLMUD = "海西蒙古族藏族自治州格尔木市"
KEPT = "kept-postal,山东省,%s,%s,checked by hand\n"
OPEN = "%s: %s is contradicted by %s; correct it in corrections.csv or keep it with a reason in exceptions.csv"
WENDENG_BACK = [("zipdex.csv", WENDENG + ",264400", WENDENG + ",266440"),
                ("corrections.csv", "371003,,,264400,,266440,", "371003,,,,,266440,")]

# What is put back (file, old text, new text), and the faults the check must then report.
CASES = [
    ("文登's old postal code", WENDENG_BACK,
     [OPEN % ("山东省 " + WENDENG, "YZBM 266440",
              "cnarea-2023 and postalcode-spacesless and region-sfyc23 (2644)")]),
    ("文登 kept, and a row kept that no source contradicts",
     WENDENG_BACK + [("exceptions.csv", "", KEPT % (WENDENG, "2644") + KEPT % ("威海市荣成市", "2643"))],
     ["exception kept-postal for 山东省 威海市荣成市: no two sources contradict it, or no such row"]),
    ("格尔木's old area code",
     [("zipdex.csv", GOLMUD + ",816000,0979", GOLMUD + ",816000,0977"),
      ("corrections.csv", "632801,,,,0979,0977,", "632801,,,,,0977,"),
      ("exceptions.csv", "area,青海省,%s,0979,own area code\n" % GOLMUD, "")],
     [OPEN % ("青海省 " + GOLMUD, "DHQH 0977", "phonedata-xluohome and postalcode-spacesless (0979)")]),
    ("a correction that neither the table nor its source carries",
     [("zipdex.csv", "南充市嘉陵区,637500", "南充市嘉陵区,637501"),
      (os.path.join("sources", "region-sfyc23.csv"), "511304,南充市嘉陵区,637500",
       "511304,南充市嘉陵区,637100")],
     ["四川省 南充市嘉陵区: YZBM is 637501, corrections.csv gives 637500",
      "四川省 南充市嘉陵区: the correction of YZBM cites region-sfyc23, which gives 637100"]),
]


class SourcesCheckTest(unittest.TestCase):
    def setUp(self):
        self.folder = tempfile.mkdtemp(prefix="zipdex-data-")
        self.addCleanup(shutil.rmtree, self.folder)
        for name in ("zipdex.csv", "divisions.csv", "exceptions.csv", "corrections.csv", "sources.csv", "sources"):
            copy = shutil.copytree if name == "sources" else shutil.copy
            copy(os.path.join(DATA, name), os.path.join(self.folder, name))

    def edit(self, name, old, new):
        path = os.path.join(self.folder, name)
        with open(path, encoding="utf-8") as f:
            text = f.read()
        self.assertIn(old, text)
        with open(path, "w", encoding="utf-8") as f:
            f.write(text.replace(old, new) if old else text + new)

    def faults(self):
        return check_zipdex_csv.faults(os.path.join(self.folder, "zipdex.csv"))[0]

    def test_each_fault_put_back_is_reported(self):
        self.assertEqual(self.faults(), [])
        for name, edits, expected in CASES:
            with self.subTest(name):
                self.setUp()
                for edit in edits:
                    self.edit(*edit)
                self.assertEqual(self.faults(), expected)

    def test_a_copy_of_the_reference_is_no_independent_source(self):
        table = divisions.read_csv(os.path.join(self.folder, "zipdex.csv"))
        old = {r["CODE"]: r["OLD"] for r in divisions.read_csv(os.path.join(self.folder, "corrections.csv"))
               if r["YZBM"] and r["OLD"]}
        codes = {(d["PROVINCE"], d["DC"]): d["CODE"] for d in divisions.read_divisions(self.folder)}
        copied = [[codes[r["PROVINCE"], r["DC"]], old.get(codes[r["PROVINCE"], r["DC"]], r["YZBM"])] for r in table]
        divisions.write_csv(os.path.join(self.folder, "sources", "copy.csv"), ["CODE", "YZBM"], copied)
        self.assertEqual(self.faults(), [
            "source copy: sources.csv does not say where its postal codes come from",
            "source copy repeats the reference's postal codes on all %d rows both have: a copy, name it in "
            "sources.csv" % len(table)])

    def test_a_prefecture_table_spread_over_the_counties_is_no_voice(self):
        # Counted as a voice, it would outvote the table where its table lags behind (2013, 2014).
        self.edit("sources.csv", "\"a web map's city-code table, which gives each county its prefecture's code\"", "")
        self.assertEqual(self.faults(), [
            "source cnarea-2023 gives each of its 2681 counties its prefecture's area code: a copy of a "
            "prefecture table, name it in sources.csv",
            OPEN % ("辽宁省 本溪市", "DHQH 024", "cnarea-2023 and libphonenumber (0414)"),
            OPEN % ("河南省 开封市", "DHQH 0371", "cnarea-2023 and libphonenumber (0378)")])


if __name__ == "__main__":
    unittest.main()
