// The program's side of the web reader: a page recognised by its first bytes goes to the helper
// on its standard input, the recipes come back as JSON on its standard output, within limits of
// time and size.
#include "formati/paginaweb.h"

#include "formati/rifiuto.h"
#include "storage/engineerror.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

namespace PaginaWeb {

using Rifiuto::rifiuta;
using Rifiuto::secondi;

namespace {

constexpr int LimiteTempo = 20000;

// The columns, by the names the JSON carries between helper and program.
const char *const Testi[] = {"nome",       "descrizione", "preparataDa",  "tipoPasto",
                             "categoria",  "tempo",       "informazioni", "ingredientiTesto",
                             "istruzioni", "note",        "utensili"};

QString *campo(RicettaEstera &r, int i)
{
    QString *campi[] = {&r.nome,       &r.descrizione, &r.preparataDa,  &r.tipoPasto,
                        &r.categoria,  &r.tempo,       &r.informazioni, &r.ingredientiTesto,
                        &r.istruzioni, &r.note,        &r.utensili};
    return campi[i];
}

} // namespace

bool riconosci(const QByteArray &inizio)
{
    // A page saved by hand may start with blanks, a stray character or a comment.
    static const QRegularExpression pagina(
        QStringLiteral("<(!doctype\\s+html|html|head|body|meta|title)[\\s>]"),
        QRegularExpression::CaseInsensitiveOption);
    qsizetype da = inizio.startsWith("\xEF\xBB\xBF") ? 3 : 0;
    while (da < inizio.size() && QChar::isSpace(uchar(inizio.at(da))))
        ++da;
    return pagina.match(QString::fromUtf8(inizio.mid(da, 1024))).hasMatch();
}

bool riconosciFile(const QString &percorso)
{
    QFile f(percorso);
    if (!f.open(QIODevice::ReadOnly))
        return false;
    QByteArray inizio;
    // Blanks before the markup are passed over, however many.
    while (!f.atEnd() && inizio.trimmed().size() < 1024 && inizio.size() < MassimoByte)
        inizio += f.read(65536);
    return riconosci(inizio);
}

QByteArray inJson(const QList<RicettaEstera> &ricette, const QString &problema)
{
    QJsonArray a;
    for (RicettaEstera r : ricette) {
        QJsonObject o;
        for (int i = 0; i < int(std::size(Testi)); ++i)
            o.insert(QLatin1String(Testi[i]), *campo(r, i));
        o.insert(QLatin1String("vegetariana"), r.vegetariana);
        o.insert(QLatin1String("porzioni"), r.porzioni);
        o.insert(QLatin1String("calorie"), r.calorie);
        QJsonArray righe;
        for (const RigaEstera &l : r.righe)
            righe.append(QJsonArray{l.quantita, l.ingrediente, l.commento});
        o.insert(QLatin1String("righe"), righe);
        a.append(o);
    }
    return QJsonDocument(
               QJsonObject{{QLatin1String("ricette"), a}, {QLatin1String("problema"), problema}})
        .toJson(QJsonDocument::Compact);
}

QList<RicettaEstera> daJson(const QByteArray &json, QString *problema)
{
    QList<RicettaEstera> ricette;
    const QJsonObject tutto = QJsonDocument::fromJson(json).object();
    if (problema)
        *problema = tutto.value(QLatin1String("problema")).toString();
    for (const QJsonValue &v : tutto.value(QLatin1String("ricette")).toArray()) {
        const QJsonObject o = v.toObject();
        RicettaEstera r;
        for (int i = 0; i < int(std::size(Testi)); ++i)
            *campo(r, i) = o.value(QLatin1String(Testi[i])).toString();
        r.vegetariana = o.value(QLatin1String("vegetariana")).toBool();
        r.porzioni = o.value(QLatin1String("porzioni")).toInt(4);
        r.calorie = o.value(QLatin1String("calorie")).toInt();
        for (const QJsonValue &l : o.value(QLatin1String("righe")).toArray()) {
            const QJsonArray c = l.toArray();
            r.righe << RigaEstera{c.at(0).toString(), c.at(1).toString(), c.at(2).toString()};
        }
        ricette << r;
    }
    return ricette;
}

QList<RicettaEstera> leggi(const QByteArray &pagina, const QString &indirizzo,
                           const std::function<bool()> &continua, const Aiutante::Opzioni &opzioni)
{
    if (pagina.size() > MassimoByte)
        rifiuta(QStringLiteral("La pagina %1 è più grande di 10 MB: non è una pagina di ricette.")
                    .arg(indirizzo));
    Aiutante figlio(QStringLiteral("pentolone-web"), opzioni, LimiteTempo);
    switch (figlio.esegui({indirizzo}, pagina, continua)) {
    case Aiutante::Mancante:
        rifiuta(QStringLiteral("Manca il programma che legge le pagine web (%1): Pentolone va "
                               "installato di nuovo.")
                    .arg(figlio.nome()));
    case Aiutante::Annullato:
        throw EngineError(EngineError::ConversioneAnnullata, indirizzo);
    case Aiutante::Scaduto:
        rifiuta(QStringLiteral("La lettura della pagina %1 non è finita in %2: la pagina "
                               "è forse danneggiata.")
                    .arg(indirizzo, secondi(figlio.limiteTempo())));
    case Aiutante::Fallito:
    case Aiutante::InCorso:
        rifiuta(QStringLiteral("La pagina %1 non si può leggere: è danneggiata o troppo "
                               "complicata.")
                    .arg(indirizzo));
    case Aiutante::Riuscito:
        break;
    }
    QString problema;
    const QList<RicettaEstera> ricette = daJson(figlio.uscita(), &problema);
    if (ricette.isEmpty() && !problema.isEmpty())
        rifiuta(QStringLiteral("La ricetta della pagina %1 non si può leggere: %2.")
                    .arg(indirizzo, problema));
    if (ricette.isEmpty())
        rifiuta(QStringLiteral("Nella pagina %1 non c'è nessuna ricetta che Pentolone sappia "
                               "leggere: la pagina non ne pubblica i dati.")
                    .arg(indirizzo));
    return ricette;
}

QList<RicettaEstera> leggiFile(const QString &percorso, const std::function<bool()> &continua,
                               const Aiutante::Opzioni &opzioni)
{
    const QString nome = QFileInfo(percorso).fileName();
    QFile f(percorso);
    if (!f.open(QIODevice::ReadOnly))
        rifiuta(QStringLiteral("Il file \"%1\" non si può leggere: %2").arg(nome, f.errorString()));
    if (f.size() > MassimoByte)
        rifiuta(QStringLiteral("Il file \"%1\" è più grande di 10 MB: non è una pagina di "
                               "ricette.")
                    .arg(nome));
    const QByteArray pagina = f.readAll();
    if (!riconosci(pagina))
        rifiuta(QStringLiteral("Il file \"%1\" non è una pagina web.").arg(nome));
    return leggi(pagina, QFileInfo(percorso).absoluteFilePath(), continua, opzioni);
}

} // namespace PaginaWeb
