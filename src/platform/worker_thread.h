#pragma once

#include <cstddef>
#include <functional>

namespace corvel::platform {

// A thread with a chosen stack size (std::thread cannot set one). The body runs once; the
// destructor joins, so whoever owns the object knows the thread is gone when it is released.
class WorkerThread final {
public:
    WorkerThread() = default;
    ~WorkerThread();
    WorkerThread(const WorkerThread&) = delete;
    WorkerThread& operator=(const WorkerThread&) = delete;

    // False when the thread could not be created; the body then never runs.
    bool start(std::function<void()> body, std::size_t stackBytes);
    void join();

private:
    static void* entry(void* self);

    std::function<void()> m_body;
    unsigned long m_handle = 0;
    bool m_started = false;
};

} // namespace corvel::platform
