// A button's work in one transaction, and the rollback: the backup copy taken when the window
// opened goes back over the current book on an interruption, an engine error and "Annulla".

#include "import/importazione.h"

#include "storage/datasource.h"
#include "storage/engineerror.h"
#include "toolkit/applicazione.h"
#include "toolkit/dialogs.h"

#include <utility>

using namespace Applicazione;

void Importazione::comando(const std::function<void()> &lavoro, bool scrive)
{
    try {
        // One transaction for a button's writes: quicker, and a crash loses all or nothing.
        if (scrive && !lavoro_ && caricata_ && libroCorrente() && libroCorrente()->aperto())
            lavoro_.emplace(*libroCorrente());
        lavoro();
        while (sceltaRichiesta_) {
            sceltaRichiesta_ = false;
            scegli();
            Form_Activate();
        }
        if (lavoro_) {
            lavoro_->commit();
            lavoro_.reset();
        }
        // Said only now: until the commit a full disk or a reader's lock can still undo it.
        if (std::exchange(completata_, false))
            dialogs().messageBox(completata(), Dialogs::SoloOK, "Fine importazione",
                                 Dialogs::NessunaIcona);
    } catch (const EngineError &e) {
        lavoroFallito(e, scrive);
    }
}

void Importazione::lavoroFallito(const EngineError &e, bool scrive)
{
    // What the import could not read or write ends it, and the book goes back as it was.
    sceltaRichiesta_ = completata_ = false;
    setEnabled(true);
    sceltaInAttesa_ = Scelta::Nessuna;
    esito_ = Esito::Prosegui;
    QString ripristino;
    try {
        Ripristina();
    } catch (const EngineError &e2) {
        ripristino = e2.description();
    }
    unsetCursor();
    QStringList testo{e.description()};
    if (scrive)
        testo = {"L'importazione non è stata eseguita:", e.description(),
                 ripristino.isEmpty() ? "Il ricettario corrente è tornato com'era "
                                        "all'apertura di questa finestra."
                                      : "Non è stato possibile rimettere la copia di sicurezza:"};
    if (!ripristino.isEmpty())
        testo << ripristino;
    messaggioErrore(righe(testo));
}

void Importazione::rimettiCopia()
{
    lavoro_.reset(); // rolled back: the copy replaces it anyway
    for (DataSource *ds : sorgenti())
        if (const std::shared_ptr<Database> d = ds->Database())
            d->Close();
    Database::ripristina(CopiaDiSicurezza, RicettarioCorrente);
}

void Importazione::Ripristina()
{
    rimettiCopia();
    dimenticaNomi();
    for (DataSource *ds : sorgenti())
        ds->Refresh();
}

void Importazione::Annulla_Click()
{
    try {
        rimettiCopia();
    } catch (const EngineError &e) {
        messaggioErrore(e.description());
        return; // the window stays: the user can try again or close it
    }
    close();
}
