#include "caso.h"
#include "editore.h"
#include "principale.h"
#include "superficieregistrata.h"

#include "storage/database.h"

#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <QScrollBar>
#include <QStyleOptionComboBox>
#include <QTextBlock>

// The editor window itself: opening, moves, the category combo, the recipe list, the boxes.
class TstFinestra : public ProvaEditor
{
    Q_OBJECT

    qint64 primi = 0, dolci = 0, crostata = 0, lasagne = 0, zuppa = 0;

    const QString messaggioLungo =
        righe({"La categoria alimentare della ricetta richiesta",
               "non è più presente o è stata modificata.", "Si consiglia di scegliere l'adeguata",
               "categoria Alimentare tra quelle disponibili", "o di inserirne una nuova dalla",
               "procedura Categorie alimentari del Menu principale."});

private slots:
    void init()
    {
        preparaProva();
        primi = libro->categoria("Primi");
        dolci = libro->categoria("Dolci");
        crostata = libro->ricetta("Crostata", dolci, true);
        lasagne = libro->ricetta("Lasagne", primi);
        zuppa = libro->ricetta("Zuppa", 99); // its category is gone
    }
    void cleanup() { chiudiProva(); }

    // A recipe whose category is gone: the short message at opening, the long one whenever a
    // box changes later; picking a category ends it.
    void missingCategory_isSaidAndThePickedOneStored_data()
    {
        QTest::addColumn<bool>("allApertura");
        QTest::newRow("at opening") << true;
        QTest::newRow("after a move") << false;
    }
    void missingCategory_isSaidAndThePickedOneStored()
    {
        QFETCH(bool, allApertura);
        // Many boxes change with the move: the window says it once, not once a box.
        libro->esegui("UPDATE Ricette SET TipoPasto = 'Cena', TempoPreparazione = '1 ora', "
                      "CaloriePerPorzione = 300, Note = 'Calda' WHERE IDRicetta = ?",
                      {zuppa});
        if (allApertura)
            libro->esegui("UPDATE Ricette SET NomeRicetta = 'Antipasto' WHERE IDRicetta = ?",
                          {zuppa});
        dialoghi->rispondi(Dialogs::OK);
        apri();
        if (!allApertura)
            barra("ultimo");
        const QString breve = "La categoria alimentare impostata non è più presente o è stata "
                              "modificata";
        QCOMPARE(visti(), QStringList{"Attenzione: " + (allApertura ? breve : messaggioLungo)});
        QCOMPARE(dialoghi->messaggi().value(0).icona, int(Dialogs::Critica));
        QCOMPARE(w<QComboBox>("Lista")->currentIndex(), -1);
        // Each key typed in a box says it again.
        dialoghi->rispondi(Dialogs::OK);
        scrivi(w("txtFields_3"), "x");
        QCOMPARE(visti().value(1), "Attenzione: " + messaggioLungo);
        w<QComboBox>("Lista")->setCurrentIndex(0);
        emit w<QComboBox>("Lista")->activated(0);
        scrivi(w("txtFields_3"), "y");
        QCOMPARE(visti().size(), 2);
        clic("cmdChiudi");
        QCOMPARE(colonna("IDCategoriaAlimentare", zuppa).toLongLong(), primi);
        QCOMPARE(colonna("Preparata_da", zuppa).toString(), QString("xy"));
    }

