#pragma once

#include "storage/connessione.h"
#include "storage/transazione.h"

#include <QByteArray>
#include <QHash>
#include <QMutex>
#include <QString>
#include <QVariant>
#include <atomic>
#include <memory>
#include <optional>
#include <vector>

struct sqlite3;
namespace Schema {
struct Tabella;
}

class Statement;
struct Impronta;
struct Libro;
struct Versioni;

// One open recipe book. Opening checks that the file is a recipe book and never creates one.
//
// Another program (the sqlite3 shell, a second copy of Pentolone) may write the book while it is
// open. What a window shows, prints or exports is what the book holds when it does so: before a
// set moves, finds, goes to a bookmark or starts an edit it asks SQLite whether another
// connection committed since it last asked (guardaAltrui: PRAGMA data_version, one look at the
// file's header). When one did, every row any set of the book keeps is read again, and each set
// reads its keys again at its next step: rows another program inserted take their place in it,
// rows it deleted leave it, and a current row it deleted leaves the set with no current row
// (Recordset::persaAltrove) for its window to say so. A write never lands in a row that is gone:
// an update that finds no row throws 3167. A save writes only the columns the user changed, so
// another program's changes to the other columns stay.
//
// Threads: apri() and crea() belong to the windows' thread, as does every Database they hand
// out. A thread of its own (the check ahead, the content search) uses a read-only connection
// from apriAParte(), which shares nothing with the windows' but the registry of books
// (libri.h), taken under its lock.
class Database
{
public:
    enum class Modo { LetturaScrittura, SolaLettura };

    // Throws EngineError: 3024 when the file is missing, 3343 or 3049 when it is no book.
    // While a book is open in the same mode, its Database is handed out again: the sets on one
    // file share a connection, and the file is checked once.
    static std::shared_ptr<Database> apri(const QString &percorso,
                                          Modo modo = Modo::LetturaScrittura);
    // Creates an empty book in the format the windows expect (the template writer).
    static std::shared_ptr<Database> crea(const QString &percorso);

    // Lets another thread stop what a connection runs: the statement running stops at once, and
    // so does every one started after interrompi(). The connection is named by the thread that
    // uses it, while it works, and no longer before it closes.
    class Interruttore
    {
    public:
        void imposta(sqlite3 *db);
        void interrompi();
        bool interrotto() const { return interrotto_; }

    private:
        QMutex guardiaConnessione_; // db_, which interrompi() reaches from another thread
        sqlite3 *db_ = nullptr;
        std::atomic<bool> interrotto_ = false;
    };
    // A read-only connection of its own, checked, for a thread other than the windows' (the
    // check ahead, the content search): never handed out by apri(), used by that thread alone,
    // with write versions of its own (it never writes). While it opens and is checked,
    // interruttore can stop it (EngineError 3000).
    static std::shared_ptr<Database> apriAParte(const QString &percorso,
                                                Interruttore *interruttore = nullptr);

    // The whole check of a book started on a thread of its own, so that it is done before the
    // first window needs it; the opening of that book waits for it to end. Only with an
    // application, whose end interrupts the checks still running and waits for their threads
    // (fermaVerifiche) before any static goes; without one, the opening checks.
    static void verificaInAnticipo(const QString &percorso);
    static void fermaVerifiche();
    // How many times the whole file was read for damage: once per book, and again when
    // another program changed it since (kept across runs: verificati.cpp).
    static quint64 controlliDiIntegrita();
    // Writes down the books found whole, for the next run (at the program's end).
    static void salvaVerificati();
    // Writes them down and reads them back, as the next run will: for tests.
    static void ricaricaVerifiche();

    // Whole-file copies of a book, byte for byte, for the import's backup. The copy is written
    // beside its destination and renamed over it, so a crash never leaves half a file.
    // The backup is read under a read lock, after a journal left by a crash was rolled back;
    // the restore closes every connection on the book and discards a journal or log left
    // beside it, which belongs to the state being replaced. Both throw the EngineError that
    // names the cause (disk full, missing, in use...).
    static void copiaDiSicurezza(const QString &libro, const QString &copia);
    static void ripristina(const QString &copia, const QString &libro);

    ~Database();
    Database(const Database &) = delete;
    Database &operator=(const Database &) = delete;

    const QString &percorso() const { return percorso_; }
    bool aperto() const { return bool(connessione_); }
    // For statements of our own (Statement). A write through it is counted like any other:
    // SQLite names each row changed (versioni.cpp). Throws when closed.
    sqlite3 *handle() const;
    // Closes the connection for every holder; apri() then opens and checks the file anew.
    void Close();
    // How long a statement waits for a lock another program holds (3 s unless set).
    void setAttesaMassima(int millisecondi);

    // Runs one statement of our own with bound values.
    void esegui(const QString &sql, const QVariantList &valori = {});
    // Runs one statement that inserts, updates or deletes rows of tabella; returns how many
    // rows of tabella it changed (not those that went with them).
    qint64 scrivi(const QString &tabella, const QString &sql, const QVariantList &valori);
    QVariant valore(const QString &sql, const QVariantList &valori = {});
    // A statement of our own run again and again, prepared once while the connection lasts (the
    // last few dozen kept). Whoever steps it resets it before letting it go.
    std::shared_ptr<Statement> preparato(const QString &sql);
    qint64 ultimaChiave() const;

