// Closes the next modal dialog or popup menu once it is open, after letting
// the test look at it, so that no test waits for a user.
#pragma once

#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <functional>

// Polls for the next modal window (or popup) for up to two seconds; runs
// `inspect` on it and closes it with Esc semantics.
inline void CloseNextModal(std::function<void(QWidget*)> inspect, bool popup = false, int attempts = 200) {
    QTimer::singleShot(10, [inspect = std::move(inspect), popup, attempts]() mutable {
        QWidget* window = popup ? QApplication::activePopupWidget() : QApplication::activeModalWidget();
        if (!window) {
            if (attempts > 0) CloseNextModal(std::move(inspect), popup, attempts - 1);
            return;
        }
        inspect(window);
        window->close();
    });
}
