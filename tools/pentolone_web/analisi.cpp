// The page side of the web reader: libxml2's HTML parser, in its event (SAX) mode so no tree is
// built for the whole page, hands over the JSON-LD blocks, the microdata items and the texts;
// Qt reads the JSON.
#include "pentolone_web/analisi.h"

#include "formati/paginaweb.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <cstring>
#include <libxml/HTMLparser.h>
#include <libxml/parserInternals.h>

namespace PaginaWeb {

namespace {

// Recovers from any markup, never reaches the network, keeps quiet about errors, and takes the
// text as the UTF-8 it has been turned into, whatever the page declares.
constexpr int Opzioni = HTML_PARSE_RECOVER | HTML_PARSE_NOERROR | HTML_PARSE_NOWARNING |
                        HTML_PARSE_NONET | HTML_PARSE_IGNORE_ENC;

// Tags that start a line of text, and table cells, which are words apart, not glued.
enum class Forma { Nessuna, Blocco, Cella };

Forma forma(const char *tag)
{
    static const char *const blocchi[] = {"p",  "br", "li", "div",     "h1",     "h2",
                                          "h3", "h4", "h5", "h6",      "tr",     "ol",
                                          "ul", "dt", "dd", "section", "article"};
    for (const char *b : blocchi)
        if (std::strcmp(tag, b) == 0)
            return Forma::Blocco;
    return std::strcmp(tag, "td") == 0 || std::strcmp(tag, "th") == 0 ? Forma::Cella
                                                                      : Forma::Nessuna;
}

// Taken by value: a text the caller hands over is simplified in place.
QString righe(QString grezzo)
{
    if (!grezzo.contains(u'\n'))
        return std::move(grezzo).simplified();
    QStringList r;
    for (const QString &l : grezzo.split(u'\n')) {
        const QString s = l.simplified();
        if (!s.isEmpty())
            r << s;
    }
    return r.join(u'\n');
}

// "Recipe", "recipe", "https://schema.org/Recipe", "schema:Recipe".
bool tipoRicetta(QStringView t)
{
    const qsizetype da = qMax(t.lastIndexOf(u'/'), t.lastIndexOf(u':')) + 1;
    return t.mid(da).trimmed().compare(u"recipe", Qt::CaseInsensitive) == 0;
}

bool eRicetta(const QJsonValue &tipo)
{
    if (tipo.isArray()) {
        for (const QJsonValue &v : tipo.toArray())
            if (tipoRicetta(v.toString()))
                return true;
        return false;
    }
    return tipoRicetta(tipo.toString());
}

// Every Recipe object in a JSON-LD value: at its top, in a list, an @graph or nested in
// another object (a page's mainEntity).
void raccogli(const QJsonValue &v, QList<QJsonObject> &trovate)
{
    if (v.isArray()) {
        for (const QJsonValue &e : v.toArray())
            raccogli(e, trovate);
    } else if (v.isObject()) {
        const QJsonObject o = v.toObject();
        if (eRicetta(o.value(QLatin1String("@type")))) {
            trovate << o;
            return;
        }
        for (auto it = o.begin(); it != o.end(); ++it)
            raccogli(it.value(), trovate);
    }
}

// Follows the parser's events: the open elements, the microdata (or RDFa) items they open, the
// text of every element a property takes its value from, and the page's title.
class Lettore
{
public:
    QList<QJsonObject> jsonLd, microdati;
    QString testo; // the text gathered while some element collects it
    int raccoglitori = 0;
    QString titolo, titoloOg;
    QString problema;

    void leggi(const QByteArray &utf8)
    {
        htmlSAXHandler h{};
        h.startElement = [](void *c, const xmlChar *n, const xmlChar **a) {
            lettore(c).apri(reinterpret_cast<const char *>(n), a);
        };
        h.endElement = [](void *c, const xmlChar *n) {
            lettore(c).chiudi(reinterpret_cast<const char *>(n));
        };
        h.characters = h.ignorableWhitespace = h.cdataBlock = [](void *c, const xmlChar *t, int n) {
            lettore(c).caratteri(reinterpret_cast<const char *>(t), n);
        };
        htmlParserCtxtPtr ctx = htmlCreateMemoryParserCtxt(utf8.constData(), int(utf8.size()));
        if (!ctx)
            return;
        htmlSAXHandler *proprio = ctx->sax;
        ctx->sax = &h;
        ctx->userData = this;
        htmlCtxtUseOptions(ctx, Opzioni);
        if (xmlCharEncodingHandlerPtr c = xmlFindCharEncodingHandler("UTF-8"))
            xmlSwitchToEncoding(ctx, c);
        htmlParseDocument(ctx);
        ctx->sax = proprio;
        if (ctx->myDoc)
            xmlFreeDoc(ctx->myDoc);
        htmlFreeParserCtxt(ctx);
    }

private:
    // An item being read: each property's values in the page's order.
    struct Oggetto
    {
        QString tipo;
        QHash<QString, QJsonArray> valori;
    };
    struct Livello
    {
        enum { Altro, Script, Titolo } tipo = Altro;
        QStringList proprieta;
        bool oggetto = false, ricetta = false;
        qsizetype inizio = -1; // where its text starts in testo, -1 when it takes none
        QString valore;
    };
    QList<Livello> pila;
    QList<Oggetto> oggetti; // the open items, innermost last
    int ricetteAperte = 0;
    enum { Testo, Script, JsonLd, Titolo } dentro = Testo;
    QByteArray script_;

