#include "formati/rigaingrediente.h"

#include "formati/parolecucina.h"
#include "formati/quantita.h"
#include "toolkit/maiuscole.h"

#include <QRegularExpression>
#include <QStringList>

namespace RigaIngrediente {

namespace {

using namespace ParoleCucina;

// "As much as needed", in any capitals, as a marker at the start or end of a line.
bool qb(const QString &testo)
{
    static const QRegularExpression r(
        QStringLiteral("^(?:q\\.\\s?b\\.?|qb|quanto basta|a piacere|to taste|as needed|"
                       "as required)$"),
        QRegularExpression::CaseInsensitiveOption);
    return !testo.isEmpty() && QStringLiteral("qQaAtT").contains(testo.front()) &&
           r.match(testo).hasMatch();
}

// The marker at the end of testo: its length in words (0 when none).
int qbFinale(const QStringList &parole)
{
    for (int n = 2; n >= 1; --n)
        if (parole.size() > n && qb(parole.mid(parole.size() - n).join(u' ')))
            return n;
    return 0;
}

// Takes the bracketed remarks out of testo, in their order, brackets inside brackets whole.
QStringList togliParentesi(QString &testo)
{
    QStringList tolte;
    if (!testo.contains(u'(') && !testo.contains(u'['))
        return tolte;
    QString resto;
    int livello = 0;
    QString remark;
    for (const QChar c : testo) {
        if (c == u'(' || c == u'[') {
            ++livello;
        }
        if (livello > 0)
            remark += c;
        else
            resto += c;
        if ((c == u')' || c == u']') && livello > 0 && --livello == 0) {
            tolte << remark;
            remark.clear();
        }
    }
    if (!remark.isEmpty()) // a bracket left open: closed at the end of the line
        tolte << remark + u')';
    testo = resto.replace(u')', u' ').simplified();
    return tolte;
}

// The name after "di", "d'" or "of" that joins it to a quantity.
QString senzaDi(const QString &resto)
{
    for (const char *di : {"di ", "d'", "of "}) {
        const QString p = QString::fromUtf8(di);
        if (resto.startsWith(p, Qt::CaseInsensitive))
            return resto.mid(p.size()).trimmed();
    }
    return resto;
}

// A line being taken apart: what is read goes from resto into its parts.
struct Parti
{
    QString quantita, scritta; // the quantity as stored and as written
    QStringList unita;         // the measure and what goes with it
    QStringList quante;        // how many, in words ("qualche")
    QStringList prima;         // remarks met before the name ("circa", "q.b.")
    QString nome;
    QStringList dopo; // remarks after the name
};

// The line's words are one blank apart (it was simplified).
QString primaParola(const QString &t)
{
    const qsizetype spazio = t.indexOf(u' ');
    return spazio < 0 ? t : t.left(spazio);
}

QString togliParola(const QString &t)
{
    const qsizetype spazio = t.indexOf(u' ');
    return spazio < 0 ? QString() : t.mid(spazio + 1).trimmed();
}

// A quantity at the start of t (digits or words); false when none.
bool quantita(QString &t, Parti &p)
{
    if (const qsizetype n = Quantita::iniziale(t, &p.quantita)) {
        p.scritta = t.left(n);
        if (p.quantita.isEmpty()) // "1/0": kept, as written, in the comment
            p.prima << p.scritta;
        t = t.mid(n).trimmed();
        if (primaParola(t).compare(u"dozen", Qt::CaseInsensitive) == 0 && !p.quantita.isEmpty()) {
            p.quantita = QString::number(p.quantita.toDouble() * 12);
            t = togliParola(t);
        }
        return true;
    }
    QString parola = primaParola(t);
    QString dopo = togliParola(t);
    if (parola.startsWith(QLatin1String("un'"), Qt::CaseInsensitive) && parola.size() > 3) {
        dopo = parola.mid(3) + (dopo.isEmpty() ? QString() : u' ' + dopo);
        parola = parola.left(3);
    }
    double x = numero(parola);
    if (x == 0)
        return false;
    // "a pinch", "an onion", but not "a few".
    static const QStringList pochi{"few", "little", "bit", "piacere", "couple"};
    if ((parola.compare(u"a", Qt::CaseInsensitive) == 0 ||
         parola.compare(u"an", Qt::CaseInsensitive) == 0) &&
        pochi.contains(primaParola(dopo).toLower()))
        return false;
    // "half a lemon"
    if (x == 0.5 && QStringList{"a", "an"}.contains(primaParola(dopo).toLower()))
        dopo = togliParola(dopo);
    // "un paio di uova", "a dozen eggs", "mezzo bicchiere".
    if (primaParola(dopo).compare(u"paio", Qt::CaseInsensitive) == 0) {
        x = 2;
        dopo = senzaDi(togliParola(dopo));
    } else if (numero(primaParola(dopo)) > 1) {
        x *= numero(primaParola(dopo));
        dopo = togliParola(dopo);
    }
    p.scritta = parola;
    p.quantita = QString::number(x);
    t = dopo;
    return true;
}

// A measure and what goes with it: "cucchiaino raso", "14 oz can", "g + q.b.".
void misura(QString &t, Parti &p)
{
    // "1/4 di cucchiaino"
    if (primaParola(t).compare(u"di", Qt::CaseInsensitive) == 0 &&
        unita(primaParola(togliParola(t))))
        t = togliParola(t);
    // "1 15-oz can": the size in one word.
    static const QRegularExpression taglia(QStringLiteral("^\\d+(?:[.,]\\d+)?-?([a-z]+)$"),
                                           QRegularExpression::CaseInsensitiveOption);
    if (const auto m = !t.isEmpty() && t.front().isDigit() ? taglia.match(primaParola(t))
                                                           : QRegularExpressionMatch();
        m.hasMatch() && unita(m.captured(1)) && contenitore(primaParola(togliParola(t)))) {
        p.unita << primaParola(togliParola(t)) << primaParola(t);
        t = togliParola(togliParola(t));
        return;
    }
    // "1 14 oz can": the size of the can, then the can.
    if (const qsizetype n = Quantita::lunghezzaIniziale(t)) {
        const QString resto = t.mid(n).trimmed();
        if (unita(primaParola(resto)) && contenitore(primaParola(togliParola(resto)))) {
            p.unita << primaParola(togliParola(resto))
                    << t.left(n).trimmed() + u' ' + primaParola(resto);
            t = togliParola(togliParola(resto));
            return;
        }
    }
    QString parola = primaParola(t);
    QStringList davanti; // "1 heaping teaspoon": the measure's word goes after it
    if (modificatore(parola) && unita(primaParola(togliParola(t)))) {
        davanti << parola;
        t = togliParola(t);
        parola = primaParola(t);
    }
    if (!unita(parola))
        return;
    // Metric measures in capitals are the same measure: "G", "KG", "ML".
    static const QStringList metriche{"g", "gr", "gr.", "kg", "mg", "ml", "cl", "dl", "hg"};
    p.unita << (metriche.contains(parola.toLower()) ? parola.toLower() : parola);
    t = togliParola(t);
    p.unita << davanti;
    while (modificatore(primaParola(t))) {
        p.unita << primaParola(t);
        t = togliParola(t);
    }
    // "20 g + q.b. burro": the extra as needed goes with the measure.
    static const QRegularExpression piu(QStringLiteral("^\\+\\s*(q\\.\\s?b\\.?|qb)\\s+"),
                                        QRegularExpression::CaseInsensitiveOption);
    if (const auto m = t.startsWith(u'+') ? piu.match(t) : QRegularExpressionMatch();
        m.hasMatch()) {
        p.unita << QStringLiteral("+ q.b.");
        t = t.mid(m.capturedLength(0));
    }
}

// "Farina 00 300 g", "Uova: 2", "limoncino 30 ml oppure succo di limone": the name, then a
// quantity, a measure, and anything after it as a remark.
bool quantitaDopo(const QString &t, Parti &p)
{
    for (const bool stretta : {true, false})
        for (qsizetype i = t.indexOf(u' '); i > 0; i = t.indexOf(u' ', i + 1)) {
            const QString coda = t.mid(i + 1);
            QString quanto;
            const qsizetype n = Quantita::iniziale(coda, &quanto);
            const QString resto = coda.mid(n).trimmed();
            const bool misurata = unita(primaParola(resto));
            if (n == 0 || (stretta && !resto.isEmpty() && (resto.contains(u' ') || !misurata)) ||
                (!stretta && !misurata))
                continue;
            p.scritta = coda.left(n);
            p.quantita = quanto;
            QString dopo = resto;
            misura(dopo, p);
            if (!dopo.isEmpty())
                p.dopo << dopo;
            p.nome = t.left(i);
            while (!p.nome.isEmpty() && QStringLiteral(":,-").contains(p.nome.back()))
                p.nome.chop(1);
            return true;
        }
    return false;
}

// The remarks at the ends of the name: "q.b.", what follows a comma, and the words of state and
// size ("grated", "grattugiato"), so that one ingredient has one name.
void descrizioni(Parti &p)
{
    QStringList parole = p.nome.split(u' ', Qt::SkipEmptyParts);
    if (const int n = qbFinale(parole)) {
        p.dopo.prepend(parole.mid(parole.size() - n).join(u' '));
        parole.resize(parole.size() - n);
    }
    QString nome = parole.join(u' ');
    if (const qsizetype virgola = nome.indexOf(u','); virgola >= 0) {
        p.dopo << nome.mid(virgola + 1).trimmed();
        nome = nome.left(virgola).trimmed();
    }
    parole = nome.split(u' ', Qt::SkipEmptyParts);
    QStringList davanti, dietro;
    while (parole.size() > 1 && (descrittore(parole.first()) || avverbio(parole.first()))) {
        if (avverbio(parole.first()) && parole.size() > 2)
            davanti << parole.takeFirst();
        davanti << parole.takeFirst();
    }
    static const QStringList frasi{"a pezzetti", "a cubetti",  "a dadini",
                                   "a fette",    "a rondelle", "a listarelle",
                                   "a julienne", "a spicchi",  "a temperatura ambiente",
                                   "a pezzi"};
    for (bool tolto = true; tolto && parole.size() > 1;) {
        tolto = false;
        const QString nomeAdesso = parole.join(u' ');
        for (const QString &f : frasi)
            if (nomeAdesso.endsWith(u' ' + f, Qt::CaseInsensitive) &&
                parole.size() > f.count(u' ') + 1) {
                dietro.prepend(nomeAdesso.right(f.size()));
                parole.resize(parole.size() - f.count(u' ') - 1);
                tolto = true;
            }
        if (!tolto && descrittore(parole.last())) {
            dietro.prepend(parole.takeLast());
            tolto = true;
        }
    }
    p.nome = parole.join(u' ');
    p.dopo = davanti + dietro + p.dopo;
}

} // namespace

RigaEstera leggi(const QString &riga)
{
    QString t = riga.simplified().replace(u'\u2019', u'\'').replace(u'\u2018', u'\'');
    static const QString punti = QStringLiteral("-*\u2022\u2013\u2014\u00b7\u25aa\u25cf\u25ba"
                                                "\u2713\u2714\u2610>+~=_#");
    while (!t.isEmpty() && punti.contains(t.front()))
        t = t.mid(1).trimmed();
    const RigaEstera illeggibile{{}, {}, riga.simplified()};
    // A rule, or a heading of the list ("Per la crema:", "Per il ripieno", "For the sauce").
    static const QRegularExpression titolo(
        QStringLiteral("^(?:per (?:il|lo|la|l'|i|gli|le)|for the)\\s+\\D*$"),
        QRegularExpression::CaseInsensitiveOption);
    const bool per = t.startsWith(QLatin1String("per "), Qt::CaseInsensitive) ||
                     t.startsWith(QLatin1String("for "), Qt::CaseInsensitive);
    if (t.isEmpty() || t.endsWith(u':') || (per && titolo.match(t).hasMatch()))
        return illeggibile;
    const QStringList parentesi = togliParentesi(t);

    Parti p;
    // Before the quantity: "circa 200 g", "q.b. sale", "qualche foglia di".
    for (bool ancora = true; ancora && !t.isEmpty();) {
        const QString parola = primaParola(t);
        ancora = approssimato(parola) || qb(parola);
        if (ancora) {
            // "circa" and "q.b." before the name
            p.prima << (qb(parola) ? QStringLiteral("q.b.") : parola);
            t = senzaDi(togliParola(t));
        } else if (static const QStringList quante{"qualche", "alcuni", "alcune", "some", "few"};
                   quante.contains(parola, Qt::CaseInsensitive)) {
            p.quante << parola;
            t = togliParola(t);
        }
    }
    if (quantita(t, p)) {
        misura(t, p);
        if (const QString h = primaParola(t); approssimato(h) && !p.quantita.isEmpty()) {
            p.prima << h;
            t = togliParola(t);
        }
        p.nome = senzaDi(t);
    } else if (!p.quante.isEmpty() && unita(primaParola(t))) {
        misura(t, p); // "qualche foglia di basilico"
        p.nome = senzaDi(t);
    } else if (!quantitaDopo(t, p)) {
        p.nome = t;
    }
    if (!p.quantita.isEmpty())
        p.quantita = Quantita::migliaia(p.scritta, p.quantita, p.unita.value(0));
    descrizioni(p);
    if (p.nome.isEmpty() || !p.nome.front().isLetter())
        return illeggibile;
    QStringList commento = p.quante + p.unita + p.prima + p.dopo + parentesi;
    commento.removeAll(QString());
    for (QString &c : commento)
        if (qb(c) && c.startsWith(u'q', Qt::CaseInsensitive))
            c = QStringLiteral("q.b.");
    return {p.quantita, maiuscolaIniziale(p.nome), commento.join(u' ')};
}

bool eMisura(const QString &parola)
{
    return unita(parola);
}

} // namespace RigaIngrediente
