// The main window's book: the one it starts with, "Apri", "Nuovo", "Importa", the check a launcher
// makes before it opens a window on the current book, and the conversion question for a book in the
// older format.
#include "shell/menu.h"
#include "ui_menu.h"

#include "formati/libroaccess.h"
#include "formati/mealmaster.h"
#include "formati/paginaweb.h"
#include "formati/ricettaestera.h"
#include "import/importazione.h"
#include "shell/impostazioni.h"
#include "shell/lavoro.h"
#include "shell/unicoscrittore.h"
#include "storage/database.h"
#include "storage/engineerror.h"
#include "toolkit/applicazione.h"
#include "toolkit/dialogs.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <filesystem>
#include <system_error>

using namespace Applicazione;

namespace {

const QString FiltroRicette = QStringLiteral("Ricette |*.mdb");
// A book, a MealMaster file or a saved web page (each known by its content, whatever its name).
const QString FiltroImporta =
    QStringLiteral("Ricette |*.mdb;*.mmf;*.mm;*.txt;*.html;*.htm|Ricettari |*.mdb|"
                   "Ricette MealMaster |*.mmf;*.mm;*.txt|Pagine web salvate |*.html;*.htm");

// Why a new book could not be made from the template.
enum class Copia { Fatta, ModelloMancante, NonScritta };

// Copies the template onto the new book's path in one step, so a failed copy leaves no half
// file.
Copia copiaModello(const QString &modello, const QString &destinazione)
{
    namespace fs = std::filesystem;
    std::error_code e;
    const fs::path da = QFile::encodeName(modello).toStdString();
    const fs::path a = QFile::encodeName(destinazione).toStdString();
    if (!fs::is_regular_file(da, e))
        return Copia::ModelloMancante;
    fs::path temporaneo = a;
    temporaneo += ".nuovo";
    fs::copy_file(da, temporaneo, fs::copy_options::overwrite_existing, e);
    if (!e)
        fs::rename(temporaneo, a, e);
    if (e) {
        fs::remove(temporaneo, e);
        return Copia::NonScritta;
    }
    return Copia::Fatta;
}

// A conversion that ends sooner shows no progress window.
constexpr int RitardoAvanzamento = 500; // ms

} // namespace

void Menu::Form_Load()
{
    CartellaIniziale = QDir::currentPath();
    QString percorso;
    if (!Impostazioni::esiste(CartellaIniziale)) {
        // First start here: the default book, remembered at once (a folder that cannot be
        // written is no reason to stop).
        percorso = QDir(CartellaIniziale).filePath("Ricette.mdb");
        Impostazioni::scrivi(CartellaIniziale, percorso);
    } else {
        // A file we cannot read still remembers the user's book: start with none, keep it.
        percorso = Impostazioni::leggi(CartellaIniziale).value_or(QString());
    }
    RicettarioCorrente = percorso;
    if (LibroAccess::riconosci(percorso))
        convertiSeVecchio(percorso, [this](const QString &copia) { rendiCorrente(copia); });
    MostraNomeRicettario();
}

void Menu::convertiSeVecchio(const QString &percorso,
                             const std::function<void(const QString &copia)> &poi)
{
    auto *lavoro = new Lavoro(this);
    auto *conversione = new ConversioneAccess({}, lavoro);
    const bool si = conversione->proponi(percorso, [](const QString &testo, const QString &titolo) {
        return dialogs().messageBox(testo, Dialogs::SiNo, titolo, Dialogs::Domanda) == Dialogs::Si;
    });
    if (!si) {
        delete lavoro;
        return;
    }
    Avanzamento &avanzamento = lavoro->mostraAvanzamento("Conversione del ricettario in corso...",
                                                         LibroAccess::Titolo, RitardoAvanzamento);
    connect(lavoro, &Lavoro::annullato, conversione, &ConversioneAccess::annulla);
    connect(conversione, &ConversioneAccess::avanzamento, &avanzamento, &Avanzamento::segna);
    connect(conversione, &ConversioneAccess::riuscita, lavoro,
            [this, lavoro, poi](const QString &copia) {
                lavoro->termina([this, poi, copia] {
                    poi(copia);
                    riprendi();
                });
            });
    connect(conversione, &ConversioneAccess::rifiutata, lavoro, [this, lavoro](const Rifiuto &r) {
        lavoro->termina([this, r] {
            // A cancel is the user's own doing: nothing to say.
            if (!r.annullato)
                dialogs().messageBox(r.testo, Dialogs::SoloOK, "Errore!", Dialogs::Critica);
            riprendi();
        });
    });
    conversione_ = lavoro;
}

void Menu::inOrdine(const std::function<void()> &passo)
{
    if (conversione_)
        inAttesa_ << passo;
    else
        passo();
}

