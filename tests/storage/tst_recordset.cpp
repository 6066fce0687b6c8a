// A set of rows of one book: opened, moved, searched, read and written.
#include "ricettario.h"

#include <QTest>
#include <algorithm>

class TestRecordset : public ProvaSuRicettario
{
    Q_OBJECT

private slots:
    void init() { prepara(); }
    void cleanup() { libro_.reset(); }

    void newRow_keyFromEngine_standsLastUntilRequery()
    {
        const QString nome = "minestrone"; // sorts in the middle, in lower case
        // The highest key is gone: a counter taken as max()+1 would hand it out again.
        libro_->esegui("DELETE FROM Ricette WHERE NomeRicetta = 'Lasagne'");
        const qint64 attesa = 7; // six were made
        Recordset rs(apri(), Origine::RicettePerNome);
        rs.MoveNext();
        rs.AddNew();
        rs.Fields("NomeRicetta") = nome;
        rs.Update();
        QCOMPARE(chiave(nome), attesa);
        QCOMPARE(rs.LastModified().toLongLong(), attesa);
        QCOMPARE(nomeDi(rs), QString("Carbonara"));
        QCOMPARE(rs.RecordCount(), 6);
        rs.MoveLast();
        QCOMPARE(nomeDi(rs), nome);
        rs.Requery();
        QCOMPARE(nomi(rs).indexOf(nome), 2);
    }

    void deleteThenMove_givesNeighbourOrNoRow_data()
    {
        QTest::addColumn<int>("posizione");
        QTest::addColumn<bool>("avanti");
        QTest::addColumn<bool>("cerca");     // a find that every row matches, instead of a move
        QTest::addColumn<QString>("atteso"); // empty: off the set
        QTest::newRow("middle, next") << 2 << true << false << "Pasta all'uovo";
        QTest::newRow("last, next") << 5 << true << false << "";
        QTest::newRow("middle, previous") << 2 << false << false << "Carbonara";
        QTest::newRow("first, previous") << 0 << false << false << "";
        QTest::newRow("middle, find next") << 2 << true << true << "Pasta all'uovo";
        QTest::newRow("last, find next") << 5 << true << true << "";
    }

    void deleteThenMove_givesNeighbourOrNoRow()
    {
        QFETCH(int, posizione);
        QFETCH(bool, avanti);
        QFETCH(bool, cerca);
        QFETCH(QString, atteso);
        Recordset rs(apri(), Origine::RicettePerNome);
        for (int i = 0; i < posizione; ++i)
            rs.MoveNext();
        const QVariant eliminata = rs.Bookmark();
        rs.Delete();
        QVERIFY(colonnaSql("NomeRicetta", eliminata.toLongLong()).isNull());
        QCOMPARE(rs.RecordCount(), 5);
        QCOMPARE(rs.AbsolutePosition(), -1);
        QCOMPARE(errore([&] { rs.value(1); }), EngineError::NessunRecordCorrente);
        QCOMPARE(errore([&] { rs.setBookmark(eliminata); }), EngineError::RecordEliminato);
        if (cerca)
            rs.FindNext("IDRicetta > 0");
        else
            avanti ? rs.MoveNext() : rs.MovePrevious();
        if (atteso.isEmpty()) {
            QVERIFY(cerca ? rs.NoMatch() : avanti ? rs.Eof() : rs.Bof());
            QCOMPARE(errore([&] { rs.Fields(1).Value(); }), EngineError::NessunRecordCorrente);
        } else {
            QVERIFY(!rs.Bof() && !rs.Eof());
            const QVariant qui = rs.Bookmark();
            rs.MoveLast();
            rs.setBookmark(qui); // the rows after the deleted one moved up
            QCOMPARE(rs.Fields(1).Value().toString(), atteso);
        }
    }

