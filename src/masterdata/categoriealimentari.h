#pragma once

#include "masterdata/finestraanagrafica.h"

#include <memory>

namespace Ui {
class Categoriealimentari;
}
class QLineEdit;

// The food categories of the current book: a grid, and one entry box bound to the name.
class Categoriealimentari : public FinestraAnagrafica
{
    Q_OBJECT

public:
    explicit Categoriealimentari(QWidget *parent = nullptr);
    ~Categoriealimentari() override;

protected:
    bool eventFilter(QObject *o, QEvent *e) override;
    void Form_Unload() override;

private:
    void cmdInserisci_Click();
    void Command1_Click();
    void cmdCancella_Click();
    void txtFields_KeyPress(int Index, int KeyAscii);
    void txtFields_LostFocus(int Index);

    std::unique_ptr<Ui::Categoriealimentari> ui;
    QLineEdit *txtFields[2] = {};
};
