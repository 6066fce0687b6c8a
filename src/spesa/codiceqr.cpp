#include "spesa/codiceqr.h"

#include <QPainter>
#include <cmath>
#include <qrencode.h>

CodiceQR CodiceQR::daTesto(const QString &testo)
{
    const QByteArray dati = testo.toUtf8();
    CodiceQR c;
    QRinput *ingresso = QRinput_new2(0, QR_ECLEVEL_M);
    if (!ingresso)
        return c;
    // Told as UTF-8 (ECI 26): a reader that guesses the bytes' encoding guesses "è" wrong.
    QRcode *qr =
        QRinput_appendECIheader(ingresso, 26) == 0 &&
                QRinput_append(ingresso, QR_MODE_8, int(dati.size()),
                               reinterpret_cast<const unsigned char *>(dati.constData())) == 0
            ? QRcode_encodeInput(ingresso)
            : nullptr;
    QRinput_free(ingresso);
    if (!qr)
        return c;
    c.lato_ = qr->width;
    c.moduli_.resize(size_t(qr->width) * size_t(qr->width));
    // libqrencode's lowest bit of each byte tells a dark module.
    for (size_t i = 0; i < c.moduli_.size(); ++i)
        c.moduli_[i] = qr->data[i] & 1;
    QRcode_free(qr);
    return c;
}

QImage CodiceQR::immagine(int modulo) const
{
    const int lato = (lato_ + 2 * Margine) * modulo;
    QImage img(lato, lato, QImage::Format_Grayscale8);
    img.fill(Qt::white);
    QPainter p(&img);
    for (int y = 0; y < lato_; ++y)
        for (int x = 0; x < lato_; ++x)
            if (scuro(x, y))
                p.fillRect((x + Margine) * modulo, (y + Margine) * modulo, modulo, modulo,
                           Qt::black);
    return img;
}

DisegnoQR::DisegnoQR(QWidget *parent) : QWidget(parent)
{
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void DisegnoQR::setCodice(const CodiceQR &c)
{
    codice_ = c;
    updateGeometry();
    update();
}

QSize DisegnoQR::minimumSizeHint() const
{
    // Three pixels a module at least: less is hard for a camera across a room.
    const int lato = ((codice_.valido() ? codice_.lato() : 21) + 2 * CodiceQR::Margine) * 3;
    return {lato, lato};
}

QSize DisegnoQR::sizeHint() const
{
    return minimumSizeHint() * 4 / 3;
}

void DisegnoQR::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), palette().window());
    if (!codice_.valido())
        return;
    // Whole device pixels a module: a fraction would blur the edges the camera looks for.
    const qreal scala = devicePixelRatioF();
    const int moduli = codice_.lato() + 2 * CodiceQR::Margine;
    const int modulo = qMax(1, int(std::floor(qMin(width(), height()) * scala / moduli)));
    QImage img = codice_.immagine(modulo);
    img.setDevicePixelRatio(scala);
    // Placed on whole device pixels too.
    p.drawImage(QPointF(std::floor((width() * scala - img.width()) / 2) / scala,
                        std::floor((height() * scala - img.height()) / 2) / scala),
                img);
}
