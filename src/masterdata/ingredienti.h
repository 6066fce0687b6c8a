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

    void SalvaIngrediente();

protected:
    void nome_Confermato() override;

private:
    // What Enter in the box does: nothing yet, add a new ingredient, or rename the noted one.
    enum class Modo { Attesa, Aggiunta, Modifica };

    void cmdInserisci_Click();
    void modifica_Click();
    void DBGrid1_RowColChange();
    void tornaInAttesa();

    std::unique_ptr<Ui::Ingredienti> ui;
    Modo modo_ = Modo::Attesa;
    QVariant segnalibro_; // the row being renamed
};