    // The parser hands each event its user data: this reader.
    static Lettore &lettore(void *dati) { return *static_cast<Lettore *>(dati); }

    static QJsonObject inOggetto(const Oggetto &o)
    {
        QJsonObject r{{QStringLiteral("@type"), o.tipo}};
        for (auto it = o.valori.begin(); it != o.valori.end(); ++it)
            r.insert(it.key(), it->size() == 1 ? it->at(0) : QJsonValue(*it));
        return r;
    }

    // A property's names: microdata's own, or RDFa's without their vocabulary.
    static QStringList nomi(const QString &attributo)
    {
        QStringList r;
        for (const QString &p : attributo.split(u' ', Qt::SkipEmptyParts))
            r << p.mid(qMax(p.lastIndexOf(u'/'), p.lastIndexOf(u':')) + 1);
        return r;
    }

    // An attribute's value, when the element has it (names as libxml2 gives them, lower case).
    static bool attributo(const xmlChar **a, const char *nome, QString *valore = nullptr)
    {
        for (; a && *a; a += 2)
            if (std::strcmp(reinterpret_cast<const char *>(a[0]), nome) == 0) {
                if (valore)
                    *valore =
                        a[1] ? QString::fromUtf8(reinterpret_cast<const char *>(a[1])) : QString();
                return true;
            }
        return false;
    }

    void apri(const char *tag, const xmlChar **a)
    {
        Livello l;
        const bool script = std::strcmp(tag, "script") == 0 || std::strcmp(tag, "style") == 0;
        if (script || std::strcmp(tag, "title") == 0) {
            QString tipo;
            attributo(a, "type", &tipo);
            dentro = !script ? Titolo
                     : tipo.section(u';', 0, 0).trimmed().toLower() ==
                             QLatin1String("application/ld+json")
                         ? JsonLd
                         : Script;
            l.tipo = script ? Livello::Script : Livello::Titolo;
            script_.clear();
            pila << l;
            return;
        }
        QString proprieta;
        if (std::strcmp(tag, "meta") == 0 && attributo(a, "property", &proprieta) &&
            proprieta == QLatin1String("og:title") && attributo(a, "content", &titoloOg))
            titoloOg = titoloOg.simplified();
        const Forma f = forma(tag);
        if (raccoglitori > 0 && f != Forma::Nessuna)
            testo += f == Forma::Blocco ? u'\n' : u' ';
        if (!oggetti.isEmpty() &&
            (attributo(a, "itemprop", &proprieta) || attributo(a, "property", &proprieta)))
            l.proprieta = nomi(proprieta);
        const bool scope = attributo(a, "itemscope");
        QString tipo;
        if ((scope && (attributo(a, "itemtype", &tipo), true)) || attributo(a, "typeof", &tipo)) {
            tipo = tipo.section(u' ', 0, 0);
            l.oggetto = true;
            l.ricetta = tipoRicetta(tipo);
            ricetteAperte += l.ricetta;
            oggetti << Oggetto{tipo.mid(qMax(tipo.lastIndexOf(u'/'), tipo.lastIndexOf(u':')) + 1),
                               {}};
        } else if (!l.proprieta.isEmpty()) {
            bool preso = false;
            for (const char *v : {"content", "datetime", "value"})
                preso = preso || attributo(a, v, &l.valore);
            if (!preso && (std::strcmp(tag, "a") == 0 || std::strcmp(tag, "link") == 0))
                preso = attributo(a, "href", &l.valore);
            if (!preso && std::strcmp(tag, "img") == 0)
                preso = attributo(a, "src", &l.valore);
            if (!preso) {
                l.inizio = testo.size();
                ++raccoglitori;
            }
        }
        pila << std::move(l);
    }

