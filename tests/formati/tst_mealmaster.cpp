// MealMaster files: a file of our own with the format's shapes, the files to refuse, and the
// sample book exported from the recipe list and read back.
#include "caso.h"
#include "elenco/elenco.h"
#include "formati/mealmaster.h"
#include "libro.h"
#include "principale.h"
#include "righeestere.h"
#include "scripteddialogs.h"
#include "storage/engineerror.h"
#include "toolkit/applicazione.h"

#include <QDir>
#include <QFile>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <sys/resource.h>

namespace {

QByteArray leggiFixture(const char *nome)
{
    QFile f(QStringLiteral(FIXTURE_MEALMASTER "/") + QLatin1String(nome));
    if (!f.open(QIODevice::ReadOnly))
        qFatal("fixture mancante");
    return f.readAll();
}

QByteArray quaderno()
{
    return leggiFixture("quaderno.mmf");
}

// A recipe of one ingredient line, as a collection holds it.
QByteArray ricetta(const QByteArray &titolo, const QByteArray &intestazione = "MMMMM----- "
                                                                              "Recipe via "
                                                                              "Meal-Master (tm) "
                                                                              "v8.05")
{
    return intestazione + "\n\n      Title: " + titolo +
           "\n\n      1 c  Farina\n\n  Impastate.\n\nMMMMM\n\n";
}

QString campi(const RicettaEstera &r)
{
    return QStringList{r.nome, r.categoria, r.tipoPasto, QString::number(r.porzioni), r.note}.join(
        '|');
}

} // namespace

class TstMealMaster : public QObject
{
    Q_OBJECT

private slots:
    void fixture_data()
    {
        QTest::addColumn<int>("ricetta");
        QTest::addColumn<QString>("campi");
        QTest::addColumn<QStringList>("righe");
        QTest::addColumn<QString>("istruzioni");
        caso("MMMMM header, sections, continuation, fractions", 0,
             "Crostata di albicocche|Dolci|Dolci, Crostate|8|",
             QStringList{"250|Farina 00|g (PASTA FROLLA)", "0.5|Zucchero|tazza (PASTA FROLLA)",
                         "1.5|Lievito per dolci|cucchiaini (PASTA FROLLA)",
                         "1|Uovo|grande, a temperatura ambiente (PASTA FROLLA)",
                         "1|Sale|pizzico (PASTA FROLLA)",
                         "1.5|Confettura di albicocche|libbre (RIPIENO)"},
             "Impastate velocemente la farina con lo zucchero, il burro freddo a pezzetti, "
             "l'uovo e il sale, finché la pasta è liscia.\r\nStendete due terzi della frolla "
             "nella tortiera.\r\nCOTTURA\r\nCuocete a 180 gradi per 35 minuti.");
        caso("dashes header, Servings, two columns", 1, "Minestra di ceci|Zuppe|Zuppe|6|",
             QStringList{"2|Ceci secchi|tazze", "1|Cipolla|medio", "3|Pomodori pelati|lattine",
                         "1|Olio d'oliva|cucchiaio", "1|Rosmarino tritato|cucchiaino",
                         "1|Pane abbrustolito|per porzione"},
             "Mettete in ammollo i ceci la sera prima.\r\nCuoceteli con la cipolla e i pomodori "
             "per due ore.");
        caso("yield that is no count, Latin-1 letters", 2,
             "Caffè shakerato|Bevande|Bevande|4|Resa: 2 cups",
             QStringList{"2|Caffè espresso|tazze, freddo", "4|Cubetti di ghiaccio|",
                         "2|Zucchero|cucchiaini"},
             "Agitate tutto nello shaker e servite nei bicchieri.");
    }
    // The file as it is (Latin-1, LF) and as UTF-8 with CR LF read alike.
    void fixture()
    {
        QFETCH(int, ricetta);
        QString errore;
        const QList<RicettaEstera> latino = MealMaster::leggi(quaderno(), "q.mmf", errore);
        QCOMPARE(errore, QString());
        const QByteArray dos = QString::fromLatin1(quaderno()).toUtf8().replace("\n", "\r\n");
        const QList<RicettaEstera> utf8 = MealMaster::leggi(dos, "q.mmf", errore);
        QCOMPARE(latino.size(), 3);
        QCOMPARE(utf8.size(), 3);
        // Written out and read back, its lines and instructions stay.
        const QList<RicettaEstera> riletta =
            MealMaster::leggi(MealMaster::testo(latino), "r.mmf", errore);
        for (const QList<RicettaEstera> *l : {&latino, &utf8, &riletta}) {
            const RicettaEstera &r = l->at(ricetta);
            if (l != &riletta) // the file has no place for a note
                QTEST(campi(r), "campi");
            QTEST(righeEstere(r), "righe");
            QTEST(r.istruzioni, "istruzioni");
        }
    }

