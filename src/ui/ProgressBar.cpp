#include "ui/ProgressBar.h"

#include <QTimerEvent>

#include <algorithm>
#include <limits>

namespace {
// The bar's range is an int; totals beyond it are shown clipped.
int ToPosition(uint32_t milliseconds) {
    return static_cast<int>(std::min<uint32_t>(milliseconds, std::numeric_limits<int>::max()));
}
}  // namespace

ProgressBar::ProgressBar(QWidget* parent) : QProgressBar(parent) {
    setTextVisible(false);
    setValue(0);
}

ProgressBar::~ProgressBar() = default;

void ProgressBar::SetRange(uint32_t high) { setRange(0, ToPosition(high)); }

void ProgressBar::SetPosition(uint32_t position) { setValue(ToPosition(position)); }

void ProgressBar::StartStepTimer(uint32_t intervalMs) { stepTimer_.start(static_cast<int>(intervalMs), this); }

void ProgressBar::StopStepTimer() { stepTimer_.stop(); }

void ProgressBar::timerEvent(QTimerEvent* event) {
    if (event->timerId() != stepTimer_.timerId()) {
        QProgressBar::timerEvent(event);
        return;
    }
    if (step_) step_();
}
