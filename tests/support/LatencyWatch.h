#pragma once

#include <QCoreApplication>
#include <QMetaObject>
#include <atomic>
#include <chrono>
#include <memory>
#include <thread>

namespace torvex {

// Measures from a thread of its own how late the application's thread (the
// window's) answers: every 20 ms it posts a call there and notes how long the
// call waited, or has been waiting so far. For bounds that only a thread
// blocked for seconds can break; figures belong in the benchmarks.
class CLatencyWatch {
public:
    CLatencyWatch() : m_pState(std::make_shared<State>()) {
        m_thread = std::thread([pState = m_pState] { Watch(pState); });
    }
    ~CLatencyWatch() {
        m_pState->bStop = true;
        m_thread.join();
    }
    CLatencyWatch(const CLatencyWatch&) = delete;
    CLatencyWatch& operator=(const CLatencyWatch&) = delete;

    // The longest wait seen, in milliseconds.
    int64_t MaxLateMs() const { return m_pState->nMaxLateMs.load(); }

private:
    using Clock = std::chrono::steady_clock;
    struct State {
        std::atomic<bool> bStop{false};
        std::atomic<bool> bPending{false};
        std::atomic<int64_t> nPostedMs{0};
        std::atomic<int64_t> nMaxLateMs{0};
        void Note(int64_t nLate) {
            int64_t n = nMaxLateMs.load();
            while (nLate > n && !nMaxLateMs.compare_exchange_weak(n, nLate)) {
            }
        }
    };
    static int64_t NowMs() {
        return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now().time_since_epoch()).count();
    }
    static void Watch(const std::shared_ptr<State>& pState) {
        while (!pState->bStop) {
            if (!pState->bPending.exchange(true)) {
                pState->nPostedMs = NowMs();
                QMetaObject::invokeMethod(
                    QCoreApplication::instance(),
                    [pState] {
                        pState->Note(NowMs() - pState->nPostedMs);
                        pState->bPending = false;
                    },
                    Qt::QueuedConnection);
            } else {
                pState->Note(NowMs() - pState->nPostedMs); // still not answered
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    }

    std::shared_ptr<State> m_pState;
    std::thread m_thread;
};

} // namespace torvex
