// The content search: the book's texts in an FTS5 table of an in-memory database, with the
// recipes' ingredient keys beside it for "Cosa cucino con...".
#include "cerca/indice.h"

#include "storage/collation.h"
#include "storage/schema.h"
#include "storage/statement.h"

#include <QHash>
#include <algorithm>
#include <sqlite3.h>

namespace {

void esegui(sqlite3 *db, const char *sql)
{
    if (const int rc = sqlite3_exec(db, sql, nullptr, nullptr, nullptr); rc != SQLITE_OK)
        lanciaErroreSqlite(db, rc, QString());
}

QString dalLibro(const QString &tabella, const QString &resto = QString())
{
    return QStringLiteral("SELECT * FROM %1 %2").arg(quotaNome(tabella), resto);
}

QString colonnaRighe(int colonna)
{
    return quotaNome(Schema::tabella(Schema::IngredientiRicetta)->colonne.at(colonna).nome);
}

// The marks snippet() puts around the words found.
constexpr QChar Inizio(0x02), Fine(0x03);

} // namespace

std::shared_ptr<IndiceRicette> IndiceRicette::per(const QString &percorso)
{
    // One book at a time: the index of the book used before goes when another is searched.
    static std::shared_ptr<IndiceRicette> tenuto;
    if (!tenuto || tenuto->percorso_ != percorso)
        tenuto = std::make_shared<IndiceRicette>(percorso);
    return tenuto;
}

IndiceRicette::IndiceRicette(const QString &percorso) : percorso_(percorso)
{
    if (const int rc = sqlite3_open_v2(":memory:", &mem_, SQLITE_OPEN_READWRITE, nullptr);
        rc != SQLITE_OK)
        lanciaErroreSqlite(mem_, rc, QString());
    Collazione::registra(mem_);
    // Our writes count from now: what came before is read by the first build.
    Database::osserva(percorso_, this);
}

IndiceRicette::~IndiceRicette()
{
    Database::nonOsservare(percorso_, this);
    insTesto_.reset();
    insRicetta_.reset();
    insRiga_.reset();
    sqlite3_close(mem_);
}

void IndiceRicette::rigaCambiata(const QString &tabella, qint64 chiave)
{
    // Told from inside a write of the book: only noted here, read at the next search.
    if (tabella.compare(Schema::Ricette, Qt::CaseInsensitive) == 0)
        cambi_.ricette.insert(chiave);
    else if (tabella.compare(Schema::IngredientiRicetta, Qt::CaseInsensitive) == 0)
        cambi_.righe.insert(chiave);
    else if (tabella.compare(Schema::Ingredienti, Qt::CaseInsensitive) == 0)
        cambi_.ingredienti.insert(chiave);
    else if (tabella.compare(Schema::CategorieAlimentari, Qt::CaseInsensitive) == 0)
        cambi_.categorie = true;
}

bool IndiceRicette::daCostruire() const
{
    const std::optional<quint32> c = Database::commitDelFile(percorso_);
    // Each commit of ours moves SQLite's count by one: any other step is another program.
    return !costruito_ || !c || !commit_ ||
           *c - *commit_ != quint32(Database::scrittureNostre(percorso_) - nostre_);
}