void Menu::riprendi()
{
    while (!conversione_ && !inAttesa_.isEmpty())
        inAttesa_.takeFirst()();
}

bool Menu::rendiCorrente(const QString &libro)
{
    // Open in another copy: that copy is the one to work in.
    if (!libroLibero(libro))
        return false;
    RicettarioCorrente = libro;
    SalvaImpostazioni();
    MostraNomeRicettario();
    return true;
}

void Menu::SalvaImpostazioni()
{
    if (!Impostazioni::scrivi(CartellaIniziale, RicettarioCorrente))
        dialogs().messageBox(righe({"Non è possibile salvare le impostazioni nel file",
                                    Impostazioni::file(CartellaIniziale) + ".",
                                    "Il ricettario scelto vale fino alla chiusura del programma."}),
                             Dialogs::SoloOK, "Attenzione", Dialogs::Esclamazione);
}

void Menu::MostraNomeRicettario()
{
    chiudiPianificazione();
    // A new current book: its check starts now, while the cook looks at the main window.
    Database::verificaInAnticipo(RicettarioCorrente);
    // A path without a folder leaves the caption as it was.
    if (ultimoSeparatore(RicettarioCorrente) >= 0)
        ui->Label7->setText(nomeDelLibro(RicettarioCorrente));
    ui->Label7->setToolTip(RicettarioCorrente);
}

void Menu::apri_Click()
{
    const QString nome = dialogs().openFile("Apri ricettario", FiltroRicette, finestraFileName);
    if (!nome.isEmpty())
        finestraFileName = nome;
    ApriRicettario(finestraFileName);
}

void Menu::ApriDaRigaDiComando(const QString &nome)
{
    // The file dialog names a file that is there; a command line may name anything.
    if (!QFileInfo(nome).isFile()) {
        dialogs().messageBox("Il ricettario che si tenta di aprire non è stato trovato.",
                             Dialogs::SoloOK, "Errore!", Dialogs::Critica);
        return;
    }
    ApriRicettario(nome);
}

bool Menu::Avvia(const QString &libro)
{
    // The book named when it is there, else the remembered one.
    if (!libroLibero(!libro.isEmpty() && QFileInfo(libro).isFile() ? libro : RicettarioCorrente))
        return false;
    show();
    if (!libro.isEmpty()) {
        // After the remembered book's conversion, if one runs: the book named here is the one
        // made current last.
        inOrdine([this, libro] { ApriDaRigaDiComando(libro); });
        // A book in the older format left unconverted leaves the remembered one current.
        inOrdine([this] {
            if (!libroLibero(RicettarioCorrente))
                close();
        });
    }
    // Closed at once when the book is open in another copy.
    return isVisible();
}

bool Menu::libroLibero(const QString &nome, bool perNuovo)
{
    if (scrittore_->prendi(nome))
        return true;
    const QString aperto = "Il ricettario \"" + nomeDelLibro(nome) +
                           "\" è già aperto in un'altra finestra di Pentolone.";
    if (perNuovo) {
        dialogs().messageBox(
            righe({aperto, "Non è possibile sostituirlo con un ricettario nuovo finché è aperto."}),
            Dialogs::SoloOK, "Ricettario già aperto", Dialogs::Esclamazione);
        return false;
    }
    dialogs().messageBox(righe({aperto, "Premete OK per passare a quella finestra."}),
                         Dialogs::SoloOK, "Ricettario già aperto", Dialogs::Informazione);
    UnicoScrittore::chiamaAvanti(nome);
    return false;
}

void Menu::ApriRicettario(const QString &nome)
{
    if (nome.isEmpty()) {
        SalvaImpostazioni();
        MostraNomeRicettario();
    } else if (LibroAccess::riconosci(nome)) {
        convertiSeVecchio(nome, [this](const QString &copia) {
            finestraFileName = copia;
            rendiCorrente(copia);
        });
    } else {
        rendiCorrente(nome);
    }
}

void Menu::nuovo_Click()
{
    const QString nome =
        dialogs().openFile("Nuovo ricettario", FiltroRicette, finestraFileName, true);
    // A cancelled dialog creates nothing: copying the template onto the name it still holds
    // would empty that book.
    if (!nome.isEmpty()) {
        // A book another copy has open is never replaced under it.
        if (!libroLibero(nome, true))
            return;
        finestraFileName = nome;
        RicettarioCorrente = nome;
        const Copia copia = copiaModello(QDir(CartellaIniziale).filePath("Ricetta"), nome);
        if (copia == Copia::ModelloMancante) {
            dialogs().messageBox(
                righe({"Non è possibile creare un nuovo archivio.",
                       "I file del programma hanno subito una manomissione.",
                       "E' necessario installare nuovamente il Pentolone.",
                       "(Prima si consiglia di effettuare una copia di BackUp del vostro "
                       "ricettario)"}),
                Dialogs::SoloOK, "Attenzione!!", Dialogs::NessunaIcona);
            return;
        }
        if (copia == Copia::NonScritta) {
            dialogs().messageBox(righe({"Non è possibile creare il ricettario", nome + ".",
                                        "Controllate di poter scrivere in quella cartella."}),
                                 Dialogs::SoloOK, "Attenzione!!", Dialogs::Esclamazione);
            return;
        }
        scrittore_->prendi(nome);
    }
    SalvaImpostazioni();
    MostraNomeRicettario();
}

