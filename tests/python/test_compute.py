import ast
import csv
import inspect
import json
import pathlib

import numpy as np
import numpy_model
import pytest

import orbitograph
from conftest import DRAWN, command_args, run_command


# The drawn sets, a zero multiplier and a grid left where it starts.
GRIDS = DRAWN + [dict(a=0.0, dc=1.0, kc=1.0, dc_outward=True, kc_outward=True, iterations=3, step=0.25,
                      x1=-1.0, x2=1.0, y1=-1.0, y2=1.0),
                 dict(a=0.5, dc=0.3, kc=0.1, iterations=-1, step=0.2, x1=-2.0, x2=2.0, y1=-2.0, y2=2.0)]


@pytest.mark.parametrize("params", GRIDS, ids=range(len(GRIDS)))
def test_grid_matches_the_commands_export_and_a_numpy_transcription(params, tmp_path):
    r = orbitograph.compute(**params)
    run_command("--export", str(tmp_path / "grid.npz"), *command_args(params))
    with np.load(tmp_path / "grid.npz", allow_pickle=False) as exported:
        for name in ("labels", "x", "y", "end_x", "end_y"):
            np.testing.assert_array_equal(getattr(r, name), exported[name], err_msg=name)
        meta = json.loads(str(exported["meta"]))
    assert r.counts == meta["counts"] == orbitograph.compute(**meta["parameters"]).counts
    assert list(r.counts) == list(orbitograph.COUNT_KEYS)
    assert r.report == run_command("--report", *command_args(params))
    run_command("--export", str(tmp_path / "grid.csv"), *command_args(params))
    [row] = csv.DictReader((tmp_path / "grid.csv").read_text().splitlines())
    assert {key: int(row[key]) for key in r.counts} == r.counts and float(row["step"]) == params["step"]
    labels, end_x, end_y = numpy_model.compute(**params)
    np.testing.assert_array_equal(r.x, numpy_model.grid_side(params["x1"], params["x2"], params["step"]))
    np.testing.assert_array_equal(r.y, numpy_model.grid_side(params["y1"], params["y2"], params["step"]))
    np.testing.assert_array_equal(r.labels, labels)
    # NaN only where the engine proved an escape without computing the end.
    known = ~np.isnan(r.end_x)
    assert known[labels != 0].all()
    np.testing.assert_array_equal(r.end_x[known], end_x[known])
    np.testing.assert_array_equal(r.end_y[known], end_y[known])
    kinds = {0: "infinity", 1: "zero", 2: "T", 3: "O", 4: "M", 5: "H"}
    for code, key in kinds.items():
        assert np.count_nonzero(r.labels == code) == r.counts[key]


BIG = 10**400
R = orbitograph.Result.__new__(orbitograph.Result)  # stands for a Result when the check comes first
QUICK = dict(step=0.5, x1=1.5, y1=1.5)  # four start points that escape: huge counts end at once
LABELS = np.zeros((4, 4), dtype=np.int8)


