#pragma once

#include <QStringList>
#include <QWidget>
#include <memory>

namespace Ui {
class Telefono;
}
class DisegnoQR;

// "Sul telefono": the list as QR codes a phone's camera reads from the screen, numbered one
// after another when the text is too long for one.
class Telefono : public QWidget
{
    Q_OBJECT

public:
    // The bytes of text in one code: a camera across a desk still reads its modules.
    static constexpr int Massimo = 600;

    explicit Telefono(QWidget *parent = nullptr);
    ~Telefono() override;

    void setTesto(const QString &testo);
    // The texts of the codes, in order.
    const QStringList &pezzi() const { return pezzi_; }

private:
    void cmdPrecedente_Click();
    void cmdSuccessivo_Click();
    void cmdChiudi_Click();
    void mostraPezzo(int n);

    std::unique_ptr<Ui::Telefono> ui;
    DisegnoQR *Codice;
    QStringList pezzi_;
    int pezzo_ = 0;
};
