"""Attractors and basins of the quadratic map with an external action

    x' = A (x^2 - y^2) + Cx,    y' = A (2 x y) + Cy,

whose action C = (+-Dc, +-Kc) takes its signs anew at every step, computed by
Orbitograph's engine and handed to NumPy.

compute() iterates every start point of a grid and returns its labels, end
points and counts; render() draws the frame that orbitograph-render draws;
orbit() follows one start point; sweep() and plane() count the kinds over a
range of one parameter or a plane of two, on this machine or, given a Dask
client, on its workers.

Label codes: 0 infinity, 1 zero, 2 T, 3 O, 4 M, 5 H, 255 no list (the four
corner points |x| = |y| = 1 belong to no region).

Every computation releases the GIL and stops within about 100 ms on Ctrl+C
(KeyboardInterrupt). Its results do not depend on the number of threads.
Bad parameters raise ValueError naming the parameter.
"""

import json
import math
import numbers
import os

import numpy as np

from . import _orbitograph as _core

__all__ = ["BASIN_COLOURS", "COUNT_KEYS", "Result", "compute", "orbit", "plane", "render", "sweep"]

#: The keys of the counts, in the order of ``orbitograph-render --counts``.
COUNT_KEYS = tuple(_core._count_keys())

#: The colour of each basin kind in the picture, by label code: "#rrggbb".
BASIN_COLOURS = {code: f"#{argb & 0xFFFFFF:06x}" for code, argb in _core._basin_colours()}

# The model's parameters: (keyword, kind, default) in the order of compute()'s
# keywords, the kind "real", "direction" or "count".
_PARAMS = tuple(_core._param_table())
_DEFAULTS = {name: default for name, _, default in _PARAMS}
# render()'s keywords: (keyword, kind), the kind "flag", "integer", "real",
# "text" or "pair".
_DISPLAY = dict(_core._display_options())
_SWEPT = ("a", "dc", "kc", "iterations")
_INT32 = (-(2**31), 2**31 - 1)
_HERE = os.path.dirname(os.path.abspath(__file__))


class Result:
    """One computed grid.

    labels  uint8 [rows, columns], row 0 the lowest grid row (y1): the label
            code of every start point. It and end_x, end_y are Fortran-ordered
            (the engine walks the grid column by column); the end points are
            the engine's own buffers, handed over without a copy.
    x, y    float64 [columns] and [rows]: the grid coordinates, accumulated
            from x1 and y1 by repeated addition of the step, exactly as the
            engine walks them.
    end_x, end_y  float64 [rows, columns]: where each orbit ends, exactly;
            NaN where the engine proved that the orbit leaves the square
            without computing its end (label 0).
    counts  dict in the order of COUNT_KEYS: start points, attractors and the
            six basin kinds.
    report  the 19 report lines as ``orbitograph-render --report`` prints them.
    params  the parameters, as compute() takes them.
    """

    __slots__ = ("labels", "x", "y", "end_x", "end_y", "counts", "report", "params", "_grid")

    def __init__(self, grid, labels, x, y, end_x, end_y, counts_json, report, params):
        self._grid = grid
        self.labels = labels
        self.x = x
        self.y = y
        self.end_x = end_x
        self.end_y = end_y
        self.counts = json.loads(counts_json)
        self.report = report
        self.params = params

    def __repr__(self):
        rows, columns = self.labels.shape
        return f"<orbitograph.Result {columns} x {rows} start points, counts {self.counts}>"


def _real(name, value):
    if isinstance(value, (bool, np.bool_)) or not isinstance(value, numbers.Real):
        raise ValueError(f"{name}: must be a number, not {value!r}")
    return float(value)


def _integer(name, value):
    if isinstance(value, (bool, np.bool_)):
        raise ValueError(f"{name}: must be an integer, not {value!r}")
    if isinstance(value, numbers.Real) and not isinstance(value, numbers.Integral):
        if not math.isfinite(value) or not float(value).is_integer():
            raise ValueError(f"{name}: must be an integer, not {value!r}")
    elif not isinstance(value, numbers.Integral):
        raise ValueError(f"{name}: must be an integer, not {value!r}")
    if not _INT32[0] <= value <= _INT32[1]:
        raise ValueError(f"{name}: must be an integer from {_INT32[0]} to {_INT32[1]}")
    return int(value)


