#pragma once

#include <QString>

// The rule of capitals for names: the first character in upper case, the rest as typed.
QString maiuscolaIniziale(const QString &nome);
