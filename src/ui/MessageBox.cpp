#include "ui/MessageBox.h"

#include "platform/Platform.h"
#include "support/StringIds.h"

#include <QApplication>
#include <QMessageBox>

#include <atomic>

namespace {

// Real boxes: modal, with their own event loop.
class ModalMessageBoxes : public MessageBoxes {
public:
    void Show(QWidget* parent, const std::string& text, MessageIcon icon, const std::string& caption) override {
        QMessageBox box(ToQt(icon), QString::fromStdString(caption), QString::fromStdString(text), QMessageBox::Ok,
                        parent);
        box.setTextFormat(Qt::PlainText);
        // A wait cursor of the caller does not reach over the box.
        QApplication::setOverrideCursor(Qt::ArrowCursor);
        box.exec();
        QApplication::restoreOverrideCursor();
    }

private:
    static QMessageBox::Icon ToQt(MessageIcon icon) {
        switch (icon) {
        case MessageIcon::Information:
            return QMessageBox::Information;
        case MessageIcon::Exclamation:
            return QMessageBox::Warning;
        case MessageIcon::Error:
            return QMessageBox::Critical;
        }
        return QMessageBox::NoIcon;
    }
};

std::atomic<MessageBoxes*> installed{nullptr};

// The application title: string 57344, or else the program's name.
std::string ApplicationTitle() {
    std::string title = Platform::Current().LoadStringResource(kIdsAppTitle);
    return title.empty() ? QCoreApplication::applicationName().toStdString() : title;
}

}  // namespace

MessageBoxes& MessageBoxes::Current() {
    static ModalMessageBoxes modal;
    MessageBoxes* boxes = installed.load();
    return boxes ? *boxes : modal;
}

void MessageBoxes::Install(MessageBoxes* boxes) { installed.store(boxes); }

void ShowMessage(QWidget* parent, const std::string& text, MessageIcon icon) {
    MessageBoxes::Current().Show(parent, text, icon, ApplicationTitle());
}

void ShowMessage(QWidget* parent, int id, MessageIcon icon) {
    ShowMessage(parent, Platform::Current().LoadStringResource(static_cast<unsigned>(id)), icon);
}
