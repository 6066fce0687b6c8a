// A book as a file: opened only when it is a whole recipe book, checked once, copied and
// restored, and every failure named.
#include "ricettario.h"
#include "storage/statement.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>

namespace {

// Lines enough for the whole check of the book to take a while (about half a second here).
const QString MoltissimeRighe =
    "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 1000000) "
    "INSERT INTO ingredienti_ricetta (IDRicetta, IDIngrediente, Commenti) "
    "SELECT (SELECT min(IDRicetta) FROM Ricette), NULL, printf('riga %d', i) FROM n";

// A book whose index on the lines of a recipe lost step with its table by one byte: quick_check
// passes it, and the lines of the recipe read through the index would miss one.
QByteArray indiceGuasto()
{
    LibroDiProva libro;
    libro.ricetta("Carbonara");
    const qint64 lasagne = libro.ricetta("Lasagne"), uova = libro.ingrediente("uova");
    for (int i = 0; i < 3; ++i)
        libro.riga(lasagne, uova);
    const qint64 pagina = libro
                              .valore("SELECT (rootpage - 1) * (SELECT page_size FROM "
                                      "pragma_page_size) FROM sqlite_schema "
                                      "WHERE name = 'ingredienti_ricetta_IDRicetta'")
                              .toLongLong();
    QByteArray dati = contenuto(libro.percorso());
    // The last entry (recipe 2, line 3) now names recipe 3: the entries are still in order.
    dati[dati.indexOf("\x05\x03\x01\x01\x02\x03", pagina) + 4] = '\x03';
    return dati;
}

} // namespace

class TestLibro : public ProvaSuRicettario
{
    Q_OBJECT

private slots:
    void init() { prepara(); }
    void cleanup() { libro_.reset(); }

    // The template and the sample book the build writes are books the program opens.
    void builtBooks_openAndHoldWhatTheyPromise()
    {
        const QString cartella = QStringLiteral(PENTOLONE_LIBRI);
        const QString modello = QDir(cartella).filePath("Ricetta");
        const QString esempio = QDir(cartella).filePath("Ricette.mdb");
        QVERIFY(Database::apri(modello, Database::Modo::SolaLettura)->aperto());
        QVERIFY(Database::apri(esempio, Database::Modo::SolaLettura)->aperto());
        const auto conta = [](const QString &file, const QString &sql) {
            return LibroDiProva::righe(file, sql).first().first().toInt();
        };
        QCOMPARE(conta(modello, "SELECT count(*) FROM Ricette"), 0);
        // Every line names a recipe and an ingredient that exist.
        QCOMPARE(conta(esempio, "SELECT count(*) FROM ingredienti_ricetta l "
                                "LEFT JOIN Ricette r USING (IDRicetta) "
                                "LEFT JOIN Ingredienti i USING (IDIngrediente) "
                                "WHERE r.IDRicetta IS NULL OR i.IDIngrediente IS NULL"),
                 0);
    }

