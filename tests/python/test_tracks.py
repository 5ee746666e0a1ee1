import csv
import io
import json
import math
import os

import numpy as np
import pytest

import orbitograph
from conftest import command_args, run_command

# Both actions inward, on a coarse grid: at A = 0 one fixed point, for A > 0
# a pair of fixed points far from it.
BASE = dict(dc_outward=False, kc_outward=False, kc=0.2, iterations=100, step=0.05)
VALUES = orbitograph.sweep_values("a", 0.0, 0.1, 5)
SWEEP = "a=0:0.1:5"


def _same(x, y):
    return (isinstance(x, float) and math.isnan(x) and (y is None or math.isnan(y))) or x == y


def _singles(values, **params):
    """cycles, Sb, Sbb and alpha of single computations, value by value."""
    rows = []
    for a in values:
        r = orbitograph.compute(a=float(a), analysis=True, **params)
        m = orbitograph.metrics(r.labels, params["step"])
        rows.append((len(r.attractors), m["Sb"], m["Sbb"], m["alpha"]))
    return rows


@pytest.mark.parametrize("client", [False, True])
def test_sweep_and_plane_analysis_equal_single_computations_and_the_command(client, tmp_path):
    dask = None
    if client:
        distributed = pytest.importorskip("distributed")
        dask = distributed.Client(processes=False, n_workers=1, threads_per_worker=1, dashboard_address=None)
    try:
        swept = orbitograph.sweep("a", VALUES, analysis=True, metrics=True, client=dask, chunk_size=2, **BASE)
        planed = orbitograph.plane("a", VALUES, "kc", [0.2, 0.4], analysis=True, metrics=True, client=dask,
                                   chunk_size=3, **BASE)
    finally:
        if dask is not None:
            dask.close()
    singles = _singles(VALUES, **BASE)
    assert swept["cycles"].dtype == np.int32 and swept["Sb"].dtype == np.float64
    for i, row in enumerate(singles):
        got = (swept["cycles"][i], swept["Sb"][i], swept["Sbb"][i], swept["alpha"][i])
        assert all(_same(float(g), e) for g, e in zip(got, row)), (i, got, row)
        got = (planed["cycles"][0, i], planed["Sb"][0, i], planed["Sbb"][0, i], planed["alpha"][0, i])
        assert all(_same(float(g), e) for g, e in zip(got, row)), (i, got, row)
    assert max(swept["cycles"]) == 2 and min(swept["cycles"]) == 1
    args = command_args(BASE)
    lines = [json.loads(line) for line in run_command(*args, "--sweep", SWEEP, "--analysis",
                                                      "--metrics").splitlines()]
    for i, line in enumerate(lines):
        assert line["cycles"] == swept["cycles"][i] and line["start_points"] == swept["start_points"][i]
        for key in ("Sb", "Sbb", "alpha", "boundary_boxes", "boxes"):
            assert _same(float(swept[key][i]), line[key]), (i, key)
    table = list(csv.DictReader(io.StringIO(run_command(*args, "--sweep", SWEEP, "--analysis",
                                                        "--metrics", "--format", "csv"))))
    assert [int(r["cycles"]) for r in table] == list(swept["cycles"])
    assert [float(r["Sb"]) for r in table] == list(swept["Sb"])
    archive = str(tmp_path / "plane.npz")
    run_command(*args, "--plane", SWEEP + ",kc=0.2:0.4:2", "--analysis", "--metrics", "--export", archive)
    with np.load(archive) as z:
        assert z["cycles"].dtype == np.int32 and z["alpha"].dtype == np.float64
        for key in (*orbitograph.COUNT_KEYS, "cycles", "Sb", "Sbb", "alpha"):
            np.testing.assert_array_equal(z[key], planed[key], err_msg=key)
        np.testing.assert_array_equal(z["p1"], planed.coords["a"])
        np.testing.assert_array_equal(z["p2"], planed.coords["kc"])
    run_command(*args, "--plane", SWEEP + ",kc=0.2:0.4:2", "--export", archive)
    with np.load(archive) as z:
        assert "cycles" not in z and "Sb" not in z


def test_continuation_equals_the_command_and_the_catalogues():
    tracks = orbitograph.continuation("a", VALUES, **BASE)
    assert list(tracks) == ["a", "track", "attractor", "period", "x", "y", "share"]
    for i, a in enumerate(VALUES):
        r = orbitograph.compute(a=float(a), analysis=True, **BASE)
        at = tracks["a"] == a
        starts = r.counts["start_points"]
        assert sorted(tracks["attractor"][at]) == [x["id"] for x in r.attractors]
        for k in np.flatnonzero(at):
            x = r.attractors[tracks["attractor"][k] - 1]
            assert (tracks["period"][k], tracks["x"][k], tracks["y"][k]) == (x["period"], x["x"], x["y"])
            assert tracks["share"][k] == x["basin"] / starts
    args = command_args(BASE)
    lines = [json.loads(line) for line in run_command(*args, "--sweep", SWEEP, "--continue").splitlines()]
    assert [list(line) for line in lines[:1]] == [["a", "track", "period", "x", "y", "share"]]
    for key in ("a", "track", "period", "x", "y", "share"):
        assert [line[key] for line in lines] == list(tracks[key]), key
    table = list(csv.DictReader(io.StringIO(run_command(*args, "--sweep", SWEEP, "--continue",
                                                        "--continue-tolerance", "0", "--format", "csv"))))
    assert [int(r["track"]) for r in table] == list(range(1, len(table) + 1))  # nothing is below 0
    with pytest.raises(ValueError, match="tolerance"):
        orbitograph.continuation("a", VALUES, tolerance=-1.0, **BASE)
