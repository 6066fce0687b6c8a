#include "storage/engineerror.h"

#include <QHash>
#include <cerrno>
#include <sqlite3.h>

// The tables below are made once, at the first call from any thread, and only read after: the
// check ahead and the search throw from their own threads, joined before the statics go.
namespace {

const QHash<int, QString> &testi()
{
    static const QHash<int, QString> t = {
        {EngineError::ErroreGenerico,
         "Errore imprevisto del motore di database (codice %1): l'operazione non è stata "
         "eseguita."},
        {EngineError::SenzaAddNewOEdit, "Aggiornamento senza AddNew o Edit."},
        {EngineError::NessunRecordCorrente, "Nessun record corrente."},
        {EngineError::ValoreDuplicato,
         "Impossibile eseguire le modifiche richieste: si creerebbero valori duplicati nella "
         "chiave o in un indice del ricettario."},
        {EngineError::FileNonTrovato, "Impossibile trovare il file '%1'."},
        {EngineError::DiscoPieno,
         "Impossibile scrivere il file '%1': lo spazio sul disco è esaurito."},
        {EngineError::SolaLettura, "Impossibile aggiornare: il file '%1' è di sola lettura."},
        {EngineError::SenzaAutorizzazioni,
         "Impossibile usare il file '%1': non si dispone delle autorizzazioni necessarie."},
        {EngineError::MemoriaInsufficiente, "Memoria insufficiente per completare l'operazione."},
        {EngineError::ErroreDisco,
         "Impossibile leggere o scrivere il file '%1': errore del disco o della rete."},
        {EngineError::CartellaNonTrovata, "Impossibile trovare la cartella del file '%1'."},
        {EngineError::DatabaseDanneggiato,
         "Impossibile aprire il ricettario '%1': il file è danneggiato o incompleto."},
        {EngineError::FileInUso,
         "Impossibile aprire il file '%1': è in uso da un altro programma."},
        {EngineError::CampoSconosciuto, "Il campo '%1' non esiste in questo insieme di record."},
        {EngineError::EspressioneErrata, "Errore di sintassi nell'espressione '%1'."},
        {EngineError::OrigineSconosciuta, "Impossibile trovare la tabella o la query '%1'."},
        {EngineError::RecordEliminato, "Il record è stato eliminato."},
        {EngineError::NonUnRicettario, "Il file '%1' non è un ricettario di Pentolone valido."},
        {EngineError::RecordCorrelato,
         "Impossibile eseguire le modifiche richieste: il record rimanda a un record che non "
         "esiste più."},
        {EngineError::CampoObbligatorio,
         "Impossibile eseguire le modifiche richieste: un campo obbligatorio è vuoto."},
        {EngineError::RegolaViolata,
         "Impossibile eseguire le modifiche richieste: i dati violano una regola del "
         "ricettario."},
        {EngineError::RicettarioChiuso, "Il ricettario è stato chiuso."},
        {EngineError::ConversioneTipo, "Errore di conversione del tipo di dati: '%1'."},
        {EngineError::FileTroppoGrande,
         "Impossibile scrivere il file '%1': supera la dimensione massima consentita."},
        {EngineError::TroppiDati, "Il testo è troppo lungo per essere memorizzato."},
        {EngineError::CampoNonAggiornabile, "Il campo '%1' non può essere aggiornato."},
        {EngineError::InsiemeNonAggiornabile, "Questo insieme di record non è aggiornabile."},
        {EngineError::RicettaEliminata,
         "La ricetta \"%1\" non è più nel ricettario: è stata eliminata da un altro programma."},
    };
    return t;
}

// The causes the system names. Those not listed are a fault of the disk or the network.
const QHash<int, int> &codiciErrno()
{
    static const QHash<int, int> t = {
        {ENOSPC, EngineError::DiscoPieno},
        {EDQUOT, EngineError::DiscoPieno},
        {EFBIG, EngineError::FileTroppoGrande},
        {EROFS, EngineError::SolaLettura},
        {EACCES, EngineError::SenzaAutorizzazioni},
        {EPERM, EngineError::SenzaAutorizzazioni},
        {ENOENT, EngineError::FileNonTrovato},
        {ENOTDIR, EngineError::CartellaNonTrovata},
        {EBUSY, EngineError::FileInUso},
        {ETXTBSY, EngineError::FileInUso},
        {EAGAIN, EngineError::FileInUso},
        {ENOMEM, EngineError::MemoriaInsufficiente},
    };
    return t;
}

// SQLite's codes: an extended code first, then its primary code.
const QHash<int, int> &codiciSqlite()
{
    static const QHash<int, int> t = {
        {SQLITE_NOTADB, EngineError::NonUnRicettario},
        {SQLITE_CORRUPT, EngineError::DatabaseDanneggiato},
        {SQLITE_READONLY, EngineError::SolaLettura},
        {SQLITE_BUSY, EngineError::FileInUso},
        {SQLITE_LOCKED, EngineError::FileInUso},
        {SQLITE_PERM, EngineError::SenzaAutorizzazioni},
        {SQLITE_AUTH, EngineError::SenzaAutorizzazioni},
        {SQLITE_FULL, EngineError::DiscoPieno},
        {SQLITE_IOERR, EngineError::ErroreDisco},
        {SQLITE_CANTOPEN, EngineError::ErroreDisco},
        {SQLITE_IOERR_NOMEM, EngineError::MemoriaInsufficiente},
        {SQLITE_NOMEM, EngineError::MemoriaInsufficiente},
        {SQLITE_TOOBIG, EngineError::TroppiDati},
        {SQLITE_CONSTRAINT, EngineError::RegolaViolata},
        {SQLITE_CONSTRAINT_UNIQUE, EngineError::ValoreDuplicato},
        {SQLITE_CONSTRAINT_PRIMARYKEY, EngineError::ValoreDuplicato},
        {SQLITE_CONSTRAINT_ROWID, EngineError::ValoreDuplicato},
        {SQLITE_CONSTRAINT_FOREIGNKEY, EngineError::RecordCorrelato},
        {SQLITE_CONSTRAINT_NOTNULL, EngineError::CampoObbligatorio},
    };
    return t;
}

} // namespace

