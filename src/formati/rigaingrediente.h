#pragma once

#include "formati/ricettaestera.h"

// One ingredient line as sites and foreign files write it, Italian or English, quantity first
// ("300 g di farina 00", "1¼ cups milk") or last ("Farina 00 300 g", "Sale q.b."), split into
// the columns of a recipe's line.
namespace RigaIngrediente {

// The quantity as the editor stores it ("0.5"), the name with the rule of capitals, the unit and
// any remark as the comment ("g (ben sgocciolata)"). A line with no name in it (a heading such as
// "Per la crema:", a bare quantity) comes back with no ingredient and its whole text as comment.
RigaEstera leggi(const QString &riga);

// Whether a word is one of the measures cooks write after a quantity ("g", "cucchiai", "cups").
bool eMisura(const QString &parola);

} // namespace RigaIngrediente
