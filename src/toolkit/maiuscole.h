#pragma once

#include <QString>

// The rule of capitals for names: leading and trailing blanks go (no cook means them, and a
// name of blanks only is empty), then the first character in upper case, the rest as typed.
QString maiuscolaIniziale(QString nome);
