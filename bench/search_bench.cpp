// The content search on the large book (10,000 recipes, 60,000 lines): building the index,
// the median of 100 typical searches, "Cosa cucino con..." for five ingredients, and the
// resident memory with the index built.
#include "cerca/indice.h"
#include "finestre.h"
#include "generatore.h"
#include "storage/database.h"

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>

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

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir cartella;
    const QString percorso = QDir(cartella.path()).filePath("Grande.mdb");
    libroGrande(percorso);
    const std::shared_ptr<Database> libro = Database::apri(percorso);

    IndiceRicette indice(percorso);
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
    std::printf("rss_mb: %.0f MB\n", memoriaMb());
    return 0;
}
