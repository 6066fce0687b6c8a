#include "formati/rigaingrediente.h"

#include "formati/quantita.h"
#include "toolkit/maiuscole.h"

#include <QSet>
#include <QStringList>

namespace RigaIngrediente {

namespace {

// The measures cooks write after a quantity, Italian and English; any other word starts the name.
bool unita(const QString &parola)
{
    static const QSet<QString> nomi = [] {
        QSet<QString> s;
        for (const char *u :
             {"g",         "gr",        "grammi",     "grammo",      "kg",       "chili",
              "chilo",     "hg",        "etto",       "etti",        "mg",       "ml",
              "cl",        "dl",        "l",          "lt",          "litro",    "litri",
              "cucchiaio", "cucchiai",  "cucchiaino", "cucchiaini",  "tazza",    "tazze",
              "tazzina",   "tazzine",   "bicchiere",  "bicchieri",   "bustina",  "bustine",
              "pizzico",   "pizzichi",  "presa",      "prese",       "spicchio", "spicchi",
              "foglia",    "foglie",    "fetta",      "fette",       "rametto",  "rametti",
              "mazzetto",  "mazzetti",  "ciuffo",     "manciata",    "manciate", "noce",
              "barattolo", "barattoli", "confezione", "confezioni",  "scatola",  "scatole",
              "vasetto",   "vasetti",   "panetto",    "cup",         "cups",     "tbsp",
              "tbs",       "tsp",       "tablespoon", "tablespoons", "teaspoon", "teaspoons",
              "oz",        "ounce",     "ounces",     "lb",          "lbs",      "pound",
              "pounds",    "pinch",     "pinches",    "clove",       "cloves",   "can",
              "cans",      "slice",     "slices",     "sprig",       "sprigs",   "bunch",
              "handful",   "stick",     "sticks",     "pint",        "pints",    "quart",
              "quarts",    "package",   "packages",   "packet",      "packets",  "gram",
              "grams",     "kilogram",  "kilograms",  "litre",       "litres",   "liter",
              "liters"})
            s.insert(QString::fromLatin1(u));
        return s;
    }();
    QString p = parola.toLower();
    if (p.endsWith(QLatin1Char('.')))
        p.chop(1);
    return nomi.contains(p);
}

// "As much as needed", at the end of a line (or alone after its quantity).
qsizetype qbFinale(const QString &testo)
{
    for (const char *m : {" q.b.", " q.b", " qb", " a piacere", " to taste", " as needed"}) {
        const QString marca = QString::fromLatin1(m);
        if ((u' ' + testo).endsWith(marca, Qt::CaseInsensitive))
            return marca.size() - 1;
    }
    return 0;
}

// Takes the bracketed remarks out of testo, in their order.
QStringList togliParentesi(QString &testo)
{
    QStringList tolte;
    for (qsizetype a = testo.indexOf(u'('); a >= 0; a = testo.indexOf(u'(')) {
        qsizetype c = testo.indexOf(u')', a);
        if (c < 0)
            c = testo.size() - 1;
        tolte << testo.mid(a, c - a + 1);
        testo.remove(a, c - a + 1);
    }
    testo = testo.simplified();
    return tolte;
}

// The name after "di", "d'" or "of" that joins it to a quantity.
QString senzaDi(const QString &resto)
{
    for (const char *di : {"di ", "d'", "d\u2019", "of "}) {
        const QString p = QString::fromUtf8(di);
        if (resto.startsWith(p, Qt::CaseInsensitive))
            return resto.mid(p.size()).trimmed();
    }
    return resto;
}

struct Parti
{
    QString quantita, unita, nome;
};

// "300 g di farina": the quantity, a measure if one follows, the name.
bool quantitaPrima(const QString &t, Parti &p)
{
    const qsizetype n = Quantita::lunghezzaIniziale(t);
    if (n == 0)
        return false;
    p.quantita = Quantita::daTesto(t.left(n));
    QString resto = t.mid(n).trimmed();
    const QString prima = resto.section(u' ', 0, 0);
    if (unita(prima)) {
        p.unita = prima;
        resto = resto.mid(prima.size()).trimmed();
    }
    p.nome = senzaDi(resto);
    return true;
}

// "Farina 00 300 g", "Uova: 2": the name, then a quantity and at most a measure.
bool quantitaDopo(const QString &t, Parti &p)
{
    for (qsizetype i = t.indexOf(u' '); i > 0; i = t.indexOf(u' ', i + 1)) {
        const QString coda = t.mid(i + 1);
        const qsizetype n = Quantita::lunghezzaIniziale(coda);
        const QString resto = coda.mid(n).trimmed();
        if (n > 0 && (resto.isEmpty() || (!resto.contains(u' ') && unita(resto)))) {
            p.quantita = Quantita::daTesto(coda.left(n));
            p.unita = resto;
            p.nome = t.left(i);
            while (!p.nome.isEmpty() && QStringLiteral(":,-").contains(p.nome.back()))
                p.nome.chop(1);
            return true;
        }
    }
    return false;
}

} // namespace

RigaEstera leggi(const QString &riga)
{
    QString t = riga.simplified();
    while (!t.isEmpty() && QStringLiteral("-*\u2022\u2013\u00b7").contains(t.front()))
        t = t.mid(1).trimmed();
    const RigaEstera illeggibile{{}, {}, riga.simplified()};
    if (t.endsWith(u':'))
        return illeggibile; // a heading of the list, not an ingredient
    const QStringList parentesi = togliParentesi(t);

    Parti p;
    if (!quantitaPrima(t, p) && !quantitaDopo(t, p))
        p.nome = t;
    QStringList commento{p.unita};
    if (const qsizetype qb = qbFinale(p.nome)) {
        commento << p.nome.right(qb);
        p.nome = p.nome.left(p.nome.size() - qb).trimmed();
    }
    if (const qsizetype virgola = p.nome.indexOf(u','); virgola >= 0) {
        commento << p.nome.mid(virgola + 1).trimmed();
        p.nome = p.nome.left(virgola).trimmed();
    }
    commento << parentesi;
    commento.removeAll(QString());
    if (p.nome.isEmpty() || !p.nome.front().isLetter())
        return illeggibile;
    return {p.quantita, maiuscolaIniziale(p.nome), commento.join(u' ')};
}

} // namespace RigaIngrediente
