#pragma once

#include "formati/lettura.h"

#include <QString>
#include <functional>

// Recipe books kept in the older Jet (Access) format. They are never opened in place: a helper
// program reads them into a new book of ours beside the original, which stays as it is.
namespace LibroAccess {

// The title of the question before a conversion, and of its progress window.
inline const QString Titolo = QStringLiteral("Ricettario in un formato più vecchio");

// A Jet file, known by its header ("Standard Jet DB" at offset 4), not by its name.
bool riconosci(const QString &percorso);

// "<name>.pentolone.mdb" beside the file, or the next free name ("<name>.pentolone-2.mdb", ...);
// <name> is the file name without its last extension.
QString nomeDellaCopia(const QString &percorso);

} // namespace LibroAccess

// One conversion of a Jet book into a new book of ours, through the helper program
// ("pentolone-jet"; stopped when it reports no progress for 10 s), while the event loop runs. It
// ends with riuscita() or rifiutata(), once, every text naming the file; on a refusal, a cancel,
// a time-out or its destruction while it runs, nothing is left at the destination nor beside it.
class ConversioneAccess : public Lettura
{
    Q_OBJECT

public:
    explicit ConversioneAccess(const Aiutante::Opzioni &opzioni = {}, QObject *genitore = nullptr);
    ~ConversioneAccess() override;

    void avvia(const QString &percorso, const QString &destinazione);
    // The step every opening of a Jet book takes: after chiedi(testo, titolo) says yes, the
    // conversion into LibroAccess::nomeDellaCopia() starts and true comes back; on no, false and
    // nothing changed.
    bool proponi(const QString &percorso,
                 const std::function<bool(const QString &testo, const QString &titolo)> &chiedi);

signals:
    // Rows copied so far of how many.
    void avanzamento(int fatti, int totale);
    // The new book is at destinazione, whole.
    void riuscita(const QString &destinazione);

private:
    void letta(const QString &riga);
    void terminato(Aiutante::Esito esito) override;

    QString percorso_, destinazione_, parziale_;
    // What the helper reported: rows copied of how many, whether it reached its end, and its
    // last other line (a refusal).
    int fatti_ = 0, totale_ = 0;
    bool completa_ = false;
    QString ultima_;
};
