#include "ui/IPAddressCtrl.h"

#include "support/Log.h"
#include "ui/ControlId.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>

#include <utility>

// One number of the address: up to three digits, moving on to the next
// field after the third digit or a dot, and back on backspace when empty.
class IPAddressField : public QLineEdit {
public:
    IPAddressField(IPAddressCtrl* control, int index) : QLineEdit(control), control_(control), index_(index) {
        setFrame(false);
        setMaxLength(3);
        setAlignment(Qt::AlignCenter);
        // Tab reaches the control at its first field, as the template's tab
        // stop says, and leaves it from any field.
        setFocusPolicy(index == 0 ? Qt::StrongFocus : Qt::ClickFocus);
        const int width = fontMetrics().horizontalAdvance(QStringLiteral("0000"));
        setFixedWidth(width);
    }

    // The range is shown as the field's tip; what was typed is never changed.
    void SetRange(int low, int high) { setToolTip(QStringLiteral("%1-%2").arg(low).arg(high)); }

protected:
    void keyPressEvent(QKeyEvent* event) override {
        const QString typed = event->text();
        const bool last = index_ == IPAddressCtrl::kFieldCount - 1;
        switch (event->key()) {
        case Qt::Key_Backspace:
            if (text().isEmpty() && index_ > 0) {
                control_->MoveToField(index_ - 1, IPAddressCtrl::Caret::AtEnd);
                return;
            }
            break;
        case Qt::Key_Left:
            if (cursorPosition() == 0 && !hasSelectedText() && index_ > 0) {
                control_->MoveToField(index_ - 1, IPAddressCtrl::Caret::AtEnd);
                return;
            }
            break;
        case Qt::Key_Right:
            if (cursorPosition() == text().size() && !last) {
                control_->MoveToField(index_ + 1, IPAddressCtrl::Caret::AtStart);
                return;
            }
            break;
        default:
            break;
        }
        if (typed == QLatin1String(".") || typed == QLatin1String(" ")) {
            if (!text().isEmpty() && !hasSelectedText() && !last)
                control_->MoveToField(index_ + 1, IPAddressCtrl::Caret::SelectAll);
            event->accept();
            return;
        }
        const bool isCharacter = !typed.isEmpty() && typed.front().unicode() >= 32 && typed.front().unicode() != 127 &&
                                 !(event->modifiers() & (Qt::ControlModifier | Qt::MetaModifier));
        if (isCharacter && (typed.front() < QLatin1Char('0') || typed.front() > QLatin1Char('9'))) {
            event->accept();
            return;
        }
        QLineEdit::keyPressEvent(event);
        // A key the field leaves (Enter, Esc) travels on through the control.
        if (!event->isAccepted()) control_->keyFromField_ = true;
        if (isCharacter && text().size() == 3 && cursorPosition() == 3 && !last)
            control_->MoveToField(index_ + 1, IPAddressCtrl::Caret::SelectAll);
    }

    // Releases end here, so that the control sees each one once.
    void keyReleaseEvent(QKeyEvent* event) override {
        QLineEdit::keyReleaseEvent(event);
        event->accept();
    }
    void mouseReleaseEvent(QMouseEvent* event) override {
        QLineEdit::mouseReleaseEvent(event);
        event->accept();
    }

    // A field that gets the focus other than by a click has its text
    // selected, so that typing replaces it, as in the system's control.
    void focusInEvent(QFocusEvent* event) override {
        QLineEdit::focusInEvent(event);
        if (event->reason() != Qt::MouseFocusReason) selectAll();
    }

private:
    IPAddressCtrl* control_;
    int index_;
};

IPAddressCtrl::IPAddressCtrl(QWidget* parent) : QFrame(parent) {
    setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    setBackgroundRole(QPalette::Base);
    setAutoFillBackground(true);
    setFocusPolicy(Qt::StrongFocus);
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(2, 1, 2, 1);
    row->setSpacing(0);
    for (int field = 0; field < kFieldCount; ++field) {
        if (field > 0) row->addWidget(new QLabel(QStringLiteral("."), this));
        fields_[field] = new IPAddressField(this, field);
        fields_[field]->installEventFilter(this);
        row->addWidget(fields_[field]);
    }
    setFocusProxy(fields_[0]);
    installEventFilter(this);
}

