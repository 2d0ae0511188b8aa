// The About box: the application name and the program's file version.
#pragma once

#include <QDialog>

#include <memory>

namespace Ui {
class AboutDlg;
}

class AboutDlg : public QDialog {
    Q_OBJECT
public:
    explicit AboutDlg(QWidget* parent = nullptr);
    ~AboutDlg() override;

private:
    void OnInitDialog();

    std::unique_ptr<Ui::AboutDlg> ui_;
};
