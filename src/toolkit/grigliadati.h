#pragma once

#include <QAbstractTableModel>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QTableView>
#include <type_traits>

// The program's grids: read only, a row chosen whole, no row headings, rows one line of text
// high plus spazio pixels.
inline void preparaGriglia(QTableView *vista, QAbstractItemView::SelectionMode scelta,
                           int spazio = 8)
{
    vista->setEditTriggers(QAbstractItemView::NoEditTriggers);
    vista->setSelectionBehavior(QAbstractItemView::SelectRows);
    vista->setSelectionMode(scelta);
    vista->verticalHeader()->setVisible(false);
    vista->verticalHeader()->setDefaultSectionSize(vista->fontMetrics().height() + spazio);
}

// A column of a data-bound grid: its heading and the field it shows (-1: none, the column
// then marks the current row).
struct ColonnaGriglia
{
    QString intestazione;
    int campo = -1;
};

// The rows of a data source's set, in the set's order, as a table model. Sorgente is the data
// control: anything with Recordset(), valoreAlPosto(), vaiA(), Reposition and RigheCambiate;
// its valoreAlPosto() never throws, since data() runs inside paints. A template, so the
// toolkit needs nothing of the storage layer.
template <class Sorgente> class ModelloGriglia : public QAbstractTableModel
{
public:
    ModelloGriglia(Sorgente *sorgente, QList<ColonnaGriglia> colonne, QObject *parent)
        : QAbstractTableModel(parent), sorgente_(sorgente), colonne_(std::move(colonne))
    {
    }

    int rowCount(const QModelIndex &padre = {}) const override
    {
        const auto *rs = sorgente_->Recordset();
        return padre.isValid() || !rs ? 0 : rs->RecordCount();
    }
    int columnCount(const QModelIndex &padre = {}) const override
    {
        return padre.isValid() ? 0 : int(colonne_.size());
    }

    QVariant data(const QModelIndex &i, int ruolo) const override
    {
        const auto *rs = sorgente_->Recordset();
        if (!rs || !i.isValid())
            return {};
        const int campo = colonne_.at(i.column()).campo;
        if (campo < 0) {
            if (ruolo == Qt::DisplayRole && i.row() == rs->AbsolutePosition())
                return QStringLiteral("▸");
            if (ruolo == Qt::TextAlignmentRole)
                return int(Qt::AlignCenter);
            return {};
        }
        if (ruolo == Qt::DisplayRole || ruolo == Qt::ToolTipRole) {
            const QVariant v = sorgente_->valoreAlPosto(i.row(), campo);
            return v.isNull() ? QString() : v.toString();
        }
        if (ruolo == Qt::TextAlignmentRole) {
            const QVariant v = sorgente_->valoreAlPosto(i.row(), campo);
            const bool numero =
                v.typeId() == QMetaType::LongLong || v.typeId() == QMetaType::Double;
            return int((numero ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
        }
        return {};
    }

    QVariant headerData(int sezione, Qt::Orientation verso, int ruolo) const override
    {
        if (verso == Qt::Horizontal && ruolo == Qt::DisplayRole && sezione < colonne_.size())
            return colonne_.at(sezione).intestazione;
        return QAbstractTableModel::headerData(sezione, verso, ruolo);
    }

    void ricarica()
    {
        beginResetModel();
        endResetModel();
    }

    // The current row's marker moved.
    void segnaCorrente()
    {
        if (rowCount() > 0)
            emit dataChanged(index(0, 0), index(rowCount() - 1, 0), {Qt::DisplayRole});
    }

private:
    Sorgente *sorgente_;
    QList<ColonnaGriglia> colonne_;
};

// Binds a table view to a data source: the view shows its rows and follows its current row;
// choosing a row in the view makes it current, through the data source's own move.
template <class Sorgente>
ModelloGriglia<Sorgente> *collegaGriglia(QTableView *vista, Sorgente *sorgente,
                                         QList<ColonnaGriglia> colonne)
{
    auto *modello = new ModelloGriglia<Sorgente>(sorgente, std::move(colonne), vista);
    vista->setModel(modello);
    preparaGriglia(vista, QAbstractItemView::SingleSelection);
    vista->horizontalHeader()->setStretchLastSection(true);
    vista->setAlternatingRowColors(true);

    const auto seguiSorgente = [vista, sorgente, modello] {
        const auto *rs = sorgente->Recordset();
        const int riga = rs ? rs->AbsolutePosition() : -1;
        modello->segnaCorrente();
        if (riga < 0) {
            vista->selectionModel()->clear();
            using Insieme = std::remove_cvref_t<decltype(*rs)>;
            if (rs && rs->EditMode() == Insieme::NuovoInCorso) // a new row goes at the end
                vista->scrollToBottom();
            return;
        }
        const QModelIndex i = modello->index(riga, qMax(0, vista->currentIndex().column()));
        if (vista->currentIndex() != i)
            vista->selectionModel()->setCurrentIndex(i, QItemSelectionModel::ClearAndSelect |
                                                            QItemSelectionModel::Rows);
        vista->scrollTo(i);
    };
    QObject::connect(sorgente, &Sorgente::RigheCambiate, vista, [modello, seguiSorgente] {
        modello->ricarica();
        seguiSorgente();
    });
    QObject::connect(sorgente, &Sorgente::Reposition, vista, seguiSorgente);
    QObject::connect(vista->selectionModel(), &QItemSelectionModel::currentRowChanged, vista,
                     [sorgente](const QModelIndex &attuale) {
                         const auto *rs = sorgente->Recordset();
                         if (attuale.isValid() && rs && attuale.row() != rs->AbsolutePosition())
                             sorgente->vaiA(attuale.row());
                     });
    return modello;
}
