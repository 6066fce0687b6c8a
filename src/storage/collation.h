#pragma once

#include <QString>

struct sqlite3;

// The order an Italian reader expects: letters without regard to case, accented letters
// beside their plain letter; ties are broken by accents, then by case, so the order is total.
namespace Collazione {

inline constexpr const char *Nome = "ITALIANO";

// Without contaMaiuscole, names differing only in case compare equal (criteria do so).
int confronta(const char *a, int na, const char *b, int nb, bool contaMaiuscole = true); // UTF-8
int confronta(const QString &a, const QString &b, bool contaMaiuscole = true);

// Registers the collation on a connection.
void registra(sqlite3 *db);

} // namespace Collazione
