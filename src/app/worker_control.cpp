#include "app/worker_control.h"

namespace orbitograph {

ComputeControl WorkerControl(const std::atomic<bool>& cancel, std::atomic<double>& progress) {
    ComputeControl control;
    control.cancel = &cancel;
    control.progress = [&progress](double fraction) {
        double seen = progress.load(std::memory_order_relaxed);
        while (fraction > seen && !progress.compare_exchange_weak(seen, fraction, std::memory_order_relaxed)) {
        }
    };
    return control;
}

}  // namespace orbitograph
