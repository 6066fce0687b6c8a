// The content search's index: its file and tables, its state against the book, the rows it
// holds of a recipe, and the search in the texts. Bringing it up to the book is in sincronia.cpp,
// "Cosa cucino con..." in dispensa.cpp.
#include "cerca/indice.h"

#include "storage/collation.h"
#include "storage/engineerror.h"
#include "storage/schema.h"
#include "storage/statement.h"
#include "storage/transazione.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>

namespace {

// The tables' shape: an index of another shape is started afresh.
const QString Formato = QStringLiteral("2");

// The marks snippet() puts around the words found.
constexpr QChar Inizio(0x02), Fine(0x03);

} // namespace

QString IndiceRicette::fileDi(const QString &libro, const QString &cartella)
{
    const QByteArray nome = QCryptographicHash::hash(QFileInfo(libro).absoluteFilePath().toUtf8(),
                                                     QCryptographicHash::Sha1);
    return QDir(cartella).filePath(QString::fromLatin1(nome.toHex()) + QStringLiteral(".indice"));
}

IndiceRicette::IndiceRicette(const QString &libro, const QString &file)
    : libro_(libro), file_(file.isEmpty() ? Connessione::InMemoria : file)
{
    if (file.isEmpty()) {
        apriFile(file_);
    } else {
        QDir().mkpath(QFileInfo(file).absolutePath());
        // A damaged index, or one of another shape, is only a copy: made again from the book.
        try {
            apriFile(file);
        } catch (const EngineError &) {
            db_.chiudi();
            for (const char *resto : {"", "-wal", "-shm", "-journal"})
                QFile::remove(file + QLatin1String(resto));
            apriFile(file);
        }
    }
    // Our writes count from now: what came before is found by comparing.
    nostre_ = Database::scrittureNostre(libro_);
    Database::osserva(libro_, this);
}

void IndiceRicette::esegui(std::initializer_list<const char *> istruzioni)
{
    for (const char *sql : istruzioni)
        Statement(db_, QString::fromUtf8(sql), file_).step();
}

void IndiceRicette::apriFile(const QString &file)
{
    // A file of ours, but in a folder anyone may write to: read as a file from anywhere. Another
    // copy of the program may use the same index: a lock is waited for.
    db_ = Connessione(file, Connessione::Modo::Creazione);
    db_.proteggi();
    Collazione::registra(db_.get());
    // A copy kept for speed: a crash may lose its last steps, never damage it.
    esegui({"PRAGMA journal_mode = WAL", "PRAGMA synchronous = NORMAL",
            "CREATE TABLE IF NOT EXISTS meta (chiave TEXT PRIMARY KEY, valore TEXT)"});
    if (meta("formato") != Formato) {
        esegui({"DROP TABLE IF EXISTS testo", "DROP TABLE IF EXISTS ricetta",
                "DROP TABLE IF EXISTS riga", "DROP TABLE IF EXISTS ingrediente",
                "DROP TABLE IF EXISTS categoria", "DELETE FROM meta"});
        creaTabelle();
        setMeta("formato", Formato);
    }
    esegui({"CREATE TEMP TABLE dispensa (id INTEGER PRIMARY KEY)"});
    // Prepared once: a comparison may insert tens of thousands of rows.
    insTesto_ = std::make_unique<Statement>(
        db_, "INSERT INTO testo (rowid, descrizione, ingredienti, righe, istruzioni, note, "
             "utensili, nome) VALUES (?, ?, ?, ?, ?, ?, ?, ?)");
    insRicetta_ = std::make_unique<Statement>(
        db_, "INSERT INTO ricetta (id, nome, categoria, vegetariana, impronta) "
             "VALUES (?, ?, ?, ?, ?)");
    insRiga_ = std::make_unique<Statement>(
        db_, "INSERT INTO riga (id, ricetta, ingrediente) VALUES (?, ?, ?)");
    impronta_ = Impronta::daTesto(meta("impronta"));
    completo_ = impronta_.valida();
    caricaNomi();
}

