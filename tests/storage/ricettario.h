#pragma once
// What the storage tests share: the book each test starts from, and small helpers to act on it.
#include "caso.h"
#include "libro.h"
#include "storage/database.h"
#include "storage/engineerror.h"
#include "storage/recordset.h"
#include "storage/schema.h"

#include <QFile>
#include <QObject>
#include <QTest>
#include <functional>
#include <memory>

namespace Origine = Schema::Origine;

// The recipes of the book in name order.
inline const QStringList perNome = {"Bigné",          "Carbonara", "Lasagne",
                                    "Pasta all'uovo", "Tiramisù",  "Zuppa d'orzo"};

// The number of the engine error an operation throws, 0 when it throws none.
inline int errore(const std::function<void()> &operazione)
{
    try {
        operazione();
    } catch (const EngineError &e) {
        return e.number();
    }
    return 0;
}

inline QString nomeDi(const Recordset &rs)
{
    return rs.value("NomeRicetta").toString();
}

inline QStringList nomi(Recordset &rs)
{
    QStringList n;
    for (rs.MoveFirst(); !rs.Eof(); rs.MoveNext())
        n << nomeDi(rs);
    return n;
}

inline QByteArray contenuto(const QString &file)
{
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// A test class on the book of six recipes, made afresh by prepara() (its init()).
class ProvaSuRicettario : public QObject
{
protected:
    std::unique_ptr<LibroDiProva> libro_;

    void prepara()
    {
        libro_ = std::make_unique<LibroDiProva>();
        const qint64 primi = libro_->categoria("Primi");
        const qint64 dolci = libro_->categoria("Dolci");
        // Keys follow neither the name order nor the portions, so each order shows on its own.
        // Desserts are the vegetarian ones.
        const QList<QPair<QString, bool>> ricette = {
            {"Tiramisù", true}, {"Carbonara", false},      {"Zuppa d'orzo", false},
            {"Bigné", true},    {"Pasta all'uovo", false}, {"Lasagne", false}};
        for (const auto &[nome, dolce] : ricette) {
            const qint64 k = libro_->ricetta(nome, dolce ? dolci : primi, dolce);
            libro_->esegui("UPDATE Ricette SET NumeroPorzioni = ? WHERE IDRicetta = ?", {2 * k, k});
        }
        const qint64 uova = libro_->ingrediente("uova"), farina = libro_->ingrediente("farina");
        const qint64 zucchero = libro_->ingrediente("zucchero"), sale = libro_->ingrediente("sale");
        const QList<QPair<QString, qint64>> righe = {
            {"Tiramisù", uova},  {"Tiramisù", zucchero},     {"Carbonara", uova},
            {"Carbonara", sale}, {"Pasta all'uovo", farina}, {"Pasta all'uovo", sale},
            {"Bigné", farina},   {"Bigné", zucchero}};
        for (const auto &[ricetta, ingrediente] : righe)
            libro_->riga(chiave(ricetta), ingrediente, "100", "g");
    }

    std::shared_ptr<Database> apri() { return Database::apri(libro_->percorso()); }
    qint64 chiave(const QString &nome) const
    {
        return libro_->valore("SELECT IDRicetta FROM Ricette WHERE NomeRicetta = ?", {nome})
            .toLongLong();
    }
    QVariant colonnaSql(const char *colonna, qint64 ricetta) const
    {
        return libro_->valore(QStringLiteral("SELECT %1 FROM Ricette WHERE IDRicetta = ?")
                                  .arg(QLatin1String(colonna)),
                              {ricetta});
    }
};
