#pragma once

#include "ui_event.h"

#include <deque>

namespace corvel::platform {

// The queue between the window's signals and the main loop. Owned by the application state and
// used on the GUI thread only. Widgets post into it while Qt dispatches their events; the main
// loop takes one event at a time, and nested waits drop whatever arrived meanwhile.
class UiEventQueue final {
public:
    void post(UiEvent event);

    // Sleeps in Qt's event loop until a window event has been queued, then returns it.
    UiEvent waitForEvent();

    // Handles the window events already pending, without waiting, and drops the UiEvents they
    // produced: a click made during a nested wait is lost and never reaches the dispatcher.
    // Returns whether anything was dropped.
    bool pumpOneWindowEvent();

    // Sleeps until something wakes the event loop (a child's output or exit, a timer, a window
    // event), handles it, and drops the UiEvents produced. The nested waits are built on this.
    void sleepUntilWoken();

    bool empty() const { return m_events.empty(); }
    std::size_t size() const { return m_events.size(); }
    void clear() { m_events.clear(); }

private:
    std::deque<UiEvent> m_events;
};

} // namespace corvel::platform
