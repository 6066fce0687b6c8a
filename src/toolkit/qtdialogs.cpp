#include "toolkit/qtdialogs.h"

#include "toolkit/finestraavanzamento.h"
#include "toolkit/guida.h"

#include <QApplication>
#include <QCheckBox>
#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QGridLayout>
#include <QHeaderView>
#include <QIdentityProxyModel>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPushButton>
#include <QScopeGuard>
#include <QScreen>
#include <QStyle>
#include <QTreeView>
#include <QUrl>

namespace {

QWidget *finestraAttiva()
{
    // A dialog just closed may count as active until the system says otherwise, and it may be
    // about to go: the window under it stands in.
    QWidget *w = QApplication::activeWindow();
    while (w && !w->isVisible())
        w = w->parentWidget() ? w->parentWidget()->window() : nullptr;
    return w;
}

// A message box is as wide as its text, and ignores a minimum width: a spacer across its grid
// keeps a short one wide enough for its title.
void allargaPerIlTitolo(QMessageBox &box)
{
    auto *griglia = qobject_cast<QGridLayout *>(box.layout());
    if (!griglia)
        return;
    const QMargins margini = griglia->contentsMargins();
    const int larghezza = QtDialogs::larghezzaPerIlTitolo(box) - margini.left() - margini.right();
    griglia->addItem(new QSpacerItem(larghezza, 0, QSizePolicy::Minimum, QSizePolicy::Minimum),
                     griglia->rowCount(), 0, 1, griglia->columnCount());
}

// Sizes and dates in the program's locale: Qt's file model writes them in the system's, which
// on a system with no locale is English.
class ElencoFile : public QIdentityProxyModel
{
public:
    using QIdentityProxyModel::QIdentityProxyModel;

    QVariant data(const QModelIndex &indice, int ruolo) const override
    {
        const auto *file = qobject_cast<const QFileSystemModel *>(sourceModel());
        if (ruolo != Qt::DisplayRole || !file || !indice.isValid())
            return QIdentityProxyModel::data(indice, ruolo);
        const QModelIndex origine = mapToSource(indice);
        switch (indice.column()) {
        case 1:
            return file->isDir(origine) ? QString()
                                        : QLocale().formattedDataSize(file->size(origine));
        case 2: {
            // The system takes these for audio files (SMAF); here they hold recipes.
            const QString estensione = file->fileInfo(origine).suffix().toLower();
            if (!file->isDir(origine) && (estensione == "mmf" || estensione == "mm"))
                return QStringLiteral("Ricette MealMaster");
            return QIdentityProxyModel::data(indice, ruolo);
        }
        case 3:
            return QLocale().toString(file->lastModified(origine), QLocale::ShortFormat);
        default:
            return QIdentityProxyModel::data(indice, ruolo);
        }
    }
};

// "Opzioni >>" makes the print dialog taller, downwards: it moves up as far as it must to keep
// its buttons on the screen.
class DentroLoSchermo : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *oggetto, QEvent *evento) override
    {
        auto *finestra = qobject_cast<QWidget *>(oggetto);
        if (evento->type() == QEvent::Resize && finestra && finestra->isVisible()) {
            const QRect schermo = finestra->screen()->availableGeometry();
            const QRect cornice = finestra->frameGeometry();
            if (cornice.bottom() > schermo.bottom())
                finestra->move(
                    cornice.left(),
                    qMax(schermo.top(), cornice.top() - (cornice.bottom() - schermo.bottom())));
        }
        return false;
    }
};

