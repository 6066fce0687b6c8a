// Books in the older format: recognised by their header, converted by the helper program.
#include "formati/libroaccess.h"

#include "storage/engineerror.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cstdio>

namespace {

// The helper reports as it goes; a silence that long is a hang inside libmdb.
constexpr int LimiteTempo = 10000;
// pentolone-jet's exit code for a file it refuses, the reason on its last line.
constexpr int Rifiutato = 2;
// A Jet file's header: this text after its first four bytes.
constexpr QByteArrayView FirmaJet = "Standard Jet DB";
constexpr qsizetype InizioFirma = 4;

QString nome(const QString &percorso)
{
    return QFileInfo(percorso).fileName();
}

QString danneggiato(const QString &percorso)
{
    return QStringLiteral("Il file \"%1\" non si può leggere: è danneggiato o incompleto.")
        .arg(nome(percorso));
}

// The helper's refusal, in words.
QString rifiuto(const QString &percorso, const QString &riga)
{
    const QString voce = riga.section(' ', 0, 0);
    const QStringList nomi = riga.section(' ', 1).split('\t');
    if (voce == QLatin1String("manca-tabella"))
        return QStringLiteral("Nel file \"%1\" manca la tabella \"%2\": non è un ricettario.")
            .arg(nome(percorso), nomi.value(0));
    if (voce == QLatin1String("manca-colonna"))
        return QStringLiteral(
                   "Nel file \"%1\" manca la colonna \"%2\" della tabella \"%3\": non è un "
                   "ricettario.")
            .arg(nome(percorso), nomi.value(1), nomi.value(0));
    if (voce == QLatin1String("troppo-lungo"))
        return QStringLiteral("Nel file \"%1\" un testo della colonna \"%2\" della tabella \"%3\" "
                              "è troppo lungo per essere copiato.")
            .arg(nome(percorso), nomi.value(1), nomi.value(0));
    if (voce == QLatin1String("non-scrivibile"))
        return QStringLiteral("Impossibile scrivere la copia del file \"%1\" nella sua cartella.")
            .arg(nome(percorso));
    return danneggiato(percorso);
}

void rimuovi(const QString &file)
{
    // The journal too: a helper killed inside its transaction leaves one.
    for (const char *coda : {"", "-journal", "-wal", "-shm"})
        QFile::remove(file + QLatin1String(coda));
}

} // namespace

namespace LibroAccess {

bool riconosci(const QString &percorso)
{
    QFile f(percorso);
    if (!f.open(QIODevice::ReadOnly))
        return false;
    return f.read(InizioFirma + FirmaJet.size()).mid(InizioFirma) == FirmaJet;
}

QString nomeDellaCopia(const QString &percorso)
{
    const QFileInfo info(percorso);
    const QString base = info.dir().filePath(info.completeBaseName() + ".pentolone");
    QString copia = base + ".mdb";
    for (int n = 2; QFileInfo(copia).exists() || QFileInfo(copia).isSymLink(); ++n)
        copia = base + '-' + QString::number(n) + ".mdb";
    return copia;
}

} // namespace LibroAccess

namespace {

// A file in the older format that the copy would not replace: why not, or nothing.
QString origineNonValida(const QString &percorso, const QString &destinazione)
{
    if (!QFileInfo(percorso).isFile())
        return EngineError(EngineError::FileNonTrovato, percorso).description();
    if (!LibroAccess::riconosci(percorso))
        return QStringLiteral("Il file \"%1\" non è un ricettario nel formato più vecchio.")
            .arg(nome(percorso));
    if (QFileInfo(destinazione).absoluteFilePath() == QFileInfo(percorso).absoluteFilePath() ||
        QFileInfo(destinazione).canonicalFilePath() == QFileInfo(percorso).canonicalFilePath())
        return QStringLiteral("La copia del file \"%1\" non può prenderne il posto.")
            .arg(nome(percorso));
    return {};
}

} // namespace

