// The recipe-level flow of an import: the recipe shown or a run over all, the questions about
// a recipe's name, and the choice dialog a category or an ingredient leaves pending.

#include "import/importazione.h"
#include "ui_importazione.h"

#include "import/finestraimportazione.h"
#include "storage/datasource.h"
#include "storage/recordset.h"
#include "storage/schema.h"
#include "toolkit/applicazione.h"
#include "toolkit/dialogs.h"

using namespace Applicazione;

namespace {

const QString TitoloRicettaEsistente = QStringLiteral("Attenzione! Ricetta già esistente");
const QString TitoloRicettaSimile = QStringLiteral("Attenzione! Esiste già una ricetta simile");
const QString TitoloNuovoNome = QStringLiteral("Assegnazione nuovo nome alla ricetta");
const QString PerTutte =
    QStringLiteral("Applica questa risposta a tutte le domande uguali di questa importazione");

} // namespace

Dialogs::Risposta Importazione::chiedi(Domanda d, const QString &testo, const QString &titolo)
{
    if (const std::optional<Dialogs::Risposta> fissa = memoria_.risposta(d))
        return *fissa;
    bool spuntata = false;
    const Dialogs::Risposta r = dialogs().messageBox(testo, Dialogs::SiNoAnnulla, titolo,
                                                     Dialogs::NessunaIcona, PerTutte, spuntata);
    // Cancel ends the import: there is nothing after it to answer.
    if (spuntata && r != Dialogs::Annulla)
        memoria_.fissaRisposta(d, r);
    return r;
}

void Importazione::cmdImportaRicetta_Click()
{
    comando(
        [this] {
            setCursor(Qt::WaitCursor);
            memoria_.nuovaImportazione();
            esito_ = Esito::Prosegui;
            sceltaInAttesa_ = Scelta::Nessuna;
            modo_ = Modo::UnaRicetta;
            if (!rs(Ricette2).haRigaCorrente()) {
                unsetCursor();
                return; // a source book without recipes
            }
            ImportaRicetta();
            if (esito_ == Esito::Interrotto)
                Ripristina();
        },
        true);
}

void Importazione::cmdImportaTutto_Click()
{
    comando(
        [this] {
            setCursor(Qt::WaitCursor);
            memoria_.nuovaImportazione();
            CategoriaMostrata = ui->Cat->text();
            Recordset &r = rs(Ricette2);
            if (r.RecordCount() > 0)
                r.MoveFirst();
            modo_ = Modo::Tutte;
            cicloImportaTutto();
            if (esito_ != Esito::Interrotto && sceltaInAttesa_ == Scelta::Nessuna &&
                modo_ != Modo::TutteInAttesa) {
                completata_ = true;
                unsetCursor();
            }
            if (modo_ != Modo::TutteInAttesa) {
                ui->Cat->setText(CategoriaMostrata);
                if (r.RecordCount() > 0)
                    r.MoveFirst();
            }
            if (esito_ == Esito::Interrotto)
                Ripristina();
            esito_ = Esito::Prosegui;
        },
        true);
}

void Importazione::ImportaRicetta()
{
    // The category of the recipe imported, whatever the window shows: never two recipes in one.
    posizionaCategoria();
    NomeDaImportare = rs(Ricette2).value(Schema::NomeRicetta).toString();
    esito_ = Esito::Prosegui;
    confrontaConLeRicette();

    bool saltata = false;
    if (esito_ == Esito::Identico)
        chiediDellaRicettaIdentica(saltata);
    if (esito_ == Esito::Simile)
        chiediDellaRicettaSimile(saltata);

    if (saltata)
        ++memoria_.resoconto().saltate;
    if (esito_ != Esito::Interrotto && !saltata) {
        NuovoNome = NomeDaImportare;
        CopiaRicetta(NuovoNome);
        if (modo_ != Modo::Tutte && sceltaInAttesa_ == Scelta::Nessuna &&
            esito_ != Esito::Interrotto) {
            completata_ = true;
            Ricette1->Refresh();
            unsetCursor();
        }
    }
    if (esito_ == Esito::Interrotto) {
        sceltaInAttesa_ = Scelta::Nessuna;
        interruzione();
    }
}

