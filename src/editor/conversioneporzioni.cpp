// Converting the recipe to another number of portions, the lines' quantities with it.
#include "editor/conversioneporzioni.h"
#include "editor/righeingredienti.h"
#include "ui_ricette.h"

#include "storage/datasource.h"

ConversionePorzioni::ConversionePorzioni(QWidget *finestra, Ui::Ricette &ui,
                                         RigheIngredienti &righe, DataSource *ricetta,
                                         QLineEdit *porzioni)
    : QObject(finestra), finestra_(finestra), ui(ui), righe_(righe), ricetta_(ricetta),
      porzioni_(porzioni)
{
}

void ConversionePorzioni::trasforma()
{
    const QString nuove = ui.Text2->text();
    const QString attuali = porzioni_->text();
    const double n = nuove.toDouble();
    const double p = attuali.toDouble();
    if (!nuove.isEmpty() && !attuali.isEmpty() && nuove != attuali && n != 0 && p != 0) {
        porzioni_->setText(nuove);
        const RigheIngredienti::Quantita convertite = righe_.converti(n / p);
        if (ui.Check1->isChecked()) {
            // The lines and the portions they are for, in one transaction.
            if (righe_.memorizzaQuantita(convertite, [this] { return ricetta_->UpdateRecord(); }))
                ricorda();
            finestra_->unsetCursor();
        }
    }
    ui.Text2->clear();
}

void ConversionePorzioni::ricorda()
{
    memorizzate_ = porzioni_->text();
}

void ConversionePorzioni::rimetti()
{
    // The same text set again would draw the box again, at every press of a move's button.
    if (!ui.Check1->isChecked() && porzioni_->text() != memorizzate_)
        porzioni_->setText(memorizzate_);
}
