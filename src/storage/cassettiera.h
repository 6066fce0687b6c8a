#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QVariant>
#include <memory>
#include <vector>

class Database;
class Statement;

// The rows of a set: their keys in the set's order and the values of those read last. The
// values sit in drawers used in turn, so memory stays small however long the set and a walk
// reuses the same buffers; a row's values are read again, a block of rows at a time, when the
// book changed since they were read or when their drawer took another row.
class Cassettiera
{
public:
    static constexpr int Blocco = 64; // rows read by one statement

    explicit Cassettiera(Database &db);
    ~Cassettiera();

    // A keyed set: the keys in the set's order; values read again through rilettura, which
    // selects the rows whose key is among Blocco parameters (una: among one), and finds the key
    // in its column colonnaChiave. The statements may be shared with other sets.
    void apriPerChiave(const std::vector<qint64> &chiavi, std::shared_ptr<Statement> rilettura,
                       std::shared_ptr<Statement> una, int colonnaChiave, const QString &tabella);
    // A set without a key, whose rows cannot be read again: each keeps a drawer of its own.
    void apriSenzaChiave(Statement &righe);

    int size() const { return int(righe_.size()); }
    qint64 chiave(int posizione) const { return righe_[posizione].chiave; }
    int posizioneDi(qint64 chiave) const; // -1 when no row has it; a lookup, not a walk
    void aggiungi(qint64 chiave);         // read when first asked for
    void togli(int posizione);

    // Around a write of the set's own that changed one row of its table alone (the one at
    // posizione, -1 for a row added): the other rows it holds stay read.
    void primaDellaScrittura() const;
    void dopoLaScrittura(int posizione);

    // Reads the row there unless its values are at hand (throws EngineError); false when the
    // book no longer has it. With it, the rows a walk wants next, up to quante in all: a row
    // looked up by its key comes alone.
    bool leggi(int posizione, int quante = Blocco) const;
    // A value of a row leggi() found.
    QVariant valore(int posizione, int ordinale) const;
    // What a row held when it was last read, without reading: null when it was not kept.
    QVariant valoreLetto(int posizione, int ordinale) const;

private:
    // A value as the engine gave it; a text stays UTF-8 until its field is read.
    struct Cella
    {
        int tipo; // SQLITE_INTEGER, SQLITE_FLOAT, SQLITE_TEXT, SQLITE_BLOB or SQLITE_NULL
        int lunghezza;
        qint64 dato; // the integer, the bits of the real, or where the text starts in testi
    };
    struct Cassetto
    {
        quint32 generazione = 0; // grows each time the drawer takes another row
        std::vector<Cella> celle;
        QByteArray testi;
    };
    struct Riga
    {
        Riga(qint64 k, quint64 v) : chiave(k), versione(v) {}
        qint64 chiave;
        quint64 versione; // the book's version when read; 0 before the first read
        bool eliminata = false;
        int cassetto = -1; // its values, while the drawer's generation is still this one
        quint32 generazione = 0;
    };
    static constexpr int CassettiTenuti = 4 * Blocco; // rows whose values a keyed set keeps

    void sincronizza() const;         // another write since: every row is read again
    bool tenuta(const Riga &r) const; // its values are in its drawer
    bool letta(const Riga &r) const;
    int prendiCassetto() const;
    static void copia(const Statement &s, Cassetto &c);
    std::vector<Riga *> bloccoDa(int posizione, int quante) const;
    void leggiBlocco(const std::vector<Riga *> &blocco) const;

    Database &db_;
    int colonnaChiave_ = -1;
    QString tabella_; // whose writes change the rows
    mutable std::vector<Riga> righe_;
    // Each key's first position, made at the first lookup after the keys changed.
    mutable QHash<qint64, int> posizioni_;
    mutable std::vector<Cassetto> cassetti_;
    mutable int prossimoCassetto_ = 0;
    mutable quint64 validaDa_ = 0; // rows read at this version of the book or later hold its values
    mutable quint64 vista_ = 0;    // the book's version last seen
    std::shared_ptr<Statement> rilettura_, una_;
};
