#pragma once

#include "storage/cassettiera.h"
#include "storage/database.h"

#include <QHash>
#include <QString>
#include <QVariant>
#include <memory>
#include <optional>
#include <vector>

class Criterio;
class Database;
class Statement;
class Recordset;

// What a data control does around the moves of its set (see DataSource).
class RecordsetObserver
{
public:
    virtual ~RecordsetObserver() = default;
    // Before a move, a new row, an update, a delete or a find; false cancels it.
    virtual bool prima(int azione) = 0;
    // After the current row changed.
    virtual void dopo() = 0;
    // After a row of the set was added, changed or deleted.
    virtual void righeCambiate() {}
};

// Action codes of Validate.
namespace Azione {
enum {
    Annulla = 0,
    Primo = 1,
    Precedente = 2,
    Successivo = 3,
    Ultimo = 4,
    NuovoRecord = 5,
    Aggiornamento = 6,
    Eliminazione = 7,
    Ricerca = 8,
    Segnalibro = 9,
    Chiusura = 10,
};
}

// A field of the current row, read or written by ordinal or by name.
class Field
{
public:
    Field(Recordset &rs, int ordinale) : rs_(rs), ordinale_(ordinale) {}
    QVariant Value() const;
    void setValue(const QVariant &v);
    Field &operator=(const QVariant &v)
    {
        setValue(v);
        return *this;
    }

private:
    Recordset &rs_;
    int ordinale_;
};

// A keyset set of rows: opening runs the record source and keeps the keys of its rows in order;
// the values of a row are read again by key when the book changed since they were read, or
// when the set no longer keeps them. Another program's commits are seen as database.h says: the
// keys are read again at the set's next move, find, bookmark or edit.
class Recordset
{
public:
    enum ModoModifica { Nessuna = 0, InModifica = 1, NuovoInCorso = 2 };

    // Throws EngineError (3078 for an unknown table, 3000 for a query the engine refuses).
    Recordset(std::shared_ptr<Database> db, const QString &origine);
    ~Recordset();

    void setObserver(RecordsetObserver *o) { observer_ = o; }

    // Azione::Primo, Precedente, Successivo or Ultimo, with the observer's events.
    void Move(int azione);
    void MoveFirst() { Move(Azione::Primo); }
    void MoveLast() { Move(Azione::Ultimo); }
    void MoveNext() { Move(Azione::Successivo); }
    void MovePrevious() { Move(Azione::Precedente); }
    bool Eof() const;
    bool Bof() const;
    int AbsolutePosition() const; // -1 without a current row
    int RecordCount() const { return righe_.size(); }

    QVariant Bookmark() const;
    void setBookmark(const QVariant &segnalibro);
    QVariant LastModified() const { return ultimaModificata_; }

    void AddNew();
    void Edit();
    void Update();
    void CancelUpdate();
    void Delete();
    int EditMode() const { return modo_; }

    void FindFirst(const QString &criterio);
    void FindNext(const QString &criterio);
    bool NoMatch() const { return noMatch_; }

    int fieldCount() const { return int(colonne_.size()); }
    int ordinal(const QString &nome) const; // without regard to case; throws 3070
    Field Fields(int ordinale);
    Field Fields(const QString &nome);
    QVariant value(int ordinale) const;
    QVariant value(const QString &nome) const { return value(ordinal(nome)); }
    void setValue(int ordinale, const QVariant &v);
    void setValue(const QString &nome, const QVariant &v) { setValue(ordinal(nome), v); }

    // Runs the record source again; the first row becomes current.
    void Requery();

    Database &database() const { return *db_; }
    bool haRigaCorrente() const;
    // Reads the keys again when another program committed since the set last read them, the
    // current row kept by its key; true when it did. The moves, finds, bookmarks and edits
    // call it first.
    bool seguiIlLibro();
    // The current row was deleted by another program: no current row until the next move,
    // which goes on from where it stood.
    bool persaAltrove() const { return persa_; }
    int ordinaleChiave() const { return colonnaChiave_; } // -1 for a set that cannot be written

    // For the data control: the same operations without its events.
    void scriviSenzaEventi(const QHash<int, QVariant> &valori); // into the row being edited
    void
    concludiSenzaEventi(); // stores a pending new or edited row; an untouched new row is dropped
    QVariant valoreAlPosto(int posizione, int ordinale) const; // for grids
    // What a row held when it was last read, without reading: null when it was not kept.
    QVariant valoreLetto(int posizione, int ordinale) const;
    QVariant bookmarkAlPosto(int posizione) const;
    // One column of every row, in the set's order, read by one statement of that column alone:
    // a list of names need not read every text of every row. Null for a row the book lost.
    QVariantList colonnaIntera(int ordinale);

private:
    struct Colonna
    {
        QString nome;    // as the record source names it
        QString origine; // the table's column
        bool numerica;
    };

    void apri();
    QString sqlDellOrigine(bool &tabella, QString &primo) const;
    void leggiColonne(const Statement &s);
    std::shared_ptr<Statement> rilettura(int quante) const;
    void leggiRighe(Statement &s, const QString &sql, bool tabella);
    void richiave();

    struct Posto
    {
        int posizione;
        bool eliminata, persa;
    };
    Posto posto() const { return {posizione_, eliminata_, persa_}; }
    void controllaSpostamento(int azione) const; // throws 3021 for a move out of the set
    void spostaSenzaEventi(int azione);
    void vaiAl(int posizione);
    void arriva(const Posto &prima);
    void controllaOrdinale(int ordinale) const; // throws 3070 out of range
    bool avvisa(int azione);
    void notifica();
    void leggiCorrente() const; // throws 3167 for a row deleted elsewhere
    QVariant converti(int ordinale, const QVariant &v) const;
    void cerca(const QString &criterio, int da);
    int primoDaSeek(const Criterio &criterio, int ordinale) const;
    void inserisci();
    void aggiorna();

    std::shared_ptr<Database> db_;
    QString origine_;
    QString tabella_;
    int colonnaChiave_ = -1;
    // The column the source sorts by (Italian order, ascending), -1 when none. The rows stand
    // in its order while their table is at versioneOrdine_: the version when the keys were read,
    // moved on by the set's own writes that keep the order (a deletion, a change of other
    // columns). A row added, a value of that column changed, any other write breaks it.
    int ordinatoPer_ = -1;
    quint64 versioneOrdine_ = 0;
    bool inOrdine(int ordinale) const;
    qint64 scriviRiga(const QString &sql, const QVariantList &valori, int posizione,
                      bool ordineIntatto);
    std::shared_ptr<const Database::Ordine> ordine_; // the keys as the set was opened
    std::vector<Colonna> colonne_;
    Cassettiera righe_;
    int posizione_ = -1;
    bool eliminata_ = false;  // after Delete: no current row until the next move
    bool persa_ = false;      // eliminata_ by another program
    quint64 altruiVisti_ = 0; // the book's cambiDaAltri() when the keys were read
    int modo_ = Nessuna;
    QHash<int, QVariant> buffer_;
    int posizionePrimaDelNuovo_ = -1;
    bool eliminataPrimaDelNuovo_ = false;
    QVariant ultimaModificata_;
    bool noMatch_ = false;
    std::optional<qint64> illeggibile_; // the key of the row the last move could not read
    RecordsetObserver *observer_ = nullptr;
};
