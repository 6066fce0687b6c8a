#include "storage/statement.h"

#include "storage/connessione.h"
#include "storage/engineerror.h"

#include <sqlite3.h>

void lanciaErroreSqlite(sqlite3 *db, int rc, const QString &percorso)
{
    throw EngineError::daSqlite(rc, db ? sqlite3_system_errno(db) : 0, percorso);
}

Statement::Statement(sqlite3 *db, const QString &sql, const QString &percorso)
    : db_(db), percorso_(percorso)
{
    const QByteArray testo = sql.toUtf8();
    const int rc = sqlite3_prepare_v2(db_, testo.constData(), int(testo.size()), &stmt_, nullptr);
    if (rc != SQLITE_OK) {
        sqlite3_finalize(stmt_);
        stmt_ = nullptr;
        lanciaErroreSqlite(db_, rc, percorso_);
    }
}

Statement::Statement(const Connessione &connessione, const QString &sql, const QString &percorso)
    : Statement(connessione.get(), sql, percorso)
{
}

Statement::~Statement()
{
    sqlite3_finalize(stmt_);
}

Statement &Statement::bind(int indice, const QVariant &valore)
{
    int rc;
    switch (valore.typeId()) {
    case QMetaType::UnknownType:
        rc = sqlite3_bind_null(stmt_, indice);
        break;
    case QMetaType::Bool:
        rc = sqlite3_bind_int(stmt_, indice, valore.toBool() ? -1 : 0);
        break;
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Long:
    case QMetaType::Short:
        rc = sqlite3_bind_int64(stmt_, indice, valore.toLongLong());
        break;
    case QMetaType::Double:
    case QMetaType::Float:
        rc = sqlite3_bind_double(stmt_, indice, valore.toDouble());
        break;
    case QMetaType::QByteArray: {
        const QByteArray b = valore.toByteArray();
        rc = sqlite3_bind_blob64(stmt_, indice, b.constData(), sqlite3_uint64(b.size()),
                                 SQLITE_TRANSIENT);
        break;
    }
    default: {
        if (valore.isNull()) {
            rc = sqlite3_bind_null(stmt_, indice);
            break;
        }
        const QByteArray t = valore.toString().toUtf8();
        rc = sqlite3_bind_text64(stmt_, indice, t.constData(), sqlite3_uint64(t.size()),
                                 SQLITE_TRANSIENT, SQLITE_UTF8);
    }
    }
    if (rc != SQLITE_OK)
        lanciaErroreSqlite(db_, rc, percorso_);
    return *this;
}

Statement &Statement::bindAll(const QVariantList &valori)
{
    for (int i = 0; i < valori.size(); ++i)
        bind(i + 1, valori.at(i));
    return *this;
}

bool Statement::step()
{
    const int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    sqlite3_reset(stmt_);
    lanciaErroreSqlite(db_, rc, percorso_);
}

void Statement::reset()
{
    sqlite3_reset(stmt_);
    sqlite3_clear_bindings(stmt_);
}

int Statement::columnCount() const
{
    return sqlite3_column_count(stmt_);
}

QVariant Statement::column(int i) const
{
    switch (sqlite3_column_type(stmt_, i)) {
    case SQLITE_INTEGER:
        return QVariant(qlonglong(sqlite3_column_int64(stmt_, i)));
    case SQLITE_FLOAT:
        return QVariant(sqlite3_column_double(stmt_, i));
    case SQLITE_TEXT: {
        const auto *p = reinterpret_cast<const char *>(sqlite3_column_text(stmt_, i));
        return QVariant(QString::fromUtf8(p, sqlite3_column_bytes(stmt_, i)));
    }
    case SQLITE_BLOB: {
        const auto *p = static_cast<const char *>(sqlite3_column_blob(stmt_, i));
        return QVariant(QByteArray(p, sqlite3_column_bytes(stmt_, i)));
    }
    default:
        return QVariant();
    }
}

static QString testoC(const char *p)
{
    return p ? QString::fromUtf8(p) : QString();
}

QString Statement::columnName(int i) const
{
    return testoC(sqlite3_column_name(stmt_, i));
}

QString Statement::columnTable(int i) const
{
    return testoC(sqlite3_column_table_name(stmt_, i));
}

QString Statement::columnOrigin(int i) const
{
    return testoC(sqlite3_column_origin_name(stmt_, i));
}

QString Statement::columnDecltype(int i) const
{
    return testoC(sqlite3_column_decltype(stmt_, i));
}

QString quotaNome(const QString &nome)
{
    return QLatin1Char('"') + QString(nome).replace('"', "\"\"") + QLatin1Char('"');
}
