#pragma once

#include "toolkit/avanzamento.h"

#include <QDialog>
#include <memory>

namespace Ui {
class FinestraAvanzamento;
}

// The progress window the user sees: a line of text, a bar (moving to and fro while the total
// is unknown) and "Annulla". Shown after ritardo ms, so a work that ends sooner shows nothing.
class FinestraAvanzamento : public Avanzamento
{
    Q_OBJECT

public:
    FinestraAvanzamento(const QString &testo, const QString &titolo, int ritardo, QWidget *sopra);
    ~FinestraAvanzamento() override;

    void segna(qint64 fatti, qint64 totale) override;
    // The window itself, for a look at it.
    QDialog &finestra() { return finestra_; }

private:
    void cmdAnnulla_Click();

    QDialog finestra_;
    std::unique_ptr<Ui::FinestraAvanzamento> ui;
};