ConversioneAccess::ConversioneAccess(const Aiutante::Opzioni &opzioni, QObject *genitore)
    : Lettura(QStringLiteral("pentolone-jet"), opzioni, LimiteTempo, genitore)
{
    connect(&figlio_, &Aiutante::riga, this,
            [this](const QByteArray &riga) { letta(QString::fromUtf8(riga).trimmed()); });
    // Connected first: whatever ends it short leaves nothing behind before anyone hears of it.
    connect(this, &Lettura::rifiutata, this, [this] { rimuovi(parziale_); });
}

ConversioneAccess::~ConversioneAccess()
{
    if (inCorso()) {
        figlio_.disconnect(this);
        figlio_.annulla();
        rimuovi(parziale_);
    }
}

bool ConversioneAccess::proponi(const QString &percorso,
                                const std::function<bool(const QString &, const QString &)> &chiedi)
{
    const QString copia = LibroAccess::nomeDellaCopia(percorso);
    const QString testo =
        "Il file \"" + nome(percorso) +
        "\" è un ricettario in un formato più vecchio. Pentolone "
        "ne crea una copia nel suo formato, \"" +
        nome(copia) +
        "\", nella stessa cartella; il file originale resta com'è.\r\nCreare la copia e aprirla?";
    if (!chiedi(testo, LibroAccess::Titolo))
        return false;
    avvia(percorso, copia);
    return true;
}

void ConversioneAccess::avvia(const QString &percorso, const QString &destinazione)
{
    percorso_ = percorso;
    destinazione_ = destinazione;
    parziale_ = destinazione + ".parziale";
    fatti_ = totale_ = 0;
    completa_ = false;
    ultima_.clear();
    if (const QString perche = origineNonValida(percorso, destinazione); !perche.isEmpty())
        return rifiutaDopo(perche);
    rimuovi(parziale_);
    avviaAiutante({percorso, parziale_});
}

void ConversioneAccess::letta(const QString &riga)
{
    if (riga.startsWith(QLatin1String("totale ")))
        totale_ = riga.mid(7).toInt();
    else if (riga.startsWith(QLatin1String("fatti ")))
        fatti_ = riga.mid(6).toInt();
    else if (riga == QLatin1String("fine"))
        completa_ = true;
    else if (!riga.isEmpty())
        ultima_ = riga;
    emit avanzamento(fatti_, qMax(fatti_, totale_));
}

void ConversioneAccess::terminato(Aiutante::Esito esito)
{
    const QString file = nome(percorso_);
    switch (esito) {
    case Aiutante::Mancante:
        return rifiuta({false, QStringLiteral("Manca il programma che legge il file \"%1\" (%2): "
                                              "Pentolone va installato di nuovo.")
                                   .arg(file, figlio_.nome())});
    case Aiutante::Annullato:
        return rifiuta({true, QString()});
    case Aiutante::Scaduto:
        return rifiuta({false, QStringLiteral("La lettura del file \"%1\" è rimasta ferma per %2: "
                                              "il file è forse danneggiato.")
                                   .arg(file, Rifiuto::secondi(figlio_.limiteTempo()))});
    case Aiutante::Fallito:
    case Aiutante::InCorso:
        return rifiuta({false, figlio_.codice() == Rifiutato ? rifiuto(percorso_, ultima_)
                                                             : danneggiato(percorso_)});
    case Aiutante::Riuscito:
        break;
    }
    if (!completa_)
        return rifiuta({false, danneggiato(percorso_)});
    // Over an older file of that name in one step, so no half-written book is ever seen there.
    if (std::rename(QFile::encodeName(parziale_).constData(),
                    QFile::encodeName(destinazione_).constData()) != 0)
        return rifiuta({false, QStringLiteral("Impossibile scrivere la copia \"%1\" del file "
                                              "\"%2\".")
                                   .arg(nome(destinazione_), file)});
    if (finisce())
        emit riuscita(destinazione_);
}
