// Reading MealMaster files: the file's limits, then one pass over its lines.
#include "formati/mealmaster.h"
#include "formati/mealmastercolonne.h"

#include "formati/quantita.h"
#include "storage/engineerror.h"
#include "toolkit/maiuscole.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <cerrno>

namespace MealMaster {

namespace {

constexpr qint64 DimensioneMassima = 64 * 1024 * 1024; // 10,000 recipes take some 15 MB
constexpr qsizetype RigaMassima = 4096;                // the format's lines have 80 columns
constexpr qsizetype Inizio = 256 * 1024;               // where riconosci looks for a header
constexpr qsizetype NomeMassimo = 50;                  // a name in the book

// A line of ingredients being read: its continuation lines join its text.
struct Riga
{
    QString quantita;
    QString codice;
    QString testo;
};

class Lettore
{
public:
    explicit Lettore(const QString &nome) : nome_(nome) {}

    QList<RicettaEstera> leggi(QStringView testo, QString &errore)
    {
        int numero = 0;
        for (QStringView riga : testo.tokenize(u'\n')) {
            ++numero;
            if (riga.endsWith(u'\r'))
                riga.chop(1);
            if (!leggiRiga(riga, numero, errore))
                return {};
        }
        if (dentro_) {
            errore = tagliata(QStringLiteral("il file finisce prima della sua riga di chiusura"));
            return {};
        }
        if (ricette_.isEmpty())
            errore = QStringLiteral("Nel file %1 non c'è nessuna ricetta MealMaster.").arg(nome_);
        return errore.isEmpty() ? ricette_ : QList<RicettaEstera>();
    }

private:
    enum class Parte { Intestazione, Ingredienti, Istruzioni };

    bool leggiRiga(QStringView riga, int numero, QString &errore)
    {
        if (eIntestazione(riga)) {
            if (dentro_) {
                errore = tagliata(QStringLiteral("manca la sua riga di chiusura prima della "
                                                 "ricetta seguente (riga %1)")
                                      .arg(numero));
                return false;
            }
            dentro_ = true;
            inizio_ = numero;
            parte_ = Parte::Intestazione;
            r_ = RicettaEstera();
            sezione_.clear();
            sezioneUsata_ = true;
            paragrafi_.clear();
            vuote_ = 0;
            return true;
        }
        if (!dentro_)
            return true; // text between recipes
        if (eFine(riga)) {
            chiudi();
            return true;
        }
        if (parte_ == Parte::Intestazione && campo(riga))
            return true;
        if (parte_ == Parte::Intestazione)
            parte_ = Parte::Ingredienti;
        if (const QString titolo = sezione(riga); !titolo.isEmpty()) {
            svuotaBlocco();
            if (parte_ == Parte::Ingredienti) {
                conservaSezione();
                sezione_ = titolo;
                sezioneUsata_ = false;
            } else {
                istruzione(titolo);
            }
            return true;
        }
        if (riga.trimmed().isEmpty()) {
            svuotaBlocco();
            if (parte_ == Parte::Istruzioni && !paragrafi_.isEmpty())
                ++vuote_;
            return true;
        }
        if (parte_ == Parte::Ingredienti && ingredienti(riga))
            return true;
        if (parte_ == Parte::Ingredienti) {
            svuotaBlocco();
            conservaSezione();
            parte_ = Parte::Istruzioni;
        }
        istruzione(riga.trimmed().toString());
        return true;
    }

    // Title, categories, yield: the lines before the first ingredient.
    bool campo(QStringView riga)
    {
        using Campo = void (Lettore::*)(const QString &);
        static const std::pair<QLatin1StringView, Campo> campi[] = {
            {QLatin1StringView("Title:"), &Lettore::titolo},
            {QLatin1StringView("Categories:"), &Lettore::categorie},
            {QLatin1StringView("Yield:"), &Lettore::resa},
            {QLatin1StringView("Servings:"), &Lettore::resa}};
        const QStringView t = riga.trimmed();
        if (t.isEmpty())
            return true;
        for (const auto &[nome, leggiCampo] : campi)
            if (t.startsWith(nome, Qt::CaseInsensitive)) {
                (this->*leggiCampo)(t.mid(nome.size()).trimmed().toString());
                return true;
            }
        return false;
    }

    void titolo(const QString &t)
    {
        r_.nome = t.left(NomeMassimo).trimmed();
        if (t.size() > NomeMassimo)
            nota(QStringLiteral("Titolo: ") + t);
    }

