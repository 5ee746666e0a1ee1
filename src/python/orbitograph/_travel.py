"""Results as xarray Datasets, which netCDF and Zarr stores keep exactly.

Parameters become attributes: numbers as they are, the directions as 1
(outward) or 0 (inward), since netCDF has no boolean attribute. The label
codes carry CF's flag_values and flag_meanings."""

import numpy as np

LABEL_CODES = (0, 1, 2, 3, 4, 5, 255)
LABEL_NAMES = ("infinity", "zero", "T", "O", "M", "H", "no_list")


def attributes(params):
    return {name: int(value) if isinstance(value, bool) else value for name, value in params.items()}


def coordinate(param, values):
    """The values of a swept parameter as used: iteration counts as int64."""
    return values.astype(np.int64) if param == "iterations" else values


def _xarray():
    import xarray

    return xarray


def result_dataset(result):
    xr = _xarray()
    dims = ("y", "x")
    labels = xr.Variable(dims, result.labels, {"flag_values": np.array(LABEL_CODES, dtype=np.uint8),
                                              "flag_meanings": " ".join(LABEL_NAMES)})
    data = {"labels": labels, "end_x": (dims, result.end_x), "end_y": (dims, result.end_y)}
    attrs = attributes(result.params)
    if result.attractor is not None:
        # The analysis: its four arrays, and the catalogue as columns over
        # the coordinate "attractor_id" (netCDF keeps no list of dicts).
        for name in ("exit_step", "cycle_start", "period", "attractor"):
            data[name] = (dims, np.array(getattr(result, name)))
        for key in ("period", "x", "y", "basin"):
            data["attractor_" + key] = ("attractor_id", np.array([a[key] for a in result.attractors],
                                                                 dtype=np.float64 if key in "xy" else np.int64))
        attrs.update(escaped=result.escaped, unsettled=result.unsettled, delta=result.delta)
    coords = {"x": result.x, "y": result.y}
    if result.attractor is not None:
        coords["attractor_id"] = np.array([a["id"] for a in result.attractors], dtype=np.int64)
    return xr.Dataset(data, coords=coords, attrs=attributes(attrs))


def counts_dataset(counts):
    xr = _xarray()
    dims = tuple(counts.coords)
    return xr.Dataset({key: (dims, values) for key, values in counts.items()}, coords=dict(counts.coords),
                      attrs=attributes(counts.params))


def orbit_dataset(orbit):
    xr = _xarray()
    columns = {name: ("step", values) for name, values in orbit.items()
               if isinstance(values, np.ndarray) and name != "step"}
    attrs = attributes(orbit.params)
    attrs.update(omitted=orbit["omitted"], gap_at=orbit["gap_at"])
    # netCDF keeps no None: an absent left_square or cycle_start is left out.
    attrs.update({name: value for name, value in orbit["summary"].items() if value is not None})
    return xr.Dataset(columns, coords={"step": orbit["step"]}, attrs=attributes(attrs))
