"""The Python module against the C++ engine and against the model written
out in NumPy, side by side in one run; and a parameter plane on this machine
against the same plane on a local Dask cluster.

    PYTHONPATH=build/python /usr/bin/python3 bench/python/module_bench.py [--no-numpy] [--cluster]

Every time is the best of several runs (machines shared with other work give
noisy single runs). The engine's own time is measured inside the module
around the engine call alone, with the same products that compute() hands
over (kind grid and end points) and, for reference, with the lists only.
"""

import argparse
import os
import sys
import time

import numpy as np

import orbitograph

# The tests' NumPy transcription of the model.
sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "..", "tests", "python"))
import numpy_model  # noqa: E402


def best(runs, fn):
    times = []
    for _ in range(runs):
        start = time.perf_counter()
        fn()
        times.append(time.perf_counter() - start)
    return min(times)


def module_overhead(step, runs, with_numpy):
    """Best wall and CPU (all threads) times of the engine with compute()'s
    products, of compute() itself, and of the engine making the lists only."""
    params = dict(orbitograph._DEFAULTS, step=step)
    wall = {"lists": [], "engine": [], "module": []}
    cpu = {"engine": [], "module": []}
    for _ in range(runs):  # interleaved, so that a burst of load hits every case
        wall["lists"].append(orbitograph._orbitograph._engine_seconds(params, 0, False))
        before = time.process_time()
        wall["engine"].append(orbitograph._orbitograph._engine_seconds(params, 0, True))
        cpu["engine"].append(time.process_time() - before)
        before, start = time.process_time(), time.perf_counter()
        result = orbitograph.compute(step=step)
        wall["module"].append(time.perf_counter() - start)
        cpu["module"].append(time.process_time() - before)
        del result  # freed outside the timing, as the engine's lists are
    row = {name: min(times) for name, times in wall.items()}
    row["overhead"] = row["module"] / row["engine"] - 1.0
    row["cpu overhead"] = min(cpu["module"]) / min(cpu["engine"]) - 1.0
    row["numpy"] = best(1, lambda: numpy_model.compute(step=step)) if with_numpy else float("nan")
    return row


def plane_throughput(client):
    a = np.linspace(0.2, 1.2, 32)
    dc = np.linspace(-0.6, 0.6, 32)
    params = dict(step=0.02, iterations=50)
    points = orbitograph.compute(**params).counts["start_points"]
    steps = len(a) * len(dc) * points * (params["iterations"] + 1)
    local = best(3, lambda: orbitograph.plane("a", a, "dc", dc, **params))
    remote = best(3, lambda: orbitograph.plane("a", a, "dc", dc, client=client, threads=1, **params))
    pairs = len(a) * len(dc)
    print(f"\nplane of {len(a)} x {len(dc)} pairs (A, Dc), h {params['step']}, N {params['iterations']}: "
          f"{points} start points each, {steps:.3g} map steps")
    print(f"{'':24}{'seconds':>10}{'pairs/s':>10}{'steps/s':>12}")
    for name, seconds in (("module, this process", local), ("Dask, 2 local workers", remote)):
        print(f"{name:24}{seconds:10.3f}{pairs / seconds:10.0f}{steps / seconds:12.3g}")
    print(f"cluster / single machine: {local / remote:.2f}")


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--no-numpy", action="store_true", help="skip the NumPy transcription")
    parser.add_argument("--cluster", action="store_true", help="also a plane on a local Dask cluster")
    args = parser.parse_args()
    print(f"{os.cpu_count()} cores; wall times in seconds, best of several runs; overhead of the module")
    print(f"over the engine with the same products, in wall time and in CPU time of all threads")
    print(f"{'h':>7}{'engine, lists':>15}{'engine':>10}{'module':>10}{'overhead':>10}{'CPU':>8}{'NumPy':>10}"
          f"{'NumPy/module':>14}")
    for step, runs in ((0.01, 100), (0.001, 5)):
        r = module_overhead(step, runs, not args.no_numpy)
        print(f"{step:7g}{r['lists']:15.4f}{r['engine']:10.4f}{r['module']:10.4f}{r['overhead']:10.1%}"
              f"{r['cpu overhead']:8.1%}{r['numpy']:10.3f}{r['numpy'] / r['module']:14.1f}")
    if args.cluster:
        from distributed import Client, LocalCluster

        with LocalCluster(n_workers=2, threads_per_worker=1, host="127.0.0.1", dashboard_address=None) as cluster, \
                Client(cluster) as client:
            plane_throughput(client)


if __name__ == "__main__":
    main()
