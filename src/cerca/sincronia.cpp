// Bringing the index up to the book: the recipes the program's own writes touched, read again;
// or a comparison of every recipe, a block of keys at a time, with what the index holds of it.
#include "cerca/indice.h"

#include "storage/schema.h"
#include "storage/statement.h"
#include "storage/transazione.h"

namespace {

constexpr int Blocco = 500; // recipes read by one step

QString dalLibro(const QString &tabella, const QString &resto = QString())
{
    return QStringLiteral("SELECT * FROM %1 %2").arg(quotaNome(tabella), resto);
}

QString colonnaRighe(int colonna)
{
    return quotaNome(Schema::tabella(Schema::IngredientiRicetta)->colonne.at(colonna).nome);
}

void togli(const Connessione &db, qint64 chiave)
{
    for (const char *via : {"DELETE FROM testo WHERE rowid = ?", "DELETE FROM ricetta WHERE id = ?",
                            "DELETE FROM riga WHERE ricetta = ?"}) {
        Statement s(db, via);
        s.bind(1, chiave).step();
    }
}

} // namespace

quint64 IndiceRicette::improntaDi(const QVariantList &ricetta, const QStringList &righe)
{
    QByteArray testo;
    for (const QVariant &v : ricetta)
        testo += v.toString().toUtf8() + (v.isNull() ? "\x1d" : "\x1f");
    for (const QString &r : righe)
        testo += r.toUtf8() + '\x1e';
    return quint64(qHash(QByteArrayView(testo), 0));
}

void IndiceRicette::aggiorna(Database &libro, const std::function<void(int, int)> &avanzamento)
{
    if (!inizia(libro))
        return;
    int fatte = 0, tutte = 0;
    while (passo(libro, fatte, tutte))
        if (avanzamento)
            avanzamento(fatte, tutte);
}

bool IndiceRicette::inizia(Database &libro)
{
    switch (stato()) {
    case Stato::Fedele:
        return false;
    case Stato::SoloNostre:
        soloNostre(libro);
        return false;
    case Stato::DaRileggere:
        break;
    }
    completo_ = false; // whatever becomes of the reading, the index is not the book's
    auto s = std::make_unique<Sincronia>();
    s->impronta = Impronta::di(libro_);
    s->nostre = Database::scrittureNostre(libro_);
    {
        // The comparison reads every recipe: what the hook named until now is in it.
        const QMutexLocker bloccato(&guardiaCambi_);
        cambi_ = {};
    }
    s->tutte = libro.valore("SELECT count(*) FROM " + quotaNome(Schema::Ricette)).toInt();
    Transazione t(db_, file_);
    setMeta("impronta", QString()); // half compared, the index is not the book's
    leggiNomi(libro);
    t.commit();
    sincronia_ = std::move(s);
    return true;
}

// The names of ingredients and categories, whole: a few thousand rows.
void IndiceRicette::leggiNomi(Database &libro)
{
    Statement(db_, "DELETE FROM ingrediente").step();
    Statement(db_, "DELETE FROM categoria").step();
    for (auto [tabella, nella] : {std::pair(Schema::Ingredienti, "ingrediente"),
                                  std::pair(Schema::CategorieAlimentari, "categoria")}) {
        Statement metti(
            db_,
            QStringLiteral("INSERT INTO %1 (id, nome) VALUES (?, ?)").arg(QLatin1String(nella)));
        Statement s(libro.handle(), dalLibro(tabella), libro.percorso());
        while (s.step()) {
            metti.reset();
            metti.bindAll({s.column(0), s.column(1)}).step();
        }
    }
    caricaNomi();
}

