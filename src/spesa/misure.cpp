#include "spesa/misure.h"

#include "formati/rigaingrediente.h"
#include "toolkit/porzioni.h"

#include <QHash>
#include <cmath>

namespace Misure {

namespace {

struct Forma
{
    const char *unita;
    const char *famiglia;
    double fattore;
};

// Weights and volumes add up across their units; every written form names one of them.
const QHash<QString, Forma> &pesiEVolumi()
{
    static const QHash<QString, Forma> t = [] {
        QHash<QString, Forma> t;
        const std::pair<const char *, Forma> forme[] = {
            {"mg", {"mg", "g", 0.001}},
            {"g", {"g", "g", 1}},
            {"gr", {"g", "g", 1}},
            {"grammo", {"g", "g", 1}},
            {"grammi", {"g", "g", 1}},
            {"hg", {"hg", "g", 100}},
            {"etto", {"hg", "g", 100}},
            {"etti", {"hg", "g", 100}},
            {"kg", {"kg", "g", 1000}},
            {"chilo", {"kg", "g", 1000}},
            {"chili", {"kg", "g", 1000}},
            {"chilogrammo", {"kg", "g", 1000}},
            {"chilogrammi", {"kg", "g", 1000}},
            {"ml", {"ml", "ml", 1}},
            {"millilitro", {"ml", "ml", 1}},
            {"millilitri", {"ml", "ml", 1}},
            {"cl", {"cl", "ml", 10}},
            {"dl", {"dl", "ml", 100}},
            {"l", {"l", "ml", 1000}},
            {"lt", {"l", "ml", 1000}},
            {"litro", {"l", "ml", 1000}},
            {"litri", {"l", "ml", 1000}},
        };
        for (const auto &[parola, forma] : forme)
            t.insert(QString::fromLatin1(parola), forma);
        return t;
    }();
    return t;
}

// The measures counted in pieces: singular and plural are one unit, written as the number asks.
const QHash<QString, QString> &plurali()
{
    static const QHash<QString, QString> t = [] {
        QHash<QString, QString> t;
        for (const auto &[s, p] : std::initializer_list<std::pair<const char *, const char *>>{
                 {"cucchiaio", "cucchiai"},  {"cucchiaino", "cucchiaini"},
                 {"tazza", "tazze"},         {"tazzina", "tazzine"},
                 {"bicchiere", "bicchieri"}, {"bustina", "bustine"},
                 {"pizzico", "pizzichi"},    {"presa", "prese"},
                 {"spicchio", "spicchi"},    {"foglia", "foglie"},
                 {"fetta", "fette"},         {"rametto", "rametti"},
                 {"mazzetto", "mazzetti"},   {"ciuffo", "ciuffi"},
                 {"manciata", "manciate"},   {"noce", "noci"},
                 {"barattolo", "barattoli"}, {"confezione", "confezioni"},
                 {"scatola", "scatole"},     {"vasetto", "vasetti"},
                 {"panetto", "panetti"},     {"cup", "cups"}})
            t.insert(QString::fromLatin1(s), QString::fromLatin1(p));
        return t;
    }();
    return t;
}

QString singolare(const QString &parola)
{
    const auto &p = plurali();
    if (p.contains(parola))
        return parola;
    const QString s = p.key(parola);
    return s.isEmpty() ? parola : s;
}

} // namespace

Misura daCommento(const QString &commento)
{
    // "g, grattugiato", "gr.": the word without what follows it.
    QString parola = commento.trimmed().section(u' ', 0, 0).toLower();
    while (!parola.isEmpty() && !parola.back().isLetter())
        parola.chop(1);
    if (const auto it = pesiEVolumi().constFind(parola); it != pesiEVolumi().cend())
        return {QString::fromLatin1(it->unita), QString::fromLatin1(it->famiglia), it->fattore};
    if (parola.isEmpty() || !RigaIngrediente::eMisura(parola))
        return {};
    const QString s = singolare(parola);
    return {s, s, 1};
}

QString scrivi(double x, const QString &famiglia, const QString &unitaSola)
{
    QString unita = famiglia;
    double valore = x;
    // A unit is used only where two decimals say the whole amount.
    const auto esatto = [](double v) { return std::abs(v * 100 - std::round(v * 100)) < 1e-6; };
    const double sola =
        pesiEVolumi().contains(unitaSola) ? x / pesiEVolumi().value(unitaSola).fattore : 0;
    // Grams and millilitres alone still read better in kg and l from 1000 on.
    if (!unitaSola.isEmpty() && unitaSola != famiglia && sola > 0 && esatto(sola)) {
        unita = unitaSola;
        valore = sola;
    } else if ((famiglia == QLatin1String("g") || famiglia == QLatin1String("ml")) && x >= 1000 &&
               esatto(x / 1000)) {
        unita = famiglia == QLatin1String("g") ? QStringLiteral("kg") : QStringLiteral("l");
        valore = x / 1000;
    }
    const QString numero = Porzioni::testoQuantita(valore);
    if (unita.isEmpty())
        return numero;
    if (valore != 1 && plurali().contains(unita))
        unita = plurali().value(unita);
    return numero + u' ' + unita;
}

} // namespace Misure