void IndiceRicette::aggiorna(Database &libro, const std::function<void(int, int)> &avanzamento)
{
    const std::optional<quint32> commit = Database::commitDelFile(percorso_);
    const quint64 nostre = Database::scrittureNostre(percorso_);
    if (daCostruire()) {
        costruisci(libro, avanzamento);
    } else if (!cambi_.ricette.isEmpty() || !cambi_.righe.isEmpty() ||
               !cambi_.ingredienti.isEmpty() || cambi_.categorie) {
        const Cambi cambi = std::exchange(cambi_, {});
        if (cambi.categorie || !cambi.ingredienti.isEmpty())
            leggiNomi(libro);
        QSet<qint64> ricette = cambi.ricette;
        // A line names its recipe: the one it had here, and the one it has in the book now.
        Statement qui(mem_, "SELECT ricetta FROM riga WHERE id = ?");
        Statement la(
            libro.handle(),
            QStringLiteral("SELECT %1 FROM %2 WHERE rowid = ?")
                .arg(colonnaRighe(Schema::RigaRicetta), quotaNome(Schema::IngredientiRicetta)),
            libro.percorso());
        for (qint64 riga : cambi.righe)
            for (Statement *s : {&qui, &la}) {
                s->reset();
                if (s->bind(1, riga).step())
                    ricette.insert(s->column(0).toLongLong());
            }
        // A renamed ingredient changes the text of every recipe using it.
        Statement usano(mem_, "SELECT DISTINCT ricetta FROM riga WHERE ingrediente = ?");
        for (qint64 ingrediente : cambi.ingredienti) {
            usano.reset();
            usano.bind(1, ingrediente);
            while (usano.step())
                ricette.insert(usano.column(0).toLongLong());
        }
        rifai(libro, ricette);
    }
    commit_ = commit;
    nostre_ = nostre;
}

void IndiceRicette::leggiNomi(Database &libro)
{
    ingredienti_.clear();
    categorie_.clear();
    for (auto [tabella, nomi] : {std::pair(Schema::Ingredienti, &ingredienti_),
                                 std::pair(Schema::CategorieAlimentari, &categorie_)}) {
        Statement s(libro.handle(), dalLibro(tabella), libro.percorso());
        while (s.step())
            nomi->insert(s.column(0).toLongLong(), s.column(1).toString());
    }
}

void IndiceRicette::costruisci(Database &libro, const std::function<void(int, int)> &avanzamento)
{
    costruito_ = false;
    cambi_ = {};
    insTesto_.reset();
    insRicetta_.reset();
    insRiga_.reset();
    esegui(mem_, "DROP TABLE IF EXISTS testo; DROP TABLE IF EXISTS ricetta; "
                 "DROP TABLE IF EXISTS riga; DROP TABLE IF EXISTS dispensa;"
                 "CREATE VIRTUAL TABLE testo USING fts5(descrizione, ingredienti, righe, "
                 "istruzioni, note, utensili, nome, tokenize = 'unicode61 remove_diacritics 2', "
                 "prefix = '1 2');"
                 "CREATE TABLE ricetta (id INTEGER PRIMARY KEY, nome TEXT, categoria INTEGER, "
                 "vegetariana INTEGER);"
                 "CREATE TABLE riga (id INTEGER PRIMARY KEY, ricetta INTEGER, ingrediente INTEGER);"
                 "CREATE INDEX riga_ricetta ON riga (ricetta);"
                 "CREATE INDEX riga_ingrediente ON riga (ingrediente);"
                 "CREATE TABLE dispensa (id INTEGER PRIMARY KEY);");
    // Prepared once: a build inserts tens of thousands of rows.
    insTesto_ = std::make_unique<Statement>(
        mem_, "INSERT INTO testo (rowid, descrizione, ingredienti, righe, istruzioni, note, "
              "utensili, nome) VALUES (?, ?, ?, ?, ?, ?, ?, ?)");
    insRicetta_ = std::make_unique<Statement>(
        mem_, "INSERT INTO ricetta (id, nome, categoria, vegetariana) VALUES (?, ?, ?, ?)");
    insRiga_ = std::make_unique<Statement>(
        mem_, "INSERT INTO riga (id, ricetta, ingrediente) VALUES (?, ?, ?)");
    leggiNomi(libro);
    // One read of the book: recipes and lines in recipe order, walked side by side.
    libro.esegui("BEGIN");
    try {
        const int totale =
            libro.valore("SELECT count(*) FROM " + quotaNome(Schema::Ricette)).toInt();
        Statement ricette(libro.handle(), dalLibro(Schema::Ricette, "ORDER BY 1"),
                          libro.percorso());
        Statement righe(libro.handle(), dalLibro(Schema::IngredientiRicetta, "ORDER BY 2, 1"),
                        libro.percorso());
        esegui(mem_, "BEGIN");
        bool altraRiga = righe.step();
        int fatte = 0;
        while (ricette.step()) {
            QVariantList campi;
            for (int i = 0; i <= Schema::Utensili; ++i)
                campi.append(ricette.column(i));
            const qint64 chiave = campi.at(Schema::IDRicetta).toLongLong();
            QList<std::pair<qint64, qint64>> sue;
            QStringList commenti;
            for (; altraRiga && righe.column(Schema::RigaRicetta).toLongLong() <= chiave;
                 altraRiga = righe.step())
                if (righe.column(Schema::RigaRicetta).toLongLong() == chiave) {
                    sue.append({righe.column(Schema::IDIngredienteRicetta).toLongLong(),
                                righe.column(Schema::RigaIngrediente).toLongLong()});
                    commenti.append(righe.column(Schema::Commenti).toString());
                }
            inserisci(campi, sue, commenti);
            if (avanzamento && ++fatte % 250 == 0)
                avanzamento(fatte, totale);
        }
        esegui(mem_, "COMMIT");
        libro.esegui("COMMIT");
    } catch (...) {
        sqlite3_exec(mem_, "ROLLBACK", nullptr, nullptr, nullptr);
        sqlite3_exec(libro.handle(), "ROLLBACK", nullptr, nullptr, nullptr);
        throw;
    }
    costruito_ = true;
}