    void badFiles_data()
    {
        const QByteArray testa = "MMMMM----- Recipe via Meal-Master (tm) v8.05\n\n"
                                 "      Title: Pane\n\n      1 c  Farina\n";
        QTest::addColumn<QByteArray>("contenuto");
        QTest::addColumn<QString>("messaggio");
        caso("no recipe", QByteArray("Una lista della spesa.\nPane, latte.\n"),
             "Nel file x.mmf non c'è nessuna ricetta MealMaster.");
        caso("cut short", testa + "  Impastate.\n",
             "La ricetta \"Pane\" (riga 1 del file x.mmf) è incompleta: il file finisce prima "
             "della sua riga di chiusura. Nessuna ricetta è stata importata.");
        caso("only recipe with no end before the next header", testa + testa,
             "Nel file x.mmf nessuna ricetta è completa: nessuna è stata importata.\r\n- la "
             "ricetta \"Pane\" (riga 1): manca la sua riga di chiusura prima della ricetta "
             "seguente (riga 6).\r\n- la ricetta \"Pane\" (riga 6): il file finisce prima della "
             "sua riga di chiusura.");
        caso("line of 100,000 characters", testa + QByteArray(100000, 'a') + "\nMMMMM\n",
             "La riga 6 del file x.mmf è lunga più di 4096 caratteri: non è un file di ricette "
             "MealMaster leggibile.");
        caso("binary junk",
             testa +
                 QByteArray("\x7f"
                            "ELF\x02\x01\x00\x00",
                            8) +
                 "\nMMMMM\n",
             "Il file x.mmf non è un file MealMaster: al byte 88 c'è un carattere che nessun "
             "file di testo contiene.");
        caso("random bytes", QByteArray("\x8b\x1f\x00\xffPK\x03\x04", 8),
             "Il file x.mmf non è un file MealMaster: al byte 2 c'è un carattere che nessun "
             "file di testo contiene.");
    }
    void badFiles()
    {
        QFETCH(QByteArray, contenuto);
        QString errore;
        QVERIFY(MealMaster::leggi(contenuto, "x.mmf", errore).isEmpty());
        QTEST(errore, "messaggio");
    }

    // A collection of our own in the shapes old archives have: capitals, "1-1/2", ".5",
    // thousands, a remark after a comma, a right column one character off, "Vegetarian".
    void archivio_data()
    {
        QTest::addColumn<int>("ricetta");
        QTest::addColumn<QString>("campi");
        QTest::addColumn<QStringList>("righe");
        QTest::addColumn<QString>("istruzioni");
        caso("capitals, quantity forms, thousands, a shifted column", 0,
             "Torta rustica di ricotta e spinaci dell'orto|Torte salate|Torte salate|6|1",
             QStringList{"1.5|Latte|tazze", "1.5|Sale|cucchiaini", "0.5|Olio|tazza",
                         "0.5|Spinaci|libbra, lessati", "10000|Farina|g", "1500|Ricotta|g",
                         "2|Uova|sbattute con una forchetta", "250|Farina 00|g",
                         "1|Onion|medio, chopped", "125|Burro|g", "2|Basil|cucchiaini"},
             "Mescolate la ricotta con gli spinaci, le uova e il sale, poi stendete la pasta e "
             "versate il ripieno. Cuocete a 180 gradi.\r\n---\r\nServite tiepida.");
        caso("a title of 50 characters, a line of 60 joined", 1,
             "Zuppa di farro della Garfagnana con ceci e cavolo.|Zuppe|Zuppe|4|0",
             QStringList{"300|Farro|g"},
             "Cuocete il farro in acqua salata per quaranta minuti e dopo, unite i fagioli.");
    }
    void archivio()
    {
        QFETCH(int, ricetta);
        QString errore;
        const QList<RicettaEstera> r =
            MealMaster::leggi(leggiFixture("archivio.mmf"), "a.mmf", errore);
        QCOMPARE(errore, QString());
        QCOMPARE(r.size(), 2);
        const RicettaEstera &x = r.at(ricetta);
        QTEST(QStringList({x.nome, x.categoria, x.tipoPasto, QString::number(x.porzioni),
                           QString::number(x.vegetariana)})
                  .join('|'),
              "campi");
        QTEST(righeEstere(x), "righe");
        QTEST(x.istruzioni, "istruzioni");
    }

