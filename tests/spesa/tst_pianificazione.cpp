// Recipes into the shopping list and the week's menu from the windows a cook uses: the editor at
// the portions in its box, the recipe list's and the search window's selection, a drag onto a
// day of the week, the week into the list; all through the main window.
#include "cerca/cerca.h"
#include "elenco/elenco.h"
#include "libro.h"
#include "principale.h"
#include "scripteddialogs.h"
#include "shell/menu.h"
#include "spesa/archivio.h"
#include "spesa/menusettimana.h"
#include "spesa/spesa.h"
#include "toolkit/applicazione.h"

#include <QAbstractItemView>
#include <QAction>
#include <QCompleter>
#include <QDir>
#include <QDrag>
#include <QDropEvent>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTableView>
#include <QTableWidget>
#include <QTest>
#include <QTreeWidget>

using namespace Applicazione;

class TstPianificazione : public QObject
{
    Q_OBJECT

    std::unique_ptr<LibroDiProva> libro;
    std::unique_ptr<ScriptedDialogs> dialoghi;
    std::unique_ptr<Menu> menu;
    QString prima;
    qint64 lasagne = 0, minestrone = 0, torta = 0;

    template <class T> static T *w(QWidget *f, const char *nome)
    {
        T *c = f->findChild<T *>(nome);
        if (!c)
            qFatal("no control %s", nome);
        return c;
    }
    template <class T> static T *finestra()
    {
        for (QWidget *t : QApplication::topLevelWidgets())
            if (auto *f = qobject_cast<T *>(t); f && f->isVisible())
                return f;
        return nullptr;
    }
    QString file() const { return ArchivioSpesa::percorsoPer(libro->percorso()); }
    QList<QVariantList> nelFile(const QString &sql) const
    {
        return LibroDiProva::righe(file(), sql);
    }
    static QStringList colonna(QTableWidget *t, int c)
    {
        QStringList r;
        for (int i = 0; i < t->rowCount(); ++i)
            r << t->item(i, c)->text();
        return r;
    }
    static QStringList voci(QTreeWidget *t)
    {
        QStringList r;
        for (int i = 0; i < t->topLevelItemCount(); ++i)
            for (int j = 0; j < t->topLevelItem(i)->childCount(); ++j)
                r << t->topLevelItem(i)->child(j)->text(0);
        return r;
    }
    // Rows da to a selected as the mouse does it: pressed on one, released on the other.
    static void seleziona(QTableView *griglia, int da, int a)
    {
        const auto centro = [&](int riga) {
            return griglia->visualRect(griglia->model()->index(riga, 0)).center();
        };
        QTest::mousePress(griglia->viewport(), Qt::LeftButton, {}, centro(da));
        QTest::mouseMove(griglia->viewport(), centro(a));
        QTest::mouseRelease(griglia->viewport(), Qt::LeftButton, {}, centro(a));
    }
    // The mouse pressed on a row and carried out of the list starts the list's own drag. The
    // headless platform ends a drag at once, dropping nothing: the drag's own data are then
    // delivered to the place as a platform delivers a drop, and the button is released there.
    static void trascina(QAbstractItemView *da, const QModelIndex &riga, QWidget *a)
    {
        const QPoint dove = da->visualRect(riga).center();
        QTest::mousePress(da->viewport(), Qt::LeftButton, {}, dove);
        QTest::mouseMove(da->viewport(), QPoint(-20, dove.y()));
        QDrag *drag = da->findChild<QDrag *>();
        QVERIFY2(drag, "no drag started");
        const QPointF qui = a->rect().center();
        QDragEnterEvent entra(qui.toPoint(), Qt::CopyAction, drag->mimeData(), Qt::LeftButton, {});
        QCoreApplication::sendEvent(a, &entra);
        QVERIFY(entra.isAccepted());
        QDropEvent lascia(qui, Qt::CopyAction, drag->mimeData(), Qt::LeftButton, {});
        QCoreApplication::sendEvent(a, &lascia);
        QVERIFY(lascia.isAccepted());
        QTest::mouseRelease(a, Qt::LeftButton, {}, qui.toPoint());
        delete drag;
    }

private slots:
    void init()
    {
        libro = std::make_unique<LibroDiProva>();
        dialoghi = std::make_unique<ScriptedDialogs>();
        const qint64 primi = libro->categoria("Primi piatti");
        const qint64 farina = libro->ingrediente("Farina 00"),
                     pomodori = libro->ingrediente("Pomodori"), uova = libro->ingrediente("Uova");
        lasagne = libro->ricetta("Lasagne", primi);
        libro->riga(lasagne, farina, "300", "g");
        libro->riga(lasagne, pomodori, "4");
        minestrone = libro->ricetta("Minestrone", primi);
        libro->riga(minestrone, pomodori, "2");
        torta = libro->ricetta("Torta della nonna", primi);
        libro->riga(torta, farina, "250", "g");
        libro->riga(torta, uova, "3");
        libro->esegui("UPDATE Ricette SET NumeroPorzioni = 4");
        QFile ini(QDir(libro->cartella()).filePath("Ricette.ini"));
        QVERIFY(ini.open(QIODevice::WriteOnly));
        ini.write(libro->percorso().toUtf8() + "\r\n");
        ini.close();
        prima = QDir::currentPath();
        QDir::setCurrent(libro->cartella());
        menu = std::make_unique<Menu>();
        menu->show();
        QVERIFY(QTest::qWaitForWindowExposed(menu.get()));
    }

