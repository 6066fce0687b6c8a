#pragma once

#include "import/importazione.h"
#include "toolkit/applicazione.h"

#include <QHash>
#include <QMainWindow>
#include <QPointer>
#include <functional>
#include <memory>

namespace Ui {
class Menu;
}
struct RicettaEstera;
struct Rifiuto;
class Lavoro;
class LetturaPagina;
class QUrl;
class Cerca;
class ListaSpesa;
class MenuSettimana;
class Ricette;
class Spesa;
class QAction;
class QTemporaryDir;
class QLabel;
class QRect;
class QSize;
class UnicoScrittore;

// The main window: the program's start and its hub.
class Menu : public QMainWindow
{
    Q_OBJECT

public:
    explicit Menu(QWidget *parent = nullptr);
    ~Menu() override;

    // Makes a book named on the command line current, as "Apri" does with a chosen one; the
    // name may name no file.
    void ApriDaRigaDiComando(const QString &nome);
    // The start: shows the window on the book named on the command line (empty: none), or on
    // the remembered one. False, with a word and the window never shown, when that book is open
    // in another copy of the program, which is called forward: this copy has nothing to do.
    bool Avvia(const QString &libro);

protected:
    void closeEvent(QCloseEvent *e) override;
    void changeEvent(QEvent *e) override;
    bool eventFilter(QObject *o, QEvent *e) override;
    // A link or a saved page dropped on the window is imported.
    void dragEnterEvent(QDragEnterEvent *e) override;
    void dropEvent(QDropEvent *e) override;

private:
    // The working windows the launchers open.
    enum class Finestra { Ricette, Categorie, Ingredienti, Elenco, Importazione, Cerca };

    void Form_Load();
    void apri_Click();
    void nuovo_Click();
    void importa_Click();
    void importaWeb_Click();
    // A chosen file imported by its kind: a book (an older one converted), a MealMaster file,
    // a saved web page.
    void importaFile(const QString &file);
    void Exit_Click();
    void aiuto_Click();
    void informazioni_Click();
    void www_Click();
    // A launcher button opens its window on the current book, once it is there and of our
    // format.
    void cmdLanciatore_Click(Finestra f);
    void cmdEsci_Click();

    void SalvaImpostazioni();
    void MostraNomeRicettario();
    // Makes a chosen book current, as "Apri" does once its dialog has a name: a book in the
    // older format is first converted if the user agrees; the choice is remembered.
    void ApriRicettario(const QString &nome);
    // True when no other copy of the program has the book open, and this copy now holds it;
    // otherwise says so and, unless a new book was to replace it, calls that copy forward.
    bool libroLibero(const QString &nome, bool perNuovo = false);
    // Another copy was started on this book: this one comes forward.
    void vieniAvanti();
    // Opens a working window: the main window stays unavailable until it is gone.
    void mostraFinestra(QWidget *finestra);
    // apri() runs once the current book is there, converted first when in the older format;
    // a missing book is said instead.
    void conRicettario(const std::function<void()> &apri);
    // A book in the older (Access) format becomes, if the user agrees, a copy in ours, converted
    // while the program answers: poi(copia) once it is whole. On No, a failure (said) or a
    // cancel, nothing more.
    void convertiSeVecchio(const QString &percorso,
                           const std::function<void(const QString &copia)> &poi);
    // Makes libro current and remembers it, unless another copy of the program holds it.
    bool rendiCorrente(const QString &libro);
    // passo() runs now, or after the conversion that runs and the steps queued before it: the
    // start's steps keep their order.
    void inOrdine(const std::function<void()> &passo);
    void riprendi();
    // A book chosen in "Importa", once of our format: refused when it is no book of ours.
    void importaLibro(const QString &libro);
    // daImportare: what the import window is opened on.
    void apriFinestra(Finestra f, const DaImportare &daImportare = {});
    // Recipes read from a foreign file or page go through the import window as a book would:
    // they are written into a temporary book, removed when the window closes; nome stands for
    // the file in the window's caption.
    void importaRicetteEstere(const QList<RicettaEstera> &ricette, const QString &nome,
                              Applicazione::Provenienza provenienza);
    // The recipes of a MealMaster file, or the message that says why there are none.
    void importaMealMaster(const QString &file);
    void termina();
    // The recipes of a web page, by its address or saved in a file, into the import window.
    void importaDaIndirizzo(const QUrl &indirizzo);
    void importaPaginaSalvata(const QString &percorso);
    // The page read by the helper, as part of lavoro; its recipes are imported under nome.
    LetturaPagina *leggiPagina(Lavoro *lavoro, const QString &nome);
    void erroreWeb(const Rifiuto &r);
    // A result of the search opens the editor over the search window, both usable: one editor,
    // brought forward and moved to each recipe chosen after.
    void apriRicettaDaCerca(Cerca *cerca, qint64 chiave);

    // The shopping list and the week's menu (pianificazione.cpp): one of each, over the window
    // the cook is in, the main window left usable.
    void spesa_Click();
    void settimana_Click();
    void mostraSpesa();
    void mostraSettimana();
    // Recipes by key and portions (0: their own) into the list, which then shows.
    void allaSpesa(const QList<std::pair<qint64, int>> &ricette);
    void collegaAllaSpesa(QWidget *finestra);
    // The list of the current book; null, said to the user, when its side file cannot be had.
    ListaSpesa *listaSpesa();
    // A book that is no longer current takes its list's windows with it.
    void chiudiPianificazione();

    std::unique_ptr<Ui::Menu> ui;
    // What the file dialog holds from its previous use.
    QString finestraFileName;
    std::unique_ptr<QTemporaryDir> sorgenteTemporanea;
    QAction *separatore = nullptr;
    QAction *separatore2 = nullptr;
    QAction *separatore3 = nullptr;
    QAction *separatore4 = nullptr;
    QAction *separatore5 = nullptr;
    QPointer<Ricette> editorDaCerca_;
    UnicoScrittore *scrittore_;
    QPointer<QWidget> finestraDiLavoro_; // the window the main window waits for
    std::shared_ptr<ListaSpesa> listaSpesa_;
    QPointer<Spesa> spesa_;
    QPointer<MenuSettimana> settimana_;
    QPointer<Lavoro> conversione_;          // the conversion that runs, if one does
    QList<std::function<void()>> inAttesa_; // steps waiting for it
    QHash<QObject *, Finestra> etichette_;  // the captions that open a window
};

// Places a window centred over sopra and within schermo, its frame (cornice) included; a
// window too large for the screen is made smaller.
void centra(QWidget *finestra, const QRect &sopra, const QRect &schermo, const QSize &cornice);
