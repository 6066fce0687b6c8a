// The page side of the web reader: libxml2's HTML parser finds the JSON-LD blocks and the
// microdata items; Qt reads the JSON.
#include "formati/paginaweb.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QRegularExpression>
#include <libxml/HTMLparser.h>
#include <memory>

namespace PaginaWeb {

namespace {

struct LiberaDoc
{
    void operator()(xmlDoc *d) const { xmlFreeDoc(d); }
};
using Documento = std::unique_ptr<xmlDoc, LiberaDoc>;

// Recovers from any markup, never reaches the network, keeps quiet about errors.
constexpr int Opzioni = HTML_PARSE_RECOVER | HTML_PARSE_NOERROR | HTML_PARSE_NOWARNING |
                        HTML_PARSE_NONET | HTML_PARSE_COMPACT;

Documento analizza(const QByteArray &html)
{
    // Without a declared charset libxml2 would take Latin-1; pages today are UTF-8.
    const bool dichiarato = html.left(2048).toLower().contains("charset");
    return Documento(htmlReadMemory(html.constData(), int(html.size()), nullptr,
                                    dichiarato ? nullptr : "UTF-8", Opzioni));
}

QString nome(const xmlNode *n)
{
    return QString::fromUtf8(reinterpret_cast<const char *>(n->name)).toLower();
}

QString attributo(const xmlNode *n, const char *a)
{
    xmlChar *v = xmlGetProp(n, reinterpret_cast<const xmlChar *>(a));
    if (!v)
        return {};
    const QString s = QString::fromUtf8(reinterpret_cast<const char *>(v));
    xmlFree(v);
    return s;
}

bool haAttributo(const xmlNode *n, const char *a)
{
    return xmlHasProp(n, reinterpret_cast<const xmlChar *>(a)) != nullptr;
}

bool blocco(const QString &tag)
{
    static const QStringList blocchi{"p",  "br", "li", "div", "h1", "h2", "h3",      "h4",     "h5",
                                     "h6", "tr", "ol", "ul",  "dt", "dd", "section", "article"};
    return blocchi.contains(tag);
}

// The text under n, a line break at each block; scripts and styles are no text.
void accumula(const xmlNode *n, QString &fuori)
{
    for (const xmlNode *c = n->children; c; c = c->next) {
        if (c->type == XML_TEXT_NODE || c->type == XML_CDATA_SECTION_NODE) {
            fuori += QString::fromUtf8(reinterpret_cast<const char *>(c->content));
        } else if (c->type == XML_ELEMENT_NODE) {
            const QString tag = nome(c);
            if (tag == QLatin1String("script") || tag == QLatin1String("style"))
                continue;
            const bool b = blocco(tag);
            if (b)
                fuori += u'\n';
            accumula(c, fuori);
            if (b)
                fuori += u'\n';
        }
    }
}

QString righe(const QString &grezzo)
{
    QStringList r;
    for (const QString &l : grezzo.split(u'\n')) {
        const QString s = l.simplified();
        if (!s.isEmpty())
            r << s;
    }
    return r.join(u'\n');
}

QString testoDi(const xmlNode *n)
{
    QString t;
    accumula(n, t);
    return righe(t);
}

template <typename F> void perOgniElemento(xmlNode *n, F &&f)
{
    for (xmlNode *c = n; c; c = c->next)
        if (c->type == XML_ELEMENT_NODE && f(c))
            perOgniElemento(c->children, f);
}

bool eRicetta(const QJsonValue &tipo)
{
    const auto uno = [](const QString &t) {
        return t == QLatin1String("Recipe") || t.endsWith(QLatin1String("/Recipe")) ||
               t.endsWith(QLatin1String(":Recipe"));
    };
    if (tipo.isArray()) {
        for (const QJsonValue &v : tipo.toArray())
            if (uno(v.toString()))
                return true;
        return false;
    }
    return uno(tipo.toString());
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

// A microdata property's value, by the element that carries it.
QJsonValue valore(xmlNode *n);

// A microdata item as JSON-LD would give it: properties by name, repeated ones in a list.
QJsonObject oggetto(xmlNode *item)
{
    QJsonObject o;
    const QString tipo = attributo(item, "itemtype").section(u' ', 0, 0);
    o.insert(QLatin1String("@type"), tipo.section(u'/', -1));
    perOgniElemento(item->children, [&o](xmlNode *c) {
        const QString proprieta = attributo(c, "itemprop").simplified();
        for (const QString &p : proprieta.split(u' ', Qt::SkipEmptyParts)) {
            const QJsonValue v = valore(c);
            if (!o.contains(p))
                o.insert(p, v);
            else {
                QJsonArray a = o.value(p).isArray() ? o.value(p).toArray() : QJsonArray{o.value(p)};
                a.append(v);
                o.insert(p, a);
            }
        }
        // A nested item's properties are its own.
        return !haAttributo(c, "itemscope");
    });
    return o;
}

QJsonValue valore(xmlNode *n)
{
    if (haAttributo(n, "itemscope"))
        return oggetto(n);
    const QString tag = nome(n);
    for (const char *a : {"content", "datetime", "value"})
        if (haAttributo(n, a))
            return attributo(n, a);
    if (tag == QLatin1String("a") || tag == QLatin1String("link"))
        return attributo(n, "href");
    if (tag == QLatin1String("img"))
        return attributo(n, "src");
    return testoDi(n);
}

} // namespace

bool riconosci(const QByteArray &inizio)
{
    static const QRegularExpression pagina(
        QStringLiteral("^\\s*(<!--.*?-->\\s*)*<(!doctype\\s+html|html|head|body|meta|title)[\\s>]"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
    QByteArray testa = inizio.left(4096);
    if (testa.startsWith("\xEF\xBB\xBF"))
        testa.remove(0, 3);
    return pagina.match(QString::fromUtf8(testa)).hasMatch();
}

bool riconosciFile(const QString &percorso)
{
    QFile f(percorso);
    return f.open(QIODevice::ReadOnly) && riconosci(f.read(4096));
}

QString testo(const QString &html)
{
    if (!html.contains(u'<') && !html.contains(u'&'))
        return righe(html);
    const QByteArray utf8 = html.toUtf8();
    const Documento doc(
        htmlReadMemory(utf8.constData(), int(utf8.size()), nullptr, "UTF-8", Opzioni));
    const xmlNode *radice = doc ? xmlDocGetRootElement(doc.get()) : nullptr;
    return radice ? testoDi(radice) : righe(html);
}

QList<QJsonObject> oggettiRicetta(const QByteArray &pagina)
{
    const Documento doc = analizza(pagina);
    xmlNode *radice = doc ? xmlDocGetRootElement(doc.get()) : nullptr;
    if (!radice)
        return {};
    QList<QJsonObject> trovate;
    QList<xmlNode *> microdati;
    perOgniElemento(radice, [&](xmlNode *n) {
        if (nome(n) == QLatin1String("script")) {
            if (attributo(n, "type").section(u';', 0, 0).trimmed().toLower() ==
                QLatin1String("application/ld+json")) {
                xmlChar *c = xmlNodeGetContent(n);
                // A broken block is skipped: the page may hold a good one beside it.
                QJsonParseError errore;
                const QJsonDocument json =
                    QJsonDocument::fromJson(QByteArray(reinterpret_cast<const char *>(c)), &errore);
                xmlFree(c);
                if (errore.error == QJsonParseError::NoError)
                    raccogli(json.isArray() ? QJsonValue(json.array()) : QJsonValue(json.object()),
                             trovate);
            }
            return false;
        }
        if (haAttributo(n, "itemscope") &&
            attributo(n, "itemtype").contains(QLatin1String("schema.org/Recipe"))) {
            microdati << n;
            return false;
        }
        return true;
    });
    if (trovate.isEmpty())
        for (xmlNode *n : microdati)
            trovate << oggetto(n);
    return trovate;
}

QList<RicettaEstera> ricette(const QByteArray &pagina, const QString &indirizzo)
{
    QList<RicettaEstera> r;
    for (const QJsonObject &o : oggettiRicetta(pagina))
        r << ricetta(o, indirizzo);
    return r;
}

} // namespace PaginaWeb
