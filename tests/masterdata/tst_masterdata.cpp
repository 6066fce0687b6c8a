#include "applicazione.h"
#include "categoriealimentari.h"
#include "datasource.h"
#include "ingredienti.h"
#include "libro.h"
#include "navigationbar.h"
#include "scripteddialogs.h"

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
    int beep() const { return int(dialoghi->di("beep").size()); }

private slots:
    void init()
    {
        libro = std::make_unique<LibroDiProva>();
        dialoghi = std::make_unique<ScriptedDialogs>();
    }
    void cleanup()
    {
        QVERIFY2(dialoghi->tutteUsate(), "a scripted answer was not used");
        dialoghi.reset();
        libro.reset();
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
        scrivi(nome, "pasta");
        scrivi(nome, "dolci al cucchiaio");
        QCOMPARE(categorie(), (QStringList{"Antipasti", "Dolci al cucchiaio", "Pasta"}));
        QVERIFY(nome->isEnabled());
        QVERIFY(nome->text().isEmpty());
        QCOMPARE(beep(), 3);
        // Enter on the empty new row, then closing: no empty category is stored.
        QTest::keyClick(nome, Qt::Key_Return);
        pulsante(f.get(), "cmdChiudi")->click();
        QCOMPARE(categorie().size(), 3);
    }

    void categories_namesAreStoredAsTyped_data()
    {
        QTest::addColumn<QString>("digitato");
        QTest::addColumn<QString>("salvato");
        QTest::newRow("apostrophe") << "pasta all'uovo"
                                    << "Pasta all'uovo";
        QTest::newRow("one letter") << "x"
                                    << "X";
        QTest::newRow("leading blank") << " verdure"
                                       << " verdure";
        QTest::newRow("entry limit") << QString(60, 'a') << "A" + QString(49, 'a');
    }
    void categories_namesAreStoredAsTyped()
    {
        QFETCH(QString, digitato);
        QFETCH(QString, salvato);
        auto f = apri<Categoriealimentari>();
        pulsante(f.get(), "cmdInserisci")->click();
        scrivi(casella(f.get(), "txtFields_1"), digitato);
        QCOMPARE(categorie(), QStringList{salvato});
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
    }

    void categories_deleteMakesTheNextCurrent_data()
    {
        QTest::addColumn<int>("riga");
        QTest::addColumn<QString>("resta");
        QTest::addColumn<QString>("didascalia");
        QTest::newRow("first") << 0 << "Secondi"
                               << "Record: 1";
        QTest::newRow("last") << 2 << "Secondi"
                              << "Record: 2";
    }
    void categories_deleteMakesTheNextCurrent()
    {
        QFETCH(int, riga);
        QFETCH(QString, resta);
        QFETCH(QString, didascalia);
        libro->categoria("Primi");
        const qint64 secondi = libro->categoria("Secondi");
        libro->categoria("Dolci");
        const qint64 ricetta = libro->ricetta("Arrosto", secondi);
        auto f = apri<Categoriealimentari>();
        scegliRiga(f.get(), riga);
        pulsante(f.get(), "cmdCancella")->click();
        QCOMPARE(corrente(f.get()), resta);
        QCOMPARE(TstMasterdata::didascalia(f.get()), didascalia);
        QCOMPARE(categorie().size(), 2);
        QVERIFY(!casella(f.get(), "txtFields_1")->isEnabled());
        // Recipes keep the key of a category that is gone.
        scegliRiga(f.get(), 1);
        pulsante(f.get(), "cmdCancella")->click();
        QCOMPARE(
            libro
                ->valore("SELECT IDCategoriaAlimentare FROM Ricette WHERE IDRicetta = ?", {ricetta})
                .toLongLong(),
            secondi);
    }

    void categories_emptyTableAndAbandonedNewRow()
    {
        auto f = apri<Categoriealimentari>();
        pulsante(f.get(), "cmdCancella")->click();
        pulsante(f.get(), "Command1")->click();
        QVERIFY(!casella(f.get(), "txtFields_1")->isEnabled());
        libro->categoria("Primi");
        f->close();
        f = apri<Categoriealimentari>();
        pulsante(f.get(), "cmdInserisci")->click();
        pulsante(f.get(), "cmdCancella")->click();
        QCOMPARE(categorie(), QStringList{"Primi"});
        QCOMPARE(corrente(f.get()), QString("Primi"));
        QCOMPARE(didascalia(f.get()), QString("Record: 1"));
    }

    void notABook_isReportedAsDataError()
    {
        QFile f(libro->percorso());
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write("Ricette della nonna\n");
        f.close();
        dialoghi->rispondi(Dialogs::OK);
        auto w = apri<Ingredienti>();
        const ScriptedDialogs::Chiamata c = dialoghi->messaggi().first();
        QCOMPARE(c.testo, "Data error event hit err:Il file '" + libro->percorso() +
                              "' non è un ricettario di Pentolone valido.");
        QCOMPARE(c.titolo, Dialogs::titoloPredefinito());
        QCOMPARE(c.pulsanti, int(Dialogs::SoloOK));
        pulsante(w.get(), "cmdCancella")->click(); // still usable
    }

    // --- Ingredients

    void ingredients_addStoresWithCapital_data()
    {
        QTest::addColumn<QString>("digitato");
        QTest::addColumn<QString>("salvato");
        QTest::newRow("word") << "zucchero"
                              << "Zucchero";
        QTest::newRow("one letter") << "s"
                                    << "S";
        QTest::newRow("apostrophe") << "olio d'oliva"
                                    << "Olio d'oliva";
        QTest::newRow("accent") << "èrba cipollina"
                                << "Èrba cipollina";
    }
    void ingredients_addStoresWithCapital()
    {
        QFETCH(QString, digitato);
        QFETCH(QString, salvato);
        auto f = apri<Ingredienti>();
        QLineEdit *testo = casella(f.get(), "Text1");
        pulsante(f.get(), "cmdInserisci")->click();
        QVERIFY(testo->isEnabled());
        QVERIFY(!pulsante(f.get(), "cmdInserisci")->isEnabled());
        QVERIFY(!pulsante(f.get(), "Command1")->isEnabled());
        QCOMPARE(f->ModoIngrediente, 1);
        if (digitato.at(0).unicode() < 128) {
            scrivi(testo, digitato);
        } else {
            testo->setText(digitato);
            QTest::keyClick(testo, Qt::Key_Return);
        }
        QCOMPARE(ingredienti(), QStringList{salvato});
        QCOMPARE(corrente(f.get()), salvato);
        QVERIFY(testo->text().isEmpty());
        QVERIFY(!testo->isEnabled());
        QVERIFY(pulsante(f.get(), "cmdInserisci")->isEnabled());
        QCOMPARE(f->ModoIngrediente, 0);
        QCOMPARE(beep(), 1);
    }

    void ingredients_duplicatesAreRefusedInAnyCase_data()
    {
        QTest::addColumn<QString>("digitato");
        QTest::newRow("lower") << "burro";
        QTest::newRow("upper") << "BURRO";
        QTest::newRow("same") << "Burro";
    }
    void ingredients_duplicatesAreRefusedInAnyCase()
    {
        QFETCH(QString, digitato);
        libro->ingrediente("Aglio");
        libro->ingrediente("Burro");
        libro->ingrediente("Zucchine");
        auto f = apri<Ingredienti>();
        dialoghi->rispondi(Dialogs::OK);
        pulsante(f.get(), "cmdInserisci")->click();
        scrivi(casella(f.get(), "Text1"), digitato);
        const ScriptedDialogs::Chiamata c = dialoghi->messaggi().first();
        QCOMPARE(c.testo, QString("Ingrediente già presente"));
        QCOMPARE(c.titolo, QString("Non sono ammessi duplicati"));
        QCOMPARE(c.pulsanti, int(Dialogs::SoloOK));
        QCOMPARE(ingredienti(), (QStringList{"Aglio", "Burro", "Zucchine"}));
        QCOMPARE(corrente(f.get()), QString("Burro"));
        QVERIFY(casella(f.get(), "Text1")->text().isEmpty());
        QCOMPARE(f->ModoIngrediente, 0);
    }

    void ingredients_editStoresOnTheNotedRow()
    {
        const qint64 pepe = libro->ingrediente("Pepe");
        const qint64 sale = libro->ingrediente("Sale");
        auto f = apri<Ingredienti>();
        QLineEdit *testo = casella(f.get(), "Text1");
        scegliRiga(f.get(), 1);
        QCOMPARE(testo->text(), QString("Sale"));
        pulsante(f.get(), "Command1")->click();
        QCOMPARE(f->ModoIngrediente, 2);
        // Moving in the grid shows the other name, but the edit stays on Sale.
        scegliRiga(f.get(), 0);
        QCOMPARE(testo->text(), QString("Pepe"));
        scrivi(testo, "sale marino");
        QCOMPARE(
            libro->valore("SELECT Ingrediente FROM Ingredienti WHERE IDIngrediente = ?", {sale})
                .toString(),
            QString("Sale marino"));
        QCOMPARE(
            libro->valore("SELECT Ingrediente FROM Ingredienti WHERE IDIngrediente = ?", {pepe})
                .toString(),
            QString("Pepe"));

        // Changing only the case of the letters is refused: the name is there already.
        dialoghi->rispondi(Dialogs::OK);
        scegliRiga(f.get(), 0);
        pulsante(f.get(), "Command1")->click();
        scrivi(testo, "pepe");
        QCOMPARE(dialoghi->messaggi().size(), 1);
        QCOMPARE(ingredienti(), (QStringList{"Pepe", "Sale marino"}));
    }

    void ingredients_enterOnEmptyBoxDoesNothing()
    {
        auto f = apri<Ingredienti>();
        pulsante(f.get(), "cmdInserisci")->click();
        QTest::keyClick(casella(f.get(), "Text1"), Qt::Key_Return);
        QCOMPARE(beep(), 0);
        QCOMPARE(f->ModoIngrediente, 1);
        QVERIFY(ingredienti().isEmpty());
    }

    void ingredients_addThenDeleteLeavesOnlyDeleteAndClose()
    {
        libro->ingrediente("Farina");
        libro->ingrediente("Uova");
        auto f = apri<Ingredienti>();
        pulsante(f.get(), "cmdInserisci")->click();
        pulsante(f.get(), "cmdCancella")->click();
        QVERIFY(!casella(f.get(), "Text1")->isEnabled());
        QVERIFY(!pulsante(f.get(), "cmdInserisci")->isEnabled());
        QVERIFY(!pulsante(f.get(), "Command1")->isEnabled());
        QCOMPARE(ingredienti(), QStringList{"Uova"});
    }

    void ingredients_deleteRemovesTheLinesOfEveryRecipe()
    {
        const qint64 farina = libro->ingrediente("Farina");
        const qint64 uova = libro->ingrediente("Uova");
        const qint64 pane = libro->ricetta("Pane"), pasta = libro->ricetta("Pasta fresca");
        libro->riga(pane, farina, "500");
        libro->riga(pasta, farina, "0.25");
        libro->riga(pasta, uova, "3");
        auto f = apri<Ingredienti>();
        QCOMPARE(corrente(f.get()), QString("Farina"));
        pulsante(f.get(), "cmdCancella")->click();
        QCOMPARE(corrente(f.get()), QString("Uova"));
        QCOMPARE(libro->righe("SELECT IDRicetta, IDIngrediente FROM ingredienti_ricetta"),
                 (QList<QVariantList>{{pasta, uova}}));
        // The last row goes too; an empty table then ignores the buttons.
        pulsante(f.get(), "cmdCancella")->click();
        pulsante(f.get(), "cmdCancella")->click();
        pulsante(f.get(), "Command1")->click();
        QCOMPARE(f->ModoIngrediente, 0);
        QVERIFY(ingredienti().isEmpty());
        QVERIFY(libro->righe("SELECT * FROM ingredienti_ricetta").isEmpty());
    }
};

QTEST_MAIN(TstMasterdata)
#include "tst_masterdata.moc"
