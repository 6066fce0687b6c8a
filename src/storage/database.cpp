#include "storage/database.h"

#include "storage/collation.h"
#include "storage/engineerror.h"
#include "storage/schema.h"
#include "storage/statement.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSaveFile>
#include <QtEndian>
#include <cerrno>
#include <sqlite3.h>
#include <sys/stat.h>

namespace {

sqlite3 *apriConnessione(const QString &percorso, int flag)
{
    sqlite3 *db = nullptr;
    const int rc = sqlite3_open_v2(QFile::encodeName(percorso).constData(), &db,
                                   // One thread uses a connection: no locking per call.
                                   flag | SQLITE_OPEN_EXRESCODE | SQLITE_OPEN_NOMUTEX, nullptr);
    if (rc != SQLITE_OK) {
        const EngineError e = EngineError::daSqlite(rc, sqlite3_system_errno(db), percorso);
        sqlite3_close_v2(db);
        throw e;
    }
    return db;
}

// Limits sized for recipe books, so a hostile file cannot make a statement run away.
void limita(sqlite3 *db)
{
    sqlite3_limit(db, SQLITE_LIMIT_LENGTH, 64 * 1024 * 1024);
    sqlite3_limit(db, SQLITE_LIMIT_SQL_LENGTH, 100 * 1024);
    sqlite3_limit(db, SQLITE_LIMIT_COLUMN, 200);
    sqlite3_limit(db, SQLITE_LIMIT_EXPR_DEPTH, 100);
    sqlite3_limit(db, SQLITE_LIMIT_COMPOUND_SELECT, 10);
    sqlite3_limit(db, SQLITE_LIMIT_FUNCTION_ARG, 8);
    sqlite3_limit(db, SQLITE_LIMIT_ATTACHED, 0);
    sqlite3_limit(db, SQLITE_LIMIT_LIKE_PATTERN_LENGTH, 200);
    sqlite3_limit(db, SQLITE_LIMIT_VARIABLE_NUMBER, 999);
    sqlite3_limit(db, SQLITE_LIMIT_TRIGGER_DEPTH, 10);
}

} // namespace

// One version counter for each file, shared by its connections.
static std::shared_ptr<quint64> contatoreDi(const QString &percorso)
{
    static QHash<QString, std::weak_ptr<quint64>> contatori;
    const QString chiave = QFileInfo(percorso).canonicalFilePath();
    std::shared_ptr<quint64> c = contatori.value(chiave).lock();
    if (!c) {
        c = std::make_shared<quint64>(1); // rows not yet read carry 0
        contatori.insert(chiave, c);
    }
    return c;
}

// What a book is on disk now: any write to it, ours or another program's, changes it. The
// clock of file times ticks coarsely, so SQLite's own count of the file's changes (at 24 in its
// header) and the log a program in WAL mode writes beside it count too.
struct Impronta
{
    quint64 dispositivo = 0, nodo = 0;
    qint64 dimensione = -1, modifica = 0, cambio = 0; // times in nanoseconds
    QByteArray contatore;
    qint64 log = -1, modificaLog = 0;
    bool operator==(const Impronta &) const = default;
};

static Impronta improntaDi(const QString &percorso)
{
    struct stat s;
    if (::stat(QFile::encodeName(percorso).constData(), &s) != 0)
        return {};
    const auto ns = [](const timespec &t) { return qint64(t.tv_sec) * 1000000000 + t.tv_nsec; };
    Impronta i;
    i.dispositivo = quint64(s.st_dev);
    i.nodo = quint64(s.st_ino);
    i.dimensione = qint64(s.st_size);
    i.modifica = ns(s.st_mtim);
    i.cambio = ns(s.st_ctim);
    QFile f(percorso);
    if (f.open(QIODevice::ReadOnly) && f.seek(24))
        i.contatore = f.read(4);
    if (::stat(QFile::encodeName(percorso + QStringLiteral("-wal")).constData(), &s) == 0) {
        i.log = qint64(s.st_size);
        i.modificaLog = ns(s.st_mtim);
    }
    return i;
}

// The books whose whole check passed, as they were then or after our own last write: reading
// every page again is needed only when another program may have changed the file since.
static QHash<QString, Impronta> &verificati()
{
    static QHash<QString, Impronta> v;
    return v;
}

