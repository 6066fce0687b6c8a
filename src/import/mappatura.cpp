// Bringing a recipe in: its category and each of its ingredients mapped onto the current book,
// the recipe row and its lines added with keys of the current book.

#include "import/importazione.h"
#include "ui_importazione.h"

#include "storage/datasource.h"
#include "storage/engineerror.h"
#include "storage/recordset.h"
#include "storage/schema.h"
#include "storage/statement.h"
#include "toolkit/dialogs.h"

const QList<int> &Importazione::righeSorgente(qint64 ricetta)
{
    return memoria_.righeSorgente(ricetta, rs(IngrRic));
}

int Importazione::scansione(const ElencoNomi &elenco, const QString &nome)
{
    int identico = -1, simile = -1;
    elenco.scandisci(nome, identico, simile);
    esito_ = Esito::Prosegui;
    if (identico >= 0) {
        esito_ = Esito::Identico;
    } else if (simile >= 0) {
        NomeSimile = elenco.voce(simile).nome;
        esito_ = Esito::Simile;
    }
    return identico;
}

qint64 Importazione::aggiungiNome(DataSource *ds, Nomi quali)
{
    Recordset &tabella = rs(ds);
    tabella.AddNew();
    tabella.setValue(ElencoNomi::ColonnaNome, NomeDaImportare);
    tabella.Update();
    const qint64 chiave = tabella.database().ultimaChiave();
    memoria_.aggiunto(quali, chiave, NomeDaImportare);
    return chiave;
}

bool Importazione::chiediDelSimile(const DomandaSimile &d, Scelta tipo)
{
    const Dialogs::Risposta r = chiedi(d.domanda, d.testo, d.titolo);
    if (r == Dialogs::Si) {
        const Dialogs::Risposta rinomina =
            chiedi(d.rinomina, "La vuoi rinominare ?", d.titoloRinomina);
        if (rinomina == Dialogs::Si) {
            const QString nuovoNome =
                dialogs().inputBox(d.prompt, d.titoloNuovoNome, NomeDaImportare);
            if (!nuovoNome.isEmpty())
                NomeDaImportare = nuovoNome;
        } else if (rinomina != Dialogs::No) {
            esito_ = Esito::Interrotto;
            sceltaInAttesa_ = Scelta::Nessuna;
        }
        return false;
    }
    if (r == Dialogs::No) {
        sceltaInAttesa_ = tipo;
        esito_ = Esito::InAttesa;
        return true;
    }
    esito_ = Esito::Interrotto;
    sceltaInAttesa_ = Scelta::Nessuna;
    return false;
}

void Importazione::CopiaRicetta(const QString &nome)
{
    IDRicettaImportata = 0;
    qint64 k = 0;
    AssegnaCategoria(k);
    if (sceltaInAttesa_ == Scelta::Categoria && esito_ != Esito::Interrotto) {
        chiediScelta(Scelta::Categoria);
        return;
    }
    if (sceltaInAttesa_ == Scelta::Nessuna && esito_ != Esito::Interrotto)
        AggiungiRicetta(k, nome);
    if (sceltaInAttesa_ == Scelta::Nessuna && esito_ != Esito::Interrotto) {
        rigaSorgente_ = 0;
        CopiaIngredienti();
        if (sceltaInAttesa_ == Scelta::Ingrediente)
            chiediScelta(Scelta::Ingrediente);
    }
}

void Importazione::AssegnaCategoria(qint64 &k)
{
    sceltaInAttesa_ = Scelta::Nessuna;
    NomeDaImportare.clear();
    categoriaMancante_ = false;
    k = 0;
    esito_ = Esito::Prosegui;
    // A recipe without a category, or with one its book does not hold, gets one the cook picks
    // among the current book's, or none; a book without categories has none to offer.
    const ElencoNomi &categorie = memoria_.nomi(Nomi::Categorie, rs(Categorie1));
    if (!categoriaTrovata_) {
        if (categorie.conta() > 0) {
            categoriaMancante_ = true;
            sceltaInAttesa_ = Scelta::Categoria;
            esito_ = Esito::InAttesa;
        }
        return;
    }
    NomeDaImportare = rs(Categorie2).value(Schema::CategoriaAlimentare).toString();
    const int identico = scansione(categorie, NomeDaImportare);

    if (esito_ == Esito::Identico) {
        k = categorie.voce(identico).chiave;
        return;
    }
    if (esito_ == Esito::Simile) {
        DomandaSimile d;
        d.testo = righe(
            {"La ricetta che si vuol importare, ha una Categoria Alimentare con un nome",
             "molto simile a quello di una Categoria Alimentare già presente.", "",
             "La vuoi aggiungere ugualmente al tuo ricettario?",
             "(Scegliendo 'No' potrai selezionare una categoria del tuo ricettario)", "",
             "Categoria da importare : " + NomeDaImportare, "Categoria presente: " + NomeSimile});
        d.domanda = Domanda::CategoriaSimile;
        d.rinomina = Domanda::RinominaCategoria;
        d.titolo = d.titoloRinomina = "Attenzione! Esiste già una Categoria Alimentare simile";
        d.prompt = "Inserisci il nuovo nome della Categoria Alimentare.";
        d.titoloNuovoNome = "Assegnazione nuovo nome alla Categoria Alimentare";
        if (chiediDelSimile(d, Scelta::Categoria))
            return; // the choice dialog gives k
    }
    if (esito_ == Esito::Prosegui || esito_ == Esito::Simile)
        k = aggiungiNome(Categorie1, Nomi::Categorie);
}

