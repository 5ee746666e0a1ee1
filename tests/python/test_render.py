import numpy as np
import pytest

import orbitograph
from conftest import DRAWN, command_args, run_command

CASES = [
    ({}, []),
    (dict(size=(640, 480), grid=True, legend=True, a_symmetry=True, font_size=17),
     ["--size=640x480", "--grid", "--legend", "--a-symmetry", "--font-size=17"]),
    (dict(size=(500, 400), single="basins", no_params=True, origin=(260, 190)),
     ["--size=500x400", "--single=basins", "--no-params", "--origin=260,190"]),
    (dict(size=(900, 500), fit=True, legend=True, legend_hx="Доход", legend_max_hx=2.5, legend_t="Т-зона"),
     ["--size=900x500", "--fit", "--legend", "--legend-hx=Доход", "--legend-max-hx=2.5", "--legend-t=Т-зона"]),
]


@pytest.mark.parametrize("display, args", CASES, ids=range(len(CASES)))
def test_render_equals_the_commands_png(tmp_path, png_pixels, display, args):
    params = DRAWN[1]
    frame = orbitograph.render(orbitograph.compute(**params), **display)
    picture = tmp_path / "frame.png"
    run_command("-o", str(picture), *args, *command_args(params))
    expected = png_pixels(picture)
    assert frame.shape == expected.shape and frame.dtype == np.uint8
    np.testing.assert_array_equal(frame, expected)
