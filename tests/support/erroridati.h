#pragma once

#include "storage/datasource.h"

#include <QList>

// Collects the numbers a data source's Error event reports, answering each with risposta
// (0: handled here, so the program's handler stays silent).
inline void raccogliErrori(DataSource &ds, QObject *contesto, QList<int> &errori, int risposta = 0)
{
    QObject::connect(
        &ds, &DataSource::Error, contesto,
        [&errori, risposta](int numero, int &r) {
            errori << numero;
            r = risposta;
        },
        Qt::DirectConnection);
}
