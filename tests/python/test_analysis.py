import json

import numpy as np
import pytest

import orbitograph
from conftest import DRAWN, command_args, run_command

INWARD = dict(a=0.6, dc=0.9, kc=0.3, dc_outward=False, kc_outward=False, iterations=300, step=0.05)
SETS = [(DRAWN[0], 1e-9), (DRAWN[2], 0.0), (INWARD, 1e-9), (INWARD, 0.7), (dict(a=-0.0, iterations=3), float("inf"))]


@pytest.mark.parametrize("params, delta", SETS, ids=range(len(SETS)))
def test_arrays_and_catalogue_equal_the_commands(tmp_path, params, delta):
    result = orbitograph.compute(**params, analysis=True, delta=delta)
    archive = tmp_path / "grid.npz"
    line = run_command("--analysis", f"--analysis-delta={delta!r}", "--export", str(archive), *command_args(params))
    expected = json.loads(line)
    assert (result.attractors, result.escaped, result.unsettled) == (
        expected["attractors"], expected["escaped"], expected["unsettled"])
    with np.load(archive) as npz:
        for name in ("exit_step", "cycle_start", "period", "attractor"):
            got = getattr(result, name)
            assert got.dtype == np.int32 and not got.flags.writeable
            np.testing.assert_array_equal(got, npz[name], err_msg=name)
        meta = json.loads(str(npz["meta"]))
        assert (meta["analysis"], meta["attractor_delta"]) == (expected, delta)


@pytest.mark.parametrize("colour_by, more", [("attractor", []), ("exit", ["--fit"]), ("period", ["--legend"])])
def test_render_colour_by_equals_the_commands_png(tmp_path, png_pixels, colour_by, more):
    result = orbitograph.compute(**INWARD, analysis=True, delta=0.25)
    picture = tmp_path / "frame.png"
    run_command("-o", str(picture), f"--colour-by={colour_by}", "--analysis-delta=0.25", *more,
                *command_args(INWARD))
    frame = orbitograph.render(result, colour_by=colour_by, fit="--fit" in more, legend="--legend" in more)
    np.testing.assert_array_equal(frame, png_pixels(picture))

