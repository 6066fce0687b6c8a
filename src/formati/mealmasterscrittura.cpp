// Writing MealMaster files: each recipe as the format lays it out, the file whole or not at all.
#include "formati/mealmaster.h"
#include "formati/mealmastercolonne.h"

#include "formati/quantita.h"
#include "storage/engineerror.h"

#include <QFileInfo>
#include <QSaveFile>
#include <QStringEncoder>
#include <cerrno>

namespace MealMaster {

namespace {

// Pieces of at most larghezza characters, broken at blanks where there are some.
QStringList avvolgi(const QString &testo, qsizetype larghezza)
{
    QStringList pezzi;
    QString resto = testo.simplified();
    while (resto.size() > larghezza) {
        qsizetype taglio = resto.lastIndexOf(u' ', larghezza);
        if (taglio <= 0)
            taglio = larghezza;
        pezzi << resto.left(taglio);
        resto = resto.mid(taglio).trimmed();
    }
    if (!resto.isEmpty() || pezzi.isEmpty())
        pezzi << resto;
    return pezzi;
}

// The quantity in the format's own notation, and a unit word at the start of the comment as the
// unit code, wherever the comment goes on after it, when reading the file gives the same words
// back; the rest of the comment follows the name after "; ".
void riga(QStringList &righe, const RigaEstera &l)
{
    QString quantita = Quantita::esatta(l.quantita);
    QString commento = l.commento;
    if (quantita.size() > ColonnaQuantita ||
        (!quantita.isEmpty() && Quantita::daTesto(quantita).isEmpty())) {
        // A quantity the columns cannot hold stays in the text.
        commento = commento.isEmpty() ? l.quantita : l.quantita + u' ' + commento;
        quantita.clear();
    }
    qsizetype fine = 0;
    while (fine < commento.size() && commento.at(fine) != u' ' && commento.at(fine) != u',')
        ++fine;
    const QString resto = commento.mid(fine);
    QString codice = codiceUnita(commento.left(fine), plurale(l.quantita));
    if (!codice.isEmpty() && (resto.isEmpty() || resto.startsWith(QLatin1String(", ")) ||
                              resto.startsWith(QLatin1String(" ("))))
        commento = resto.startsWith(u',') ? resto.mid(2) : resto.trimmed();
    else
        codice.clear();
    const QStringList pezzi = avvolgi(
        commento.isEmpty() ? l.ingrediente : l.ingrediente + QStringLiteral("; ") + commento,
        LarghezzaTesto - 1);
    righe << quantita.rightJustified(ColonnaQuantita) + u' ' + codice.leftJustified(2) + u' ' +
                 pezzi.first();
    for (qsizetype i = 1; i < pezzi.size(); ++i)
        righe << QString(ColonnaTesto, u' ') + u'-' + pezzi.at(i);
}

void ricetta(QStringList &righe, const RicettaEstera &r)
{
    QStringList categorie;
    if (!r.categoria.isEmpty())
        categorie << r.categoria;
    for (const QString &c : r.tipoPasto.split(u',', Qt::SkipEmptyParts))
        if (!categorie.contains(c.trimmed(), Qt::CaseInsensitive))
            categorie << c.trimmed();
    // What other programs know a vegetarian recipe by.
    if (r.vegetariana)
        categorie << QStringLiteral("Vegetariana");
    righe << QStringLiteral("MMMMM----- Recipe via Meal-Master (tm) v8.05") << QString()
          << QStringLiteral("      Title: ") + r.nome
          << QStringLiteral(" Categories: ") + categorie.join(QStringLiteral(", "))
          << QStringLiteral("      Yield: %1 servings").arg(r.porzioni) << QString();
    for (const RigaEstera &l : r.righe)
        riga(righe, l);
    // A blank line between the lines of the instructions: reading joins each wrapped one again.
    const QStringList istruzioni = QString(r.istruzioni).replace(u'\r', QString()).split(u'\n');
    for (const QString &paragrafo : istruzioni) {
        righe << QString();
        if (!paragrafo.trimmed().isEmpty())
            for (const QString &pezzo : avvolgi(paragrafo, Larghezza - 2))
                righe << QStringLiteral("  ") + pezzo;
    }
    righe << QString() << QStringLiteral("MMMMM") << QString();
}

} // namespace

QByteArray testo(const QList<RicettaEstera> &ricette)
{
    QStringList righe;
    for (const RicettaEstera &r : ricette)
        ricetta(righe, r);
    const QString t = righe.join(QStringLiteral("\r\n"));
    QStringEncoder latino(QStringEncoder::Latin1);
    QByteArray b = latino.encode(t);
    return latino.hasError() ? t.toUtf8() : b;
}

QString scrivi(const QString &percorso, const QList<RicettaEstera> &ricette)
{
    if (QFileInfo(percorso).isDir())
        return QStringLiteral("\"%1\" è una cartella, non un file: scegliete il nome di un file.")
            .arg(percorso);
    const QByteArray contenuto = testo(ricette);
    QSaveFile f(percorso);
    if (!f.open(QIODevice::WriteOnly) || f.write(contenuto) != contenuto.size() || !f.commit()) {
        const int perche = errno;
        f.cancelWriting();
        return EngineError::causaDiScrittura(perche, percorso);
    }
    return {};
}

} // namespace MealMaster
