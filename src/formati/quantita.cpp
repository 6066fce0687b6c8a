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
    case 0x00BC: return 0.25;
    case 0x00BD: return 0.5;
    case 0x00BE: return 0.75;
    case 0x2150: return 1.0 / 7;
    case 0x2151: return 1.0 / 9;
    case 0x2152: return 0.1;
    case 0x2153: return 1.0 / 3;
    case 0x2154: return 2.0 / 3;
    case 0x2155: return 0.2;
    case 0x2156: return 0.4;
    case 0x2157: return 0.6;
    case 0x2158: return 0.8;
    case 0x2159: return 1.0 / 6;
    case 0x215A: return 5.0 / 6;
    case 0x215B: return 0.125;
    case 0x215C: return 0.375;
    case 0x215D: return 0.625;
    case 0x215E: return 0.875;
    default: return 0;
    }
}

// A whole part, a decimal, a fraction "a/b" or a Unicode one, or a whole part followed by a
// fraction ("1 1/2", "1 e 1/2", "1¼"); a range "2-3" of any of the simple ones.
const QRegularExpression &forma()
{
    static const QRegularExpression r(
        QStringLiteral("^(?:(\\d+)(?:\\s+e\\s+|\\s+|(?=[¼½¾⅐-⅞]))(?:(\\d+)\\s*/\\s*(\\d+)|([¼½¾⅐-⅞]))"
                       "|(\\d+)\\s*/\\s*(\\d+)"
                       "|([¼½¾⅐-⅞])"
                       "|(\\d+(?:[.,]\\d+)?(?:\\s*-\\s*\\d+(?:[.,]\\d+)?)?))"
                       "(?![\\d/.,])"),
        QRegularExpression::UseUnicodePropertiesOption);
    return r;
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

} // namespace

qsizetype lunghezzaIniziale(const QString &testo)
{
    const auto m = forma().match(testo);
    return m.hasMatch() ? m.capturedLength(0) : 0;
}

QString daTesto(const QString &testo)
{
    const QString t = testo.trimmed();
    const auto m = forma().match(t);
    if (!m.hasMatch() || m.capturedLength(0) != t.size())
        return {};
    const auto frazione = [](const QString &a, const QString &b) {
        const double d = b.toDouble();
        return d == 0 ? -1.0 : a.toDouble() / d;
    };
    double x = -1;
    if (m.hasCaptured(1))
        x = m.captured(1).toDouble() + (m.hasCaptured(4) ? frazioneUnicode(m.captured(4).at(0))
                                                         : frazione(m.captured(2), m.captured(3)));
    else if (m.hasCaptured(5))
        x = frazione(m.captured(5), m.captured(6));
    else if (m.hasCaptured(7))
        x = frazioneUnicode(m.captured(7).at(0));
    else {
        QString n = m.captured(8);
        n.remove(QLatin1Char(' '));
        n.replace(QLatin1Char(','), QLatin1Char('.'));
        return n;
    }
    return x < 0 ? QString() : decimale(x);
}

QString inFrazione(const QString &quantita)
{
    bool ok = false;
    const double x = QLocale::c().toDouble(quantita.trimmed(), &ok);
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

} // namespace Quantita
