// An ordered list of listener registrations, guarded by a lock, that
// delivers an event to the listeners in the order they were added.
#pragma once

#include "assign/SetIPListener.h"

#include <cstdint>
#include <list>
#include <mutex>

class SetIPNotifier {
public:
    SetIPNotifier() = default;
    // Discards the registrations without notifying anyone.
    virtual ~SetIPNotifier() = default;
    SetIPNotifier(const SetIPNotifier&) = delete;
    SetIPNotifier& operator=(const SetIPNotifier&) = delete;

    // Appends a registration; the listener is not owned and may be added
    // more than once.
    void AddListener(SetIPListener* listener, uintptr_t context);
    // Removes the first registration of `listener`, if there is one.
    void RemoveListener(SetIPListener* listener);
    // Calls the listeners in order until one returns true; returns whether
    // one did. The lock is held during the calls, so a listener may drop its
    // own registration but must not touch any other.
    bool NotifyListeners(SetIPEvent event);

private:
    struct Registration {
        SetIPListener* listener;
        uintptr_t context;
    };

    std::recursive_mutex lock_;
    std::list<Registration> registrations_;
};
