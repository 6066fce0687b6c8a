#include "shell/menu.h"
#include "ui_menu.h"

#include "editor/ricette.h"
#include "elenco/elenco.h"
#include "formati/libroaccess.h"
#include "import/importazione.h"
#include "masterdata/categoriealimentari.h"
#include "masterdata/ingredienti.h"
#include "shell/frmsplash.h"
#include "shell/impostazioni.h"
#include "storage/engineerror.h"
#include "toolkit/applicazione.h"
#include "toolkit/dialogs.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QIcon>
#include <QProgressDialog>
#include <QScreen>
#include <filesystem>
#include <system_error>

using namespace Applicazione;

namespace {

const QString FiltroRicette = QStringLiteral("Ricette |*.mdb");

// Copies the template onto the new book's path in one step, so a failed copy leaves no half
// file. Returns 53 when the template is missing, another nonzero code for any other failure.
int copiaModello(const QString &modello, const QString &destinazione)
{
    namespace fs = std::filesystem;
    std::error_code e;
    const fs::path da = QFile::encodeName(modello).toStdString();
    const fs::path a = QFile::encodeName(destinazione).toStdString();
    if (!fs::is_regular_file(da, e))
        return 53;
    fs::path temporaneo = a;
    temporaneo += ".nuovo";
    fs::copy_file(da, temporaneo, fs::copy_options::overwrite_existing, e);
    if (!e)
        fs::rename(temporaneo, a, e);
    if (e) {
        fs::remove(temporaneo, e);
        return 75;
    }
    return 0;
}

} // namespace

Menu::Menu(QWidget *parent) : QMainWindow(parent), ui(std::make_unique<Ui::Menu>())
{
    ui->setupUi(this);

    separatore = ui->Ark->insertSeparator(ui->nuovo);
    separatore2 = ui->Ark->insertSeparator(ui->importa);
    separatore3 = ui->Ark->insertSeparator(ui->Exit);
    separatore4 = ui->menu2->insertSeparator(ui->informazioni);
    separatore->setObjectName("separatore");
    separatore2->setObjectName("separatore2");
    separatore3->setObjectName("separatore3");
    separatore4->setObjectName("separatore4");

    const qreal scala = devicePixelRatioF();
    QPixmap banner = QIcon(":/icons/banner.svg").pixmap(QSize(480, 120), scala);
    ui->Image1->setPixmap(banner);
    ui->www->setText(
        QStringLiteral("Scarica le ricette da ... <a href=\"%1\">%1</a>").arg(IndirizzoWeb));
    ui->www->setTextInteractionFlags(Qt::NoTextInteraction);

    connect(ui->apri, &QAction::triggered, this, &Menu::apri_Click);
    connect(ui->nuovo, &QAction::triggered, this, &Menu::nuovo_Click);
    connect(ui->importa, &QAction::triggered, this, &Menu::importa_Click);
    connect(ui->Exit, &QAction::triggered, this, &Menu::Exit_Click);
    connect(ui->aiuto, &QAction::triggered, this, &Menu::aiuto_Click);
    connect(ui->informazioni, &QAction::triggered, this, &Menu::informazioni_Click);
    connect(ui->Command1, &QPushButton::clicked, this, &Menu::Command1_Click);
    connect(ui->Command2, &QPushButton::clicked, this, &Menu::Command2_Click);
    connect(ui->Command3, &QPushButton::clicked, this, &Menu::Command3_Click);
    connect(ui->Command4, &QPushButton::clicked, this, &Menu::Command4_Click);
    connect(ui->Command5, &QPushButton::clicked, this, &Menu::Command5_Click);
    for (QLabel *l : {ui->Label2, ui->Label3, ui->Label4, ui->Label5, ui->Label6, ui->www})
        l->installEventFilter(this);

    Form_Load();
}

Menu::~Menu() = default;

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
    if (LibroAccess::riconosci(percorso)) {
        if (const QString copia = convertiSeVecchio(percorso); !copia.isEmpty()) {
            RicettarioCorrente = copia;
            SalvaImpostazioni();
        }
    }
    MostraNomeRicettario();
}

