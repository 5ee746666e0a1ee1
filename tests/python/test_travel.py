import copy
import multiprocessing
import pickle

import numpy as np
import pytest
import xarray

import orbitograph

PARAMS = dict(a=0.9, dc=-0.3, kc_outward=True, iterations=12, step=0.05, x1=-1.5, y2=1.25)


def _arrays(value):
    """The arrays and parameters of any result, for comparisons."""
    if isinstance(value, orbitograph.Result):
        return {**value.__getstate__(), "extent": value.extent}
    return {"items": dict(value), "attributes": vars(value)}


def _assert_same(got, expected):
    if isinstance(expected, dict):
        assert type(got) is type(expected) and list(got) == list(expected)
        for key in expected:
            _assert_same(got[key], expected[key])
    elif isinstance(expected, np.ndarray):
        assert got.dtype == expected.dtype
        np.testing.assert_array_equal(got, expected)
    else:
        assert got == expected


def _results():
    return {
        "compute": orbitograph.compute(**PARAMS),
        "analysed": orbitograph.compute(**PARAMS, analysis=True, delta=1e-6),
        "orbit": orbitograph.orbit(0.3, -0.2, keep=4, **PARAMS),
        "sweep": orbitograph.sweep("iterations", [3, 7.5], **PARAMS),
        "plane": orbitograph.plane("a", [0.5, 1.1, 1.3], "dc", [0.1, 0.2], **PARAMS),
    }


def _compute_in_child(params):
    return orbitograph.compute(**params)


def test_results_pickle_and_deep_copy_with_their_arrays_and_parameters():
    for name, result in _results().items():
        for twin in (pickle.loads(pickle.dumps(result)), copy.deepcopy(result)):
            assert type(twin) is type(result), name
            _assert_same(_arrays(twin), _arrays(result))
    # A result returned by another process still draws its frame.
    original = orbitograph.compute(**PARAMS)
    with multiprocessing.get_context("spawn").Pool(1) as pool:
        returned = pool.apply(_compute_in_child, (PARAMS,))
    expected = orbitograph.render(original, size=(320, 200))
    np.testing.assert_array_equal(orbitograph.render(returned, size=(320, 200)), expected)
    np.testing.assert_array_equal(orbitograph.render(copy.deepcopy(original), size=(320, 200)), expected)


@pytest.mark.parametrize("writer", ["to_netcdf", "to_zarr"])
def test_datasets_hold_every_array_and_survive_netcdf_and_zarr(tmp_path, writer):
    results = _results()
    r = results["compute"]
    ds = r.to_xarray()
    np.testing.assert_array_equal(ds.x, r.x)
    np.testing.assert_array_equal(ds.y, r.y)
    assert ds.labels.dims == ("y", "x") and ds.labels.sel(x=r.x[3], y=r.y[5]) == r.labels[5, 3]
    assert orbitograph.compute(**{k: bool(v) if k.endswith("_outward") else v
                                  for k, v in ds.attrs.items()}).counts == r.counts
    plane = results["plane"].to_xarray()
    assert plane["T"].dims == ("dc", "a") and plane["T"].sel(a=1.1, dc=0.2) == results["plane"]["T"][1, 1]
    assert results["sweep"].to_xarray().iterations.values.tolist() == [3, 8]
    for name, result in results.items():
        ds = result.to_xarray()
        path = tmp_path / f"{name}.{writer[3:]}"
        getattr(ds, writer)(path)
        opened = (xarray.open_dataset if writer == "to_netcdf" else xarray.open_zarr)(path)
        with opened as back:
            xarray.testing.assert_identical(back.load(), ds)
            for var in ds.variables:
                assert back[var].dtype == ds[var].dtype, (name, var)
