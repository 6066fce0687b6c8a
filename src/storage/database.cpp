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
#include <sqlite3.h>

// Statements run again and again (the import's inserts) are prepared once.
struct Database::Istruzioni
{
    static constexpr int Tenute = 32;
    QHash<QString, std::shared_ptr<Statement>> preparate;
};

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
    attendiVerifica(chiave.first);
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

std::shared_ptr<Database> Database::apriAParte(const QString &percorso, Interruttore *interruttore)
{
    std::shared_ptr<Database> d(
        new Database(apriConnessione(percorso, SQLITE_OPEN_READONLY), percorso));
    if (interruttore)
        interruttore->imposta(d->db_);
    try {
        d->configura(false);
        d->verificaRicettario();
    } catch (...) {
        if (interruttore)
            interruttore->imposta(nullptr);
        throw;
    }
    if (interruttore)
        interruttore->imposta(nullptr);
    return d;
}

void Database::Interruttore::imposta(sqlite3 *db)
{
    const QMutexLocker bloccato(&guardia_);
    db_ = db;
    if (db_ && interrotto_)
        sqlite3_interrupt(db_);
}

void Database::Interruttore::interrompi()
{
    const QMutexLocker bloccato(&guardia_);
    interrotto_ = true;
    if (db_)
        sqlite3_interrupt(db_);
}

bool Database::Interruttore::interrotto() const
{
    const QMutexLocker bloccato(&guardia_);
    return interrotto_;
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
    versioneDati_.reset();
    if (db_)
        sqlite3_close_v2(db_);
    db_ = nullptr;
}

void Database::setAttesaMassima(int millisecondi)
{
    sqlite3_busy_timeout(handle(), millisecondi);
}

void Database::esegui(const QString &sql, const QVariantList &valori)
{
    eseguiEConta(sql, valori, QString());
}

qint64 Database::scrivi(const QString &tabella, const QString &sql, const QVariantList &valori)
{
    return eseguiEConta(sql, valori, tabella);
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

qint64 Database::eseguiEConta(const QString &sql, const QVariantList &valori,
                              const QString &tabella)
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
    const qint64 cambiate = sqlite3_total_changes64(db_) - prima;
    if (cambiate != 0) {
        contaScrittura(tabella, sql);
        scritto_ = true;
    }
    // Our own committed write keeps a checked book checked.
    if (scritto_ && sqlite3_get_autocommit(db_)) {
        scritto_ = false;
        ++registro_->scritture;
        scritturaNostra(percorso_);
    }
    return cambiate;
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

Database::Lettura::Lettura(Database &db) : db_(db)
{
    // Inside a transaction already, the reads share its lock.
    if (db_.aperto() && sqlite3_get_autocommit(db_.db_)) {
        db_.esegui("BEGIN");
        aperta_ = true;
    }
}

Database::Lettura::~Lettura()
{
    if (aperta_ && db_.aperto())
        sqlite3_exec(db_.db_, "COMMIT", nullptr, nullptr, nullptr);
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
        db_.contaScrittura(QString(), QString());
    }
}

void Database::Transazione::commit()
{
    db_.esegui("COMMIT");
    chiusa_ = true;
    // Written by statements of its own (a source book's rows), a book checked stays checked.
    scritturaNostra(db_.percorso_);
}
