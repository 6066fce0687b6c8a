// The main window: its launchers, its links and where the windows it opens are placed.
#include "shell/menu.h"
#include "ui_menu.h"

#include "cerca/cerca.h"
#include "editor/ricette.h"
#include "elenco/elenco.h"
#include "import/importazione.h"
#include "masterdata/categoriealimentari.h"
#include "masterdata/ingredienti.h"
#include "shell/frmsplash.h"
#include "shell/unicoscrittore.h"
#include "toolkit/applicazione.h"
#include "toolkit/dialogs.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QIcon>
#include <QLayout>
#include <QScreen>
#include <QStyle>
#include <QTemporaryDir>
#include <QWindow>
#include <tuple>

using namespace Applicazione;

Menu::Menu(QWidget *parent)
    : QMainWindow(parent), ui(std::make_unique<Ui::Menu>()), scrittore_(new UnicoScrittore(this))
{
    ui->setupUi(this);

    separatore = ui->Ark->insertSeparator(ui->nuovo);
    separatore2 = ui->Ark->insertSeparator(ui->importa);
    separatore3 = ui->Ark->insertSeparator(ui->Exit);
    separatore4 = ui->menu2->insertSeparator(ui->informazioni);
    separatore5 = ui->Ark->insertSeparator(ui->cerca);
    separatore->setObjectName("separatore");
    separatore2->setObjectName("separatore2");
    separatore3->setObjectName("separatore3");
    separatore4->setObjectName("separatore4");
    separatore5->setObjectName("separatore5");

    const qreal scala = devicePixelRatioF();
    QPixmap banner = QIcon(":/icons/banner.svg").pixmap(QSize(480, 120), scala);
    ui->Image1->setPixmap(banner);
    ui->www->setText(
        QStringLiteral("Scarica le ricette da ... <a href=\"%1\">%1</a>").arg(IndirizzoWeb));
    ui->www->setTextInteractionFlags(Qt::NoTextInteraction);

    connect(ui->apri, &QAction::triggered, this, &Menu::apri_Click);
    connect(ui->nuovo, &QAction::triggered, this, &Menu::nuovo_Click);
    connect(ui->importa, &QAction::triggered, this, &Menu::importa_Click);
    connect(ui->importaWeb, &QAction::triggered, this, &Menu::importaWeb_Click);
    connect(ui->cerca, &QAction::triggered, this, [this] { cmdLanciatore_Click(Finestra::Cerca); });
    connect(ui->spesa, &QAction::triggered, this, &Menu::spesa_Click);
    connect(ui->settimana, &QAction::triggered, this, &Menu::settimana_Click);
    connect(ui->Exit, &QAction::triggered, this, &Menu::Exit_Click);
    connect(ui->aiuto, &QAction::triggered, this, &Menu::aiuto_Click);
    connect(ui->informazioni, &QAction::triggered, this, &Menu::informazioni_Click);
    // Each window's launcher: its button, and its caption beside it.
    const std::tuple<QPushButton *, QLabel *, Finestra> lanciatori[] = {
        {ui->Command1, ui->Label2, Finestra::Ricette},
        {ui->Command2, ui->Label3, Finestra::Categorie},
        {ui->Command3, ui->Label4, Finestra::Ingredienti},
        {ui->Command5, ui->Label6, Finestra::Elenco},
        {ui->Command6, ui->Label8, Finestra::Cerca}};
    for (const auto &[pulsante, etichetta, finestra] : lanciatori) {
        connect(pulsante, &QPushButton::clicked, this,
                [this, f = finestra] { cmdLanciatore_Click(f); });
        etichette_.insert(etichetta, finestra);
    }
    connect(ui->Command4, &QPushButton::clicked, this, &Menu::cmdEsci_Click);
    for (QLabel *l :
         {ui->Label2, ui->Label3, ui->Label4, ui->Label5, ui->Label6, ui->Label8, ui->www})
        l->installEventFilter(this);

    connect(scrittore_, &UnicoScrittore::chiamata, this, &Menu::vieniAvanti);

    setAcceptDrops(true);
    Form_Load();
}

