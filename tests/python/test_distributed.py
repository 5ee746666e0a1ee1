import os
import signal
import subprocess
import sys
import threading
import time

import numpy as np
import pytest
from distributed import Client, LocalCluster

import orbitograph

A = np.linspace(0.2, 1.2, 12)
DC = np.linspace(-0.6, 0.6, 6)


@pytest.fixture(scope="module")
def client():
    with LocalCluster(n_workers=2, threads_per_worker=1, processes=True, host="127.0.0.1",
                      dashboard_address=None) as cluster, Client(cluster) as client:
        yield client


def assert_same(got, expected):
    assert list(got) == list(expected)
    for key in expected:
        np.testing.assert_array_equal(got[key], expected[key], err_msg=key)


def test_plane_on_a_cluster_equals_the_local_one(client):
    local = orbitograph.plane("a", A, "dc", DC, step=0.05, threads=1)
    assert_same(orbitograph.plane("a", A, "dc", DC, step=0.05, threads=1, client=client, chunk_size=5), local)
    assert_same(orbitograph.sweep("kc", DC, client=client, step=0.05), orbitograph.sweep("kc", DC, step=0.05))


def test_a_worker_killed_mid_plane_changes_nothing(client):
    # Chunks of a few tenths of a second: the kill lands while both workers compute.
    params = dict(step=0.004, iterations=50, threads=1)
    local = orbitograph.plane("a", A, "dc", DC, **params)
    pids = client.run(os.getpid)
    killed = []

    def kill_one():
        os.kill(next(iter(pids.values())), signal.SIGKILL)
        killed.append(time.monotonic())

    threading.Timer(0.6, kill_one).start()
    got = orbitograph.plane("a", A, "dc", DC, client=client, chunk_size=3, **params)
    assert killed and killed[0] < time.monotonic(), "the plane ended before a worker could be killed"
    assert_same(got, local)


def test_the_readmes_cluster_example_runs_as_written(client, tmp_path):
    readme = open(os.path.join(os.path.dirname(__file__), "..", "..", "README.md"), encoding="utf-8").read()
    block = readme[readme.index("    # plane_on_cluster.py"):].split("\n\n")
    code = []
    for paragraph in block:
        if not paragraph.startswith("    "):
            break
        code.append("\n".join(line[4:] for line in paragraph.splitlines()))
    script = tmp_path / "plane_on_cluster.py"
    script.write_text("\n\n".join(code))
    assert len([line for line in script.read_text().splitlines() if line.strip()]) < 15
    done = subprocess.run([sys.executable, str(script), client.scheduler.address], capture_output=True,
                          timeout=120, check=True)
    assert done.stdout.startswith(b"bounded: ")