IPAddressCtrl::~IPAddressCtrl() = default;

void IPAddressCtrl::SetFieldRange(int field, int low, int high) {
    if (field < 0 || field >= kFieldCount) return;
    fields_[field]->SetRange(low, high);
}

void IPAddressCtrl::SetFieldFocus(int field) {
    if (field < 0 || field >= kFieldCount) return;
    MoveToField(field, Caret::SelectAll);
}

int IPAddressCtrl::GetAddress(uint32_t& address) const {
    address = 0;
    int filled = 0;
    for (IPAddressField* field : fields_) {
        address <<= 8;
        if (field->text().isEmpty()) continue;
        address |= static_cast<uint32_t>(field->text().toUInt() & 0xFF);
        ++filled;
    }
    return filled;
}

void IPAddressCtrl::SetAddress(uint32_t address) {
    for (int field = 0; field < kFieldCount; ++field)
        fields_[field]->setText(QString::number((address >> (8 * (kFieldCount - 1 - field))) & 0xFF));
}

AddressFields IPAddressCtrl::Fields() const {
    AddressFields values;
    for (int field = 0; field < kFieldCount; ++field)
        if (!fields_[field]->text().isEmpty()) values[field] = fields_[field]->text().toInt();
    return values;
}

void IPAddressCtrl::SelectFocusedField() {
    for (IPAddressField* field : fields_)
        if (field->hasFocus()) field->selectAll();
}

QString IPAddressCtrl::Text() const {
    QStringList parts;
    for (IPAddressField* field : fields_) parts.append(field->text());
    return parts.join(QLatin1Char('.'));
}

void IPAddressCtrl::SetText(const QString& text) {
    const QStringList parts = text.split(QLatin1Char('.'));
    for (int field = 0; field < kFieldCount; ++field) {
        bool isNumber = false;
        const QString part = field < parts.size() ? parts[field].trimmed() : QString();
        const uint value = part.size() <= 3 ? part.toUInt(&isNumber) : 0;
        fields_[field]->setText(isNumber ? QString::number(std::min(value, 255u)) : QString());
    }
}

QLineEdit* IPAddressCtrl::Field(int field) const {
    return field >= 0 && field < kFieldCount ? fields_[field] : nullptr;
}

bool IPAddressCtrl::PreTranslateMessage(QEvent* event) {
    bool released = event->type() == QEvent::KeyRelease;
    if (event->type() == QEvent::MouseButtonRelease) {
        const Qt::MouseButton button = static_cast<QMouseEvent*>(event)->button();
        released = button == Qt::LeftButton || button == Qt::RightButton;
    }
    if (released && parentWidget()) {
        FieldChangedEvent notification(this, ControlId(this), kFieldChanged);
        QCoreApplication::sendEvent(parentWidget(), &notification);
    }
    return false;
}

bool IPAddressCtrl::eventFilter(QObject*, QEvent* event) { return PreTranslateMessage(event); }

void IPAddressCtrl::keyPressEvent(QKeyEvent* event) {
    const bool fromField = std::exchange(keyFromField_, false);
    if (!fromField && !event->text().isEmpty()) GlobalLogScope.Trace("IPAddressCtrl::OnChar");
    QFrame::keyPressEvent(event);
}

void IPAddressCtrl::MoveToField(int field, Caret caret) {
    IPAddressField* target = fields_[field];
    target->setFocus(Qt::OtherFocusReason);
    switch (caret) {
    case Caret::SelectAll:
        target->selectAll();
        break;
    case Caret::AtStart:
        target->home(false);
        break;
    case Caret::AtEnd:
        target->end(false);
        break;
    }
}

QEvent::Type FieldChangedEvent::EventType() {
    static const Type type = static_cast<Type>(QEvent::registerEventType());
    return type;
}