void Importazione::confrontaConLeRicette()
{
    // The first identical or similar recipe of the current book, in table order, decides.
    Somiglianza s;
    const ElencoNomi &ricette = memoria_.nomi(Nomi::Ricette, rs(Ricette1));
    const int riga = ricette.primoSimile(NomeDaImportare, s);
    if (riga >= 0)
        ConfrontaNomi(ricette.voce(riga).nome);
}

void Importazione::chiediDellaRicettaIdentica(bool &saltata)
{
    const Dialogs::Risposta r =
        chiedi(Domanda::RicettaIdentica,
               "La ricetta che si vuol importare esiste già (" + NomeDaImportare + ")." +
                   "\r\nLa vuoi aggiungere ugualmente al tuo ricettario?",
               TitoloRicettaEsistente);
    if (r != Dialogs::Si) {
        nonAggiunta(r, saltata);
        return;
    }
    const QString nuovo = dialogs().inputBox(
        "Si consiglia di rinominare la ricetta che si sta importando.\r\nInserisci un nuovo nome",
        TitoloNuovoNome, NomeDaImportare);
    if (nuovo.isEmpty()) {
        esito_ = Esito::Interrotto;
        return;
    }
    if (nuovo != NomeDaImportare)
        ++memoria_.resoconto().rinominate;
    NomeDaImportare = nuovo;
    esito_ = Esito::Prosegui;
}

void Importazione::chiediDellaRicettaSimile(bool &saltata)
{
    esito_ = Esito::Prosegui;
    const Dialogs::Risposta r = chiedi(Domanda::RicettaSimile,
                                       righe({"La ricetta che si vuol importare ha un nome",
                                              "molto simile ad una ricetta già esistente.",
                                              "La vuoi aggiungere ugualmente al tuo ricettario?",
                                              "Ricetta da importare : " + NomeDaImportare,
                                              "Ricetta presente     : " + NomeSimile}),
                                       TitoloRicettaSimile);
    if (r != Dialogs::Si) {
        nonAggiunta(r, saltata);
        return;
    }
    const Dialogs::Risposta rinomina =
        chiedi(Domanda::RinominaRicetta, "La vuoi rinominare ?", TitoloRicettaSimile);
    if (rinomina == Dialogs::Si) {
        // Ticked for all, the question is answered; the new name is still asked for each.
        const QString nuovo = dialogs().inputBox("Inserisci il nuovo nome della ricetta.",
                                                 TitoloNuovoNome, NomeDaImportare);
        if (!nuovo.isEmpty() && nuovo != NomeDaImportare)
            ++memoria_.resoconto().rinominate;
        if (!nuovo.isEmpty())
            NomeDaImportare = nuovo;
    } else if (rinomina != Dialogs::No) {
        esito_ = Esito::Interrotto;
    }
}

void Importazione::ConfrontaNomi(const QString &esistente)
{
    switch (confrontaNomi(NomeDaImportare, esistente)) {
    case Somiglianza::Nessuna:
        esito_ = Esito::Prosegui;
        break;
    case Somiglianza::Identico:
        esito_ = Esito::Identico;
        break;
    case Somiglianza::Simile:
        esito_ = Esito::Simile;
        NomeSimile = esistente;
        break;
    case Somiglianza::Indefinito:
        break;
    }
}

void Importazione::nonAggiunta(Dialogs::Risposta r, bool &saltata)
{
    // No skips the recipe in a run and interrupts a single import; Cancel always interrupts.
    if (r == Dialogs::No && modo_ == Modo::Tutte)
        saltata = true;
    else
        esito_ = Esito::Interrotto;
}