    // A damaged collection: its complete recipes are read, and what is left out is named.
    void danni_data()
    {
        QTest::addColumn<QByteArray>("contenuto");
        QTest::addColumn<QStringList>("ricette");
        QTest::addColumn<QString>("messaggio");
        const QByteArray buona = ricetta("Pane");
        caso("one letter changed in the header",
             ricetta("Pizza", "MMMMM----- Recipe via "
                              "Meal-Ma\xe8ster (tm) v8.05") +
                 buona,
             QStringList{"Pizza", "Pane"}, "");
        caso("a header beyond reading", ricetta("Pizza", "MMMMM----- Ricetta di Meal-M") + buona,
             QStringList{"Pane"},
             "Dal file x.mmf si importano una ricetta, ma non queste, che non sono "
             "complete:\r\n- la ricetta \"Pizza\" (riga 3): la riga che la apre è danneggiata.");
        caso("a recipe cut at the end", buona + buona.left(70), QStringList{"Pane"},
             "Dal file x.mmf si importano una ricetta, ma non queste, che non sono "
             "complete:\r\n- la ricetta \"Pane\" (riga 11): il file finisce prima della sua riga "
             "di chiusura.");
        caso("a file cut inside a header", buona + buona + "MMMMM----- Reci",
             QStringList{"Pane", "Pane"},
             "Dal file x.mmf si importano 2 ricette, ma non queste, che non sono complete:\r\n- "
             "alla riga 21 il file finisce dentro la riga che apre una ricetta.");
        caso("an old Mac file, CR alone", QByteArray(buona + ricetta("Pizza")).replace('\n', '\r'),
             QStringList{"Pane", "Pizza"}, "");
        caso("a byte order mark and Ctrl-Z at the end", "\xEF\xBB\xBF" + buona + "\x1a",
             QStringList{"Pane"}, "");
        caso("a line of exactly 4,096 characters",
             QByteArray(buona).replace("  Impastate.", "  " + QByteArray(4094, 'x')),
             QStringList{"Pane"}, "");
        caso("no title", ricetta(""), QStringList{"Senza titolo"}, "");
    }
    void danni()
    {
        QFETCH(QByteArray, contenuto);
        QString errore;
        QStringList nomi;
        for (const RicettaEstera &r : MealMaster::leggi(contenuto, "x.mmf", errore))
            nomi << r.nome;
        QTEST(nomi, "ricette");
        QTEST(errore, "messaggio");
    }

    // A stored line written out and read back: the same values, the unit as its code.
    void quantita_data()
    {
        QTest::addColumn<QString>("quantita");
        QTest::addColumn<QString>("commento");
        QTest::addColumn<QString>("scritta"); // the ingredient line in the file
        QTest::addColumn<QString>("riletta"); // quantity|comment read back
        caso("a half", "0.5", "", "    1/2    Farina", "0.5|");
        caso("a comma", "2,25", "", "  2 1/4    Farina", "2.25|");
        caso("a comma, no fraction", "0,33", "", "   0.33    Farina", "0.33|");
        caso("two decimals that are no eighth", "0.13", "", "   0.13    Farina", "0.13|");
        caso("an eighth", "0.125", "", "    1/8    Farina", "0.125|");
        caso("a third in three decimals", "0.333", "", "    1/3    Farina", "0.333|");
        caso("a whole number", "250", "g", "    250 g  Farina", "250|g");
        caso("a unit and a section", "250", "g (PASTA FROLLA)", "    250 g  Farina; (PASTA FROLLA)",
             "250|g (PASTA FROLLA)");
        caso("a unit and a remark", "1", "grande, a temperatura ambiente",
             "      1 lg Farina; a temperatura", "1|grande, a temperatura ambiente");
        caso("a unit word of our own", "1", "litro", "      1 l  Farina", "1|litro");
        caso("litres", "1.5", "litri", "  1 1/2 l  Farina", "1.5|litri");
        caso("a unit word and more words", "2", "cucchiai rasi", "      2    Farina; cucchiai rasi",
             "2|cucchiai rasi");
        caso("a range", "2-3", "cucchiai", "    2-3 tb Farina", "2-3|cucchiai");
        caso("no number", "q.b.", "", "           Farina; q.b.", "|q.b.");
        caso("too wide", "12345678", "g", "           Farina; 12345678 g", "|12345678 g");
    }
    void quantita()
    {
        QFETCH(QString, quantita);
        QFETCH(QString, commento);
        RicettaEstera r;
        r.nome = "Prova";
        r.righe << RigaEstera{quantita, "Farina", commento};
        const QByteArray file = MealMaster::testo({r});
        QTEST(QString::fromLatin1(file).split("\r\n").value(6), "scritta");
        QString errore;
        const RigaEstera letta = MealMaster::leggi(file, "x.mmf", errore).value(0).righe.value(0);
        QTEST(letta.quantita + '|' + letta.commento, "riletta");
    }

