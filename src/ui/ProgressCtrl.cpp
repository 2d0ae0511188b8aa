#include "ui/ProgressCtrl.h"

#include "platform/Platform.h"

#include <QCoreApplication>
#include <QTimerEvent>

#include <limits>

namespace {
// The bar's range is an int; totals beyond it are shown clipped.
int ToPosition(uint32_t milliseconds) {
    return static_cast<int>(std::min<uint32_t>(milliseconds, std::numeric_limits<int>::max()));
}
}  // namespace

ProgressCtrl::ProgressCtrl(uint32_t timerId, uint32_t totalTime, uint32_t stepInterval, QWidget* parent)
    : QProgressBar(parent), timerId_(timerId), totalTime_(totalTime), stepInterval_(stepInterval) {
    setTextVisible(false);
    setValue(0);
}

ProgressCtrl::ProgressCtrl(QWidget* parent) : ProgressCtrl(0, 0, 0, parent) {}

ProgressCtrl::~ProgressCtrl() = default;

void ProgressCtrl::SetTiming(uint32_t timerId, uint32_t totalTime, uint32_t stepInterval) {
    timerId_ = timerId;
    totalTime_ = totalTime;
    stepInterval_ = stepInterval;
}

void ProgressCtrl::Start() {
    setRange(0, ToPosition(totalTime_));
    setValue(0);
    startTick_ = Platform::Current().GetTickCount();
    stepTimer_.start(static_cast<int>(stepInterval_), this);
}

void ProgressCtrl::Stop() { stepTimer_.stop(); }

void ProgressCtrl::Reset() { setValue(0); }

void ProgressCtrl::Finish() {
    stepTimer_.stop();
    setValue(ToPosition(totalTime_));
}

void ProgressCtrl::OnTimer() {
    if (!IsRunning()) return;
    const uint32_t elapsed = Platform::Current().GetTickCount() - startTick_;
    if (elapsed < totalTime_) {
        setValue(ToPosition(elapsed));
        return;
    }
    Finish();
    if (QWidget* parent = parentWidget()) QCoreApplication::postEvent(parent, new TimerExpiredEvent(timerId_));
}

void ProgressCtrl::timerEvent(QTimerEvent* event) {
    if (event->timerId() != stepTimer_.timerId()) {
        QProgressBar::timerEvent(event);
        return;
    }
    OnTimer();
}

QEvent::Type TimerExpiredEvent::EventType() {
    static const Type type = static_cast<Type>(QEvent::registerEventType());
    return type;
}
