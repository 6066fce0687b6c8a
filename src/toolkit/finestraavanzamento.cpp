#include "toolkit/finestraavanzamento.h"
#include "ui_finestraavanzamento.h"

#include "toolkit/qtdialogs.h"

#include <QTimer>
#include <limits>

FinestraAvanzamento::FinestraAvanzamento(const QString &testo, const QString &titolo, int ritardo,
                                         QWidget *sopra)
    : finestra_(sopra), ui(std::make_unique<Ui::FinestraAvanzamento>())
{
    ui->setupUi(&finestra_);
    finestra_.setWindowTitle(titolo);
    finestra_.setWindowModality(Qt::WindowModal);
    ui->lblTesto->setText(testo);
    // Its title whole in the frame, and a bar long enough to be seen moving: twice its text.
    finestra_.setMinimumWidth(qMax(QtDialogs::larghezzaPerIlTitolo(finestra_),
                                   ui->lblTesto->fontMetrics().horizontalAdvance(testo) * 2));
    connect(ui->cmdAnnulla, &QPushButton::clicked, this, &FinestraAvanzamento::cmdAnnulla_Click);
    // Escape and the frame's close button reject the window, as "Annulla" does.
    connect(&finestra_, &QDialog::rejected, this, &Avanzamento::annullato);
    if (ritardo <= 0)
        finestra_.open();
    else
        QTimer::singleShot(ritardo, &finestra_, [this] { finestra_.open(); });
}

FinestraAvanzamento::~FinestraAvanzamento()
{
    finestra_.disconnect(this);
}

void FinestraAvanzamento::segna(qint64 fatti, qint64 totale)
{
    // Until the total is known the bar moves to and fro.
    if (totale <= 0)
        return;
    const int massimo = int(qMin<qint64>(totale, std::numeric_limits<int>::max()));
    ui->barAvanzamento->setMaximum(massimo);
    ui->barAvanzamento->setValue(int(qBound(qint64(0), fatti, qint64(massimo))));
}

void FinestraAvanzamento::cmdAnnulla_Click()
{
    finestra_.reject();
}