void IndiceRicette::rifai(Database &libro, const QSet<qint64> &ricette)
{
    Statement ricetta(libro.handle(), dalLibro(Schema::Ricette, "WHERE rowid = ?"),
                      libro.percorso());
    Statement righe(
        libro.handle(),
        dalLibro(Schema::IngredientiRicetta,
                 QStringLiteral("WHERE %1 = ? ORDER BY 1").arg(colonnaRighe(Schema::RigaRicetta))),
        libro.percorso());
    esegui(mem_, "BEGIN");
    try {
        for (qint64 chiave : ricette) {
            for (const char *via :
                 {"DELETE FROM testo WHERE rowid = ?", "DELETE FROM ricetta WHERE id = ?",
                  "DELETE FROM riga WHERE ricetta = ?"}) {
                Statement s(mem_, via);
                s.bind(1, chiave).step();
            }
            ricetta.reset();
            if (!ricetta.bind(1, chiave).step())
                continue; // deleted
            QVariantList campi;
            for (int i = 0; i <= Schema::Utensili; ++i)
                campi.append(ricetta.column(i));
            QList<std::pair<qint64, qint64>> sue;
            QStringList commenti;
            righe.reset();
            righe.bind(1, chiave);
            while (righe.step()) {
                sue.append({righe.column(Schema::IDIngredienteRicetta).toLongLong(),
                            righe.column(Schema::RigaIngrediente).toLongLong()});
                commenti.append(righe.column(Schema::Commenti).toString());
            }
            inserisci(campi, sue, commenti);
        }
        esegui(mem_, "COMMIT");
    } catch (...) {
        sqlite3_exec(mem_, "ROLLBACK", nullptr, nullptr, nullptr);
        costruito_ = false; // half done: read whole next time
        throw;
    }
}

void IndiceRicette::inserisci(const QVariantList &campi,
                              const QList<std::pair<qint64, qint64>> &righe,
                              const QStringList &commenti)
{
    const qint64 chiave = campi.at(Schema::IDRicetta).toLongLong();
    QStringList testoRighe;
    for (int i = 0; i < righe.size(); ++i)
        testoRighe.append(
            (ingredienti_.value(righe.at(i).second) + QLatin1Char(' ') + commenti.at(i)).trimmed());
    insTesto_->reset();
    insTesto_
        ->bindAll({chiave, campi.at(Schema::DescrizioneRicetta), campi.at(Schema::IngredientiTesto),
                   testoRighe.join(QLatin1String("; ")), campi.at(Schema::Istruzioni),
                   campi.at(Schema::Note), campi.at(Schema::Utensili),
                   campi.at(Schema::NomeRicetta)})
        .step();
    insRicetta_->reset();
    insRicetta_
        ->bindAll({chiave, campi.at(Schema::NomeRicetta), campi.at(Schema::IDCategoriaAlimentare),
                   campi.at(Schema::Vegetariana).toInt() != 0})
        .step();
    for (const auto &[id, ingrediente] : righe) {
        insRiga_->reset();
        insRiga_->bindAll({id, chiave, ingrediente}).step();
    }
}

