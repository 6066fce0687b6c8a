#pragma once

#include <QHash>
#include <QList>
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
    // Starts the whole check of a book on another thread, so that it is done before the first
    // window needs it; the opening of that book waits for it to end.
    static void verificaInAnticipo(const QString &percorso);
    // Interrupts the checks still running and waits for their threads (at the program's end).
    static void fermaVerifiche();
    // Lets another thread stop what a connection runs: the connection is named while it works
    // and no longer before it closes, both under the lock that interrompi() takes.
    class Interruttore
    {
    public:
        void imposta(sqlite3 *db);
        void interrompi(); // also what it is given later stops at once
        bool interrotto() const;

    private:
        mutable QMutex guardia_;
        sqlite3 *db_ = nullptr;
        bool interrotto_ = false;
    };
    // A read-only connection of its own, checked, for a thread other than the windows' (the
    // check ahead, the content search): never handed out by apri(), used by that thread alone.
    // While it opens and is checked, interruttore can stop it (EngineError 3000).
    static std::shared_ptr<Database> apriAParte(const QString &percorso,
                                                Interruttore *interruttore = nullptr);
    // How many times the whole file was read for damage: once per book, and again when
    // another program changed it since (kept across runs: verificati.cpp).
    static quint64 controlliDiIntegrita();
    // Writes down the books found whole, for the next run (at the program's end).
    static void salvaVerificati();
    // Writes them down and reads them back, as the next run will: for tests.
    static void ricaricaVerifiche();

    ~Database();
    Database(const Database &) = delete;
    Database &operator=(const Database &) = delete;

    const QString &percorso() const { return percorso_; }
    bool aperto() const { return db_ != nullptr; }
    sqlite3 *handle() const; // throws when closed

    // Closes the connection for every holder; apri() then opens and checks the file anew.
    void Close();

    // Whole-file copies of a book, byte for byte, for the import's backup. The copy is written
    // beside its destination and renamed over it, so a crash never leaves half a file.
    // The backup is read under a read lock, after a journal left by a crash was rolled back;
    // the restore closes every connection on the book and discards a journal or log left
    // beside it, which belongs to the state being replaced. Both throw the EngineError that
    // names the cause (disk full, missing, in use...).
    static void copiaDiSicurezza(const QString &libro, const QString &copia);
    static void ripristina(const QString &copia, const QString &libro);

    // How long a statement waits for a lock another program holds (3 s unless set).
    void setAttesaMassima(int millisecondi);

    // Grows with every write to a table of this file through any Database of the program, so a
    // set knows when the rows it read may have changed: a write through scrivi() moves its own
    // table's (and, for a deletion, those of the tables whose rows go with it), any other write
    // every table's, and a commit another program made that guardaAltrui() saw every table's.
    quint64 versione(const QString &tabella) const;
    // Asks SQLite whether another connection committed to the file since the last time; when
    // one did, every row read before is read again and cambiDaAltri() grows.
    void guardaAltrui();
    quint64 cambiDaAltri() const { return cambiDaAltri_; }

    // What a copy kept outside the book (the content search) needs to stay true to it: each row
    // the program's own connections insert, change or delete in the file, as SQLite names its
    // table and key, told as it happens (also rows a rollback then restores).
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
    // The watchers and our writes of one file; kept while the program runs. A watcher may live
    // on another thread (the content search's): the list is read and changed under its lock,
    // so one that leaves is never told again once nonOsservare() returned.
    struct Registro
    {
        QMutex guardia;
        QList<Osservatore *> osservatori;
        std::atomic<quint64> scritture = 0;
    };

    // A set's keys in its order, with the values of the column it is sorted by when the sort
    // read them, as at a version of its table: sets of one record source opened while the table
    // is unchanged share them instead of sorting again. ordine() is null when none is current.
    struct Ordine
    {
        quint64 versione = 0;
        quint64 altrui = 0; // cambiDaAltri() as it was then
        std::vector<qint64> chiavi;
        QVariantList valori;
    };
    std::shared_ptr<const Ordine> ordine(const QString &sql, const QString &tabella) const;
    void ricordaOrdine(const QString &sql, std::shared_ptr<const Ordine> ordine);

    // Runs one statement of our own with bound values.
    void esegui(const QString &sql, const QVariantList &valori = {});
    // Runs one statement that inserts, updates or deletes rows of tabella alone; returns how
    // many rows it changed.
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
        void commit();

    private:
        Database &db_;
        bool chiusa_ = false;
    };

    // A read of many rows that sees one state of the book (an export, a printout of many
    // recipes): its statements share one read lock instead of taking one each. Another program
    // waits to commit until it ends; a write of ours inside it is an error.
    class Lettura
    {
    public:
        explicit Lettura(Database &db);
        ~Lettura();
        Lettura(const Lettura &) = delete;
        Lettura &operator=(const Lettura &) = delete;

    private:
        Database &db_;
        bool aperta_ = false;
    };

private:
    Database(sqlite3 *db, const QString &percorso);
    void configura(bool scrittura);
    void verificaRicettario();
    static void chiudiConnessioni(const QString &libro);  // every holder's, in this program
    static void scritturaNostra(const QString &percorso); // a commit of ours keeps it checked
    static void verificato(const QString &percorso);      // whole as it is now
    static bool giaVerificato(const QString &canonico, const Impronta &adesso);
    static void verificatoCosi(const QString &canonico, const Impronta &adesso);
    static void nonVerificato(const QString &canonico);
    static void contaControllo();
    static void attendiVerifica(const QString &canonico); // the check ahead of that book, if any
    void verificaTabella(const Schema::Tabella &tabella);

    sqlite3 *db_;
    QString percorso_;
    qint64 eseguiEConta(const QString &sql, const QVariantList &valori, const QString &tabella);

public:
    struct Versioni;

private:
    static std::shared_ptr<Versioni> versioniDi(const QString &percorso);
    // A statement that changed rows of tabella (of any table when empty).
    void contaScrittura(const QString &tabella, const QString &sql);
    std::shared_ptr<Versioni> versioni_;
    QHash<QString, std::shared_ptr<const Ordine>> ordini_;
    struct Istruzioni;
    std::unique_ptr<Istruzioni> istruzioni_;
    std::shared_ptr<Registro> registro_;
    static std::shared_ptr<Registro> registro(const QString &percorso);
    void seguiRighe();                        // the update hook that tells the watchers
    bool scritto_ = false;                    // a write of ours not yet committed
    std::unique_ptr<Statement> versioneDati_; // PRAGMA data_version, prepared once
    qint64 versioneDatiVista_ = -1;
    quint64 cambiDaAltri_ = 0;
};
