#include "editore.h"

#include "database.h"

#include <QClipboard>
#include <QFile>
#include <QGuiApplication>

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

    QStringList voci(const char *nome) const
    {
        QStringList r;
        if (auto *l = finestra->findChild<QListWidget *>(nome))
            for (int i = 0; i < l->count(); ++i)
                r << l->item(i)->text();
        if (auto *c = finestra->findChild<QComboBox *>(nome))
            for (int i = 0; i < c->count(); ++i)
                r << c->itemText(i);
        return r;
    }
    void scegliVoce(const QString &nome)
    {
        QListWidget *l = lista("ListaRicette");
        const QListWidgetItem *voce = l->findItems(nome, Qt::MatchExactly).value(0);
        QVERIFY(voce);
        QTest::mouseClick(l->viewport(), Qt::LeftButton, {}, l->visualItemRect(voce).center());
    }

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

    void opening_showsTheFirstRecipeAndFillsTheLists()
    {
        apri();
        QCOMPARE(finestra->windowTitle(),
                 QString("Inserimento Ricette - https://pentolone.example.org/"));
        QCOMPARE(didascalia(), QString("Ricetta N° 1"));
        QCOMPARE(campo(1), QString("Crostata"));
        QVERIFY(w<QCheckBox>("chkFields_6")->isChecked());
        QCOMPARE(voci("ListaRicette"), (QStringList{"Crostata", "Lasagne", "Zuppa"}));
        QCOMPARE(voci("Lista"), (QStringList{"Primi", "Dolci"}));
        QCOMPARE(w<QComboBox>("Lista")->currentText(), QString("Dolci"));
        QCOMPARE(finestra->Attivata, 1);
        QCOMPARE(finestra->PorzioniMemorizzate, QString("4"));
        QVERIFY(dialoghi->messaggi().isEmpty());
    }

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
        if (allApertura)
            libro->esegui("UPDATE Ricette SET NomeRicetta = 'Antipasto' WHERE IDRicetta = ?",
                          {zuppa});
        dialoghi->rispondi(Dialogs::OK);
        apri();
        if (!allApertura)
            barra("ultimo");
        QCOMPARE(dialoghi->messaggi().size(), 1);
        const ScriptedDialogs::Chiamata c = dialoghi->messaggi().value(0);
        QCOMPARE(c.testo, allApertura ? QString("La categoria alimentare impostata non è più "
                                                "presente o è stata modificata")
                                      : messaggioLungo);
        QCOMPARE(c.titolo, QString("Attenzione"));
        QCOMPARE(c.icona, int(Dialogs::Critica));
        QCOMPARE(w<QComboBox>("Lista")->currentIndex(), -1);
        // Each key typed in a box says it again.
        dialoghi->rispondi(Dialogs::OK);
        scrivi(w("txtFields_3"), "x");
        QCOMPARE(dialoghi->messaggi().value(1).testo, messaggioLungo);
        QComboBox *lista = w<QComboBox>("Lista");
        lista->setCurrentIndex(0);
        emit lista->activated(0);
        scrivi(w("txtFields_3"), "y");
        QCOMPARE(dialoghi->messaggi().size(), 2);
        clic("cmdChiudi");
        QCOMPARE(colonna("IDCategoriaAlimentare", zuppa).toLongLong(), primi);
        QCOMPARE(colonna("Preparata_da", zuppa).toString(), QString("xy"));
    }

    void boxes_keepTheirRules_data()
    {
        QTest::addColumn<int>("indice");
        QTest::addColumn<QString>("digitato");
        QTest::addColumn<QString>("atteso");
        QTest::addColumn<int>("beep");
        QTest::addColumn<bool>("messaggio");
        QTest::newRow("portions, letters pasted") << 8 << "incolla:12 persone"
                                                  << "4" << 0 << false;
        QTest::newRow("portions, letters beep") << 8 << "a1b"
                                                << "1" << 2 << false;
        QTest::newRow("calories, letters beep") << 9 << "2x"
                                                << "2" << 1 << false;
        QTest::newRow("portions zero") << 8 << "0"
                                       << "4" << 0 << true;
        QTest::newRow("portions zeros") << 8 << "00"
                                        << "4" << 0 << true;
        QTest::newRow("portions empty") << 8 << ""
                                        << "4" << 0 << true;
        QTest::newRow("name, capital first") << 1 << " èrba"
                                             << "Èrba" << 0 << false;
    }
    void boxes_keepTheirRules()
    {
        QFETCH(int, indice);
        QFETCH(QString, digitato);
        QFETCH(QString, atteso);
        QFETCH(int, beep);
        QFETCH(bool, messaggio);
        apri();
        auto *casella = w<QLineEdit>(qPrintable(QStringLiteral("txtFields_%1").arg(indice)));
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
        QCOMPARE(casella->text(), atteso);
        QCOMPARE(ProvaEditor::beep(), beep);
        QCOMPARE(dialoghi->messaggi().size(), messaggio ? 1 : 0);
        if (messaggio) {
            QCOMPARE(dialoghi->messaggi().value(0).testo,
                     QString("Il Numero Porzioni non può essere uguale a Zero."));
            QCOMPARE(dialoghi->messaggi().value(0).titolo, QString("Errore!"));
            QCOMPARE(dialoghi->messaggi().value(0).icona, int(Dialogs::NessunaIcona));
        }
    }

    // What the user typed is stored by the next move; the portions only by a move that is not
    // the navigation bar's, since the bar puts back the ones of the last move.
    void move_storesTheEdits_data()
    {
        QTest::addColumn<QString>("via");
        QTest::addColumn<QString>("porzioni");
        QTest::newRow("navigation bar") << "barra"
                                        << "4";
        QTest::newRow("recipe list") << "lista"
                                     << "6";
        QTest::newRow("closing") << "chiusura"
                                 << "4";
    }
    void move_storesTheEdits()
    {
        QFETCH(QString, via);
        QFETCH(QString, porzioni);
        apri();
        casella("txtFields_1")->clear();
        scrivi(casella("txtFields_1"), "crostata di mele");
        casella("txtFields_8")->clear();
        scrivi(casella("txtFields_8"), "6");
        w<QCheckBox>("chkFields_6")->click();
        if (via == "barra")
            barra("successivo");
        else if (via == "lista")
            scegliVoce("Lasagne");
        else
            clic("cmdChiudi");
        QCOMPARE(colonna("NomeRicetta", crostata).toString(), QString("Crostata di mele"));
        QCOMPARE(colonna("NumeroPorzioni", crostata).toString(), porzioni);
        QCOMPARE(colonna("Vegetariana", crostata).toInt(), 0);
        if (via != "chiusura") {
            QCOMPARE(campo(1), QString("Lasagne"));
            QCOMPARE(didascalia(), QString("Ricetta N° 2"));
            QCOMPARE(voci("ListaRicette"), (QStringList{"Crostata di mele", "Lasagne", "Zuppa"}));
            QCOMPARE(finestra->cursor().shape(), Qt::ArrowCursor);
        }
    }

    // A book with no rows at all opens quietly, with nothing to show.
    void emptyBook_opensWithoutAWord()
    {
        libro->esegui("DELETE FROM Ricette");
        libro->esegui("DELETE FROM \"Categorie alimentari\"");
        apri();
        QVERIFY(dialoghi->messaggi().isEmpty());
        QCOMPARE(didascalia(), QString("Ricetta N° 0"));
        QCOMPARE(campo(1), QString());
        QVERIFY(voci("ListaRicette").isEmpty());
        QVERIFY(voci("Lista").isEmpty());
        barra("successivo");
        barra("precedente");
        QVERIFY(dialoghi->messaggi().isEmpty());
    }

    void recipeList_jumpsOnlyToAnotherRecipe()
    {
        apri();
        int spostamenti = 0;
        connect(finestra->datPrimaryRS, &DataSource::Reposition, this, [&] { ++spostamenti; });
        scegliVoce("Crostata");
        QCOMPARE(spostamenti, 0);
        // Deleted through the program's own book, as another window of it would.
        Database::apri(libro->percorso())
            ->esegui("DELETE FROM Ricette WHERE IDRicetta = ?", {lasagne});
        dialoghi->rispondi(Dialogs::OK);
        scegliVoce("Lasagne");
        QCOMPARE(dialoghi->messaggi().value(0).testo,
                 QString("La Ricetta selezionata non è più presente o è stata modificata"));
        QCOMPARE(dialoghi->messaggi().value(0).icona, int(Dialogs::Critica));
        QCOMPARE(campo(1), QString("Crostata"));
    }

    void bookErrors_areSaidAndTheWindowStaysUsable_data()
    {
        QTest::addColumn<QByteArray>("contenuto"); // empty: no file at all
        QTest::addColumn<QString>("atteso");
        QTest::newRow("missing book")
            << QByteArray() << "Il ricettario che si tenta di aprire non è stato trovato.";
        QTest::newRow("not a book") << QByteArray("Ricette della nonna\n")
                                    << "Errore nella gestione dei dati: Il file '%1' non è un "
                                       "ricettario di Pentolone valido.(3343)";
    }
    void bookErrors_areSaidAndTheWindowStaysUsable()
    {
        QFETCH(QByteArray, contenuto);
        QFETCH(QString, atteso);
        QFile::remove(libro->percorso());
        if (!contenuto.isEmpty()) {
            QFile f(libro->percorso());
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(contenuto);
        }
        dialoghi->rispondi(Dialogs::OK);
        apri();
        QCOMPARE(dialoghi->messaggi().size(), 1);
        QCOMPARE(dialoghi->messaggi().value(0).testo, atteso.arg(libro->percorso()));
        QCOMPARE(dialoghi->messaggi().value(0).titolo, QString("Errore!"));
        barra("successivo");
        clic("Command6"); // still usable: help at the editor's topic
        const ScriptedDialogs::Chiamata guida = dialoghi->di("guida").value(0);
        QCOMPARE(guida.testo, QString("Pentolone.HLP"));
        QCOMPARE(guida.comando, 1);
        QCOMPARE(guida.contesto, 2);
    }
};

int tst_finestra(int argc, char **argv)
{
    TstFinestra t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_finestra.moc"
