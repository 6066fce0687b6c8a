#pragma once

#include <QString>

// The values every window shares, set by the main window at start and by its menu. They live
// below the windows, so a window reads them without reaching up to the shell.
namespace Applicazione {

inline QString RicettarioCorrente;    // full path of the current recipe book
inline QString CartellaIniziale;      // the working folder at start: the program's own files
inline QString RicettarioDaImportare; // the book chosen for import
inline qint64 SceltaImportazione = 0; // passed between the import window and its choice dialog

// The maker's web address, shown by the main window and the about box.
inline const QString IndirizzoWeb = QStringLiteral("https://pentolone.example.org/");
inline const QString IndirizzoPosta = QStringLiteral("ricette@pentolone.example.org");

} // namespace Applicazione
