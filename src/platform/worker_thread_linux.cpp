#include "worker_thread.h"

#include <algorithm>
#include <climits>
#include <pthread.h>

namespace corvel::platform {

WorkerThread::~WorkerThread() {
    join();
}

void* WorkerThread::entry(void* self) {
    static_cast<WorkerThread*>(self)->m_body();
    return nullptr;
}

bool WorkerThread::start(std::function<void()> body, std::size_t stackBytes) {
    if (m_started)
        return false;
    m_body = std::move(body);
    pthread_attr_t attributes;
    if (pthread_attr_init(&attributes) != 0)
        return false;
    const std::size_t stack = std::max<std::size_t>(stackBytes, PTHREAD_STACK_MIN);
    pthread_t handle{};
    const bool made = pthread_attr_setstacksize(&attributes, stack) == 0 &&
                      pthread_create(&handle, &attributes, &WorkerThread::entry, this) == 0;
    pthread_attr_destroy(&attributes);
    if (!made)
        return false;
    m_handle = static_cast<unsigned long>(handle);
    m_started = true;
    return true;
}

void WorkerThread::join() {
    if (!m_started)
        return;
    pthread_join(static_cast<pthread_t>(m_handle), nullptr);
    m_started = false;
}

} // namespace corvel::platform
