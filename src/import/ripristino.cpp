// A button's work in one transaction, and the rollback: the backup copy taken when the window
// opened goes back over the current book on an interruption, an engine error and "Annulla".

#include "import/importazione.h"

#include "storage/datasource.h"
#include "storage/engineerror.h"
#include "toolkit/applicazione.h"
#include "toolkit/dialogs.h"

#include <QFile>
#include <utility>

using namespace Applicazione;

namespace {

// Whether two files hold the same bytes; false when either cannot be read.
bool stessiByte(const QString &a, const QString &b)
{
    QFile fa(a), fb(b);
    if (!fa.open(QIODevice::ReadOnly) || !fb.open(QIODevice::ReadOnly) || fa.size() != fb.size())
        return false;
    while (!fa.atEnd())
        if (fa.read(1 << 20) != fb.read(1 << 20))
            return false;
    return true;
}

} // namespace

QStringList Importazione::statoDelLibro(const QString &ripristino) const
{
    // A copy that could not be put back frightens only when the book is not as it was: nothing
    // committed since the window opened (what was pending is rolled back), or the same bytes.
    if (!tenuto_ || stessiByte(RicettarioCorrente, CopiaDiSicurezza))
        return {"Il ricettario corrente è com'era all'apertura di questa finestra: non è "
                "cambiato nulla."};
    return {"Non è stato possibile rimettere la copia di sicurezza:",
            ripristino,
            "Il ricettario corrente non è com'era all'apertura di questa finestra.",
            "Per riaverlo com'era, usate la copia di sicurezza",
            CopiaDiSicurezza,
            "mettendola al posto di",
            RicettarioCorrente};
}

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
            tenuto_ = true;
        }
        // Said only now: until the commit a full disk or a reader's lock can still undo it.
        if (std::exchange(completata_, false))
            dialogs().messageBox(memoria_.completata(), Dialogs::SoloOK, "Fine importazione",
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
        testo = {"L'importazione non è stata eseguita:", e.description()};
    if (ripristino.isEmpty() && scrive)
        testo << "Il ricettario corrente è tornato com'era all'apertura di questa finestra.";
    else if (!ripristino.isEmpty())
        testo << statoDelLibro(ripristino);
    messaggioErrore(righe(testo));
}

void Importazione::rimettiCopia()
{
    lavoro_.reset(); // rolled back: the copy replaces it anyway
    for (DataSource *ds : sorgenti())
        if (const std::shared_ptr<Database> d = ds->Database())
            d->Close();
    Database::ripristina(CopiaDiSicurezza, RicettarioCorrente);
    tenuto_ = false;
}

void Importazione::Ripristina()
{
    rimettiCopia();
    memoria_.dimenticaLibri();
    for (DataSource *ds : sorgenti())
        ds->Refresh();
}

void Importazione::Annulla_Click()
{
    try {
        rimettiCopia();
    } catch (const EngineError &e) {
        messaggioErrore(righe(statoDelLibro(e.description())));
        // The window stays, its books open again: the user can try again or close it.
        memoria_.dimenticaLibri();
        for (DataSource *ds : sorgenti())
            ds->Refresh();
        return;
    }
    close();
}