    void cleanup()
    {
        QApplication::closeAllWindows();
        menu.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QDir::setCurrent(prima);
        QVERIFY2(dialoghi->tutteUsate(), "an answer queued for a dialog was not used");
        dialoghi.reset();
        libro.reset();
    }

    // Ctrl+L in the main window; the main window stays usable beside it.
    void ctrlL_apreLaListaLasciandoUsabileLaFinestraPrincipale()
    {
        QTest::keyClick(menu.get(), Qt::Key_L, Qt::ControlModifier);
        Spesa *spesa = finestra<Spesa>();
        QVERIFY(spesa);
        QCOMPARE(spesa->windowTitle(), "Lista della spesa");
        QVERIFY(menu->isEnabled());
        QTest::keyClick(menu.get(), Qt::Key_L, Qt::ControlModifier); // the same window
        QCOMPARE(finestra<Spesa>(), spesa);
        QTest::keyClick(menu.get(), Qt::Key_M, Qt::ControlModifier);
        QCOMPARE(finestra<MenuSettimana>()->windowTitle(), "Menù della settimana");
    }

    // The editor converted to 8 portions: "Aggiungi alla spesa" takes the recipe for 8.
    void editor_aggiungeLePorzioniDellaCasella()
    {
        w<QPushButton>(menu.get(), "Command1")->click();
        QWidget *editor = nullptr;
        for (QWidget *t : QApplication::topLevelWidgets())
            if (t->inherits("Ricette") && t->isVisible())
                editor = t;
        QVERIFY(editor);
        QCOMPARE(w<QLineEdit>(editor, "txtFields_1")->text(), "Lasagne");
        QTest::keyClicks(w<QLineEdit>(editor, "Text2"), "8");
        QTest::mouseClick(w<QPushButton>(editor, "Command5"), Qt::LeftButton);
        QCOMPARE(w<QLineEdit>(editor, "txtFields_8")->text(), "8");
        QTest::mouseClick(w<QPushButton>(editor, "cmdSpesa"), Qt::LeftButton);
        QCoreApplication::processEvents();

        Spesa *spesa = finestra<Spesa>();
        QVERIFY(spesa);
        auto *ricette = w<QTableWidget>(spesa, "Ricette");
        QCOMPARE(colonna(ricette, 0), QStringList{"Lasagne"});
        QCOMPARE(colonna(ricette, 1), QStringList{"8"});
        QCOMPARE(voci(w<QTreeWidget>(spesa, "Voci")),
                 QStringList({"Pomodori: 8", "Farina 00: 600 g"}));
        // The conversion was only shown: the book still has 4 portions.
        QCOMPARE(libro->valore("SELECT NumeroPorzioni FROM Ricette WHERE IDRicetta = ?", {lasagne})
                     .toInt(),
                 4);
    }

