// Bringing a recipe in: its category and each of its ingredients mapped onto the current book,
// the recipe row and its lines added with keys of the current book.

#include "import/importazione.h"
#include "ui_importazione.h"

#include "storage/datasource.h"
#include "storage/engineerror.h"
#include "storage/recordset.h"
#include "storage/schema.h"
#include "toolkit/dialogs.h"

namespace {

enum ColonnaRiga { RigaRicetta = 1, RigaIngrediente = 2, RigaQuantita = 3, RigaCommenti = 4 };

} // namespace

const ElencoNomi &Importazione::nomi(ElencoNomi &elenco, DataSource *ds)
{
    const int quale = &elenco == &nomiRicette_ ? 0 : &elenco == &nomiCategorie_ ? 1 : 2;
    if (!nomiLetti_[quale]) {
        elenco.svuota();
        Recordset &r = rs(ds);
        for (int p = 0; p < r.RecordCount(); ++p)
            elenco.aggiungi(r.valoreAlPosto(p, 0).toLongLong(), r.valoreAlPosto(p, 1).toString());
        nomiLetti_[quale] = true;
    }
    return elenco;
}

void Importazione::dimenticaNomi()
{
    for (bool &letti : nomiLetti_)
        letti = false;
    righeLette_ = ingredientiLetti_ = false;
    righePerRicetta_.clear();
    ingredientiSorgente_.clear();
}

QList<int> &Importazione::righeSorgente(qint64 ricetta)
{
    // The source book's lines by recipe, in table order: read once, not once per recipe.
    if (!righeLette_) {
        righePerRicetta_.clear();
        Recordset &r = rs(IngrRic);
        for (int p = 0; p < r.RecordCount(); ++p)
            righePerRicetta_[r.valoreAlPosto(p, RigaRicetta).toLongLong()].append(p);
        righeLette_ = true;
    }
    return righePerRicetta_[ricetta];
}

QString Importazione::ingredienteSorgente(qint64 chiave)
{
    if (!ingredientiLetti_) {
        ingredientiSorgente_.clear();
        Recordset &r = rs(Ingr2);
        for (int p = 0; p < r.RecordCount(); ++p)
            ingredientiSorgente_.insert(r.valoreAlPosto(p, 0).toLongLong(),
                                        r.valoreAlPosto(p, 1).toString());
        ingredientiLetti_ = true;
    }
    return ingredientiSorgente_.value(chiave);
}

int Importazione::scansione(const ElencoNomi &elenco, const QString &nome)
{
    int identico = -1, simile = -1;
    elenco.scandisci(nome, identico, simile);
    Esito = Prosegui;
    if (identico >= 0) {
        NomeEsistente = elenco.voce(identico).nome;
        Esito = Identico;
    } else if (simile >= 0) {
        NomeEsistente = NomeSimile = elenco.voce(simile).nome;
        Esito = Simile;
    }
    return identico;
}

qint64 Importazione::aggiungiNome(DataSource *ds, ElencoNomi &elenco)
{
    Recordset &tabella = rs(ds);
    tabella.AddNew();
    tabella.setValue(1, NomeDaImportare); // the name follows the key in both tables
    tabella.Update();
    const qint64 chiave = tabella.database().ultimaChiave();
    elenco.aggiungi(chiave, NomeDaImportare);
    return chiave;
}

bool Importazione::chiediDelSimile(const DomandaSimile &d, int tipo, QString &nuovoNome)
{
    const Dialogs::Risposta r =
        dialogs().messageBox(d.testo, Dialogs::SiNoAnnulla, d.titolo, Dialogs::NessunaIcona);
    if (r == Dialogs::Si) {
        const Dialogs::Risposta rinomina = dialogs().messageBox(
            "La vuoi rinominare ?", Dialogs::SiNoAnnulla, d.titoloRinomina, Dialogs::NessunaIcona);
        if (rinomina == Dialogs::Si) {
            nuovoNome = dialogs().inputBox(d.prompt, d.titoloNuovoNome, NomeDaImportare);
            if (!nuovoNome.isEmpty())
                NomeDaImportare = nuovoNome;
        } else if (rinomina != Dialogs::No) {
            Esito = Interrotto;
            SceltaInAttesa = 0;
        }
        return false;
    }
    if (r == Dialogs::No) {
        SceltaInAttesa = tipo;
        Esito = InAttesa;
        return true;
    }
    Esito = Interrotto;
    SceltaInAttesa = 0;
    return false;
}

void Importazione::CopiaRicetta(const QString &nome)
{
    IDRicettaImportata = 0;
    qint64 k = 0;
    AssegnaCategoria(k);
    if (SceltaInAttesa == 1 && Esito != Interrotto) {
        chiediScelta(1);
        return;
    }
    if (SceltaInAttesa == 0 && Esito != Interrotto)
        AggiungiRicetta(k, nome);
    if (SceltaInAttesa == 0 && Esito != Interrotto) {
        rigaSorgente_ = 0;
        CopiaIngredienti();
        if (SceltaInAttesa == 2)
            chiediScelta(2);
    }
}

