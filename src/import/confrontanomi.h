#pragma once

#include <QString>

// The outcome of comparing an imported name with an existing one.
enum class Somiglianza {
    Nessuna,   // no position in common
    Identico,  // same length, same letters without regard to capitals
    Simile,    // same first letter, both of 5 or more characters, over 60% of positions agree
    Indefinito // some positions agree, but neither identical nor similar
};

// Compares position by position, without regard to capitals, the count of agreeing positions
// over the longer length. The names are compared as given: no trimming, accents count.
Somiglianza confrontaNomi(const QString &daImportare, const QString &esistente);

// The same for names already in capitals, for scans that compare one name with many.
Somiglianza confrontaMaiuscoli(const QString &a, const QString &b, qsizetype la, qsizetype lb);
