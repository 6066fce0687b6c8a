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

#include <QCheckBox>
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

    // Our writes refresh the recipes they touched; another program's, the whole index.
    void segueIlLibro_data()
    {
        QTest::addColumn<bool>("altroProgramma");
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QString>("testo");
        QTest::addColumn<QString>("atteso");
        caso("edit", false, "UPDATE Ricette SET NomeRicetta = 'Torta di zucca' WHERE IDRicetta = 2",
             "zucca", "Torta di zucca");
        caso("recipe deleted", false, "DELETE FROM Ricette WHERE NomeRicetta = 'Frittata'",
             "sbattete", "");
        caso("ingredient deleted", false, "DELETE FROM Ingredienti WHERE Ingrediente = 'Pinoli'",
             "pinoli", "");
        caso("ingredient renamed", false,
             "UPDATE Ingredienti SET Ingrediente = 'Pistacchi' WHERE Ingrediente = 'Pinoli'",
             "pistacchi", "Zuppa al forno");
        caso("import", false,
             "INSERT INTO Ricette (NomeRicetta) VALUES ('Pesto');"
             "INSERT INTO ingredienti_ricetta (IDRicetta, IDIngrediente, Commenti) "
             "SELECT max(IDRicetta), IDIngrediente, 'tostati' FROM Ricette, Ingredienti "
             "WHERE Ingrediente = 'Pinoli'",
             "pinoli tostati", "Pesto");
        caso("another program", true,
             "UPDATE Ricette SET Note = 'Con basilico' WHERE NomeRicetta = 'Frittata'", "basilico",
             "Frittata");
    }
    void segueIlLibro()
    {
        QFETCH(bool, altroProgramma);
        QFETCH(QString, sql);
        QFETCH(QString, testo);
        QFETCH(QString, atteso);
        const std::shared_ptr<Database> db = Database::apri(libro->percorso());
        IndiceRicette indice(libro->percorso());
        indice.aggiorna(*db);
        if (altroProgramma) {
            libro->esegui(sql);
        } else {
            Database::Transazione t(*db);
            for (const QString &s : sql.split(';'))
                db->esegui(s);
            t.commit();
        }
        QCOMPARE(indice.stato(), altroProgramma ? IndiceRicette::Stato::DaRileggere
                                                : IndiceRicette::Stato::SoloNostre);
        indice.aggiorna(*db);
        QCOMPARE(nomi(indice.cerca(testo, {})), atteso);
    }

    void cosaCucino_data()
    {
        QTest::addColumn<QString>("dispensa");
        QTest::addColumn<QString>("atteso");
        caso("all at hand first", "zucchine, ricotta",
             "Torta di zucchine e ricotta 2/2|Frittata 1/2 manca Uova");
        caso("start of a name, capitals", " UOV ", "Frittata 1/2 manca Zucchine");
        caso("ties by name", "zucchine",
             "Frittata 1/2 manca Uova|Torta di zucchine e ricotta 1/2 manca Ricotta");
        caso("nothing known", "caviale", "");
    }
    void cosaCucino()
    {
        QFETCH(QString, dispensa);
        QFETCH(QString, atteso);
        IndiceRicette indice(libro->percorso());
        indice.aggiorna(*Database::apri(libro->percorso()));
        QCOMPARE(nomi(indice.cosaCucino(dispensa.split(','), {})), atteso);
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