def _direction(name, value):
    if isinstance(value, (bool, np.bool_)) or value in (0, 1):
        return int(bool(value))
    raise ValueError(f"{name}: must be True (outward) or False (inward), not {value!r}")


def _pair(name, value):
    try:
        first, second = value
    except (TypeError, ValueError):
        raise ValueError(f"{name}: must be a pair of integers, not {value!r}") from None
    return _integer(name, first), _integer(name, second)


def _threads(threads):
    if threads is None:
        return 0
    if isinstance(threads, bool) or not isinstance(threads, numbers.Integral) or threads < 1:
        raise ValueError(f"threads: must be None (every core) or a positive integer, not {threads!r}")
    return int(threads)


def _model_params(caller, given):
    """The eleven parameters from the defaults and the keywords given."""
    params = dict(_DEFAULTS)
    for name, value in given.items():
        if name not in params:
            raise TypeError(f"{caller}() got an unexpected keyword argument '{name}'")
        params[name] = value
    check = {"real": _real, "direction": _direction, "count": _integer}
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
            x1=-2.0, x2=2.0, y1=-2.0, y2=2.0, threads=None):
    """Iterates every start point of the grid of step ``step`` over
    [x1, x2] x [y1, y2] (iterations + 1 map steps each) and returns a Result.

    dc_outward, kc_outward: True pushes that component towards infinity,
    False towards 0. threads: worker threads, None for every core; the result
    is the same for any number. The grid's pixel lists are kept for render()
    at the origin of the default 1000 x 700 frame.
    """
    params = _model_params("compute", dict(a=a, dc=dc, kc=kc, dc_outward=dc_outward, kc_outward=kc_outward,
                                           iterations=iterations, step=step, x1=x1, x2=x2, y1=y1, y2=y2))
    parts = _core._compute(params, _threads(threads))
    return Result(*parts, params=_public(params))


def render(result, size=(1000, 700), *, threads=None, **display):
    """The frame ``orbitograph-render`` draws for the result's parameters, as
    a uint8 array [height, width, 4] (RGBA), pixel for pixel its PNG.

    size: (width, height) of the client area. display: the command's picture
    options with underscores: ``single`` ("attractors" or "basins"), the
    switches ``no_params``, ``grid``, ``legend``, ``a_symmetry`` and ``fit``,
    ``font_size`` (1 to 50), the legend's names ``legend_hx``, ``legend_hy``,
    ``legend_t``, ``legend_o``, ``legend_m``, ``legend_h`` and bounds
    ``legend_max_hx``, ``legend_min_hx``, ``legend_max_hy``,
    ``legend_min_hy``, ``legend_picture`` (a file), and ``origin=(x, y)``
    (the centre of the size unless given). When the origin is not the one
    the result's lists were computed for, the grid is computed again for it.
    """
    if not isinstance(result, Result):
        raise TypeError("render() needs a Result from compute()")
    values = {"size": _pair("size", size)}
    for name, value in display.items():
        kind = _DISPLAY.get(name)
        if kind is None:
            raise TypeError(f"render() got an unexpected keyword argument '{name}'")
        if kind == "pair":
            values[name] = _pair(name, value)
        elif kind == "flag":
            if not isinstance(value, (bool, np.bool_)):
                raise ValueError(f"{name}: must be True or False, not {value!r}")
            values[name] = bool(value)
        elif value is None:
            continue
        elif kind == "integer":
            values[name] = _integer(name, value)
        elif kind == "real":
            values[name] = _real(name, value)
        else:
            values[name] = str(value)
    return _core._render(result._grid, values, _HERE, _threads(threads))


