#include "spesa/telefono.h"
#include "ui_telefono.h"

#include "spesa/codiceqr.h"
#include "spesa/testo.h"

Telefono::Telefono(QWidget *parent)
    : QWidget(parent, Qt::Window), ui(std::make_unique<Ui::Telefono>()), Codice(new DisegnoQR(this))
{
    ui->setupUi(this);
    Codice->setObjectName("Codice");
    ui->riquadro->addWidget(Codice);
    connect(ui->cmdPrecedente, &QPushButton::clicked, this, &Telefono::cmdPrecedente_Click);
    connect(ui->cmdSuccessivo, &QPushButton::clicked, this, &Telefono::cmdSuccessivo_Click);
    connect(ui->cmdChiudi, &QPushButton::clicked, this, &Telefono::cmdChiudi_Click);
}

Telefono::~Telefono() = default;

void Telefono::setTesto(const QString &testo)
{
    pezzi_ = TestoSpesa::aPezzi(testo, Massimo);
    mostraPezzo(qMin(pezzo_, int(pezzi_.size()) - 1));
}

void Telefono::mostraPezzo(int n)
{
    pezzo_ = qMax(0, n);
    Codice->setCodice(CodiceQR::daTesto(pezzi_.value(pezzo_)));
    const bool piu = pezzi_.size() > 1;
    ui->lblNumero->setText(
        piu ? QStringLiteral("Codice %1 di %2").arg(pezzo_ + 1).arg(pezzi_.size()) : QString());
    ui->cmdPrecedente->setVisible(piu);
    ui->cmdSuccessivo->setVisible(piu);
    ui->cmdPrecedente->setEnabled(pezzo_ > 0);
    ui->cmdSuccessivo->setEnabled(pezzo_ + 1 < pezzi_.size());
}

void Telefono::cmdPrecedente_Click()
{
    mostraPezzo(pezzo_ - 1);
}

void Telefono::cmdSuccessivo_Click()
{
    mostraPezzo(pezzo_ + 1);
}

void Telefono::cmdChiudi_Click()
{
    close();
}
