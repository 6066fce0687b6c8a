// The content search: what a search finds and in which order, the index following the book,
// "Cosa cucino con...", the window opening the editor on a result, and the print preview.
#include "caso.h"
#include "cerca/cerca.h"
#include "cerca/indice.h"
#include "elenco/elenco.h"
#include "libro.h"
#include "principale.h"
#include "scripteddialogs.h"
#include "shell/menu.h"
#include "storage/database.h"
#include "superficieregistrata.h"
#include "toolkit/applicazione.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QCompleter>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>
#include <QTreeWidget>

using namespace Applicazione;

class TstCerca : public QObject
{
    Q_OBJECT

    std::unique_ptr<LibroDiProva> libro;
    std::unique_ptr<ScriptedDialogs> dialoghi;
    qint64 primi = 0, torta = 0;

    QString nomi(const QList<IndiceRicette::Risultato> &r) const
    {
        QStringList n;
        for (const IndiceRicette::Risultato &x : r)
            n << x.nome + (x.righe ? QStringLiteral(" %1/%2").arg(x.coperte).arg(x.righe) : "") +
                     (x.mancanti.isEmpty() ? "" : " manca " + x.mancanti.join(","));
        return n.join('|');
    }
    template <class T> static T *w(QWidget *f, const char *nome) { return f->findChild<T *>(nome); }
    // Types into the search box as a cook does, and waits for the results of what was typed
    // (the search runs on the window's own thread), those of the whole book unless told.
    static bool digita(Cerca *c, const QString &testo, bool completi = true)
    {
        QSignalSpy mostrati(c, &Cerca::risultatiMostrati);
        QTest::keyClicks(w<QLineEdit>(c, "txtCerca"), testo);
        while (mostrati.wait(20000))
            if (!completi || mostrati.last().value(0).toBool())
                return true;
        return false;
    }

private slots:
    void init()
    {
        libro = std::make_unique<LibroDiProva>();
        dialoghi = std::make_unique<ScriptedDialogs>();
        primi = libro->categoria("Primi piatti");
        const qint64 uova = libro->categoria("Uova e verdure");
        const qint64 zucchine = libro->ingrediente("Zucchine"),
                     ricotta = libro->ingrediente("Ricotta"), ovo = libro->ingrediente("Uova"),
                     pinoli = libro->ingrediente("Pinoli");
        const qint64 ragu = libro->ricetta("Ragù alla bolognese", primi);
        libro->riga(ragu, libro->ingrediente("Carne macinata"));
        libro->esegui("UPDATE Ricette SET Istruzioni = 'Cuocete a fuoco lento per tre ore.' "
                      "WHERE IDRicetta = ?",
                      {ragu});
        torta = libro->ricetta("Torta di zucchine e ricotta", uova, true);
        libro->riga(torta, zucchine, "2", "a rondelle");
        libro->riga(torta, ricotta);
        libro->esegui(
            "UPDATE Ricette SET Note = 'Della nonna: cotta al forno.' WHERE IDRicetta = ?",
            {torta});
        const qint64 frittata = libro->ricetta("Frittata", uova, true);
        libro->riga(frittata, ovo, "4", "sbattute");
        libro->riga(frittata, zucchine);
        libro->esegui("UPDATE Ricette SET Istruzioni = 'Sbattete l''uovo con il sale.', "
                      "Utensili = 'Padella antiaderente' WHERE IDRicetta = ?",
                      {frittata});
        const qint64 zuppa = libro->ricetta("Zuppa al forno", primi);
        libro->riga(zuppa, pinoli);
        libro->esegui("UPDATE Ricette SET DescrizioneRicetta = 'Pane raffermo e ricotta' "
                      "WHERE IDRicetta = ?",
                      {zuppa});
        // Its texts say "frittata" more often than the recipe so named.
        const qint64 strapazzate = libro->ricetta("Uova strapazzate", uova, true);
        libro->riga(strapazzate, libro->ingrediente("Burro"), "1", "come per la frittata");
        libro->esegui("UPDATE Ricette SET DescrizioneRicetta = 'Una frittata mancata', "
                      "Istruzioni = 'Come la frittata, ma la frittata si rompe.', "
                      "Note = 'Frittata? Frittata!', Utensili = 'Padella da frittata' "
                      "WHERE IDRicetta = ?",
                      {strapazzate});
        RicettarioCorrente = libro->percorso();
        // The indexes a test makes stay in its own folder.
        qputenv("XDG_CACHE_HOME", QDir(libro->cartella()).filePath("cache").toUtf8());
    }
    void cleanup()
    {
        const bool usate = dialoghi->tutteUsate();
        dialoghi.reset();
        libro.reset();
        QVERIFY2(usate, "a scripted answer was not used");
    }

