#include "spesa/testo.h"

#include "printing/superficie.h"
#include "spesa/reparti.h"

#include <QHash>

namespace TestoSpesa {

namespace {

const QString Titolo = QStringLiteral("Lista della spesa");

// Page units as the recipe printout has them: 60 lines of 115 units.
constexpr double Righe = 60;
constexpr double Larghezza = 115;
constexpr double Sinistra = 6;
constexpr double Colonna = 56; // the width of a column, and the step to the second
constexpr int PrimaRiga = 5;
constexpr int UltimaRiga = 57;

const QColor Blu(0, 0, 128);
const QColor RossoScuro(192, 0, 0);

// What the cook still has to buy.
QList<Voce> daComprare(const QList<Voce> &voci)
{
    QList<Voce> r;
    for (const Voce &v : voci)
        if (!v.inCasa)
            r.append(v);
    return r;
}

// Words of testo within larghezza units, measured in the surface's current font.
QStringList aCapo(SuperficieStampa &s, const QString &testo, double larghezza)
{
    QStringList righe;
    QString riga;
    for (const QString &parola : testo.split(u' ', Qt::SkipEmptyParts)) {
        const QString prova = riga.isEmpty() ? parola : riga + u' ' + parola;
        if (!riga.isEmpty() && s.TextWidth(prova) > larghezza) {
            righe << riga;
            riga = parola;
        } else {
            riga = prova;
        }
    }
    if (!riga.isEmpty())
        righe << riga;
    return righe;
}

void titolo(SuperficieStampa &s, const QString &t)
{
    s.setScala(Righe, Larghezza);
    s.setFontSize(14);
    s.setFontBold(true);
    s.setForeColor(RossoScuro);
    s.setCurrentY(2);
    s.setCurrentX((s.ScaleWidth() - s.TextWidth(t)) / 2);
    s.Print(t);
    s.setFontSize(10);
    s.setFontBold(false);
    s.setForeColor(Qt::black);
}

} // namespace

const QStringList &giorni()
{
    static const QStringList g = {QStringLiteral("Lunedì"),    QStringLiteral("Martedì"),
                                  QStringLiteral("Mercoledì"), QStringLiteral("Giovedì"),
                                  QStringLiteral("Venerdì"),   QStringLiteral("Sabato"),
                                  QStringLiteral("Domenica")};
    return g;
}

const QStringList &pasti()
{
    static const QStringList p = {QStringLiteral("Pranzo"), QStringLiteral("Cena")};
    return p;
}

QString testo(const QList<Voce> &voci)
{
    QStringList righe{Titolo};
    QString reparto;
    for (const Voce &v : daComprare(voci)) {
        if (v.reparto != reparto) {
            reparto = v.reparto;
            righe << QString() << reparto.toUpper();
        }
        righe << QStringLiteral("- ") + v.testo();
    }
    return righe.join(u'\n') + u'\n';
}

QStringList aPezzi(const QString &testo, int massimo)
{
    if (testo.toUtf8().size() <= massimo)
        return {testo};
    // Room for the numbered title that replaces the first line in each piece.
    const QStringList righe = testo.split(u'\n').mid(1);
    const int spazio = massimo - int(Titolo.toUtf8().size()) - 12;
    QList<QStringList> pezzi{{}};
    int usato = 0;
    for (QString riga : righe) {
        // A single line longer than a code is cut: nothing is left out.
        while (riga.toUtf8().size() + 1 > spazio) {
            qsizetype n = riga.size();
            while (riga.left(n).toUtf8().size() + 1 > spazio)
                --n;
            pezzi.last() << riga.left(n);
            pezzi.append(QStringList());
            usato = 0;
            riga = riga.mid(n);
        }
        const int peso = int(riga.toUtf8().size()) + 1;
        if (usato + peso > spazio && !pezzi.last().isEmpty()) {
            pezzi.append(QStringList());
            usato = 0;
        }
        pezzi.last() << riga;
        usato += peso;
    }
    if (pezzi.last().join(QString()).isEmpty())
        pezzi.removeLast();
    QStringList r;
    for (qsizetype i = 0; i < pezzi.size(); ++i)
        r << QStringLiteral("%1 (%2/%3)\n").arg(Titolo).arg(i + 1).arg(pezzi.size()) +
                 pezzi.at(i).join(u'\n');
    return r;
}

void stampa(SuperficieStampa &s, const ListaSpesa::Stato &stato)
{
    titolo(s, Titolo);
    int riga = PrimaRiga - 1;
    // The recipes it is for, with their portions, across the page; a recipe chosen twice once,
    // with both portions.
    QStringList nomi;
    QHash<QString, QStringList> porzioni;
    for (const Scelta &c : stato.scelte) {
        if (!porzioni.contains(c.nome))
            nomi << c.nome;
        porzioni[c.nome] << QString::number(c.porzioni);
    }
    QStringList perChi;
    for (const QString &n : nomi)
        perChi << QStringLiteral("%1 (%2)").arg(n, porzioni.value(n).join(QStringLiteral(" + ")));
    s.setFontSize(9);
    for (const QString &r : aCapo(s, QStringLiteral("Per: ") + perChi.join(QStringLiteral(", ")),
                                  Larghezza - 2 * Sinistra)) {
        s.setCurrentX(Sinistra);
        s.setCurrentY(riga++);
        s.Print(r);
    }
    s.setFontSize(10);
    const int primaDelleVoci = riga + 1;
    riga = primaDelleVoci;
    int colonna = 0;
    const auto avanti = [&] {
        if (++riga <= UltimaRiga)
            return;
        if (++colonna > 1) {
            s.NewPage();
            colonna = 0;
            riga = PrimaRiga;
        } else {
            riga = primaDelleVoci;
        }
    };
    const auto scrivi = [&](const QString &t) {
        s.setCurrentX(Sinistra + colonna * Colonna);
        s.setCurrentY(riga);
        s.Print(t);
        avanti();
    };
    const auto intestazione = [&](const QString &t) {
        s.setFontBold(true);
        s.setForeColor(Blu);
        scrivi(t);
        s.setFontBold(false);
        s.setForeColor(Qt::black);
    };
    QString reparto;
    for (const Voce &v : daComprare(stato.voci)) {
        if (v.reparto != reparto) {
            reparto = v.reparto;
            // A heading never stands alone at the foot of a column.
            if (riga >= UltimaRiga - 1) {
                riga = UltimaRiga;
                avanti();
            } else if (riga > primaDelleVoci) {
                avanti();
            }
            intestazione(reparto);
        } else if (riga == primaDelleVoci || (riga == PrimaRiga && s.Page() > 1)) {
            // A department that goes on in the next column says so at its top.
            intestazione(reparto + QStringLiteral(" (segue)"));
        }
        const QStringList parti = aCapo(s, v.testo(), Colonna - 6);
        for (qsizetype i = 0; i < parti.size(); ++i)
            scrivi((i == 0 ? QStringLiteral("\u2610 ") : QStringLiteral("    ")) + parti.at(i));
    }
    s.EndDoc();
}

void stampaSettimana(SuperficieStampa &s, const QList<Pasto> &settimana)
{
    titolo(s, QStringLiteral("Menù della settimana"));
    constexpr double Giorno = 8, Pranzo = 28, Cena = 71, Spazio = 41;
    s.setFontBold(true);
    s.setForeColor(Blu);
    for (const auto &[x, t] : {std::pair{Pranzo, pasti().at(0)}, std::pair{Cena, pasti().at(1)}}) {
        s.setCurrentX(x);
        s.setCurrentY(PrimaRiga);
        s.Print(t);
    }
    int riga = PrimaRiga + 2;
    for (int g = 0; g < 7; ++g) {
        s.setFontBold(true);
        s.setForeColor(Blu);
        s.setCurrentX(Giorno);
        s.setCurrentY(riga);
        s.Print(giorni().at(g));
        s.setFontBold(false);
        s.setForeColor(Qt::black);
        int righe = 1;
        for (const Pasto &p : settimana) {
            if (p.giorno != g)
                continue;
            const QString t =
                p.porzioni > 0 ? QStringLiteral("%1 (%2)").arg(p.nome).arg(p.porzioni) : p.nome;
            const QStringList parti = aCapo(s, t, Spazio);
            for (qsizetype i = 0; i < parti.size(); ++i) {
                s.setCurrentX(p.pasto == 0 ? Pranzo : Cena);
                s.setCurrentY(riga + i);
                s.Print(parti.at(i));
            }
            righe = qMax(righe, int(parti.size()));
        }
        riga += righe + 4;
    }
    s.EndDoc();
}

} // namespace TestoSpesa
