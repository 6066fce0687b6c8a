// Reading MealMaster files: one pass over the lines of a decoded file.
#include "formati/mealmastercolonne.h"

#include "formati/quantita.h"
#include "storage/schema.h"
#include "toolkit/maiuscole.h"

namespace MealMaster {

namespace {

// A recipe's name as wide as its column; the names of categories and ingredients, whose columns
// declare no width, are kept to the same, so every window shows them whole.
const qsizetype NomeMassimo = Schema::larghezza(Schema::Ricette, Schema::NomeRicetta);
const qsizetype TipoMassimo = Schema::larghezza(Schema::Ricette, Schema::TipoPasto);

// A line of ingredients being read: its continuation lines join its text.
struct Riga
{
    QString quantita;
    QString codice;
    QString testo;
    QString illeggibile; // a quantity written in no way the format knows, kept for the cook
};

class Lettore
{
public:
    explicit Lettore(const QString &nome) : nome_(nome) {}

    QList<RicettaEstera> leggi(QStringView testo, QString &errore)
    {
        int numero = 0;
        QStringView ultima;
        // Lines end in LF, CR LF, or CR alone (old Macintosh files).
        for (qsizetype inizio = 0; inizio <= testo.size();) {
            qsizetype fine = inizio;
            while (fine < testo.size() && testo[fine] != u'\n' && testo[fine] != u'\r')
                ++fine;
            const QStringView riga = testo.mid(inizio, fine - inizio);
            inizio = fine + (testo.mid(fine, 2) == u"\r\n" ? 2 : 1);
            if (fine == testo.size() && riga.isEmpty())
                break; // after the last line end
            leggiRiga(riga, ++numero);
            if (!riga.trimmed().isEmpty())
                ultima = riga;
        }
        if (dentro_)
            salta(QStringLiteral("il file finisce prima della sua riga di chiusura"));
        else if (ultima.startsWith(u"MMMMM") && !eFine(ultima) && !eIntestazione(ultima))
            avvisi_ << QStringLiteral("- alla riga %1 il file finisce dentro la riga che apre "
                                      "una ricetta.")
                           .arg(numero);
        errore = messaggio();
        return ricette_;
    }

private:
    enum class Parte { Intestazione, Ingredienti, Istruzioni };

    void leggiRiga(QStringView riga, int numero)
    {
        if (eIntestazione(riga)) {
            if (dentro_)
                salta(QStringLiteral("manca la sua riga di chiusura prima della ricetta seguente "
                                     "(riga %1)")
                          .arg(numero));
            dentro_ = true;
            danneggiata_ = false;
            inizio_ = numero;
            parte_ = Parte::Intestazione;
            r_ = RicettaEstera();
            sezione_.clear();
            sezioneUsata_ = true;
            paragrafi_.clear();
            vuote_ = 0;
            return;
        }
        if (!dentro_) {
            // A recipe whose opening line is damaged shows itself by its title: it is skipped
            // with a word, up to its end line.
            const QStringView t = riga.trimmed();
            if (!danneggiata_ && t.startsWith(u"Title:", Qt::CaseInsensitive)) {
                avvisi_ << QStringLiteral("- la ricetta \"%1\" (riga %2): la riga che la apre "
                                          "è danneggiata.")
                               .arg(t.mid(6).trimmed().toString())
                               .arg(numero);
                danneggiata_ = true;
            } else if (eFine(riga)) {
                danneggiata_ = false;
            }
            return; // text between recipes
        }
        if (eFine(riga)) {
            chiudi();
            return;
        }
        if (parte_ == Parte::Intestazione && campo(riga))
            return;
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
            return;
        }
        if (riga.trimmed().isEmpty()) {
            svuotaBlocco();
            if (parte_ == Parte::Istruzioni && !paragrafi_.isEmpty())
                ++vuote_;
            return;
        }
        if (parte_ == Parte::Ingredienti && ingredienti(riga))
            return;
        if (parte_ == Parte::Ingredienti) {
            svuotaBlocco();
            conservaSezione();
            parte_ = Parte::Istruzioni;
        }
        istruzione(riga.trimmed().toString());
    }

    // The recipe being read is incomplete: it is left out, and said.
    void salta(const QString &perche)
    {
        if (ricette_.isEmpty() && avvisi_.isEmpty())
            primoSalto_ = tagliata(perche);
        avvisi_ << QStringLiteral("- la ricetta \"%1\" (riga %2): %3.")
                       .arg(r_.nome.isEmpty() ? QStringLiteral("senza titolo") : r_.nome)
                       .arg(inizio_)
                       .arg(perche);
        dentro_ = false;
    }