    void open_refusesNonBooks_leavesFileUntouched_data()
    {
        QTest::addColumn<QByteArray>("dati"); // "-": no file, "/": a directory
        QTest::addColumn<QStringList>("sql");
        QTest::addColumn<int>("numero");
        const QByteArray libro = contenuto(LibroDiProva().percorso());
        const auto riga = [](const char *nome, const QByteArray &dati, const QStringList &sql = {},
                             int numero = EngineError::NonUnRicettario) {
            QTest::newRow(nome) << dati << sql << numero;
        };
        riga("missing file", "-", {}, EngineError::FileNonTrovato);
        riga("directory", "/");
        riga("empty file", "");
        riga("text file", "Carbonara: uova, guanciale, pecorino\r\n");
        riga("truncated book", libro.left(libro.size() / 2), {}, EngineError::DatabaseDanneggiato);
        riga("bytes after the last page", libro + "fine", {}, EngineError::DatabaseDanneggiato);
        // SQLite reads the lost end of the page as zeros: a recipe would lose its texts.
        const QByteArray esempio = contenuto(QDir(PENTOLONE_LIBRI).filePath("Ricette.mdb"));
        riga("cut inside its last page", esempio.left(esempio.size() - 1000), {},
             EngineError::DatabaseDanneggiato);
        riga("index out of step with its table", indiceGuasto(), {},
             EngineError::DatabaseDanneggiato);
        riga("book in WAL mode, table missing", libro,
             {"PRAGMA journal_mode = WAL", "DROP TABLE ingredienti_ricetta"});
        riga("columns in another order", libro,
             {"DROP TABLE \"Categorie alimentari\"",
              "CREATE TABLE \"Categorie alimentari\" (CategoriaAlimentare TEXT, "
              "IDCategoriaAlimentare INTEGER PRIMARY KEY AUTOINCREMENT)"});
        // Such a key is no counter: AddNew would store it empty.
        const auto chiaveRicette = [](const char *dichiarazione, const char *coda = "") {
            QStringList colonne;
            for (const Schema::Colonna &c : Schema::tabella(Schema::Ricette)->colonne)
                colonne << c.nome + ' ' + (colonne.isEmpty() ? dichiarazione : c.tipo);
            return QStringList{"DROP TABLE Ricette",
                               "CREATE TABLE Ricette (" + colonne.join(", ") + ')' + coda};
        };
        riga("key INT PRIMARY KEY", libro, chiaveRicette("INT PRIMARY KEY"));
        riga("key not declared", libro, chiaveRicette("INTEGER"));
        riga("key in a table without rowid", libro,
             chiaveRicette("INTEGER PRIMARY KEY", " WITHOUT ROWID"));
        riga("trigger", libro,
             {"CREATE TRIGGER t AFTER INSERT ON Ricette BEGIN DELETE FROM Ingredienti; END"});
        riga("view", libro, {"CREATE VIEW v AS SELECT * FROM Ricette"});
        // The engine refuses to create them: the schema is written as another program would.
        const auto riscritto = [](const char *indice, const char *da, const char *a) {
            return QStringList{indice, QStringLiteral("PRAGMA writable_schema = ON; "
                                                      "UPDATE sqlite_schema SET sql = "
                                                      "replace(sql, '%1', '%2') WHERE name = 'i'")
                                           .arg(da, a)};
        };
        riga("unknown collation", libro,
             riscritto("CREATE INDEX i ON Ricette (NomeRicetta COLLATE NOCASE)", "NOCASE",
                       "Tedesco"));
        riga("unknown function", libro,
             riscritto("CREATE INDEX i ON Ricette (lower(NomeRicetta))", "lower", "dieta"));
    }

    void open_refusesNonBooks_leavesFileUntouched()
    {
        QFETCH(QByteArray, dati);
        QFETCH(QStringList, sql);
        const QDir cartella(libro_->cartella());
        const QString file = cartella.filePath("Libro.mdb");
        if (dati == "/") {
            QVERIFY(cartella.mkdir("Libro.mdb"));
        } else if (dati != "-") {
            QFile f(file);
            QVERIFY(f.open(QIODevice::WriteOnly) && f.write(dati) == dati.size());
        }
        for (const QString &s : sql)
            AltroProgramma(file, s.toUtf8().constData());
        const auto elenco = [&] { return cartella.entryList(QDir::AllEntries | QDir::Hidden); };
        const QStringList primaElenco = elenco();
        const QByteArray primaByte = contenuto(file);
        int trovato = 0;
        try {
            Database::apri(file);
        } catch (const EngineError &e) {
            trovato = e.number();
            QVERIFY2(e.description().contains(file), qPrintable(e.description()));
        }
        QTEST(trovato, "numero");
        QCOMPARE(contenuto(file), primaByte);
        QCOMPARE(elenco(), primaElenco); // nothing created beside it, not even a journal
    }

    // Another program keeps the book in WAL mode: its newest pages are in the -wal file, and
    // the book itself is shorter than its pages.
    void open_bookInWalMode_readsPagesOfTheWal()
    {
        AltroProgramma altro(libro_->percorso(),
                             "PRAGMA journal_mode = WAL; PRAGMA wal_autocheckpoint = 0; "
                             "INSERT INTO Ricette (NomeRicetta, Note) "
                             "VALUES ('Minestrone', printf('%.*c', 20000, 'x'))");
        Recordset rs(Database::apri(libro_->percorso(), Database::Modo::SolaLettura),
                     Origine::RicettePerNome);
        QCOMPARE(nomi(rs).indexOf("Minestrone"), 3);
    }

    // The whole file is read for damage once per book, and again only when another program
    // wrote it since.
    void open_checkedOncePerBook_data()
    {
        QTest::addColumn<QString>("inMezzo");
        QTest::addColumn<bool>("altroProgramma");
        QTest::addColumn<int>("controlli");
        QTest::addColumn<int>("anticipi"); // checks started ahead, before the opening
        const QString scrittura = "INSERT INTO Ricette (NomeRicetta) VALUES ('Frittata')";
        caso("reopened unchanged", "", false, 0, 0);
        caso("our own write in between", scrittura, false, 0, 0);
        caso("another program's write in between", scrittura, true, 1, 0);
        caso("another program's write, checked ahead", scrittura, true, 1, 1);
        // The book named again while its first check still runs, and opened at once: the
        // opening waits for that check.
        caso("another program's write, named twice ahead", MoltissimeRighe, true, 1, 2);
    }

