// The recipe editor on a large book: 10,000 recipes, 3,000 ingredients, 60,000 ingredient
// lines. Times the program's start to the editor drawn, the opening (and the bytes it reads),
// the title search for a name at the start, middle and end, a move to the next recipe, one line
// added to a recipe and one portion conversion that stores its quantities (medians of repeated
// runs), then the resident memory.
//
// Every action is done as a cook does it (clicks and keys on the window's controls); its time
// includes the events it leaves queued (layout, repaint), since the cook waits for those too.
//
// Under an X server (xvfb-run) the moves and the clicks in the recipe list are timed to the last
// pixel: from the click to the X server having drawn what the window sent it, with the CPU this
// process used, the widgets painted and the window's area they cover (the rectangles flushed to
// the server). Offscreen they end with the events processed. --pitture lists what one move
// painted, on standard error.
#include "editor/ricette.h"
#include "finestre.h"
#include "generatore.h"
#include "storage/database.h"
#include "toolkit/applicazione.h"
#include "toolkit/dialogs.h"
#include "toolkit/stile.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QLineEdit>
#include <QListWidget>
#include <QMap>
#include <QPaintEvent>
#include <QProcess>
#include <QPushButton>
#include <QRandomGenerator>
#include <QRegion>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QToolButton>
#include <algorithm>
#include <cstdio>
#include <sqlite3.h>
#include <vector>

namespace {

constexpr int Aperture = 5;
constexpr int Avvii = 9; // program starts timed from outside
constexpr int Spostamenti = 200;
constexpr int Aggiunte = 60;
constexpr int Conversioni = 60;

// An action and the events it leaves queued.
template <class Azione> double cronometra(Azione azione)
{
    QElapsedTimer t;
    t.start();
    azione();
    QCoreApplication::processEvents();
    return ms(t);
}

// What the widgets of one window painted: how many paints, and the part of the window they
// cover, which is what the window flushes to the server. For --pitture, the paints of the last
// action one by one (a line "--" where a flush begins) and the paints of each widget over all
// actions since the last listing.
class Pitture : public QObject
{
public:
    explicit Pitture(QWidget *finestra) : finestra_(finestra) { qApp->installEventFilter(this); }

    bool attivo = false; // counting: only the actions measured
    int dipinti = 0;
    QRegion regione;
    QStringList ultima;
    QMap<QString, int> perWidget;

    void azzera()
    {
        dipinti = 0;
        regione = {};
        ultima.clear();
    }

    void elenca(const char *azione)
    {
        std::fprintf(stderr, "%s, the last one painted:\n  %s\nall of them painted:\n", azione,
                     qPrintable(ultima.join("\n  ")));
        for (auto i = perWidget.cbegin(); i != perWidget.cend(); ++i)
            std::fprintf(stderr, "  %5d %s\n", i.value(), qPrintable(i.key()));
        perWidget.clear();
    }

protected:
    bool eventFilter(QObject *o, QEvent *e) override
    {
        if (!attivo)
            return false;
        if (e->type() == QEvent::UpdateRequest && o == finestra_)
            ultima << QStringLiteral("--");
        if (e->type() != QEvent::Paint || !o->isWidgetType())
            return false;
        auto *w = static_cast<QWidget *>(o);
        if (w->window() != finestra_)
            return false;
        ++dipinti;
        const QRegion r = static_cast<QPaintEvent *>(e)->region();
        regione += r.translated(w->mapTo(finestra_, QPoint()));
        // A viewport or a scroll bar by the widget it serves.
        QString nome = w->objectName();
        if (nome.isEmpty() || nome.startsWith("qt_"))
            nome = QStringLiteral("%1 of %2")
                       .arg(w->metaObject()->className(), w->parentWidget()->objectName());
        ++perWidget[nome];
        const QRect b = r.boundingRect();
        ultima << QStringLiteral("%1: %2 rectangles in %3x%4")
                      .arg(nome)
                      .arg(r.rectCount())
                      .arg(b.width())
                      .arg(b.height());
        return false;
    }

private:
    QWidget *finestra_;
};

// One action timed to the last pixel, with what it painted.
struct Misure
{
    std::vector<double> tempi, cpu, dipinti, rettangoli, area;