def orbit(x0, y0, *, keep=10_000, **params):
    """The orbit of the start point (x0, y0), state after state, with
    exactly the arithmetic of compute(). Keywords as for compute(); the
    grid's step and rectangle play no part.

    Returns a dict of equal-length columns: ``step`` (0 for the start point),
    ``x``, ``y``, the step's quadratic terms ``p`` and ``q``, the action's
    components ``cx`` and ``cy`` it added (NaN for row 0 and frozen steps) and
    ``frozen`` (the guard held the point); then ``omitted`` and ``gap_at``: an
    orbit longer than 2 * keep rows lists its first and last ``keep`` rows,
    ``omitted`` rows missing before row ``gap_at``; and ``summary``: ``steps``,
    ``left_square`` (first step outside [-2, 2]^2, or None), ``cycle_start``
    and ``period`` of an exact cycle, ``end_x``, ``end_y``, ``label`` (the
    end's label code) and ``reach``: "iterated", "cycle" (whole periods were
    skipped) or "escape" (proven to leave the square; the end is NaN).
    """
    params = _model_params("orbit", params)
    return _core._orbit(_real("x0", x0), _real("y0", y0), params, _integer("keep", keep))


def _counts_chunk(names, rows, params, threads):
    """Counts for a block of parameter rows; what a Dask worker runs."""
    return _core._counts_of_rows(params, names, rows, threads)


def _counts_of_rows(names, rows, params, threads, client, chunk_size):
    _core._check_rows(params, names, rows, threads)
    if client is None:
        return _core._counts_of_rows(params, names, rows, threads)
    if len(rows) == 0:
        return np.zeros((0, len(COUNT_KEYS)), dtype=np.int64)
    if chunk_size is None:
        workers = max(1, len(client.scheduler_info().get("workers", {})))
        chunk_size = math.ceil(len(rows) / (4 * workers))
    chunk_size = _integer("chunk_size", chunk_size)
    if chunk_size < 1:
        raise ValueError("chunk_size: must be a positive integer")
    blocks = [rows[i:i + chunk_size] for i in range(0, len(rows), chunk_size)]
    futures = client.map(_counts_chunk, [names] * len(blocks), blocks, [params] * len(blocks),
                         [threads] * len(blocks))
    return np.concatenate(client.gather(futures))


def _swept_values(name, param, values):
    if param not in _SWEPT:
        raise ValueError(f"{name}: must be one of {', '.join(_SWEPT)}, not {param!r}")
    values = np.asarray(values, dtype=np.float64)
    if values.ndim != 1:
        raise ValueError(f"{name}: the values must form a one-dimensional sequence")
    return values


def sweep(param, values, *, client=None, chunk_size=None, threads=None, **params):
    """Counts for every value of one parameter (``a``, ``dc``, ``kc`` or
    ``iterations``, the last rounded to integers), the others from the
    keywords as for compute(): a dict of int64 arrays keyed as COUNT_KEYS,
    one element per value, equal to single computations.

    client: a dask.distributed Client; the values are then computed in
    chunks of chunk_size (about four per worker unless given) on its workers,
    which Dask schedules and retries; the result is the same, in order. Each
    chunk uses `threads` threads of its worker (None: every core), so
    workers that run several chunks at once are best given threads=1.
    """
    values = _swept_values("param", param, values)
    base = _model_params("sweep", params)
    counts = _counts_of_rows([param], values.reshape(-1, 1), base, _threads(threads), client, chunk_size)
    return {key: counts[:, k] for k, key in enumerate(COUNT_KEYS)}


def plane(param1, values1, param2, values2, *, client=None, chunk_size=None, threads=None, **params):
    """Counts for every pair of values of two parameters (each as for
    sweep()): a dict of int64 arrays keyed as COUNT_KEYS, each of shape
    [len(values2), len(values1)]; element [j, i] counts the grid of
    values1[i] and values2[j]. client and chunk_size as for sweep().
    """
    values1 = _swept_values("param1", param1, values1)
    values2 = _swept_values("param2", param2, values2)
    if param1 == param2:
        raise ValueError(f"param2: must differ from param1 ({param1!r})")
    base = _model_params("plane", params)
    first, second = np.meshgrid(values1, values2)
    rows = np.column_stack([first.ravel(), second.ravel()])
    counts = _counts_of_rows([param1, param2], rows, base, _threads(threads), client, chunk_size)
    shape = (len(values2), len(values1))
    return {key: counts[:, k].reshape(shape) for k, key in enumerate(COUNT_KEYS)}