void Menu::vieniAvanti()
{
    // The main window first, then the windows open over it, the one that takes input on top.
    QList<QWidget *> finestre{this};
    for (QWidget *w : QApplication::topLevelWidgets())
        if (w != this && w->isVisible() &&
            (w->windowType() == Qt::Window || w->windowType() == Qt::Dialog))
            finestre.append(w);
    if (QWidget *modale = QApplication::activeModalWidget())
        finestre.append(modale);
    for (QWidget *w : finestre) {
        w->setWindowState(w->windowState() & ~Qt::WindowMinimized);
        w->raise();
        w->activateWindow();
    }
}

Menu::~Menu() = default;

void Menu::Exit_Click()
{
    cmdEsci_Click();
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

void Menu::apriFinestra(Finestra f, const DaImportare &daImportare)
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
        finestra = new Importazione(daImportare);
        break;
    case Finestra::Cerca: {
        auto *cerca = new Cerca;
        connect(cerca, &Cerca::apriRicetta, this,
                [this, cerca](qint64 chiave) { apriRicettaDaCerca(cerca, chiave); });
        finestra = cerca;
        break;
    }
    }
    if (finestra) {
        collegaAllaSpesa(finestra);
        mostraFinestra(finestra);
    }
}

void Menu::mostraFinestra(QWidget *finestra)
{
    finestra->setAttribute(Qt::WA_DeleteOnClose);
    connect(finestra, &QObject::destroyed, this, [this] {
        // A temporary source book goes with the import window that read it.
        sorgenteTemporanea.reset();
        setEnabled(true);
    });
    setEnabled(false);
    // Above the main window it disables, as the window manager keeps a transient window.
    finestra->winId();
    finestra->windowHandle()->setTransientParent(windowHandle());
    finestraDiLavoro_ = finestra;
    // Over the main window, frame included (a frame like the main window's).
    centra(finestra, frameGeometry(), screen()->availableGeometry(),
           frameGeometry().size() - size());
    finestra->show();
}

void Menu::cmdLanciatore_Click(Finestra f)
{
    conRicettario([this, f] { apriFinestra(f); });
}

void Menu::apriRicettaDaCerca(Cerca *cerca, qint64 chiave)
{
    if (!editorDaCerca_) {
        auto *editor = new Ricette;
        editor->setAttribute(Qt::WA_DeleteOnClose);
        collegaAllaSpesa(editor);
        // What the editor wrote shows in the results when it is gone.
        connect(editor, &QObject::destroyed, cerca, &Cerca::aggiornaRisultati);
        cerca->setFinestraSopra(editor);
        centra(editor, cerca->frameGeometry(), screen()->availableGeometry(),
               cerca->frameGeometry().size() - cerca->size());
        editor->show();
        editorDaCerca_ = editor;
    }
    editorDaCerca_->raise();
    editorDaCerca_->activateWindow();
    editorDaCerca_->vaiAllaRicetta(chiave);
}

void Menu::cmdEsci_Click()
{
    QDir::setCurrent(CartellaIniziale);
    termina();
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
        // A caption opens its window without the launcher's check: the window itself meets a
        // missing book.
        if (const auto f = etichette_.constFind(o); f != etichette_.cend())
            apriFinestra(*f);
        else if (o == ui->Label5)
            termina();
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

void Menu::changeEvent(QEvent *e)
{
    QMainWindow::changeEvent(e);
    // A click on the main window while it waits for a working window brings that one forward.
    if (e->type() == QEvent::ActivationChange && isActiveWindow() && !isEnabled() &&
        finestraDiLavoro_) {
        finestraDiLavoro_->raise();
        finestraDiLavoro_->activateWindow();
    }
}

void Menu::closeEvent(QCloseEvent *e)
{
    QDir::setCurrent(CartellaIniziale);
    for (QWidget *w : QApplication::topLevelWidgets())
        if (w != this && w->isVisible())
            w->close();
    e->accept();
}

void centra(QWidget *finestra, const QRect &sopra, const QRect &schermo, const QSize &cornice)
{
    // Its layout gives it its minimum size now, not when shown, so its real size is known here.
    if (QLayout *impaginazione = finestra->layout())
        impaginazione->activate();
    finestra->resize(finestra->size().boundedTo(schermo.size() - cornice));
    const QRect esterno =
        QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, finestra->size() + cornice, sopra);
    // Within the screen; a window too large for it keeps to its top left corner.
    finestra->move(
        qMax(schermo.left(), qMin(esterno.left(), schermo.right() + 1 - esterno.width())),
        qMax(schermo.top(), qMin(esterno.top(), schermo.bottom() + 1 - esterno.height())));
}
