#pragma once

#include <QString>
#include <QTemporaryDir>
#include <QVariant>

// A fresh recipe book in a temporary folder, made with the template writer, and plain SQL on it
// through the bare SQLite API (not through the layer under test).
class LibroDiProva
{
public:
    LibroDiProva();
    const QString &percorso() const { return percorso_; }
    QString cartella() const { return dir_.path(); }

    qint64 categoria(const QString &nome);
    qint64 ingrediente(const QString &nome);
    qint64 ricetta(const QString &nome, qint64 categoria = 0, bool vegetariana = false);
    qint64 riga(qint64 ricetta, qint64 ingrediente, const QString &quantita = "1",
                const QString &commento = QString());

    // Every row of a query, each row a list of values.
    QList<QVariantList> righe(const QString &sql, const QVariantList &valori = {}) const;
    QVariant valore(const QString &sql, const QVariantList &valori = {}) const;
    qint64 esegui(const QString &sql, const QVariantList &valori = {}); // returns the new key

    static QList<QVariantList> righe(const QString &file, const QString &sql,
                                     const QVariantList &valori = {});

private:
    QTemporaryDir dir_;
    QString percorso_;
};
