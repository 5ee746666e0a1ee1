"""The package's results: a computed grid, the counts of a sweep or a plane,
an orbit. Each pickles, deep-copies and converts to an xarray Dataset."""

import copy
import json

from . import _travel


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

    With compute(analysis=True), what every orbit does within its steps
    (None otherwise): s_0 ... s_T its states, T = iterations + 1 (0 when
    iterations is negative).
    exit_step, cycle_start, period, attractor  int32 [rows, columns], laid
            out as labels, read-only: the first k with s_k outside
            [-2, 2] x [-2, 2] (-1: none); the smallest p >= 1 with some
            s_{k+p} == s_k bit for bit (k + p <= T) and the smallest such k
            (0 and -1: none); the attractor the orbit's cycle belongs to
            (0: none).
    attractors  list of dicts (id, period, x, y, basin) by id: each
            attractor's smallest period, smallest state (exact) and basin
            size. Cycles with states within delta (both coordinates) of each
            other, taken transitively, make one attractor.
    escaped, unsettled  start points without an attractor that left the
            square, and that did not.
    delta   the merge distance.

    A Result pickles and deep-copies with its arrays and parameters (so that
    multiprocessing, joblib and Dask tasks can return it); render() computes
    the pixel lists of an unpickled one again. to_xarray() gives it as an
    xarray Dataset.
    """

    __slots__ = ("labels", "x", "y", "end_x", "end_y", "counts", "report", "params", "exit_step", "cycle_start",
                 "period", "attractor", "attractors", "escaped", "unsettled", "delta", "_grid")

    def __init__(self, grid, labels, x, y, end_x, end_y, counts_json, report, analysed, params, delta):
        self._grid = grid
        self.labels = labels
        self.x = x
        self.y = y
        self.end_x = end_x
        self.end_y = end_y
        self.counts = json.loads(counts_json)
        self.report = report
        self.params = params
        self.exit_step, self.cycle_start, self.period, self.attractor, analysis_json = analysed
        catalogue = json.loads(analysis_json) if analysis_json is not None else {}
        self.attractors = catalogue.get("attractors")
        self.escaped = catalogue.get("escaped")
        self.unsettled = catalogue.get("unsettled")
        self.delta = delta if analysis_json is not None else None

    def __getstate__(self):
        return {name: getattr(self, name) for name in self.__slots__ if name != "_grid"}

    def __setstate__(self, state):
        self._grid = None
        for name, value in state.items():
            setattr(self, name, value)

    def __deepcopy__(self, memo):
        # The pixel lists are never changed once computed: the copy shares them.
        twin = Result.__new__(Result)
        twin.__setstate__(copy.deepcopy(self.__getstate__(), memo))
        twin._grid = self._grid
        return twin

    @property
    def extent(self):
        """(left, right, bottom, top) of the grid's cells, for matplotlib's
        imshow(labels, origin="lower", extent=result.extent)."""
        half = self.params["step"] / 2
        return (self.x[0] - half, self.x[-1] + half, self.y[0] - half, self.y[-1] + half)

    def to_xarray(self):
        """An xarray.Dataset: labels, end_x and end_y over the coordinates y
        and x (the exact grid), the parameters as attributes."""
        return _travel.result_dataset(self)

    def __repr__(self):
        rows, columns = self.labels.shape
        return f"<orbitograph.Result {columns} x {rows} start points, counts {self.counts}>"


class Counts(dict):
    """The counts of a sweep or a plane: int64 arrays keyed as COUNT_KEYS.

    coords  {parameter: values used} in the order of the arrays' axes (a
            plane's second parameter first); iteration counts rounded.
    params  the other parameters, as compute() takes them.
    """

    def __init__(self, counts, coords, params):
        super().__init__(counts)
        self.coords = coords
        self.params = params

    def to_xarray(self):
        """An xarray.Dataset of the counts over the swept parameters' values
        as coordinates, the other parameters as attributes."""
        return _travel.counts_dataset(self)


class Orbit(dict):
    """The columns of an orbit (see orbit()) and its summary."""

    def __init__(self, columns, params):
        super().__init__(columns)
        self.params = params

    def to_xarray(self):
        """An xarray.Dataset of the columns over the coordinate step, the
        summary and the parameters as attributes."""
        return _travel.orbit_dataset(self)


# Pickled and shown as the package's own.
for _class in (Result, Counts, Orbit):
    _class.__module__ = "orbitograph"
