#pragma once

#include <QString>
#include <stdexcept>

// A failing engine operation: a number the windows test and an Italian description.
class EngineError : public std::runtime_error
{
public:
    enum Numero {
        ErroreGenerico = 3000,
        SenzaAddNewOEdit = 3020,
        NessunRecordCorrente = 3021,
        ValoreDuplicato = 3022,
        FileNonTrovato = 3024,
        DiscoPieno = 3026,
        SolaLettura = 3027,
        SenzaAutorizzazioni = 3033,
        MemoriaInsufficiente = 3035,
        ErroreDisco = 3043,
        CartellaNonTrovata = 3044,
        DatabaseDanneggiato = 3049,
        FileInUso = 3051,
        CampoSconosciuto = 3070,
        EspressioneErrata = 3077,
        OrigineSconosciuta = 3078,
        RecordEliminato = 3167,
        NonUnRicettario = 3343,
        RecordCorrelato = 3201,
        CampoObbligatorio = 3314,
        RegolaViolata = 3317,
        RicettarioChiuso = 3420,
        ConversioneTipo = 3421,
        FileTroppoGrande = 3428,
        TroppiDati = 3163,
        CampoNonAggiornabile = 3164,
        InsiemeNonAggiornabile = 3326,
        // A recipe a window listed, gone from the book since: another program deleted it.
        RicettaEliminata = 3902,
    };

    EngineError(int numero, const QString &argomento = QString());

    int number() const { return numero_; }
    const QString &description() const { return descrizione_; }

    // The description of a number, with %1 filled by the argument.
    static QString descrizione(int numero, const QString &argomento = QString());

    // The error of a failed SQLite call (its extended result code, and the system's errno
    // that SQLite saw, 0 when none) or of a failed file operation (errno) on a file.
    static EngineError daSqlite(int codice, int errnoDiSistema, const QString &file);
    static EngineError daFile(int errnoDiSistema, const QString &file);
    // Why a file made anew (QSaveFile) could not be written, from the errno right after the
    // failure: a missing file there is a missing folder, and a read-only disk no read-only file.
    static QString causaDiScrittura(int errnoDiSistema, const QString &file);

private:
    int numero_;
    QString descrizione_;
};
