import os
import signal
import threading
import time

import pytest

import orbitograph

# Seconds from SIGINT to KeyboardInterrupt: the poll interval (50 ms) plus the
# engine's reaction, with room for a machine busy with other builds.
LIMIT = 0.4


@pytest.mark.parametrize("call", [
    lambda: orbitograph.compute(iterations=2_000_000_000, threads=2),
    lambda: orbitograph.sweep("a", [0.8, 0.81], iterations=2_000_000_000, threads=1),
], ids=["compute", "sweep"])
def test_ctrl_c_cancels_within_the_limit(call):
    sent = []

    def interrupt():
        sent.append(time.monotonic())
        os.kill(os.getpid(), signal.SIGINT)

    timer = threading.Timer(0.3, interrupt)
    timer.start()
    try:
        with pytest.raises(KeyboardInterrupt):
            call()
        assert time.monotonic() - sent[0] < LIMIT
    finally:
        timer.cancel()
    assert orbitograph.compute(step=0.1).counts["start_points"] == 40 * 40
