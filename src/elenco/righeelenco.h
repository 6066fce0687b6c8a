#pragma once

#include <QAbstractTableModel>
#include <QList>
#include <QString>
#include <array>

// The listed recipes as the recipe list's grid shows them: the name, then the key, as the list's
// record source reads them. They are kept here, so a deletion takes rows away without reading
// the list again.
class RigheElenco : public QAbstractTableModel
{
public:
    enum Colonna { Nome = 0, Chiave, Colonne };
    using Riga = std::array<QString, Colonne>;
    using QAbstractTableModel::QAbstractTableModel;

    int rowCount(const QModelIndex &padre = {}) const override;
    int columnCount(const QModelIndex &padre = {}) const override;
    QVariant data(const QModelIndex &i, int ruolo) const override;

    QString nome(int riga) const { return righe_.value(riga)[Nome]; }
    QString chiave(int riga) const { return righe_.value(riga)[Chiave]; }
    void sostituisci(QList<Riga> righe);
    void togli(int riga);
    // The row stays, blank: a grid keeps one row.
    void svuota(int riga);

private:
    QList<Riga> righe_;
};
