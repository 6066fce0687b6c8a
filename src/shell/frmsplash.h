#pragma once

#include <QWidget>
#include <memory>

namespace Ui {
class frmSplash;
}

// The about box.
class frmSplash : public QWidget
{
    Q_OBJECT

public:
    explicit frmSplash(QWidget *parent = nullptr);
    ~frmSplash() override;

protected:
    void showEvent(QShowEvent *e) override;

private:
    void cmdChiudi_Click();

    std::unique_ptr<Ui::frmSplash> ui;
};
