#pragma once

#include <QString>

// The values every window shares, set by the main window at start and by its menu. They live
// below the windows, so a window reads them without reaching up to the shell.
namespace Applicazione {

inline QString RicettarioCorrente;    // full path of the current recipe book
inline QString CartellaIniziale;      // the working folder at start: the program's own files
inline QString RicettarioDaImportare; // the book chosen for import
// What the recipes of an import come from: its help page is that kind's.
enum class Provenienza { Ricettario, PaginaWeb, MealMaster };
inline qint64 SceltaImportazione = 0; // passed between the import window and its choice dialog

// The maker's web address, shown by the main window and the about box.
inline const QString IndirizzoWeb = QStringLiteral("https://pentolone.example.org/");
inline const QString IndirizzoPosta = QStringLiteral("ricette@pentolone.example.org");

// Where the folder ends in a book's path, -1 without one: both separators count, as books may
// come from a Windows path.
inline qsizetype ultimoSeparatore(const QString &percorso)
{
    return qMax(percorso.lastIndexOf(QLatin1Char('\\')), percorso.lastIndexOf(QLatin1Char('/')));
}

// The name of a book as the captions show it: no folder, and not its last four characters
// (".mdb").
inline QString nomeDelLibro(const QString &percorso)
{
    const QString nome = percorso.mid(ultimoSeparatore(percorso) + 1);
    return nome.left(qMax<qsizetype>(0, nome.size() - 4));
}

} // namespace Applicazione
