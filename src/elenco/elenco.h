#pragma once

#include "toolkit/trascinaricette.h"

#include <QWidget>
#include <functional>
#include <memory>
#include <utility>

namespace Ui {
class Elenco;
}
class DataSource;
class Recordset;
class RigheElenco;
struct RicettaDaStampare;

// The recipe list: the recipes of one food category, all of them by name, or the vegetarian
// ones. The selected recipes, or all listed ones, are printed or exported; the selected ones
// deleted.
class Elenco : public QWidget
{
    Q_OBJECT

public:
    explicit Elenco(QWidget *parent = nullptr);
    ~Elenco() override;

signals:
    // "Alla spesa": the selected recipes, for their own portions.
    void aggiungiAllaSpesa(const QList<qint64> &ricette);

protected:
    void showEvent(QShowEvent *e) override;
    void changeEvent(QEvent *e) override;
    bool eventFilter(QObject *o, QEvent *e) override;

private:
    // Data sources, all on the current book.
    DataSource *Data1; // the food categories, table order: feeds Lista
    DataSource *Data2; // the listed recipes: name, key
    DataSource *Data3; // recipes by key: the one being printed
    DataSource *Data4; // the printed recipe's ingredient lines
    DataSource *Data5; // ingredient names for the printout

    void Form_Load();
    void Form_Activate();
    void categoria_Click();
    void elencoPerCategoria_Click();
    void elencoAlfabetico_Click();
    void elencoVegetariane_Click();
    void Griglia_SelChange();
    void stampaScelte_Click();
    void stampaTutte_Click();
    void eliminaScelte_Click();
    void chiudi_Click();
    // "Esporta...": the selected recipes, or all listed, to a MealMaster file.
    void esporta_Click();
    // "Alla spesa".
    void allaSpesa_Click();
    // The selected recipes, key and name: for the shopping list and for a drag.
    TrascinaRicette::Ricette ricetteSelezionate() const;
    void Data_Error(DataSource *ds, int DataErr, int &Response);

    // Data2 lists origine and the grid shows its rows, the first one current; Label4 and
    // Label2 follow. An empty origine lists nothing.
    void elenca(const QString &origine);
    // The set's rows into the grid and Label4; the row of that key current when it is listed,
    // else the first.
    void mostraRighe(Recordset *rs, const QString &chiaveCorrente);
    // What another program wrote since the list was read, shown.
    void seguiIlLibro();
    void elencaPrimaCategoria();
    void elencaSenzaCategoria(const QString &origine);
    void stampa(int prima, int ultima);
    // Prints the recipe of a grid row as one document. Engine errors reach the print command.
    void StampaRicetta(int riga);
    // The recipe of a grid row with its category's name and its lines. Throws EngineError.
    RicettaDaStampare leggiRicetta(int riga);
    void elimina(int prima, int ultima);
    // The rows the mouse selected, first and last; without a selection, the current row.
    std::pair<int, int> selezione() const;
    Recordset &insieme(DataSource *ds, bool riapri = false);
    // Runs one step of a handler; an engine error is kept for the handler to report.
    bool prova(const std::function<void()> &passo);
    void segnalaNumero();
    void segnalaDescrizione();

    struct Errore
    {
        int numero = 0;
        QString descrizione;
    };

    std::unique_ptr<Ui::Elenco> ui;
    RigheElenco *righe_;
    Errore errore_;
    bool aperta_ = false;
    bool eliminando_ = false;
};