    void cerca_data()
    {
        QTest::addColumn<QString>("testo");
        QTest::addColumn<bool>("vegetariane");
        QTest::addColumn<bool>("soloPrimi");
        QTest::addColumn<QString>("atteso");
        const QString tortaZuppa = "Torta di zucchine e ricotta|Zuppa al forno";
        caso("no accents", "ragu", false, false, "Ragù alla bolognese");
        caso("capitals, accents", "RAGÙ BOLOGNESE", false, false, "Ragù alla bolognese");
        caso("word start, name first", "zucc", false, false,
             "Torta di zucchine e ricotta|Frittata");
        caso("name matches first", "frittata", false, false, "Frittata|Uova strapazzate");
        caso("every word", "ricotta zucchine", false, false, "Torta di zucchine e ricotta");
        caso("phrase", "\"al forno\"", false, false, "Zuppa al forno|Torta di zucchine e ricotta");
        caso("phrase in order", "\"forno al\"", false, false, "");
        caso("excluded", "forno -zuppa", false, false, "Torta di zucchine e ricotta");
        caso("apostrophe", "l'uovo", false, false, "Frittata");
        caso("lines and utensils", "antiaderente sbattute", false, false, "Frittata");
        caso("vegetarian", "ricotta", true, false, "Torta di zucchine e ricotta");
        caso("category", "ricotta", false, true, "Zuppa al forno");
        caso("AND", "AND", false, false, "");
        caso("NEAR(", "NEAR(", false, false, "");
        caso("star", "ricotta*", false, false, tortaZuppa);
        caso("lone star and dash", "* ricotta -", false, false, tortaZuppa);
        caso("unbalanced quote", "\"ricotta", false, false, tortaZuppa);
        caso("SQL", "'; DROP TABLE Ricette; --", false, false, "");
    }
    void cerca()
    {
        QFETCH(QString, testo);
        QFETCH(bool, vegetariane);
        QFETCH(bool, soloPrimi);
        QFETCH(QString, atteso);
        IndiceRicette indice(libro->percorso());
        indice.aggiorna(*Database::apri(libro->percorso()));
        QCOMPARE(nomi(indice.cerca(testo, {vegetariane, soloPrimi ? primi : 0})), atteso);
        QCOMPARE(libro->valore("SELECT count(*) FROM Ricette").toInt(), 5);
    }