    // A find walks the rows that match, then finds no more; a malformed criteria is an engine
    // error. Neither moves off the current row.
    void find_walksMatchesOrRefusesCriteria_data()
    {
        QTest::addColumn<QString>("criterio");
        QTest::addColumn<QStringList>("trovate");
        QTest::addColumn<int>("numero"); // of the engine error, 0: none
        // Before the find: "=name" renames the first row, "+name" adds a row, "~name" is the
        // first row's name as another set of ours writes it, "-name" is the row another program
        // deletes.
        QTest::addColumn<QStringList>("cambi");
        const auto trova = [](const char *caso, const char *criterio, const QStringList &trovate,
                              const QStringList &cambi = {}) {
            QTest::newRow(caso) << QString::fromUtf8(criterio) << trovate << 0 << cambi;
        };
        const auto rifiuta = [](const char *caso, const char *criterio,
                                int numero = EngineError::EspressioneErrata) {
            QTest::newRow(caso) << QString::fromUtf8(criterio) << QStringList() << numero
                                << QStringList();
        };
        // Portions are twice the key: Tiramisù 2, Carbonara 4, Zuppa 6, Bigné 8, Pasta 10,
        // Lasagne 12.
        trova("number >", "NumeroPorzioni > 6", {"Bigné", "Lasagne", "Pasta all'uovo"});
        trova("decimal <=", "NumeroPorzioni <= 4.5", {"Carbonara", "Tiramisù"});
        trova("<= the value itself", "NumeroPorzioni <= 4", {"Carbonara", "Tiramisù"});
        trova("bracketed key >=", "[IDRicetta] >= 5", {"Lasagne", "Pasta all'uovo"});
        trova("key of a row gone since", "IDRicetta = 5", {}, {"-Pasta all'uovo"});
        // A key is looked up, in a set of any order.
        trova("key", "IDRicetta = 3", {"Zuppa d'orzo"});
        trova("key of a row added", "IDRicetta = 7", {"Zzzz"}, {"+Zzzz"});
        trova("key with a fraction", "IDRicetta = 2.5", {});
        trova("doubled apostrophe", "NomeRicetta = 'Zuppa d''orzo'", {"Zuppa d'orzo"});
        trova("text in capitals", "nomericetta = 'BIGNÉ'", {"Bigné"});
        // The accent weighs only against the same plain letters, and then it decides.
        trova("accent decides", "NomeRicetta > 'Tiramisu'", {"Tiramisù", "Zuppa d'orzo"});
        // Where the rows stand in name order a find seeks; where they no longer do, it walks.
        trova("renamed row stays in place", "NomeRicetta >= 'Zzz'", {"Zzzz"}, {"=Zzzz"});
        trova("added rows stand last", "NomeRicetta >= 'Zzz'", {"Zzzz"}, {"+Zzzz", "+Aa", "+Ab"});
        trova("renamed by another set", "NomeRicetta >= 'M'",
              {"Zzzz", "Pasta all'uovo", "Tiramisù", "Zuppa d'orzo"}, {"~Zzzz"});
        trova("no such text", "NomeRicetta = 'Minestrone'", {});
        trova("number against text", "NomeRicetta = 5", {});
        rifiuta("missing operator", "NomeRicetta 'Carbonara'");
        rifiuta("unclosed apostrophe", "NomeRicetta = 'Carbonara");
        rifiuta("lone apostrophe inside", "NomeRicetta = 'Zuppa d'orzo'");
        rifiuta("bare word", "NomeRicetta = Carbonara");
        rifiuta("second condition", "NomeRicetta = 'x' or 1 = 1");
        rifiuta("not a number", "NumeroPorzioni = nan");
        rifiuta("empty", "");
        rifiuta("unknown column", "Nome = 'Carbonara'", EngineError::CampoSconosciuto);
        rifiuta("unknown bracketed column", "[Nome Ricetta] = 'x'", EngineError::CampoSconosciuto);
    }