QMessageBox::Icon iconaQt(Dialogs::Icona icona)
{
    switch (icona) {
    case Dialogs::Critica:
        return QMessageBox::Critical;
    case Dialogs::Domanda:
        return QMessageBox::Question;
    case Dialogs::Esclamazione:
        return QMessageBox::Warning;
    case Dialogs::Informazione:
        return QMessageBox::Information;
    case Dialogs::NessunaIcona:
        break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons pulsantiQt(Dialogs::Pulsanti pulsanti)
{
    switch (pulsanti) {
    case Dialogs::SoloOK:
        break;
    case Dialogs::SiNoAnnulla:
        return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case Dialogs::SiNo:
        return QMessageBox::Yes | QMessageBox::No;
    }
    return QMessageBox::Ok;
}

Dialogs::Risposta risposta(int pulsante, Dialogs::Pulsanti pulsanti)
{
    switch (pulsante) {
    case QMessageBox::Cancel:
        return Dialogs::Annulla;
    case QMessageBox::Yes:
        return Dialogs::Si;
    case QMessageBox::No:
        return Dialogs::No;
    default:
        // Closing a box with a Cancel button answers Cancel; otherwise OK.
        return pulsanti == Dialogs::SoloOK ? Dialogs::OK
               : pulsanti == Dialogs::SiNo ? Dialogs::No
                                           : Dialogs::Annulla;
    }
}

} // namespace

int QtDialogs::larghezzaPerIlTitolo(const QWidget &finestra)
{
    // So the window manager need not cut the title: room is left for the frame's icon and
    // three buttons on both sides, as many centre the title; at most half the screen.
    QFont carattere = QApplication::font("QMdiSubWindowTitleBar");
    carattere.setBold(true);
    const int pulsanti = 6 * finestra.style()->pixelMetric(QStyle::PM_TitleBarHeight);
    int larghezza = QFontMetrics(carattere).horizontalAdvance(finestra.windowTitle()) + pulsanti;
    if (const QScreen *schermo = finestra.screen())
        larghezza = qMin(larghezza, schermo->availableGeometry().width() / 2);
    return larghezza;
}

std::unique_ptr<Avanzamento> QtDialogs::avanzamento(const QString &testo, const QString &titolo,
                                                    int ritardo)
{
    return std::make_unique<FinestraAvanzamento>(testo, titolo, ritardo, finestraAttiva());
}

Dialogs::Risposta QtDialogs::messageBox(const QString &testo, Pulsanti pulsanti,
                                        const QString &titolo, Icona icona)
{
    bool spuntata = false;
    return messageBox(testo, pulsanti, titolo, icona, QString(), spuntata);
}

Dialogs::Risposta QtDialogs::messageBox(const QString &testo, Pulsanti pulsanti,
                                        const QString &titolo, Icona icona, const QString &casella,
                                        bool &spuntata)
{
    QMessageBox box(finestraAttiva());
    box.setWindowTitle(titolo.isEmpty() ? titoloPredefinito() : titolo);
    box.setText(QString(testo).replace("\r\n", "\n"));
    box.setIcon(iconaQt(icona));
    box.setStandardButtons(pulsantiQt(pulsanti));
    if (!casella.isEmpty())
        box.setCheckBox(new QCheckBox(casella));
    allargaPerIlTitolo(box);
    const Risposta r = risposta(box.exec(), pulsanti);
    spuntata = box.checkBox() && box.checkBox()->isChecked();
    return r;
}

QString QtDialogs::inputBox(const QString &prompt, const QString &titolo,
                            const QString &predefinito, bool largo)
{
    QInputDialog box(finestraAttiva());
    box.setWindowTitle(titolo.isEmpty() ? titoloPredefinito() : titolo);
    box.setLabelText(QString(prompt).replace("\r\n", "\n"));
    box.setTextValue(predefinito);
    // What is proposed (a web address, a long name) shows whole, within two thirds of the
    // screen; a wide box takes all of that, for what the user will type or paste.
    int larghezza = box.fontMetrics().horizontalAdvance(predefinito + QStringLiteral("MMMMMMMM"));
    if (const QScreen *schermo = box.screen()) {
        const int massima = schermo->availableGeometry().width() * 2 / 3;
        larghezza = largo ? massima : qMin(larghezza, massima);
    }
    box.resize(qMax(box.sizeHint().width(), larghezza), box.sizeHint().height());
    return box.exec() == QDialog::Accepted ? box.textValue() : QString();
}

QString QtDialogs::filtroQt(const QString &filtro)
{
    const QStringList parti = filtro.split('|');
    QStringList filtri;
    for (int i = 0; i + 1 < parti.size(); i += 2)
        filtri << QStringLiteral("%1 (%2)").arg(parti.at(i).trimmed(),
                                                QString(parti.at(i + 1)).replace(';', ' '));
    return filtri.join(";;");
}

QString QtDialogs::openFile(const QString &titolo, const QString &filtro,
                            const QString &nomeAttuale, bool perNuovo)
{
    QFileDialog dialogo(finestraAttiva());
    dialogo.setProxyModel(new ElencoFile(&dialogo));
    // Qt sizes the detail columns for English words: these fit the Italian ones, and the name
    // takes the room left.
    if (auto *dettagli = dialogo.findChild<QTreeView *>("treeView")) {
        QHeaderView *colonne = dettagli->header();
        colonne->setSectionResizeMode(0, QHeaderView::Stretch);
        for (int c = 1; c < colonne->count(); ++c)
            colonne->setSectionResizeMode(c, QHeaderView::ResizeToContents);
    }
    dialogo.setNameFilter(filtroQt(filtro));
    dialogo.setWindowTitle(titolo);
    if (perNuovo) {
        // A new file needs a name not yet used: a save dialog, which asks before overwriting
        // (below: Qt's own question would cut the dialog's title); a name typed without
        // extension takes the filter's first one.
        dialogo.setAcceptMode(QFileDialog::AcceptSave);
        dialogo.setOption(QFileDialog::DontConfirmOverwrite);
        dialogo.setFileMode(QFileDialog::AnyFile);
        dialogo.setDefaultSuffix(filtro.section('|', 1, 1).section(';', 0, 0).section('.', 1));
    } else {
        dialogo.setFileMode(QFileDialog::ExistingFile);
    }
    if (!nomeAttuale.isEmpty())
        dialogo.selectFile(QString(nomeAttuale).replace('\\', '/'));
    else
        dialogo.setDirectory(QDir::currentPath());
    for (;;) {
        if (dialogo.exec() != QDialog::Accepted || dialogo.selectedFiles().isEmpty())
            return QString();
        const QString scelto = dialogo.selectedFiles().first();
        if (!perNuovo || !QFileInfo(scelto).isFile() ||
            messageBox(QStringLiteral("Il file \"%1\" esiste già: sostituirlo?")
                           .arg(QFileInfo(scelto).fileName()),
                       SiNo, titolo, Esclamazione) == Si)
            return QDir::toNativeSeparators(scelto);
    }
}

QPrinter &QtDialogs::stampante()
{
    static QPrinter p(QPrinter::HighResolution);
    return p;
}

int QtDialogs::printDialog(int copie, const QString &documento)
{
    QPrinter &p = stampante();
    p.setCopyCount(copie > 0 ? copie : 1);
    p.setDocName(documento);
    // A PDF file is proposed under the recipe's name, in the folder used last (the working
    // folder the first time), so one printout does not overwrite the one before.
    if (!documento.isEmpty() && p.outputFormat() == QPrinter::PdfFormat) {
        const QString cartella = p.outputFileName().isEmpty()
                                     ? QDir::currentPath()
                                     : QFileInfo(p.outputFileName()).absolutePath();
        QString nome = documento.trimmed();
        nome.replace(QLatin1Char('/'), QLatin1Char('-'))
            .replace(QLatin1Char('\\'), QLatin1Char('-'));
        p.setOutputFileName(QDir(cartella).filePath(nome + QStringLiteral(".pdf")));
    }
    // Deleted once the printout is done: Qt's completer of its file name then stops watching
    // the home folder, and the system makes that wait for some milliseconds.
    auto *dialogo = new QPrintDialog(&p, finestraAttiva());
    const auto via = qScopeGuard([dialogo] { dialogo->deleteLater(); });
    // A recipe is printed whole: no selection, no page range.
    dialogo->setOption(QAbstractPrintDialog::PrintSelection, false);
    dialogo->setOption(QAbstractPrintDialog::PrintPageRange, false);
    dialogo->setOption(QAbstractPrintDialog::PrintCurrentPage, false);
    dialogo->installEventFilter(new DentroLoSchermo(dialogo));
    if (dialogo->exec() != QDialog::Accepted)
        return 0;
    // Every copy is a document of its own: the printer makes one of each.
    const int scelte = p.copyCount();
    p.setCopyCount(1);
    return scelte;
}

bool QtDialogs::printPreview(const QString &documento, const std::function<void()> &disegna)
{
    QDialog finestra(finestraAttiva());
    finestra.setWindowTitle(documento.isEmpty()
                                ? QStringLiteral("Anteprima di stampa")
                                : QStringLiteral("Anteprima di stampa - ") + documento);
    // On the printer the print dialog sets up: the same page, margins and fonts.
    auto *anteprima = new QPrintPreviewWidget(&stampante(), &finestra);
    QObject::connect(anteprima, &QPrintPreviewWidget::paintRequested, &finestra,
                     [&disegna] { disegna(); });
    auto *pagine = new QLabel(&finestra);
    QObject::connect(anteprima, &QPrintPreviewWidget::previewChanged, pagine, [=] {
        pagine->setText(QStringLiteral("Pagine: %1").arg(anteprima->pageCount()));
    });
    auto *riduci = new QPushButton(QStringLiteral("&Riduci"), &finestra);
    auto *ingrandisci = new QPushButton(QStringLiteral("&Ingrandisci"), &finestra);
    QObject::connect(riduci, &QPushButton::clicked, anteprima, [=] { anteprima->zoomOut(); });
    QObject::connect(ingrandisci, &QPushButton::clicked, anteprima, [=] { anteprima->zoomIn(); });
    auto *scelta = new QDialogButtonBox(&finestra);
    scelta->addButton(QStringLiteral("&Stampa..."), QDialogButtonBox::AcceptRole)->setDefault(true);
    scelta->addButton(QStringLiteral("&Chiudi"), QDialogButtonBox::RejectRole);
    QObject::connect(scelta, &QDialogButtonBox::accepted, &finestra, &QDialog::accept);
    QObject::connect(scelta, &QDialogButtonBox::rejected, &finestra, &QDialog::reject);
    auto *riga = new QHBoxLayout;
    for (QWidget *w : {static_cast<QWidget *>(pagine), static_cast<QWidget *>(riduci),
                       static_cast<QWidget *>(ingrandisci)})
        riga->addWidget(w);
    riga->addStretch(1);
    riga->addWidget(scelta);
    auto *impaginazione = new QVBoxLayout(&finestra);
    impaginazione->addWidget(anteprima, 1);
    impaginazione->addLayout(riga);
    // The page as wide as the view, and the view as wide as a page at its real size where the
    // screen allows: at any scale the printout reads like the windows around it.
    anteprima->setZoomMode(QPrintPreviewWidget::FitToWidth);
    const QRect schermo = finestra.screen()->availableGeometry();
    const int pagina =
        qRound(stampante().pageLayout().fullRectPoints().width() * finestra.logicalDpiX() / 72.0);
    finestra.resize(qBound(schermo.width() * 3 / 5, pagina + 80, schermo.width()),
                    schermo.height() * 4 / 5);
    finestra.installEventFilter(new DentroLoSchermo(&finestra));
    return finestra.exec() == QDialog::Accepted;
}

void QtDialogs::beep()
{
    QApplication::beep();
}

void QtDialogs::help(const QString &file, int comando, int contesto)
{
    if (!Guida::eLaGuida(file)) {
        messageBox(QStringLiteral("Impossibile trovare il file della guida '%1'.").arg(file),
                   SoloOK, titoloPredefinito(), Esclamazione);
        return;
    }
    Guida::mostra(Guida::pagina(comando, contesto));
}

void QtDialogs::openUrl(const QString &indirizzo)
{
    if (!QDesktopServices::openUrl(QUrl(indirizzo)))
        messageBox(QStringLiteral("Impossibile aprire l'indirizzo %1.").arg(indirizzo), SoloOK,
                   titoloPredefinito(), Esclamazione);
}
