#include "caso.h"
#include "database.h"
#include "engineerror.h"
#include "libro.h"
#include "libroaccess.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

namespace {

constexpr int Limite = 3000;
const QVariant N; // NULL

QByteArray fixture(const QString &nome)
{
    QFile f(QStringLiteral(PENTOLONE_ACCESS "/") + nome);
    if (!f.open(QIODevice::ReadOnly))
        qFatal("fixture mancante");
    return f.readAll();
}

QString scrivi(const QString &cartella, const QString &nome, const QByteArray &contenuto,
               bool eseguibile = false)
{
    const QString percorso = QDir(cartella).filePath(nome);
    QFile f(percorso);
    if (!f.open(QIODevice::WriteOnly) || f.write(contenuto) != contenuto.size())
        qFatal("scrittura non riuscita");
    if (eseguibile)
        f.setPermissions(f.permissions() | QFile::ExeOwner);
    return percorso;
}

QStringList fileIn(const QString &cartella)
{
    return QDir(cartella).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
}

QList<QVariantList> attese(const QString &tabella)
{
    QList<QVariantList> r;
    const auto perNome = [&](const char *nomi) {
        const QStringList l = QString::fromUtf8(nomi).split(';');
        for (int i = 0; i < l.size(); ++i)
            r << QVariantList{qlonglong(i + 1), l[i]};
    };
    if (tabella == "Categorie alimentari")
        perNome("Primi piatti;Secondi di carne;Dolci;Contorni;Piatti unici;Bevande");
    if (tabella == "Ingredienti")
        perNome("Spaghetti;Pomodori pelati;Aglio;Olio d'oliva;Basilico;Sale;Zucchero;Uova;"
                "Mascarpone;Savoiardi;Caffè;Cacao amaro;Petto di pollo;Peperoncino;Zucchine;"
                "Parmigiano;Mele renette;Farina 00;Burro;Lievito per dolci;Fagioli borlotti;"
                "Carote;Sedano;Cipolla;Patate;Limone;Acqua");
    if (tabella == "ingredienti_ricetta") {
        // key|recipe|ingredient|quantity|comment; every text is there, empty or a blank
        const QString righe = QString::fromUtf8(
            "1|1|1|320|spaghetti n. 5;2|1|2|400|g;3|1|3|1|spicchio;4|1|4|0.5|bicchiere;"
            "5|1|5|0|qualche foglia;6|1|6|| ;7|2|8|4|tuorli e 2 albumi;8|2|9|500|g;9|2|10|300|g;"
            "10|2|11|0,25|litro, freddo;11|2|7|100|g;12|2|12|0.125|per spolverare;"
            "13|3|13|600|g, a bocconcini;14|3|14|1.5|secondo il gusto;15|3|2|250|g;"
            "16|3|4|3|cucchiai;17|4|21|200|g, già lessati;18|4|22|2|;19|4|23|1|costa;20|4|24|1|;"
            "21|4|25|2|medie;22|4|15|1|;23|5|17|3|;24|5|18|250|g;25|5|19|100|g;26|5|8|3|;"
            "27|5|7|150|g;28|5|20|1|bustina;29|6|15|2|;30|6|8|4|;31|6|16|0.33|tazza, grattugiato");
        for (const QString &riga : righe.split(';')) {
            const QStringList c = riga.split('|');
            r << QVariantList{c[0].toLongLong(), c[1].toLongLong(), c[2].toLongLong(), c[3], c[4]};
        }
    }
    if (tabella == "Ricette") {
        QString lunga; // the 240-line memo, longer than libmdb's own 16 KiB buffers
        for (int i = 1; i <= 240; ++i)
            lunga += QStringLiteral("Passo %1: mescolate con calma, assaggiate e regolate di "
                                    "sale; la pazienza è l'ingrediente più importante.\r\n")
                         .arg(i);
        const auto q = [](qlonglong n) { return QVariant(n); };
        // clang-format off
        r << QVariantList{q(1), "Spaghetti al pomodoro", "Il primo più semplice e più amato",
                          "Giulia", "Pranzo", q(1), q(-1), "25 min", q(4), q(420),
                          "Carboidrati 70 g\r\nGrassi 12 g", N,
                          "Scaldate l'olio con l'aglio.\r\nAggiungete i pelati e cuocete 15 minuti."
                          "\r\n\r\nScolate la pasta al dente e condite.",
                          "Il basilico va aggiunto a fuoco spento.", "Pentola, padella, colapasta"}
          << QVariantList{q(2), "Tiramisù", "Dolce al cucchiaio con caffè", "Nonna Rosa",
                          "Fine pasto", q(3), q(-1), "40 min + 4 ore di frigo", q(8), q(510), N,
                          "Uova freschissime", "Montate i tuorli con lo zucchero, unite il "
                          "mascarpone.\r\nAlternate savoiardi bagnati nel caffè e crema.",
                          N, "Pirofila 20x30"}
          << QVariantList{q(3), "Pollo all'arrabbiata", "Pollo piccante in padella", "Marco",
                          "Cena", q(2), q(0), "35 min", q(4), q(380), N, N, "Rosolate il pollo, "
                          "aggiungete pomodoro e peperoncino, cuocete 20 minuti.", N, N}
          << QVariantList{q(4), "Minestrone della nonna", "Zuppa di verdure di stagione",
                          "Nonna Rosa", "Cena", q(5), q(-1), "1 ora e 30", q(6), q(250), N, N,
                          lunga, "Si conserva due giorni in frigorifero.", "Pentola capiente"}
          << QVariantList{q(5), "Torta di mele", "Torta soffice e profumata", "Giulia", "Merenda",
                          q(999), q(-1), "1 ora", q(8), q(330), N, N, "Sbattete uova e zucchero, "
                          "unite farina, burro fuso e lievito; coprite con le mele a fette.",
                          N, "Tortiera da 24 cm"}
          << QVariantList{q(6), "Frittata di zucchine", "", "Anna", N, q(4), q(-1), N, q(2), N,
                          N, N, "Cuocete le zucchine, unite le uova sbattute e girate la frittata.",
                          N, N}
          << QVariantList{q(7), "Limonata", N, N, N, q(6), q(-1), "5 min", q(1), N, N, N, N, N, N};
        // clang-format on
    }
    return r;
}

// Names in a Jet book are UTF-16: the one occurrence of a name, changed in place.
QByteArray cambiaNome(QByteArray jet, const QString &nome, const QString &nuovo)
{
    const auto utf16 = [](const QString &s) {
        return QByteArray(reinterpret_cast<const char *>(s.utf16()), s.size() * 2);
    };
    const qsizetype i = jet.indexOf(utf16(nome));
    if (i < 0 || jet.indexOf(utf16(nome), i + 1) >= 0 || nuovo.size() != nome.size())
        qFatal("nome non trovato una sola volta");
    return jet.replace(i, nuovo.size() * 2, utf16(nuovo));
}

// Other capitals for a table and a column, and a gap before the last ingredient's key (27, the
// four bytes before its name, used by no line).
QByteArray altreMaiuscole(QByteArray jet)
{
    jet = cambiaNome(cambiaNome(jet, "Utensili", "UTENSILI"), "Categorie alimentari",
                     "CATEGORIE ALIMENTARI");
    jet[jet.indexOf(QByteArray("A\0c\0q\0u\0a\0", 10)) - 4] = 99;
    return jet;
}

QByteArray guasta(QByteArray jet, int byte)
{
    QRandomGenerator caso(7);
    for (int i = 0; i < byte; ++i)
        jet[4096 + caso.bounded(int(jet.size()) - 4096)] = char(caso.bounded(256));
    return jet;
}

} // namespace

