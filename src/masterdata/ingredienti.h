#pragma once

#include "masterdata/finestraanagrafica.h"

#include <QVariant>
#include <memory>

namespace Ui {
class Ingredienti;
}

// The ingredients of the current book: a grid, and an unbound entry box whose name is stored
// by SalvaIngrediente after the test for duplicates.
class Ingredienti : public FinestraAnagrafica
{
    Q_OBJECT

public:
    explicit Ingredienti(QWidget *parent = nullptr);
    ~Ingredienti() override;

    int ModoIngrediente = 0; // 0 idle, 1 adding, 2 editing
    QVariant SegnalibroIngrediente;

    void SalvaIngrediente();

protected:
    bool eventFilter(QObject *o, QEvent *e) override;
    void Form_Unload() override;

private:
    void cmdInserisci_Click();
    void Command1_Click();
    void cmdCancella_Click();
    void Text1_KeyPress(int KeyAscii);
    void Text1_LostFocus();
    void DBGrid1_RowColChange();
    void tornaInAttesa();

    std::unique_ptr<Ui::Ingredienti> ui;
};
