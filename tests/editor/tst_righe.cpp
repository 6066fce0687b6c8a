#include "caso.h"
#include "editore.h"
#include "principale.h"
#include "storage/database.h"

#include <sqlite3.h>

class TstRighe : public ProvaEditor
{
    Q_OBJECT

    const QString nessuno = "Attenzione: Non hai selezionato alcun ingrediente";
    qint64 ricetta = 0;
    QMap<QString, qint64> ingredienti;

    // What the grid shows for these lines: a recipe without lines keeps one empty row.
    static Righe inGriglia(const Righe &r) { return r.isEmpty() ? Righe{{"", "", ""}} : r; }
    static QStringList nomi(const Righe &righe)
    {
        QStringList n;
        for (const QStringList &r : righe)
            n << r.value(0);
        return n;
    }
    QString elencoLibro() const
    {
        return libro
            ->valore("SELECT group_concat(Ingrediente) FROM (SELECT Ingrediente FROM "
                     "Ingredienti ORDER BY IDIngrediente)")
            .toString();
    }

private slots:
    void init()
    {
        preparaProva();
        ingredienti.clear();
        for (const char *n : {"Aglio", "Basilico", "Burro", "Pomodoro", "Zucchine"})
            ingredienti[n] = libro->ingrediente(n);
        ricetta = libro->ricetta("Arrosto", libro->categoria("Secondi"));
    }
    void cleanup() { chiudiProva(); }

    // Each recipe shows its own lines, the first chosen; a recipe without lines one empty row.
    void griglia_mostraLeRigheDellaRicetta_data()
    {
        QTest::addColumn<int>("avanti");
        QTest::addColumn<Righe>("attese");
        caso("con righe", 0, Righe{{"Aglio", "1", "a"}, {"Burro", "0.5", " "}});
        caso("senza righe", 1, Righe{});
        caso("dopo una senza", 2, Righe{{"Burro", "2", "c"}});
    }
    void griglia_mostraLeRigheDellaRicetta()
    {
        QFETCH(int, avanti);
        QFETCH(Righe, attese);
        libro->riga(ricetta, ingredienti["Aglio"], "1", "a");
        libro->riga(ricetta, ingredienti["Burro"], "0.5", " ");
        const qint64 primi = libro->categoria("Primi");
        libro->ricetta("Brodo", primi);
        libro->riga(libro->ricetta("Crostata", primi), ingredienti["Burro"], "2", "c");
        apri();
        for (int i = 0; i < avanti; ++i)
            barra("successivo");
        QCOMPARE(righeGriglia(), inGriglia(attese));
        QCOMPARE(griglia()->Row(), attese.isEmpty() ? 0 : 1);
    }

    // "Agg. alla ricetta" stores the chosen ingredient at once, however it was chosen.
    void aggiungi_scriveLaRiga_data()
    {
        QTest::addColumn<bool>("gia");     // the recipe already has a line
        QTest::addColumn<QString>("come"); // list double-click, key in the list, typed
        QTest::addColumn<QString>("qta");
        QTest::addColumn<QString>("commento");
        QTest::addColumn<Righe>("attese");
        caso("doppio clic, riga vuota riusata", false, "clic:Burro", "0.5", "fuso",
             Righe{{"Burro", "0.5", "fuso"}});
        caso("tasto nella lista, vuoti", true, "tasto:b", "", "",
             Righe{{"Aglio", "1", ""}, {"Basilico", "0", " "}});
        caso("scritto, completato", false, "scritto:POM", "3", "", Righe{{"Pomodoro", "3", " "}});
        caso("scritto, tasti di movimento", false, "scritto:pom>bu", "3", "",
             Righe{{"Burro", "3", " "}});
        caso("tasto dalla penultima", false, "tasto:z@Pomodoro", "3", "", Righe{});
        caso("nessuno", false, "", "3", "", Righe{});
    }
    void aggiungi_scriveLaRiga()
    {
        QFETCH(bool, gia);
        QFETCH(QString, come);
        QFETCH(QString, qta);
        QFETCH(QString, commento);
        QFETCH(Righe, attese);
        if (gia)
            libro->riga(ricetta, ingredienti["Aglio"], "1", "");
        apri();
        const QString cosa = come.section(':', 1);
        QListWidget *l = lista("ListaIngredienti");
        if (come.startsWith("clic")) {
            const QPoint p = l->visualItemRect(l->findItems(cosa, Qt::MatchExactly)[0]).center();
            QTest::mouseClick(l->viewport(), Qt::LeftButton, {}, p);
            QTest::mouseDClick(l->viewport(), Qt::LeftButton, {}, p);
            QCOMPARE(QApplication::focusWidget(), casella("Qta"));
        } else if (come.startsWith("tasto")) {
            // From the second-to-last entry a key searches nothing.
            if (cosa.contains('@'))
                l->setCurrentItem(l->findItems(cosa.section('@', 1), Qt::MatchExactly)[0]);
            scrivi(l, cosa.section('@', 0, 0));
        } else if (come.startsWith("scritto")) {
            QLineEdit *b = casella("IngredienteScelto");
            scrivi(b, cosa.section('>', 0, 0));
            QCOMPARE(b->text(), "Pomodoro");
            QCOMPARE(b->cursorPosition(), 3);
            if (cosa.contains('>')) {
                // Moving and selecting keep the text; what is typed then replaces the selection.
                for (const auto &[k, m] : {std::pair{Qt::Key_Home, Qt::ShiftModifier},
                                           {Qt::Key_End, Qt::NoModifier},
                                           {Qt::Key_Left, Qt::ShiftModifier},
                                           {Qt::Key_A, Qt::ControlModifier}})
                    QTest::keyClick(b, k, m);
                QCOMPARE(b->selectedText(), "Pomodoro");
                scrivi(b, cosa.section('>', 1));
            }
        }
        if (attese.isEmpty())
            dialoghi->rispondi(Dialogs::OK);
        scrivi(casella("Qta"), qta);
        scrivi(casella("Commento"), commento);
        clic("Command1");
        QCOMPARE(visti(), attese.isEmpty() ? QStringList{nessuno} : QStringList{});
        QCOMPARE(righeLibro(ricetta), attese);
        QCOMPARE(righeGriglia(), inGriglia(attese));
        QCOMPARE(casella("Qta")->text().isEmpty(), !attese.isEmpty()); // kept when refused
    }

