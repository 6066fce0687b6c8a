// Web pages into recipes: the ingredient-line reader, every shape of page through the helper
// program, and fetching from a server this test starts on a local port.
#include "caso.h"
#include "formati/paginaweb.h"
#include "formati/scaricamento.h"
#include "pentolone_web/analisi.h"
#include "righeestere.h"
#include "serverweb.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

namespace {

// The helper as built, whatever the folder the test runs from.
const Aiutante::Opzioni Web{PENTOLONE_WEB};

// Long enough for a helper or a server on a busy machine; reached only by a fault.
constexpr int Attesa = 60000;

// A page read to its end: its recipes, or the refusal ("annullata" for a cancel).
struct Letta
{
    QList<RicettaEstera> ricette;
    QString rifiuto;
};

Letta leggi(const std::function<void(LetturaPagina &)> &avvia,
            const Aiutante::Opzioni &opzioni = Web, bool annulla = false)
{
    LetturaPagina lettura(opzioni);
    Letta letta;
    bool finita = false;
    QObject::connect(&lettura, &LetturaPagina::lette, [&](const QList<RicettaEstera> &r) {
        letta.ricette = r;
        finita = true;
    });
    QObject::connect(&lettura, &LetturaPagina::rifiutata, [&](const Rifiuto &r) {
        letta.rifiuto = r.annullato ? QStringLiteral("annullata") : r.testo;
        finita = true;
    });
    avvia(lettura);
    if (annulla)
        lettura.annulla(); // "Annulla" while the helper reads
    if (!QTest::qWaitFor([&] { return finita; }, Attesa))
        letta.rifiuto = QStringLiteral("the reading never ended");
    return letta;
}

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
                   "tipoPasto: Dolci",
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
                   "note: Fonte: " WEB "/oggetto.html\r\nCucina: italiana",
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
        // Pages as sites write them: one row for each way a reader can go wrong on them.
        QTest::newRow("an accent before the charset")
            << "accento.html"
            << QStringList{"ricette: 1", "nome: Caffè shakerato", "0.25|Sciroppo di zucchero|tazza",
                           "2|Caffè|tazzine"};
        QTest::newRow("JSON-LD in CDATA, comments and trailing commas")
            << "cdata.html"
            << QStringList{"ricette: 1", "nome: Torta di mele della zia", "2|Uova|",
                           "istruzioni: Sbucciate le mele e tagliatele a fette.\r\nImpastate e "
                           "infornate a 180° per 40 minuti."};
        QTest::newRow("type in lower case, property with a capital")
            << "minuscolo.html"
            << QStringList{"ricette: 1", "nome: Pasta e fagioli", "porzioni: 4",
                           "istruzioni: Scaldate i fagioli.\r\nUnite la pasta.",
                           "400|Borlotti|g lessati"};
        QTest::newRow("line breaks inside microdata")
            << "acapo.html"
            << QStringList{"ricette: 1",
                           "nome: Pane casereccio",
                           "ingredientiTesto: 300 g di farina\r\n200 ml d'acqua tiepida",
                           "300|Farina|g",
                           "200|Acqua|ml tiepida",
                           "istruzioni: Impastate a lungo.\r\nLasciate lievitare."};
        QTest::newRow("line breaks inside a JSON string")
            << "acapojson.html"
            << QStringList{"ricette: 1",
                           "ingredientiTesto: 250 g di farina\r\n3 uova\r\n500 ml di latte",
                           "250|Farina|g",
                           "3|Uova|",
                           "500|Latte|ml",
                           "istruzioni: Sbattete le uova con il latte.\r\nUnite la farina."};
        QTest::newRow("grouped ingredients and steps")
            << "gruppi.html"
            << QStringList{"ricette: 1",
                           "ingredientiTesto: 250 g di farina\r\n125 g di burro\r\n500 ml di "
                           "latte\r\n4 tuorli\r\nPer la decorazione:\r\nfrutti di bosco q.b.",
                           "4|Tuorli|", "|Frutti di bosco|q.b.",
                           "istruzioni: Impastate la frolla.\r\nFatela riposare.\r\nLa "
                           "crema:\r\nScaldate il latte."};
        QTest::newRow("a name given twice, table cells")
            << "doppio.html"
            << QStringList{"ricette: 1", "nome: Insalata di farro", "300|Farro|g", "2|Pomodori|"};
        QTest::newRow("the same recipe twice and a rating's stub")
            << "doppione.html"
            << QStringList{"ricette: 1", "nome: Risotto alla milanese", "1|Zafferano|bustina"};
        QTest::newRow("blanks and a stray quote before the doctype, both ingredient lists")
            << "salvata.html"
            << QStringList{"ricette: 1", "nome: Pane & burro",
                           "ingredientiTesto: 4 fette di pane\r\n50 g di burro salato",
                           "4|Pane|fette", "50|Burro salato|g"};
        QTest::newRow("a byte order mark, a full address for the type")
            << QString(QChar(0xfeff)) +
                   "<html><script type=\"application/ld+json\">{\"@type\": "
                   "\"https://schema.org/Recipe\", \"name\": \"Orzotto\", \"recipeIngredient\": "
                   "[\"200 g di orzo\"]}</script></html>"
            << QStringList{"ricette: 1", "nome: Orzotto", "200|Orzo|g"};
        QTest::newRow("a list of types, the recipe second")
            << "<html><script type=\"application/ld+json\">{\"@type\": [\"NewsArticle\", "
               "\"Recipe\"], \"name\": \"Panzanella\", \"recipeIngredient\": [\"4 fette di pane "
               "raffermo\"]}</script></html>"
            << QStringList{"ricette: 1", "nome: Panzanella", "4|Pane raffermo|fette"};
        QTest::newRow("JSON-LD and microdata of the same recipe")
            << "<html><script type=\"application/ld+json\">{\"@type\": \"Recipe\", \"name\": "
               "\"Pesto\", \"recipeIngredient\": [\"50 g di basilico\"]}</script><body><div "
               "itemscope itemtype=\"https://schema.org/Recipe\"><h1 itemprop=\"name\">Pesto "
               "genovese</h1><span itemprop=\"recipeIngredient\">50 g di basilico</span>"
               "</div></body></html>"
            << QStringList{"ricette: 1", "nome: Pesto", "50|Basilico|g"};
        QTest::newRow("a recipe without a name takes the page's title")
            << "<html><head><title>Frittelle di mele | Il blog</title><meta property=\"og:title\" "
               "content=\"Frittelle di mele\"></head><script type=\"application/ld+json\">"
               "{\"@type\": \"Recipe\", \"recipeIngredient\": [\"2 mele\"]}</script></html>"
            << QStringList{"ricette: 1", "nome: Frittelle di mele"};
        QTest::newRow("RDFa")
            << "<html><body><div vocab=\"https://schema.org/\" typeof=\"Recipe\"><h1 "
               "property=\"name\">Polenta</h1><li property=\"recipeIngredient\">500 g di farina "
               "di mais</li></div></body></html>"
            << QStringList{"ricette: 1", "nome: Polenta", "500|Farina di mais|g"};
        const QByteArray profondo = QByteArray("{\"a\":").repeated(1100) +
                                    "{\"@type\": \"Recipe\"}" + QByteArray("}").repeated(1100);
        QTest::newRow("JSON-LD nested too deep")
            << "<html><script type=\"application/ld+json\">" + QString::fromLatin1(profondo) +
                   "</script></html>"
            << QStringList{"La ricetta della pagina x non si può leggere: i suoi dati sono "
                           "annidati in troppi livelli."};
    }

    // A recipe object in the book's terms, one field or rule a row.
    void mappatura_data()
    {
        QTest::addColumn<QString>("json");
        QTest::addColumn<QStringList>("attesi");
        const auto riga = [](const char *nome, const char *json, const QStringList &attesi) {
            QTest::newRow(nome) << QString::fromUtf8(json) << attesi;
        };
        riga("days", "{\"totalTime\": \"P1DT2H5M\"}", {"tempo: 1 giorno, 2 ore e 5 minuti"});
        riga("seconds round", "{\"totalTime\": \"PT10M45S\"}", {"tempo: 11 minuti"});
        riga("the hour boundary", "{\"totalTime\": \"PT59M30S\"}", {"tempo: 1 ora"});
        riga("prep and cook", "{\"prepTime\": \"PT45M\", \"cookTime\": \"PT15M\"}",
             {"tempo: 1 ora"});
        riga("serves", "{\"recipeYield\": \"Serves 6\"}", {"porzioni: 6", "note: Fonte: x"});
        riga("yield list", "{\"recipeYield\": [\"8\", \"8 fette\"]}", {"porzioni: 8"});
        riga("absurd yield", "{\"recipeYield\": \"20240512\"}",
             {"porzioni: 4", "note: Fonte: x\r\nResa: 20240512"});
        riga("QuantitativeValue",
             "{\"recipeYield\": {\"@type\": \"QuantitativeValue\", \"value\": 6, \"unitText\": "
             "\"porzioni\"}}",
             {"porzioni: 6", "note: Fonte: x"});
        riga("a weight is no portion", "{\"recipeYield\": \"750 g di crema\"}",
             {"porzioni: 4", "note: Fonte: x\r\nResa: 750 g di crema"});
        riga("range in Italian", "{\"recipeYield\": \"4-6 porzioni\"}",
             {"porzioni: 4", "note: Fonte: x\r\nResa: 4-6 porzioni"});
        riga("range in English", "{\"recipeYield\": \"Serves 4-6\"}",
             {"porzioni: 4", "note: Fonte: x\r\nResa: Serves 4-6"});
        riga("a step with a name and a text",
             "{\"recipeInstructions\": [{\"@type\": \"HowToStep\", \"name\": \"Impastate\", "
             "\"text\": \"Impastate la farina con l'acqua.\"}]}",
             {"istruzioni: Impastate la farina con l'acqua."});
        riga("course, category, cuisine",
             "{\"recipeCourse\": \"Primo\", \"recipeCategory\": \"Pasta\", \"recipeCuisine\": "
             "\"Italiana\"}",
             {"tipoPasto: Primo", "categoria: Pasta", "note: Fonte: x\r\nCucina: Italiana"});
        riga("category as the course", "{\"recipeCategory\": [\"Antipasto\", \"Fritti\"]}",
             {"tipoPasto: Antipasto, Fritti", "categoria: Antipasto"});
        riga("the old ingredients property", "{\"ingredients\": [\"2 uova\"]}", {"2|Uova|"});
        riga("a name cut at a word, without its comma",
             "{\"name\": \"Spaghetti alla chitarra con ragù d'agnello, pecorino e menta\"}",
             {"nome: Spaghetti alla chitarra con ragù d'agnello"});
        riga(
            "a long description's tail in the notes",
            "{\"description\": \"Una crostata friabile con la crema pasticcera e le fragole di "
            "stagione, come la faceva la nonna la domenica mattina, con la frolla stesa a mano sul "
            "tavolo di marmo della cucina e la crema cotta a fuoco lento nel pentolino di rame, "
            "mescolando sempre con il cucchiaio di legno finché vela.\"}",
            {"descrizione: Una crostata friabile con la crema pasticcera e le fragole di stagione, "
             "come la faceva la nonna la domenica mattina, con la frolla stesa a mano sul tavolo "
             "di marmo della cucina e la crema cotta a fuoco lento nel pentolino di rame, "
             "mescolando sempre con il",
             "note: Fonte: x\r\nUna crostata friabile con la crema pasticcera e le fragole di "
             "stagione, come la faceva la nonna la domenica mattina, con la frolla stesa a mano "
             "sul tavolo di marmo della cucina e la crema cotta a fuoco lento nel pentolino di "
             "rame, mescolando sempre con il cucchiaio di legno finché vela."});
        riga("a NUL in a text", "{\"name\": \"Torta\\u0000NUL\"}", {"nome: TortaNUL"});
        riga("a doubly escaped entity", "{\"name\": \"Pasta &amp;amp; ceci\"}",
             {"nome: Pasta & ceci"});
    }
    void mappatura()
    {
        QFETCH(QString, json);
        QFETCH(QStringList, attesi);
        QJsonParseError errore;
        const QJsonObject o = QJsonDocument::fromJson(json.toUtf8(), &errore).object();
        QCOMPARE(errore.error, QJsonParseError::NoError);
        const QStringList visto = riassunto(PaginaWeb::ricetta(o, "x"));
        for (const QString &a : attesi)
            QVERIFY2(visto.contains(a), qPrintable(a + "\n  not in\n" + visto.join('\n')));
    }
    void pagina()
    {
        QFETCH(QString, file);
        QFETCH(QStringList, attesi);
        QStringList visto;
        // A row gives a file of tests/fixtures/web, or a small page itself.
        const Letta letta = leggi([&file](LetturaPagina &l) {
            if (file.startsWith('<') || file.startsWith(QChar(0xfeff)))
                l.avvia(file.toUtf8(), "x");
            else
                l.avviaFile(WEB "/" + file);
        });
        if (letta.rifiuto.isEmpty()) {
            visto << "ricette: " + QString::number(letta.ricette.size());
            for (const RicettaEstera &r : letta.ricette)
                visto << riassunto(r);
        } else {
            visto << letta.rifiuto;
        }
        for (const QString &a : attesi)
            QVERIFY2(visto.contains(a), qPrintable(a + "\n  not in\n" + visto.join('\n')));
    }

    // The helper crashing, hanging or cancelled: a refusal, never a half result.
    // The helper crashing, hanging, cancelled or failing after its answer: a refusal, never a
    // half result. An empty programma is the real helper.
    void aiutante_data()
    {
        QTest::addColumn<QString>("programma");
        QTest::addColumn<QByteArray>("pagina");
        QTest::addColumn<QString>("indirizzo");
        QTest::addColumn<QString>("attesa"); // the refusal, or the first recipe's notes
        const QByteArray vuota = "<html></html>";
        caso("crash", "#!/bin/sh\nkill -SEGV $$\n", vuota, "x",
             "La pagina x non si può leggere: è danneggiata o troppo complicata.");
        caso("hang", "#!/bin/sh\nexec sleep 10\n", vuota, "x",
             "La lettura della pagina x non è finita in un secondo: la pagina è forse "
             "danneggiata.");
        caso("cancelled", "#!/bin/sh\nexec sleep 10\n", vuota, "x", "annullata");
        // @RISPOSTA@ is a file holding a whole answer of one recipe whose notes are "Mezza".
        caso("an answer", "#!/bin/sh\ncat >/dev/null\ncat @RISPOSTA@\n", vuota, "x", "Mezza");
        caso("an answer, then a failure", "#!/bin/sh\ncat >/dev/null\ncat @RISPOSTA@\nexit 1\n",
             vuota, "x", "La pagina x non si può leggere: è danneggiata o troppo complicata.");
        caso("more than 10 MB", "", QByteArray(11 << 20, ' '), "x",
             "La pagina x è più grande di 10 MB: non è una pagina di ricette.");
        caso("an accented address", "",
             QByteArray("<script type=\"application/ld+json\">{\"@type\": \"Recipe\", \"name\": "
                        "\"Caffè\", \"recipeIngredient\": [\"1 tazzina\"]}</script>"),
             "https://esempio.test/caffè-d'orzo", "Fonte: https://esempio.test/caffè-d'orzo");
    }
    void aiutante()
    {
        QFETCH(QString, programma);
        QFETCH(QByteArray, pagina);
        QFETCH(QString, indirizzo);
        QFETCH(QString, attesa);
        QTemporaryDir cartella;
        Aiutante::Opzioni opzioni = Web;
        if (!programma.isEmpty()) {
            QFile risposta(cartella.filePath("risposta"));
            RicettaEstera mezza;
            mezza.nome = "Mezza";
            mezza.note = "Mezza";
            QVERIFY(risposta.open(QIODevice::WriteOnly) &&
                    risposta.write(PaginaWeb::inCbor({mezza})) > 0);
            risposta.close();
            programma.replace("@RISPOSTA@", risposta.fileName());
            QFile finto(cartella.filePath("finto"));
            QVERIFY(finto.open(QIODevice::WriteOnly) && finto.write(programma.toUtf8()) > 0);
            finto.setPermissions(finto.permissions() | QFile::ExeOwner);
            finto.close();
            opzioni = {finto.fileName(), 300};
        }
        const Letta letta = leggi([&](LetturaPagina &l) { l.avvia(pagina, indirizzo); }, opzioni,
                                  attesa == "annullata");
        QCOMPARE(letta.rifiuto.isEmpty() ? letta.ricette.value(0).note : letta.rifiuto, attesa);
    }

    void scarica_data()
    {
        QTest::addColumn<QString>("via");
        QTest::addColumn<QString>(
            "attesa"); // the page's size and path, or the start of the refusal
        QTest::addColumn<QByteArray>("grezza"); // what the server answers on "/grezza"
        // The page behind a byte order mark, which makes the server's charset win.
        caso("page", "/ricetta", "36 /ricetta", QByteArray());
        caso("five redirects", "/rimanda/5", "36 /rimanda/0", QByteArray());
        caso("Latin-1 by the header", "/latino", "<p>caffè</p>", QByteArray());
        caso("six redirects", "/rimanda/6", "La pagina %1 rimanda ad altre pagine più di 5 volte",
             QByteArray());
        caso("redirect to a file", "/file", "La pagina %1 rimanda a \"file:///etc/passwd\"",
             QByteArray());
        caso("404", "/manca", "La pagina %1 non c'è: il sito risponde che non esiste (errore 404)",
             QByteArray());
        caso("500", "/errore",
             "Il sito 127.0.0.1 non ha dato la pagina: risponde con l'errore 500 (errore interno "
             "del "
             "sito).",
             QByteArray());
        caso("not a page", "/immagine", "L'indirizzo %1 non porta a una pagina web", QByteArray());
        caso("20 MB", "/grande", "La pagina %1 è più grande di 10 MB", QByteArray());
        caso("no answer", "/ferma", "La pagina %1 non è arrivata in un secondo", QByteArray());
        caso("cancelled", "/ferma", "annullata", QByteArray());
        caso("nobody listening", "chiuso", "Impossibile collegarsi al sito 127.0.0.1",
             QByteArray());
        const QByteArray pagina = "Content-Type: text/html\r\n\r\n<html>ricetta</html>";
        caso("400", "/grezza",
             "Il sito 127.0.0.1 non ha dato la pagina: risponde con l'errore 400 (richiesta non "
             "valida).",
             QByteArray("HTTP/1.1 400 Bad Request\r\nContent-Length: 0\r\n\r\n"));
        caso("410", "/grezza",
             "La pagina %1 non c'è: il sito risponde che non esiste (errore 410).",
             QByteArray("HTTP/1.1 410 Gone\r\nContent-Length: 0\r\n\r\n"));
        caso("503", "/grezza",
             "Il sito 127.0.0.1 non ha dato la pagina: risponde con l'errore 503 (sito "
             "momentaneamente fuori servizio).",
             QByteArray("HTTP/1.1 503 Service Unavailable\r\nContent-Length: 0\r\n\r\n"));
        caso("301, and the address it leads to", "/grezza", "36 /ricetta",
             QByteArray("HTTP/1.1 301 Moved Permanently\r\nLocation: /ricetta\r\n"
                        "Content-Length: 0\r\n\r\n"));
        caso("Text/HTML", "/grezza", "20 /grezza",
             QByteArray("HTTP/1.1 200 OK\r\nContent-Type: Text/HTML\r\n"
                        "Content-Length: 20\r\n\r\n<html>ricetta</html>"));
        caso("302 to nowhere", "/grezza",
             "La pagina %1 rimanda a un'altra pagina senza dire quale: non è stata letta.",
             QByteArray("HTTP/1.1 302 Found\r\nLocation: \r\nContent-Length: 0\r\n\r\n"));
        // Headers alone, the connection left open: the size is refused as soon as it is told.
        caso("a size declared too large", "/aperta", "La pagina %1 è più grande di 10 MB",
             QByteArray("HTTP/1.1 200 OK\r\nContent-Type: text/html\r\n"
                        "Content-Length: 1000000000000\r\n\r\n"));
        caso("a status line of garbage", "/grezza",
             "Il sito 127.0.0.1 ha chiuso il collegamento senza una risposta valida: la pagina "
             "non è stata letta.",
             QByteArray("CIAO MONDO\r\n\r\n<html></html>"));
        caso("a broken body, no type", "/grezza",
             "L'indirizzo %1 non porta a una pagina web: il sito non dice che cosa manda, e non "
             "è una pagina.",
             QByteArray("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\nzz\r\n<html>\r\n"));
        caso("closed before the end", "/grezza",
             "Il sito 127.0.0.1 ha chiuso il collegamento prima di mandare tutta la pagina",
             QByteArray("HTTP/1.1 200 OK\r\nContent-Type: text/html\r\n"
                        "Content-Length: 5000\r\n\r\n<html><body>Ricett"));
        caso("no host", "http:///x", "\"http:///x\" non è l'indirizzo di una pagina web",
             QByteArray());
        // An accent before the page's own charset: the server's charset is what counts.
        caso("the header's charset before an accent", "/grezza", "nome: Caffè",
             QByteArray("HTTP/1.1 200 OK\r\nContent-Type: text/html; charset=utf-8\r\n"
                        "\r\n<html><head><title>Caff\xc3\xa8</title><meta charset=\"utf-8\">"
                        "<script type=\"application/ld+json\">{\"@type\": \"Recipe\", "
                        "\"name\": \"Caff\xc3\xa8\", \"recipeIngredient\": [\"2 "
                        "tazzine\"]}</script>"));
    }

    void scarica()
    {
        QFETCH(QString, via);
        QFETCH(QString, attesa);
        QFETCH(QByteArray, grezza);
        ServerWeb server;
        server.grezze.insert("/grezza", grezza);
        server.grezze.insert("/aperta", grezza);
        server.lasciaAperta = via == "/aperta";
        QString indirizzo = via.startsWith("http") ? via : server.indirizzo(via);
        if (via == "chiuso") {
            server.close();
            indirizzo = server.indirizzo("/");
        }
        // Short for the page that never answers; ample for the rest on a busy machine.
        Scaricamento scaricamento({via == "/ferma" ? 300 : 20000});
        QString visto;
        bool finito = false;
        connect(&scaricamento, &Scaricamento::fallita, this, [&](const ErroreRete &e) {
            visto = e.annullato ? QStringLiteral("annullata") : e.testo;
            finito = true;
        });
        connect(&scaricamento, &Scaricamento::arrivata, this, [&](const QByteArray &pagina) {
            if (via == "/latino")
                visto = QString::fromUtf8(pagina);
            else if (attesa.startsWith("nome: "))
                visto =
                    "nome: " +
                    leggi([&](LetturaPagina &l) { l.avvia(pagina, "x"); }).ricette.value(0).nome;
            else
                visto = QString::number(pagina.size()) + ' ' + scaricamento.indirizzo().path();
            finito = true;
        });
        scaricamento.avvia(QUrl(indirizzo));
        if (attesa == "annullata")
            scaricamento.annulla(); // "Annulla" while the page does not come
        QVERIFY(QTest::qWaitFor([&] { return finito; }, Attesa));
        QVERIFY2(visto.startsWith(attesa.replace("%1", indirizzo)), qPrintable(visto));
        if (via == "/ricetta")
            QVERIFY(server.richiesta.contains("Accept-Language: it\r\n"));
    }
};

QTEST_MAIN(TstWeb)
#include "tst_web.moc"
