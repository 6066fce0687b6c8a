#include "printing/impaginazione.h"

#include "printing/superficie.h"
#include "storage/engineerror.h"
#include "storage/schema.h"
#include "toolkit/dialogs.h"

namespace {

const QColor RossoScuro(192, 0, 0);
const QColor Verde(0, 128, 0);
const QColor Blu(0, 0, 128);
const QColor Nero(0, 0, 0);

constexpr int MargineSinistro = 12;
constexpr int SecondaColonna = 40;
constexpr int PrimaRigaDelTesto = 11;
constexpr int RigaDelControllo = 58;
constexpr int RigaDelPie = 60;
constexpr int PrimaRigaContinuata = 5;

QString campo(const RicettaDaStampare &r, int ordinale)
{
    const QVariant v = r.campi.value(ordinale);
    return v.isNull() ? QString() : v.toString();
}

} // namespace

ImpaginazioneRicetta::ImpaginazioneRicetta(SuperficieStampa &superficie, const ModoStampa &modo)
    : s_(superficie), modo_(modo)
{
}

bool ImpaginazioneRicetta::haQuantita(const QString &quantita)
{
    const QString t = quantita.trimmed();
    if (t.isEmpty())
        return false;
    bool numero = false;
    const double v = QString(t).replace(QLatin1Char(','), QLatin1Char('.')).toDouble(&numero);
    return !numero || v != 0;
}

QString ImpaginazioneRicetta::quantitaStampata(const QString &q)
{
    struct Frazione
    {
        const char *inizio;
        const char *parola;
    };
    // The longer beginnings first: 0,25 is a quarter before it is a fifth.
    static const Frazione quattro[] = {
        {"0.25", "un quarto"}, {"0.16", "un sesto"}, {"0.12", "un ottavo"}};
    static const Frazione tre[] = {
        {"0.5", "mezzo/a"}, {"0.3", "un terzo"}, {"0.2", "un quinto"}, {"0.1", "un decimo"}};
    if (q.size() <= 2)
        return q;
    const QString punto = QString(q).replace(QLatin1Char(','), QLatin1Char('.'));
    if (q.size() > 3)
        for (const Frazione &f : quattro)
            if (punto.startsWith(QLatin1String(f.inizio)))
                return QString::fromUtf8(f.parola);
    for (const Frazione &f : tre)
        if (punto.startsWith(QLatin1String(f.inizio)))
            return QString::fromUtf8(f.parola);
    return q;
}

void ImpaginazioneRicetta::StampaRicetta(const RicettaDaStampare &r)
{
    nome_ = campo(r, Schema::NomeRicetta);
    stampaIntestazione(r);
    stampaDescrizione(r);
    stampaIngredienti(r);
    stampaParagrafi(r);
    PiePagina();
    s_.EndDoc();
}

// The title, the program's name, the category, who made it and whether it is vegetarian.
void ImpaginazioneRicetta::stampaIntestazione(const RicettaDaStampare &r)
{
    using namespace Schema;
    s_.setScala(60, 115);
    s_.setCurrentY(3);

    const QString titolo = QStringLiteral("- ") + nome_ + QStringLiteral(" -");
    s_.setFontSize(14);
    s_.setFontBold(true);
    s_.setFontItalic(true);
    s_.setCurrentX((s_.ScaleWidth() - s_.TextWidth(titolo)) / 2);
    s_.setForeColor(RossoScuro);
    s_.Print(titolo);

    s_.setFontBold(false);
    s_.setFontItalic(false);
    s_.setFontSize(10);
    s_.setCurrentX(MargineSinistro);
    s_.setCurrentY(5);
    s_.setForeColor(Verde);
    s_.Print(QStringLiteral("Pentolone"));

    s_.setForeColor(Nero);
    s_.setCurrentX(MargineSinistro);
    s_.setCurrentY(6);
    s_.setFontBold(true);
    s_.setForeColor(Blu);
    s_.Print(QStringLiteral("Categoria: ") + r.categoria, true);

    s_.setForeColor(Nero);
    s_.setFontBold(false);
    s_.setCurrentX(MargineSinistro);
    s_.setCurrentY(9);
    s_.Print(QStringLiteral("Preparato da ") + campo(r, Preparata_da).trimmed(), true);
    const QVariant vegetariana = r.campi.value(Vegetariana);
    if (!vegetariana.isNull() && vegetariana.toLongLong() != 0)
        s_.Print(QStringLiteral("   - (Piatto Vegetariano)"), true);

    s_.setCurrentX(MargineSinistro);
    RigaCorrente = PrimaRigaDelTesto;
}

