#include "frmsplash.h"
#include "ui_frmsplash.h"

#include "applicazione.h"

#include <QIcon>

frmSplash::frmSplash(QWidget *parent)
    : QWidget(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowCloseButtonHint),
      ui(std::make_unique<Ui::frmSplash>())
{
    ui->setupUi(this);
    setWindowTitle(QString());
    const qreal scala = devicePixelRatioF();
    ui->picLogo->setPixmap(QIcon(":/icons/logo.svg").pixmap(QSize(160, 160), scala));
    ui->Picture1->setPixmap(QIcon(":/icons/ingredienti.svg").pixmap(QSize(40, 40), scala));
    ui->Label2->setText(Applicazione::IndirizzoWeb);
    ui->Label1->setText(Applicazione::IndirizzoPosta);
    connect(ui->Command1, &QPushButton::clicked, this, &frmSplash::Command1_Click);
    setFixedSize(sizeHint());
}

frmSplash::~frmSplash() = default;

void frmSplash::Command1_Click()
{
    close();
}
