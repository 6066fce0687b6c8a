// The write versions, a cache of what the rows read from a book may still be: for each file, a
// count for every table and one for each, grown as SQLite names each row written through any
// Database of the program on the file (the update hook: whatever the statement, rows that went
// with a deleted one included), and for every table at each commit of another program that a
// connection saw (PRAGMA data_version) and at each rollback of ours. A row read at an older
// version than its table's is read again. Counts only grow; a file's are dropped when the last
// connection on it closes. They are shared by the connections apri() hands out, all on the
// windows' thread; a connection opened apart has counts of its own.
#include "storage/database.h"

#include "storage/libri.h"
#include "storage/statement.h"

#include <QFileInfo>
#include <map>

// A table's version is the count for every table plus its own.
struct Versioni
{
    quint64 tutte = 1;                     // rows not yet read carry 0
    std::map<QString, quint64> perTabella; // by the table's name in lower case; addresses stay
};

std::shared_ptr<Versioni> Database::versioniDi(const QString &percorso)
{
    if (percorso.isEmpty())
        return std::make_shared<Versioni>();
    return Libri::registro().con(QFileInfo(percorso).canonicalFilePath(), [](Libro &l) {
        std::shared_ptr<Versioni> v = l.versioni.lock();
        if (!v)
            l.versioni = v = std::make_shared<Versioni>();
        return v;
    });
}

quint64 Database::versione(const QString &tabella) const
{
    const auto it = versioni_->perTabella.find(tabella.toLower());
    return versioni_->tutte + (it == versioni_->perTabella.end() ? 0 : it->second);
}

// Called for each row, so the count of the table last written is kept at hand.
void Database::contaRiga(const char *tabella)
{
    scritto_ = true;
    if (!righeUltimaTabella_ || ultimaTabella_ != tabella) {
        ultimaTabella_ = tabella;
        righeUltimaTabella_ = &versioni_->perTabella[QString::fromUtf8(tabella).toLower()];
    }
    ++*righeUltimaTabella_;
}

void Database::dopoIlRollback()
{
    scritto_ = false;
    // Rows read inside the transaction may hold what was rolled back: read them again.
    ++versioni_->tutte;
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