class TestAccess : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        LibroAccess::setProgramma(PENTOLONE_JET);
        LibroAccess::setLimiteTempo(Limite);
    }

    void init() { LibroAccess::setProgramma(PENTOLONE_JET); }

    void conversione_data()
    {
        QTest::addColumn<QByteArray>("contenuto");
        QTest::addColumn<int>("acqua"); // the key of the last ingredient
        caso("Access 2000", fixture("ricettario-access2000.mdb"), 27);
        caso("Access 2002-2003", fixture("ricettario-access2003.mdb"), 27);
        caso("other capitals, a gap in the keys",
             altreMaiuscole(fixture("ricettario-access2003.mdb")), 99);
    }

    void conversione()
    {
        QFETCH(QByteArray, contenuto);
        QFETCH(int, acqua);
        QTemporaryDir dir;
        const QString jet = scrivi(dir.path(), "Nonna.mdb", contenuto);
        const QString copia = dir.filePath("copia.mdb");
        QList<QPair<int, int>> passi;
        LibroAccess::converti(jet, copia, [&](int fatti, int totale) {
            passi << qMakePair(fatti, totale);
            return true;
        });
        QVERIFY(!passi.isEmpty());
        QFile originale(jet);
        QVERIFY(originale.open(QIODevice::ReadOnly));
        QCOMPARE(originale.readAll(), contenuto);
        QCOMPARE(fileIn(dir.path()), QStringList({"Nonna.mdb", "copia.mdb"}));
        Database::apri(copia)->Close(); // a book of ours, as its check sees it
        for (const QString tabella :
             {"Categorie alimentari", "Ingredienti", "Ricette", "ingredienti_ricetta"}) {
            const QList<QVariantList> righe = LibroDiProva::righe(
                copia, QStringLiteral("SELECT * FROM \"%1\" ORDER BY 1").arg(tabella));
            QList<QVariantList> volute = attese(tabella);
            if (tabella == "Ingredienti")
                volute.last()[0] = qlonglong(acqua);
            QCOMPARE(righe.size(), volute.size());
            for (int i = 0; i < righe.size(); ++i)
                QCOMPARE(righe[i], volute[i]);
        }
    }

    // Every refusal names the file, ends within the time limit and leaves nothing beside it.
    void rifiuti_data()
    {
        QTest::addColumn<QByteArray>("contenuto");
        QTest::addColumn<QByteArray>("programma"); // a stand-in for the helper, when not empty
        QTest::addColumn<bool>("annulla");
        QTest::addColumn<QString>("attesa");
        const QByteArray libro = fixture("ricettario-access2003.mdb");
        const QString danno = "è danneggiato o incompleto.";
        caso("Jet 3, not a recipe book", fixture("jet3-generic.mdb"), QByteArray(), false,
             "manca la tabella \"Categorie alimentari\": non è un ricettario.");
        caso("a column missing", cambiaNome(libro, "Utensili", "Utensilx"), QByteArray(), false,
             "manca la colonna \"Utensili\" della tabella \"Ricette\": non è un ricettario.");
        for (int misura : {4096, 100000, 245760, 300000, 360000})
            QTest::addRow("cut at %d", misura)
                << libro.left(misura) << QByteArray() << false << danno;
        caso("random bytes changed", guasta(libro, 200), QByteArray(), false, "");
        LibroDiProva nostro;
        QFile f(nostro.percorso());
        QVERIFY(f.open(QIODevice::ReadOnly));
        caso("a book of ours", f.readAll(), QByteArray(), false,
             "non è un ricettario nel formato più vecchio.");
        caso("cancelled", libro, QByteArray(), true, "annullata");
        caso("helper hangs", libro,
             QByteArray(
                 "#!/bin/sh\necho 'totale 9'\n: > \"$2\"\n: > \"$2-journal\"\nexec sleep 60\n"),
             false, "non è finita entro 3 secondi");
        caso("helper quits early", libro, QByteArray("#!/bin/sh\n: > \"$2\"\n"), false, danno);
        caso("helper crashes", libro, QByteArray("#!/bin/sh\n: > \"$2\"\nkill -SEGV $$\n"), false,
             danno);
    }

    void rifiuti()
    {
        QFETCH(QByteArray, contenuto);
        QFETCH(QByteArray, programma);
        QFETCH(bool, annulla);
        QFETCH(QString, attesa);
        QTemporaryDir dir, altrove;
        const QString jet = scrivi(dir.path(), "Libro d'oro.mdb", contenuto);
        if (!programma.isEmpty())
            LibroAccess::setProgramma(scrivi(altrove.path(), "finto", programma, true));
        QElapsedTimer tempo;
        tempo.start();
        QString messaggio;
        try {
            LibroAccess::converti(jet, dir.filePath("copia.mdb"),
                                  [&](int, int) { return !annulla; });
        } catch (const EngineError &e) {
            messaggio = e.description();
        }
        QVERIFY2(messaggio.contains("\"Libro d'oro.mdb\""), qPrintable(messaggio));
        QVERIFY2(messaggio.contains(attesa), qPrintable(messaggio));
        QVERIFY(tempo.elapsed() < Limite + 2000);
        QCOMPARE(fileIn(dir.path()), QStringList{"Libro d'oro.mdb"});
    }

    void nomeDellaCopia_data()
    {
        QTest::addColumn<QStringList>("esistenti");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("attesa");
        caso("free", QStringList(), "Ricette.mdb", "Ricette.pentolone.mdb");
        caso("taken", QStringList{"Ricette.pentolone.mdb"}, "Ricette.mdb",
             "Ricette.pentolone-2.mdb");
        caso("two taken", QStringList{"Ricette.pentolone.mdb", "Ricette.pentolone-2.mdb"},
             "Ricette.mdb", "Ricette.pentolone-3.mdb");
        caso("dots in the name", QStringList(), "Nonna.2001.mdb", "Nonna.2001.pentolone.mdb");
        caso("no extension", QStringList(), "Ricette", "Ricette.pentolone.mdb");
    }

    void nomeDellaCopia()
    {
        QFETCH(QStringList, esistenti);
        QFETCH(QString, file);
        QFETCH(QString, attesa);
        QTemporaryDir dir;
        for (const QString &e : esistenti)
            scrivi(dir.path(), e, "x");
        QCOMPARE(LibroAccess::nomeDellaCopia(dir.filePath(file)), dir.filePath(attesa));
    }
};

QTEST_MAIN(TestAccess)
#include "tst_access.moc"
