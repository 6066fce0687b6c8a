#pragma once

#include <QString>
#include <QVariant>

// A search criteria text of the form  Column op value, as FindFirst takes it:
// op is one of = <> < > <= >=, the value a number or a text in apostrophes ('' is one apostrophe).
class Criterio
{
public:
    enum class Operatore { Uguale, Diverso, Minore, Maggiore, MinoreUguale, MaggioreUguale };

    // Throws EngineError 3077 on a malformed text.
    static Criterio analizza(const QString &testo);

    const QString &colonna() const { return colonna_; }
    Operatore operatore() const { return operatore_; }
    const QVariant &valore() const { return valore_; }

    // Whether a field value satisfies it; a null never does. Texts compare in the Italian order.
    bool soddisfattoDa(const QVariant &campo) const;

private:
    QString colonna_;
    Operatore operatore_ = Operatore::Uguale;
    QVariant valore_;
};
