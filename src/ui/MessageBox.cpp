#include "ui/MessageBox.h"

#include <QApplication>
#include <QMessageBox>

#include <atomic>

namespace {

// Real boxes: modal, with their own event loop.
class ModalMessageBoxes : public MessageBoxes {
public:
    void Show(QWidget* parent, const std::string& text, MessageIcon icon, const std::string& caption) override {
        const QString title = caption.empty() ? QCoreApplication::applicationName() : QString::fromStdString(caption);
        QMessageBox box(ToQt(icon), title, QString::fromStdString(text), QMessageBox::Ok,
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

}  // namespace

MessageBoxes& MessageBoxes::Current() {
    static ModalMessageBoxes modal;
    MessageBoxes* boxes = installed.load();
    return boxes ? *boxes : modal;
}

void MessageBoxes::Install(MessageBoxes* boxes) { installed.store(boxes); }