    void find_walksMatchesOrRefusesCriteria()
    {
        QFETCH(QString, criterio);
        QFETCH(QStringList, trovate);
        QFETCH(int, numero);
        QFETCH(QStringList, cambi);
        Recordset rs(apri(), Origine::RicettePerNome);
        for (const QString &c : cambi) {
            if (c.startsWith('-')) {
                libro_->esegui("DELETE FROM Ricette WHERE NomeRicetta = ?", {c.mid(1)});
                continue;
            }
            if (c.startsWith('~')) {
                Recordset altro(apri(), Origine::RicettePerNome);
                altro.Edit();
                altro.setValue(Schema::NomeRicetta, c.mid(1));
                altro.Update();
                continue;
            }
            c.startsWith('=') ? rs.Edit() : rs.AddNew();
            rs.setValue(Schema::NomeRicetta, c.mid(1));
            rs.Update();
        }
        rs.MoveFirst();
        rs.MoveNext();
        if (numero) {
            QCOMPARE(errore([&] { rs.FindFirst(criterio); }), numero);
            QCOMPARE(errore([&] { rs.FindNext(criterio); }), numero);
            QCOMPARE(nomeDi(rs), QString("Carbonara"));
            QVERIFY(!rs.NoMatch());
        }
        QString corrente = "Carbonara"; // a find that finds nothing leaves it current
        for (int i = 0; !numero && i <= trovate.size(); ++i) {
            if (i == 0)
                rs.FindFirst(criterio);
            else
                rs.FindNext(criterio);
            QCOMPARE(rs.NoMatch(), i == trovate.size());
            corrente = trovate.value(i, corrente);
            QCOMPARE(nomeDi(rs), corrente);
        }
        rs.FindFirst("NomeRicetta = 'Lasagne'");
        QVERIFY(!rs.NoMatch());
    }

    void fields_namesWithoutRegardToCase_data()
    {
        QTest::addColumn<QString>("origine");
        QTest::addColumn<QString>("campo");
        QTest::addColumn<QString>("valore");
        QTest::addColumn<QString>("ultimo"); // the last row's
        caso("bare table in lower case", "ricette", "nomericetta", "Tiramisù", "Lasagne");
        // A bare table is in key order, whatever order its indexes keep.
        caso("table with indexes", "INGREDIENTI_RICETTA", "idricetta", "1", "4");
        caso("bracketed", Origine::RicettePerNome, "[Nomericetta]", "Bigné", "Zuppa d'orzo");
        caso("table in other case", Origine::CategoriePerNome, "categoriaALIMENTARE", "Dolci",
             "Primi");
        caso("accented column", Origine::RighePrefisso + "1", "QUANTITÀ", "100", "100");
    }

    void fields_namesWithoutRegardToCase()
    {
        QFETCH(QString, origine);
        QFETCH(QString, campo);
        Recordset rs(apri(), origine);
        QTEST(rs.Fields(campo).Value().toString(), "valore");
        rs.MoveLast();
        QTEST(rs.Fields(campo).Value().toString(), "ultimo");
        QCOMPARE(errore([&] { rs.Fields("Nome"); }), EngineError::CampoSconosciuto);
    }

    void delete_cascadesOnlyToOwnLines_data()
    {
        QTest::addColumn<QString>("origine");
        QTest::addColumn<QString>("criterio");
        QTest::addColumn<int>("colonnaRiga"); // the line column holding the deleted key, -1: none
        QTest::addColumn<int>("righeTolte");
        caso("ingredient", Origine::IngredientiPerNome, "Ingrediente = 'uova'", 1, 2);
        caso("recipe", Origine::RicettePerNome, "NomeRicetta = 'Carbonara'", 0, 2);
        caso("category", Origine::CategoriePerNome, "CategoriaAlimentare = 'Dolci'", -1, 0);
    }

    void delete_cascadesOnlyToOwnLines()
    {
        QFETCH(QString, origine);
        QFETCH(QString, criterio);
        QFETCH(int, colonnaRiga);
        const QString righe = "SELECT IDRicetta, IDIngrediente, \"Quantità\", Commenti "
                              "FROM ingredienti_ricetta ORDER BY 1, 2";
        const QString ricette =
            "SELECT IDRicetta, NomeRicetta, IDCategoriaAlimentare FROM Ricette ORDER BY 1";
        QList<QVariantList> righeAttese = libro_->righe(righe);
        QList<QVariantList> ricetteAttese = libro_->righe(ricette);
        Recordset rs(apri(), origine);
        rs.FindFirst(criterio);
        QVERIFY(!rs.NoMatch());
        const qint64 k = rs.value(0).toLongLong();
        rs.Delete();
        const auto tolte = righeAttese.removeIf(
            [&](const QVariantList &r) { return colonnaRiga >= 0 && r.at(colonnaRiga) == k; });
        QTEST(int(tolte), "righeTolte");
        if (colonnaRiga == 0)
            ricetteAttese.removeIf([&](const QVariantList &r) { return r.at(0) == k; });
        QCOMPARE(libro_->righe(righe), righeAttese);
        QCOMPARE(libro_->righe(ricette), ricetteAttese); // a category's recipes keep their old key
    }

