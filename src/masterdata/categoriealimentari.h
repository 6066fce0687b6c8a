#pragma once

#include "masterdata/finestraanagrafica.h"

#include <memory>

namespace Ui {
class Categoriealimentari;
}

// The food categories of the current book: a grid, and one entry box bound to the name.
class Categoriealimentari : public FinestraAnagrafica
{
    Q_OBJECT

public:
    explicit Categoriealimentari(QWidget *parent = nullptr);
    ~Categoriealimentari() override;

protected:
    void nome_Confermato() override;

private:
    void cmdInserisci_Click();
    void modifica_Click();

    std::unique_ptr<Ui::Categoriealimentari> ui;
};
