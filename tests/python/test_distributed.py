import os
import signal
import subprocess
import sys
import textwrap
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


# Chunks of a few tenths of a second: a kill lands while both workers compute.
SLOW = dict(step=0.004, iterations=50, threads=1)


@pytest.fixture(scope="module")
def slow_plane():
    return orbitograph.plane("a", A, "dc", DC, **SLOW)


def test_a_worker_killed_mid_plane_changes_nothing(client, slow_plane):
    params, local = SLOW, slow_plane
    pids = client.run(os.getpid)
    killed = []

    def kill_one():
        os.kill(next(iter(pids.values())), signal.SIGKILL)
        killed.append(time.monotonic())

    threading.Timer(0.6, kill_one).start()
    got = orbitograph.plane("a", A, "dc", DC, client=client, chunk_size=5, **params)  # a short last chunk
    assert killed and killed[0] < time.monotonic(), "the plane ended before a worker could be killed"
    assert_same(got, local)
    assert_same(orbitograph.sweep("kc", DC, client=client, step=0.05), orbitograph.sweep("kc", DC, step=0.05))


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


def _scheduler_tasks(dask_scheduler):
    return len(dask_scheduler.tasks)


def _fail_on_row(value):
    """Makes the worker's counting fail for the chunk whose first row is value."""
    core = orbitograph._orbitograph
    original = getattr(core, "_original_counts", core._counts_of_rows)

    def counts(params, names, rows, threads):
        if value is not None and rows[0][0] == value:
            raise ValueError("a chunk failed")
        return original(params, names, rows, threads)

    core._original_counts = original
    core._counts_of_rows = counts


@pytest.mark.parametrize("stop", ["interrupt", "error"])
def test_ctrl_c_and_errors_cancel_the_planes_chunks(client, stop):
    timer = threading.Timer(0.5, os.kill, (os.getpid(), signal.SIGINT))
    if stop == "interrupt":
        timer.start()
    else:
        client.run(_fail_on_row, A[2])
    try:
        with pytest.raises(KeyboardInterrupt if stop == "interrupt" else ValueError) as caught:
            orbitograph.plane("a", A, "dc", DC, client=client, chunk_size=2, **SLOW)
        # The traceback, kept here, holds the futures: they were cancelled, not dropped.
        deadline = time.monotonic() + 5
        while client.run_on_scheduler(_scheduler_tasks) and time.monotonic() < deadline:
            time.sleep(0.05)
        assert client.run_on_scheduler(_scheduler_tasks) == 0
        assert caught.traceback
    finally:
        timer.cancel()
        client.run(_fail_on_row, None)


def _tile_marks(store):
    folder = store / "tiles"
    if not folder.exists():
        return {}
    # A mark still being written is a temporary name that a worker may rename
    # meanwhile: only finished marks count.
    return {name: os.stat(folder / name).st_ino for name in os.listdir(folder) if not name.endswith(".partial")}


def test_a_plane_written_to_zarr_resumes_after_its_client_is_killed(client, slow_plane, tmp_path):
    store = tmp_path / "plane.zarr"
    script = textwrap.dedent(f"""
        import sys, numpy as np, orbitograph
        from distributed import Client
        with Client(sys.argv[1]) as c:
            orbitograph.plane("a", np.array({A.tolist()}), "dc", np.array({DC.tolist()}), client=c,
                              store=sys.argv[2], chunk_size=6, **{SLOW!r})
        """)
    child = subprocess.Popen([sys.executable, "-c", script, client.scheduler.address, str(store)])
    try:
        deadline = time.monotonic() + 60
        while len(_tile_marks(store)) < 2 and child.poll() is None and time.monotonic() < deadline:
            time.sleep(0.02)
        child.kill()
    finally:
        child.wait(10)
    written = _tile_marks(store)
    tiles = (len(A) // 6) * len(DC)
    assert 2 <= len(written) < tiles, "the client was not killed mid-plane"
    got = orbitograph.plane("a", A, "dc", DC, client=client, store=str(store), chunk_size=6, **SLOW)
    assert_same({key: got[key].values for key in orbitograph.COUNT_KEYS}, slow_plane)
    np.testing.assert_array_equal(got.a, A)
    after = _tile_marks(store)
    assert len(after) == tiles and all(after[name] == inode for name, inode in written.items())
    with pytest.raises(ValueError, match="^store: "):
        orbitograph.plane("a", A, "dc", DC, client=client, store=str(store), chunk_size=6, **dict(SLOW, step=0.1))
