#pragma once

#include <QString>

// The words of ingredient lines the reader knows, Italian and English, each compared without
// regard to capitals and to a final full stop ("gr.", "tsps.").
namespace ParoleCucina {

// A measure written after a quantity ("g", "cucchiai", "grappolo", "tsps", "TB").
bool unita(QStringView parola);
// A measure that holds what follows ("can", "scatola"): "1 14 oz can" is one can of 14 oz.
bool contenitore(QStringView parola);
// What a measure may take after it: "raso", "colmo", "heaping".
bool modificatore(QStringView parola);
// A number written as a word, its value; 0 when it is none. "a" and "an" count only before a
// measure, as the caller knows.
double numero(QStringView parola);
// A word that tells the state, size or freshness of an ingredient, not what it is: "grattugiato",
// "medie", "freschissime", "chopped", "large"; an adverb that goes with the next one ("finely").
bool descrittore(QStringView parola);
bool avverbio(QStringView parola);
// A word before a quantity that says it is not exact: "circa", "about".
bool approssimato(QStringView parola);

} // namespace ParoleCucina
