#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>
#include <QWidget>
#include <vector>

// A QR code of a text, made by libqrencode: the text's UTF-8 bytes in byte mode, said to be UTF-8,
// with medium error correction (a screen read by a phone's camera shines and moirés).
class CodiceQR
{
public:
    CodiceQR() = default;
    // No code (valido() false) when the text is too long for the largest one.
    static CodiceQR daTesto(const QString &testo);

    bool valido() const { return lato_ > 0; }
    int lato() const { return lato_; } // modules on a side
    bool scuro(int x, int y) const { return moduli_[size_t(y) * size_t(lato_) + size_t(x)]; }
    // The code with its quiet zone of four modules, each modulo pixels wide.
    QImage immagine(int modulo) const;

    static constexpr int Margine = 4; // the quiet zone, in modules

private:
    int lato_ = 0;
    std::vector<bool> moduli_;
};

// Draws a code as large as its room allows, every module a whole number of pixels, black on
// white with the quiet zone: what a phone's camera reads from the screen.
class DisegnoQR : public QWidget
{
public:
    explicit DisegnoQR(QWidget *parent = nullptr);
    void setCodice(const CodiceQR &c);
    const CodiceQR &codice() const { return codice_; }
    QSize minimumSizeHint() const override;
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *e) override;

private:
    CodiceQR codice_;
};
