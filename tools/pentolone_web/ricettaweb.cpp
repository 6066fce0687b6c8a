// A schema.org Recipe in the book's terms: which property fills which column, and how.
#include "pentolone_web/analisi.h"

#include "formati/rigaingrediente.h"
#include "storage/schema.h"
#include "toolkit/maiuscole.h"

#include <QJsonArray>
#include <QRegularExpression>
#include <QSet>
#include <algorithm>

namespace PaginaWeb {

namespace {

const QString FineRiga = QStringLiteral("\r\n");

// A property's values, whether the page gave one, a list, or lists in a list (groups).
QJsonArray lista(const QJsonValue &v)
{
    if (!v.isArray())
        return v.isUndefined() || v.isNull() ? QJsonArray() : QJsonArray{v};
    // Most lists hold no list: they are taken as they are, not copied value by value.
    const QJsonArray a = v.toArray();
    if (std::none_of(a.begin(), a.end(), [](const auto &e) { return e.isArray(); }))
        return a;
    QJsonArray r;
    for (const QJsonValue &e : a) {
        if (e.isArray()) {
            for (const QJsonValue &x : lista(e))
                r.append(x);
        } else {
            r.append(e);
        }
    }
    return r;
}

// A text as a cook reads it: a doubly escaped entity ("&amp;amp;") is decoded to the end.
QString inChiaro(QString html)
{
    static const QRegularExpression entita(
        QStringLiteral("&(?:[a-zA-Z]+\\d*|#\\d+|#[xX][0-9a-fA-F]+);"));
    QString t = testo(std::move(html));
    for (int giro = 0; giro < 2 && t.contains(u'&') && t.contains(entita); ++giro)
        t = testo(std::move(t));
    return t;
}

// A value as text: a string, a number, an object's name (an author, a tool) or its value with
// its unit (a QuantitativeValue); the first of a list where one is wanted.
QString semplice(const QJsonValue &v)
{
    if (v.isDouble())
        return QString::number(v.toDouble());
    if (v.isArray())
        return primo(v);
    if (v.isObject()) {
        const QJsonObject o = v.toObject();
        for (const char *p : {"name", "text", "@value"})
            if (const QString t = semplice(proprieta(o, p)); !t.isEmpty())
                return t;
        const QString valore = semplice(proprieta(o, "value"));
        const QString unita = semplice(proprieta(o, "unitText"));
        return unita.isEmpty() || valore.isEmpty() ? valore : valore + u' ' + unita;
    }
    return inChiaro(v.toString()).replace(u'\n', u' ');
}

QStringList testi(const QJsonValue &v)
{
    QStringList r;
    for (const QJsonValue &e : lista(v))
        if (const QString t = semplice(e); !t.isEmpty())
            r << t;
    return r;
}

// At most as many characters as the book's column holds (its declared width, "VARCHAR(50)"),
// cut after a whole word when there is one, without the comma or dash the cut leaves at its end.
QString taglia(const QString &t, Schema::ColonnaRicetta colonna)
{
    const int n = Schema::larghezza(Schema::Ricette, colonna);
    if (n == 0 || t.size() <= n) // a TEXT column holds any length
        return t;
    const qsizetype spazio = t.left(n + 1).lastIndexOf(u' ');
    QString r = t.left(spazio > 0 ? spazio : n).trimmed();
    while (r.size() > 1 && QStringLiteral(",;:-\u2013\u2014(/").contains(r.back()))
        r = r.chopped(1).trimmed();
    return r;
}

QString unitaTempo(qint64 n, const char *uno, const char *tanti)
{
    return QStringLiteral("%1 %2").arg(n).arg(QLatin1String(n == 1 ? uno : tanti));
}

// ISO 8601 durations ("PT1H10M") in minutes; -1 for any other text.
qint64 minuti(const QString &durata)
{
    static const QRegularExpression iso(
        QStringLiteral("^P(?:(\\d+)D)?(?:T(?:(\\d+)H)?(?:(\\d+)M)?(?:(\\d+(?:\\.\\d+)?)S)?)?$"),
        QRegularExpression::CaseInsensitiveOption);
    const auto m = iso.match(durata.trimmed());
    if (!m.hasMatch() || durata.trimmed().size() < 3)
        return -1;
    return m.captured(1).toLongLong() * 1440 + m.captured(2).toLongLong() * 60 +
           m.captured(3).toLongLong() + (m.captured(4).toDouble() >= 30 ? 1 : 0);
}

// "1 ora e 10 minuti", "1 giorno, 2 ore e 5 minuti".
QString inParole(qint64 m)
{
    QStringList parti;
    if (m >= 1440)
        parti << unitaTempo(m / 1440, "giorno", "giorni");
    if (m % 1440 >= 60)
        parti << unitaTempo(m % 1440 / 60, "ora", "ore");
    if (m % 60 || parti.isEmpty())
        parti << unitaTempo(m % 60, "minuto", "minuti");
    const QString ultima = parti.takeLast();
    return parti.isEmpty() ? ultima : parti.join(QLatin1String(", ")) + " e " + ultima;
}

QString tempo(const QJsonObject &o)
{
    const QString totale = semplice(proprieta(o, "totalTime"));
    if (!totale.isEmpty())
        return minuti(totale) >= 0 ? inParole(minuti(totale)) : totale;
    const qint64 prep = minuti(semplice(proprieta(o, "prepTime")));
    const qint64 cottura = minuti(semplice(proprieta(o, "cookTime")));
    return prep < 0 && cottura < 0 ? QString()
                                   : inParole(qMax<qint64>(0, prep) + qMax<qint64>(0, cottura));
}

// "4", 4, "4 porzioni", ["8", "8 fette"], "Serves 4-6", a QuantitativeValue: the number next to
// a word for portions, else the first number that is not a weight or a volume ("750 g di crema"),
// the first of a range; 4 when none can be read. A yield that says more than the portions is
// kept in the notes.
int porzioni(const QJsonValue &v, QStringList &note)
{
    static const QRegularExpression dopo(
        QStringLiteral("(\\d+)(?:\\s*(?:-|\u2013|/|a|to|o|or)\\s*\\d+)?\\s*"
                       "(?:porzion|person|serving|people|pers\\b|coperti|dosi|portions)"),
        QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression prima(
        QStringLiteral("(?:serves|per|makes|for|dosi per|porzioni|servings|yield)\\s*:?\\s*(\\d+)"),
        QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression numero(
        QStringLiteral("(\\d+)(?:[.,]\\d+)?\\s*(?:(?:-|\u2013|a|to)\\s*\\d+\\s*)?([^\\d\\s]*)"),
        QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression solo(
        QStringLiteral("^(?:serves|per|makes|for)?\\s*\\d+\\s*(?:porzion[ei]|person[ae]|"
                       "servings?|people|pers\\.?|coperti)?$"),
        QRegularExpression::CaseInsensitiveOption);
    static const QStringList misure{
        "g",     "gr",     "gr.",  "grammi", "kg",    "ml",     "cl", "dl",   "l",     "lt",
        "litri", "litro",  "cup",  "cups",   "oz",    "ounces", "lb", "lbs",  "pound", "pounds",
        "quart", "quarts", "pint", "pints",  "tazze", "tazza",  "cm", "inch", "mg",    "kcal"};
    const QStringList t = testi(v);
    int trovate = 0;
    for (const QRegularExpression *parola : {&dopo, &prima})
        for (qsizetype i = 0; i < t.size() && trovate == 0; ++i)
            if (const auto m = parola->match(t.at(i)); m.hasMatch())
                trovate = m.captured(1).toInt();
    for (qsizetype i = 0; i < t.size() && trovate == 0; ++i)
        for (auto it = numero.globalMatch(t.at(i)); it.hasNext() && trovate == 0;) {
            const auto m = it.next();
            if (!misure.contains(m.captured(2).toLower()))
                trovate = m.captured(1).toInt();
        }
    if (trovate > 1000)
        trovate = 0;
    if (!t.isEmpty() && (trovate == 0 || std::none_of(t.cbegin(), t.cend(), [](const QString &x) {
                             return solo.match(x.trimmed()).hasMatch();
                         })))
        note << QStringLiteral("Resa: ") + t.join(QLatin1String(", "));
    return trovate > 0 ? trovate : 4;
}

// The nutrition values other than calories, one a line with its Italian name.
QString nutrizione(const QJsonObject &n, int &calorie)
{
    static const QList<std::pair<const char *, const char *>> voci{
        {"servingSize", "Porzione"},
        {"fatContent", "Grassi"},
        {"saturatedFatContent", "Grassi saturi"},
        {"unsaturatedFatContent", "Grassi insaturi"},
        {"transFatContent", "Grassi trans"},
        {"carbohydrateContent", "Carboidrati"},
        {"sugarContent", "Zuccheri"},
        {"fiberContent", "Fibre"},
        {"proteinContent", "Proteine"},
        {"cholesterolContent", "Colesterolo"},
        {"sodiumContent", "Sodio"}};
    static const QRegularExpression numero(QStringLiteral("\\d+"));
    calorie = numero.match(semplice(proprieta(n, "calories"))).captured(0).toInt();
    QStringList righe;
    for (const auto &[chiave, nome] : voci)
        if (const QString v = semplice(proprieta(n, chiave)); !v.isEmpty())
            righe << QStringLiteral("%1: %2").arg(QLatin1String(nome), v);
    return righe.join(FineRiga);
}

// Instructions as text, steps or sections (a section's name as a heading), one step a line.
void passi(const QJsonValue &v, QStringList &righe)
{
    for (const QJsonValue &e : lista(v)) {
        const QJsonObject o = e.toObject();
        if (!e.isObject()) {
            righe << inChiaro(e.toString()).split(u'\n', Qt::SkipEmptyParts);
        } else if (!proprieta(o, "itemListElement").isUndefined()) {
            if (const QString titolo = semplice(proprieta(o, "name")); !titolo.isEmpty())
                righe << titolo + u':';
            passi(proprieta(o, "itemListElement"), righe);
        } else {
            // A step's text; its name only when it has none (the name is most often the text's
            // start).
            const QJsonValue t =
                proprieta(o, "text").isUndefined() ? proprieta(o, "name") : proprieta(o, "text");
            righe << inChiaro(t.toString()).split(u'\n', Qt::SkipEmptyParts);
        }
    }
}

bool vegetariana(const QJsonValue &v)
{
    for (const QString &d : testi(v))
        if (d.endsWith(QLatin1String("VegetarianDiet")) || d.endsWith(QLatin1String("VeganDiet")))
            return true;
    return false;
}

// Ingredient lines: each item of a list is one line, whatever breaks its text holds; a group
// ("Per la crema" and its lines) gives its name as a heading; a single text is a line a row.
void ingredienti(const QJsonValue &v, QStringList &righe)
{
    if (v.isString()) {
        righe << inChiaro(v.toString()).split(u'\n', Qt::SkipEmptyParts);
        return;
    }
    for (const QJsonValue &e : lista(v)) {
        const QJsonObject o = e.toObject();
        if (e.isObject() && !proprieta(o, "itemListElement").isUndefined()) {
            if (const QString titolo = semplice(proprieta(o, "name")); !titolo.isEmpty())
                righe << titolo + u':';
            ingredienti(lista(proprieta(o, "itemListElement")), righe);
        } else if (const QString t = semplice(e); !t.isEmpty()) {
            righe << t;
        }
    }
}

} // namespace

QJsonValue proprieta(const QJsonObject &o, const char *nome)
{
    const QLatin1String chiave(nome);
    QJsonValue v = o.value(chiave);
    if (v.isUndefined())
        for (auto it = o.begin(); it != o.end(); ++it)
            if (it.key().compare(chiave, Qt::CaseInsensitive) == 0) {
                v = it.value();
                break;
            }
    const bool vuoto = v.isNull() || (v.isString() && v.toString().trimmed().isEmpty()) ||
                       (v.isArray() && v.toArray().isEmpty());
    return vuoto ? QJsonValue(QJsonValue::Undefined) : v;
}

QString primo(const QJsonValue &v)
{
    for (const QJsonValue &e : lista(v))
        if (const QString t = semplice(e); !t.isEmpty())
            return t;
    return {};
}

RicettaEstera ricetta(const QJsonObject &o, const QString &indirizzo)
{
    const auto campo = [&o](const char *nome) { return proprieta(o, nome); };
    RicettaEstera r;
    QStringList note{QStringLiteral("Fonte: ") + indirizzo};
    const QString nome = semplice(campo("name"));
    r.nome = taglia(nome, Schema::NomeRicetta);
    QStringList descrizione = testi(campo("description"));
    // A name too long for its column is kept whole in the description.
    if (r.nome != nome)
        descrizione.prepend(nome + QLatin1String(" -"));
    const QString tutta = descrizione.join(u' ');
    r.descrizione = taglia(tutta, Schema::DescrizioneRicetta);
    r.preparataDa = taglia(testi(campo("author")).join(QLatin1String(", ")), Schema::Preparata_da);
    r.categoria = maiuscolaIniziale(testi(campo("recipeCategory")).value(0));
    // The meal type is the course (antipasto, primo, dolce); the cuisine is a note.
    QStringList pasto = testi(campo("recipeCourse"));
    if (pasto.isEmpty())
        pasto = testi(campo("recipeCategory"));
    r.tipoPasto = taglia(maiuscolaIniziale(pasto.join(QLatin1String(", "))), Schema::TipoPasto);
    if (const QStringList cucina = testi(campo("recipeCuisine")); !cucina.isEmpty())
        note << QStringLiteral("Cucina: ") + cucina.join(QLatin1String(", "));
    r.vegetariana = vegetariana(campo("suitableForDiet"));
    r.tempo = taglia(tempo(o), Schema::TempoPreparazione);
    r.porzioni = porzioni(campo("recipeYield"), note);
    r.informazioni = nutrizione(campo("nutrition").toObject(), r.calorie);

    // Pages that give both the new property and the old one may give different lines.
    QStringList righe;
    ingredienti(campo("recipeIngredient"), righe);
    QStringList vecchie;
    ingredienti(campo("ingredients"), vecchie);
    if (!vecchie.isEmpty()) {
        // Looked up by their folded case, so two long lists cost their length, not its square.
        QSet<QString> viste;
        for (const QString &l : std::as_const(righe))
            viste.insert(l.toCaseFolded());
        for (const QString &l : vecchie)
            if (!viste.contains(l.toCaseFolded())) {
                viste.insert(l.toCaseFolded());
                righe << l;
            }
    }
    r.ingredientiTesto = righe.join(FineRiga);
    for (const QString &l : righe) {
        // A line with no ingredient in it stays in the free text above, where the cook reads it.
        if (const RigaEstera riga = RigaIngrediente::leggi(l); !riga.ingrediente.isEmpty())
            r.righe << riga;
    }
    QStringList istruzioni;
    passi(campo("recipeInstructions"), istruzioni);
    r.istruzioni = istruzioni.join(FineRiga);
    r.utensili = taglia(testi(campo("tool")).join(QLatin1String(", ")), Schema::Utensili);
    // Nothing of a description is lost to its column's width.
    if (r.descrizione != tutta)
        note << tutta;
    r.note = note.join(FineRiga);
    return r;
}

} // namespace PaginaWeb