    void open_checkedOncePerBook()
    {
        QFETCH(QString, inMezzo);
        QFETCH(bool, altroProgramma);
        QFETCH(int, anticipi);
        apri()->Close();
        const quint64 prima = Database::controlliDiIntegrita();
        if (altroProgramma)
            libro_->esegui(inMezzo);
        else if (!inMezzo.isEmpty())
            apri()->esegui(inMezzo);
        for (int i = 0; i < anticipi; ++i)
            Database::verificaInAnticipo(libro_->percorso());
        apri()->Close();
        QTEST(int(Database::controlliDiIntegrita() - prima), "controlli");
    }

    // The books found whole are kept across runs: a book as it was when its check passed is
    // not read again at the next run; any other file in its place is.
    void open_checkedAcrossRuns_data()
    {
        QTest::addColumn<QString>("intanto");
        QTest::addColumn<int>("controlli");
        caso("unchanged", "", 0);
        caso("changed by our own write", "nostra", 0);
        caso("written by another program", "altro", 1);
        caso("a copy of the same size and time put in its place", "copia", 1);
        caso("restored from the backup", "ripristino", 1);
    }

    void open_checkedAcrossRuns()
    {
        QFETCH(QString, intanto);
        const QString copia = QDir(libro_->cartella()).filePath("Copia.mdb");
        apri()->Close();
        QVERIFY(QFile::copy(libro_->percorso(), copia));
        struct stat prima;
        QCOMPARE(::stat(QFile::encodeName(libro_->percorso()).constData(), &prima), 0);
        if (intanto == "nostra") {
            apri()->esegui("UPDATE Ricette SET Note = 'x'");
        } else if (intanto == "altro") {
            libro_->esegui("UPDATE Ricette SET Note = 'x'");
        } else if (intanto == "copia") {
            QFile da(copia), a(libro_->percorso());
            QVERIFY(da.open(QIODevice::ReadOnly) && a.open(QIODevice::WriteOnly));
            a.write(da.readAll());
            a.close();
            const timespec tempi[2] = {prima.st_atim, prima.st_mtim};
            QCOMPARE(
                ::utimensat(AT_FDCWD, QFile::encodeName(libro_->percorso()).constData(), tempi, 0),
                0);
        } else if (intanto == "ripristino") {
            Database::ripristina(copia, libro_->percorso());
        }
        Database::ricaricaVerifiche(); // the next run
        const quint64 controlli = Database::controlliDiIntegrita();
        apri()->Close();
        QTEST(int(Database::controlliDiIntegrita() - controlli), "controlli");
    }

    // A book the program makes (an import's source book) and fills in a transaction of its own,
    // by statements of its own, is whole: its first opening reads every page again only when
    // another program wrote it since.
    void create_filledByUs_notCheckedAgain_data()
    {
        QTest::addColumn<bool>("altroProgramma");
        QTest::addColumn<int>("controlli");
        caso("only our writes", false, 0);
        caso("another program's write after", true, 1);
    }

    void create_filledByUs_notCheckedAgain()
    {
        QFETCH(bool, altroProgramma);
        const QString file = QDir(libro_->cartella()).filePath("Fonte.mdb");
        {
            const std::shared_ptr<Database> db = Database::crea(file);
            Database::Transazione t(*db);
            Statement(db->handle(), "INSERT INTO Ricette (NomeRicetta) VALUES ('Pesto')").step();
            t.commit();
            db->Close();
        }
        if (altroProgramma)
            AltroProgramma(file, "INSERT INTO Ricette (NomeRicetta) VALUES ('Salsa')");
        const quint64 prima = Database::controlliDiIntegrita();
        Database::apri(file, Database::Modo::SolaLettura)->Close();
        QTEST(int(Database::controlliDiIntegrita() - prima), "controlli");
    }

