#include "ui/MainDialog.h"

#include "ui/AboutDlg.h"
#include "ui/ControlId.h"
#include "ui/DialogResources.h"
#include "ui/IPAddressCtrl.h"
#include "ui/MessageBox.h"
#include "ui/ProgressBar.h"
#include "ui_SetIPDlg.h"

#include <QApplication>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QShortcut>

namespace {

// A message posted to the dialog, from any thread.
class PostedMessage : public QEvent {
public:
    PostedMessage(DialogMessage message, uint32_t parameter)
        : QEvent(EventType()), message(message), parameter(parameter) {}
    static Type EventType() {
        static const Type type = static_cast<Type>(QEvent::registerEventType());
        return type;
    }
    const DialogMessage message;
    const uint32_t parameter;
};

}  // namespace

MainDialog::MainDialog(QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::SetIPDlg>()), macroWindow_(*this) {
    LoadDialogResources();
    ui_->setupUi(this);
    // The hint keeps its place while hidden, so the dialog never changes size.
    QSizePolicy hintPolicy = ui_->hintText->sizePolicy();
    hintPolicy.setRetainSizeWhenHidden(true);
    ui_->hintText->setSizePolicy(hintPolicy);
    ui_->progressBar->SetStep([this] { behaviour_->OnBarStep(); });
    for (QPushButton* button : {ui_->setIPButton, ui_->homePageButton, ui_->exitButton}) {
        const int id = ControlId(button);
        connect(button, &QPushButton::clicked, this, [this, id] { behaviour_->OnCommand(id); });
    }
    aboutMenu_ = new QMenu(this);
    // The keys that open a window menu, whichever control has the focus.
    for (QKeySequence keys : {QKeySequence(Qt::ALT | Qt::Key_Space), QKeySequence(Qt::Key_Menu)})
        connect(new QShortcut(keys, this), &QShortcut::activated, this,
                [this] { ShowAboutMenu(mapToGlobal(QPoint(0, 0))); });
    behaviour_ = std::make_unique<SetIPDlg>(static_cast<DialogView&>(*this));
    behaviour_->OnInitDialog();
}

MainDialog::~MainDialog() { behaviour_.reset(); }

QWidget* MainDialog::Control(int id) const { return FindControl(this, id); }

std::string MainDialog::GetText(int id) {
    QWidget* control = Control(id);
    if (!control) return {};
    return WidgetMacroWindow(*control).Text();
}

void MainDialog::SetText(int id, const std::string& text) {
    if (QWidget* control = Control(id)) WidgetMacroWindow(*control).SetText(text);
}

void MainDialog::Enable(int id, bool enabled) {
    if (QWidget* control = Control(id)) control->setEnabled(enabled);
}

void MainDialog::Show(int id, bool shown) {
    if (QWidget* control = Control(id)) control->setVisible(shown);
}

void MainDialog::Focus(int id) {
    if (QWidget* control = Control(id)) control->setFocus(Qt::OtherFocusReason);
}

void MainDialog::SelectAll(int id) {
    if (auto* edit = qobject_cast<QLineEdit*>(Control(id))) edit->selectAll();
    if (auto* address = qobject_cast<IPAddressCtrl*>(Control(id))) address->SelectFocusedField();
}

void MainDialog::SetDefaultButton(int id) {
    for (QPushButton* button : {ui_->setIPButton, ui_->homePageButton, ui_->exitButton})
        button->setDefault(ControlId(button) == id);
}

void MainDialog::LimitText(int id, int count) {
    if (auto* edit = qobject_cast<QLineEdit*>(Control(id))) edit->setMaxLength(count);
}

AddressFields MainDialog::GetAddressFields(int id) {
    auto* address = qobject_cast<IPAddressCtrl*>(Control(id));
    return address ? address->Fields() : AddressFields{};
}

void MainDialog::SetAddress(int id, uint32_t value) {
    if (auto* address = qobject_cast<IPAddressCtrl*>(Control(id))) address->SetAddress(value);
}

void MainDialog::SetFieldRange(int id, int field, int low, int high) {
    if (auto* address = qobject_cast<IPAddressCtrl*>(Control(id))) address->SetFieldRange(field, low, high);
}

void MainDialog::FocusField(int id, int field) {
    if (auto* address = qobject_cast<IPAddressCtrl*>(Control(id))) address->SetFieldFocus(field);
}

void MainDialog::SetBarRange(int id, uint32_t high) {
    if (auto* bar = qobject_cast<ProgressBar*>(Control(id))) bar->SetRange(high);
}

void MainDialog::SetBarPosition(int id, uint32_t position) {
    if (auto* bar = qobject_cast<ProgressBar*>(Control(id))) bar->SetPosition(position);
}

void MainDialog::StartBarTimer(int id, uint32_t intervalMs) {
    if (auto* bar = qobject_cast<ProgressBar*>(Control(id))) bar->StartStepTimer(intervalMs);
}

void MainDialog::StopBarTimer(int id) {
    if (auto* bar = qobject_cast<ProgressBar*>(Control(id))) bar->StopStepTimer();
}

void MainDialog::ShowMessage(const std::string& text, MessageIcon icon, const std::string& caption) {
    MessageBoxes::Current().Show(this, text, icon, caption);
}

void MainDialog::BeginWaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }

void MainDialog::EndWaitCursor() { QApplication::restoreOverrideCursor(); }

void MainDialog::Post(DialogMessage message, uint32_t parameter) {
    QCoreApplication::postEvent(this, new PostedMessage(message, parameter));
}

void MainDialog::SetIcon(int iconId) { setWindowIcon(DialogIcon(iconId)); }

void MainDialog::AddSystemMenuItem(int command, const std::string& text) {
    aboutMenu_->addSeparator();
    aboutMenu_->addAction(QString::fromStdString(text), this, [this, command] { behaviour_->OnSysCommand(command); });
}

void MainDialog::RunAboutBox() {
    AboutDlg about(this);
    about.exec();
}

void MainDialog::EndDialog() { QDialog::done(QDialog::Rejected); }

void MainDialog::reject() { behaviour_->OnCancel(); }

void MainDialog::ShowAboutMenu(const QPoint& globalPosition) {
    if (!aboutMenu_->isEmpty()) aboutMenu_->exec(globalPosition);
}

bool MainDialog::event(QEvent* event) {
    if (event->type() == PostedMessage::EventType()) {
        const auto* posted = static_cast<PostedMessage*>(event);
        behaviour_->OnMessage(posted->message, posted->parameter);
        return true;
    }
    return QDialog::event(event);
}

// The close box, Alt+F4 and the window menu's Close: cancel when busy, end when idle.
void MainDialog::closeEvent(QCloseEvent* event) {
    event->ignore();
    behaviour_->OnClose();
}

void MainDialog::contextMenuEvent(QContextMenuEvent* event) { ShowAboutMenu(event->globalPos()); }
