import os
from typing import Any, Iterable, Mapping, Optional, Tuple, TypedDict, Unpack

import numpy as np
import numpy.typing as npt

# The model's keywords that orbit(), sweep() and plane() take, as compute()
# does, with its defaults.
class ModelKeywords(TypedDict, total=False):
    a: float
    dc: float
    kc: float
    dc_outward: bool
    kc_outward: bool
    iterations: int
    step: float
    x1: float
    x2: float
    y1: float
    y2: float

Values = Iterable[float] | npt.ArrayLike

BASIN_COLOURS: dict[int, str]
COUNT_KEYS: Tuple[str, ...]
LABELS: dict[int, Tuple[str, Optional[str]]]

def to_rgba(labels: npt.ArrayLike) -> npt.NDArray[np.uint8]: ...
def sweep_values(param: str, start: float, stop: float, count: int) -> npt.NDArray[np.float64]: ...

class Counts(dict[str, npt.NDArray[np.int64]]):
    coords: dict[str, npt.NDArray[Any]]
    params: dict[str, Any]
    def to_xarray(self) -> Any: ...

class Orbit(dict[str, Any]):
    params: dict[str, Any]
    def to_xarray(self) -> Any: ...

class Result:
    labels: npt.NDArray[np.uint8]
    x: npt.NDArray[np.float64]
    y: npt.NDArray[np.float64]
    end_x: npt.NDArray[np.float64]
    end_y: npt.NDArray[np.float64]
    counts: dict[str, int]
    report: str
    params: dict[str, Any]
    exit_step: Optional[npt.NDArray[np.int32]]
    cycle_start: Optional[npt.NDArray[np.int32]]
    period: Optional[npt.NDArray[np.int32]]
    attractor: Optional[npt.NDArray[np.int32]]
    attractors: Optional[list[dict[str, Any]]]
    escaped: Optional[int]
    unsettled: Optional[int]
    delta: Optional[float]
    @property
    def extent(self) -> Tuple[float, float, float, float]: ...
    def to_xarray(self) -> Any: ...

def compute(
    a: float = 0.8,
    dc: float = 0.5,
    kc: float = 0.8,
    dc_outward: bool = True,
    kc_outward: bool = False,
    iterations: int = 10,
    step: float = 0.01,
    x1: float = -2.0,
    x2: float = 2.0,
    y1: float = -2.0,
    y2: float = 2.0,
    threads: Optional[int] = None,
    *,
    analysis: bool = False,
    delta: float = 1e-9,
) -> Result: ...
def render(
    result: Result,
    size: Tuple[int, int] = (1000, 700),
    *,
    threads: Optional[int] = None,
    origin: Tuple[int, int] = ...,
    single: str = ...,
    no_params: bool = False,
    grid: bool = False,
    legend: bool = False,
    a_symmetry: bool = False,
    fit: bool = False,
    font_size: int = 13,
    colour_by: str = "kinds",
    legend_hx: str = "",
    legend_hy: str = "",
    legend_max_hx: float = 0.0,
    legend_min_hx: float = 0.0,
    legend_max_hy: float = 0.0,
    legend_min_hy: float = 0.0,
    legend_t: str = "",
    legend_o: str = "",
    legend_m: str = "",
    legend_h: str = "",
    legend_picture: str = ...,
    probe: Optional[tuple[float, float]] = None,
) -> npt.NDArray[np.uint8]: ...
def orbit(x0: float, y0: float, *, keep: int = 10000, **params: Unpack[ModelKeywords]) -> Orbit: ...
def sweep(
    param: str,
    values: Values,
    *,
    client: Any = None,
    chunk_size: Optional[int] = None,
    threads: Optional[int] = None,
    analysis: bool = False,
    metrics: bool = False,
    delta: float = 1e-9,
    **params: Unpack[ModelKeywords],
) -> Counts: ...
def plane(
    param1: str,
    values1: Values,
    param2: str,
    values2: Values,
    *,
    threads: Optional[int] = None,
    client: Any = None,
    chunk_size: Optional[int] = None,
    store: Optional[str | os.PathLike[str]] = None,
    analysis: bool = False,
    metrics: bool = False,
    delta: float = 1e-9,
    **params: Unpack[ModelKeywords],
) -> Counts | Any: ...
def continuation(
    param: str,
    values: Values,
    *,
    tolerance: float = 0.05,
    delta: float = 1e-9,
    threads: Optional[int] = None,
    **params: Unpack[ModelKeywords],
) -> dict[str, npt.NDArray[Any]]: ...
def metrics(labels: npt.ArrayLike, step: float, box: int = 5, ks: Iterable[int] = (1, 2, 4, 8)) -> dict[str, Any]: ...
