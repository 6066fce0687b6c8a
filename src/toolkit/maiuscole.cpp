#include "toolkit/maiuscole.h"

QString maiuscolaIniziale(QString nome)
{
    nome = std::move(nome).trimmed();
    if (nome.isEmpty())
        return nome;
    // Most names start with a plain letter: changed in place.
    const QChar prima = nome.front();
    if (prima.unicode() < 0x80) {
        if (prima.isLower())
            nome[0] = prima.toUpper();
        return nome;
    }
    // A letter outside the basic plane takes two units: convert it whole.
    const int lunghezza = prima.isHighSurrogate() && nome.size() > 1 ? 2 : 1;
    return nome.left(lunghezza).toUpper() + nome.mid(lunghezza);
}
