#include "printing/superficie.h"

#include <QFontMetricsF>
#include <QPaintEngine>
#include <QPainter>
#include <QPrinter>

namespace {
SuperficieStampa *installata = nullptr;
}

SuperficieStampa &SuperficieStampa::instance()
{
    if (!installata)
        qFatal("SuperficieStampa::instance(): no print surface installed");
    return *installata;
}

void SuperficieStampa::install(SuperficieStampa *s)
{
    installata = s;
}

void SuperficieStampa::uninstall(SuperficieStampa *s)
{
    if (installata == s)
        installata = nullptr;
}

void SuperficieStampa::setScala(double altezza, double larghezza)
{
    altezza_ = altezza;
    larghezza_ = larghezza;
}

void SuperficieStampa::Print(const QString &testo, bool restaSullaRiga)
{
    disegna(testo, x_, y_, carattere_);
    if (restaSullaRiga) {
        x_ += larghezza(testo, carattere_);
    } else {
        x_ = 1;
        y_ += altezza(carattere_);
    }
}

void SuperficieStampa::NewPage()
{
    voltaPagina();
    ++pagina_;
    x_ = 1;
    y_ = 1;
}

void SuperficieStampa::EndDoc()
{
    chiudiDocumento();
    pagina_ = 1;
    x_ = 1;
    y_ = 1;
}

SuperficieQt::SuperficieQt(QPrinter &stampante) : stampante_(stampante) {}

SuperficieQt::~SuperficieQt()
{
    FineLavoro();
}

void SuperficieQt::FineLavoro()
{
    if (pittore_) {
        pittore_->end();
        delete pittore_;
        pittore_ = nullptr;
    }
    docAperto_ = altroDoc_ = paginaNuova_ = false;
}

QFont SuperficieQt::font(const Carattere &c) const
{
    // The printer's default typeface: only size, weight, italic and colour change.
    QFont f;
    f.setPointSizeF(c.punti);
    f.setBold(c.grassetto);
    f.setItalic(c.corsivo);
    return f;
}

double SuperficieQt::unitaX() const
{
    return stampante_.pageRect(QPrinter::DevicePixel).width() / ScaleWidth();
}

double SuperficieQt::unitaY() const
{
    return stampante_.pageRect(QPrinter::DevicePixel).height() / ScaleHeight();
}

void SuperficieQt::apri()
{
    if (!pittore_) {
        pittore_ = new QPainter;
        if (!pittore_->begin(&stampante_)) {
            delete pittore_;
            pittore_ = nullptr;
            throw ErroreStampa("stampante non disponibile");
        }
        altroDoc_ = paginaNuova_ = false;
    }
    if (!docAperto_ && altroDoc_)
        paginaNuova_ = true;
    if (paginaNuova_ && !stampante_.newPage())
        throw ErroreStampa("pagina non disponibile");
    docAperto_ = true;
    paginaNuova_ = false;
}

void SuperficieQt::disegna(const QString &testo, double x, double y, const Carattere &c)
{
    apri();
    const QFont f = font(c);
    pittore_->setFont(f);
    pittore_->setPen(c.colore);
    const QFontMetricsF m(f, &stampante_);
    // Line breaks left inside a line show as spaces.
    QString riga = testo;
    riga.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
    const double margine = stampante_.pageRect(QPrinter::DevicePixel).width();
    const double sx = qMax(0.0, (x - 1) * unitaX());
    const double sy = (y - 1) * unitaY();
    const double largo = m.horizontalAdvance(riga);
    pittore_->save();
    pittore_->translate(sx, sy + m.ascent());
    // A line wider than what is left of the page is narrowed to fit, never cut.
    if (largo > margine - sx && margine - sx > 0)
        pittore_->scale((margine - sx) / largo, 1);
    pittore_->drawText(QPointF(0, 0), riga);
    pittore_->restore();
}

double SuperficieQt::larghezza(const QString &testo, const Carattere &c) const
{
    return QFontMetricsF(font(c), &stampante_).horizontalAdvance(testo) / unitaX();
}

double SuperficieQt::altezza(const Carattere &c) const
{
    return QFontMetricsF(font(c), &stampante_).height() / unitaY();
}

void SuperficieQt::voltaPagina()
{
    if (!docAperto_)
        apri(); // an empty page is still a page
    paginaNuova_ = true;
}

void SuperficieQt::chiudiDocumento()
{
    if (!pittore_)
        return;
    docAperto_ = false;
    // A preview, like a PDF file, shows the documents one after the other: a painter begun
    // again on it would start its pages anew.
    const bool anteprima =
        stampante_.paintEngine() && stampante_.paintEngine()->type() == QPaintEngine::Picture;
    if (stampante_.outputFormat() == QPrinter::PdfFormat || anteprima) {
        altroDoc_ = true; // the next document follows in the same file
        paginaNuova_ = false;
        return;
    }
    pittore_->end(); // the job goes to the printer
    delete pittore_;
    pittore_ = nullptr;
}
