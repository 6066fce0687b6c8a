// What the cook typed, as the terms of a search: parsed by us, never handed to FTS5 as syntax.
#include "cerca/indice.h"

#include <algorithm>

namespace {

// Spaces and control characters (a NUL, a tab pasted with the text) part words alike.
bool separa(QChar c)
{
    return c.isSpace() || c.category() == QChar::Other_Control || c.isNull();
}

} // namespace

Domanda Domanda::di(const QString &testo)
{
    Domanda d;
    QList<bool> frasiPresenti, frasiAssenti;
    const qsizetype n = testo.size();
    // Every turn moves past at least one character: the walk ends whatever the text.
    for (qsizetype i = 0; i < n;) {
        if (separa(testo.at(i))) {
            ++i;
            continue;
        }
        const bool escluso = testo.at(i) == QLatin1Char('-');
        if (escluso)
            ++i;
        const bool frase = i < n && testo.at(i) == QLatin1Char('"');
        qsizetype fine = i;
        if (frase) {
            fine = testo.indexOf(QLatin1Char('"'), i + 1);
            if (fine < 0) // an unbalanced quote runs to the end
                fine = n;
            ++i;
        } else {
            while (fine < n && !separa(testo.at(fine)) && testo.at(fine) != QLatin1Char('"'))
                ++fine;
        }
        QString termine = testo.mid(i, fine - i);
        i = std::max(i, frase ? fine + 1 : fine);
        // Only letters and digits make words: "*", "(" or a lone "-" is nothing to find.
        if (std::none_of(termine.cbegin(), termine.cend(),
                         [](QChar c) { return c.isLetterOrNumber(); }))
            continue;
        if (termine.size() > MassimoLettere) {
            termine.truncate(MassimoLettere);
            d.ridotta = true;
        }
        for (QChar &c : termine)
            if (separa(c))
                c = QLatin1Char(' ');
        // A word said twice is looked for once: a pasted text repeats its common words.
        QStringList &termini = escluso ? d.assenti : d.presenti;
        if (termini.contains(termine, Qt::CaseInsensitive))
            continue;
        if (d.presenti.size() + d.assenti.size() >= MassimoTermini) {
            d.ridotta = true;
            break;
        }
        termini.append(termine);
        (escluso ? frasiAssenti : frasiPresenti).append(frase);
    }
    d.frasi = frasiPresenti + frasiAssenti;
    return d;
}

QString Domanda::espressione(bool soloPositivi) const
{
    if (presenti.isEmpty())
        return {};
    // Quoted, any text is words to FTS5, never an operator; a word is found by its start.
    const bool intere = presenti.size() + assenti.size() > PerInizio;
    const auto quotato = [this, intere](QString t, int i) {
        const bool perInizio = !frasi.value(i) && (!intere || i == presenti.size() - 1);
        return QLatin1Char('"') + t.replace(QLatin1Char('"'), QLatin1String("\"\"")) +
               QLatin1Char('"') + (perInizio ? QStringLiteral("*") : QString());
    };
    QStringList sì;
    for (int i = 0; i < presenti.size(); ++i)
        sì.append(quotato(presenti.at(i), i));
    if (soloPositivi)
        return sì.join(QLatin1Char(' '));
    QString e = QLatin1Char('(') + sì.join(QLatin1Char(' ')) + QLatin1Char(')');
    for (int i = 0; i < assenti.size(); ++i)
        e += QStringLiteral(" NOT ") + quotato(assenti.at(i), int(presenti.size()) + i);
    return e;
}
