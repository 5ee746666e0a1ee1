import os
import subprocess
import sys

import numpy as np
from PIL import Image

import orbitograph

EXAMPLE = os.path.join(os.path.dirname(__file__), "..", "..", "examples", "basins.py")


def test_example_writes_a_plot_in_the_basin_colours(tmp_path):
    out = tmp_path / "basins.png"
    subprocess.run([sys.executable, EXAMPLE, str(out)], check=True, timeout=60, cwd=tmp_path)
    pixels = np.asarray(Image.open(out).convert("RGB")).reshape(-1, 3)
    seen = {"#%02x%02x%02x" % tuple(p) for p in np.unique(pixels, axis=0)}
    # The default model at A 0.8 has infinity, T, O and M basins.
    for code in (0, 2, 3, 4):
        assert orbitograph.BASIN_COLOURS[code] in seen


def test_the_notebook_runs_headless_and_saves_its_plane(tmp_path, monkeypatch):
    import nbclient
    import nbformat
    import xarray

    notebook = nbformat.read(os.path.join(os.path.dirname(EXAMPLE), "explore.ipynb"), as_version=4)
    monkeypatch.setenv("MPLBACKEND", "Agg")
    # Raises CellExecutionError on the first cell that fails.
    nbclient.NotebookClient(notebook, timeout=90, kernel_name="python3",
                            resources={"metadata": {"path": str(tmp_path)}}).execute()
    points = orbitograph.compute(step=0.05).counts["start_points"]
    with xarray.open_zarr(tmp_path / "plane.zarr", consolidated=False) as saved:
        assert saved["start_points"].shape == (16, 24) and bool((saved["start_points"] == points).all())
