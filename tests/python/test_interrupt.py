import os
import signal
import threading
import time

import pytest

import orbitograph

# Seconds from SIGINT to KeyboardInterrupt: the poll interval (50 ms) plus the
# engine's reaction, with room for a machine busy with other builds.
LIMIT = 0.4
SMALL = orbitograph.compute(step=0.1)


def _interrupt_after(delay, sent):
    def interrupt():
        sent.append(time.monotonic())
        os.kill(os.getpid(), signal.SIGINT)

    timer = threading.Timer(delay, interrupt)
    timer.start()
    return timer


def _long_compute():
    return orbitograph.compute(step=0.002, iterations=3000, threads=2)


def _duration(call):
    begun = time.monotonic()
    call()
    return time.monotonic() - begun


@pytest.mark.parametrize("call, delays", [
    # Early, midway and late in the computation (lists written at the end).
    (_long_compute, lambda: [f * _duration(_long_compute) for f in (0.1, 0.5, 0.9)]),
    (lambda: orbitograph.sweep("a", [0.8, 0.81], iterations=2_000_000_000, threads=1), lambda: [0.3]),
    (lambda: orbitograph.render(SMALL, size=(16384, 16384)), lambda: [0.2, 0.5]),
], ids=["compute", "sweep", "render"])
def test_ctrl_c_cancels_within_the_limit_throughout(call, delays):
    delays = delays()
    landed = 0
    for delay in delays:
        sent = []
        timer = _interrupt_after(delay, sent)
        try:
            call()
        except KeyboardInterrupt:
            assert time.monotonic() - sent[0] < LIMIT, delay
            landed += 1
        finally:
            timer.cancel()
    # A run quicker than the one measured may end before its late interrupt.
    assert landed >= max(1, len(delays) - 1)
    assert orbitograph.compute(step=0.1).counts["start_points"] == 40 * 40


def test_render_lets_other_threads_run():
    frames = []
    worker = threading.Thread(target=lambda: frames.append(orbitograph.render(SMALL, size=(4096, 4096))))
    begun = time.monotonic()
    worker.start()
    longest, last = 0.0, time.monotonic()
    while worker.is_alive():
        time.sleep(0.005)
        now = time.monotonic()
        longest, last = max(longest, now - last), now
    took = time.monotonic() - begun
    worker.join()
    assert frames and frames[0].shape == (4096, 4096, 4)
    # Held GIL: this thread would wait the whole render.
    assert longest < max(0.25, took / 3), (longest, took)
