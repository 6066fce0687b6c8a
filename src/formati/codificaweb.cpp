// A page's bytes as browsers decode them.
#include "formati/paginaweb.h"

#include <QStringDecoder>

namespace PaginaWeb {

namespace {

const QByteArray Bom = "\xEF\xBB\xBF";

bool spazio(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

// One tag's attributes from i (just after its name) to its '>', which i is left after.
QList<std::pair<QByteArray, QByteArray>> attributi(const QByteArray &b, qsizetype &i)
{
    QList<std::pair<QByteArray, QByteArray>> r;
    const qsizetype n = b.size();
    while (i < n) {
        while (i < n && (spazio(b[i]) || b[i] == '/'))
            ++i;
        if (i >= n || b[i] == '>') {
            ++i;
            break;
        }
        QByteArray nome, valore;
        while (i < n && !spazio(b[i]) && b[i] != '=' && b[i] != '>' && b[i] != '/')
            nome += char(QChar::toLower(uchar(b[i++])));
        while (i < n && spazio(b[i]))
            ++i;
        if (i < n && b[i] == '=') {
            ++i;
            while (i < n && spazio(b[i]))
                ++i;
            if (i < n && (b[i] == '"' || b[i] == '\'')) {
                const char quota = b[i++];
                const qsizetype fine = b.indexOf(quota, i);
                valore = b.mid(i, (fine < 0 ? n : fine) - i);
                i = fine < 0 ? n : fine + 1;
            } else {
                while (i < n && !spazio(b[i]) && b[i] != '>')
                    valore += b[i++];
            }
        }
        r.append({nome, valore.trimmed()});
    }
    return r;
}

QByteArray dopoCharset(const QByteArray &contenuto)
{
    const qsizetype i = contenuto.toLower().indexOf("charset");
    if (i < 0)
        return {};
    QByteArray resto = contenuto.mid(i + 7).trimmed();
    if (!resto.startsWith('='))
        return {};
    resto = resto.mid(1).trimmed();
    if (resto.startsWith('"') || resto.startsWith('\''))
        resto = resto.mid(1);
    qsizetype fine = 0;
    while (fine < resto.size() && !spazio(resto[fine]) && !QByteArray(";\"'").contains(resto[fine]))
        ++fine;
    return resto.left(fine);
}

// The charset a <meta> in the first 1,024 bytes of markup declares, as browsers look for it:
// comments and other tags passed over whole, whatever non-ASCII text they hold.
QByteArray dichiarata(const QByteArray &pagina)
{
    qsizetype inizio = 0;
    while (inizio < pagina.size() && spazio(pagina[inizio]))
        ++inizio;
    const QByteArray b = pagina.mid(inizio, 1024);
    for (qsizetype i = b.indexOf('<'); i >= 0 && i < b.size(); i = b.indexOf('<', i)) {
        if (b.mid(i, 4) == "<!--") {
            const qsizetype fine = b.indexOf("-->", i + 4);
            if (fine < 0)
                break;
            i = fine + 3;
            continue;
        }
        ++i;
        const bool chiusura = i < b.size() && b[i] == '/';
        qsizetype nome = i + chiusura;
        while (nome < b.size() && QChar::isLetterOrNumber(uchar(b[nome])))
            ++nome;
        const QByteArray tag = b.mid(i + chiusura, nome - i - chiusura).toLower();
        i = nome;
        const auto a = attributi(b, i);
        if (tag != "meta" || chiusura)
            continue;
        QByteArray charset, equiv, contenuto;
        for (const auto &[k, v] : a) {
            if (k == "charset" && charset.isEmpty())
                charset = v;
            else if (k == "http-equiv")
                equiv = v.toLower();
            else if (k == "content")
                contenuto = v;
        }
        if (charset.isEmpty() && equiv == "content-type")
            charset = dopoCharset(contenuto);
        if (codificaNota(QString::fromLatin1(charset)))
            return charset;
    }
    return {};
}

} // namespace

QByteArray etichetta(const QString &charset)
{
    const QByteArray e = charset.trimmed().toLower().toLatin1();
    // Browsers read these labels as Windows-1252, and a UTF-16 declaration in bytes that reached
    // a byte scan as UTF-8.
    static const QList<QByteArray> occidentali{
        "iso-8859-1", "iso8859-1",   "iso_8859-1",     "latin1",        "l1",       "us-ascii",
        "ascii",      "cp819",       "ibm819",         "cp1252",        "x-cp1252", "windows-1252",
        "iso-ir-100", "csisolatin1", "ansi_x3.4-1968", "x-user-defined"};
    if (occidentali.contains(e))
        return "windows-1252";
    if (e.startsWith("utf-16") || e == "unicode")
        return "utf-8";
    return e;
}

bool codificaNota(const QString &charset)
{
    return !charset.isEmpty() && QStringDecoder(etichetta(charset).constData()).isValid();
}

QByteArray inUtf8(const QByteArray &pagina, const QString &charset)
{
    if (pagina.startsWith(Bom))
        return pagina.mid(3);
    for (const auto &[bom, codifica] : {std::pair("\xFF\xFE", QStringDecoder::Utf16LE),
                                        std::pair("\xFE\xFF", QStringDecoder::Utf16BE)})
        if (pagina.startsWith(bom))
            return QString(QStringDecoder(codifica).decode(pagina.mid(2))).toUtf8();
    QString nome = charset;
    if (nome.isEmpty())
        nome = QString::fromLatin1(dichiarata(pagina));
    if (nome.isEmpty())
        nome = pagina.isValidUtf8() ? QStringLiteral("utf-8") : QStringLiteral("windows-1252");
    if (etichetta(nome) == "utf-8" || !codificaNota(nome))
        return pagina; // invalid sequences become U+FFFD in the parser, as in a browser
    return QString(QStringDecoder(etichetta(nome).constData()).decode(pagina)).toUtf8();
}

QByteArray conCodifica(const QByteArray &pagina, const QString &charset)
{
    if (charset.isEmpty() || pagina.startsWith(Bom) || pagina.startsWith("\xFF\xFE") ||
        pagina.startsWith("\xFE\xFF") || !codificaNota(charset))
        return pagina;
    return Bom + inUtf8(pagina, charset);
}

} // namespace PaginaWeb
