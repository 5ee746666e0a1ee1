"""A plane written by Dask workers into a Zarr folder, tile by tile, and
resumed from the tiles already written.

Layout: one int64 array per count key over the dimensions (param2, param1),
chunked by tile, the two parameters' values as coordinate arrays and the
other parameters as the group's attributes (what xarray.open_zarr reads);
besides them, plane.json describes the plane and tiles/J.I marks tile
(J, I) as written. Each worker writes its tile's chunks, then its mark; a
chunk and a mark are each written to a temporary file and renamed into
place, so a tile counts as written only once all of it is.
"""

import json
import math
import os

import numpy as np

from . import _orbitograph as _core
from . import _travel

_DESCRIPTION = "plane.json"
_TILES = "tiles"


def _tile_shape(rows, columns, chunk_size):
    across = max(1, min(columns, chunk_size))
    return max(1, min(rows, chunk_size // across)), across


def _write_tile(path, names, values2, values1, corner, params, threads):
    """Counts of one tile written into the store at corner (row, column),
    then its mark. What a Dask worker runs; returns nothing."""
    import zarr

    first, second = np.meshgrid(values1, values2)
    rows = np.column_stack([first.ravel(), second.ravel()])
    counts = _core._counts_of_rows(params, list(names), rows, threads)
    group = zarr.open_group(path, mode="r+")
    (row, column), shape = corner, (len(values2), len(values1))
    for k, key in enumerate(_core._count_keys()):
        group[key][row:row + shape[0], column:column + shape[1]] = counts[:, k].reshape(shape)
    group.store[f"{_TILES}/{row}.{column}"] = b"written"


def _description(names, tile, params):
    return {"dimensions": list(names), "tile": list(tile), "parameters": _travel.attributes(params)}


def _create(path, coords, tile, params, attrs):
    import zarr

    group = zarr.open_group(path, mode="w-")
    names = tuple(coords)
    shape = tuple(len(v) for v in coords.values())
    for key in _core._count_keys():
        # No fill value: xarray would read it as a mask and the counts as floats.
        counts = group.create(key, shape=shape, chunks=tile, dtype=np.int64, fill_value=None)
        counts.attrs["_ARRAY_DIMENSIONS"] = list(names)
    for name, values in coords.items():
        group.array(name, values, chunks=(max(1, len(values)),)).attrs["_ARRAY_DIMENSIONS"] = [name]
    group.attrs.update(_travel.attributes(attrs))
    # Written last: a store with its description is complete.
    group.store[_DESCRIPTION] = json.dumps(_description(names, tile, params)).encode()


def _check_same(path, coords, tile, params):
    """ValueError unless the store holds this very plane."""
    import zarr

    group = zarr.open_group(path, mode="r")
    try:
        found = json.loads(bytes(group.store[_DESCRIPTION]))
    except KeyError:
        raise ValueError(f"store: {path!r} is a Zarr group but no plane of this package; give a new folder") from None
    same = found == json.loads(json.dumps(_description(tuple(coords), tile, params)))
    same = same and all(np.array_equal(group[name][...], values) for name, values in coords.items())
    if not same:
        raise ValueError(f"store: {path!r} holds another plane (other parameters, values or chunk size); "
                         "give a new folder or remove it")


def _written(path):
    import zarr

    marks = zarr.DirectoryStore(path).listdir(_TILES)
    # A mark being written has a temporary name of more parts.
    return {tuple(int(n) for n in parts) for parts in (mark.split(".") for mark in marks) if len(parts) == 2}


def write_plane(client, store, outer, inner, params, threads, chunk_size, attrs, gathered):
    """Computes the tiles of the plane not yet written into the folder
    `store` on the client's workers and returns the store as an xarray
    Dataset. outer and inner: (name, values) of the rows' and the columns'
    parameter; attrs: the group's attributes."""
    import xarray

    path = os.fspath(store)
    (name2, values2), (name1, values1) = outer, inner
    if chunk_size is None:
        workers = max(1, len(client.scheduler_info().get("workers", {})))
        chunk_size = max(1, math.ceil(len(values1) * len(values2) / (4 * workers)))
    tile = _tile_shape(len(values2), len(values1), chunk_size)
    coords = {name2: _travel.coordinate(name2, values2), name1: _travel.coordinate(name1, values1)}
    if os.path.exists(os.path.join(path, ".zgroup")):
        _check_same(path, coords, tile, params)
    else:
        _create(path, coords, tile, params, attrs)
    written = _written(path)
    corners = [(row, column) for row in range(0, len(values2), tile[0]) for column in range(0, len(values1), tile[1])
               if (row, column) not in written]
    futures = client.map(_write_tile, [path] * len(corners), [(name1, name2)] * len(corners),
                         [values2[r:r + tile[0]] for r, _ in corners], [values1[c:c + tile[1]] for _, c in corners],
                         corners, [params] * len(corners), [threads] * len(corners))
    gathered(client, futures)
    return xarray.open_zarr(path, consolidated=False)
