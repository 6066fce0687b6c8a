// A schema.org Recipe in the book's terms: which property fills which column, and how.
#include "formati/paginaweb.h"
#include "formati/rigaingrediente.h"
#include "toolkit/maiuscole.h"

#include <QJsonArray>
#include <QRegularExpression>

namespace PaginaWeb {

namespace {

const QString FineRiga = QStringLiteral("\r\n");

// A property's values, whether the page gave one or a list.
QJsonArray lista(const QJsonValue &v)
{
    if (v.isArray())
        return v.toArray();
    return v.isUndefined() || v.isNull() ? QJsonArray() : QJsonArray{v};
}

// A value as text: a string, a number, or an object's name (an author, a tool).
QString semplice(const QJsonValue &v)
{
    if (v.isDouble())
        return QString::number(v.toDouble());
    if (v.isObject()) {
        const QJsonObject o = v.toObject();
        return semplice(o.contains(QLatin1String("name")) ? o.value(QLatin1String("name"))
                                                          : o.value(QLatin1String("text")));
    }
    return testo(v.toString()).replace(u'\n', u' ');
}

QStringList testi(const QJsonValue &v)
{
    QStringList r;
    for (const QJsonValue &e : lista(v))
        if (const QString t = semplice(e); !t.isEmpty())
            r << t;
    return r;
}

// At most n characters, cut after a whole word when there is one.
QString taglia(const QString &t, int n)
{
    if (t.size() <= n)
        return t;
    const qsizetype spazio = t.left(n + 1).lastIndexOf(u' ');
    return t.left(spazio > 0 ? spazio : n).trimmed();
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
    const QString totale = semplice(o.value(QLatin1String("totalTime")));
    if (!totale.isEmpty())
        return minuti(totale) >= 0 ? inParole(minuti(totale)) : totale;
    const qint64 prep = minuti(semplice(o.value(QLatin1String("prepTime"))));
    const qint64 cottura = minuti(semplice(o.value(QLatin1String("cookTime"))));
    return prep < 0 && cottura < 0 ? QString()
                                   : inParole(qMax<qint64>(0, prep) + qMax<qint64>(0, cottura));
}

// "4", 4, "4 porzioni", ["8", "8 fette"], "Makes 12 (4 servings)": the number next to a word
// for portions, else the first number; 4 when none can be read.
int porzioni(const QJsonValue &v)
{
    static const QRegularExpression numero(QStringLiteral("\\d+"));
    static const QRegularExpression conParola(
        QStringLiteral("(\\d+)\\s*(porzion|person|serving|people|pers\\b)|(serves|per)\\s+(\\d+)"),
        QRegularExpression::CaseInsensitiveOption);
    int primo = 0;
    for (const QString &t : testi(v)) {
        if (const auto m = conParola.match(t); m.hasMatch())
            return qMax(1, (m.hasCaptured(1) ? m.captured(1) : m.captured(4)).toInt());
        if (const auto m = numero.match(t); m.hasMatch() && primo == 0)
            primo = m.captured(0).toInt();
    }
    return primo > 0 && primo < 10000 ? primo : 4;
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
    calorie = numero.match(semplice(n.value(QLatin1String("calories")))).captured(0).toInt();
    QStringList righe;
    for (const auto &[chiave, nome] : voci)
        if (const QString v = semplice(n.value(QLatin1String(chiave))); !v.isEmpty())
            righe << QStringLiteral("%1: %2").arg(QLatin1String(nome), v);
    return righe.join(FineRiga);
}

// Instructions as text, steps or sections (a section's name as a heading), one step a line.
void passi(const QJsonValue &v, QStringList &righe)
{
    for (const QJsonValue &e : lista(v)) {
        const QJsonObject o = e.toObject();
        if (!e.isObject()) {
            righe << testo(e.toString()).split(u'\n', Qt::SkipEmptyParts);
        } else if (o.contains(QLatin1String("itemListElement"))) {
            if (const QString titolo = semplice(o.value(QLatin1String("name"))); !titolo.isEmpty())
                righe << titolo + u':';
            passi(o.value(QLatin1String("itemListElement")), righe);
        } else {
            const QJsonValue t = o.contains(QLatin1String("text")) ? o.value(QLatin1String("text"))
                                                                   : o.value(QLatin1String("name"));
            righe << testo(t.toString()).split(u'\n', Qt::SkipEmptyParts);
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

} // namespace

RicettaEstera ricetta(const QJsonObject &o, const QString &indirizzo)
{
    const auto campo = [&o](const char *nome) { return o.value(QLatin1String(nome)); };
    RicettaEstera r;
    const QString nome = semplice(campo("name"));
    r.nome = taglia(nome, 50);
    QStringList descrizione = testi(campo("description"));
    // A name too long for its column is kept whole in the description.
    if (r.nome != nome)
        descrizione.prepend(nome + QLatin1String(" -"));
    const QString tutta = descrizione.join(u' ');
    r.descrizione = taglia(tutta, 255);
    r.preparataDa = taglia(testi(campo("author")).join(QLatin1String(", ")), 50);
    r.categoria = maiuscolaIniziale(testi(campo("recipeCategory")).value(0));
    QStringList pasto = testi(campo("recipeCuisine"));
    if (pasto.isEmpty())
        pasto = testi(campo("recipeCourse"));
    r.tipoPasto = taglia(maiuscolaIniziale(pasto.join(QLatin1String(", "))), 50);
    r.vegetariana = vegetariana(campo("suitableForDiet"));
    r.tempo = taglia(tempo(o), 50);
    r.porzioni = porzioni(campo("recipeYield"));
    r.informazioni = nutrizione(campo("nutrition").toObject(), r.calorie);

    QStringList ingredienti;
    const QJsonValue dati = o.contains(QLatin1String("recipeIngredient"))
                                ? campo("recipeIngredient")
                                : campo("ingredients");
    for (const QJsonValue &v : lista(dati))
        ingredienti << testo(v.toString()).split(u'\n', Qt::SkipEmptyParts);
    r.ingredientiTesto = ingredienti.join(FineRiga);
    for (const QString &l : ingredienti) {
        // A line with no ingredient in it stays in the free text above, where the cook reads it.
        if (const RigaEstera riga = RigaIngrediente::leggi(l); !riga.ingrediente.isEmpty())
            r.righe << riga;
    }
    QStringList istruzioni;
    passi(campo("recipeInstructions"), istruzioni);
    r.istruzioni = istruzioni.join(FineRiga);
    r.utensili = taglia(testi(campo("tool")).join(QLatin1String(", ")), 255);
    QStringList note{QStringLiteral("Fonte: ") + indirizzo};
    // Nothing of a description is lost to its column's width.
    if (r.descrizione != tutta)
        note << tutta;
    r.note = note.join(FineRiga);
    return r;
}

} // namespace PaginaWeb
