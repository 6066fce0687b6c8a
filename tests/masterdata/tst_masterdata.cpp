#include "caso.h"
#include "libro.h"
#include "masterdata/categoriealimentari.h"
#include "masterdata/ingredienti.h"
#include "scripteddialogs.h"
#include "storage/database.h"
#include "storage/datasource.h"
#include "toolkit/applicazione.h"
#include "toolkit/navigationbar.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <memory>

// Drives the categories and ingredients windows as a user does and reads the book back with
// plain SQL.
class TstMasterdata : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<LibroDiProva> libro;
    std::unique_ptr<ScriptedDialogs> dialoghi;

    template <class Finestra> std::unique_ptr<Finestra> apri()
    {
        Applicazione::RicettarioCorrente = libro->percorso();
        auto f = std::make_unique<Finestra>();
        f->show();
        f->activateWindow();
        if (!QTest::qWaitForWindowActive(f.get()))
            qWarning("window not active: focus changes will not happen");
        return f;
    }
    static QPushButton *pulsante(QWidget *f, const char *nome)
    {
        return f->findChild<QPushButton *>(nome);
    }
    static QLineEdit *casella(QWidget *f, const char *nome)
    {
        return f->findChild<QLineEdit *>(nome);
    }
    static void scrivi(QLineEdit *c, const QString &testo, bool invio = true)
    {
        c->selectAll();
        QTest::keyClicks(c, testo);
        if (invio)
            QTest::keyClick(c, Qt::Key_Return);
    }
    static void scegliRiga(QWidget *f, int riga)
    {
        auto *g = f->findChild<QTableView *>("DBGrid1");
        const QModelIndex i = g->model()->index(riga, 1);
        g->scrollTo(i);
        QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, g->visualRect(i).center());
    }
    static QString didascalia(QWidget *f)
    {
        return f->findChild<NavigationBar *>("datPrimaryRS")->caption();
    }
    static QString corrente(QWidget *f)
    {
        const Recordset *rs = f->findChild<DataSource *>("datPrimaryRS")->Recordset();
        return rs->haRigaCorrente() ? rs->value(1).toString() : QString();
    }
    QStringList colonna(const QString &sql) const
    {
        QStringList r;
        for (const QVariantList &riga : libro->righe(sql))
            r << riga.value(0).toString();
        return r;
    }
    QStringList categorie() const
    {
        return colonna("SELECT CategoriaAlimentare FROM \"Categorie alimentari\" ORDER BY 1");
    }
    QStringList ingredienti() const
    {
        return colonna("SELECT Ingrediente FROM Ingredienti ORDER BY IDIngrediente");
    }
    // What the user can use of the name box, "Aggiungi" and "Modifica", by object name.
    static QString attivi(QWidget *f)
    {
        QStringList r;
        for (const char *nome : {"Text1", "cmdInserisci", "Command1"})
            if (f->findChild<QWidget *>(nome)->isEnabled())
                r << nome;
        return r.join(' ');
    }
    int beep() const { return int(dialoghi->di("beep").size()); }
    int righeGriglia(QWidget *f) const
    {
        return f->findChild<QTableView *>("DBGrid1")->model()->rowCount();
    }