    void orderBy_followsItalianOrder_data()
    {
        QTest::addColumn<QString>("origine");
        QTest::addColumn<bool>("discendente");
        caso("ascending", Origine::IngredientiPerNome, false);
        caso("descending", "select * from [Ingredienti] Order by [Ingrediente] DESC", true);
        caso("two terms", "select * from Ingredienti order by Ingrediente asc, IDIngrediente",
             false);
    }

    void orderBy_followsItalianOrder()
    {
        QFETCH(QString, origine);
        QFETCH(bool, discendente);
        QStringList attesi = {"albicocca", "ananas", "Ananas",  "Àncora",         "Banana",
                              "erba",      "Erba",   "èrba",    "èrba cipollina", "Èrba cipollina",
                              "Uovo",      "uva",    "Zenzero", "zucca"};
        libro_->esegui("DELETE FROM Ingredienti");
        {
            Recordset rs(apri(), Schema::Ingredienti);
            for (int i = 0; i < attesi.size(); ++i) {
                rs.AddNew();
                rs.Fields("Ingrediente") =
                    attesi.at(i * 5 % attesi.size()); // keys in neither order
                rs.Update();
            }
        }
        if (discendente)
            std::reverse(attesi.begin(), attesi.end());
        Recordset rs(apri(), origine);
        QStringList letti;
        for (; !rs.Eof(); rs.MoveNext())
            letti << rs.value("Ingrediente").toString();
        QCOMPARE(letti, attesi);
        // Criteria compare in the same order: the accented names stand before f.
        int primaDiF = 0;
        for (rs.FindFirst("Ingrediente < 'f'"); !rs.NoMatch(); rs.FindNext("Ingrediente < 'f'"))
            ++primaDiF;
        QCOMPARE(primaDiF, 10);
        // Plain SQLite, without our collation, still reads and sorts the book we wrote.
        const QString file = libro_->percorso();
        QCOMPARE(LibroDiProva::righe(file, "SELECT * FROM Ingredienti ORDER BY Ingrediente").size(),
                 attesi.size());
        QCOMPARE(LibroDiProva::righe(file, "SELECT * FROM Ricette ORDER BY NomeRicetta").size(), 6);
        QCOMPARE(libro_->valore("PRAGMA integrity_check").toString(), QString("ok"));
    }

    // A set keeps the values of its last rows only: those it comes back to are read again.
    void longSet_walkBothWays_readsEveryRowRight()
    {
        libro_->esegui("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n "
                       "WHERE i < 700) INSERT INTO Ricette (NomeRicetta) "
                       "SELECT printf('Polenta %03d', i) FROM n");
        QStringList attesi = perNome;
        for (int i = 700; i > 0; --i)
            attesi.insert(4, QString::asprintf("Polenta %03d", i));
        Recordset rs(apri(), Origine::RicettePerNome);
        QCOMPARE(nomi(rs), attesi);
        QStringList indietro;
        for (rs.MoveLast(); !rs.Bof(); rs.MovePrevious())
            indietro.prepend(nomeDi(rs));
        QCOMPARE(indietro, attesi);
    }

    void numericColumn_convertsTypedText_data()
    {
        QTest::addColumn<QString>("testo");
        QTest::addColumn<QVariant>("atteso");
        QTest::addColumn<int>("numero");
        caso("blanks", "   ", QVariant(), 0);
        caso("number in blanks", " 6 ", QVariant(6LL), 0);
        caso("number and word", "4 persone", QVariant(8LL), EngineError::ConversioneTipo);
    }

    void numericColumn_convertsTypedText()
    {
        QFETCH(QString, testo);
        Recordset rs(apri(), Origine::RicettePerNome); // Bigné, 8 portions
        rs.Edit();
        QTEST(errore([&] { rs.Fields("NumeroPorzioni") = testo; }), "numero");
        rs.Update();
        QTEST(colonnaSql("NumeroPorzioni", chiave("Bigné")), "atteso");
        QCOMPARE(rs.LastModified().toLongLong(), chiave("Bigné"));
    }
};

QTEST_MAIN(TestRecordset)
#include "tst_recordset.moc"