    // The first is the recipe's category; all of them tell the kind of meal.
    void categorie(const QString &t)
    {
        QStringList nomi;
        for (const QString &c : t.split(u',', Qt::SkipEmptyParts))
            if (!c.trimmed().isEmpty())
                nomi << c.trimmed();
        if (nomi.isEmpty())
            return;
        r_.categoria = nomi.first().left(NomeMassimo);
        r_.tipoPasto = nomi.join(QStringLiteral(", ")).left(NomeMassimo);
    }

    // A count of servings is the portions; any other yield ("2 cups") is worth a note.
    void resa(const QString &t)
    {
        static const QStringList parole = {"serving",  "servings", "porzione",
                                           "porzioni", "persona",  "persone"};
        const QStringList p = t.split(u' ', Qt::SkipEmptyParts);
        bool numero = false;
        const int n = p.value(0).toInt(&numero);
        if (numero && n > 0 && n <= 9999 &&
            (p.size() == 1 || (p.size() == 2 && parole.contains(p.at(1), Qt::CaseInsensitive))))
            r_.porzioni = n;
        else if (!t.isEmpty())
            nota(QStringLiteral("Resa: ") + t);
    }

    void nota(const QString &t) { r_.note += (r_.note.isEmpty() ? QString() : "\r\n") + t; }

    // One or two ingredients side by side; false when the line is none.
    bool ingredienti(QStringView riga)
    {
        const auto sinistra = pezzo(riga.left(SecondaColonna));
        if (!sinistra)
            return false;
        const auto destra = riga.size() > SecondaColonna && riga.at(SecondaColonna - 1) == u' '
                                ? pezzo(riga.mid(SecondaColonna))
                                : std::nullopt;
        aggiungi(sinistra_, destra ? *sinistra : *pezzo(riga));
        if (destra)
            aggiungi(destra_, *destra);
        return true;
    }

    static void aggiungi(QList<Riga> &colonna, const Pezzo &p)
    {
        if (p.continua && !colonna.isEmpty())
            colonna.last().testo += u' ' + p.testo.mid(1).trimmed();
        else
            colonna.append({p.quantita, p.codice, p.testo});
    }

    // A block of lines ends: the left column's lines, then the right one's.
    void svuotaBlocco()
    {
        for (const QList<Riga> *colonna : {&sinistra_, &destra_})
            for (const Riga &l : *colonna)
                r_.righe.append(rigaEstera(l));
        sinistra_.clear();
        destra_.clear();
    }

    RigaEstera rigaEstera(const Riga &l)
    {
        sezioneUsata_ = true;
        const qsizetype puntoEVirgola = l.testo.indexOf(u';');
        QString nome = l.testo.left(puntoEVirgola).trimmed();
        QStringList commento;
        if (!l.codice.isEmpty())
            commento << parolaUnita(l.codice, plurale(l.quantita));
        if (puntoEVirgola >= 0 && !l.testo.mid(puntoEVirgola + 1).trimmed().isEmpty())
            commento << l.testo.mid(puntoEVirgola + 1).trimmed();
        // What a name in the book cannot hold goes on in the comment.
        if (nome.size() > NomeMassimo) {
            qsizetype taglio = nome.lastIndexOf(u' ', NomeMassimo);
            if (taglio <= 0)
                taglio = NomeMassimo;
            commento.prepend(nome.mid(taglio).trimmed());
            nome.truncate(taglio);
        }
        QString c = commento.join(QStringLiteral(", "));
        if (!sezione_.isEmpty())
            c = c.isEmpty() ? sezione_ : c + QStringLiteral(" (") + sezione_ + u')';
        return {l.quantita, maiuscolaIniziale(nome), c};
    }

    // A heading with no ingredient under it belongs to the instructions.
    void conservaSezione()
    {
        if (!sezioneUsata_)
            istruzione(sezione_);
        sezione_.clear();
        sezioneUsata_ = true;
    }

    // Lines wrapped at the format's width join again; a blank line ends a paragraph, and each
    // further one is an empty line.
    void istruzione(const QString &testo)
    {
        const bool unisci = vuote_ == 0 && !paragrafi_.isEmpty() && ultima_ >= RigaPiena;
        ultima_ = testo.size();
        if (unisci)
            paragrafi_.last() += u' ' + testo;
        else {
            for (int i = 1; i < vuote_; ++i)
                paragrafi_.append(QString());
            paragrafi_.append(testo);
        }
        vuote_ = 0;
    }

