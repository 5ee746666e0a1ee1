"""Computes the basins of the default model and plots them with the
program's basin colours.  Usage: python3 basins.py [OUTPUT.png]"""

import sys

import matplotlib

matplotlib.use("Agg")
import matplotlib.pyplot as plt
import numpy as np
from matplotlib.colors import ListedColormap

import orbitograph

result = orbitograph.compute(a=0.8, step=0.005)
codes = sorted(orbitograph.BASIN_COLOURS)  # label code -> "#rrggbb"
colours = ListedColormap([orbitograph.BASIN_COLOURS[c] for c in codes])
index = np.zeros(256, dtype=np.int16)
index[codes] = np.arange(len(codes))
# Start points of no list (orbits ending on a corner |x| = |y| = 1) stay blank.
image = np.ma.masked_where(result.labels == 255, index[result.labels])

figure, axes = plt.subplots(figsize=(6, 6))
axes.imshow(image, cmap=colours, vmin=-0.5, vmax=len(codes) - 0.5, origin="lower", interpolation="nearest",
            extent=(result.x[0], result.x[-1], result.y[0], result.y[-1]))
axes.set_xlabel("x")
axes.set_ylabel("y")
axes.set_title(f"A = {result.params['a']}: " + ", ".join(f"{k} {v}" for k, v in result.counts.items()
                                                       if k not in ("start_points", "attractors")), fontsize=8)
figure.savefig(sys.argv[1] if len(sys.argv) > 1 else "basins.png", dpi=100)
