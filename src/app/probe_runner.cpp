#include "app/probe_runner.h"

#include <QMetaObject>
#include <memory>
#include <optional>
#include <utility>

namespace orbitograph {

ProbeRunner::ProbeRunner(QObject* parent) : QObject(parent) {}

ProbeRunner::~ProbeRunner() { Stop(); }

// The worker polls the flag every 2^20 steps, so the join is short.
void ProbeRunner::Stop() {
    m_cancel.store(true);
    if (m_worker.joinable()) m_worker.join();
    m_running = false;
    m_onFinished = nullptr;
}

void ProbeRunner::Start(const ModelParams& params, double x0, double y0, Callback onFinished) {
    Stop();
    m_cancel.store(false);
    const std::uint64_t generation = ++m_generation;
    auto body = [this, params, x0, y0, generation] {
        ProbeOptions options;
        options.cancel = &m_cancel;
        auto result = std::make_shared<std::optional<ProbeResult>>(ProbeOrbit(params, x0, y0, options));
        // Queued to this object's thread; dropped if this object is gone.
        QMetaObject::invokeMethod(
            this,
            [this, result, generation] {
                if (generation != m_generation || !*result) return;  // superseded or cancelled
                if (m_worker.joinable()) m_worker.join();
                m_running = false;
                Callback callback = std::move(m_onFinished);
                m_onFinished = nullptr;
                if (callback) callback(std::move(**result));
            },
            Qt::QueuedConnection);
    };
    m_worker = std::jthread(std::move(body));
    m_onFinished = std::move(onFinished);
    m_running = true;
}

void ProbeRunner::Cancel() {
    ++m_generation;
    Stop();
}

}  // namespace orbitograph
