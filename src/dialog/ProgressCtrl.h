// A progress bar that measures elapsed time against a fixed total: its
// position is the milliseconds since Start, refreshed at every step of its
// step timer, and once the total has passed it posts one Timer message with
// its timer id to the dialog.
#pragma once

#include "dialog/DialogView.h"

#include <cstdint>

class ProgressCtrl {
public:
    ProgressCtrl(DialogView& view, int controlId, uint32_t timerId, uint32_t totalTime, uint32_t stepInterval);

    // Range 0..total, position 0, and the clock starts; restarts when running.
    void Start();
    // Stops the clock without telling the dialog; the position stays.
    void Stop();
    void Reset();
    // Stops the clock and fills the bar.
    void Finish();
    // One step: the position follows the elapsed time, or, once the total
    // has passed, the bar finishes and tells the dialog. Steps that come
    // after the bar stopped do nothing.
    void OnStep();

    bool IsRunning() const { return running_; }
    uint32_t TimerId() const { return timerId_; }

private:
    DialogView& view_;
    int controlId_;
    uint32_t timerId_;
    uint32_t totalTime_;
    uint32_t stepInterval_;
    uint32_t startTick_ = 0;
    bool running_ = false;
};
