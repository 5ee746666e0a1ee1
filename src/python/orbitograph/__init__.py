"""Attractors and basins of the quadratic map with an external action

    x' = A (x^2 - y^2) + Cx,    y' = A (2 x y) + Cy,

whose action C = (+-Dc, +-Kc) takes its signs anew at every step, computed by
Orbitograph's engine and handed to NumPy.

compute() iterates every start point of a grid and returns its labels, end
points and counts; render() draws the frame that orbitograph-render draws;
orbit() follows one start point; sweep() and plane() count the kinds over a
range of one parameter or a plane of two, on this machine or, given a Dask
client, on its workers; metrics() measures how intertwined the regions of a
label grid are.

Label codes: 0 infinity, 1 zero, 2 T, 3 O, 4 M, 5 H, 255 no list (the four
corner points |x| = |y| = 1 belong to no region).

Limits: the rectangle [x1, x2] x [y1, y2] within [-2, 2]; a step of at least
1e-09 and at most 100,000,000 start points; iteration counts from -2**31 to
2**31 - 1; frames of 1 to 16384 pixels a side; 1 to 1024 threads.

Every computation and every frame releases the GIL and stops within about
100 ms on Ctrl+C (KeyboardInterrupt). Results do not depend on the number of
threads, pickle, deep-copy and convert to xarray (to_xarray()). A bad
argument raises TypeError for a wrong type and ValueError for a wrong value,
naming the keyword.
"""

import json
import math
import os
from collections.abc import Iterable

import numpy as np

from . import _checks
from . import _orbitograph as _core
from . import _travel
from ._results import Counts, Orbit, Result

__all__ = ["BASIN_COLOURS", "COUNT_KEYS", "LABELS", "Counts", "Orbit", "Result", "compute", "continuation", "metrics",
           "orbit", "plane", "render", "sweep", "sweep_values", "to_rgba"]

#: The keys of the counts, in the order of ``orbitograph-render --counts``.
COUNT_KEYS = tuple(_core._count_keys())

#: The colour of each basin kind in the picture, by label code: "#rrggbb".
BASIN_COLOURS = {code: f"#{argb & 0xFFFFFF:06x}" for code, argb in _core._basin_colours()}

#: Every label code: (name, "#rrggbb" colour in the picture, or None).
LABELS = {code: (name, BASIN_COLOURS.get(code)) for code, name in zip(_travel.LABEL_CODES, _travel.LABEL_NAMES)}


def to_rgba(labels):
    """uint8 [..., 4]: every label's colour in the picture, opaque; the
    corners of no list (255) transparent. For matplotlib's imshow."""
    table = np.zeros((256, 4), dtype=np.uint8)
    for code, colour in BASIN_COLOURS.items():
        table[code] = [*bytes.fromhex(colour[1:]), 255]
    return table[np.asarray(labels, dtype=np.uint8)]

# The model's parameters: (keyword, kind, default) in the order of compute()'s
# keywords, the kind "real", "direction" or "count".
_PARAMS = tuple(_core._param_table())
_DEFAULTS = {name: default for name, _, default in _PARAMS}
# render()'s keywords: (keyword, kind), the kind "flag", "integer", "real",
# "text" or "pair".
_DISPLAY = dict(_core._display_options())
_SWEPT = ("a", "dc", "kc", "iterations")
_HERE = os.path.dirname(os.path.abspath(__file__))


def _threads(threads):
    return _checks.threads(threads, _core._MAX_THREADS)


def _model_params(caller, given):
    """The eleven parameters from the defaults and the keywords given; a
    direction may also be written as the command and its export write it,
    ``dc_direction="outward"`` or ``"inward"``."""
    params = dict(_DEFAULTS)
    for name, value in given.items():
        outward = name.replace("_direction", "_outward")
        if outward != name and outward in params:
            if value not in ("outward", "inward"):
                raise ValueError(f"{name}: must be 'outward' or 'inward', not {value!r}")
            name, value = outward, value == "outward"
        if name not in params:
            raise TypeError(f"{caller}() got an unexpected keyword argument '{name}'")
        params[name] = value
    check = {"real": _checks.real, "direction": _checks.direction, "count": _checks.integer}
    for name, kind, _ in _PARAMS:
        params[name] = check[kind](name, params[name])
    return params


