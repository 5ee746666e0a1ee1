"""The files that orbitograph-render --export writes, read by NumPy: the
archive's label tally, meta and attractors against --counts, the CSV row
against the same counts, and refused or failed exports leaving nothing.
(Grids, labels and end points against an independent model: tests/python.)
Usage: npz_export_test.py ORBITOGRAPH_RENDER
"""
import csv
import json
import os
import subprocess
import sys
import tempfile
import unittest

import numpy as np

RENDER = sys.argv.pop(1) if len(sys.argv) > 1 else "orbitograph-render"
CODES = {"infinity": 0, "zero": 1, "T": 2, "O": 3, "M": 4, "H": 5}
CASES = [  # step, other options
    (0.1, ["--a=0.8", "--dc-direction=outward", "--kc-direction=inward"]),
    (0.07, ["--a=-1.3", "--dc=0.2", "--kc=-0.4", "--iterations=40", "--x1=-1.2", "--x2=1.9", "--y1=-0.5"]),
    (0.2, ["--a=0.5", "--iterations=-1"]),
]


def run(*args):
    done = subprocess.run([RENDER, *args], capture_output=True, text=True, timeout=60)
    return done.returncode, done.stdout, done.stderr


class NpzExport(unittest.TestCase):
    def test_archive_and_csv_hold_the_counts(self):
        with tempfile.TemporaryDirectory() as folder:
            for step, more in CASES:
                args = [f"--step={step}", *more]
                with self.subTest(args=args):
                    status, out, err = run(*args, "--counts", "--export", folder + "/g.npz")
                    self.assertEqual(status, 0, err)
                    counts = json.loads(out)
                    with np.load(folder + "/g.npz", allow_pickle=False) as d:
                        self.assertEqual(json.loads(str(d["meta"]))["counts"], counts)
                        self.assertEqual(counts["start_points"], d["labels"].size)
                        tally = np.bincount(d["labels"].ravel(), minlength=256)
                        self.assertEqual({k: int(tally[c]) for k, c in CODES.items()},
                                         {k: counts[k] for k in CODES})
                        self.assertEqual((d["attractors"].shape, d["attractors"].dtype),
                                         ((counts["attractors"], 2), np.int32))
                    self.assertEqual(run(*args, "--export", folder + "/g.csv")[0], 0)
                    with open(folder + "/g.csv", newline="") as f:
                        rows = list(csv.DictReader(f))
                    self.assertEqual([{k: int(rows[0][k]) for k in counts}], [counts] * len(rows))
                    self.assertEqual(float(rows[0]["step"]), step)

    def test_refusals_and_failures_leave_nothing(self):
        with tempfile.TemporaryDirectory() as folder:
            for target, status in ((folder + "/g.txt", 2), (folder + "/missing/g.npz", 1),
                                   (folder + "/missing/g.csv", 1), (folder, 2)):
                with self.subTest(target=target):
                    got, _, err = run("--step", "0.1", "--export", target)
                    self.assertEqual(got, status, err)
                    self.assertIn("--export" if status == 2 else "cannot write", err)
            self.assertEqual(os.listdir(folder), [])


if __name__ == "__main__":
    unittest.main()