void Importazione::AggiungiRicetta(qint64 k, const QString &nome)
{
    Recordset &sorgente = rs(Ricette2);
    Recordset &ricette = rs(Ricette1);
    rigaSorgente_ = 0;
    ricette.AddNew();
    for (int i = Schema::NomeRicetta; i <= Schema::Utensili; ++i) {
        // A value the current book cannot hold leaves that column empty; the rest is copied.
        try {
            // No category is stored as none, never as a key no category has.
            ricette.setValue(i, i == Schema::NomeRicetta ? QVariant(nome)
                                : i == Schema::IDCategoriaAlimentare
                                    ? (k > 0 ? QVariant(k) : QVariant())
                                    : sorgente.value(i));
        } catch (const EngineError &) {
        }
    }
    IDRicettaImportata = sorgente.value(Schema::IDRicetta).toLongLong();
    try {
        ricette.Update();
    } catch (const EngineError &e) {
        // Without its row the recipe's lines have nowhere to go: the import stops here.
        ricette.CancelUpdate();
        messaggioErrore(e.description());
        esito_ = Esito::Interrotto;
        return;
    }
    nuovaRicetta_ = ricette.database().ultimaChiave();
    memoria_.aggiunto(Nomi::Ricette, nuovaRicetta_, nome);
}

void Importazione::CopiaIngredienti()
{
    NomeDaImportare.clear();
    Recordset &righeSorgenti = rs(IngrRic);
    const QList<int> &linee = righeSorgente(IDRicettaImportata);
    for (; rigaSorgente_ < linee.size(); ++rigaSorgente_) {
        esito_ = Esito::Prosegui;
        const qint64 chiaveSorgente =
            righeSorgenti.valoreAlPosto(linee.at(rigaSorgente_), Schema::RigaIngrediente)
                .toLongLong();
        const std::optional<QString> nome = memoria_.ingredienteSorgente(chiaveSorgente, rs(Ingr2));
        // A line whose ingredient the source book does not hold cannot be brought in.
        if (!nome)
            continue;
        NomeDaImportare = *nome;
        const ElencoNomi &ingredienti = memoria_.nomi(Nomi::Ingredienti, rs(Ingr1));
        const int identico = scansione(ingredienti, NomeDaImportare);
        qint64 chiave = 0;
        if (esito_ == Esito::Identico)
            chiave = ingredienti.voce(identico).chiave;
        if (esito_ == Esito::Simile) {
            DomandaSimile d;
            d.testo = righe({"La ricetta che si vuol importare, ha un Ingrediente con un nome",
                             "molto simile a quello di un Ingrediente già presente.", "",
                             "Lo vuoi aggiungere ugualmente al tuo ricettario?",
                             "(Scegliendo 'No' potrai selezionare un ingrediente del tuo "
                             "ricettario)",
                             "", "Ingrediente da importare : " + NomeDaImportare,
                             "Ingrediente presente: " + NomeSimile});
            d.domanda = Domanda::IngredienteSimile;
            d.rinomina = Domanda::RinominaIngrediente;
            d.titolo = "Attenzione! Esiste già un Ingrediente simile";
            d.titoloRinomina = "Attenzione! Esiste già un'Ingrediente simile";
            d.prompt = "Inserisci il nuovo nome dell'Ingrediente.";
            d.titoloNuovoNome = "Assegnazione nuovo nome all'Ingrediente";
            if (chiediDelSimile(d, Scelta::Ingrediente))
                return; // the choice completes this line
        }
        if (esito_ == Esito::Prosegui || esito_ == Esito::Simile)
            chiave = aggiungiNome(Ingr1, Nomi::Ingredienti);
        if (esito_ == Esito::Interrotto) {
            sceltaInAttesa_ = Scelta::Nessuna;
            return;
        }
        aggiungiRiga(chiave);
    }
    if (modo_ == Modo::UnaRicetta && esito_ != Esito::Interrotto)
        unsetCursor();
}

void Importazione::aggiungiRiga(qint64 chiaveIngrediente)
{
    const Recordset &sorgente = rs(IngrRic);
    const int p = righeSorgente(IDRicettaImportata).at(rigaSorgente_);
    // Written by one statement kept prepared, not through the lines' set, which the import
    // never reads: a collection brings tens of thousands of lines.
    static const QString inserisci = [] {
        const Schema::Tabella *t = Schema::tabella(Schema::IngredientiRicetta);
        QStringList nomi, posti;
        for (int i = Schema::RigaRicetta; i <= Schema::Commenti; ++i) {
            nomi << quotaNome(t->colonne.at(i).nome);
            posti << QStringLiteral("?");
        }
        return QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
            .arg(quotaNome(t->nome), nomi.join(','), posti.join(','));
    }();
    libroCorrente()->scrivi(Schema::IngredientiRicetta, inserisci,
                            {nuovaRicetta_, chiaveIngrediente,
                             sorgente.valoreAlPosto(p, Schema::Quantita),
                             sorgente.valoreAlPosto(p, Schema::Commenti)});
}