    // Our writes refresh the recipes they touched; another program's, or another file put in
    // the book's place (even with SQLite's count of commits unchanged, or older), a comparison
    // of every recipe.
    void segueIlLibro_data()
    {
        QTest::addColumn<QString>("come"); // "nostro", "altro", "stesso contatore", "copia vecchia"
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QString>("testo");
        QTest::addColumn<QString>("atteso");
        QTest::addColumn<QString>("categoria"); // of the first result; empty: not looked at
        caso("edit", "nostro",
             "UPDATE Ricette SET NomeRicetta = 'Torta di zucca' WHERE IDRicetta = 2", "zucca",
             "Torta di zucca", "");
        caso("recipe deleted", "nostro", "DELETE FROM Ricette WHERE NomeRicetta = 'Frittata'",
             "sbattete", "", "");
        caso("ingredient deleted", "nostro", "DELETE FROM Ingredienti WHERE Ingrediente = 'Pinoli'",
             "pinoli", "", "");
        caso("ingredient renamed", "nostro",
             "UPDATE Ingredienti SET Ingrediente = 'Pistacchi' WHERE Ingrediente = 'Pinoli'",
             "pistacchi", "Zuppa al forno", "");
        caso(
            "ingredient of two recipes renamed", "nostro",
            "UPDATE Ingredienti SET Ingrediente = 'Zucchina romana' WHERE Ingrediente = 'Zucchine'",
            "romana", "Frittata|Torta di zucchine e ricotta", "");
        caso("line edited alone", "nostro",
             "UPDATE ingredienti_ricetta SET Commenti = 'tostati' WHERE IDIngrediente = "
             "(SELECT IDIngrediente FROM Ingredienti WHERE Ingrediente = 'Pinoli')",
             "tostati", "Zuppa al forno", "");
        caso("line moved to another recipe", "nostro",
             "UPDATE ingredienti_ricetta SET IDRicetta = (SELECT IDRicetta FROM Ricette WHERE "
             "NomeRicetta = 'Frittata') WHERE IDIngrediente = (SELECT IDIngrediente FROM "
             "Ingredienti WHERE Ingrediente = 'Pinoli')",
             "pinoli", "Frittata", "");
        caso("category renamed", "nostro",
             "UPDATE \"Categorie alimentari\" SET CategoriaAlimentare = 'Primi' "
             "WHERE CategoriaAlimentare = 'Primi piatti'",
             "ragu", "Ragù alla bolognese", "Primi");
        caso("import", "nostro",
             "INSERT INTO Ricette (NomeRicetta) VALUES ('Pesto');"
             "INSERT INTO ingredienti_ricetta (IDRicetta, IDIngrediente, Commenti) "
             "SELECT max(IDRicetta), IDIngrediente, 'tostati' FROM Ricette, Ingredienti "
             "WHERE Ingrediente = 'Pinoli'",
             "pinoli tostati", "Pesto", "");
        caso("another program", "altro",
             "UPDATE Ricette SET Note = 'Con basilico' WHERE NomeRicetta = 'Frittata'", "basilico",
             "Frittata", "");
        caso("another program renames an ingredient", "altro",
             "UPDATE Ingredienti SET Ingrediente = 'Pistacchi' WHERE Ingrediente = 'Pinoli'",
             "pistacchi", "Zuppa al forno", "");
        caso("replaced, same count of commits", "stesso contatore",
             "UPDATE Ricette SET Note = 'Con basilico' WHERE NomeRicetta = 'Frittata'", "basilico",
             "Frittata", "");
        caso("an older copy put back", "copia vecchia",
             "UPDATE Ricette SET Note = 'Con basilico' WHERE NomeRicetta = 'Frittata'", "basilico",
             "", "");
    }
    void segueIlLibro()
    {
        QFETCH(QString, come);
        QFETCH(QString, sql);
        QFETCH(QString, testo);
        QFETCH(QString, categoria);
        const QString copia = QDir(libro->cartella()).filePath("Copia.mdb");
        QVERIFY(QFile::copy(libro->percorso(), copia));
        const auto sostituisci = [&](const QString &con) {
            // Written over, as a copy by hand does: the same file, other bytes.
            QFile da(con), a(libro->percorso());
            QVERIFY(da.open(QIODevice::ReadOnly) && a.open(QIODevice::WriteOnly));
            a.write(da.readAll());
        };
        if (come == "stesso contatore") {
            // The copy and the book each take one commit: the same count, other recipes.
            LibroDiProva::righe(copia, sql);
            libro->esegui("UPDATE \"Categorie alimentari\" SET CategoriaAlimentare = 'Uova' "
                          "WHERE CategoriaAlimentare = 'Uova e verdure'");
        } else if (come == "copia vecchia") {
            libro->esegui(sql);
        }
        const std::shared_ptr<Database> db = Database::apri(libro->percorso());
        IndiceRicette indice(libro->percorso());
        indice.aggiorna(*db);
        if (come == "nostro") {
            Database::Transazione t(*db);
            for (const QString &s : sql.split(';'))
                db->esegui(s);
            t.commit();
        } else if (come == "altro") {
            libro->esegui(sql);
        } else {
            db->Close();
            sostituisci(copia);
        }
        QCOMPARE(indice.stato(), come == "nostro" ? IndiceRicette::Stato::SoloNostre
                                                  : IndiceRicette::Stato::DaRileggere);
        indice.aggiorna(*Database::apri(libro->percorso()));
        QCOMPARE(indice.stato(), IndiceRicette::Stato::Fedele);
        const QList<IndiceRicette::Risultato> trovate = indice.cerca(testo, {});
        QTEST(nomi(trovate), "atteso");
        if (!categoria.isEmpty())
            QCOMPARE(trovate.value(0).categoria, categoria);
    }

