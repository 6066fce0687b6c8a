// The program's side of the web reader: a page recognised by its first bytes goes to the helper
// on its standard input, the recipes come back as CBOR on its standard output, within limits of
// time and size.
#include "formati/paginaweb.h"

#include <QCborStreamReader>
#include <QCborStreamWriter>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

namespace PaginaWeb {

namespace {

constexpr int LimiteTempo = 20000;

// The columns, by the names the CBOR carries between helper and program.
const char *const Testi[] = {"nome",       "descrizione", "preparataDa",  "tipoPasto",
                             "categoria",  "tempo",       "informazioni", "ingredientiTesto",
                             "istruzioni", "note",        "utensili"};

QString *campo(RicettaEstera &r, int i)
{
    QString *campi[] = {&r.nome,       &r.descrizione, &r.preparataDa,  &r.tipoPasto,
                        &r.categoria,  &r.tempo,       &r.informazioni, &r.ingredientiTesto,
                        &r.istruzioni, &r.note,        &r.utensili};
    return campi[i];
}

// The output is read as it comes, without a tree of values: each helper below reads one value
// and moves past it, whatever it is.
QString testo(QCborStreamReader &r)
{
    QString t;
    if (!r.isString()) {
        r.next();
        return t;
    }
    // CBOR may give a text in pieces.
    for (auto parte = r.readString(); parte.status == QCborStreamReader::Ok; parte = r.readString())
        t += parte.data;
    return t;
}

qint64 intero(QCborStreamReader &r, qint64 altrimenti)
{
    const qint64 x = r.isInteger() ? r.toInteger() : altrimenti;
    r.next();
    return x;
}

bool vero(QCborStreamReader &r)
{
    const bool x = r.isTrue();
    r.next();
    return x;
}

// Each item of a map (mappa) or a list, read by leggiUno; any other value is passed over.
template <typename Uno> void perOgni(QCborStreamReader &r, bool mappa, Uno leggiUno)
{
    if (mappa ? !r.isMap() : !r.isArray()) {
        r.next();
        return;
    }
    r.enterContainer();
    while (r.lastError() == QCborError::NoError && r.hasNext())
        leggiUno();
    r.leaveContainer();
}

RicettaEstera ricetta(QCborStreamReader &r)
{
    RicettaEstera x;
    perOgni(r, true, [&] {
        const QString chiave = testo(r);
        const auto testi =
            std::find_if(std::begin(Testi), std::end(Testi),
                         [&chiave](const char *t) { return chiave == QLatin1String(t); });
        if (testi != std::end(Testi)) {
            *campo(x, int(testi - std::begin(Testi))) = testo(r);
        } else if (chiave == u"vegetariana") {
            x.vegetariana = vero(r);
        } else if (chiave == u"porzioni") {
            x.porzioni = int(intero(r, 4));
        } else if (chiave == u"calorie") {
            x.calorie = int(intero(r, 0));
        } else if (chiave == u"righe") {
            perOgni(r, false, [&] {
                RigaEstera l;
                QString *const colonne[] = {&l.quantita, &l.ingrediente, &l.commento};
                int i = 0;
                perOgni(r, false, [&] {
                    const QString t = testo(r);
                    if (i < 3)
                        *colonne[i++] = t;
                });
                x.righe << l;
            });
        } else {
            r.next();
        }
    });
    return x;
}

} // namespace

bool riconosci(const QByteArray &inizio)
{
    // A page saved by hand may start with blanks, a stray character or a comment.
    static const QRegularExpression pagina(
        QStringLiteral("<(!doctype\\s+html|html|head|body|meta|title)[\\s>]"),
        QRegularExpression::CaseInsensitiveOption);
    qsizetype da = inizio.startsWith("\xEF\xBB\xBF") ? 3 : 0;
    while (da < inizio.size() && QChar::isSpace(uchar(inizio.at(da))))
        ++da;
    return pagina.match(QString::fromUtf8(inizio.mid(da, 1024))).hasMatch();
}

bool riconosciFile(const QString &percorso)
{
    QFile f(percorso);
    if (!f.open(QIODevice::ReadOnly))
        return false;
    QByteArray inizio;
    // Blanks before the markup are passed over, however many.
    while (!f.atEnd() && inizio.trimmed().size() < 1024 && inizio.size() < MassimoByte)
        inizio += f.read(65536);
    return riconosci(inizio);
}

QByteArray inCbor(const QList<RicettaEstera> &ricette, const QString &problema)
{
    // Written as it goes: a page's 40,000 lines never make a tree of values first.
    QByteArray dati;
    QCborStreamWriter w(&dati);
    w.startMap(2);
    w.append(QLatin1String("ricette"));
    w.startArray(ricette.size());
    for (RicettaEstera r : ricette) {
        w.startMap(std::size(Testi) + 4);
        for (int i = 0; i < int(std::size(Testi)); ++i) {
            w.append(QLatin1String(Testi[i]));
            w.append(*campo(r, i));
        }
        w.append(QLatin1String("vegetariana"));
        w.append(r.vegetariana);
        w.append(QLatin1String("porzioni"));
        w.append(qint64(r.porzioni));
        w.append(QLatin1String("calorie"));
        w.append(qint64(r.calorie));
        w.append(QLatin1String("righe"));
        w.startArray(r.righe.size());
        for (const RigaEstera &l : r.righe) {
            w.startArray(3);
            w.append(l.quantita);
            w.append(l.ingrediente);
            w.append(l.commento);
            w.endArray();
        }
        w.endArray();
        w.endMap();
    }
    w.endArray();
    w.append(QLatin1String("problema"));
    w.append(problema);
    w.endMap();
    return dati;
}

QList<RicettaEstera> daCbor(const QByteArray &dati, QString *problema)
{
    QList<RicettaEstera> ricette;
    QString detto;
    QCborStreamReader r(dati);
    perOgni(r, true, [&] {
        const QString chiave = testo(r);
        if (chiave == u"ricette")
            perOgni(r, false, [&] { ricette << ricetta(r); });
        else if (chiave == u"problema")
            detto = testo(r);
        else
            r.next();
    });
    // Damaged output, as from a helper that was cut short, gives nothing.
    if (r.lastError() != QCborError::NoError)
        return {};
    if (problema)
        *problema = detto;
    return ricette;
}

} // namespace PaginaWeb

