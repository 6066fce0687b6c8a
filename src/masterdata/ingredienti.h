#pragma once

#include <QVariant>
#include <QWidget>
#include <memory>

namespace Ui {
class Ingredienti;
}
class DataSource;

// The ingredients of the current book: a grid, and an unbound entry box whose name is stored
// by SalvaIngrediente after the test for duplicates.
class Ingredienti : public QWidget
{
    Q_OBJECT

public:
    explicit Ingredienti(QWidget *parent = nullptr);
    ~Ingredienti() override;

    DataSource *datPrimaryRS;
    int ModoIngrediente = 0; // 0 idle, 1 adding, 2 editing
    QVariant SegnalibroIngrediente;

    void SalvaIngrediente();

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
    void Text1_KeyPress(int KeyAscii);
    void Text1_LostFocus();
    void DBGrid1_RowColChange();
    void datPrimaryRS_Reposition();
    void datPrimaryRS_Validate(int &Action, int &Save);
    void datPrimaryRS_Error(int DataErr, int &Response);
    void tornaInAttesa();

    std::unique_ptr<Ui::Ingredienti> ui;
    bool aperta_ = false;
};
