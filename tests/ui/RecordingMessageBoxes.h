// Message boxes for tests: each one is recorded and answered with OK at
// once. Like a real box's own loop, it first handles the events posted so far.
#pragma once

#include "ui/MessageBox.h"

#include <QCoreApplication>

#include <functional>
#include <string>
#include <vector>

struct ShownMessage {
    std::string text;
    MessageIcon icon;
    std::string caption;
};

class RecordingMessageBoxes : public MessageBoxes {
public:
    RecordingMessageBoxes() { MessageBoxes::Install(this); }
    ~RecordingMessageBoxes() override { MessageBoxes::Install(nullptr); }

    void Show(QWidget*, const std::string& text, MessageIcon icon, const std::string& caption) override {
        shown.push_back({text, icon, caption});
        if (whileShown) whileShown(shown.back());
        QCoreApplication::sendPostedEvents();
    }

    std::vector<ShownMessage> shown;
    // Runs while a box is open, before the posted events are handled.
    std::function<void(const ShownMessage&)> whileShown;
};