    void boxes_keepTheirRules_data()
    {
        QTest::addColumn<QString>("nome");
        QTest::addColumn<QString>("digitato");
        QTest::addColumn<QString>("atteso");
        QTest::addColumn<int>("beep");
        QTest::addColumn<bool>("messaggio");
        caso("portions, letters pasted", "txtFields_8", "incolla:12 persone", "4", 0, false);
        caso("portions, letters beep", "txtFields_8", "a1b", "1", 2, false);
        caso("calories, letters beep", "txtFields_9", "2x", "2", 1, false);
        caso("portions zero", "txtFields_8", "0", "4", 0, true);
        caso("portions zeros", "txtFields_8", "00", "4", 0, true);
        caso("portions empty", "txtFields_8", "", "4", 0, true);
        caso("name, capital first", "txtFields_1", " èrba", "Èrba", 0, false);
        // The quantity takes digits and one point.
        caso("quantity, a half", "Qta", "0.5", "0.5", 0, false);
        caso("quantity, second point", "Qta", "1.5.", "1.5", 1, false);
        caso("quantity, point deleted", "Qta", "1.\b.5", "1.5", 0, false);
        caso("quantity, comma and letters", "Qta", "1,a5", "15", 2, false);
    }
    void boxes_keepTheirRules()
    {
        QFETCH(QString, nome);
        QFETCH(QString, digitato);
        QFETCH(bool, messaggio);
        apri();
        auto *casella = w<QLineEdit>(qPrintable(nome));
        if (digitato.startsWith("incolla:")) {
            QGuiApplication::clipboard()->setText(digitato.mid(8));
            casella->setFocus();
            casella->selectAll();
            casella->paste();
        } else {
            casella->clear();
            scrivi(casella, digitato);
        }
        if (messaggio)
            dialoghi->rispondi(Dialogs::OK);
        esci();
        QTEST(casella->text(), "atteso");
        QTEST(ProvaEditor::beep(), "beep");
        QCOMPARE(visti(), messaggio ? QStringList{"Errore!: Il Numero Porzioni non può essere "
                                                  "uguale a Zero."}
                                    : QStringList{});
        QCOMPARE(dialoghi->messaggi().value(0).icona, int(Dialogs::NessunaIcona));
    }

    // A paragraph of many thousand characters is shown in pieces; the book gets back exactly
    // what it held, with a typed Enter as the one new line.
    void longText_comesBackAsStored_data()
    {
        // The keys go after this word, at the end, or at the start of the second piece.
        QTest::addColumn<QString>("dopo");
        QTest::addColumn<QString>("tasti");
        QTest::addColumn<QString>("aggiunto");
        caso("a key at the end", "", "x", "x");
        caso("Enter inside the paragraph", "PUNTO", "\n", "\r\n");
        caso("Backspace where it was cut", "taglio", "\b", "");
    }
    void longText_comesBackAsStored()
    {
        QFETCH(QString, dopo);
        QFETCH(QString, tasti);
        QFETCH(QString, aggiunto);
        const QString meta = QString("mescolare e cuocere ").repeated(300);
        const QString testo = "200\u00a0g di farina\r\n" + meta + "PUNTO " + meta +
                              QString(5000, QChar(0x00e8)) + "\r\n\r\nServire";
        libro->esegui("UPDATE Ricette SET Istruzioni = ? WHERE IDRicetta = ?", {testo, crostata});
        apri();
        auto *m = w<QPlainTextEdit>("txtFields_12");
        QVERIFY(m->blockCount() > 6); // in pieces, or Qt lays it out whole at every key
        QTextCursor c(m->document());
        if (dopo.isEmpty())
            c.movePosition(QTextCursor::End);
        else if (dopo == "taglio")
            c = QTextCursor(m->document()->findBlockByNumber(2));
        else
            c.setPosition(m->document()->find(dopo).position());
        m->setTextCursor(c);
        scrivi(m, tasti);
        barra("successivo");
        barra("precedente");
        const qsizetype punto = dopo.isEmpty() ? testo.size() : testo.indexOf(dopo) + dopo.size();
        QCOMPARE(colonna("Istruzioni", crostata).toString(),
                 QString(testo).insert(punto, aggiunto));
    }

