#include "shell/frmsplash.h"
#include "ui_frmsplash.h"

#include "toolkit/applicazione.h"

#include <QIcon>
#include <QWindow>

frmSplash::frmSplash(QWidget *parent)
    // A title bar with the close button alone: no minimising or maximising a box of fixed size.
    : QWidget(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint),
      ui(std::make_unique<Ui::frmSplash>())
{
    ui->setupUi(this);
    setWindowTitle(QString());
    const qreal scala = devicePixelRatioF();
    ui->picLogo->setPixmap(QIcon(":/icons/logo.svg").pixmap(QSize(160, 160), scala));
    ui->Picture1->setPixmap(QIcon(":/icons/ingredienti.svg").pixmap(QSize(40, 40), scala));
    ui->Label2->setText(Applicazione::IndirizzoWeb);
    ui->Label1->setText(Applicazione::IndirizzoPosta);
    connect(ui->Command1, &QPushButton::clicked, this, &frmSplash::cmdChiudi_Click);
    setFixedSize(sizeHint());
}

frmSplash::~frmSplash() = default;

void frmSplash::showEvent(QShowEvent *e)
{
    QWidget::showEvent(e);
    // The box has no caption, but for an empty title Qt shows the program's name: a blank one
    // shows nothing.
    if (windowTitle().isEmpty() && windowHandle())
        windowHandle()->setTitle(QStringLiteral(" "));
}

void frmSplash::cmdChiudi_Click()
{
    close();
}