QString Menu::convertiSeVecchio(const QString &percorso)
{
    // Made once the conversion starts, after the question; shown only if it takes a while.
    std::unique_ptr<QProgressDialog> avanzamento;
    try {
        return LibroAccess::preparaLibro(
            percorso,
            [](const QString &testo, const QString &titolo) {
                return dialogs().messageBox(testo, Dialogs::SiNo, titolo, Dialogs::Domanda) ==
                       Dialogs::Si;
            },
            [&avanzamento, this](int fatti, int totale) {
                if (!avanzamento) {
                    avanzamento = std::make_unique<QProgressDialog>(
                        "Conversione del ricettario in corso...", "Annulla", 0, 1, this);
                    avanzamento->setWindowTitle("Ricettario in un formato più vecchio");
                    avanzamento->setWindowModality(Qt::WindowModal);
                    avanzamento->setMinimumDuration(500);
                    avanzamento->setMinimumWidth(
                        avanzamento->fontMetrics().horizontalAdvance(avanzamento->windowTitle()) *
                        3 / 2);
                }
                avanzamento->setMaximum(qMax(1, totale));
                avanzamento->setValue(qMin(fatti, qMax(1, totale)));
                QCoreApplication::processEvents();
                return !avanzamento->wasCanceled();
            });
    } catch (const EngineError &e) {
        // Gone before the message: left open, it would cover it and take its input.
        avanzamento.reset();
        // A cancel is the user's own doing: nothing to say.
        if (e.number() != EngineError::ConversioneAnnullata)
            dialogs().messageBox(e.description(), Dialogs::SoloOK, "Errore!", Dialogs::Critica);
        return {};
    }
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
    const int separatore = ultimoSeparatore(RicettarioCorrente);
    if (separatore >= 0) {
        const QString nome = RicettarioCorrente.mid(separatore + 1);
        ui->Label7->setText(nome.left(qMax(0, nome.size() - 4)));
    }
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

void Menu::ApriRicettario(const QString &nome)
{
    if (!nome.isEmpty()) {
        QString scelto = nome;
        if (LibroAccess::riconosci(scelto)) {
            scelto = convertiSeVecchio(scelto);
            if (scelto.isEmpty())
                return; // answered No, or the copy failed: nothing changes
            finestraFileName = scelto;
        }
        RicettarioCorrente = scelto;
    }
    SalvaImpostazioni();
    MostraNomeRicettario();
}

void Menu::nuovo_Click()
{
    const QString nome =
        dialogs().openFile("Nuovo ricettario", FiltroRicette, finestraFileName, true);
    // A cancelled dialog creates nothing: copying the template onto the name it still holds
    // would empty that book.
    if (!nome.isEmpty()) {
        finestraFileName = nome;
        RicettarioCorrente = nome;
        const int errore = copiaModello(QDir(CartellaIniziale).filePath("Ricetta"), nome);
        if (errore == 53) {
            dialogs().messageBox(
                righe({"Non è possibile creare un nuovo archivio.",
                       "I file del programma hanno subito una manomissione.",
                       "E' necessario installare nuovamente il Pentolone.",
                       "(Prima si consiglia di effettuare una copia di BackUp del vostro "
                       "ricettario)"}),
                Dialogs::SoloOK, "Attenzione!!", Dialogs::NessunaIcona);
            return;
        }
        if (errore) {
            dialogs().messageBox(righe({"Non è possibile creare il ricettario", nome + ".",
                                        "Controllate di poter scrivere in quella cartella."}),
                                 Dialogs::SoloOK, "Attenzione!!", Dialogs::Esclamazione);
            return;
        }
    }
    SalvaImpostazioni();
    MostraNomeRicettario();
}

void Menu::importa_Click()
{
    finestraFileName.clear();
    const QString nome =
        dialogs().openFile("Importa nel Ricettario corrente", FiltroRicette, finestraFileName);
    if (!nome.isEmpty())
        finestraFileName = nome;
    if (!finestraFileName.isEmpty()) {
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
        } else if (LibroAccess::riconosci(finestraFileName) &&
                   (finestraFileName = convertiSeVecchio(finestraFileName)).isEmpty()) {
            // answered No, or the copy failed: nothing is imported
        } else if (const QString perche = Importazione::sorgenteNonValida(finestraFileName);
                   !perche.isEmpty()) {
            // Another program's file, or a damaged book: refused before anything is copied.
            dialogs().messageBox(perche, Dialogs::SoloOK, "Errore di importazione",
                                 Dialogs::Critica);
        } else {
            RicettarioDaImportare = finestraFileName;
            apriFinestra(Finestra::Importazione);
        }
    }
    QDir::setCurrent(CartellaIniziale);
}

void Menu::Exit_Click()
{
    Command4_Click();
}

void Menu::aiuto_Click()
{
    dialogs().help("Pentolone.hlp", Dialogs::Sommario, 0);
}

void Menu::informazioni_Click()
{
    mostraFinestra(new frmSplash);
}

void Menu::www_Click()
{
    dialogs().openUrl(IndirizzoWeb);
}