def _public(params):
    out = dict(params)
    for name, kind, _ in _PARAMS:
        if kind == "direction":
            out[name] = bool(out[name])
    return out


def compute(a=0.8, dc=0.5, kc=0.8, dc_outward=True, kc_outward=False, iterations=10, step=0.01,
            x1=-2.0, x2=2.0, y1=-2.0, y2=2.0, threads=None, *, analysis=False, delta=1e-9, **directions):
    """Iterates every start point of the grid of step ``step`` over
    [x1, x2] x [y1, y2] (iterations + 1 map steps each) and returns a Result.

    dc_outward, kc_outward: True pushes that component towards infinity,
    False towards 0 (also written dc_direction="outward" or "inward", as in
    the meta["parameters"] of orbitograph-render's export). threads: worker
    threads, None for every core; the result is the same for any number.
    The grid's pixel lists are kept for render() at the origin of the
    default 1000 x 700 frame. analysis: also what every orbit does and the
    attractors (see Result), with attractor cycles within delta (0 to inf)
    joined; 16 bytes more per start point, refused beyond 50,000,000 start
    points.
    """
    params = _model_params("compute", dict(a=a, dc=dc, kc=kc, dc_outward=dc_outward, kc_outward=kc_outward,
                                           iterations=iterations, step=step, x1=x1, x2=x2, y1=y1, y2=y2,
                                           **directions))
    analysis = _checks.flag("analysis", analysis)
    delta = _checks.real("delta", delta)
    parts = _core._compute(params, _threads(threads), analysis, delta)
    return Result(*parts, params=_public(params), delta=delta)


def render(result, size=(1000, 700), *, threads=None, **display):
    """The frame ``orbitograph-render`` draws for the result's parameters, as
    a uint8 array [height, width, 4] (RGBA), pixel for pixel its PNG.

    size: (width, height) of the client area, each from 1 to 16384. display:
    the command's picture options with underscores: ``single``
    ("attractors" or "basins"), the switches ``no_params``, ``grid``,
    ``legend``, ``a_symmetry`` and ``fit``, ``font_size`` (1 to 50), the
    legend's names ``legend_hx``, ``legend_hy``, ``legend_t``, ``legend_o``,
    ``legend_m``, ``legend_h`` and finite bounds ``legend_max_hx``,
    ``legend_min_hx``, ``legend_max_hy``, ``legend_min_hy``,
    ``legend_picture`` (a file), ``colour_by`` ("kinds", "attractor", "exit"
    or "period"; all but the first need a result of compute(analysis=True)),
    ``probe=(x0, y0)`` (the orbit of that start point over the attractor
    panel, finite numbers) and ``origin=(x, y)`` (the centre of the size unless given). When the
    origin is not the one the result's lists were computed for, the grid is
    computed again for it. Releases the GIL and stops on Ctrl+C as compute()
    does.
    """
    if not isinstance(result, Result):
        raise TypeError("render() needs a Result from compute()")
    side = _core._MAX_CANVAS_SIDE
    values = {"size": _checks.pair("size", size, 1, side)}
    for name, value in display.items():
        kind = _DISPLAY.get(name)
        if kind is None:
            raise TypeError(f"render() got an unexpected keyword argument '{name}'")
        if kind == "pair":
            values[name] = _checks.pair(name, value)
        elif kind == "flag":
            values[name] = _checks.flag(name, value)
        elif value is None:
            continue
        elif kind == "real pair":
            values[name] = _checks.real_pair(name, value)
        elif kind == "integer":
            values[name] = _checks.integer(name, value)
        elif kind == "real":
            values[name] = _checks.real(name, value, finite=True)
        else:
            values[name] = _checks.text(name, value, path=name == "legend_picture")
    threads = _threads(threads)
    if result._grid is None:
        analysed = result.delta is not None
        result._grid = _core._compute(_model_params("render", result.params), threads, analysed,
                                      result.delta if analysed else 0.0)[0]
    return _core._render(result._grid, values, _HERE, threads)


