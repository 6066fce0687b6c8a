// The printed page of a recipe, read back from a surface that records every text.
#include "caso.h"
#include "editor/ricette.h"
#include "principale.h"
#include "printing/impaginazione.h"
#include "scripteddialogs.h"
#include "storage/schema.h"
#include "superficieregistrata.h"
#include "toolkit/applicazione.h"
#include "toolkit/flexgrid.h"

#include <QLineEdit>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

namespace {

using Ricetta = QMap<int, QVariant>;

RicettaDaStampare ricetta(const Ricetta &valori, const QList<RigaDaStampare> &righe = {})
{
    RicettaDaStampare r;
    for (int i = 0; i <= Schema::Utensili; ++i)
        r.campi.append(valori.value(i));
    r.campi[Schema::NomeRicetta] = valori.value(Schema::NomeRicetta, QStringLiteral("Risotto"));
    r.categoria = QStringLiteral("Primi");
    r.righe = righe;
    return r;
}

QList<RigaDaStampare> burro(int quante)
{
    return QList<RigaDaStampare>(quante, RigaDaStampare{"Burro", "", ""});
}

// "x@y:text" for every text of a document, in the order printed.
QStringList posti(const SuperficieRegistrata &s, int pagina = 0)
{
    QStringList p;
    for (const auto &t : s.testi)
        if (pagina == 0 || t.pagina == pagina)
            p.append(QStringLiteral("%1@%2:%3").arg(t.x).arg(t.y).arg(t.testo));
    return p;
}

const QString Lungo =
    "Mescolate con cura e spesso il riso nella pentola di coccio finché non avrà assorbito "
    "tutto il brodo caldo, poi mantecate a fuoco spento.";

} // namespace

class TstImpaginazione : public QObject
{
    Q_OBJECT

    std::unique_ptr<SuperficieRegistrata> carta;
    std::unique_ptr<ScriptedDialogs> dialoghi;

    void stampa(const RicettaDaStampare &r, const ModoStampa &modo = StampaDaEditor)
    {
        ImpaginazioneRicetta(*carta, modo).StampaRicetta(r);
    }

private slots:
    void init()
    {
        carta = std::make_unique<SuperficieRegistrata>();
        dialoghi = std::make_unique<ScriptedDialogs>();
    }
    void cleanup()
    {
        QVERIFY(dialoghi->tutteUsate());
        dialoghi.reset();
        carta.reset();
    }

    // A recipe with nothing but its name, from the editor, whose grid keeps one blank row: the
    // fixed lines, in their fonts and colours.
    void emptyRecipe_printsTheFixedLinesOnly()
    {
        dialoghi->rispondi(Dialogs::OK);
        stampa(ricetta({}, {{"", "", ""}}));
        QCOMPARE(dialoghi->visti(), QStringList{"Attenzione: Ingredienti non presenti"});
        QCOMPARE(dialoghi->messaggi().value(0).icona, int(Dialogs::Critica));
        QCOMPARE(carta->documenti, 1);
        // "y text points, B bold, I italic, colour, x": centred titles give their centre.
        QStringList linee;
        for (const auto &[d, p, x, y, testo, c] : carta->testi) {
            const double centro = x + carta->TextWidth(testo) * c.punti / 10 / 2;
            linee << QStringLiteral("%1 %2 %3%4%5 %6 %7")
                         .arg(QString::number(y), testo, QString::number(c.punti),
                              c.grassetto ? "B" : "", c.corsivo ? "I" : "", c.colore.name(),
                              QString::number(y == 3 || y == 60 ? centro : x));
        }
        QCOMPARE(linee,
                 (QStringList{"3 - Risotto - 14BI #c00000 57.5", "5 Pentolone 10 #008000 12",
                              "6 Categoria: Primi 10B #000080 12", "9 Preparato da  10 #000000 12",
                              "15 Ingredienti 10B #000080 12", "15 Quantità 10B #000080 40",
                              "16  10 #000000 12", "60 - Risotto, pag. 1 - 10 #000000 57.5"}));
    }

