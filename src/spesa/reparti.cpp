#include "spesa/reparti.h"
#include "spesa/tabellareparti.h"

#include <QHash>
#include <QRegularExpression>

namespace Reparti {

const QStringList &tutti()
{
    static const QStringList r = {QStringLiteral("Frutta e verdura"),
                                  QStringLiteral("Pane e forno"),
                                  QStringLiteral("Latticini e uova"),
                                  QStringLiteral("Carne"),
                                  QStringLiteral("Pesce"),
                                  QStringLiteral("Dispensa"),
                                  QStringLiteral("Surgelati"),
                                  QStringLiteral("Bevande"),
                                  QStringLiteral("Spezie e aromi"),
                                  Altro};
    return r;
}

int ordine(const QString &reparto)
{
    const qsizetype i = tutti().indexOf(reparto);
    return int(i < 0 ? tutti().size() - 1 : i);
}

namespace {

// "Caffè d'orzo" → {"caffe", "d", "orzo"}.
QStringList parole(const QString &nome)
{
    QString t = nome.normalized(QString::NormalizationForm_D).toLower();
    // Compiled once: a list guesses for every entry at every look.
    static const QRegularExpression segni(QStringLiteral("\\p{Mn}"));
    static const QRegularExpression separatori(QStringLiteral("[^a-z]+"));
    t.remove(segni);
    QStringList p = t.split(separatori, Qt::SkipEmptyParts);
    // The words that join a name's parts: "bacche di ginepro" reads as "bacche ginepro".
    static const QStringList congiunzioni = {"a",   "al",    "alla", "all", "con", "d",  "da",
                                             "del", "della", "di",   "e",   "in",  "per"};
    p.removeIf([](const QString &w) { return congiunzioni.contains(w); });
    return p;
}

} // namespace

QString indovina(const QString &ingrediente)
{
    const Tabella &t = tabella();
    const QStringList p = parole(ingrediente);
    for (const QString &parola : p)
        if (const auto it = t.prevalgono.constFind(parola); it != t.prevalgono.cend())
            return *it;
    // Italian names start with what the thing is: the first word known decides.
    for (qsizetype i = 0; i < p.size(); ++i) {
        if (i + 1 < p.size())
            if (const auto it = t.coppie.constFind(p.at(i) + u' ' + p.at(i + 1));
                it != t.coppie.cend())
                return *it;
        if (const auto it = t.parole.constFind(p.at(i)); it != t.parole.cend())
            return *it;
    }
    return Altro;
}

} // namespace Reparti