    // A recipe exported and read back, column by column.
    void esporta_data()
    {
        QTest::addColumn<QString>("campo");
        QTest::addColumn<QString>("scritto"); // the value, and what is read back
        caso("category and meal types", "categoria", "Dolci|Dolci, Torte");
        caso("portions", "porzioni", "12");
        caso("vegetarian", "vegetariana", "1");
        caso("letters outside Latin-1", "nome", "Crème brûlée “perfetta” — 5€");
    }
    void esporta()
    {
        QFETCH(QString, campo);
        QFETCH(QString, scritto);
        RicettaEstera r;
        r.nome = "Torta";
        r.istruzioni = "Cuocete.";
        if (campo == "categoria") {
            r.categoria = scritto.section('|', 0, 0);
            r.tipoPasto = scritto.section('|', 1);
        } else if (campo == "porzioni") {
            r.porzioni = scritto.toInt();
        } else if (campo == "vegetariana") {
            r.vegetariana = true;
        } else {
            r.nome = scritto;
        }
        QString errore;
        const RicettaEstera letta =
            MealMaster::leggi(MealMaster::testo({r}), "x.mmf", errore).value(0);
        const QString visto = campo == "categoria"     ? letta.categoria + '|' + letta.tipoPasto
                              : campo == "porzioni"    ? QString::number(letta.porzioni)
                              : campo == "vegetariana" ? QString::number(letta.vegetariana)
                                                       : letta.nome;
        QCOMPARE(visto, scritto);
    }

    // Where the file cannot go, the message says why.
    void esportaDove_data()
    {
        QTest::addColumn<QString>("dove"); // under a temporary folder
        QTest::addColumn<QString>("messaggio");
        caso("a folder", "cartella",
             "\"%1\" è una cartella, non un file: scegliete il nome di un file.");
        caso("a missing folder", "manca/x.mmf", "Impossibile trovare la cartella del file '%1'.");
    }
    void esportaDove()
    {
        QFETCH(QString, dove);
        QFETCH(QString, messaggio);
        QTemporaryDir cartella;
        QDir(cartella.path()).mkdir("cartella");
        const QString percorso = cartella.filePath(dove);
        QCOMPARE(MealMaster::scrivi(percorso, {RicettaEstera()}), messaggio.arg(percorso));
    }

    // The temporary book the import window takes: the book's own values, one ingredient per
    // name whatever its capitals.
    void libroSorgente()
    {
        QTemporaryDir cartella;
        const QString libro = cartella.filePath("sorgente.mdb");
        RicettaEstera a, b;
        a.nome = "Pane";
        a.vegetariana = true;
        a.righe << RigaEstera{"500", "Farina", "g"};
        b.nome = "Pizza";
        b.calorie = 250;
        b.righe << RigaEstera{"300", "FARINA", "g"};
        LibroSorgente::scrivi(libro, {a, b});
        QCOMPARE(LibroDiProva::righe(libro, "SELECT NomeRicetta, Vegetariana, "
                                            "CaloriePerPorzione FROM Ricette ORDER BY 1"),
                 (QList<QVariantList>{{"Pane", -1, QVariant()}, {"Pizza", 0, 250}}));
        QCOMPARE(LibroDiProva::righe(libro, "SELECT Ingrediente FROM Ingredienti"),
                 (QList<QVariantList>{{"Farina"}}));
    }

