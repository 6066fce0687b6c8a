#include "storage/filelaterale.h"

#include "storage/statement.h"

FileLaterale::FileLaterale(const QString &percorso)
    : connessione_(percorso, Connessione::Modo::Creazione), percorso_(percorso)
{
    connessione_.proteggi();
    esegui(QStringLiteral("PRAGMA journal_mode = DELETE"));
    esegui(QStringLiteral("PRAGMA synchronous = FULL"));
}

void FileLaterale::esegui(const QString &sql, const QVariantList &valori)
{
    Statement s(connessione_, sql, percorso_);
    s.bindAll(valori);
    while (s.step()) {
    }
}

QVariant FileLaterale::valore(const QString &sql, const QVariantList &valori)
{
    Statement s(connessione_, sql, percorso_);
    s.bindAll(valori);
    return s.step() ? s.column(0) : QVariant();
}

QList<QVariantList> FileLaterale::righe(const QString &sql, const QVariantList &valori)
{
    Statement s(connessione_, sql, percorso_);
    s.bindAll(valori);
    QList<QVariantList> r;
    while (s.step()) {
        QVariantList riga;
        for (int i = 0; i < s.columnCount(); ++i)
            riga.append(s.column(i));
        r.append(riga);
    }
    return r;
}