private slots:
    void init()
    {
        libro = std::make_unique<LibroDiProva>();
        dialoghi = std::make_unique<ScriptedDialogs>();
    }
    void cleanup()
    {
        const bool usate = dialoghi->tutteUsate();
        DataSource::setGestoreErrori(nullptr);
        dialoghi.reset();
        libro.reset();
        QVERIFY2(usate, "a scripted answer was not used");
    }

    // --- Food categories

    void categories_enterStoresOneCategoryPerEnter()
    {
        libro->categoria("Antipasti");
        auto f = apri<Categoriealimentari>();
        QCOMPARE(didascalia(f.get()), QString("Record: 1"));
        QLineEdit *nome = casella(f.get(), "txtFields_1");
        QVERIFY(!nome->isEnabled());
        pulsante(f.get(), "cmdInserisci")->click();
        QVERIFY(nome->isEnabled());
        QCOMPARE(beep(), 1);
        // Blanks go, the first letter grows, and the box takes 50 letters.
        scrivi(nome, " pasta ");
        scrivi(nome, QString(60, 'a'));
        QCOMPARE(categorie(), (QStringList{"A" + QString(49, 'a'), "Antipasti", "Pasta"}));
        QVERIFY(nome->isEnabled());
        QVERIFY(nome->text().isEmpty());
        QCOMPARE(beep(), 3);
        // Enter on the empty new row, then closing: no empty category is stored.
        QTest::keyClick(nome, Qt::Key_Return);
        pulsante(f.get(), "cmdChiudi")->click();
        QCOMPARE(categorie().size(), 3);
    }

    void categories_renameIsWrittenOnTheNextMoveOrOnClosing_data()
    {
        QTest::addColumn<QString>("via");
        QTest::newRow("grid") << "griglia";
        QTest::newRow("navigation bar") << "barra";
        QTest::newRow("closing") << "chiusura";
    }
    void categories_renameIsWrittenOnTheNextMoveOrOnClosing()
    {
        QFETCH(QString, via);
        libro->categoria("Primi");
        libro->categoria("Secondi");
        auto f = apri<Categoriealimentari>();
        scegliRiga(f.get(), 1);
        QCOMPARE(didascalia(f.get()), QString("Record: 2"));
        pulsante(f.get(), "Command1")->click();
        casella(f.get(), "txtFields_1")->setFocus();
        scrivi(casella(f.get(), "txtFields_1"), "secondi di pesce", false);
        if (via == "chiusura")
            f->close();
        else if (via == "griglia")
            scegliRiga(f.get(), 0);
        else
            QTest::mouseClick(f->findChild<QWidget *>("primo"), Qt::LeftButton);
        QCOMPARE(categorie(), (QStringList{"Primi", "Secondi di pesce"}));
        if (via != "chiusura")
            QCOMPARE(f->cursor().shape(), Qt::ArrowCursor); // the hourglass is gone
    }

    // A row being added is only abandoned; an empty table has nothing to delete or edit.
    void categories_deleteMakesTheNextCurrent_data()
    {
        QTest::addColumn<int>("riga"); // -1: a new row, -2: an empty table
        QTest::addColumn<QString>("resta");
        QTest::addColumn<QString>("barra");
        QTest::addColumn<int>("restano");
        caso("first", 0, "Secondi", "Record: 1", 2);
        caso("last", 2, "Secondi", "Record: 2", 2);
        caso("new row abandoned", -1, "Primi", "Record: 1", 3);
        caso("empty table", -2, "", "Record: 0", 0);
    }
    void categories_deleteMakesTheNextCurrent()
    {
        QFETCH(int, riga);
        for (const char *nome : {"Primi", "Secondi", "Dolci"})
            if (riga > -2)
                libro->categoria(nome);
        auto f = apri<Categoriealimentari>();
        if (riga == -1)
            pulsante(f.get(), "cmdInserisci")->click();
        else if (riga >= 0)
            scegliRiga(f.get(), riga);
        pulsante(f.get(), "cmdCancella")->click();
        QTEST(corrente(f.get()), "resta");
        QTEST(didascalia(f.get()), "barra");
        QTEST(int(categorie().size()), "restano");
        QLineEdit *nome = casella(f.get(), "txtFields_1");
        QVERIFY(!nome->isEnabled());
        pulsante(f.get(), "Command1")->click();
        QCOMPARE(nome->isEnabled(), riga > -2);
    }

    void notABook_isReportedAsDataError()
    {
        QFile f(libro->percorso());
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write("Ricette della nonna\n");
        f.close();
        int mostrati = 0; // by the program's own handler, which the window silences
        DataSource::setGestoreErrori([&](int, const QString &) { ++mostrati; });
        dialoghi->rispondi(Dialogs::OK);
        auto w = apri<Ingredienti>();
        const ScriptedDialogs::Chiamata c = dialoghi->messaggi().value(0);
        QCOMPARE(c.testo, "Data error event hit err:Il file '" + libro->percorso() +
                              "' non è un ricettario di Pentolone valido.");
        pulsante(w.get(), "cmdCancella")->click(); // still usable
        QCOMPARE(mostrati, 0);
    }

    // --- Ingredients

    // A new ingredient stands last until the window is opened again. Blanks only are no name:
    // the box waits for one.
    void ingredients_addStoresLastWithCapital_data()
    {
        QTest::addColumn<QStringList>("esistenti");
        QTest::addColumn<QString>("digitato");
        QTest::addColumn<QString>("salvato"); // "" when nothing is stored
        caso("empty table", QStringList{}, "zucchero", "Zucchero");
        caso("sorts first", QStringList{"Burro", "Sale"}, "aceto", "Aceto");
        caso("blanks only", QStringList{"Burro"}, "   ", "");
    }
    void ingredients_addStoresLastWithCapital()
    {
        QFETCH(QStringList, esistenti);
        QFETCH(QString, digitato);
        QFETCH(QString, salvato);
        for (const QString &n : esistenti)
            libro->ingrediente(n);
        auto f = apri<Ingredienti>();
        QLineEdit *testo = casella(f.get(), "Text1");
        pulsante(f.get(), "cmdInserisci")->click();
        scrivi(testo, digitato);
        const QStringList dopo = salvato.isEmpty() ? esistenti : esistenti + QStringList{salvato};
        QCOMPARE(ingredienti(), dopo);
        QCOMPARE(corrente(f.get()), dopo.last());
        QCOMPARE(didascalia(f.get()), QStringLiteral("Record: %1").arg(dopo.size()));
        QVERIFY(testo->text().isEmpty());
        QCOMPARE(attivi(f.get()), salvato.isEmpty() ? "Text1" : "cmdInserisci Command1");
        QCOMPARE(beep(), salvato.isEmpty() ? 0 : 1);
    }

    void ingredients_duplicatesAreRefusedInAnyCase_data()
    {
        QTest::addColumn<QString>("digitato");
        QTest::addColumn<QString>("esistente");
        caso("upper, first row", "AGLIO", "Aglio");
        caso("lower in blanks, middle row", "  burro  ", "Burro");
        caso("same, last row", "Zucchine", "Zucchine");
    }
    void ingredients_duplicatesAreRefusedInAnyCase()
    {
        QFETCH(QString, digitato);
        QFETCH(QString, esistente);
        for (const char *nome : {"Aglio", "Burro", "Zucchine"})
            libro->ingrediente(nome);
        auto f = apri<Ingredienti>();
        dialoghi->rispondi(Dialogs::OK);
        pulsante(f.get(), "cmdInserisci")->click();
        scrivi(casella(f.get(), "Text1"), digitato);
        QCOMPARE(dialoghi->visti(),
                 QStringList{"Non sono ammessi duplicati: Ingrediente già presente"});
        QCOMPARE(ingredienti(), (QStringList{"Aglio", "Burro", "Zucchine"}));
        QCOMPARE(corrente(f.get()), esistente);
        QVERIFY(casella(f.get(), "Text1")->text().isEmpty());
        QCOMPARE(attivi(f.get()), "cmdInserisci Command1");
    }

    void ingredients_editStoresOnTheNotedRow()
    {
        libro->ingrediente("Pepe");
        libro->ingrediente("Sale");
        auto f = apri<Ingredienti>();
        QLineEdit *testo = casella(f.get(), "Text1");
        scegliRiga(f.get(), 1);
        QCOMPARE(testo->text(), QString("Sale"));
        pulsante(f.get(), "Command1")->click();
        QCOMPARE(attivi(f.get()), "Text1");
        // Moving in the grid shows the other name, but the edit stays on Sale.
        scegliRiga(f.get(), 0);
        QCOMPARE(testo->text(), QString("Pepe"));
        scrivi(testo, "sale marino");
        QCOMPARE(ingredienti(), (QStringList{"Pepe", "Sale marino"})); // in key order

        // Changing only the case of the letters is refused: the name is there already.
        dialoghi->rispondi(Dialogs::OK);
        scegliRiga(f.get(), 0);
        pulsante(f.get(), "Command1")->click();
        scrivi(testo, "pepe");
        QCOMPARE(dialoghi->messaggi().size(), 1);
        QCOMPARE(ingredienti(), (QStringList{"Pepe", "Sale marino"}));
    }

    // A store the book refuses (locked by another program) keeps the name and the mode, and
    // nothing is stored behind the user's back: only another Enter stores it.
    void ingredients_failedStore_keepsTheNameAndStoresNothing_data()
    {
        QTest::addColumn<int>("modo");
        QTest::newRow("adding") << 1;
        QTest::newRow("editing") << 2;
    }
    void ingredients_failedStore_keepsTheNameAndStoresNothing()
    {
        QFETCH(int, modo);
        libro->ingrediente("Burro");
        libro->ingrediente("Sale");
        // The window's source shares this open book: a lock is given up after a short wait.
        const auto db = Database::apri(libro->percorso());
        db->setAttesaMassima(50);
        auto f = apri<Ingredienti>();
        QLineEdit *testo = casella(f.get(), "Text1");
        scegliRiga(f.get(), 1);
        pulsante(f.get(), modo == 1 ? "cmdInserisci" : "Command1")->click();
        AltroProgramma blocco(libro->percorso());
        dialoghi->rispondi(Dialogs::OK);
        scrivi(testo, "pepe");
        QCOMPARE(dialoghi->messaggi().value(0).testo,
                 "Data error event hit err:Impossibile aprire il file '" + libro->percorso() +
                     "': è in uso da un altro programma.");
        QCOMPARE(testo->text(), QString("Pepe"));
        QCOMPARE(attivi(f.get()), "Text1");
        QCOMPARE(didascalia(f.get()), QString("Record: 2"));
        QCOMPARE(righeGriglia(f.get()), 2);
        QCOMPARE(beep(), 0);
        blocco.lascia();
        QTest::keyClick(testo, Qt::Key_Return);
        f->close();
        QCOMPARE(ingredienti(),
                 (modo == 1 ? QStringList{"Burro", "Sale", "Pepe"} : QStringList{"Burro", "Pepe"}));
    }

    // The ingredient goes from every recipe. Deleting while adding leaves only "Elimina" and
    // "Chiudi"; otherwise an empty table then has nothing to edit.
    void ingredients_deleteTakesItsLines_data()
    {
        QTest::addColumn<bool>("aggiungendo");
        QTest::addColumn<QString>("attivi");
        caso("while adding", true, "");
        caso("then nothing to edit", false, "cmdInserisci Command1");
    }
    void ingredients_deleteTakesItsLines()
    {
        QFETCH(bool, aggiungendo);
        const qint64 farina = libro->ingrediente("Farina");
        libro->riga(libro->ricetta("Pane"), farina, "500");
        libro->riga(libro->ricetta("Pasta fresca"), farina, "0.25");
        auto f = apri<Ingredienti>();
        if (aggiungendo)
            pulsante(f.get(), "cmdInserisci")->click();
        pulsante(f.get(), "cmdCancella")->click();
        pulsante(f.get(), "Command1")->click();
        QTEST(attivi(f.get()), "attivi");
        QVERIFY(ingredienti().isEmpty());
        QVERIFY(libro->righe("SELECT * FROM ingredienti_ricetta").isEmpty());
    }
};

QTEST_MAIN(TstMasterdata)
#include "tst_masterdata.moc"