    void chiudi(const char *tag)
    {
        if (pila.isEmpty())
            return;
        const Livello l = pila.takeLast();
        if (l.tipo != Livello::Altro) {
            if (dentro == JsonLd)
                bloccoJson(script_);
            dentro = Testo;
            return;
        }
        QJsonValue v;
        if (l.oggetto) {
            v = inOggetto(oggetti.takeLast());
            ricetteAperte -= l.ricetta;
            if (l.ricetta && ricetteAperte == 0)
                microdati << v.toObject();
        } else if (l.inizio >= 0) {
            v = righe(testo.mid(l.inizio));
            if (--raccoglitori == 0)
                testo.clear();
        } else if (!l.proprieta.isEmpty()) {
            v = l.valore;
        }
        // The element's end breaks the line of the texts still gathered around it.
        const Forma f = forma(tag);
        if (raccoglitori > 0 && f != Forma::Nessuna)
            testo += f == Forma::Blocco ? u'\n' : u' ';
        if (!oggetti.isEmpty())
            for (const QString &p : l.proprieta)
                oggetti.last().valori[p].append(v);
    }

    // A JSON-LD block, read as browsers' pages write them; one that cannot be read is skipped,
    // as the page may hold a good one beside it, and what it was is told when nothing is found.
    void bloccoJson(const QByteArray &grezzo)
    {
        QJsonParseError errore;
        const QJsonDocument json = QJsonDocument::fromJson(jsonTollerante(grezzo), &errore);
        if (errore.error == QJsonParseError::NoError) {
            raccogli(json.isArray() ? QJsonValue(json.array()) : QJsonValue(json.object()), jsonLd);
        } else if (problema.isEmpty() && grezzo.contains("ecipe")) {
            problema = errore.error == QJsonParseError::DeepNesting
                           ? QStringLiteral("i suoi dati sono annidati in troppi livelli")
                           : QStringLiteral("i suoi dati sono scritti male (al carattere %1)")
                                 .arg(errore.offset + 1);
        }
    }

    void caratteri(const char *t, int n)
    {
        if (dentro == JsonLd) {
            script_.append(t, n);
        } else if (dentro == Titolo) {
            titolo += QString::fromUtf8(t, n);
        } else if (dentro == Testo && raccoglitori > 0) {
            // The page's own line breaks are blanks, as a browser shows them.
            QString s = QString::fromUtf8(t, n);
            for (QChar &c : s)
                if (c == u'\n' || c == u'\r' || c == u'\t')
                    c = u' ';
            testo += s;
        }
    }
};

} // namespace

QString testo(QString t)
{
    // A NUL would end the text for the parser; no cook's text holds one.
    t.remove(QChar(0));
    if (!t.contains(u'<') && !t.contains(u'&'))
        return righe(std::move(t));
    Lettore l;
    l.raccoglitori = 1; // all of it
    l.leggi(t.toUtf8());
    return righe(std::move(l.testo));
}

QList<QJsonObject> oggettiRicetta(const QByteArray &pagina, QString *problema)
{
    Lettore l;
    l.leggi(inUtf8(pagina));
    if (problema)
        *problema = l.problema;
    // A recipe has a name, ingredients or steps: an object with none of them (a rating's stub)
    // is none. JSON-LD first: microdata on the same page are most often the same recipe again.
    const auto piena = [](const QJsonObject &o) {
        for (const char *p : {"name", "recipeIngredient", "ingredients", "recipeInstructions"})
            if (!proprieta(o, p).isUndefined())
                return true;
        return false;
    };
    QList<QJsonObject> r;
    for (const QList<QJsonObject> *gruppo : {&l.jsonLd, &l.microdati})
        if (r.isEmpty())
            std::copy_if(gruppo->cbegin(), gruppo->cend(), std::back_inserter(r), piena);
    const QString titolo = !l.titoloOg.isEmpty() ? l.titoloOg : righe(l.titolo);
    for (QJsonObject &o : r)
        if (primo(proprieta(o, "name")).isEmpty())
            o.insert(QStringLiteral("name"), titolo);
    return r;
}

QList<RicettaEstera> ricette(const QByteArray &pagina, const QString &indirizzo, QString *problema)
{
    QList<RicettaEstera> r;
    for (const QJsonObject &o : oggettiRicetta(pagina, problema)) {
        const RicettaEstera x = ricetta(o, indirizzo);
        // The same recipe given twice (in an @graph and again alone) is one.
        const bool doppia = std::any_of(r.cbegin(), r.cend(), [&x](const RicettaEstera &y) {
            return x.nome.compare(y.nome, Qt::CaseInsensitive) == 0 &&
                   (x.ingredientiTesto == y.ingredientiTesto || x.istruzioni == y.istruzioni);
        });
        if (!doppia)
            r << x;
    }
    return r;
}

} // namespace PaginaWeb