    // A name not in the list joins the ingredients (once, capital first) and is the one chosen.
    void nuovoIngrediente_eScelto_data()
    {
        QTest::addColumn<QString>("via"); // leaving the box, or "Aggiungi" then Enter or "Aggiorna"
        QTest::addColumn<QString>("nome");
        QTest::addColumn<int>("risposta");
        QTest::addColumn<QString>("riga");
        QTest::addColumn<QStringList>("messaggi");
        const QString domanda = "Attenzione!!: L'ingrediente inserito non è presente nella "
                                "lista.\r\nVuoi aggiungerlo all'archivio degli ingredienti?";
        caso("uscita, sì", "uscita", " cipolla ", Dialogs::Si, "Cipolla", QStringList{domanda});
        caso("uscita, no", "uscita", "cipolla", Dialogs::No, "", QStringList{domanda, nessuno});
        caso("invio", "invio", "cipolla", 0, "Cipolla", QStringList{});
        caso("aggiorna", "aggiorna", "cipolla", 0, "Cipolla", QStringList{});
        caso("doppione", "invio", "bURRO ", Dialogs::OK, "Burro",
             QStringList{"Non sono ammessi duplicati: Ingrediente già presente"});
        caso("solo spazi", "uscita", "   ", 0, "", QStringList{nessuno});
    }
    void nuovoIngrediente_eScelto()
    {
        QFETCH(QString, via);
        QFETCH(QString, nome);
        QFETCH(int, risposta);
        QFETCH(QString, riga);
        apri();
        libro->ingrediente("Sale"); // added by another window while this one is open
        if (risposta)
            dialoghi->rispondi(Dialogs::Risposta(risposta));
        if (riga.isEmpty())
            dialoghi->rispondi(Dialogs::OK);
        if (via == "uscita") {
            scrivi(casella("IngredienteScelto"), nome);
        } else {
            clic("Command3");
            scrivi(casella("Text1"), via == "invio" ? nome + '\n' : nome);
            if (via == "aggiorna")
                clic("Command4");
        }
        scrivi(casella("Qta"), "2");
        if (risposta == Dialogs::No)
            QCOMPARE(QApplication::focusWidget(), casella("IngredienteScelto"));
        QVERIFY(!casella("Text1")->isEnabled() && pulsante("Command3")->isEnabled());
        clic("Command1");
        QTEST(visti(), "messaggi");
        // A new ingredient stands last in the list until the window opens again; reading the
        // list again for it shows the one added elsewhere too.
        const bool aggiunto = riga == "Cipolla";
        QCOMPARE(voci("ListaIngredienti").join(','),
                 aggiunto ? "Aglio,Basilico,Burro,Pomodoro,Sale,Zucchine,Cipolla"
                          : "Aglio,Basilico,Burro,Pomodoro,Zucchine");
        QCOMPARE(elencoLibro(), QString("Aglio,Basilico,Burro,Pomodoro,Zucchine,Sale") +
                                    (aggiunto ? ",Cipolla" : ""));
        QCOMPARE(righeLibro(ricetta), riga.isEmpty() ? Righe() : Righe({{riga, "2", " "}}));
    }