static quint64 controlliCompleti = 0;

quint64 Database::controlliDiIntegrita()
{
    return controlliCompleti;
}

// The books open now, by canonical path and mode.
using ChiaveAperto = QPair<QString, int>;
static QHash<ChiaveAperto, std::weak_ptr<Database>> &aperti()
{
    static QHash<ChiaveAperto, std::weak_ptr<Database>> a;
    return a;
}

Database::Database(sqlite3 *db, const QString &percorso)
    : db_(db), percorso_(percorso), versione_(contatoreDi(percorso)),
      registro_(registro(percorso))
{
    seguiRighe();
}

std::optional<quint32> Database::commitDelFile(const QString &percorso)
{
    const Impronta i = improntaDi(percorso);
    if (i.contatore.size() != 4 || i.log > 0)
        return std::nullopt;
    return qFromBigEndian<quint32>(i.contatore.constData());
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
    return d;
}

void Database::configura(bool scrittura)
{
    if (!scrittura) {
        // Before anything is read: a book is a file from anywhere.
        sqlite3_db_config(db_, SQLITE_DBCONFIG_DEFENSIVE, 1, nullptr);
        sqlite3_db_config(db_, SQLITE_DBCONFIG_TRUSTED_SCHEMA, 0, nullptr);
        sqlite3_db_config(db_, SQLITE_DBCONFIG_ENABLE_VIEW, 0, nullptr);
        limita(db_);
        sqlite3_busy_timeout(db_, 3000);
        Collazione::registra(db_);
        esegui("PRAGMA foreign_keys = ON");
        esegui("PRAGMA cell_size_check = ON");
        return;
    }
    // Only once the file is known to be a book: these may write its header.
    esegui("PRAGMA journal_mode = DELETE");
    esegui("PRAGMA synchronous = FULL");
}

void Database::verificaRicettario()
{
    try {
        // One read transaction: no other program changes the file between the checks.
        esegui("BEGIN");
        const qint64 pagine = valore("PRAGMA page_count").toLongLong(); // reads the header first
        const qint64 pagina = valore("PRAGMA page_size").toLongLong();
        const qint64 dimensione = QFileInfo(percorso_).size();
        // SQLite reads the missing end of a last page as zeros. In WAL mode the newest pages
        // may still wait in the -wal file, but the book itself is whole pages all the same.
        const bool conWal = valore("PRAGMA journal_mode").toString() == QLatin1String("wal") &&
                            QFileInfo(percorso_ + QStringLiteral("-wal")).size() > 0;
        if (pagina <= 0 || (conWal ? dimensione % pagina != 0 : dimensione != pagina * pagine))
            throw EngineError(EngineError::DatabaseDanneggiato, percorso_);
        // Triggers and views would run code of the file's own: a book has none.
        if (valore("SELECT count(*) FROM sqlite_schema WHERE type IN ('trigger', 'view')")
                .toLongLong() > 0)
            throw EngineError(EngineError::NonUnRicettario, percorso_);
        for (const Schema::Tabella &tabella : Schema::tabelle())
            verificaTabella(tabella);
        // quick_check passes a damaged index, whose lookups then miss rows. Only once the
        // tables are ours: the check evaluates the schema's constraints. Once per book, and
        // again when the file changed since, under the read lock taken above.
        const QString canonico = QFileInfo(percorso_).canonicalFilePath();
        const Impronta adesso = improntaDi(percorso_);
        if (verificati().value(canonico) != adesso || adesso.dimensione < 0) {
            ++controlliCompleti;
            if (valore("PRAGMA integrity_check(1)").toString() != QLatin1String("ok"))
                throw EngineError(EngineError::DatabaseDanneggiato, percorso_);
            verificati().insert(canonico, adesso);
        }
        esegui("COMMIT");
        // Sets read rows by key in name order, all over the file: keep a big book in memory.
        // Not for the check, which reads each page once and runs faster in a small cache.
        esegui("PRAGMA cache_size = -65536");
    } catch (const EngineError &e) {
        Close();
        if (e.number() == EngineError::ErroreGenerico)
            throw EngineError(EngineError::NonUnRicettario, percorso_);
        throw;
    }
}