void Importazione::interruzione()
{
    interruzioneMostrata_ = true;
    dialogs().messageBox("Importazione interrotta", Dialogs::SoloOK, "Importazione non eseguita",
                         Dialogs::NessunaIcona);
    unsetCursor();
}

void Importazione::cicloImportaTutto()
{
    Recordset &r = rs(Ricette2);
    while (!r.Eof() && r.RecordCount() > 0 && esito_ != Esito::Interrotto) {
        sceltaInAttesa_ = Scelta::Nessuna;
        ImportaRicetta();
        if (esito_ == Esito::Interrotto)
            return;
        if (sceltaInAttesa_ != Scelta::Nessuna) {
            modo_ = Modo::TutteInAttesa; // the run waits here for the choice
            return;
        }
        r.MoveNext();
    }
}

void Importazione::chiediScelta(Scelta tipo)
{
    SceltaImportazione = tipo == Scelta::Ingrediente ? FinestraImportazione::Ingrediente
                         : categoriaMancante_        ? FinestraImportazione::CategoriaMancante
                                                     : FinestraImportazione::Categoria;
    // A recipe without a category stands for all such; a name for the same name again.
    sceltaPer_ = QString::number(SceltaImportazione) +
                 (tipo == Scelta::Ingrediente || !categoriaMancante_ ? NomeDaImportare : QString());
    sceltaRichiesta_ = true;
}

void Importazione::scegli()
{
    if (const std::optional<qint64> fissa = memoria_.scelta(sceltaPer_)) {
        SceltaImportazione = *fissa;
        return;
    }
    setEnabled(false);
    {
        FinestraImportazione scelta(this, NuovoNome);
        scelta.exec();
        if (scelta.perTutte() && SceltaImportazione != 0)
            memoria_.fissaScelta(sceltaPer_, SceltaImportazione);
    }
    setEnabled(true);
    activateWindow();
}

void Importazione::ritornoDallaScelta()
{
    const Scelta tipo = sceltaInAttesa_;
    interruzioneMostrata_ = false;
    sceltaInAttesa_ = Scelta::Nessuna;
    if (SceltaImportazione == 0) {
        esito_ = Esito::Interrotto;
    } else if (tipo == Scelta::Categoria) {
        AggiungiRicetta(SceltaImportazione, NuovoNome);
        if (esito_ != Esito::Interrotto) {
            rigaSorgente_ = 0;
            CopiaIngredienti();
        }
    } else {
        aggiungiRiga(SceltaImportazione);
        if (rigaSorgente_ < righeSorgente(IDRicettaImportata).size() &&
            esito_ != Esito::Interrotto) {
            ++rigaSorgente_;
            CopiaIngredienti();
        }
    }
    if (sceltaInAttesa_ == Scelta::Ingrediente) {
        chiediScelta(Scelta::Ingrediente); // the same recipe goes on after the next choice
    } else {
        if (esito_ != Esito::Interrotto && modo_ == Modo::TutteInAttesa)
            riprendiLaCorsa();
        if (esito_ == Esito::Interrotto) {
            sceltaInAttesa_ = Scelta::Nessuna;
            if (!interruzioneMostrata_)
                interruzione();
        }
    }
    ui->Cat->setText(CategoriaMostrata);
    if (esito_ == Esito::Interrotto)
        Ripristina();
}

void Importazione::riprendiLaCorsa()
{
    modo_ = Modo::Tutte;
    Recordset &r = rs(Ricette2);
    r.MoveNext();
    cicloImportaTutto();
    if (modo_ == Modo::TutteInAttesa)
        return;
    if (r.Eof() && esito_ != Esito::Interrotto && sceltaInAttesa_ == Scelta::Nessuna) {
        completata_ = true;
        unsetCursor();
        Ricette1->Refresh();
        riempiListaRicette();
    }
    if (r.RecordCount() > 0)
        r.MoveFirst();
}
