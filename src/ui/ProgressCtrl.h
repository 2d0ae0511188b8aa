// A progress bar that measures elapsed time against a fixed total: its
// position is the milliseconds since Start, and once the total has passed it
// posts its parent one TimerExpiredEvent carrying the bar's timer id.
#pragma once

#include <QBasicTimer>
#include <QEvent>
#include <QProgressBar>

#include <cstdint>

class ProgressCtrl : public QProgressBar {
    Q_OBJECT
public:
    ProgressCtrl(uint32_t timerId, uint32_t totalTime, uint32_t stepInterval, QWidget* parent = nullptr);
    // A bar without timing yet, as a dialog layout creates it; see SetTiming.
    explicit ProgressCtrl(QWidget* parent = nullptr);
    ~ProgressCtrl() override;

    void SetTiming(uint32_t timerId, uint32_t totalTime, uint32_t stepInterval);

    // Range 0..total, position 0, and the clock starts; restarts when running.
    void Start();
    // Stops the clock without telling the parent; the position stays.
    void Stop();
    void Reset();
    // Stops the clock and fills the bar.
    void Finish();
    // One step: the position follows the elapsed time, or, once the total
    // has passed, the bar finishes and tells its parent. The step timer
    // calls it every step interval.
    void OnTimer();

    bool IsRunning() const { return stepTimer_.isActive(); }
    uint32_t TimerId() const { return timerId_; }

protected:
    void timerEvent(QTimerEvent* event) override;

private:
    uint32_t timerId_ = 0;
    uint32_t totalTime_ = 0;
    uint32_t stepInterval_ = 0;
    uint32_t startTick_ = 0;
    QBasicTimer stepTimer_;
};

// What a ProgressCtrl posts to its parent when its total time has run out.
class TimerExpiredEvent : public QEvent {
public:
    explicit TimerExpiredEvent(uint32_t timerId) : QEvent(EventType()), timerId(timerId) {}
    static Type EventType();

    const uint32_t timerId;
};
