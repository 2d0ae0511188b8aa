// The serial-number field: takes hexadecimal digits only when typed, shows
// everything in upper case, and leaves pasted text otherwise unfiltered.
#pragma once

#include <QLineEdit>

class HexEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit HexEdit(QWidget* parent = nullptr);
    ~HexEdit() override;

protected:
    void keyPressEvent(QKeyEvent* event) override;
};