    // Besides the recipes of every test, a minestrone of three lines (one of zucchine) and a
    // parmigiana of five (two of zucchine, two of aubergines): missing two and three.
    void cosaCucino_data()
    {
        QTest::addColumn<QString>("dispensa");
        QTest::addColumn<bool>("vegetariane");
        QTest::addColumn<QString>("atteso");
        const QString zucchine = "Frittata 1/2 manca Uova|Torta di zucchine e ricotta 1/2 manca "
                                 "Ricotta|Minestrone 1/3 manca Fagioli,Sedano|Parmigiana 2/5 "
                                 "manca Melanzane,Basilico";
        caso("all at hand first", "zucchine, ricotta", false,
             "Torta di zucchine e ricotta 2/2|Frittata 1/2 manca Uova|Minestrone 1/3 manca "
             "Fagioli,Sedano|Parmigiana 2/5 manca Melanzane,Basilico");
        caso("start of a name, capitals", " UOV ", false, "Frittata 1/2 manca Zucchine");
        caso("one or many: uovo is Uova", "uovo", false, "Frittata 1/2 manca Zucchine");
        caso("accents and capitals", "RICÒTTA", false,
             "Torta di zucchine e ricotta 1/2 manca Zucchine");
        caso("fewest missing first, ties by name", "zucchine", false, zucchine);
        caso("a comma at the end", "zucchine,", false, zucchine);
        caso("vegetarian only", "zucchine", true,
             "Frittata 1/2 manca Uova|Torta di zucchine e ricotta 1/2 manca Ricotta");
        caso("nothing known", "caviale", false, "");
    }
    void cosaCucino()
    {
        QFETCH(QString, dispensa);
        QFETCH(bool, vegetariane);
        const qint64 zucchine = libro
                                    ->valore("SELECT IDIngrediente FROM Ingredienti WHERE "
                                             "Ingrediente = 'Zucchine'")
                                    .toLongLong();
        const qint64 minestrone = libro->ricetta("Minestrone");
        for (const qint64 i :
             {zucchine, libro->ingrediente("Fagioli"), libro->ingrediente("Sedano")})
            libro->riga(minestrone, i);
        const qint64 parmigiana = libro->ricetta("Parmigiana");
        const qint64 melanzane = libro->ingrediente("Melanzane");
        for (const qint64 i :
             {melanzane, zucchine, melanzane, zucchine, libro->ingrediente("Basilico")})
            libro->riga(parmigiana, i);
        IndiceRicette indice(libro->percorso());
        indice.aggiorna(*Database::apri(libro->percorso()));
        QTEST(nomi(indice.cosaCucino(dispensa.split(','), {vegetariane, 0})), "atteso");
    }

    // A search matching more recipes than are ranked lists them in the book's order: its work
    // stays bounded whatever the book.
    void cerca_oltreLeClassificabili_data()
    {
        QTest::addColumn<int>("altre"); // recipes that say it once, added before the one that
                                        // says it most
        QTest::addColumn<QString>("prima");
        caso("ranked", IndiceRicette::Classificabili - 1, "Sformato di sformato");
        caso("too many to rank", IndiceRicette::Classificabili, "Sformato 1");
    }
    void cerca_oltreLeClassificabili()
    {
        QFETCH(int, altre);
        libro->esegui("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < ?) "
                      "INSERT INTO Ricette (NomeRicetta) SELECT 'Sformato ' || i FROM n",
                      {altre});
        libro->ricetta("Sformato di sformato");
        IndiceRicette indice(libro->percorso());
        indice.aggiorna(*Database::apri(libro->percorso()));
        QTEST(indice.cerca("sformato", {}, 10).value(0).nome, "prima");
    }

