#pragma once

#include <QWidget>
#include <memory>

namespace Ui {
class Categoriealimentari;
}
class DataSource;
class QLineEdit;

// The food categories of the current book: a grid, and one entry box bound to the name.
class Categoriealimentari : public QWidget
{
    Q_OBJECT

public:
    explicit Categoriealimentari(QWidget *parent = nullptr);
    ~Categoriealimentari() override;

    DataSource *datPrimaryRS;

protected:
    void showEvent(QShowEvent *e) override;
    void closeEvent(QCloseEvent *e) override;
    bool eventFilter(QObject *o, QEvent *e) override;

private:
    void Form_Load();
    void Form_Unload();
    void cmdInserisci_Click();
    void Command1_Click();
    void cmdCancella_Click();
    void cmdChiudi_Click();
    void txtFields_KeyPress(int Index, int KeyAscii);
    void txtFields_LostFocus(int Index);
    void datPrimaryRS_Reposition();
    void datPrimaryRS_Validate(int &Action, int &Save);
    void datPrimaryRS_Error(int DataErr, int &Response);

    std::unique_ptr<Ui::Categoriealimentari> ui;
    QLineEdit *txtFields[2] = {};
    bool aperta_ = false;
};
