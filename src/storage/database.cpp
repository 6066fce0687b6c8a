#include "storage/database.h"

#include "storage/collation.h"
#include "storage/connessione.h"
#include "storage/engineerror.h"
#include "storage/schema.h"
#include "storage/statement.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QMutex>
#include <QSaveFile>
#include <cerrno>
#include <chrono>
#include <future>
#include <sqlite3.h>

// The write counters of each file, shared by its connections: a table's version is the count
// of writes to every table plus the count of those to it alone.
struct Database::Versioni
{
    quint64 tutte = 1;                  // rows not yet read carry 0
    QHash<QString, quint64> perTabella; // by the table's name in lower case
};

// Statements run again and again (the import's inserts) are prepared once.
struct Database::Istruzioni
{
    static constexpr int Tenute = 32;
    QHash<QString, std::shared_ptr<Statement>> preparate;
};

// The check may run on another thread: what it shares with the windows' thread is kept under
// this lock.
// It and what it guards are never destroyed: a check may still run while the program ends.
static QMutex &guardia()
{
    static auto *m = new QMutex;
    return *m;
}

static std::shared_ptr<Database::Versioni> versioniDi(const QString &percorso)
{
    const QMutexLocker bloccato(&guardia());
    static auto *tutte = new QHash<QString, std::weak_ptr<Database::Versioni>>;
    const QString chiave = QFileInfo(percorso).canonicalFilePath();
    std::shared_ptr<Database::Versioni> v = tutte->value(chiave).lock();
    if (!v) {
        v = std::make_shared<Database::Versioni>();
        tutte->insert(chiave, v);
    }
    return v;
}

// The checks started ahead, by canonical path: an opening waits for its book's.
static QHash<QString, std::shared_future<void>> &anticipi()
{
    static auto *a = new QHash<QString, std::shared_future<void>>;
    return *a;
}

void Database::verificaInAnticipo(const QString &percorso)
{
    const QString canonico = QFileInfo(percorso).canonicalFilePath();
    if (canonico.isEmpty() || !QFileInfo(canonico).isFile())
        return;
    {
        // The same book named again while its check runs (the settings' book opened from the
        // command line too): the opening waits for that one, and checks again if the file
        // changed since it started.
        const QMutexLocker bloccato(&guardia());
        const std::shared_future<void> corrente = anticipi().value(canonico);
        if (corrente.valid() &&
            corrente.wait_for(std::chrono::seconds(0)) != std::future_status::ready)
            return;
    }
    std::shared_future<void> controllo =
        std::async(std::launch::async, [percorso] {
            // A failure is found again, and said, by the opening.
            try {
                std::shared_ptr<Database> d(
                    new Database(apriConnessione(percorso, SQLITE_OPEN_READONLY), percorso));
                d->configura(false);
                d->verificaRicettario();
            } catch (...) {
            }
        }).share();
    // The one it replaces ends outside the lock: its thread may be waiting for it.
    const QMutexLocker bloccato(&guardia());
    std::swap(anticipi()[canonico], controllo);
}

// The books open now, by canonical path and mode.
using ChiaveAperto = QPair<QString, int>;
static QHash<ChiaveAperto, std::weak_ptr<Database>> &aperti()
{
    static QHash<ChiaveAperto, std::weak_ptr<Database>> a;
    return a;
}

Database::Database(sqlite3 *db, const QString &percorso)
    : db_(db), percorso_(percorso), versioni_(versioniDi(percorso)),
      istruzioni_(std::make_unique<Istruzioni>()), registro_(registro(percorso))
{
    seguiRighe();
}

Database::~Database()
{
    Close();
}

std::shared_ptr<Database> Database::apri(const QString &percorso, Modo modo)
{
    const QFileInfo info(percorso);
    if (percorso.isEmpty() || !info.exists())
        throw EngineError(EngineError::FileNonTrovato, percorso);
    if (!info.isFile())
        throw EngineError(EngineError::NonUnRicettario, percorso);
    const ChiaveAperto chiave(info.canonicalFilePath(), int(modo));
    if (std::shared_ptr<Database> d = aperti().value(chiave).lock(); d && d->aperto())
        return d;
    std::shared_future<void> anticipo;
    {
        const QMutexLocker bloccato(&guardia());
        anticipo = anticipi().take(chiave.first);
    }
    if (anticipo.valid())
        anticipo.wait();
    const bool scrittura = modo == Modo::LetturaScrittura;
    std::shared_ptr<Database> d(new Database(
        apriConnessione(percorso, scrittura ? SQLITE_OPEN_READWRITE : SQLITE_OPEN_READONLY),
        percorso));
    d->configura(false);
    d->verificaRicettario();
    d->configura(scrittura);
    aperti().removeIf([](const auto &voce) { return voce.value().expired(); });
    aperti().insert(chiave, d);
    return d;
}

std::shared_ptr<Database> Database::crea(const QString &percorso)
{
    if (QFileInfo::exists(percorso)) {
        // Whoever still holds the old file keeps it; apri() must not hand it out for the new one.
        const QString canonico = QFileInfo(percorso).canonicalFilePath();
        aperti().removeIf([&](const auto &voce) { return voce.key().first == canonico; });
        QFile::remove(percorso);
    }
    std::shared_ptr<Database> d(new Database(
        apriConnessione(percorso, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE), percorso));
    d->configura(true);
    Transazione t(*d);
    for (const Schema::Tabella &tabella : Schema::tabelle()) {
        QStringList colonne;
        for (const Schema::Colonna &c : tabella.colonne)
            colonne << QStringLiteral("\"%1\" %2").arg(c.nome, c.tipo);
        d->esegui(QStringLiteral("CREATE TABLE \"%1\" (%2)").arg(tabella.nome, colonne.join(", ")));
    }
    // The cascades and the lines of a recipe look rows up by these keys.
    d->esegui("CREATE INDEX \"ingredienti_ricetta_IDRicetta\" ON \"ingredienti_ricetta\" "
              "(\"IDRicetta\")");
    d->esegui("CREATE INDEX \"ingredienti_ricetta_IDIngrediente\" ON \"ingredienti_ricetta\" "
              "(\"IDIngrediente\")");
    t.commit();
    // Made here from nothing: whole, with nothing to read again at its first opening.
    verificato(percorso);
    return d;
}