void Database::verificaTabella(const Schema::Tabella &tabella)
{
    const auto rifiuta = [this] { throw EngineError(EngineError::NonUnRicettario, percorso_); };
    // A key is a counter only as the rowid itself (INTEGER PRIMARY KEY in a rowid table);
    // any other key is backed by an index of its own, and AddNew would store it empty.
    if (valore("SELECT count(*) FROM pragma_index_list(?) WHERE origin = 'pk'", {tabella.nome})
            .toLongLong() > 0)
        rifiuta();
    Statement s(db_, "SELECT name, pk FROM pragma_table_info(?)", percorso_);
    s.bind(1, tabella.nome);
    int i = 0;
    while (s.step()) {
        if (i >= tabella.colonne.size() ||
            s.column(0).toString().compare(tabella.colonne.at(i).nome, Qt::CaseInsensitive) != 0 ||
            s.column(1).toInt() != (i == 0 ? 1 : 0))
            rifiuta();
        ++i;
    }
    if (i != tabella.colonne.size())
        rifiuta();
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
    Statement s(handle(), sql, percorso_);
    s.bindAll(valori);
    const sqlite3_int64 prima = sqlite3_total_changes64(db_);
    while (s.step()) {
    }
    if (sqlite3_total_changes64(db_) != prima) {
        ++*versione_;
        scritto_ = true;
    }
    // Our own committed write keeps a checked book checked.
    if (scritto_ && sqlite3_get_autocommit(db_)) {
        scritto_ = false;
        ++registro_->scritture;
        const QString canonico = QFileInfo(percorso_).canonicalFilePath();
        if (verificati().contains(canonico))
            verificati().insert(canonico, improntaDi(percorso_));
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

namespace {

// The cause of a failed file operation, as the system named it right after it failed.
[[noreturn]] void fallito(const QFileDevice &file, const QString &nome, bool destinazione)
{
    int causa = errno;
    if (causa == 0 && file.error() == QFileDevice::ResourceError)
        causa = ENOSPC;
    // A copy is made beside its destination: a missing file there is a missing folder.
    if (destinazione && causa == ENOENT)
        throw EngineError(EngineError::CartellaNonTrovata, nome);
    throw EngineError::daFile(causa, nome);
}

void copiaFile(const QString &da, const QString &a)
{
    QFile sorgente(da);
    QSaveFile destinazione(a);
    errno = 0;
    if (!sorgente.open(QIODevice::ReadOnly))
        fallito(sorgente, da, false);
    errno = 0;
    if (!destinazione.open(QIODevice::WriteOnly))
        fallito(destinazione, a, true);
    while (!sorgente.atEnd()) {
        errno = 0;
        const QByteArray blocco = sorgente.read(1 << 20);
        if (blocco.isEmpty())
            fallito(sorgente, da, false);
        errno = 0;
        if (destinazione.write(blocco) != blocco.size())
            fallito(destinazione, a, true);
    }
    errno = 0;
    if (!destinazione.commit())
        fallito(destinazione, a, true);
}

} // namespace

void Database::copiaDiSicurezza(const QString &libro, const QString &copia)
{
    const std::shared_ptr<Database> d = apri(libro);
    // A shared lock: no other program writes while the bytes are read.
    d->esegui("BEGIN");
    d->valore("SELECT count(*) FROM sqlite_master");
    try {
        copiaFile(libro, copia);
    } catch (...) {
        sqlite3_exec(d->db_, "ROLLBACK", nullptr, nullptr, nullptr);
        throw;
    }
    d->esegui("COMMIT");
}

void Database::ripristina(const QString &copia, const QString &libro)
{
    if (!QFileInfo(copia).isFile())
        throw EngineError(EngineError::FileNonTrovato, copia);
    const QString canonico = QFileInfo(libro).canonicalFilePath();
    for (const auto &[chiave, aperto] : aperti().asKeyValueRange())
        if (chiave.first == canonico)
            if (const std::shared_ptr<Database> d = aperto.lock())
                d->Close();
    for (const char *resto : {"-journal", "-wal", "-shm"})
        QFile::remove(libro + QLatin1String(resto));
    copiaFile(copia, libro);
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
        ++*db_.versione_;
    }
}

void Database::Transazione::commit()
{
    db_.esegui("COMMIT");
    chiusa_ = true;
}
