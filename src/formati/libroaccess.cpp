// Books in the older format: recognised by their header, converted by the helper program.
#include "formati/libroaccess.h"

#include "formati/rifiuto.h"
#include "storage/engineerror.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cstdio>

namespace LibroAccess {

using Rifiuto::rifiuta;

namespace {

// The helper reports as it goes; a silence that long is a hang inside libmdb.
constexpr int LimiteTempo = 10000;

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

bool riconosci(const QString &percorso)
{
    QFile f(percorso);
    if (!f.open(QIODevice::ReadOnly))
        return false;
    const QByteArray testa = f.read(19);
    return testa.size() == 19 && testa.mid(4) == "Standard Jet DB";
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

namespace {

// What the helper reported: rows copied of how many, whether it reached its end, and its last
// other line (a refusal).
struct Resoconto
{
    int fatti = 0;
    int totale = 0;
    bool finito = false;
    QString esito;

    void leggi(const QString &riga)
    {
        if (riga.startsWith(QLatin1String("totale ")))
            totale = riga.mid(7).toInt();
        else if (riga.startsWith(QLatin1String("fatti ")))
            fatti = riga.mid(6).toInt();
        else if (riga == QLatin1String("fine"))
            finito = true;
        else if (!riga.isEmpty())
            esito = riga;
    }
};

// A file in the older format that the copy would not replace.
void verificaOrigine(const QString &percorso, const QString &destinazione)
{
    if (!QFileInfo(percorso).isFile())
        throw EngineError(EngineError::FileNonTrovato, percorso);
    if (!riconosci(percorso))
        rifiuta(QStringLiteral("Il file \"%1\" non è un ricettario nel formato più vecchio.")
                    .arg(nome(percorso)));
    if (QFileInfo(destinazione).absoluteFilePath() == QFileInfo(percorso).absoluteFilePath() ||
        QFileInfo(destinazione).canonicalFilePath() == QFileInfo(percorso).canonicalFilePath())
        rifiuta(QStringLiteral("La copia del file \"%1\" non può prenderne il posto.")
                    .arg(nome(percorso)));
}

} // namespace

void converti(const QString &percorso, const QString &destinazione,
              const std::function<bool(int, int)> &avanzamento, const Aiutante::Opzioni &opzioni)
{
    verificaOrigine(percorso, destinazione);
    const QString parziale = destinazione + ".parziale";
    rimuovi(parziale);

    Aiutante figlio(QStringLiteral("pentolone-jet"), opzioni, LimiteTempo);
    Resoconto r;
    QObject::connect(&figlio, &Aiutante::riga, &figlio,
                     [&r](const QByteArray &riga) { r.leggi(QString::fromUtf8(riga).trimmed()); });
    const Aiutante::Esito esito = figlio.esegui({percorso, parziale}, {}, [&] {
        return !avanzamento || avanzamento(r.fatti, qMax(r.fatti, r.totale));
    });
    if (esito == Aiutante::Mancante)
        rifiuta(QStringLiteral("Manca il programma che legge il file \"%1\" (%2): Pentolone va "
                               "installato di nuovo.")
                    .arg(nome(percorso), figlio.nome()));
    if (esito != Aiutante::Riuscito || !r.finito) {
        rimuovi(parziale);
        if (esito == Aiutante::Annullato)
            throw EngineError(EngineError::ConversioneAnnullata, nome(percorso));
        if (esito == Aiutante::Scaduto)
            rifiuta(QStringLiteral("La lettura del file \"%1\" è rimasta ferma per %2: il file è "
                                   "forse danneggiato.")
                        .arg(nome(percorso), Rifiuto::secondi(figlio.limiteTempo())));
        rifiuta(esito == Aiutante::Fallito && figlio.codice() == 2 ? rifiuto(percorso, r.esito)
                                                                   : danneggiato(percorso));
    }
    // Over an older file of that name in one step, so no half-written book is ever seen there.
    if (std::rename(QFile::encodeName(parziale).constData(),
                    QFile::encodeName(destinazione).constData()) != 0) {
        rimuovi(parziale);
        rifiuta(QStringLiteral("Impossibile scrivere la copia \"%1\" del file \"%2\".")
                    .arg(nome(destinazione), nome(percorso)));
    }
}

QString preparaLibro(const QString &percorso,
                     const std::function<bool(const QString &, const QString &)> &chiedi,
                     const std::function<bool(int, int)> &avanzamento,
                     const Aiutante::Opzioni &opzioni)
{
    if (!riconosci(percorso))
        return percorso;
    const QString copia = nomeDellaCopia(percorso);
    const QString testo =
        "Il file \"" + nome(percorso) +
        "\" è un ricettario in un formato più vecchio. Pentolone "
        "ne crea una copia nel suo formato, \"" +
        nome(copia) +
        "\", nella stessa cartella; il file originale resta com'è.\r\nCreare la copia e aprirla?";
    if (!chiedi(testo, QStringLiteral("Ricettario in un formato più vecchio")))
        return QString();
    converti(percorso, copia, avanzamento, opzioni);
    return copia;
}

} // namespace LibroAccess