void Menu::importa_Click()
{
    finestraFileName.clear();
    const QString nome =
        dialogs().openFile("Importa nel Ricettario corrente", FiltroImporta, finestraFileName);
    if (!nome.isEmpty())
        finestraFileName = nome;
    if (!finestraFileName.isEmpty())
        importaFile(finestraFileName);
    QDir::setCurrent(CartellaIniziale);
}

void Menu::importaFile(const QString &file)
{
    finestraFileName = file;
    // The same file by another path or through a hard link is the same book.
    std::error_code e;
    const bool stesso =
        finestraFileName == RicettarioCorrente ||
        std::filesystem::equivalent(QFile::encodeName(finestraFileName).toStdString(),
                                    QFile::encodeName(RicettarioCorrente).toStdString(), e);
    if (stesso) {
        dialogs().messageBox(
            "Il ricettario da importare non può\r\ncoincidere con quello corrente.",
            Dialogs::SoloOK, "Errore di importazione", Dialogs::NessunaIcona);
    } else if (MealMaster::riconosci(finestraFileName)) {
        importaMealMaster(finestraFileName);
    } else if (PaginaWeb::riconosciFile(finestraFileName)) {
        // A saved web page: its recipes, known by its content whatever its name.
        importaPaginaSalvata(finestraFileName);
    } else if (LibroAccess::riconosci(finestraFileName)) {
        convertiSeVecchio(finestraFileName, [this](const QString &copia) {
            finestraFileName = copia;
            importaLibro(copia);
        });
    } else {
        importaLibro(finestraFileName);
    }
}

void Menu::importaLibro(const QString &libro)
{
    if (const QString perche = Importazione::sorgenteNonValida(libro); !perche.isEmpty()) {
        // Another program's file, or a damaged book: refused before anything is copied.
        dialogs().messageBox(perche, Dialogs::SoloOK, "Errore di importazione", Dialogs::Critica);
        return;
    }
    RicettarioDaImportare = libro;
    apriFinestra(Finestra::Importazione);
}

void Menu::importaMealMaster(const QString &file)
{
    QString errore;
    const QList<RicettaEstera> ricette = MealMaster::leggi(file, errore);
    // Recipes left out of a damaged file are named before the others are imported.
    if (!errore.isEmpty())
        dialogs().messageBox(errore, Dialogs::SoloOK,
                             ricette.isEmpty() ? "Errore di importazione" : "Importazione",
                             ricette.isEmpty() ? Dialogs::Critica : Dialogs::Esclamazione);
    if (!ricette.isEmpty())
        importaRicetteEstere(ricette, QFileInfo(file).fileName(), Provenienza::MealMaster);
}

void Menu::importaRicetteEstere(const QList<RicettaEstera> &ricette, const QString &nome,
                                Provenienza provenienza)
{
    auto cartella = std::make_unique<QTemporaryDir>();
    const QString libro = cartella->filePath("Ricetta.mdb");
    try {
        if (!cartella->isValid())
            throw EngineError(EngineError::DiscoPieno, cartella->errorString());
        LibroSorgente::scrivi(libro, ricette);
    } catch (const EngineError &e) {
        dialogs().messageBox(righe({"Non è possibile preparare le ricette di", nome,
                                    "per l'importazione:", e.description()}),
                             Dialogs::SoloOK, "Errore di importazione", Dialogs::Critica);
        return;
    }
    sorgenteTemporanea = std::move(cartella);
    RicettarioDaImportare = libro;
    apriFinestra(Finestra::Importazione, {nome, provenienza});
}

void Menu::conRicettario(const std::function<void()> &apri)
{
    if (QFileInfo(RicettarioCorrente).isFile() && LibroAccess::riconosci(RicettarioCorrente)) {
        convertiSeVecchio(RicettarioCorrente, [this, apri](const QString &copia) {
            if (rendiCorrente(copia))
                apri();
        });
    } else if (QFileInfo(RicettarioCorrente).isFile()) {
        apri();
    } else {
        dialogs().messageBox("Il ricettario che si tenta di aprire non è stato trovato.",
                             Dialogs::SoloOK, "Errore!", Dialogs::Critica);
    }
}
