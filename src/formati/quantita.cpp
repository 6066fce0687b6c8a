#include "formati/quantita.h"

#include <QLocale>
#include <QRegularExpression>
#include <cmath>

namespace Quantita {

namespace {

// Unicode's vulgar fractions, which sites write for halves and quarters.
double frazioneUnicode(QChar c)
{
    switch (c.unicode()) {
    case 0x00BC:
        return 0.25;
    case 0x00BD:
        return 0.5;
    case 0x00BE:
        return 0.75;
    case 0x2150:
        return 1.0 / 7;
    case 0x2151:
        return 1.0 / 9;
    case 0x2152:
        return 0.1;
    case 0x2153:
        return 1.0 / 3;
    case 0x2154:
        return 2.0 / 3;
    case 0x2155:
        return 0.2;
    case 0x2156:
        return 0.4;
    case 0x2157:
        return 0.6;
    case 0x2158:
        return 0.8;
    case 0x2159:
        return 1.0 / 6;
    case 0x215A:
        return 5.0 / 6;
    case 0x215B:
        return 0.125;
    case 0x215C:
        return 0.375;
    case 0x215D:
        return 0.625;
    case 0x215E:
        return 0.875;
    default:
        return 0;
    }
}

QString decimale(double x)
{
    QString t = QString::number(x, 'f', 3);
    while (t.endsWith(QLatin1Char('0')))
        t.chop(1);
    if (t.endsWith(QLatin1Char('.')))
        t.chop(1);
    return t;
}

QRegularExpressionMatch qui(const QRegularExpression &r, QStringView t, qsizetype da)
{
    return r.match(t, da, QRegularExpression::NormalMatch,
                   QRegularExpression::AnchorAtOffsetMatchOption);
}

// One number at da: a whole part with a fraction ("1 1/2", "1-1/2", "1 e 1/2", "1¼", "1 e
// mezzo"), a fraction, a Unicode fraction, a decimal ("1,5", "1.5"). x is its value, or -1 for a
// fraction over zero; "200/250" is no fraction but two numbers, and ends at the slash.
struct Numero
{
    qsizetype lunghezza = 0;
    double x = -1;
};

Numero numero(QStringView t, qsizetype da)
{
    static const QRegularExpression misto(
        QStringLiteral("(\\d+)(?:\\s+e\\s+|\\s+and\\s+|\\s*-\\s*|\\s+|(?=[¼½¾⅐-⅞]))(?:(\\d)\\s*/"
                       "\\s*(\\d+)|([¼½¾⅐-⅞]))"
                       "(?![\\d/])"));
    static const QRegularExpression mezzo(QStringLiteral("(\\d+)\\s+e\\s+mezz[oa]\\b"));
    static const QRegularExpression frazione(QStringLiteral("(\\d+)\\s*/\\s*(\\d+)(?![\\d/.,])"));
    static const QRegularExpression unicode(QStringLiteral("[¼½¾⅐-⅞]"));
    static const QRegularExpression decimale(
        QStringLiteral("(?:\\d+(?:[.,]\\d+)*|[.,]\\d+)(?!\\d)"));
    // A cook's fraction has a small numerator and denominator: "10/12" and "200/250" are ranges.
    const auto vera = [](const QString &a, const QString &b) {
        return a.toInt() <= 9 && b.toInt() <= 16;
    };
    const auto diviso = [](const QString &a, const QString &b) {
        return b.toInt() == 0 ? -1.0 : a.toDouble() / b.toDouble();
    };
    Numero n;
    if (auto m = qui(misto, t, da);
        m.hasMatch() && (m.hasCaptured(4) || vera(m.captured(2), m.captured(3)))) {
        const double f = m.hasCaptured(4) ? frazioneUnicode(m.captured(4).at(0))
                                          : diviso(m.captured(2), m.captured(3));
        n = {m.capturedLength(0), f < 0 ? -1 : m.captured(1).toDouble() + f};
    } else if (auto m = qui(mezzo, t, da); m.hasMatch()) {
        n = {m.capturedLength(0), m.captured(1).toDouble() + 0.5};
    } else if (auto m = qui(frazione, t, da); m.hasMatch() && vera(m.captured(1), m.captured(2))) {
        n = {m.capturedLength(0), diviso(m.captured(1), m.captured(2))};
    } else if (auto m = qui(unicode, t, da); m.hasMatch()) {
        n = {1, frazioneUnicode(m.captured(0).at(0))};
    } else if (auto m = qui(decimale, t, da); m.hasMatch()) {
        // "1,5" and "1.5" alike; "10.000" and "1.500.000" are Italian thousands only where the
        // unit says so (migliaia), and a second separator makes them so ("1.500.000").
        QString s = m.captured(0);
        if (s.count(u'.') + s.count(u',') > 1 && !s.contains(u','))
            s.remove(u'.');
        else if (s.count(u'.') + s.count(u',') > 1)
            return {};
        s.replace(u',', u'.');
        n = {m.capturedLength(0), s.toDouble()};
    }
    return n;
}

// What joins the two ends of a range: "2-3", "2 – 3", "2 to 3", "2 o 3", "200/250".
const QRegularExpression &trattino()
{
    static const QRegularExpression r(QStringLiteral("\\s*(?:-|–|—|/|\\s(?:to|o|or|a)\\s)\\s*"));
    return r;
}

// The quantity at the start of t: its length and its stored text.
std::pair<qsizetype, QString> leggi(QStringView t)
{
    const Numero a = numero(t, 0);
    if (a.lunghezza == 0)
        return {0, {}};
    if (const auto m = qui(trattino(), t, a.lunghezza); m.hasMatch()) {
        const Numero b = numero(t, a.lunghezza + m.capturedLength(0));
        if (b.lunghezza > 0 && a.x >= 0 && b.x >= 0)
            return {a.lunghezza + m.capturedLength(0) + b.lunghezza,
                    decimale(a.x) + u'-' + decimale(b.x)};
    }
    if (a.x < 0)
        return {a.lunghezza, {}};
    return {a.lunghezza, decimale(a.x)};
}

} // namespace

qsizetype lunghezzaIniziale(const QString &testo)
{
    return leggi(testo).first;
}

QString daTesto(const QString &testo)
{
    const QString t = testo.trimmed();
    const auto [n, valore] = leggi(t);
    return n == t.size() ? valore : QString();
}

QString migliaia(const QString &scritto, const QString &quantita, const QString &unita)
{
    static const QRegularExpression italiane(QStringLiteral("^\\d{1,3}(\\.\\d{3})+$"));
    static const QStringList piccole{"g", "gr", "grammi", "grammo", "mg", "ml", "cc", "cl"};
    QString u = unita.toLower();
    if (u.endsWith(u'.'))
        u.chop(1);
    if (!italiane.match(scritto.trimmed()).hasMatch() || !piccole.contains(u))
        return quantita;
    return QString(scritto.trimmed()).remove(u'.');
}

QString inFrazione(const QString &quantita)
{
    bool ok = false;
    const double x = QLocale::c().toDouble(QString(quantita.trimmed()).replace(u',', u'.'), &ok);
    if (!ok || !std::isfinite(x) || x < 0)
        return quantita;
    const double intero = std::floor(x);
    const double resto = x - intero;
    if (resto < 0.005)
        return QString::number(qint64(intero));
    // The denominators a cook measures with, and the two-decimal rounding the editor stores.
    for (const int d : {2, 3, 4, 8, 6}) {
        const int n = int(std::lround(resto * d));
        if (n > 0 && n < d && std::abs(resto - double(n) / d) < 0.006) {
            const QString f = QStringLiteral("%1/%2").arg(n).arg(d);
            return intero > 0 ? QStringLiteral("%1 %2").arg(qint64(intero)).arg(f) : f;
        }
    }
    return quantita;
}

QString esatta(const QString &quantita)
{
    const QString t = QString(quantita.trimmed()).replace(u',', u'.');
    bool ok = false;
    const double x = QLocale::c().toDouble(t, &ok);
    if (!ok || !std::isfinite(x) || x < 0)
        return quantita.trimmed();
    const QString f = inFrazione(t);
    // A fraction only where reading it gives the very number stored: 0.13 is no 1/8.
    return daTesto(f) == decimale(x) && decimale(x) == t ? f : t;
}

} // namespace Quantita