void Importazione::AssegnaCategoria(qint64 &k)
{
    SceltaInAttesa = 0;
    NomeDaImportare.clear();
    NomeEsistente.clear();
    // A recipe whose category the source book does not hold keeps none.
    if (!categoriaTrovata_) {
        Esito = Prosegui;
        k = 0;
        return;
    }
    NomeDaImportare = rs(Categorie2).value("CategoriaAlimentare").toString();
    const int identico = scansione(nomi(nomiCategorie_, Categorie1), NomeDaImportare);

    if (Esito == Identico) {
        k = nomiCategorie_.voce(identico).chiave;
        return;
    }
    if (Esito == Simile) {
        DomandaSimile d;
        d.testo = righe(
            {"La ricetta che si vuol importare, ha una Categoria Alimentare con un nome",
             "molto simile a quello di una Categoria Alimentare già presente.", "",
             "La vuoi aggiungere ugualmente al tuo ricettario?",
             "(Scegliendo 'No' potrai selezionare una categoria del tuo ricettario)", "",
             "Categoria da importare : " + NomeDaImportare, "Categoria presente: " + NomeSimile});
        d.titolo = d.titoloRinomina = "Attenzione! Esiste già una Categoria Alimentare simile";
        d.prompt = "Inserisci il nuovo nome della Categoria Alimentare.";
        d.titoloNuovoNome = "Assegnazione nuovo nome alla Categoria Alimentare";
        if (chiediDelSimile(d, 1, NuovoNomeCategoria))
            return; // the choice dialog gives k
    }
    if (Esito == Prosegui || Esito == Simile)
        k = aggiungiNome(Categorie1, nomiCategorie_);
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
            ricette.setValue(i, i == Schema::NomeRicetta             ? QVariant(nome)
                                : i == Schema::IDCategoriaAlimentare ? QVariant(k)
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
        Esito = Interrotto;
        return;
    }
    nuovaRicetta_ = ricette.database().ultimaChiave();
    nomiRicette_.aggiungi(nuovaRicetta_, nome);
}

void Importazione::CopiaIngredienti()
{
    NomeDaImportare.clear();
    NomeEsistente.clear();
    Recordset &righeSorgenti = rs(IngrRic);
    const QList<int> &linee = righeSorgente(IDRicettaImportata);
    for (; rigaSorgente_ < linee.size(); ++rigaSorgente_) {
        Esito = Prosegui;
        const qint64 chiaveSorgente =
            righeSorgenti.valoreAlPosto(linee.at(rigaSorgente_), RigaIngrediente).toLongLong();
        NomeDaImportare = ingredienteSorgente(chiaveSorgente);
        // A line whose ingredient the source book does not hold cannot be brought in.
        if (NomeDaImportare.isEmpty() && !ingredientiSorgente_.contains(chiaveSorgente))
            continue;
        const int identico = scansione(nomi(nomiIngredienti_, Ingr1), NomeDaImportare);
        qint64 chiave = 0;
        if (Esito == Identico)
            chiave = nomiIngredienti_.voce(identico).chiave;
        if (Esito == Simile) {
            DomandaSimile d;
            d.testo = righe({"La ricetta che si vuol importare, ha un Ingrediente con un nome",
                             "molto simile a quello di un Ingrediente già presente.", "",
                             "Lo vuoi aggiungere ugualmente al tuo ricettario?",
                             "(Scegliendo 'No' potrai selezionare un ingrediente del tuo "
                             "ricettario)",
                             "", "Ingrediente da importare : " + NomeDaImportare,
                             "Ingrediente presente: " + NomeSimile});
            d.titolo = "Attenzione! Esiste già un Ingrediente simile";
            d.titoloRinomina = "Attenzione! Esiste già un'Ingrediente simile";
            d.prompt = "Inserisci il nuovo nome dell'Ingrediente.";
            d.titoloNuovoNome = "Assegnazione nuovo nome all'Ingrediente";
            if (chiediDelSimile(d, 2, NuovoNomeIngrediente))
                return; // the choice completes this line
        }
        if (Esito == Prosegui || Esito == Simile)
            chiave = aggiungiNome(Ingr1, nomiIngredienti_);
        if (Esito == Interrotto) {
            SceltaInAttesa = 0;
            return;
        }
        aggiungiRiga(chiave);
    }
    if (ModoImportazione == 0 && Esito != Interrotto)
        unsetCursor();
}

void Importazione::aggiungiRiga(qint64 chiaveIngrediente)
{
    const Recordset &sorgente = rs(IngrRic);
    const int p = righeSorgente(IDRicettaImportata).at(rigaSorgente_);
    Recordset &righe = rs(Ingredienti1);
    righe.AddNew();
    righe.setValue(RigaRicetta, nuovaRicetta_);
    righe.setValue(RigaIngrediente, chiaveIngrediente);
    righe.setValue(RigaQuantita, sorgente.valoreAlPosto(p, RigaQuantita));
    righe.setValue(RigaCommenti, sorgente.valoreAlPosto(p, RigaCommenti));
    righe.Update();
}
