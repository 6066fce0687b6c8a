// The content search. On the large book (10,000 recipes, 60,000 lines): building the index, the
// median of 100 typical searches, "Cosa cucino con..." for five ingredients, the index's file;
// the window opened to its first results with no index yet (cold) and with the index of an
// earlier opening (warm). On a book of 100,000 recipes, through the window as a cook types: the
// slowest keystroke of a 40-character query, a pasted text of 10,000 characters to its results,
// and the resident memory.
#include "cerca/cerca.h"
#include "cerca/indice.h"
#include "finestre.h"
#include "generatore.h"
#include "storage/database.h"
#include "toolkit/applicazione.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QDirIterator>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

namespace {

// What cooks type: a dish, an ingredient or its start, two words, a phrase, an exclusion.
QStringList ricercheTipiche()
{
    QRandomGenerator caso(7);
    QStringList r;
    while (r.size() < 100) {
        const QString cibo = scegli(caso, con).split(' ').first();
        switch (r.size() % 5) {
        case 0:
            r << cibo;
            break;
        case 1:
            r << cibo.left(4);
            break;
        case 2:
            r << scegli(caso, piatti) + ' ' + cibo;
            break;
        case 3:
            r << '"' + scegli(caso, luoghi) + '"';
            break;
        default:
            r << scegli(caso, piatti) + " -" + cibo;
            break;
        }
    }
    return r;
}

double dimensioneMb(const QString &cartella)
{
    qint64 byte = 0;
    for (QDirIterator i(cartella, QDir::Files, QDirIterator::Subdirectories); i.hasNext();)
        byte += QFileInfo(i.next()).size();
    return byte / (1024.0 * 1024);
}

// Waits for the results of what was typed; complete ones unless told.
bool attendi(QSignalSpy &mostrati, bool completi = true)
{
    while (mostrati.wait(600000))
        if (!completi || mostrati.last().value(0).toBool())
            return true;
    return false;
}

// The window opened on the book and "zucca" typed at once: the time to its first results shown
// (some recipes), and to the results of the whole book.
std::pair<double, double> primiRisultati(const QString &libro)
{
    Applicazione::RicettarioCorrente = libro;
    QElapsedTimer t;
    t.start();
    Cerca finestra;
    QSignalSpy mostrati(&finestra, &Cerca::risultatiMostrati);
    finestra.show();
    QTest::keyClicks(controllo<QLineEdit>(&finestra, "txtCerca"), "zucca");
    auto *risultati = controllo<QTreeWidget>(&finestra, "Risultati");
    while (risultati->topLevelItemCount() == 0)
        if (!attendi(mostrati, false))
            return {-1, -1};
    const double primi = ms(t);
    if (!mostrati.last().value(0).toBool() && !attendi(mostrati))
        return {primi, -1};
    return {primi, ms(t)};
}

} // namespace

int main(int argc, char **argv)
{
    senzaSchermo();
    QApplication app(argc, argv);
    Silenzio silenzio;
    Dialogs::install(&silenzio);
    QTemporaryDir cartella;
    const QString cache = cartella.filePath("cache");
    qputenv("XDG_CACHE_HOME", cache.toUtf8());
    const QString percorso = QDir(cartella.path()).filePath("Grande.mdb");
    libroGrande(percorso);

    // The book opened and checked, as the program does when it starts; then the window, first
    // with no index (it is made meanwhile), then with the one made.
    const std::shared_ptr<Database> libro = Database::apri(percorso);
    const double memoria = memoriaMb();
    const auto [freddo, fredditutti] = primiRisultati(percorso);
    const double memoriaIndice = memoriaMb() - memoria;
    const auto [caldo, calditutti] = primiRisultati(percorso);
    std::printf("first_results_ms (cold): %.1f ms\n", freddo);
    std::printf("all_results_ms (cold): %.1f ms\n", fredditutti);
    std::printf("first_results_ms (warm): %.1f ms\n", caldo);
    std::printf("all_results_ms (warm): %.1f ms\n", calditutti);
    std::printf("index_mb: %.1f MB\n", memoriaIndice);
    std::printf("index_file_mb: %.1f MB\n", dimensioneMb(cache));

    QDir(cartella.filePath("da capo")).mkpath(".");
    IndiceRicette indice(percorso, IndiceRicette::fileDi(percorso, cartella.filePath("da capo")));
    QElapsedTimer t;
    t.start();
    indice.aggiorna(*libro);
    std::printf("index_ms: %.0f ms\n", ms(t));

    std::vector<double> tempi;
    qsizetype trovate = 0;
    for (const QString &q : ricercheTipiche()) {
        t.start();
        trovate += indice.cerca(q, {}, 100).size();
        tempi.push_back(ms(t));
    }
    std::printf("query_ms: %.2f ms\n", mediana(tempi));
    if (trovate == 0)
        std::fprintf(stderr, "the searches found nothing\n");

    const QStringList dispensa = {"uova", "farina", "zucchine", "ricotta", "parmigiano"};
    tempi.clear();
    for (int i = 0; i < 20; ++i) {
        t.start();
        if (indice.cosaCucino(dispensa, {}, 100).isEmpty())
            std::fprintf(stderr, "the pantry found nothing\n");
        tempi.push_back(ms(t));
    }
    std::printf("pantry_ms: %.2f ms\n", mediana(tempi));

    // 100,000 recipes: the window opened while its index is made, used as it is made.
    const QString centomila = QDir(cartella.path()).filePath("Centomila.mdb");
    libroGrande(centomila, 100000);
    Applicazione::RicettarioCorrente = centomila;
    Cerca finestra;
    QSignalSpy mostrati(&finestra, &Cerca::risultatiMostrati);
    finestra.show();
    auto *casella = controllo<QLineEdit>(&finestra, "txtCerca");
    const QString query = "risotto con funghi porcini alla genovese";
    const auto scrivi = [&](const char *figura) {
        casella->clear();
        std::vector<double> tasti;
        for (const QChar c : query) {
            QElapsedTimer k;
            k.start();
            QTest::keyClick(casella, c.toLatin1());
            QCoreApplication::processEvents();
            tasti.push_back(ms(k));
        }
        std::printf("%s: %.1f ms\n", figura, *std::max_element(tasti.begin(), tasti.end()));
    };
    scrivi("key_ms_max (while the index is made)");
    t.start();
    if (!attendi(mostrati))
        return 1;
    std::printf("index_100000_ms: %.0f ms\n", ms(t));
    scrivi("key_ms_max");
    if (!attendi(mostrati))
        return 1;

    QString incollato;
    for (QRandomGenerator caso(3); incollato.size() < 10000;)
        incollato += scegli(caso, frasi) + ' ';
    QGuiApplication::clipboard()->setText(incollato.left(10000));
    casella->clear();
    mostrati.clear();
    t.start();
    QTest::keyClick(casella, Qt::Key_V, Qt::ControlModifier);
    if (!attendi(mostrati))
        return 1;
    std::printf("paste_ms: %.1f ms\n", ms(t));
    std::printf("rss_mb: %.0f MB\n", memoriaMb());
    return silenzio.inattesi == 0 ? 0 : 1;
}
