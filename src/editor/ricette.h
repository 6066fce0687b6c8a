#pragma once

#include "storage/schema.h"

#include <QStringList>
#include <QWidget>
#include <memory>

namespace Ui {
class Ricette;
}
class DataSource;
class QCheckBox;
class QKeyEvent;
class QLineEdit;
class QPlainTextEdit;

// The recipe editor: one recipe at a time through the navigation bar, its ingredient lines,
// the portion conversion, the search, creation and deletion of recipes. The class is split by
// concern: ricette.cpp (the window, its moves and its boxes), collegamenti.cpp (each control's
// signals and keys to its handler), righe.cpp (the ingredient lines), ingredienti.cpp (the
// ingredient list and new ingredients), porzioni.cpp (conversion and replacement), ricerca.cpp
// (search, creation and deletion, the recipe list), stampa.cpp (the printout), altriprogrammi.cpp
// (what another program wrote to the book meanwhile).
class Ricette : public QWidget
{
    Q_OBJECT

public:
    explicit Ricette(QWidget *parent = nullptr);
    ~Ricette() override;

    // Shows a recipe as a click on its name in "Vai alla Ricetta" does, questions included.
    void vaiAllaRicetta(qint64 chiave);

    // Data sources, all on the current book.
    DataSource *datPrimaryRS; // the current recipe, recipes in name order
    DataSource *ListaR;       // feeds ListaRicette
    DataSource *Data1;        // categories, engine order: feeds Lista
    DataSource *Data2;        // ingredients in name order: feeds ListaIngredienti
    DataSource *Data3;        // the current recipe's ingredient lines

signals:
    // "Aggiungi alla spesa": the current recipe, for the portions its box shows.
    void aggiungiAllaSpesa(qint64 ricetta, int porzioni);

protected:
    void showEvent(QShowEvent *e) override;
    void closeEvent(QCloseEvent *e) override;
    bool eventFilter(QObject *o, QEvent *e) override;

private:
    // The columns of the ingredient grid. Column 0 of a line's row holds the key of the line
    // stored for it: the routines that store or delete a line tell their caller what became of
    // it through that cell.
    enum ColonnaGriglia { ColChiave = 0, ColIngrediente, ColQuantita, ColCommento };

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
    void Label2_Change();
    void txtFields_Change(int Index);
    void txtFields_KeyPress(int Index, int &KeyAscii);
    static void soloCifre(int &KeyAscii);
    void txtFields_LostFocus(int Index);
    void Lista_Click();
    void Label4_DblClick();
    void Label5_DblClick();
    void Command6_Click();
    void cmdChiudi_Click();
    void erroreDati(DataSource *ds, int DataErr, int &Response);
    void sincronizzaCategoria(bool messaggioBreve);
    void rimettiPorzioni(); // when Check1 is clear, the portions as they were at the last move
    void abilitaRicetta();
    void ChiediSalvataggio();

    // Another program's writes (altriprogrammi.cpp).
    bool ricettaEliminataAltrove(int &Save); // said, and saved as new if the cook wants
    bool salvaComeNuova();
    bool ricettaAggiornata();   // the book's recipe before it is printed; false: none to print
    void seguiAltriProgrammi(); // the lists, when another program wrote the book
    quint64 cambiAltrui() const;
    void CaricaCategorie();

    // Ingredient lines (righe.cpp).
    void svuotaGriglia(); // the previous recipe's lines go; row 1 remains
    void CaricaGriglia();
    void ScriviRigaIngrediente();
    // Stores a line of the recipe shown; the new line's key, empty when it failed (said).
    QString scriviRiga(qint64 ingrediente, const QString &quantita, const QString &commento);
    void CancellaRigaIngrediente();
    void Qta_GotFocus();
    void Qta_LostFocus();
    void Qta_KeyPress(int &KeyAscii);
    void Command1_Click();
    void GridRicette_Click();
    void Command2_Click();

    // The ingredient list and new ingredients (ingredienti.cpp).
    void CaricaListaIngredienti();
    QString nomeIngrediente(const QString &chiave) const;
    void AggiungiIngredienteArchivio();
    qint64 registraIngrediente(const QString &nome);
    void scegliIngrediente(int indice);
    void IngredienteScelto_KeyUp(int KeyCode);
    void IngredienteScelto_LostFocus();
    void ListaIngredienti_Click();
    void ListaIngredienti_DblClick();
    void ListaIngredienti_KeyPress(int &KeyAscii);
    void Command3_Click();
    void Command4_Click();
    void Text1_KeyPress(int &KeyAscii);
    void Text1_LostFocus();

    // Conversion and replacement (porzioni.cpp).
    void Text2_KeyPress(int &KeyAscii);
    void Command5_Click();
    QList<std::pair<qint64, QString>> convertiGriglia(double r);
    void memorizzaQuantita(const QList<std::pair<qint64, QString>> &daScrivere);
    void Command8_Click();
    void SostituisciRigaIngrediente();
    void cmdSpesa_Click();

    // Printing (stampa.cpp).
    void cmdStampa_Click();
    void StampaRicetta();

    // Search, creation and deletion, the recipe list (ricerca.cpp).
    void Command7_Click();
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
    QString porzioniMemorizzate_;    // the portions as the last move showed them
    QString idRicettaCorrente_;      // the recipe whose lines the grid shows
    quint64 altruiVisti_ = 0;        // the book's cambiDaAltri() when the lists were filled

    // Ingredient lines. The two tables grow with the book: no fixed limit.
    QStringList nomiIngredienti_;
    QStringList idIngredienti_; // keys as decimal text, in the order of ListaIngredienti
    qint64 idIngredienteScelto_ = 0;
    bool ingredienteTrovato_ = false; // the chosen box names an ingredient of the list
    bool puntoInserito_ = false;      // the quantity box holds its one point
};
