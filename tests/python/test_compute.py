import ast
import inspect
import json
import pathlib

import numpy as np
import numpy_model
import pytest

import orbitograph
from conftest import DRAWN, command_args, run_command


@pytest.mark.parametrize("params", DRAWN, ids=range(len(DRAWN)))
def test_grid_matches_the_commands_export_and_a_numpy_transcription(params, tmp_path):
    r = orbitograph.compute(**params)
    run_command("--export", str(tmp_path / "grid.npz"), *command_args(params))
    with np.load(tmp_path / "grid.npz", allow_pickle=False) as exported:
        for name in ("labels", "x", "y", "end_x", "end_y"):
            np.testing.assert_array_equal(getattr(r, name), exported[name], err_msg=name)
        assert r.counts == json.loads(str(exported["meta"]))["counts"]
    assert list(r.counts) == list(orbitograph.COUNT_KEYS)
    assert r.report == run_command("--report", *command_args(params))
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


def test_results_do_not_depend_on_threads():
    one = orbitograph.compute(a=0.9, step=0.004, threads=1)
    three = orbitograph.compute(a=0.9, step=0.004, threads=3)
    for name in ("labels", "end_x", "end_y"):
        np.testing.assert_array_equal(getattr(one, name), getattr(three, name))
    values = [0.2, 0.77, 1.1]
    assert all((a == b).all() for a, b in zip(orbitograph.sweep("a", values, threads=1).values(),
                                                 orbitograph.sweep("a", values, threads=2).values()))


def test_sweep_and_plane_equal_single_computations():
    values1, values2 = [0.3, 0.8, 1.05], [5, 12.4]
    got = orbitograph.plane("a", values1, "iterations", values2, step=0.05)
    for j, n in enumerate(values2):
        for i, a in enumerate(values1):
            single = orbitograph.compute(a=a, iterations=round(n), step=0.05).counts
            assert {k: int(v[j, i]) for k, v in got.items()} == single
    swept = orbitograph.sweep("dc", [0.1, -0.4], step=0.05)
    assert [int(v) for v in swept["T"]] == [orbitograph.compute(dc=d, step=0.05).counts["T"] for d in (0.1, -0.4)]


@pytest.mark.parametrize("call, field", [
    (lambda: orbitograph.compute(step=0), "step:"),
    (lambda: orbitograph.compute(step=1e-5), "step:"),  # too many start points
    (lambda: orbitograph.compute(a=float("nan")), "a:"),
    (lambda: orbitograph.compute(kc="0.3"), "kc:"),
    (lambda: orbitograph.compute(x2=2.5), "x2:"),
    (lambda: orbitograph.compute(iterations=2.5), "iterations:"),
    (lambda: orbitograph.compute(iterations=2**31), "iterations:"),
    (lambda: orbitograph.compute(dc_outward=2), "dc_outward:"),
    (lambda: orbitograph.compute(threads=0), "threads:"),
    (lambda: orbitograph.sweep("step", [0.1]), "param:"),
    (lambda: orbitograph.sweep("a", [0.5, float("inf")]), "a:"),
    (lambda: orbitograph.plane("a", [1], "a", [2]), "param2:"),
    (lambda: orbitograph.render(orbitograph.compute(step=0.1), font_size=0), "--font-size:"),
    (lambda: orbitograph.render(orbitograph.compute(step=0.1), size=(300,)), "size:"),
    (lambda: orbitograph.render(orbitograph.compute(step=0.1), legend_picture="/nonexistent.bmp"),
     "legend_picture:"),
])
def test_bad_parameters_raise_value_error_naming_the_field(call, field):
    with pytest.raises(ValueError, match="^" + field):
        call()


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
