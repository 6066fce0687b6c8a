#include "formati/parolecucina.h"

#include <QHash>
#include <QVarLengthArray>

namespace ParoleCucina {

namespace {

// What a word can be; a word may be more than one ("roughly").
enum Tipo : unsigned {
    Unita = 1,
    Contenitore = 2,
    Modificatore = 4,
    Descrittore = 8,
    Avverbio = 16,
    Approssimato = 32,
};

struct Voce
{
    unsigned tipi = 0;
    double numero = 0; // the value of a number word, 0 for any other
};

const char *const Contenitori[] = {
    "barattolo",  "barattoli", "confezione", "confezioni", "scatola",   "scatole",   "scatoletta",
    "scatolette", "lattina",   "lattine",    "vasetto",    "vasetti",   "busta",     "buste",
    "bustina",    "bustine",   "vaschetta",  "vaschette",  "bottiglia", "bottiglie", "tubetto",
    "tubetti",    "can",       "cans",       "jar",        "jars",      "package",   "packages",
    "packet",     "packets",   "box",        "boxes",      "bag",       "bags",      "bottle",
    "bottles",    "container", "containers", "carton",     "cartons",   "tin",       "tins"};

const char *const Misure[] = {
    "g",          "gr",          "grammi",      "grammo",      "kg",          "chili",
    "chilo",      "chilogrammi", "chilogrammo", "hg",          "etto",        "etti",
    "mg",         "ml",          "cl",          "dl",          "l",           "lt",
    "litro",      "litri",       "cc",          "cucchiaio",   "cucchiai",    "cucchiaino",
    "cucchiaini", "cucch",       "cucchiaiate", "tazza",       "tazze",       "tazzina",
    "tazzine",    "bicchiere",   "bicchieri",   "bicchierino", "bicchierini", "pizzico",
    "pizzichi",   "presa",       "prese",       "spicchio",    "spicchi",     "foglia",
    "foglie",     "fogliolina",  "foglioline",  "foglio",      "fogli",       "fetta",
    "fette",      "fettina",     "fettine",     "rametto",     "rametti",     "ramo",
    "rami",       "mazzetto",    "mazzetti",    "mazzo",       "mazzi",       "ciuffo",
    "ciuffi",     "manciata",    "manciate",    "pugno",       "noce",        "noci",
    "noce",       "panetto",     "panetti",     "grappolo",    "grappoli",    "costa",
    "coste",      "gambo",       "gambi",       "cespo",       "cespi",       "testa",
    "teste",      "filo",        "fili",        "goccia",      "gocce",       "goccio",
    "pezzo",      "pezzi",       "pezzetto",    "pezzetti",    "mestolo",     "mestoli",
    "cubetto",    "cubetti",     "striscia",    "strisce",     "rotolo",      "rotoli",
    "dose",       "dosi",        "cup",         "cups",        "c",           "tbsp",
    "tbsps",      "tbs",         "tb",          "tbl",         "t",           "tsp",
    "tsps",       "ts",          "tablespoon",  "tablespoons", "teaspoon",    "teaspoons",
    "oz",         "ounce",       "ounces",      "lb",          "lbs",         "pound",
    "pounds",     "pinch",       "pinches",     "dash",        "dashes",      "drop",
    "drops",      "clove",       "cloves",      "slice",       "slices",      "sprig",
    "sprigs",     "bunch",       "bunches",     "handful",     "handfuls",    "stick",
    "sticks",     "pint",        "pints",       "pt",          "quart",       "quarts",
    "qt",         "gallon",      "gallons",     "gram",        "grams",       "kilogram",
    "kilograms",  "litre",       "litres",      "liter",       "liters",      "head",
    "heads",      "stalk",       "stalks",      "leaf",        "leaves",      "piece",
    "pieces",     "strip",       "strips",      "knob",        "sheet",       "sheets"};

const char *const Modificatori[] = {"raso",   "rasi",   "rasa",   "rase",       "colmo",
                                    "colmi",  "colma",  "colme",  "abbondante", "abbondanti",
                                    "scarso", "scarsi", "scarsa", "scarse",     "heaping",
                                    "heaped", "level",  "scant",  "generous",   "rounded"};

const std::pair<const char *, double> Numeri[] = {
    {"un", 1},     {"uno", 1},       {"una", 1},     {"un'", 1},     {"mezzo", 0.5}, {"mezza", 0.5},
    {"due", 2},    {"tre", 3},       {"quattro", 4}, {"cinque", 5},  {"sei", 6},     {"sette", 7},
    {"otto", 8},   {"nove", 9},      {"dieci", 10},  {"dodici", 12}, {"a", 1},       {"an", 1},
    {"one", 1},    {"two", 2},       {"three", 3},   {"four", 4},    {"five", 5},    {"six", 6},
    {"seven", 7},  {"eight", 8},     {"nine", 9},    {"ten", 10},    {"twelve", 12}, {"half", 0.5},
    {"dozen", 12}, {"mezzetto", 0.5}};

const char *const Descrittori[] = {
    "grattugiato",  "grattugiata", "grattugiati",  "grattugiate",  "tritato",      "tritata",
    "tritati",      "tritate",     "tritatissimo", "affettato",    "affettata",    "affettati",
    "affettate",    "sminuzzato",  "sminuzzata",   "sminuzzati",   "sminuzzate",   "fresco",
    "fresca",       "freschi",     "fresche",      "freschissimo", "freschissima", "freschissimi",
    "freschissime", "medio",       "media",        "medi",         "medie",        "grande",
    "grandi",       "piccolo",     "piccola",      "piccoli",      "piccole",      "maturo",
    "matura",       "maturi",      "mature",       "sgocciolato",  "sgocciolata",  "sgocciolati",
    "sgocciolate",  "sbucciato",   "sbucciata",    "sbucciati",    "sbucciate",    "lessato",
    "lessata",      "lessati",     "lessate",      "tiepido",      "tiepida",      "tiepidi",
    "tiepide",      "freddo",      "fredda",       "freddi",       "fredde",       "caldo",
    "calda",        "caldi",       "calde",        "morbido",      "morbida",      "morbidi",
    "morbide",      "ammorbidito", "ammorbidita",  "fuso",         "fusa",         "setacciato",
    "setacciata",   "ammollato",   "ammollata",    "ammollati",    "ammollate",    "lavato",
    "lavata",       "lavati",      "lavate",       "pulito",       "pulita",       "puliti",
    "pulite",       "spremuto",    "sbattuto",     "sbattuta",     "sbattute",     "chopped",
    "diced",        "minced",      "sliced",       "grated",       "shredded",     "fresh",
    "large",        "medium",      "small",        "softened",     "melted",       "beaten",
    "peeled",       "crushed",     "sifted",       "cold",         "warm",         "packed",
    "halved",       "quartered",   "cubed",        "rinsed",       "drained",      "ripe",
    "julienned",    "trimmed",     "toasted",      "zested",       "juiced"};

const char *const Avverbi[] = {"finely",    "roughly",         "coarsely",   "thinly",
                               "freshly",   "lightly",         "firmly",     "loosely",
                               "finemente", "grossolanamente", "sottilmente"};

const char *const Approssimati[] = {"circa", "about",  "approx", "approximately",
                                    "ca",    "around", "roughly"};

// Every word above once, with all it can be: a line's word is looked up by one hash.
QHash<QString, Voce> tavola()
{
    QHash<QString, Voce> t;
    const auto segna = [&t](const auto &parole, unsigned tipi) {
        for (const char *p : parole)
            t[QString::fromUtf8(p)].tipi |= tipi;
    };
    segna(Contenitori, Unita | Contenitore);
    segna(Misure, Unita);
    segna(Modificatori, Modificatore);
    segna(Descrittori, Descrittore);
    segna(Avverbi, Avverbio);
    segna(Approssimati, Approssimato);
    for (const auto &[p, x] : Numeri)
        t[QString::fromUtf8(p)].numero = x;
    return t;
}

// The word's entry, looked up in lower case. A final full stop is dropped ("gr.", "tsps."),
// except for numbers: "un." is no number. The words cooks write are ASCII, lowered here without
// building a string; any other goes through Qt's own rules of case.
Voce voce(QStringView parola)
{
    static const QHash<QString, Voce> voci = tavola();
    // Every word above starts with a letter: a quantity or a sign is looked up no further.
    if (parola.isEmpty() || !parola.front().isLetter())
        return {};
    QVarLengthArray<QChar, 32> basso;
    for (const QChar c : parola) {
        if (c.unicode() >= 0x80) {
            basso.clear();
            break;
        }
        basso.append(c.isUpper() ? c.toLower() : c);
    }
    QString chiave = basso.size() == parola.size()
                         ? QString::fromRawData(basso.constData(), basso.size())
                         : parola.toString().toLower();
    if (!chiave.endsWith(u'.'))
        return voci.value(chiave);
    Voce v = voci.value(QString::fromRawData(chiave.constData(), chiave.size() - 1));
    v.numero = 0;
    return v;
}

} // namespace

bool contenitore(QStringView parola)
{
    return voce(parola).tipi & Contenitore;
}

bool unita(QStringView parola)
{
    return voce(parola).tipi & Unita;
}

bool modificatore(QStringView parola)
{
    return voce(parola).tipi & Modificatore;
}

double numero(QStringView parola)
{
    return voce(parola).numero;
}

bool descrittore(QStringView parola)
{
    return voce(parola).tipi & Descrittore;
}

bool avverbio(QStringView parola)
{
    return voce(parola).tipi & Avverbio;
}

bool approssimato(QStringView parola)
{
    return voce(parola).tipi & Approssimato;
}

} // namespace ParoleCucina