QString IndiceRicette::espressione(const QString &testo, bool soloPositivi)
{
    QStringList presenti, assenti;
    const qsizetype n = testo.size();
    for (qsizetype i = 0; i < n;) {
        if (testo.at(i).isSpace()) {
            ++i;
            continue;
        }
        const bool escluso = testo.at(i) == QLatin1Char('-');
        if (escluso)
            ++i;
        const bool frase = i < n && testo.at(i) == QLatin1Char('"');
        qsizetype fine = i;
        if (frase) {
            fine = testo.indexOf(QLatin1Char('"'), i + 1);
            if (fine < 0) // an unbalanced quote runs to the end
                fine = n;
            ++i;
        } else {
            while (fine < n && !testo.at(fine).isSpace() && testo.at(fine) != QLatin1Char('"'))
                ++fine;
        }
        QString termine = testo.mid(i, fine - i);
        i = frase ? fine + 1 : fine;
        // Only letters and digits make words: "*", "(" or a lone "-" is nothing to find.
        if (std::none_of(termine.cbegin(), termine.cend(),
                         [](QChar c) { return c.isLetterOrNumber(); }))
            continue;
        // Quoted, any text is words to FTS5, never an operator; a word is found by its start.
        termine = QLatin1Char('"') + termine.replace(QLatin1Char('"'), QLatin1String("\"\"")) +
                  QLatin1Char('"') + (frase ? QString() : QStringLiteral("*"));
        (escluso ? assenti : presenti).append(termine);
    }
    if (presenti.isEmpty())
        return {};
    if (soloPositivi)
        return presenti.join(QLatin1Char(' '));
    QString e = QLatin1Char('(') + presenti.join(QLatin1Char(' ')) + QLatin1Char(')');
    for (const QString &a : assenti)
        e += QStringLiteral(" NOT ") + a;
    return e;
}

QList<IndiceRicette::Risultato> IndiceRicette::cerca(const QString &testo, const Filtro &filtro,
                                                     int massimo)
{
    const QString e = espressione(testo);
    if (e.isEmpty() || !costruito_)
        return {};
    // Recipes with every word in the name first, then by FTS5's rank, the name weighing most.
    // SQLite makes the extracts of the rows kept only, after the sort. The name is the last
    // column: an extract comes from another text that holds as many of the words.
    Statement s(mem_, "SELECT t.rowid, r.nome, r.categoria, r.vegetariana, "
                      "snippet(testo, -1, char(2), char(3), '…', 12) FROM testo t "
                      "JOIN ricetta r ON r.id = t.rowid "
                      "WHERE testo MATCH ?1 AND (?2 = 0 OR r.vegetariana <> 0) "
                      "AND (?3 = 0 OR r.categoria = ?3) "
                      "ORDER BY t.rowid IN (SELECT rowid FROM testo WHERE testo MATCH ?4) DESC, "
                      "bm25(testo, 3.0, 1.0, 1.0, 1.0, 1.0, 1.0, 10.0), r.nome COLLATE ITALIANO "
                      "LIMIT ?5");
    s.bindAll({e, filtro.soloVegetariane, filtro.categoria,
               QStringLiteral("nome : (%1)").arg(espressione(testo, true)), massimo});
    QList<Risultato> risultati;
    while (s.step())
        risultati.append({s.column(0).toLongLong(), s.column(1).toString(),
                          categorie_.value(s.column(2).toLongLong()), s.column(3).toBool(),
                          s.column(4)
                              .toString()
                              .toHtmlEscaped()
                              .replace(Inizio, QLatin1String("<b>"))
                              .replace(Fine, QLatin1String("</b>"))
                              .simplified()});
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
