"""Checks of the package's arguments: TypeError for a value of the wrong
type, ValueError for a wrong value, each naming the keyword as the caller
wrote it. Numbers may be Python or NumPy numbers or 0-d arrays of them."""

import math
import numbers
import os

import numpy as np

INT32 = (-(2**31), 2**31 - 1)


def _scalar(value):
    """A 0-d array's element; anything else as it is."""
    if isinstance(value, np.ndarray) and value.ndim == 0:
        return value[()]
    return value


def _is_bool(value):
    return isinstance(value, (bool, np.bool_))


def _is_number(value):
    return isinstance(value, numbers.Real) and not _is_bool(value)


def _type_error(name, expected, value):
    shown = f"an array of shape {value.shape}" if isinstance(value, np.ndarray) else f"{type(value).__name__} {value!r}"
    return TypeError(f"{name}: must be {expected}, not {shown}")


def real(name, value, finite=False):
    """A float; finite=True refuses NaN and infinities."""
    if type(value) is float and (not finite or math.isfinite(value)):
        return value  # the common case, quickly
    value = _scalar(value)
    if not _is_number(value):
        raise _type_error(name, "a number", value)
    try:
        out = float(value)
    except OverflowError:
        raise ValueError(f"{name}: {value!r} is too large for a double") from None
    if finite and not math.isfinite(out):
        raise ValueError(f"{name}: must be a finite number, not {out!r}")
    return out


def integer(name, value, lo=INT32[0], hi=INT32[1]):
    """An int from lo to hi; a float of integer value is taken as that integer."""
    if type(value) is int and lo <= value <= hi:
        return value
    value = _scalar(value)
    if not _is_number(value):
        raise _type_error(name, "an integer", value)
    if not isinstance(value, numbers.Integral):
        if not math.isfinite(value) or not float(value).is_integer():
            raise ValueError(f"{name}: must be an integer, not {value!r}")
        value = int(value)
    if not lo <= value <= hi:
        raise ValueError(f"{name}: must be an integer from {lo} to {hi}, not {value!r}")
    return int(value)


def direction(name, value):
    """1 for True (outward), 0 for False (inward); 1 and 0 are taken too."""
    if value is True or value is False:
        return int(value)
    value = _scalar(value)
    if _is_bool(value):
        return int(bool(value))
    if not isinstance(value, numbers.Integral):
        raise _type_error(name, "True (outward) or False (inward)", value)
    if value not in (0, 1):
        raise ValueError(f"{name}: must be True (outward) or False (inward), not {value!r}")
    return int(value)


def flag(name, value):
    value = _scalar(value)
    if not _is_bool(value):
        raise _type_error(name, "True or False", value)
    return bool(value)


def text(name, value, path=False):
    """A str that encodes as UTF-8; with path=True also an os.PathLike."""
    if path and isinstance(value, os.PathLike):
        value = os.fspath(value)
    if not isinstance(value, str):
        raise _type_error(name, "a path" if path else "a str", value)
    try:
        value.encode("utf-8")
    except UnicodeEncodeError as e:
        raise ValueError(f"{name}: not valid Unicode text (a lone surrogate at index {e.start})") from None
    return value


def pair(name, value, lo=INT32[0], hi=INT32[1]):
    """Two integers from lo to hi, as a tuple."""
    if isinstance(value, (str, bytes)) or not hasattr(value, "__len__") or len(value) != 2:
        raise _type_error(name, "a pair of integers", value)
    return integer(name, value[0], lo, hi), integer(name, value[1], lo, hi)


def real_pair(name, value):
    """Two finite floats, as a tuple."""
    if isinstance(value, (str, bytes)) or not hasattr(value, "__len__") or len(value) != 2:
        raise _type_error(name, "a pair of numbers", value)
    return real(name, value[0], finite=True), real(name, value[1], finite=True)


def threads(value, most):
    """0 for None (every core), else a count from 1 to most."""
    if value is None:
        return 0
    return integer("threads", value, 1, most)


def round_iterations(name, values):
    """Iteration counts from float64 values, rounded half away from zero;
    ValueError naming the first value that is not finite or whose rounding
    lies outside the 32-bit range."""
    with np.errstate(invalid="ignore"):
        whole = np.trunc(values)
        rounded = whole + np.copysign(np.abs(values - whole) >= 0.5, values)
        bad = ~((rounded >= INT32[0]) & (rounded <= INT32[1]))
    if bad.any():
        value = float(values[np.argmax(bad)])
        raise ValueError(f"{name}: {value!r} is not an iteration count (values round half away from zero "
                         f"to integers from {INT32[0]} to {INT32[1]})")
    return rounded


def swept_values(name, param, values, swept):
    """The values of a swept parameter as float64, finite; iteration counts
    rounded (round_iterations)."""
    if not isinstance(param, str):
        raise _type_error(name, "a parameter name", param)
    if param not in swept:
        raise ValueError(f"{name}: must be one of {', '.join(swept)}, not {param!r}")
    try:
        values = np.asarray(values, dtype=np.float64)
    except (TypeError, ValueError):
        raise TypeError(f"{param}: the values must be numbers") from None
    if values.ndim != 1:
        raise ValueError(f"{param}: the values must form a one-dimensional sequence")
    if param == "iterations":
        return round_iterations(param, values)
    if not np.isfinite(values).all():
        raise ValueError(f"{param}: {float(values[~np.isfinite(values)][0])!r} is not a finite number")
    return values
