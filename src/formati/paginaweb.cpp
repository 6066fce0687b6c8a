// The page side of the web reader: libxml2's HTML parser, in its event (SAX) mode so no tree is
// built for the whole page, hands over the JSON-LD blocks, the microdata items and the texts;
// Qt reads the JSON.
#include "formati/paginaweb.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QRegularExpression>
#include <libxml/HTMLparser.h>
#include <libxml/parserInternals.h>

namespace PaginaWeb {

namespace {

// Recovers from any markup, never reaches the network, keeps quiet about errors.
constexpr int Opzioni =
    HTML_PARSE_RECOVER | HTML_PARSE_NOERROR | HTML_PARSE_NOWARNING | HTML_PARSE_NONET;

bool blocco(const char *tag)
{
    static const QList<QByteArray> blocchi{"p",  "br", "li", "div",     "h1",     "h2",
                                           "h3", "h4", "h5", "h6",      "tr",     "ol",
                                           "ul", "dt", "dd", "section", "article"};
    return blocchi.contains(QByteArray(tag));
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

// Follows the parser's events: the open elements, the microdata items they open, and the text
// of every element a property takes its value from.
class Lettore
{
public:
    QList<QJsonObject> jsonLd, microdati;
    QString testo; // the text gathered while some element collects it
    int raccoglitori = 0;

    void leggi(const QByteArray &html, const char *codifica)
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
        htmlParserCtxtPtr ctx = htmlCreateMemoryParserCtxt(html.constData(), int(html.size()));
        if (!ctx)
            return;
        htmlSAXHandler *proprio = ctx->sax;
        ctx->sax = &h;
        ctx->userData = this;
        htmlCtxtUseOptions(ctx, Opzioni);
        if (xmlCharEncodingHandlerPtr c = codifica ? xmlFindCharEncodingHandler(codifica) : nullptr)
            xmlSwitchToEncoding(ctx, c);
        htmlParseDocument(ctx);
        ctx->sax = proprio;
        if (ctx->myDoc)
            xmlFreeDoc(ctx->myDoc);
        htmlFreeParserCtxt(ctx);
    }

private:
    struct Livello
    {
        QByteArray tag;
        QStringList proprieta;
        bool oggetto = false, ricetta = false;
        qsizetype inizio = -1; // where its text starts in testo, -1 when it takes none
        QString valore;
    };
    QList<Livello> pila;
    QList<QJsonObject> oggetti; // the open items, innermost last
    int ricetteAperte = 0;
    enum { Testo, Script, JsonLd } dentro = Testo;
    QByteArray script;

    // The parser hands each event its user data: this reader.
    static Lettore &lettore(void *dati) { return *static_cast<Lettore *>(dati); }

    void apri(const char *tag, const xmlChar **a)
    {
        QHash<QByteArray, QString> attributi;
        for (; a && *a; a += 2)
            attributi.insert(QByteArray(reinterpret_cast<const char *>(a[0])).toLower(),
                             a[1] ? QString::fromUtf8(reinterpret_cast<const char *>(a[1]))
                                  : QString());
        Livello l;
        l.tag = tag;
        if (l.tag == "script" || l.tag == "style") {
            dentro = attributi.value("type").section(u';', 0, 0).trimmed().toLower() ==
                             QLatin1String("application/ld+json")
                         ? JsonLd
                         : Script;
            script.clear();
            pila << l;
            return;
        }
        if (raccoglitori > 0 && blocco(tag))
            testo += u'\n';
        if (!oggetti.isEmpty())
            l.proprieta = attributi.value("itemprop").split(u' ', Qt::SkipEmptyParts);
        if (attributi.contains("itemscope")) {
            const QString tipo = attributi.value("itemtype").section(u' ', 0, 0);
            l.oggetto = true;
            l.ricetta = tipo.contains(QLatin1String("schema.org/Recipe"));
            ricetteAperte += l.ricetta;
            oggetti << QJsonObject{{QStringLiteral("@type"), tipo.section(u'/', -1)}};
        } else if (!l.proprieta.isEmpty()) {
            const char *da = nullptr;
            for (const char *v : {"content", "datetime", "value"})
                if (!da && attributi.contains(v))
                    da = v;
            if (!da && (l.tag == "a" || l.tag == "link"))
                da = "href";
            if (!da && l.tag == "img")
                da = "src";
            if (da) {
                l.valore = attributi.value(da);
            } else {
                l.inizio = testo.size();
                ++raccoglitori;
            }
        }
        pila << l;
    }

    void chiudi(const char *tag)
    {
        if (pila.isEmpty())
            return;
        const Livello l = pila.takeLast();
        if (l.tag == "script" || l.tag == "style") {
            // A broken block is skipped: the page may hold a good one beside it.
            QJsonParseError errore;
            const QJsonDocument json = QJsonDocument::fromJson(script, &errore);
            if (dentro == JsonLd && errore.error == QJsonParseError::NoError)
                raccogli(json.isArray() ? QJsonValue(json.array()) : QJsonValue(json.object()),
                         jsonLd);
            dentro = Testo;
            return;
        }
        if (raccoglitori > 0 && blocco(tag))
            testo += u'\n';
        QJsonValue v = l.valore;
        if (l.oggetto) {
            v = oggetti.takeLast();
            ricetteAperte -= l.ricetta;
            if (l.ricetta && ricetteAperte == 0)
                microdati << v.toObject();
        } else if (l.inizio >= 0) {
            v = righe(testo.mid(l.inizio));
            if (--raccoglitori == 0)
                testo.clear();
        }
        for (const QString &p : l.proprieta) {
            if (oggetti.isEmpty())
                break;
            QJsonObject &o = oggetti.last();
            if (!o.contains(p)) {
                o.insert(p, v);
            } else {
                QJsonArray lista =
                    o.value(p).isArray() ? o.value(p).toArray() : QJsonArray{o.value(p)};
                lista.append(v);
                o.insert(p, lista);
            }
        }
    }

    void caratteri(const char *t, int n)
    {
        if (dentro == JsonLd)
            script.append(t, n);
        else if (dentro == Testo && raccoglitori > 0)
            testo += QString::fromUtf8(t, n);
    }
};

} // namespace

bool riconosci(const QByteArray &inizio)
{
    static const QRegularExpression pagina(
        QStringLiteral("^\\s*(<\\?xml[^>]*>\\s*)?(<!--.*?-->\\s*)*"
                       "<(!doctype\\s+html|html|head|body|meta|title)[\\s>]"),
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
    Lettore l;
    l.raccoglitori = 1; // all of it
    l.leggi(html.toUtf8(), "UTF-8");
    return righe(l.testo);
}

QList<QJsonObject> oggettiRicetta(const QByteArray &pagina)
{
    // Without a declared charset libxml2 would take Latin-1. Pages today are UTF-8; an older one
    // that is not is in the Western default of browsers, whose curly quotes Latin-1 lacks.
    const char *codifica = nullptr;
    if (!pagina.left(2048).toLower().contains("charset"))
        codifica = pagina.isValidUtf8() ? "UTF-8" : "windows-1252";
    Lettore l;
    l.leggi(pagina, codifica);
    return l.jsonLd.isEmpty() ? l.microdati : l.jsonLd;
}

QList<RicettaEstera> ricette(const QByteArray &pagina, const QString &indirizzo)
{
    QList<RicettaEstera> r;
    for (const QJsonObject &o : oggettiRicetta(pagina))
        r << ricetta(o, indirizzo);
    return r;
}

} // namespace PaginaWeb
