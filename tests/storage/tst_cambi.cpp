// What a set shows after the book changed under it: through another set, a statement of ours,
// a rollback, another program, a restore.
#include "ricettario.h"
#include "storage/statement.h"

#include <QDir>
#include <QFile>
#include <QTest>
#include <atomic>
#include <thread>

class TestCambi : public ProvaSuRicettario
{
    Q_OBJECT

private slots:
    void init() { prepara(); }
    void cleanup() { libro_.reset(); }

    void change_seenByAnotherSetAfterMove_data()
    {
        QTest::addColumn<bool>("requery");
        QTest::addColumn<bool>("scrive"); // the set adds a row of its own before the move
        // Sets on one book see each other's writes, whatever connection each has.
        QTest::newRow("set on another connection") << false << false;
        QTest::newRow("set on another connection, then its own write") << false << true;
        // Another program's writes are seen at the next move, or once the set is opened again.
        QTest::newRow("plain SQL, then Requery") << true << false;
    }

    void change_seenByAnotherSetAfterMove()
    {
        QFETCH(bool, requery);
        QFETCH(bool, scrive);
        Recordset lettore(Database::apri(libro_->percorso(), scrive
                                                                 ? Database::Modo::LetturaScrittura
                                                                 : Database::Modo::SolaLettura),
                          Origine::RicettePerNome);
        lettore.MoveNext();
        lettore.MoveNext();
        const QVariant lasagne = lettore.Bookmark();
        lettore.MoveFirst();
        if (!requery) {
            Recordset altro(apri(), Schema::Ricette);
            altro.FindFirst("NomeRicetta = 'Carbonara'");
            altro.Edit();
            altro.Fields("nomeRICETTA") = "Carbonara vera";
            altro.Update();
            altro.FindFirst("NomeRicetta = 'Lasagne'");
            altro.Delete();
        } else {
            libro_->esegui("UPDATE Ricette SET NomeRicetta = 'Carbonara vera' "
                           "WHERE NomeRicetta = 'Carbonara'");
            libro_->esegui("DELETE FROM Ricette WHERE NomeRicetta = 'Lasagne'");
            lettore.Requery();
        }
        if (scrive) {
            lettore.AddNew();
            lettore.Fields(Schema::NomeRicetta) = "Zabaione";
            lettore.Update();
        }
        lettore.MoveNext();
        QCOMPARE(nomeDi(lettore), QString("Carbonara vera"));
        // The row deleted elsewhere may still be reached, but never read.
        QCOMPARE(errore([&] {
                     lettore.setBookmark(lasagne);
                     lettore.value(1);
                 }),
                 EngineError::RecordEliminato);
    }

