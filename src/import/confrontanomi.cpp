#include "import/confrontanomi.h"

Somiglianza confrontaMaiuscoli(const QString &a, const QString &b, qsizetype la, qsizetype lb)
{
    const qsizetype m = qMin(la, lb);
    qsizetype uguali = 0;
    for (qsizetype i = 0; i < m; ++i)
        if (a.at(i) == b.at(i))
            ++uguali;
    if (uguali == 0)
        return Somiglianza::Nessuna;
    const double rapporto = double(uguali) / double(qMax(la, lb));
    if (rapporto == 1)
        return Somiglianza::Identico;
    if (a.at(0) == b.at(0) && m > 4 && rapporto > 0.6)
        return Somiglianza::Simile;
    return Somiglianza::Indefinito;
}

Somiglianza confrontaNomi(const QString &daImportare, const QString &esistente)
{
    if (daImportare.isEmpty() || esistente.isEmpty())
        return Somiglianza::Nessuna;
    return confrontaMaiuscoli(daImportare.toUpper(), esistente.toUpper(), daImportare.size(),
                              esistente.size());
}
