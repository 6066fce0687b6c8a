#include "formati/mealmastercolonne.h"

#include "formati/quantita.h"

#include <QLocale>
#include <algorithm>

namespace MealMaster {

namespace {

struct Unita
{
    const char16_t *codice;
    const char16_t *singolare;
    const char16_t *plurale;
};

// The format's codes; the first of two codes for one unit is the one written.
constexpr Unita Tabella[] = {
    {u"x", u"per porzione", u"per porzione"},
    {u"sm", u"piccolo", u"piccoli"},
    {u"md", u"medio", u"medi"},
    {u"lg", u"grande", u"grandi"},
    {u"cn", u"lattina", u"lattine"},
    {u"pk", u"confezione", u"confezioni"},
    {u"pn", u"pizzico", u"pizzichi"},
    {u"dr", u"goccia", u"gocce"},
    {u"ds", u"spruzzo", u"spruzzi"},
    {u"ct", u"cartone", u"cartoni"},
    {u"bn", u"mazzetto", u"mazzetti"},
    {u"sl", u"fetta", u"fette"},
    {u"ea", u"ciascuno", u"ciascuno"},
    {u"ts", u"cucchiaino", u"cucchiaini"},
    {u"t", u"cucchiaino", u"cucchiaini"},
    {u"tb", u"cucchiaio", u"cucchiai"},
    {u"T", u"cucchiaio", u"cucchiai"},
    {u"fl", u"oncia liquida", u"once liquide"},
    {u"c", u"tazza", u"tazze"},
    {u"pt", u"pinta", u"pinte"},
    {u"qt", u"quarto di gallone", u"quarti di gallone"},
    {u"ga", u"gallone", u"galloni"},
    {u"oz", u"oncia", u"once"},
    {u"lb", u"libbra", u"libbre"},
    {u"ml", u"ml", u"ml"},
    {u"cb", u"cm³", u"cm³"},
    {u"cl", u"cl", u"cl"},
    {u"dl", u"dl", u"dl"},
    {u"l", u"litro", u"litri"},
    {u"mg", u"mg", u"mg"},
    {u"cg", u"cg", u"cg"},
    {u"dg", u"dg", u"dg"},
    {u"g", u"g", u"g"},
    {u"kg", u"kg", u"kg"},
};

// "t" and "T" differ; the other codes are met in capitals too.
const Unita *unita(QStringView codice)
{
    for (const Unita &u : Tabella)
        if (codice == QStringView(u.codice))
            return &u;
    if (codice == u"t" || codice == u"T")
        return nullptr;
    for (const Unita &u : Tabella)
        if (codice.compare(QStringView(u.codice), Qt::CaseInsensitive) == 0)
            return &u;
    return nullptr;
}

bool iniziaConSegno(QStringView riga)
{
    return riga.startsWith(u"MMMMM") || riga.startsWith(u"-----");
}

} // namespace

std::optional<Pezzo> pezzo(QStringView parte)
{
    if (parte.size() <= ColonnaTesto || parte.at(ColonnaQuantita) != u' ' ||
        parte.at(ColonnaTesto - 1) != u' ')
        return std::nullopt;
    Pezzo p;
    p.testo = parte.mid(ColonnaTesto).trimmed().toString();
    const QStringView quantita = parte.left(ColonnaQuantita).trimmed();
    const QStringView codice = parte.mid(ColonnaQuantita + 1, 2).trimmed();
    if (p.testo.isEmpty() || (!codice.isEmpty() && !unita(codice)))
        return std::nullopt;
    p.scritta = quantita.toString();
    p.quantita = Quantita::daTesto(p.scritta);
    // A quantity in a shape no writer of the format used is still an ingredient's, not the
    // start of the instructions: it is kept as written.
    if (!quantita.isEmpty() && p.quantita.isEmpty() &&
        std::none_of(quantita.begin(), quantita.end(), [](QChar c) { return c.isDigit(); }))
        return std::nullopt;
    p.codice = codice.toString();
    // "10.000 g": Italian thousands where the unit says so.
    p.quantita = Quantita::migliaia(p.scritta, p.quantita,
                                    p.codice.isEmpty() ? p.testo.section(u' ', 0, 0) : p.codice);
    p.continua = quantita.isEmpty() && codice.isEmpty() && p.testo.startsWith(u'-');
    return p;
}

bool eIntestazione(QStringView riga)
{
    return iniziaConSegno(riga) && (riga.contains(u"Meal-Master", Qt::CaseInsensitive) ||
                                    riga.contains(u"Recipe via", Qt::CaseInsensitive));
}

bool eFine(QStringView riga)
{
    riga = riga.trimmed();
    if (riga == u"MMMMM")
        return true;
    if (riga.size() < 5)
        return false;
    for (QChar c : riga)
        if (c != u'-')
            return false;
    return true;
}

QString sezione(QStringView riga)
{
    if (!iniziaConSegno(riga))
        return {};
    qsizetype i = riga.startsWith(u'M') ? 5 : 0;
    qsizetype j = riga.size();
    while (i < j && (riga.at(i) == u'-' || riga.at(i).isSpace()))
        ++i;
    while (j > i && (riga.at(j - 1) == u'-' || riga.at(j - 1).isSpace()))
        --j;
    return riga.mid(i, j - i).toString();
}

QString parolaUnita(const QString &codice, bool plurale)
{
    const Unita *u = unita(codice);
    return !u ? codice : QString::fromUtf16(plurale ? u->plurale : u->singolare);
}

QString codiceUnita(const QString &parola, bool plurale)
{
    for (const Unita &u : Tabella)
        if (parola == QStringView(plurale ? u.plurale : u.singolare))
            return QString::fromUtf16(u.codice);
    return {};
}

bool plurale(const QString &quantita)
{
    // The larger end of a range, with a comma or a dot.
    bool ok = false;
    const double x =
        QLocale::c().toDouble(quantita.section(u'-', -1).trimmed().replace(u',', u'.'), &ok);
    return ok && x > 1;
}

bool eVegetariana(const QString &categoria)
{
    static const QStringList nomi{"vegetariana", "vegetariane", "vegetariano", "vegetariani",
                                  "vegetarian",  "vegetarians", "vegan",       "vegana",
                                  "vegane",      "vegani"};
    return nomi.contains(categoria.trimmed(), Qt::CaseInsensitive);
}

} // namespace MealMaster
