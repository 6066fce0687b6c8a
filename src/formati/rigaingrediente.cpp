#include "formati/rigaingrediente.h"

#include "formati/parolecucina.h"
#include "formati/quantita.h"
#include "toolkit/maiuscole.h"

#include <QRegularExpression>
#include <QStringList>
#include <algorithm>

namespace RigaIngrediente {

namespace {

using namespace ParoleCucina;

// "As much as needed", in any capitals, as a marker at the start or end of a line.
bool qb(QStringView testo)
{
    static const QRegularExpression r(
        QStringLiteral("^(?:q\\.\\s?b\\.?|qb|quanto basta|a piacere|to taste|as needed|"
                       "as required)$"),
        QRegularExpression::CaseInsensitiveOption);
    return !testo.isEmpty() && QStringLiteral("qQaAtT").contains(testo.front()) &&
           r.match(testo).hasMatch();
}

// Where c first is in t from da on, -1 when nowhere: QStringView's own search is slow for a
// single character.
qsizetype dove(QStringView t, QChar c, qsizetype da = 0)
{
    const auto i = std::find(t.begin() + da, t.end(), c);
    return i == t.end() ? -1 : i - t.begin();
}

// The words of a line are one blank apart (it was simplified), so words that follow each other
// are the line's own text from the first to the last.
QStringView daA(QStringView prima, QStringView ultima)
{
    return QStringView(prima.data(), ultima.data() + ultima.size());
}

// The marker at the end of a name's words: its length in words (0 when none).
int qbFinale(const QList<QStringView> &parole)
{
    for (int n = 2; n >= 1; --n)
        if (parole.size() > n && qb(daA(parole.at(parole.size() - n), parole.last())))
            return n;
    return 0;
}

// Takes the bracketed remarks out of t, in their order, brackets inside brackets whole; t is
// then the rest, kept in resto.
QStringList togliParentesi(QStringView &t, QString &resto)
{
    QStringList tolte;
    if (dove(t, u'(') < 0 && dove(t, u'[') < 0)
        return tolte;
    int livello = 0;
    QString remark;
    for (const QChar c : t) {
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
    resto = resto.replace(u')', u' ').simplified();
    t = resto;
    return tolte;
}

// The name after "di", "d'" or "of" that joins it to a quantity.
QStringView senzaDi(QStringView resto)
{
    for (const QStringView di : {u"di ", u"d'", u"of "}) {
        if (resto.startsWith(di, Qt::CaseInsensitive))
            return resto.mid(di.size()).trimmed();
    }
    return resto;
}

// A line being taken apart: what is read goes from the line into its parts.
struct Parti
{
    QString quantita, scritta; // the quantity as stored and as written
    QStringList unita;         // the measure and what goes with it
    QStringList quante;        // how many, in words ("qualche")
    QStringList prima;         // remarks met before the name ("circa", "q.b.")
    QStringView nome;          // in the line's own text
    QStringList dopo;          // remarks after the name
};

QStringView primaParola(QStringView t)
{
    const qsizetype spazio = dove(t, u' ');
    return spazio < 0 ? t : t.left(spazio);
}

QStringView togliParola(QStringView t)
{
    const qsizetype spazio = dove(t, u' ');
    return spazio < 0 ? QStringView() : t.mid(spazio + 1).trimmed();
}

QList<QStringView> paroleDi(QStringView t)
{
    QList<QStringView> r;
    for (t = t.trimmed(); !t.isEmpty(); t = togliParola(t))
        r << primaParola(t);
    return r;
}

// Whether simplified() would leave riga as it is: most lines come already simplified.
bool semplice(QStringView riga)
{
    for (qsizetype i = 0; i < riga.size(); ++i)
        if (riga[i].isSpace() &&
            (riga[i] != u' ' || i == 0 || i + 1 == riga.size() || riga[i + 1].isSpace()))
            return false;
    return true;
}

// A quantity at the start of t (digits or words); false when none.
bool quantita(QStringView &t, Parti &p)
{
    if (const qsizetype n = Quantita::iniziale(t, &p.quantita)) {
        p.scritta = t.left(n).toString();
        if (p.quantita.isEmpty()) // "1/0": kept, as written, in the comment
            p.prima << p.scritta;
        t = t.mid(n).trimmed();
        if (primaParola(t).compare(u"dozen", Qt::CaseInsensitive) == 0 && !p.quantita.isEmpty()) {
            p.quantita = QString::number(p.quantita.toDouble() * 12);
            t = togliParola(t);
        }
        return true;
    }
    QStringView parola = primaParola(t);
    QStringView dopo = togliParola(t);
    if (parola.startsWith(u"un'", Qt::CaseInsensitive) && parola.size() > 3) {
        dopo = t.mid(3); // "un'oliva": the word after the apostrophe
        parola = parola.left(3);
    }
    double x = numero(parola);
    if (x == 0)
        return false;
    // "a pinch", "an onion", but not "a few".
    static const QStringList pochi{"few", "little", "bit", "piacere", "couple"};
    if ((parola.compare(u"a", Qt::CaseInsensitive) == 0 ||
         parola.compare(u"an", Qt::CaseInsensitive) == 0) &&
        pochi.contains(primaParola(dopo).toString().toLower()))
        return false;
    // "half a lemon"
    if (x == 0.5 && QStringList{"a", "an"}.contains(primaParola(dopo).toString().toLower()))
        dopo = togliParola(dopo);
    // "un paio di uova", "a dozen eggs", "mezzo bicchiere".
    if (primaParola(dopo).compare(u"paio", Qt::CaseInsensitive) == 0) {
        x = 2;
        dopo = senzaDi(togliParola(dopo));
    } else if (numero(primaParola(dopo)) > 1) {
        x *= numero(primaParola(dopo));
        dopo = togliParola(dopo);
    }
    p.scritta = parola.toString();
    p.quantita = QString::number(x);
    t = dopo;
    return true;
}

// A measure and what goes with it: "cucchiaino raso", "14 oz can", "g + q.b.".
void misura(QStringView &t, Parti &p)
{
    // "1/4 di cucchiaino"
    if (primaParola(t).compare(u"di", Qt::CaseInsensitive) == 0 &&
        unita(primaParola(togliParola(t))))
        t = togliParola(t);
    // "1 15-oz can": the size in one word.
    static const QRegularExpression taglia(QStringLiteral("^\\d+(?:[.,]\\d+)?-?([a-z]+)$"),
                                           QRegularExpression::CaseInsensitiveOption);
    if (!t.isEmpty() && t.front().isDigit()) {
        if (const auto m = taglia.match(primaParola(t));
            m.hasMatch() && unita(m.capturedView(1)) && contenitore(primaParola(togliParola(t)))) {
            p.unita << primaParola(togliParola(t)).toString() << primaParola(t).toString();
            t = togliParola(togliParola(t));
            return;
        }
    }
    // "1 14 oz can": the size of the can, then the can.
    if (const qsizetype n = Quantita::lunghezzaIniziale(t)) {
        const QStringView resto = t.mid(n).trimmed();
        if (unita(primaParola(resto)) && contenitore(primaParola(togliParola(resto)))) {
            p.unita << primaParola(togliParola(resto)).toString()
                    << t.left(n).trimmed().toString() + u' ' + primaParola(resto).toString();
            t = togliParola(togliParola(resto));
            return;
        }
    }
    QStringView parola = primaParola(t);
    QStringList davanti; // "1 heaping teaspoon": the measure's word goes after it
    if (modificatore(parola) && unita(primaParola(togliParola(t)))) {
        davanti << parola.toString();
        t = togliParola(t);
        parola = primaParola(t);
    }
    if (!unita(parola))
        return;
    // Metric measures in capitals are the same measure: "G", "KG", "ML".
    static const QStringList metriche{"g", "gr", "gr.", "kg", "mg", "ml", "cl", "dl", "hg"};
    const QString scritta = parola.toString();
    const QString minuscola = scritta.toLower();
    p.unita << (metriche.contains(minuscola) ? minuscola : scritta);
    t = togliParola(t);
    p.unita << davanti;
    while (modificatore(primaParola(t))) {
        p.unita << primaParola(t).toString();
        t = togliParola(t);
    }
    // "20 g + q.b. burro": the extra as needed goes with the measure.
    static const QRegularExpression piu(QStringLiteral("^\\+\\s*(q\\.\\s?b\\.?|qb)\\s+"),
                                        QRegularExpression::CaseInsensitiveOption);
    if (!t.startsWith(u'+'))
        return;
    if (const auto m = piu.match(t); m.hasMatch()) {
        p.unita << QStringLiteral("+ q.b.");
        t = t.mid(m.capturedLength(0));
    }
}

// "Farina 00 300 g", "Uova: 2", "limoncino 30 ml oppure succo di limone": the name, then a
// quantity, a measure, and anything after it as a remark.
bool quantitaDopo(QStringView t, Parti &p)
{
    for (const bool stretta : {true, false})
        for (qsizetype i = dove(t, u' '); i > 0; i = dove(t, u' ', i + 1)) {
            const QStringView coda = t.mid(i + 1);
            const qsizetype n = Quantita::lunghezzaIniziale(coda);
            if (n == 0)
                continue;
            const QStringView resto = coda.mid(n).trimmed();
            const bool misurata = unita(primaParola(resto));
            if ((stretta && !resto.isEmpty() && (dove(resto, u' ') >= 0 || !misurata)) ||
                (!stretta && !misurata))
                continue;
            p.scritta = coda.left(n).toString();
            Quantita::iniziale(coda, &p.quantita);
            QStringView dopo = resto;
            misura(dopo, p);
            if (!dopo.isEmpty())
                p.dopo << dopo.toString();
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
    QList<QStringView> parole = paroleDi(p.nome);
    if (const int n = qbFinale(parole)) {
        p.dopo.prepend(daA(parole.at(parole.size() - n), parole.last()).toString());
        parole.resize(parole.size() - n);
    }
    if (parole.isEmpty()) {
        p.nome = {};
        return;
    }
    QStringView nome = daA(parole.first(), parole.last());
    if (const qsizetype virgola = dove(nome, u','); virgola >= 0) {
        p.dopo << nome.mid(virgola + 1).trimmed().toString();
        nome = nome.left(virgola).trimmed();
        parole = paroleDi(nome);
    }
    QStringList davanti, dietro;
    while (parole.size() > 1 && (descrittore(parole.first()) || avverbio(parole.first()))) {
        if (avverbio(parole.first()) && parole.size() > 2)
            davanti << parole.takeFirst().toString();
        davanti << parole.takeFirst().toString();
    }
    static const QStringList frasi{"a pezzetti", "a cubetti",  "a dadini",
                                   "a fette",    "a rondelle", "a listarelle",
                                   "a julienne", "a spicchi",  "a temperatura ambiente",
                                   "a pezzi"};
    for (bool tolto = true; tolto && parole.size() > 1;) {
        tolto = false;
        const QStringView nomeAdesso = daA(parole.first(), parole.last());
        for (const QString &f : frasi)
            if (nomeAdesso.size() > f.size() &&
                nomeAdesso.at(nomeAdesso.size() - f.size() - 1) == u' ' &&
                nomeAdesso.endsWith(f, Qt::CaseInsensitive) && parole.size() > f.count(u' ') + 1) {
                dietro.prepend(nomeAdesso.right(f.size()).toString());
                parole.resize(parole.size() - f.count(u' ') - 1);
                tolto = true;
            }
        if (!tolto && descrittore(parole.last())) {
            dietro.prepend(parole.takeLast().toString());
            tolto = true;
        }
    }
    p.nome = parole.isEmpty() ? QStringView() : daA(parole.first(), parole.last());
    p.dopo = davanti + dietro + p.dopo;
}

} // namespace

RigaEstera leggi(const QString &riga)
{
    QString linea = semplice(riga) ? riga : riga.simplified();
    linea.replace(u'\u2019', u'\'').replace(u'\u2018', u'\'');
    QStringView t = linea;
    static const QString punti = QStringLiteral("-*\u2022\u2013\u2014\u00b7\u25aa\u25cf\u25ba"
                                                "\u2713\u2714\u2610>+~=_#");
    while (!t.isEmpty() && punti.contains(t.front()))
        t = t.mid(1).trimmed();
    const auto illeggibile = [&riga] { return RigaEstera{{}, {}, riga.simplified()}; };
    // A rule, or a heading of the list ("Per la crema:", "Per il ripieno", "For the sauce").
    static const QRegularExpression titolo(
        QStringLiteral("^(?:per (?:il|lo|la|l'|i|gli|le)|for the)\\s+\\D*$"),
        QRegularExpression::CaseInsensitiveOption);
    const bool per =
        t.startsWith(u"per ", Qt::CaseInsensitive) || t.startsWith(u"for ", Qt::CaseInsensitive);
    if (t.isEmpty() || t.endsWith(u':') || (per && titolo.match(t).hasMatch()))
        return illeggibile();
    QString senzaParentesi;
    const QStringList parentesi = togliParentesi(t, senzaParentesi);

    Parti p;
    // Before the quantity: "circa 200 g", "q.b. sale", "qualche foglia di".
    for (bool ancora = true; ancora && !t.isEmpty();) {
        const QStringView parola = primaParola(t);
        ancora = approssimato(parola) || qb(parola);
        if (ancora) {
            // "circa" and "q.b." before the name
            p.prima << (qb(parola) ? QStringLiteral("q.b.") : parola.toString());
            t = senzaDi(togliParola(t));
        } else if (static const QStringList quante{"qualche", "alcuni", "alcune", "some", "few"};
                   quante.contains(parola, Qt::CaseInsensitive)) {
            p.quante << parola.toString();
            t = togliParola(t);
        }
    }
    if (quantita(t, p)) {
        misura(t, p);
        if (const QStringView h = primaParola(t); approssimato(h) && !p.quantita.isEmpty()) {
            p.prima << h.toString();
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
        return illeggibile();
    QStringList commento;
    commento.reserve(p.quante.size() + p.unita.size() + p.prima.size() + p.dopo.size() +
                     parentesi.size());
    commento << p.quante << p.unita << p.prima << p.dopo << parentesi;
    commento.removeAll(QString());
    for (QString &c : commento)
        if (c.startsWith(u'q', Qt::CaseInsensitive) && qb(c))
            c = QStringLiteral("q.b.");
    // A comment of one part needs no joining (and no new string).
    return {p.quantita, maiuscolaIniziale(p.nome.toString()),
            commento.size() == 1 ? commento.first() : commento.join(u' ')};
}

bool eMisura(const QString &parola)
{
    return unita(parola);
}

} // namespace RigaIngrediente
