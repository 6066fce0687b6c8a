#pragma once

#include <QTableWidget>

// The flexible grid the windows were written against: row 0 is the fixed header, the lines
// are rows 1 and on, and row 0 as the current row means that no line is chosen.
class FlexGrid : public QTableWidget
{
    Q_OBJECT

public:
    explicit FlexGrid(QWidget *parent = nullptr);

    int Rows() const { return rowCount() + 1; }
    void setRows(int righe); // at least 1: the header
    void setCols(int colonne);

    int Row() const;
    void setRow(int riga); // 0 chooses no line
    int Col() const { return col_; }
    void setCol(int colonna) { col_ = colonna; }

    QString TextMatrix(int riga, int colonna) const;
    void setTextMatrix(int riga, int colonna, const QString &testo);
    QString Text() const { return TextMatrix(Row(), Col()); }
    void setText(const QString &testo) { setTextMatrix(Row(), Col(), testo); }

    // Appends a line; its cells are the tab-separated parts of the text.
    void AddItem(const QString &testo = QString());
    void RemoveItem(int riga);

    // Widths as the forms give them, in twips (15 to a pixel at 96 dpi).
    void setColWidth(int colonna, int twips);

protected:
    void dataChanged(const QModelIndex &primo, const QModelIndex &ultimo,
                     const QList<int> &ruoli = QList<int>()) override;
    void keyPressEvent(QKeyEvent *e) override;

signals:
    // The user chose a line with the mouse or the keyboard.
    void Click();

private:
    int col_ = 0;
};
