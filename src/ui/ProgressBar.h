// The progress bar of the main dialog: a smooth bar without text whose range
// and position are milliseconds, and a step timer of its own whose ticks go
// to the dialog's timed bar.
#pragma once

#include <QBasicTimer>
#include <QProgressBar>

#include <cstdint>
#include <functional>

class ProgressBar : public QProgressBar {
    Q_OBJECT
public:
    explicit ProgressBar(QWidget* parent = nullptr);
    ~ProgressBar() override;

    // What runs at each tick of the step timer.
    void SetStep(std::function<void()> step) { step_ = std::move(step); }
    void SetRange(uint32_t high);
    void SetPosition(uint32_t position);
    // Starts, or restarts, the step timer.
    void StartStepTimer(uint32_t intervalMs);
    void StopStepTimer();
    bool IsStepping() const { return stepTimer_.isActive(); }

protected:
    void timerEvent(QTimerEvent* event) override;

private:
    std::function<void()> step_;
    QBasicTimer stepTimer_;
};
