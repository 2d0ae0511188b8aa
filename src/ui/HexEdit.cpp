#include "ui/HexEdit.h"

#include <QApplication>
#include <algorithm>
#include <QKeyEvent>
#include <QValidator>

namespace {

// The upper-case style of the field: every text that reaches it, typed or
// pasted, is shown in upper case.
class UpperCaseStyle : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int&) const override {
        input = input.toUpper();
        return Acceptable;
    }
};

bool IsControlCharacter(QChar c) { return c.unicode() < 32 || c.unicode() == 127; }

bool IsHexDigit(QChar c) { return QStringLiteral("0123456789ABCDEF").contains(c.toUpper()); }

}  // namespace

HexEdit::HexEdit(QWidget* parent) : QLineEdit(parent) { setValidator(new UpperCaseStyle(this)); }

HexEdit::~HexEdit() = default;

void HexEdit::keyPressEvent(QKeyEvent* event) {
    const QString typed = event->text();
    // Keys without a character (arrows, Delete, Home), shortcuts with Ctrl,
    // and control characters (backspace, clipboard and undo keys) pass.
    const bool isCharacter = !typed.isEmpty() && !(event->modifiers() & (Qt::ControlModifier | Qt::MetaModifier)) &&
                             !IsControlCharacter(typed.front());
    if (!isCharacter || std::all_of(typed.begin(), typed.end(), IsHexDigit)) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    event->accept();
    QApplication::beep();
}
