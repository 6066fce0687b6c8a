#pragma once

#include "spesa/archivio.h"
#include "spesa/somma.h"
#include "storage/database.h"

#include <QObject>
#include <QStringList>
#include <memory>

class Statement;

// The shopping list and the week's menu of one book: what the cook chose, kept in the side file
// (ArchivioSpesa), and what the book says of it, read again at every look. The shell owns one
// for the current book and hands it to the windows; it lives on the windows' thread and keeps a
// read-only connection to the book, opened again when closed under it. It watches
// the book's rows written by the program and says so (libroCambiato), never reading the book
// from inside SQLite's hook. Every operation throws EngineError naming the cause.
class ListaSpesa : public QObject, public Database::Osservatore
{
    Q_OBJECT

public:
    explicit ListaSpesa(const QString &libro);
    ~ListaSpesa() override;

    const QString &libro() const { return libro_; }
    // What the opening of the side file had to say (damaged, another book's); given once.
    QString avviso();

    // Recipes by key, each with its portions (0: the recipe's own); a key the book lacks is
    // left out.
    void aggiungi(const QList<std::pair<qint64, int>> &ricette);
    void togli(const QList<qint64> &posizioni);
    void setPorzioni(qint64 posizione, int porzioni);
    void setInCasa(qint64 ingrediente, bool inCasa);
    void setReparto(qint64 ingrediente, const QString &reparto);

    struct Stato
    {
        QList<Scelta> scelte;
        QList<Voce> voci;  // by department in the shop's order, then by name
        QStringList tolte; // recipes gone from the book since the last look, now off the list
    };
    Stato leggi();

    QList<Pasto> settimana(); // recipes gone from the book stay as their names
    void setPasto(const Pasto &p);
    void settimanaNuova();
    // The recipes of the week, for the list: key and portions; the meals with no recipe.
    std::pair<QList<std::pair<qint64, int>>, QStringList> ricetteDellaSettimana();

    // The book's recipe names in name order, with their keys and portions.
    struct Ricetta
    {
        qint64 chiave = 0;
        QString nome;
        int porzioni = 0;
    };
    QList<Ricetta> ricette();
    Ricetta ricetta(qint64 chiave);

    void rigaCambiata(const QString &tabella, qint64 chiave) override;

signals:
    void cambiata();      // the list or the week changed, from any window
    void libroCambiato(); // the program wrote the book: what was read from it may differ

private:
    std::shared_ptr<Database> apriLibro();
    static Ricetta leggiRicetta(Statement &s, qint64 chiave);

    QString libro_;
    std::shared_ptr<Database> db_; // the book, read only; no lock held between statements
    ArchivioSpesa archivio_;
    bool segnalato_ = false; // a libroCambiato is on its way
    bool avvisato_ = false;
};