    // Another program commits while a set stands on Carbonara: the set's next step sees the
    // book as it is, its keys included, and never writes into a row that is gone.
    void anotherProgram_setSeesItsCommits_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QString>("passo");
        QTest::addColumn<QString>("dopo"); // the name then current, "-" none, "!" unreadable
        QTest::addColumn<int>("righe");
        QTest::addColumn<int>("numero"); // of the step's engine error, 0: none
        caso("inserted, next", "INSERT INTO Ricette (NomeRicetta) VALUES ('Crema')", "next",
             "Crema", 7, 0);
        caso("renamed ahead, last",
             "UPDATE Ricette SET NomeRicetta = 'Zuppa di farro' "
             "WHERE NomeRicetta = 'Zuppa d''orzo'",
             "last", "Zuppa di farro", 6, 0);
        caso("current deleted, next", "DELETE FROM Ricette WHERE NomeRicetta = 'Carbonara'", "next",
             "Lasagne", 5, 0);
        caso("current deleted, previous", "DELETE FROM Ricette WHERE NomeRicetta = 'Carbonara'",
             "previous", "Bigné", 5, 0);
        caso("current deleted, edit", "DELETE FROM Ricette WHERE NomeRicetta = 'Carbonara'", "edit",
             "-", 5, int(EngineError::NessunRecordCorrente));
        caso("deleted while edited", "DELETE FROM Ricette WHERE NomeRicetta = 'Carbonara'",
             "update", "-", 5, int(EngineError::RecordEliminato));
        // A set of ours on the same connection: no commit of another to see, and still no
        // write lands in a row that is gone.
        caso("deleted by a set of ours while edited",
             "ours:DELETE FROM Ricette WHERE NomeRicetta = 'Carbonara'", "update", "!", 6,
             int(EngineError::RecordEliminato));
        caso("renamed, found by key",
             "UPDATE Ricette SET NomeRicetta = 'Carbonara vera' "
             "WHERE NomeRicetta = 'Carbonara'",
             "find", "Carbonara vera", 6, 0);
        caso("renamed, whole column",
             "UPDATE Ricette SET NomeRicetta = 'Bignè' "
             "WHERE NomeRicetta = 'Bigné'",
             "column", "Carbonara", 6, 0);
        caso("deleted, by bookmark", "DELETE FROM Ricette WHERE NomeRicetta = 'Lasagne'",
             "bookmark", "Carbonara", 5, int(EngineError::RecordEliminato));
    }

    void anotherProgram_setSeesItsCommits()
    {
        QFETCH(QString, sql);
        QFETCH(QString, passo);
        Recordset rs(apri(), Origine::RicettePerNome);
        rs.FindFirst("NomeRicetta = 'Carbonara'"); // every row read on the way, and kept
        const qint64 carbonara = chiave("Carbonara"), lasagne = chiave("Lasagne");
        if (passo == "update") {
            rs.Edit();
            rs.Fields("Note") = "con guanciale";
        }
        if (sql.startsWith("ours:"))
            rs.database().scrivi(Schema::Ricette, sql.mid(5), {});
        else
            libro_->esegui(sql);
        const int numero = errore([&] {
            if (passo == "next")
                rs.MoveNext();
            else if (passo == "previous")
                rs.MovePrevious();
            else if (passo == "last")
                rs.MoveLast();
            else if (passo == "edit")
                rs.Edit();
            else if (passo == "update")
                rs.Update();
            else if (passo == "find")
                rs.FindFirst("IDRicetta = " + QString::number(carbonara));
            else if (passo == "bookmark")
                rs.setBookmark(QVariant(lasagne));
            else if (passo == "column")
                QCOMPARE(rs.colonnaIntera(Schema::NomeRicetta).value(0).toString(), "Bignè");
        });
        QTEST(numero, "numero");
        QString dopo = "-"; // "!": a current row that cannot be read
        if (rs.haRigaCorrente() && errore([&] { dopo = nomeDi(rs); }))
            dopo = "!";
        QTEST(dopo, "dopo");
        QTEST(rs.RecordCount(), "righe");
        QCOMPARE(rs.persaAltrove(), dopo == "-");
        QCOMPARE(
            libro_->valore("SELECT count(*) FROM Ricette WHERE Note = 'con guanciale'").toInt(), 0);
    }

    // A restore while sets are open: they say the book was closed, never read the old pages or
    // crash; the book opened again holds the copy.
    void restore_withSetsOpen()
    {
        const QString copia = QDir(libro_->cartella()).filePath("Prova.bak");
        Database::copiaDiSicurezza(libro_->percorso(), copia);
        Recordset rs(apri(), Origine::RicettePerNome);
        libro_->esegui("DELETE FROM Ricette WHERE NomeRicetta = 'Bigné'");
        Database::ripristina(copia, libro_->percorso());
        QCOMPARE(errore([&] { rs.MoveNext(); }), EngineError::RicettarioChiuso);
        Recordset dopo(apri(), Origine::RicettePerNome);
        QCOMPARE(nomeDi(dopo), QString("Bigné"));
    }

    // A watcher that leaves is never told again, even while another thread writes: the content
    // search's index leaves from its own thread (run under AddressSanitizer and
    // ThreadSanitizer too).
    void watcher_leavesBeforeAWrite()
    {
        struct Conta : Database::Osservatore
        {
            std::atomic<int> volte = 0;
            void rigaCambiata(const QString &, qint64) override { ++volte; }
        };
        const auto db = apri();
        Conta resta;
        Database::osserva(libro_->percorso(), &resta);
        std::atomic<bool> fine = false;
        std::thread altro([&] {
            while (!fine) {
                auto via = std::make_unique<Conta>();
                Database::osserva(libro_->percorso(), via.get());
                Database::nonOsservare(libro_->percorso(), via.get());
            }
        });
        for (int i = 0; i < 100; ++i)
            db->scrivi(Schema::Ricette, "UPDATE Ricette SET Note = ? WHERE NomeRicetta = 'Bigné'",
                       {QString::number(i)});
        fine = true;
        altro.join();
        Database::nonOsservare(libro_->percorso(), &resta);
        QCOMPARE(resta.volte.load(), 100);
    }

    // One book named by two paths (a link): one connection, one check, each set sees the
    // other's writes.
    void sameBook_twoPaths_oneConnection()
    {
        const QString link = QDir(libro_->cartella()).filePath("Collegamento.mdb");
        QVERIFY(QFile::link(libro_->percorso(), link));
        const auto db = apri();
        QCOMPARE(Database::apri(link).get(), db.get());
        Recordset lettore(Database::apri(link), Origine::RicettePerNome);
        Recordset scrittore(db, Origine::RicettePerNome);
        scrittore.Edit();
        scrittore.Fields("NomeRicetta") = "Bignè";
        scrittore.Update();
        QCOMPARE(nomeDi(lettore), QString("Bignè"));
    }

    // A set reads again the rows whatever wrote them through the program's own connection: a
    // statement of ours (an import's), a deletion whose rows took others with them, a write
    // rolled back after the set read it.
    void write_seenByTheSetThatReadIt_data()
    {
        QTest::addColumn<QString>("scrittura");
        QTest::addColumn<QString>("atteso"); // the line's quantity; "!": the line is gone
        caso("a statement of ours, committed", "statement", "3");
        caso("its recipe deleted by another set", "ricetta", "!");
        caso("rolled back after it was read", "rollback", "100");
    }
    void write_seenByTheSetThatReadIt()
    {
        QFETCH(QString, scrittura);
        const auto db = apri();
        Recordset righe(db, Origine::TabellaRighe); // on Tiramisù's first line
        QCOMPARE(righe.value("Quantità").toString(), "100");
        const auto cambia = [&] {
            Statement(db->handle(), "UPDATE ingredienti_ricetta SET \"Quantità\" = '3' "
                                    "WHERE IDIngredienteRicetta = ?")
                .bind(1, righe.Bookmark())
                .step();
        };
        if (scrittura == "ricetta") {
            Recordset ricette(db, Schema::Ricette);
            ricette.FindFirst("NomeRicetta = 'Tiramisù'");
            ricette.Delete();
        } else {
            Database::Transazione t(*db);
            cambia();
            if (scrittura == "statement")
                t.commit();
            else
                QCOMPARE(righe.value("Quantità").toString(), "3");
        }
        QString letto = "!";
        if (const int numero = errore([&] { letto = righe.value("Quantità").toString(); }))
            QCOMPARE(numero, int(EngineError::RecordEliminato));
        QTEST(letto, "atteso");
    }

    // A write that is rolled back leaves nothing in the rows a set read meanwhile.
    void rolledBackWrite_isNotSeen()
    {
        const auto db = apri();
        Recordset rs(db, Origine::RicettePerNome);
        {
            Database::Transazione t(*db);
            rs.Edit();
            rs.Fields("NomeRicetta") = "Bignè";
            rs.Update();
            QCOMPARE(nomeDi(rs), QString("Bignè"));
        }
        QCOMPARE(nomeDi(rs), QString("Bigné"));
    }
};

QTEST_MAIN(TestCambi)
#include "tst_cambi.moc"