    // "Canc." deletes the chosen line from the book and the grid; picking a line shows it.
    void cancella_togliLaRiga_data()
    {
        QTest::addColumn<int>("righe");
        QTest::addColumn<int>("scelta");   // the line clicked, 0 none
        QTest::addColumn<bool>("altrove"); // the line was deleted behind the window's back
        QTest::addColumn<int>("volte");
        QTest::addColumn<QStringList>("restano");
        QTest::addColumn<int>("sceltaDopo");
        caso("in mezzo", 3, 2, false, 1, QStringList{"Aglio", "Burro"}, 2);
        caso("ultima", 3, 3, false, 1, QStringList{"Aglio", "Basilico"}, 2);
        caso("la prima, già scelta", 3, 0, false, 1, QStringList{"Basilico", "Burro"}, 1);
        caso("l'unica, due volte", 1, 1, false, 2, QStringList{}, 0);
        caso("tolta altrove", 3, 2, true, 1, QStringList{"Aglio", "Burro"}, 2);
    }
    void cancella_togliLaRiga()
    {
        QFETCH(int, righe);
        QFETCH(int, scelta);
        QFETCH(bool, altrove);
        QFETCH(int, volte);
        QFETCH(QStringList, restano);
        const QStringList tre{"Aglio", "Basilico", "Burro"};
        QList<qint64> chiavi;
        for (int i = 0; i < righe; ++i)
            chiavi << libro->riga(ricetta, ingredienti[tre[i]], QString::number(i), i ? " " : "x");
        apri();
        if (scelta) {
            clicRiga(scelta);
            QCOMPARE(casella("Qta")->text(), QString::number(scelta - 1));
            QCOMPARE(casella("Commento")->text(), scelta == 1 ? "x" : "");
        }
        if (altrove)
            libro->esegui("DELETE FROM ingredienti_ricetta WHERE IDIngredienteRicetta = ?",
                          {chiavi.value(scelta - 1)});
        // A second press finds no line chosen.
        const QStringList attesi(volte - 1, "Attenzione: Non è stato selezionato alcun "
                                            "ingrediente da cancellare");
        for (int i = 1; i < volte; ++i)
            dialoghi->rispondi(Dialogs::OK);
        for (int i = 0; i < volte; ++i)
            clic("Command2");
        QCOMPARE(nomi(righeLibro(ricetta)), restano);
        QCOMPARE(nomi(righeGriglia()), restano.isEmpty() ? QStringList{""} : restano);
        QTEST(griglia()->Row(), "sceltaDopo");
        // The deleted line's values go with it.
        QCOMPARE(casella("IngredienteScelto")->text() + casella("Qta")->text() +
                     casella("Commento")->text(),
                 QString());
        QCOMPARE(visti(), attesi);
        QCOMPARE(QApplication::focusWidget(), lista("ListaIngredienti"));
    }

    // A write the book refuses (another program holds it) is said; the grid shows what the
    // book holds, the boxes keep what was typed, and the same action succeeds afterwards.
    void scritturaRifiutata_laFinestraResta_data()
    {
        QTest::addColumn<QString>("azione");
        QTest::addColumn<int>("errori"); // a new ingredient refused leaves no key to store
        QTest::newRow("riga aggiunta") << "aggiungi" << 1;
        QTest::newRow("riga cancellata") << "cancella" << 1;
        QTest::newRow("ingrediente nuovo") << "nuovo" << 2;
    }
    void scritturaRifiutata_laFinestraResta()
    {
        QFETCH(QString, azione);
        QFETCH(int, errori);
        if (azione == "cancella")
            libro->riga(ricetta, ingredienti["Aglio"], "1", "x");
        const QString scelto = azione == "nuovo" ? "Cipolla" : "Pomodoro";
        const Righe prima = righeLibro(ricetta);
        const Righe dopo = azione == "cancella" ? Righe{} : Righe{{scelto, "2", " "}};
        apri();
        finestra->findChild<DataSource *>("Data3")->Database()->setAttesaMassima(0);
        const auto prova = [&] {
            if (azione == "cancella")
                return clic("Command2");
            if (azione == "nuovo")
                clic("Command3");
            scrivi(azione == "nuovo" ? casella("Text1") : casella("IngredienteScelto"),
                   azione == "nuovo" ? "cipolla\n" : "pom");
            scrivi(casella("Qta"), "2");
            clic("Command1");
        };
        sqlite3 *altro = nullptr;
        sqlite3_open(libro->percorso().toUtf8().constData(), &altro);
        QCOMPARE(sqlite3_exec(altro, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), SQLITE_OK);
        for (int i = 0; i < errori; ++i)
            dialoghi->rispondi(Dialogs::OK);
        prova();
        sqlite3_close(altro); // its transaction goes with it
        QCOMPARE(dialoghi->messaggi().size(), errori);
        for (const auto &m : dialoghi->messaggi())
            QVERIFY2(m.titolo == "Errore!" &&
                         m.testo.startsWith("Errore nella gestione dei dati: "),
                     qPrintable(m.testo));
        QCOMPARE(righeLibro(ricetta), prima);
        QCOMPARE(righeGriglia(), inGriglia(prima));
        if (azione != "cancella")
            QCOMPARE(casella("IngredienteScelto")->text() + casella("Qta")->text(), scelto + "2");
        dialoghi->chiamate.clear();
        casella("IngredienteScelto")->clear();
        casella("Qta")->clear();
        prova();
        QCOMPARE(visti(), QStringList{});
        QCOMPARE(righeLibro(ricetta), dopo);
        QCOMPARE(righeGriglia(), inGriglia(dopo));
    }

