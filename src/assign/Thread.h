// The base of an object that runs on a worker thread of its own and is
// deleted by that thread once its owner has given it up.
#pragma once

#include "assign/ManualResetEvent.h"

#include <cstdint>

class Thread {
public:
    Thread();
    // Neither waits for nor stops the worker.
    virtual ~Thread();
    Thread(const Thread&) = delete;
    Thread& operator=(const Thread&) = delete;

    // Starts the worker, which calls Run with `param`; returns once the worker
    // has begun, or false when it could not be created.
    bool Start(uintptr_t param);
    // True if Run has returned (or the start failed) within `timeoutMs`.
    bool WaitForStoped(uint32_t timeoutMs);
    // Gives the object up: the worker deletes it once Run has returned, or
    // it is deleted at once when no worker was started. Never touch the
    // object afterwards.
    void Destroy();

    // The worker thread's procedure.
    static int32_t ThreadStarter(Thread* thread);

protected:
    virtual int32_t Run(uintptr_t param) = 0;

    uintptr_t param = 0;
    int32_t exitCode = 0;
    bool startFailed = false;
    ManualResetEvent startedEvent;
    ManualResetEvent stoppedEvent;
    ManualResetEvent destroyEvent;

private:
    bool workerStarted_ = false;
};
