#include "toolkit/porzioni.h"

#include <QLocale>
#include <cmath>

namespace Porzioni {

bool leggiQuantita(const QString &testo, double &q)
{
    QString t = testo.trimmed();
    t.replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    q = QLocale::c().toDouble(t, &ok);
    return ok && std::isfinite(q);
}

QString testoQuantita(double x)
{
    QLocale l;
    l.setNumberOptions(QLocale::OmitGroupSeparator);
    QString t = l.toString(x, 'f', 2);
    if (t.contains(l.decimalPoint())) {
        while (t.endsWith(l.zeroDigit()))
            t.chop(l.zeroDigit().size());
        if (t.endsWith(l.decimalPoint()))
            t.chop(l.decimalPoint().size());
    }
    return t;
}

double convertiQuantita(double q, double r)
{
    double x = q * r;
    x = std::floor(x * 100 + 0.5) / 100;
    // A tenths digit of 0 drops the hundredths too.
    if (std::fmod(std::floor(x * 10), 10) == 0)
        x = std::floor(x);
    if (std::floor(x + 0.1) > std::floor(x))
        x = std::floor(x + 0.1);
    if (std::floor(x - 0.2) < std::floor(x))
        x = std::floor(x);
    return x;
}

} // namespace Porzioni