    // What is typed becomes at most 30 terms of at most 40 letters: a pasted page asks no more
    // work than a cook's words, and no text can make the parsing loop.
    void domanda_data()
    {
        QTest::addColumn<QString>("testo");
        QTest::addColumn<QStringList>("presenti");
        QTest::addColumn<QStringList>("assenti");
        QTest::addColumn<bool>("ridotta");
        QString pagina;
        for (int i = 0; pagina.size() < 10000; ++i)
            pagina += QStringLiteral("pomodoro%1 ").arg(i);
        QStringList trenta;
        for (int i = 0; i < 30; ++i)
            trenta << QStringLiteral("pomodoro%1").arg(i);
        caso("a pasted page", pagina, trenta, QStringList{}, true);
        caso("a long word cut", QString(50, 'a') + " b", QStringList{QString(40, 'a'), "b"},
             QStringList{}, true);
        caso("a word said again is looked for once", "Pomodoro pomodoro POMODORO sugo",
             QStringList{"Pomodoro", "sugo"}, QStringList{}, false);
        caso("NUL and tabs part words", QString("pomo") + QChar(0) + "doro\tsugo",
             QStringList{"pomo", "doro", "sugo"}, QStringList{}, false);
        caso("phrase and exclusion", "\"al forno\" -funghi pasta", QStringList{"al forno", "pasta"},
             QStringList{"funghi"}, false);
        caso("an unbalanced quote runs to the end", "\"ricotta e", QStringList{"ricotta e"},
             QStringList{}, false);
        caso("quotes alone", QString(5000, '"'), QStringList{}, QStringList{}, false);
        caso("dashes and quotes", QString("-\"").repeated(3000), QStringList{}, QStringList{},
             false);
    }
    void domanda()
    {
        QFETCH(QString, testo);
        const Domanda d = Domanda::di(testo);
        QTEST(d.presenti, "presenti");
        QTEST(d.assenti, "assenti");
        QTEST(d.ridotta, "ridotta");
        // Words found by their start: all but phrases, or only the last of a long text.
        QCOMPARE(d.espressione().count("\"*"),
                 d.presenti.size() + d.assenti.size() > Domanda::PerInizio ? 1
                                                                           : d.frasi.count(false));
        // Searched, it finds what the words find, and never fails.
        IndiceRicette indice(libro->percorso());
        indice.aggiorna(*Database::apri(libro->percorso()));
        indice.cerca(d, {});
    }