def orbit(x0, y0, *, keep=10_000, **params):
    """The orbit of the start point (x0, y0), state after state, with
    exactly the arithmetic of compute(). Keywords as for compute(); the
    grid's step and rectangle play no part.

    Returns an Orbit, a dict of equal-length columns: ``step`` (0 for the
    start point), ``x``, ``y``, the step's quadratic terms ``p`` and ``q``,
    the action's components ``cx`` and ``cy`` it added (NaN for row 0 and
    frozen steps) and ``frozen`` (the guard held the point); then ``omitted``
    and ``gap_at``: an orbit longer than 2 * keep rows lists its first and
    last ``keep`` rows, ``omitted`` rows missing before row ``gap_at``; and
    ``summary``: ``steps``, ``left_square`` (first step outside [-2, 2]^2, or
    None), ``cycle_start`` and ``period`` of an exact cycle, ``end_x``,
    ``end_y``, ``label`` (the end's label code) and ``reach``: "iterated",
    "cycle" (whole periods were skipped) or "escape" (proven to leave the
    square; the end is NaN). x0 and y0 must be finite.
    """
    params = _model_params("orbit", params)
    columns = _core._orbit(_checks.real("x0", x0, finite=True), _checks.real("y0", y0, finite=True), params,
                           _checks.integer("keep", keep, 1, 2**63 - 1))
    return Orbit(columns, _public(params))


def _counts_chunk(names, rows, params, threads):
    """Counts for a block of parameter rows; what a Dask worker runs."""
    return _core._counts_of_rows(params, names, rows, threads)


def _gathered(client, futures):
    """The futures' results in order; on any error or interrupt, every
    future still pending is cancelled before the exception goes on."""
    try:
        return client.gather(futures)
    except BaseException:
        client.cancel(futures)
        raise


def _counts_of_rows(names, rows, params, threads, client, chunk_size):
    _core._check_rows(params, names, rows, threads)
    if client is None:
        return _core._counts_of_rows(params, names, rows, threads)
    if len(rows) == 0:
        return np.zeros((0, len(COUNT_KEYS)), dtype=np.int64)
    futures = client.map(_counts_chunk, *_chunks(names, rows, params, threads, client, chunk_size))
    return np.concatenate(_gathered(client, futures))


def _chunks(names, rows, params, threads, client, chunk_size):
    """The arguments of one chunk function call per block of rows."""
    if chunk_size is None:
        workers = max(1, len(client.scheduler_info().get("workers", {})))
        chunk_size = math.ceil(len(rows) / (4 * workers))
    chunk_size = _checks.integer("chunk_size", chunk_size, 1)
    blocks = [rows[i:i + chunk_size] for i in range(0, len(rows), chunk_size)]
    return [names] * len(blocks), blocks, [params] * len(blocks), [threads] * len(blocks)


def _analysed_chunk(names, rows, params, threads, asked):
    """Counts, analysis and metrics for a block of rows; what a Dask worker runs."""
    return _core._analysed_rows(params, names, rows, threads, *asked)


def _rows_arrays(names, rows, params, threads, client, chunk_size, asked):
    """{"counts": int64 [n, 8]} and, when asked = (analysis, delta, metrics,
    box, ks) asks for them, the arrays of the analysis and the metrics."""
    if not (asked[0] or asked[2]):
        return {"counts": _counts_of_rows(names, rows, params, threads, client, chunk_size)}
    _core._check_rows(params, names, rows, threads)
    if client is None or len(rows) == 0:
        return _core._analysed_rows(params, names, rows, threads, *asked)
    args = _chunks(names, rows, params, threads, client, chunk_size)
    parts = _gathered(client, client.map(_analysed_chunk, *args, [asked] * len(args[0])))
    return {key: np.concatenate([part[key] for part in parts]) for key in parts[0]}


def _asked(analysis, metrics, delta):
    analysis, metrics = _checks.flag("analysis", analysis), _checks.flag("metrics", metrics)
    return analysis, _checks.real("delta", delta), metrics, 5, [1, 2, 4, 8]


def _counts_of(arrays, shape):
    """The counts and the other arrays by key, each reshaped."""
    counts = arrays.pop("counts")
    out = {key: counts[:, k].reshape(shape) for k, key in enumerate(COUNT_KEYS)}
    out.update({key: values.reshape(shape) for key, values in arrays.items()})
    return out