QString EngineError::descrizione(int numero, const QString &argomento)
{
    QString testo = testi().value(numero, testi().value(ErroreGenerico));
    return testo.contains("%1") ? testo.arg(argomento) : testo;
}

EngineError::EngineError(int numero, const QString &argomento)
    : std::runtime_error(descrizione(numero, argomento).toStdString()), numero_(numero),
      descrizione_(descrizione(numero, argomento))
{
}

EngineError EngineError::daFile(int errnoDiSistema, const QString &file)
{
    return EngineError(codiciErrno().value(errnoDiSistema, ErroreDisco), file);
}

QString EngineError::causaDiScrittura(int errnoDiSistema, const QString &file)
{
    if (errnoDiSistema == EROFS)
        return QStringLiteral("Impossibile scrivere il file '%1': il disco che lo deve contenere "
                              "è di sola lettura.")
            .arg(file);
    if (errnoDiSistema == ENOENT)
        return descrizione(CartellaNonTrovata, file);
    return daFile(errnoDiSistema ? errnoDiSistema : EIO, file).description();
}

EngineError EngineError::daSqlite(int codice, int errnoDiSistema, const QString &file)
{
    const int primario = codice & 0xff;
    // Opening and the disk fail for a reason the system knows better than SQLite's code.
    if (errnoDiSistema != 0 && (primario == SQLITE_CANTOPEN || primario == SQLITE_IOERR))
        return daFile(errnoDiSistema, file);
    const int numero = codiciSqlite().value(codice, codiciSqlite().value(primario, ErroreGenerico));
    return EngineError(numero, numero == ErroreGenerico ? QString::number(codice) : file);
}