@pytest.mark.parametrize("call, error, field", [
    (lambda: orbitograph.compute(step=0), ValueError, "step"),
    (lambda: orbitograph.compute(step=1e-5), ValueError, "step"),  # too many start points
    (lambda: orbitograph.compute(a=float("nan")), ValueError, "a"),
    (lambda: orbitograph.compute(a=BIG), ValueError, "a"),
    (lambda: orbitograph.compute(kc="0.3"), TypeError, "kc"),
    (lambda: orbitograph.compute(x2=2.5), ValueError, "x2"),
    (lambda: orbitograph.compute(iterations=2.5), ValueError, "iterations"),
    (lambda: orbitograph.compute(iterations=2**31), ValueError, "iterations"),
    (lambda: orbitograph.compute(dc_outward=2), ValueError, "dc_outward"),
    (lambda: orbitograph.compute(dc_outward=np.array([1, 0])), TypeError, "dc_outward"),
    (lambda: orbitograph.compute(threads=0), ValueError, "threads"),
    (lambda: orbitograph.compute(threads=2**40), ValueError, "threads"),
    (lambda: orbitograph.compute(threads=1.5), ValueError, "threads"),
    (lambda: orbitograph.orbit(float("nan"), 0), ValueError, "x0"),
    (lambda: orbitograph.orbit(0, "1"), TypeError, "y0"),
    (lambda: orbitograph.orbit(0, 0, keep=0), ValueError, "keep"),
    (lambda: orbitograph.sweep("step", [0.1]), ValueError, "param"),
    (lambda: orbitograph.sweep("a", [0.5, float("inf")]), ValueError, "a"),
    (lambda: orbitograph.sweep("iterations", [3, float("nan")], **QUICK), ValueError, "iterations"),
    (lambda: orbitograph.sweep("iterations", [1e10], **QUICK), ValueError, "iterations"),
    (lambda: orbitograph.plane("iterations", [float("inf")], "a", [1], **QUICK), ValueError, "iterations"),
    (lambda: orbitograph.sweep("a", [0.5], step=0), ValueError, "step"),
    (lambda: orbitograph.sweep("a", [], step=0), ValueError, "step"),
    (lambda: orbitograph.plane("a", [1], "a", [2]), ValueError, "param2"),
    (lambda: orbitograph.render(R, size=(-5, 10)), ValueError, "size"),
    (lambda: orbitograph.render(R, size=(300,)), TypeError, "size"),
    (lambda: orbitograph.render(R, grid=1), TypeError, "grid"),
    (lambda: orbitograph.render(R, legend_t="\ud800"), ValueError, "legend_t"),
    (lambda: orbitograph.render(R, legend_max_hx=BIG), ValueError, "legend_max_hx"),
    (lambda: orbitograph.render(R, legend_max_hx=float("inf")), ValueError, "legend_max_hx"),
    (lambda: orbitograph.render(orbitograph.compute(step=0.1), font_size=0), ValueError, "font_size"),
    (lambda: orbitograph.render(orbitograph.compute(step=0.1), origin=(2**31, 0)), ValueError, "origin"),
    (lambda: orbitograph.render(orbitograph.compute(step=0.1), legend_picture="/nonexistent.bmp"), ValueError,
     "legend_picture"),
    (lambda: orbitograph.render(orbitograph.compute(step=0.2), colour_by="attractor"), ValueError, "colour_by"),
    (lambda: orbitograph.render(orbitograph.compute(step=0.2, analysis=True), colour_by="kind"), ValueError,
     "colour_by"),
    (lambda: orbitograph.compute(analysis=True, delta=-1.0), ValueError, "delta"),
    (lambda: orbitograph.compute(analysis=True, step=0.0005), ValueError, "analysis"),
    (lambda: orbitograph.metrics(np.zeros((4, 4)), 0.1), TypeError, "labels"),
    (lambda: orbitograph.metrics(np.zeros(4, dtype=int), 0.1), ValueError, "labels"),
    (lambda: orbitograph.metrics(LABELS, 0.0), ValueError, "step"),
    (lambda: orbitograph.metrics(LABELS, float("inf")), ValueError, "step"),
    (lambda: orbitograph.metrics(LABELS, "0.1"), TypeError, "step"),
    (lambda: orbitograph.metrics(LABELS, 0.1, box=0), ValueError, "box"),
    (lambda: orbitograph.metrics(LABELS, 0.1, ks=4), TypeError, "ks"),
    (lambda: orbitograph.metrics(LABELS, 0.1, ks=(2, 2)), ValueError, "ks"),
    (lambda: orbitograph.metrics(LABELS, 0.1, ks=(1, 0.5)), ValueError, "ks"),
])
def test_bad_arguments_raise_type_or_value_error_naming_the_keyword(call, error, field):
    with pytest.raises(error, match=f"^{field}: "):
        call()


def test_numpy_scalars_and_0d_arrays_are_numbers():
    r = orbitograph.compute(a=np.float32(0.5), iterations=np.array(7), dc_outward=np.array(True), step=np.float64(0.1))
    assert r.params == orbitograph.compute(a=float(np.float32(0.5)), iterations=7, step=0.1).params
    assert r.attractor is None and r.attractors is None  # no analysis asked for


