// Closes the next modal dialog or popup menu once it is open, after letting
// the test look at it, so that no test waits for a user. It stops looking
// when it goes out of scope.
#pragma once

#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <functional>

class ModalCloser {
public:
    enum Kind { Modal, Popup };

    explicit ModalCloser(std::function<void(QWidget*)> inspect, Kind kind = Modal)
        : inspect_(std::move(inspect)), kind_(kind) {
        QObject::connect(&timer_, &QTimer::timeout, [this] { Poll(); });
        timer_.start(10);
    }

    bool Closed() const { return closed_; }

private:
    void Poll() {
        QWidget* window = kind_ == Popup ? QApplication::activePopupWidget() : QApplication::activeModalWidget();
        if (!window) return;
        timer_.stop();
        inspect_(window);
        closed_ = true;
        window->close();
    }

    std::function<void(QWidget*)> inspect_;
    Kind kind_;
    QTimer timer_;
    bool closed_ = false;
};
