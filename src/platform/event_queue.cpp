#include "event_queue.h"

#include <QCoreApplication>
#include <QEventLoop>

namespace corvel::platform {

void UiEventQueue::post(UiEvent event) { m_events.push_back(std::move(event)); }

UiEvent UiEventQueue::waitForEvent() {
    while (m_events.empty())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    UiEvent event = std::move(m_events.front());
    m_events.pop_front();
    return event;
}

bool UiEventQueue::pumpOneWindowEvent() {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    const bool dropped = !m_events.empty();
    m_events.clear();
    return dropped;
}

void UiEventQueue::sleepUntilWoken() {
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    m_events.clear();
}

} // namespace corvel::platform