def test_sweep_values_are_the_commands():
    for axis in ["a=0.1:0.7:7", "dc=-0.9:0.35:13", "iterations=1:8:4", "kc=0.3:0.3:1"]:
        param, rest = axis.split("=")
        start, stop, count = rest.split(":")
        lines = run_command("--sweep", axis, "--step=0.5").splitlines()
        expected = [json.loads(line)[param] for line in lines]
        got = orbitograph.sweep_values(param, float(start), float(stop), int(count))
        assert got.tolist() == expected, axis
        assert orbitograph.sweep(param, got, step=0.5)["T"].tolist() == [json.loads(line)["T"] for line in lines]


def test_iteration_values_round_half_away_from_zero():
    values = [2.5, -2.5, 3.49999999999999956, 0.49999999999999994, -0.5, 7]
    rounded = [3, -3, 3, 0, -1, 7]
    swept = orbitograph.sweep("iterations", values, step=0.1)
    assert swept.coords["iterations"].tolist() == rounded
    single = [orbitograph.compute(iterations=n, step=0.1).counts["T"] for n in rounded]
    assert swept["T"].tolist() == single


def test_orbit_lists_its_first_and_last_keep_rows():
    # A cyclic orbit long enough to skip periods, and one that escapes.
    for x0, y0, iterations in [(0.1, 0.2, 10**6), (1.9, 1.9, 10**6), (0.3, -0.4, 40)]:
        keep = 100
        o = orbitograph.orbit(x0, y0, keep=keep, iterations=iterations)
        steps = o["step"].tolist()
        if o["omitted"] == 0:
            assert steps == list(range(len(steps)))
            continue
        assert steps[:keep] == list(range(keep)), (x0, y0)
        assert o["gap_at"] >= keep and steps[o["gap_at"]] - steps[o["gap_at"] - 1] == o["omitted"] + 1


def _stub(name):
    stubs = ast.parse(pathlib.Path(orbitograph.__file__).with_suffix(".pyi").read_text())
    return next(node for node in stubs.body if getattr(node, "name", None) == name)


def _stub_signature(function):
    """The keywords of a function in the package's stubs, with their defaults."""
    found = _stub(function)
    args = found.args
    defaults = [None] * (len(args.args) - len(args.defaults)) + args.defaults + args.kw_defaults
    return {a.arg: None if d is None else ast.literal_eval(d) for a, d in zip(args.args + args.kwonlyargs, defaults)}


def test_keywords_and_docstrings_follow_the_parameter_table():
    table = orbitograph._orbitograph._param_table()
    defaults = orbitograph._orbitograph._defaults()
    assert {name: default for name, _, default in table} == defaults == orbitograph._DEFAULTS
    expected = [(name, default) for name, _, default in table]
    signature = inspect.signature(orbitograph.compute).parameters
    assert [(name, p.default) for name, p in signature.items()][:len(table)] == expected
    assert list(_stub_signature("compute").items())[:len(table)] == expected
    stub_keywords = [field.target.id for field in _stub("ModelKeywords").body if isinstance(field, ast.AnnAssign)]
    assert stub_keywords == [name for name, _, _ in table]
    display = dict(orbitograph._orbitograph._display_options())
    assert set(_stub_signature("render")) - {"result", "threads"} == set(display)
    for keyword in display.keys() - {"size"}:
        assert f"``{keyword}" in orbitograph.render.__doc__, keyword


def test_orbit_ends_where_the_grid_does():
    r = orbitograph.compute(a=0.5, step=0.25)
    for j, i in [(0, 0), (5, 9), (16, 16)]:
        o = orbitograph.orbit(r.x[i], r.y[j], a=0.5)
        assert o["summary"]["label"] == r.labels[j, i] and o["step"][0] == 0
        if not np.isnan(r.end_x[j, i]):  # the grid proved no escape here
            assert (o["summary"]["end_x"], o["summary"]["end_y"]) == (r.end_x[j, i], r.end_y[j, i])