    // The header block, the time line and a long comment beside a quantity, from both windows.
    void recipe_printsWhatItHolds_data()
    {
        QTest::addColumn<bool>("daElenco");
        QTest::addColumn<Ricetta>("valori");
        QTest::addColumn<QString>("commento");  // of the one ingredient line
        QTest::addColumn<QStringList>("righe"); // lines 9, 11, 12, 13, 16, 17, 18
        using namespace Schema;
        const Ricetta tempi{
            {TempoPreparazione, " 20 min "}, {NumeroPorzioni, 4}, {CaloriePerPorzione, 350}};
        const QStringList burro{"Burro2 ", "", ""};
        caso("editor", false, tempi, Lungo,
             QStringList{"Preparato da ",
                         "Tempo di preparazione: 20 min     -  Porzioni: 4  -  Calorie per "
                         "porzione: 350",
                         "", "",
                         "Burro2 Mescolate con cura e spesso il riso nella pentola di coccio ",
                         "finché non avrà assorbito tutto il brodo caldo, poi ",
                         "mantecate a fuoco spento."});
        caso("list", true, tempi, Lungo,
             QStringList{"Preparato da ",
                         "Tempo di preparazione: 20 min   -  Porzioni: 4  -  Calorie per "
                         "porzione: 350",
                         "", "", "Burro2 Mescolate con cura e spesso il riso nella pentola ",
                         "di coccio finché non avrà assorbito tutto il ",
                         "brodo caldo, poi mantecate a fuoco spento."});
        caso("calories alone", false, Ricetta{{CaloriePerPorzione, 350}, {TempoPreparazione, "  "}},
             QString(), QStringList{"Preparato da ", "Calorie per porzione: 350", "", ""} + burro);
        caso("vegetarian", false,
             Ricetta{{Preparata_da, " Anna "}, {Vegetariana, -1}, {TipoPasto, "Pranzo"}}, QString(),
             QStringList{"Preparato da Anna   - (Piatto Vegetariano)", "", "", ""} + burro);
        caso("description", true,
             Ricetta{{DescrizioneRicetta, " Cremoso "},
                     {TipoPasto, " Pranzo "},
                     {NumeroPorzioni, 2},
                     {InformazioniNutrizionali, " Proteine: 7 g "}},
             QString(),
             QStringList{"Preparato da ", "Cremoso (Pranzo)", "-  Porzioni: 2  -  ",
                         "Proteine: 7 g", "IngredientiQuantità", "Burro2 ", ""});
    }
    void recipe_printsWhatItHolds()
    {
        QFETCH(bool, daElenco);
        QFETCH(Ricetta, valori);
        QFETCH(QString, commento);
        stampa(ricetta(valori, {{"Burro", "2", commento}}),
               daElenco ? StampaDaElenco : StampaDaEditor);
        QStringList righe;
        for (int y : {9, 11, 12, 13, 16, 17, 18})
            righe.append(carta->riga(0, 1, y));
        QTEST(righe, "righe");
    }

    // A quantity and what it becomes; the comment starts one unit after it, or at 40.
    void quantity_printsFractionWords_data()
    {
        QTest::addColumn<QString>("quantita");
        QTest::addColumn<QString>("stampata");
        caso("half", "0,5", "mezzo/a");
        caso("half dot", "0.5", "mezzo/a");
        caso("beginning only", "0,55", "mezzo/a");
        caso("quarter", "0,25", "un quarto");
        caso("fifth", "0,2", "un quinto");
        caso("sixth", "0,16", "un sesto");
        caso("eighth", "0,125", "un ottavo");
        caso("tenth", "0,1", "un decimo");
        caso("third", "0.333", "un terzo");
        caso("three quarters", "0,75", "0,75");
        caso("whole part", "1,5", "1,5");
        caso("two", "2", "2");
        caso("many", "250", "250");
        caso("text", "q.b.", "q.b.");
        // As the editor's grid hands it, blanks and all: compared as text, it is no fraction.
        caso("blanks around", " 0,5 ", " 0,5 ");
        caso("zero", "0", "");
        caso("zero decimals", "0,00", "");
        caso("missing", "", "");
    }
    void quantity_printsFractionWords()
    {
        QFETCH(QString, quantita);
        QFETCH(QString, stampata);
        stampa(ricetta({}, {{" Riso ", quantita, "tritato"}}));
        QStringList attesi{"12@16:Riso"};
        if (!stampata.isEmpty())
            attesi.append("40@16:" + stampata + " ");
        const double commento = stampata.isEmpty() ? 40 : 40 + stampata.size() * 0.5 + 1;
        attesi.append(QString::number(commento) + "@16:tritato");
        QCOMPARE(posti(*carta).filter("@16:"), attesi);
    }

