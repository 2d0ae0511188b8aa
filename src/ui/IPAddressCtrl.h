// A four-field IPv4 address entry, fields 0 (leftmost) to 3, each blank or a
// number within its range. It tells its parent, by a FieldChangedEvent, each
// time a key or a mouse button is released inside it.
#pragma once

#include "dialog/DialogView.h"

#include <QEvent>
#include <QFrame>
#include <QString>

#include <array>
#include <cstdint>

class QLineEdit;
class IPAddressField;

class IPAddressCtrl : public QFrame {
    Q_OBJECT
    // The window text: the four fields joined by dots.
    Q_PROPERTY(QString text READ Text WRITE SetText)
public:
    static constexpr int kFieldCount = 4;
    // The notification code of a field change.
    static constexpr int kFieldChanged = -860;

    explicit IPAddressCtrl(QWidget* parent = nullptr);
    ~IPAddressCtrl() override;

    // The values `field` is meant to take, shown as its tip; a field holds
    // up to three digits as typed, never brought into its range.
    void SetFieldRange(int field, int low, int high);
    void SetFieldFocus(int field);
    // Fills `address` (field 0 in the top byte, blank fields as 0) and
    // returns how many fields are not blank.
    int GetAddress(uint32_t& address) const;
    // Sets all four fields from a packed address.
    void SetAddress(uint32_t address);
    // The fields as typed, blank ones empty.
    AddressFields Fields() const;
    // Selects the whole text of the field that has the focus.
    void SelectFocusedField();
    QString Text() const;
    // Fields from a dotted text; parts that are not numbers leave a field blank.
    void SetText(const QString& text);
    QLineEdit* Field(int field) const;

    // Sends the field-changed notification for a key or mouse-button
    // release inside the control; never consumes the event.
    bool PreTranslateMessage(QEvent* event);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    // A character that reaches the control itself rather than a field.
    void keyPressEvent(QKeyEvent* event) override;

private:
    friend class IPAddressField;
    enum class Caret { SelectAll, AtStart, AtEnd };
    void MoveToField(int field, Caret caret);

    std::array<IPAddressField*, kFieldCount> fields_{};
    // The key being handled was left by a field, not sent to the control.
    bool keyFromField_ = false;
};

// What the address control sends to its parent: its window, its id and the code.
class FieldChangedEvent : public QEvent {
public:
    FieldChangedEvent(IPAddressCtrl* source, int sourceId, int code)
        : QEvent(EventType()), source(source), sourceId(sourceId), code(code) {}
    static Type EventType();

    IPAddressCtrl* const source;
    const int sourceId;
    const int code;
};
