#include "toolkit/guida.h"

#include <QAction>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QPointer>
#include <QScreen>
#include <QStyle>
#include <QTextBrowser>
#include <QToolBar>
#include <QVBoxLayout>

namespace {

const QString Sommario = QStringLiteral("qrc:/help/indice.html");

// The page of each topic.
const QHash<int, QString> &argomenti()
{
    static const QHash<int, QString> a = {
        {Guida::Menu, "menu.html"},
        {Guida::Ricette, "ricette.html"},
        {Guida::Importazione, "importazione.html"},
        {Guida::Categorie, "categorie.html"},
        {Guida::Ingredienti, "ingredienti.html"},
        {Guida::Elenco, "elenco.html"},
        {Guida::Ricettari, "ricettari.html"},
        {Guida::PrimiPassi, "primi-passi.html"},
        {Guida::Cerca, "cerca.html"},
        {Guida::Web, "web.html"},
        {Guida::MealMaster, "mealmaster.html"},
        {Guida::Spesa, "spesa.html"},
    };
    return a;
}

} // namespace

bool Guida::eLaGuida(const QString &file)
{
    QString nome = file;
    nome.replace('\\', '/');
    return QFileInfo(nome).fileName().compare("Pentolone.hlp", Qt::CaseInsensitive) == 0;
}

QUrl Guida::pagina(int comando, int contesto)
{
    if (comando == 1 && argomenti().contains(contesto))
        return QUrl("qrc:/help/" + argomenti().value(contesto));
    return QUrl(Sommario);
}

Guida::Guida(QWidget *parent) : QWidget(parent, Qt::Window), browser_(new QTextBrowser(this))
{
    setObjectName("Guida");
    setWindowTitle("Guida di Pentolone");
    setAttribute(Qt::WA_DeleteOnClose);
    // As large as it reads well, but within the screen, with room for the window's frame.
    resize(QSize(760, 620).boundedTo(screen()->availableGeometry().size() - QSize(16, 48)));

    auto *barra = new QToolBar(this);
    barra->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    QAction *indietro = barra->addAction(style()->standardIcon(QStyle::SP_ArrowBack), "Indietro");
    QAction *avanti = barra->addAction(style()->standardIcon(QStyle::SP_ArrowForward), "Avanti");
    QAction *sommario = barra->addAction(style()->standardIcon(QStyle::SP_DirHomeIcon), "Sommario");
    indietro->setObjectName("indietro");
    avanti->setObjectName("avanti");
    sommario->setObjectName("sommario");
    indietro->setEnabled(false);
    avanti->setEnabled(false);
    indietro->setShortcut(QKeySequence::Back);
    avanti->setShortcut(QKeySequence::Forward);

    browser_->setObjectName("browser");
    // One style sheet for every page.
    QFile stile(":/help/guida.css");
    if (stile.open(QIODevice::ReadOnly))
        browser_->document()->setDefaultStyleSheet(QString::fromUtf8(stile.readAll()));
    browser_->setOpenExternalLinks(true);
    connect(indietro, &QAction::triggered, browser_, &QTextBrowser::backward);
    connect(avanti, &QAction::triggered, browser_, &QTextBrowser::forward);
    connect(sommario, &QAction::triggered, this, [this] { browser_->setSource(QUrl(Sommario)); });
    connect(browser_, &QTextBrowser::backwardAvailable, indietro, &QAction::setEnabled);
    connect(browser_, &QTextBrowser::forwardAvailable, avanti, &QAction::setEnabled);
    // Every page's title already names the guide.
    connect(browser_, &QTextBrowser::sourceChanged, this, [this] {
        const QString titolo = browser_->documentTitle();
        setWindowTitle(titolo.isEmpty() ? QStringLiteral("Guida di Pentolone") : titolo);
    });

    auto *l = new QVBoxLayout(this);
    l->setContentsMargins(0, 0, 0, 0);
    l->setSpacing(0);
    l->addWidget(barra);
    l->addWidget(browser_);
}

Guida *Guida::mostra(const QUrl &pagina)
{
    static QPointer<Guida> finestra;
    if (!finestra)
        finestra = new Guida;
    finestra->browser_->setSource(pagina);
    finestra->show();
    finestra->raise();
    finestra->activateWindow();
    return finestra;
}
