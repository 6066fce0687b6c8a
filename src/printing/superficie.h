#pragma once

#include <QColor>
#include <QFont>
#include <QString>
#include <stdexcept>

class QPainter;
class QPrinter;

// A printer or a PDF file refused the page.
class ErroreStampa : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// What the print layout expects of a printer: a page in units of its own choosing, a print
// position, a font, texts printed at that position and measured in the same units, pages and
// documents. The position and the font are kept here; the device only draws and measures.
class SuperficieStampa
{
public:
    struct Carattere
    {
        double punti = 10;
        bool grassetto = false;
        bool corsivo = false; // the layout's second emphasis flag
        QColor colore = Qt::black;
    };

    virtual ~SuperficieStampa() = default;

    // The one installed; a program that installed none stops with a message (a programming error).
    static SuperficieStampa &instance();
    static void install(SuperficieStampa *s);   // not owned
    static void uninstall(SuperficieStampa *s); // only when s is the one installed

    // The printable area becomes altezza by larghezza units; its top left corner is (1, 1).
    void setScala(double altezza, double larghezza);
    double ScaleWidth() const { return larghezza_; }
    double ScaleHeight() const { return altezza_; }

    double CurrentX() const { return x_; }
    double CurrentY() const { return y_; }
    void setCurrentX(double x) { x_ = x; }
    void setCurrentY(double y) { y_ = y; }

    void setFontSize(double punti) { carattere_.punti = punti; }
    void setFontBold(bool b) { carattere_.grassetto = b; }
    void setFontItalic(bool b) { carattere_.corsivo = b; }
    void setForeColor(const QColor &c) { carattere_.colore = c; }
    const Carattere &carattere() const { return carattere_; }

    // Prints at the current position. Ending the line goes back to the left edge, one text
    // height down; staying on the line continues right after the text.
    void Print(const QString &testo, bool restaSullaRiga = false);
    double TextWidth(const QString &testo) const { return larghezza(testo, carattere_); }

    int Page() const { return pagina_; }
    void NewPage();
    // The document is complete; the next text starts a new one, numbered from page 1.
    void EndDoc();
    // The print command is over: anything still held for it (a PDF file) is written out.
    virtual void FineLavoro() {}

protected:
    // Positions and widths are in the units of the scale.
    virtual void disegna(const QString &testo, double x, double y, const Carattere &c) = 0;
    virtual double larghezza(const QString &testo, const Carattere &c) const = 0;
    virtual double altezza(const Carattere &c) const = 0;
    virtual void voltaPagina() = 0;
    virtual void chiudiDocumento() = 0;

private:
    double altezza_ = 60;
    double larghezza_ = 115;
    double x_ = 1;
    double y_ = 1;
    int pagina_ = 1;
    Carattere carattere_;
};

// Draws on a printer or a PDF file through QPainter. Each document goes to a printer as a job
// of its own; the documents of one command printed to a PDF file follow each other in that
// file, each from a new page.
class SuperficieQt : public SuperficieStampa
{
public:
    explicit SuperficieQt(QPrinter &stampante);
    ~SuperficieQt() override;

    void FineLavoro() override;

protected:
    void disegna(const QString &testo, double x, double y, const Carattere &c) override;
    double larghezza(const QString &testo, const Carattere &c) const override;
    double altezza(const Carattere &c) const override;
    void voltaPagina() override;
    void chiudiDocumento() override;

private:
    QFont font(const Carattere &c) const;
    double unitaX() const; // device pixels per unit
    double unitaY() const;
    void apri();

    QPrinter &stampante_;
    QPainter *pittore_ = nullptr;
    bool docAperto_ = false;   // a text of the current document is on the page
    bool altroDoc_ = false;    // a document ended in this PDF file: the next starts a page
    bool paginaNuova_ = false; // NewPage asked; the page turns before the next text
};