    // Each key typed in "Scegli l'Ingrediente" cuts the box at the caret and completes what is
    // left; a point is typed like any other character, not taken for Delete.
    void scelta_ogniTastoCompleta_data()
    {
        QTest::addColumn<QString>("tasti");
        QTest::addColumn<QString>("atteso");
        QTest::newRow("letters") << "pom"
                                 << "Pomodoro";
        QTest::newRow("a point after a completion") << "pom."
                                                    << "Pom.";
    }
    void scelta_ogniTastoCompleta()
    {
        QFETCH(QString, tasti);
        QFETCH(QString, atteso);
        apri();
        QLineEdit *b = casella("IngredienteScelto");
        b->setFocus();
        QTest::keyClicks(b, tasti); // each character with its own key, as a keyboard sends it
        QCOMPARE(b->text(), atteso);
    }

    // Ctrl+A in "Scegli l'Ingrediente" selects the name, however the keys are let go: Ctrl first,
    // as many do, or the letter first.
    void scelta_ctrlASelezionaIlNome_data()
    {
        QTest::addColumn<bool>("ctrlPrima");
        QTest::newRow("Ctrl let go first") << true;
        QTest::newRow("A let go first") << false;
    }
    void scelta_ctrlASelezionaIlNome()
    {
        QFETCH(bool, ctrlPrima);
        apri();
        QLineEdit *b = casella("IngredienteScelto");
        scrivi(b, "pom");
        QCOMPARE(b->text(), QString("Pomodoro"));
        QTest::keyPress(b, Qt::Key_Control, Qt::ControlModifier);
        QTest::keyPress(b, Qt::Key_A, Qt::ControlModifier);
        if (ctrlPrima) {
            QTest::keyRelease(b, Qt::Key_Control);
            QTest::keyRelease(b, Qt::Key_A);
        } else {
            QTest::keyRelease(b, Qt::Key_A, Qt::ControlModifier);
            QTest::keyRelease(b, Qt::Key_Control);
        }
        QCOMPARE(b->selectedText(), QString("Pomodoro"));
    }

    // No limit on the ingredients, and keys beyond 32 bits name them right.
    void moltiIngredienti_chiaviGrandi()
    {
        libro->esegui("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < "
                      "2500) INSERT INTO Ingredienti (Ingrediente) SELECT printf('Voce %04d', i) "
                      "FROM n");
        const qint64 grande = 5000000000;
        libro->esegui("INSERT INTO Ingredienti VALUES (?, 'Zafferano')", {grande});
        libro->riga(ricetta, grande, "1", "");
        apri();
        QCOMPARE(lista("ListaIngredienti")->count(), 2506);
        QCOMPARE(righeGriglia(), (Righe{{"Zafferano", "1", ""}}));
        scrivi(casella("IngredienteScelto"), "voce 2499");
        scrivi(casella("Qta"), "2");
        clic("Command1");
        scrivi(casella("IngredienteScelto"), "zaf");
        clic("Command1");
        QCOMPARE(righeLibro(ricetta),
                 (Righe{{"Zafferano", "1", ""}, {"Voce 2499", "2", " "}, {"Zafferano", "0", " "}}));
    }
};

PENTOLONE_TEST_MAIN(TstRighe)

#include "tst_righe.moc"
