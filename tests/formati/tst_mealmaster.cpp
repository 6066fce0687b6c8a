// MealMaster files: a file of our own with the format's shapes, the files to refuse, and the
// sample book exported from the recipe list and read back.
#include "caso.h"
#include "elenco/elenco.h"
#include "formati/mealmaster.h"
#include "libro.h"
#include "principale.h"
#include "righeestere.h"
#include "scripteddialogs.h"
#include "toolkit/applicazione.h"

#include <QFile>
#include <QRadioButton>
#include <QTest>

namespace {

QByteArray quaderno()
{
    QFile f(QStringLiteral(FIXTURE_MEALMASTER "/quaderno.mmf"));
    if (!f.open(QIODevice::ReadOnly))
        qFatal("fixture mancante");
    return f.readAll();
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
        caso("next one before the end", testa + testa + "MMMMM\n",
             "La ricetta \"Pane\" (riga 1 del file x.mmf) è incompleta: manca la sua riga di "
             "chiusura prima della ricetta seguente (riga 6). Nessuna ricetta è stata "
             "importata.");
        caso("line of 100,000 characters", testa + QByteArray(100000, 'a') + "\nMMMMM\n",
             "La riga 6 del file x.mmf è lunga più di 4096 caratteri: non è un file di ricette "
             "MealMaster leggibile.");
        caso("binary junk",
             testa +
                 QByteArray("\x7f"
                            "ELF\x02\x01\x00\x00",
                            8) +
                 "\nMMMMM\n",
             "Il file x.mmf non è un file di testo (al byte 88 c'è un carattere di controllo): "
             "non contiene ricette MealMaster.");
    }
    void badFiles()
    {
        QFETCH(QByteArray, contenuto);
        QString errore;
        QVERIFY(MealMaster::leggi(contenuto, "x.mmf", errore).isEmpty());
        QTEST(errore, "messaggio");
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