    void chiudi()
    {
        svuotaBlocco();
        conservaSezione();
        r_.istruzioni = paragrafi_.join(QStringLiteral("\r\n"));
        if (r_.nome.isEmpty())
            r_.nome = QStringLiteral("Senza titolo");
        ricette_.append(std::move(r_));
        dentro_ = false;
    }

    QString tagliata(const QString &perche) const
    {
        return QStringLiteral("La ricetta \"%1\" (riga %2 del file %3) è incompleta: %4. Nessuna "
                              "ricetta è stata importata.")
            .arg(r_.nome.isEmpty() ? QStringLiteral("senza titolo") : r_.nome)
            .arg(inizio_)
            .arg(nome_, perche);
    }

    QString nome_;
    QList<RicettaEstera> ricette_;
    RicettaEstera r_;
    bool dentro_ = false;
    int inizio_ = 0;
    Parte parte_ = Parte::Intestazione;
    QList<Riga> sinistra_, destra_;
    QString sezione_;
    bool sezioneUsata_ = true;
    QStringList paragrafi_;
    qsizetype ultima_ = 0; // the length of the last line of instructions
    int vuote_ = 0;
};

// Bytes no text file holds: NUL and the control characters other than tab, line and page
// breaks and the old end-of-file mark.
qsizetype controllo(const QByteArray &b)
{
    for (qsizetype i = 0; i < b.size(); ++i) {
        const uchar c = uchar(b.at(i));
        if (c < 0x20 && c != '\t' && c != '\n' && c != '\r' && c != '\f' && c != 0x1a)
            return i;
    }
    return -1;
}

// The first line longer than the limit, 0 when none.
int rigaTroppoLunga(const QByteArray &b)
{
    int numero = 1;
    qsizetype inizio = 0;
    while (inizio <= b.size()) {
        qsizetype fine = b.indexOf('\n', inizio);
        if (fine < 0)
            fine = b.size();
        if (fine - inizio > RigaMassima)
            return numero;
        inizio = fine + 1;
        ++numero;
    }
    return 0;
}

// UTF-8 when the bytes are valid UTF-8, Latin-1 otherwise.
QString decodifica(const QByteArray &b)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString t = utf8.decode(b);
    if (utf8.hasError())
        t = QString::fromLatin1(b);
    if (t.startsWith(QChar(0xfeff)))
        t.remove(0, 1);
    return t;
}

} // namespace

bool riconosci(const QString &percorso)
{
    QFile f(percorso);
    if (!f.open(QIODevice::ReadOnly))
        return false;
    const QString inizio = QString::fromLatin1(f.read(Inizio));
    for (QStringView riga : QStringView(inizio).tokenize(u'\n'))
        if (eIntestazione(riga))
            return true;
    return false;
}

QList<RicettaEstera> leggi(const QByteArray &contenuto, const QString &nome, QString &errore)
{
    errore.clear();
    if (const qsizetype dove = controllo(contenuto); dove >= 0) {
        errore = QStringLiteral("Il file %1 non è un file di testo (al byte %2 c'è un carattere "
                                "di controllo): non contiene ricette MealMaster.")
                     .arg(nome)
                     .arg(dove + 1);
        return {};
    }
    if (const int riga = rigaTroppoLunga(contenuto)) {
        errore = QStringLiteral("La riga %1 del file %2 è lunga più di %3 caratteri: non è un "
                                "file di ricette MealMaster leggibile.")
                     .arg(riga)
                     .arg(nome)
                     .arg(RigaMassima);
        return {};
    }
    return Lettore(nome).leggi(decodifica(contenuto), errore);
}

QList<RicettaEstera> leggi(const QString &percorso, QString &errore)
{
    const QString nome = QFileInfo(percorso).fileName();
    QFile f(percorso);
    if (!f.open(QIODevice::ReadOnly)) {
        errore = EngineError::daFile(errno, percorso).description();
        return {};
    }
    if (f.size() > DimensioneMassima) {
        errore = QStringLiteral("Il file %1 è troppo grande (%2 MB) per un file di ricette "
                                "MealMaster: se ne leggono al massimo %3 MB.")
                     .arg(nome)
                     .arg(f.size() / (1024 * 1024))
                     .arg(DimensioneMassima / (1024 * 1024));
        return {};
    }
    const QByteArray contenuto = f.read(DimensioneMassima + 1);
    if (f.error() != QFileDevice::NoError) {
        errore = EngineError::daFile(EIO, percorso).description();
        return {};
    }
    return leggi(contenuto, nome, errore);
}

} // namespace MealMaster