    // A disk that fills while the temporary book is written (a limit on the size of the files
    // this process writes): the error comes back, and nothing is left of the book.
    void libroSorgente_scritturaFallita_nonLasciaNulla()
    {
        QTemporaryDir cartella;
        const QString libro = cartella.filePath("sorgente.mdb");
        QList<RicettaEstera> ricette;
        for (int i = 0; i < 500; ++i) {
            RicettaEstera r;
            r.nome = QString("Ricetta %1").arg(i);
            r.istruzioni = QString(2000, QChar(u'a' + i % 26));
            ricette << r;
        }
        rlimit prima{};
        QCOMPARE(getrlimit(RLIMIT_FSIZE, &prima), 0);
        const auto segnale = std::signal(SIGXFSZ, SIG_IGN); // a write past it fails, no signal
        rlimit stretto = prima;
        stretto.rlim_cur = 256 * 1024;
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &stretto), 0);
        int numero = 0;
        try {
            LibroSorgente::scrivi(libro, ricette);
        } catch (const EngineError &e) {
            numero = e.number();
        }
        setrlimit(RLIMIT_FSIZE, &prima);
        std::signal(SIGXFSZ, segnale);
        QVERIFY2(numero != 0, "the write past the limit did not fail");
        QCOMPARE(QDir(cartella.path()).entryList(QDir::Files | QDir::Hidden), QStringList());
    }

    // "Esporta..." of every listed recipe of the sample book, read back: the same recipes.
    void roundTrip()
    {
        LibroDiProva cartella;
        const QString libro = cartella.percorso();
        QFile::remove(libro);
        QVERIFY(QFile::copy(QStringLiteral(LIBRO_ESEMPIO), libro));
        // A unit word that does not agree with its quantity is no unit code: it reads back as
        // written.
        cartella.esegui("UPDATE ingredienti_ricetta SET Commenti = 'cucchiaio' WHERE "
                        "IDIngredienteRicetta = (SELECT min(IDIngredienteRicetta) FROM "
                        "ingredienti_ricetta WHERE Commenti = 'cucchiai' AND Quantità = '4')");
        const QString file = cartella.cartella() + "/Ricette.mmf";
        ScriptedDialogs dialoghi;
        dialoghi.rispondi(Dialogs::No).rispondiFile(file).rispondi(Dialogs::OK);
        Applicazione::RicettarioCorrente = libro;
        {
            Elenco finestra;
            finestra.show();
            finestra.findChild<QRadioButton *>("Option2")->click();
            finestra.findChild<QWidget *>("Command5")->setFocus();
            QTest::mouseClick(finestra.findChild<QWidget *>("Command5"), Qt::LeftButton);
        }
        const QList<QVariantList> attese = LibroDiProva::righe(
            libro, "SELECT NomeRicetta, Istruzioni, (SELECT group_concat(q, '/') FROM "
                   "(SELECT ifnull(Quantità, '') || '|' || Ingrediente || '|' || "
                   "ifnull(Commenti, '') AS q FROM ingredienti_ricetta l JOIN Ingredienti i "
                   "USING (IDIngrediente) WHERE l.IDRicetta = r.IDRicetta ORDER BY "
                   "IDIngredienteRicetta)) FROM Ricette r ORDER BY NomeRicetta");
        QCOMPARE(dialoghi.visti().last(),
                 QString("Esportazione completata: Esportate %1 ricette nel file Ricette.mmf.")
                     .arg(attese.size()));
        // Quantities as cooks write them, lines that fit an 80-column screen.
        QFile scritto(file);
        QVERIFY(scritto.open(QIODevice::ReadOnly));
        const QByteArray testo = scritto.readAll();
        QVERIFY(testo.contains("\r\n    1/2 "));
        for (const QByteArray &l : testo.split('\n'))
            QVERIFY2(l.size() <= 80, l.constData());
        QString errore;
        const QList<RicettaEstera> lette = MealMaster::leggi(file, errore);
        QCOMPARE(errore, QString());
        QCOMPARE(lette.size(), attese.size());
        for (int i = 0; i < lette.size(); ++i) {
            QCOMPARE(lette.at(i).nome, attese.at(i).at(0).toString());
            QCOMPARE(lette.at(i).istruzioni, attese.at(i).at(1).toString());
            QCOMPARE(righeEstere(lette.at(i)).join('/'), attese.at(i).at(2).toString());
        }
    }
};

PENTOLONE_TEST_MAIN(TstMealMaster)
#include "tst_mealmaster.moc"
