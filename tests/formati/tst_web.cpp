// Web pages into recipes: the ingredient-line reader, every shape of page through the helper
// program, and fetching from a server this test starts on a local port.
#include "caso.h"
#include "formati/paginaweb.h"
#include "formati/rigaingrediente.h"
#include "formati/scaricamento.h"
#include "righeestere.h"
#include "serverweb.h"
#include "storage/engineerror.h"

#include <QTemporaryDir>
#include <QTest>

namespace {

// A recipe as "field: value" lines, its ingredient lines as "quantity|name|comment".
QStringList riassunto(const RicettaEstera &r)
{
    QStringList s{"nome: " + r.nome,
                  "descrizione: " + r.descrizione,
                  "preparataDa: " + r.preparataDa,
                  "tipoPasto: " + r.tipoPasto,
                  "categoria: " + r.categoria,
                  "vegetariana: " + QString::number(r.vegetariana),
                  "tempo: " + r.tempo,
                  "porzioni: " + QString::number(r.porzioni),
                  "calorie: " + QString::number(r.calorie),
                  "informazioni: " + r.informazioni,
                  "ingredientiTesto: " + r.ingredientiTesto,
                  "istruzioni: " + r.istruzioni,
                  "note: " + r.note,
                  "utensili: " + r.utensili};
    return s + righeEstere(r);
}

} // namespace