LetturaPagina::LetturaPagina(const Aiutante::Opzioni &opzioni, QObject *genitore)
    : Lettura(QStringLiteral("pentolone-web"), opzioni, PaginaWeb::LimiteTempo, genitore)
{
}

void LetturaPagina::avvia(const QByteArray &pagina, const QString &indirizzo)
{
    indirizzo_ = indirizzo;
    if (pagina.size() > PaginaWeb::MassimoByte)
        return rifiutaDopo(
            QStringLiteral("La pagina %1 è più grande di 10 MB: non è una pagina di ricette.")
                .arg(indirizzo));
    avviaAiutante({indirizzo}, pagina);
}

void LetturaPagina::avviaFile(const QString &percorso)
{
    const QString nome = QFileInfo(percorso).fileName();
    QFile f(percorso);
    if (!f.open(QIODevice::ReadOnly))
        return rifiutaDopo(
            QStringLiteral("Il file \"%1\" non si può leggere: %2").arg(nome, f.errorString()));
    if (f.size() > PaginaWeb::MassimoByte)
        return rifiutaDopo(QStringLiteral("Il file \"%1\" è più grande di 10 MB: non è una "
                                          "pagina di ricette.")
                               .arg(nome));
    const QByteArray pagina = f.readAll();
    if (!PaginaWeb::riconosci(pagina))
        return rifiutaDopo(QStringLiteral("Il file \"%1\" non è una pagina web.").arg(nome));
    avvia(pagina, QFileInfo(percorso).absoluteFilePath());
}

void LetturaPagina::terminato(Aiutante::Esito esito)
{
    switch (esito) {
    case Aiutante::Mancante:
        return rifiuta({false, QStringLiteral("Manca il programma che legge le pagine web (%1): "
                                              "Pentolone va installato di nuovo.")
                                   .arg(figlio_.nome())});
    case Aiutante::Annullato:
        return rifiuta({true, QString()});
    case Aiutante::Scaduto:
        return rifiuta({false, QStringLiteral("La lettura della pagina %1 non è finita in %2: la "
                                              "pagina è forse danneggiata.")
                                   .arg(indirizzo_, Rifiuto::secondi(figlio_.limiteTempo()))});
    case Aiutante::Fallito:
    case Aiutante::InCorso:
        return rifiuta({false, QStringLiteral("La pagina %1 non si può leggere: è danneggiata o "
                                              "troppo complicata.")
                                   .arg(indirizzo_)});
    case Aiutante::Riuscito:
        break;
    }
    QString problema;
    const QList<RicettaEstera> ricette = PaginaWeb::daCbor(figlio_.uscita(), &problema);
    if (ricette.isEmpty() && !problema.isEmpty())
        return rifiuta({false, QStringLiteral("La ricetta della pagina %1 non si può leggere: %2.")
                                   .arg(indirizzo_, problema)});
    if (ricette.isEmpty())
        return rifiuta({false, QStringLiteral("Nella pagina %1 non c'è nessuna ricetta che "
                                              "Pentolone sappia leggere: la pagina non ne pubblica "
                                              "i dati.")
                                   .arg(indirizzo_)});
    if (finisce())
        emit lette(ricette);
}
