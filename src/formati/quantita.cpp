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
    if (x == std::floor(x) && x < 1e15)
        return QString::number(qint64(x));
    QString t = QString::number(x, 'f', 3);
    while (t.endsWith(QLatin1Char('0')))
        t.chop(1);
    if (t.endsWith(QLatin1Char('.')))
        t.chop(1);
    return t;
}

// A line is read in a few microseconds: its numbers are scanned by hand, not matched against
// patterns.
struct Scansione
{
    QStringView t;
    qsizetype i;

    bool fine() const { return i >= t.size(); }
    QChar c(qsizetype avanti = 0) const { return i + avanti < t.size() ? t[i + avanti] : QChar(); }
    bool cifra(qsizetype avanti = 0) const { return c(avanti).isDigit(); }
    void spazi()
    {
        while (!fine() && c().isSpace())
            ++i;
    }
    // Digits from here; false when there are none.
    bool intero(QStringView &cifre)
    {
        const qsizetype da = i;
        while (cifra())
            ++i;
        cifre = t.mid(da, i - da);
        return i > da;
    }
    // A word from here (followed by a blank), passed over when it is one of parole (in lower
    // case); its first letter is tried before the whole word.
    bool parola(std::initializer_list<QStringView> parole)
    {
        for (const QStringView w : parole) {
            if (c(w.size()).isSpace() && c().toCaseFolded() == w.front() &&
                t.mid(i).startsWith(w, Qt::CaseInsensitive)) {
                i += w.size();
                return true;
            }
        }
        return false;
    }
};

// One number at da: a whole part with a fraction ("1 1/2", "1-1/2", "1 e 1/2", "1¼", "1 e
// mezzo"), a fraction, a Unicode fraction, a decimal ("1,5", "1.5", ".5"). x is its value, or
// -1 for a fraction over zero; "200/250" is no fraction but two numbers, and ends at the slash.
struct Numero
{
    qsizetype lunghezza = 0;
    double x = -1;
};

// The digits' value, and that of the digits after a decimal separator.
double valore(QStringView cifre)
{
    double v = 0;
    for (const QChar c : cifre)
        v = v * 10 + c.digitValue();
    return v;
}

double decimi(QStringView cifre)
{
    return valore(cifre) / std::pow(10.0, double(cifre.size()));
}

// A cook's fraction has a small numerator and denominator: "10/12" and "200/250" are ranges.
bool vera(QStringView a, QStringView b)
{
    return valore(a) <= 9 && valore(b) <= 16;
}

double diviso(QStringView a, QStringView b)
{
    return valore(b) == 0 ? -1.0 : valore(a) / valore(b);
}

// "n/d" from s.i, not followed by another digit or slash; s moves past it only when it is one.
bool frazione(Scansione &s, double &x)
{
    Scansione p = s;
    QStringView a, b;
    if (!p.intero(a))
        return false;
    p.spazi();
    if (p.c() != u'/')
        return false;
    ++p.i;
    p.spazi();
    if (!p.intero(b) || p.c() == u'/' || !vera(a, b))
        return false;
    x = diviso(a, b);
    s = p;
    return true;
}