def sweep(param, values, *, client=None, chunk_size=None, threads=None, analysis=False, metrics=False, delta=1e-9,
          **params):
    """Counts for every value of one parameter (``a``, ``dc``, ``kc`` or
    ``iterations``), the others from the keywords as for compute(): a Counts,
    a dict of int64 arrays keyed as COUNT_KEYS, one element per value, equal
    to single computations. Values must be finite; iteration counts are
    rounded half away from zero (2.5 -> 3, -2.5 -> -3) and must round into
    the 32-bit range.

    client: a dask.distributed Client; the values are then computed in
    chunks of chunk_size (about four per worker unless given) on its workers,
    which Dask schedules and retries; the result is the same, in order. Each
    chunk uses `threads` threads of its worker (None: every core), so
    workers that run several chunks at once are best given threads=1. On an
    error or Ctrl+C, the chunks not yet done are cancelled.

    analysis: also ``cycles``, int32, the attractors found at each value (as
    compute(analysis=True, delta=delta) finds them). metrics: also ``Sb``,
    ``Sbb``, ``alpha`` (float64, NaN where undefined), ``boundary_boxes`` and
    ``boxes`` (int64) of each value's grid of labels, as metrics() measures
    them with its defaults. Either computes every value in full, one after
    the other.
    """
    values = _checks.swept_values("param", param, values, _SWEPT)
    base = _model_params("sweep", params)
    arrays = _rows_arrays([param], values.reshape(-1, 1), base, _threads(threads), client, chunk_size,
                          _asked(analysis, metrics, delta))
    return Counts(_counts_of(arrays, (len(values),)), {param: _travel.coordinate(param, values)},
                  _unswept(base, param))


def sweep_values(param, start, stop, count):
    """The values the command's PARAM=FROM:TO:COUNT gives, exactly: start,
    start + i * (stop - start) / (count - 1) in that order of operations,
    ..., stop (np.linspace may differ by an ulp); iteration counts rounded
    half away from zero. count from 1 to 100,000; one value needs start ==
    stop."""
    if param not in _SWEPT:
        raise ValueError(f"param: must be one of {', '.join(_SWEPT)}, not {param!r}")
    start, stop = _checks.real("start", start, finite=True), _checks.real("stop", stop, finite=True)
    count = _checks.integer("count", count, 1, 100_000)
    if count == 1 and start != stop:
        raise ValueError("count: one value needs start equal to stop")
    values = start + (np.arange(count, dtype=np.float64) * (stop - start)) / max(count - 1, 1)
    values[0], values[-1] = start, stop
    return _checks.round_iterations(param, values) if param == "iterations" else values


def _unswept(params, *swept):
    return {name: value for name, value in _public(params).items() if name not in swept}


def plane(param1, values1, param2, values2, *, client=None, chunk_size=None, threads=None, store=None,
          analysis=False, metrics=False, delta=1e-9, **params):
    """Counts for every pair of values of two parameters (each as for
    sweep()): a Counts of int64 arrays, each of shape [len(values2),
    len(values1)]; element [j, i] counts the grid of values1[i] and
    values2[j]. client and chunk_size as for sweep().

    store: with a client, the path of a Zarr folder that the workers write
    the plane into, tile by tile of about chunk_size
    pairs, without gathering anything to the client; plane() then returns
    the store opened as an xarray.Dataset (lazy, backed by Dask). A tile
    counts as written only once all of it is; running the same plane again
    on the same store computes only the tiles not yet written, so an
    interrupted or crashed run is resumed by running it again.

    analysis, metrics, delta: the arrays of sweep()'s, each [len(values2),
    len(values1)]; not with store.
    """
    values1 = _checks.swept_values("param1", param1, values1, _SWEPT)
    values2 = _checks.swept_values("param2", param2, values2, _SWEPT)
    if param1 == param2:
        raise ValueError(f"param2: must differ from param1 ({param1!r})")
    base = _model_params("plane", params)
    threads = _threads(threads)
    asked = _asked(analysis, metrics, delta)
    if store is not None:
        if asked[0] or asked[2]:
            raise ValueError("store: keeps the counts only; analysis and metrics need store=None")
        if client is None:
            raise ValueError("store: needs a client whose workers write it")
        from . import _zarr_plane

        if chunk_size is not None:
            chunk_size = _checks.integer("chunk_size", chunk_size, 1)
        for param, values in ((param1, values1), (param2, values2)):
            _core._check_rows(base, [param], values.reshape(-1, 1), threads)
        return _zarr_plane.write_plane(client, store, (param2, values2), (param1, values1), base, threads,
                                       chunk_size, _unswept(base, param1, param2), _gathered)
    first, second = np.meshgrid(values1, values2)
    rows = np.column_stack([first.ravel(), second.ravel()])
    arrays = _rows_arrays([param1, param2], rows, base, threads, client, chunk_size, asked)
    return Counts(_counts_of(arrays, (len(values2), len(values1))),
                  {param2: _travel.coordinate(param2, values2), param1: _travel.coordinate(param1, values1)},
                  _unswept(base, param1, param2))