    // The word wrap: width, carriage returns, lines after the first, words too long.
    void wrap_breaksAtSpacesAndReturns_data()
    {
        QTest::addColumn<QString>("testo");
        QTest::addColumn<int>("larghezza");
        QTest::addColumn<double>("x");
        QTest::addColumn<QStringList>("righe");
        QTest::addColumn<int>("dopo"); // the left position for a caller's next line
        caso("empty", "", 60, 12.0, QStringList{}, 12);
        caso("one line", "Burro fuso", 60, 12.0, QStringList{"12@11:Burro fuso"}, 12);
        caso("beside a quantity", Lungo, 60, 45.0,
             QStringList{"45@11:Mescolate con cura e spesso il riso nella pentola di coccio ",
                         "40@12:finché non avrà assorbito tutto il brodo caldo, poi ",
                         "40@13:mantecate a fuoco spento."},
             40);
        caso("left column stays", Lungo, 60, 12.0,
             QStringList{"12@11:Mescolate con cura e spesso il riso nella pentola di coccio ",
                         "12@12:finché non avrà assorbito tutto il brodo caldo, poi ",
                         "12@13:mantecate a fuoco spento."},
             12);
        caso("paragraphs", "Lavate.\r\n\r\nCuocete.", 100, 12.0,
             QStringList{"12@11:Lavate.", "12@12:", "12@13:Cuocete."}, 12);
        caso("return at the end", "Lavate.\r\n", 100, 12.0, QStringList{"12@11:Lavate."}, 12);
        caso("bare line feed", "Lavate.\nCuocete.\n", 100, 12.0,
             QStringList{"12@11:Lavate.\nCuocete.\n"}, 12);
        caso("word too long", "abcdefghijkl mnopq", 5, 12.0,
             QStringList{"12@11:abcde", "12@12:fghij", "12@13:kl ", "12@14:mnopq"}, 12);
    }
    void wrap_breaksAtSpacesAndReturns()
    {
        QFETCH(QString, testo);
        QFETCH(int, larghezza);
        QFETCH(double, x);
        ImpaginazioneRicetta impaginazione(*carta, StampaDaEditor);
        int riga = 11;
        impaginazione.StampaTesto(testo, riga, larghezza, x);
        QTEST(posti(*carta), "righe");
        QCOMPARE(riga, 11 + qMax(1, int(posti(*carta).size())));
        QTEST(int(x), "dopo");
    }

