#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <functional>
#include <utility>

namespace Ui {
class Ricette;
}
class DataSource;
class QWidget;

// The ingredient lines of the recipe the editor shows: the grid, the quantity and comment
// boxes that fill a line, and the lines' set, which stores every change at once. The grid shows
// only what the book holds: a line that could not be stored is taken out again.
class RigheIngredienti : public QObject
{
    Q_OBJECT

public:
    // A line as the grid shows it.
    struct Riga
    {
        QString ingrediente, quantita, commento;
    };
    // A stored line's key and its new quantity.
    using Quantita = QList<std::pair<qint64, QString>>;
    // The name of an ingredient by its key as text, empty for a key the list lacks.
    using NomeIngrediente = std::function<QString(const QString &chiave)>;

    RigheIngredienti(QWidget *finestra, Ui::Ricette &ui, NomeIngrediente nomeIngrediente);

    DataSource *sorgente() const { return righe_; }
    void preparaGriglia(); // the columns and their headings
    void adattaGriglia();  // to the room the window has

    // The recipe whose lines the grid shows (its key as text).
    QString ricetta() const { return ricetta_; }
    // The set follows the recipe key (empty: no recipe, no lines); the grid is filled by
    // carica().
    void seguiRicetta(const QString &chiave);
    void carica();
    void rileggi(); // the set read again from the book, and the grid filled
    void svuota();  // the previous recipe's lines go; row 1 remains
    QList<Riga> mostrate() const;
    // Stores a line of the recipe shown; the new line's key, empty when it failed (said).
    QString scrivi(qint64 ingrediente, const QString &quantita, const QString &commento);

    // The line's buttons and boxes.
    void aggiungi(qint64 ingrediente); // "Agg. alla ricetta", the chosen box's ingredient
    void mostraRigaScelta();           // a click in the grid: its quantity and comment
    void cancellaRigaScelta();         // "Canc."
    void sostituisciIngrediente();     // "Rimp.": the list's ingredient in the chosen line
    void quantitaToccata();            // the quantity box took or left the focus
    void tastoQuantita(int &tasto);

    // Converts the grid's quantities by the factor; the stored lines' keys and new quantities.
    Quantita converti(double fattore);
    // Writes the quantities of the recipe's own lines together with what insieme() writes, in
    // one transaction; true when committed.
    bool memorizzaQuantita(const Quantita &daScrivere, const std::function<bool()> &insieme);

private:
    // Column 0 of a line's row holds the key of the line stored for it: the routines that
    // store or delete a line tell their caller what became of it through that cell.
    enum Colonna { ColChiave = 0, ColIngrediente, ColQuantita, ColCommento };

    QString ricettaMostrata() const;
    void scriviRiga(qint64 ingrediente);
    void cancellaRiga();
    void sostituisciRiga();

    QWidget *finestra_;
    Ui::Ricette &ui;
    DataSource *righe_;
    NomeIngrediente nomeIngrediente_;
    QString ricetta_;            // the recipe whose lines the grid shows
    bool puntoInserito_ = false; // the quantity box holds its one point
};
