// The main dialog as a user meets it: shown and active, its fields filled in
// by hand or typed, its message boxes recorded instead of shown. Closing it
// cancels a running job first.
#pragma once

#include "RecordingMessageBoxes.h"
#include "ui/MainDialog.h"
#include "ui_SetIPDlg.h"

#include <QApplication>
#include <QtTest/QTest>

#include <memory>

#include <gtest/gtest.h>

class DialogDriver {
public:
    void Open() {
        dialog = std::make_unique<MainDialog>();
        dialog->show();
        QApplication::setActiveWindow(dialog.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
    }

    // Cancels a running job, closes the dialog and handles what it posted.
    void Close() {
        if (dialog && dialog->Behaviour().IsBusy()) dialog->Behaviour().OnClose();
        dialog.reset();
        QCoreApplication::sendPostedEvents();
    }

    Ui::SetIPDlg& controls() { return dialog->Controls(); }

    // Sets both fields at once.
    void Enter(const char* serial, const char* address) {
        controls().serialNumberEdit->setText(serial);
        controls().ipAddressCtrl->SetText(address);
    }

    // Types over both fields with the keyboard: the serial number over the
    // selected text of its field, the address from its first field on, the
    // dots moving to the next field.
    void Type(const QString& serial, const QString& address) {
        controls().serialNumberEdit->setFocus();
        QTest::keyClick(controls().serialNumberEdit, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(controls().serialNumberEdit, serial);
        controls().ipAddressCtrl->SetFieldFocus(0);
        for (QChar key : address) QTest::keyClick(QApplication::focusWidget(), key.toLatin1());
    }

    RecordingMessageBoxes boxes;
    std::unique_ptr<MainDialog> dialog;
};
