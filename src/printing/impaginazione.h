#pragma once

#include <QList>
#include <QString>
#include <QVariantList>
#include <functional>

class SuperficieStampa;

// One ingredient line as a window hands it to the layout.
struct RigaDaStampare
{
    QString nome;
    QString quantita;
    QString commento;
};

// One recipe as a window hands it to the layout.
struct RicettaDaStampare
{
    QVariantList campi; // the columns of Ricette, by position
    QString categoria;
    QList<RigaDaStampare> righe;
};

// The two details in which the windows' printouts differ.
struct ModoStampa
{
    QString porzioni;      // the text before the number of portions
    int larghezzaCommento; // characters of a comment beside a quantity
};
inline const ModoStampa StampaDaEditor{QStringLiteral("  -  Porzioni: "), 60};
inline const ModoStampa StampaDaElenco{QStringLiteral("-  Porzioni: "), 50};

// The printed page of a recipe, in lines of a 60 by 115 unit page: the header block, the
// description, time, portions and calories, the ingredient table, the paragraphs, a footer on
// every page. One recipe is one document.
class ImpaginazioneRicetta
{
public:
    ImpaginazioneRicetta(SuperficieStampa &superficie, const ModoStampa &modo);

    void StampaRicetta(const RicettaDaStampare &ricetta);
    // Prints testo word-wrapped within W characters from position X; further lines of a text
    // that started right of the second column start at the second column.
    void StampaTesto(const QString &testo, int &riga, int W, double &X);
    void ControllaPagina(int &riga);
    void PiePagina();

    int RigaCorrente = 11;

    // The printed form of a quantity: small fractions as words.
    static QString quantitaStampata(const QString &quantita);
    // Zero, missing or blank is no quantity.
    static bool haQuantita(const QString &quantita);

private:
    void stampaIntestazione(const RicettaDaStampare &r);
    void stampaDescrizione(const RicettaDaStampare &r);
    void stampaIngredienti(const RicettaDaStampare &r);
    void stampaParagrafi(const RicettaDaStampare &r);
    void stampaRiga(const QString &testo, int &riga, double &X, bool &prima);

    SuperficieStampa &s_;
    ModoStampa modo_;
    QString nome_;
};

// A print command: with anteprima first the preview of one copy, from which the user prints or
// closes; the print dialog (documento names what is printed), then stampa(copie).
// Cancel and any error while printing end the command without a word; whatever was printed
// is handed over.
void comandoDiStampa(const std::function<void(int copie)> &stampa,
                     const QString &documento = QString(), bool anteprima = false);
