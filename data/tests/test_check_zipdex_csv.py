#!/usr/bin/env python3
"""The data check catches rows that the independent sources contradict: run on a copy of the data
with one of its faults put back."""

import os
import shutil
import sys
import tempfile
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
import check_zipdex_csv  # noqa: E402

DATA = os.path.join(HERE, os.pardir)
WENDENG = "威海市文登区"


class SourcesCheckTest(unittest.TestCase):
    def setUp(self):
        self.folder = tempfile.mkdtemp(prefix="zipdex-data-")
        self.addCleanup(shutil.rmtree, self.folder)
        for name in ("zipdex.csv", "divisions.csv", "exceptions.csv", "corrections.csv", "sources"):
            copy = shutil.copytree if name == "sources" else shutil.copy
            copy(os.path.join(DATA, name), os.path.join(self.folder, name))

    def edit(self, name, old, new):
        path = os.path.join(self.folder, name)
        with open(path, encoding="utf-8") as f:
            text = f.read()
        self.assertIn(old, text)
        with open(path, "w", encoding="utf-8") as f:
            f.write(text.replace(old, new))

    def faults(self):
        return check_zipdex_csv.faults(os.path.join(self.folder, "zipdex.csv"))[0]

    def put_back_wendeng(self):
        self.edit("zipdex.csv", WENDENG + ",264400", WENDENG + ",266440")
        self.edit("corrections.csv", "371003,,,264400,,266440,", "371003,,,,,,")

    def test_a_contradicted_row_fails_until_kept_with_the_sources_zone(self):
        self.assertEqual(self.faults(), [])
        self.put_back_wendeng()
        self.assertEqual(self.faults(), [
            "山东省 %s: YZBM 266440 is contradicted by cnarea-2023 and region-sfyc23 (2644); correct it in "
            "corrections.csv or keep it with a reason in exceptions.csv" % WENDENG])
        kept = "kept-postal,山东省,%s,%s,checked by hand\n"
        with open(os.path.join(self.folder, "exceptions.csv"), "a", encoding="utf-8") as f:
            f.write(kept % (WENDENG, "2644") + kept % ("威海市荣成市", "2643"))
        self.assertEqual(self.faults(), [
            "exception kept-postal for 山东省 威海市荣成市: no two sources contradict it, or no such row"])

    def test_a_correction_must_be_in_the_table_and_agree_with_its_sources(self):
        self.edit("zipdex.csv", "南充市嘉陵区,637500", "南充市嘉陵区,637501")
        self.edit(os.path.join("sources", "region-sfyc23.csv"), "511304,南充市嘉陵区,637500", "511304,南充市嘉陵区,637100")
        self.assertEqual(self.faults(), [
            "四川省 南充市嘉陵区: YZBM is 637501, corrections.csv gives 637500",
            "四川省 南充市嘉陵区: the correction of YZBM cites region-sfyc23, which gives 637100"])

    def test_a_copy_of_the_table_is_no_independent_source(self):
        table = check_zipdex_csv.divisions.read_csv(os.path.join(self.folder, "zipdex.csv"))
        codes = {(d["PROVINCE"], d["DC"]): d["CODE"] for d in check_zipdex_csv.divisions.read_divisions(self.folder)}
        check_zipdex_csv.divisions.write_csv(os.path.join(self.folder, "sources", "copy.csv"), ["CODE", "YZBM"],
                                             [[codes[r["PROVINCE"], r["DC"]], r["YZBM"]] for r in table])
        self.assertEqual(self.faults(), [
            "source copy repeats the table's postal codes on %d of %d rows: no independent source"
            % (len(table), len(table))])


if __name__ == "__main__":
    unittest.main()
