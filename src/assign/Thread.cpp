#include "assign/Thread.h"

#include "platform/Platform.h"
#include "support/Log.h"

Thread::Thread() {
    LogScope log("Thread::Thread");
    log.Debug("Create");
}

Thread::~Thread() {
    LogScope log("Thread::~Thread");
    log.Debug("Delete");
}

bool Thread::Start(uintptr_t startParam) {
    LogScope log("Thread::Start");
    log.Debug("Start");

    startFailed = false;
    startedEvent.Reset();
    destroyEvent.Reset();
    stoppedEvent.Reset();
    exitCode = 0;
    param = startParam;

    if (!Platform::Current().StartThread([this] { ThreadStarter(this); })) {
        log.Error("Failed to start thread");
        stoppedEvent.Set();
        startFailed = true;
        return false;
    }
    workerStarted_ = true;

    log.Debug("Thread starting");
    startedEvent.Wait();
    log.Debug("Thread started");
    return true;
}

int32_t Thread::ThreadStarter(Thread* thread) {
    LogScope log("Thread::ThreadStarter");
    log.Debug("Starting");
    thread->stoppedEvent.Reset();

    log.Debug("Starting Run");
    thread->startedEvent.Set();
    log.Debug("created event");

    const int32_t result = thread->Run(thread->param);
    thread->exitCode = result;

    log.Debug("after run");
    log.Debug("I am stoped");
    thread->stoppedEvent.Set();

    log.Debug("Waiting for destroy event");
    thread->destroyEvent.Wait();
    delete thread;
    return result;
}

bool Thread::WaitForStoped(uint32_t timeoutMs) {
    LogScope log("Thread::WaitForStoped");
    if (stoppedEvent.WaitFor(timeoutMs)) {
        log.Debug("Stoped");
        return true;
    }
    log.Debug("Timeout %d MilliSeconds", static_cast<int>(timeoutMs));
    return false;
}

void Thread::Destroy() {
    // Without a worker nobody else would ever delete the object.
    if (startFailed || !workerStarted_) {
        delete this;
        return;
    }
    destroyEvent.Set();
}
