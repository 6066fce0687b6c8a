#pragma once

#include "storage/schema.h"

#include <QStringList>
#include <QWidget>
#include <memory>

namespace Ui {
class Ricette;
}
class ConversionePorzioni;
class DataSource;
class QCheckBox;
class QKeyEvent;
class QLineEdit;
class QPlainTextEdit;
class RigheIngredienti;

// The recipe editor: one recipe at a time through the navigation bar, its ingredient lines,
// the portion conversion, the search, creation and deletion of recipes. The ingredient lines
// (RigheIngredienti) and the portion conversion (ConversionePorzioni) are objects of their own;
// the rest is split by concern: ricette.cpp (the window, its moves and its boxes),
// collegamenti.cpp (each control's signals and keys to its handler), ingredienti.cpp (the
// ingredient list and new ingredients), ricerca.cpp (search, creation and deletion, the recipe
// list), stampa.cpp (the printout and the shopping list), altriprogrammi.cpp (what another
// program wrote to the book meanwhile).
class Ricette : public QWidget
{
    Q_OBJECT

public:
    explicit Ricette(QWidget *parent = nullptr);
    ~Ricette() override;

    // Shows a recipe as a click on its name in "Vai alla Ricetta" does, questions included.
    void vaiAllaRicetta(qint64 chiave);

signals:
    // "Aggiungi alla spesa": the current recipe, for the portions its box shows.
    void aggiungiAllaSpesa(qint64 ricetta, int porzioni);

protected:
    void showEvent(QShowEvent *e) override;
    void closeEvent(QCloseEvent *e) override;
    bool eventFilter(QObject *o, QEvent *e) override;

private:
    // The wiring (collegamenti.cpp).
    void collegaCaselle();
    void collegaSorgenti();
    void collegaListe();
    void collegaPulsanti();
    bool tastoPremuto(QObject *o, QKeyEvent *e);
    void tastoRilasciato(QObject *o, QKeyEvent *e);
    void fuocoPerso(QObject *o);

    // The window and its moves (ricette.cpp).
    void Form_Load();
    // The form on the screen it has: five grid lines always, the whole screen when it is small.
    void adattaAlloSchermo();
    void Form_Activate();
    void Form_Unload();
    void datPrimaryRS_Validate(int &Action, int &Save);
    void datPrimaryRS_Reposition();
    void datPrimaryRS_Error(int DataErr, int &Response);
    void datPrimaryRS_MouseDown();
    void chiaveRicetta_Change();
    void txtFields_Change(int Index);
    void txtFields_KeyPress(int Index, int &KeyAscii);
    void txtFields_LostFocus(int Index);
    void categoria_Click();
    void etichettaQuantita_DblClick();
    void etichettaCommento_DblClick();
    void aiuto_Click();
    void cmdChiudi_Click();
    void erroreDati(DataSource *ds, int DataErr, int &Response);
    void sincronizzaCategoria(bool messaggioBreve);
    void abilitaRicetta();
    void ChiediSalvataggio();

    // Another program's writes (altriprogrammi.cpp).
    bool ricettaEliminataAltrove(int &Save); // said, and saved as new if the cook wants
    bool salvaComeNuova();
    bool ricettaAggiornata();   // the book's recipe before it is printed; false: none to print
    void seguiAltriProgrammi(); // the lists, when another program wrote the book
    quint64 cambiAltrui() const;
    void CaricaCategorie();

    // The ingredient list and new ingredients (ingredienti.cpp).
    void CaricaListaIngredienti();
    QString nomeIngrediente(const QString &chiave) const;
    void AggiungiIngredienteArchivio();
    qint64 registraIngrediente(const QString &nome);
    void scegliIngrediente(int indice);
    // A key let go in the chosen box: completed from the list unless it deleted.
    void IngredienteScelto_KeyUp(bool cancellato);
    void IngredienteScelto_LostFocus();
    void ListaIngredienti_Click();
    void ListaIngredienti_DblClick();
    void ListaIngredienti_KeyPress(int &KeyAscii);
    void nuovoIngrediente_Click();
    void registraNuovoIngrediente_Click();
    void nomeNuovoIngrediente_KeyPress(int &KeyAscii);
    void nomeNuovoIngrediente_LostFocus();

    // Printing and the shopping list (stampa.cpp).
    void cmdStampa_Click();
    void StampaRicetta();
    void cmdSpesa_Click();

    // Search, creation and deletion, the recipe list (ricerca.cpp).
    void cerca_Click();
    void cmdInserisci_Click();
    void cmdCancella_Click();
    bool riordina();
    void evidenziaNellaLista();
    void CaricaListaRicette();
    void SvuotaListaRicette();
    void ListaRicette_Click();

    // The bound boxes by their column of Ricette (IngredientiTesto and the long texts are
    // multi-line; IDCategoriaAlimentare is hidden).
    QString testo(int Index) const;
    void setTesto(int Index, const QString &t);

    std::unique_ptr<Ui::Ricette> ui;
    // Data sources, all on the current book; in quotes, their object names.
    DataSource *ricetta_;      // "datPrimaryRS": the recipe shown, recipes in name order
    DataSource *listaRicette_; // "ListaR": feeds ListaRicette
    DataSource *categorie_;    // "Data1": categories, engine order: feeds Lista
    DataSource *ingredienti_;  // "Data2": ingredients in name order: feeds ListaIngredienti
    RigheIngredienti *righe_;  // the recipe's lines, with their source "Data3"
    ConversionePorzioni *conversione_ = nullptr; // made once the portions box is bound
    QLineEdit *txtFields[Schema::Utensili + 1] = {};
    QPlainTextEdit *txtMemo[Schema::Utensili + 1] = {};
    QCheckBox *chkFields6 = nullptr;

    // The window's state.
    bool aperta_ = false;
    bool attivata_ = false;          // the opening fill is done
    bool nuovaRicetta_ = false;      // from "&Nuova Ricetta" until ChiediSalvataggio asked
    bool listaDaAggiornare_ = false; // the recipe list is rebuilt at the next move
    bool inSpostamento_ = false;     // a move is filling the boxes
    bool rigaCambiata_ = false;      // the recipe list's choice changed since the mouse was pressed
    quint64 altruiVisti_ = 0;        // the book's cambiDaAltri() when the lists were filled

    // The ingredient list. The two tables grow with the book: no fixed limit.
    QStringList nomiIngredienti_;
    QStringList idIngredienti_; // keys as decimal text, in the order of ListaIngredienti
    qint64 idIngredienteScelto_ = 0;
    bool ingredienteTrovato_ = false; // the chosen box names an ingredient of the list
};
