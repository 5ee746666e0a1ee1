import numpy as np
import pytest

import orbitograph
from conftest import command_args, run_command

PARAMS = dict(iterations=300, step=0.02)


@pytest.mark.parametrize("start, more", [((0.3, -0.1), []), ((-0.39, 0.29), ["--fit"])])
def test_render_probe_equals_the_commands_png(tmp_path, png_pixels, start, more):
    picture = tmp_path / "frame.png"
    run_command("-o", str(picture), f"--probe={start[0]!r},{start[1]!r}", *more, *command_args(PARAMS))
    result = orbitograph.compute(**PARAMS)
    frame = orbitograph.render(result, probe=start, fit="--fit" in more)
    np.testing.assert_array_equal(frame, png_pixels(picture))
    assert (frame != orbitograph.render(result, fit="--fit" in more)).any()


@pytest.mark.parametrize("probe, error", [((0.1, float("nan")), ValueError), ((0.1,), TypeError), ("0,1", TypeError)])
def test_render_refuses_a_bad_probe(probe, error):
    with pytest.raises(error, match="probe"):
        orbitograph.render(orbitograph.compute(step=0.2), probe=probe)
