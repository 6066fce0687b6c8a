#include "caso.h"
#include "formati/libroaccess.h"
#include "libro.h"
#include "storage/database.h"
#include "storage/engineerror.h"
#include "storage/schema.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

constexpr int Limite = 2500; // shown rounded up, as 3 seconds
const QVariant N;            // NULL

QByteArray leggi(const QString &percorso)
{
    QFile f(percorso);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QByteArray fixture(const QString &nome)
{
    const QByteArray jet = leggi(QStringLiteral(PENTOLONE_ACCESS "/") + nome);
    if (jet.isEmpty())
        qFatal("fixture mancante");
    return jet;
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

// Dangling links too.
QStringList fileIn(const QString &cartella)
{
    return QDir(cartella).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
}

// A stand-in for the helper, when one is given.
void usaProgramma(const QTemporaryDir &altrove, const QByteArray &programma)
{
    if (!programma.isEmpty())
        LibroAccess::setProgramma(scrivi(altrove.path(), "finto", programma, true));
}

QList<QVariantList> attese(const QString &tabella)
{
    QList<QVariantList> r;
    const auto perNome = [&](const char *nomi) {
        const QStringList l = QString::fromUtf8(nomi).split(';');
        for (int i = 0; i < l.size(); ++i)
            r << QVariantList{qlonglong(i + 1), l[i]};
    };
    if (tabella == Schema::CategorieAlimentari)
        perNome("Primi piatti;Secondi di carne;Dolci;Contorni;Piatti unici;Bevande");
    if (tabella == Schema::Ingredienti)
        perNome("Spaghetti;Pomodori pelati;Aglio;Olio d'oliva;Basilico;Sale;Zucchero;Uova;"
                "Mascarpone;Savoiardi;Caffè;Cacao amaro;Petto di pollo;Peperoncino;Zucchine;"
                "Parmigiano;Mele renette;Farina 00;Burro;Lievito per dolci;Fagioli borlotti;"
                "Carote;Sedano;Cipolla;Patate;Limone;Acqua");
    if (tabella == Schema::IngredientiRicetta) {
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
    if (tabella == Schema::Ricette) {
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

// Names in a Jet book are UTF-16.
QByteArray utf16(const QString &s)
{
    return QByteArray(reinterpret_cast<const char *>(s.utf16()), s.size() * 2);
}

// The one occurrence of a name, changed in place.
QByteArray cambiaNome(QByteArray jet, const QString &nome, const QString &nuovo)
{
    const qsizetype i = jet.indexOf(utf16(nome));
    if (i < 0 || jet.indexOf(utf16(nome), i + 1) >= 0 || nuovo.size() != nome.size())
        qFatal("nome non trovato una sola volta");
    return jet.replace(i, nuovo.size() * 2, utf16(nuovo));
}

// An ingredient's key, the four bytes before its name.
QByteArray cambiaChiave(QByteArray jet, const QString &ingrediente, char chiave)
{
    jet[jet.indexOf(utf16(ingrediente)) - 4] = chiave;
    return jet;
}

// Other capitals for a table and a column, and a gap before the last ingredient's key (27, used
// by no line).
QByteArray altreMaiuscole(const QByteArray &jet)
{
    return cambiaChiave(cambiaNome(cambiaNome(jet, "Utensili", "UTENSILI"), "Categorie alimentari",
                                   "CATEGORIE ALIMENTARI"),
                        "Acqua", 99);
}

QByteArray azzeraPagina(QByteArray jet, int pagina)
{
    return jet.replace(pagina * 4096, 4096, QByteArray(4096, '\0'));
}

enum Come { Converti, Annulla, SulLibro }; // SulLibro: the copy's name links to the book

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
        QTest::addColumn<QByteArray>("programma");
        const QByteArray libro = fixture("ricettario-access2003.mdb");
        caso("Access 2000", fixture("ricettario-access2000.mdb"), 27, QByteArray());
        caso("other capitals, a gap in the keys", altreMaiuscole(libro), 99, QByteArray());
        // Slower in all than the limit, never silent that long.
        caso("Access 2002-2003, a slow helper", libro, 27,
             QByteArray("#!/bin/sh\nfor i in 1 2 3 4 5 6; do echo 'fatti 0'; sleep 0.5; done\n"
                        "exec '" PENTOLONE_JET "' \"$@\"\n"));
    }

    void conversione()
    {
        QFETCH(QByteArray, contenuto);
        QFETCH(int, acqua);
        QFETCH(QByteArray, programma);
        QTemporaryDir dir, altrove;
        usaProgramma(altrove, programma);
        const QString jet = scrivi(dir.path(), "Nonna.mdb", contenuto);
        const QString copia = dir.filePath("copia.mdb");
        QList<QPair<int, int>> passi;
        LibroAccess::converti(jet, copia, [&](int fatti, int totale) {
            passi << qMakePair(fatti, totale);
            return true;
        });
        QCOMPARE(passi.last(), qMakePair(71, 71));
        QCOMPARE(leggi(jet), contenuto);
        QCOMPARE(fileIn(dir.path()), QStringList({"Nonna.mdb", "copia.mdb"}));
        Database::apri(copia)->Close(); // a book of ours, as its check sees it
        for (const Schema::Tabella &t : Schema::tabelle()) {
            const QString &tabella = t.nome;
            const QList<QVariantList> righe = LibroDiProva::righe(
                copia, QStringLiteral("SELECT * FROM \"%1\" ORDER BY 1").arg(tabella));
            QList<QVariantList> volute = attese(tabella);
            if (tabella == Schema::Ingredienti)
                volute.last()[0] = qlonglong(acqua);
            QCOMPARE(righe.size(), volute.size());
            for (int i = 0; i < righe.size(); ++i)
                QCOMPARE(righe[i], volute[i]);
        }
    }

    // Every refusal names the file, leaves it as it was and nothing beside it.
    void rifiuti_data()
    {
        QTest::addColumn<QByteArray>("contenuto");
        QTest::addColumn<QByteArray>("programma"); // a stand-in for the helper, when not empty
        QTest::addColumn<int>("come");
        QTest::addColumn<QString>("attesa");
        const QByteArray libro = fixture("ricettario-access2003.mdb");
        const QString danno = "è danneggiato o incompleto.";
        const QByteArray access2000 = fixture("ricettario-access2000.mdb");
        caso("Jet 3, not a recipe book", fixture("jet3-generic.mdb"), QByteArray(), Converti,
             "manca la tabella \"Categorie alimentari\": non è un ricettario.");
        caso("a column missing", cambiaNome(libro, "Utensili", "Utensilx"), QByteArray(), Converti,
             "manca la colonna \"Utensili\" della tabella \"Ricette\": non è un ricettario.");
        for (int misura : {4096, 100000, 245760, 300000, 360000})
            QTest::addRow("cut at %d", misura)
                << libro.left(misura) << QByteArray() << int(Converti) << danno;
        // libmdb loses these rows without a warning.
        caso("Access 2000, page 29 zeroed", azzeraPagina(access2000, 28), QByteArray(), Converti,
             danno);
        caso("the categories' page zeroed", azzeraPagina(access2000, 25), QByteArray(), Converti,
             danno);
        caso("a line points at no ingredient", cambiaChiave(libro, "Aglio", 98), QByteArray(),
             Converti, danno);
        LibroDiProva nostro;
        caso("a book of ours", leggi(nostro.percorso()), QByteArray(), Converti,
             "non è un ricettario nel formato più vecchio.");
        caso("cancelled", libro, QByteArray(), Annulla, "annullata");
        caso("the copy's name a link to the book", libro, QByteArray(), SulLibro,
             "non può prenderne il posto");
        caso("helper hangs", libro,
             QByteArray(
                 "#!/bin/sh\necho 'totale 9'\n: > \"$2\"\n: > \"$2-journal\"\nexec sleep 60\n"),
             Converti, "è rimasta ferma per 3 secondi");
        caso("helper quits early", libro, QByteArray("#!/bin/sh\n: > \"$2\"\n"), Converti, danno);
        caso("helper crashes", libro, QByteArray("#!/bin/sh\n: > \"$2\"\nkill -SEGV $$\n"),
             Converti, danno);
    }

    void rifiuti()
    {
        QFETCH(QByteArray, contenuto);
        QFETCH(QByteArray, programma);
        QFETCH(int, come);
        QFETCH(QString, attesa);
        QTemporaryDir dir, altrove;
        const QString jet = scrivi(dir.path(), "Libro d'oro.mdb", contenuto);
        usaProgramma(altrove, programma);
        const QString copia = (come == SulLibro ? altrove : dir).filePath("copia.mdb");
        if (come == SulLibro)
            QVERIFY(QFile::link(jet, copia));
        QString messaggio;
        try {
            LibroAccess::converti(jet, copia, [&](int, int) { return come != Annulla; });
        } catch (const EngineError &e) {
            messaggio = e.description();
        }
        QVERIFY2(messaggio.contains("\"Libro d'oro.mdb\""), qPrintable(messaggio));
        QVERIFY2(messaggio.contains(attesa), qPrintable(messaggio));
        QCOMPARE(fileIn(dir.path()), QStringList{"Libro d'oro.mdb"});
        QCOMPARE(leggi(jet), contenuto);
    }

    // The copy goes beside the book, under the first free name.
    void nomeDellaCopia_data()
    {
        QTest::addColumn<QStringList>("esistenti"); // "a>b": a link a to b, which is not there
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("attesa");
        caso("free", QStringList(), "Ricette.mdb", "Ricette.pentolone.mdb");
        caso("taken", QStringList{"Ricette.pentolone.mdb"}, "Ricette.mdb",
             "Ricette.pentolone-2.mdb");
        caso("two taken, one by a dangling link",
             QStringList{"Ricette.pentolone.mdb", "Ricette.pentolone-2.mdb>altro.mdb"},
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
        QStringList restano{file, attesa};
        for (const QString &e : esistenti) {
            const QString nome = e.section('>', 0, 0), meta = e.section('>', 1);
            if (meta.isEmpty())
                scrivi(dir.path(), nome, "x");
            else
                QVERIFY(QFile::link(meta, dir.filePath(nome)));
            restano << nome;
        }
        const QString jet = scrivi(dir.path(), file, fixture("ricettario-access2003.mdb"));
        const auto si = [](const QString &, const QString &) { return true; };
        QCOMPARE(LibroAccess::preparaLibro(jet, si), dir.filePath(attesa));
        restano.sort();
        QCOMPARE(fileIn(dir.path()), restano); // nothing written through a link
    }
};

QTEST_MAIN(TestAccess)
#include "tst_access.moc"
