// The write versions, a cache of what the rows read from a book may still be: for each file, a
// count of the program's writes to every table and to each one, grown by every write of ours and
// by every commit of another program that a connection saw (PRAGMA data_version). A row read at an
// older version than its table's is read again. Counts only grow; a file's are dropped when the
// last connection on it closes. And the shared sort: the keys of a record source as sorted at a
// version, dropped when the version moves or when more than eight sources are kept.
#include "storage/database.h"

#include "storage/schema.h"
#include "storage/statement.h"

#include <QFileInfo>
#include <QMutex>

// The counts of one file, shared by its connections: a table's version is the count of writes to
// every table plus the count of those to it alone.
struct Database::Versioni
{
    quint64 tutte = 1;                  // rows not yet read carry 0
    QHash<QString, quint64> perTabella; // by the table's name in lower case
};

std::shared_ptr<Database::Versioni> Database::versioniDi(const QString &percorso)
{
    // Connections are opened on the check's thread too; never destroyed, as a check may still
    // run while the program ends.
    static auto *guardia = new QMutex;
    static auto *tutte = new QHash<QString, std::weak_ptr<Database::Versioni>>;
    const QMutexLocker bloccato(guardia);
    const QString chiave = QFileInfo(percorso).canonicalFilePath();
    std::shared_ptr<Database::Versioni> v = tutte->value(chiave).lock();
    if (!v) {
        v = std::make_shared<Database::Versioni>();
        tutte->insert(chiave, v);
    }
    return v;
}

quint64 Database::versione(const QString &tabella) const
{
    return versioni_->tutte + versioni_->perTabella.value(tabella.toLower());
}

void Database::contaScrittura(const QString &tabella, const QString &sql)
{
    if (tabella.isEmpty()) {
        ++versioni_->tutte;
        return;
    }
    ++versioni_->perTabella[tabella.toLower()];
    // A deletion takes the rows that reference it with it.
    if (sql.startsWith(QLatin1String("DELETE"), Qt::CaseInsensitive))
        for (const Schema::Tabella &t : Schema::tabelle())
            for (const Schema::Colonna &c : t.colonne)
                if (c.tipo.contains(quotaNome(tabella), Qt::CaseInsensitive))
                    ++versioni_->perTabella[t.nome.toLower()];
}

void Database::guardaAltrui()
{
    if (!versioneDati_)
        versioneDati_ = std::make_unique<Statement>(handle(), "PRAGMA data_version", percorso_);
    versioneDati_->reset();
    const qint64 v = versioneDati_->step() ? versioneDati_->column(0).toLongLong() : -1;
    versioneDati_->reset();
    if (versioneDatiVista_ >= 0 && v != versioneDatiVista_) {
        ++versioni_->tutte;
        ++cambiDaAltri_;
    }
    versioneDatiVista_ = v;
}

std::shared_ptr<const Database::Ordine> Database::ordine(const QString &sql,
                                                         const QString &tabella) const
{
    const std::shared_ptr<const Ordine> o = ordini_.value(sql);
    return o && o->versione == versione(tabella) && o->altrui == cambiDaAltri_ ? o : nullptr;
}

void Database::ricordaOrdine(const QString &sql, std::shared_ptr<const Ordine> ordine)
{
    if (ordini_.size() >= 8)
        ordini_.clear();
    ordini_.insert(sql, std::move(ordine));
}