Numero numero(QStringView t, qsizetype da)
{
    Scansione s{t, da};
    if (s.fine())
        return {};
    if (const double f = frazioneUnicode(s.c()); f > 0)
        return {1, f};
    double x = 0;
    if (frazione(s, x))
        return {s.i - da, x};
    QStringView intero; // empty for ".5"
    if (!s.intero(intero) && ((s.c() != u'.' && s.c() != u',') || !s.cifra(1)))
        return {};
    // "1,5", "1.5", and "1.500.000", Italian thousands however they are read (migliaia).
    double migliaia = valore(intero), decimale = 0;
    int separatori = 0, virgole = 0;
    while ((s.c() == u'.' || s.c() == u',') && s.cifra(1)) {
        ++separatori;
        virgole += s.c() == u',';
        ++s.i;
        QStringView gruppo;
        s.intero(gruppo);
        if (separatori == 1)
            decimale = decimi(gruppo);
        migliaia = migliaia * std::pow(10.0, double(gruppo.size())) + valore(gruppo);
    }
    if (separatori > 1 && virgole > 0)
        return {};
    if (separatori > 0)
        return {s.i - da, separatori > 1 ? migliaia : valore(intero) + decimale};
    const qsizetype finito = s.i;
    const double parte = valore(intero);
    if (const double f = frazioneUnicode(s.c()); f > 0)
        return {s.i + 1 - da, parte + f}; // "1¼"
    // What joins a whole part to its fraction: blanks, " e ", " and ", a hyphen.
    Scansione p = s;
    p.spazi();
    const bool trattino = p.c() == u'-';
    if (trattino) {
        ++p.i;
        p.spazi();
    } else if (p.i > s.i && p.parola({u"e", u"and"})) {
        p.spazi();
        for (const char16_t *mezzo : {u"mezzo", u"mezza"})
            if (p.t.mid(p.i).startsWith(QStringView(mezzo), Qt::CaseInsensitive) &&
                !p.c(5).isLetter())
                return {p.i + 5 - da, parte + 0.5};
    }
    if (p.i > s.i) {
        if (const double f = frazioneUnicode(p.c()); f > 0 && !trattino)
            return {p.i + 1 - da, parte + f}; // "1 ½"
        if (frazione(p, x))
            return {p.i - da, x < 0 ? -1 : parte + x};
    }
    return {finito - da, parte};
}

// The quantity at the start of t: its length and its ends (b only for a range: "2-3", "2 – 3",
// "2 to 3", "2 o 3", "200/250"). Its stored text is made only when a caller wants it.
struct Lettura
{
    qsizetype lunghezza = 0;
    Numero a, b;

    // A range is its two ends joined by "-"; a fraction over zero has no text.
    QString testo() const
    {
        if (b.lunghezza > 0)
            return decimale(a.x) + u'-' + decimale(b.x);
        return a.x < 0 ? QString() : decimale(a.x);
    }
};

Lettura leggi(QStringView t)
{
    const Numero a = numero(t, 0);
    if (a.lunghezza == 0)
        return {};
    Scansione s{t, a.lunghezza};
    s.spazi();
    bool unisce = false;
    if (!s.fine() && QStringLiteral("-\u2013\u2014/").contains(s.c())) {
        ++s.i;
        unisce = true;
    } else if (s.i > a.lunghezza && s.parola({u"to", u"or", u"o", u"a"})) {
        unisce = true;
    }
    if (unisce) {
        s.spazi();
        const Numero b = numero(t, s.i);
        if (b.lunghezza > 0 && a.x >= 0 && b.x >= 0)
            return {s.i + b.lunghezza, a, b};
    }
    return {a.lunghezza, a, {}};
}

} // namespace

qsizetype lunghezzaIniziale(QStringView testo)
{
    return leggi(testo).lunghezza;
}

qsizetype iniziale(QStringView testo, QString *valore)
{
    const Lettura l = leggi(testo);
    *valore = l.testo();
    return l.lunghezza;
}

QString daTesto(const QString &testo)
{
    const QString t = testo.trimmed();
    const Lettura l = leggi(t);
    return l.lunghezza == t.size() ? l.testo() : QString();
}

QString migliaia(const QString &scritto, const QString &quantita, const QString &unita)
{
    static const QRegularExpression italiane(QStringLiteral("^\\d{1,3}(\\.\\d{3})+$"));
    static const QStringList piccole{"g", "gr", "grammi", "grammo", "mg", "ml", "cc", "cl"};
    QString u = unita.toLower();
    if (u.isEmpty())
        return quantita;
    if (u.endsWith(u'.'))
        u.chop(1);
    if (!scritto.contains(u'.') || !piccole.contains(u) ||
        !italiane.match(scritto.trimmed()).hasMatch())
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
