"""The parameter plane that orbitograph-render --plane --export writes, read
by NumPy: the axes bit for bit as FROM + i (TO - FROM) / (COUNT - 1) with the
last exactly TO, every count array [len(p2), len(p1)] of int64 equal to the
--counts of a single run of that pair. Usage: plane_export_test.py RENDER
"""
import json
import os
import subprocess
import sys
import tempfile
import unittest

import numpy as np

RENDER = sys.argv.pop(1) if len(sys.argv) > 1 else "orbitograph-render"
KEYS = ["start_points", "attractors", "infinity", "zero", "T", "O", "M", "H"]


def axis(lo, hi, n):
    return [lo if i == 0 else hi if i == n - 1 else lo + i * (hi - lo) / (n - 1) for i in range(n)]


class PlaneExport(unittest.TestCase):
    def test_counts_equal_single_runs(self):
        with tempfile.TemporaryDirectory() as d:
            target = os.path.join(d, "plane.npz")
            base = ["--step", "0.1", "--iterations", "12"]
            done = subprocess.run([RENDER, *base, "--plane", "a=0.35:1.3:4,dc=0.1:0.9:3", "--export", target],
                                  capture_output=True, text=True, timeout=60)
            self.assertEqual(done.returncode, 0, done.stderr)
            with np.load(target, allow_pickle=False) as z:
                self.assertEqual(sorted(z.files), sorted(KEYS + ["p1", "p2"]))
                p1, p2 = z["p1"], z["p2"]
                self.assertEqual(p1.dtype, np.float64)
                self.assertEqual(p1.tolist(), axis(0.35, 1.3, 4))
                self.assertEqual(p2.tolist(), axis(0.1, 0.9, 3))
                arrays = {k: z[k] for k in KEYS}
            for k in KEYS:
                self.assertEqual((arrays[k].dtype, arrays[k].shape), (np.int64, (3, 4)), k)
            for j, dc in enumerate(p2):
                for i, a in enumerate(p1):
                    one = subprocess.run([RENDER, *base, "--a", repr(float(a)), "--dc", repr(float(dc)), "--counts"],
                                         capture_output=True, text=True, timeout=60)
                    counts = json.loads(one.stdout)
                    self.assertEqual([int(arrays[k][j, i]) for k in KEYS], [counts[k] for k in KEYS], (a, dc))
            self.assertGreater(len({int(v) for v in arrays["infinity"].flat}), 2)  # the pairs really differ


if __name__ == "__main__":
    unittest.main()