// The description with its meal, the time, portions and calories, the nutrition line.
void ImpaginazioneRicetta::stampaDescrizione(const RicettaDaStampare &r)
{
    using namespace Schema;
    const QString descrizione = campo(r, DescrizioneRicetta).trimmed();
    if (!descrizione.isEmpty()) {
        QString testo = descrizione;
        const QString tipo = campo(r, TipoPasto);
        if (!tipo.isEmpty())
            testo += QStringLiteral(" (") + tipo.trimmed() + QStringLiteral(")");
        double x = MargineSinistro;
        StampaTesto(testo, RigaCorrente, 80, x);
    }

    s_.setCurrentX(MargineSinistro);
    s_.setCurrentY(RigaCorrente);
    RigaCorrente += 1;
    const QString tempo = campo(r, TempoPreparazione).trimmed();
    const QString porzioni = campo(r, NumeroPorzioni);
    const QString calorie = campo(r, CaloriePerPorzione);
    if (!tempo.isEmpty())
        s_.Print(QStringLiteral("Tempo di preparazione: ") + tempo + QStringLiteral("   "), true);
    if (!porzioni.isEmpty())
        s_.Print(modo_.porzioni + porzioni + QStringLiteral("  -  "), true);
    if (!calorie.isEmpty())
        s_.Print(QStringLiteral("Calorie per porzione: ") + calorie);

    s_.setCurrentX(MargineSinistro);
    s_.setCurrentY(RigaCorrente);
    RigaCorrente += 3;
    const QString nutrizione = campo(r, InformazioniNutrizionali).trimmed();
    if (!nutrizione.isEmpty())
        s_.Print(nutrizione);
}

// The table's heading, then a line for each ingredient, its comment beside the quantity.
void ImpaginazioneRicetta::stampaIngredienti(const RicettaDaStampare &r)
{
    s_.setFontBold(true);
    s_.setCurrentX(MargineSinistro);
    s_.setCurrentY(RigaCorrente);
    s_.setForeColor(Blu);
    s_.Print(QStringLiteral("Ingredienti"));
    s_.setCurrentX(SecondaColonna);
    s_.setCurrentY(RigaCorrente);
    s_.Print(QStringLiteral("Quantità"));
    s_.setForeColor(Nero);
    s_.setFontBold(false);

    // The editor's grid keeps one blank row for a recipe without lines.
    if (r.righe.isEmpty() || (r.righe.size() == 1 && r.righe.first().nome.trimmed().isEmpty()))
        dialogs().messageBox(QStringLiteral("Ingredienti non presenti"), Dialogs::SoloOK,
                             QStringLiteral("Attenzione"), Dialogs::Critica);

    RigaCorrente += 1;
    for (const RigaDaStampare &riga : r.righe) {
        ControllaPagina(RigaCorrente);
        s_.setCurrentX(MargineSinistro);
        s_.setCurrentY(RigaCorrente);
        s_.Print(riga.nome.trimmed());
        s_.setCurrentX(SecondaColonna);
        s_.setCurrentY(RigaCorrente);
        double x = SecondaColonna;
        int larghezza = 50;
        if (haQuantita(riga.quantita)) {
            const QString q = quantitaStampata(riga.quantita);
            x = s_.CurrentX() + s_.TextWidth(q) + 1;
            larghezza = modo_.larghezzaCommento;
            s_.Print(q + QLatin1Char(' '), true);
        }
        StampaTesto(riga.commento, RigaCorrente, larghezza, x);
    }
}