    // From the main window's launcher to the editor on the recipe found, as a cook goes.
    void finestra_apreLEditorSullaRicetta()
    {
        QFile ini(QDir(libro->cartella()).filePath("Ricette.ini"));
        QVERIFY(ini.open(QIODevice::WriteOnly));
        ini.write(libro->percorso().toUtf8() + "\r\n");
        ini.close();
        const QString prima = QDir::currentPath();
        QDir::setCurrent(libro->cartella());
        Menu menu;
        menu.show();
        w<QPushButton>(&menu, "Command6")->click();
        Cerca *cerca = nullptr;
        for (QWidget *t : QApplication::topLevelWidgets())
            if (auto *c = qobject_cast<Cerca *>(t))
                cerca = c;
        QVERIFY(cerca && !menu.isEnabled());
        QCOMPARE(cerca->windowTitle(), "Cerca Ricette");
        QVERIFY(digita(cerca, "zucc"));
        auto *risultati = w<QTreeWidget>(cerca, "Risultati");
        QCOMPARE(risultati->topLevelItemCount(), 2);
        QCOMPARE(risultati->topLevelItem(0)->text(3), "Zucchine a rondelle; Ricotta");
        QCOMPARE(w<QLabel>(cerca, "Label3")->text(), "2 ricette trovate");
        QTest::keyClick(risultati, Qt::Key_Return);
        QPointer<QWidget> editor;
        for (QWidget *t : QApplication::topLevelWidgets())
            if (t->inherits("Ricette") && t->isVisible())
                editor = t;
        QVERIFY(editor);
        QCOMPARE(w<QLineEdit>(editor, "txtFields_1")->text(), "Torta di zucchine e ricotta");

        w<QRadioButton>(cerca, "optDispensa")->click();
        QVERIFY(digita(cerca, "uova"));
        QCOMPARE(risultati->topLevelItem(0)->text(3), "1 di 2 - manca: Zucchine");
        QTest::keyClick(risultati, Qt::Key_Return); // the same editor, moved
        QCOMPARE(w<QLineEdit>(editor, "txtFields_1")->text(), "Frittata");

        cerca->close(); // the editor goes first
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!editor);
        QDir::setCurrent(prima);
    }

    // What the window says of the results: how many, whether all, whether words were left out.
    void finestra_conteggio_data()
    {
        QTest::addColumn<int>("sformati"); // recipes named so, added to the book
        QTest::addColumn<QString>("testo");
        QTest::addColumn<QString>("detto");
        caso("one", 0, "ragu", "1 ricetta trovata");
        caso("none", 0, "caviale", "Nessuna ricetta trovata");
        caso("exactly the most shown", 200, "sformato", "200 ricette trovate");
        caso("more than shown", 201, "sformato", "Le prime 200 ricette trovate");
        caso("words left out", 0, QString("ragu ") + QString(60, 'x'),
             "Nessuna ricetta trovata - cercate solo le prime 30 parole, di 40 lettere al più");
    }
    void finestra_conteggio()
    {
        QFETCH(int, sformati);
        QFETCH(QString, testo);
        for (int i = 0; i < sformati; ++i)
            libro->ricetta(QStringLiteral("Sformato %1").arg(i));
        Cerca cerca;
        cerca.show();
        QVERIFY(digita(&cerca, testo));
        QTEST(w<QLabel>(&cerca, "Label3")->text(), "detto");
        QCOMPARE(w<QTreeWidget>(&cerca, "Risultati")->topLevelItemCount(),
                 qMin(sformati, 200) + (testo == "ragu"));
    }

    // The window as a cook meets it: its keys, the extract as plain text, the category chosen
    // in the combo by its key, the completion of an ingredient, Esc.
    void finestra_comeLaUsaUnCuoco()
    {
        libro->esegui("UPDATE Ricette SET DescrizioneRicetta = 'Sale: meno di 5 < 7 grammi' "
                      "WHERE NomeRicetta = 'Frittata'");
        // Two categories of one name: the combo's choice is by key.
        const qint64 altri = libro->categoria("Primi piatti");
        libro->ricetta("Zuppa di grammi", altri);
        Cerca cerca;
        cerca.show();
        cerca.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&cerca));
        QVERIFY(digita(&cerca, "grammi"));
        auto *risultati = w<QTreeWidget>(&cerca, "Risultati");
        QCOMPARE(risultati->topLevelItem(1)->text(0), "Frittata");
        QCOMPARE(risultati->topLevelItem(1)->text(3), "Sale: meno di 5 < 7 grammi");
        auto *lista = w<QComboBox>(&cerca, "Lista");
        QSignalSpy mostrati(&cerca, &Cerca::risultatiMostrati);
        const int ultima = lista->findData(altri);
        QVERIFY(ultima > 0 && lista->itemText(ultima) == "Primi piatti");
        QTest::mouseClick(lista, Qt::LeftButton); // the popup opens
        QAbstractItemView *vista = lista->view();
        QVERIFY(vista->isVisible());
        QTest::keyClick(vista, Qt::Key_Home);
        for (int i = 0; i < ultima; ++i)
            QTest::keyClick(vista, Qt::Key_Down);
        QTest::keyClick(vista, Qt::Key_Return);
        QVERIFY(mostrati.wait(20000));
        QVERIFY(!vista->isVisible());
        QCOMPARE(risultati->topLevelItemCount(), 1);
        QCOMPARE(risultati->topLevelItem(0)->text(0), "Zuppa di grammi");
        // Each key its control: Alt+C the box, again and again; Alt+U "Cosa cucino con...".
        cerca.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&cerca));
        for (int i = 0; i < 2; ++i) {
            QTest::keyClick(cerca.windowHandle(), Qt::Key_C, Qt::AltModifier);
            QCOMPARE(QApplication::focusWidget(), w<QLineEdit>(&cerca, "txtCerca"));
        }
        QTest::keyClick(cerca.windowHandle(), Qt::Key_U, Qt::AltModifier);
        QCOMPARE(QApplication::focusWidget(), w<QRadioButton>(&cerca, "optDispensa"));
        QTest::mouseClick(w<QRadioButton>(&cerca, "optDispensa"), Qt::LeftButton);
        QVERIFY(w<QLineEdit>(&cerca, "txtCerca")->hasFocus());
        QTest::keyClicks(w<QLineEdit>(&cerca, "txtCerca"), "zuc");
        auto *completamento = cerca.findChild<QCompleter *>();
        QVERIFY(completamento && completamento->popup()->isVisible());
        QTest::keyClick(completamento->popup(), Qt::Key_Down);
        QTest::keyClick(completamento->popup(), Qt::Key_Return);
        QCOMPARE(w<QLineEdit>(&cerca, "txtCerca")->text(), "Zucchine, ");
        QTest::keyClick(w<QLineEdit>(&cerca, "txtCerca"), Qt::Key_Escape);
        QVERIFY(!cerca.isVisible());
    }

    // Another book made current: the window searches that one, not the index of the last.
    void finestra_altroRicettario()
    {
        {
            Cerca cerca;
            cerca.show();
            QVERIFY(digita(&cerca, "frittata"));
        }
        LibroDiProva altro;
        altro.ricetta("Frittata di maccheroni");
        RicettarioCorrente = altro.percorso();
        Cerca cerca;
        cerca.show();
        QVERIFY(digita(&cerca, "frittata"));
        QCOMPARE(w<QTreeWidget>(&cerca, "Risultati")->topLevelItem(0)->text(0),
                 "Frittata di maccheroni");
        QCOMPARE(w<QTreeWidget>(&cerca, "Risultati")->topLevelItemCount(), 1);
    }

    // A book that can no longer be read while the cook types: said once, not at every key.
    void finestra_libroIlleggibileDettoUnaVolta()
    {
        Cerca cerca;
        cerca.show();
        QVERIFY(digita(&cerca, "z"));
        QFile file(libro->percorso());
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(QByteArray(8192, 'x'));
        file.close();
        dialoghi->rispondi(Dialogs::OK);
        QVERIFY(digita(&cerca, "ucc", false));
        QTRY_COMPARE_WITH_TIMEOUT(dialoghi->visti(),
                                  QStringList{"Cerca Ricette: Il file '" + libro->percorso() +
                                              "' non è un ricettario di Pentolone valido."},
                                  20000);
        QVERIFY(digita(&cerca, "h", false));
        QCOMPARE(dialoghi->visti().size(), 1);
    }

    // The preview draws the pages the printer then gets, footers included.
    void anteprima_comeLaStampa()
    {
        SuperficieRegistrata carta;
        Elenco elenco;
        elenco.show();
        w<QRadioButton>(&elenco, "Option2")->click();
        w<QCheckBox>(&elenco, "chkAnteprima")->setChecked(true);
        dialoghi->rispondiAnteprima(true).rispondiStampa(1);
        w<QPushButton>(&elenco, "Command4")->click();
        QCOMPARE(dialoghi->di("anteprima").size(), 1);
        QCOMPARE(carta.documenti, 10);
        QStringList vista, stampata;
        for (const SuperficieRegistrata::Testo &t : carta.testi)
            (t.documento < 5 ? vista : stampata)
                << QString("%1 %2 %3").arg(t.pagina).arg(t.y).arg(t.testo);
        QCOMPARE(vista, stampata);
    }
};

PENTOLONE_TEST_MAIN(TstCerca)
#include "tst_cerca.moc"
