import os
import signal
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