// Instructions, notes and utensils, each a paragraph of its own.
void ImpaginazioneRicetta::stampaParagrafi(const RicettaDaStampare &r)
{
    using namespace Schema;
    RigaCorrente += 2;
    for (int colonna : {Istruzioni, Note, Utensili}) {
        const QString testo = campo(r, colonna);
        if (testo.isEmpty())
            continue;
        double x = MargineSinistro;
        StampaTesto(testo.trimmed(), RigaCorrente, 100, x);
    }
}

void ImpaginazioneRicetta::stampaRiga(const QString &testo, int &riga, double &X, bool &prima)
{
    ControllaPagina(riga);
    s_.setCurrentX(X);
    s_.setCurrentY(riga);
    s_.Print(testo);
    riga += 1;
    if (prima && X > SecondaColonna)
        X = SecondaColonna;
    prima = false;
}

void ImpaginazioneRicetta::StampaTesto(const QString &testo, int &riga, int W, double &X)
{
    if (testo.isEmpty()) {
        riga += 1;
        ControllaPagina(riga);
        return;
    }
    const int n = int(testo.size());
    int inizio = 0;
    int contati = 0;
    int ultimoSpazio = -1;
    bool prima = true;
    int i = 0;
    while (i < n) {
        const QChar c = testo.at(i);
        ++contati;
        if (c == QLatin1Char('\n')) {
            // Counted, but neither a break nor printed as one.
            ++i;
            continue;
        }
        if (c == QLatin1Char(' '))
            ultimoSpazio = i;
        if (c == QLatin1Char('\r')) {
            stampaRiga(testo.mid(inizio, i - inizio), riga, X, prima);
            inizio = i + 2; // the line feed after it is skipped
            i = inizio;
            contati = 0;
            ultimoSpazio = -1;
            continue;
        }
        if (i == n - 1 || contati >= W) {
            int fine = i;
            // A word that fills the whole width has no space to break at: it breaks here.
            if (c != QLatin1Char(' ') && i != n - 1 && ultimoSpazio >= inizio)
                fine = ultimoSpazio;
            stampaRiga(testo.mid(inizio, fine - inizio + 1), riga, X, prima);
            inizio = fine + 1;
            i = inizio;
            contati = 0;
            ultimoSpazio = -1;
            continue;
        }
        ++i;
    }
    // A text that ends with a bare line feed still prints its last line.
    if (inizio < n)
        stampaRiga(testo.mid(inizio), riga, X, prima);
    ControllaPagina(riga);
}

void ImpaginazioneRicetta::ControllaPagina(int &riga)
{
    if (riga < RigaDelControllo)
        return;
    PiePagina();
    s_.NewPage();
    riga = PrimaRigaContinuata;
}

void ImpaginazioneRicetta::PiePagina()
{
    const QString pie = QStringLiteral("- ") + nome_ + QStringLiteral(", pag. ") +
                        QString::number(s_.Page()) + QStringLiteral(" -");
    s_.setCurrentY(RigaDelPie);
    s_.setCurrentX((s_.ScaleWidth() - s_.TextWidth(pie)) / 2);
    s_.Print(pie);
}

namespace {

// Cancel and any error while printing end it without a word; whatever was printed is handed over.
void stampaTutto(const std::function<void(int copie)> &stampa, int copie)
{
    try {
        stampa(copie);
    } catch (const EngineError &) {
    } catch (const ErroreStampa &) {
    }
    try {
        SuperficieStampa::instance().FineLavoro();
    } catch (const ErroreStampa &) {
    }
}

} // namespace

void comandoDiStampa(const std::function<void(int copie)> &stampa, const QString &documento,
                     bool anteprima)
{
    if (anteprima && !dialogs().printPreview(documento, [&] { stampaTutto(stampa, 1); }))
        return;
    const int copie = dialogs().printDialog(1, documento);
    if (copie > 0)
        stampaTutto(stampa, copie);
}
