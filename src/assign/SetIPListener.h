// How an assignment job reports its outcome.
#pragma once

#include <cstdint>

enum class SetIPEvent : int32_t {
    InUse = 0,    // the address answered a test ping; nothing was changed
    Success = 1,  // the device answered after its neighbour entry was added
    Failed = 2,   // the neighbour entry could not be added, or the job could not start
    AddressHeld = 3,  // another run owns the address; nothing was probed or changed
};

// Receives a job's outcome on the job's worker thread, with the job's
// listener lock held: it must return promptly.
class SetIPListener {
public:
    // `context` is the value given at registration; true keeps the event
    // from the listeners registered after this one.
    virtual bool OnEvent(SetIPEvent event, uintptr_t context) = 0;

protected:
    ~SetIPListener() = default;
};
