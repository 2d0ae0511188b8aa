#include "assign/SetIPNotifier.h"

void SetIPNotifier::AddListener(SetIPListener* listener, uintptr_t context) {
    std::lock_guard<std::recursive_mutex> lock(lock_);
    registrations_.push_back({listener, context});
}

void SetIPNotifier::RemoveListener(SetIPListener* listener) {
    std::lock_guard<std::recursive_mutex> lock(lock_);
    for (auto registration = registrations_.begin(); registration != registrations_.end(); ++registration) {
        if (registration->listener == listener) {
            registrations_.erase(registration);
            return;
        }
    }
}

bool SetIPNotifier::NotifyListeners(SetIPEvent event) {
    std::lock_guard<std::recursive_mutex> lock(lock_);
    for (auto registration = registrations_.begin(); registration != registrations_.end();) {
        const auto current = registration++;
        if (current->listener->OnEvent(event, current->context)) return true;
    }
    return false;
}
