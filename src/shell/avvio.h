#pragma once

#include <QString>
#include <QStringList>

// What the command line asks of a start: the user's own working folder (the desktop menu asks
// for it) and a book to open.
namespace Avvio {

struct Opzioni
{
    bool cartellaPersonale = false;
    QString libro; // as given: relative to the folder the program was started in
};

Opzioni leggi(const QStringList &argomenti);
// Moves to the working folder the options ask for (the user's own, prepared first) and returns
// the book to open, named from the folder the program was started in; empty when none.
QString avvia(const Opzioni &opzioni);

// The user's own working folder: $PENTOLONE_DIR, else "Pentolone" in the home folder.
QString cartellaPersonale();
// Where the template and the sample book are: share/pentolone beside the installed program,
// or the books of a build tree.
QString cartellaDeiModelli();
// Makes the folder when missing and copies in the template and the sample book when they are
// missing: a book already there is the user's and stays. False when the folder cannot be made.
bool preparaCartella(const QString &cartella, const QString &modelli);

} // namespace Avvio