    // Three recipes selected with the mouse in the list window, then "Alla spesa".
    void elenco_selezionateAllaSpesa()
    {
        w<QPushButton>(menu.get(), "Command5")->click();
        Elenco *elenco = finestra<Elenco>();
        QVERIFY(elenco);
        QTest::mouseClick(w<QRadioButton>(elenco, "Option2"), Qt::LeftButton);
        auto *griglia = w<QTableView>(elenco, "Griglia");
        seleziona(griglia, 0, 2);
        QTest::mouseClick(w<QPushButton>(elenco, "Command6"), Qt::LeftButton);
        QCoreApplication::processEvents();

        Spesa *spesa = finestra<Spesa>();
        QVERIFY(spesa);
        QCOMPARE(colonna(w<QTableWidget>(spesa, "Ricette"), 0),
                 QStringList({"Lasagne", "Minestrone", "Torta della nonna"}));
        QCOMPARE(voci(w<QTreeWidget>(spesa, "Voci")),
                 QStringList({"Pomodori: 6", "Uova: 3", "Farina 00: 550 g"}));
    }

    // With the week open, the list window beside it: a recipe dragged onto Tuesday's dinner.
    void elenco_trascinataSulMenu()
    {
        QTest::keyClick(menu.get(), Qt::Key_M, Qt::ControlModifier);
        MenuSettimana *settimana = finestra<MenuSettimana>();
        QVERIFY(settimana && menu->isEnabled());
        w<QPushButton>(menu.get(), "Command5")->click();
        Elenco *elenco = finestra<Elenco>();
        QVERIFY(elenco);
        QVERIFY(QTest::qWaitForWindowExposed(elenco));
        QTest::mouseClick(w<QRadioButton>(elenco, "Option2"), Qt::LeftButton);
        auto *griglia = w<QTableView>(elenco, "Griglia");
        const QModelIndex minestra = griglia->model()->index(1, 0);
        QTest::mouseClick(griglia->viewport(), Qt::LeftButton, {},
                          griglia->visualRect(minestra).center());
        auto *cena = w<QLineEdit>(settimana, "Pasto_3");
        trascina(griglia, minestra, cena);

        QCOMPARE(cena->text(), "Minestrone");
        QCOMPARE(w<QSpinBox>(settimana, "Porzioni_3")->value(), 4);
        QCOMPARE(nelFile("SELECT giorno, pasto, IDRicetta, nome, porzioni FROM settimana"),
                 QList<QVariantList>({{1, 1, minestrone, "Minestrone", 4}}));
        // The list is as the cook left it: the row dragged is the current one.
        QCOMPARE(griglia->currentIndex().row(), 1);
    }

    // Three recipes dragged at once: the first on the place, the others in the free places after
    // it, never over a meal written; what finds no place is said.
    void elenco_piuRicetteNeiPostiLiberi()
    {
        QTest::keyClick(menu.get(), Qt::Key_M, Qt::ControlModifier);
        MenuSettimana *settimana = finestra<MenuSettimana>();
        auto *mercolediCena = w<QLineEdit>(settimana, "Pasto_5");
        QTest::keyClicks(mercolediCena, "Pizza fuori");
        QTest::keyClick(mercolediCena, Qt::Key_Return);
        w<QPushButton>(menu.get(), "Command5")->click();
        Elenco *elenco = finestra<Elenco>();
        QTest::mouseClick(w<QRadioButton>(elenco, "Option2"), Qt::LeftButton);
        auto *griglia = w<QTableView>(elenco, "Griglia");
        seleziona(griglia, 0, 2);
        trascina(griglia, griglia->model()->index(2, 0), w<QLineEdit>(settimana, "Pasto_4"));
        QCOMPARE(
            nelFile("SELECT giorno * 2 + pasto, nome FROM settimana ORDER BY 1"),
            QList<QVariantList>(
                {{4, "Lasagne"}, {5, "Pizza fuori"}, {6, "Minestrone"}, {7, "Torta della nonna"}}));
        // What was dragged stays selected; dragged again to Sunday's dinner, the last place.
        trascina(griglia, griglia->model()->index(1, 0), w<QLineEdit>(settimana, "Pasto_13"));
        QCOMPARE(w<QLineEdit>(settimana, "Pasto_13")->text(), "Lasagne");
        QCOMPARE(w<QLabel>(settimana, "lblAvviso")->text(),
                 "Nella settimana non c'è più un posto libero per: Minestrone, Torta della nonna.");
    }

