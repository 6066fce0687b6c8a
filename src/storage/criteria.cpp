#include "storage/criteria.h"

#include "storage/collation.h"
#include "storage/engineerror.h"

#include <QRegularExpression>

Criterio Criterio::analizza(const QString &testo)
{
    static const QRegularExpression forma(
        QStringLiteral(R"(^\s*(\[[^\]]+\]|[\w]+)\s*(<>|<=|>=|=|<|>)\s*(.*?)\s*$)"),
        QRegularExpression::UseUnicodePropertiesOption |
            QRegularExpression::DotMatchesEverythingOption);
    const QRegularExpressionMatch m = forma.match(testo);
    if (!m.hasMatch())
        throw EngineError(EngineError::EspressioneErrata, testo);

    Criterio c;
    c.colonna_ = m.captured(1);
    if (c.colonna_.startsWith('['))
        c.colonna_ = c.colonna_.mid(1, c.colonna_.size() - 2).trimmed();

    static const QHash<QString, Operatore> operatori = {
        {"=", Operatore::Uguale},        {"<>", Operatore::Diverso},
        {"<", Operatore::Minore},        {">", Operatore::Maggiore},
        {"<=", Operatore::MinoreUguale}, {">=", Operatore::MaggioreUguale}};
    c.operatore_ = operatori.value(m.captured(2));

    const QString v = m.captured(3);
    if (v.size() >= 2 && v.startsWith('\'') && v.endsWith('\'')) {
        const QString dentro = v.mid(1, v.size() - 2);
        // Inside the apostrophes every apostrophe must be doubled.
        QString testoValore;
        for (int i = 0; i < dentro.size(); ++i) {
            if (dentro.at(i) == '\'') {
                if (i + 1 >= dentro.size() || dentro.at(i + 1) != '\'')
                    throw EngineError(EngineError::EspressioneErrata, testo);
                ++i;
            }
            testoValore += dentro.at(i);
        }
        c.valore_ = testoValore;
        return c;
    }
    bool ok = false;
    const qlonglong intero = v.toLongLong(&ok);
    if (ok) {
        c.valore_ = intero;
        return c;
    }
    const double reale = v.toDouble(&ok);
    // Qt reads "nan" and "inf" as numbers; no criteria text means them.
    if (ok && !v.isEmpty() && qIsFinite(reale)) {
        c.valore_ = reale;
        return c;
    }
    throw EngineError(EngineError::EspressioneErrata, testo);
}

bool Criterio::soddisfattoDa(const QVariant &campo) const
{
    if (campo.isNull() || !campo.isValid())
        return false;
    int confronto;
    if (valore_.typeId() == QMetaType::QString) {
        confronto = Collazione::confronta(campo.toString(), valore_.toString(), false);
    } else {
        bool ok = false;
        const double x = campo.toString().trimmed().toDouble(&ok);
        if (!ok)
            return false;
        const double y = valore_.toDouble();
        confronto = x < y ? -1 : x > y ? 1 : 0;
    }
    switch (operatore_) {
    case Operatore::Uguale:
        return confronto == 0;
    case Operatore::Diverso:
        return confronto != 0;
    case Operatore::Minore:
        return confronto < 0;
    case Operatore::Maggiore:
        return confronto > 0;
    case Operatore::MinoreUguale:
        return confronto <= 0;
    case Operatore::MaggioreUguale:
        return confronto >= 0;
    }
    return false;
}