    template <class Azione> void misura(Pitture &pitture, Azione azione)
    {
        pitture.azzera();
        const double c = cpuMs();
        QElapsedTimer t;
        t.start();
        pitture.attivo = true;
        azione();
        QCoreApplication::processEvents();
        // A round trip to the server once the window has flushed: the server has drawn it.
        QGuiApplication::sync();
        pitture.attivo = false;
        tempi.push_back(ms(t));
        cpu.push_back(cpuMs() - c);
        dipinti.push_back(pitture.dipinti);
        rettangoli.push_back(pitture.regione.rectCount());
        double a = 0;
        for (const QRect &r : pitture.regione)
            a += double(r.width()) * r.height();
        area.push_back(a / 1000);
    }

    void stampa(const char *nome) const
    {
        if (tempi.empty()) {
            std::printf("%s_ms: n/a\n", nome);
            return;
        }
        std::printf("%s_ms: %.2f ms\n", nome, mediana(tempi));
        std::printf("%s_cpu_ms: %.2f ms\n", nome, mediana(cpu));
        std::printf("%s_painted_widgets: %.0f\n", nome, mediana(dipinti));
        std::printf("%s_damaged_rects: %.0f\n", nome, mediana(rettangoli));
        std::printf("%s_damaged_kpx: %.0f kpx\n", nome, mediana(area));
    }
};

void mancante(const char *figura, const char *perche)
{
    std::fprintf(stderr, "%s not measured: %s\n", figura, perche);
}

void stampa(const char *figura, const std::vector<double> &tempi)
{
    if (tempi.empty())
        std::printf("%s: n/a\n", figura);
    else
        std::printf("%s: %.2f ms\n", figura, mediana(tempi));
}

// Bytes this process read so far, from the files or the page cache alike.
double byteLetti()
{
    QFile f("/proc/self/io");
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &r : f.readAll().split('\n'))
        if (r.startsWith("rchar:"))
            return r.mid(6).trimmed().toDouble();
    return 0;
}

// The program started on the book and its editor drawn with the titles listed, timed from
// outside (start to finish of the process's work) and the CPU it used, medians of nine runs:
// a shared machine's noise moves single runs by tens of milliseconds.
void avvio(const QString &libro)
{
    std::vector<double> tempi, cpu;
    for (int i = 0; i < Avvii; ++i) {
        QProcess p;
        p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        // The program keeps its settings in its working folder: the book's, not ours.
        p.setWorkingDirectory(QFileInfo(libro).absolutePath());
        QElapsedTimer t;
        t.start();
        p.start(START_BENCH, {libro});
        if (!p.waitForReadyRead(30000))
            break;
        const double ms = t.nsecsElapsed() / 1e6;
        p.waitForFinished(30000);
        const QByteArray riga = p.readAll().trimmed();
        if (p.exitCode() != 0 || !riga.startsWith("cpu_ms: "))
            break;
        tempi.push_back(ms);
        cpu.push_back(riga.mid(8).toDouble());
    }
    if (int(tempi.size()) < Avvii) {
        mancante("start", "the program did not show its editor");
        return;
    }
    std::printf("start_ms: %.1f ms\n", mediana(tempi));
    std::printf("start_cpu_ms: %.1f ms\n", mediana(cpu));
}

qint64 righeNelLibro(Database &libro)
{
    return libro.valore("SELECT count(*) FROM ingredienti_ricetta").toLongLong();
}

} // namespace

