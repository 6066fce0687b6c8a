#include "toolkit/stile.h"

#include <QApplication>
#include <QLineEdit>
#include <QPainter>
#include <QPixmapCache>
#include <QStyleOptionFrame>

Stile::Stile(const QString &nome)
    : QProxyStyle(nome), fusion_(baseStyle()->name().compare("fusion", Qt::CaseInsensitive) == 0)
{
}

void Stile::installa()
{
    QApplication::setStyle(new Stile(QApplication::style()->name()));
}

void Stile::drawPrimitive(PrimitiveElement elemento, const QStyleOption *opzione, QPainter *pittore,
                          const QWidget *widget) const
{
    const auto *cornice = qstyleoption_cast<const QStyleOptionFrame *>(opzione);
    const qreal scala = pittore->device()->devicePixelRatio();
    // A copy lands on the same pixels only when the painter moves it by whole pixels.
    if (elemento != PE_PanelLineEdit || !fusion_ || !cornice ||
        !qobject_cast<const QLineEdit *>(widget) || opzione->rect.isEmpty() ||
        scala != qRound(scala) || pittore->transform().type() > QTransform::TxTranslate) {
        QProxyStyle::drawPrimitive(elemento, opzione, pittore, widget);
        return;
    }
    const QString chiave = QStringLiteral("pentolone-casella-%1x%2@%3-%4-%5-%6-%7-%8")
                               .arg(opzione->rect.width())
                               .arg(opzione->rect.height())
                               .arg(scala)
                               .arg(uint(opzione->state))
                               .arg(opzione->palette.cacheKey())
                               .arg(int(opzione->palette.currentColorGroup()))
                               .arg(cornice->lineWidth)
                               .arg(uint(cornice->features));
    QPixmap copia;
    if (!QPixmapCache::find(chiave, &copia)) {
        copia = QPixmap(opzione->rect.size() * scala);
        copia.setDevicePixelRatio(scala);
        copia.fill(Qt::transparent);
        QStyleOptionFrame altrove = *cornice;
        altrove.rect.moveTo(0, 0);
        QPainter p(&copia);
        QProxyStyle::drawPrimitive(elemento, &altrove, &p, widget);
        p.end();
        QPixmapCache::insert(chiave, copia);
    }
    pittore->drawPixmap(opzione->rect.topLeft(), copia);
}
