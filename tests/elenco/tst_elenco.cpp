// The recipe list window, driven as a user does: its three lists, printing, deletion, and a
// book that another program holds locked.
#include "caso.h"
#include "elenco/elenco.h"
#include "libro.h"
#include "principale.h"
#include "scripteddialogs.h"
#include "storage/database.h"
#include "storage/datasource.h"
#include "superficieregistrata.h"
#include "toolkit/applicazione.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QTableView>
#include <QTest>
#include <memory>
#include <optional>

class TstElenco : public QObject
{
    Q_OBJECT

    std::unique_ptr<LibroDiProva> libro;
    std::unique_ptr<ScriptedDialogs> dialoghi;
    std::unique_ptr<SuperficieRegistrata> carta;
    std::unique_ptr<Elenco> finestra;
    qint64 dolci = 0;
    QStringList nonGestiti; // engine errors the window left to the program's last resort

    template <class T = QWidget> T *w(const char *nome) const
    {
        return finestra->findChild<T *>(nome);
    }
    QTableView *griglia() const { return w<QTableView>("Griglia"); }
    QString testo(const char *etichetta) const { return w<QLabel>(etichetta)->text(); }
    QStringList nomi() const
    {
        QStringList r;
        for (int i = 0; i < griglia()->model()->rowCount(); ++i)
            r << griglia()->model()->index(i, 0).data().toString();
        return r;
    }
    QStringList ricette() const
    {
        QStringList r;
        for (const QVariantList &v : libro->righe("SELECT NomeRicetta FROM Ricette ORDER BY 1"))
            r << v.value(0).toString();
        return r;
    }

    void apri()
    {
        Applicazione::RicettarioCorrente = libro->percorso();
        finestra = std::make_unique<Elenco>();
        finestra->show();
    }
    // What happens, comma separated: an option button or a print or delete button clicked,
    // "giu" / "su" an arrow key or a single letter typed in the category combo, "altro:" and a
    // name: another program deletes that recipe; "rinomina:" old=new: it renames one.
    void fai(const QString &azioni) const
    {
        for (const QString &a : azioni.split(',', Qt::SkipEmptyParts))
            if (a == "giu" || a == "su")
                QTest::keyClick(w("Lista"), a == "giu" ? Qt::Key_Down : Qt::Key_Up);
            else if (a.size() == 1)
                QTest::keyClicks(w("Lista"), a);
            else if (a.startsWith("altro:"))
                libro->esegui("DELETE FROM Ricette WHERE NomeRicetta = ?", {a.mid(6)});
            else if (a.startsWith("rinomina:"))
                libro->esegui("UPDATE Ricette SET NomeRicetta = ? WHERE NomeRicetta = ?",
                              {a.section('=', 1), a.mid(9).section('=', 0, 0)});
            else
                QTest::mouseClick(w(qPrintable(a)), Qt::LeftButton, {}, QPoint(5, 5));
    }
    // The mouse pressed on one row and released on another.
    void trascina(int da, int a) const
    {
        const auto centro = [this](int riga) {
            return griglia()->visualRect(griglia()->model()->index(riga, 0)).center();
        };
        QWidget *area = griglia()->viewport();
        QTest::mousePress(area, Qt::LeftButton, {}, centro(da));
        QTest::mouseMove(area, centro(a));
        QTest::mouseRelease(area, Qt::LeftButton, {}, centro(a));
    }

private slots:
    void init()
    {
        libro = std::make_unique<LibroDiProva>();
        dialoghi = std::make_unique<ScriptedDialogs>();
        carta = std::make_unique<SuperficieRegistrata>();
        nonGestiti.clear();
        DataSource::setGestoreErrori([this](int, const QString &d) { nonGestiti << d; });
        const qint64 primi = libro->categoria("Primi");
        dolci = libro->categoria("Dolci");
        // The last one is the risotto, the only recipe with a line.
        qint64 risotto = 0;
        for (const char *nome : {"Zuppa", "Lasagne", "Minestrone", "Gnocchi", "Risotto"})
            risotto = libro->ricetta(nome, primi, QByteArray(nome) == "Minestrone");
        libro->riga(risotto, libro->ingrediente("Riso"));
        libro->ricetta("Tiramisù", dolci);
        libro->ricetta("Crostata", dolci, true);
    }
    void cleanup()
    {
        finestra.reset();
        const bool usate = dialoghi->tutteUsate();
        carta.reset();
        dialoghi.reset();
        libro.reset();
        DataSource::setGestoreErrori(nullptr);
        QVERIFY2(usate, "a scripted answer was not used");
        QCOMPARE(nonGestiti, QStringList{});
    }

