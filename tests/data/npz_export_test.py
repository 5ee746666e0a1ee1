"""The grid that orbitograph-render --export writes, read by NumPy.

Labels, coordinates and end points are checked against a literal walk of
the grid in Python (whose floats are IEEE doubles, operations in the order
written), the counts against --counts, and the CSV row against the same
counts. Usage: npz_export_test.py ORBITOGRAPH_RENDER
"""
import csv
import json
import math
import os
import subprocess
import sys
import tempfile
import unittest

import numpy as np

RENDER = sys.argv.pop(1) if len(sys.argv) > 1 else "orbitograph-render"
CODES = {"infinity": 0, "zero": 1, "T": 2, "O": 3, "M": 4, "H": 5, None: 255}

def action(term, magnitude, outward):
    if term > 0:
        return magnitude if outward else -magnitude
    if term < 0:
        return -magnitude if outward else magnitude
    return magnitude  # zero or NaN

def end_point(p, x, y):
    if p["iterations"] < 0:
        return x, y
    for _ in range(p["iterations"] + 1):
        if y < 100.0 or x > -100.0:
            pp = (x * x - y * y) * p["a"]
            q = (x * y + x * y) * p["a"]
            x, y = pp + action(pp, p["dc"], p["dc_out"]), q + action(q, p["kc"], p["kc_out"])
    return x, y

def kind(x, y):
    if not (-2 <= x <= 2 and -2 <= y <= 2):
        return "infinity"
    if -0.1 <= x <= 0.1 and -0.1 <= y <= 0.1:
        return "zero"
    if (x < -1 or x > 1) and -1 <= y <= 1:
        return "O"
    if (y <= -1 or y >= 1) and -1 < x < 1:
        return "H"
    if -1 <= x <= 1 and -1 < y < 1:
        return "T"
    if (x <= -1 or x >= 1) and (y < -1 or y > 1):
        return "M"
    return None

def walk(lo, hi, step):
    out, v = [], lo
    while v <= hi:
        out.append(v)
        v += step
    return out

CASES = [
    dict(a=0.8, dc=0.5, dc_out=1, kc=0.8, kc_out=0, iterations=10, step=0.1, x1=-2.0, x2=2.0, y1=-2.0, y2=2.0),
    dict(a=-1.3, dc=0.2, dc_out=0, kc=-0.4, kc_out=1, iterations=40, step=0.07, x1=-1.2, x2=1.9, y1=-0.5, y2=1.3),
    dict(a=0.0, dc=1.0, dc_out=1, kc=1.0, kc_out=1, iterations=3, step=0.25, x1=-1.0, x2=1.0, y1=-1.0, y2=1.0),
    dict(a=0.5, dc=0.3, dc_out=1, kc=0.1, kc_out=0, iterations=-1, step=0.2, x1=-2.0, x2=2.0, y1=-2.0, y2=2.0),
]

class NpzExport(unittest.TestCase):
    def run_render(self, p, *more):
        args = [RENDER, "--a", repr(p["a"]), "--dc", repr(p["dc"]), "--kc", repr(p["kc"]),
                "--dc-direction", "outward" if p["dc_out"] else "inward",
                "--kc-direction", "outward" if p["kc_out"] else "inward",
                "--iterations", str(p["iterations"]), "--step", repr(p["step"]),
                "--x1", repr(p["x1"]), "--x2", repr(p["x2"]), "--y1", repr(p["y1"]), "--y2", repr(p["y2"]),
                "--counts", *more]
        done = subprocess.run(args, capture_output=True, text=True, timeout=60)
        self.assertEqual(done.returncode, 0, done.stderr)
        return json.loads(done.stdout)

    def test_grid_matches_a_literal_walk(self):
        with tempfile.TemporaryDirectory() as folder:
            for p in CASES:
                with self.subTest(case=p):
                    counts = self.run_render(p, "--export", folder + "/g.npz")
                    d = np.load(folder + "/g.npz", allow_pickle=False)
                    xs, ys = walk(p["x1"], p["x2"], p["step"]), walk(p["y1"], p["y2"], p["step"])
                    self.assertEqual(d["x"].tolist(), xs)  # == on floats: bit for bit but for -0
                    self.assertEqual(d["y"].tolist(), ys)
                    self.assertEqual(d["labels"].shape, (len(ys), len(xs)))
                    for r, y in enumerate(ys):
                        for c, x in enumerate(xs):
                            ex, ey = end_point(p, x, y)
                            self.assertEqual(d["labels"][r, c], CODES[kind(ex, ey)], (x, y))
                            gx, gy = d["end_x"][r, c], d["end_y"][r, c]
                            if math.isnan(gx) and math.isnan(gy):
                                self.assertEqual(kind(ex, ey), "infinity", (x, y))
                            elif not (math.isnan(ex) or math.isnan(ey)):
                                self.assertEqual((gx, gy), (ex, ey), (x, y))
                    tally = np.bincount(d["labels"].ravel(), minlength=256)
                    meta = json.loads(str(d["meta"]))
                    self.assertEqual(meta["counts"], counts)
                    self.assertEqual(counts["start_points"], d["labels"].size)
                    for name in ("infinity", "zero", "T", "O", "M", "H"):
                        self.assertEqual(tally[CODES[name]], counts[name], name)
                    self.assertEqual(d["attractors"].shape, (counts["attractors"], 2))
                    self.assertEqual(d["attractors"].dtype, np.int32)

                    self.run_render(p, "--export", folder + "/g.csv")
                    with open(folder + "/g.csv", newline="") as f:
                        rows = list(csv.DictReader(f))
                    self.assertEqual(len(rows), 1)
                    self.assertEqual({k: int(rows[0][k]) for k in counts}, counts)
                    self.assertEqual(float(rows[0]["step"]), p["step"])

    def test_refusals_and_failures_leave_nothing(self):
        with tempfile.TemporaryDirectory() as folder:
            for target, status in ((folder + "/g.txt", 2), (folder + "/missing/g.npz", 1),
                                   (folder + "/missing/g.csv", 1), (folder, 2)):
                with self.subTest(target=target):
                    done = subprocess.run([RENDER, "--step", "0.1", "--export", target],
                                          capture_output=True, text=True, timeout=60)
                    self.assertEqual(done.returncode, status, done.stderr)
                    self.assertIn("--export" if status == 2 else "cannot write", done.stderr)
            self.assertEqual(os.listdir(folder), [])

if __name__ == "__main__":
    unittest.main()