void Database::configura(bool scrittura)
{
    if (!scrittura) {
        // Before anything is read: a book is a file from anywhere.
        proteggiConnessione(db_);
        Collazione::registra(db_);
        esegui("PRAGMA foreign_keys = ON");
        esegui("PRAGMA cell_size_check = ON");
        return;
    }
    // Only once the file is known to be a book: these may write its header.
    esegui("PRAGMA journal_mode = DELETE");
    esegui("PRAGMA synchronous = FULL");
}

void Database::chiudiConnessioni(const QString &libro)
{
    const QString canonico = QFileInfo(libro).canonicalFilePath();
    for (const auto &[chiave, aperto] : aperti().asKeyValueRange())
        if (chiave.first == canonico)
            if (const std::shared_ptr<Database> d = aperto.lock())
                d->Close();
}

sqlite3 *Database::handle() const
{
    if (!db_)
        throw EngineError(EngineError::RicettarioChiuso);
    return db_;
}

void Database::Close()
{
    // close_v2 waits for statements still held by open sets.
    istruzioni_->preparate.clear();
    if (db_)
        sqlite3_close_v2(db_);
    db_ = nullptr;
}

void Database::setAttesaMassima(int millisecondi)
{
    sqlite3_busy_timeout(handle(), millisecondi);
}

quint64 Database::versione(const QString &tabella) const
{
    return versioni_->tutte + versioni_->perTabella.value(tabella.toLower());
}

qint64 Database::commitAltrui()
{
    return valore("PRAGMA data_version").toLongLong();
}

std::shared_ptr<const Database::Ordine> Database::ordine(const QString &sql, const QString &tabella)
{
    const std::shared_ptr<const Ordine> o = ordini_.value(sql);
    // Another program's write is seen by a set opened again: not kept past one.
    return o && o->versione == versione(tabella) && o->altrui == commitAltrui() ? o : nullptr;
}

void Database::ricordaOrdine(const QString &sql, std::shared_ptr<const Ordine> ordine)
{
    if (ordini_.size() >= 8)
        ordini_.clear();
    ordini_.insert(sql, std::move(ordine));
}

void Database::esegui(const QString &sql, const QVariantList &valori)
{
    eseguiEConta(sql, valori, QString());
}

void Database::scrivi(const QString &tabella, const QString &sql, const QVariantList &valori)
{
    eseguiEConta(sql, valori, tabella);
}

std::shared_ptr<Statement> Database::preparato(const QString &sql)
{
    auto &p = istruzioni_->preparate;
    if (const auto it = p.constFind(sql); it != p.cend())
        return *it;
    if (p.size() >= Istruzioni::Tenute)
        p.clear();
    return p.insert(sql, std::make_shared<Statement>(handle(), sql, percorso_)).value();
}

void Database::eseguiEConta(const QString &sql, const QVariantList &valori, const QString &tabella)
{
    // Kept for the next time, and reset whatever happens.
    const std::shared_ptr<Statement> tenuta = preparato(sql);
    Statement &s = *tenuta;
    struct Azzera
    {
        Statement &s;
        ~Azzera() { s.reset(); }
    } azzera{s};
    s.bindAll(valori);
    const sqlite3_int64 prima = sqlite3_total_changes64(db_);
    while (s.step()) {
    }
    if (sqlite3_total_changes64(db_) != prima) {
        if (tabella.isEmpty()) {
            ++versioni_->tutte;
        } else {
            ++versioni_->perTabella[tabella.toLower()];
            // A deletion takes the rows that reference it with it.
            if (sql.startsWith(QLatin1String("DELETE"), Qt::CaseInsensitive))
                for (const Schema::Tabella &t : Schema::tabelle())
                    for (const Schema::Colonna &c : t.colonne)
                        if (c.tipo.contains(quotaNome(tabella), Qt::CaseInsensitive))
                            ++versioni_->perTabella[t.nome.toLower()];
        }
        scritto_ = true;
    }
    // Our own committed write keeps a checked book checked.
    if (scritto_ && sqlite3_get_autocommit(db_)) {
        scritto_ = false;
        ++registro_->scritture;
        scritturaNostra(percorso_);
    }
}

QVariant Database::valore(const QString &sql, const QVariantList &valori)
{
    Statement s(handle(), sql, percorso_);
    s.bindAll(valori);
    return s.step() ? s.column(0) : QVariant();
}

qint64 Database::ultimaChiave() const
{
    return sqlite3_last_insert_rowid(handle());
}

Database::Transazione::Transazione(Database &db) : db_(db)
{
    db_.esegui("BEGIN IMMEDIATE");
}

Database::Transazione::~Transazione()
{
    if (!chiusa_ && db_.aperto()) {
        sqlite3_exec(db_.db_, "ROLLBACK", nullptr, nullptr, nullptr);
        db_.scritto_ = false;
        // Rows read inside the transaction may hold what was rolled back: read them again.
        ++db_.versioni_->tutte;
    }
}

void Database::Transazione::commit()
{
    db_.esegui("COMMIT");
    chiusa_ = true;
    // Written by statements of its own (a source book's rows), a book checked stays checked.
    scritturaNostra(db_.percorso_);
}