    void lists_data()
    {
        QTest::addColumn<QString>("sql"); // run on the book before the window opens
        QTest::addColumn<QString>("azioni");
        QTest::addColumn<QStringList>("elencate");
        QTest::addColumn<QString>("categoria"); // the combo's text, "-" when greyed
        const QStringList primi{"Gnocchi", "Lasagne", "Minestrone", "Risotto", "Zuppa"};
        caso("opening: the first category by name", "", "", primi, "Primi");
        caso("combo: a category in the engine's order", "", "giu",
             QStringList{"Tiramisù", "Crostata"}, "Dolci");
        caso("alphabetical: every recipe, combo back on Data1's row", "", "giu,Option2",
             QStringList{"Crostata", "Gnocchi", "Lasagne", "Minestrone", "Risotto", "Tiramisù",
                         "Zuppa"},
             "-Primi");
        caso("vegetarian", "", "Option3", QStringList{"Crostata", "Minestrone"}, "-Primi");
        caso("back to the first category", "", "giu,Option3,Option1", primi, "Primi");
        caso("a typed letter chooses nothing", "", "D", primi, "Primi");
        caso("an empty first category, said by nothing",
             "DELETE FROM Ricette WHERE IDCategoriaAlimentare = 1", "giu,su", QStringList{},
             "Primi");
        caso("a book without categories", "DELETE FROM \"Categorie alimentari\"", "", QStringList{},
             "");
    }
    void lists()
    {
        QFETCH(QString, sql);
        QFETCH(QString, azioni);
        QFETCH(QStringList, elencate);
        if (!sql.isEmpty())
            libro->esegui(sql);
        apri();
        fai(azioni);
        QCOMPARE(nomi(), elencate);
        QCOMPARE(testo("Label4"), QString::number(elencate.size()));
        QCOMPARE(testo("Label2"), elencate.value(0));
        auto *lista = w<QComboBox>("Lista");
        QTEST((lista->isEnabled() ? "" : "-") + lista->currentText(), "categoria");
        QCOMPARE(dialoghi->visti(), QStringList{});
        fai("Command2");
        QVERIFY(!finestra->isVisible());
    }

