#pragma once

#include "formati/aiutante.h"

#include <QString>
#include <functional>

// Recipe books kept in the older Jet (Access) format. They are never opened in place: a helper
// program reads them into a new book of ours beside the original, which stays as it is.
namespace LibroAccess {

// A Jet file, known by its header ("Standard Jet DB" at offset 4), not by its name.
bool riconosci(const QString &percorso);

// "<name>.pentolone.mdb" beside the file, or the next free name ("<name>.pentolone-2.mdb", ...);
// <name> is the file name without its last extension.
QString nomeDellaCopia(const QString &percorso);

// Converts the Jet book into a new book of ours at destinazione, through the helper program
// ("pentolone-jet"; stopped when it reports no progress for 10 s). avanzamento(fatti, totale) is
// called now and then with the rows copied so far; returning false cancels. Throws EngineError
// naming the file; on any failure, cancel or time-out nothing is left at destinazione nor beside
// it.
void converti(const QString &percorso, const QString &destinazione,
              const std::function<bool(int fatti, int totale)> &avanzamento = {},
              const Aiutante::Opzioni &opzioni = {});

// The step every opening takes: a book of ours comes back unchanged; a Jet book is converted into
// nomeDellaCopia() after chiedi(testo, titolo) says yes, and the copy's path comes back; on no,
// an empty string and nothing changed. Errors of the conversion are thrown as by converti().
QString preparaLibro(const QString &percorso,
                     const std::function<bool(const QString &testo, const QString &titolo)> &chiedi,
                     const std::function<bool(int, int)> &avanzamento = {},
                     const Aiutante::Opzioni &opzioni = {});

} // namespace LibroAccess