def continuation(param, values, *, tolerance=0.05, delta=1e-9, threads=None, **params):
    """The attractors followed from each value of one parameter to the next
    (values and keywords as for sweep()).

    Each value's attractors are found as compute(analysis=True, delta=delta)
    finds them; their cycle states are the period states from the smallest
    state (x, y) on. An attractor at value i + 1 continues the one at value
    i whose cycle states lie nearest (the smallest max-norm distance between
    the two sets), when that distance is below tolerance; nearest pairs are
    taken first, each attractor once; the others start new tracks (numbered
    1, 2, ... as they start) or end.

    Returns a dict of equal-length arrays, one element per (value, track),
    by value and then track: ``param`` (the value, under the parameter's
    name), ``track``, ``attractor`` (its id at that value), ``period``
    (int32), ``x``, ``y`` and ``share`` (its basin's share of the start
    points; float64).
    """
    values = _checks.swept_values("param", param, values, _SWEPT)
    base = _model_params("continuation", params)
    tolerance = _checks.real("tolerance", tolerance)
    delta = _checks.real("delta", delta)
    columns = _core._continuation(base, param, values.reshape(-1, 1), _threads(threads), delta, tolerance)
    out = {param: _travel.coordinate(param, columns.pop("value"))}
    out.update(columns)
    return out


def metrics(labels, step, box=5, ks=(1, 2, 4, 8)):
    """How intertwined the regions of a grid of labels are, as
    ``orbitograph-render --metrics`` measures them.

    labels: a two-dimensional integer array L [rows, columns] (Result.labels,
    an archive's labels or attractor numbers, or a grid of one's own), every
    value a label of its own. step: the grid step h > 0. box: the side b of
    the boxes in points. ks: the distances k in points, increasing.

    Returns a dict: ``Sb``, the mean entropy -sum p_j ln p_j of the b x b
    boxes tiled from L[0, 0] (partial boxes dropped; NaN without a box);
    ``Sbb``, the entropy summed over the ``boundary_boxes`` (those of two
    labels or more) divided by their number (0 without one); ``boxes``;
    ``f``, {k: share of the points at least k from the edges whose label
    differs from one of the four at distance k}, for each k with rows > 2k
    and columns > 2k; ``alpha``, the least-squares slope of ln f[k] against
    ln(k h) over the k with f[k] > 0 (NaN with fewer than two).
    """
    array = np.asarray(labels)
    if array.dtype.kind not in "iu":
        raise TypeError(f"labels: must be an array of integers, not of {array.dtype}")
    if array.ndim != 2:
        raise ValueError(f"labels: must be two-dimensional, not {array.ndim}-dimensional")
    step = _checks.real("step", step)
    if not (math.isfinite(step) and step > 0):
        raise ValueError(f"step: must be a finite positive number, not {step!r}")
    box = _checks.integer("box", box, 1)
    if isinstance(ks, (str, bytes)) or not isinstance(ks, Iterable):
        raise TypeError(f"ks: must be a sequence of integers, not {ks!r}")
    ks = [_checks.integer("ks", k) for k in ks]
    if any(k < 1 for k in ks) or any(b <= a for a, b in zip(ks, ks[1:])):
        raise ValueError(f"ks: must be increasing positive integers, not {ks}")
    result = json.loads(_core._metrics(array, step, box, ks))
    nan = float("nan")
    for key in ("Sb", "Sbb", "alpha"):
        result[key] = nan if result[key] is None else float(result[key])
    result["f"] = {int(k): nan if f is None else float(f) for k, f in result["f"].items()}
    return result
