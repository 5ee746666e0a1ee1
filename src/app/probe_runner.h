#pragma once

#include <QObject>
#include <atomic>
#include <cstdint>
#include <functional>
#include <thread>

#include "model/model_params.h"
#include "model/probe.h"

namespace orbitograph {

// Follows one orbit on a worker thread and hands the result whole to a
// callback on the thread that owns this object (the interface thread),
// through its event queue. A new Start or Cancel supersedes the running
// probe: it is told to stop and its result is dropped, so only the last
// start point asked for is ever delivered. Destruction cancels and waits.
class ProbeRunner : public QObject {
public:
    using Callback = std::function<void(ProbeResult&&)>;

    explicit ProbeRunner(QObject* parent = nullptr);
    ~ProbeRunner() override;

    // Throws std::system_error when no thread can be made (nothing runs then).
    void Start(const ModelParams& params, double x0, double y0, Callback onFinished);
    void Cancel();
    bool Running() const { return m_running; }

private:
    void Stop();

    std::atomic<bool> m_cancel{false};
    std::uint64_t m_generation = 0;  // interface thread only
    bool m_running = false;
    Callback m_onFinished;
    std::jthread m_worker;
};

}  // namespace orbitograph
