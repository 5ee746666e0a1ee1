import json
import math

import numpy as np
import pytest

import orbitograph
from conftest import DRAWN, command_args, run_command


def _plain(metrics):
    """Every number as a float, NaN and None as "nan", the distances as ints."""
    def number(v):
        return "nan" if v is None or math.isnan(v) else float(v)
    out = {key: number(value) for key, value in metrics.items() if key != "f"}
    out["f"] = {int(k): number(f) for k, f in metrics["f"].items()}
    return out


@pytest.mark.parametrize("params", DRAWN[:3])
def test_metrics_equal_the_commands_in_every_integer_type(params):
    line = json.loads(run_command(*command_args(params), "--metrics", "--metrics-box=3", "--metrics-k=1,3,9"))
    labels = orbitograph.compute(**params).labels
    for dtype in (np.uint8, np.int16, np.int32, np.uint64):
        got = orbitograph.metrics(labels.astype(dtype), params["step"], box=3, ks=(1, 3, 9))
        assert list(got) == list(line)
        assert _plain(got) == _plain(line), dtype


def test_metrics_of_attractors_sit_inside_the_analysis_line():
    params = DRAWN[0]
    line = json.loads(run_command(*command_args(params), "--analysis", "--metrics", "--metrics-of=attractor"))
    ids = orbitograph.compute(**params, analysis=True).attractor
    assert _plain(line["metrics"]) == _plain(orbitograph.metrics(ids, params["step"]))
    assert "attractors" in line

