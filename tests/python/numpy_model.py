"""The model written out in NumPy, operation for operation: what a researcher
would write by hand. The benchmark times it against the module; the tests use
it as an independent oracle of labels and end points on small grids."""

import numpy as np


def grid_side(lo, hi, step):
    """lo, lo + step, ... while <= hi, each the previous double plus step."""
    out = []
    v = lo
    while v <= hi:
        out.append(v)
        v += step
    return np.array(out, dtype=np.float64)


def _action(term, magnitude, outward):
    # Zero and NaN terms take +magnitude whatever the direction.
    up, down = (magnitude, -magnitude) if outward else (-magnitude, magnitude)
    return np.where(term > 0.0, up, np.where(term < 0.0, down, magnitude))


def end_points(x, y, a, dc, kc, dc_outward, kc_outward, iterations):
    """End points after iterations + 1 steps; a point with y >= 100 and
    x <= -100 stays where it is."""
    x = np.array(x, dtype=np.float64)
    y = np.array(y, dtype=np.float64)
    with np.errstate(all="ignore"):
        for _ in range(iterations + 1):
            moving = (y < 100.0) | (x > -100.0)
            p = (x * x - y * y) * a
            xy = x * y
            q = (xy + xy) * a
            x = np.where(moving, p + _action(p, dc, dc_outward), x)
            y = np.where(moving, q + _action(q, kc, kc_outward), y)
    return x, y


def labels_of(xe, ye):
    """Label codes: 0 infinity, 1 zero, 2 T, 3 O, 4 M, 5 H, 255 no list."""
    labels = np.full(xe.shape, 255, dtype=np.uint8)
    inside = (xe >= -2.0) & (xe <= 2.0) & (ye >= -2.0) & (ye <= 2.0)
    zero = inside & (np.abs(xe) <= 0.1) & (np.abs(ye) <= 0.1)
    region = inside & ~zero
    ax, ay = np.abs(xe), np.abs(ye)
    labels[region & (ax > 1.0) & (ay <= 1.0)] = 3
    labels[region & (ay >= 1.0) & (ax < 1.0)] = 5
    labels[region & (ax <= 1.0) & (ay < 1.0)] = 2
    labels[region & (ax >= 1.0) & (ay > 1.0)] = 4
    labels[zero] = 1
    labels[~inside] = 0
    return labels


def compute(a=0.8, dc=0.5, kc=0.8, dc_outward=True, kc_outward=False, iterations=10, step=0.01,
            x1=-2.0, x2=2.0, y1=-2.0, y2=2.0):
    """labels, end_x, end_y as [rows, columns], row 0 at y1."""
    columns, rows = np.meshgrid(grid_side(x1, x2, step), grid_side(y1, y2, step))
    xe, ye = end_points(columns, rows, a, dc, kc, dc_outward, kc_outward, iterations)
    return labels_of(xe, ye), xe, ye