    // The window opens on the first recipe. What the user typed is stored by the next move; the
    // portions only by a move that is not the navigation bar's, since the bar puts back the ones of
    // the last move.
    void move_storesTheEdits_data()
    {
        QTest::addColumn<QString>("via");
        QTest::addColumn<QString>("porzioni");
        caso("barra", "barra", "4");
        caso("lista", "lista", "6");
        caso("chiusura", "chiusura", "4");
    }
    void move_storesTheEdits()
    {
        QFETCH(QString, via);
        QFETCH(QString, porzioni);
        apri();
        // The opening shows the first recipe and fills the lists.
        QCOMPARE(didascalia(), QString("Ricetta N° 1"));
        QVERIFY(w<QCheckBox>("chkFields_6")->isChecked());
        QCOMPARE(voci("Lista"), (QStringList{"Primi", "Dolci"}));
        QCOMPARE(w<QComboBox>("Lista")->currentText(), QString("Dolci"));
        QCOMPARE(lista("ListaRicette")->currentRow(), 0);
        riscrivi("txtFields_1", "crostata di mele");
        riscrivi("txtFields_8", "6");
        w<QCheckBox>("chkFields_6")->click();
        if (via == "barra")
            barra("successivo");
        else if (via == "lista")
            clicVoce("ListaRicette", "Lasagne");
        else
            clic("cmdChiudi");
        QCOMPARE(colonna("NomeRicetta", crostata).toString(), QString("Crostata di mele"));
        QCOMPARE(colonna("NumeroPorzioni", crostata).toString(), porzioni);
        QCOMPARE(colonna("Vegetariana", crostata).toInt(), 0);
        if (via != "chiusura") {
            QCOMPARE(campo(1), QString("Lasagne"));
            QCOMPARE(didascalia(), QString("Ricetta N° 2"));
            QCOMPARE(lista("ListaRicette")->currentRow(), 1); // the list follows the bar
            QCOMPARE(voci("ListaRicette"), (QStringList{"Crostata di mele", "Lasagne", "Zuppa"}));
            QCOMPARE(finestra->cursor().shape(), Qt::ArrowCursor);
        }
    }

    void recipeList_jumpsOnlyToAnotherRecipe()
    {
        apri();
        int spostamenti = 0;
        connect(finestra->findChild<DataSource *>("datPrimaryRS"), &DataSource::Reposition, this,
                [&] { ++spostamenti; });
        clicVoce("ListaRicette", "Crostata");
        QCOMPARE(spostamenti, 0);
        // Deleted through the program's own book, as another window of it would.
        Database::apri(libro->percorso())
            ->esegui("DELETE FROM Ricette WHERE IDRicetta = ?", {lasagne});
        dialoghi->rispondi(Dialogs::OK);
        clicVoce("ListaRicette", "Lasagne");
        QCOMPARE(visti(), QStringList{"Attenzione: La Ricetta selezionata non è più presente o "
                                      "è stata modificata"});
        QCOMPARE(dialoghi->messaggi().value(0).icona, int(Dialogs::Critica));
        QCOMPARE(campo(1), QString("Crostata"));
    }

    // The printout shows a line's quantity as the grid does: a stored quantity with blanks
    // around it stays as it is, where the list window, which reads the book, trims it.
    void printout_quantityAsTheGridShowsIt_data()
    {
        QTest::addColumn<QString>("quantita");
        QTest::addColumn<QString>("stampata"); // line 16, name, quantity and comment
        caso("half", "0,5", "Burromezzo/a fuso");
        caso("blanks around", " 0,5 ", "Burro 0,5  fuso");
    }
    void printout_quantityAsTheGridShowsIt()
    {
        QFETCH(QString, quantita);
        libro->riga(crostata, libro->ingrediente("Burro"), quantita, "fuso");
        apri();
        QCOMPARE(righeGriglia().value(0).value(1), quantita);
        SuperficieRegistrata carta;
        dialoghi->rispondiStampa(1);
        clic("cmdStampa");
        QTEST(carta.riga(0, 1, 16), "stampata");
    }

