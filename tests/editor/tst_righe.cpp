#include "database.h"
#include "editore.h"

#include <sqlite3.h>

using Righe = QList<QStringList>;

class TstRighe : public ProvaEditor
{
    Q_OBJECT

    qint64 ricetta = 0;
    QMap<QString, qint64> ingredienti;

    // Keys as a user types them: '\b' is Backspace, '\n' Enter, anything else a character.
    static void tasti(QWidget *c, const QString &testo)
    {
        c->setFocus();
        for (const QChar ch : testo)
            if (ch == '\b' || ch == '\n')
                QTest::keyClick(c, ch == '\b' ? Qt::Key_Backspace : Qt::Key_Return);
            else
                QTest::sendKeyEvent(QTest::Click, c, Qt::Key_unknown, QString(ch), Qt::NoModifier);
    }
    void clicRiga(int riga) const
    {
        const QRect r = griglia()->visualRect(griglia()->model()->index(riga - 1, 1));
        QTest::mouseClick(griglia()->viewport(), Qt::LeftButton, {}, r.center());
    }
    QStringList visti() const
    {
        QStringList v;
        for (const auto &m : dialoghi->messaggi())
            v << m.titolo + ": " + m.testo;
        return v;
    }
    // What the grid shows for these lines: a recipe without lines keeps one empty row.
    static Righe inGriglia(const Righe &r) { return r.isEmpty() ? Righe{{"", "", ""}} : r; }
    QStringList nomiLibro() const
    {
        QStringList n;
        for (const QVariantList &r :
             libro->righe("SELECT Ingrediente FROM Ingredienti ORDER BY IDIngrediente"))
            n << r.value(0).toString();
        return n;
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

    // Each recipe shows its own lines, and a recipe without lines one empty row, none chosen.
    void griglia_mostraLeRigheDellaRicetta_data()
    {
        QTest::addColumn<int>("avanti");
        QTest::addColumn<Righe>("attese");
        QTest::addColumn<int>("scelta");
        QTest::newRow("con righe") << 0 << Righe{{"Aglio", "1", "a"}, {"Burro", "0.5", " "}} << 1;
        QTest::newRow("senza righe") << 1 << Righe{{"", "", ""}} << 0;
        QTest::newRow("dopo una senza") << 2 << Righe{{"Burro", "2", "c"}} << 1;
    }
    void griglia_mostraLeRigheDellaRicetta()
    {
        QFETCH(int, avanti);
        QFETCH(Righe, attese);
        QFETCH(int, scelta);
        libro->riga(ricetta, ingredienti["Aglio"], "1", "a");
        libro->riga(ricetta, ingredienti["Burro"], "0.5", " ");
        const qint64 primi = libro->categoria("Primi");
        libro->ricetta("Brodo", primi);
        libro->riga(libro->ricetta("Crostata", primi), ingredienti["Burro"], "2", "c");
        apri();
        for (int i = 0; i < avanti; ++i)
            barra("successivo");
        QCOMPARE(righeGriglia(), attese);
        QCOMPARE(griglia()->Row(), scelta);
    }

    // "Agg. alla ricetta" stores the chosen ingredient at once, however it was chosen.
    void aggiungi_scriveLaRiga_data()
    {
        QTest::addColumn<bool>("gia");     // the recipe already has a line
        QTest::addColumn<QString>("come"); // list double-click, key in the list, typed
        QTest::addColumn<QString>("qta");
        QTest::addColumn<QString>("commento");
        QTest::addColumn<Righe>("attese");
        QTest::addColumn<QStringList>("messaggi");
        QTest::newRow("doppio clic, riga vuota riusata")
            << false << "clic:Burro"
            << "0.5"
            << "fuso" << Righe{{"Burro", "0.5", "fuso"}} << QStringList{};
        QTest::newRow("tasto nella lista, vuoti")
            << true << "tasto:b"
            << ""
            << "" << Righe{{"Aglio", "1", ""}, {"Basilico", "0", " "}} << QStringList{};
        QTest::newRow("scritto, completato")
            << false << "scritto:POM"
            << "3"
            << "" << Righe{{"Pomodoro", "3", " "}} << QStringList{};
        QTest::newRow("nessuno") << false << ""
                                 << "3"
                                 << "" << Righe{}
                                 << QStringList{
                                        "Attenzione: Non hai selezionato alcun ingrediente"};
    }
    void aggiungi_scriveLaRiga()
    {
        QFETCH(QString, come);
        QFETCH(Righe, attese);
        QFETCH(QStringList, messaggi);
        QFETCH(QString, qta);
        QFETCH(QString, commento);
        if (QFETCH(bool, gia); gia)
            libro->riga(ricetta, ingredienti["Aglio"], "1", "");
        apri();
        const QString cosa = come.section(':', 1);
        if (come.startsWith("clic")) {
            QListWidgetItem *voce =
                lista("ListaIngredienti")->findItems(cosa, Qt::MatchExactly).value(0);
            const QPoint p = lista("ListaIngredienti")->visualItemRect(voce).center();
            QTest::mouseClick(lista("ListaIngredienti")->viewport(), Qt::LeftButton, {}, p);
            QTest::mouseDClick(lista("ListaIngredienti")->viewport(), Qt::LeftButton, {}, p);
            QCOMPARE(QApplication::focusWidget(), casella("Qta"));
        } else if (come.startsWith("tasto")) {
            tasti(lista("ListaIngredienti"), cosa);
        } else if (come.startsWith("scritto")) {
            tasti(casella("IngredienteScelto"), cosa);
            QCOMPARE(casella("IngredienteScelto")->text(), "Pomodoro");
            QCOMPARE(casella("IngredienteScelto")->cursorPosition(), 3);
        }
        for (int i = 0; i < messaggi.size(); ++i)
            dialoghi->rispondi(Dialogs::OK);
        tasti(casella("Qta"), qta);
        tasti(casella("Commento"), commento);
        clic("Command1");
        QCOMPARE(visti(), messaggi);
        QCOMPARE(righeLibro(ricetta), attese);
        QCOMPARE(righeGriglia(), inGriglia(attese));
        if (!attese.isEmpty())
            QVERIFY(casella("IngredienteScelto")->text().isEmpty() &&
                    casella("Qta")->text().isEmpty());
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
        QTest::newRow("uscita, sì")
            << "uscita"
            << " cipolla " << int(Dialogs::Si) << "Cipolla" << QStringList{domanda};
        QTest::newRow("uscita, no") << "uscita"
                                    << "cipolla" << int(Dialogs::No) << ""
                                    << QStringList{domanda, "Attenzione: Non hai selezionato "
                                                            "alcun ingrediente"};
        QTest::newRow("invio") << "invio"
                               << "cipolla" << 0 << "Cipolla" << QStringList{};
        QTest::newRow("aggiorna") << "aggiorna"
                                  << "cipolla" << 0 << "Cipolla" << QStringList{};
        QTest::newRow("doppione") << "invio"
                                  << "bURRO " << int(Dialogs::OK) << "Burro"
                                  << QStringList{"Non sono ammessi duplicati: Ingrediente già "
                                                 "presente"};
        QTest::newRow("solo spazi") << "uscita"
                                    << "   " << 0 << ""
                                    << QStringList{"Attenzione: Non hai selezionato alcun "
                                                   "ingrediente"};
    }
    void nuovoIngrediente_eScelto()
    {
        QFETCH(QString, via);
        QFETCH(QString, nome);
        QFETCH(QString, riga);
        QFETCH(QStringList, messaggi);
        QFETCH(int, risposta);
        const QStringList prima = nomiLibro();
        apri();
        if (risposta)
            dialoghi->rispondi(Dialogs::Risposta(risposta));
        if (riga.isEmpty())
            dialoghi->rispondi(Dialogs::OK);
        if (via == "uscita") {
            tasti(casella("IngredienteScelto"), nome);
        } else {
            clic("Command3");
            tasti(casella("Text1"), via == "invio" ? nome + '\n' : nome);
            if (via == "aggiorna")
                clic("Command4");
        }
        tasti(casella("Qta"), "2");
        if (risposta == Dialogs::No)
            QCOMPARE(QApplication::focusWidget(), casella("IngredienteScelto"));
        QVERIFY(!casella("Text1")->isEnabled() && pulsante("Command3")->isEnabled());
        clic("Command1");
        QCOMPARE(visti(), messaggi);
        const bool nuovo = riga == "Cipolla";
        const QStringList attesi = nuovo ? prima + QStringList{"Cipolla"} : prima;
        QStringList elenco; // a new ingredient stands last until the window opens again
        for (int i = 0; i < lista("ListaIngredienti")->count(); ++i)
            elenco << lista("ListaIngredienti")->item(i)->text();
        QCOMPARE(elenco, attesi);
        QCOMPARE(nomiLibro(), attesi);
        QCOMPARE(righeLibro(ricetta), riga.isEmpty() ? Righe() : Righe({{riga, "2", " "}}));
    }

    // The quantity box takes digits and one point; a refused key beeps.
    void quantita_cifreEUnPunto_data()
    {
        QTest::addColumn<QString>("tasti");
        QTest::addColumn<QString>("attesa");
        QTest::addColumn<int>("bip");
        QTest::newRow("mezzo") << "0.5"
                               << "0.5" << 0;
        QTest::newRow("secondo punto") << "1.5."
                                       << "1.5" << 1;
        QTest::newRow("punto cancellato") << "1.\b.5"
                                          << "1.5" << 0;
        QTest::newRow("cifra poi punto cancellati") << "1.5\b\b.2"
                                                    << "1.2" << 0;
        QTest::newRow("virgola e lettere") << "1,a5"
                                           << "15" << 2;
    }
    void quantita_cifreEUnPunto()
    {
        QFETCH(QString, tasti);
        QFETCH(QString, attesa);
        QFETCH(int, bip);
        apri();
        this->tasti(casella("Qta"), tasti);
        QCOMPARE(casella("Qta")->text(), attesa);
        QCOMPARE(beep(), bip);
    }

    // "Canc." deletes the chosen line from the book and the grid; picking a line shows it.
    void cancella_tolgieLaRiga_data()
    {
        QTest::addColumn<int>("righe");
        QTest::addColumn<int>("scelta");   // the line clicked, 0 none
        QTest::addColumn<bool>("altrove"); // the line was deleted behind the window's back
        QTest::addColumn<int>("volte");
        QTest::addColumn<QStringList>("restano");
        QTest::addColumn<int>("sceltaDopo");
        QTest::addColumn<int>("messaggi");
        QTest::newRow("in mezzo") << 3 << 2 << false << 1 << QStringList{"Aglio", "Burro"} << 2
                                  << 0;
        QTest::newRow("ultima") << 3 << 3 << false << 1 << QStringList{"Aglio", "Basilico"} << 2
                                << 0;
        QTest::newRow("la prima, già scelta")
            << 3 << 0 << false << 1 << QStringList{"Basilico", "Burro"} << 1 << 0;
        QTest::newRow("l'unica, due volte") << 1 << 1 << false << 2 << QStringList{} << 0 << 1;
        QTest::newRow("tolta altrove")
            << 3 << 2 << true << 1 << QStringList{"Aglio", "Burro"} << 2 << 0;
    }
    void cancella_tolgieLaRiga()
    {
        QFETCH(int, righe);
        QFETCH(int, scelta);
        QFETCH(bool, altrove);
        QFETCH(int, volte);
        QFETCH(QStringList, restano);
        QFETCH(int, sceltaDopo);
        QFETCH(int, messaggi);
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
        for (int i = 0; i < messaggi; ++i)
            dialoghi->rispondi(Dialogs::OK);
        for (int i = 0; i < volte; ++i)
            clic("Command2");
        QStringList inGriglia, inLibro;
        for (const QStringList &r : righeGriglia())
            inGriglia << r.value(0);
        for (const QStringList &r : righeLibro(ricetta))
            inLibro << r.value(0);
        QCOMPARE(inLibro, restano);
        QCOMPARE(inGriglia, restano.isEmpty() ? QStringList{""} : restano);
        QCOMPARE(griglia()->Row(), sceltaDopo);
        QCOMPARE(visti(), QStringList(messaggi, "Attenzione: Non è stato selezionato alcun "
                                                "ingrediente da cancellare"));
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
        const Righe prima = righeLibro(ricetta);
        apri();
        finestra->Data3->Database()->setAttesaMassima(0);
        const auto prova = [&] {
            if (azione == "cancella")
                return clic("Command2");
            if (azione == "nuovo") {
                clic("Command3");
                tasti(casella("Text1"), "cipolla\n");
            } else {
                tasti(casella("IngredienteScelto"), "pom");
            }
            tasti(casella("Qta"), "2");
            clic("Command1");
        };
        sqlite3 *altro = nullptr;
        sqlite3_open(libro->percorso().toUtf8().constData(), &altro);
        QCOMPARE(sqlite3_exec(altro, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), SQLITE_OK);
        for (int i = 0; i < errori; ++i)
            dialoghi->rispondi(Dialogs::OK);
        prova();
        sqlite3_exec(altro, "ROLLBACK", nullptr, nullptr, nullptr);
        sqlite3_close(altro);
        QCOMPARE(dialoghi->messaggi().size(), errori);
        for (const auto &m : dialoghi->messaggi())
            QVERIFY2(m.titolo == "Errore!" &&
                         m.testo.startsWith("Errore nella gestione dei dati: "),
                     qPrintable(m.testo));
        QCOMPARE(righeLibro(ricetta), prima);
        QCOMPARE(righeGriglia(), inGriglia(prima));
        if (azione != "cancella") {
            QCOMPARE(casella("IngredienteScelto")->text(),
                     azione == "nuovo" ? "Cipolla" : "Pomodoro");
            QCOMPARE(casella("Qta")->text(), "2");
        }
        dialoghi->chiamate.clear();
        casella("IngredienteScelto")->clear();
        casella("Qta")->clear();
        prova();
        QCOMPARE(visti(), QStringList{});
        const Righe dopo = azione == "cancella"
                               ? Righe{}
                               : Righe{{azione == "nuovo" ? "Cipolla" : "Pomodoro", "2", " "}};
        QCOMPARE(righeLibro(ricetta), dopo);
        QCOMPARE(righeGriglia(), inGriglia(dopo));
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
        tasti(casella("IngredienteScelto"), "voce 2499");
        tasti(casella("Qta"), "2");
        clic("Command1");
        tasti(casella("IngredienteScelto"), "zaf");
        clic("Command1");
        QCOMPARE(righeLibro(ricetta),
                 (Righe{{"Zafferano", "1", ""}, {"Voce 2499", "2", " "}, {"Zafferano", "0", " "}}));
    }
};

int tst_righe(int argc, char **argv)
{
    TstRighe t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_righe.moc"
