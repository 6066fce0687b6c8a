#pragma once

#include "import/elenconomi.h"
#include "import/memoria.h"
#include "storage/database.h"
#include "toolkit/applicazione.h"
#include "toolkit/dialogs.h"

#include <QWidget>
#include <functional>
#include <memory>
#include <optional>

namespace Ui {
class Importazione;
}
class DataSource;
class EngineError;
class Recordset;
class QFont;

// The import window: brings the recipes of another book (the source) into the current one, one
// or all, asking about every identical or similar recipe, category and ingredient. A copy of
// the current book taken when the window opens ("<book>.old") is put back when the import is
// interrupted and by "Annulla". The class is split by concern: importazione.cpp (the window),
// flussoricette.cpp (the recipe-level flow: the buttons' imports, the questions about a
// recipe's name, the run over all, the choice dialog), ripristino.cpp (a button's transaction
// and the rollback), mappatura.cpp (categories, ingredients, the copying); what the import
// remembers while it runs (names, answers for all, counts) is a MemoriaImportazione.
// What an import window is opened on, besides the book it reads (RicettarioDaImportare).
struct DaImportare
{
    // What the caption names instead of the book's file when the recipes come from elsewhere (a
    // page's address, a foreign file's name); empty for a book.
    QString nome;
    Applicazione::Provenienza provenienza = Applicazione::Provenienza::Ricettario;
};

class Importazione : public QWidget
{
    Q_OBJECT

public:
    explicit Importazione(const DaImportare &origine = {}, QWidget *parent = nullptr);
    ~Importazione() override;

    // Whether a book can be imported into the current one: an empty text, or why not.
    static QString sorgenteNonValida(const QString &sorgente);

protected:
    void showEvent(QShowEvent *e) override;
    void closeEvent(QCloseEvent *e) override;
    bool eventFilter(QObject *o, QEvent *e) override;

private:
    // What the buttons import: the recipe shown, all of them, or all of them while the run
    // waits for a choice.
    enum class Modo { UnaRicetta, Tutte, TutteInAttesa };
    // The choice dialog a step leaves pending.
    enum class Scelta { Nessuna, Categoria, Ingrediente };
    // Outcome of a step.
    enum class Esito { Prosegui, Identico, Simile, Interrotto, InAttesa };
    using Domanda = MemoriaImportazione::Domanda;
    using Nomi = MemoriaImportazione::Nomi;

    // Data sources: the current book, then the source book.
    DataSource *Ricette1, *Categorie1, *Ingr1, *Ingredienti1;
    DataSource *Ricette2, *Categorie2, *Ingr2, *IngrRic;

    // The window (importazione.cpp).
    void Form_Load();
    void prendiCopia(); // the backup copy; without it the import buttons stay off
    void apriLibri();   // the eight data sources, an opening error said once
    void Form_Activate();
    void impRicette_Click();
    void impRicette_GotFocus();
    void cmdChiudi_Click();
    void cmdAiuto_Click();
    void riempiListaRicette();
    void CaricaIngredienti();
    void MostraCategoria();
    void posizionaCategoria(); // Categorie2 on the current source recipe's category
    void messaggioErrore(const QString &testo);
    static QString accorcia(const QString &testo, const QFont &carattere); // to 30 characters' room
    QList<DataSource *> sorgenti() const; // the eight, the current book's first
    Recordset &rs(DataSource *ds) const;
    std::shared_ptr<Database> libroCorrente() const;

    // The recipe-level flow (flussoricette.cpp).
    void cmdImportaTutto_Click();
    void cmdImportaRicetta_Click();
    void ImportaRicetta();
    void confrontaConLeRicette(); // the first identical or similar recipe of the current book
    void chiediDellaRicettaIdentica(bool &saltata);
    void chiediDellaRicettaSimile(bool &saltata);
    void ConfrontaNomi(const QString &esistente);
    void nonAggiunta(Dialogs::Risposta r, bool &saltata); // No or Cancel to a recipe's name
    void interruzione();                                  // "Importazione interrotta"
    void cicloImportaTutto();       // the run over all recipes from the current source recipe
    void chiediScelta(Scelta tipo); // the choice dialog, after the current step
    void scegli();                  // the choice dialog shown, or the choice ticked for all
    // A question of the import, unless a tick already answered its kind.
    Dialogs::Risposta chiedi(Domanda d, const QString &testo, const QString &titolo);
    void ritornoDallaScelta(); // the work that waited for the choice
    void riprendiLaCorsa();    // the run goes on after the recipe that waited

    // A button's work and the rollback (ripristino.cpp): the choices it leaves pending are
    // asked for in turn, the writes are committed at the end, and an engine error interrupts
    // and puts the copy back.
    void comando(const std::function<void()> &lavoro, bool scrive = false);
    void lavoroFallito(const EngineError &e, bool scrive);
    void Annulla_Click();
    void Ripristina();
    void rimettiCopia(); // the backup copy back over the current book, every book closed
    // After a copy that could not be put back (why): whether the book is as it was, or
    // which copy to use.
    QStringList statoDelLibro(const QString &ripristino) const;

    // The mapping (mappatura.cpp).
    struct DomandaSimile
    {
        Domanda domanda, rinomina;
        QString testo, titolo, titoloRinomina, prompt, titoloNuovoNome;
    };
    void CopiaRicetta(const QString &nome);
    void AssegnaCategoria(qint64 &k);
    void AggiungiRicetta(qint64 k, const QString &nome);
    void CopiaIngredienti();
    // The question about a similar category or ingredient: added as it is, renamed,
    // interrupted, or true when the user wants to pick an existing one.
    bool chiediDelSimile(const DomandaSimile &d, Scelta tipo);
    // A new category or ingredient named NomeDaImportare: its key in the current book.
    qint64 aggiungiNome(DataSource *ds, Nomi quali);
    int scansione(const ElencoNomi &elenco, const QString &nome); // returns the identical row
    void aggiungiRiga(qint64 chiaveIngrediente); // the waiting source line, with this ingredient
    const QList<int> &righeSorgente(qint64 ricetta); // a source recipe's lines in IngrRic

    std::unique_ptr<Ui::Importazione> ui;
    QString CopiaDiSicurezza;
    Modo modo_ = Modo::UnaRicetta;
    Scelta sceltaInAttesa_ = Scelta::Nessuna;
    Esito esito_ = Esito::Prosegui;
    QString NomeDaImportare, NomeSimile;
    QString NuovoNome; // the name the recipe waiting for a choice is added with
    qint64 IDRicettaImportata = 0;
    QString CategoriaMostrata;
    const DaImportare origine_;
    bool aperta_ = false;
    bool sceltaRichiesta_ = false;
    bool interruzioneMostrata_ = false;
    bool completata_ = false;        // "Importazione completata" waits for the commit
    bool caricata_ = false;          // the backup copy was taken: the import can begin
    bool tenuto_ = false;            // a commit since the book was last as its backup copy
    bool categoriaTrovata_ = false;  // the source recipe's category is in the source book
    bool categoriaMancante_ = false; // the choice asked for is a category for a recipe without
    QString sceltaPer_;              // what the choice asked for stands for
    MemoriaImportazione memoria_;
    std::optional<Database::Transazione> lavoro_;

    // Where the copy of a recipe stands.
    qint64 nuovaRicetta_ = 0; // key of the recipe row just added to the current book
    int rigaSorgente_ = 0;    // index, among the source recipe's lines, of the line in hand
};