int main(int argc, char **argv)
{
    // Under a display, the X server it names: the moves are timed to the last pixel.
    if (qgetenv("DISPLAY").isEmpty())
        senzaSchermo();
    QApplication app(argc, argv);
    Stile::installa(); // as the program
    const bool elencaPitture = app.arguments().contains("--pitture");
    Silenzio silenzio;
    Dialogs::install(&silenzio);

    QTemporaryDir cartella;
    const QString percorso = QDir(cartella.path()).filePath("Grande.mdb");
    libroGrande(percorso);
    avvio(percorso);
    Applicazione::RicettarioCorrente = percorso;

    // The book becomes current and its check starts, as in the main window; the cook's click
    // on "Ricette" comes a moment later. The first opening is timed with the bytes it read,
    // then the window is opened again as a cook opens it again from the main window.
    // The main window is on the screen by then: the toolkit's fonts and style are ready.
    QWidget principale;
    auto *etichetta = new QPushButton("Ricette", &principale);
    etichetta->setFont(QFont(etichetta->font().family(), 14, QFont::Bold));
    principale.show();
    if (!QTest::qWaitForWindowExposed(&principale))
        return 1;
    Database::verificaInAnticipo(percorso);
    QThread::msleep(300);
    Ricette *finestra = nullptr;
    const double letti = byteLetti();
    const double prima = cronometra([&] {
        finestra = new Ricette;
        finestra->show();
    });
    const double lettiMb = (byteLetti() - letti) / (1024 * 1024);
    std::vector<double> aperture;
    for (int i = 0; i < Aperture; ++i) {
        finestra->close();
        delete finestra;
        QCoreApplication::processEvents();
        aperture.push_back(cronometra([&] {
            finestra = new Ricette;
            finestra->show();
        }));
    }
    finestra->activateWindow();
    QCoreApplication::processEvents();

    // The title search, for a name at the start, in the middle and at the end of the list.
    auto *nomi = controllo<QListWidget>(finestra, "ListaRicette");
    auto *cercata = controllo<QLineEdit>(finestra, "Text3");
    auto *cerca = controllo<QPushButton>(finestra, "Command7");
    auto *nome = controllo<QLineEdit>(finestra, "txtFields_1");
    std::vector<double> ricerche;
    for (const int riga : {0, nomi->count() / 2, nomi->count() - 1}) {
        const QString testo = nomi->item(riga)->text();
        std::vector<double> volte;
        for (int i = 0; i < 20; ++i) {
            cercata->setText(testo);
            volte.push_back(cronometra([&] { QTest::mouseClick(cerca, Qt::LeftButton); }));
            if (nome->text() != testo) {
                mancante("search", "the search did not show the name looked for");
                volte.clear();
                break;
            }
        }
        if (!volte.empty())
            ricerche.push_back(mediana(volte));
    }

    // Each step is checked for its effect: a step that does nothing yet gives no figure, so
    // the bench measures what exists and says what does not.
    const std::shared_ptr<Database> libro = Database::apri(percorso);
    auto *chiave = controllo<QLineEdit>(finestra, "Label2"); // the shown recipe's IDRicetta
    const auto quantitaNelLibro = [&] {
        return libro
            ->valore("SELECT group_concat(\"Quantità\", '|') FROM ingredienti_ricetta WHERE "
                     "IDRicetta = ?",
                     {chiave->text().toLongLong()})
            .toString();
    };

    auto *successivo =
        controllo<QToolButton>(controllo<QWidget>(finestra, "datPrimaryRS"), "successivo");
    QTest::mouseClick(controllo<QToolButton>(controllo<QWidget>(finestra, "datPrimaryRS"), "primo"),
                      Qt::LeftButton);
    QGuiApplication::sync();
    Pitture pitture(finestra);
    Misure spostamenti;
    for (int i = 0; i < Spostamenti; ++i) {
        const QString prima = chiave->text();
        spostamenti.misura(pitture, [&] { QTest::mouseClick(successivo, Qt::LeftButton); });
        if (chiave->text() == prima) {
            mancante("move", "the navigation bar did not move");
            spostamenti = {};
            break;
        }
    }
    if (elencaPitture)
        pitture.elenca("moves");

    // A click on the name below the recipe shown, the list scrolled to it beforehand.
    Misure clic;
    for (int i = 0; i < Spostamenti; ++i) {
        const int riga = nomi->currentRow() + 1;
        if (riga >= nomi->count())
            break;
        nomi->scrollToItem(nomi->item(riga));
        QGuiApplication::sync();
        const QPoint punto = nomi->visualItemRect(nomi->item(riga)).center();
        const QString prima = chiave->text();
        clic.misura(pitture,
                    [&] { QTest::mouseClick(nomi->viewport(), Qt::LeftButton, {}, punto); });
        if (chiave->text() == prima || nomi->currentRow() != riga) {
            mancante("list_click", "a click in the recipe list did not show its recipe");
            clic = {};
            break;
        }
    }
    if (elencaPitture)
        pitture.elenca("list clicks");

    // Lines go to the recipe shown, one ingredient after another picked from the list.
    auto *lista = controllo<QListWidget>(finestra, "ListaIngredienti");
    auto *scelto = controllo<QLineEdit>(finestra, "IngredienteScelto");
    auto *qta = controllo<QLineEdit>(finestra, "Qta");
    auto *commento = controllo<QLineEdit>(finestra, "Commento");
    auto *aggiungi = controllo<QPushButton>(finestra, "Command1");
    const qint64 righePrima = righeNelLibro(*libro);
    std::vector<double> aggiunte;
    for (int i = 0; i < Aggiunte; ++i) {
        if (lista->count() == 0) {
            mancante("add_line", "the ingredient list is empty");
            break;
        }
        QListWidgetItem *voce = lista->item((i * 37) % lista->count());
        lista->scrollToItem(voce);
        const QPoint punto = lista->visualItemRect(voce).center();
        QTest::mouseClick(lista->viewport(), Qt::LeftButton, {}, punto);
        QTest::mouseDClick(lista->viewport(), Qt::LeftButton, {}, punto);
        if (scelto->text() != voce->text()) {
            mancante("add_line", "a double-click in the list chooses no ingredient");
            break;
        }
        QTest::keyClicks(qta, quantita.at(i % quantita.size()));
        QTest::keyClicks(commento, "tritato finemente");
        aggiunte.push_back(cronometra([&] { QTest::mouseClick(aggiungi, Qt::LeftButton); }));
    }
    if (!aggiunte.empty() && righeNelLibro(*libro) - righePrima != qint64(aggiunte.size())) {
        mancante("add_line", "the lines were not stored");
        aggiunte.clear();
    }

    // Conversions stored, on another recipe with its own six lines, back and forth.
    QTest::mouseClick(successivo, Qt::LeftButton);
    QCoreApplication::processEvents();
    auto *porzioni = controllo<QLineEdit>(finestra, "txtFields_8");
    auto *nuove = controllo<QLineEdit>(finestra, "Text2");
    auto *trasforma = controllo<QPushButton>(finestra, "Command5");
    auto *memorizza = controllo<QCheckBox>(finestra, "Check1");
    if (!memorizza->isChecked())
        QTest::mouseClick(memorizza, Qt::LeftButton);
    const QString originali = quantitaNelLibro();
    std::vector<double> conversioni;
    for (int i = 0; i < Conversioni; ++i) {
        const QString n = porzioni->text() == "4" ? "6" : "4";
        nuove->clear();
        QTest::keyClicks(nuove, n);
        conversioni.push_back(cronometra([&] { QTest::mouseClick(trasforma, Qt::LeftButton); }));
        if (porzioni->text() != n || (i == 0 && quantitaNelLibro() == originali)) {
            mancante("convert", "the quantities were not converted and stored");
            conversioni.clear();
            break;
        }
    }
    const double memoria = memoriaMb();

    std::printf("open_ms: %.1f ms\n", prima);
    std::printf("bytes_read_mb: %.1f MB\n", lettiMb);
    std::printf("book_mb: %.1f MB\n", QFileInfo(percorso).size() / (1024.0 * 1024));
    std::printf("reopen_ms: %.1f ms\n", mediana(aperture));
    if (ricerche.size() == 3) {
        std::printf("search_start_ms: %.2f ms\n", ricerche[0]);
        std::printf("search_middle_ms: %.2f ms\n", ricerche[1]);
        std::printf("search_end_ms: %.2f ms\n", ricerche[2]);
        std::printf("search_ms: %.2f ms\n", *std::max_element(ricerche.begin(), ricerche.end()));
    }
    std::printf("platform: %s\n", qPrintable(QGuiApplication::platformName()));
    spostamenti.stampa("move");
    clic.stampa("list_click");
    stampa("add_line_ms", aggiunte);
    stampa("convert_ms", conversioni);
    std::printf("rss_mb: %.1f MB\n", memoria);
    finestra->close();
    delete finestra;
    return silenzio.inattesi == 0 ? 0 : 1;
}