    // A write of several statements: committed by commit(), rolled back otherwise.
    class Transazione
    {
    public:
        explicit Transazione(Database &db);
        ~Transazione();
        Transazione(const Transazione &) = delete;
        Transazione &operator=(const Transazione &) = delete;
        void commit();

    private:
        Database &db_;
        ::Transazione transazione_;
    };

    // A read of many rows that sees one state of the book (an export, a printout of many
    // recipes): its statements share one read lock instead of taking one each. Another program
    // waits to commit until it ends; a write of ours inside it is an error.
    class Lettura
    {
    public:
        explicit Lettura(Database &db);

    private:
        ::Transazione transazione_;
    };

    // The write versions (versioni.cpp): a number for each table that grows with every row of
    // it written through any Database of the program on this file, and for every table when a
    // connection saw another program's commit (guardaAltrui) or a transaction of ours rolled
    // back. A set knows from it when the rows it read may have changed.
    quint64 versione(const QString &tabella) const;
    // Asks SQLite whether another connection committed to the file since the last time; when
    // one did, every row read before is read again and cambiDaAltri() grows.
    void guardaAltrui();
    quint64 cambiDaAltri() const { return cambiDaAltri_; }

    // The shared sort (ordini.cpp): a set's keys in its order, with the values of the column it
    // is sorted by when the sort read them, as at a version of its table: sets of one record
    // source opened while the table is unchanged share them instead of sorting again.
    struct Ordine
    {
        quint64 versione = 0;
        quint64 altrui = 0; // cambiDaAltri() as it was then
        std::vector<qint64> chiavi;
        QVariantList valori;
    };
    // Null when none is current.
    std::shared_ptr<const Ordine> ordine(const QString &sql, const QString &tabella) const;
    void ricordaOrdine(const QString &sql, std::shared_ptr<const Ordine> ordine);

    // What a copy kept outside the book (the content search, the shopping list) needs to stay
    // true to it: each row the program's own connections insert, change or delete in the file,
    // as SQLite names its table and key, told as it happens on the thread that writes (also rows
    // a rollback then restores). A watcher may live on another thread: one that leaves is never
    // told again once nonOsservare() returned.
    class Osservatore
    {
    public:
        virtual ~Osservatore() = default;
        virtual void rigaCambiata(const QString &tabella, qint64 chiave) = 0;
    };
    static void osserva(const QString &percorso, Osservatore *o);
    static void nonOsservare(const QString &percorso, Osservatore *o);
    // The program's committed writes to the file since it started, and SQLite's own count of
    // the file's commits (any program's) in its header: when the second moved by more than the
    // first, another program wrote. No count when a WAL log beside the file may hold commits.
    static quint64 scrittureNostre(const QString &percorso);
    static std::optional<quint32> commitDelFile(const QString &percorso);

private:
    Database(const QString &percorso, Connessione::Modo modo, bool aParte);

    // Opening and the book's checks (database.cpp, verifica.cpp, anticipo.cpp, verificati.cpp).
    void configura(bool scrittura);
    void verificaRicettario();
    void verificaTabella(const Schema::Tabella &tabella);
    static void attendiVerifica(const QString &canonico); // the check ahead of that book, if any
    static void chiudiConnessioni(const QString &libro);  // every holder's, in this program
    static bool giaVerificato(const QString &canonico, const Impronta &adesso);
    static void verificatoCosi(const QString &canonico, const Impronta &adesso);
    static void nonVerificato(const QString &canonico);
    static void verificato(const QString &percorso);      // whole as it is now
    static void scritturaNostra(const QString &percorso); // a commit of ours keeps it checked
    static void contaControllo();

    // Statements and what a write leaves behind (database.cpp, versioni.cpp, osservatori.cpp).
    void seguiRighe(); // the update hook: the write versions and the watchers
    static void rigaCambiata(void *database, int, const char *, const char *tabella,
                             long long chiave);
    void rigaScritta(const char *tabella, qint64 chiave);
    void contaRiga(const char *tabella);
    void dopoLoStatement(bool riuscito);
    void dopoIlRollback();
    static std::shared_ptr<Versioni> versioniDi(const QString &percorso);

    Connessione connessione_;
    QString percorso_;
    Libro *libro_;                         // the registry's entry of the file: never destroyed
    std::shared_ptr<Versioni> versioni_;   // shared with the file's other connections
    Interruttore *interruttore_ = nullptr; // told before the connection closes
    struct Istruzioni;
    std::unique_ptr<Istruzioni> istruzioni_;
    QHash<QString, std::shared_ptr<const Ordine>> ordini_;
    std::unique_ptr<Statement> versioneDati_; // PRAGMA data_version, prepared once
    qint64 versioneDatiVista_ = -1;
    quint64 cambiDaAltri_ = 0;
    bool scritto_ = false;     // a row written by us not yet committed
    QByteArray ultimaTabella_; // the table of the last row written, and its count
    quint64 *righeUltimaTabella_ = nullptr;
};
