#pragma once

#include <coroutine>
#include <exception>
#include <functional>
#include <memory>
#include <optional>
#include <utility>

namespace torvex {

// A coroutine that does its work in steps on one thread: it runs until it
// waits for something (an instrument exchange), and the event loop resumes it
// when the answer is there. The thread is never blocked in between.
//
// A task starts when it is awaited by another task, or by Start() for the
// outermost one. The object owns the coroutine's frame: destroying it (or the
// task that awaits it) abandons the work wherever it stands.
template <class T = void> class Task;

namespace detail {

struct TaskPromiseBase {
    std::coroutine_handle<> m_continuation;
    // The outermost task: called once it has finished.
    std::function<void()> m_fnDone;

    std::suspend_always initial_suspend() noexcept { return {}; }
    struct FinalAwaiter {
        bool await_ready() noexcept { return false; }
        template <class P> std::coroutine_handle<> await_suspend(std::coroutine_handle<P> h) noexcept {
            TaskPromiseBase& p = h.promise();
            if (p.m_continuation) return p.m_continuation;
            if (p.m_fnDone) {
                // The callback may destroy this frame: it is suspended, and
                // nothing touches it after the call.
                std::function<void()> fnDone = std::move(p.m_fnDone);
                fnDone();
            }
            return std::noop_coroutine();
        }
        void await_resume() noexcept {}
    };
    FinalAwaiter final_suspend() noexcept { return {}; }
    void unhandled_exception() noexcept { std::terminate(); }
};

template <class T> struct TaskPromise : TaskPromiseBase {
    std::optional<T> m_value;
    Task<T> get_return_object() noexcept;
    void return_value(T value) { m_value = std::move(value); }
};

template <> struct TaskPromise<void> : TaskPromiseBase {
    Task<void> get_return_object() noexcept;
    void return_void() noexcept {}
};

} // namespace detail

template <class T> class [[nodiscard]] Task {
public:
    using promise_type = detail::TaskPromise<T>;
    using Handle = std::coroutine_handle<promise_type>;

    Task() = default;
    explicit Task(Handle h) : m_h(h) {}
    Task(Task&& o) noexcept : m_h(std::exchange(o.m_h, {})) {}
    Task& operator=(Task&& o) noexcept {
        if (this != &o) {
            Reset();
            m_h = std::exchange(o.m_h, {});
        }
        return *this;
    }
    Task(const Task&) = delete;
    Task& operator=(const Task&) = delete;
    ~Task() { Reset(); }

    bool Valid() const { return bool(m_h); }
    bool Done() const { return m_h && m_h.done(); }
    void Reset() {
        if (m_h) std::exchange(m_h, {}).destroy();
    }

    // Runs the outermost task up to its first wait; fnDone is called when it
    // has finished (possibly before Start returns).
    void Start(std::function<void()> fnDone) {
        m_h.promise().m_fnDone = std::move(fnDone);
        m_h.resume();
    }

    // Awaiting a task runs it and resumes the awaiting one when it finishes.
    bool await_ready() const noexcept { return false; }
    std::coroutine_handle<> await_suspend(std::coroutine_handle<> awaiting) noexcept {
        m_h.promise().m_continuation = awaiting;
        return m_h;
    }
    T await_resume() {
        if constexpr (!std::is_void_v<T>) return std::move(*m_h.promise().m_value);
    }

private:
    Handle m_h;
};

namespace detail {
template <class T> Task<T> TaskPromise<T>::get_return_object() noexcept {
    return Task<T>(std::coroutine_handle<TaskPromise<T>>::from_promise(*this));
}
inline Task<void> TaskPromise<void>::get_return_object() noexcept {
    return Task<void>(std::coroutine_handle<TaskPromise<void>>::from_promise(*this));
}
} // namespace detail

// Suspends the awaiting task until fnStart's callback is called with the
// result. fnStart gets that callback and must arrange for it to be called
// later, from the event loop of the awaiting task's thread.
// When the awaiting task is abandoned first, the late result is dropped.
template <class T> class Pending {
public:
    using Starter = std::function<void(std::function<void(T)>)>;
    explicit Pending(Starter fnStart) : m_fnStart(std::move(fnStart)) {}
    Pending(Pending&& o) noexcept : m_fnStart(std::move(o.m_fnStart)), m_value(std::move(o.m_value)) {}
    ~Pending() { *m_pAlive = false; }
    bool await_ready() const noexcept { return false; }
    void await_suspend(std::coroutine_handle<> h) {
        m_fnStart([this, h, pAlive = m_pAlive](T value) {
            if (!*pAlive) return;
            m_value = std::move(value);
            h.resume();
        });
    }
    T await_resume() { return std::move(*m_value); }

private:
    Starter m_fnStart;
    std::optional<T> m_value;
    std::shared_ptr<bool> m_pAlive = std::make_shared<bool>(true);
};

} // namespace torvex
