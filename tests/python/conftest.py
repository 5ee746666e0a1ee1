import os
import subprocess

import numpy as np
import pytest

RENDER = os.environ.get("ORBITOGRAPH_RENDER", "orbitograph-render")

# Drawn once with a fixed seed: parameter sets across directions, signs,
# iteration counts, steps and rectangles; coarse grids keep the tests fast.
_rng = np.random.default_rng(14)
DRAWN = [
    dict(a=float(_rng.uniform(-1.2, 1.2)), dc=float(_rng.uniform(-0.9, 0.9)), kc=float(_rng.uniform(-0.9, 0.9)),
         dc_outward=bool(_rng.integers(2)), kc_outward=bool(_rng.integers(2)), iterations=int(_rng.integers(-1, 30)),
         step=float(_rng.choice([0.01, 0.023, 0.05])), x1=float(_rng.uniform(-2, 0)), x2=float(_rng.uniform(0, 2)),
         y1=float(_rng.uniform(-2, 0)), y2=float(_rng.uniform(0, 2)))
    for _ in range(4)
]


def command_args(params):
    """The headless command's options for the module's parameters."""
    args = []
    for name, value in params.items():
        if name.endswith("_outward"):
            args.append(f"--{name[:2]}-direction={'outward' if value else 'inward'}")
        else:
            args.append(f"--{name}={value!r}")
    return args


def run_command(*args):
    done = subprocess.run([RENDER, *args], capture_output=True, timeout=60, check=True)
    return done.stdout.decode()


@pytest.fixture
def png_pixels():
    from PIL import Image

    def read(path):
        return np.asarray(Image.open(path).convert("RGBA"))

    return read
