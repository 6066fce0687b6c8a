#include "caso.h"
#include "formati/libroaccess.h"
#include "libro.h"
#include "storage/database.h"
#include "storage/schema.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QTemporaryDir>
#include <QTest>

namespace {

constexpr int Limite = 2500; // shown rounded up, as 3 seconds

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

// The helper as built, or a stand-in for it when one is given.
Aiutante::Opzioni aiutante(const QTemporaryDir &altrove, const QByteArray &programma = {})
{
    return {programma.isEmpty() ? QStringLiteral(PENTOLONE_JET)
                                : scrivi(altrove.path(), "finto", programma, true),
            Limite};
}

// The rows of a table in key order, the key left out: columns split by '|', ~ for NULL, @ for the
// 240-line memo, longer than libmdb's own 16 KiB buffers. Every text is there, empty or a blank.
QList<QVariantList> attese(const Schema::Tabella &t)
{
    QString lunga;
    for (int i = 1; i <= 240; ++i)
        lunga += QStringLiteral("Passo %1: mescolate con calma, assaggiate e regolate di sale; la "
                                "pazienza è l'ingrediente più importante.\r\n")
                     .arg(i);
    static const QHash<QString, QStringList> righe = {
        {Schema::CategorieAlimentari,
         QString("Primi piatti;Secondi di carne;Dolci;Contorni;Piatti unici;Bevande").split(';')},
        {Schema::Ingredienti,
         QString("Spaghetti;Pomodori pelati;Aglio;Olio d'oliva;Basilico;Sale;Zucchero;Uova;"
                 "Mascarpone;Savoiardi;Caffè;Cacao amaro;Petto di pollo;Peperoncino;Zucchine;"
                 "Parmigiano;Mele renette;Farina 00;Burro;Lievito per dolci;Fagioli borlotti;"
                 "Carote;Sedano;Cipolla;Patate;Limone;Acqua")
             .split(';')},
        {Schema::IngredientiRicetta,
         QString("1|1|320|spaghetti n. 5;1|2|400|g;1|3|1|spicchio;1|4|0.5|bicchiere;"
                 "1|5|0|qualche foglia;1|6|| ;2|8|4|tuorli e 2 albumi;2|9|500|g;2|10|300|g;"
                 "2|11|0,25|litro, freddo;2|7|100|g;2|12|0.125|per spolverare;"
                 "3|13|600|g, a bocconcini;3|14|1.5|secondo il gusto;3|2|250|g;3|4|3|cucchiai;"
                 "4|21|200|g, già lessati;4|22|2|;4|23|1|costa;4|24|1|;4|25|2|medie;4|15|1|;"
                 "5|17|3|;5|18|250|g;5|19|100|g;5|8|3|;5|7|150|g;5|20|1|bustina;6|15|2|;6|8|4|;"
                 "6|16|0.33|tazza, grattugiato")
             .split(';')},
        {Schema::Ricette,
         {"Spaghetti al pomodoro|Il primo più semplice e più amato|Giulia|Pranzo|1|-1|25 min|4|"
          "420|Carboidrati 70 g\r\nGrassi 12 g|~|Scaldate l'olio con l'aglio.\r\nAggiungete i "
          "pelati e cuocete 15 minuti.\r\n\r\nScolate la pasta al dente e condite.|Il basilico "
          "va aggiunto a fuoco spento.|Pentola, padella, colapasta",
          "Tiramisù|Dolce al cucchiaio con caffè|Nonna Rosa|Fine pasto|3|-1|40 min + 4 ore di "
          "frigo|8|510|~|Uova freschissime|Montate i tuorli con lo zucchero, unite il mascarpone."
          "\r\nAlternate savoiardi bagnati nel caffè e crema.|~|Pirofila 20x30",
          "Pollo all'arrabbiata|Pollo piccante in padella|Marco|Cena|2|0|35 min|4|380|~|~|"
          "Rosolate il pollo, aggiungete pomodoro e peperoncino, cuocete 20 minuti.|~|~",
          "Minestrone della nonna|Zuppa di verdure di stagione|Nonna Rosa|Cena|5|-1|1 ora e 30|6|"
          "250|~|~|@|Si conserva due giorni in frigorifero.|Pentola capiente",
          "Torta di mele|Torta soffice e profumata|Giulia|Merenda|999|-1|1 ora|8|330|~|~|Sbattete "
          "uova e zucchero, unite farina, burro fuso e lievito; coprite con le mele a fette.|~|"
          "Tortiera da 24 cm",
          "Frittata di zucchine||Anna|~|4|-1|~|2|~|~|~|Cuocete le zucchine, unite le uova "
          "sbattute e girate la frittata.|~|~",
          "Limonata|~|~|~|6|-1|5 min|1|~|~|~|~|~|~"}},
    };
    QList<QVariantList> r;
    for (const QString &riga : righe.value(t.nome)) {
        QVariantList valori{qlonglong(r.size() + 1)};
        for (const QString &v : riga.split('|')) {
            const QString &tipo = t.colonne.at(valori.size()).tipo;
            valori << (v == "~"   ? QVariant()
                       : v == "@" ? QVariant(lunga)
                       : tipo.startsWith("INTEGER") || tipo.startsWith("BOOLEAN")
                           ? QVariant(v.toLongLong())
                           : QVariant(v));
        }
        r << valori;
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

// A conversion run to its end: the copy's path, or the refusal ("annullata" for a cancel); the
// steps of its progress.
struct Esito
{
    QString copia, rifiuto;
    QList<QPair<int, int>> passi;
};

Esito converti(ConversioneAccess &conversione, const std::function<void()> &avvia)
{
    Esito esito;
    bool finita = false;
    QObject::connect(&conversione, &ConversioneAccess::avanzamento,
                     [&](int fatti, int totale) { esito.passi << qMakePair(fatti, totale); });
    QObject::connect(&conversione, &ConversioneAccess::riuscita, [&](const QString &copia) {
        esito.copia = copia;
        finita = true;
    });
    QObject::connect(&conversione, &ConversioneAccess::rifiutata, [&](const Rifiuto &r) {
        esito.rifiuto = r.annullato ? QStringLiteral("annullata") : r.testo;
        finita = true;
    });
    avvia();
    // Long enough for the helper on a busy machine; reached only by a fault.
    if (!QTest::qWaitFor([&] { return finita; }, 60000))
        esito.rifiuto = QStringLiteral("the conversion never ended");
    return esito;
}

} // namespace

class TestAccess : public QObject
{
    Q_OBJECT

private slots:
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
        const QString jet = scrivi(dir.path(), "Nonna.mdb", contenuto);
        const QString copia = dir.filePath("copia.mdb");
        ConversioneAccess conversione(aiutante(altrove, programma));
        const Esito esito = converti(conversione, [&] { conversione.avvia(jet, copia); });
        QCOMPARE(esito.rifiuto, QString());
        QCOMPARE(esito.copia, copia);
        QCOMPARE(esito.passi.last(), qMakePair(71, 71));
        QCOMPARE(leggi(jet), contenuto);
        QCOMPARE(fileIn(dir.path()), QStringList({"Nonna.mdb", "copia.mdb"}));
        Database::apri(copia)->Close(); // a book of ours, as its check sees it
        for (const Schema::Tabella &t : Schema::tabelle()) {
            const QList<QVariantList> righe = LibroDiProva::righe(
                copia, QStringLiteral("SELECT * FROM \"%1\" ORDER BY 1").arg(t.nome));
            QList<QVariantList> volute = attese(t);
            if (t.nome == Schema::Ingredienti)
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
        caso("a memo page zeroed", azzeraPagina(access2000, 43), QByteArray(), Converti, danno);
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
        const QString copia = (come == SulLibro ? altrove : dir).filePath("copia.mdb");
        if (come == SulLibro)
            QVERIFY(QFile::link(jet, copia));
        ConversioneAccess conversione(aiutante(altrove, programma));
        const QString messaggio = converti(conversione, [&] {
                                      conversione.avvia(jet, copia);
                                      if (come == Annulla)
                                          conversione.annulla(); // "Annulla" while it reads
                                  }).rifiuto;
        if (come != Annulla)
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
        ConversioneAccess conversione(aiutante(dir));
        const auto si = [](const QString &, const QString &) { return true; };
        QCOMPARE(converti(conversione, [&] { conversione.proponi(jet, si); }).copia,
                 dir.filePath(attesa));
        restano.sort();
        QCOMPARE(fileIn(dir.path()), restano); // nothing written through a link
    }
};

QTEST_MAIN(TestAccess)
#include "tst_access.moc"
