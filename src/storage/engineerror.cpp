#include "engineerror.h"

#include <QHash>

namespace {

const QHash<int, QString> &testi()
{
    static const QHash<int, QString> t = {
        {EngineError::ErroreGenerico, "Errore del motore di database: %1"},
        {EngineError::SenzaAddNewOEdit, "Aggiornamento senza AddNew o Edit."},
        {EngineError::NessunRecordCorrente, "Nessun record corrente."},
        {EngineError::ValoreDuplicato,
         "Impossibile eseguire le modifiche richieste: i dati violano un vincolo del "
         "ricettario (%1)."},
        {EngineError::FileNonTrovato, "Impossibile trovare il file '%1'."},
        {EngineError::SolaLettura, "Impossibile aggiornare: il ricettario '%1' è di sola lettura."},
        {EngineError::DatabaseDanneggiato,
         "Impossibile aprire il ricettario '%1': il file è danneggiato o incompleto."},
        {EngineError::FileInaccessibile,
         "Impossibile aprire il file '%1': è in uso o non si dispone delle autorizzazioni "
         "necessarie."},
        {EngineError::CampoSconosciuto, "Il campo '%1' non esiste in questo insieme di record."},
        {EngineError::EspressioneErrata, "Errore di sintassi nell'espressione '%1'."},
        {EngineError::OrigineSconosciuta, "Impossibile trovare la tabella o la query '%1'."},
        {EngineError::RecordEliminato, "Il record è stato eliminato."},
        {EngineError::NonUnRicettario, "Il file '%1' non è un ricettario di Pentolone valido."},
        {EngineError::ConversioneTipo, "Errore di conversione del tipo di dati: '%1'."},
        {EngineError::TroppiDati, "Il testo è troppo lungo per essere memorizzato."},
        {EngineError::CampoNonAggiornabile, "Il campo '%1' non può essere aggiornato."},
        {EngineError::InsiemeNonAggiornabile, "Questo insieme di record non è aggiornabile."},
        {EngineError::ConversioneNonRiuscita, "%1"},
        {EngineError::ConversioneAnnullata, "La copia del file \"%1\" è stata annullata."},
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