class TstWeb : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { PaginaWeb::setProgramma(PENTOLONE_WEB); }

    void riga_data()
    {
        QTest::addColumn<QString>("riga");
        QTest::addColumn<QString>("attesa"); // quantity|ingredient|comment
        caso("grams of", "300 g di farina 00", "300|Farina 00|g");
        caso("quantity last", "Farina 00 300 g", "300|Farina 00|g");
        caso("bare count", "2 uova", "2|Uova|");
        caso("q.b.", "Sale q.b.", "|Sale|q.b.");
        caso("fraction", "1/2 bustina di lievito", "0.5|Lievito|bustina");
        caso("whole and fraction", "1 e 1/2 tazza di latte", "1.5|Latte|tazza");
        caso("unicode half", "½ limone", "0.5|Limone|");
        caso("english", "1¼ cups milk", "1.25|Milk|cups");
        caso("range", "2-3 foglie di basilico", "2-3|Basilico|foglie");
        caso("remark", "200 g di ricotta (ben sgocciolata)", "200|Ricotta|g (ben sgocciolata)");
        caso("d' and comma", "- 1 spicchio d'aglio, tritato", "1|Aglio|spicchio tritato");
        caso("heading", "Per la crema:", "||Per la crema:");
        caso("no name", "2 cucchiai", "||2 cucchiai");
    }
    void riga()
    {
        QFETCH(QString, riga);
        const RigaEstera r = RigaIngrediente::leggi(riga);
        QTEST(r.quantita + '|' + r.ingrediente + '|' + r.commento, "attesa");
    }

    // Each page through the helper: the recipes' fields (those listed, in any recipe) or the
    // refusal.
    void pagina_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QStringList>("attesi");
        QTest::newRow("one object, every field")
            << "oggetto.html"
            << QStringList{
                   "nome: Torta soffice di ricotta e limone della nonna",
                   "descrizione: Torta soffice di ricotta e limone della nonna Adele, come la "
                   "faceva la domenica - Una torta & un ricordo: soffice, profumata di limone.",
                   "preparataDa: Adele Rossi",
                   "tipoPasto: Italiana",
                   "categoria: Dolci",
                   "vegetariana: 1",
                   "tempo: 1 ora e 10 minuti",
                   "porzioni: 8",
                   "calorie: 320",
                   "informazioni: Grassi: 12 g\r\nProteine: 9 g",
                   "istruzioni: L'impasto:\r\nMescolate la ricotta con la farina.\r\nVersate "
                   "nello stampo.\r\nLa cottura:\r\nCuocete a 180° per 40 minuti.",
                   "ingredientiTesto: 300 g di farina 00\r\n200 g di ricotta (ben "
                   "sgocciolata)\r\nPer la glassa:\r\nZucchero a velo q.b.",
                   "utensili: Stampo da 24 cm, Frusta",
                   "note: Fonte: " WEB "/oggetto.html",
                   "300|Farina 00|g",
                   "200|Ricotta|g (ben sgocciolata)",
                   "|Zucchero a velo|q.b."};
        QTest::newRow("graph, type list, broken block beside")
            << "grafo.html"
            << QStringList{"nome: Pesto alla genovese",
                           "preparataDa: Marco, Lucia",
                           "categoria: Salse",
                           "tempo: 25 minuti",
                           "porzioni: 8",
                           "vegetariana: 0",
                           "istruzioni: Lavate il basilico.\r\nPestate tutto nel mortaio.",
                           "15|Pinoli|g",
                           "0.5|Aglio|spicchio"};
        QTest::newRow("list of two") << "lista.html"
                                     << QStringList{"nome: Biscotti al burro",
                                                    "porzioni: 4",
                                                    "tempo: 1 ora e 30 minuti",
                                                    "istruzioni: Mix.\r\nBake.",
                                                    "1.25|Milk|cups",
                                                    "nome: Biscotti vegani",
                                                    "porzioni: 6",
                                                    "vegetariana: 1",
                                                    "0.5|Limone|"};
        QTest::newRow("microdata")
            << "microdati.html"
            << QStringList{"nome: Frittata di zucchine",
                           "descrizione: Semplice è buona.",
                           "preparataDa: Giulia",
                           "tempo: 25 minuti",
                           "porzioni: 2",
                           "istruzioni: Sbattete le uova.\r\nAggiungete le zucchine e cuocete.",
                           "4|Uova|",
                           "|Sale|q.b."};
        // An older page saved in Windows-1252 that names no charset.
        QTest::newRow("no charset, not UTF-8")
            << "vecchia.html"
            << QStringList{"nome: Caffè shakerato",
                           "descrizione: Il “piccolo” rito d’estate: più fresco di così non si "
                           "può.",
                           "2|Caffè|tazzine"};
        QTest::newRow("no recipe") << "senza.html"
                                   << QStringList{"Nella pagina " WEB "/senza.html non c'è "
                                                  "nessuna ricetta che Pentolone sappia leggere: "
                                                  "la pagina non ne pubblica i dati."};
    }
    void pagina()
    {
        QFETCH(QString, file);
        QFETCH(QStringList, attesi);
        QStringList visto;
        try {
            const QList<RicettaEstera> ricette = PaginaWeb::leggiFile(WEB "/" + file);
            QCOMPARE(ricette.size(), file == "lista.html" ? 2 : 1);
            for (const RicettaEstera &r : ricette)
                visto << riassunto(r);
        } catch (const EngineError &e) {
            visto << e.description();
        }
        for (const QString &a : attesi)
            QVERIFY2(visto.contains(a), qPrintable(a + "\n  not in\n" + visto.join('\n')));
    }

    // The helper crashing, hanging or cancelled: a refusal, never a half result.
    void aiutante_data()
    {
        QTest::addColumn<QString>("programma");
        QTest::addColumn<QString>("attesa");
        caso("crash", "#!/bin/sh\nkill -SEGV $$\n",
             "La pagina x non si può leggere: è danneggiata o troppo complicata.");
        caso("hang", "#!/bin/sh\nexec sleep 10\n",
             "La lettura della pagina x non è finita in un secondo: la pagina è forse "
             "danneggiata.");
        caso("cancelled", "#!/bin/sh\nexec sleep 10\n", "annullata");
    }
    void aiutante()
    {
        QFETCH(QString, programma);
        QFETCH(QString, attesa);
        QTemporaryDir cartella;
        QFile finto(cartella.filePath("finto"));
        QVERIFY(finto.open(QIODevice::WriteOnly) && finto.write(programma.toUtf8()) > 0);
        finto.setPermissions(finto.permissions() | QFile::ExeOwner);
        finto.close();
        PaginaWeb::setProgramma(finto.fileName());
        PaginaWeb::setLimiteTempo(300);
        QString visto;
        try {
            PaginaWeb::leggi("<html></html>", "x", [&] { return attesa != "annullata"; });
        } catch (const EngineError &e) {
            visto = e.number() == EngineError::ConversioneAnnullata ? "annullata" : e.description();
        }
        PaginaWeb::setProgramma(PENTOLONE_WEB);
        QCOMPARE(visto, attesa);
    }

    void scarica_data()
    {
        QTest::addColumn<QString>("via");
        QTest::addColumn<QString>("attesa"); // the page's size, or the start of the refusal
        caso("page", "/ricetta", "33");
        caso("five redirects", "/rimanda/5", "33");
        caso("Latin-1 by the header", "/latino", "<p>caffè</p>");
        caso("six redirects", "/rimanda/6", "La pagina %1 rimanda ad altre pagine più di 5 volte");
        caso("redirect to a file", "/file", "La pagina %1 rimanda a \"file:///etc/passwd\"");
        caso("404", "/manca", "La pagina %1 non c'è: il sito risponde che non esiste (errore 404)");
        caso("500", "/errore",
             "Il sito 127.0.0.1 non ha dato la pagina: risponde con l'errore 500");
        caso("not a page", "/immagine", "L'indirizzo %1 non porta a una pagina web");
        caso("20 MB", "/grande", "La pagina %1 è più grande di 10 MB");
        caso("no answer", "/ferma", "La pagina %1 non è arrivata in un secondo");
        caso("cancelled", "/ferma", "annullata");
        caso("nobody listening", "chiuso", "Impossibile collegarsi al sito 127.0.0.1");
    }
    void scarica()
    {
        QFETCH(QString, via);
        QFETCH(QString, attesa);
        ServerWeb server;
        QString indirizzo = server.indirizzo(via);
        if (via == "chiuso") {
            server.close();
            indirizzo = server.indirizzo("/");
        }
        // Short for the page that never answers; ample for the rest on a busy machine.
        Scaricamento::setLimiteTempo(via == "/ferma" ? 300 : 20000);
        QString visto;
        try {
            QUrl u(indirizzo);
            const QByteArray pagina =
                Scaricamento::scarica(u, [&](qint64, qint64) { return attesa != "annullata"; });
            visto = via == "/latino" ? QString::fromUtf8(pagina) : QString::number(pagina.size());
        } catch (const EngineError &e) {
            visto = e.number() == EngineError::ConversioneAnnullata ? "annullata" : e.description();
        }
        QVERIFY2(visto.startsWith(attesa.replace("%1", indirizzo)), qPrintable(visto));
        if (via == "/ricetta")
            QVERIFY(server.richiesta.contains("Accept-Language: it\r\n"));
    }
};

QTEST_MAIN(TstWeb)
#include "tst_web.moc"