    // What was left out, or why nothing can be read.
    QString messaggio() const
    {
        if (ricette_.isEmpty() && avvisi_.size() == 1 && !primoSalto_.isEmpty())
            return primoSalto_;
        if (ricette_.isEmpty() && avvisi_.isEmpty())
            return QStringLiteral("Nel file %1 non c'è nessuna ricetta MealMaster.").arg(nome_);
        if (ricette_.isEmpty())
            return QStringLiteral("Nel file %1 nessuna ricetta è completa: nessuna è stata "
                                  "importata.\r\n")
                       .arg(nome_) +
                   avvisi_.join(QStringLiteral("\r\n"));
        if (avvisi_.isEmpty())
            return {};
        return QStringLiteral("Dal file %1 si importano %2, ma non queste, che non sono "
                              "complete:\r\n")
                   .arg(nome_, ricette_.size() == 1
                                   ? QStringLiteral("una ricetta")
                                   : QStringLiteral("%1 ricette").arg(ricette_.size())) +
               avvisi_.join(QStringLiteral("\r\n"));
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

    // The first is the recipe's category; all of them tell the kind of meal. "Vegetarian" is
    // no category but what the recipe is.
    void categorie(const QString &t)
    {
        QStringList nomi;
        for (const QString &c : t.split(u',', Qt::SkipEmptyParts))
            if (eVegetariana(c.trimmed()))
                r_.vegetariana = true;
            else if (!c.trimmed().isEmpty())
                nomi << c.trimmed();
        if (nomi.isEmpty())
            return;
        r_.categoria = nomi.first().left(NomeMassimo);
        r_.tipoPasto = nomi.join(QStringLiteral(", ")).left(TipoMassimo);
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

    // One or two ingredients side by side; false when the line is none. The right one may
    // stand a column off, as hand-edited files have it.
    bool ingredienti(QStringView riga)
    {
        std::optional<Pezzo> sinistra, destra;
        for (const qsizetype colonna : {SecondaColonna, SecondaColonna + 1, SecondaColonna - 1}) {
            if (riga.size() <= colonna || riga.at(colonna - 1) != u' ')
                continue;
            destra = pezzo(riga.mid(colonna));
            const bool misurata =
                destra && (!destra->scritta.isEmpty() || !destra->codice.isEmpty());
            if (destra && (colonna == SecondaColonna || misurata) &&
                (sinistra = pezzo(riga.left(colonna))))
                break;
            destra.reset();
        }
        if (!destra)
            sinistra = pezzo(riga);
        if (!sinistra)
            return false;
        aggiungi(sinistra_, *sinistra);
        if (destra)
            aggiungi(destra_, *destra);
        return true;
    }

    static void aggiungi(QList<Riga> &colonna, const Pezzo &p)
    {
        if (p.continua && !colonna.isEmpty())
            colonna.last().testo += u' ' + p.testo.mid(1).trimmed();
        else
            colonna.append(
                {p.quantita, p.codice, p.testo, p.quantita.isEmpty() ? p.scritta : QString()});
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
        QString osservazione =
            puntoEVirgola >= 0 ? l.testo.mid(puntoEVirgola + 1).trimmed() : QString();
        // "Onion, chopped": what follows a comma is a remark, as on the web.
        if (const qsizetype virgola = nome.indexOf(u','); virgola > 0) {
            const QString dopo = nome.mid(virgola + 1).trimmed();
            osservazione =
                osservazione.isEmpty() ? dopo : dopo + QStringLiteral(", ") + osservazione;
            nome.truncate(virgola);
        }
        QString unita = l.illeggibile;
        if (!l.codice.isEmpty())
            unita += (unita.isEmpty() ? QString() : QStringLiteral(" ")) +
                     parolaUnita(l.codice, plurale(l.quantita));
        QStringList commento;
        // A unit and its remark: "g (PASTA FROLLA)", "grande, a temperatura ambiente".
        if (!unita.isEmpty() && osservazione.startsWith(u'('))
            unita += u' ' + osservazione;
        else if (!osservazione.isEmpty())
            commento << osservazione;
        if (!unita.isEmpty())
            commento.prepend(unita);
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
    QStringList avvisi_;       // the pieces left out, one a line
    QString primoSalto_;       // the first one's whole message, for a file with no other recipe
    bool danneggiata_ = false; // inside a recipe whose opening line is damaged
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

} // namespace

QList<RicettaEstera> leggiTesto(QStringView testo, const QString &nome, QString &errore)
{
    return Lettore(nome).leggi(testo, errore);
}

} // namespace MealMaster