    // From the search window's results, the same way; and its "Alla spesa".
    void cerca_trascinataSulMenuEAllaSpesa()
    {
        QTest::keyClick(menu.get(), Qt::Key_M, Qt::ControlModifier);
        MenuSettimana *settimana = finestra<MenuSettimana>();
        w<QPushButton>(menu.get(), "Command6")->click();
        Cerca *cerca = finestra<Cerca>();
        QVERIFY(cerca);
        QVERIFY(QTest::qWaitForWindowExposed(cerca));
        // The search runs on the window's own thread: wait for the results of the whole book.
        QSignalSpy mostrati(cerca, &Cerca::risultatiMostrati);
        QTest::keyClicks(w<QLineEdit>(cerca, "txtCerca"), "torta");
        while (mostrati.wait(20000) && !mostrati.last().value(0).toBool()) {
        }
        auto *risultati = w<QTreeWidget>(cerca, "Risultati");
        QCOMPARE(risultati->topLevelItemCount(), 1);
        const QModelIndex riga = risultati->model()->index(0, 0);
        QTest::mouseClick(risultati->viewport(), Qt::LeftButton, {},
                          risultati->visualRect(riga).center());
        trascina(risultati, riga, w<QLineEdit>(settimana, "Pasto_12"));
        QCOMPARE(w<QLineEdit>(settimana, "Pasto_12")->text(), "Torta della nonna");
        QCOMPARE(nelFile("SELECT giorno, pasto, IDRicetta FROM settimana"),
                 QList<QVariantList>({{6, 0, torta}}));

        QTest::mouseClick(w<QPushButton>(cerca, "cmdSpesa"), Qt::LeftButton);
        QCoreApplication::processEvents();
        QVERIFY(finestra<Spesa>());
        QCOMPARE(colonna(w<QTableWidget>(finestra<Spesa>(), "Ricette"), 0),
                 QStringList{"Torta della nonna"});
    }

    // A name typed and completed, a meal written by hand, then "Alla lista della spesa".
    void settimana_allaListaDellaSpesa()
    {
        QTest::keyClick(menu.get(), Qt::Key_M, Qt::ControlModifier);
        MenuSettimana *settimana = finestra<MenuSettimana>();
        QVERIFY(settimana);
        auto *pranzo = w<QLineEdit>(settimana, "Pasto_0");
        pranzo->setFocus();
        QTest::keyClicks(pranzo, "lasa");
        QAbstractItemView *proposte = pranzo->completer()->popup();
        QVERIFY(proposte->isVisible());
        QCOMPARE(proposte->model()->index(0, 0).data().toString(), "Lasagne");
        QTest::mouseClick(proposte->viewport(), Qt::LeftButton, {},
                          proposte->visualRect(proposte->model()->index(0, 0)).center());
        QCOMPARE(pranzo->text(), "Lasagne");
        auto *porzioni = w<QSpinBox>(settimana, "Porzioni_0");
        porzioni->setFocus();
        porzioni->selectAll();
        QTest::keyClicks(porzioni, "6");
        auto *cena = w<QLineEdit>(settimana, "Pasto_1");
        cena->setFocus();
        QTest::keyClicks(cena, "Pizza fuori");
        QTest::keyClick(cena, Qt::Key_Return);
        QCOMPARE(nelFile("SELECT giorno, pasto, IDRicetta, nome, porzioni FROM settimana"),
                 QList<QVariantList>(
                     {{0, 0, lasagne, "Lasagne", 6}, {0, 1, QVariant(), "Pizza fuori", 4}}));
        QVERIFY(cena->font().italic());

        QTest::mouseClick(w<QPushButton>(settimana, "cmdAllaSpesa"), Qt::LeftButton);
        QCoreApplication::processEvents();
        Spesa *spesa = finestra<Spesa>();
        QVERIFY(spesa);
        QCOMPARE(colonna(w<QTableWidget>(spesa, "Ricette"), 1), QStringList{"6"});
        QCOMPARE(voci(w<QTreeWidget>(spesa, "Voci")),
                 QStringList({"Pomodori: 6", "Farina 00: 450 g"}));
        QCOMPARE(w<QLabel>(settimana, "lblAvviso")->text(),
                 "Non sono ricette del ricettario e non sono nella lista: Pizza fuori.");

        dialoghi->rispondi(Dialogs::Si);
        QTest::mouseClick(w<QPushButton>(settimana, "cmdNuova"), Qt::LeftButton);
        QCOMPARE(dialoghi->visti(),
                 QStringList{"Menù della settimana: Cancellare il menù di tutta la settimana?"});
        QVERIFY(pranzo->text().isEmpty());
        QVERIFY(nelFile("SELECT * FROM settimana").isEmpty());
    }
};

PENTOLONE_TEST_MAIN(TstPianificazione)
#include "tst_pianificazione.moc"
