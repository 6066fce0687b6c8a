// A 2 MB page of 50 recipes and 1,000 ingredient lines read into a source book, the helper
// process included; and the ingredient-line reader alone.
#include "formati/paginaweb.h"
#include "formati/rigaingrediente.h"
#include "pentolone_web/analisi.h"
#include "storage/engineerror.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <sys/resource.h>
#include <vector>

namespace {

constexpr int Ricette = 50, Righe = 20, Giri = 10;

const char *const Forme[] = {"%1 g di farina 00",
                             "Zucchero %1 g",
                             "%1 uova",
                             "Sale q.b.",
                             "1/2 bustina di lievito",
                             "%1 cups milk (warm)",
                             "½ limone",
                             "2-3 foglie di basilico",
                             "%1 ml di latte intero, tiepido",
                             "1 e 1/2 tazza di brodo"};

QStringList righe()
{
    QStringList r;
    for (int i = 0; i < Ricette * Righe; ++i)
        r << QString::fromUtf8(Forme[i % 10]).replace("%1", QString::number(i % 500 + 1));
    return r;
}

QByteArray pagina(const QStringList &ingredienti)
{
    QByteArray html = "<!DOCTYPE html><html><head><meta charset=\"utf-8\"><title>Ricette</title>";
    const QString passo =
        QStringLiteral("Mescolate con cura &amp; lasciate riposare. ").repeated(8);
    for (int n = 0; n < Ricette; ++n) {
        QJsonArray passi;
        for (int p = 0; p < 8; ++p)
            passi.append(QJsonObject{{"@type", "HowToStep"}, {"text", passo}});
        const QJsonObject r{
            {"@type", "Recipe"},
            {"name", QStringLiteral("Ricetta di prova %1").arg(n)},
            {"description", passo},
            {"recipeCategory", "Dolci"},
            {"totalTime", "PT1H10M"},
            {"recipeYield", "4 porzioni"},
            {"recipeIngredient", QJsonArray::fromStringList(ingredienti.mid(n * Righe, Righe))},
            {"recipeInstructions", passi}};
        html += "<script type=\"application/ld+json\">" + QJsonDocument(r).toJson() + "</script>";
    }
    html += "</head><body>";
    // The rest of a real page: its articles, menus and comments.
    while (html.size() < 2 * 1024 * 1024)
        html += "<div class=\"articolo\"><p>Un paragrafo del blog, con un <a href=\"/x\">link</a>"
                " e qualche parola in <b>grassetto</b>.</p></div>\n";
    return html + "</body></html>";
}

// One recipe in microdata with a list of n ingredients, as a page with a very long list gives it.
QByteArray microdati(int n)
{
    QByteArray html =
        "<!DOCTYPE html><html><head><meta charset=\"utf-8\"><title>Lista</title></head>"
        "<body><div itemscope itemtype=\"https://schema.org/Recipe\">"
        "<h1 itemprop=\"name\">Lista lunga</h1><ul>\n";
    for (int i = 0; i < n; ++i)
        html += "<li itemprop=\"recipeIngredient\">" + QByteArray::number(i % 500 + 1) +
                " g di farina</li>\n";
    return html + "</ul><p itemprop=\"recipeInstructions\">Impastate.</p></div></body></html>";
}

// Processor time of this program and of the helpers it waited for, in ms: on a busy machine
// it says what the wall clock cannot.
double processore()
{
    double ms = 0;
    for (const int chi : {RUSAGE_SELF, RUSAGE_CHILDREN}) {
        rusage u{};
        getrusage(chi, &u);
        ms += (u.ru_utime.tv_sec + u.ru_stime.tv_sec) * 1e3 +
              (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e3;
    }
    return ms;
}

// The page's recipes through the helper, as the program reads them; empty, said, on a refusal.
QList<RicettaEstera> leggi(const QByteArray &html, const Aiutante::Opzioni &web)
{
    LetturaPagina lettura(web);
    QEventLoop attesa;
    QList<RicettaEstera> ricette;
    QObject::connect(&lettura, &LetturaPagina::lette, &attesa, [&](const QList<RicettaEstera> &r) {
        ricette = r;
        attesa.quit();
    });
    QObject::connect(&lettura, &LetturaPagina::rifiutata, &attesa, [&](const Rifiuto &r) {
        std::fprintf(stderr, "%s\n", qPrintable(r.testo));
        attesa.quit();
    });
    lettura.avvia(html, QStringLiteral("https://esempio.test/"));
    attesa.exec();
    return ricette;
}

double mediana(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const Aiutante::Opzioni web{QStringLiteral(PENTOLONE_WEB)};
    const QStringList linee = righe();
    const QByteArray html = pagina(linee);
    QTemporaryDir dir;
    std::vector<double> tempi, aiutante, interni;
    for (int i = 0; i < Giri; ++i) {
        QElapsedTimer t;
        t.start();
        const QList<RicettaEstera> r = leggi(html, web);
        aiutante.push_back(t.nsecsElapsed() / 1e6);
        if (r.size() != Ricette)
            return 1;
        try {
            LibroSorgente::scrivi(dir.filePath(QStringLiteral("%1.mdb").arg(i)), r);
        } catch (const EngineError &e) {
            std::fprintf(stderr, "%s\n", qPrintable(e.description()));
            return 1;
        }
        tempi.push_back(t.nsecsElapsed() / 1e6);
        t.restart();
        PaginaWeb::ricette(html, "https://esempio.test/");
        interni.push_back(t.nsecsElapsed() / 1e6);
    }
    std::printf("page_bytes: %lld bytes\n", static_cast<long long>(html.size()));
    std::printf("parse_ms: %.1f ms\n", mediana(tempi));
    std::printf("per_recipe_ms: %.2f ms\n", mediana(tempi) / Ricette);
    std::printf("helper_ms: %.1f ms\n", mediana(aiutante));
    std::printf("parse_in_process_ms: %.1f ms\n", mediana(interni));

    const QByteArray lunga = microdati(40000);
    std::vector<double> lista, cpu;
    for (int i = 0; i < 5; ++i) {
        QElapsedTimer t;
        t.start();
        const double prima = processore();
        if (leggi(lunga, web).value(0).righe.size() != 40000)
            return 1;
        lista.push_back(t.nsecsElapsed() / 1e6);
        cpu.push_back(processore() - prima);
    }
    std::printf("microdata_40000_ingredients_ms: %.1f ms\n", mediana(lista));
    std::printf("microdata_40000_ingredients_cpu_ms: %.1f ms\n", mediana(cpu));

    QElapsedTimer t;
    t.start();
    qint64 lette = 0;
    while (t.elapsed() < 500)
        for (const QString &l : linee)
            lette += RigaIngrediente::leggi(l).ingrediente.size() >= 0;
    std::printf("reader_lines_per_s: %.0f lines/s\n", double(lette) / (t.nsecsElapsed() / 1e9));
    return 0;
}
