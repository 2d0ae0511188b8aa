#include "dialog/ProgressCtrl.h"

#include "platform/Platform.h"

ProgressCtrl::ProgressCtrl(DialogView& view, int controlId, uint32_t timerId, uint32_t totalTime,
                           uint32_t stepInterval)
    : view_(view), controlId_(controlId), timerId_(timerId), totalTime_(totalTime), stepInterval_(stepInterval) {}

void ProgressCtrl::Start() {
    view_.SetBarRange(controlId_, totalTime_);
    view_.SetBarPosition(controlId_, 0);
    startTick_ = Platform::Current().GetTickCount();
    running_ = true;
    view_.StartBarTimer(controlId_, stepInterval_);
}

void ProgressCtrl::Stop() {
    running_ = false;
    view_.StopBarTimer(controlId_);
}

void ProgressCtrl::Reset() { view_.SetBarPosition(controlId_, 0); }

void ProgressCtrl::Finish() {
    Stop();
    view_.SetBarPosition(controlId_, totalTime_);
}

void ProgressCtrl::OnStep() {
    if (!running_) return;
    // Unsigned arithmetic: a wrap of the tick count still gives the true difference.
    const uint32_t elapsed = Platform::Current().GetTickCount() - startTick_;
    if (elapsed < totalTime_) {
        view_.SetBarPosition(controlId_, elapsed);
        return;
    }
    Finish();
    view_.Post(DialogMessage::Timer, timerId_);
}