void IndiceRicette::creaTabelle()
{
    esegui({"CREATE VIRTUAL TABLE testo USING fts5(descrizione, ingredienti, righe, istruzioni, "
            "note, utensili, nome, tokenize = 'unicode61 remove_diacritics 2', prefix = '1 2')",
            "CREATE TABLE ricetta (id INTEGER PRIMARY KEY, nome TEXT, categoria INTEGER, "
            "vegetariana INTEGER, impronta INTEGER)",
            "CREATE TABLE riga (id INTEGER PRIMARY KEY, ricetta INTEGER, ingrediente INTEGER)",
            "CREATE INDEX riga_ricetta ON riga (ricetta)",
            "CREATE INDEX riga_ingrediente ON riga (ingrediente)",
            "CREATE TABLE ingrediente (id INTEGER PRIMARY KEY, nome TEXT)",
            "CREATE TABLE categoria (id INTEGER PRIMARY KEY, nome TEXT)"});
}

IndiceRicette::~IndiceRicette()
{
    Database::nonOsservare(libro_, this);
    sincronia_.reset();
    insTesto_.reset();
    insRicetta_.reset();
    insRiga_.reset();
    db_.chiudi();
}

QString IndiceRicette::meta(const QString &chiave) const
{
    Statement s(db_, "SELECT valore FROM meta WHERE chiave = ?");
    return s.bind(1, chiave).step() ? s.column(0).toString() : QString();
}

void IndiceRicette::setMeta(const QString &chiave, const QString &valore)
{
    Statement(db_, "INSERT OR REPLACE INTO meta (chiave, valore) VALUES (?, ?)")
        .bindAll({chiave, valore})
        .step();
}

void IndiceRicette::rigaCambiata(const QString &tabella, qint64 chiave)
{
    // Told from inside a write of the book, on the thread that writes: only noted here.
    const QMutexLocker bloccato(&guardiaCambi_);
    if (tabella.compare(Schema::Ricette, Qt::CaseInsensitive) == 0)
        cambi_.ricette.insert(chiave);
    else if (tabella.compare(Schema::IngredientiRicetta, Qt::CaseInsensitive) == 0)
        cambi_.righe.insert(chiave);
    else if (tabella.compare(Schema::Ingredienti, Qt::CaseInsensitive) == 0)
        cambi_.ingredienti.insert(chiave);
    else if (tabella.compare(Schema::CategorieAlimentari, Qt::CaseInsensitive) == 0)
        cambi_.categorie = true;
}

IndiceRicette::Stato IndiceRicette::stato() const
{
    const Impronta adesso = Impronta::di(libro_);
    if (completo_ && adesso == impronta_)
        return Stato::Fedele;
    // Each commit of ours moves SQLite's count by one: any other step is another program, and
    // another file in its place is another file whatever its count.
    const std::optional<quint32> ora = adesso.commit(), allora = impronta_.commit();
    const quint64 nostre = Database::scrittureNostre(libro_);
    if (completo_ && ora && allora && adesso.dispositivo == impronta_.dispositivo &&
        adesso.nodo == impronta_.nodo && nostre > nostre_ &&
        *ora - *allora == quint32(nostre - nostre_))
        return Stato::SoloNostre;
    return Stato::DaRileggere;
}

QStringList IndiceRicette::testiRighe(const QList<std::pair<qint64, qint64>> &righe,
                                      const QStringList &commenti) const
{
    QStringList testi;
    for (int i = 0; i < righe.size(); ++i)
        testi.append(
            (ingredienti_.value(righe.at(i).second) + QLatin1Char(' ') + commenti.at(i)).trimmed());
    return testi;
}

void IndiceRicette::inserisci(const QVariantList &campi,
                              const QList<std::pair<qint64, qint64>> &righe,
                              const QStringList &commenti, quint64 impronta)
{
    const qint64 chiave = campi.at(Schema::IDRicetta).toLongLong();
    insTesto_->reset();
    insTesto_
        ->bindAll({chiave, campi.at(Schema::DescrizioneRicetta), campi.at(Schema::IngredientiTesto),
                   testiRighe(righe, commenti).join(QLatin1String("; ")),
                   campi.at(Schema::Istruzioni), campi.at(Schema::Note), campi.at(Schema::Utensili),
                   campi.at(Schema::NomeRicetta)})
        .step();
    insRicetta_->reset();
    insRicetta_
        ->bindAll({chiave, campi.at(Schema::NomeRicetta), campi.at(Schema::IDCategoriaAlimentare),
                   campi.at(Schema::Vegetariana).toInt() != 0, qint64(impronta)})
        .step();
    for (const auto &[id, ingrediente] : righe) {
        insRiga_->reset();
        insRiga_->bindAll({id, chiave, ingrediente}).step();
    }
}

