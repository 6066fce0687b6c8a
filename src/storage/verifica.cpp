// Whether a book is whole and ours: the cheap checks at every opening, the whole-file check once
// per book and again only when another program changed the file since.
#include "storage/database.h"

#include "storage/engineerror.h"
#include "storage/impronta.h"
#include "storage/schema.h"
#include "storage/statement.h"

#include <QFile>
#include <QFileInfo>

std::optional<quint32> Database::commitDelFile(const QString &percorso)
{
    return Impronta::di(percorso).commit();
}

void Database::verificaRicettario()
{
    try {
        // One read transaction: no other program changes the file between the checks.
        const Lettura lettura(*this);
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
        const Impronta adesso = Impronta::di(percorso_);
        if (!giaVerificato(canonico, adesso)) {
            contaControllo();
            if (valore("PRAGMA integrity_check(1)").toString() != QLatin1String("ok")) {
                nonVerificato(canonico);
                throw EngineError(EngineError::DatabaseDanneggiato, percorso_);
            }
            verificatoCosi(canonico, adesso);
        }
        // The engine's own small page cache stays: a big one costs more to fill at the first
        // sort of the recipes than it saves on moves, whose pages the system keeps anyway.
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
    Statement s(handle(), "SELECT name, pk FROM pragma_table_info(?)", percorso_);
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