bool IndiceRicette::passo(Database &libro, int &fatte, int &tutte)
{
    if (!sincronia_)
        return false;
    Sincronia &s = *sincronia_;
    // One block of recipes and their lines, in one read of the book.
    QList<QVariantList> ricette;
    QHash<qint64, QList<std::pair<qint64, qint64>>> righe;
    QHash<qint64, QStringList> commenti;
    {
        const Database::Lettura lettura(libro);
        Statement r(libro.handle(),
                    dalLibro(Schema::Ricette, QStringLiteral("WHERE %1 > ? ORDER BY 1 LIMIT %2")
                                                  .arg(quotaNome(QStringLiteral("IDRicetta")))
                                                  .arg(Blocco)),
                    libro.percorso());
        r.bind(1, s.ultima);
        while (r.step()) {
            QVariantList campi;
            for (int i = 0; i <= Schema::Utensili; ++i)
                campi.append(r.column(i));
            ricette.append(campi);
        }
        if (!ricette.isEmpty()) {
            Statement l(libro.handle(),
                        dalLibro(Schema::IngredientiRicetta,
                                 QStringLiteral("WHERE %1 > ? AND %1 <= ? ORDER BY 2, 1")
                                     .arg(colonnaRighe(Schema::RigaRicetta))),
                        libro.percorso());
            l.bindAll({s.ultima, ricette.last().at(Schema::IDRicetta)});
            while (l.step()) {
                const qint64 k = l.column(Schema::RigaRicetta).toLongLong();
                righe[k].append({l.column(Schema::IDIngredienteRicetta).toLongLong(),
                                 l.column(Schema::RigaIngrediente).toLongLong()});
                commenti[k].append(l.column(Schema::Commenti).toString());
            }
        }
    }
    const qint64 fino = ricette.isEmpty() ? std::numeric_limits<qint64>::max()
                                          : ricette.last().at(Schema::IDRicetta).toLongLong();
    {
        Transazione t(db_, file_);
        QHash<qint64, quint64> indicizzate;
        Statement c(db_, "SELECT id, impronta FROM ricetta WHERE id > ? AND id <= ?");
        c.bindAll({s.ultima, fino});
        while (c.step())
            indicizzate.insert(c.column(0).toLongLong(), quint64(c.column(1).toLongLong()));
        for (const QVariantList &campi : ricette) {
            const qint64 k = campi.at(Schema::IDRicetta).toLongLong();
            const quint64 impronta =
                improntaDi(campi, testiRighe(righe.value(k), commenti.value(k)));
            const auto trovata = indicizzate.constFind(k);
            if (trovata != indicizzate.cend() && *trovata == impronta) {
                indicizzate.remove(k);
                continue;
            }
            if (trovata != indicizzate.cend())
                togli(db_, k);
            indicizzate.remove(k);
            inserisci(campi, righe.value(k), commenti.value(k), impronta);
        }
        for (auto i = indicizzate.cbegin(); i != indicizzate.cend(); ++i)
            togli(db_, i.key()); // no longer in the book
        if (ricette.isEmpty()) {
            setMeta("impronta", s.impronta.testo());
        }
        t.commit();
    }
    if (ricette.isEmpty()) {
        impronta_ = s.impronta;
        nostre_ = s.nostre;
        completo_ = true;
        sincronia_.reset();
        return false;
    }
    s.ultima = fino;
    s.fatte += int(ricette.size());
    fatte = s.fatte;
    tutte = qMax(s.tutte, s.fatte);
    return true;
}

// Only the program's own writes changed the book: the recipes they touched, read again.
void IndiceRicette::soloNostre(Database &libro)
{
    const Impronta adesso = Impronta::di(libro_);
    const quint64 nostre = Database::scrittureNostre(libro_);
    Cambi cambi;
    {
        const QMutexLocker bloccato(&guardiaCambi_);
        cambi = std::exchange(cambi_, {});
    }
    Transazione t(db_, file_);
    if (cambi.categorie || !cambi.ingredienti.isEmpty())
        leggiNomi(libro);
    QSet<qint64> ricette = cambi.ricette;
    // A line names its recipe: the one it had here, and the one it has in the book now.
    Statement qui(db_, "SELECT ricetta FROM riga WHERE id = ?");
    Statement la(libro.handle(),
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
    Statement usano(db_, "SELECT DISTINCT ricetta FROM riga WHERE ingrediente = ?");
    for (qint64 ingrediente : cambi.ingredienti) {
        usano.reset();
        usano.bind(1, ingrediente);
        while (usano.step())
            ricette.insert(usano.column(0).toLongLong());
    }
    rifai(libro, ricette);
    setMeta("impronta", adesso.testo());
    t.commit();
    impronta_ = adesso;
    nostre_ = nostre;
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
    // All out first: a line moved between two of them must not meet itself.
    for (qint64 chiave : ricette)
        togli(db_, chiave);
    for (qint64 chiave : ricette) {
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
        inserisci(campi, sue, commenti, improntaDi(campi, testiRighe(sue, commenti)));
    }
}
