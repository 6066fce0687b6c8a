#include "toolkit/maiuscole.h"

QString maiuscolaIniziale(const QString &testo)
{
    const QString nome = testo.trimmed();
    if (nome.isEmpty())
        return nome;
    // A letter outside the basic plane takes two units: convert it whole.
    const int lunghezza = nome.at(0).isHighSurrogate() && nome.size() > 1 ? 2 : 1;
    return nome.left(lunghezza).toUpper() + nome.mid(lunghezza);
}
