#include "formati/parolecucina.h"

#include <QHash>
#include <QSet>

namespace ParoleCucina {

namespace {

QString chiave(const QString &parola)
{
    QString p = parola.toLower();
    if (p.endsWith(u'.'))
        p.chop(1);
    return p;
}

QSet<QString> insieme(std::initializer_list<const char *> parole)
{
    QSet<QString> s;
    for (const char *p : parole)
        s.insert(QString::fromUtf8(p));
    return s;
}

const QSet<QString> &contenitori()
{
    static const QSet<QString> nomi =
        insieme({"barattolo",  "barattoli",  "confezione", "confezioni", "scatola",   "scatole",
                 "scatoletta", "scatolette", "lattina",    "lattine",    "vasetto",   "vasetti",
                 "busta",      "buste",      "bustina",    "bustine",    "vaschetta", "vaschette",
                 "bottiglia",  "bottiglie",  "tubetto",    "tubetti",    "can",       "cans",
                 "jar",        "jars",       "package",    "packages",   "packet",    "packets",
                 "box",        "boxes",      "bag",        "bags",       "bottle",    "bottles",
                 "container",  "containers", "carton",     "cartons",    "tin",       "tins"});
    return nomi;
}

} // namespace

bool contenitore(const QString &parola)
{
    return contenitori().contains(chiave(parola));
}

bool unita(const QString &parola)
{
    static const QSet<QString> nomi = insieme(
        {"g",          "gr",          "grammi",      "grammo",      "kg",          "chili",
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
         "pieces",     "strip",       "strips",      "knob",        "sheet",       "sheets"});
    const QString k = chiave(parola);
    return nomi.contains(k) || contenitori().contains(k);
}

bool modificatore(const QString &parola)
{
    static const QSet<QString> nomi =
        insieme({"raso",    "rasi",       "rasa",       "rase",   "colmo",    "colmi",  "colma",
                 "colme",   "abbondante", "abbondanti", "scarso", "scarsi",   "scarsa", "scarse",
                 "heaping", "heaped",     "level",      "scant",  "generous", "rounded"});
    return nomi.contains(chiave(parola));
}

double numero(const QString &parola)
{
    static const QHash<QString, double> valori = [] {
        QHash<QString, double> v;
        const std::pair<const char *, double> voci[] = {
            {"un", 1},      {"uno", 1},       {"una", 1},  {"un'", 1},     {"mezzo", 0.5},
            {"mezza", 0.5}, {"due", 2},       {"tre", 3},  {"quattro", 4}, {"cinque", 5},
            {"sei", 6},     {"sette", 7},     {"otto", 8}, {"nove", 9},    {"dieci", 10},
            {"dodici", 12}, {"a", 1},         {"an", 1},   {"one", 1},     {"two", 2},
            {"three", 3},   {"four", 4},      {"five", 5}, {"six", 6},     {"seven", 7},
            {"eight", 8},   {"nine", 9},      {"ten", 10}, {"twelve", 12}, {"half", 0.5},
            {"dozen", 12},  {"mezzetto", 0.5}};
        for (const auto &[p, x] : voci)
            v.insert(QString::fromUtf8(p), x);
        return v;
    }();
    return valori.value(parola.toLower(), 0);
}

bool descrittore(const QString &parola)
{
    static const QSet<QString> nomi =
        insieme({"grattugiato", "grattugiata",  "grattugiati",  "grattugiate",  "tritato",
                 "tritata",     "tritati",      "tritate",      "tritatissimo", "affettato",
                 "affettata",   "affettati",    "affettate",    "sminuzzato",   "sminuzzata",
                 "sminuzzati",  "sminuzzate",   "fresco",       "fresca",       "freschi",
                 "fresche",     "freschissimo", "freschissima", "freschissimi", "freschissime",
                 "medio",       "media",        "medi",         "medie",        "grande",
                 "grandi",      "piccolo",      "piccola",      "piccoli",      "piccole",
                 "maturo",      "matura",       "maturi",       "mature",       "sgocciolato",
                 "sgocciolata", "sgocciolati",  "sgocciolate",  "sbucciato",    "sbucciata",
                 "sbucciati",   "sbucciate",    "lessato",      "lessata",      "lessati",
                 "lessate",     "tiepido",      "tiepida",      "tiepidi",      "tiepide",
                 "freddo",      "fredda",       "freddi",       "fredde",       "caldo",
                 "calda",       "caldi",        "calde",        "morbido",      "morbida",
                 "morbidi",     "morbide",      "ammorbidito",  "ammorbidita",  "fuso",
                 "fusa",        "setacciato",   "setacciata",   "ammollato",    "ammollata",
                 "ammollati",   "ammollate",    "lavato",       "lavata",       "lavati",
                 "lavate",      "pulito",       "pulita",       "puliti",       "pulite",
                 "spremuto",    "sbattuto",     "sbattuta",     "sbattute",     "chopped",
                 "diced",       "minced",       "sliced",       "grated",       "shredded",
                 "fresh",       "large",        "medium",       "small",        "softened",
                 "melted",      "beaten",       "peeled",       "crushed",      "sifted",
                 "cold",        "warm",         "packed",       "halved",       "quartered",
                 "cubed",       "rinsed",       "drained",      "ripe",         "julienned",
                 "trimmed",     "toasted",      "zested",       "juiced"});
    return nomi.contains(chiave(parola));
}

bool avverbio(const QString &parola)
{
    static const QSet<QString> nomi =
        insieme({"finely", "roughly", "coarsely", "thinly", "freshly", "lightly", "firmly",
                 "loosely", "finemente", "grossolanamente", "sottilmente"});
    return nomi.contains(chiave(parola));
}

bool approssimato(const QString &parola)
{
    static const QSet<QString> nomi =
        insieme({"circa", "about", "approx", "approximately", "ca", "around", "roughly"});
    return nomi.contains(chiave(parola));
}

} // namespace ParoleCucina