bool Menu::ricettarioPresente()
{
    if (QFileInfo(RicettarioCorrente).isFile() && LibroAccess::riconosci(RicettarioCorrente)) {
        const QString copia = convertiSeVecchio(RicettarioCorrente);
        if (copia.isEmpty())
            return false;
        RicettarioCorrente = copia;
        SalvaImpostazioni();
        MostraNomeRicettario();
    }
    if (QFileInfo(RicettarioCorrente).isFile())
        return true;
    dialogs().messageBox("Il ricettario che si tenta di aprire non è stato trovato.",
                         Dialogs::SoloOK, "Errore!", Dialogs::Critica);
    return false;
}

void Menu::apriFinestra(Finestra f)
{
    QWidget *finestra = nullptr;
    switch (f) {
    case Finestra::Categorie:
        finestra = new Categoriealimentari;
        break;
    case Finestra::Ingredienti:
        finestra = new Ingredienti;
        break;
    case Finestra::Ricette:
        finestra = new Ricette;
        break;
    case Finestra::Elenco:
        finestra = new Elenco;
        break;
    case Finestra::Importazione:
        finestra = new Importazione;
        break;
    }
    if (finestra)
        mostraFinestra(finestra);
}

void Menu::mostraFinestra(QWidget *finestra)
{
    finestra->setAttribute(Qt::WA_DeleteOnClose);
    connect(finestra, &QObject::destroyed, this, [this] { setEnabled(true); });
    setEnabled(false);
    // Its layout gives it its minimum size now, not when shown, so its real size is known here.
    if (QLayout *impaginazione = finestra->layout())
        impaginazione->activate();
    // Over the main window and within the screen, frame included (a frame like the main
    // window's); a window too large for the screen keeps to its top left corner.
    const QRect schermo = screen()->availableGeometry();
    const QSize cornice = frameGeometry().size() - size();
    finestra->resize(finestra->size().boundedTo(schermo.size() - cornice));
    const QSize esterno = finestra->size() + cornice;
    const QPoint angolo =
        frameGeometry().center() - QPoint(esterno.width() / 2, esterno.height() / 2);
    finestra->move(qMax(schermo.left(), qMin(angolo.x(), schermo.right() + 1 - esterno.width())),
                   qMax(schermo.top(), qMin(angolo.y(), schermo.bottom() + 1 - esterno.height())));
    finestra->show();
}

void Menu::Command1_Click()
{
    if (ricettarioPresente())
        apriFinestra(Finestra::Ricette);
}

void Menu::Command2_Click()
{
    if (ricettarioPresente())
        apriFinestra(Finestra::Categorie);
}

void Menu::Command3_Click()
{
    if (ricettarioPresente())
        apriFinestra(Finestra::Ingredienti);
}

void Menu::Command5_Click()
{
    if (ricettarioPresente())
        apriFinestra(Finestra::Elenco);
}

void Menu::Command4_Click()
{
    QDir::setCurrent(CartellaIniziale);
    termina();
}

void Menu::Label2_DblClick()
{
    apriFinestra(Finestra::Ricette);
}

void Menu::Label3_DblClick()
{
    apriFinestra(Finestra::Categorie);
}

void Menu::Label4_DblClick()
{
    apriFinestra(Finestra::Ingredienti);
}

void Menu::Label5_DblClick()
{
    termina();
}

void Menu::Label6_DblClick()
{
    apriFinestra(Finestra::Elenco);
}

void Menu::termina()
{
    // Every window closes as the user would close it, so pending edits are written.
    QApplication::closeAllWindows();
    QCoreApplication::quit();
}

bool Menu::eventFilter(QObject *o, QEvent *e)
{
    if (e->type() == QEvent::MouseButtonDblClick) {
        if (o == ui->Label2)
            Label2_DblClick();
        else if (o == ui->Label3)
            Label3_DblClick();
        else if (o == ui->Label4)
            Label4_DblClick();
        else if (o == ui->Label5)
            Label5_DblClick();
        else if (o == ui->Label6)
            Label6_DblClick();
        else
            return QMainWindow::eventFilter(o, e);
        return true;
    }
    if (o == ui->www && e->type() == QEvent::MouseButtonRelease) {
        ui->www->setCursor(Qt::PointingHandCursor);
        www_Click();
        return true;
    }
    return QMainWindow::eventFilter(o, e);
}

void Menu::closeEvent(QCloseEvent *e)
{
    QDir::setCurrent(CartellaIniziale);
    for (QWidget *w : QApplication::topLevelWidgets())
        if (w != this && w->isVisible())
            w->close();
    e->accept();
}