// The names the results and the completion show, as the last comparison read them.
void IndiceRicette::caricaNomi()
{
    ingredienti_.clear();
    categorie_.clear();
    for (auto [tabella, nomi] :
         {std::pair("ingrediente", &ingredienti_), std::pair("categoria", &categorie_)}) {
        Statement s(db_, QStringLiteral("SELECT id, nome FROM %1").arg(QLatin1String(tabella)));
        while (s.step())
            nomi->insert(s.column(0).toLongLong(), s.column(1).toString());
    }
}

QList<IndiceRicette::Risultato> IndiceRicette::cerca(const Domanda &domanda, const Filtro &filtro,
                                                     int massimo)
{
    const QString e = domanda.espressione();
    if (e.isEmpty())
        return {};
    // Ranking weighs every term in every recipe found: past a few thousand recipes (a pasted
    // page of common words) they come in the book's order instead, so no search asks for more
    // than that much work. Counting stops there too.
    Statement quante(db_, "SELECT count(*) FROM (SELECT rowid FROM testo WHERE testo MATCH ? "
                          "LIMIT ?)");
    quante.bindAll({e, Classificabili + 1}).step();
    const bool classificate = quante.column(0).toInt() <= Classificabili;
    // Recipes with every word in the name first (a name holds a few words), then by FTS5's
    // rank, the name weighing most. SQLite makes the extracts of the rows kept only, after the
    // sort. The name is the last column: an extract comes from another text that holds as many
    // of the words.
    const bool nomePrima = classificate && domanda.presenti.size() <= ParoleDiUnNome;
    Statement s(db_,
                QStringLiteral("SELECT t.rowid, r.nome, r.categoria, r.vegetariana, "
                               "snippet(testo, -1, char(2), char(3), '…', 12) FROM testo t "
                               "JOIN ricetta r ON r.id = t.rowid "
                               "WHERE testo MATCH ?1 AND (?2 = 0 OR r.vegetariana <> 0) "
                               "AND (?3 = 0 OR r.categoria = ?3) ORDER BY %1 LIMIT ?5")
                    .arg(!classificate ? QStringLiteral("t.rowid")
                                       : QStringLiteral("%1bm25(testo, 3.0, 1.0, 1.0, 1.0, "
                                                        "1.0, 1.0, 10.0), r.nome COLLATE "
                                                        "ITALIANO")
                                             .arg(nomePrima ? "t.rowid IN (SELECT rowid FROM testo "
                                                              "WHERE testo MATCH ?4) DESC, "
                                                            : "")));
    s.bindAll({e, filtro.soloVegetariane, filtro.categoria,
               QStringLiteral("nome : (%1)").arg(domanda.espressione(true)), massimo});
    // A newer search stops this one: the thread that asked for it checks fermo_ itself.
    db_.fermaQuando(fermo_);
    const auto fine = [this] { db_.fermaQuando(nullptr); };
    QList<Risultato> risultati;
    try {
        while (s.step())
            risultati.append({s.column(0).toLongLong(), s.column(1).toString(),
                              categorie_.value(s.column(2).toLongLong()), s.column(3).toBool(),
                              s.column(4)
                                  .toString()
                                  .toHtmlEscaped()
                                  .replace(Inizio, QLatin1String("<b>"))
                                  .replace(Fine, QLatin1String("</b>"))
                                  .simplified()});
    } catch (const EngineError &) {
        fine();
        if (fermo_ && fermo_->load())
            return {};
        throw;
    }
    fine();
    return risultati;
}

QList<std::pair<qint64, QString>> IndiceRicette::categorie() const
{
    QList<std::pair<qint64, QString>> c;
    for (auto i = categorie_.cbegin(); i != categorie_.cend(); ++i)
        c.append({i.key(), i.value()});
    std::sort(c.begin(), c.end(), [](const auto &a, const auto &b) {
        return Collazione::confronta(a.second, b.second) < 0;
    });
    return c;
}