    // Pages: the check at 58, the footer on 60, lines from 5 on a new page; copies; an error
    // while printing ends the command silently (Cancel: the list window's test).
    void pages_breakAtLine58_data()
    {
        QTest::addColumn<int>("righe");
        QTest::addColumn<QString>("istruzioni");
        QTest::addColumn<int>("copie");
        QTest::addColumn<bool>("guasto");     // the printer fails after the first document
        QTest::addColumn<QStringList>("pie"); // every footer, "document/page@line:text"
        // The lines start at 16: the 42nd stands on 57, the 43rd on page 2, line 5.
        caso("inside the ingredients", 45, "", 1, false,
             QStringList{"0/1@60:- Risotto, pag. 1 -", "0/2@60:- Risotto, pag. 2 -"});
        // 39 lines end on 54; the instructions two lines further, on 57.
        caso("last line on 57", 39, "Servite.", 1, false,
             QStringList{"0/1@60:- Risotto, pag. 1 -", "0/2@60:- Risotto, pag. 2 -"});
        caso("copies", 45, "", 3, false,
             QStringList{"0/1@60:- Risotto, pag. 1 -", "0/2@60:- Risotto, pag. 2 -",
                         "1/1@60:- Risotto, pag. 1 -", "1/2@60:- Risotto, pag. 2 -",
                         "2/1@60:- Risotto, pag. 1 -", "2/2@60:- Risotto, pag. 2 -"});
        caso("a failure ends the command", 1, "", 2, true,
             QStringList{"0/1@60:- Risotto, pag. 1 -"});
    }
    void pages_breakAtLine58()
    {
        QFETCH(int, righe);
        QFETCH(QString, istruzioni);
        QFETCH(int, copie);
        QFETCH(bool, guasto);
        dialoghi->rispondiStampa(copie);
        const RicettaDaStampare r = ricetta({{Schema::Istruzioni, istruzioni}}, burro(righe));
        comandoDiStampa([&](int n) {
            for (int c = 0; c < n; ++c) {
                stampa(r);
                if (guasto)
                    throw ErroreStampa("carta finita");
            }
        });
        QStringList pie;
        for (const auto &t : carta->testi) {
            QVERIFY2(t.y >= 3 && t.y <= 60 && (t.y < 58 || t.y == 60), qPrintable(t.testo));
            if (t.testo.contains("pag."))
                pie << QString::number(t.documento) + "/" + QString::number(t.pagina) + "@" +
                           QString::number(t.y) + ":" + t.testo;
        }
        QTEST(pie, "pie");
        QCOMPARE(carta->documenti, guasto ? 1 : copie);
        QCOMPARE(carta->lavori, 1);
        if (righe == 45)
            QCOMPARE(carta->riga(0, 2, 5), "Burro");
        if (!istruzioni.isEmpty())
            QCOMPARE(carta->riga(0, 1, 57), istruzioni);
        if (!istruzioni.isEmpty()) // the last page holds the footer alone
            QCOMPARE(posti(*carta, 2).size(), 1);
    }

    // The editor prints a recipe of the sample book to a PDF file through the real surface.
    void editor_printsToPdf()
    {
        QTemporaryDir cartella;
        const QString libro = cartella.filePath("Ricette.mdb");
        QVERIFY(QFile::copy(LIBRO_ESEMPIO, libro));
        Applicazione::RicettarioCorrente = libro;
        QPrinter stampante(QPrinter::HighResolution);
        stampante.setOutputFormat(QPrinter::PdfFormat);
        stampante.setOutputFileName(cartella.filePath("ricetta.pdf"));
        SuperficieQt vera(stampante);
        SuperficieStampa::install(&vera);
        Ricette finestra;
        finestra.show();
        QVERIFY(QTest::qWaitForWindowExposed(&finestra));
        dialoghi->rispondiStampa(2);
        QTest::mouseClick(finestra.findChild<QPushButton *>("cmdStampa"), Qt::LeftButton);
        SuperficieStampa::uninstall(&vera);
        vera.FineLavoro();

        QProcess pdftotext;
        pdftotext.start("pdftotext", {"-layout", stampante.outputFileName(), "-"});
        QVERIFY2(pdftotext.waitForFinished(), "pdftotext (poppler-utils) is needed");
        // Ligatures come back as one character.
        const QString testo = QString::fromUtf8(pdftotext.readAllStandardOutput())
                                  .replace(QStringLiteral("ﬁ"), "fi")
                                  .replace(QStringLiteral("ﬂ"), "fl");
        const QString nome = finestra.findChild<QLineEdit *>("txtFields_1")->text();
        QVERIFY(!nome.isEmpty());
        QCOMPARE(testo.count("- " + nome + " -"), 2);           // two copies
        QCOMPARE(dialoghi->di("stampa").value(0).titolo, nome); // the PDF's proposed name
        QCOMPARE(testo.count("- " + nome + ", pag. 1 -"), 2);
        const FlexGrid *g = finestra.findChild<FlexGrid *>("GridRicette");
        QVERIFY(g->Rows() > 2);
        for (int r = 1; r < g->Rows(); ++r) {
            const QRegularExpression riga(QRegularExpression::escape(g->TextMatrix(r, 1)) + " +" +
                                          QRegularExpression::escape(g->TextMatrix(r, 2)));
            QVERIFY2(testo.contains(riga), qPrintable(riga.pattern()));
        }
        finestra.close();
    }
};

PENTOLONE_TEST_MAIN(TstImpaginazione)

#include "tst_impaginazione.moc"