    // On a small screen (1280x1024 at scale 2 is 640x512, less a title bar) five lines of the
    // grid, nothing to scroll sideways, and the short fields whole; at the smallest size the
    // window allows, the five lines still. Tab goes from the name to the description, past the
    // navigation bar beside it.
    void smallScreen_showsFiveLinesAndWholeFields_data()
    {
        QTest::addColumn<QSize>("dimensione"); // empty: the window's smallest
        QTest::addColumn<bool>("interi");      // the short fields show their whole text
        caso("scale 2 screen", QSize(640, 502), true);
        caso("smallest", QSize(), false);
    }
    void smallScreen_showsFiveLinesAndWholeFields()
    {
        QFETCH(QSize, dimensione);
        QFETCH(bool, interi);
        const qint64 zuppe = libro->categoria("Zuppe e minestre");
        libro->esegui("UPDATE Ricette SET Preparata_da = 'Salvatore Esposito', TipoPasto = "
                      "'Pranzo della domenica', TempoPreparazione = '1 ora e 15 minuti', "
                      "NumeroPorzioni = 12, CaloriePerPorzione = 1250, IDCategoriaAlimentare = ? "
                      "WHERE IDRicetta = ?",
                      {zuppe, crostata});
        for (const char *nome : {"Farina", "Burro", "Zucchero", "Uova", "Limone", "Sale"})
            libro->riga(crostata, libro->ingrediente(nome), "0,5", "per la frolla");
        apri();
        QVERIFY(finestra->minimumSizeHint().boundedTo(QSize(640, 502)) ==
                finestra->minimumSizeHint());
        finestra->setWindowState(Qt::WindowNoState);
        finestra->resize(dimensione.isValid() ? dimensione : finestra->minimumSizeHint());
        QCoreApplication::processEvents();

        FlexGrid *g = griglia();
        QVERIFY(!g->horizontalScrollBar()->isVisible());
        QVERIFY2(g->rowViewportPosition(4) + g->rowHeight(4) <= g->viewport()->height(),
                 "the fifth line is cut");
        // The room a box gives its text: its width less the frame, the margins and the caret.
        const auto spazio = [](QWidget *c, int larghezza) {
            return larghezza - 2 * c->style()->pixelMetric(QStyle::PM_DefaultFrameWidth) - 5;
        };
        for (const int i : {3, 4, 7, 8, 9}) {
            if (!interi)
                break;
            QLineEdit *e = casella(qPrintable(QStringLiteral("txtFields_%1").arg(i)));
            QVERIFY2(e->fontMetrics().horizontalAdvance(e->text()) <= spazio(e, e->width()),
                     qPrintable(e->text()));
        }
        QComboBox *c = w<QComboBox>("Lista");
        QStyleOptionComboBox opzioni;
        opzioni.initFrom(c);
        const QRect campo = c->style()->subControlRect(QStyle::CC_ComboBox, &opzioni,
                                                       QStyle::SC_ComboBoxEditField, c);
        QVERIFY2(!interi || c->fontMetrics().horizontalAdvance(c->currentText()) <=
                                spazio(c, campo.width()) + 5,
                 qPrintable(c->currentText()));

        casella("txtFields_1")->setFocus();
        QTest::keyClick(casella("txtFields_1"), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), casella("txtFields_2"));
    }

    // Another program (plain SQL on its own connection) writes the book while the editor shows
    // it: the moves, the search and the list show what the book holds at that moment.
    void anotherProgram_changesSeenAtTheNextStep_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QStringList>("passi"); // buttons of the bar, or "cerca:" and a text
        QTest::addColumn<QString>("nome");      // the name shown after the steps
        QTest::addColumn<QStringList>("elenco");
        const QStringList tre = {"Crostata", "Lasagne", "Zuppa"};
        caso("renamed while shown",
             "UPDATE Ricette SET NomeRicetta = 'Crostata di more' "
             "WHERE NomeRicetta = 'Crostata'",
             QStringList{"successivo", "precedente"}, "Crostata di more",
             QStringList{"Crostata di more", "Lasagne", "Zuppa"});
        caso("renamed, read ahead",
             "UPDATE Ricette SET NomeRicetta = 'Zuppa di farro' "
             "WHERE NomeRicetta = 'Zuppa'",
             QStringList{"ultimo"}, "Zuppa di farro",
             QStringList{"Crostata", "Lasagne", "Zuppa di farro"});
        caso("inserted, last", "INSERT INTO Ricette (NomeRicetta) VALUES ('Zuppa esterna')",
             QStringList{"ultimo"}, "Zuppa esterna", tre + QStringList{"Zuppa esterna"});
        caso("inserted, searched", "INSERT INTO Ricette (NomeRicetta) VALUES ('Zuppa esterna')",
             QStringList{"cerca:Zuppa e"}, "Zuppa esterna", tre + QStringList{"Zuppa esterna"});
        caso("deleted, passed", "DELETE FROM Ricette WHERE NomeRicetta = 'Lasagne'",
             QStringList{"successivo"}, "Zuppa", QStringList{"Crostata", "Zuppa"});
    }
    void anotherProgram_changesSeenAtTheNextStep()
    {
        QFETCH(QString, sql);
        QFETCH(QStringList, passi);
        libro->esegui("UPDATE Ricette SET IDCategoriaAlimentare = ? WHERE IDRicetta = ?",
                      {primi, zuppa});
        apri();
        libro->esegui(sql);
        for (const QString &p : passi) {
            if (p.startsWith("cerca:")) {
                scrivi(casella("Text3"), p.mid(6));
                clic("Command7");
            } else {
                barra(p.toLatin1().constData());
            }
        }
        QTEST(campo(1), "nome");
        QTEST(voci("ListaRicette"), "elenco");
        QCOMPARE(lista("ListaRicette")->currentItem()->text(), campo(1));
        QCOMPARE(visti(), QStringList{});
    }

    // Another program deletes the recipe shown: the cook is told when leaving it, printing it
    // or closing, and what was typed is offered as a new recipe, never lost without a word nor
    // written into another recipe.
    void anotherProgram_deletesTheShownRecipe_data()
    {
        QTest::addColumn<QString>("digitato");
        QTest::addColumn<QString>("via"); // "successivo", "stampa" or "chiusura"
        QTest::addColumn<int>("risposta");
        QTest::addColumn<QStringList>("ricette"); // the book's, with their descriptions
        QTest::addColumn<bool>("conRighe");       // the deleted recipe had lines
        const QString eliminata = "Attenzione: La ricetta è stata eliminata da un altro programma.";
        const QStringList altre = {"Lasagne ", "Zuppa "};
        caso("typed, saved", "Frolla", "successivo", Dialogs::Si,
             QStringList{"Crostata Frolla 2"} + altre, true);
        caso("typed, saved, no lines", "Frolla", "successivo", Dialogs::Si,
             QStringList{"Crostata Frolla"} + altre, false);
        caso("typed, not saved", "Frolla", "successivo", Dialogs::No, altre, true);
        caso("nothing typed", "", "successivo", Dialogs::OK, altre, true);
        caso("typed, printed", "Frolla", "stampa", Dialogs::Si,
             QStringList{"Crostata Frolla 2"} + altre, true);
        caso("typed, closed", "Frolla", "chiusura", Dialogs::Si,
             QStringList{"Crostata Frolla 2"} + altre, true);
    }
    void anotherProgram_deletesTheShownRecipe()
    {
        QFETCH(QString, digitato);
        QFETCH(QString, via);
        QFETCH(int, risposta);
        QFETCH(bool, conRighe);
        if (conRighe) {
            libro->riga(crostata, libro->ingrediente("Farina"), "200", "00");
            libro->riga(crostata, libro->ingrediente("Burro"), "100");
        }
        apri();
        scrivi(w("txtFields_2"), digitato);
        libro->esegui("DELETE FROM Ricette WHERE IDRicetta = ?", {crostata});
        dialoghi->rispondi(Dialogs::Risposta(risposta));
        if (via == "stampa")
            dialoghi->rispondiStampa(0); // the print dialog, cancelled
        if (via == "successivo")
            barra("successivo");
        else
            clic(via == "stampa" ? "cmdStampa" : "cmdChiudi");
        const QString detto = dialoghi->messaggi().value(0).testo;
        QCOMPARE(detto.section("\r\n", 0, 0),
                 "La ricetta è stata eliminata da un altro programma.");
        QCOMPARE(detto.contains("nuova ricetta"), !digitato.isEmpty());
        // Every line shown was saved with it: nothing to say about lines left out.
        for (const auto &m : dialoghi->messaggi())
            QVERIFY2(!m.testo.contains("senza le righe"), qPrintable(m.testo));
        QStringList ricette;
        for (const QVariantList &r :
             libro->righe("SELECT NomeRicetta, DescrizioneRicetta, (SELECT count(*) FROM "
                          "ingredienti_ricetta l WHERE l.IDRicetta = r.IDRicetta) FROM Ricette r "
                          "ORDER BY NomeRicetta"))
            ricette << QString("%1 %2 %3")
                               .arg(r.value(0).toString(), r.value(1).toString(),
                                    r.value(2).toInt() ? r.value(2).toString() : QString())
                               .trimmed() +
                           (r.value(2).toInt() || !r.value(1).toString().isEmpty() ? "" : " ");
        QTEST(ricette, "ricette");
        if (via != "chiusura" && risposta == Dialogs::Si) {
            // The recipe shown is the one saved, with its lines.
            QCOMPARE(campo(2), QString("Frolla"));
            const Righe salvate = conRighe ? Righe{{"Farina", "200", "00"}, {"Burro", "100", ""}}
                                           : Righe{{"", "", ""}}; // the grid's one empty row
            QCOMPARE(righeGriglia(), salvate);
        }
    }

    // A book that shows no recipe: an empty one opens quietly, a missing or foreign one is said
    // once. Nothing can be typed that would be lost, and the window stays usable.
    void bookWithoutRecipes_windowStaysUsable_data()
    {
        QTest::addColumn<QByteArray>("contenuto"); // empty: no file at all
        QTest::addColumn<QString>("atteso");       // empty: no message
        caso("empty book", QByteArray("vuoto"), "");
        caso("missing book", QByteArray(),
             "Il ricettario che si tenta di aprire non è stato trovato.");
        caso("not a book", QByteArray("Ricette della nonna\n"),
             "Errore nella gestione dei dati: Il file '%1' non è un ricettario di Pentolone "
             "valido.(3343)");
    }
    void bookWithoutRecipes_windowStaysUsable()
    {
        QFETCH(QByteArray, contenuto);
        QFETCH(QString, atteso);
        const bool vuoto = contenuto == "vuoto";
        if (vuoto) {
            libro->esegui("DELETE FROM Ricette");
            libro->esegui("DELETE FROM \"Categorie alimentari\"");
        } else {
            QFile::remove(libro->percorso());
            QFile f(libro->percorso());
            QVERIFY(contenuto.isEmpty() || (f.open(QIODevice::WriteOnly) && f.write(contenuto)));
            dialoghi->rispondi(Dialogs::OK);
        }
        apri();
        QCOMPARE(visti(),
                 vuoto ? QStringList{} : QStringList{"Errore!: " + atteso.arg(libro->percorso())});
        QCOMPARE(didascalia(), vuoto ? QString("Ricetta N° 0") : QString());
        QCOMPARE(campo(1), QString());
        QVERIFY(voci("ListaRicette").isEmpty());
        QVERIFY(voci("Lista").isEmpty());
        barra("successivo");
        barra("precedente");
        QCOMPARE(visti().size(), vuoto ? 0 : 1);
        QVERIFY(!w("txtFields_1")->isEnabled() && !w("txtFields_12")->isEnabled());
        clic("Command6"); // help at the editor's topic
        const ScriptedDialogs::Chiamata g = dialoghi->di("guida").value(0);
        QCOMPARE(QString("%1 %2 %3").arg(g.testo).arg(g.comando).arg(g.contesto),
                 "Pentolone.HLP 1 2");
        if (vuoto) {
            clic("cmdInserisci");
            QVERIFY(w("txtFields_1")->isEnabled() && w("txtFields_12")->isEnabled());
        }
    }
};

PENTOLONE_TEST_MAIN(TstFinestra)

#include "tst_finestra.moc"