    // The program may end while a large book is still checked on its own thread: the check is
    // interrupted and its thread ended before the statics it reads go. The book is then not
    // written down as whole; the books that are, are.
    void quit_whileALargeBookIsChecked()
    {
        libro_->esegui(MoltissimeRighe);
        const QString fatto = QDir(libro_->cartella()).filePath("Fatto.mdb");
        QTemporaryDir cache;
        QProcessEnvironment ambiente = QProcessEnvironment::systemEnvironment();
        ambiente.insert("XDG_CACHE_HOME", cache.path());
        QProcess uscita;
        uscita.setProcessEnvironment(ambiente);
        uscita.start(USCITA, {libro_->percorso(), fatto});
        QVERIFY(uscita.waitForFinished(60000)); // reached only when the check is not stopped
        QVERIFY2(uscita.exitStatus() == QProcess::NormalExit && uscita.exitCode() == 0,
                 uscita.readAllStandardError().constData());
        const QStringList righe =
            QString::fromLocal8Bit(uscita.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
        QCOMPARE(righe.size(), 3);
        // The check's thread ended with the application.
        QCOMPARE(righe.at(2).toInt(), righe.at(1).toInt() - 1);
        const QString verificati = contenuto(QDir(righe.at(0)).filePath("verificati"));
        QVERIFY2(verificati.contains('\t' + QFileInfo(fatto).canonicalFilePath() + '\n'),
                 qPrintable(verificati));
        QVERIFY(!verificati.contains(QFileInfo(libro_->percorso()).canonicalFilePath()));
    }

    // Data sources on one book share its connection and its check, until it is closed.
    void open_sameBook_sharedUntilClosed()
    {
        const std::shared_ptr<Database> db = apri();
        QCOMPARE(apri().get(), db.get());
        db->Close();
        const std::shared_ptr<Database> nuovo = apri();
        QVERIFY(nuovo.get() != db.get() && nuovo->aperto());
    }

    // A write or a copy that fails names its real cause in Italian, and leaves the book and
    // its folder as they were.
    void failure_namesCauseChangesNothing_data()
    {
        QTest::addColumn<QString>("operazione");
        QTest::addColumn<int>("numero");
        QTest::addColumn<QString>("file"); // the file named, beside the book; empty: the book
        caso("book full", "pieno", EngineError::DiscoPieno, "");
        caso("backup into a missing folder", "copia", EngineError::CartellaNonTrovata,
             "manca/Prova.old");
        caso("backup over the size allowed", "limite", EngineError::FileTroppoGrande, "Prova.old");
        caso("backup of a book in use", "bloccato", EngineError::FileInUso, "");
        caso("restore from a missing copy", "ripristina", EngineError::FileNonTrovato, "Prova.old");
        // A book opened read-only is read, but refuses each write.
        caso("read-only book, edit", "modifica", EngineError::SolaLettura, "");
        caso("read-only book, add new", "nuovo", EngineError::SolaLettura, "");
        caso("read-only book, delete", "elimina", EngineError::SolaLettura, "");
    }

    void failure_namesCauseChangesNothing()
    {
        QFETCH(QString, operazione);
        QFETCH(int, numero);
        QFETCH(QString, file);
        const QString libro = libro_->percorso();
        const QDir cartella(libro_->cartella());
        file = file.isEmpty() ? libro : cartella.filePath(file);
        const QStringList primaElenco = cartella.entryList(QDir::AllEntries | QDir::Hidden);
        const QByteArray primaByte = contenuto(libro);
        const std::shared_ptr<Database> db = apri();
        db->setAttesaMassima(50);
        std::unique_ptr<AltroProgramma> altro;
        rlimit limite{};
        getrlimit(RLIMIT_FSIZE, &limite);
        const auto ripristinaLimite = qScopeGuard([&] { setrlimit(RLIMIT_FSIZE, &limite); });
        QString descrizione;
        const int trovato = errore([&] {
            try {
                if (operazione == "pieno") {
                    db->esegui("PRAGMA max_page_count = " +
                               db->valore("PRAGMA page_count").toString());
                    Recordset rs(db, Schema::Ricette);
                    rs.AddNew();
                    rs.Fields("Note") = QString(20000, 'x');
                    rs.Update();
                } else if (operazione == "ripristina") {
                    Database::ripristina(file, libro);
                } else if (QStringList{"modifica", "nuovo", "elimina"}.contains(operazione)) {
                    Recordset rs(Database::apri(libro, Database::Modo::SolaLettura),
                                 Origine::RicettePerNome);
                    QCOMPARE(nomi(rs), perNome);
                    rs.MoveFirst();
                    if (operazione == "elimina")
                        return rs.Delete();
                    operazione == "modifica" ? rs.Edit() : rs.AddNew();
                    rs.Fields("NomeRicetta") = "Minestrone";
                    rs.Update();
                } else {
                    if (operazione == "bloccato")
                        altro = std::make_unique<AltroProgramma>(libro);
                    if (operazione == "limite") {
                        // The copy's writes fail as on a full disk; without the signal's end.
                        std::signal(SIGXFSZ, SIG_IGN);
                        const rlimit poco{1024, limite.rlim_max};
                        setrlimit(RLIMIT_FSIZE, &poco);
                    }
                    Database::copiaDiSicurezza(libro, file);
                }
            } catch (const EngineError &e) {
                descrizione = e.description();
                throw;
            }
        });
        QCOMPARE(trovato, numero);
        QCOMPARE(descrizione, EngineError::descrizione(numero, file));
        altro.reset();
        QCOMPARE(contenuto(libro), primaByte);
        QCOMPARE(cartella.entryList(QDir::AllEntries | QDir::Hidden), primaElenco);
    }
};

QTEST_MAIN(TestLibro)
#include "tst_libro.moc"
