#pragma once

#include <QAbstractTableModel>
#include <QList>
#include <QString>
#include <array>

// The listed recipes as the recipe list's grid shows them: column 0 the name, column 1 the key.
// They are kept here, so a deletion takes rows away without reading the list again.
class RigheElenco : public QAbstractTableModel
{
public:
    using Riga = std::array<QString, 2>;
    using QAbstractTableModel::QAbstractTableModel;

    int rowCount(const QModelIndex &padre = {}) const override;
    int columnCount(const QModelIndex &padre = {}) const override;
    QVariant data(const QModelIndex &i, int ruolo) const override;

    QString testo(int riga, int colonna) const { return righe_.value(riga)[colonna]; }
    void sostituisci(QList<Riga> righe);
    void togli(int riga);
    // The row stays, blank: a grid keeps one row.
    void svuota(int riga);

private:
    QList<Riga> righe_;
};
