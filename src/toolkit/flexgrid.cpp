#include "toolkit/flexgrid.h"

#include "toolkit/grigliadati.h"

#include <QHeaderView>

FlexGrid::FlexGrid(QWidget *parent) : QTableWidget(parent)
{
    preparaGriglia(this, QAbstractItemView::SingleSelection);
    setWordWrap(false);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setStretchLastSection(true);
    connect(this, &QTableWidget::cellClicked, this, [this] { emit Click(); });
}

// A line whose cells change is drawn again whole: one rectangle for the window system, not one
// a cell (they stand apart by the grid's lines). A hidden column's cell is not drawn.
void FlexGrid::dataChanged(const QModelIndex &primo, const QModelIndex &ultimo,
                           const QList<int> &ruoli)
{
    QTableWidget::dataChanged(primo, ultimo, ruoli);
    int c = primo.column();
    while (c <= ultimo.column() && isColumnHidden(c))
        ++c;
    if (c > ultimo.column())
        return;
    const int alto = rowViewportPosition(primo.row());
    const int basso = rowViewportPosition(ultimo.row()) + rowHeight(ultimo.row());
    viewport()->update(0, alto, viewport()->width(), basso - alto);
}

void FlexGrid::keyPressEvent(QKeyEvent *e)
{
    const int prima = currentRow();
    QTableWidget::keyPressEvent(e);
    if (currentRow() != prima && currentRow() >= 0)
        emit Click();
}

void FlexGrid::setRows(int righe)
{
    setRowCount(qMax(0, righe - 1));
}

void FlexGrid::setCols(int colonne)
{
    setColumnCount(colonne);
}

int FlexGrid::Row() const
{
    const int r = currentRow();
    return r < 0 ? 0 : r + 1;
}

void FlexGrid::setRow(int riga)
{
    const QSignalBlocker silenzio(this);
    if (riga <= 0 || riga > rowCount()) {
        setCurrentCell(-1, -1);
        clearSelection();
        return;
    }
    // The current cell goes where choosing the row puts it, its first shown column: set
    // elsewhere first, it would move there and back at every call, drawing both again.
    selectRow(riga - 1);
    scrollToItem(item(riga - 1, 0));
}

QString FlexGrid::TextMatrix(int riga, int colonna) const
{
    if (riga == 0) {
        const QTableWidgetItem *h = horizontalHeaderItem(colonna);
        return h ? h->text() : QString();
    }
    const QTableWidgetItem *i = item(riga - 1, colonna);
    return i ? i->text() : QString();
}

void FlexGrid::setTextMatrix(int riga, int colonna, const QString &testo)
{
    if (colonna < 0 || colonna >= columnCount())
        return;
    if (riga == 0) {
        setHorizontalHeaderItem(colonna, new QTableWidgetItem(testo));
        return;
    }
    if (riga < 1 || riga > rowCount())
        return;
    QTableWidgetItem *i = item(riga - 1, colonna);
    if (!i) {
        i = new QTableWidgetItem;
        setItem(riga - 1, colonna, i);
    }
    i->setText(testo);
    i->setToolTip(testo);
}

void FlexGrid::AddItem(const QString &testo)
{
    const int riga = rowCount();
    insertRow(riga);
    const QStringList celle = testo.split('\t');
    for (int c = 0; c < celle.size() && c < columnCount(); ++c)
        setTextMatrix(riga + 1, c, celle.at(c));
}

void FlexGrid::RemoveItem(int riga)
{
    if (riga >= 1 && riga <= rowCount())
        removeRow(riga - 1);
}

void FlexGrid::setColWidth(int colonna, int twips)
{
    // A width of a twip or two hides the column, as it did.
    if (twips <= 15) {
        setColumnHidden(colonna, true);
        return;
    }
    setColumnHidden(colonna, false);
    setColumnWidth(colonna, twips / 15);
}
