// A book opened, created and closed, and the statements run on it. Its checks are in
// verifica.cpp, the checks ahead in anticipo.cpp, the caches in versioni.cpp, ordini.cpp and
// verificati.cpp, the watchers in osservatori.cpp, the copies in copia.cpp.
#include "storage/database.h"

#include "storage/collation.h"
#include "storage/engineerror.h"
#include "storage/libri.h"
#include "storage/schema.h"
#include "storage/statement.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <sqlite3.h>

// Statements run again and again (the import's inserts) are prepared once.
struct Database::Istruzioni
{
    static constexpr int Tenute = 32;
    QHash<QString, std::shared_ptr<Statement>> preparate;
};

Database::Database(const QString &percorso, Connessione::Modo modo, bool aParte)
    : connessione_(percorso, modo), percorso_(percorso)
{
    // Once the file is open: a book being made is there from now on.
    const QString canonico = QFileInfo(percorso).canonicalFilePath();
    libro_ = &Libri::registro().con(canonico, [](Libro &l) -> Libro & { return l; });
    versioni_ = versioniDi(aParte ? QString() : percorso);
    istruzioni_ = std::make_unique<Istruzioni>();
    seguiRighe();
}

Database::~Database()
{
    Close();
}

// The windows' thread alone calls it: what it hands out is used there.
std::shared_ptr<Database> Database::apri(const QString &percorso, Modo modo)
{
    const QFileInfo info(percorso);
    if (percorso.isEmpty() || !info.exists())
        throw EngineError(EngineError::FileNonTrovato, percorso);
    if (!info.isFile())
        throw EngineError(EngineError::NonUnRicettario, percorso);
    const QString canonico = info.canonicalFilePath();
    const auto aperto = [&](Libro &l) -> std::weak_ptr<Database> & { return l.aperto[int(modo)]; };
    if (std::shared_ptr<Database> d = Libri::registro().con(canonico, aperto).lock();
        d && d->aperto())
        return d;
    attendiVerifica(canonico);
    const bool scrittura = modo == Modo::LetturaScrittura;
    std::shared_ptr<Database> d(new Database(
        percorso, scrittura ? Connessione::Modo::LetturaScrittura : Connessione::Modo::SolaLettura,
        false));
    d->configura(false);
    d->verificaRicettario();
    d->configura(scrittura);
    Libri::registro().con(canonico, [&](Libro &l) { aperto(l) = d; });
    return d;
}

std::shared_ptr<Database> Database::apriAParte(const QString &percorso, Interruttore *interruttore)
{
    std::shared_ptr<Database> d(new Database(percorso, Connessione::Modo::SolaLettura, true));
    if (interruttore) {
        d->interruttore_ = interruttore;
        interruttore->imposta(d->connessione_.get());
    }
    d->configura(false);
    d->verificaRicettario();
    if (interruttore) {
        interruttore->imposta(nullptr);
        d->interruttore_ = nullptr;
    }
    return d;
}

void Database::Interruttore::imposta(sqlite3 *db)
{
    const QMutexLocker bloccato(&guardiaConnessione_);
    if (db_)
        sqlite3_progress_handler(db_, 0, nullptr, nullptr);
    db_ = db;
    // sqlite3_interrupt() stops only a statement under way: one that starts after it stops at
    // its first step.
    if (db_)
        sqlite3_progress_handler(
            db_, 1, [](void *i) { return static_cast<std::atomic<bool> *>(i)->load() ? 1 : 0; },
            &interrotto_);
}

void Database::Interruttore::interrompi()
{
    const QMutexLocker bloccato(&guardiaConnessione_);
    interrotto_ = true;
    if (db_)
        sqlite3_interrupt(db_);
}

std::shared_ptr<Database> Database::crea(const QString &percorso)
{
    if (QFileInfo::exists(percorso)) {
        // Whoever still holds the old file keeps it; apri() must not hand it out for the new one.
        Libri::registro().con(QFileInfo(percorso).canonicalFilePath(), [](Libro &l) {
            for (std::weak_ptr<Database> &d : l.aperto)
                d.reset();
        });
        QFile::remove(percorso);
    }
    std::shared_ptr<Database> d(new Database(percorso, Connessione::Modo::Creazione, false));
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
        connessione_.proteggi();
        Collazione::registra(connessione_.get());
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
    std::vector<std::shared_ptr<Database>> aperti;
    Libri::registro().con(QFileInfo(libro).canonicalFilePath(), [&](Libro &l) {
        for (const std::weak_ptr<Database> &d : l.aperto)
            if (std::shared_ptr<Database> tenuto = d.lock())
                aperti.push_back(std::move(tenuto));
    });
    for (const std::shared_ptr<Database> &d : aperti)
        d->Close();
}

sqlite3 *Database::handle() const
{
    if (!connessione_)
        throw EngineError(EngineError::RicettarioChiuso);
    return connessione_.get();
}

void Database::Close()
{
    // The statements kept go first: close_v2 would wait for them.
    istruzioni_->preparate.clear();
    versioneDati_.reset();
    // From here no other thread may stop what the connection runs: it is about to go.
    if (interruttore_)
        interruttore_->imposta(nullptr);
    if (connessione_)
        sqlite3_update_hook(connessione_.get(), nullptr, nullptr);
    connessione_.chiudi();
}

void Database::setAttesaMassima(int millisecondi)
{
    sqlite3_busy_timeout(handle(), millisecondi);
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

void Database::esegui(const QString &sql, const QVariantList &valori)
{
    // Kept for the next time, and reset whatever happens.
    const std::shared_ptr<Statement> tenuta = preparato(sql);
    Statement &s = *tenuta;
    try {
        s.bindAll(valori);
        while (s.step()) {
        }
    } catch (...) {
        s.reset();
        dopoLoStatement(false);
        throw;
    }
    s.reset();
    dopoLoStatement(true);
}

qint64 Database::scrivi(const QString &tabella, const QString &sql, const QVariantList &valori)
{
    const quint64 prima = versione(tabella);
    esegui(sql, valori);
    return qint64(versione(tabella) - prima);
}

// A statement ended: outside a transaction, what it wrote is committed when it went well, and
// gone when it failed.
void Database::dopoLoStatement(bool riuscito)
{
    if (!connessione_ || !sqlite3_get_autocommit(connessione_.get()))
        return;
    if (std::exchange(scritto_, false) && riuscito) {
        Libri::registro().con(*libro_, [](Libro &l) { ++l.scritture; });
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

Database::Transazione::Transazione(Database &db)
    : db_(db), transazione_(db.connessione_, db.percorso_)
{
}

Database::Transazione::~Transazione()
{
    if (transazione_.annulla())
        db_.dopoIlRollback();
}

void Database::Transazione::commit()
{
    transazione_.commit();
    db_.dopoLoStatement(true);
}

Database::Lettura::Lettura(Database &db)
    : transazione_(db.connessione_, db.percorso_, ::Transazione::Tipo::Lettura)
{
}
