// JSON-LD blocks as browsers' pages get away with writing them.
#include "pentolone_web/analisi.h"

namespace PaginaWeb {

namespace {

bool spazio(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

} // namespace

QByteArray jsonTollerante(const QByteArray &s)
{
    QByteArray r;
    r.reserve(s.size());
    const qsizetype n = s.size();
    bool stringa = false;
    for (qsizetype i = 0; i < n; ++i) {
        const char c = s[i];
        if (stringa) {
            r += c;
            if (c == '\\' && i + 1 < n)
                r += s[++i];
            else if (c == '"')
                stringa = false;
            continue;
        }
        const QByteArrayView resto = QByteArrayView(s).sliced(i);
        if (c == '"') {
            stringa = true;
            r += c;
        } else if (resto.startsWith("//")) {
            const qsizetype fine = s.indexOf('\n', i);
            i = fine < 0 ? n : fine;
        } else if (resto.startsWith("/*")) {
            const qsizetype fine = s.indexOf("*/", i + 2);
            i = fine < 0 ? n : fine + 1;
        } else if (resto.startsWith("<!--") || resto.startsWith("<![CDATA[")) {
            i += resto.startsWith("<!--") ? 3 : 8;
        } else if (resto.startsWith("-->") || resto.startsWith("]]>")) {
            i += 2;
        } else if (c == ',') {
            // A trailing comma before a closing bracket, which browsers' scripts allow.
            qsizetype j = i + 1;
            while (j < n && spazio(s[j]))
                ++j;
            if (j >= n || (s[j] != ']' && s[j] != '}'))
                r += c;
        } else {
            r += c;
        }
    }
    return r;
}

} // namespace PaginaWeb
