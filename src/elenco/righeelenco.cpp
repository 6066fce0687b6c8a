// The recipe list's rows, read once per listing.
#include "elenco/righeelenco.h"

int RigheElenco::rowCount(const QModelIndex &padre) const
{
    return padre.isValid() ? 0 : int(righe_.size());
}

int RigheElenco::columnCount(const QModelIndex &padre) const
{
    return padre.isValid() ? 0 : Colonne;
}

QVariant RigheElenco::data(const QModelIndex &i, int ruolo) const
{
    if (ruolo != Qt::DisplayRole || !i.isValid())
        return {};
    return righe_.at(i.row())[i.column()];
}

void RigheElenco::sostituisci(QList<Riga> righe)
{
    beginResetModel();
    righe_ = std::move(righe);
    endResetModel();
}

void RigheElenco::togli(int riga)
{
    beginRemoveRows({}, riga, riga);
    righe_.removeAt(riga);
    endRemoveRows();
}

void RigheElenco::svuota(int riga)
{
    righe_[riga] = {};
    emit dataChanged(index(riga, Nome), index(riga, Chiave));
}
