#pragma once

#include "printing/superficie.h"

#include <QList>
#include <QStringList>

// A print surface that keeps what was printed where: document, page, position, text and font.
// A character is half a unit wide at 10 points, in proportion to the size; a line is one unit.
class SuperficieRegistrata : public SuperficieStampa
{
public:
    struct Testo
    {
        int documento; // from 0
        int pagina;    // from 1
        double x;
        double y;
        QString testo;
        Carattere carattere;
    };

    SuperficieRegistrata() { install(this); }
    ~SuperficieRegistrata() override { uninstall(this); }

    QList<Testo> testi;
    int documenti = 0; // documents ended
    int lavori = 0;    // print commands ended

    // The texts printed on line y of a page, joined from left to right.
    QString riga(int documento, int pagina, double y) const
    {
        QList<Testo> su;
        for (const Testo &t : testi)
            if (t.documento == documento && t.pagina == pagina && t.y == y)
                su.append(t);
        std::sort(su.begin(), su.end(), [](const Testo &a, const Testo &b) { return a.x < b.x; });
        QString r;
        for (const Testo &t : su)
            r += t.testo;
        return r;
    }
    // The first text of every document: the titles.
    QStringList titoli() const
    {
        QStringList t;
        for (int d = 0, i = 0; i < testi.size(); ++i)
            if (testi.at(i).documento == d) {
                t.append(testi.at(i).testo);
                ++d;
            }
        return t;
    }
    void FineLavoro() override { ++lavori; }

protected:
    void disegna(const QString &testo, double x, double y, const Carattere &c) override
    {
        testi.append({documenti, Page(), x, y, testo, c});
    }
    double larghezza(const QString &testo, const Carattere &c) const override
    {
        return testo.size() * c.punti / 20.0;
    }
    double altezza(const Carattere &) const override { return 1; }
    void voltaPagina() override {}
    void chiudiDocumento() override { ++documenti; }
};
