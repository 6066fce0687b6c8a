#include "storage/libri.h"

#include <QCoreApplication>

Libri &Libri::registro()
{
    static auto *registro = [] {
        auto *r = new Libri;
        r->leggiVerificati();
        r->allaFine();
        return r;
    }();
    return *registro;
}

Libro &Libri::libro(const QString &canonico)
{
    std::shared_ptr<Libro> &l = libri_[canonico];
    if (!l)
        l = std::make_shared<Libro>();
    return *l;
}

bool Libri::allaFine()
{
    const QMutexLocker bloccato(&guardiaLibri_);
    if (!allaFine_ && QCoreApplication::instance()) {
        qAddPostRoutine(&Libri::fine);
        allaFine_ = true;
    }
    return allaFine_;
}

void Libri::fine()
{
    // A check still running would change the list while it is written.
    Database::fermaVerifiche();
    Database::salvaVerificati();
}
