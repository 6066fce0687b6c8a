// The data control: bound controls written and filled around each move, its events, and what a
// failed read or write leaves.
#include "erroridati.h"
#include "ricettario.h"
#include "storage/datasource.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QTest>

namespace {

void digita(QLineEdit &casella, const QString &testo)
{
    casella.selectAll();
    // keyClicks takes Latin-1 keys only; accented letters arrive as text, as from an input method.
    for (const QChar c : testo)
        QTest::sendKeyEvent(QTest::Click, &casella, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

// A recipe form: name, portions and vegetarian bound to the recipes in name order.
struct Modulo
{
    DataSource ds;
    QLineEdit nome, porzioni;
    QCheckBox vegetariana;
    explicit Modulo(const QString &file, const QString &origine = Origine::RicettePerNome)
    {
        ds.setDatabaseName(file);
        ds.setRecordSource(origine);
        ds.bind(&nome, "NomeRicetta");
        ds.bind(&porzioni, "NumeroPorzioni");
        ds.bind(&vegetariana, "Vegetariana");
    }
    // One operation of the data control, by the action code Validate reports for it.
    void agisci(int codice)
    {
        if (codice == Azione::Successivo)
            ds.MoveNext();
        else if (codice == Azione::NuovoRecord)
            ds.esegui([](Recordset &rs) { rs.AddNew(); });
        else if (codice == Azione::Ricerca)
            ds.esegui([](Recordset &rs) { rs.FindFirst("NomeRicetta = 'Lasagne'"); });
        else if (codice == Azione::Segnalibro)
            ds.vaiA(5); // as a click in the grid
        else if (codice == Azione::Chiusura)
            ds.Close();
        else if (codice == Azione::Aggiornamento)
            ds.UpdateRecord();
        else if (codice == Azione::Eliminazione)
            ds.esegui([](Recordset &rs) { rs.Delete(); });
        else
            QFAIL("unknown action");
    }
};

} // namespace

class TestDataSource : public ProvaSuRicettario
{
    Q_OBJECT

private slots:
    void init() { prepara(); }
    void cleanup()
    {
        DataSource::setGestoreErrori(nullptr);
        libro_.reset();
    }

    // While a set reads, the book may be locked or a row hold a value over the limits. The move
    // says so and stays on the row shown, which takes what is typed; the next move passes a row
    // that failed for itself, never one that only waited for a lock. Rows it could not read
    // stay unread, not deleted, and read right once the cause is gone.
    void failedRead_staysThenPassesTheRow_data()
    {
        QTest::addColumn<bool>("bloccato"); // else a value over the length limit
        QTest::addColumn<int>("numero");
        QTest::addColumn<int>("da");   // the row shown; the one after it fails
        QTest::addColumn<int>("dopo"); // the position after the next move
        caso("book locked, then free", true, EngineError::FileInUso, 0, 1);
        caso("value over the limit", false, EngineError::TroppiDati, 0, 2);
        caso("last row over the limit", false, EngineError::TroppiDati, 4, 4); // nothing after
    }

    void failedRead_staysThenPassesTheRow()
    {
        QFETCH(bool, bloccato);
        QFETCH(int, numero);
        QFETCH(int, da);
        QFETCH(int, dopo);
        const std::shared_ptr<Database> db = apri();
        db->setAttesaMassima(50);
        Modulo m(libro_->percorso());
        QVERIFY(m.ds.Refresh());
        m.ds.vaiA(da);
        QList<int> errori;
        raccogliErrori(m.ds, this, errori);
        db->esegui("UPDATE Ricette SET Note = NULL"); // the rows shown so far are read again
        // The next row's notes grow past the limit; no need to wait for the disk in a test.
        const QByteArray lunghe = QStringLiteral("PRAGMA synchronous = OFF; UPDATE Ricette SET "
                                                 "Note = printf('%.*c', 64 * 1024 * 1024 + 1, "
                                                 "'x') WHERE IDRicetta = %1")
                                      .arg(chiave(perNome.at(da + 1)))
                                      .toUtf8();
        auto altro = std::make_unique<AltroProgramma>(
            libro_->percorso(), bloccato ? "BEGIN EXCLUSIVE" : lunghe.constData());
        // Typing into a locked book fails at the write, before the read this is about.
        const QString digitato = perNome.at(da) + (bloccato ? "" : " fritti");
        digita(m.nome, digitato);
        m.ds.MoveNext();
        QCOMPARE(errori, QList<int>{numero});
        QCOMPARE(m.ds.Recordset()->AbsolutePosition(), da); // nobody was shown the row it tried
        if (bloccato)
            altro.reset();
        else
            digita(m.porzioni, "5");
        m.ds.MoveNext();
        QCOMPARE(m.ds.Recordset()->AbsolutePosition(), dopo);
        QCOMPARE(errori.size(), dopo == da ? 2 : 1);
        QStringList attesi = perNome;
        attesi[da] = digitato;
        QCOMPARE(m.nome.text(), attesi.at(dopo));
        if (!bloccato) {
            m.ds.vaiA(da); // its block holds the row that fails: this one is read on its own
            QCOMPARE(m.nome.text(), digitato);
            db->esegui("UPDATE Ricette SET Note = NULL");
        }
        altro.reset();
        QCOMPARE(nomi(*m.ds.Recordset()), attesi);
        QCOMPARE(colonnaSql("NumeroPorzioni", chiave(digitato)).toInt(), bloccato ? 8 : 5);
    }

    void dataSource_writesOnlyChangedControls_data()
    {
        QTest::addColumn<int>("codice");
        QTest::addColumn<bool>("digitato");
        QTest::addColumn<bool>("annulla"); // Validate answers with action 0
        // One row for each path: the moves share theirs, and untouched controls are left alone
        // on the way of any move.
        const QList<QPair<const char *, int>> azioni = {
            {"next", Azione::Successivo},    {"add new", Azione::NuovoRecord},
            {"find", Azione::Ricerca},       {"bookmark", Azione::Segnalibro},
            {"close", Azione::Chiusura},     {"update record", Azione::Aggiornamento},
            {"delete", Azione::Eliminazione}};
        for (const auto &[nome, codice] : azioni) {
            if (codice == Azione::Successivo || codice == Azione::Chiusura ||
                codice == Azione::Aggiornamento)
                QTest::addRow("%s, untouched", nome) << codice << false << false;
            QTest::addRow("%s, typed", nome) << codice << true << false;
            if (codice != Azione::Chiusura)
                QTest::addRow("%s, typed, cancelled", nome) << codice << true << true;
        }
    }

    void dataSource_writesOnlyChangedControls()
    {
        QFETCH(int, codice);
        QFETCH(bool, digitato);
        QFETCH(bool, annulla);
        const qint64 bigne = chiave("Bigné");
        Modulo m(libro_->percorso());
        QVERIFY(m.ds.Refresh());
        // Changed behind the data source's back (1 as another program writes yes): only a
        // control the user changed may overwrite it.
        libro_->esegui("UPDATE Ricette SET NomeRicetta = 'Bigné alla crema', NumeroPorzioni = 3, "
                       "Vegetariana = 1 WHERE IDRicetta = ?",
                       {bigne});
        if (digitato) {
            digita(m.nome, "Bignè ripieni");
            m.vegetariana.click();
        }
        QStringList validate;
        int riposizionamenti = 0;
        connect(
            &m.ds, &DataSource::Validate, this,
            [&](int &azione, int &salva) {
                validate << QString("%1/%2").arg(azione).arg(salva);
                if (annulla)
                    azione = Azione::Annulla;
            },
            Qt::DirectConnection);
        connect(&m.ds, &DataSource::Reposition, this, [&] { ++riposizionamenti; });
        m.agisci(codice);
        // A deleted row takes nothing of what was typed.
        const bool eliminata = codice == Azione::Eliminazione && !annulla;
        const bool scritto = digitato && !annulla && !eliminata;
        // UpdateRecord asks to save even when nothing changed.
        const bool salva = digitato || codice == Azione::Aggiornamento;
        QCOMPARE(validate, QStringList{QString("%1/%2").arg(codice).arg(salva ? 1 : 0)});
        QCOMPARE(colonnaSql("NomeRicetta", bigne).toString(),
                 QString(eliminata ? ""
                         : scritto ? "Bignè ripieni"
                                   : "Bigné alla crema"));
        QCOMPARE(colonnaSql("Vegetariana", bigne).toInt(), scritto || eliminata ? 0 : 1);
        QCOMPARE(colonnaSql("NumeroPorzioni", bigne).toInt(), eliminata ? 0 : 3);
        if (annulla) {
            QCOMPARE(riposizionamenti, 0);
            QCOMPARE(m.ds.Recordset()->AbsolutePosition(), 0);
            QCOMPARE(m.ds.Recordset()->EditMode(), int(Recordset::Nessuna));
            QCOMPARE(m.nome.text(), QString("Bignè ripieni"));
        }
    }

    // A move raises Validate before it writes what was typed, fills the controls from the new
    // row, then raises Reposition.
    void dataSource_validateWriteMoveFillReposition()
    {
        const qint64 bigne = chiave("Bigné");
        Modulo m(libro_->percorso());
        QVERIFY(m.ds.Refresh());
        digita(m.nome, "Bignè ripieni");
        QStringList eventi;
        const auto stato = [&] {
            return QString("sql=%1 at=%2")
                .arg(colonnaSql("NomeRicetta", bigne).toString())
                .arg(m.ds.Recordset()->AbsolutePosition());
        };
        connect(&m.ds, &DataSource::Validate, this,
                [&](int &, int &) { eventi << "Validate " + stato(); });
        connect(&m.nome, &QLineEdit::textChanged, this,
                [&](const QString &t) { eventi << "fill '" + t + "' " + stato(); });
        connect(&m.ds, &DataSource::Reposition, this, [&] { eventi << "Reposition " + stato(); });
        m.ds.MoveNext();
        QCOMPARE(eventi,
                 QStringList({"Validate sql=Bigné at=0", "fill 'Carbonara' sql=Bignè ripieni at=1",
                              "Reposition sql=Bignè ripieni at=1"}));
        // Opened again on other columns, the controls find theirs anew.
        m.ds.setRecordSource("select NumeroPorzioni, IDRicetta, NomeRicetta, Vegetariana "
                             "from Ricette order by NomeRicetta desc");
        QVERIFY(m.ds.Refresh());
        QCOMPARE(m.nome.text(), QString("Zuppa d'orzo"));
        QCOMPARE(m.porzioni.text(), QString("6"));
    }

    // Leaving a new row stores it, whatever leaves it: the moves and closing share that path.
    void dataSource_newRow_storedOnlyWhenTyped_data()
    {
        QTest::addColumn<QString>("digitato");
        QTest::newRow("untouched") << QString();
        QTest::newRow("typed") << "Minestrone";
    }

    void dataSource_newRow_storedOnlyWhenTyped()
    {
        QFETCH(QString, digitato);
        Modulo m(libro_->percorso());
        QVERIFY(m.ds.Refresh());
        m.agisci(Azione::NuovoRecord);
        QVERIFY(m.nome.text().isEmpty());
        if (!digitato.isEmpty()) {
            digita(m.nome, digitato);
            m.vegetariana.click(); // yes is stored as -1
        }
        m.ds.MoveNext();
        const QList<QVariantList> nuove =
            libro_->righe("SELECT NomeRicetta, Vegetariana, NumeroPorzioni FROM Ricette "
                          "WHERE IDRicetta > 6");
        if (digitato.isEmpty())
            QCOMPARE(nuove, QList<QVariantList>{});
        else
            QCOMPARE(nuove, (QList<QVariantList>{{digitato, -1LL, QVariant()}}));
    }

    void dataSource_error_raisedWithNumber_data()
    {
        QTest::addColumn<int>("numero");
        QTest::addColumn<int>("risposta"); // 0: the form handled it
        caso("unknown source, handled", EngineError::OrigineSconosciuta, 0);
        caso("letters for a number", EngineError::ConversioneTipo, 1);
    }

    void dataSource_error_raisedWithNumber()
    {
        QFETCH(int, numero);
        QFETCH(int, risposta);
        QList<int> gestiti;
        DataSource::setGestoreErrori([&](int n, const QString &) { gestiti << n; });
        Modulo m(libro_->percorso(),
                 numero == EngineError::OrigineSconosciuta ? "Minestre" : Origine::RicettePerNome);
        QList<int> errori;
        raccogliErrori(m.ds, this, errori, risposta);
        const bool aperto = m.ds.Refresh();
        QCOMPARE(aperto, numero == EngineError::ConversioneTipo);
        if (aperto) {
            digita(m.porzioni, "quattro");
            m.ds.MoveNext();
            QCOMPARE(m.ds.Recordset()->AbsolutePosition(), 0);
        }
        QCOMPARE(errori, QList<int>{numero});
        QCOMPARE(gestiti, risposta ? QList<int>{numero} : QList<int>{});
    }
};

QTEST_MAIN(TestDataSource)
#include "tst_datasource.moc"
