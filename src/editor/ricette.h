#pragma once

#include <QStringList>
#include <QWidget>
#include <memory>

namespace Ui {
class Ricette;
}
class DataSource;
class QCheckBox;
class QLineEdit;
class QPlainTextEdit;

// The recipe editor: one recipe at a time through the navigation bar, its ingredient lines,
// the portion conversion, the search, creation and deletion of recipes. The class is split by
// concern: ricette.cpp (the window, its moves and its boxes), righe.cpp (ingredient lines),
// porzioni.cpp (conversion and replacement), ricerca.cpp (search, creation and deletion),
// stampa.cpp (the printout).
class Ricette : public QWidget
{
    Q_OBJECT

public:
    explicit Ricette(QWidget *parent = nullptr);
    ~Ricette() override;

    // Data sources, all on the current book.
    DataSource *datPrimaryRS; // the current recipe, recipes in name order
    DataSource *ListaR;       // feeds ListaRicette
    DataSource *Data1;        // categories, engine order: feeds Lista
    DataSource *Data2;        // ingredients in name order: feeds ListaIngredienti
    DataSource *Data3;        // the current recipe's ingredient lines

    // Window values: each starts empty, which counts as 0.
    int Attivata = 0;          // 1 once the opening fill is done
    int NuovaRicetta = 0;      // 1 from "&Nuova Ricetta" until ChiediSalvataggio asked
    int ListaDaAggiornare = 0; // 1 when the recipe list is rebuilt at the next move
    QString PorzioniMemorizzate;
    int UltimaRicetta = 0;

    // Ingredient lines. The two tables grow with the book: no fixed limit.
    QStringList NomiIngredienti;
    QStringList IDIngredienti; // keys as decimal text, in the order of ListaIngredienti
    qint64 IDIngredienteScelto = 0;
    int IngredienteTrovato = 0;
    int PuntoInserito = 0;
    QString IDRicettaCorrente;
    QString IDIngredienteCorrente;
    QString NomeIngrediente;
    QString NuovoIDIngrediente;

    // Routines.
    void CaricaListaRicette();
    void SvuotaListaRicette();
    void ChiediSalvataggio();
    void CaricaListaIngredienti();
    void CercaNomeIngrediente();
    void CaricaGriglia();
    void ScriviRigaIngrediente();
    void CancellaRigaIngrediente();
    void AggiungiIngredienteArchivio();
    void SostituisciRigaIngrediente();

    // A quantity q converted by the factor r and rounded to an amount a cook can measure.
    static double convertiQuantita(double q, double r);

protected:
    void showEvent(QShowEvent *e) override;
    void closeEvent(QCloseEvent *e) override;
    bool eventFilter(QObject *o, QEvent *e) override;

private:
    // The window and its moves (ricette.cpp).
    void Form_Load();
    void Form_Activate();
    void Form_Unload();
    void datPrimaryRS_Validate(int &Action, int &Save);
    void datPrimaryRS_Reposition();
    void datPrimaryRS_Error(int DataErr, int &Response);
    void datPrimaryRS_MouseDown();
    void Label2_Change();
    void txtFields_Change(int Index);
    void txtFields_KeyPress(int Index, int &KeyAscii);
    void txtFields_LostFocus(int Index);
    void Lista_Click();
    void ListaRicette_Click();
    void Label4_DblClick();
    void Label5_DblClick();
    void Command6_Click();
    void cmdChiudi_Click();
    void erroreDati(DataSource *ds, int DataErr, int &Response);
    void sincronizzaCategoria(bool messaggioBreve);
    void rimettiPorzioni();
    void abilitaRicetta(); // when Check1 is clear, the portions as they were at the last move

    // Ingredient lines (righe.cpp).
    void svuotaGriglia(); // the previous recipe's lines go; row 1 remains
    void IngredienteScelto_KeyUp(int KeyCode);
    void IngredienteScelto_LostFocus();
    void ListaIngredienti_Click();
    void ListaIngredienti_DblClick();
    void ListaIngredienti_KeyPress(int &KeyAscii);
    void Command3_Click();
    void Command4_Click();
    void Text1_KeyPress(int &KeyAscii);
    void Text1_LostFocus();
    void Qta_GotFocus();
    void Qta_LostFocus();
    void Qta_KeyPress(int &KeyAscii);
    void Command1_Click();
    void GridRicette_Click();
    void Command2_Click();

    // Conversion and replacement (porzioni.cpp).
    void Text2_KeyPress(int &KeyAscii);
    void Command5_Click();
    void Command8_Click();

    // Printing (stampa.cpp).
    void cmdStampa_Click();
    void StampaRicetta();

    // Search, creation and deletion (ricerca.cpp).
    void Command7_Click();
    void cmdInserisci_Click();
    void cmdCancella_Click();
    bool riordina();
    void evidenziaNellaLista();

    // The bound boxes by their column: txtFields[i] is column i of Ricette (11 and 10, 12, 13
    // are multi-line; 5 is hidden).
    QString testo(int Index) const;
    void setTesto(int Index, const QString &t);

    std::unique_ptr<Ui::Ricette> ui;
    QLineEdit *txtFields[15] = {};
    QPlainTextEdit *txtMemo[15] = {};
    QCheckBox *chkFields6 = nullptr;
    bool aperta_ = false;
    bool inSpostamento_ = false; // a move is filling the boxes
    bool rigaCambiata_ = false;  // the recipe list's choice changed since the mouse was pressed
};
