#include "toolkit/navigationbar.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QStyle>
#include <QToolButton>

NavigationBar::NavigationBar(QWidget *parent) : QWidget(parent), caption_(new QLabel(this))
{
    auto *l = new QHBoxLayout(this);
    l->setContentsMargins(0, 0, 0, 0);
    l->setSpacing(2);
    caption_->setObjectName("caption");
    caption_->setAlignment(Qt::AlignCenter);
    caption_->setFrameShape(QFrame::StyledPanel);
    caption_->setMinimumWidth(120);
    caption_->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);

    QToolButton *b;
    b = pulsante("primo", "Primo record", QStyle::SP_MediaSkipBackward);
    connect(b, &QToolButton::clicked, this, &NavigationBar::primo);
    l->addWidget(b);
    b = pulsante("precedente", "Record precedente", QStyle::SP_MediaSeekBackward);
    connect(b, &QToolButton::clicked, this, &NavigationBar::precedente);
    l->addWidget(b);
    l->addWidget(caption_);
    b = pulsante("successivo", "Record successivo", QStyle::SP_MediaSeekForward);
    connect(b, &QToolButton::clicked, this, &NavigationBar::successivo);
    l->addWidget(b);
    b = pulsante("ultimo", "Ultimo record", QStyle::SP_MediaSkipForward);
    connect(b, &QToolButton::clicked, this, &NavigationBar::ultimo);
    l->addWidget(b);
}

QToolButton *NavigationBar::pulsante(const QString &nome, const QString &suggerimento, int icona)
{
    auto *b = new QToolButton(this);
    b->setObjectName(nome);
    b->setToolTip(suggerimento);
    b->setIcon(style()->standardIcon(static_cast<QStyle::StandardPixmap>(icona)));
    b->setAutoRaise(true);
    // Taking the focus like any button makes the entry box being left finish its edit first.
    b->setFocusPolicy(Qt::StrongFocus);
    b->installEventFilter(this);
    return b;
}

bool NavigationBar::eventFilter(QObject *o, QEvent *e)
{
    if (e->type() == QEvent::MouseButtonPress)
        emit MouseDown();
    return QWidget::eventFilter(o, e);
}

QString NavigationBar::caption() const
{
    return caption_->text();
}

void NavigationBar::setCaption(const QString &testo)
{
    caption_->setText(testo);
}