    void printing_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QString>("azioni");
        QTest::addColumn<int>("da"); // the mouse's selection, from row da to row a
        QTest::addColumn<int>("a");
        QTest::addColumn<int>("copie"); // answered in the print dialog, 0 cancels; -1: no dialog
        QTest::addColumn<QStringList>("titoli");
        const QString vuota = "DELETE FROM Ricette WHERE IDCategoriaAlimentare = 1";
        caso("rows 4 up to 2, two copies", "", "Command1", 4, 2, 2,
             QStringList{"- Minestrone -", "- Minestrone -", "- Risotto -", "- Risotto -",
                         "- Zuppa -", "- Zuppa -"});
        caso("one row: the PDF is proposed under its name", "", "Command1", 2, 2, 1,
             QStringList{"- Minestrone -"});
        caso("print all, whatever is selected", "", "Command4", 3, 3, 1,
             QStringList{"- Gnocchi -", "- Lasagne -", "- Minestrone -", "- Risotto -",
                         "- Zuppa -"});
        caso("cancelled", "", "Command1", 0, 1, 0, QStringList{});
        caso("a recipe gone since listed ends the command", "", "altro:Lasagne,Command1", 0, 2, 1,
             QStringList{"- Gnocchi -"});
        caso("a recipe renamed since listed, printed as the book holds it", "",
             "Command1,rinomina:Lasagne=Lasagne verdi,Command1", 1, 1, 1,
             QStringList{"- Lasagne -", "- Lasagne verdi -"});
        caso("empty list", vuota, "Command4", -1, -1, -1, QStringList{});
    }
    void printing()
    {
        QFETCH(QString, sql);
        QFETCH(QString, azioni);
        QFETCH(int, da);
        QFETCH(int, a);
        QFETCH(int, copie);
        QFETCH(QStringList, titoli);
        if (!sql.isEmpty())
            libro->esegui(sql);
        apri();
        if (da >= 0)
            trascina(da, a);
        const int comandi = int(azioni.count("Command1") + azioni.count("Command4"));
        for (int i = 0; copie >= 0 && i < comandi; ++i)
            dialoghi->rispondiStampa(copie);
        // Printing a recipe without lines says so: all but the risotto have none.
        for (const QString &t : titoli)
            if (t != "- Risotto -")
                dialoghi->rispondi(Dialogs::OK);
        fai(azioni);
        QCOMPARE(carta->titoli(), titoli);
        QCOMPARE(carta->lavori, copie > 0 ? comandi : 0); // Cancel hands nothing to the printer
        QCOMPARE(dialoghi->di("stampa").size(), copie >= 0 ? comandi : 0);
        if (copie >= 0) // the document's name: the recipe's, or the list's for several
            QCOMPARE(dialoghi->di("stampa").value(0).titolo,
                     da == a && azioni.endsWith("Command1") ? nomi().value(da) : "Ricette");
    }

    // The export of a list another program changed since: a recipe it deleted is named as the
    // cause, and no file is written.
    void export_recipeGoneSinceListed_saysWhy()
    {
        apri();
        trascina(0, 4);
        const QString file = QDir(libro->cartella()).filePath("Primi.mmf");
        dialoghi->rispondiFile(file).rispondi(Dialogs::OK);
        fai("altro:Lasagne,Command5");
        QCOMPARE(dialoghi->visti(),
                 QStringList{"Errore di esportazione: L'esportazione non è stata eseguita:\r\n"
                             "La ricetta \"Lasagne\" non è più nel ricettario: è stata "
                             "eliminata da un altro programma."});
        QVERIFY(!QFile::exists(file));
    }

    // The cook leaves for another program, which writes the book, and comes back: the list
    // shows the book as it is now, the recipe that was current still current.
    void anotherProgram_listShowsItWhenBack_data()
    {
        QTest::addColumn<QString>("azioni");
        QTest::addColumn<QStringList>("elencate");
        QTest::addColumn<QString>("corrente");
        caso("renamed", "rinomina:Zuppa=Agnolotti",
             QStringList{"Agnolotti", "Gnocchi", "Lasagne", "Minestrone", "Risotto"},
             "Minestrone");
        caso("the current one renamed", "rinomina:Minestrone=Brodo",
             QStringList{"Brodo", "Gnocchi", "Lasagne", "Risotto", "Zuppa"}, "Brodo");
        caso("deleted", "altro:Lasagne",
             QStringList{"Gnocchi", "Minestrone", "Risotto", "Zuppa"}, "Minestrone");
        caso("the current one deleted", "altro:Minestrone",
             QStringList{"Gnocchi", "Lasagne", "Risotto", "Zuppa"}, "Gnocchi");
    }
    void anotherProgram_listShowsItWhenBack()
    {
        QFETCH(QString, azioni);
        QFETCH(QStringList, elencate);
        QFETCH(QString, corrente);
        apri();
        QApplication::setActiveWindow(finestra.get());
        fai("Option1");
        const int minestrone = int(nomi().indexOf("Minestrone"));
        trascina(minestrone, minestrone);
        QWidget altra;
        altra.show();
        QApplication::setActiveWindow(&altra);
        fai(azioni);
        QCOMPARE(nomi().size(), 5); // nothing seen while away
        QApplication::setActiveWindow(finestra.get());
        QCoreApplication::processEvents();
        QCOMPARE(nomi(), elencate);
        QCOMPARE(w("Label4")->property("text").toString(), QString::number(elencate.size()));
        QCOMPARE(w("Label2")->property("text").toString(), corrente);
    }

    // What the list window itself hands to the layout: the category found by its key among
    // the combo's entries, the list's portions text, lines read from the book with trimmed
    // quantities and comments 50 characters wide beside a quantity.
    void printout()
    {
        const qint64 torta = libro->ricetta("Torta", dolci);
        libro->esegui("UPDATE Ricette SET TempoPreparazione = '20 min', CaloriePerPorzione = 350 "
                      "WHERE IDRicetta = ?",
                      {torta});
        libro->riga(torta, libro->ingrediente("Burro"), " 0,5 ",
                    " " + QString("sale ").repeated(14));
        libro->riga(torta, libro->ingrediente("Zucchero"), "200", "");
        apri();
        fai("Option2");
        const int riga = int(nomi().indexOf("Torta"));
        trascina(riga, riga);
        dialoghi->rispondiStampa(1);
        fai("Command1");
        QStringList righe;
        for (const int y : {6, 11, 16, 18})
            righe << carta->riga(0, 1, y);
        QCOMPARE(righe,
                 (QStringList{"Categoria: Dolci",
                              "Tempo di preparazione: 20 min   -  Porzioni: 4  -  "
                              "Calorie per porzione: 350",
                              "Burromezzo/a " + QString("sale ").repeated(10), "Zucchero200 "}));
    }

    void deletion_data()
    {
        QTest::addColumn<QString>("azioni");
        QTest::addColumn<int>("da");
        QTest::addColumn<int>("a");
        QTest::addColumn<int>("risposta");
        QTest::addColumn<QStringList>("elencate"); // afterwards
        QTest::addColumn<QString>("etichette");    // Label4 and Label2, unchanged
        QTest::addColumn<QStringList>("libro");
        caso("rows 3 up to 1 of five", "", 3, 1, Dialogs::Si, QStringList{"Gnocchi", "Zuppa"},
             "5 Lasagne", QStringList{"Crostata", "Gnocchi", "Tiramisù", "Zuppa"});
        caso("answered No", "", 3, 1, Dialogs::No,
             QStringList{"Gnocchi", "Lasagne", "Minestrone", "Risotto", "Zuppa"}, "5 Lasagne",
             QStringList{"Crostata", "Gnocchi", "Lasagne", "Minestrone", "Risotto", "Tiramisù",
                         "Zuppa"});
        caso("the whole list: a blank recipe stays", "giu", 0, 1, Dialogs::Si, QStringList{""},
             "2 Crostata",
             QStringList{" ", "Gnocchi", "Lasagne", "Minestrone", "Risotto", "Zuppa"});
    }
    void deletion()
    {
        QFETCH(QString, azioni);
        QFETCH(int, da);
        QFETCH(int, a);
        QFETCH(int, risposta);
        QFETCH(QStringList, elencate);
        QFETCH(QStringList, libro);
        apri();
        fai(azioni);
        trascina(da, a);
        dialoghi->rispondi(Dialogs::Risposta(risposta));
        fai("Command3");
        QCOMPARE(dialoghi->visti(),
                 QStringList{"Attenzione: Siete sicuri di voler cancellare questa/e ricetta/e?"});
        QCOMPARE(nomi(), elencate);
        QTEST(testo("Label4") + ' ' + testo("Label2"), "etichette");
        QCOMPARE(ricette(), libro);
        if (elencate == QStringList{""}) { // the blank row left names no recipe: nothing goes
            dialoghi->rispondi(Dialogs::Si);
            fai("Command3");
            QCOMPARE(dialoghi->visti().size(), 2);
            QCOMPARE(ricette(), libro);
        }
    }

    // Another program holds the book: the opening says the number, a list the description,
    // printing ends without a word, a deletion says the description and deletes nothing.
    void lockedBook_data()
    {
        QTest::addColumn<QString>("azioni");
        QTest::addColumn<QStringList>("visti");
        QTest::addColumn<int>("elencate");
        const QString messaggio = "Errore!: Impossibile aprire il file '%1': è in uso da un "
                                  "altro programma.";
        caso("opening", "", QStringList{"Errore!: Errore n° 3051"}, 0);
        caso("combo", "giu", QStringList{messaggio}, 0);
        caso("printing", "Command1", QStringList{}, 5);
        caso("deletion", "Command3",
             QStringList{"Attenzione: Siete sicuri di voler cancellare questa/e ricetta/e?",
                         messaggio},
             5);
    }
    void lockedBook()
    {
        QFETCH(QString, azioni);
        QFETCH(QStringList, visti);
        // The window's sources share this open book: a lock is given up after a short wait.
        const auto db = Database::apri(libro->percorso());
        db->setAttesaMassima(50);
        for (const QString &v : visti) // Yes to the deletion's question
            dialoghi->rispondi(v.startsWith("Attenzione") ? Dialogs::Si : Dialogs::OK);
        std::optional<AltroProgramma> altro;
        if (azioni.isEmpty())
            altro.emplace(libro->percorso());
        apri();
        if (!altro)
            altro.emplace(libro->percorso());
        if (azioni == "Command1")
            dialoghi->rispondiStampa(1);
        fai(azioni);
        QCOMPARE(dialoghi->visti(), visti.replaceInStrings("%1", libro->percorso()));
        QTEST(int(nomi().size()), "elencate");
        QCOMPARE(carta->titoli(), QStringList{});
        // Usable once the other program lets go.
        altro.reset();
        fai("Option3");
        QCOMPARE(nomi(), (QStringList{"Crostata", "Minestrone"}));
        QCOMPARE(ricette().size(), 7);
    }
};

PENTOLONE_TEST_MAIN(TstElenco)

#include "tst_elenco.moc"
