// The main dialog in Qt: the template's widgets (resources/SetIPDlg.ui), a
// view of them by control id for the dialog's behaviour in SetIPDlg, and the
// Qt side of its commands: button clicks, the close box, Esc, posted
// messages, and the About menu that stands in for the system menu (a right
// click on the dialog, the Menu key, Alt+Space).
#pragma once

#include "dialog/DialogView.h"
#include "dialog/SetIPDlg.h"
#include "ui/WidgetMacroWindow.h"

#include <QDialog>
#include <QIcon>

#include <memory>

class QMenu;

namespace Ui {
class SetIPDlg;
}

class MainDialog : public QDialog, private DialogView {
    Q_OBJECT
public:
    explicit MainDialog(QWidget* parent = nullptr);
    ~MainDialog() override;

    SetIPDlg& Behaviour() { return *behaviour_; }
    QMenu* AboutMenu() const { return aboutMenu_; }
    Ui::SetIPDlg& Controls() const { return *ui_; }

public slots:
    void reject() override;

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void ShowAboutMenu(const QPoint& globalPosition);
    QWidget* Control(int id) const;

    // DialogView
    MacroWindow& Window() override { return macroWindow_; }
    std::string GetText(int id) override;
    void SetText(int id, const std::string& text) override;
    void Enable(int id, bool enabled) override;
    void Show(int id, bool shown) override;
    void Focus(int id) override;
    void SelectAll(int id) override;
    void SetDefaultButton(int id) override;
    void LimitText(int id, int count) override;
    AddressFields GetAddressFields(int id) override;
    void SetAddress(int id, uint32_t address) override;
    void SetFieldRange(int id, int field, int low, int high) override;
    void FocusField(int id, int field) override;
    void SetBarRange(int id, uint32_t high) override;
    void SetBarPosition(int id, uint32_t position) override;
    void StartBarTimer(int id, uint32_t intervalMs) override;
    void StopBarTimer(int id) override;
    void ShowMessage(const std::string& text, MessageIcon icon, const std::string& caption) override;
    void BeginWaitCursor() override;
    void EndWaitCursor() override;
    void Post(DialogMessage message, uint32_t parameter) override;
    void SetIcon(int iconId) override;
    void AddSystemMenuItem(int command, const std::string& text) override;
    void RunAboutBox() override;
    void EndDialog() override;

    std::unique_ptr<Ui::SetIPDlg> ui_;
    WidgetMacroWindow macroWindow_;
    QMenu* aboutMenu_ = nullptr;
    // Last, so that it goes first: it cancels a running job on its way.
    std::unique_ptr<SetIPDlg> behaviour_;
};
